// The grid's contract: sizes and counts, the current cell and the selection with its anchor,
// cell geometry, keys, the pointer (selection, auto-scroll, sizing and moving), the scroll bar
// scale, painting only what is invalid, and bad input.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/grids.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/scrollbars.h"

#include <climits>

namespace {

struct TDrawnCell {
    int Col;
    int Row;
    TGridDrawState State;
};

// A grid that records the hooks it is called at.
class TProbeGrid : public TCustomGrid {
public:
    explicit TProbeGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    using TCustomGrid::DeleteColumn;
    using TCustomGrid::DeleteRow;
    using TCustomGrid::InvalidateCell;
    using TCustomGrid::InvalidateCol;
    using TCustomGrid::InvalidateRow;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;

    std::vector<TDrawnCell> Drawn;
    std::vector<std::string> Calls;
    int ColWidthsChanges = 0;
    int RowHeightsChanges = 0;
    TGridCoord Refused{-1, -1};

protected:
    void DrawCell(int ACol, int ARow, TRect, TGridDrawState AState) override
    {
        Drawn.push_back(TDrawnCell{ACol, ARow, AState});
    }
    bool SelectCell(int ACol, int ARow) override
    {
        return !(ACol == Refused.X && ARow == Refused.Y);
    }
    void SizeChanged(int OldColCount, int OldRowCount) override
    {
        Calls.push_back("SizeChanged " + std::to_string(OldColCount) + " " +
                        std::to_string(OldRowCount));
    }
    void ColWidthsChanged() override
    {
        ++ColWidthsChanges;
        TCustomGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override
    {
        ++RowHeightsChanges;
        TCustomGrid::RowHeightsChanged();
    }
    void TopLeftChanged() override
    {
        Calls.push_back("TopLeftChanged " + std::to_string(LeftCol()) + " " +
                        std::to_string(TopRow()));
    }
    void ColumnMoved(int FromIndex, int ToIndex) override
    {
        Calls.push_back("ColumnMoved " + std::to_string(FromIndex) + " " + std::to_string(ToIndex));
    }
    void RowMoved(int FromIndex, int ToIndex) override
    {
        Calls.push_back("RowMoved " + std::to_string(FromIndex) + " " + std::to_string(ToIndex));
    }
};

class GridTest : public ListTest {
protected:
    // A 5 x 5 grid with one fixed row and column; cells 64 x 24 and 1-pixel lines, so column
    // C starts at 65 * C and row R at 25 * R. 330 x 130 leaves a client area of 326 x 126
    // before scroll bars.
    TProbeGrid* NewGrid(int Cols = 5, int Rows = 5)
    {
        TProbeGrid* G = Place<TProbeGrid>(0, 0, 330, 130);
        G->SetScrollBars(ssNone);
        G->SetColCount(Cols);
        G->SetRowCount(Rows);
        Pump();
        return G;
    }
    static void Press(TWinControl* C, int X, int Y, bool Down)
    {
        InjectMouseMove(C->Handle(), X, Y);
        InjectMouseButton(C->Handle(), 0, Down, X, Y);
        Pump();
    }
    // Ms milliseconds of virtual time in steps of 10, handling what comes due.
    void Spend(int Ms)
    {
        for (int T = 0; T < Ms; T += 10) {
            Time.Advance(10);
            Pump();
        }
    }
    static void MoveTo(TWinControl* C, int X, int Y)
    {
        InjectMouseMove(C->Handle(), X, Y);
        Pump();
    }
};

TEST_F(GridTest, SizesBeyondTheCountsReadTheDefault)
{
    TProbeGrid* G = NewGrid(3, 3);
    G->SetColWidths(1, 30);
    G->SetRowHeights(2, 40);
    struct TCase {
        const char* Name;
        int Index;
        int Width;
        int Height;
    };
    const std::vector<TCase> Cases = {
        {"a set size", 1, 30, 24},
        {"a set height", 2, 64, 40},
        {"just past the counts", 3, 64, 24},
        {"far past the counts", 100000, 64, 24},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(G->ColWidths(C.Index), C.Width) << C.Name;
        EXPECT_EQ(G->RowHeights(C.Index), C.Height) << C.Name;
    }
    // Shrinking drops the sizes of the columns let go; growing again gives them the default.
    G->SetColCount(2);
    G->SetColCount(3);
    EXPECT_EQ(G->ColWidths(1), 30);
    G->SetColCount(1);
    G->SetColCount(3);
    EXPECT_EQ(G->ColWidths(1), 64);
}

TEST_F(GridTest, EverySizeOfALongGridCanBeSet)
{
    // Each size set checks the grid's extent without walking all the others.
    TProbeGrid* G = NewGrid(5, 200000);
    for (int R = 0; R < G->RowCount(); ++R)
        G->SetRowHeights(R, 10 + R % 7);
    EXPECT_EQ(G->RowHeights(199999), 10 + 199999 % 7);
    EXPECT_THROW(G->SetRowHeights(5, INT_MAX - 1000000), EInvalidGridOperation);
    EXPECT_EQ(G->RowHeights(5), 10 + 5 % 7);
    G->SetRowCount(10);
    G->SetRowCount(200000);
    EXPECT_EQ(G->RowHeights(9), 10 + 9 % 7);
    EXPECT_EQ(G->RowHeights(10), 24);
    EXPECT_THROW(G->SetRowHeights(5, INT_MAX - 1000000), EInvalidGridOperation);
}

TEST_F(GridTest, SizeChangesCallTheirHooksOnce)
{
    TProbeGrid* G = NewGrid();
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        int Cols;
        int Rows;
    };
    const std::vector<TCase> Cases = {
        {"a column width", [G] { G->SetColWidths(2, 30); }, 1, 0},
        {"the same width again", [G] { G->SetColWidths(2, 30); }, 0, 0},
        {"a row height", [G] { G->SetRowHeights(3, 30); }, 0, 1},
        {"the default width", [G] { G->SetDefaultColWidth(50); }, 1, 0},
        {"the default height", [G] { G->SetDefaultRowHeight(20); }, 0, 1},
        {"a column moved", [G] { G->MoveColumn(1, 2); }, 1, 0},
        {"a row moved", [G] { G->MoveRow(1, 2); }, 0, 1},
        {"a refused width", [G] { EXPECT_ANY_THROW(G->SetColWidths(1, INT_MAX)); }, 0, 0},
    };
    for (const TCase& C : Cases) {
        G->ColWidthsChanges = G->RowHeightsChanges = 0;
        C.Act();
        EXPECT_EQ(G->ColWidthsChanges, C.Cols) << C.Name;
        EXPECT_EQ(G->RowHeightsChanges, C.Rows) << C.Name;
    }
}

TEST_F(GridTest, FixedCountsAreLoweredWithTheCounts)
{
    struct TCase {
        int Fixed;
        int NewCount;
        int Count;
        int FixedAfter;
    };
    const std::vector<TCase> Cases = {
        {1, 3, 3, 1}, {3, 3, 3, 2}, {2, 2, 2, 1}, {1, 1, 1, 0}, {2, 0, 1, 0},
    };
    for (const TCase& C : Cases) {
        TProbeGrid* G = NewGrid(5, 5);
        G->SetFixedCols(C.Fixed);
        G->SetFixedRows(C.Fixed);
        G->SetColCount(C.NewCount);
        G->SetRowCount(C.NewCount);
        EXPECT_EQ(G->ColCount(), C.Count) << C.Fixed << " fixed, count " << C.NewCount;
        EXPECT_EQ(G->FixedCols(), C.FixedAfter) << C.Fixed << " fixed, count " << C.NewCount;
        EXPECT_EQ(G->FixedRows(), C.FixedAfter) << C.Fixed << " fixed, count " << C.NewCount;
        EXPECT_LT(G->Col(), G->ColCount());
        EXPECT_LT(G->Row(), G->RowCount());
        delete G;
    }
}

TEST_F(GridTest, CellRectAndMouseToCellAgree)
{
    TProbeGrid* G = NewGrid(8, 8);
    G->SetColWidths(2, 20);
    struct TCase {
        int Col;
        int Row;
        TRect Rect;
    };
    const std::vector<TCase> Cases = {
        {0, 0, TRect{0, 0, 64, 24}},
        {1, 0, TRect{65, 0, 129, 24}},
        {2, 1, TRect{130, 25, 150, 49}},
        {3, 2, TRect{151, 50, 215, 74}},
        {4, 4, TRect{216, 100, 280, 124}},
        // Partly in view: clipped to the client area.
        {5, 1, TRect{281, 25, 326, 49}},
    };
    for (const TCase& C : Cases) {
        const TRect R = G->CellRect(C.Col, C.Row);
        EXPECT_EQ(R, C.Rect) << C.Col << "," << C.Row;
        int Col = -1;
        int Row = -1;
        G->MouseToCell(R.Left, R.Top, Col, Row);
        EXPECT_EQ(Col, C.Col);
        EXPECT_EQ(Row, C.Row);
        // The line after a cell belongs to it.
        const TGridCoord Line = G->MouseCoord(R.Right, R.Bottom);
        if (R.Right < G->ClientWidth() && R.Bottom < G->ClientHeight()) {
            EXPECT_EQ(Line, (TGridCoord{C.Col, C.Row}));
        }
    }
    EXPECT_TRUE(IsRectEmpty(G->CellRect(7, 7))) << "out of view";
    EXPECT_EQ(G->MouseCoord(-1, 10), (TGridCoord{-1, -1}));
    // Scrolled: the first scrollable column follows the fixed one.
    G->SetLeftCol(3);
    EXPECT_EQ(G->CellRect(3, 1), (TRect{65, 25, 129, 49}));
    EXPECT_TRUE(IsRectEmpty(G->CellRect(2, 1)));
    EXPECT_EQ(G->MouseCoord(70, 30), (TGridCoord{3, 1}));
}

TEST_F(GridTest, VisibleCountsCountWholeCells)
{
    TProbeGrid* G = NewGrid(10, 10);
    // 326 - 65 = 261 pixels: four whole columns of 65; 126 - 25 = 101: four whole rows of 25.
    EXPECT_EQ(G->VisibleColCount(), 4);
    EXPECT_EQ(G->VisibleRowCount(), 4);
    TGridDrawInfo D;
    G->CalcDrawInfo(D);
    EXPECT_EQ(D.Horz.FixedBoundary, 65);
    EXPECT_EQ(D.Horz.LastFullVisibleCell, 4);
    EXPECT_EQ(D.Horz.GridBoundary, G->ClientWidth());
}

TEST_F(GridTest, SelectionSpansFromTheAnchorToTheCurrentCell)
{
    TProbeGrid* G = NewGrid(8, 8);
    G->SetFocus();
    Pump();
    Click(G, 70, 30); // cell 1,1
    Key(VK_DOWN, {VK_SHIFT});
    Key(VK_RIGHT, {VK_SHIFT});
    Key(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 3, 2}));
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 2);
    // Back past the anchor: the anchor stays.
    for (int I = 0; I < 3; ++I)
        Key(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 1, 2}));
    // A plain move collapses the range onto the new cell.
    Key(VK_DOWN);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 3, 1, 3}));
    // Shift and a click extend from the anchor.
    Click(G, 200, 110, {VK_SHIFT}); // cell 3,4
    EXPECT_EQ(G->Selection(), (TGridRect{1, 3, 3, 4}));
    // Without goRangeSelect, Shift only moves.
    G->SetOptions(G->Options() - TGridOptions{goRangeSelect});
    Key(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(G->Selection(), (TGridRect{4, 4, 4, 4}));
    // Setting the selection puts the anchor at its top left.
    G->SetOptions(G->Options() + TGridOptions{goRangeSelect});
    G->SetSelection(TGridRect{2, 2, 4, 3});
    EXPECT_EQ(G->Col(), 4);
    EXPECT_EQ(G->Row(), 3);
    Key(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(G->Selection(), (TGridRect{2, 2, 4, 4}));
}

TEST_F(GridTest, KeysMoveTheCurrentCell)
{
    TProbeGrid* G = NewGrid(10, 30);
    G->SetOptions(G->Options() + TGridOptions{goTabs});
    G->SetFocus();
    Pump();
    struct TCase {
        const char* Name;
        int Key;
        std::vector<int> Held;
        TGridCoord From;
        TGridCoord To;
    };
    const std::vector<TCase> Cases = {
        {"Down", VK_DOWN, {}, {2, 2}, {2, 3}},
        {"Up stops below the fixed row", VK_UP, {}, {2, 1}, {2, 1}},
        {"Left stops right of the fixed column", VK_LEFT, {}, {1, 3}, {1, 3}},
        {"Right stops at the last column", VK_RIGHT, {}, {9, 3}, {9, 3}},
        {"Page Down moves a page of rows", VK_NEXT, {}, {2, 2}, {2, 6}},
        {"Page Up stops at the first row", VK_PRIOR, {}, {2, 3}, {2, 1}},
        {"Home goes to the first column", VK_HOME, {}, {5, 4}, {1, 4}},
        {"End goes to the last column", VK_END, {}, {5, 4}, {9, 4}},
        {"Ctrl+Home goes to the first cell", VK_HOME, {VK_CONTROL}, {5, 4}, {1, 1}},
        {"Ctrl+End goes to the last cell", VK_END, {VK_CONTROL}, {5, 4}, {9, 29}},
        {"Ctrl+Left goes to the first column in view", VK_LEFT, {VK_CONTROL}, {3, 3}, {1, 3}},
        {"Ctrl+Right goes to the last column in view", VK_RIGHT, {VK_CONTROL}, {2, 3}, {4, 3}},
        {"Ctrl+Page Down goes to the last row in view", VK_NEXT, {VK_CONTROL}, {2, 2}, {2, 4}},
        {"Ctrl+Page Up goes to the first row in view", VK_PRIOR, {VK_CONTROL}, {2, 4}, {2, 1}},
        {"Ctrl+Up at the top leaves the cell", VK_UP, {VK_CONTROL}, {2, 3}, {2, 3}},
        {"Tab goes right", VK_TAB, {}, {3, 3}, {4, 3}},
        {"Tab wraps to the next row", VK_TAB, {}, {9, 3}, {1, 4}},
        {"Shift+Tab wraps to the row before", VK_TAB, {VK_SHIFT}, {1, 4}, {9, 3}},
    };
    for (const TCase& C : Cases) {
        G->SetCol(C.From.X);
        G->SetRow(C.From.Y);
        G->SetLeftCol(1);
        G->SetTopRow(1);
        Key(C.Key, C.Held);
        EXPECT_EQ(G->Col(), C.To.X) << C.Name;
        EXPECT_EQ(G->Row(), C.To.Y) << C.Name;
        // The current cell is in view.
        EXPECT_FALSE(IsRectEmpty(G->CellRect(G->Col(), G->Row()))) << C.Name;
    }
    // Columns that are no tab stops are passed over.
    G->SetTabStops(2, false);
    G->SetTabStops(3, false);
    G->SetCol(1);
    Key(VK_TAB);
    EXPECT_EQ(G->Col(), 4);
    Key(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(G->Col(), 1);
    EXPECT_TRUE(G->TabStops(50));
    // Without goTabs, Tab leaves the grid's cells alone.
    G->SetOptions(G->Options() - TGridOptions{goTabs});
    G->SetCol(3);
    Key(VK_TAB);
    EXPECT_EQ(G->Col(), 3);
}

TEST_F(GridTest, TheWheelMovesTheCurrentRow)
{
    TProbeGrid* G = NewGrid(5, 30);
    G->SetFocus();
    Pump();
    for (int I = 0; I < 6; ++I)
        InjectMouseWheel(G->Handle(), -120, 100, 50);
    Pump();
    EXPECT_EQ(G->Row(), 7);
    EXPECT_GT(G->TopRow(), 1) << "the row is scrolled into view";
    for (int I = 0; I < 10; ++I)
        InjectMouseWheel(G->Handle(), 120, 100, 50);
    Pump();
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(GridTest, CtrlUpAndDownScrollKeepingTheCellInView)
{
    TProbeGrid* G = NewGrid(5, 30);
    G->SetFocus();
    Pump();
    G->SetRow(3);
    for (int I = 0; I < 4; ++I)
        Key(VK_DOWN, {VK_CONTROL});
    EXPECT_EQ(G->TopRow(), 5);
    EXPECT_EQ(G->Row(), 5) << "carried along at the top";
    Key(VK_UP, {VK_CONTROL});
    EXPECT_EQ(G->TopRow(), 4);
    EXPECT_EQ(G->Row(), 5);
}

TEST_F(GridTest, RowSelectMovesWholeRows)
{
    TProbeGrid* G = NewGrid(12, 30);
    G->SetOptions(G->Options() + TGridOptions{goRowSelect});
    G->SetFocus();
    Pump();
    Key(VK_DOWN);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 11, 2}));
    Key(VK_RIGHT);
    EXPECT_EQ(G->LeftCol(), 2) << "Right scrolls";
    EXPECT_EQ(G->Col(), 1);
    Key(VK_END);
    EXPECT_EQ(G->Row(), 29);
    Key(VK_HOME);
    EXPECT_EQ(G->Row(), 1);
    Key(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 11, 2}));
}

