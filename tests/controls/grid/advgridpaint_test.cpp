// The grid's cell painting on the recording device: bands, pictures, multi-line and ellipsis
// text, the sort glyph of plain and HTML headers, the focus rectangle, the selection look,
// password cells, OnDrawCell without default drawing and the measuring of a cell's text.
#include "controls/grid/advgrid.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/stdctrls/grids.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using TCalls = std::vector<TRecordingDevice::TCall>;

class GridPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 420, 320);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(4);
        Grid->SetRowCount(6);
        Pump();
    }

    TCalls Paint()
    {
        TRecordingDevice Device(Grid->ClientWidth(), Grid->ClientHeight());
        TCanvas Canvas(&Device);
        Grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
        return Device.Calls();
    }
    // The texts drawn inside the cell's rectangle, in order.
    std::vector<const TRecordingDevice::TCall*> TextsIn(const TCalls& Calls, const TRect& R)
    {
        std::vector<const TRecordingDevice::TCall*> Result;
        for (const auto& Call : Calls)
            if (Call.Name == "TextOut" && PtInRect(R, Call.Points[0]))
                Result.push_back(&Call);
        return Result;
    }
    static int CountInverts(const TCalls& Calls, const TRect& R)
    {
        return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const auto& Call) {
            return Call.Name == "PatBlt" && Call.Rop == PATINVERT && PtInRect(R, Call.Points[0]);
        }));
    }
    // The first polyline starting at P.
    static const TRecordingDevice::TCall* PolylineFrom(const TCalls& Calls, TPoint P)
    {
        for (const auto& Call : Calls)
            if (Call.Name == "Polyline" && Call.Points.size() >= 2 && Call.Points[0] == P)
                return &Call;
        return nullptr;
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridPaintTest, BandsAlternateOverNormalRowsOnly)
{
    Grid->SetRowCount(7);
    Grid->SetFixedFooters(1);
    Grid->Bands()->SetActive(true);
    Grid->Bands()->SetPrimaryColor(clAqua);
    Grid->Bands()->SetSecondaryColor(clYellow);
    struct TCase {
        int Row;
        TColor Expected;
    };
    const std::vector<TCase> Cases = {{0, clRed},    {1, clAqua}, {2, clYellow}, {3, clAqua},
                                      {4, clYellow}, {5, clAqua}, {6, clRed}};
    for (const TCase& Case : Cases) {
        TBrush Brush;
        Brush.SetColor(clRed);
        TFont Font;
        Grid->GetCellColor(1, Case.Row, TGridDrawState{}, &Brush, &Font);
        EXPECT_EQ(Brush.Color(), Case.Expected) << "row " << Case.Row;
    }
    // Lengths that add up to nothing leave the colour alone.
    Grid->Bands()->SetPrimaryLength(0);
    Grid->Bands()->SetSecondaryLength(0);
    TBrush Brush;
    Brush.SetColor(clRed);
    TFont Font;
    Grid->GetCellColor(1, 2, TGridDrawState{}, &Brush, &Font);
    EXPECT_EQ(Brush.Color(), clRed);
}

TEST_F(GridPaintTest, PictureBeforeEmptyLeftTextStandsOnePixelInAndCentred)
{
    TImageList Images(16, 16);
    TBitmap Picture;
    Picture.SetSize(16, 16);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
    Images.Add(&Picture, nullptr);
    Grid->SetGridImages(&Images);
    Grid->SetEnableGraphics(true);
    Grid->SetAutoNumAlign(true);
    auto Graphic = std::make_unique<TCellGraphic>();
    Graphic->CellType = TCellGraphic::KindImageIndex;
    Graphic->CellHAlign = ihpBeforeText;
    Graphic->CellVAlign = ivpCentre;
    Grid->SetObjects(0, 1, Graphic.get());
    const TRect R = Grid->CellRect(0, 1);
    bool Found = false;
    for (const auto& Call : Paint())
        if (Call.Name == "StretchBlt" && Call.Points[1].X - Call.Points[0].X == 16) {
            EXPECT_EQ(Call.Points[0], (TPoint{R.Left + 1, R.Top + (R.Height() - 16) / 2}));
            Found = true;
        }
    EXPECT_TRUE(Found);
    Grid->SetObjects(0, 1, nullptr);
    Grid->SetGridImages(nullptr);
}

