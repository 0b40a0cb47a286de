#include "tests/controls/grid/advgridfixture.h"

#include "platform/rtl/inifile.h"
#include "platform/rtl/registry.h"

namespace {

TEST_F(AdvGridTest, DisplayAndRealColumnsWithColumnsOneAndThreeHidden)
{
    Grid->SetColCount(5);
    Grid->HideColumn(1);
    Grid->HideColumn(3);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->NumHiddenColumns(), 2);
    EXPECT_EQ(Grid->RealColIndex(0), 0);
    EXPECT_EQ(Grid->RealColIndex(1), 2);
    EXPECT_EQ(Grid->RealColIndex(2), 4);
    EXPECT_EQ(Grid->DisplColIndex(4), 2);
    EXPECT_EQ(Grid->RealColIndex(300), 302);
    EXPECT_EQ(Grid->DisplColIndex(302), 300);
    EXPECT_FALSE(Grid->IsColumnVisible(3));
}

TEST_F(AdvGridTest, HidingAColumnShiftsWidthsAndShowingRestoresIt)
{
    TAdvStringGrid* G = MakeGrid({10, 20, 30, 40, 50});
    G->SetCells(2, 1, "kept");
    G->HideColumn(2);
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->RealColIndex(2), 3);
    EXPECT_EQ(G->ColWidths(2), 40);
    EXPECT_EQ(G->ColWidths(3), 50);
    EXPECT_EQ(G->RememberedColWidth(2), 30);
    EXPECT_EQ(G->RememberedColWidth(3), 40);
    EXPECT_EQ(G->Cells(2, 1), "kept");
    G->UnHideColumn(2);
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->ColWidths(2), 30);
    EXPECT_EQ(G->ColWidths(3), 40);
    EXPECT_EQ(G->ColWidths(4), 50);
}

TEST_F(AdvGridTest, ColumnsThatCannotBeHiddenAreLeftAlone)
{
    TAdvStringGrid* One = MakeGrid({10});
    One->HideColumn(0);
    EXPECT_EQ(One->ColCount(), 1);
    TAdvStringGrid* Six = MakeGrid({10, 10, 10, 10, 10, 10});
    Six->HideColumn(6);
    Six->UnHideColumn(6);
    Six->HideColumn(257);
    EXPECT_EQ(Six->ColCount(), 6);
    EXPECT_EQ(Six->NumHiddenColumns(), 0);
}

class ColumnWidthTest : public AdvGridTest {
protected:
    TAdvStringGrid* SavingGrid(const std::vector<int>& Widths, TColumnSizeLocation Location,
                               const std::string& Key)
    {
        TAdvStringGrid* G = MakeGrid(Widths);
        G->ColumnSize()->SetKey(Key);
        G->ColumnSize()->SetSection("S");
        G->ColumnSize()->SetLocation(Location);
        G->ColumnSize()->SetSave(true);
        return G;
    }
};

TEST_F(ColumnWidthTest, WidthsGoToTheRegistryAsNumbersAtDestruction)
{
    delete SavingGrid({20, 112, 231}, clRegistry, "K");
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("K\\S", false));
    EXPECT_EQ(Reg.GetDataType("Col0"), rdInteger);
    EXPECT_EQ(Reg.ReadInteger("Col0"), 20);
    EXPECT_EQ(Reg.ReadInteger("Col1"), 112);
    EXPECT_EQ(Reg.ReadInteger("Col2"), 231);
    EXPECT_FALSE(Reg.ValueExists("Col3"));
}

TEST_F(ColumnWidthTest, ATextValueStaysText)
{
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("K\\S", true));
        Reg.WriteString("Col1", "5");
    }
    delete SavingGrid({20, 112}, clRegistry, "K");
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("K\\S", false));
    EXPECT_EQ(Reg.GetDataType("Col1"), rdString);
    EXPECT_EQ(Reg.ReadString("Col1"), "112");
    EXPECT_EQ(Reg.GetDataType("Col0"), rdInteger);
}

TEST_F(ColumnWidthTest, HiddenColumnsAreNotSaved)
{
    TAdvStringGrid* G = SavingGrid({10, 20, 30, 40}, clRegistry, "K");
    G->HideColumn(1);
    delete G;
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("K\\S", false));
    EXPECT_EQ(Reg.ReadInteger("Col1"), 30);
    EXPECT_EQ(Reg.ReadInteger("Col2"), 40);
    EXPECT_FALSE(Reg.ValueExists("Col3"));
}