TEST_F(GridTest, EachMoveOfTheCurrentCellClicksOnce)
{
    TProbeGrid* G = NewGrid();
    int Clicks = 0;
    G->OnClick = [&Clicks](TObject*) { ++Clicks; };
    G->SetFocus();
    Pump();
    Key(VK_DOWN);
    EXPECT_EQ(Clicks, 1);
    Click(G, 140, 30);
    EXPECT_EQ(Clicks, 2);
    G->SetCol(3);
    EXPECT_EQ(Clicks, 3);
    Click(G, 10, 10); // a fixed cell
    EXPECT_EQ(Clicks, 3);
}

TEST_F(GridTest, SelectCellCanRefuseACell)
{
    TProbeGrid* G = NewGrid();
    G->SetFocus();
    Pump();
    G->Refused = TGridCoord{2, 1};
    Key(VK_RIGHT);
    EXPECT_EQ(G->Col(), 1);
    Click(G, 140, 30);
    EXPECT_EQ(G->Col(), 1);
    Click(G, 200, 30);
    EXPECT_EQ(G->Col(), 3);
}

TEST_F(GridTest, DraggingSelectsAndScrollsOnTimeWhenThePointerLeaves)
{
    TProbeGrid* G = NewGrid(5, 40);
    Press(G, 70, 30, true); // cell 1,1
    MoveTo(G, 140, 80);     // cell 2,3
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 2, 3}));
    // Below the cells: the grid scrolls a row at a time on its timer.
    MoveTo(G, 140, G->ClientHeight() + 20);
    const int Before = G->Row();
    Spend(300);
    EXPECT_GT(G->Row(), Before + 2);
    EXPECT_GT(G->TopRow(), 1);
    EXPECT_EQ(G->Selection().Top, 1);
    Press(G, 140, G->ClientHeight() + 20, false);
    const int AfterRelease = G->Row();
    Spend(300);
    EXPECT_EQ(G->Row(), AfterRelease) << "no scrolling once released";
}

