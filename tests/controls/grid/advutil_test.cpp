// Tests of the grid's text-field, cell-kind and line-break helpers.
#include "controls/grid/advutil.h"

#include "platform/rtl/stringlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string ESC = "\x1b";

TEST(AdvUtilText, CutFieldTakesThePartBeforeTheDelimiter)
{
    std::string Text = "one, two";
    EXPECT_EQ(CutField(Text, ", "), "one");
    EXPECT_EQ(Text, " two");
    std::string Without = "plain";
    EXPECT_EQ(CutField(Without, ";"), "");
    EXPECT_EQ(Without, "plain");
}

TEST(AdvUtilText, JoinLinesRunsStringsTogether)
{
    TStringList Lines;
    Lines.Add("a");
    Lines.Add("bc");
    Lines.Add("");
    Lines.Add("d");
    EXPECT_EQ(JoinLines(&Lines), "abcd");
}

TEST(AdvUtilText, SmallSearchesAndCharacterHelpers)
{
    EXPECT_EQ(FirstCharInSet(",;", "ab;c,d"), ';');
    EXPECT_EQ(FirstCharInSet(",;", "abc"), '\0');
    EXPECT_TRUE(IsInGridRect(TGridRect{1, 2, 3, 4}, 3, 2));
    EXPECT_FALSE(IsInGridRect(TGridRect{1, 2, 3, 4}, 4, 2));
    EXPECT_FALSE(IsInGridRect(TGridRect{1, 2, 3, 4}, 1, 5));
    EXPECT_EQ(CollapseCharRuns(' ', "a  b   c d"), "a b c d");
    EXPECT_EQ(CollapseCharRuns(';', "abc"), "abc");
    std::string Text = "secret";
    FillWithChar(Text, '*');
    EXPECT_EQ(Text, "******");
    EXPECT_EQ(LoCaseChar('Q'), 'q');
    EXPECT_EQ(LoCaseChar('q'), 'q');
    EXPECT_EQ(LoCaseChar('5'), '5');
}

TEST(AdvUtilText, SingleCharactersSkipDoubledOnesButTheLastAlwaysCounts)
{
    struct Case {
        std::string Text;
        int Pos;
        int Count;
    };
    const std::vector<Case> Cases = {
        {"a,b,,c,", 2, 2}, {"a,,b", 0, 0}, {",", 1, 1}, {"ab,,", 4, 1},
        {"a;b", 0, 0},     {",a,b", 1, 2}, {"", 0, 0},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(PosSingleChar(',', C.Text), C.Pos) << C.Text;
        EXPECT_EQ(CountSingleChar(',', C.Text), C.Count) << C.Text;
    }
}

