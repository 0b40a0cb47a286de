// Hidden rows and the row filter: rows taken out of view and brought back in their old order,
// also when rows were inserted or deleted meanwhile.
#include "tests/controls/grid/rowsfixture.h"

#include <functional>

namespace {

using Texts = std::vector<std::string>;

class FilterTest : public RowsTest {
protected:
    // Rows r0 (fixed) to r5; the filter keeps the rows whose column 1 matches Condition.
    void FilterOn(const std::string& Condition)
    {
        TFilterData* Item = Grid->Filter()->Add();
        Item->SetColumn(1);
        Item->SetCondition(Condition);
        Grid->SetFilterActive(true);
    }
    std::vector<int> HiddenIdx()
    {
        std::vector<int> Idx;
        for (int I = 0; I < Grid->HiddenRowList()->Count(); ++I)
            Idx.push_back(static_cast<TGridItem*>(Grid->HiddenRowList()->Items(I))->Idx());
        return Idx;
    }
};

TEST_F(FilterTest, AFilterNoRowMatchesLeavesOneEmptyRowAndSwitchingOffBringsAllBack)
{
    Fill(3, 6);
    FilterOn("zzz");
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Column(1), (Texts{"r0", ""}));
    EXPECT_EQ(HiddenIdx(), (std::vector<int>{1, 2, 3, 4, 5}));
    Grid->SetFilterActive(false);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->HiddenRowList()->Count(), 0);
}

TEST_F(FilterTest, TheEmptyRowGoesBeforeTheFooterRows)
{
    Fill(3, 5);
    Grid->SetFixedFooters(1);
    FilterOn("zzz");
    EXPECT_EQ(Column(1), (Texts{"r0", "", "r4"}));
    Grid->SetFilterActive(false);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r4"}));
}

TEST_F(FilterTest, MatchingRowsOneAndFourHidesTwoThreeAndFiveAndRestoresThemInPlace)
{
    Fill(3, 6);
    FilterOn("r1;r4");
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r4"}));
    EXPECT_EQ(HiddenIdx(), (std::vector<int>{2, 3, 5}));
    Grid->SetFilterActive(false);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(Column(2), (Texts{"c2.r0", "c2.r1", "c2.r2", "c2.r3", "c2.r4", "c2.r5"}));
}

TEST_F(FilterTest, RealAndDisplayRowsCountTheHiddenRows)
{
    Fill(3, 6);
    FilterOn("r1;r4");
    struct Case {
        int Index, Real, Displ;
        bool Hidden;
    };
    // Real: as the display index maps; Displ: the display index of real row Index.
    for (const Case& C : std::vector<Case>{
             {0, 0, 0, false},
             {1, 1, 1, false},
             {2, 4, 2, true},
             {3, 6, 2, true},
             {4, 7, 2, false},
             {5, 8, 3, true},
         }) {
        EXPECT_EQ(Grid->RealRowIndex(C.Index), C.Real) << C.Index;
        EXPECT_EQ(Grid->DisplRowIndex(C.Index), C.Displ) << C.Index;
        EXPECT_EQ(Grid->IsHiddenRow(C.Index), C.Hidden) << C.Index;
    }
}

TEST_F(FilterTest, HiddenRowsKeepTheTextsOfHiddenColumnsAndTheirGraphics)
{
    Fill(4, 6);
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(3, 2, 0, ihpLeft, ivpTop);
    TCellGraphic* Graphic = Grid->GetCellGraphic(3, 2);
    Grid->HideColumn(3);
    FilterOn("r1;r4");
    Grid->SetFilterActive(false);
    Grid->UnHideColumn(3);
    EXPECT_EQ(Column(3), (Texts{"c3.r0", "c3.r1", "c3.r2", "c3.r3", "c3.r4", "c3.r5"}));
    EXPECT_EQ(Grid->GetCellGraphic(3, 2), Graphic);
}

