// platform/gfx/forwardingdevice.h: TForwardingDevice, a canvas device whose drawing and reading
// go to a raster device it keeps (a bitmap's working copy, a printer's page).
#pragma once

#include "platform/gfx/device.h"
#include "platform/gfx/rasterdevice.h"

class TForwardingDevice : public TCanvasDevice {
public:
    void Polyline(const TDeviceState& State, const std::vector<TPoint>& Points) override;
    void PolyPolygon(const TDeviceState& State, const std::vector<std::vector<TPoint>>& Polygons,
                     bool Winding, bool Fill, bool Stroke) override;
    void Shape(const TDeviceState& State, const TShapeCall& Call) override;
    void FillRect(const TDeviceState& State, const TRect& R) override;
    void PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop) override;
    void StretchBlt(const TDeviceState& State, const TRect& Dest, const TCanvasDevice& Source,
                    const TRect& Src, std::uint32_t Rop, int StretchMode) override;
    void SetPixel(const TDeviceState& State, int X, int Y, TColor Color) override;
    // CLR_INVALID without a device to read.
    TColor GetPixel(int X, int Y) const override;
    void TextOut(const TDeviceState& State, const TDeviceText& Text) override;
    bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const override;

protected:
    // The device drawing goes to (nil: drawing goes nowhere); asked once for each call.
    virtual TRasterDevice* DrawTarget() = 0;
    // The device pixels are read from (nil: there are none).
    virtual const TRasterDevice* ReadTarget() const = 0;
};
