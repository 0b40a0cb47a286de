#include "platform/gfx/fontengine.h"
#include "platform/gfx/textlayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Deterministic metrics at cell height 20: every character is 10 wide, lines are 20 high.
class DrawTextLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeterministicFontMetrics(true);
        TFontRequest Request;
        Request.FaceName = "Arial";
        Request.Height = 20;
        Font = TFontInstance::Get(Request);
    }
    void TearDown() override { SetDeterministicFontMetrics(false); }

    std::shared_ptr<TFontInstance> Font;
};

std::string LineText(const TDrawTextLine& Line)
{
    std::string S;
    for (const TTextRun& Run : Line.Runs)
        S += Run.Text;
    return S;
}

std::vector<std::string> LineTexts(const TDrawTextLayout& Layout)
{
    std::vector<std::string> Texts;
    for (const TDrawTextLine& Line : Layout.Lines)
        Texts.push_back(LineText(Line));
    return Texts;
}

TEST_F(DrawTextLayout, DeterministicFontMeasuresTenPerCharacter)
{
    EXPECT_EQ(Font->LineHeight(), 20);
    EXPECT_EQ(Font->AveCharWidth(), 10);
    EXPECT_EQ(Font->TextWidth("Hello"), 50);
    EXPECT_EQ(Font->TextWidth("\xC3\xA9t\xC3\xA9"), 30); // UTF-8 counts characters
}

TEST_F(DrawTextLayout, BreaksLinesAndCalculatesRectangles)
{
    struct TCase {
        std::string Text;
        int Width;
        unsigned Format;
        std::vector<std::string> Lines;
        TRect Calc;
    };
    const unsigned WB = DT_WORDBREAK;
    const std::vector<TCase> Cases = {
        {"Hello world", 200, WB, {"Hello world"}, Rect(0, 0, 200, 20)},
        {"Hello world", 80, WB, {"Hello", "world"}, Rect(0, 0, 80, 40)},
        {"Hello big world", 90, WB, {"Hello big", "world"}, Rect(0, 0, 90, 40)},
        {"aa   bb", 40, WB, {"aa", "bb"}, Rect(0, 0, 40, 40)},
        // A long word overflows and widens the rectangle...
        {"Extraordinary day", 50, WB, {"Extraordinary", "day"}, Rect(0, 0, 130, 40)},
        // ...unless an edit control breaks it by characters, never inside one.
        {"Extraordinary", 50, WB | DT_EDITCONTROL, {"Extra", "ordin", "ary"}, Rect(0, 0, 50, 60)},
        {"\xC3\xA9\xC3\xA9\xC3\xA9",
         20,
         WB | DT_EDITCONTROL,
         {"\xC3\xA9\xC3\xA9", "\xC3\xA9"},
         Rect(0, 0, 20, 40)},
        {"one\r\ntwo\nthree", 30, 0, {"one", "two", "three"}, Rect(0, 0, 50, 60)},
        {"one\r\n\r\ntwo\r\n", 30, 0, {"one", "", "two"}, Rect(0, 0, 30, 60)},
        {"one\r\ntwo", 30, DT_SINGLELINE, {"one\r\ntwo"}, Rect(0, 0, 60, 20)},
        {"Hello world", 30, WB | DT_SINGLELINE, {"Hello world"}, Rect(0, 0, 110, 20)},
        {"", 100, WB, {}, Rect(0, 0, 100, 0)},
        {"", 100, 0, {}, Rect(0, 0, 0, 0)},
        // Ellipses fit the line into the width.
        {"Hello world", 80, DT_SINGLELINE | DT_END_ELLIPSIS, {"Hello..."}, Rect(0, 0, 80, 20)},
        {"Hello world", 75, DT_SINGLELINE | DT_END_ELLIPSIS, {"Hell..."}, Rect(0, 0, 70, 20)},
        {"Hello", 50, DT_SINGLELINE | DT_END_ELLIPSIS, {"Hello"}, Rect(0, 0, 50, 20)},
        {"Hello", 20, DT_SINGLELINE | DT_END_ELLIPSIS, {"..."}, Rect(0, 0, 30, 20)},
        {"Hello big world",
         100,
         DT_SINGLELINE | DT_WORD_ELLIPSIS,
         {"Hello..."},
         Rect(0, 0, 80, 20)},
        {"C:\\dir\\sub\\file.txt",
         150,
         DT_SINGLELINE | DT_PATH_ELLIPSIS,
         {"C:\\...\\file.txt"},
         Rect(0, 0, 150, 20)},
        {"/usr/share/doc/readme",
         120,
         DT_SINGLELINE | DT_PATH_ELLIPSIS,
         {"/u.../readme"},
         Rect(0, 0, 120, 20)},
        {"/usr/share/doc/readme",
         90,
         DT_SINGLELINE | DT_PATH_ELLIPSIS,
         {".../readme"},
         Rect(0, 0, 100, 20)},
        {"first line\nsecond line", 60, DT_END_ELLIPSIS, {"fir...", "sec..."}, Rect(0, 0, 60, 40)},
    };
    for (const TCase& C : Cases) {
        TDrawTextLayout Layout =
            LayoutDrawText(*Font, C.Text, Rect(0, 0, C.Width, 100), C.Format | DT_CALCRECT);
        SCOPED_TRACE(C.Text + " in " + std::to_string(C.Width));
        EXPECT_EQ(LineTexts(Layout), C.Lines);
        EXPECT_EQ(Layout.CalcRect, C.Calc);
        EXPECT_EQ(Layout.Height, C.Calc.Height());
        for (size_t I = 0; I < Layout.Lines.size(); ++I)
            EXPECT_EQ(Layout.Lines[I].Y, static_cast<int>(I) * 20);
    }
}

