// The grid's own text file: the rule lists byte for byte, hidden columns, line breaks, refused
// files that leave the grid as it was, and a save that fails without harming the old file.
#include "controls/grid/advgrid.h"
#include "tests/support/processrole.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace {

using TestSupport::TempFolderTest;

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

std::string Fixture(const std::string& Name)
{
    return std::string(TARNWICK_FIXTURES) + "/grid/" + Name;
}

void Fill(TAdvStringGrid& Grid, const std::vector<std::vector<std::string>>& Rows)
{
    for (std::size_t R = 0; R < Rows.size(); ++R)
        for (std::size_t C = 0; C < Rows[R].size(); ++C)
            Grid.SetCells(int(C), int(R), Rows[R][C]);
}

class GridFileTest : public TempFolderTest {
protected:
    TAdvStringGrid Grid{nullptr};
};

TEST_F(GridFileTest, WritesTheEightLineExample)
{
    Grid.SetColCount(2);
    Grid.SetRowCount(3);
    Grid.SetFixedRows(1);
    Grid.SetColWidths(0, 64);
    Grid.SetColWidths(1, 120);
    Fill(Grid, {{"Word", "Hits"}, {"free", "3"}, {"", "0"}});
    Grid.SaveToFile(Folder + "x.txt");
    EXPECT_EQ(ReadFile(Fixture("example.txt")), ReadFile(Folder + "x.txt"));
}

struct TRuleList {
    const char* File;
    std::vector<int> Widths;
};

TEST_F(GridFileTest, RuleListsReadBackByteForByte)
{
    const std::vector<TRuleList> Lists = {{"subj.lst", {20, 112, 231, 29, 39, 38}},
                                          {"header.lst", {20, 112, 221, 38, 36, 43}},
                                          {"from.lst", {20, 77, 105, 188, 39, 39}}};
    for (const TRuleList& L : Lists) {
        TAdvStringGrid G(nullptr);
        G.LoadFromFile(Fixture(L.File));
        EXPECT_EQ(6, G.ColCount()) << L.File;
        for (int C = 0; C < 6; ++C)
            EXPECT_EQ(L.Widths[std::size_t(C)], G.ColWidths(C)) << L.File;
        G.SaveToFile(Folder + L.File);
        EXPECT_EQ(ReadFile(Fixture(L.File)), ReadFile(Folder + L.File)) << L.File;
    }
}

// The white list: loaded with column 6 shown, then hidden, and saved with IncludeHiddenCells.
TEST_F(GridFileTest, WhiteListWithItsHiddenColumnRoundTrips)
{
    Grid.IncludeHiddenCells = true;
    Grid.LoadFromFile(Fixture("except.lst"));
    ASSERT_EQ(7, Grid.ColCount());
    Grid.HideColumn(6);
    EXPECT_EQ(6, Grid.ColCount());
    EXPECT_EQ("7", Grid.Cells(6, 1));
    Grid.SaveToFile(Folder + "except.lst");
    EXPECT_EQ(ReadFile(Fixture("except.lst")), ReadFile(Folder + "except.lst"));

    // Read back into the grid that still hides column 6: it stays hidden, nothing is lost.
    Grid.SetCells(6, 2, "changed");
    Grid.LoadFromFile(Folder + "except.lst");
    EXPECT_EQ(6, Grid.ColCount());
    EXPECT_FALSE(Grid.IsColumnVisible(6));
    EXPECT_EQ("3", Grid.Cells(6, 2));
    EXPECT_EQ(30, Grid.RememberedColWidth(6));
    Grid.SaveToFile(Folder + "again.lst");
    EXPECT_EQ(ReadFile(Fixture("except.lst")), ReadFile(Folder + "again.lst"));
}

TEST_F(GridFileTest, HiddenColumnWidthLinesCarryTheRememberedWidth)
{
    Grid.SetColCount(3);
    Grid.SetRowCount(1);
    Grid.SetColWidths(0, 10);
    Grid.SetColWidths(1, 20);
    Grid.SetColWidths(2, 30);
    Grid.HideColumn(1);
    Grid.IncludeHiddenCells = true;
    Grid.SaveToFile(Folder + "h.txt");
    EXPECT_EQ("3,1\r\ncw 0,10\r\ncw 1,20\r\ncw 2,30\r\n", ReadFile(Folder + "h.txt"));
}

struct TTextCase {
    std::string Text;
    bool Multiline;
    std::string Back;
};

