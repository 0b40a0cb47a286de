// Zoom and the fitting of columns and rows to their contents; the grid's reaction to its own
// size message (stretch, columns kept in proportion, scroll bars) and to its form's resizing.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridpaintint.h"

#include "controls/grid/advgridhtml.h"
#include "controls/grid/advutil.h"
#include "platform/forms/form.h"
#include "platform/gfx/textlayout.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinZoom = -10;
constexpr int MaxZoom = 10;

// Keeps a canvas's font and brush as they were while a cell is measured.
class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(TCanvas* C) : FCanvas(C)
    {
        FFont.Assign(C->Font());
        FBrush.Assign(C->Brush());
    }
    ~TCanvasStateGuard()
    {
        FCanvas->SetFont(&FFont);
        FCanvas->SetBrush(&FBrush);
    }
    TCanvasStateGuard(const TCanvasStateGuard&) = delete;
    TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
    TCanvas* FCanvas;
    TFont FFont;
    TBrush FBrush;
};

std::vector<std::string> CellLines(const std::string& Text, bool Multiline)
{
    std::vector<std::string> Lines;
    if (!Multiline) {
        Lines.push_back(Text);
        return Lines;
    }
    std::string::size_type Start = 0, At;
    while ((At = Text.find('\r', Start)) != std::string::npos) {
        Lines.push_back(Text.substr(Start, At - Start));
        Start = At + 1;
        if (Start < Text.size() && Text[Start] == '\n')
            ++Start;
    }
    Lines.push_back(Text.substr(Start));
    return Lines;
}

} // namespace

// ---- zoom ------------------------------------------------------------------------------------

void TAdvStringGrid::Zoom(int Delta)
{
    const int NewZoom = FZoomFactor + Delta;
    if (NewZoom < MinZoom || NewZoom > MaxZoom)
        return;
    FZoomFactor = NewZoom;
    for (int C = 0; C < ColCount(); ++C)
        if (ColWidths(C) + Delta > 0)
            SetColWidths(C, ColWidths(C) + Delta);
    for (int R = 0; R < RowCount(); ++R)
        if (RowHeights(R) + Delta > 0)
            SetRowHeights(R, RowHeights(R) + Delta);
    Invalidate();
}

// ---- measuring -------------------------------------------------------------------------------

void TAdvStringGrid::SelectMeasureFont(int ACol, int ARow)
{
    TCanvas* C = Canvas();
    C->SetFont(ACol < FixedCols() || ARow < FixedRows() ? FFixedFont.get() : Font());
    GetCellColor(ACol, ARow, TGridDrawState{}, C->Brush(), C->Font());
    if (FZoomFactor != 0)
        C->Font()->SetSize(C->Font()->Size() + FZoomFactor);
}

int TAdvStringGrid::CellContentWidth(int ACol, int ARow)
{
    TCanvas* C = Canvas();
    const int Real = RealColIndex(ACol);
    const std::string Text = Cells(Real, ARow);
    int Width = 0;
    if (CellTextKind(Text, FEnableHTML) == ctkHtml) {
        std::string Anchor, Plain;
        int W = 0, H = 0;
        RenderHtml(C, Text, TRect{0, 0, 65535, 65535}, dynamic_cast<TImageList*>(FGridImages), 0, 0,
                   false, true, false, true, true, !FEnhTextSize, 1.0, FURLColor, Anchor, Plain, W,
                   H);
        Width = W;
    } else {
        for (std::string& Line : CellLines(Text, FMultilinecells)) {
            if (FURLShow && !FURLFull && IsUrlText(Line))
                StripUrlPrefix(Line);
            Width = std::max(Width, C->TextWidth(Line));
        }
    }
    return Width + GetCellGraphicSize(Real, ARow).X;
}

int TAdvStringGrid::AutoColWidth(int ACol)
{
    TCanvasStateGuard Guard(Canvas());
    int Widest = 0;
    for (int R = 0; R < RowCount(); ++R) {
        SelectMeasureFont(ACol, R);
        Widest = std::max(Widest, CellContentWidth(ACol, R));
    }
    return Widest + 4;
}

