#include "platform/gfx/bitmap.h"

#include "platform/gfx/bmpformat.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/resources.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::vector<TPixelFormat> AllFormats = {pf1bit,  pf4bit,  pf8bit,  pf15bit,
                                              pf16bit, pf24bit, pf32bit, pfDevice};

// Colours every format keeps exactly (black and white for one bit).
std::vector<TColor> ExactColors(TPixelFormat Format)
{
    if (Format == pf1bit)
        return {clBlack, clWhite};
    return {clBlack, clWhite, clRed, clLime, clBlue, clYellow};
}

void Paint(TBitmap& B, const std::vector<TColor>& Colors)
{
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X)
            B.Canvas()->SetPixels(X, Y,
                                  Colors[static_cast<std::size_t>(X * 3 + Y) % Colors.size()]);
}

void ExpectPainted(TBitmap& B, const std::vector<TColor>& Colors)
{
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X)
            ASSERT_EQ(B.Canvas()->Pixels(X, Y),
                      Colors[static_cast<std::size_t>(X * 3 + Y) % Colors.size()])
                << X << "," << Y;
}

} // namespace

TEST(Bitmap, ScanLinesAreBottomUpRowsPaddedToFourBytes)
{
    struct Case {
        TPixelFormat Format;
        int Stride; // for 5 pixels
    };
    const std::vector<Case> Cases = {{pf1bit, 4},   {pf4bit, 4},   {pf8bit, 8},   {pf15bit, 12},
                                     {pf16bit, 12}, {pf24bit, 16}, {pf32bit, 20}, {pfDevice, 20}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Format);
        TBitmap B;
        B.SetPixelFormat(C.Format);
        B.SetSize(5, 3);
        auto* Row0 = static_cast<std::uint8_t*>(B.ScanLine(0));
        auto* Row1 = static_cast<std::uint8_t*>(B.ScanLine(1));
        auto* Row2 = static_cast<std::uint8_t*>(B.ScanLine(2));
        EXPECT_EQ(Row0 - Row1, C.Stride);
        EXPECT_EQ(Row1 - Row2, C.Stride);
    }
}

TEST(Bitmap, ScanLineOutsideTheBitmapRaises)
{
    TBitmap B;
    EXPECT_THROW(B.ScanLine(0), EInvalidGraphicOperation);
    B.SetSize(2, 2);
    for (int Row : {-1, 2})
        EXPECT_THROW(B.ScanLine(Row), EInvalidGraphicOperation);
}

TEST(Bitmap, CanvasAndScanLineSeeTheSamePixelsInEveryFormat)
{
    for (TPixelFormat Format : AllFormats) {
        SCOPED_TRACE(Format);
        TBitmap B;
        B.SetPixelFormat(Format);
        B.SetSize(4, 3);
        const std::vector<TColor> Colors = ExactColors(Format);
        Paint(B, Colors);
        ExpectPainted(B, Colors);
        // Drawing reaches the rows; a row written directly reaches the canvas.
        const TDibImage* I = B.Image();
        EXPECT_EQ(I->Pixel(1, 0), Colors[3 % Colors.size()]);
        auto* Row = static_cast<std::uint8_t*>(B.ScanLine(2));
        std::uint8_t* Row0 = static_cast<std::uint8_t*>(B.ScanLine(0));
        std::memcpy(Row, Row0, static_cast<std::size_t>(I->Stride()));
        EXPECT_EQ(B.Canvas()->Pixels(1, 2), B.Canvas()->Pixels(1, 0));
    }
}

TEST(Bitmap, DrawingOnFewColoursTakesTheNearestColour)
{
    TBitmap B;
    B.SetPixelFormat(pf4bit);
    B.SetSize(2, 1);
    B.Canvas()->SetPixels(0, 0, RGB(250, 10, 10));
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(*static_cast<std::uint8_t*>(B.ScanLine(0)) >> 4, 9); // red in the 16 colours
}