TEST_F(GridFileTest, CellTextsRoundTripWithTheirLineBreaks)
{
    const std::vector<TTextCase> Cases = {{"a\r\nb", true, "a\r\nb"},
                                          {"a\r\nb", false, "a"},
                                          {"a,b,c", true, "a,b,c"},
                                          {"lone\nlf", true, "lone\nlf"},
                                          {"lone\rcr", true, "lone\rcr"},
                                          {"tab\tand\b", true, "tab\tand\b"},
                                          {"x\r\n\ty", true, "x\r\n\ty"},
                                          {"\x1b"
                                           "esc",
                                           true,
                                           "\x1b"
                                           "esc"}};
    for (const TTextCase& Case : Cases) {
        TAdvStringGrid G(nullptr);
        G.SetColCount(3);
        G.SetRowCount(6);
        G.SetCells(2, 5, Case.Text);
        G.SaveToFile(Folder + "t.txt");
        TAdvStringGrid Back(nullptr);
        Back.SetMultilinecells(Case.Multiline);
        Back.LoadFromFile(Folder + "t.txt");
        EXPECT_EQ(Case.Back, Back.Cells(2, 5)) << Case.Text;
        const std::string Written = ReadFile(Folder + "t.txt");
        EXPECT_EQ(5, std::count(Written.begin(), Written.end(), '\n')) << "one line per cell";
    }
}

TEST_F(GridFileTest, LoadMakesTheGridHoldTheFile)
{
    Grid.SetColCount(4);
    Grid.SetRowCount(6);
    Fill(Grid, {{"old", "old"}, {"old"}, {}, {}, {}, {"", "", "", "stale"}});
    std::ofstream(Folder + "f.txt", std::ios::binary) << "2,2\r\n1,1,new\r\n";
    Grid.LoadFromFile(Folder + "f.txt");
    EXPECT_EQ(2, Grid.ColCount());
    EXPECT_EQ(2, Grid.RowCount());
    EXPECT_EQ("", Grid.Cells(0, 0));
    EXPECT_EQ("new", Grid.Cells(1, 1));
    // Regrown, the grid shows nothing of what it held before.
    Grid.SetColCount(4);
    Grid.SetRowCount(6);
    EXPECT_EQ("", Grid.Cells(3, 5));
}

struct TLineCase {
    std::string File;
    int Cols, Rows;
    int Col, Row;
    std::string Text;
};

TEST_F(GridFileTest, ReadsLinesAsTheFormatSays)
{
    const std::vector<TLineCase> Cases = {
        {"0,0\r\n", 1, 1, 0, 0, ""},
        {"2,2\r\nwhole line\r\n", 2, 2, 0, 0, "whole line"},
        {"3,6\r\n2,5,a,b,c\r\n", 3, 6, 2, 5, "a,b,c"},
        {" $3,0x2\r\n2,1,hex\r\n", 3, 2, 2, 1, "hex"},
        {"2,2\n1,1,lf only\n", 2, 2, 1, 1, "lf only"},
    };
    for (const TLineCase& Case : Cases) {
        TAdvStringGrid G(nullptr);
        std::ofstream(Folder + "l.txt", std::ios::binary | std::ios::trunc) << Case.File;
        G.LoadFromFile(Folder + "l.txt");
        EXPECT_EQ(Case.Cols, G.ColCount()) << Case.File;
        EXPECT_EQ(Case.Rows, G.RowCount()) << Case.File;
        EXPECT_EQ(Case.Text, G.Cells(Case.Col, Case.Row)) << Case.File;
    }
}

TEST_F(GridFileTest, RefusedFilesLeaveTheGridAsItWas)
{
    const std::vector<std::string> Files = {"4000000000,3\r\n0,0,x\r\n", "20000,20000\r\n",
                                            "3,99999999999999999999\r\n", "16384,4000\r\n"};
    for (const std::string& File : Files) {
        TAdvStringGrid G(nullptr);
        G.SetColCount(3);
        G.SetRowCount(4);
        G.SetColWidths(1, 77);
        G.SetCells(1, 2, "kept");
        std::ofstream(Folder + "bad.txt", std::ios::binary | std::ios::trunc) << File;
        try {
            G.LoadFromFile(Folder + "bad.txt");
            ADD_FAILURE() << "loaded " << File;
        } catch (const EAdvGridError& E) {
            EXPECT_EQ("File contains no data or corrupt file " + Folder + "bad.txt", E.Message());
        }
        EXPECT_EQ(3, G.ColCount());
        EXPECT_EQ(4, G.RowCount());
        EXPECT_EQ(77, G.ColWidths(1));
        EXPECT_EQ("kept", G.Cells(1, 2));
    }
    EXPECT_THROW(Grid.LoadFromFile(Folder + "missing.txt"), EAdvGridError);
}

