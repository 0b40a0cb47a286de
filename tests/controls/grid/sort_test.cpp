// The grid's sorting: the comparison of every sort style, single-column and indexed sorts, what
// moves and what stays, handlers that answer at random or raise, and the update count.
#include "controls/grid/advgrid.h"
#include "platform/gfx/recordingdevice.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/messages.h"
#include "tests/controls/grid/advgridfixture.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TRows = std::vector<std::vector<std::string>>;

class SortTest : public AdvGridTest {
protected:
    void SetUp() override
    {
        AdvGridTest::SetUp();
        Saved = FormatSettings;
        FormatSettings.ThousandSeparator = ',';
        FormatSettings.DecimalSeparator = '.';
        FormatSettings.DateSeparator = '/';
        FormatSettings.ShortDateFormat = "M/d/yyyy";
    }
    void TearDown() override
    {
        FormatSettings = Saved;
        AdvGridTest::TearDown();
    }
    // Row 0 is the fixed header; the data rows follow.
    void Fill(const TRows& Rows)
    {
        Grid->SetRowCount(static_cast<int>(Rows.size()) + 1);
        Grid->SetColCount(static_cast<int>(Rows[0].size()));
        for (int C = 0; C < Grid->ColCount(); ++C)
            Grid->SetCells(C, 0, "H" + std::to_string(C));
        for (std::size_t R = 0; R < Rows.size(); ++R)
            for (std::size_t C = 0; C < Rows[R].size(); ++C)
                Grid->SetCells(static_cast<int>(C), static_cast<int>(R) + 1, Rows[R][C]);
    }
    std::vector<std::string> Column(int C)
    {
        std::vector<std::string> Result;
        for (int R = Grid->FixedRows(); R < Grid->RowCount(); ++R)
            Result.push_back(Grid->Cells(C, R));
        return Result;
    }
    TRows AllRows(int Cols)
    {
        TRows Result;
        for (int R = 0; R < Grid->RowCount(); ++R) {
            std::vector<std::string> Line;
            for (int C = 0; C < Cols; ++C)
                Line.push_back(Grid->Cells(C, R));
            Result.push_back(Line);
        }
        return Result;
    }
    void UseStyle(TSortStyle Style, const std::string& Prefix = "", const std::string& Suffix = "")
    {
        Grid->OnGetFormat = [=](TObject*, int, TSortStyle& S, std::string& P, std::string& X) {
            S = Style;
            P = Prefix;
            X = Suffix;
        };
    }
    TFormatSettings Saved;
};

TEST_F(SortTest, CompareCellsFollowsEachStyle)
{
    struct TCase {
        TSortStyle Style;
        std::string Suffix;
        std::string A;
        std::string B;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {1, "", "b", "a", 1},
        {1, "", "a", "B", 1},
        {5, "", "a", "B", 1},
        {4, "", "a", "B", -1},
        {4, "", "abc", "ABC", 0},
        {2, "", "10", "9", 1},
        {2, "", "", "0", 0},
        {2, "", "", "-1", 1},
        {2, "", "abc", "5", 0},
        {2, "", "1,234", "5", 0},
        {2, " kg", "10 kg", "9 kg", 1},
        {9, "", "1,234", "999", 1},
        {9, "", "-1,000.5", "-999", -1},
        {3, "", "1/2/2020", "12/1/2019", 1},
        {3, "", "not a date", "1/1/1900", -1},
        {6, "", "31/12/99", "01/01/00", -1},
        {6, "", "1.2.2020", "31-1-2020", 1},
        {6, "", "31/02/2020", "01/01/1990", -1},
        {7, "", "12/31/99", "01/01/00", -1},
        {7, "", "02/01/2020", "01/31/2020", 1},
        {0, "", "10", "9", 1},
        {0, "", "b", "a", 1},
        {0, "", "1/2/2020", "12/1/2019", 1},
        {8, "", "a", "b", 0},
        {10, "", "a", "B", 1},
        {11, "", "a", "B", -1},
        {11, "", "\xC3\xA9", "\xC3\x89", 0},
        {12, "", "a", "b", 0},
        {13, "", "<b>b</b>", "a", 1},
        {13, "", "<i>a</i>", "b", -1},
        {14, "", "x", "y", 0},
        {99, "", "b", "a", 1},
    };
    Fill({{"", ""}, {"", ""}});
    for (const TCase& Case : Cases) {
        UseStyle(Case.Style, "", Case.Suffix);
        Grid->SetCells(1, 1, Case.A);
        Grid->SetCells(1, 2, Case.B);
        EXPECT_EQ(Grid->CompareCells(1, 1, 2), Case.Expected)
            << "style " << Case.Style << ": '" << Case.A << "' against '" << Case.B << "'";
    }
}

