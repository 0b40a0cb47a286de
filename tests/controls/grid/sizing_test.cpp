// Zoom, the wheel, cell hints, panning, fitting columns and rows to their contents, and the
// grid's reaction to its own and its form's resizing.
#include "tests/controls/grid/advgridfixture.h"

#include "platform/forms/hintwindow.h"
#include "platform/gfx/imagelist.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"

#include <cstdint>
#include <memory>

namespace {

constexpr unsigned PanTimer = 999;

class SizingTest : public AdvGridTest {
protected:
    void SetUp() override
    {
        AdvGridTest::SetUp();
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetRowCount(20);
        (void)Grid->Handle();
    }
    std::vector<int> Widths() const
    {
        std::vector<int> W;
        for (int C = 0; C < Grid->ColCount(); ++C)
            W.push_back(Grid->ColWidths(C));
        return W;
    }
    void Wheel(int Delta, bool Ctrl)
    {
        Grid->Perform(
            WM_MOUSEWHEEL,
            MakeWParam(Ctrl ? unsigned{MK_CONTROL} : 0u, static_cast<std::uint16_t>(Delta)),
            MakeLParam(10, 10));
    }
    // The line height of the grid's font on its canvas.
    int LineHeight()
    {
        Grid->Canvas()->SetFont(Grid->Font());
        return Grid->Canvas()->TextHeight("gh");
    }
    THintInfo AskHint(int X, int Y)
    {
        THintInfo Info;
        Info.HintControl = Grid;
        Info.HintStr = "grid";
        Info.CursorPos = TPoint{X, Y};
        Grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info));
        return Info;
    }
};

TEST_F(SizingTest, ZoomStaysWithinTenEitherWay)
{
    const std::vector<int> Start = Widths();
    const int StartHeight = Grid->RowHeights(3);
    struct TCase {
        int Delta;
        int Zoom;  // afterwards
        int Grown; // every column and row, against the start
    };
    const std::vector<TCase> Cases = {
        {11, 0, 0}, {3, 3, 3}, {3, 6, 6}, {3, 9, 9}, {3, 9, 9}, {-20, 9, 9}, {-9, 0, 0},
    };
    for (const TCase& Case : Cases) {
        Grid->Zoom(Case.Delta);
        EXPECT_EQ(Grid->ZoomFactor(), Case.Zoom) << Case.Delta;
        for (int C = 0; C < Grid->ColCount(); ++C)
            EXPECT_EQ(Grid->ColWidths(C), Start[C] + Case.Grown) << "column " << C;
        EXPECT_EQ(Grid->RowHeights(3), StartHeight + Case.Grown);
    }
}

TEST_F(SizingTest, ZoomNeverShrinksASizeToNothing)
{
    Grid->SetColWidths(2, 3);
    Grid->Zoom(-5);
    EXPECT_EQ(Grid->ColWidths(2), 3);
    EXPECT_EQ(Grid->ColWidths(1), 59);
}

TEST_F(SizingTest, WheelMovesTheRowOrZooms)
{
    struct TCase {
        const char* Name;
        bool Ctrl, IntelliZoom, EnableWheel;
        int Footers, StartRow, Delta;
        int Row, Zoom;
    };
    const std::vector<TCase> Cases = {
        {"towards the user: down", false, true, true, 0, 5, -120, 8, 0},
        {"away: up", false, true, true, 0, 5, 120, 2, 0},
        {"stops at the fixed rows", false, true, true, 0, 2, 120, 1, 0},
        {"stops above the footers", false, true, true, 1, 17, -120, 18, 0},
        {"ctrl zooms in towards the user", true, true, true, 0, 5, -120, 5, 3},
        {"ctrl zooms out away", true, true, true, 0, 5, 120, 5, -3},
        {"ctrl without IntelliZoom scrolls", true, false, true, 0, 5, -120, 8, 0},
        {"wheel off", false, true, false, 0, 5, -120, 5, 0},
    };
    for (const TCase& Case : Cases) {
        Grid->SetFixedFooters(Case.Footers);
        Grid->SetIntelliZoom(Case.IntelliZoom);
        Grid->SetEnableWheel(Case.EnableWheel);
        Grid->SetRow(Case.StartRow);
        const int OldZoom = Grid->ZoomFactor();
        Wheel(Case.Delta, Case.Ctrl);
        EXPECT_EQ(Grid->Row(), Case.Row) << Case.Name;
        EXPECT_EQ(Grid->ZoomFactor() - OldZoom, Case.Zoom) << Case.Name;
    }
}