TEST(Bitmap, NewAreaIsWhiteAndResizingKeepsThePicture)
{
    TBitmap B;
    B.SetSize(2, 2);
    EXPECT_EQ(B.Canvas()->Pixels(1, 1), clWhite);
    B.Canvas()->SetPixels(1, 1, clRed);
    B.SetSize(3, 3);
    EXPECT_EQ(B.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(2, 2), clWhite);
}

TEST(Bitmap, PixelFormatChangeConvertsThePixels)
{
    TBitmap B;
    B.SetSize(3, 1);
    B.Canvas()->SetPixels(0, 0, clRed);
    B.Canvas()->SetPixels(1, 0, RGB(10, 10, 10));
    B.SetPixelFormat(pf1bit);
    EXPECT_TRUE(B.Monochrome());
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(B.Canvas()->Pixels(2, 0), clWhite);
    B.SetMonochrome(false);
    EXPECT_EQ(B.PixelFormat(), pfDevice);
    EXPECT_EQ(B.HandleType(), bmDDB);
    EXPECT_EQ(B.Canvas()->Pixels(2, 0), clWhite);
    B.SetPixelFormat(pf24bit);
    EXPECT_EQ(B.HandleType(), bmDIB);
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clBlack);
}

TEST(Bitmap, SavesAndLoadsBmpInEveryFormat)
{
    for (TPixelFormat Format : AllFormats) {
        SCOPED_TRACE(Format);
        TBitmap B;
        B.SetPixelFormat(Format);
        B.SetSize(7, 5);
        Paint(B, ExactColors(Format));
        TMemoryStream S;
        B.SaveToStream(&S);
        S.SetPosition(0);
        TBitmap Back;
        Back.LoadFromStream(&S);
        EXPECT_EQ(Back.PixelFormat(), Format == pfDevice ? pf32bit : Format);
        ASSERT_EQ(Back.Width(), 7);
        ExpectPainted(Back, ExactColors(Format));
    }
}

TEST(Bitmap, SaveToFileIsAtomicAndLoadFromFileReadsPngToo)
{
    TestSupport::TTempFolder Folder;
    const std::string Name = Folder.Path() + "a.bmp";
    TestSupport::WriteAll(Name, "old");
    TBitmap Empty;
    TBitmap B;
    B.SetSize(2, 2);
    B.Canvas()->SetPixels(0, 0, clBlue);
    B.SaveToFile(Name);
    TBitmap Back;
    Back.LoadFromFile(Name);
    EXPECT_EQ(Back.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_THROW(Back.LoadFromFile(Folder.Path() + "missing.bmp"), EFOpenError);
    TestSupport::WriteAll(Name, "BM garbage");
    EXPECT_THROW(Back.LoadFromFile(Name), EInvalidGraphic);
    EXPECT_EQ(Back.Canvas()->Pixels(0, 0), clBlue); // a failed load keeps the picture
}

TEST(Bitmap, TransparentBitmapLeavesThePatternUnderItsTransparentColour)
{
    TRasterDevice Device(8, 8);
    TCanvas Canvas(&Device);
    Canvas.Brush()->SetStyle(bsCross);
    Canvas.Brush()->SetColor(clRed);
    Canvas.SetBkColor(clWhite);
    Canvas.FillRect(TRect{0, 0, 8, 8});
    std::vector<TColor> Before;
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            Before.push_back(Device.Pixel(X, Y));

    TBitmap B;
    B.SetSize(4, 4);
    B.Canvas()->Brush()->SetColor(clLime); // the bottom-left pixel: the transparent colour
    B.Canvas()->FillRect(TRect{0, 0, 4, 4});
    B.Canvas()->SetPixels(1, 1, clBlue);
    B.SetTransparent(true);
    EXPECT_EQ(B.TransparentColor(), clLime);
    Canvas.Draw(2, 2, &B);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            const TColor Expected =
                X == 3 && Y == 3 ? clBlue : Before[static_cast<std::size_t>(Y * 8 + X)];
            ASSERT_EQ(Device.Pixel(X, Y), Expected) << X << "," << Y;
        }

    // A fixed transparent colour, stretched to twice the size over a bitmap pattern brush.
    TBitmap Tile;
    Tile.SetSize(2, 1);
    Tile.Canvas()->SetPixels(0, 0, clYellow);
    Tile.Canvas()->SetPixels(1, 0, clNavy);
    Canvas.Brush()->SetPattern(CreatePatternBrush(Tile.Handle()));
    Canvas.FillRect(TRect{0, 0, 8, 8});
    B.SetTransparentColor(clBlue);
    EXPECT_EQ(B.TransparentMode(), tmFixed);
    Canvas.StretchDraw(TRect{0, 0, 8, 8}, &B);
    EXPECT_EQ(Device.Pixel(0, 0), clLime);
    EXPECT_EQ(Device.Pixel(2, 2), clYellow); // under the blue pixel the pattern stays
    EXPECT_EQ(Device.Pixel(3, 3), clNavy);
}

