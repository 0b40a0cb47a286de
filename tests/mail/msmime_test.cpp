// tests/mail/msmime_test.cpp: base64, quoted-printable and the ISO-2022-JP word.
#include "mail/msmime.h"

#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string AllBytes()
{
    std::string S;
    for (int I = 0; I < 256; ++I)
        S += static_cast<char>(I);
    return S;
}

std::vector<std::string> Encode(const std::string& Data)
{
    TStringStream Stream;
    Stream.WriteString(Data);
    TStringList Lines;
    TQuotedPrintable(&Stream, &Lines).Encode();
    std::vector<std::string> Result;
    for (int I = 0; I < Lines.Count(); ++I)
        Result.push_back(Lines.Get(I));
    return Result;
}

std::string Decode(const std::vector<std::string>& Lines)
{
    TStringList List;
    for (const auto& Line : Lines)
        List.Add(Line);
    TStringStream Stream;
    TQuotedPrintable(&Stream, &List).Decode();
    Stream.SetPosition(0);
    return Stream.ReadString(Stream.Size());
}

} // namespace

TEST(Base64, DecodesGroupsPaddingAndShortGroups)
{
    struct Case {
        std::string Text;
        std::string Bytes;
    };
    const std::vector<Case> Cases = {
        {"QQ==", "A"},
        {"QUI=", "AB"},
        {"QUJD", "ABC"},
        {"", ""},
        {"QUJDRA==", "ABCD"},
        {"QUJD\r\nREVG", "ABCDEF"}, // line ends and blanks are skipped
        {"QU JD ", "ABC"},
        {"QQ", "A"}, // a short last group without padding
        {"QUI", "AB"},
        {"Q", ""},
        {"QQ==QUI=", "AAB"}, // padding ends a group: pieces joined
        {"/+/+", "\xFF\xEF\xFE"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Base64Decode(C.Text), C.Bytes) << C.Text;
}

TEST(Base64, RejectsCharactersOutsideTheAlphabet)
{
    for (const std::string Text : {"QU*D", "QQ-=", "\x80QUJ"}) {
        try {
            Base64Decode(Text);
            ADD_FAILURE() << Text;
        } catch (const EMessageParserError& E) {
            EXPECT_EQ(E.Message(), "Invalid Character");
        }
    }
}

TEST(Base64, EncodesWithPaddingAndRoundTripsEveryLength)
{
    EXPECT_EQ(Base64Encode("A"), "QQ==");
    EXPECT_EQ(Base64Encode("AB"), "QUI=");
    EXPECT_EQ(Base64Encode("ABC"), "QUJD");
    EXPECT_EQ(Base64Encode(""), "");
    const std::string Bytes = AllBytes();
    for (std::size_t Length = 0; Length <= Bytes.size(); ++Length) {
        const std::string Data = Bytes.substr(Bytes.size() - Length);
        const std::string Text = Base64Encode(Data);
        EXPECT_EQ(Text.size(), (Length + 2) / 3 * 4);
        EXPECT_EQ(Base64Decode(Text), Data) << Length;
    }
}

TEST(QuotedPrintable, DecodeJoinsSoftBreaksAndEndsParagraphsWithCrLf)
{
    struct Case {
        std::vector<std::string> Lines;
        std::string Bytes;
    };
    const std::vector<Case> Cases = {
        {{"Gr=FC=DF=", "e"},
         "Gr\xFC\xDF"
         "e\r\n"},
        {{"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {{"x=3D"}, "x=\r\n"},                           // an escaped "=" at the end is data
        {{"x=3D", "y"}, "x=\r\ny\r\n"},                 // and not a soft break
        {{"soft=  ", "end"}, "softend\r\n"},            // blanks a transport added after the break
        {{"=4", "=G1", "a=b"}, "=4\r\n=G1\r\na=b\r\n"}, // not an escape: kept
        {{"lower=e9"}, "lower\xE9\r\n"},
        {{"last="}, "last"},      // a soft break on the last line keeps its text
        {{"eof\x1A"}, "eof\x1A"}, // Ctrl-Z ends without a line end
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Decode(C.Lines), C.Bytes) << C.Lines[0];
}

TEST(QuotedPrintable, DecodesLongParagraphsWithoutALimit)
{
    std::vector<std::string> Lines(2000, std::string(70, 'x') + "=");
    Lines.push_back("end");
    const std::string Bytes = Decode(Lines);
    EXPECT_EQ(Bytes.size(), 2000u * 70 + 5);
    EXPECT_EQ(Bytes.substr(Bytes.size() - 5), "end\r\n");
}

TEST(QuotedPrintable, EncodeBreaksLongLinesAtSpaces)
{
    std::string Line(70, 'a');
    Line[59] = ' ';
    EXPECT_EQ(Encode(Line),
              (std::vector<std::string>{std::string(59, 'a') + "=", " " + std::string(10, 'a')}));
    // Without a space the piece is 65 characters.
    EXPECT_EQ(Encode(std::string(100, 'b')),
              (std::vector<std::string>{std::string(65, 'b') + "=", std::string(35, 'b')}));
    EXPECT_EQ(Encode(std::string(65, 'c')), (std::vector<std::string>{std::string(65, 'c')}));
}

TEST(QuotedPrintable, EncodeEscapesControlEqualsEightBitAndAFinalSpace)
{
    EXPECT_EQ(Encode("a\tb=c\xE9"), (std::vector<std::string>{"a=09b=3Dc=E9"}));
    EXPECT_EQ(Encode("trailing "), (std::vector<std::string>{"trailing=20"}));
}

TEST(QuotedPrintable, EncodeKeepsEveryLineEndAndEmptyLine)
{
    struct Case {
        std::string Data;
        std::vector<std::string> Lines;
    };
    const std::vector<Case> Cases = {
        {"one\ntwo", {"one", "two"}},
        {"one\n\ntwo\n", {"one", "", "two"}}, // the empty line between paragraphs stays
        {"one\r\n\r\ntwo\r\n", {"one", "", "two"}},
        {"one\rtwo", {"one", "two"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Encode(C.Data), C.Lines) << C.Data;
}

TEST(QuotedPrintable, RoundTripsBinaryWithLinesOfAtMost76Characters)
{
    std::string Data;
    for (int Round = 0; Round < 40; ++Round)
        Data += AllBytes().substr(14 + Round) + std::string(Round % 7, ' ') + "word ";
    // The coder is line-oriented: take the bytes without line ends as one paragraph.
    std::string Paragraph;
    for (const char C : Data)
        if (C != '\r' && C != '\n')
            Paragraph += C;
    const std::vector<std::string> Lines = Encode(Paragraph);
    ASSERT_GT(Lines.size(), 10u);
    for (const auto& Line : Lines) {
        EXPECT_LE(Line.size(), 76u) << Line;
        for (const char C : Line)
            EXPECT_TRUE(C >= 32 && C < 127) << Line;
    }
    EXPECT_EQ(Decode(Lines), Paragraph + "\r\n");
}

TEST(QuotedPrintable, StopRequestedEndsAfterTheCurrentParagraph)
{
    TStringList Lines;
    Lines.Add("one");
    Lines.Add("two");
    TStringStream Stream;
    TQuotedPrintable Coder(&Stream, &Lines);
    Coder.StopRequested = true;
    Coder.Decode();
    EXPECT_EQ(Stream.DataString(), "one\r\n");
}

TEST(QPDecodeWord, DecodesEscapesKeepsUnderscoresAndTheFirstLine)
{
    EXPECT_EQ(QPDecodeWord("Hello_W=F6rld"), "Hello_W\xF6rld");
    EXPECT_EQ(QPDecodeWord("one=0D=0Atwo"), "one");
    EXPECT_EQ(QPDecodeWord("a=3D"), "a=");
}

TEST(EncodeISO2022JPWord, WrapsOnlyTextStartingWithEscape)
{
    EXPECT_EQ(EncodeISO2022JPWord("\x1B$B"), "=?ISO-2022-JP?B?GyRC?=");
    EXPECT_EQ(EncodeISO2022JPWord("plain"), "plain");
    EXPECT_EQ(EncodeISO2022JPWord(""), "");
}
