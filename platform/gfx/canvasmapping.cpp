// The canvas' mapping: the mapping modes, the window and viewport origins and extents, and
// logical coordinates and lengths turned into device ones and back.
#include "platform/gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// N / D rounded half away from zero.
long long RoundDiv(long long N, long long D)
{
    if (D == 0)
        return 0;
    if (D < 0) {
        N = -N;
        D = -D;
    }
    return N >= 0 ? (N + D / 2) / D : -((-N + D / 2) / D);
}

TRect Normalized(const TRect& R)
{
    return TRect{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
                 std::max(R.Top, R.Bottom)};
}

// V on one axis from the space with origin FromOrg and extent FromExt into the other one.
int MapAxis(int V, int FromOrg, int FromExt, int ToOrg, int ToExt)
{
    return static_cast<int>(RoundDiv(static_cast<long long>(V - FromOrg) * ToExt, FromExt) + ToOrg);
}

// An isotropic viewport extent shrunk to the scale of the other axis, keeping its sign.
int FitExtent(int Viewport, int Window, int OtherViewport, int OtherWindow)
{
    const int Sign = Viewport < 0 ? -1 : 1;
    return Sign *
           static_cast<int>(RoundDiv(std::llabs(static_cast<long long>(Window) * OtherViewport),
                                     std::llabs(OtherWindow)));
}

template <typename TMap>
bool MapEach(TPoint* Points, int Count, TMap Map)
{
    if (!Points || Count < 0)
        return false;
    for (int I = 0; I < Count; ++I)
        Points[I] = Map(Points[I]);
    return true;
}

bool SetOrigin(TPoint& Origin, int X, int Y, TPoint* Old)
{
    if (Old)
        *Old = Origin;
    Origin = TPoint{X, Y};
    return true;
}

} // namespace

TPoint TCanvas::LPtoDP(const TPoint& P) const
{
    const TSettings& S = FSettings;
    return TPoint{MapAxis(P.X, S.WindowOrg.X, S.WindowExt.cx, S.ViewportOrg.X, S.ViewportExt.cx),
                  MapAxis(P.Y, S.WindowOrg.Y, S.WindowExt.cy, S.ViewportOrg.Y, S.ViewportExt.cy)};
}

TPoint TCanvas::DPtoLP(const TPoint& P) const
{
    const TSettings& S = FSettings;
    return TPoint{MapAxis(P.X, S.ViewportOrg.X, S.ViewportExt.cx, S.WindowOrg.X, S.WindowExt.cx),
                  MapAxis(P.Y, S.ViewportOrg.Y, S.ViewportExt.cy, S.WindowOrg.Y, S.WindowExt.cy)};
}

bool TCanvas::LPtoDP(TPoint* Points, int Count) const
{
    return MapEach(Points, Count, [this](const TPoint& P) { return LPtoDP(P); });
}

bool TCanvas::DPtoLP(TPoint* Points, int Count) const
{
    return MapEach(Points, Count, [this](const TPoint& P) { return DPtoLP(P); });
}

int TCanvas::DeviceLength(int Logical, bool Vertical) const
{
    const long long V = Vertical ? FSettings.ViewportExt.cy : FSettings.ViewportExt.cx;
    const long long W = Vertical ? FSettings.WindowExt.cy : FSettings.WindowExt.cx;
    return static_cast<int>(std::llabs(RoundDiv(Logical * V, W)));
}

int TCanvas::LogicalLength(int Device, bool Vertical) const
{
    const long long V = Vertical ? FSettings.ViewportExt.cy : FSettings.ViewportExt.cx;
    const long long W = Vertical ? FSettings.WindowExt.cy : FSettings.WindowExt.cx;
    return static_cast<int>(std::llabs(RoundDiv(Device * W, V)));
}

TRect TCanvas::DeviceRect(int X1, int Y1, int X2, int Y2) const
{
    const TPoint A = LPtoDP(TPoint{X1, Y1});
    const TPoint B = LPtoDP(TPoint{X2, Y2});
    return Normalized(TRect{A.X, A.Y, B.X, B.Y});
}