TEST_F(SortTest, SortsColumnsAsTheUserExpects)
{
    struct TCase {
        std::string Name;
        TSortStyle Style;
        std::string Suffix;
        TSortDirection Direction;
        bool IgnoreBlanks;
        std::vector<std::string> Cells;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> Cases = {
        {"plain text", 1, "", sdAscending, false, {"b", "a", "c"}, {"a", "b", "c"}},
        {"descending", 1, "", sdDescending, false, {"b", "a", "c"}, {"c", "b", "a"}},
        {"suffix",
         2,
         " kg",
         sdAscending,
         false,
         {"10 kg", "9 kg", "100 kg"},
         {"9 kg", "10 kg", "100 kg"}},
        {"empty as zero", 2, "", sdAscending, false, {"5", "", "-1"}, {"-1", "", "5"}},
        {"blanks last ascending",
         2,
         "",
         sdAscending,
         true,
         {"", "2", "0", "", "1"},
         {"0", "1", "2", "", ""}},
        {"blanks last descending",
         2,
         "",
         sdDescending,
         true,
         {"", "2", "0", "", "1"},
         {"2", "1", "0", "", ""}},
        {"blanks last as text", 1, "", sdDescending, true, {"b", "", "a"}, {"b", "a", ""}},
        {"day first dates",
         6,
         "",
         sdAscending,
         false,
         {"01/01/00", "31/12/99"},
         {"31/12/99", "01/01/00"}},
        {"month first dates",
         7,
         "",
         sdDescending,
         false,
         {"12/31/1999", "1/1/2000", "6/1/99"},
         {"1/1/2000", "12/31/1999", "6/1/99"}},
    };
    for (const TCase& Case : Cases) {
        TRows Rows;
        for (const std::string& Cell : Case.Cells)
            Rows.push_back({"", Cell});
        Fill(Rows);
        UseStyle(Case.Style, "", Case.Suffix);
        Grid->SetSortColumn(1);
        Grid->SetSortDirection(Case.Direction);
        Grid->SetSortIgnoreBlanks(Case.IgnoreBlanks);
        Grid->SortByColumn();
        EXPECT_EQ(Column(1), Case.Expected) << Case.Name;
        EXPECT_EQ(Grid->Cells(1, 0), "H1") << Case.Name;
    }
}

TEST_F(SortTest, TiesGoToTheNextColumnsOnlyWithSortFull)
{
    Fill({{"", "x", "2", "b"}, {"", "x", "1", "a"}, {"", "a", "9", "c"}, {"", "x", "1", "A"}});
    Grid->SetSortColumn(1);
    Grid->SetSortFull(false);
    Grid->SortByColumn();
    // Equal rows keep their order.
    EXPECT_EQ(Column(2), (std::vector<std::string>{"9", "2", "1", "1"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"c", "b", "a", "A"}));
    Grid->SetSortFull(true);
    Grid->SortByColumn();
    EXPECT_EQ(Column(2), (std::vector<std::string>{"9", "1", "1", "2"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"c", "A", "a", "b"}));
}

TEST_F(SortTest, ARandomHandlerLeavesAPermutationOfTheRows)
{
    TRows Rows;
    for (int I = 0; I < 300; ++I)
        Rows.push_back({"", std::to_string(I), "x" + std::to_string(I % 7)});
    for (TSortStyle Style : {8, 12}) {
        Fill(Rows);
        UseStyle(Style);
        std::mt19937 Random(static_cast<unsigned>(Style));
        Grid->OnCustomCompare = [&](TObject*, const std::string&, const std::string&, int& Res) {
            Res = static_cast<int>(Random() % 3) - 1;
        };
        Grid->OnRawCompare = [&](TObject*, int, int, int, int& Res) {
            Res = static_cast<int>(Random() % 3) - 1;
        };
        Grid->SetSortColumn(1);
        Grid->SortByColumn();
        TRows After = AllRows(3);
        std::sort(After.begin() + 1, After.end());
        TRows Expected = Rows;
        std::sort(Expected.begin(), Expected.end());
        EXPECT_EQ(TRows(After.begin() + 1, After.end()), Expected) << "style " << Style;
    }
}

TEST_F(SortTest, RawCompareSeesTheRowsAsTheyStoodBeforeTheSort)
{
    const std::vector<std::string> Values = {"5", "3", "9", "1", "7", "3"};
    TRows Rows;
    for (std::size_t I = 0; I < Values.size(); ++I)
        Rows.push_back({"", Values[I], std::to_string(I)});
    Fill(Rows);
    UseStyle(12);
    bool SawChange = false;
    Grid->OnRawCompare = [&](TObject*, int Col, int Row1, int Row2, int& Res) {
        SawChange = SawChange || Col != 1 || Grid->Cells(2, Row1) != std::to_string(Row1 - 1) ||
                    Grid->Cells(2, Row2) != std::to_string(Row2 - 1);
        Res = Values[static_cast<std::size_t>(Row1 - 1)].compare(
            Values[static_cast<std::size_t>(Row2 - 1)]);
    };
    Grid->SetSortColumn(1);
    Grid->SetSortFull(false);
    Grid->SortByColumn();
    EXPECT_FALSE(SawChange);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1", "3", "3", "5", "7", "9"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"3", "1", "5", "0", "4", "2"}));
}

TEST_F(SortTest, ARaisingHandlerLeavesTheGridAsItWas)
{
    Fill({{"z", "c", "1"}, {"y", "a", "2"}, {"x", "b", "3"}, {"w", "d", "4"}});
    Grid->SetSortNormalCellsOnly(true);
    Grid->SetColWidths(2, 77);
    Grid->SetRowHeights(2, 40);
    Grid->HideColumn(2);
    Grid->SetRow(3);
    const TRows Before = AllRows(3);
    const int Rows = Grid->RowCount();
    const int Cols = Grid->ColCount();
    const int Width = Grid->ColWidths(1);
    for (TSortStyle Style : {8, 12}) {
        UseStyle(Style);
        int Calls = 0;
        Grid->OnCustomCompare = [&](TObject*, const std::string&, const std::string&, int& Res) {
            if (++Calls == 3)
                throw std::runtime_error("compare failed");
            Res = 1;
        };
        Grid->OnRawCompare = [&](TObject*, int, int, int, int& Res) {
            if (++Calls == 3)
                throw EAdvGridError("compare failed");
            Res = -1;
        };
        Grid->SetSortColumn(1);
        EXPECT_ANY_THROW(Grid->SortByColumn());
        EXPECT_EQ(AllRows(3), Before);
        EXPECT_EQ(Grid->RowCount(), Rows);
        EXPECT_EQ(Grid->ColCount(), Cols);
        EXPECT_EQ(Grid->ColWidths(1), Width);
        EXPECT_EQ(Grid->RowHeights(2), 40);
        EXPECT_EQ(Grid->Row(), 3);
        EXPECT_EQ(Grid->UpdateCount(), 0);
    }
}

TEST_F(SortTest, ASortColumnOutsideTheColumnsSortsNothing)
{
    Fill({{"b", "b"}, {"a", "a"}});
    for (int Col : {-1, 2, 1000}) {
        Grid->SetSortColumn(Col);
        Grid->SortByColumn();
        EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
    }
}

TEST_F(SortTest, IndexedSortMixesDirections)
{
    Fill({{"", "x", "1"}, {"", "y", "2"}, {"", "x", "3"}, {"", "y", "1"}, {"", "", "5"}});
    Grid->SortIndexes()->AddIndex(1, true);
    Grid->SortIndexes()->AddIndex(2, false);
    Grid->SortByIndex();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "x", "x", "y", "y"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"5", "3", "1", "2", "1"}));
    // Blanks go last in each entry's own direction.
    Grid->SortIndexes()->Clear();
    Grid->SortIndexes()->AddIndex(1, false);
    Grid->SortIndexes()->AddIndex(2, true);
    Grid->SetSortIgnoreBlanks(true);
    Grid->SortByIndex();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"y", "y", "x", "x", ""}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"1", "2", "1", "3", "5"}));
}

