// tests/imaging/gif/render_test.cpp: frames rendered, drawn onto canvases and made from bitmaps.
#include "tests/imaging/gif/gifsamples.h"

#include "platform/gfx/canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Red = 0x0000FF, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0;

// A picture of PW x PH with one frame of W x H at (L, T); entry 0 red, 1 blue.
std::unique_ptr<TGIFImage> Picture(int PW, int PH, int L, int T, int W, int H, std::uint8_t Value)
{
    auto Image = std::make_unique<TGIFImage>();
    Image->Header()->SetWidth(PW);
    Image->Header()->SetHeight(PH);
    FillColorMap(Image->Header()->ColorMap(), {255, 0, 0, 0, 0, 255});
    AddSampleFrame(*Image, L, T, W, H,
                   std::vector<std::uint8_t>(static_cast<std::size_t>(W) * H, Value));
    return Image;
}

std::unique_ptr<TBitmap> Canvas(int W, int H, TColor Color)
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(W, H);
    Bitmap->Canvas()->Brush()->SetColor(Color);
    Bitmap->Canvas()->FillRect(TRect{0, 0, W, H});
    return Bitmap;
}

TEST(GIFRender, AFrameIsScaledToItsPlaceInTheRectangle)
{
    auto Image = Picture(100, 100, 10, 10, 20, 20, 1);
    auto Target = Canvas(200, 200, White);
    Image->Images()->SubImage(0)->DrawFrame(Target->Canvas(), TRect{0, 0, 200, 200}, false, false);
    EXPECT_EQ(Target->Canvas()->Pixels(19, 19), White);
    EXPECT_EQ(Target->Canvas()->Pixels(20, 20), Blue);
    EXPECT_EQ(Target->Canvas()->Pixels(59, 59), Blue);
    EXPECT_EQ(Target->Canvas()->Pixels(60, 60), White);
}

TEST(GIFRender, TilingRepeatsTheFrameOverTheRectangle)
{
    auto Image = Picture(50, 50, 0, 0, 40, 40, 0);
    auto Target = Canvas(120, 120, White);
    Image->Images()->SubImage(0)->DrawFrame(Target->Canvas(), TRect{0, 0, 120, 120}, false, true);
    int Tiles = 0;
    for (int Y = 0; Y < 120; Y += 50)
        for (int X = 0; X < 120; X += 50) {
            EXPECT_EQ(Target->Canvas()->Pixels(X, Y), Red);
            if (X + 45 < 120) {
                EXPECT_EQ(Target->Canvas()->Pixels(X + 39, Y), Red);
                EXPECT_EQ(Target->Canvas()->Pixels(X + 45, Y), White);
            }
            ++Tiles;
        }
    EXPECT_EQ(Tiles, 9);
}

TEST(GIFRender, TransparentPixelsLeaveTheCanvasAlone)
{
    auto Image = Picture(4, 1, 0, 0, 4, 1, 0);
    TGIFSubImage* Frame = Image->Images()->SubImage(0);
    Frame->Data()[1] = 1;
    Frame->Data()[3] = 1;
    auto* GCE = new TGIFGraphicControlExtension(Frame);
    Frame->Extensions()->Add(GCE);
    GCE->SetHasTransparency(true);
    GCE->SetTransparentIndex(1);
    auto Target = Canvas(4, 1, White);
    Frame->DrawFrame(Target->Canvas(), TRect{0, 0, 4, 1}, true, false);
    EXPECT_EQ(Target->Canvas()->Pixels(0, 0), Red);
    EXPECT_EQ(Target->Canvas()->Pixels(1, 0), White);
    EXPECT_EQ(Target->Canvas()->Pixels(2, 0), Red);
    EXPECT_EQ(Target->Canvas()->Pixels(3, 0), White);
    Frame->DrawFrame(Target->Canvas(), TRect{0, 0, 4, 1}, false, false);
    EXPECT_EQ(Target->Canvas()->Pixels(1, 0), Blue);
}

