// Row and column operations: removing, deleting, inserting and clearing rows and columns, with
// hidden columns in place, and the moves of the base grid.
#include "tests/controls/grid/rowsfixture.h"

#include <functional>
#include <limits>

namespace {

using Texts = std::vector<std::string>;

// Reaches the moved flag the mouse handling reads.
class MoveGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    bool Moved() const { return FColumnMovedFlag; }
};

TEST_F(RowsTest, RemoveRowsMovesTheRowsBelowUpWithTheirHeightsAndObjects)
{
    Fill(3, 6);
    TObject Marker;
    Grid->SetObjects(2, 4, &Marker);
    Grid->SetRowHeights(4, 40);
    Grid->RemoveRows(2, 2);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r4", "r5"}));
    EXPECT_EQ(Grid->Objects(2, 2), &Marker);
    EXPECT_EQ(Grid->RowHeights(2), 40);
    // Nothing of the moved rows is left past the end to come back when the grid grows.
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->Cells(1, 4), "");
    EXPECT_EQ(Grid->Objects(2, 4), nullptr);
    Grid->SetObjects(2, 2, nullptr);
}

TEST_F(RowsTest, RemoveRowsKeepsTheCursorOrSendsItToTheFirstDataRow)
{
    struct Case {
        int Current, Row, Count, ExpectedCurrent;
    };
    for (const Case& C : std::vector<Case>{
             {2, 3, 1, 2}, // the current row's successor goes: the cursor stays
             {2, 2, 1, 2}, // the current row goes, another takes its place
             {5, 4, 2, 1}, // the last rows go: the cursor moves to FixedRows
         }) {
        Fill(3, 6);
        Grid->SetRow(C.Current);
        Grid->RemoveRows(C.Row, C.Count);
        EXPECT_EQ(Grid->Row(), C.ExpectedCurrent) << C.Row << "+" << C.Count;
    }
}

TEST_F(RowsTest, RemovingAllRowsLeavesOneEmptyRow)
{
    Fill(3, 4);
    Grid->RemoveRows(0, 10);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Row(0), (Texts{"", "", ""}));
}

TEST_F(RowsTest, DeleteRowsMovesTheCursorToTheLastDataRowAndDropsTheRowFlags)
{
    Fill(3, 6);
    Grid->SetFixedFooters(1);
    Grid->SetRowSelected(3, true);
    Grid->SetRowSelected(4, true);
    Grid->SetRow(4);
    Grid->DeleteRows(3, 1);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r4", "r5"}));
    // Row 4 is now the footer row: the last data row takes the cursor.
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_TRUE(Grid->RowSelected(3));
    EXPECT_FALSE(Grid->RowSelected(4));
}

TEST_F(RowsTest, DeletingTheLastDataRowHidesTheSelection)
{
    Fill(3, 3);
    Grid->SetFixedFooters(1);
    Grid->SetRow(1);
    Grid->DeleteRows(1, 1);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_TRUE(Grid->SelectionHidden());
}

TEST_F(RowsTest, DeleteRowsFreesTheGraphicsOfTheDeletedRows)
{
    Fill(3, 5);
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(2, 2, 0, ihpLeft, ivpTop);
    Grid->AddCellImageIndex(2, 3, 0, ihpLeft, ivpTop);
    TCellGraphic* Kept = Grid->GetCellGraphic(2, 3);
    Grid->DeleteRows(2, 1);
    EXPECT_EQ(Grid->GetCellGraphic(2, 2), Kept);
    EXPECT_EQ(Grid->Objects(2, 3), nullptr);
}

TEST_F(RowsTest, InsertRowsAtOneMovesEveryDataRowDownAndLeavesAnEmptyRowOfDefaultHeight)
{
    Fill(3, 4);
    Grid->SetRowHeights(1, 50);
    TObject Marker;
    Grid->SetObjects(0, 1, &Marker);
    Grid->InsertRows(1, 1);
    EXPECT_EQ(Column(1), (Texts{"r0", "", "r1", "r2", "r3"}));
    EXPECT_EQ(Row(1), (Texts{"", "", ""}));
    EXPECT_EQ(Grid->RowHeights(1), Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->RowHeights(2), 50);
    EXPECT_EQ(Grid->Objects(0, 1), nullptr);
    EXPECT_EQ(Grid->Objects(0, 2), &Marker);
    Grid->SetObjects(0, 2, nullptr);
}