TEST_F(GridTest, DraggingInTheFixedCellsSizesAndMoves)
{
    struct TCase {
        const char* Name;
        TGridOption Option;
        TPoint From;
        TPoint To;
        int Width1;
        int Height1;
        std::string Call;
    };
    const std::vector<TCase> Cases = {
        {"a column's divider", goColSizing, {129, 10}, {159, 10}, 94, 24, ""},
        {"a column narrowed", goColSizing, {129, 10}, {100, 12}, 35, 24, ""},
        {"a row's divider", goRowSizing, {10, 49}, {10, 60}, 64, 35, ""},
        {"a column moved", goColMoving, {90, 10}, {230, 10}, 64, 24, "ColumnMoved 1 3"},
        {"a row moved", goRowMoving, {10, 30}, {10, 80}, 64, 24, "RowMoved 1 3"},
        {"no option, no sizing", goEditing, {129, 10}, {159, 10}, 64, 24, ""},
    };
    for (const TCase& C : Cases) {
        TProbeGrid* G = NewGrid();
        G->SetOptions(G->Options() + TGridOptions{C.Option});
        G->Calls.clear();
        Press(G, C.From.X, C.From.Y, true);
        MoveTo(G, C.To.X, C.To.Y);
        Press(G, C.To.X, C.To.Y, false);
        EXPECT_EQ(G->ColWidths(1), C.Width1) << C.Name;
        EXPECT_EQ(G->RowHeights(1), C.Height1) << C.Name;
        const std::vector<std::string> Want =
            C.Call.empty() ? std::vector<std::string>{} : std::vector<std::string>{C.Call};
        EXPECT_EQ(G->Calls, Want) << C.Name;
        delete G;
    }
}

