// The grid's clipboard: the copied text's layout, pasting text of any kind (growing the grid no
// further than the block), the rich text beside the text, and the smart paste's fills and series.
#include "tests/controls/grid/advgridfixture.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/globalmemory.h"
#include "platform/ui/clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what a paste reports.
class TNotifyingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void PasteNotify(TPoint Origin, TGridRect PastedArea, bool Flag) override
    {
        Origins.push_back(Origin);
        Areas.push_back(PastedArea);
        Flags.push_back(Flag);
    }
    std::vector<TPoint> Origins;
    std::vector<TGridRect> Areas;
    std::vector<bool> Flags;
};

class GridClipboard : public AdvGridTest {
protected:
    void SetUp() override
    {
        AdvGridTest::SetUp();
        Saved = FormatSettings;
        FormatSettings = TFormatSettings::EnglishUS();
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Clipboard()->Clear();
    }
    void TearDown() override
    {
        Clipboard()->Clear();
        FormatSettings = Saved;
        AdvGridTest::TearDown();
    }
    void Select(int Left, int Top, int Right, int Bottom)
    {
        Grid->SetSelection(TGridRect{Left, Top, Right, Bottom});
    }
    std::vector<std::string> Column(int ACol, int From, int To)
    {
        std::vector<std::string> Texts;
        for (int R = From; R <= To; ++R)
            Texts.push_back(Grid->Cells(ACol, R));
        return Texts;
    }

    TFormatSettings Saved;
};

TEST_F(GridClipboard, CopyLaysTheBlockOutAsTabsAndLineBreaks)
{
    struct TCase {
        const char* Name;
        std::vector<std::string> Cells; // (1,1) (2,1) (1,2) (2,2)
        bool Quote;
        bool KeepHtml;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"plain", {"a", "b", "c", "d"}, false, true, "a\tb\r\nc\td\r\n"},
        {"empty cells", {"", "b", "", ""}, false, true, "\tb\r\n\t\r\n"},
        {"multi-line quoted", {"l1\r\nl2", "b", "c", "d"}, true, true, "\"l1\nl2\"\tb\r\nc\td\r\n"},
        {"multi-line as it is",
         {"l1\r\nl2", "b", "c", "d"},
         false,
         true,
         "l1\r\nl2\tb\r\nc\td\r\n"},
        {"html stripped", {"<b>bold</b>", "b", "c", "d"}, false, false, "bold\tb\r\nc\td\r\n"},
        {"html kept", {"<b>bold</b>", "b", "c", "d"}, false, true, "<b>bold</b>\tb\r\nc\td\r\n"},
    };
    Grid->SetMultilinecells(true);
    for (const TCase& C : Cases) {
        Grid->SetCells(1, 1, C.Cells[0]);
        Grid->SetCells(2, 1, C.Cells[1]);
        Grid->SetCells(1, 2, C.Cells[2]);
        Grid->SetCells(2, 2, C.Cells[3]);
        Grid->QuoteMultiLineClipboard = C.Quote;
        Grid->Navigation()->CopyHTMLTagsToClipboard = C.KeepHtml;
        Select(1, 1, 2, 2);
        Grid->CopyToClipboard();
        EXPECT_EQ(Clipboard()->AsText(), C.Expected) << C.Name;
    }
}

TEST_F(GridClipboard, DisjunctRowSelectCopiesTheMarkedRowsWhole)
{
    Grid->SetColCount(3);
    Grid->MouseActions()->DisjunctRowSelect = true;
    Grid->IncludeFixedCells = false;
    for (int R = 1; R < 5; ++R)
        for (int C = 1; C < 3; ++C)
            Grid->SetCells(C, R, std::to_string(C) + std::to_string(R));
    Grid->SetRowSelected(2, true);
    Grid->SetRowSelected(4, true);
    Grid->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "12\t22\r\n14\t24\r\n");

    Grid->CutToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "12\t22\r\n14\t24\r\n");
}

TEST_F(GridClipboard, CutEmptiesOnlyTheCellsThatCanBeEdited)
{
    Grid->SetCells(1, 1, "keep");
    Grid->SetCells(2, 1, "go");
    Grid->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 1; };
    Select(1, 1, 2, 1);
    Grid->CutToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "keep\tgo\r\n");
    EXPECT_EQ(Grid->Cells(1, 1), "keep");
    EXPECT_EQ(Grid->Cells(2, 1), "");

    Grid->Navigation()->AllowClipboardAlways = true;
    Grid->CutToClipboard();
    EXPECT_EQ(Grid->Cells(1, 1), "");
}

