// platform/gfx/rasterdevice.h: TRasterDevice, a picture in memory of 32-bit pixels drawn with
// the classic integer rules (line end points and right and bottom edges left out, pen mix
// modes, raster operations, clipping regions).
#pragma once

#include "platform/gfx/device.h"

#include <cstdint>
#include <vector>

class TRasterDevice : public TCanvasDevice {
public:
    // Pixels start as Background.
    TRasterDevice(int Width, int Height, TColor Background = clWhite);

    // New size; the picture is kept where it overlaps, the rest takes Background.
    void SetSize(int Width, int Height, TColor Background = clWhite);
    void SetPixelsPerInch(int X, int Y);
    void Clear(TColor Color);

    // Pixels as 0x00RRGGBB words (B, G, R, 0 bytes in memory), rows top down, Width() words
    // per row with no padding.
    std::uint32_t* ScanLine(int Y) { return FPixels.data() + static_cast<std::size_t>(Y) * FWidth; }
    const std::uint32_t* ScanLine(int Y) const
    {
        return FPixels.data() + static_cast<std::size_t>(Y) * FWidth;
    }
    std::uint32_t* Bits() { return FPixels.data(); }
    const std::uint32_t* Bits() const { return FPixels.data(); }
    // The pixel as TColor (0x00BBGGRR); CLR_INVALID outside.
    TColor Pixel(int X, int Y) const { return GetPixel(X, Y); }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    int PixelsPerInchX() const override { return FPpiX; }
    int PixelsPerInchY() const override { return FPpiY; }

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

    // The pixels a copy's rectangle covers, left to right and top to bottom: a reversed
    // rectangle starts at its first pixel, so (3, 0)-(-1, 1) covers x 3 down to 0.
    static TRect FirstPixelBox(const TRect& R);

    // TColor (0x00BBGGRR) and the memory form (0x00RRGGBB) into each other.
    static std::uint32_t ToNative(TColor Color)
    {
        const auto C = static_cast<std::uint32_t>(Color);
        return (C & 0xFF) << 16 | (C & 0xFF00) | (C >> 16 & 0xFF);
    }
    static TColor FromNative(std::uint32_t Pixel)
    {
        return static_cast<TColor>((Pixel & 0xFF) << 16 | (Pixel & 0xFF00) | (Pixel >> 16 & 0xFF));
    }
    // Top over Under, both in the memory form, with Alpha from 0 (all Under) to 255 (all Top);
    // the top byte comes out 0.
    static std::uint32_t Blend(std::uint32_t Top, std::uint32_t Under, std::uint32_t Alpha)
    {
        std::uint32_t Out = 0;
        for (int Shift = 0; Shift <= 16; Shift += 8) {
            const std::uint32_t T = Top >> Shift & 0xFF;
            const std::uint32_t U = Under >> Shift & 0xFF;
            Out |= ((T * Alpha + U * (255 - Alpha) + 127) / 255) << Shift;
        }
        return Out;
    }

private:
    int FWidth = 0;
    int FHeight = 0;
    int FPpiX = 96;
    int FPpiY = 96;
    std::vector<std::uint32_t> FPixels;
};