TEST_F(GridTest, ADraggedDividerShowsALineAndSizesOnRelease)
{
    TProbeGrid* G = NewGrid();
    G->SetOptions(G->Options() + TGridOptions{goColSizing});
    Pump();
    auto Pixel = [G](int X, int Y) {
        TRasterDevice Device(G->Width(), G->Height());
        CopyWindowPicture(G->Handle(), Device, 0, 0);
        const TPoint P = G->ClientOrigin();
        TRect Frame;
        GetWindowRect(G->Handle(), Frame);
        return Device.ScanLine(P.Y - Frame.Top + Y)[P.X - Frame.Left + X];
    };
    const auto Before = Pixel(170, 60);
    Press(G, 130, 10, true); // one pixel right of the divider after column 1
    MoveTo(G, 171, 12);      // the line keeps that pixel's distance: at 170
    EXPECT_NE(Pixel(170, 60), Before) << "the line shows";
    EXPECT_EQ(G->ColWidths(1), 64) << "nothing sized before the release";
    Press(G, 171, 12, false);
    EXPECT_EQ(G->ColWidths(1), 105);
    Pump();
    // The line is gone: what shows is what a full repaint draws.
    auto Picture = [G] {
        TRasterDevice Device(G->Width(), G->Height());
        CopyWindowPicture(G->Handle(), Device, 0, 0);
        std::vector<std::uint32_t> Pixels;
        for (int Y = 0; Y < Device.Height(); ++Y)
            Pixels.insert(Pixels.end(), Device.ScanLine(Y), Device.ScanLine(Y) + Device.Width());
        return Pixels;
    };
    const std::vector<std::uint32_t> Released = Picture();
    G->Invalidate();
    Pump();
    EXPECT_TRUE(Released == Picture());
    // A release leaving the column a pixel or less wide changes nothing.
    Press(G, 170, 10, true);
    MoveTo(G, 66, 10);
    Press(G, 66, 10, false);
    EXPECT_EQ(G->ColWidths(1), 105);
    // Nothing was repainted there: the line was taken away by drawing it again.
    const std::vector<std::uint32_t> Cancelled = Picture();
    G->Invalidate();
    Pump();
    EXPECT_TRUE(Cancelled == Picture());
}