TEST_F(GridClipboard, PastedTextFillsTheCellsAndGrowsTheGridNoFurtherThanTheBlock)
{
    struct TCase {
        const char* Name;
        std::string Text;
        int Col, Row;
        bool RowGrow, ColGrow;
        int Result, RowCount, ColCount;
        std::vector<std::vector<std::string>> Block; // rows of cells from (Col, Row)
    };
    const std::vector<TCase> Cases = {
        {"block inside", "a\tb\r\nc\td\r\n", 1, 1, true, true, 5, 5, 5, {{"a", "b"}, {"c", "d"}}},
        {"one cell", "x\r\n", 0, 0, true, true, 2, 5, 5, {{"x"}}},
        {"no final break", "a\tb", 0, 0, true, true, 2, 5, 5, {{"a", "b"}}},
        {"two lines into the last row", "a\r\nb\r\n", 1, 4, true, true, 3, 6, 5, {{"a"}, {"b"}}},
        {"two lines, no final break", "a\r\nb", 1, 4, true, true, 2, 6, 5, {{"a"}, {"b"}}},
        {"one line into the last row", "a\r\n", 1, 4, true, true, 2, 5, 5, {{"a"}}},
        {"empty lines are lines", "\r\n\r\n", 0, 4, true, true, 3, 6, 5, {{""}, {""}}},
        {"rows dropped", "a\r\nb\r\nc\r\n", 0, 4, false, true, 1, 5, 5, {{"a"}}},
        {"columns grown", "a\tb\tc", 3, 0, true, true, 3, 5, 6, {{"a", "b", "c"}}},
        {"columns dropped", "a\tb\tc", 3, 0, true, false, 3, 5, 5, {{"a", "b"}}},
        {"lone LF stays", "a\nb\tc\n", 0, 0, true, true, 2, 5, 5, {{"a\nb", "c\n"}}},
        {"bare CR breaks", "a\rb", 0, 0, true, true, 2, 5, 5, {{"a"}, {"b"}}},
        {"any bytes",
         std::string("n\0l\t\xff\xfe\xc3", 7),
         0,
         0,
         true,
         true,
         2,
         5,
         5,
         {{std::string("n\0l", 3), "\xff\xfe\xc3"}}},
        {"empty text", "", 2, 2, true, true, 1, 5, 5, {{""}}},
    };
    for (const TCase& C : Cases) {
        Grid->SetRowCount(5);
        Grid->SetColCount(5);
        for (int R = 0; R < 5; ++R)
            for (int K = 0; K < 5; ++K)
                Grid->SetCells(K, R, "");
        Grid->Navigation()->AllowClipboardRowGrow = C.RowGrow;
        Grid->Navigation()->AllowClipboardColGrow = C.ColGrow;
        EXPECT_EQ(Grid->PasteText(C.Col, C.Row, C.Text), C.Result) << C.Name;
        EXPECT_EQ(Grid->RowCount(), C.RowCount) << C.Name;
        EXPECT_EQ(Grid->ColCount(), C.ColCount) << C.Name;
        for (std::size_t R = 0; R < C.Block.size(); ++R)
            for (std::size_t K = 0; K < C.Block[R].size(); ++K)
                EXPECT_EQ(Grid->Cells(C.Col + int(K), C.Row + int(R)), C.Block[R][K])
                    << C.Name << " row " << R << " field " << K;
    }
}

TEST_F(GridClipboard, AQuotedMultiLineCellComesBackInAnyColumnOfTheBlock)
{
    Grid->SetMultilinecells(true);
    Grid->QuoteMultiLineClipboard = true;
    Grid->SetCells(1, 1, "one\r\ntwo");
    Grid->SetCells(2, 1, "three\r\nfour");
    Select(1, 1, 2, 1);
    Grid->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "\"one\ntwo\"\t\"three\nfour\"\r\n");
    Select(1, 3, 1, 3);
    Grid->PasteFromClipboard();
    EXPECT_EQ(Grid->Cells(1, 3), "one\r\ntwo");
    EXPECT_EQ(Grid->Cells(2, 3), "three\r\nfour");
}

