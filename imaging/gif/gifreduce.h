// imaging/gif/gifreduce.h: colour reduction of true-colour bitmaps to palettes (fixed palettes
// and the octree quantiser), the colour lookups, the error-diffusion dither engines, and row
// access to device-independent bitmaps for reading and writing.
#pragma once

#include "imaging/gif/gifexception.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/palette.h"

#include <cstdint>
#include <memory>
#include <vector>

enum TGIFReductionMethod : std::uint8_t {
    rdNone,
    rdSystem20,
    rdHalftone,
    rdSystemGray4,
    rdBlackWhite,
    rdGray256,
    rdCube216,
    rdOctree,
    rdOctreeSystem,
    rdCustomPalette
};

enum TGIFDitherMethod : std::uint8_t {
    dtNearest,
    dtFloydSteinberg,
    dtStucki,
    dtSierra,
    dtJarvisJudiceNinke,
    dtStevensonArce,
    dtBurkes
};

// Row access to a bitmap's pixels in one pixel format.
class TDIB : public TObject {
public:
    TDIB(TBitmap* ABitmap, TPixelFormat AFormat) : FBitmap(ABitmap), FPixelFormat(AFormat) {}
    virtual std::uint8_t* RowAddress(int Row) = 0;
    TPixelFormat PixelFormat() const { return FPixelFormat; }

protected:
    TBitmap* FBitmap;
    TPixelFormat FPixelFormat;
};

// Reads a bitmap in a given format. A bitmap of another format is read through a converted
// copy: the caller's bitmap is never changed.
class TDIBReader : public TDIB {
public:
    TDIBReader(TBitmap* ABitmap, TPixelFormat AFormat);
    std::uint8_t* RowAddress(int Row) override;
    int Width() const { return FImage ? FImage->Width : 0; }
    int Height() const { return FImage ? FImage->Height : 0; }
    // The colour table of the bitmap read (0x00BBGGRR).
    const std::vector<TColor>& Colors() const;

private:
    std::unique_ptr<TBitmap> FCopy;
    TDibImage* FImage = nullptr;
};

// Builds a new 8- or 24-bit image and hands it to the target bitmap when destroyed.
class TDIBWriter : public TDIB {
public:
    TDIBWriter(TBitmap* ABitmap, HPALETTE APalette, int AHeight, int AWidth, TPixelFormat AFormat);
    ~TDIBWriter() override;
    std::uint8_t* RowAddress(int Row) override;

private:
    TDibImage FImage;
};

class TColorLookup : public TObject {
public:
    explicit TColorLookup(int AColors) : FColors(AColors) {}
    int Colors() const { return FColors; }
    virtual int MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                         int& OutBlue) = 0;

protected:
    int FColors;
};

// Any palette: an inverse table over 5 bits per channel, each cell searched once.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(HPALETTE Palette);
    int MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen, int& OutBlue) override;

private:
    std::vector<PALETTEENTRY> FEntries;
    std::vector<std::int16_t> FInverse;
};

// The 216-colour cube.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    int MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen, int& OutBlue) override;
};

class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen, int& OutBlue) override;
};

class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen, int& OutBlue) override;
};

// Nearest colour, no error spread. Rows are walked alternately left to right and right to left.
class TDitherEngine : public TObject {
public:
    TDitherEngine(int AWidth, TColorLookup* ALookup);
    virtual int DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen, int& OutBlue);
    virtual void NextRow();
    int Direction() const { return FDirection; }
    int Column() const { return FColumn; }
    // Moves past a pixel that is not dithered.
    void Skip() { FColumn += FDirection; }

protected:
    int FDirection = 1;
    int FColumn = 0;
    TColorLookup* FLookup;
    int FWidth;
};

class TFloydSteinbergDitherer : public TDitherEngine {
public:
    TFloydSteinbergDitherer(int AWidth, TColorLookup* ALookup);
    int DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                    int& OutBlue) override;
    void NextRow() override;