TEST_F(GridFileTest, WidthsOutsideTheirRangeLeaveTheColumn)
{
    Grid.SetColCount(4);
    Grid.SetColWidths(0, 50);
    Grid.SetColWidths(1, 50);
    Grid.SetColWidths(2, 50);
    std::ofstream(Folder + "w.txt", std::ios::binary)
        << "4,1\r\ncw 0,-2\r\ncw 1,32768\r\ncw 2,32767\r\ncw 9,5\r\n";
    Grid.LoadFromFile(Folder + "w.txt");
    EXPECT_EQ(50, Grid.ColWidths(0));
    EXPECT_EQ(50, Grid.ColWidths(1));
    EXPECT_EQ(32767, Grid.ColWidths(2));
}

TEST_F(GridFileTest, FixedCellsLeftOutAreAddedBackOnLoad)
{
    Grid.SetColCount(2);
    Grid.SetRowCount(3);
    Grid.SetFixedRows(1);
    Grid.SetFixedCols(0);
    Grid.SetCells(0, 0, "head");
    Grid.SetCells(1, 2, "data");
    Grid.IncludeFixedCells = false;
    Grid.SaveToFile(Folder + "n.txt");
    EXPECT_EQ(0u, ReadFile(Folder + "n.txt").find("2,2\r\n"));
    Grid.SetRowCount(9);
    Grid.LoadFromFile(Folder + "n.txt");
    EXPECT_EQ(3, Grid.RowCount());
    EXPECT_EQ("head", Grid.Cells(0, 0));
    EXPECT_EQ("data", Grid.Cells(1, 2));
}

TEST_F(GridFileTest, ProgressStaysWithinAHundredAndFiresOnChange)
{
    Grid.SetColCount(1);
    Grid.SetRowCount(5);
    Grid.SetFixedRows(1);
    Grid.IncludeFixedCells = false;
    for (int R = 0; R < 5; ++R)
        Grid.SetCells(0, R, "r");
    std::vector<int> Seen;
    Grid.OnFileProgress = [&Seen](TObject*, short P) { Seen.push_back(P); };
    Grid.SaveToFile(Folder + "p.txt");
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(100, Seen.back());
    Seen.clear();
    std::ofstream(Folder + "q.txt", std::ios::binary)
        << "1,2\r\n0,0,a\r\n0,900,far\r\n0,-5,neg\r\n";
    Grid.IncludeFixedCells = true;
    Grid.LoadFromFile(Folder + "q.txt");
    for (int P : Seen) {
        EXPECT_GE(P, 0);
        EXPECT_LE(P, 100);
    }
    for (std::size_t I = 1; I < Seen.size(); ++I)
        EXPECT_NE(Seen[I - 1], Seen[I]);
}

TEST_F(GridFileTest, SaveThatCannotCreateRaisesAndCreatesNothing)
{
    try {
        Grid.SaveToFile(Folder + "no/such/folder/x.txt");
        ADD_FAILURE() << "saved";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ("Cannot Create " + Folder + "no/such/folder/x.txt", E.Message());
    }
}

TARNWICK_PROCESS_ROLE(GridSaveUnderFileSizeLimit)
{
    const char* Name = std::getenv("GRID_SAVE_FILE");
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit Limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &Limit);
    TAdvStringGrid G(nullptr);
    G.SetColCount(2);
    G.SetRowCount(50);
    for (int R = 0; R < 50; ++R)
        G.SetCells(1, R, "a text long enough to pass the limit");
    try {
        G.SaveToFile(Name);
    } catch (const EInOutError&) {
        return 0;
    } catch (const Exception& E) {
        std::fprintf(stderr, "wrong exception: %s\n", E.Message().c_str());
        return 2;
    }
    std::fprintf(stderr, "the save did not fail\n");
    return 1;
}

TEST_F(GridFileTest, FailedSaveRaisesAndLeavesTheOldFileWhole)
{
    const std::string Name = Folder + "keep.lst";
    const std::string Old = ReadFile(Fixture("subj.lst"));
    std::ofstream(Name, std::ios::binary) << Old;
    const pid_t Child =
        TestSupport::StartProcessRole("GridSaveUnderFileSizeLimit", {"GRID_SAVE_FILE=" + Name});
    int Status = 0;
    ASSERT_EQ(Child, ::waitpid(Child, &Status, 0));
    ASSERT_TRUE(WIFEXITED(Status));
    EXPECT_EQ(0, WEXITSTATUS(Status));
    EXPECT_EQ(Old, ReadFile(Name));
}

} // namespace