TEST(Bitmap, DrawCopiesWithTheCanvasCopyMode)
{
    TRasterDevice Device(4, 4, clBlack);
    TCanvas Canvas(&Device);
    TBitmap B;
    B.SetSize(2, 2);
    B.Canvas()->SetPixels(0, 0, clRed);
    Canvas.Draw(1, 1, &B);
    EXPECT_EQ(Device.Pixel(1, 1), clRed);
    EXPECT_EQ(Device.Pixel(2, 2), clWhite);
    EXPECT_EQ(Device.Pixel(3, 3), clBlack);
    Canvas.SetCopyMode(NOTSRCCOPY);
    Canvas.Draw(1, 1, &B);
    EXPECT_EQ(Device.Pixel(1, 1), clAqua);
}

TEST(Bitmap, BrushCopyPaintsTheBrushWhereTheColourWas)
{
    TRasterDevice Device(3, 1, clBlack);
    TCanvas Canvas(&Device);
    Canvas.Brush()->SetColor(clYellow);
    TBitmap B;
    B.SetSize(3, 1);
    B.Canvas()->SetPixels(0, 0, clRed);
    B.Canvas()->SetPixels(1, 0, clBlue);
    B.Canvas()->SetPixels(2, 0, clRed);
    BrushCopy(&Canvas, TRect{0, 0, 3, 1}, &B, TRect{0, 0, 3, 1}, clRed);
    EXPECT_EQ(Device.Pixel(0, 0), clYellow);
    EXPECT_EQ(Device.Pixel(1, 0), clBlue);
    EXPECT_EQ(Device.Pixel(2, 0), clYellow);
}

TEST(Bitmap, MaskIsWhiteWhereTheTransparentColourIs)
{
    TBitmap B;
    B.SetSize(2, 1);
    B.Canvas()->SetPixels(0, 0, clRed);
    B.Canvas()->SetPixels(1, 0, clWhite);
    B.SetTransparentColor(clWhite);
    HBITMAP Mask = B.MaskHandle();
    ASSERT_NE(Mask, nullptr);
    EXPECT_EQ(Mask->BitCount, 1);
    EXPECT_EQ(Mask->Pixel(0, 0), clBlack);
    EXPECT_EQ(Mask->Pixel(1, 0), clWhite);
    HBITMAP Released = B.ReleaseMaskHandle();
    EXPECT_TRUE(IsBitmap(Released));
    EXPECT_TRUE(DeleteObject(Released));
    EXPECT_FALSE(DeleteObject(Released));
}