TEST_F(SizingTest, HintShowsTheCellTextOrTheGridsHint)
{
    Grid->SetCells(1, 1, "short");
    Grid->SetCells(2, 1, "a text far wider than the sixty-four pixels of its column");
    Grid->SetCells(0, 1, "a fixed text far wider than its column");
    struct TCase {
        const char* Name;
        bool ShowCells, LargeText;
        int Col, Row;
        std::string Hint;
        bool AtTop; // else 6 pixels below the cell
    };
    const std::vector<TCase> Cases = {
        {"plain hint", false, false, 1, 1, "grid", false},
        {"cells", true, false, 1, 1, "short", true},
        {"large text that fits", false, true, 1, 1, "grid", false},
        {"large text that does not fit", false, true, 2, 1, Grid->Cells(2, 1), true},
        {"fixed cells keep the hint", true, true, 0, 1, "grid", false},
    };
    for (const TCase& Case : Cases) {
        Grid->SetHintShowCells(Case.ShowCells);
        Grid->SetHintShowLargeText(Case.LargeText);
        const TRect Cell = Grid->CellRect(Case.Col, Case.Row);
        const THintInfo Info = AskHint(Cell.Left + 3, Cell.Top + 3);
        EXPECT_EQ(Info.HintStr, Case.Hint) << Case.Name;
        const TPoint Expected{Cell.Left, Case.AtTop ? Cell.Top : Cell.Bottom + 6};
        EXPECT_EQ(Info.HintPos, Grid->ClientToScreen(Expected)) << Case.Name;
        EXPECT_EQ(Info.HintColor, Grid->HintColor()) << Case.Name;
        EXPECT_EQ(Info.CursorRect, Cell) << Case.Name;
    }
}

TEST_F(SizingTest, OnGridHintHasTheLastWord)
{
    Grid->SetHintShowCells(true);
    Grid->SetCells(2, 3, "text");
    Grid->OnGridHint = [](TObject*, int ARow, int ACol, std::string& Hint) {
        Hint += " at " + std::to_string(ACol) + "," + std::to_string(ARow);
    };
    const TRect Cell = Grid->CellRect(2, 3);
    EXPECT_EQ(AskHint(Cell.Left + 1, Cell.Top + 1).HintStr, "text at 2,3");
}

TEST_F(SizingTest, PanningStepsOnlyInItsDirections)
{
    struct TCase {
        TIntelliPan Pan;
        int DCol, DRow; // after three ticks with the mouse down and right
    };
    const std::vector<TCase> Cases = {
        {ipHorizontal, 3, 0},
        {ipVertical, 0, 3},
        {ipBoth, 3, 3},
    };
    Grid->SetColCount(12);
    for (const TCase& Case : Cases) {
        Grid->SetIntelliPan(Case.Pan);
        Grid->SetCol(2);
        Grid->SetRow(2);
        const TPoint Origin{100, 60};
        const TPoint Mouse = Form->ScreenToClient(Grid->ClientToScreen(TPoint{140, 100}));
        Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(Origin.X, Origin.Y));
        ASSERT_TRUE(Grid->Panning());
        EXPECT_EQ(Grid->Cursor(), 8000);
        InjectMouseMove(Form->Handle(), Mouse.X, Mouse.Y);
        for (int I = 0; I < 3; ++I)
            Grid->Perform(WM_TIMER, PanTimer, 0);
        EXPECT_EQ(Grid->Col(), 2 + Case.DCol) << Case.Pan;
        EXPECT_EQ(Grid->Row(), 2 + Case.DRow) << Case.Pan;
        const int Expected = Case.DCol == 0 ? 8001 : Case.DRow == 0 ? 8003 : 8007;
        EXPECT_EQ(Grid->Cursor(), Expected) << Case.Pan;
        EXPECT_NE(Screen->Cursors(Expected), nullptr);
        Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(Origin.X, Origin.Y));
        EXPECT_FALSE(Grid->Panning());
        EXPECT_EQ(Grid->Cursor(), crDefault);
    }
}

