#include "platform/gfx/forwardingdevice.h"

void TForwardingDevice::Polyline(const TDeviceState& State, const std::vector<TPoint>& Points)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->Polyline(State, Points);
}

void TForwardingDevice::PolyPolygon(const TDeviceState& State,
                                    const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                                    bool Fill, bool Stroke)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->PolyPolygon(State, Polygons, Winding, Fill, Stroke);
}

void TForwardingDevice::Shape(const TDeviceState& State, const TShapeCall& Call)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->Shape(State, Call);
}

void TForwardingDevice::FillRect(const TDeviceState& State, const TRect& R)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->FillRect(State, R);
}

void TForwardingDevice::PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->PatBlt(State, R, Rop);
}

void TForwardingDevice::StretchBlt(const TDeviceState& State, const TRect& Dest,
                                   const TCanvasDevice& Source, const TRect& Src, std::uint32_t Rop,
                                   int StretchMode)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->StretchBlt(State, Dest, Source, Src, Rop, StretchMode);
}

void TForwardingDevice::SetPixel(const TDeviceState& State, int X, int Y, TColor Color)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->SetPixel(State, X, Y, Color);
}

TColor TForwardingDevice::GetPixel(int X, int Y) const
{
    const TRasterDevice* Source = ReadTarget();
    return Source ? Source->GetPixel(X, Y) : CLR_INVALID;
}

void TForwardingDevice::TextOut(const TDeviceState& State, const TDeviceText& Text)
{
    if (TRasterDevice* Target = DrawTarget())
        Target->TextOut(State, Text);
}

bool TForwardingDevice::ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const
{
    const TRasterDevice* Source = ReadTarget();
    return Source && Source->ReadPixels(R, Pixels);
}
