// The grid's cell colours on screen and on paper, cell borders, the text alignment rule and the
// measuring of a cell's text.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridhtml.h"
#include "controls/grid/advgridpaintint.h"
#include "controls/grid/advutil.h"

#include <algorithm>

namespace {

// The band colour of a normal cell's row; false when the bands have no period.
bool BandColor(const TBands* Bands, int ARow, int FixedRows, TColor& Color)
{
    const int Period = Bands->PrimaryLength() + Bands->SecondaryLength();
    if (Period <= 0)
        return false;
    Color = (ARow - FixedRows) % Period < Bands->PrimaryLength() ? Bands->PrimaryColor()
                                                                 : Bands->SecondaryColor();
    return true;
}

} // namespace

void TAdvStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                                  TFont* AFont)
{
    TColor Band = clNone;
    if (FBands->Active() && ACol >= FixedCols() &&
        ACol < ColCount() + FNumHidden - FFixedRightCols && ARow >= FixedRows() &&
        ARow < RowCount() - FFixedFooters && BandColor(FBands.get(), ARow, FixedRows(), Band))
        ABrush->SetColor(Band);
    if (FActiveCellShow && ((ACol == 0 && ARow == Row() && FixedCols() > 0) ||
                            (ARow == 0 && ACol == RealCol() && FixedRows() > 0)))
        AFont->Assign(FActiveCellFont.get());
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont)
{
    TColor Band = clNone;
    if (FBands->Active() && FBands->Print() && ACol >= FixedCols() &&
        ACol < ColCount() - FFixedRightCols && ARow >= FixedRows() &&
        ARow < RowCount() - FFixedFooters && BandColor(FBands.get(), ARow, FixedRows(), Band))
        ABrush->SetColor(Band);
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

TPoint TAdvStringGrid::CellTextExtent(int ACol, int ARow)
{
    TCanvas* C = Canvas();
    TFont OldFont;
    OldFont.Assign(C->Font());
    TBrush OldBrush;
    OldBrush.Assign(C->Brush());
    C->SetFont(ACol < FixedCols() || ARow < FixedRows() ? FFixedFont.get() : Font());
    GetCellColor(ACol, ARow, TGridDrawState{}, C->Brush(), C->Font());

    TPoint Size{0, 0};
    std::string Text = Cells(ACol, ARow);
    if (CellTextKind(Text, FEnableHTML) == 1) {
        std::string Anchor, Plain;
        int Width = 0, Height = 0;
        RenderHtml(C, Text, TRect{0, 0, 65535, 65535}, dynamic_cast<TImageList*>(FGridImages), 0, 0,
                   false, true, false, true, true, !FEnhTextSize, 1.0, FURLColor, Anchor, Plain,
                   Width, Height);
        Size = TPoint{Width, Height};
    } else {
        // Rich-text cells are measured as their plain text until the rich-text control exists.
        std::vector<std::string> Lines;
        if (FMultilinecells) {
            std::string Rest = Text;
            std::string::size_type At;
            while ((At = Rest.find('\r')) != std::string::npos) {
                Lines.push_back(Rest.substr(0, At));
                Rest.erase(0, At + 1);
                if (!Rest.empty() && Rest[0] == '\n')
                    Rest.erase(0, 1);
            }
            Lines.push_back(Rest);
        } else
            Lines.push_back(Text);
        for (std::string& Line : Lines) {
            if (FURLShow && !FURLFull && IsUrlText(Line))
                StripUrlPrefix(Line);
            Size.X = std::max(Size.X, C->TextWidth(Line));
        }
        Size.Y = C->TextHeight("gh") * static_cast<int>(Lines.size());
    }
    C->SetFont(&OldFont);
    C->SetBrush(&OldBrush);
    return Size;
}

namespace advgridpaint {

TAlignment CellAlignment(TAdvStringGrid* Grid, int ACol, int ARow)
{
    TAlignment Alignment = taLeftJustify;
    // An empty text is no number: its picture and the cell look stay at the left.
    const std::string Text = Grid->Cells(ACol, ARow);
    if (Grid->AutoNumAlign() && !Text.empty() && NumberTextKind(Text) < 2)
        Alignment = taRightJustify;
    Grid->GetCellAlignment(ACol, ARow, Alignment);
    return Alignment;
}

void DrawCellBorders(TAdvStringGrid* Grid, TCanvas* C, int ACol, int ARow, TRect R)
{
    TPen Saved;
    Saved.Assign(C->Pen());
    TCellBorders Borders;
    Grid->GetCellBorder(ACol, ARow, C->Pen(), Borders);
    if (!Borders.Empty()) {
        const int Half = C->Pen()->Width() / 2;
        R.Left += Half;
        R.Top += Half;
        R.Right -= Half;
        R.Bottom -= Half;
        auto Line = [C](int X1, int Y1, int X2, int Y2) {
            C->MoveTo(X1, Y1);
            C->LineTo(X2, Y2);
        };
        if (Borders.Contains(cbLeft))
            Line(R.Left, R.Top, R.Left, R.Bottom);
        if (Borders.Contains(cbRight))
            Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        if (Borders.Contains(cbTop))
            Line(R.Left, R.Top, R.Right, R.Top);
        if (Borders.Contains(cbBottom))
            Line(R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
    }
    C->SetPen(&Saved);
}

} // namespace advgridpaint
