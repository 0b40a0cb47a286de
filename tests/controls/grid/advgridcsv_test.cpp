// The CSV load: delimiter detection, quoted fields, line breaks, offsets and a grid that holds
// exactly the file afterwards.
#include "controls/grid/advgrid.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

using TestSupport::TempFolderTest;

using TRows = std::vector<std::vector<std::string>>;

struct TCsvCase {
    const char* Name;
    std::string File;
    char Delimiter; // '\0': detect
    bool Tilde;
    TRows Cells;
};

class GridCsvTest : public TempFolderTest {
protected:
    void Load(TAdvStringGrid& Grid, const std::string& Text)
    {
        std::ofstream(Folder + "f.csv", std::ios::binary | std::ios::trunc) << Text;
        Grid.LoadFromCSV(Folder + "f.csv");
    }
};

TEST_F(GridCsvTest, ReadsFieldsAsTheyWereWritten)
{
    const std::vector<TCsvCase> Cases = {
        {"semicolons", "a;b;c\r\n1;2;3\r\n", '\0', false, {{"a", "b", "c"}, {"1", "2", "3"}}},
        {"one line, no delimiter", "a;b;c\r\n", '\0', false, {{"a;b;c"}}},
        {"doubled quote", "\"x\"\"y\",z\r\n1,2\r\n", '\0', false, {{"x\"y", "z"}, {"1", "2"}}},
        {"first lone quote closes",
         "\"x\"\"\",z\r\n1,2\r\n",
         '\0',
         false,
         {{"x\"", "z"}, {"1", "2"}}},
        {"never closes", "a,\"open\r\nb,c\r\n", ',', false, {{"a", ""}, {"b", "c"}}},
        {"spans lines", "\"one\ntwo\",x\r\n1,2\r\n", ',', false, {{"one\r\ntwo", "x"}, {"1", "2"}}},
        {"tilde", "one~two,x\r\n1,2\r\n", '\0', true, {{"one\r\ntwo", "x"}, {"1", "2"}}},
        {"tab set", "a\tb,c\n", '\t', false, {{"a", "b,c"}}},
        {"empty fields", ",,\r\n,,\r\n", '\0', false, {{"", "", ""}, {"", "", ""}}},
        {"no final line end", "a|b\n1|2", '\0', false, {{"a", "b"}, {"1", "2"}}},
    };
    for (const TCsvCase& Case : Cases) {
        TAdvStringGrid G(nullptr);
        G.CSVDelimiter = Case.Delimiter;
        G.TildeLineBreaks = Case.Tilde;
        Load(G, Case.File);
        EXPECT_EQ(int(Case.Cells.size()), G.RowCount()) << Case.Name;
        for (std::size_t R = 0; R < Case.Cells.size(); ++R)
            for (std::size_t C = 0; C < Case.Cells[R].size(); ++C)
                EXPECT_EQ(Case.Cells[R][C], G.Cells(int(C), int(R)))
                    << Case.Name << " " << C << "," << R;
        EXPECT_EQ(Case.Delimiter, G.CSVDelimiter) << "the detected delimiter serves one load";
    }
}

TEST_F(GridCsvTest, ColumnsGrowAndOldCellsGo)
{
    TAdvStringGrid G(nullptr);
    G.SetColCount(2);
    G.SetRowCount(8);
    G.SetCells(1, 0, "old");
    G.SetCells(0, 7, "stale");
    Load(G, "a,b,c,d\r\n1,2,3,4\r\n");
    EXPECT_EQ(4, G.ColCount());
    EXPECT_EQ(2, G.RowCount());
    EXPECT_EQ("b", G.Cells(1, 0));
    G.SetRowCount(8);
    EXPECT_EQ("", G.Cells(0, 7));
}

TEST_F(GridCsvTest, FixedCellsStayWhenLeftOut)
{
    TAdvStringGrid G(nullptr);
    G.SetColCount(3);
    G.SetRowCount(3);
    G.SetFixedRows(1);
    G.SetFixedCols(1);
    G.SetCells(1, 0, "head");
    G.IncludeFixedCells = false;
    Load(G, "a,b\r\n1,2\r\n");
    EXPECT_EQ(3, G.RowCount());
    EXPECT_EQ("head", G.Cells(1, 0));
    EXPECT_EQ("a", G.Cells(1, 1));
    EXPECT_EQ("2", G.Cells(2, 2));
}

TEST_F(GridCsvTest, OemTextIsConvertedBeforeSplitting)
{
    TAdvStringGrid G(nullptr);
    G.SetOemConvert(true);
    // 0x81 is u with diaeresis in the OEM code page.
    Load(G, "M\x81nchen;x\r\n1;2\r\n");
    EXPECT_EQ("M\xc3\xbcnchen", G.Cells(0, 0));
}

TEST_F(GridCsvTest, ProgressEndsAtAHundred)
{
    TAdvStringGrid G(nullptr);
    std::vector<int> Seen;
    G.OnFileProgress = [&Seen](TObject*, short P) { Seen.push_back(P); };
    Load(G, "a,b\r\n1,2\r\n3,4\r\n");
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(100, Seen.back());
    EXPECT_THROW(G.LoadFromCSV(Folder + "missing.csv"), EAdvGridError);
}

} // namespace