TEST_F(SizingTest, PanningEndsOnAClickOrAKeyAndNotWithoutIt)
{
    Form->Show();
    Grid->SetShowHint(true);
    const std::vector<UINT> Enders = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN};
    for (UINT Msg : Enders) {
        Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(50, 50));
        ASSERT_TRUE(Grid->Panning());
        EXPECT_FALSE(Grid->ShowHint());
        Grid->Perform(WM_MOUSEMOVE, 0, MakeLParam(60, 60));
        EXPECT_TRUE(Grid->Panning());
        Grid->Perform(Msg, Msg == WM_KEYDOWN ? 'A' : 0, MakeLParam(50, 50));
        EXPECT_FALSE(Grid->Panning()) << Msg;
        EXPECT_TRUE(Grid->ShowHint()) << Msg;
    }
    Grid->SetIntelliPan(ipNone);
    Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(50, 50));
    EXPECT_FALSE(Grid->Panning());
}

TEST_F(SizingTest, AutoSizeRowGrowsOnlyPastTheDefaultHeight)
{
    // A 30 pixel picture in a cell without text needs 30 pixels.
    auto Images = std::make_unique<TImageList>(16, 30);
    Grid->SetGridImages(Images.get());
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(1, 2, 0, ihpLeft, ivpTop);
    const int Lines = 2 * LineHeight();
    Grid->SetCells(1, 4, "one\rtwo");
    struct TCase {
        int Row, Default, Height;
    };
    const std::vector<TCase> Cases = {
        {2, 24, 34},
        {2, 33, 33},
        {2, 32, 32},
        {2, 31, 34},
        {4, Lines - 6, Lines + 4},
        {4, Lines + 3, Lines + 3},
    };
    for (const TCase& Case : Cases) {
        Grid->SetDefaultRowHeight(Case.Default);
        Grid->AutoSizeRow(Case.Row);
        EXPECT_EQ(Grid->RowHeights(Case.Row), Case.Height)
            << "row " << Case.Row << " default " << Case.Default;
    }
}

TEST_F(SizingTest, AutoSizeColFitsTheWidestCell)
{
    Grid->SetCells(1, 1, "a rather long text");
    Grid->SetCells(1, 2, "short");
    Grid->Canvas()->SetFont(Grid->Font());
    const int Fit = Grid->Canvas()->TextWidth("a rather long text") + 4;
    Grid->SetColWidths(1, 300);
    Grid->AutoSizeColGrow(1);
    EXPECT_EQ(Grid->ColWidths(1), 300);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->ColWidths(1), Fit);
    Grid->SetColWidths(1, 10);
    Grid->AutoSizeColGrow(1);
    EXPECT_EQ(Grid->ColWidths(1), Fit);

    Grid->SetCells(0, 1, "fixed");
    Grid->SetColWidths(0, 100);
    Grid->AutoSizeColumns(false, 5);
    EXPECT_EQ(Grid->ColWidths(0), 100);
    EXPECT_EQ(Grid->ColWidths(1), Fit + 5);
    EXPECT_EQ(Grid->ColWidths(2), 4 + 5);
    Grid->AutoSizeColumns(true, 0);
    EXPECT_EQ(Grid->ColWidths(0), Grid->Canvas()->TextWidth("fixed") + 4);
}

TEST_F(SizingTest, ZoomedTextNeedsAWiderColumn)
{
    Grid->SetCells(1, 1, "a rather long text");
    Grid->AutoSizeCol(1);
    const int Plain = Grid->ColWidths(1);
    Grid->Zoom(6);
    Grid->AutoSizeCol(1);
    EXPECT_GT(Grid->ColWidths(1), Plain);
}

