// tests/mail/msmsgencoder_test.cpp: the message encoder (round trips and the saved form).
#include "mail/msmsg.h"

#include "platform/rtl/stream.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

std::vector<std::string> Lines(const TStrings* List)
{
    std::vector<std::string> Result;
    for (int I = 0; I < List->Count(); ++I)
        Result.push_back(List->Get(I));
    return Result;
}

std::vector<std::string> Split(const std::string& Text)
{
    TStringList List;
    List.SetText(Text);
    return Lines(&List);
}

std::string Data(const ZevAttItem* Item)
{
    return std::string(static_cast<const char*>(Item->Data()->Memory()),
                       static_cast<std::size_t>(Item->Data()->Size()));
}

void AddAttachment(ZevMessage& Message, const std::string& Name, const std::string& Bytes)
{
    ZevAttItem* Item = Message.Attachments()->Add();
    Item->SetFileName(Name);
    Item->Data()->WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
}

std::string Save(ZevCustomMessage& Message)
{
    TStringStream Stream;
    Message.SaveToStream(&Stream);
    return Stream.DataString();
}

// Pins the boundaries the encoder draws: 11111111, 22222222, ...
class PinnedBoundaries {
public:
    PinnedBoundaries()
    {
        ZevCustomEncoder::BoundarySource = [this] {
            return std::string(8, static_cast<char>('1' + Next++));
        };
    }
    ~PinnedBoundaries() { ZevCustomEncoder::BoundarySource = nullptr; }

private:
    int Next = 0;
};

std::string BinaryBytes()
{
    std::string Bytes;
    for (int I = 0; I < 300; ++I)
        Bytes += static_cast<char>(I * 7);
    return Bytes;
}

// A message with every kind of part the encoder writes.
void Fill(ZevMessage& Message)
{
    Message.Sender()->Name = "J. Random";
    Message.Sender()->Address = "jr@example.org";
    Message.Recipients()->Add("Ann", "ann@example.org");
    Message.Recipients()->Add("B. Bee", "bee@example.org");
    Message.CC()->Add("", "cc@example.org");
    Message.BCC()->Add("", "hidden@example.org");
    Message.SetSubject("Round trip");
    Message.SetPriority(ptHigh);
    Message.Headers()->Add("Date: Mon, 1 Jan 2024 10:00:00 +0000");
    Message.Headers()->Add("X-Custom: kept");
    for (const char* Line : {"First line", ".", "", "--11111111 is not a boundary", "last"})
        Message.Body()->Add(Line);
    AddAttachment(Message, "_alt.0", "<p>html</p>\r\n");
    AddAttachment(Message, "picture.png", BinaryBytes());
    AddAttachment(Message, "notes.txt", "a=b\r\n.\r\n\ttab \xE9t\xE9\r\nno end");
    AddAttachment(Message, "forward.eml", "From: x@y\r\n\r\nline\r\n.\r\n");
}

} // namespace

TEST(MessageEncoding, RoundTripKeepsFieldsBodiesAndAttachmentBytes)
{
    ZevMessage Original(nullptr);
    Fill(Original);
    const std::string Saved = Save(Original);

    ZevMessage Loaded(nullptr);
    TStringStream Stream(Saved);
    Loaded.LoadFromStream(&Stream);
    EXPECT_EQ(Loaded.Sender()->Name, "J. Random");
    EXPECT_EQ(Loaded.Sender()->Address, "jr@example.org");
    ASSERT_EQ(Loaded.Recipients()->Count(), 2);
    EXPECT_EQ(Loaded.Recipients()->Items(1)->Name, "B. Bee");
    EXPECT_EQ(Loaded.CC()->Items(0)->Address, "cc@example.org");
    EXPECT_EQ(Loaded.BCC()->Count(), 0); // never written
    EXPECT_EQ(Loaded.Subject(), "Round trip");
    EXPECT_EQ(Loaded.Priority(), ptHigh);
    EXPECT_EQ(Loaded.Headers()->GetFieldValue("X-Custom"), "kept");
    EXPECT_EQ(Lines(Loaded.Body()), Lines(Original.Body()));
    ASSERT_EQ(Loaded.Attachments()->Count(), 4);
    for (int I = 0; I < 4; ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(Loaded.Attachments()->Items(I)->FileName(),
                  Original.Attachments()->Items(I)->FileName());
        EXPECT_EQ(Data(Loaded.Attachments()->Items(I)), Data(Original.Attachments()->Items(I)));
    }
    EXPECT_EQ(Loaded.ContentType(), "multipart/mixed");
}