TEST(Bitmap, AssignCopiesPixelsFormatAndTransparency)
{
    TBitmap A;
    A.SetPixelFormat(pf8bit);
    A.SetSize(2, 2);
    A.Canvas()->SetPixels(0, 0, clRed);
    A.SetTransparentColor(clRed);
    A.SetTransparent(true);
    TBitmap B;
    int Changes = 0;
    B.OnChange = [&](TObject*) { ++Changes; };
    B.Assign(&A);
    EXPECT_GT(Changes, 0);
    EXPECT_EQ(B.PixelFormat(), pf8bit);
    EXPECT_TRUE(B.Transparent());
    EXPECT_EQ(B.TransparentColor(), clRed);
    A.Canvas()->SetPixels(0, 0, clBlue); // a copy, not shared
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), clRed);
    B.Assign(nullptr);
    EXPECT_TRUE(B.Empty());
}

TEST(Bitmap, HandlesPassBetweenBitmaps)
{
    TBitmap A;
    A.SetSize(3, 2);
    A.Canvas()->SetPixels(2, 1, clRed);
    HBITMAP H = A.ReleaseHandle();
    EXPECT_TRUE(A.Empty());
    TBitmap B;
    B.SetHandle(H);
    EXPECT_FALSE(IsBitmap(H)); // owned by B now
    EXPECT_EQ(B.Canvas()->Pixels(2, 1), clRed);
    const std::uint8_t Bits[] = {0x80, 0, 0x00, 0}; // 1 bit, rows padded to 2 bytes
    HBITMAP Made = CreateBitmap(1, 2, 1, 1, Bits);
    ASSERT_TRUE(IsBitmap(Made));
    EXPECT_EQ(Made->Pixel(0, 0), clWhite);
    EXPECT_EQ(Made->Pixel(0, 1), clBlack);
    EXPECT_TRUE(DeleteObject(Made));
    EXPECT_EQ(CreateBitmap(0, 1, 1, 1, nullptr), nullptr);
    EXPECT_THROW(B.SetHandle(Made), EInvalidGraphic); // already deleted
}

TEST(Bitmap, PaletteFollowsTheColourTable)
{
    TBitmap B;
    B.SetPixelFormat(pf8bit);
    B.SetSize(1, 1);
    const std::vector<TColor> Colors = {clRed, clLime};
    B.SetPalette(PaletteFromColors(Colors));
    EXPECT_EQ(PaletteColors(B.Palette()), Colors);
    B.Canvas()->SetPixels(0, 0, clLime);
    EXPECT_EQ(*static_cast<std::uint8_t*>(B.ScanLine(0)), 1);
    RGBQUAD Table[4];
    ASSERT_EQ(GetDIBColorTable(B.Canvas()->Handle(), 0, 4, Table), 2u);
    EXPECT_EQ(Table[1].rgbGreen, 255);
    HPALETTE Mine = B.ReleasePalette();
    EXPECT_TRUE(DeleteObject(Mine));
    TBitmap True;
    True.SetSize(1, 1);
    EXPECT_EQ(True.Palette(), nullptr);
}

TEST(Bitmap, ClipboardDibBlockLoads)
{
    TBitmap A;
    A.SetPixelFormat(pf24bit);
    A.SetSize(2, 1);
    A.Canvas()->SetPixels(1, 0, clRed);
    const std::string Dib = WritePackedDib(*A.Image());
    HGLOBAL Block = GlobalAlloc(GHND, Dib.size());
    std::memcpy(GlobalLock(Block), Dib.data(), Dib.size());
    GlobalUnlock(Block);
    TBitmap B;
    B.LoadFromClipboardFormat(CF_DIB, Block, nullptr);
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clRed);
    EXPECT_THROW(B.LoadFromClipboardFormat(CF_TEXT, Block, nullptr), EInvalidGraphic);
    GlobalFree(Block);
}

TEST(Bitmap, ResourceThatIsMissingRaises)
{
    TBitmap B;
    EXPECT_THROW(B.LoadFromResourceName("NO SUCH BITMAP"), EResNotFound);
}

TEST(Bitmap, DormantKeepsThePicture)
{
    TBitmap B;
    B.SetPixelFormat(pf8bit);
    B.SetSize(2, 2);
    B.Canvas()->SetPixels(1, 0, clRed);
    B.Dormant();
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clRed);
}
