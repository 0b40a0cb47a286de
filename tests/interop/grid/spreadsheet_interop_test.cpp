// The spreadsheet import through the stand-in server: workbooks made by ssconvert from CSV
// fixtures, imported whole, by sheet name, and refused for a missing sheet.
#include "controls/grid/advgrid.h"
#include "platform/rtl/process.h"
#include "platform/ui/oleauto.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestSupport::TempFolderTest;

bool HaveConverter()
{
    try {
        CreateOleObject("excel.application").OleProcedure("Quit");
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void Convert(const std::vector<std::string>& Args)
{
    TSpawnOptions Options;
    Options.Argv = {"ssconvert"};
    Options.Argv.insert(Options.Argv.end(), Args.begin(), Args.end());
    const int Null = ::open("/dev/null", O_WRONLY);
    Options.OutputFd = Null;
    Options.Group = sgCallerGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    ::close(Null);
    ASSERT_GT(Started.Pid, 0);
    int Status = 0;
    ::waitpid(Started.Pid, &Status, 0);
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
}

class SpreadsheetInteropTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        // The server's private folders go to the test's own folder, so that tests running
        // beside this one cannot change the count of what is left there.
        const char* Old = std::getenv("TMPDIR");
        OldTmpDir = Old != nullptr ? std::optional<std::string>(Old) : std::nullopt;
        ::setenv("TMPDIR", Folder.c_str(), 1);
        if (!HaveConverter())
            GTEST_SKIP() << "ssconvert is not on the PATH";
        std::ofstream(Folder + "Rules.csv") << "What,Matches,Hits\nContains,\"cheap, pills\",12\n"
                                               "Equals,spam,0\n";
        std::ofstream(Folder + "Other.csv") << "a,b\n1,2\n";
    }
    void TearDown() override
    {
        if (OldTmpDir)
            ::setenv("TMPDIR", OldTmpDir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    std::optional<std::string> OldTmpDir;
    std::size_t Leftovers() const
    {
        std::size_t N = 0;
        for (const auto& E :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
            N += E.path().filename().string().rfind("tarnwick-sheets-", 0) == 0;
        return N;
    }
};

TEST_F(SpreadsheetInteropTest, ImportsEachWorkbookFormat)
{
    for (const char* Ext : {"xlsx", "xls", "ods", "gnumeric"}) {
        const std::string Book = Folder + "rules." + Ext;
        Convert({Folder + "Rules.csv", Book});
        TAdvStringGrid Grid(nullptr);
        const std::size_t Before = Leftovers();
        Grid.LoadFromSpreadsheet(Book);
        EXPECT_EQ(3, Grid.ColCount()) << Ext;
        EXPECT_EQ(3, Grid.RowCount()) << Ext;
        EXPECT_EQ("Matches", Grid.Cells(1, 0)) << Ext;
        EXPECT_EQ("cheap, pills", Grid.Cells(1, 1)) << Ext;
        EXPECT_EQ("0", Grid.Cells(2, 2)) << Ext;
        EXPECT_EQ(Before, Leftovers()) << "the private folder goes with Close";
    }
}

TEST_F(SpreadsheetInteropTest, ImportsANamedSheetOrRefusesAMissingOne)
{
    const std::string Book = Folder + "two.xlsx";
    Convert({"-M", Book, Folder + "Other.csv", Folder + "Rules.csv"});
    TAdvStringGrid Grid(nullptr);
    Grid.LoadFromSpreadsheetSheet(Book, "Rules.csv");
    EXPECT_EQ("cheap, pills", Grid.Cells(1, 1));
    Grid.LoadFromSpreadsheet(Book);
    EXPECT_EQ("a", Grid.Cells(0, 0));
    EXPECT_EQ(2, Grid.ColCount());
    try {
        Grid.LoadFromSpreadsheetSheet(Book, "Nowhere");
        ADD_FAILURE() << "imported";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ("Excel worksheet Nowhere not found", E.Message());
    }
    EXPECT_EQ("a", Grid.Cells(0, 0));
}

TEST_F(SpreadsheetInteropTest, AMissingWorkbookRaises)
{
    TAdvStringGrid Grid(nullptr);
    EXPECT_THROW(Grid.LoadFromSpreadsheet(Folder + "none.xlsx"), EOleError);
}

} // namespace