TEST_F(DrawTextLayout, PiecesReadAsTheWholeTextDoes)
{
    // Windows-1252 text whose first word happens to be valid UTF-8 ("\xC3\xA9" reads "é").
    const std::string Text = "\xC3\xA9 \xFC";
    TDrawTextLayout Layout = LayoutDrawText(*Font, Text, Rect(0, 0, 20, 100), DT_WORDBREAK);
    EXPECT_EQ(Layout.Coding, tcAnsi);
    EXPECT_EQ(LineTexts(Layout), (std::vector<std::string>{"\xC3\xA9", "\xFC"}));
    EXPECT_EQ(Layout.Lines[0].Width, 20);
    EXPECT_EQ(Font->TextWidth("\xC3\xA9"), 10); // on its own it is UTF-8
    EXPECT_EQ(Font->TextExtent("\xC3\xA9", 0, Layout.Coding).cx, 20);
    EXPECT_EQ(LayoutDrawText(*Font, "\xC3\xA9", Rect(0, 0, 20, 100), 0).Coding, tcUtf8);
}

TEST_F(DrawTextLayout, AlignsLinesInTheRectangle)
{
    struct TCase {
        unsigned Format;
        int X;
        int Y;
        int Height;
    };
    const std::vector<TCase> Cases = {
        {DT_LEFT, 10, 5, 20},
        {DT_CENTER, 45, 5, 20},
        {DT_RIGHT, 80, 5, 20},
        {DT_SINGLELINE | DT_VCENTER, 10, 45, 60},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 80, 85, 100},
        {DT_VCENTER, 10, 5, 20}, // vertical alignment needs a single line
    };
    for (const TCase& C : Cases) {
        TDrawTextLayout Layout = LayoutDrawText(*Font, "abc", Rect(10, 5, 110, 105), C.Format);
        SCOPED_TRACE(C.Format);
        ASSERT_EQ(Layout.Lines.size(), 1u);
        EXPECT_EQ(Layout.Lines[0].X, C.X);
        EXPECT_EQ(Layout.Lines[0].Y, C.Y);
        EXPECT_EQ(Layout.Lines[0].Runs[0].X, C.X);
        EXPECT_EQ(Layout.Height, C.Height);
    }
}

