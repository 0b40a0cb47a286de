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