TEST(MessageEncoding, SavingLeavesTheMessageUnchanged)
{
    ZevMessage Message(nullptr);
    Fill(Message);
    Message.SetContentType("text/html");
    const std::vector<std::string> Body = Lines(Message.Body());
    const std::vector<std::string> Headers = Lines(Message.Headers());
    Save(Message);
    Message.Attachments()->Clear();
    Save(Message); // the HTML writer
    EXPECT_EQ(Lines(Message.Body()), Body);
    EXPECT_EQ(Lines(Message.Headers()), Headers);
}

TEST(MessageEncoding, SavedFormMatchesGoldenFile)
{
    PinnedBoundaries Pinned;
    ZevMessage Message(nullptr);
    Fill(Message);
    const std::string Saved = Save(Message);
    const std::string Golden = std::string(TARNWICK_FIXTURES) + "/mail/encoded.eml";
    if (std::getenv("TARNWICK_UPDATE_GOLDEN") != nullptr)
        WriteAll(Golden, Saved);
    EXPECT_EQ(Saved, ReadAll(Golden));
}

TEST(MessageEncoding, BoundaryAvoidsTheMessageText)
{
    PinnedBoundaries Pinned; // 11111111 occurs in the body and is skipped
    ZevMessage Message(nullptr);
    Fill(Message);
    const std::string Saved = Save(Message);
    EXPECT_NE(Saved.find("boundary=\"22222222\""), std::string::npos);
    EXPECT_NE(Saved.find("boundary=\"33333333\""), std::string::npos); // the alternative group
}

TEST(MessageEncoding, HeaderLinesAsWritten)
{
    ZevMessage Message(nullptr);
    Message.Sender()->Name = "Dr. Who";
    Message.Sender()->Address = "who@example.org";
    Message.Recipients()->Add("St. Ann", "ann@example.org");
    Message.Recipients()->Add("\"Q. Quoted\"", "q@example.org");
    Message.CC()->Add("Mr. C", "c@example.org");
    Message.Body()->Add("x");
    const std::vector<std::string> Lines = Split(Save(Message));
    const std::vector<std::string> Expected = {"From:     \"Dr. Who\" <who@example.org>",
                                               "To:       \"St. Ann\" <ann@example.org>,",
                                               "          \"Q. Quoted\" <q@example.org>",
                                               "CC:       \"Mr. C\" <c@example.org>",
                                               "Mime-Version: 1.0",
                                               "Content-Type: text/plain; charset=\"us-ascii\"",
                                               "Content-Transfer-Encoding: 7bit",
                                               "",
                                               "x"};
    EXPECT_EQ(Lines, Expected); // ptNormal: no X-Priority line
}

TEST(MessageEncoding, LongBodyLineIsQuotedPrintable)
{
    ZevMessage Message(nullptr);
    Message.Body()->Add(std::string(300, 'y'));
    const std::string Saved = Save(Message);
    EXPECT_NE(Saved.find("Content-Transfer-Encoding: quoted-printable"), std::string::npos);
    ZevMessage Loaded(nullptr);
    TStringStream Stream(Saved);
    Loaded.LoadFromStream(&Stream);
    EXPECT_EQ(Lines(Loaded.Body()), Lines(Message.Body()));
}

