// The grid's paint and the drawing of one cell: fonts and colours, the row indicator, borders,
// the edges of the cells only this grid treats as fixed, the cell's picture and the focus.
#include "controls/grid/advgrid.h"
#include "controls/grid/advgridpaintint.h"
#include "controls/grid/advutil.h"
#include "platform/stdctrls/inplaceedit.h"

#include <algorithm>

using namespace advgridpaint;

namespace {

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// The black lines of a cell that the base grid does not know to be fixed.
void FixedCellLines(TCanvas* C, const TRect& R, TGridOptions Options)
{
    if (Options.Contains(goFixedHorzLine))
        Line(C, R.Left, R.Bottom, R.Right, R.Bottom);
    if (Options.Contains(goFixedVertLine)) {
        Line(C, R.Right, R.Top, R.Right, R.Bottom);
        Line(C, R.Left - 1, R.Top, R.Left - 1, R.Bottom);
    }
}

} // namespace

namespace advgridpaint {

TCellGraphic* CellGraphicOf(TAdvStringGrid* Grid, int ACol, int ARow)
{
    if (!Grid->EnableGraphics())
        return nullptr;
    return dynamic_cast<TCellGraphic*>(Grid->Objects(ACol, ARow));
}

bool GridHasFocus(TAdvStringGrid* Grid)
{
    if (Grid->Focused())
        return true;
    TInplaceEdit* Editor = Grid->InplaceEditor();
    return Editor != nullptr && Editor->Focused();
}

void DrawCellGraphic(TAdvStringGrid* Grid, TCanvas* C, const TCellPaint& Cell)
{
    TCellGraphic* Graphic = CellGraphicOf(Grid, Cell.Col, Cell.Row);
    TCustomImageList* Images = Grid->GridImages();
    if (Graphic == nullptr || Graphic->CellType != TCellGraphic::KindImageIndex ||
        Images == nullptr)
        return;
    const TRect& R = Cell.R;
    const int W = Cell.GraphicWidth;
    const int H = Cell.GraphicHeight;
    int X = R.Left + 1;
    switch (Cell.HPlace) {
    case ihpLeft:
    case ihpBeforeText: // before the text whatever its alignment: the text step leaves room there
        X = R.Left + 1;
        break;
    case ihpRight:
    case ihpAfterText:
        X = R.Right - W - 1;
        break;
    case ihpCentre:
        X = W < R.Width() ? R.Left + (R.Width() - W) / 2 : R.Left + 1;
        break;
    }
    int Y = R.Top + 1;
    switch (Cell.VPlace) {
    case ivpTop:
    case ivpAboveText:
        Y = R.Top + 1;
        break;
    case ivpBottom:
        Y = R.Bottom - H - 1;
        break;
    case ivpCentre:
        Y = H < R.Height() ? R.Top + (R.Height() - H) / 2 : R.Top + 1;
        break;
    case ivpBelowText:
        Y = R.Top + Cell.LineHeight + 1;
        break;
    }
    Images->Draw(C, X, Y, Graphic->CellIndex, true);
}

} // namespace advgridpaint

void TAdvStringGrid::Paint()
{
    if (FUpdateCount > 0)
        return;
    TStringGrid::Paint();
    TCanvas* C = Canvas();
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    const TGridOptions Opts = Options();

    const int FirstCol = std::max(LeftCol(), FixedCols());
    const int LastCol = std::min(LeftCol() + VisibleColCount(), ColCount() - 1 - FFixedRightCols);
    const int FirstRow = std::max(TopRow(), FixedRows());
    const int LastRow = std::min(TopRow() + VisibleRowCount(), RowCount() - 1 - FFixedFooters);
    if (GridLineWidth() > 0)
        for (int ARow = FirstRow; ARow <= LastRow; ++ARow)
            for (int ACol = FirstCol; ACol <= LastCol; ++ACol) {
                bool Fixed = false;
                IsFixedCell(RealColIndex(ACol), ARow, Fixed);
                const TRect R = CellRect(ACol, ARow);
                if (Fixed && !IsRectEmpty(R))
                    FixedCellLines(C, R, Opts);
            }

    // The visible rows: the fixed ones and those in view.
    std::vector<int> Rows;
    for (int ARow = 0; ARow < RowCount(); ++ARow)
        if (ARow < FixedRows() || (ARow >= TopRow() && ARow <= TopRow() + VisibleRowCount()))
            Rows.push_back(ARow);
    if (FFixedRightCols > 0 && FFixedRightCols < ColCount())
        for (int ACol = ColCount() - FFixedRightCols; ACol < ColCount(); ++ACol)
            for (int ARow : Rows) {
                const TRect R = CellRect(ACol, ARow);
                if (!IsRectEmpty(R))
                    FixedCellLines(C, R, Opts);
            }

    if (FFixedFooters > 0 && FFixedFooters < RowCount()) {
        TGridDrawInfo D;
        CalcDrawInfo(D);
        for (int ARow = RowCount() - FFixedFooters; ARow < RowCount(); ++ARow) {
            const TRect RowRect = CellRect(0, ARow);
            if (IsRectEmpty(RowRect))
                continue;
            if (Opts.Contains(goFixedHorzLine)) {
                Line(C, 0, RowRect.Top - 1, D.Horz.GridBoundary, RowRect.Top - 1);
                Line(C, 0, RowRect.Bottom, D.Horz.GridBoundary, RowRect.Bottom);
            }
            if (Opts.Contains(goFixedVertLine))
                for (int ACol = 0; ACol < ColCount(); ++ACol) {
                    const TRect R = CellRect(ACol, ARow);
                    if (!IsRectEmpty(R))
                        Line(C, R.Right, R.Top, R.Right, R.Bottom);
                }
        }
    }
}

void TAdvStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* C = Canvas();
    TCellPaint Cell;
    Cell.DisplCol = ACol;
    Cell.Row = ARow;
    Cell.R = ARect;
    Cell.State = AState;
    Cell.MouseSelecting = FGridState == gsSelecting;

    if (Ctl3D() == FFlat)
        SetCtl3D(!FFlat);
    const int RCol = RealColIndex(ACol);
    Cell.Col = RCol;

    C->SetFont(RCol < FixedCols() || ARow < FixedRows() ? FFixedFont.get() : Font());

    if (TCellGraphic* Graphic = CellGraphicOf(this, RCol, ARow)) {
        Cell.HPlace = static_cast<TCellImageHPlace>(Graphic->CellHAlign);
        Cell.VPlace = static_cast<TCellImageVPlace>(Graphic->CellVAlign);
        if (Graphic->CellType == TCellGraphic::KindImageIndex && FGridImages != nullptr) {
            Cell.GraphicWidth = FGridImages->Width();
            Cell.GraphicHeight = FGridImages->Height();
        }
    }

    const bool FixedByRule = IsFixed(RCol, ARow);
    if (FixedByRule) {
        C->Brush()->SetColor(FixedColor());
        Cell.State = TGridDrawState{gdFixed};
    }
    GetCellColor(RCol, ARow, Cell.State, C->Brush(), C->Font());
    if (Cell.State.Contains(gdSelected) && !Cell.State.Contains(gdFocused) &&
        FSelectionColor == clNone)
        C->Brush()->SetColor(clHighlight);
    if (FZoomFactor != 0)
        C->Font()->SetSize(C->Font()->Size() + FZoomFactor);

    if (RCol == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator->Empty()) {
        DrawTransparentBitmap(C, FRowIndicator.get(), FixedColor(), Cell.R);
        Cell.R.Left += FRowIndicator->Width();
    }

    // Without default drawing the base grid would only raise OnDrawCell, which comes below.
    if (DefaultDrawing())
        DrawBackgroundAndText(this, Cell);

    DrawCellBorders(this, C, RCol, ARow, Cell.R);

    if (FixedByRule) {
        const TGridOptions Opts = Options();
        if (!FFlat) {
            TRect Edge = Cell.R;
            unsigned Far = (Opts.Contains(goFixedVertLine) ? BF_RIGHT : 0u) |
                           (Opts.Contains(goFixedHorzLine) ? BF_BOTTOM : 0u);
            unsigned Near = (Opts.Contains(goFixedVertLine) ? BF_LEFT : 0u) |
                            (Opts.Contains(goFixedHorzLine) ? BF_TOP : 0u);
            if (Far != 0)
                C->DrawEdge(Edge, BDR_RAISEDINNER, Far);
            Edge = Cell.R;
            if (Near != 0)
                C->DrawEdge(Edge, BDR_RAISEDINNER, Near);
        } else {
            const TRect& R = Cell.R;
            C->Pen()->SetColor(clBlack);
            C->Pen()->SetWidth(1);
            if (Opts.Contains(goFixedHorzLine)) {
                Line(C, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
                Line(C, R.Left - 1, R.Bottom, R.Right + 1, R.Bottom);
            }
            if (Opts.Contains(goFixedVertLine)) {
                Line(C, R.Left - 1, R.Top - 1, R.Left - 1, R.Bottom + 1);
                Line(C, R.Right, R.Top - 1, R.Right, R.Bottom + 1);
            }
        }
    }

    if (FEnableGraphics)
        DrawCellGraphic(this, C, Cell);

    if (OnDrawCell)
        OnDrawCell(this, RCol, ARow, ARect, Cell.State);

    // The base grid draws its focus rectangle (an inversion) after this cell exactly under
    // these conditions; drawing it here as well cancels it out.
    const TGridOptions Opts = Options();
    const bool EditorAlways = Opts.Contains(goEditing) && Opts.Contains(goAlwaysShowEditor);
    if (FHideFocusRect && AState.Contains(gdFocused) && !Opts.Contains(goRowSelect) &&
        DefaultDrawing() && !EditorAlways) {
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(ARect);
    }
}
