// The grid's mouse: header clicks that sort (or do not), links that select a cell or open a
// web page, cursor kinds and whole-column selection, double and right clicks, sizing vetoes.
#include "tests/controls/grid/interactionfixture.h"

#include "platform/ui/shellopen.h"

namespace {

// Two clicks on one spot would be a double-click; the header clicks alternate their points.
TPoint Beside(TPoint P, int Nth)
{
    return TPoint{P.X + (Nth % 2 == 0 ? -12 : 12), P.Y};
}

struct THeaderCase {
    std::string Name;
    int Rows;
    bool SortShow;
    bool SortFixedCols;
    int Column;
    int Clicks;
    std::vector<TSortDirection> Directions; // after each click that sorted
};

TEST_F(GridInteraction, HeaderClicksSortAscendingThenDescendingWhereSortingApplies)
{
    const std::vector<THeaderCase> Cases = {
        {"two clicks", 6, true, false, 2, 2, {sdAscending, sdDescending}},
        {"three rows", 3, true, false, 3, 1, {sdAscending}},
        {"two rows never sort", 2, true, false, 2, 2, {}},
        {"no SortShow", 6, false, false, 2, 1, {}},
        {"fixed column", 6, true, false, 0, 1, {}},
        {"fixed column with SortFixedCols", 6, true, true, 0, 1, {sdAscending}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->SetRowCount(Case.Rows);
        Grid->SetSortShow(Case.SortShow);
        Grid->SetSortFixedCols(Case.SortFixedCols);
        Grid->SetSortColumn(1);
        std::vector<TSortDirection> Seen;
        Grid->OnClickSort = [&](TObject*, int ACol) {
            EXPECT_EQ(ACol, Case.Column);
            Seen.push_back(Grid->SortDirection());
        };
        for (int I = 0; I < Case.Clicks; ++I)
            ClickPoint(Beside(Centre(Case.Column, 0), I));
        EXPECT_EQ(Seen, Case.Directions);
        // Away, so that the next case's click is no double-click.
        ClickPoint(Centre(1, Case.Rows - 1));
    }
}

TEST_F(GridInteraction, OnCanSortVetoesTheHeaderClick)
{
    Grid->SetSortShow(true);
    int Sorts = 0;
    Grid->OnClickSort = [&](TObject*, int) { ++Sorts; };
    Grid->OnCanSort = [](TObject*, int ACol, bool& DoSort) { DoSort = ACol != 2; };
    Click(2, 0);
    EXPECT_EQ(Sorts, 0);
    Click(3, 0);
    EXPECT_EQ(Sorts, 1);
    EXPECT_EQ(Grid->SortColumn(), 3);
}

TEST_F(GridInteraction, AClickOnAHeadingBorderNeverSorts)
{
    Grid->SetSortShow(true);
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    int Sorts = 0;
    Grid->OnClickSort = [&](TObject*, int) { ++Sorts; };
    const TRect R = Grid->CellRect(2, 0);
    for (int Dx : {-3, -1, 1, 2}) {
        SCOPED_TRACE(Dx);
        ClickPoint(TPoint{R.Right + Dx, (R.Top + R.Bottom) / 2});
        // Far away, so that the next click is no double-click.
        ClickPoint(Centre(1, 3));
    }
    EXPECT_EQ(Sorts, 0);
    EXPECT_EQ(Grid->ColWidths(2), 80);
    ClickPoint(Centre(2, 0));
    EXPECT_EQ(Sorts, 1);
}

TEST_F(GridInteraction, SortIndexShowBuildsTheIndexWithShift)
{
    Grid->SetSortShow(true);
    Grid->SetSortIndexShow(true);
    TSortIndexList* Index = Grid->SortIndexes();
    ClickPoint(Beside(Centre(2, 0), 0));
    ASSERT_EQ(Index->Count(), 1);
    EXPECT_EQ(Index->SortColumns(0), 2);
    EXPECT_TRUE(Index->SortDirections(0));
    ClickPoint(Beside(Centre(2, 0), 1));
    EXPECT_FALSE(Index->SortDirections(0));
    WithKeys({VK_SHIFT}, [&] { ClickPoint(Centre(3, 0)); });
    ASSERT_EQ(Index->Count(), 2);
    EXPECT_EQ(Index->SortColumns(1), 3);
    EXPECT_TRUE(Index->SortDirections(1));
    WithKeys({VK_SHIFT}, [&] { ClickPoint(Beside(Centre(3, 0), 0)); });
    EXPECT_FALSE(Index->SortDirections(1));
    // A plain click starts again from that column alone.
    ClickPoint(Centre(4, 0));
    ASSERT_EQ(Index->Count(), 1);
    EXPECT_EQ(Index->SortColumns(0), 4);
}

struct TLinkCase {
    std::string Name;
    std::string Text;
    bool URLShow;
    std::vector<std::string> Launched; // the argument vector, empty when nothing starts
    int Col, Row;                      // the current cell afterwards
};

TEST_F(GridInteraction, ClickedLinksSelectCellsOrOpenOnlyWebAndMailLinks)
{
    const std::vector<TLinkCase> Cases = {
        {"web page", "http://example.com/a", true, {"xdg-open", "http://example.com/a"}, 1, 1},
        {"secure page", "https://example.com", true, {"xdg-open", "https://example.com"}, 1, 1},
        {"mail",
         "mailto:someone@example.com",
         true,
         {"xdg-open", "mailto:someone@example.com"},
         1,
         1},
        {"URLShow off", "http://example.com/a", false, {}, 1, 1},
        {"other scheme", "ftp://example.com/f", true, {}, 1, 1},
        {"cell reference", "<A href=\"CELL://R5C2\">go</A>", true, {}, 2, 5},
        {"lower-case reference", "<a href=\"cell://r4c3\">go</a>", true, {}, 3, 4},
        {"reference outside", "<A href=\"CELL://R50C2\">go</A>", true, {}, 1, 1},
        {"reference to a fixed cell", "<A href=\"CELL://R0C0\">go</A>", true, {}, 1, 1},
        {"file link", "<A href=\"file:///etc/passwd\">go</A>", true, {}, 1, 1},
        {"html web link",
         "<A href=\"http://example.com/h\">go</A>",
         true,
         {"xdg-open", "http://example.com/h"},
         1,
         1},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TLaunchRecorder Launches;
        Grid->SetURLShow(Case.URLShow);
        Grid->SetCells(1, 1, Case.Text);
        Grid->SetCol(4);
        Grid->SetRow(4);
        Grid->SetCol(1);
        Grid->SetRow(1);
        const TRect R = Grid->CellRect(1, 1);
        ClickPoint(TPoint{R.Left + 6, R.Top + 8});
        EXPECT_EQ(Grid->Col(), Case.Col);
        EXPECT_EQ(Grid->Row(), Case.Row);
        // Away, so that the next case's click is no double-click.
        ClickPoint(Centre(3, 0));
        if (Case.Launched.empty())
            EXPECT_TRUE(Launches.Launches().empty());
        else {
            ASSERT_EQ(Launches.Launches().size(), 1u);
            EXPECT_EQ(Launches.Launches()[0].Argv, Case.Launched);
        }
    }
}

TEST_F(GridInteraction, ACellReferenceMovesTheCursorWithoutOpeningAnything)
{
    TLaunchRecorder Launches;
    Grid->SetCells(1, 1, "<A href=\"CELL://R5C2\">go</A>");
    const TRect R = Grid->CellRect(1, 1);
    ClickPoint(TPoint{R.Left + 6, R.Top + 8});
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_TRUE(Launches.Launches().empty());
}

TEST_F(GridInteraction, OnAnchorClickCanTakeTheLinkOver)
{
    TLaunchRecorder Launches;
    Grid->SetURLShow(true);
    Grid->SetCells(2, 2, "http://example.com/");
    std::string Clicked;
    Grid->OnAnchorClick = [&](TObject*, int ARow, int ACol, const std::string& Anchor,
                              bool& AutoHandle) {
        EXPECT_EQ(ARow, 2);
        EXPECT_EQ(ACol, 2);
        Clicked = Anchor;
        AutoHandle = false;
    };
    Click(2, 2);
    EXPECT_EQ(Clicked, "http://example.com/");
    EXPECT_TRUE(Launches.Launches().empty());
}

TEST_F(GridInteraction, LinksUnderThePointerShowTheHandAndReportEnterAndExit)
{
    Grid->SetCursor(crCross);
    Grid->SetURLShow(true);
    Grid->SetCells(2, 2, "http://example.com/");
    std::vector<std::string> Events;
    Grid->OnAnchorEnter = [&](TObject*, int ARow, int ACol, const std::string& A) {
        Events.push_back("enter " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + A);
    };
    Grid->OnAnchorExit = [&](TObject*, int ARow, int ACol, const std::string& A) {
        Events.push_back("exit " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + A);
    };
    const TPoint Link = Centre(2, 2);
    MouseMoveAt(Grid, Link.X, Link.Y);
    EXPECT_EQ(Grid->Cursor(), crHandPoint);
    MouseMoveAt(Grid, Link.X + 1, Link.Y);
    const TPoint Plain = Centre(3, 3);
    MouseMoveAt(Grid, Plain.X, Plain.Y);
    // The cursor set through the property comes back.
    EXPECT_EQ(Grid->Cursor(), crCross);
    EXPECT_EQ(Events, (std::vector<std::string>{"enter 2,2 http://example.com/",
                                                "exit 2,2 http://example.com/"}));
}

struct TKindCase {
    std::string Name;
    bool AllSelect, ColSelect, RowSelect;
    int Col, Row;
    int Kind;
};

TEST_F(GridInteraction, TheCursorKindFollowsTheFixedCellsAndTheMouseActions)
{
    const std::vector<TKindCase> Cases = {
        {"top-left", true, false, false, 0, 0, 3},    {"top-left off", false, true, true, 0, 0, 0},
        {"heading", false, true, false, 2, 0, 1},     {"heading off", true, false, true, 2, 0, 0},
        {"row heading", false, false, true, 0, 3, 2}, {"data cell", true, true, true, 2, 3, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->MouseActions()->AllSelect = Case.AllSelect;
        Grid->MouseActions()->ColSelect = Case.ColSelect;
        Grid->MouseActions()->RowSelect = Case.RowSelect;
        const TPoint P = Centre(Case.Col, Case.Row);
        MouseMoveAt(Grid, P.X, P.Y);
        EXPECT_EQ(Grid->FCursorKind, Case.Kind);
    }
    // A cursor set by anyone else forgets the kind.
    Grid->MouseActions()->AllSelect = true;
    const TPoint P = Centre(0, 0);
    MouseMoveAt(Grid, P.X, P.Y);
    EXPECT_EQ(Grid->FCursorKind, 3);
    Grid->SetCursor(crIBeam);
    EXPECT_EQ(Grid->FCursorKind, 0);
}

TEST_F(GridInteraction, FixedCellsSelectWholeColumnsRowsAndTheGrid)
{
    Grid->MouseActions()->AllSelect = true;
    Grid->MouseActions()->ColSelect = true;
    Grid->MouseActions()->RowSelect = true;
    Grid->SetSortShow(false);
    // A heading pressed and dragged to another selects the columns between.
    const TPoint Head = Centre(2, 0);
    MouseButtonAt(Grid, Head.X, Head.Y, true);
    const TPoint To = Centre(3, 0);
    MouseMoveAt(Grid, To.X, To.Y);
    MouseButtonAt(Grid, To.X, To.Y, false, false);
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 3, 5}));
    Click(0, 4);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 4, 4, 4}));
    ClickPoint(Centre(0, 0));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 4, 5}));
}

