// platform/stdctrls/gridsizing.cpp: TCustomGrid's hit test for the dividers that can be dragged
// and the line shown while one is.
#include "platform/stdctrls/grids.h"

#include <algorithm>

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                  int& SizingOfs, TGridDrawInfo& FixedInfo)
{
    State = gsNormal;
    Index = -1;
    const TRect Client = ClientRect();
    FixedInfo.Horz.GridExtent = Client.Width();
    FixedInfo.Vert.GridExtent = Client.Height();
    // The dividers after the scrollable cells, each taking a band of at least 7 pixels.
    auto Axis = [&](const TGridAxisDrawInfo& A, int Pos, TGridState NewState, bool Cols) {
        int Range = A.EffectiveLineWidth;
        int Back = 0;
        if (Range < 7) {
            Range = 7;
            Back = (Range - A.EffectiveLineWidth) / 2;
        }
        int Line = A.FixedBoundary;
        for (int I = A.FirstGridCell; I < A.GridCellCount; ++I) {
            Line += Extent(Cols, I);
            if (Line > A.GridBoundary)
                break;
            if (Pos >= Line - Back && Pos <= Line - Back + Range) {
                State = NewState;
                SizingPos = Line;
                SizingOfs = Line - Pos;
                Index = I;
                return;
            }
            Line += A.EffectiveLineWidth;
        }
        // At the very end of the drawn cells the next, partly shown one.
        if (A.GridBoundary == A.GridExtent && Pos >= A.GridExtent - Back && Pos <= A.GridExtent &&
            A.LastFullVisibleCell + 1 < A.GridCellCount) {
            State = NewState;
            SizingPos = A.GridExtent;
            SizingOfs = A.GridExtent - Pos;
            Index = A.LastFullVisibleCell + 1;
        }
    };
    if (X > FixedInfo.Horz.FixedBoundary && FOptions.Contains(goColSizing)) {
        if (Y < FixedInfo.Vert.FixedBoundary)
            Axis(FixedInfo.Horz, X, gsColSizing, true);
    } else if (Y > FixedInfo.Vert.FixedBoundary && FOptions.Contains(goRowSizing)) {
        if (X < FixedInfo.Horz.FixedBoundary)
            Axis(FixedInfo.Vert, Y, gsRowSizing, false);
    }
}

void TCustomGrid::DrawSizingLine(const TGridDrawInfo& DrawInfo)
{
    if (!HandleAllocated())
        return;
    TCanvas* C = Canvas();
    TPen* Pen = C->Pen();
    const TPenStyle OldStyle = Pen->Style();
    const TPenMode OldMode = Pen->Mode();
    const int OldWidth = Pen->Width();
    Pen->SetStyle(psDot);
    Pen->SetMode(pmNot);
    Pen->SetWidth(1);
    if (FGridState == gsRowSizing) {
        C->MoveTo(0, FSizingPos);
        C->LineTo(DrawInfo.Horz.GridBoundary, FSizingPos);
    } else {
        C->MoveTo(FSizingPos, 0);
        C->LineTo(FSizingPos, DrawInfo.Vert.GridBoundary);
    }
    Pen->SetStyle(OldStyle);
    Pen->SetMode(OldMode);
    Pen->SetWidth(OldWidth);
}

void TCustomGrid::DrawMove()
{
    if (!HandleAllocated() || FMovePos < 0)
        return;
    const bool Cols = FGridState == gsColMoving;
    const TRect Cell = Cols ? CellRect(FMovePos, 0) : CellRect(0, FMovePos);
    if (IsRectEmpty(Cell))
        return;
    TGridDrawInfo D;
    CalcDrawInfo(D);
    // On the side of the landing cell the moved one would come from.
    const bool After = FMovePos > FMoveIndex;
    TCanvas* C = Canvas();
    TPen* Pen = C->Pen();
    const TPenStyle OldStyle = Pen->Style();
    const TPenMode OldMode = Pen->Mode();
    const int OldWidth = Pen->Width();
    Pen->SetStyle(psSolid);
    Pen->SetMode(pmNot);
    Pen->SetWidth(1);
    for (int I = -2; I <= 2; ++I) {
        if (Cols) {
            const int X = (After ? Cell.Right : Cell.Left) + I;
            C->MoveTo(X, 0);
            C->LineTo(X, D.Vert.GridBoundary);
        } else {
            const int Y = (After ? Cell.Bottom : Cell.Top) + I;
            C->MoveTo(0, Y);
            C->LineTo(D.Horz.GridBoundary, Y);
        }
    }
    Pen->SetStyle(OldStyle);
    Pen->SetMode(OldMode);
    Pen->SetWidth(OldWidth);
}

void TCustomGrid::MoveAndScroll(int Mouse, int CellHit, bool Cols)
{
    TGridDrawInfo D;
    CalcDrawInfo(D);
    const TGridAxisDrawInfo& A = Cols ? D.Horz : D.Vert;
    if (CellHit == FMovePos || (FMovePos == A.FixedCellCount && Mouse < A.FixedBoundary) ||
        (FMovePos == A.GridCellCount - 1 && Mouse > A.GridBoundary))
        return;
    DrawMove();
    if (Mouse < A.FixedBoundary) {
        if (FMovePos > A.FixedCellCount)
            ModifyScrollBar(Cols, SB_LINEUP, 0);
        CalcDrawInfo(D);
        CellHit = (Cols ? D.Horz : D.Vert).FirstGridCell;
    } else if (Mouse >= A.FullVisBoundary) {
        if (FMovePos == A.LastFullVisibleCell && FMovePos < A.GridCellCount - 1)
            ModifyScrollBar(Cols, SB_LINEDOWN, 0);
        CalcDrawInfo(D);
        CellHit = (Cols ? D.Horz : D.Vert).LastFullVisibleCell;
    } else if (CellHit < 0)
        CellHit = FMovePos;
    if (CellHit >= A.FixedCellCount)
        FMovePos = CellHit;
    // The scroll paints later; the bar goes on what will show.
    Update();
    DrawMove();
}
