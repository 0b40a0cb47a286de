// Lines, shapes, fills and pixels on the canvas; inside a path they become its figures.
#include "platform/gfx/canvas.h"

#include <cmath>
#include <numbers>

void TCanvas::MoveTo(int X, int Y)
{
    FSettings.PenPos = TPoint{X, Y};
    if (FPathOpen)
        AddFigure({LPtoDP(FSettings.PenPos)}, false);
}

void TCanvas::LineTo(int X, int Y)
{
    const TPoint From = LPtoDP(FSettings.PenPos);
    const TPoint To = LPtoDP(TPoint{X, Y});
    FSettings.PenPos = TPoint{X, Y};
    if (FPathOpen) {
        if (FPath.empty() || FPath.back().Closed)
            AddFigure({From}, false);
        FPath.back().Points.push_back(To);
        return;
    }
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    FDevice->Polyline(State(), {From, To});
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    std::vector<TPoint> D;
    D.reserve(Points.size());
    for (const TPoint& P : Points)
        D.push_back(LPtoDP(P));
    if (FPathOpen) {
        AddFigure(std::move(D), false);
        return;
    }
    if (!FDevice || D.size() < 2)
        return;
    TChangeScope Scope(this);
    FDevice->Polyline(State(), D);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    PolyPolygon({Points});
}

void TCanvas::PolyPolygon(const std::vector<std::vector<TPoint>>& Polygons)
{
    std::vector<std::vector<TPoint>> D;
    for (const auto& Poly : Polygons) {
        D.emplace_back();
        for (const TPoint& P : Poly)
            D.back().push_back(LPtoDP(P));
    }
    if (FPathOpen) {
        for (auto& Poly : D)
            AddFigure(std::move(Poly), true);
        return;
    }
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    FDevice->PolyPolygon(State(), D, FSettings.PolyFillMode == WINDING, true, true);
}

void TCanvas::SetPolyFillMode(int Value)
{
    if (Value == ALTERNATE || Value == WINDING)
        FSettings.PolyFillMode = Value;
}

void TCanvas::DrawShape(TShapeKind Kind, int X1, int Y1, int X2, int Y2, TSize Corner, TPoint Start,
                        TPoint End)
{
    TShapeCall Call;
    Call.Kind = Kind;
    Call.Box = DeviceRect(X1, Y1, X2, Y2);
    Call.Corner = TSize{DeviceLength(Corner.cx, false), DeviceLength(Corner.cy, true)};
    Call.Start = LPtoDP(Start);
    Call.End = LPtoDP(End);
    if (FPathOpen) {
        const TRect& B = Call.Box;
        if (Kind == shRectangle) {
            AddFigure({{B.Left, B.Top}, {B.Right, B.Top}, {B.Right, B.Bottom}, {B.Left, B.Bottom}},
                      true);
        } else {
            // Curved outlines enter a path as polygons.
            std::vector<TPoint> Poly;
            const double CX = (B.Left + B.Right) / 2.0;
            const double CY = (B.Top + B.Bottom) / 2.0;
            constexpr int Steps = 64;
            for (int I = 0; I < Steps; ++I) {
                const double T = 2 * std::numbers::pi * I / Steps;
                Poly.push_back(
                    TPoint{static_cast<int>(std::lround(CX + B.Width() / 2.0 * std::cos(T))),
                           static_cast<int>(std::lround(CY - B.Height() / 2.0 * std::sin(T)))});
            }
            AddFigure(std::move(Poly), true);
        }
        return;
    }
    if (!FDevice || IsRectEmpty(Call.Box))
        return;
    TChangeScope Scope(this);
    FDevice->Shape(State(), Call);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    DrawShape(shRectangle, X1, Y1, X2, Y2, TSize{}, TPoint{}, TPoint{});
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    DrawShape(shRoundRect, X1, Y1, X2, Y2, TSize{X3, Y3}, TPoint{}, TPoint{});
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    DrawShape(shEllipse, X1, Y1, X2, Y2, TSize{}, TPoint{}, TPoint{});
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shArc, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shPie, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shChord, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::FillRect(const TRect& R)
{
    TRect D;
    if (!DeviceArea(R, D))
        return;
    TChangeScope Scope(this);
    FDevice->FillRect(State(), D);
}

void TCanvas::FrameRect(const TRect& R)
{
    TRect D;
    if (!DeviceArea(R, D))
        return;
    TChangeScope Scope(this);
    const TDeviceState S = State();
    for (const TRect& Strip : FrameStrips(D))
        FDevice->FillRect(S, Strip);
}

std::vector<TRect> TCanvas::FrameStrips(const TRect& R)
{
    std::vector<TRect> Strips{TRect{R.Left, R.Top, R.Right, R.Top + 1}};
    if (R.Height() > 1)
        Strips.push_back(TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom});
    if (R.Height() > 2) {
        Strips.push_back(TRect{R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1});
        if (R.Width() > 1)
            Strips.push_back(TRect{R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1});
    }
    return Strips;
}

void TCanvas::FillRgn(const TRegion& Region)
{
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    const TRegion Area = FSettings.Clip ? TRegion::Intersect(*FSettings.Clip, Region) : Region;
    TDeviceState S = State();
    S.Clip = &Area;
    FDevice->FillRect(S, Area.Bounds());
}

TColor TCanvas::Pixels(int X, int Y) const
{
    if (!FDevice)
        return CLR_INVALID;
    const TPoint D = LPtoDP(TPoint{X, Y});
    if (FSettings.Clip && !FSettings.Clip->Contains(D.X, D.Y))
        return CLR_INVALID;
    return FDevice->GetPixel(D.X, D.Y);
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    const TPoint D = LPtoDP(TPoint{X, Y});
    FDevice->SetPixel(State(), D.X, D.Y, Plain(Value));
}

void TCanvas::FillDeviceRect(const TRect& R, TColor Color)
{
    if (!FDevice || IsRectEmpty(R))
        return;
    TDeviceState S = State();
    S.Brush = TBrushData{Plain(Color), bsSolid, nullptr};
    FDevice->FillRect(S, R);
}
