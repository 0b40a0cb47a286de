// platform/gfx/bitmap.h: TBitmap, a picture kept as a device-independent bitmap (rows of the
// pixel format's bytes, bottom-up, each row padded to 4 bytes) with a canvas that draws on those
// pixels; its handle form HBITMAP, pattern brushes from bitmaps and BrushCopy.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/palette.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum TPixelFormat {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };

// The pixels of a bitmap. BitCount is 1, 4, 8, 16 or 32 (24 too); 16-bit pixels are 5-6-5 when
// Is565, else 5-5-5. Rows are bottom-up in Bits (the top row last), Stride() bytes each.
// Colors is the colour table of 1-, 4- and 8-bit images (0x00BBGGRR).
struct TDibImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 32;
    bool Is565 = false;
    std::vector<TColor> Colors;
    std::vector<std::uint8_t> Bits;

    static int StrideFor(int Width, int BitCount)
    {
        return static_cast<int>(((static_cast<std::int64_t>(Width) * BitCount + 31) / 32) * 4);
    }
    int Stride() const { return StrideFor(Width, BitCount); }
    // Row Y counted from the top.
    std::uint8_t* Row(int Y)
    {
        return Bits.data() + static_cast<std::size_t>(Height - 1 - Y) * Stride();
    }
    const std::uint8_t* Row(int Y) const
    {
        return Bits.data() + static_cast<std::size_t>(Height - 1 - Y) * Stride();
    }
    // Allocates zeroed pixels (black, or colour 0) for the size and format.
    void Allocate(int AWidth, int AHeight, int ABitCount, bool A565 = false);
    // The colour of a pixel (0x00BBGGRR), and setting one (indexed formats take the nearest
    // colour of the table).
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color) { SetRaw(X, Y, Encode(Color)); }
    // The stored value of a pixel (an index, or the packed bits), the value a colour is stored
    // as, and the colour of a value.
    std::uint32_t Raw(int X, int Y) const;
    void SetRaw(int X, int Y, std::uint32_t Value);
    std::uint32_t Encode(TColor Color) const;
    TColor Decode(std::uint32_t Value) const;
};

// The handle form of a bitmap's pixels (HBITMAP): owned by the bitmap that made it until
// released, then by whoever holds it (DeleteObject frees it).
using HBITMAP = TDibImage*;

// A new bitmap of Planes x BitsPerPixel (1, 4, 8, 16, 24 or 32 bits) from Bits given top-down
// with rows padded to 2 bytes (nil: zeroed); 1-bit pixels are black for 0 and white for 1.
// Nil for bad sizes.
HBITMAP CreateBitmap(int Width, int Height, unsigned Planes, unsigned BitsPerPixel,
                     const void* Bits);
bool DeleteObject(HBITMAP Bitmap);
// True while Bitmap is a live bitmap handle.
bool IsBitmap(HBITMAP Bitmap);

// The bits per pixel the format keeps: 16 for pf15bit, 32 for pfDevice and pfCustom.
int BitCountOf(TPixelFormat Format);

// A brush pattern tiled from a bitmap's pixels (for TBrush::SetPattern); nil for an empty one.
std::shared_ptr<const TBrushPattern> CreatePatternBrush(HBITMAP Bitmap);

class TBitmapDevice;

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    // New size; the picture is kept where it overlaps, the rest is filled white.
    void SetSize(int AWidth, int AHeight);

    // pfDevice keeps 32-bit pixels. Changing the format converts the pixels (to the nearest
    // colour of the palette, or of a new halftone palette for 8 bits without one).
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    // The bytes of row Row (0 = top) in the layout above; EInvalidGraphicOperation "Scan line
    // index out of range" outside. Pending drawing is flushed into the pixels first, and
    // anything written through the pointer shows on the canvas afterwards.
    void* ScanLine(int Row);

    // Draws on the pixels of the bitmap; it lives as long as the bitmap.
    TCanvas* Canvas();

    bool Monochrome() const { return FPixelFormat == pf1bit; }
    // True: 1 bit, black and white. False on a monochrome bitmap: device format.
    void SetMonochrome(bool Value);
    // The colour table as a palette (for 1, 4 and 8 bits); the bitmap keeps it.
    HPALETTE Palette() const override;
    // Takes Value over; the colour table becomes its colours (the pixels keep their indexes).
    void SetPalette(HPALETTE Value) override;
    // The palette handle passes to the caller.
    HPALETTE ReleasePalette();

    void SetTransparent(bool Value) override;
    // tmAuto: the bottom-left pixel (clDefault as the stored value); tmFixed: the stored one.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // The handle of the pixels; owned by the bitmap.
    HBITMAP Handle();
    // The bitmap takes Value over (nil empties it).
    void SetHandle(HBITMAP Value);
    // The handle passes to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return FImage != nullptr; }
    TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
    // bmDDB: device format; bmDIB on a device-format bitmap: 32 bits.
    void SetHandleType(TBitmapHandleType Value);
    // A 1-bit mask: white (1) where the pixel is the transparent colour, black elsewhere.
    // Owned by the bitmap until ReleaseMaskHandle; rebuilt after a change.
    HBITMAP MaskHandle();
    HBITMAP ReleaseMaskHandle();
    // Makes the mask from TransparentColor.
    void Mask(TColor ATransparentColor);
    // Frees what can be made again (the canvas' working pixels, the mask); the picture stays.
    void Dormant();
    void FreeImage();

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // A RT_BITMAP resource holding BMP or PNG bytes; EResNotFound when there is none.
    void LoadFromResourceName(const std::string& ResName);
    // CF_BITMAP (a bitmap handle, copied), CF_DIB (a global memory block holding a packed DIB);
    // with a palette, the colour table comes from it.
    void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
    // CF_BITMAP with a new bitmap handle and, for 1, 4 and 8 bits, a new palette.
    void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;

    // The pixels (pending drawing flushed). Nil when empty.
    const TDibImage* Image();
    // Replaces the pixels; the pixel format follows the image.
    void SetImage(TDibImage Image);

protected:
    void AssignTo(TPersistent* Dest) const override;
    void Changed(TObject* Sender) override;

private:
    friend class TBitmapDevice;
    void Flush() const;
    void NewImage(int AWidth, int AHeight, TPixelFormat Format, std::vector<TColor> Colors);
    void ImageReplaced();
    void FreeMask();

    std::unique_ptr<TDibImage> FImage;
    TPixelFormat FPixelFormat = pfDevice;
    mutable std::unique_ptr<TBitmapDevice> FDevice;
    std::unique_ptr<TCanvas> FCanvas;
    mutable HPALETTE FPalette = nullptr;
    HBITMAP FMask = nullptr;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// Copies Source of Bitmap into Dest of ACanvas, drawing the pixels of Color with the canvas'
// brush instead.
void BrushCopy(TCanvas* ACanvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source,
               TColor Color);
// The colour table of the bitmap whose canvas is DC (as RGBQUAD: blue, green, red, 0); the
// number copied (0 for a canvas that is not a bitmap's or a bitmap without a table).
struct RGBQUAD {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;
};
unsigned GetDIBColorTable(HDC DC, unsigned Start, unsigned Count, RGBQUAD* Colors);