TEST_F(SizingTest, SwitchingAutoSizeOnFitsTheColumns)
{
    Grid->SetCells(1, 1, "a rather long text for the column");
    Grid->SetAutoSize(true);
    Grid->Canvas()->SetFont(Grid->Font());
    EXPECT_EQ(Grid->ColWidths(1),
              Grid->Canvas()->TextWidth("a rather long text for the column") + 4);
}

TEST_F(SizingTest, MaxLineCountCountsTheLinesOfMultilineCells)
{
    Grid->SetCells(1, 1, "a\rb\rc");
    Grid->SetCells(2, 1, "a\r\nb");
    struct TCase {
        bool Multiline;
        int Row, Count;
    };
    const std::vector<TCase> Cases = {{false, 1, 1}, {true, 1, 3}, {true, 2, 1}};
    for (const TCase& Case : Cases) {
        Grid->SetMultilinecells(Case.Multiline);
        EXPECT_EQ(Grid->MaxLineCount(Case.Row), Case.Count) << Case.Row;
    }
}

TEST_F(SizingTest, SetRowLinesGivesEachLineAQuarterMore)
{
    const int H = LineHeight();
    struct TCase {
        int Lines, Extra;
    };
    const std::vector<TCase> Cases = {{1, 0}, {3, 4}, {2, 10}};
    for (const TCase& Case : Cases) {
        Grid->SetRowLines(3, Case.Lines, Case.Extra);
        EXPECT_EQ(Grid->RowHeights(3), Case.Extra + Case.Lines * (H + H / 4)) << Case.Lines;
    }
}

TEST_F(SizingTest, SynchWithGridKeepsTheColumnsInProportion)
{
    Grid->ColumnSize()->SetSynchWithGrid(true);
    const std::vector<int> Start = {64, 30, 101, 64, 64};
    for (int C = 0; C < 5; ++C)
        Grid->SetColWidths(C, Start[C]);
    const int Client = Grid->ClientWidth();
    Grid->SetBounds(0, 0, Grid->Width() + Client, 300);
    ASSERT_EQ(Grid->ClientWidth(), 2 * Client);
    for (int C = 0; C < 5; ++C)
        EXPECT_EQ(Grid->ColWidths(C), 2 * Start[C]) << C;
    // Nothing to scale against: the widths stay.
    Grid->SetBounds(0, 0, 0, 0);
    Grid->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(Grid->ColWidths(1), 30);
}

TEST_F(SizingTest, SizeWithFormFollowsTheFormsChangeAndChainsItsHandler)
{
    int Calls = 0;
    auto Owner = new TForm(nullptr);
    Owner->SetBounds(0, 0, 500, 400);
    Owner->OnResize = [&Calls](TObject*) { ++Calls; };
    auto G = new TAdvStringGrid(Owner);
    G->SetParent(Owner);
    G->SetBounds(10, 10, 200, 100);
    G->SetSizeWithForm(true);
    Owner->SetBounds(0, 0, 600, 450);
    EXPECT_EQ(G->Width(), 300);
    EXPECT_EQ(G->Height(), 150);
    EXPECT_EQ(Calls, 1);
    // A change that would leave nothing of the grid leaves it as it is.
    Owner->SetBounds(0, 0, 200, 450);
    EXPECT_EQ(G->Width(), 300);
    G->SetSizeWithForm(false);
    Owner->SetBounds(0, 0, 500, 400);
    EXPECT_EQ(G->Width(), 300);
    delete Owner;
}

TEST_F(SizingTest, CellsWithoutAColouredGraphicGiveNone)
{
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(1, 1, 0, ihpLeft, ivpTop);
    EXPECT_EQ(Grid->CellGraphicColor(1, 1), clNone);
    EXPECT_EQ(Grid->CellGraphicColor(2, 2), clNone);
}

} // namespace
