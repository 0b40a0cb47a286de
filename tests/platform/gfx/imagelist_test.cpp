// TImageList: adding strips and masks, keeping indices through edits, and drawing in every
// style, enabled and disabled.
#include "platform/gfx/imagelist.h"
#include "platform/gfx/rasterdevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A strip of 16 x 16 parts, part I filled with Colors[I], each with a 4 x 4 block of Key in its
// top-left corner.
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& Colors, TColor Key = clFuchsia)
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(16 * static_cast<int>(Colors.size()), 16);
    TCanvas* C = Bitmap->Canvas();
    for (std::size_t I = 0; I < Colors.size(); ++I) {
        const int Left = 16 * static_cast<int>(I);
        C->Brush()->SetColor(Colors[I]);
        C->FillRect(Rect(Left, 0, Left + 16, 16));
        C->Brush()->SetColor(Key);
        C->FillRect(Rect(Left, 0, Left + 4, 4));
    }
    return Bitmap;
}

TColor ColorOf(const TCustomImageList& List, int Index, int X = 8, int Y = 8)
{
    const TIconImage* Image = List.Image(Index);
    if (!Image)
        return CLR_INVALID;
    return TRasterDevice::FromNative(Image->Pixels[static_cast<std::size_t>(Y * Image->Width + X)]);
}

struct TProbe {
    int X, Y;
    TColor Expected;
};

void ExpectPixels(const TRasterDevice& Device, const std::vector<TProbe>& Probes)
{
    for (const TProbe& P : Probes)
        EXPECT_EQ(Device.Pixel(P.X, P.Y), P.Expected) << P.X << "," << P.Y;
}

} // namespace

TEST(TImageListTest, AddMaskedSplitsAStripAndDrawsThroughTheMask)
{
    TImageList List(nullptr);
    int Changes = 0;
    List.OnChange = [&](TObject*) { ++Changes; };
    EXPECT_EQ(List.Width(), 16);
    EXPECT_EQ(List.Height(), 16);
    auto Bitmap = Strip({clRed, clLime, clBlue});
    EXPECT_EQ(List.AddMasked(Bitmap.get(), clFuchsia), 0);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.AddMasked(Bitmap.get(), clFuchsia), 3);
    EXPECT_EQ(List.Count(), 6);
    EXPECT_EQ(Changes, 2);

    TRasterDevice Device(48, 16, clGray);
    TCanvas Canvas(&Device);
    for (int I = 0; I < 3; ++I)
        List.Draw(&Canvas, 16 * I, 0, I);
    ExpectPixels(Device, {{1, 1, clGray},
                          {8, 8, clRed},
                          {4, 0, clRed},
                          {17, 3, clGray},
                          {24, 8, clLime},
                          {35, 2, clGray},
                          {40, 15, clBlue}});
}

TEST(TImageListTest, DefaultMaskColourIsTheBottomLeftPixel)
{
    auto Bitmap = Strip({clRed});
    Bitmap->Canvas()->SetPixels(0, 15, clRed);
    TImageList List(nullptr);
    List.AddMasked(Bitmap.get(), clDefault);
    // Red is transparent now and the fuchsia corner shows.
    TRasterDevice Device(16, 16, clGray);
    TCanvas Canvas(&Device);
    List.Draw(&Canvas, 0, 0, 0);
    ExpectPixels(Device, {{8, 8, clGray}, {1, 1, clFuchsia}});
    // As the bitmap's own transparent colour says.
    List.AddMasked(Bitmap.get(), Bitmap->TransparentColor());
    EXPECT_EQ(List.Image(1)->Mask, List.Image(0)->Mask);
}

