#include "tests/controls/grid/advgridfixture.h"

#include "platform/rtl/formatsettings.h"

namespace {

TEST_F(AdvGridTest, CellImageNeedsImagesOrGraphics)
{
    Grid->AddCellImageIndex(1, 1, 0, ihpBeforeText, ivpCentre);
    EXPECT_EQ(Grid->Objects(1, 1), nullptr);

    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(1, 1, 4, ihpBeforeText, ivpCentre);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    TCellGraphic* Graphic = Grid->GetCellGraphic(1, 1);
    ASSERT_NE(Graphic, nullptr);
    EXPECT_EQ(Graphic->CellType, TCellGraphic::KindImageIndex);
    EXPECT_EQ(Graphic->CellIndex, 4);
    EXPECT_EQ(Graphic->CellHAlign, ihpBeforeText);
    EXPECT_EQ(Graphic->CellVAlign, ivpCentre);
    EXPECT_EQ(Grid->GetCellGraphicKind(1, 1), 3);
}

TEST_F(AdvGridTest, CellGraphicIsReplacedAndRemoved)
{
    Grid->SetEnableGraphics(true);
    Grid->SetCells(2, 1, "text");
    Grid->AddCellImageIndex(2, 1, 1, ihpLeft, ivpTop);
    Grid->AddCellImageIndex(2, 1, 2, ihpRight, ivpBottom);
    EXPECT_EQ(Grid->GetCellGraphic(2, 1)->CellIndex, 2);
    EXPECT_EQ(Grid->Cells(2, 1), "text");
    EXPECT_TRUE(Grid->RemoveCellGraphic(2, 1));
    EXPECT_EQ(Grid->Objects(2, 1), nullptr);
    EXPECT_FALSE(Grid->RemoveCellGraphic(2, 1));
    EXPECT_EQ(Grid->GetCellGraphicKind(2, 1), TCellGraphic::KindNone);
}

TEST_F(AdvGridTest, GraphicsOffHidesTheGraphicAndForeignObjectsAreNoGraphics)
{
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(1, 1, 0, ihpLeft, ivpTop);
    Grid->SetEnableGraphics(false);
    EXPECT_EQ(Grid->GetCellGraphic(1, 1), nullptr);
    EXPECT_EQ(Grid->GetCellGraphicKind(1, 1), TCellGraphic::KindNone);
    Grid->SetEnableGraphics(true);
    TObject Foreign;
    Grid->SetObjects(3, 1, &Foreign);
    EXPECT_EQ(Grid->GetCellGraphic(3, 1), nullptr);
    EXPECT_FALSE(Grid->RemoveCellGraphic(3, 1));
    Grid->SetObjects(3, 1, nullptr);
}

TEST_F(AdvGridTest, GraphicSizeCountsWidthOnlyBesideTextOrInAnEmptyCell)
{
    auto Images = new TImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(12);
    Grid->SetGridImages(Images);
    Grid->SetEnableGraphics(true);
    Grid->AddCellImageIndex(1, 1, 0, ihpLeft, ivpTop);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{16, 12}));
    Grid->SetCells(1, 1, "x");
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{0, 12}));
    Grid->AddCellImageIndex(1, 1, 0, ihpAfterText, ivpTop);
    EXPECT_EQ(Grid->GetCellGraphicSize(1, 1), (TPoint{16, 12}));
    EXPECT_EQ(Grid->GetCellGraphicSize(2, 2), (TPoint{0, 0}));
}

TEST_F(AdvGridTest, ClearRectFreesGraphics)
{
    Grid->SetEnableGraphics(true);
    Grid->SetCells(1, 1, "a");
    Grid->AddCellImageIndex(1, 1, 0, ihpLeft, ivpTop);
    Grid->ClearRect(0, 0, 2, 2);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Objects(1, 1), nullptr);
}

TEST_F(AdvGridTest, CellAsInteger)
{
    struct Case {
        std::string Text;
        int Value;
        bool Raises;
    };
    const std::vector<Case> Cases = {
        {"", 0, false},   {"12", 12, false}, {"-7", -7, false}, {"12a", 0, true},
        {" 12", 0, true}, {"$10", 0, true},  {"1.5", 0, true},  {"99999999999", 0, true},
    };
    for (const Case& C : Cases) {
        Grid->SetCells(1, 1, C.Text);
        if (C.Raises) {
            try {
                (void)Grid->CellAsInteger(1, 1);
                ADD_FAILURE() << C.Text;
            } catch (const EAdvGridError& E) {
                EXPECT_EQ(E.Message(), "Cell does not contain integer value");
            }
        } else {
            EXPECT_EQ(Grid->CellAsInteger(1, 1), C.Value) << C.Text;
        }
    }
    Grid->SetCellAsInteger(2, 2, -31);
    EXPECT_EQ(Grid->Cells(2, 2), "-31");
}