TEST_F(SortTest, IndexedSortWithoutIndexesRaisesAndChangesNothing)
{
    Fill({{"b"}, {"a"}});
    try {
        Grid->SortByIndex();
        FAIL() << "no error";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ(E.Message(), "No indexes specified for indexed sort");
    }
    EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(Grid->UpdateCount(), 0);
}

TEST_F(SortTest, SingleColumnSortMovesOnlyTheSortColumn)
{
    Fill({{"r1", "b", "1"}, {"r2", "c", "2"}, {"r3", "a", "3"}});
    Grid->SetSortSingleColumn(true);
    Grid->SetSortColumn(1);
    Grid->SortByColumn();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"r1", "r2", "r3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(SortTest, NormalCellsOnlyKeepsColumnZeroInPlace)
{
    Fill({{"1", "b"}, {"2", "c"}, {"3", "a"}});
    Grid->SetSortNormalCellsOnly(true);
    Grid->SetSortColumn(1);
    Grid->SortByColumn();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c"}));
    Grid->SetFixedCols(0);
    Grid->SetSortDirection(sdDescending);
    Grid->SortByColumn();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"3", "2", "1"}));
}

TEST_F(SortTest, FixedRowsAndFootersNeverMove)
{
    Fill({{"", "top"}, {"", "c"}, {"", "a"}, {"", "b"}, {"", "foot"}});
    Grid->SetFixedRows(2);
    Grid->SetFixedFooters(1);
    Grid->SetSortColumn(1);
    Grid->SortByColumn();
    EXPECT_EQ(Grid->Cells(1, 0), "H1");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c", "foot"}));
    EXPECT_EQ(Grid->Cells(1, 1), "top");
}