TEST(AdvUtilCells, CellTextKindTellsFormulaRichTextHtmlAndPlain)
{
    struct Case {
        std::string Text;
        bool CheckHtml;
        int Kind;
    };
    const std::vector<Case> Cases = {
        {"a</b>", true, ctkHtml},
        {"<b>bold", true, ctkPlain},
        {"<B>bold", true, ctkHtml},
        {"<I>x", true, ctkHtml},
        {"a</b>", false, ctkPlain},
        {"=A1+B1", true, ctkFormula},
        {"{\\rtf1 x}", true, ctkRichText},
        {"=", true, ctkPlain},
        {"", true, ctkPlain},
        {"plain", true, ctkPlain},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(CellTextKind(C.Text, C.CheckHtml), C.Kind) << C.Text;
}

TEST(AdvUtilCells, UrlsAreRecognisedAndTheirPrefixStripped)
{
    EXPECT_TRUE(IsUrlText("see http://x.org"));
    EXPECT_TRUE(IsUrlText("mailto:a@b.c"));
    EXPECT_FALSE(IsUrlText("MAILTO:a@b.c"));
    EXPECT_FALSE(IsUrlText("plain"));
    struct Case {
        std::string Text, Stripped;
    };
    const std::vector<Case> Cases = {{"http://x.org/a", "x.org/a"},
                                     {"mailto:a@b.c", "a@b.c"},
                                     {"x mailto:a http://b", "b"},
                                     {"plain", "plain"}};
    for (const Case& C : Cases) {
        std::string Text = C.Text;
        StripUrlPrefix(Text);
        EXPECT_EQ(Text, C.Stripped) << C.Text;
    }
}

TEST(AdvUtilCells, CellReferencesGiveColumnAndRow)
{
    TGridCoord Cell;
    ASSERT_TRUE(ParseCellReference("r12c3", Cell));
    EXPECT_EQ(Cell.X, 3);
    EXPECT_EQ(Cell.Y, 12);
    for (const char* Bad : {"R1C", "RC1", "R1X1", "C1R1", "R1C1x", "R-1C2", "R1", ""})
        EXPECT_FALSE(ParseCellReference(Bad, Cell)) << Bad;
}

TEST(AdvUtilLineBreaks, CrLfTextsAreCodedAsBeforeAndComeBack)
{
    struct Case {
        std::string Text, Coded, FirstLine;
    };
    const std::vector<Case> Cases = {
        {"a\r\nb",
         "a\x09\x08"
         "b",
         "a"},
        {"x\r\n\r\ny\r\n", "x\x09\x08\x09\x08y\x09\x08", "x"},
        {"plain text", "plain text", "plain text"},
        {"", "", ""},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(EncodeLineBreaks(C.Text), C.Coded);
        EXPECT_EQ(DecodeLineBreaks(C.Coded, true), C.Text);
        EXPECT_EQ(DecodeLineBreaks(C.Coded, false), C.FirstLine);
    }
}

TEST(AdvUtilLineBreaks, OldCodedTextsDecodeAsBefore)
{
    // A CR alone was coded as #9 only; without #8 it stays as it is.
    EXPECT_EQ(DecodeLineBreaks("a\x09"
                               "b",
                               true),
              "a\x09"
              "b");
    // LF without CR was written unchanged.
    EXPECT_EQ(DecodeLineBreaks("a\nb", true), "a\nb");
}

TEST(AdvUtilLineBreaks, TextsThePlainCodingWouldLoseAreEscaped)
{
    struct Case {
        std::string Text, Coded;
    };
    const std::vector<Case> Cases = {
        {"a\rb", ESC + "a" + ESC + "rb"},
        {"a\nb", ESC + "a" + ESC + "nb"},
        {"a\x08"
         "b",
         ESC + "a" + ESC + "bb"},
        {"a\tb", ESC + "a" + ESC + "tb"},
        {ESC + "x", ESC + ESC + "ex"},
        {"a\r\nb\nc", ESC + "a" + ESC + "r" + ESC + "nb" + ESC + "nc"},
    };
    for (const Case& C : Cases) {
        const std::string Coded = EncodeLineBreaks(C.Text);
        EXPECT_EQ(Coded, C.Coded);
        EXPECT_EQ(Coded.find_first_of("\r\n\x08\x09"), std::string::npos);
    }
}

TEST(AdvUtilLineBreaks, EveryTextSurvivesEncodeAndDecode)
{
    const std::vector<std::string> Texts = {
        "",
        "plain",
        "a\r\nb",
        "\r\n",
        "a\rb",
        "a\nb",
        "\r",
        "\n",
        "\n\r",
        "a\r\r\nb",
        "tab\there",
        "back\x08space",
        "\x09\x08",
        ESC,
        ESC + "r",
        "mid" + ESC + "dle",
        "end" + ESC,
        ESC + ESC,
        "a\x1b\r\n",
        std::string("nul\0byte", 8),
        "\xC3\xA9t\xC3\xA9\r\n\xE2\x82\xAC",
    };
    for (const std::string& Text : Texts) {
        const std::string Coded = EncodeLineBreaks(Text);
        EXPECT_EQ(Coded.find_first_of("\r\n"), std::string::npos) << Text;
        EXPECT_EQ(DecodeLineBreaks(Coded, true), Text) << Text;
        std::string Rest = Text;
        std::string Line;
        CutFirstLine(Rest, false, Line);
        EXPECT_EQ(DecodeLineBreaks(Coded, false), Line) << Text;
    }
}

TEST(AdvUtilLineBreaks, MalformedEscapesStayAsTheyAre)
{
    EXPECT_EQ(DecodeLineBreaks(ESC + "a" + ESC + "qb", true), "a" + ESC + "qb");
    EXPECT_EQ(DecodeLineBreaks(ESC + "ab" + ESC, true), "ab" + ESC);
    EXPECT_EQ(DecodeLineBreaks(ESC + "one" + ESC + "rtwo", false), "one");
}

TEST(AdvUtilLineBreaks, CutFirstLineKeepsTheRestOnlyWhenAsked)
{
    struct Case {
        std::string Text;
        bool KeepRest;
        std::string Line, Rest;
    };
    const std::vector<Case> Cases = {
        {"a\r\nb\r\nc", true, "a", "b\r\nc"}, {"a\r\nb", false, "a", ""},
        {"a\r\n\nb", true, "a", "\nb"},       {"a\rb", true, "a", "b"},
        {"no break", true, "no break", ""},   {"", true, "", ""},
    };
    for (const Case& C : Cases) {
        std::string Text = C.Text;
        std::string Line;
        CutFirstLine(Text, C.KeepRest, Line);
        EXPECT_EQ(Line, C.Line) << C.Text;
        EXPECT_EQ(Text, C.Rest) << C.Text;
    }
}

TEST(AdvUtilLineBreaks, LineConversions)
{
    EXPECT_EQ(LineCount("a\r\nb\r\nc", true), 3);
    EXPECT_EQ(LineCount("a\r\nb\r\nc", false), 1);
    EXPECT_EQ(LineCount("", true), 1);
    EXPECT_EQ(ExpandNewlineEscapes("one\\ntwo\\\\n\\"), "one\rtwo\\\r\\");
    std::string Quoted = "a\r\nb\rc";
    QuoteMultiLineText(Quoted);
    EXPECT_EQ(Quoted, "\"a\nb\rc\"");
    std::string Lf = "a\nb\r\nc";
    LFToCRLF(Lf);
    EXPECT_EQ(Lf, "a\r\nb\r\r\nc");
    std::string NoLf = "a\rb";
    LFToCRLF(NoLf);
    EXPECT_EQ(NoLf, "a\rb");
    std::string Tilde = "a~b~";
    TildeToCRLF(Tilde);
    EXPECT_EQ(Tilde, "a\r\nb\r\n");
}

} // namespace
