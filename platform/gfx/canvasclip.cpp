// The canvas' clip: a region in device coordinates, changed through logical rectangles.
#include "platform/gfx/canvas.h"

int TCanvas::GetClipBox(TRect& R) const
{
    if (!FSettings.Clip) {
        R = LogicalRect(DeviceBounds());
        return SIMPLEREGION;
    }
    R = LogicalRect(FSettings.Clip->Bounds());
    return RegionKind(*FSettings.Clip);
}

TRect TCanvas::ClipRect() const
{
    TRect R;
    GetClipBox(R);
    return R;
}

int TCanvas::SelectClipRgn(const TRegion* Region)
{
    if (!Region) {
        FSettings.Clip.reset();
        return SIMPLEREGION;
    }
    FSettings.Clip = *Region;
    return RegionKind(*FSettings.Clip);
}

int TCanvas::GetClipRgn(TRegion& Dest) const
{
    if (!FSettings.Clip)
        return 0;
    Dest = *FSettings.Clip;
    return 1;
}

int TCanvas::IntersectClipRect(int Left, int Top, int Right, int Bottom)
{
    const TRegion R(DeviceRect(Left, Top, Right, Bottom));
    FSettings.Clip = FSettings.Clip ? TRegion::Intersect(*FSettings.Clip, R) : R;
    return RegionKind(*FSettings.Clip);
}

int TCanvas::ExcludeClipRect(int Left, int Top, int Right, int Bottom)
{
    const TRegion All = FSettings.Clip ? *FSettings.Clip : TRegion(DeviceBounds());
    FSettings.Clip = TRegion::Diff(All, TRegion(DeviceRect(Left, Top, Right, Bottom)));
    return RegionKind(*FSettings.Clip);
}

int TCanvas::OffsetClipRgn(int DX, int DY)
{
    if (!FSettings.Clip)
        return SIMPLEREGION;
    const TPoint O = LPtoDP(TPoint{0, 0});
    const TPoint D = LPtoDP(TPoint{DX, DY});
    FSettings.Clip->Offset(D.X - O.X, D.Y - O.Y);
    return RegionKind(*FSettings.Clip);
}

bool TCanvas::PtVisible(int X, int Y) const
{
    const TPoint D = LPtoDP(TPoint{X, Y});
    if (FSettings.Clip)
        return FSettings.Clip->Contains(D.X, D.Y);
    return PtInRect(DeviceBounds(), D);
}

TRect TCanvas::DeviceBounds() const
{
    return FDevice ? TRect{0, 0, FDevice->Width(), FDevice->Height()} : TRect{};
}