TEST(TImageListTest, AddTakesAMaskBitmapWhoseWhitePixelsAreTransparent)
{
    auto Bitmap = Strip({clRed, clBlue});
    TBitmap Mask;
    Mask.SetSize(32, 16);
    Mask.Canvas()->Brush()->SetColor(clBlack);
    Mask.Canvas()->FillRect(Rect(0, 0, 32, 16));
    Mask.Canvas()->Brush()->SetColor(clWhite);
    Mask.Canvas()->FillRect(Rect(0, 8, 32, 16));
    TImageList List(nullptr);
    EXPECT_EQ(List.Add(Bitmap.get(), &Mask), 0);
    EXPECT_EQ(List.Add(nullptr, nullptr), 2); // an empty image
    ASSERT_EQ(List.Count(), 3);

    TRasterDevice Device(48, 16, clGray);
    TCanvas Canvas(&Device);
    for (int I = 0; I < 3; ++I)
        List.Draw(&Canvas, 16 * I, 0, I);
    ExpectPixels(Device, {{8, 4, clRed},
                          {8, 12, clGray},
                          {1, 1, clFuchsia},
                          {24, 4, clBlue},
                          {24, 12, clGray},
                          {40, 4, clGray}});
}

TEST(TImageListTest, DeleteMoveAndReplaceKeepIndicesRight)
{
    const std::vector<TColor> Colors = {clRed, clLime, clBlue, clYellow, clAqua};
    TImageList List(nullptr);
    List.AddMasked(Strip(Colors).get(), clNone);
    ASSERT_EQ(List.Count(), 5);
    EXPECT_EQ(ColorOf(List, 0, 1, 1), clFuchsia); // clNone keeps every pixel

    List.Delete(1);
    EXPECT_EQ(List.Count(), 4);
    List.Move(0, 2);
    List.Replace(3, Strip({clNavy}).get(), nullptr);
    List.ReplaceMasked(1, Strip({clOlive}).get(), clFuchsia);
    const std::vector<TColor> Expected = {clBlue, clOlive, clRed, clNavy};
    for (std::size_t I = 0; I < Expected.size(); ++I)
        EXPECT_EQ(ColorOf(List, static_cast<int>(I)), Expected[I]) << I;
    EXPECT_EQ(List.Image(1)->Mask[0], 1);
    List.Move(3, 0);
    EXPECT_EQ(ColorOf(List, 0), clNavy);
    EXPECT_EQ(ColorOf(List, 1), clBlue);

    TBitmap Out;
    ASSERT_TRUE(List.GetBitmap(2, &Out));
    EXPECT_EQ(Out.Width(), 16);
    EXPECT_EQ(Out.Canvas()->Pixels(8, 8), clOlive);
    EXPECT_FALSE(List.GetBitmap(4, &Out));

    struct TBad {
        const char* Name;
        std::function<void()> Call;
    };
    const std::vector<TBad> Bad = {
        {"delete past the end", [&] { List.Delete(4); }},
        {"delete before the start", [&] { List.Delete(-1); }},
        {"move to past the end", [&] { List.Move(0, 4); }},
        {"replace past the end", [&] { List.Replace(4, nullptr, nullptr); }},
        {"replace masked past the end", [&] { List.ReplaceMasked(9, nullptr, clNone); }},
    };
    for (const TBad& B : Bad)
        EXPECT_THROW(B.Call(), EInvalidOperation) << B.Name;
    EXPECT_EQ(List.Count(), 4);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
}

TEST(TImageListTest, DisabledDrawingEmbossesTheShape)
{
    // A black square (4..7) and a white one (10..12) on a transparent ground.
    TBitmap Bitmap;
    Bitmap.SetSize(16, 16);
    TCanvas* C = Bitmap.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(0, 0, 16, 16));
    C->Brush()->SetColor(clBlack);
    C->FillRect(Rect(4, 4, 8, 8));
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(10, 10, 13, 13));
    TImageList List(nullptr);
    List.AddMasked(&Bitmap, clFuchsia);

    const TColor Face = ColorToRGB(clBtnFace);
    const TColor Light = ColorToRGB(clBtnHighlight);
    const TColor Shadow = ColorToRGB(clBtnShadow);
    TRasterDevice Device(17, 17, Face);
    TCanvas Canvas(&Device);
    Canvas.Brush()->SetColor(clRed);
    List.Draw(&Canvas, 0, 0, 0, false);
    ExpectPixels(Device, {{4, 4, Shadow},
                          {7, 7, Shadow},
                          {8, 8, Light},
                          {8, 5, Light},
                          {5, 8, Light},
                          {8, 4, Face},
                          {3, 3, Face},
                          {11, 11, Face},
                          {13, 13, Face},
                          {0, 0, Face}});
    EXPECT_EQ(Canvas.Brush()->Color(), clRed);

    TRasterDevice Enabled(16, 16, Face);
    TCanvas EnabledCanvas(&Enabled);
    List.Draw(&EnabledCanvas, 0, 0, 0);
    ExpectPixels(Enabled, {{4, 4, clBlack}, {8, 8, Face}, {11, 11, clWhite}, {0, 0, Face}});
}

