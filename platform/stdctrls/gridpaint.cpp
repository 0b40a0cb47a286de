// platform/stdctrls/gridpaint.cpp: TCustomGrid's painting: the cells that meet the invalid area,
// each through DrawCell with its state, the lines between them and the focus rectangle.
#include "platform/stdctrls/grids.h"

#include "platform/stdctrls/inplaceedit.h"
#include <algorithm>
#include <vector>

namespace {

// One visible cell of an axis: its index and pixel span (line not included).
struct TSpan {
    int Index;
    int Start;
    int End;
};

template <typename ExtentFn>
std::vector<TSpan> VisibleSpans(const TGridAxisDrawInfo& A, ExtentFn Extent)
{
    std::vector<TSpan> Spans;
    int Pos = 0;
    for (int I = 0; I < A.FixedCellCount; ++I) {
        Spans.push_back(TSpan{I, Pos, Pos + Extent(I)});
        Pos += Extent(I) + A.EffectiveLineWidth;
    }
    for (int I = A.FirstGridCell; I < A.GridCellCount && Pos < A.GridExtent; ++I) {
        Spans.push_back(TSpan{I, Pos, Pos + Extent(I)});
        Pos += Extent(I) + A.EffectiveLineWidth;
    }
    return Spans;
}

bool Meets(const TRect& A, const TRect& B)
{
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

} // namespace

void TCustomGrid::DrawCell(int, int, TRect, TGridDrawState) {}

void TCustomGrid::Paint()
{
    TCanvas* C = Canvas();
    const TRect Clip = C->ClipRect();
    TGridDrawInfo D;
    CalcDrawInfo(D);
    const std::vector<TSpan> Cols = VisibleSpans(D.Horz, [this](int I) { return ColWidths(I); });
    const std::vector<TSpan> Rows = VisibleSpans(D.Vert, [this](int I) { return RowHeights(I); });
    // The editor's focus is the grid's.
    const bool HasFocus = HasEditFocus();
    const bool EditorShown = FEditorMode && FOptions.Contains(goEditing) &&
                             FInplaceEdit != nullptr && FInplaceEdit->Visible();
    const TGridRect Sel = Selection();
    const bool EditorAlways = FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor);

    C->Brush()->SetStyle(bsSolid);
    // Lines first. A line is a fixed one (black, goFixed...Line) where it runs between fixed
    // cells, that is after a fixed cell or across the other axis' fixed cells; elsewhere it is
    // a grid line (silver, goVertLine / goHorzLine).
    auto Lines = [&](const std::vector<TSpan>& Spans, int Fixed, int LineWidth, bool Vert) {
        if (LineWidth <= 0)
            return;
        const TGridAxisDrawInfo& Across = Vert ? D.Vert : D.Horz;
        const TGridOption FixedOpt = Vert ? goFixedVertLine : goFixedHorzLine;
        const TGridOption GridOpt = Vert ? goVertLine : goHorzLine;
        auto Segment = [&](int At, int From, int To, bool IsFixed) {
            if (From >= To)
                return;
            const TGridOption Opt = IsFixed ? FixedOpt : GridOpt;
            C->Brush()->SetColor(FOptions.Contains(Opt) ? (IsFixed ? clBlack : clSilver) : Color());
            const TRect R =
                Vert ? TRect{At, From, At + LineWidth, To} : TRect{From, At, To, At + LineWidth};
            if (Meets(R, Clip))
                C->FillRect(R);
        };
        for (const TSpan& S : Spans) {
            const bool IsFixed = S.Index < Fixed;
            Segment(S.End, 0, Across.FixedBoundary, true);
            Segment(S.End, Across.FixedBoundary, Across.GridBoundary, IsFixed);
        }
    };
    Lines(Cols, FFixedCols, D.Horz.EffectiveLineWidth, true);
    Lines(Rows, FFixedRows, D.Vert.EffectiveLineWidth, false);

    for (const TSpan& RowSpan : Rows)
        for (const TSpan& ColSpan : Cols) {
            TRect Where{ColSpan.Start, RowSpan.Start, ColSpan.End, RowSpan.End};
            if (!Meets(Where, Clip))
                continue;
            const int ACol = ColSpan.Index;
            const int ARow = RowSpan.Index;
            TGridDrawState State;
            if (ACol < FFixedCols || ARow < FFixedRows)
                State.Include(gdFixed);
            else {
                if (HasFocus && ACol == FCurrent.X && ARow == FCurrent.Y)
                    State.Include(gdFocused);
                if (ACol >= Sel.Left && ACol <= Sel.Right && ARow >= Sel.Top && ARow <= Sel.Bottom)
                    State.Include(gdSelected);
            }
            // The editor paints the current cell.
            if (State.Contains(gdFocused) && EditorShown)
                continue;
            if (FDefaultDrawing) {
                C->SetFont(Font());
                C->Brush()->SetStyle(bsSolid);
                const bool Highlight =
                    State.Contains(gdSelected) &&
                    (!State.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                     FOptions.Contains(goRowSelect));
                if (State.Contains(gdFixed))
                    C->Brush()->SetColor(FFixedColor);
                else if (Highlight) {
                    C->Brush()->SetColor(clHighlight);
                    C->Font()->SetColor(clHighlightText);
                } else
                    C->Brush()->SetColor(Color());
                C->FillRect(Where);
            }
            DrawCell(ACol, ARow, Where, State);
            if (FDefaultDrawing && State.Contains(gdFixed)) {
                TRect Edge = Where;
                C->DrawEdge(Edge, BDR_RAISEDINNER, BF_TOPLEFT | BF_BOTTOMRIGHT);
            }
            if (FDefaultDrawing && State.Contains(gdFocused) && !EditorAlways &&
                !FOptions.Contains(goRowSelect)) {
                C->Brush()->SetStyle(bsSolid);
                C->DrawFocusRect(Where);
            }
        }
    // A selected row has its focus rectangle around the whole row.
    if (FDefaultDrawing && HasFocus && FOptions.Contains(goRowSelect)) {
        const TRect Row = BoxRect(TGridRect{FFixedCols, FCurrent.Y, FColCount - 1, FCurrent.Y});
        if (!IsRectEmpty(Row) && Meets(Row, Clip))
            C->DrawFocusRect(Row);
    }
    // The client area past the last cells.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    const TRect Client = ClientRect();
    const TRect Right{D.Horz.GridBoundary, 0, Client.Right, Client.Bottom};
    const TRect Below{0, D.Vert.GridBoundary, D.Horz.GridBoundary, Client.Bottom};
    if (!IsRectEmpty(Right) && Meets(Right, Clip))
        C->FillRect(Right);
    if (!IsRectEmpty(Below) && Meets(Below, Clip))
        C->FillRect(Below);
}