TEST_F(GridClipboard, AGridThatCannotBeEditedTakesNothing)
{
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    Grid->SetCells(1, 1, "was");
    EXPECT_EQ(Grid->PasteText(1, 1, "new\tmore\r\nrows\r\n"), 0);
    EXPECT_EQ(Grid->Cells(1, 1), "was");
    EXPECT_EQ(Grid->PasteText(-1, 0, "x"), 0);

    Grid->Navigation()->AllowClipboardAlways = true;
    EXPECT_EQ(Grid->PasteText(1, 1, "new\r\n"), 2);
    EXPECT_EQ(Grid->Cells(1, 1), "new");
}

TEST_F(GridClipboard, PasteNotifyGetsTheOriginTheAreaAndWhetherItWasACopy)
{
    auto* G = new TNotifyingGrid(Form);
    G->SetParent(Form);
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    G->SetCells(1, 2, "a");
    G->SetSelection(TGridRect{1, 2, 2, 3});
    G->CopyToClipboard();
    G->SetSelection(TGridRect{2, 1, 2, 1});
    G->PasteFromClipboard();
    G->CutToClipboard();
    G->PasteText(0, 0, "x\r\n");
    ASSERT_EQ(G->Areas.size(), 2u);
    EXPECT_EQ(G->Origins[0].X, 1);
    EXPECT_EQ(G->Origins[0].Y, 2);
    EXPECT_EQ(G->Areas[0], (TGridRect{2, 1, 3, 2}));
    EXPECT_TRUE(G->Flags[0]);
    EXPECT_EQ(G->Areas[1], (TGridRect{0, 0, 0, 0}));
    EXPECT_FALSE(G->Flags[1]);
}

TEST_F(GridClipboard, TextBlockSizeCountsColumnsAndRows)
{
    struct TCase {
        std::string Text;
        int Cols, Rows;
    };
    const std::vector<TCase> Cases = {
        {"", 1, 1},
        {"a", 1, 1},
        {"a\r\n", 1, 1},
        {"a\tb\r\nc", 2, 2},
        {"a\r\nb\tc\td\r\n", 3, 2},
        {"\r\n\r\n", 1, 2},
        {"a\nb\tc", 2, 1},
        {"a\rb\r\n", 1, 2},
    };
    for (const TCase& C : Cases) {
        const TPoint Size = TAdvStringGrid::TextBlockSize(C.Text);
        EXPECT_EQ(Size.X, C.Cols) << C.Text;
        EXPECT_EQ(Size.Y, C.Rows) << C.Text;
    }
}

TEST_F(GridClipboard, SelectionTextKeepsHtmlAndWidensToEntireRows)
{
    Grid->SetCells(1, 1, "<b>x</b>");
    Grid->SetCells(2, 1, "y");
    Grid->Navigation()->CopyHTMLTagsToClipboard = false;
    Select(1, 1, 2, 1);
    EXPECT_EQ(Grid->SelectionText(), "<b>x</b>\ty\r\n");
    Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
    Grid->SetOleEntireRows(true);
    Select(1, 1, 2, 1);
    EXPECT_EQ(Grid->SelectionText(), "\t<b>x</b>\ty\t\t\r\n");
}

TEST_F(GridClipboard, RichTextGoesBesideTheTextAndIsPastedWholeIntoOneCell)
{
    const std::string Rich = "{\\rtf1 bold\\par more}";
    Grid->Navigation()->AllowRTFClipboard = true;
    Grid->SetCells(1, 1, Rich);
    Grid->SetCells(2, 1, "plain");
    Select(1, 1, 2, 1);
    Grid->CopyToClipboard();
    const UINT Format = RegisterClipboardFormat("Rich Text Format");
    EXPECT_TRUE(Clipboard()->HasFormat(Format));
    EXPECT_EQ(Clipboard()->AsText(), Rich + "\tplain\r\n");

    Select(3, 3, 3, 3);
    EXPECT_EQ(Grid->PasteAt(3, 3), 0);
    EXPECT_EQ(Grid->Cells(3, 3), Rich);
    EXPECT_EQ(Grid->Cells(4, 3), "");

    Grid->Navigation()->AllowRTFClipboard = false;
    EXPECT_EQ(Grid->PasteAt(3, 4), 3);
    EXPECT_EQ(Grid->Cells(4, 4), "plain");
}