TEST_F(GridInteraction, DoubleAndRightClicksReportTheirCells)
{
    std::vector<std::string> Events;
    Grid->OnDblClickCell = [&](TObject*, int ARow, int ACol) {
        Events.push_back("double " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    Grid->OnRightClickCell = [&](TObject*, int ARow, int ACol) {
        Events.push_back("right " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    Click(2, 3);
    Click(2, 3);
    const TPoint P = InFormOf(Grid, Centre(3, 2).X, Centre(3, 2).Y);
    InjectMouseButton(Form->Handle(), 1, true, P.X, P.Y);
    InjectMouseButton(Form->Handle(), 1, false, P.X, P.Y);
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string>{"double 2,3", "right 3,2"}));
}

TEST_F(GridInteraction, ADoubleClickOnAHeadingBorderDoesNotSortOrReportACell)
{
    Grid->SetSortShow(true);
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    int Sorts = 0, Doubles = 0;
    Grid->OnClickSort = [&](TObject*, int) { ++Sorts; };
    Grid->OnDblClickCell = [&](TObject*, int, int) { ++Doubles; };
    const TRect R = Grid->CellRect(2, 0);
    ClickPoint(TPoint{R.Right - 1, R.Top + 5});
    ClickPoint(TPoint{R.Right - 1, R.Top + 5});
    EXPECT_EQ(Sorts, 0);
    EXPECT_EQ(Doubles, 0);
}

TEST_F(GridInteraction, OnColumnSizeForbidsSizing)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    bool Allow = false;
    Grid->OnColumnSize = [&](TObject*, int ACol, bool& A) {
        EXPECT_EQ(ACol, 2);
        A = Allow;
    };
    const TRect R = Grid->CellRect(2, 0);
    for (bool Allowed : {false, true}) {
        Allow = Allowed;
        MouseButtonAt(Grid, R.Right, R.Top + 5, true);
        MouseMoveAt(Grid, R.Right + 30, R.Top + 5);
        MouseButtonAt(Grid, R.Right + 30, R.Top + 5, false, false);
        EXPECT_EQ(Grid->ColWidths(2), Allowed ? 110 : 80);
        ClickPoint(Centre(1, 4));
    }
}

TEST_F(GridInteraction, IsSelectedAsksTheSelectionOrTheRowFlags)
{
    Grid->SetSelection(TGridRect{1, 2, 2, 3});
    EXPECT_TRUE(Grid->IsSelected(2, 3));
    EXPECT_FALSE(Grid->IsSelected(3, 3));
    EXPECT_FALSE(Grid->IsSelected(-1, 2));
    EXPECT_FALSE(Grid->IsSelected(1, -1));
    Grid->MouseActions()->DisjunctRowSelect = true;
    Grid->SetRowSelected(5, true);
    EXPECT_TRUE(Grid->IsSelected(4, 5));
    EXPECT_FALSE(Grid->IsSelected(2, 3));
}

TEST_F(GridInteraction, CtrlClicksFlagAndUnflagDisjunctRows)
{
    Grid->MouseActions()->DisjunctRowSelect = true;
    Click(2, 2);
    EXPECT_TRUE(Grid->RowSelected(2));
    WithKeys({VK_CONTROL}, [&] { Click(2, 4); });
    EXPECT_TRUE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(4));
    WithKeys({VK_CONTROL}, [&] { ClickPoint(Beside(Centre(2, 4), 1)); });
    EXPECT_FALSE(Grid->RowSelected(4));
    Click(3, 3);
    EXPECT_FALSE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(3));
}

} // namespace