private:
    // Per channel, the errors for the next row, cell x + 1 for column x.
    std::vector<int> FErrors[3];
    int FCarried[3] = {};
    int FBelow[3] = {};
    int FBelowPrev[3] = {};
};

// An error-diffusion kernel over a few rows, spread in the direction of the walk.
class TKernelDitherer : public TDitherEngine {
public:
    struct TWeight {
        int Row;
        int Offset; // in units of the direction
        int Weight;
    };
    TKernelDitherer(int AWidth, TColorLookup* ALookup, int ARows, int AMargin, int ADivisor,
                    std::vector<TWeight> AWeights);
    int DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                    int& OutBlue) override;
    void NextRow() override;

private:
    int FMargin;
    int FDivisor;
    std::vector<TWeight> FWeights;
    // Per channel, the kernel's rows of width + 2 * margin cells; row 0 is the current one.
    std::vector<std::vector<int>> FBuffers[3];
};

class T5by3Ditherer : public TKernelDitherer {
public:
    using TKernelDitherer::TKernelDitherer;
};
class TStuckiDitherer : public T5by3Ditherer {
public:
    TStuckiDitherer(int AWidth, TColorLookup* ALookup);
};
class TSierraDitherer : public T5by3Ditherer {
public:
    TSierraDitherer(int AWidth, TColorLookup* ALookup);
};
class TJaJuNiDitherer : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int AWidth, TColorLookup* ALookup);
};
class TSteveArcheDitherer : public TKernelDitherer {
public:
    TSteveArcheDitherer(int AWidth, TColorLookup* ALookup);
};
class TBurkesDitherer : public TKernelDitherer {
public:
    TBurkesDitherer(int AWidth, TColorLookup* ALookup);
};

std::unique_ptr<TDitherEngine> CreateDitherEngine(TGIFDitherMethod Method, int Width,
                                                  TColorLookup* Lookup);

class TOctreeNode : public TObject {
public:
    bool Leaf = false;
    std::uint32_t PixelCount = 0;
    std::uint32_t RedSum = 0;
    std::uint32_t GreenSum = 0;
    std::uint32_t BlueSum = 0;
    TOctreeNode* Next = nullptr;
    std::unique_ptr<TOctreeNode> Children[8];
};

class TColorQuantizer : public TObject {
public:
    TColorQuantizer(int AMaxColors, int AColorBits);
    ~TColorQuantizer() override;
    void AddColor(int Red, int Green, int Blue);
    void ProcessImage(TDIBReader& Reader);
    int ColorCount() const { return FLeafCount; }
    // The leaf colours in tree order (0x00BBGGRR).
    std::vector<TColor> Colors() const;

private:
    TOctreeNode* NewNode(int Level);
    void ReduceTree();

    std::unique_ptr<TOctreeNode> FTree;
    int FLeafCount = 0;
    TOctreeNode* FReducible[8] = {};
    int FMaxColors;
    int FColorBits;
};

// A palette of Colors octree colours of the image (236 plus the 20 system colours with
// WithSystemColors); the caller owns it.
HPALETTE OctreePalette(TDIBReader& Reader, int Colors, int ColorBits, bool WithSystemColors);
// The 216-colour cube (entry i*36 + j*6 + k is red i*51, green j*51, blue k*51).
HPALETTE CreateCubePalette();
// Count grays spread evenly from black to white, with the no-collapse flag.
HPALETTE CreateGrayPalette(int Count);

// A new 8-bit bitmap (24-bit for rdNone) of Bitmap reduced by Method; Bitmap is not changed.
// QuantizeBits is clamped to 1..8.
std::unique_ptr<TBitmap> ReduceColorDepth(TBitmap* Bitmap, TGIFReductionMethod Method,
                                          TGIFDitherMethod Dither, HPALETTE CustomPalette,
                                          int QuantizeBits);