TEST_F(RowsTest, InsertRowsAtTheEndAppends)
{
    Fill(3, 3);
    Grid->InsertRows(3, 2);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "", ""}));
}

TEST_F(RowsTest, RowSelectionFlagsFollowInsertedRows)
{
    Fill(3, 4);
    Grid->SetRowSelected(2, true);
    Grid->InsertRows(1, 1);
    EXPECT_FALSE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(3));
}

// Every operation with a count of 0 or less or a start outside the grid changes nothing.
TEST_F(RowsTest, OperationsWithoutACountOrOutsideTheGridChangeNothing)
{
    using Op = std::function<void(TAdvStringGrid*)>;
    struct Case {
        const char* Name;
        Op Run;
    };
    std::vector<Case> Cases = {
        {"RemoveRows count 0", [](TAdvStringGrid* G) { G->RemoveRows(1, 0); }},
        {"RemoveRows count -1", [](TAdvStringGrid* G) { G->RemoveRows(1, -1); }},
        {"RemoveRows start -1", [](TAdvStringGrid* G) { G->RemoveRows(-1, 2); }},
        {"RemoveRows start past", [](TAdvStringGrid* G) { G->RemoveRows(5, 1); }},
        {"DeleteRows count 0", [](TAdvStringGrid* G) { G->DeleteRows(1, 0); }},
        {"DeleteRows start -2", [](TAdvStringGrid* G) { G->DeleteRows(-2, 1); }},
        {"DeleteRows start past", [](TAdvStringGrid* G) { G->DeleteRows(9, 1); }},
        {"InsertRows count 0", [](TAdvStringGrid* G) { G->InsertRows(1, 0); }},
        {"InsertRows count -3", [](TAdvStringGrid* G) { G->InsertRows(1, -3); }},
        {"InsertRows start -1", [](TAdvStringGrid* G) { G->InsertRows(-1, 1); }},
        {"InsertRows start past", [](TAdvStringGrid* G) { G->InsertRows(6, 1); }},
        {"InsertRows count too large",
         [](TAdvStringGrid* G) { G->InsertRows(1, std::numeric_limits<int>::max()); }},
        {"DeleteColumns count 0", [](TAdvStringGrid* G) { G->DeleteColumns(1, 0); }},
        {"DeleteColumns start -1", [](TAdvStringGrid* G) { G->DeleteColumns(-1, 1); }},
        {"DeleteColumns start past", [](TAdvStringGrid* G) { G->DeleteColumns(4, 1); }},
        {"InsertColumns count -1", [](TAdvStringGrid* G) { G->InsertColumns(1, -1); }},
        {"InsertColumns start past", [](TAdvStringGrid* G) { G->InsertColumns(5, 1); }},
        {"ClearRows count 0", [](TAdvStringGrid* G) { G->ClearRows(1, 0); }},
        {"ClearRows start -1", [](TAdvStringGrid* G) { G->ClearRows(-1, 3); }},
        {"ClearRows start past", [](TAdvStringGrid* G) { G->ClearRows(5, 1); }},
        {"ClearCols count -1", [](TAdvStringGrid* G) { G->ClearCols(1, -1); }},
        {"ClearCols start past", [](TAdvStringGrid* G) { G->ClearCols(4, 1); }},
    };
    for (const Case& C : Cases) {
        Fill(4, 5);
        std::vector<Texts> Before;
        for (int Col = 0; Col < 4; ++Col)
            Before.push_back(Column(Col));
        C.Run(Grid);
        EXPECT_EQ(Grid->ColCount(), 4) << C.Name;
        EXPECT_EQ(Grid->RowCount(), 5) << C.Name;
        for (int Col = 0; Col < 4; ++Col)
            EXPECT_EQ(Column(Col), Before[static_cast<std::size_t>(Col)]) << C.Name;
    }
}