bool TCanvas::DeviceArea(const TRect& R, TRect& Device) const
{
    if (!FDevice)
        return false;
    Device = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    return !IsRectEmpty(Device);
}

TRect TCanvas::LogicalRect(const TRect& Device) const
{
    const TPoint A = DPtoLP(Device.TopLeft());
    const TPoint B = DPtoLP(Device.BottomRight());
    return Normalized(TRect{A.X, A.Y, B.X, B.Y});
}

int TCanvas::SetMapMode(int Value)
{
    const int Old = FSettings.MapMode;
    if (Value < MM_TEXT || Value > MM_ANISOTROPIC)
        return 0;
    const int PX = FDevice ? FDevice->PixelsPerInchX() : 96;
    const int PY = FDevice ? FDevice->PixelsPerInchY() : 96;
    auto Fixed = [&](int UnitsPerInch) {
        FSettings.WindowExt = TSize{UnitsPerInch, UnitsPerInch};
        FSettings.ViewportExt = TSize{PX, -PY};
    };
    FSettings.MapMode = Value;
    switch (Value) {
    case MM_TEXT:
        FSettings.WindowExt = TSize{1, 1};
        FSettings.ViewportExt = TSize{1, 1};
        break;
    case MM_LOMETRIC:
        Fixed(254);
        break;
    case MM_HIMETRIC:
        Fixed(2540);
        break;
    case MM_LOENGLISH:
        Fixed(100);
        break;
    case MM_HIENGLISH:
        Fixed(1000);
        break;
    case MM_TWIPS:
        Fixed(1440);
        break;
    case MM_ISOTROPIC:
        AdjustIsotropic();
        break;
    default:
        break;
    }
    return Old;
}

void TCanvas::AdjustIsotropic()
{
    TSize& Window = FSettings.WindowExt;
    TSize& Viewport = FSettings.ViewportExt;
    if (FSettings.MapMode != MM_ISOTROPIC || Window.cx == 0 || Window.cy == 0)
        return;
    // One logical unit takes the same length both ways: the smaller scale wins.
    const double SX = std::abs(double(Viewport.cx) / Window.cx);
    const double SY = std::abs(double(Viewport.cy) / Window.cy);
    if (SX > SY)
        Viewport.cx = FitExtent(Viewport.cx, Window.cx, Viewport.cy, Window.cy);
    else if (SY > SX)
        Viewport.cy = FitExtent(Viewport.cy, Window.cy, Viewport.cx, Window.cx);
}

bool TCanvas::SetWindowOrgEx(int X, int Y, TPoint* Old)
{
    return SetOrigin(FSettings.WindowOrg, X, Y, Old);
}

bool TCanvas::SetViewportOrgEx(int X, int Y, TPoint* Old)
{
    return SetOrigin(FSettings.ViewportOrg, X, Y, Old);
}

bool TCanvas::OffsetWindowOrgEx(int DX, int DY, TPoint* Old)
{
    return SetWindowOrgEx(FSettings.WindowOrg.X + DX, FSettings.WindowOrg.Y + DY, Old);
}

bool TCanvas::OffsetViewportOrgEx(int DX, int DY, TPoint* Old)
{
    return SetViewportOrgEx(FSettings.ViewportOrg.X + DX, FSettings.ViewportOrg.Y + DY, Old);
}

bool TCanvas::SetExtent(TSize& Extent, int X, int Y, TSize* Old)
{
    if (Old)
        *Old = Extent;
    if (FSettings.MapMode != MM_ISOTROPIC && FSettings.MapMode != MM_ANISOTROPIC)
        return true; // fixed modes keep their extents
    if (X == 0 || Y == 0)
        return false;
    Extent = TSize{X, Y};
    AdjustIsotropic();
    return true;
}

bool TCanvas::SetWindowExtEx(int X, int Y, TSize* Old)
{
    return SetExtent(FSettings.WindowExt, X, Y, Old);
}

bool TCanvas::SetViewportExtEx(int X, int Y, TSize* Old)
{
    return SetExtent(FSettings.ViewportExt, X, Y, Old);
}