// ---- columns ---------------------------------------------------------------------------------

void TAdvStringGrid::AutoSizeCol(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    SetColWidths(ACol, AutoColWidth(ACol));
}

void TAdvStringGrid::AutoSizeColGrow(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int Width = AutoColWidth(ACol);
    if (ColWidths(ACol) < Width)
        SetColWidths(ACol, Width);
}

void TAdvStringGrid::AutoSizeColumns(bool DoFixedCols, int Extra)
{
    for (int C = DoFixedCols ? 0 : FixedCols(); C < ColCount(); ++C) {
        AutoSizeCol(C);
        if (Extra != 0)
            SetColWidths(C, ColWidths(C) + Extra);
    }
}

// ---- rows ------------------------------------------------------------------------------------

void TAdvStringGrid::AutoSizeRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TCanvas* Cv = Canvas();
    TCanvasStateGuard Guard(Cv);
    int Height = DefaultRowHeight();
    for (int C = 0; C < ColCount(); ++C) {
        SelectMeasureFont(C, ARow);
        const int Real = RealColIndex(C);
        const std::string Text = Cells(Real, ARow);
        int Measured = 0;
        if (CellTextKind(Text, FEnableHTML) == ctkHtml) {
            std::string Anchor, Plain;
            int W = 0, H = 0;
            RenderHtml(Cv, Text, TRect{0, 0, ColWidths(C), 65535},
                       dynamic_cast<TImageList*>(FGridImages), 0, 0, false, true, false, true, true,
                       true, 1.0, FURLColor, Anchor, Plain, W, H);
            Measured = H;
        } else if (!Text.empty()) {
            // Rich-text cells are measured as their plain text until the rich-text control
            // exists.
            TRect R{0, 0, std::max(ColWidths(C) - 4, 0), 0};
            Cv->DrawText(Text, R,
                         DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS |
                             advgridpaint::VerticalFlag(FVAlignFlag));
            Measured = R.Height();
        }
        Measured += GetCellGraphicSize(Real, ARow).Y;
        if (Measured + 2 > Height)
            Height = Measured + 4;
    }
    SetRowHeights(ARow, Height);
}

void TAdvStringGrid::SetRowLines(int ARow, int Lines, int Extra)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TCanvas* Cv = Canvas();
    TCanvasStateGuard Guard(Cv);
    Cv->SetFont(Font());
    const int H = Cv->TextHeight("gh");
    SetRowHeights(ARow, Extra + Lines * (H + H / 4));
}

int TAdvStringGrid::MaxLineCount(int ARow)
{
    if (!FMultilinecells || ARow < 0 || ARow >= RowCount())
        return 1;
    int Most = 1;
    for (int C = 0; C < ColCount(); ++C) {
        const std::string& Text = Cells(RealColIndex(C), ARow);
        Most = std::max(Most, 1 + static_cast<int>(std::count(Text.begin(), Text.end(), '\r')));
    }
    return Most;
}

TColor TAdvStringGrid::CellGraphicColor(int, int) const
{
    // The only graphics made here are pictures of the image list, which keep no colour.
    return clNone;
}

// ---- resizing --------------------------------------------------------------------------------

void TAdvStringGrid::WMSize(TMessage& Message)
{
    Inherited(Message);
    if (FColumnSize->Stretch())
        StretchRightColumn();
    const int NewWidth = ClientWidth();
    // A grid shrunk to nothing (a minimised form) keeps its columns: scaling them to 0 would
    // lose them for good.
    if (NewWidth > 0) {
        const int OldWidth = FLastClientWidth;
        // Remembered first: new widths may show or hide a scroll bar, which sends this message
        // again while the columns are being scaled.
        FLastClientWidth = NewWidth;
        if (FColumnSize->SynchWithGrid() && OldWidth > 0 && NewWidth != OldWidth) {
            const double Factor = static_cast<double>(NewWidth) / OldWidth;
            for (int C = 0; C < ColCount(); ++C)
                SetColWidths(C, static_cast<int>(std::lround(ColWidths(C) * Factor)));
        }
    }
    UpdateVScrollBar();
    UpdateHScrollBar();
}