TEST_F(ColumnWidthTest, LoadingTakesStoredWidthsAndSkipsMissingOrBadOnes)
{
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("K\\S", true));
        Reg.WriteInteger("Col0", 77);
        Reg.WriteInteger("Col1", -1);
        Reg.WriteString("Col2", "88");
        Reg.WriteInteger("Col3", -2);
        Reg.WriteInteger("Col4", 40000);
        Reg.WriteString("Col5", "wide");
    }
    TAdvStringGrid* G = SavingGrid({10, 11, 12, 13, 14, 15, 16}, clRegistry, "K");
    G->LoadColumnPositions();
    std::vector<int> Widths;
    for (int I = 0; I < 7; ++I)
        Widths.push_back(G->ColWidths(I));
    EXPECT_EQ(Widths, (std::vector<int>{77, 11, 88, 13, 14, 15, 16}));
}

TEST_F(ColumnWidthTest, WidthsRoundTripThroughAnIniFile)
{
    const std::string Ini = Folder + "grid.ini";
    delete SavingGrid({25, 35}, clIniFile, Ini);
    EXPECT_EQ(TIniFile(Ini).ReadInteger("S", "Col1", 0), 35);
    TIniFile(Ini).WriteInteger("S", "Col0", 32768);
    TAdvStringGrid* G = SavingGrid({1, 2}, clIniFile, Ini);
    G->LoadColumnPositions();
    EXPECT_EQ(G->ColWidths(0), 1);
    EXPECT_EQ(G->ColWidths(1), 35);
}

TEST_F(ColumnWidthTest, EmptyKeyOrSectionSkipsTheStore)
{
    TAdvStringGrid* G = SavingGrid({25, 35}, clIniFile, "");
    delete G;
    G = SavingGrid({25, 35}, clRegistry, "K");
    G->ColumnSize()->SetSection("");
    delete G;
    TRegistry Reg;
    EXPECT_FALSE(Reg.KeyExists("K"));
}

TEST_F(ColumnWidthTest, AFailingSaveAtDestructionGoesToTheApplication)
{
    TAdvStringGrid* G = SavingGrid({25, 35}, clIniFile, Folder + "missing/dir/grid.ini");
    EXPECT_NO_THROW(delete G);
    ASSERT_EQ(App.Messages.size(), 1u);
    EXPECT_NE(App.Messages[0].find("grid.ini"), std::string::npos);
}

TEST_F(ColumnWidthTest, WindowCreationLoadsTheWidths)
{
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("K\\S", true));
        Reg.WriteInteger("Col0", 66);
    }
    auto G = new TAdvStringGrid(Form);
    G->ColumnSize()->SetKey("K");
    G->ColumnSize()->SetSection("S");
    G->ColumnSize()->SetSave(true);
    G->SetParent(Form);
    (void)G->Handle();
    EXPECT_EQ(G->ColWidths(0), 66);
}

TEST_F(AdvGridTest, StretchFillsTheClientWidthWithTheLastColumn)
{
    TAdvStringGrid* G = MakeGrid({100, 150, 20});
    G->SetBounds(0, 0, 500 + (G->Width() - G->ClientWidth()), 200);
    ASSERT_EQ(G->ClientWidth(), 500);
    G->SetGridLineWidth(1);
    G->ColumnSize()->SetStretch(true);
    EXPECT_EQ(G->ColWidths(2), 500 - 101 - 151 - 1);

    TAdvStringGrid* Two = MakeGrid({100, 150});
    Two->SetBounds(0, 0, 500 + (Two->Width() - Two->ClientWidth()), 200);
    Two->ColumnSize()->SetStretch(true);
    EXPECT_EQ(Two->ColWidths(1), 398);

    TAdvStringGrid* Wide = MakeGrid({400, 150, 30});
    Wide->SetBounds(0, 0, 500 + (Wide->Width() - Wide->ClientWidth()), 200);
    Wide->ColumnSize()->SetStretch(true);
    EXPECT_EQ(Wide->ColWidths(2), 30);

    TAdvStringGrid* One = MakeGrid({40});
    One->SetBounds(0, 0, 500 + (One->Width() - One->ClientWidth()), 200);
    One->ColumnSize()->SetStretch(true);
    EXPECT_EQ(One->ColWidths(0), 500);
}

} // namespace