TEST_F(FilterTest, AGridGoingWithHiddenRowsFreesTheirGraphics)
{
    // LeakSanitizer tells when the graphic is not freed.
    auto G = new TAdvStringGrid(Form);
    G->SetParent(Form);
    G->SetEnableGraphics(true);
    G->SetCells(1, 2, "x");
    G->AddCellImageIndex(1, 2, 0, ihpLeft, ivpTop);
    G->HideRowRange(2, 2);
    EXPECT_EQ(G->Objects(1, 2), nullptr);
    delete G;
}

TEST_F(FilterTest, RowsChangedWhileFilteredComeBackWithoutLosingAHiddenRow)
{
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Change;
        Texts After;
    };
    std::vector<Case> Cases = {
        {"insert before the first kept row", [](TAdvStringGrid* G) { G->InsertRows(1, 1); },
         Texts{"r0", "", "r1", "r2", "r3", "r4", "r5"}},
        {"insert before r4", [](TAdvStringGrid* G) { G->InsertRows(2, 1); },
         Texts{"r0", "r1", "r2", "r3", "", "r4", "r5"}},
        {"append two", [](TAdvStringGrid* G) { G->InsertRows(3, 2); },
         Texts{"r0", "r1", "r2", "r3", "r4", "r5", "", ""}},
        {"delete r1", [](TAdvStringGrid* G) { G->DeleteRows(1, 1); },
         Texts{"r0", "r2", "r3", "r4", "r5"}},
        {"remove r4", [](TAdvStringGrid* G) { G->RemoveRows(2, 1); },
         Texts{"r0", "r1", "r2", "r3", "r5"}},
        {"delete both kept rows", [](TAdvStringGrid* G) { G->DeleteRows(1, 2); },
         Texts{"r0", "r2", "r3", "r5"}},
        {"remove selected r4",
         [](TAdvStringGrid* G) {
             G->SetRowSelected(2, true);
             G->RemoveSelectedRows();
         },
         Texts{"r0", "r1", "r2", "r3", "r5"}},
    };
    for (const Case& C : Cases) {
        Grid->Filter()->Clear();
        Fill(3, 6);
        Grid->SetFixedRows(1);
        FilterOn("r1;r4");
        C.Change(Grid);
        Grid->SetFilterActive(false);
        EXPECT_EQ(Column(1), C.After) << C.Name;
        EXPECT_EQ(Grid->HiddenRowList()->Count(), 0) << C.Name;
        Grid->ClearRowSelection();
    }
}

TEST_F(FilterTest, ARowInsertedBesideThePlaceholderKeepsBoth)
{
    Fill(3, 4);
    FilterOn("zzz");
    Grid->InsertRows(1, 1);
    Grid->SetCells(1, 1, "new");
    Grid->SetFilterActive(false);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "new", ""}));
}

TEST_F(FilterTest, HidingARangeSkipsRowsAlreadyHidden)
{
    Fill(3, 6);
    Grid->HideRowRange(2, 3);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r4", "r5"}));
    // Starting on a hidden row does nothing.
    Grid->HideRowRange(3, 5);
    EXPECT_EQ(Grid->RowCount(), 4);
    Grid->HideRowRange(1, 4);
    EXPECT_EQ(Column(1), (Texts{"r0", "r5"}));
    EXPECT_EQ(HiddenIdx(), (std::vector<int>{2, 3, 1, 4}));
    Grid->UnHideRowRange(1, 3);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r5"}));
    Grid->UnHideAllRows();
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r4", "r5"}));
}

TEST_F(FilterTest, ShowingARangeWithShownRowsInsidePutsEachRowBackInPlace)
{
    Fill(3, 6);
    Grid->HideRowRange(2, 2);
    Grid->HideRowRange(4, 4);
    // Starting on a row that shows does nothing.
    Grid->UnHideRowRange(1, 4);
    EXPECT_EQ(Grid->RowCount(), 4);
    Grid->UnHideRowRange(2, 4);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1", "r2", "r3", "r4", "r5"}));
}

TEST_F(FilterTest, SwitchingToTheSameValueDoesNothing)
{
    Fill(3, 6);
    Grid->SetFilterActive(false);
    EXPECT_EQ(Grid->RowCount(), 6);
    FilterOn("r1");
    Grid->SetFilterActive(true);
    EXPECT_EQ(Column(1), (Texts{"r0", "r1"}));
}

} // namespace
