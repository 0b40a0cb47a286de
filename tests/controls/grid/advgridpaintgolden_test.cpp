// A rule grid as the settings window shows it, drawn on pixels: the heading row, verdict
// pictures in column 0, match texts coloured by OnGetCellColor, bands and an HTML cell.
#include "controls/grid/advgrid.h"

#include "platform/gfx/rasterdevice.h"
#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

namespace {

// A 16 x 16 verdict picture: a filled square with a mark in the middle.
void AddVerdictPicture(TImageList& Images, TColor Fill, TColor Mark)
{
    TBitmap Picture;
    Picture.SetSize(16, 16);
    TCanvas* C = Picture.Canvas();
    C->Brush()->SetColor(Fill);
    C->FillRect(TRect{0, 0, 16, 16});
    C->Pen()->SetColor(Mark);
    C->Pen()->SetWidth(2);
    C->MoveTo(4, 4);
    C->LineTo(12, 12);
    C->MoveTo(12, 4);
    C->LineTo(4, 12);
    Images.Add(&Picture, nullptr);
}

} // namespace

TEST(GridPaintGolden, RuleGridLooksLikeItsGoldenPicture)
{
    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = ShownForm(&App, 360, 180);
    auto* Grid = new TAdvStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 340, 150);
    Grid->SetColCount(4);
    Grid->SetRowCount(6);
    Grid->SetFixedCols(0);
    Grid->SetColWidths(0, 30);
    Grid->SetColWidths(3, 120);

    TImageList Images(16, 16);
    AddVerdictPicture(Images, clRed, clWhite);
    AddVerdictPicture(Images, clYellow, clBlack);
    Grid->SetGridImages(&Images);
    Grid->SetEnableGraphics(true);

    const char* Headings[] = {"", "Header", "Operator", "Text"};
    for (int C = 0; C < 4; ++C)
        Grid->SetCells(C, 0, Headings[C]);
    const char* Rules[][3] = {{"Subject", "contains", "win money"},
                              {"From", "equals", "spam@example.org"},
                              {"Subject", "starts", "<B>FREE</B> offer"},
                              {"To", "contains", "undisclosed"},
                              {"Subject", "ends", "!!!"}};
    for (int R = 1; R < 6; ++R) {
        for (int C = 1; C < 4; ++C)
            Grid->SetCells(C, R, Rules[R - 1][C - 1]);
        Grid->AddCellImageIndex(0, R, R % 2, ihpCentre, ivpCentre);
    }
    Grid->Bands()->SetPrimaryColor(RGB(255, 255, 225));
    Grid->Bands()->SetSecondaryColor(clWhite);
    Grid->Bands()->SetActive(true);
    Grid->OnGetCellColor = [](TObject*, int ARow, int ACol, TGridDrawState, TBrush*, TFont* F) {
        if (ARow > 0 && ACol == 3) {
            F->SetStyle(TFontStyles{fsBold});
            F->SetColor(clBlue);
        }
    };
    // The grid has no focus: without ShowSelection its current cell looks like the others.
    Grid->SetShowSelection(false);

    TRasterDevice Device(Grid->ClientWidth(), Grid->ClientHeight(), clWhite);
    TCanvas Canvas(&Device);
    Grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
    ExpectMatchesGoldenPng(Device, "grid/rulegrid.png");

    Grid->SetGridImages(nullptr);
}