TEST(TImageListTest, DrawingStylesAndImageTypes)
{
    TImageList List(nullptr);
    List.AddMasked(Strip({clRed}).get(), clFuchsia);
    struct TCase {
        const char* Name;
        TDrawingStyle Style;
        TImageType Type;
        TColor BkColor;
        TColor Corner; // a transparent pixel
        TColor Middle; // an opaque one
    };
    const std::vector<TCase> Cases = {
        {"normal without background", dsNormal, itImage, clNone, clGray, clRed},
        {"normal on a background", dsNormal, itImage, clYellow, clYellow, clRed},
        {"transparent ignores the background", dsTransparent, itImage, clYellow, clGray, clRed},
        {"selected mixes half the blend colour", dsSelected, itImage, clNone, clGray,
         RGB(127, 0, 0)},
        {"focus mixes a quarter", dsFocus, itImage, clNone, clGray, RGB(191, 0, 0)},
        {"mask", dsNormal, itMask, clNone, clWhite, clBlack},
    };
    List.SetBlendColor(clBlack);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        List.SetBkColor(C.BkColor);
        List.SetDrawingStyle(C.Style);
        List.SetImageType(C.Type);
        TRasterDevice Device(16, 16, clGray);
        TCanvas Canvas(&Device);
        List.Draw(&Canvas, 0, 0, 0);
        ExpectPixels(Device, {{1, 1, C.Corner}, {8, 8, C.Middle}});
    }
    List.SetDrawingStyle(dsNormal);
    List.SetImageType(itImage);
    List.SetBkColor(clNone);
    List.SetMasked(false);
    TRasterDevice Device(16, 16, clGray);
    TCanvas Canvas(&Device);
    List.Draw(&Canvas, 0, 0, 0);
    ExpectPixels(Device, {{1, 1, clBlack}, {8, 8, clRed}});
}

TEST(TImageListTest, IconsGoInAndOutAtTheListsSize)
{
    TImageList List(nullptr);
    List.AddMasked(Strip({clRed}).get(), clFuchsia);
    TIcon Icon;
    ASSERT_TRUE(List.GetIcon(0, &Icon));
    EXPECT_EQ(Icon.Width(), 16);
    EXPECT_EQ(Icon.Image()->Mask[0], 1);
    EXPECT_FALSE(List.GetIcon(1, &Icon));

    TImageList Small(8, 8);
    EXPECT_EQ(Small.AddIcon(&Icon), 0);
    EXPECT_EQ(Small.Image(0)->Width, 8);
    EXPECT_EQ(Small.Image(0)->Mask[0], 1);
    EXPECT_EQ(ColorOf(Small, 0, 4, 4), clRed);
    TIcon Empty;
    EXPECT_EQ(Small.AddIcon(&Empty), -1);
    Small.AddImages(&List);
    EXPECT_EQ(Small.Count(), 2);
    EXPECT_EQ(Small.Image(1)->Width, 8);

    Small.SetWidth(12);
    EXPECT_EQ(Small.Count(), 0);
}

TEST(TImageListTest, AnOwnedListGoesWithItsOwner)
{
    auto Owner = std::make_unique<TComponent>(nullptr);
    auto* List = new TImageList(Owner.get());
    List->AddMasked(Strip({clRed, clBlue}).get(), clFuchsia);
    TImageList Copy(nullptr);
    Copy.Assign(List);
    EXPECT_EQ(Copy.Count(), 2);
    Owner.reset();
    EXPECT_EQ(ColorOf(Copy, 1), clBlue);
    TRasterDevice Device(4, 4, clGray);
    TCanvas Canvas(&Device);
    Copy.Draw(&Canvas, 0, 0, 7); // nothing
    EXPECT_EQ(Device.Pixel(0, 0), clGray);
}