TEST_F(GridTest, DividersThatCanBeDraggedShowTheSizingShape)
{
    TProbeGrid* G = NewGrid();
    G->SetOptions(G->Options() + TGridOptions{goColSizing, goRowSizing});
    auto Shown = [] { return dynamic_cast<THeadlessDriver&>(DisplayDriver()).Pointer(); };
    struct TCase {
        const char* What;
        TPoint At;
        TCursor Shape;
    };
    const std::vector<TCase> Cases = {
        {"a column divider in the fixed row", {129, 10}, crHSplit},
        {"a row divider in the fixed column", {10, 49}, crVSplit},
        {"a fixed cell's middle", {90, 10}, crDefault},
        {"a column divider among the cells", {129, 60}, crDefault},
    };
    for (const TCase& C : Cases) {
        ::SetCursor(crNo);
        MoveTo(G, C.At.X, C.At.Y);
        EXPECT_EQ(Shown(), C.Shape == crDefault ? int(crArrow) : int(C.Shape)) << C.What;
    }
    // While a divider is dragged the shape stays.
    Press(G, 129, 10, true);
    MoveTo(G, 100, 60);
    EXPECT_EQ(Shown(), int(crHSplit));
    Press(G, 100, 60, false);
    MoveTo(G, 100, 61);
    EXPECT_EQ(Shown(), int(crArrow));
}

