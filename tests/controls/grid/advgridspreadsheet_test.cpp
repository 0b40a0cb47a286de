// The spreadsheet import against a scripted automation server registered under the program
// identifier: the calls in their order, a named sheet, and the failure paths.
#include "controls/grid/advgrid.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/ui/cursors.h"
#include "platform/ui/oleauto.h"
#include "platform/ui/screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// Records every call; answers from a script of sheets; can fail one call by name.
struct TScript {
    std::vector<std::string> Calls;
    std::string FailOn;
    std::string Address = "$B$2:$C$4";
    std::vector<std::string> SheetNames = {"First", "Rules"};
    bool SavedChanges = true;
};

class TFakeObject : public IAutoObject {
public:
    TFakeObject(std::shared_ptr<TScript> Script, std::string Kind, int Index = 0)
        : FScript(std::move(Script)), FKind(std::move(Kind)), FIndex(Index)
    {
    }
    TOleVariant Invoke(const std::string& Name, TInvokeKind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedParam>& Named) override
    {
        std::string Call = FKind + "." + Name;
        for (const TOleVariant& A : Args)
            Call += " " + A.ToString();
        for (const TNamedParam& P : Named)
            Call += " " + P.Name + "=" + P.Value.ToString();
        FScript->Calls.push_back(Call);
        if (Name == FScript->FailOn)
            throw EOleError("Call failed: " + Name);
        if (Name == "WorkBooks")
            return Make("Books");
        if (Name == "Open")
            return Make("Book");
        if (Name == "Sheets" && Args.empty())
            return Make("Sheets");
        if (Name == "Sheets")
            return Make("Sheet", int(Args[0].ToInteger()));
        if (Name == "Count")
            return TOleVariant(int(FScript->SheetNames.size()));
        if (Name == "Name")
            return TOleVariant(FScript->SheetNames[std::size_t(FIndex - 1)]);
        if (Name == "ActiveSheet")
            return Make("Sheet", 1);
        if (Name == "UsedRange")
            return Make("Used", FIndex);
        if (Name == "Address")
            return TOleVariant(FScript->Address);
        if (Name == "Range")
            return Make("Range", FIndex);
        if (Name == "Value") {
            TOleVariant A = TOleVariant::Array2D(3, 2);
            for (int R = 1; R <= 3; ++R)
                for (int C = 1; C <= 2; ++C)
                    A.SetItem(R, C,
                              TOleVariant("s" + IntToStr(FIndex) + "r" + IntToStr(R) + "c" +
                                          IntToStr(C)));
            A.SetItem(3, 2, TOleVariant(2.5));
            return A;
        }
        if (Name == "Close") {
            FScript->SavedChanges = Named.empty() || Named[0].Value.ToBoolean();
            return TOleVariant();
        }
        return TOleVariant();
    }

private:
    TOleVariant Make(const std::string& Kind, int Index = 0)
    {
        return TOleVariant(std::make_shared<TFakeObject>(FScript, Kind, Index));
    }
    std::shared_ptr<TScript> FScript;
    std::string FKind;
    int FIndex;
};

class GridSpreadsheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Screen == nullptr) {
            FScreen = std::make_unique<TScreen>(nullptr);
            Screen = FScreen.get();
        }
        FOld = RegisterOleServer("Excel.Application",
                                 [this]() { return std::make_shared<TFakeObject>(Script, "App"); });
    }
    void TearDown() override
    {
        RegisterOleServer("excel.application", FOld);
        if (FScreen) {
            Screen = nullptr;
            FScreen.reset();
        }
    }

    std::shared_ptr<TScript> Script = std::make_shared<TScript>();
    TAdvStringGrid Grid{nullptr};

private:
    TOleServerFactory FOld;
    std::unique_ptr<TScreen> FScreen;
};

TEST_F(GridSpreadsheetTest, ImportsTheUsedRangeOfTheActiveSheet)
{
    Grid.LoadFromSpreadsheet("book.xlsx");
    EXPECT_EQ(2, Grid.ColCount());
    EXPECT_EQ(3, Grid.RowCount());
    EXPECT_EQ("s1r1c1", Grid.Cells(0, 0));
    EXPECT_EQ("2.5", Grid.Cells(1, 2));
    const std::vector<std::string> Expected = {
        "App.WorkBooks", "Books.Open book.xlsx", "Book.ActiveSheet", "Sheet.UsedRange",
        "Used.Address",  "Sheet.Range B2:C4",    "Range.Value",      "Book.Close SaveChanges=False",
        "App.Quit"};
    EXPECT_EQ(Expected, Script->Calls);
    EXPECT_EQ(crDefault, Screen->Cursor());
}

TEST_F(GridSpreadsheetTest, NamedSheetIsTheLastOfThatName)
{
    Grid.SetFixedRows(1);
    Grid.SetFixedCols(1);
    Grid.IncludeFixedCells = false;
    Grid.LoadFromSpreadsheetSheet("book.xlsx", "Rules");
    EXPECT_EQ(3, Grid.ColCount());
    EXPECT_EQ(4, Grid.RowCount());
    EXPECT_EQ("s2r1c1", Grid.Cells(1, 1));
}

TEST_F(GridSpreadsheetTest, MissingSheetClosesUnsavedAndQuits)
{
    Grid.SetCells(0, 0, "kept");
    try {
        Grid.LoadFromSpreadsheetSheet("book.xlsx", "Nowhere");
        ADD_FAILURE() << "imported";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ("Excel worksheet Nowhere not found", E.Message());
    }
    EXPECT_EQ("Book.Close SaveChanges=False", Script->Calls[Script->Calls.size() - 2]);
    EXPECT_EQ("App.Quit", Script->Calls.back());
    EXPECT_FALSE(Script->SavedChanges);
    EXPECT_EQ("kept", Grid.Cells(0, 0));
    EXPECT_EQ(crDefault, Screen->Cursor());
}

TEST_F(GridSpreadsheetTest, CallFailingMidWayResetsEverything)
{
    for (const char* Fail : {"UsedRange", "Value", "Open"}) {
        Script->Calls.clear();
        Script->FailOn = Fail;
        EXPECT_THROW(Grid.LoadFromSpreadsheet("book.xlsx"), EOleError) << Fail;
        EXPECT_EQ("App.Quit", Script->Calls.back()) << Fail;
        const bool Opened = std::string(Fail) != "Open";
        EXPECT_EQ(Opened, std::find(Script->Calls.begin(), Script->Calls.end(),
                                    "Book.Close SaveChanges=False") != Script->Calls.end())
            << Fail;
        EXPECT_EQ(crDefault, Screen->Cursor());
    }
}

TEST_F(GridSpreadsheetTest, NoServerMeansNotFound)
{
    RegisterOleServer("excel.application", TOleServerFactory());
    try {
        Grid.LoadFromSpreadsheet("book.xlsx");
        ADD_FAILURE() << "imported";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ("Excel OLE server not found", E.Message());
    }
    EXPECT_EQ(crDefault, Screen->Cursor());
}

TEST_F(GridSpreadsheetTest, SingleUsedCellIsBothCorners)
{
    Script->Address = "$D$7";
    Grid.LoadFromSpreadsheet("book.xlsx");
    EXPECT_EQ(1, Grid.ColCount());
    EXPECT_EQ(1, Grid.RowCount());
    EXPECT_EQ("Sheet.Range D7:D7", Script->Calls[5]);
}

} // namespace