TEST_F(GridPaintTest, TwoLineTextTakesTwoLinesOnlyWithMultilinecells)
{
    Grid->SetRowHeights(1, 60);
    Grid->SetCells(1, 1, "one\r\ntwo");
    const TRect R = Grid->CellRect(1, 1);
    Grid->SetMultilinecells(true);
    TCalls Calls = Paint();
    auto Texts = TextsIn(Calls, R);
    ASSERT_EQ(Texts.size(), 2u);
    EXPECT_EQ(Texts[0]->Text, "one");
    EXPECT_EQ(Texts[1]->Text, "two");
    EXPECT_GT(Texts[1]->Points[0].Y, Texts[0]->Points[0].Y);
    Grid->SetMultilinecells(false);
    Calls = Paint();
    Texts = TextsIn(Calls, R);
    ASSERT_FALSE(Texts.empty());
    for (const auto* T : Texts)
        EXPECT_EQ(T->Points[0].Y, Texts[0]->Points[0].Y);
}

TEST_F(GridPaintTest, EnhTextSizeEndsALongTextInAnEllipsis)
{
    Grid->SetCells(1, 1, "a text much longer than its cell");
    const TRect R = Grid->CellRect(1, 1);
    TCalls Calls = Paint();
    auto Texts = TextsIn(Calls, R);
    ASSERT_FALSE(Texts.empty());
    EXPECT_EQ(Texts[0]->Text.find("..."), std::string::npos);
    Grid->SetEnhTextSize(true);
    Calls = Paint();
    Texts = TextsIn(Calls, R);
    ASSERT_FALSE(Texts.empty());
    EXPECT_NE(Texts.back()->Text.find("..."), std::string::npos) << Texts.back()->Text;
}

TEST_F(GridPaintTest, CentredSortHeaderMovesRightAndGlyphSitsEightPixelsIn)
{
    Grid->SetCells(2, 0, "Hd");
    Grid->OnGetAlignment = [](TObject*, int ARow, int, TAlignment& A) {
        if (ARow == 0)
            A = taCenter;
    };
    const TRect R = Grid->CellRect(2, 0);
    const TCalls Before = Paint();
    const auto Plain = TextsIn(Before, R);
    ASSERT_EQ(Plain.size(), 1u);
    Grid->SetSortColumn(2);
    Grid->SetSortShow(true);
    const TCalls Calls = Paint();
    const auto Sorted = TextsIn(Calls, R);
    ASSERT_EQ(Sorted.size(), 1u);
    // The left edge moves by 10 and the sort space by 14: the centre by half of both.
    EXPECT_EQ(Sorted[0]->Points[0].X - Plain[0]->Points[0].X, 12);
    // An ascending outline starts at its lower left corner.
    const int X = R.Left + 8;
    const int Y = R.Top + 8;
    EXPECT_NE(PolylineFrom(Calls, TPoint{X - 4, Y + 4}), nullptr);
}

TEST_F(GridPaintTest, HtmlSortHeaderGlyphSitsEightPixelsInFromTheRightAndMidway)
{
    Grid->SetCells(2, 0, "<B>Head</B>");
    Grid->SetSortColumn(2);
    Grid->SetSortShow(true);
    Grid->SetVAlignment(vtaCenter);
    const TRect R = Grid->CellRect(2, 0);
    const TCalls Calls = Paint();
    const int X = R.Right - 8;
    const int Y = (R.Top + 2 + R.Bottom) / 2;
    EXPECT_NE(PolylineFrom(Calls, TPoint{X - 4, Y + 4}), nullptr);
    ASSERT_FALSE(TextsIn(Calls, R).empty());
    EXPECT_EQ(TextsIn(Calls, R)[0]->Text, "Head");
}

TEST_F(GridPaintTest, HideFocusRectLeavesNoFocusRectangleAlsoWithHiddenColumns)
{
    Grid->SetFocus();
    Pump();
    Grid->SetCol(2);
    Grid->SetRow(2);
    // A focus rectangle is four inverted strips; drawn twice it is gone.
    const TRect R = Grid->CellRect(2, 2);
    EXPECT_EQ(CountInverts(Paint(), R), 4);
    Grid->SetHideFocusRect(true);
    EXPECT_EQ(CountInverts(Paint(), R), 8);
    Grid->HideColumn(1);
    Grid->SetCol(2);
    const TRect Hidden = Grid->CellRect(2, 2);
    EXPECT_EQ(CountInverts(Paint(), Hidden), 8);
}