TEST_F(GridTest, MovingAColumnPastTheEdgeScrollsAndTheBarGoes)
{
    TProbeGrid* G = NewGrid(10, 5);
    G->SetOptions(G->Options() + TGridOptions{goColMoving});
    G->SetFocus();
    Pump();
    G->Calls.clear();
    auto Picture = [G] {
        TRasterDevice Device(G->Width(), G->Height());
        CopyWindowPicture(G->Handle(), Device, 0, 0);
        std::vector<std::uint32_t> Pixels;
        for (int Y = 0; Y < Device.Height(); ++Y)
            Pixels.insert(Pixels.end(), Device.ScanLine(Y), Device.ScanLine(Y) + Device.Width());
        return Pixels;
    };
    const std::vector<std::uint32_t> Before = Picture();
    Press(G, 90, 10, true); // column 1's header
    MoveTo(G, 230, 10);     // over column 3
    EXPECT_TRUE(Before != Picture()) << "the landing bar shows";
    MoveTo(G, 100, 12); // back over column 1
    Press(G, 100, 12, false);
    EXPECT_TRUE(G->Calls.empty()) << "let go where it started: nothing moves";
    EXPECT_TRUE(Before == Picture()) << "the bar is gone";

    // Past the right edge each move scrolls a column once the last whole one is reached.
    Spend(1000); // no double click
    Press(G, 90, 10, true);
    for (int I = 0; I < 4; ++I)
        MoveTo(G, G->ClientWidth() - 1 - I % 2, 10);
    Press(G, G->ClientWidth() - 1, 10, false);
    EXPECT_GT(G->LeftCol(), 1);
    // It lands on the last whole column in view.
    ASSERT_FALSE(G->Calls.empty());
    EXPECT_EQ(G->Calls[0], "TopLeftChanged 2 1");
    EXPECT_EQ(G->Calls.back(),
              "ColumnMoved 1 " + std::to_string(G->LeftCol() + G->VisibleColCount() - 1));
    const std::vector<std::uint32_t> Moved = Picture();
    G->Invalidate();
    Pump();
    EXPECT_TRUE(Moved == Picture()) << "no bar left behind";
}