TEST_F(DrawTextLayout, PrefixCharactersUnderlineTheNextCharacter)
{
    struct TCase {
        std::string Text;
        unsigned Format;
        std::string Drawn;
        int UnderlineLeft;
        int UnderlineRight;
    };
    const std::vector<TCase> Cases = {
        {"&File", 0, "File", 0, 10},
        {"Save &As", 0, "Save As", 50, 60},
        {"A&&B", 0, "A&B", -1, -1},
        {"Tail&", 0, "Tail", -1, -1},
        {"&File", DT_NOPREFIX, "&File", -1, -1},
        {"Save &As", DT_HIDEPREFIX, "Save As", -1, -1},
        {"Save &As", DT_PREFIXONLY, "", 50, 60},
        {"&\xC3\xA9t\xC3\xA9", 0, "\xC3\xA9t\xC3\xA9", 0, 10},
    };
    for (const TCase& C : Cases) {
        TDrawTextLayout Layout = LayoutDrawText(*Font, C.Text, Rect(0, 0, 200, 20), C.Format);
        SCOPED_TRACE(C.Text);
        ASSERT_EQ(Layout.Lines.size(), 1u);
        EXPECT_EQ(LineText(Layout.Lines[0]), C.Drawn);
        EXPECT_EQ(Layout.Lines[0].Underlined, C.UnderlineLeft >= 0);
        if (Layout.Lines[0].Underlined) {
            EXPECT_EQ(Layout.Lines[0].UnderlineLeft, C.UnderlineLeft);
            EXPECT_EQ(Layout.Lines[0].UnderlineRight, C.UnderlineRight);
        }
    }
    // Left of the origin the underline still counts.
    TDrawTextLayout Layout = LayoutDrawText(*Font, "a&b", Rect(-30, 0, 0, 20), 0);
    EXPECT_TRUE(Layout.Lines[0].Underlined);
    EXPECT_EQ(Layout.Lines[0].UnderlineLeft, -20);
    EXPECT_EQ(Layout.Lines[0].UnderlineRight, -10);
}

TEST_F(DrawTextLayout, TabsExpandToStopsOfAverageCharacters)
{
    struct TCase {
        unsigned Format;
        int TabLength;
        std::vector<int> RunXs;
        int Width;
    };
    const std::vector<TCase> Cases = {
        {DT_EXPANDTABS, 0, {0, 80, 160}, 170},
        {DT_EXPANDTABS | DT_TABSTOP | (4u << 8), 0, {0, 40, 80}, 90},
        {DT_EXPANDTABS, 2, {0, 20, 40}, 50},
    };
    for (const TCase& C : Cases) {
        TDrawTextLayout Layout =
            LayoutDrawText(*Font, "a\tb\tc", Rect(0, 0, 400, 20), C.Format, C.TabLength);
        ASSERT_EQ(Layout.Lines.size(), 1u);
        std::vector<int> Xs;
        for (const TTextRun& Run : Layout.Lines[0].Runs)
            Xs.push_back(Run.X);
        EXPECT_EQ(Xs, C.RunXs);
        EXPECT_EQ(Layout.Lines[0].Width, C.Width);
    }
    // DT_TABSTOP's length byte is not read as flags (0x04 there would be DT_CALCRECT).
    TDrawTextLayout Layout =
        LayoutDrawText(*Font, "a\tb", Rect(0, 0, 400, 20), DT_EXPANDTABS | DT_TABSTOP | (4u << 8));
    EXPECT_EQ(Layout.CalcRect.Right, 50);
}

TEST_F(DrawTextLayout, ModifyStringReturnsTheShortenedText)
{
    struct TCase {
        std::string Text;
        int Width;
        unsigned Format;
        std::string Modified;
    };
    const std::vector<TCase> Cases = {
        {"Hello world", 75, DT_END_ELLIPSIS, "Hell..."},
        {"C:\\dir\\sub\\file.txt", 160, DT_PATH_ELLIPSIS, "C:\\d...\\file.txt"},
        {"C:\\dir\\sub\\file.txt", 75, DT_PATH_ELLIPSIS, "...\\file.txt"},
        {"Short", 75, DT_END_ELLIPSIS, "Short"},
        {"&Hello world", 75, DT_END_ELLIPSIS, "&Hell..."},
    };
    for (const TCase& C : Cases) {
        TDrawTextLayout Layout = LayoutDrawText(*Font, C.Text, Rect(0, 0, C.Width, 20),
                                                C.Format | DT_SINGLELINE | DT_MODIFYSTRING);
        EXPECT_EQ(Layout.ModifiedText, C.Modified) << C.Text;
    }
    EXPECT_EQ(
        LayoutDrawText(*Font, "Hello world", Rect(0, 0, 75, 20), DT_END_ELLIPSIS).ModifiedText, "");
}