TEST_F(RowsTest, ClearingReachesHiddenColumnsAndSendsTheChangedCells)
{
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Run;
        Texts Column1, Column3;
        TRect Changed;
    };
    std::vector<Case> Cases = {
        {"ClearRows", [](TAdvStringGrid* G) { G->ClearRows(1, 2); }, Texts{"r0", "", "", "r3"},
         Texts{"c3.r0", "", "", "c3.r3"}, TRect{0, 1, 3, 2}},
        {"ClearRows past the end", [](TAdvStringGrid* G) { G->ClearRows(3, 5); },
         Texts{"r0", "r1", "r2", ""}, Texts{"c3.r0", "c3.r1", "c3.r2", ""}, TRect{0, 3, 3, 3}},
        {"ClearRows with the largest count",
         [](TAdvStringGrid* G) { G->ClearRows(2, std::numeric_limits<int>::max()); },
         Texts{"r0", "r1", "", ""}, Texts{"c3.r0", "c3.r1", "", ""}, TRect{0, 2, 3, 3}},
        {"ClearCols of the hidden column", [](TAdvStringGrid* G) { G->ClearCols(3, 1); },
         Texts{"r0", "r1", "r2", "r3"}, Texts{"", "", "", ""}, TRect{3, 0, 3, 3}},
        {"ClearAll", [](TAdvStringGrid* G) { G->ClearAll(); }, Texts{"", "", "", ""},
         Texts{"", "", "", ""}, TRect{0, 0, 3, 3}},
    };
    for (const Case& C : Cases) {
        Fill(4, 4);
        Grid->HideColumn(3);
        TRect Changed{-1, -1, -1, -1};
        Grid->OnCellsChanged = [&Changed](TObject*, TRect R) { Changed = R; };
        C.Run(Grid);
        EXPECT_EQ(Column(1), C.Column1) << C.Name;
        EXPECT_EQ(Column(3), C.Column3) << C.Name;
        EXPECT_EQ(Changed, C.Changed) << C.Name;
        Grid->OnCellsChanged = nullptr;
        Grid->UnHideColumn(3);
    }
}

TEST_F(RowsTest, RemoveSelectedRowsDeletesEveryFlaggedRow)
{
    Fill(3, 7);
    for (int R : {2, 3, 6})
        Grid->SetRowSelected(R, true);
    Grid->RemoveSelectedRows();
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r4", "r5"}));
    for (int R = 0; R < Grid->RowCount(); ++R)
        EXPECT_FALSE(Grid->RowSelected(R)) << R;
}

TEST_F(RowsTest, ColumnOperationsWorkOnRealColumnsAndMoveTheHiddenMarks)
{
    TAdvStringGrid* G = MakeGrid({10, 20, 30, 40, 50});
    Grid = G;
    for (int C = 0; C < 5; ++C)
        G->SetCells(C, 1, "c" + std::to_string(C));
    G->HideColumn(3);

    G->InsertColumns(1, 2);
    EXPECT_EQ(Row(1), (Texts{"c0", "", "", "c1", "c2", "c3", "c4"}));
    EXPECT_FALSE(G->IsColumnVisible(5));
    EXPECT_TRUE(G->IsColumnVisible(3));
    EXPECT_EQ(G->ColCount(), 6);
    EXPECT_EQ(G->NumHiddenColumns(), 1);
    EXPECT_EQ(G->RememberedColWidth(5), 40);
    std::vector<int> Widths;
    for (int D = 0; D < G->ColCount(); ++D)
        Widths.push_back(G->ColWidths(D));
    int Def = G->DefaultColWidth();
    EXPECT_EQ(Widths, (std::vector<int>{10, Def, Def, 20, 30, 50}));

    G->DeleteColumns(1, 3);
    EXPECT_EQ(Row(1), (Texts{"c0", "c2", "c3", "c4"}));
    EXPECT_FALSE(G->IsColumnVisible(2));
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->RealColIndex(2), 3);
    EXPECT_EQ(G->ColWidths(1), 30);
    EXPECT_EQ(G->ColWidths(2), 50);

    // Deleting the hidden column itself shows the rest as before.
    G->DeleteColumns(2, 1);
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Row(1), (Texts{"c0", "c2", "c4"}));
}

TEST_F(RowsTest, DeletingEveryVisibleColumnBesideHiddenOnesIsRefused)
{
    TAdvStringGrid* G = MakeGrid({10, 20});
    G->HideColumn(1);
    G->DeleteColumns(0, 1);
    EXPECT_EQ(G->ColCount(), 1);
    EXPECT_EQ(G->NumHiddenColumns(), 1);
}

TEST_F(RowsTest, InsertingThatWouldPushAHiddenColumnPast256IsRefused)
{
    Grid->SetColCount(300);
    Grid->HideColumn(250);
    Grid->InsertColumns(0, 10);
    EXPECT_EQ(Grid->ColCount(), 299);
    EXPECT_FALSE(Grid->IsColumnVisible(250));
    Grid->InsertColumns(260, 10);
    EXPECT_EQ(Grid->ColCount(), 309);
}

