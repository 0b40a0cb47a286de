// platform/gfx/device.h: TCanvasDevice, the surface under a TCanvas. The canvas resolves
// mapping, colours and text placement; a device gets device coordinates and a snapshot of the
// drawing state with every call, so that raster, recording and printer devices share it.
#pragma once

#include "platform/gfx/color.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/region.h"
#include "platform/gfx/textlayout.h"
#include "platform/rtl/geometry.h"

#include <cstdint>
#include <string>
#include <vector>

enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// ExtTextOut options.
enum : unsigned { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };

// Colours below are plain 0x00BBGGRR values (system colours already resolved).
struct TPenData {
    TColor Color = clBlack;
    int Width = 1; // device pixels, at least 1
    TPenStyle Style = psSolid;
    bool Alternate = false;
};

struct TBrushData {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    std::shared_ptr<const TBrushPattern> Pattern;
};

struct TDeviceState {
    TPenData Pen;
    TBrushData Brush;
    TFontRequest Font; // Height in device pixels
    TColor TextColor = clBlack;
    int Rop2 = 13; // R2_COPYPEN
    int BkMode = OPAQUE;
    TColor BkColor = clWhite;
    TPoint BrushOrigin;
    const TRegion* Clip = nullptr; // device coordinates; nil: the whole device
};

enum TShapeKind { shRectangle, shRoundRect, shEllipse, shArc, shPie, shChord };

struct TShapeCall {
    TShapeKind Kind = shRectangle;
    TRect Box;    // normalised: Left <= Right, Top <= Bottom
    TSize Corner; // shRoundRect
    TPoint Start; // shArc, shPie, shChord: the radials, counter-clockwise from Start to End
    TPoint End;
};

// Text placed by the canvas: the baseline origin, the position of each character relative to
// the origin along the base line (one entry per character as the font engine decodes it),
// and the rectangles of ExtTextOut.
struct TDeviceText {
    TPoint Origin;
    std::string Text;
    std::vector<int> Advances; // pen step of each character, CharExtra included
    int CharExtra = 0;
    TTextCoding Coding = tcAuto; // a piece of a longer text reads as the whole text reads
    unsigned Options = 0;        // ETO_OPAQUE, ETO_CLIPPED
    TRect Rect;                  // the rectangle of the options
};

// GetDeviceCaps indexes.
enum : int {
    TECHNOLOGY = 2,
    HORZSIZE = 4,
    VERTSIZE = 6,
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    NUMCOLORS = 24,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113
};
// TECHNOLOGY values.
enum : int { DT_RASDISPLAY = 1, DT_RASPRINTER = 2 };

class TCanvasDevice {
public:
    virtual ~TCanvasDevice() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int PixelsPerInchX() const { return 96; }
    virtual int PixelsPerInchY() const { return 96; }

    // Lines through the points, each leaving its end point out.
    virtual void Polyline(const TDeviceState& State, const std::vector<TPoint>& Points) = 0;
    // Closed polygons, filled with the brush by the rule and outlined with the pen.
    virtual void PolyPolygon(const TDeviceState& State,
                             const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                             bool Fill, bool Stroke) = 0;
    virtual void Shape(const TDeviceState& State, const TShapeCall& Call) = 0;
    // Fills R (right and bottom excluded) with the brush, ignoring the mix mode.
    virtual void FillRect(const TDeviceState& State, const TRect& R) = 0;
    // Pattern (brush) and destination combined by a raster operation.
    virtual void PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop) = 0;
    // Source rectangle of Source (same size as Dest, or stretched) combined into Dest.
    virtual void StretchBlt(const TDeviceState& State, const TRect& Dest,
                            const TCanvasDevice& Source, const TRect& Src, std::uint32_t Rop,
                            int StretchMode) = 0;
    virtual void SetPixel(const TDeviceState& State, int X, int Y, TColor Color) = 0;
    // -1 (CLR_INVALID) outside the device or on a device without pixels.
    virtual TColor GetPixel(int X, int Y) const = 0;
    virtual void TextOut(const TDeviceState& State, const TDeviceText& Text) = 0;

    // The pixels of R (0x00BBGGRR, row by row) for copying from this device; false when the
    // device keeps no pixels. Pixels outside the device read as white.
    virtual bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const;

    // What GetDeviceCaps answers; a display-like surface unless a device says otherwise
    // (sizes in millimetres, no physical page).
    virtual int DeviceCaps(int Index) const
    {
        switch (Index) {
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZSIZE:
            return PixelsPerInchX() > 0 ? (Width() * 254 / PixelsPerInchX() + 5) / 10 : 0;
        case VERTSIZE:
            return PixelsPerInchY() > 0 ? (Height() * 254 / PixelsPerInchY() + 5) / 10 : 0;
        case HORZRES:
            return Width();
        case VERTRES:
            return Height();
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case LOGPIXELSX:
            return PixelsPerInchX();
        case LOGPIXELSY:
            return PixelsPerInchY();
        default:
            return 0;
        }
    }
};

constexpr TColor CLR_INVALID = -1;