TEST(GIFRender, ABitmapBecomesAFrameWithoutChangingIt)
{
    TBitmap Source;
    Source.SetPixelFormat(pf24bit);
    Source.SetSize(10, 3);
    for (int X = 0; X < 10; ++X)
        Source.Canvas()->SetPixels(X, 1, X % 2 ? Red : Blue);
    TGIFImage Image;
    Image.AddFrame(&Source);
    EXPECT_EQ(Source.PixelFormat(), pf24bit);
    const TGIFSubImage* Frame = Image.Images()->SubImage(0);
    ASSERT_EQ(Frame->Width(), 10);
    ASSERT_EQ(Frame->Height(), 3);
    TGIFImage Back;
    LoadFromString(Back, SaveToString(Image));
    auto Target = Canvas(10, 3, Black);
    Back.Images()->SubImage(0)->DrawFrame(Target->Canvas(), TRect{0, 0, 10, 3}, false, false);
    for (int X = 0; X < 10; ++X)
        EXPECT_EQ(Target->Canvas()->Pixels(X, 1), X % 2 ? Red : Blue) << X;
}

TEST(GIFRender, OneBitBitmapsKeepTheirPixels)
{
    TBitmap Source;
    Source.SetMonochrome(true);
    Source.SetSize(10, 2);
    Source.Canvas()->Brush()->SetColor(Black);
    Source.Canvas()->FillRect(TRect{0, 0, 10, 2});
    Source.Canvas()->SetPixels(9, 0, White);
    Source.Canvas()->SetPixels(0, 1, White);
    TGIFImage Image;
    Image.AddFrame(&Source);
    const TGIFSubImage* Frame = Image.Images()->SubImage(0);
    ASSERT_EQ(Frame->DataSize(), 20u);
    EXPECT_EQ(Frame->ColorMap()->Count(), 2);
    const std::uint8_t WhiteIndex = Frame->Data()[9];
    EXPECT_EQ(Frame->Data()[10], WhiteIndex);
    EXPECT_NE(Frame->Data()[0], WhiteIndex);
}

TEST(GIFRender, TrueColourBitmapsConvertUpTo256Colours)
{
    for (const int Colors : {256, 257}) {
        TBitmap Source;
        Source.SetPixelFormat(pf24bit);
        Source.SetSize(Colors, 1);
        for (int X = 0; X < Colors; ++X)
            Source.Canvas()->SetPixels(X, 0, X * 3);
        TGIFImage Image;
        Image.SetReductionMethod(rdNone);
        if (Colors == 256) {
            Image.AddFrame(&Source);
            EXPECT_EQ(Image.Images()->SubImage(0)->ColorMap()->Count(), 256);
        } else
            EXPECT_THROW(Image.AddFrame(&Source), GIFException);
    }
}

TEST(GIFRender, TrimmingCutsTransparentBordersAndClearsEmptyFrames)
{
    auto Image = Picture(6, 5, 0, 0, 6, 5, 1);
    TGIFSubImage* Frame = Image->Images()->SubImage(0);
    auto* GCE = new TGIFGraphicControlExtension(Frame);
    Frame->Extensions()->Add(GCE);
    GCE->SetHasTransparency(true);
    GCE->SetTransparentIndex(1);
    Frame->Data()[2 * 6 + 3] = 0;
    Frame->Data()[3 * 6 + 4] = 0;
    Frame->TrimTransparentBorders();
    EXPECT_EQ(Frame->FrameBounds(), (TRect{3, 2, 5, 4}));
    EXPECT_EQ(FramePixels(Frame), (std::vector<std::uint8_t>{0, 1, 1, 0}));
    std::fill(Frame->Data(), Frame->Data() + Frame->DataSize(), 1);
    Frame->TrimTransparentBorders();
    EXPECT_TRUE(Frame->Empty());
}

} // namespace