TEST_F(RowsTest, MovingAColumnKeepsTheSortColumnOnItsData)
{
    struct Case {
        int From, To, Sort, Expected;
    };
    for (const Case& C : std::vector<Case>{
             {1, 2, 5, 5},
             {1, 4, 1, 4},
             {1, 4, 3, 2},
             {4, 1, 2, 3},
             {4, 1, 4, 1},
             {4, 1, 0, 0},
         }) {
        Fill(6, 3);
        Grid->SetSortColumn(C.Sort);
        Grid->MoveColumn(C.From, C.To);
        EXPECT_EQ(Grid->SortColumn(), C.Expected) << C.From << "->" << C.To << " sort " << C.Sort;
    }
}

TEST_F(RowsTest, MovingAColumnWithHiddenOnesMovesCellsByRealIndexAndKeepsWhatIsHidden)
{
    TAdvStringGrid* G = MakeGrid({10, 20, 30, 40, 50});
    Grid = G;
    for (int C = 0; C < 5; ++C)
        G->SetCells(C, 1, "c" + std::to_string(C));
    G->HideColumn(2);
    G->SetEnhRowColMove(true);
    // Display 1 (real 1) to display 2 (real 3): the hidden column slides to real 1.
    G->MoveColumn(1, 2);
    EXPECT_EQ(Row(1), (Texts{"c0", "c2", "c3", "c1", "c4"}));
    EXPECT_FALSE(G->IsColumnVisible(1));
    EXPECT_EQ(G->RememberedColWidth(1), 30);
    std::vector<int> Widths;
    for (int D = 0; D < G->ColCount(); ++D)
        Widths.push_back(G->ColWidths(D));
    EXPECT_EQ(Widths, (std::vector<int>{10, 40, 20, 50}));
    G->UnHideColumn(1);
    EXPECT_EQ(G->Cells(1, 1), "c2");
    EXPECT_EQ(G->ColWidths(1), 30);
}

TEST_F(RowsTest, MovesNoteThemselvesAndRowMovesExchangeHeightsWhenEnhanced)
{
    auto G = new MoveGrid(Form);
    G->SetParent(Form);
    G->SetRowCount(4);
    G->SetRowHeights(1, 30);
    G->SetRowHeights(2, 60);
    G->SetCells(0, 1, "a");
    G->MoveRow(1, 2);
    EXPECT_EQ(G->Cells(0, 2), "a");
    EXPECT_FALSE(G->Moved());
    EXPECT_EQ(G->RowHeights(2), 30);
    G->SetEnhRowColMove(true);
    G->MoveRow(2, 1);
    EXPECT_EQ(G->Cells(0, 1), "a");
    EXPECT_TRUE(G->Moved());
    // The base grid moved the heights with the row; the exchange puts them back by position.
    EXPECT_EQ(G->RowHeights(1), 60);
    EXPECT_EQ(G->RowHeights(2), 30);

    auto H = new MoveGrid(Form);
    H->SetParent(Form);
    H->MoveColumn(1, 3);
    EXPECT_TRUE(H->Moved());
}

TEST_F(RowsTest, HideColumnsHidesARangeAndRefusesColumnsAbove256)
{
    Grid->SetColCount(300);
    Grid->HideColumns(250, 260);
    EXPECT_EQ(Grid->NumHiddenColumns(), 7);
    EXPECT_EQ(Grid->ColCount(), 293);
    EXPECT_TRUE(Grid->IsColumnVisible(257));
    Grid->UnHideColumns(0, 300);
    EXPECT_EQ(Grid->NumHiddenColumns(), 0);
    EXPECT_EQ(Grid->ColCount(), 300);
}

TEST_F(RowsTest, DisplayAndRealMapsStayExactBeyond256)
{
    Grid->SetColCount(300);
    Grid->HideColumns(0, 0);
    Grid->HideColumns(100, 101);
    Grid->HideColumn(256);
    ASSERT_EQ(Grid->NumHiddenColumns(), 4);
    for (int D = 0; D < Grid->ColCount(); ++D) {
        int Real = Grid->RealColIndex(D);
        EXPECT_TRUE(Grid->IsColumnVisible(Real)) << D;
        EXPECT_EQ(Grid->DisplColIndex(Real), D) << D;
    }
    EXPECT_EQ(Grid->RealColIndex(252), 255);
    EXPECT_EQ(Grid->RealColIndex(253), 257);
    EXPECT_EQ(Grid->RealColIndex(295), 299);
}

} // namespace