TEST_F(GridTest, MovingAndDeletingCarryTheSizes)
{
    TProbeGrid* G = NewGrid();
    G->SetColWidths(1, 11);
    G->SetRowHeights(1, 13);
    G->MoveColumn(1, 3);
    G->MoveRow(1, 4);
    EXPECT_EQ(G->ColWidths(3), 11);
    EXPECT_EQ(G->ColWidths(1), 64);
    EXPECT_EQ(G->RowHeights(4), 13);
    G->DeleteColumn(3);
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->ColWidths(3), 64);
    G->DeleteRow(1);
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(G->RowHeights(3), 13);
    EXPECT_EQ(G->Calls,
              (std::vector<std::string>{"ColumnMoved 1 3", "RowMoved 1 4", "ColumnMoved 3 4",
                                        "SizeChanged 5 5", "RowMoved 1 4", "SizeChanged 4 5"}));
}

TEST_F(GridTest, ScrollBarsRunOnTheThumbScale)
{
    TProbeGrid* G = NewGrid(5, 101);
    G->SetScrollBars(ssVertical);
    Pump();
    int Min = -1;
    int Max = -1;
    GetScrollRange(G->Handle(), SB_VERT, Min, Max);
    EXPECT_EQ(Min, 0);
    EXPECT_EQ(Max, 127);
    const int Rows = G->VisibleRowCount();
    const int MaxTop = 101 - Rows;
    struct TCase {
        int Code;
        int Pos;
        int Top;
        int Thumb;
    };
    const std::vector<TCase> Cases = {
        {SB_THUMBPOSITION, 127, MaxTop, 127},
        {SB_THUMBPOSITION, 0, 1, 0},
        {SB_THUMBPOSITION, 64, 1 + (64 * (MaxTop - 1) + 63) / 127, -1},
        {SB_TOP, 0, 1, 0},
        {SB_LINEDOWN, 0, 2, -1},
        {SB_PAGEDOWN, 0, 2 + Rows, -1},
        {SB_BOTTOM, 0, MaxTop, 127},
        // A thumb being dragged moves nothing without goThumbTracking.
        {SB_THUMBTRACK, 0, MaxTop, 127},
    };
    for (const TCase& C : Cases) {
        G->Perform(WM_VSCROLL, WPARAM(C.Code | (C.Pos << 16)), 0);
        EXPECT_EQ(G->TopRow(), C.Top) << "code " << C.Code << " at " << C.Pos;
        if (C.Thumb >= 0) {
            EXPECT_EQ(GetScrollPos(G->Handle(), SB_VERT), C.Thumb) << "code " << C.Code;
        }
    }
    G->SetOptions(G->Options() + TGridOptions{goThumbTracking});
    G->Perform(WM_VSCROLL, WPARAM(SB_THUMBTRACK), 0);
    EXPECT_EQ(G->TopRow(), 1);
    // The top row set in code puts the thumb proportionally.
    G->SetTopRow(1 + (MaxTop - 1) / 2);
    EXPECT_NEAR(GetScrollPos(G->Handle(), SB_VERT), 64, 1);
    EXPECT_NE(std::find(G->Calls.begin(), G->Calls.end(), "TopLeftChanged 1 2"), G->Calls.end());
}

