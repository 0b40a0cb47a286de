// tests/imaging/gif/reduce_test.cpp: colour look-ups, dithering and colour reduction.
#include "imaging/gif/gifreduce.h"
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

TEST(GIFReduce, TheLookupsMapToTheirPalettes)
{
    int R, G, B;
    TNetscapeColorLookup Cube;
    EXPECT_EQ(Cube.MapColor(47, 0, 0, R, G, B), 0);
    EXPECT_EQ(Cube.MapColor(48, 0, 0, R, G, B), 36);
    EXPECT_EQ(R, 51);
    EXPECT_EQ(Cube.MapColor(255, 255, 255, R, G, B), 215);
    TGrayScaleLookup Gray;
    EXPECT_EQ(Gray.MapColor(255, 0, 0, R, G, B), 76);
    TMonochromeLookup Mono;
    // 127 * (77 + 150 + 29) is exactly the threshold 0x7F00.
    EXPECT_EQ(Mono.MapColor(127, 127, 127, R, G, B), 0);
    EXPECT_EQ(Mono.MapColor(128, 127, 127, R, G, B), 1);
    HPALETTE P = CreateGrayPalette(2);
    TFastColorLookup Fast(P);
    EXPECT_EQ(Fast.MapColor(200, 200, 200, R, G, B), 1);
    EXPECT_EQ(Fast.MapColor(20, 20, 20, R, G, B), 0);
    DeleteObject(P);
}

// A uniform gray dithered to black and white: the share of white follows the gray level, and
// rows whose error is zero spread nothing twice.
TEST(GIFReduce, FloydSteinbergSpreadsEachErrorOnce)
{
    for (const int Level : {0, 64, 128, 191, 255}) {
        TMonochromeLookup Mono;
        TFloydSteinbergDitherer Engine(64, &Mono);
        int White = 0;
        for (int Y = 0; Y < 64; ++Y) {
            while (Engine.Column() >= 0 && Engine.Column() < 64) {
                int R, G, B;
                White += Engine.DitherPixel(Level, Level, Level, R, G, B);
            }
            Engine.NextRow();
        }
        EXPECT_NEAR(White / 4096.0, Level / 255.0, 0.03) << Level;
    }
}

TEST(GIFReduce, EveryEngineKeepsAUniformGrayNearItsLevel)
{
    for (int Method = dtNearest; Method <= dtBurkes; ++Method) {
        TGrayScaleLookup Gray;
        auto Engine = CreateDitherEngine(static_cast<TGIFDitherMethod>(Method), 16, &Gray);
        long Sum = 0;
        for (int Y = 0; Y < 16; ++Y) {
            while (Engine->Column() >= 0 && Engine->Column() < 16) {
                int R, G, B;
                Sum += Engine->DitherPixel(100, 100, 100, R, G, B);
            }
            Engine->NextRow();
        }
        EXPECT_NEAR(Sum / 256.0, 100, 1.5) << Method;
    }
}

std::unique_ptr<TBitmap> ThreeColours()
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(6, 2);
    const TColor Colors[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 6; ++X)
            Bitmap->Canvas()->SetPixels(X, Y, Colors[X % 3]);
    return Bitmap;
}

TEST(GIFReduce, OctreeFindsTheColoursOfAFewColourImage)
{
    auto Source = ThreeColours();
    std::unique_ptr<TBitmap> Result =
        ReduceColorDepth(Source.get(), rdOctree, dtNearest, nullptr, 8);
    ASSERT_EQ(Result->PixelFormat(), pf8bit);
    for (int X = 0; X < 6; ++X)
        EXPECT_EQ(Result->Canvas()->Pixels(X, 1), Source->Canvas()->Pixels(X, 1)) << X;
}

TEST(GIFReduce, TheSourceBitmapIsNotChanged)
{
    auto Source = ThreeColours();
    for (const TGIFReductionMethod Method :
         {rdNone, rdCube216, rdGray256, rdBlackWhite, rdOctree}) {
        std::unique_ptr<TBitmap> Result =
            ReduceColorDepth(Source.get(), Method, dtFloydSteinberg, nullptr, 99);
        EXPECT_EQ(Source->PixelFormat(), pf24bit);
        EXPECT_FALSE(Result->Empty());
    }
    std::unique_ptr<TBitmap> Copy = ReduceColorDepth(Source.get(), rdNone, dtNearest, nullptr, 8);
    EXPECT_EQ(Copy->PixelFormat(), pf24bit);
    EXPECT_EQ(Copy->Canvas()->Pixels(2, 0), 0xFF0000);
}

TEST(GIFReduce, QuantizeBitsOutsideOneToEightAreRefused)
{
    TGIFImage Image;
    EXPECT_THROW(Image.SetQuantizeBits(0), EInvalidGraphicOperation);
    EXPECT_THROW(Image.SetQuantizeBits(9), EInvalidGraphicOperation);
    Image.SetQuantizeBits(4);
    EXPECT_EQ(Image.QuantizeBits(), 4);
}

TEST(GIFReduce, TheWriterRefusesOtherFormatsAndEmptySizes)
{
    TBitmap Target;
    EXPECT_THROW(TDIBWriter(&Target, nullptr, 2, 2, pf4bit), GIFException);
    EXPECT_THROW(TDIBWriter(&Target, nullptr, 0, 2, pf8bit), GIFException);
}

} // namespace