TEST_F(AdvGridTest, CellAsFloatReadsTheLocalesSeparators)
{
    TFormatSettings Saved = FormatSettings;
    FormatSettings.ThousandSeparator = '.';
    FormatSettings.DecimalSeparator = ',';
    Grid->SetCells(1, 1, "1.234,5");
    EXPECT_DOUBLE_EQ(Grid->CellAsFloat(1, 1), 1234.5);
    Grid->SetCells(1, 1, "");
    EXPECT_DOUBLE_EQ(Grid->CellAsFloat(1, 1), 0);
    for (const char* Text : {"abc", "-", ","}) {
        Grid->SetCells(1, 1, Text);
        try {
            (void)Grid->CellAsFloat(1, 1);
            ADD_FAILURE() << Text;
        } catch (const EAdvGridError& E) {
            EXPECT_EQ(E.Message(), "Cell does not contain a float value");
        }
    }
    FormatSettings = Saved;
}

TEST_F(AdvGridTest, RowSelectedOutsideTheRowsRaises)
{
    Grid->SetRowCount(4);
    for (int Row : {-1, 4}) {
        try {
            (void)Grid->RowSelected(Row);
            ADD_FAILURE() << Row;
        } catch (const EAdvGridError& E) {
            EXPECT_EQ(E.Message(), "Invalid Row accessed");
        }
        EXPECT_THROW(Grid->SetRowSelected(Row, true), EAdvGridError);
    }
    EXPECT_FALSE(Grid->RowSelected(3));
}

TEST_F(AdvGridTest, RowSelectionFlagsFollowTheSelection)
{
    Grid->SetRowCount(6);
    Grid->SetRowSelected(5, true);
    EXPECT_TRUE(Grid->RowSelected(5));
    Grid->ClearRowSelection();
    EXPECT_FALSE(Grid->RowSelected(5));

    Grid->SetRowSelected(5, true);
    Grid->SetSelection(TGridRect{1, 2, 2, 3});
    Grid->SelectRowsFromSelection(false);
    EXPECT_TRUE(Grid->RowSelected(2));
    EXPECT_TRUE(Grid->RowSelected(3));
    EXPECT_TRUE(Grid->RowSelected(5)); // outside: left as it was
    Grid->SelectRowsFromSelection(true);
    EXPECT_FALSE(Grid->RowSelected(5));
    EXPECT_FALSE(Grid->RowSelected(1));
}

TEST_F(AdvGridTest, ColumnHeaderEscapesBecomeLineBreaks)
{
    Grid->SetColCount(3);
    Grid->SetCells(2, 0, "old");
    TStringList Headers;
    Headers.Add("Word\\nSecond");
    Headers.Add("B");
    Grid->SetColumnHeaders(&Headers);
    EXPECT_EQ(Grid->Cells(0, 0), "Word\rSecond");
    EXPECT_EQ(Grid->Cells(1, 0), "B");
    EXPECT_EQ(Grid->Cells(2, 0), "");
    Grid->ColumnHeaders()->Add("C");
    EXPECT_EQ(Grid->Cells(2, 0), "C");
}

TEST_F(AdvGridTest, RowHeadersGoIntoColumnZero)
{
    TStringList Headers;
    Headers.Add("");
    Headers.Add("first");
    Grid->SetRowHeaders(&Headers);
    EXPECT_EQ(Grid->Cells(0, 1), "first");
    Grid->SetFixedCols(0);
    Grid->RowHeaders()->Add("ignored");
    EXPECT_EQ(Grid->Cells(0, 2), "");
}

TEST_F(AdvGridTest, RowOperationsMoveTheCellsAndFreeGraphics)
{
    Grid->SetEnableGraphics(true);
    Grid->SetRowCount(5);
    for (int R = 0; R < 5; ++R)
        Grid->SetCells(1, R, std::to_string(R));
    Grid->AddCellImageIndex(1, 2, 0, ihpLeft, ivpTop);
    Grid->RemoveRows(2, 2);
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(Grid->Cells(1, 2), "4");
    EXPECT_EQ(Grid->Objects(1, 2), nullptr);
    Grid->InsertRows(1, 1);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Cells(1, 2), "1");
    Grid->InsertColumns(0, 1);
    EXPECT_EQ(Grid->Cells(2, 2), "1");
    Grid->DeleteColumns(0, 2);
    EXPECT_EQ(Grid->Cells(0, 2), "1");
}

TEST_F(AdvGridTest, ScrollCellInViewIgnoresCellsOutsideTheGrid)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(200);
    Grid->ScrollCellInView(5, 1);
    EXPECT_EQ(Grid->Col(), 1);
    Grid->ScrollCellInView(1, 150);
    EXPECT_EQ(Grid->Row(), 150);
    EXPECT_LE(Grid->TopRow(), 150);
    EXPECT_GE(Grid->TopRow() + Grid->VisibleRowCount(), 150);
}

TEST_F(AdvGridTest, HiddenSelectionComesBackAsItWas)
{
    Grid->SetSelection(TGridRect{1, 1, 2, 3});
    Grid->HideSelection();
    EXPECT_TRUE(Grid->SelectionHidden());
    Grid->HideSelection();
    Grid->SetSelection(TGridRect{1, 1, 1, 1});
    Grid->UnHideSelection();
    EXPECT_FALSE(Grid->SelectionHidden());
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 3}));
}

} // namespace