TEST_F(GridClipboard, ACellThatIsNoRichTextPutsNoRichText)
{
    Grid->Navigation()->AllowRTFClipboard = true;
    Grid->SetCells(1, 1, "plain");
    Select(1, 1, 1, 1);
    Grid->CopyToClipboard();
    EXPECT_FALSE(Clipboard()->HasFormat(RegisterClipboardFormat("Rich Text Format")));
}

TEST_F(GridClipboard, SmartPasteFillsASelectionOrContinuesASeries)
{
    struct TCase {
        const char* Name;
        std::string Copied;
        TGridRect Sel;
        std::vector<std::string> Expected; // the selection's cells, column by column
    };
    const std::vector<TCase> Cases = {
        {"one cell fills five", "x\r\n", {1, 0, 1, 4}, {"x", "x", "x", "x", "x"}},
        {"integers down", "1\r\n3\r\n", {1, 0, 1, 4}, {"1", "3", "5", "7", "9"}},
        {"integers across", "10\t7\r\n", {0, 1, 4, 1}, {"10", "7", "4", "1", "-2"}},
        {"decimals", "0.5\r\n1\r\n", {1, 0, 1, 3}, {"0.50", "1.00", "1.50", "2.00"}},
        {"days",
         "12/30/2026\r\n12/31/2026\r\n",
         {1, 0, 1, 3},
         {"12/30/2026", "12/31/2026", "1/1/2027", "1/2/2027"}},
        {"months across the year end",
         "11/15/2026\r\n12/15/2026\r\n",
         {1, 0, 1, 4},
         {"11/15/2026", "12/15/2026", "1/15/2027", "2/15/2027", "3/15/2027"}},
        {"times",
         "10:00:00 AM\r\n10:30:00 AM\r\n",
         {1, 0, 1, 2},
         {"10:00:00 AM", "10:30:00 AM", "11:00:00 AM"}},
        {"words are left", "a\r\nb\r\n", {1, 0, 1, 3}, {"a", "b", "", ""}},
    };
    Grid->Navigation()->AllowSmartClipboard = true;
    for (const TCase& C : Cases) {
        for (int R = 0; R < 5; ++R)
            for (int K = 0; K < 5; ++K)
                Grid->SetCells(K, R, "");
        Clipboard()->SetAsText(C.Copied);
        Grid->SetSelection(C.Sel);
        Grid->PasteFromClipboard();
        std::vector<std::string> Got;
        for (int K = C.Sel.Left; K <= C.Sel.Right; ++K)
            for (int R = C.Sel.Top; R <= C.Sel.Bottom; ++R)
                Got.push_back(Grid->Cells(K, R));
        EXPECT_EQ(Got, C.Expected) << C.Name;
    }
}

TEST_F(GridClipboard, SmartPasteSkipsCellsThatCannotBeEditedButCountsThem)
{
    Grid->Navigation()->AllowSmartClipboard = true;
    Grid->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 3; };
    Clipboard()->SetAsText("1\r\n2\r\n");
    Select(1, 0, 1, 4);
    Grid->PasteFromClipboard();
    EXPECT_EQ(Column(1, 0, 4), (std::vector<std::string>{"1", "2", "3", "", "5"}));
}

TEST_F(GridClipboard, ASeriesThatDoesNotConvertRaisesAfterThePaste)
{
    Grid->Navigation()->AllowSmartClipboard = true;
    Clipboard()->SetAsText("1.5\r\nx\r\n");
    Select(1, 0, 1, 3);
    EXPECT_THROW(Grid->PasteFromClipboard(), EConvertError);
    EXPECT_EQ(Column(1, 0, 1), (std::vector<std::string>{"1.5", "x"}));

    // Two months a step: the fourth cell's next value would be 31 September.
    Clipboard()->SetAsText("1/31/2026\r\n3/31/2026\r\n");
    EXPECT_THROW(Grid->PasteFromClipboard(), EConvertError);
    EXPECT_EQ(Column(1, 0, 3),
              (std::vector<std::string>{"1/31/2026", "3/31/2026", "5/31/2026", "7/31/2026"}));
}

} // namespace
