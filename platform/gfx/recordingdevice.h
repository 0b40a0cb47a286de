// platform/gfx/recordingdevice.h: TRecordingDevice, a device that keeps a log of the calls it
// receives with the state they were made in, for tests that check what was drawn.
#pragma once

#include "platform/gfx/device.h"

#include <string>
#include <vector>

class TRecordingDevice : public TCanvasDevice {
public:
    struct TCall {
        std::string Name;             // "Polyline", "Shape", "FillRect", "TextOut"...
        std::vector<TPoint> Points;   // coordinates as passed (rectangles as two corners)
        std::string Text;             // text output
        TDeviceState State;           // Clip is reset to nil: see ClipRects
        std::vector<TRect> ClipRects; // the clip region's rectangles; empty: no clip
        bool Clipped = false;
        std::uint32_t Rop = 0; // PatBlt, StretchBlt
        std::string Line;      // the call as one readable line
        // The rest of what the call received, so that it can be played again on another
        // device.
        std::vector<int> PolyCounts; // PolyPolygon: the number of points of each polygon
        bool Winding = false;        // PolyPolygon
        bool Fill = false;
        bool Stroke = false;
        TShapeCall Shape;                 // the shapes
        TDeviceText DeviceText;           // TextOut
        TColor Color = clBlack;           // SetPixel
        int StretchMode = 0;              // StretchBlt
        TRect Src;                        // StretchBlt: the source rectangle as passed
        TSize SourceSize;                 // StretchBlt: the pixels of the source rectangle,
        std::vector<TColor> SourcePixels; // first pixel first (none: the source has none)
    };

    TRecordingDevice(int Width = 640, int Height = 480, int PixelsPerInch = 96);

    const std::vector<TCall>& Calls() const { return FCalls; }
    // The readable lines of the calls, in order.
    std::vector<std::string> Lines() const;
    void Clear() { FCalls.clear(); }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    int PixelsPerInchX() const override { return FPpi; }
    int PixelsPerInchY() const override { return FPpi; }

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

private:
    TCall& Add(const std::string& Name, const TDeviceState& State);

    int FWidth;
    int FHeight;
    int FPpi;
    std::vector<TCall> FCalls;
};

// The pieces of a log line, for tests that build expected lines.
std::string DescribePen(const TPenData& Pen, int Rop2);
std::string DescribeBrush(const TBrushData& Brush);
std::string DescribeFont(const TFontRequest& Font, TColor TextColor);