TEST_F(SortTest, HiddenCellsObjectsHeightsAndSelectionTravelWithTheirRows)
{
    Fill({{"", "b", "hb", "vb"}, {"", "c", "hc", "vc"}, {"", "a", "ha", "va"}});
    TObject Marker;
    Grid->SetObjects(3, 2, &Marker);
    Grid->SetRowHeights(2, 33);
    Grid->MouseActions()->DisjunctRowSelect = true;
    Grid->SetRowSelected(2, true);
    Grid->HideColumn(2);
    Grid->SetRow(2);
    Grid->SetSortColumn(1);
    Grid->SortByColumn();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"ha", "hb", "hc"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"va", "vb", "vc"}));
    EXPECT_EQ(Grid->Objects(3, 3), &Marker);
    EXPECT_EQ(Grid->Objects(3, 2), nullptr);
    EXPECT_EQ(Grid->RowHeights(3), 33);
    EXPECT_NE(Grid->RowHeights(2), 33);
    EXPECT_TRUE(Grid->RowSelected(3));
    EXPECT_FALSE(Grid->RowSelected(2));
    EXPECT_EQ(Grid->Row(), 3);
    Grid->SetObjects(3, 3, nullptr);
}

TEST_F(SortTest, SwapRowsExchangesWholeRowsOrTheSortCell)
{
    Fill({{"a", "1", "x"}, {"b", "2", "y"}});
    Grid->SetRowHeights(1, 30);
    Grid->SwapRows(1, 2);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(Grid->RowHeights(2), 30);
    Grid->SetSortSingleColumn(true);
    Grid->SetSortColumn(1);
    Grid->SwapRows(1, 2);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1", "2"}));
}

TEST_F(SortTest, UpdateCountHoldsBackErasing)
{
    Grid->BeginUpdate();
    Grid->BeginUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 2);
    EXPECT_EQ(Grid->Perform(WM_ERASEBKGND, 0, 0), 1);
    Grid->EndUpdate();
    Grid->EndUpdate();
    Grid->EndUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 0);
}

class SortPaintTest : public ::testing::Test {
protected:
    TTestApplication App;
};

TEST_F(SortPaintTest, NothingIsPaintedWhileAnUpdateRuns)
{
    TForm* Form = ShownForm(&App, 420, 320);
    auto Grid = new TAdvStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 400, 300);
    Grid->SetCells(1, 1, "text");
    Pump();
    const auto PaintCalls = [Grid] {
        TRecordingDevice Device(Grid->ClientWidth(), Grid->ClientHeight());
        TCanvas Canvas(&Device);
        Grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
        return Device.Calls().size();
    };
    Grid->BeginUpdate();
    EXPECT_EQ(PaintCalls(), 0u);
    Grid->EndUpdate();
    EXPECT_GT(PaintCalls(), 0u);
    delete Form;
}

} // namespace
