#include "controls/entry/ovcscpaint.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"

#include <algorithm>

namespace {

bool IsRectangle(const TSpinRegion& Region)
{
    const auto& C = Region.Corners;
    return C.size() == 4 && C[0].Y == C[1].Y && C[1].X == C[2].X && C[2].Y == C[3].Y &&
           C[3].X == C[0].X;
}

// The average of the corners: the centre of a rectangle, the centroid of a triangle.
TPoint MiddleOf(const TSpinRegion& Region)
{
    long long X = 0;
    long long Y = 0;
    for (const TPoint& P : Region.Corners) {
        X += P.X;
        Y += P.Y;
    }
    const auto N = static_cast<long long>(Region.Corners.size());
    return TPoint{static_cast<int>(X / N), static_cast<int>(Y / N)};
}

// A slanted face: filled, then each side drawn light when it faces up or left and dark when it
// faces down or right (the other way round while pressed).
void PaintPolygonFace(TCanvas* Canvas, const TSpinRegion& Region, bool Pressed)
{
    Canvas->Pen()->SetColor(clBtnFace);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->Polygon(Region.Corners);
    const TPoint Mid = MiddleOf(Region);
    const std::size_t N = Region.Corners.size();
    for (std::size_t I = 0; I < N; ++I) {
        const TPoint A = Region.Corners[I];
        const TPoint B = Region.Corners[(I + 1) % N];
        // The side's normal that points away from the middle.
        int NX = B.Y - A.Y;
        int NY = A.X - B.X;
        const long long Away = static_cast<long long>(NX) * ((A.X + B.X) / 2 - Mid.X) +
                               static_cast<long long>(NY) * ((A.Y + B.Y) / 2 - Mid.Y);
        if (Away < 0) {
            NX = -NX;
            NY = -NY;
        }
        const bool Lit = (NX + NY < 0) != Pressed;
        Canvas->Pen()->SetColor(Lit ? clBtnHighlight : clBtnShadow);
        Canvas->MoveTo(A.X, A.Y);
        Canvas->LineTo(B.X, B.Y);
    }
}

void PaintArrow(TCanvas* Canvas, const TSpinRegion& Region, TOvcSpinState Kind, bool Pressed)
{
    const TRect Box = Region.Bounds();
    const int Size = (std::min(Box.Width(), Box.Height()) / 2) | 1;
    const int Half = Size / 2;
    TPoint C = MiddleOf(Region);
    if (Pressed) {
        ++C.X;
        ++C.Y;
    }
    // Half + 1 rows (or columns), one pixel wider each from the tip to a base Size wide.
    const int Base = Half / 2;
    int DX = 0; // the step from the tip towards the base
    int DY = 0;
    switch (Kind) {
    case TOvcSpinState::ssUpBtn:
        DY = 1;
        break;
    case TOvcSpinState::ssDownBtn:
        DY = -1;
        break;
    case TOvcSpinState::ssLeftBtn:
        DX = 1;
        break;
    case TOvcSpinState::ssRightBtn:
        DX = -1;
        break;
    default:
        return;
    }
    const TPoint Tip{C.X - DX * (Half - Base), C.Y - DY * (Half - Base)};
    Canvas->Brush()->SetColor(clBtnText);
    for (int I = 0; I <= Half; ++I) {
        const int X = Tip.X + DX * I;
        const int Y = Tip.Y + DY * I;
        if (DY != 0)
            Canvas->FillRect(Rect(X - I, Y, X + I + 1, Y + 1));
        else
            Canvas->FillRect(Rect(X, Y - I, X + 1, Y + I + 1));
    }
}

} // namespace

void PaintSpinButton(TCanvas* Canvas, const TSpinRegion& Region, TOvcSpinState Kind, bool Pressed,
                     bool ShowArrows)
{
    if (Region.Empty())
        return;
    if (IsRectangle(Region)) {
        TRect R = Region.Bounds();
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(R);
        Canvas->DrawEdge(R, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else {
        PaintPolygonFace(Canvas, Region, Pressed);
    }
    if (ShowArrows)
        PaintArrow(Canvas, Region, Kind, Pressed);
}
