// platform/gfx/metafileformat.h: a metafile's picture, and what the writer, the reader and the
// player of our binary form share: the record kinds, the limits of coordinates, the clip regions
// of records and the pixels of recorded copies.
#pragma once

#include "platform/gfx/device.h"
#include "platform/gfx/recordingdevice.h"
#include "platform/gfx/region.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The calls a picture was drawn with, in device pixels of the frame they were drawn in.
struct TMetafileImage {
    std::vector<TRecordingDevice::TCall> Records;
    TRect Frame;
    int PixelsPerInch = 96;
};

// All that a metafile file keeps: the picture (nil: none) and the size meant for it.
struct TMetafileContents {
    std::shared_ptr<const TMetafileImage> Image;
    int MMWidth = 0; // hundredths of a millimetre
    int MMHeight = 0;
    bool Enhanced = true;
};

namespace metafileformat {

constexpr char Magic[4] = {'T', 'W', 'M', 'F'};
constexpr std::uint16_t FormatVersion = 1;
constexpr std::uint16_t FlagEnhanced = 1;
constexpr std::uint16_t FlagImage = 2;
// Coordinates stay within this, so that sums and offsets of them never overflow.
constexpr int MaxCoordinate = 1 << 30;
// Sizes in pixels are screen pixels at this resolution.
constexpr int ScreenPixelsPerInch = 96;

enum TRecordKind : std::uint8_t {
    rkPolyline,
    rkPolyPolygon,
    rkShape,
    rkFillRect,
    rkPatBlt,
    rkStretchBlt,
    rkSetPixel,
    rkTextOut
};

// The kind a recorded call is kept as; false for a call the form does not keep.
bool RecordKind(const std::string& Name, TRecordKind& Kind);

// The rectangle a FillRect, PatBlt or StretchBlt record keeps as its two corners.
TRect RecordRect(const TRecordingDevice::TCall& Call);

// The clip region of a record from its rectangles, band by band as TRegion::Rects gives them.
TRegion RegionFromRects(const std::vector<TRect>& Rects);

// The source of a recorded StretchBlt: the pixels of the source rectangle where they were,
// white around them.
class TPixelSource : public TCanvasDevice {
public:
    TPixelSource(const TRect& Box, const std::vector<TColor>& Pixels) : FBox(Box), FPixels(Pixels)
    {
    }
    int Width() const override;
    int Height() const override;
    void Polyline(const TDeviceState&, const std::vector<TPoint>&) override {}
    void PolyPolygon(const TDeviceState&, const std::vector<std::vector<TPoint>>&, bool, bool,
                     bool) override
    {
    }
    void Shape(const TDeviceState&, const TShapeCall&) override {}
    void FillRect(const TDeviceState&, const TRect&) override {}
    void PatBlt(const TDeviceState&, const TRect&, std::uint32_t) override {}
    void StretchBlt(const TDeviceState&, const TRect&, const TCanvasDevice&, const TRect&,
                    std::uint32_t, int) override
    {
    }
    void SetPixel(const TDeviceState&, int, int, TColor) override {}
    void TextOut(const TDeviceState&, const TDeviceText&) override {}
    TColor GetPixel(int X, int Y) const override;
    bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const override;

private:
    TRect FBox;
    const std::vector<TColor>& FPixels;
};

} // namespace metafileformat