TEST_F(DrawTextLayout, EditControlHidesAPartlyVisibleLastLine)
{
    // Three lines of 20 in 50 pixels: the third would be cut, so only two are drawn.
    TDrawTextLayout Layout =
        LayoutDrawText(*Font, "aa bb cc", Rect(0, 0, 20, 50), DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_EQ(LineTexts(Layout), (std::vector<std::string>{"aa", "bb"}));
    EXPECT_EQ(Layout.Height, 40);
    // With an end ellipsis the last shown line says that more follows.
    Layout = LayoutDrawText(*Font, "aa bb cc dd", Rect(0, 0, 50, 30),
                            DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
    EXPECT_EQ(LineTexts(Layout), (std::vector<std::string>{"aa..."}));
    // Measuring is not cut.
    Layout = LayoutDrawText(*Font, "aa bb cc", Rect(0, 0, 20, 50),
                            DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    EXPECT_EQ(Layout.CalcRect, Rect(0, 0, 20, 60));
}

// Word wrapping as plainly as it can be said, trying every end: after a word (before its blanks)
// or at the end of the line, the last that fits; else, with DT_EDITCONTROL, the most characters
// that fit, at least one; else the first word. The blanks at a break belong to no line.
std::vector<std::string> PlainWrap(const TTextMeasure& Measure, const std::string& Text, int Limit,
                                   unsigned Format, TTextCoding Coding)
{
    auto Width = [&](const std::string& S) {
        int X = 0;
        std::string Piece;
        for (char C : S) {
            if (C == '\t' && (Format & DT_EXPANDTABS)) {
                X = (X + Measure.CodedTextWidth(Piece, Coding)) / 80 * 80 + 80;
                Piece.clear();
            } else {
                Piece += C;
            }
        }
        return X + Measure.CodedTextWidth(Piece, Coding);
    };
    auto IsBlank = [](char C) { return C == ' ' || C == '\t'; };
    std::vector<std::string> Hard;
    std::string Line;
    for (size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\r' || Text[I] == '\n') {
            Hard.push_back(Line);
            Line.clear();
            if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n')
                ++I;
        } else {
            Line += Text[I];
        }
    }
    if (!Line.empty())
        Hard.push_back(Line);

    std::vector<std::string> Lines;
    for (const std::string& L : Hard) {
        if (L.empty()) {
            Lines.push_back("");
            continue;
        }
        auto NextChar = [&](size_t I) {
            ++I;
            while (Coding == tcUtf8 && I < L.size() &&
                   (static_cast<unsigned char>(L[I]) & 0xC0) == 0x80)
                ++I;
            return I;
        };
        size_t Pos = 0;
        while (Pos < L.size()) {
            std::vector<size_t> Ends;
            for (size_t K = Pos + 1; K <= L.size(); ++K)
                if (K == L.size() || (IsBlank(L[K]) && !IsBlank(L[K - 1])))
                    Ends.push_back(K);
            size_t End = 0;
            for (size_t E : Ends)
                if (Width(L.substr(Pos, E - Pos)) <= Limit)
                    End = E;
            if (End == 0 && (Format & DT_EDITCONTROL)) {
                End = NextChar(Pos);
                for (size_t E = End; E <= L.size(); E = NextChar(E))
                    if (Width(L.substr(Pos, E - Pos)) <= Limit)
                        End = E;
            } else if (End == 0) {
                End = Ends.front();
            }
            Lines.push_back(L.substr(Pos, End - Pos));
            Pos = End;
            while (Pos < L.size() && IsBlank(L[Pos]))
                ++Pos;
        }
    }
    return Lines;
}

TEST_F(DrawTextLayout, WrappingFollowsThePlainRuleOnRandomTexts)
{
    const std::vector<std::string> Pieces = {"a",  "bb", "word", "extraordinary", " ",   "   ",
                                             "\t", "\n", "\r\n", "\xC3\xA9",      "\xE9"};
    const std::vector<unsigned> Formats = {DT_WORDBREAK, DT_WORDBREAK | DT_EDITCONTROL,
                                           DT_WORDBREAK | DT_EXPANDTABS,
                                           DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS};
    std::mt19937 Random(20240611);
    for (int Round = 0; Round < 2000; ++Round) {
        std::string Text;
        const int Count = static_cast<int>(Random() % 40);
        for (int I = 0; I < Count; ++I) {
            size_t Piece = Random() % Pieces.size();
            // Most texts stay UTF-8; now and then a Windows-1252 byte makes the whole text so.
            if (Piece + 1 == Pieces.size() && Random() % 4 != 0)
                Piece = 0;
            Text += Pieces[Piece];
        }
        const int Width = static_cast<int>(Random() % 160) - 10;
        // DT_CALCRECT, since an edit control would otherwise drop the lines below the rectangle.
        const unsigned Format = Formats[Random() % Formats.size()] | DT_NOPREFIX | DT_CALCRECT;
        const TDrawTextLayout Layout = LayoutDrawText(*Font, Text, Rect(0, 0, Width, 1000), Format);
        const std::vector<std::string> Expected =
            PlainWrap(*Font, Text, Width, Format, Layout.Coding);
        SCOPED_TRACE("\"" + Text + "\" in " + std::to_string(Width) + ", format " +
                     std::to_string(Format));
        ASSERT_EQ(Layout.Lines.size(), Expected.size());
        for (size_t I = 0; I < Expected.size(); ++I) {
            std::string Drawn = Expected[I];
            if (Format & DT_EXPANDTABS)
                Drawn.erase(std::remove(Drawn.begin(), Drawn.end(), '\t'), Drawn.end());
            EXPECT_EQ(LineText(Layout.Lines[I]), Drawn);
        }
    }
}

// Counts the bytes a layout has measured.
class TCountingMeasure : public TTextMeasure {
public:
    explicit TCountingMeasure(const TTextMeasure& AMeasure) : Measure(AMeasure) {}
    int LineHeight() const override { return Measure.LineHeight(); }
    int ExternalLeading() const override { return Measure.ExternalLeading(); }
    int AveCharWidth() const override { return Measure.AveCharWidth(); }
    int TextWidth(const std::string& Text) const override
    {
        Measured += Text.size();
        return Measure.TextWidth(Text);
    }
    int CodedTextWidth(const std::string& Text, TTextCoding Coding) const override
    {
        Measured += Text.size();
        return Measure.CodedTextWidth(Text, Coding);
    }
    mutable size_t Measured = 0;

private:
    const TTextMeasure& Measure;
};

TEST_F(DrawTextLayout, LongTextsAreMeasuredAFewTimesOverWhenWrapped)
{
    // 64 KB ten characters to a line: a line measured against all the text after it would cost
    // gigabytes and freeze the window.
    struct TCase {
        std::string Name;
        std::string Unit;
        unsigned Format;
        size_t Lines;
    };
    std::string Alphabet;
    for (char C = 'a'; C <= 'z'; ++C)
        Alphabet += C;
    const std::vector<TCase> Cases = {
        {"one word by characters", Alphabet, DT_WORDBREAK | DT_EDITCONTROL, 6554},
        {"one word", Alphabet, DT_WORDBREAK, 1},
        {"one-letter words", "a ", DT_WORDBREAK, 6554},
        {"words", "Hello big wide world of words ", DT_WORDBREAK, 6554},
        {"tabs", "a\t", DT_WORDBREAK | DT_EXPANDTABS, 16384},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        std::string Text;
        while (Text.size() < 65536)
            Text += C.Unit;
        Text.resize(65536);
        TCountingMeasure Measure(*Font);
        const TDrawTextLayout Layout =
            LayoutDrawText(Measure, Text, Rect(0, 0, 100, 1000), C.Format | DT_CALCRECT);
        EXPECT_EQ(Layout.Lines.size(), C.Lines);
        EXPECT_LT(Measure.Measured, 16 * Text.size());
    }
}

class TFixedMeasure : public TTextMeasure {
public:
    int LineHeight() const override { return 20; }
    int ExternalLeading() const override { return 3; }
    int AveCharWidth() const override { return 10; }
    int TextWidth(const std::string& Text) const override
    {
        return 10 * static_cast<int>(Text.size());
    }
};

TEST(DrawTextLeading, ExternalLeadingAddsToTheLineHeight)
{
    TFixedMeasure Measure;
    TDrawTextLayout Layout =
        LayoutDrawText(Measure, "a\nb", Rect(0, 0, 100, 100), DT_EXTERNALLEADING | DT_CALCRECT);
    ASSERT_EQ(Layout.Lines.size(), 2u);
    EXPECT_EQ(Layout.Lines[1].Y, 23);
    EXPECT_EQ(Layout.CalcRect, Rect(0, 0, 10, 46));
    Layout = LayoutDrawText(Measure, "a\nb", Rect(0, 0, 100, 100), DT_CALCRECT);
    EXPECT_EQ(Layout.CalcRect, Rect(0, 0, 10, 40));
}

} // namespace
