// platform/gfx/bitmapdevice.h: TBitmapDevice, the canvas device of a TBitmap. It draws on a
// 32-bit working copy of the bitmap's pixels and writes it back into the bitmap's own format when
// the pixels are read (ScanLine, saving, reading back a pixel of a format that loses colours).
#pragma once

#include "platform/gfx/device.h"
#include "platform/gfx/rasterdevice.h"

#include <memory>

class TBitmap;
struct TDibImage;

class TBitmapDevice : public TCanvasDevice {
public:
    explicit TBitmapDevice(TBitmap* Owner) : FOwner(Owner) {}

    TBitmap* Owner() const { return FOwner; }
    // Writes pending drawing into the bitmap's pixels.
    void Flush();
    // The bitmap's pixels were replaced or may be written directly: drawing starts again from
    // them.
    void Invalidate();

    int Width() const override;
    int Height() const override;

    void Polyline(const TDeviceState& State, const std::vector<TPoint>& Points) override;
    void PolyPolygon(const TDeviceState& State, const std::vector<std::vector<TPoint>>& Polygons,
                     bool Winding, bool Fill, bool Stroke) override;
    void Shape(const TDeviceState& State, const TShapeCall& Call) override;
    void FillRect(const TDeviceState& State, const TRect& R) override;
    void PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop) override;
    void StretchBlt(const TDeviceState& State, const TRect& Dest, const TCanvasDevice& Source,
                    const TRect& Src, std::uint32_t Rop, int StretchMode) override;
    void SetPixel(const TDeviceState& State, int X, int Y, TColor Color) override;
    TColor GetPixel(int X, int Y) const override;
    void TextOut(const TDeviceState& State, const TDeviceText& Text) override;
    bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const override;

private:
    const TDibImage* Image() const;
    TRasterDevice& Raster() const; // loaded from the pixels when stale
    TRasterDevice& Writable();
    const TRasterDevice& Readable() const;

    TBitmap* FOwner;
    mutable std::unique_ptr<TRasterDevice> FRaster;
    mutable bool FRasterValid = false;
    mutable bool FRasterNewer = false;
};