TEST(MessageEncoding, Base64DataInLinesOf76)
{
    ZevMessage Message(nullptr);
    AddAttachment(Message, "a.bin", std::string(114, 'z'));
    const std::vector<std::string> Lines = Split(Save(Message));
    const auto Blank = std::find(Lines.begin(), Lines.end(), "");
    ASSERT_NE(Blank, Lines.end());
    const std::vector<std::string> Data(Blank + 1, Lines.end());
    ASSERT_EQ(Data.size(), 3u);
    EXPECT_EQ(Data[0].size(), 76u);
    EXPECT_EQ(Data[1].size(), 76u);
    EXPECT_EQ(Data[2], "");
}

// CR LF, CR and LF each end one line of a text attachment.
TEST(MessageEncoding, EveryLineEndIsOneLineEnd)
{
    ZevMessage Message(nullptr);
    Message.Body()->Add("body");
    AddAttachment(Message, "a.eml", "one\rtwo\nthree\r\n\r\nfive\n");
    AddAttachment(Message, "b.txt", "one\rtwo\n\nfour\r\n");
    ZevMessage Loaded(nullptr);
    TStringStream Stream(Save(Message));
    Loaded.LoadFromStream(&Stream);
    ASSERT_EQ(Loaded.Attachments()->Count(), 2);
    EXPECT_EQ(Data(Loaded.Attachments()->Items(0)), "one\r\ntwo\r\nthree\r\n\r\nfive\r\n");
    EXPECT_EQ(Data(Loaded.Attachments()->Items(1)), "one\r\ntwo\r\n\r\nfour\r\n");
}

TEST(MessageEncoding, UuencodedRoundTrip)
{
    ZevMessage Message(nullptr);
    Message.SetEncoding(meUU);
    Message.Sender()->Address = "a@b";
    Message.Body()->Add("Text before");
    AddAttachment(Message, "/home/me/data.bin", BinaryBytes());
    AddAttachment(Message, "exact.bin", std::string(90, 'q'));
    const std::string Saved = Save(Message);
    EXPECT_NE(Saved.find("\r\nbegin 600 data.bin\r\n"), std::string::npos);
    EXPECT_EQ(Saved.find("Mime-Version"), std::string::npos);
    ZevMessage Loaded(nullptr);
    TStringStream Stream(Saved);
    Loaded.LoadFromStream(&Stream);
    EXPECT_EQ(Loaded.Encoding(), meUU);
    EXPECT_EQ(Lines(Loaded.Body()), std::vector<std::string>{"Text before"});
    ASSERT_EQ(Loaded.Attachments()->Count(), 2);
    EXPECT_EQ(Data(Loaded.Attachments()->Items(0)), BinaryBytes());
    EXPECT_EQ(Data(Loaded.Attachments()->Items(1)), std::string(90, 'q'));
}

TEST(MessageEncoding, SingleAttachmentAndArticle)
{
    ZevMessage Message(nullptr);
    AddAttachment(Message, "only.pdf", "%PDF-1.4");
    ZevMessage Loaded(nullptr);
    TStringStream Stream(Save(Message));
    Loaded.LoadFromStream(&Stream);
    ASSERT_EQ(Loaded.Attachments()->Count(), 1);
    EXPECT_EQ(Loaded.Attachments()->Items(0)->FileName(), "only.pdf");
    EXPECT_EQ(Data(Loaded.Attachments()->Items(0)), "%PDF-1.4");

    ZevArticle Article(nullptr);
    Article.Sender()->Address = "n@x";
    Article.SetNewsGroups("comp.misc");
    Article.SetSubject("Hello");
    Article.Headers()->Add("Newsgroups: old.group");
    Article.Body()->Add("post");
    const std::vector<std::string> Lines = Split(Save(Article));
    EXPECT_EQ(Lines[0], "From:      <n@x>");
    EXPECT_EQ(Lines[1], "Newsgroups: comp.misc");
    EXPECT_EQ(Lines[2], "Subject:  Hello");
    EXPECT_EQ(Lines[3], "Mime-Version: 1.0");
}