TEST_F(GridTest, OnlyInvalidCellsArePainted)
{
    // Row 5 and column 5 show their first pixel.
    TProbeGrid* G = NewGrid(8, 8);
    auto Cells = [G] {
        std::vector<std::pair<int, int>> Out;
        for (const TDrawnCell& D : G->Drawn)
            Out.emplace_back(D.Col, D.Row);
        std::sort(Out.begin(), Out.end());
        return Out;
    };
    using TCells = std::vector<std::pair<int, int>>;
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        TCells Want;
    };
    const std::vector<TCase> Cases = {
        {"one cell", [G] { G->InvalidateCell(2, 3); }, TCells{{2, 3}}},
        {"the old and new current cell", [G] { G->SetCol(2); }, TCells{{1, 1}, {2, 1}}},
        {"a column", [G] { G->InvalidateCol(3); },
         TCells{{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}}},
        {"a row", [G] { G->InvalidateRow(0); },
         TCells{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
        {"a cell out of view", [G] { G->InvalidateCell(7, 7); }, TCells{}},
        // The rows stay where they were drawn; only the strip coming into view is painted.
        {"scrolled down a row", [G] { G->SetTopRow(2); },
         TCells{{0, 5},
                {0, 6},
                {1, 5},
                {1, 6},
                {2, 5},
                {2, 6},
                {3, 5},
                {3, 6},
                {4, 5},
                {4, 6},
                {5, 5},
                {5, 6}}},
        {"scrolled right a column", [G] { G->SetLeftCol(2); },
         TCells{{5, 0},
                {5, 2},
                {5, 3},
                {5, 4},
                {5, 5},
                {5, 6},
                {6, 0},
                {6, 2},
                {6, 3},
                {6, 4},
                {6, 5},
                {6, 6}}},
    };
    for (const TCase& C : Cases) {
        Pump();
        G->Drawn.clear();
        C.Act();
        Pump();
        EXPECT_EQ(Cells(), C.Want) << C.Name;
    }
}

TEST_F(GridTest, CellsAreDrawnWithTheirStates)
{
    TProbeGrid* G = NewGrid(5, 5);
    G->SetSelection(TGridRect{1, 1, 2, 1});
    G->SetFocus();
    Pump();
    G->Drawn.clear();
    G->Invalidate();
    Pump();
    auto StateOf = [G](int Col, int Row) {
        for (const TDrawnCell& D : G->Drawn)
            if (D.Col == Col && D.Row == Row)
                return D.State;
        ADD_FAILURE() << "cell " << Col << "," << Row << " not drawn";
        return TGridDrawState{};
    };
    EXPECT_EQ(StateOf(0, 0), (TGridDrawState{gdFixed}));
    EXPECT_EQ(StateOf(2, 0), (TGridDrawState{gdFixed}));
    EXPECT_EQ(StateOf(1, 1), (TGridDrawState{gdSelected}));
    EXPECT_EQ(StateOf(2, 1), (TGridDrawState{gdSelected, gdFocused}));
    EXPECT_EQ(StateOf(3, 3), (TGridDrawState{}));
}

TEST_F(GridTest, BadInputRaises)
{
    TProbeGrid* G = NewGrid();
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        std::string Message;
    };
    const std::string Index = "Grid index out of range";
    const std::string TooLarge = "Grid too large for operation";
    const std::vector<TCase> Cases = {
        {"a negative column count", [G] { G->SetColCount(-1); }, Index},
        {"a negative row count", [G] { G->SetRowCount(-3); }, Index},
        {"negative fixed columns", [G] { G->SetFixedCols(-1); }, Index},
        {"fixed columns as many as columns", [G] { G->SetFixedCols(5); },
         "Fixed column count must be less than column count"},
        {"fixed rows past the rows", [G] { G->SetFixedRows(9); },
         "Fixed row count must be less than row count"},
        {"a negative column width index", [G] { (void)G->ColWidths(-1); }, Index},
        {"a width past the columns", [G] { G->SetColWidths(5, 10); }, Index},
        {"a negative row", [G] { G->SetRow(-1); }, Index},
        {"a column past the count", [G] { G->SetCol(5); }, Index},
        {"a selection outside",
         [G] {
             G->SetSelection(TGridRect{1, 1, 9, 1});
         },
         Index},
        {"rows too many to measure", [G] { G->SetRowCount(INT_MAX / 2); }, TooLarge},
        {"columns too wide to measure", [G] { G->SetDefaultColWidth(INT_MAX / 4); }, TooLarge},
        {"one column too wide", [G] { G->SetColWidths(2, INT_MAX - 10); }, TooLarge},
    };
    for (const TCase& C : Cases) {
        try {
            C.Act();
            ADD_FAILURE() << C.Name << ": nothing raised";
        } catch (const EInvalidGridOperation& E) {
            EXPECT_EQ(E.Message(), C.Message) << C.Name;
        }
        // The grid is as it was.
        EXPECT_EQ(G->ColCount(), 5) << C.Name;
        EXPECT_EQ(G->RowCount(), 5) << C.Name;
        EXPECT_EQ(G->ColWidths(2), 64) << C.Name;
        EXPECT_EQ(G->DefaultColWidth(), 64) << C.Name;
    }
}

} // namespace