TEST_F(GridPaintTest, ShowSelectionOffShowsTheSelectionOnlyWhileFocused)
{
    Grid->SetSelectionColor(clMaroon);
    Grid->SetShowSelection(false);
    Grid->SetSelection(TGridRect{1, 1, 2, 2});
    // Not the current cell: selected without the focus.
    const TRect R = Grid->CellRect(1, 1);
    auto FillOf = [&](const TCalls& Calls) {
        TColor Last = clNone;
        for (const auto& Call : Calls)
            if (Call.Name == "FillRect" && Call.Points[0] == R.TopLeft() &&
                Call.Points[1] == R.BottomRight())
                Last = Call.State.Brush.Color;
        return Last;
    };
    auto* Other = new TAdvStringGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 305, 100, 10);
    Other->SetFocus();
    Pump();
    EXPECT_EQ(FillOf(Paint()), ColorToRGB(Grid->Color()));
    Grid->SetFocus();
    Pump();
    EXPECT_EQ(FillOf(Paint()), ColorToRGB(clMaroon));
}

TEST_F(GridPaintTest, PasswordCellShowsOneMaskCharacterPerCharacter)
{
    Grid->SetCells(1, 1, "secret");
    Grid->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& IsPassword) {
        IsPassword = ARow == 1 && ACol == 1;
    };
    const TCalls Calls = Paint();
    const auto Texts = TextsIn(Calls, Grid->CellRect(1, 1));
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0]->Text, "******");
}

TEST_F(GridPaintTest, OnDrawCellFiresOncePerCellWithTheRealColumn)
{
    Grid->HideColumn(1);
    for (bool Default : {true, false}) {
        Grid->SetDefaultDrawing(Default);
        std::vector<int> Columns;
        Grid->OnDrawCell = [&](TObject*, int ACol, int ARow, TRect, TGridDrawState) {
            if (ARow == 1)
                Columns.push_back(ACol);
        };
        Paint();
        EXPECT_EQ(Columns, (std::vector<int>{0, 2, 3})) << "DefaultDrawing " << Default;
    }
}

TEST_F(GridPaintTest, CellTextExtentMeasuresTheWidestLineAndEveryLine)
{
    Grid->SetCells(1, 1, "ab\r\ncdef");
    Grid->SetMultilinecells(true);
    const TPoint Two = Grid->CellTextExtent(1, 1);
    const int LineHeight = Grid->Canvas()->TextHeight("gh");
    EXPECT_EQ(Two.X, Grid->Canvas()->TextWidth("cdef"));
    EXPECT_EQ(Two.Y, 2 * LineHeight);
    Grid->SetCells(1, 2, "http://example.org");
    Grid->SetURLShow(true);
    EXPECT_EQ(Grid->CellTextExtent(1, 2).X, Grid->Canvas()->TextWidth("example.org"));
}

TEST_F(GridPaintTest, BordersComeFromOnGetCellBorderAndThePenIsRestored)
{
    Grid->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TCellBorders& B) {
        if (ARow == 2 && ACol == 2) {
            APen->SetColor(clRed);
            B = TCellBorders{cbLeft, cbBottom};
        }
    };
    const TRect R = Grid->CellRect(2, 2);
    std::vector<std::vector<TPoint>> Red;
    for (const auto& Call : Paint())
        if (Call.Name == "Polyline" && Call.State.Pen.Color == ColorToRGB(clRed))
            Red.push_back(Call.Points);
    EXPECT_EQ(Red, (std::vector<std::vector<TPoint>>{
                       {R.TopLeft(), TPoint{R.Left, R.Bottom}},
                       {TPoint{R.Left, R.Bottom - 1}, TPoint{R.Right, R.Bottom - 1}}}));
    EXPECT_EQ(Grid->Canvas()->Pen()->Color(), clBlack);
}

TEST_F(GridPaintTest, TiledBackgroundContinuesFromColumnToColumn)
{
    TBitmap Picture;
    Picture.SetSize(50, 50);
    TBackGround Back(Grid);
    Back.SetBitmap(&Picture);
    Grid->SetBackGround(&Back);
    const TRect R = Grid->CellRect(2, 1);
    // Column 1 is 64 wide: the tile of column 2 starts 64 mod 50 = 14 into the bitmap.
    std::vector<TRect> Sources;
    for (const auto& Call : Paint())
        if (Call.Name == "StretchBlt" && PtInRect(R, Call.Points[0]))
            Sources.push_back(
                TRect{Call.Points[2].X, Call.Points[2].Y, Call.Points[3].X, Call.Points[3].Y});
    ASSERT_FALSE(Sources.empty());
    EXPECT_EQ(Sources[0], (TRect{14, 0, 50, R.Height()}));
    EXPECT_EQ(Sources[1], (TRect{0, 0, 28, R.Height()}));
}
