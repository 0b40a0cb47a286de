// platform/gfx/bitmapdevice.h: TBitmapDevice, the canvas device of a TBitmap. It draws on a
// 32-bit working copy of the bitmap's pixels and writes it back into the bitmap's own format when
// the pixels are read (ScanLine, saving, reading back a pixel of a format that loses colours).
#pragma once

#include "platform/gfx/forwardingdevice.h"
#include "platform/gfx/rasterdevice.h"

#include <memory>

class TBitmap;
struct TDibImage;

class TBitmapDevice : public TForwardingDevice {
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

    // Drawing a bitmap on itself reads the pixels it holds first.
    void StretchBlt(const TDeviceState& State, const TRect& Dest, const TCanvasDevice& Source,
                    const TRect& Src, std::uint32_t Rop, int StretchMode) override;

protected:
    TRasterDevice* DrawTarget() override { return &Writable(); }
    const TRasterDevice* ReadTarget() const override { return &Readable(); }

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
