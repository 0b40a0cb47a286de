// Tests of pictures on the clipboard: bitmaps and palettes put on and taken off it, TClipboard's
// Assign and AssignTo, and the graphics handles the clipboard frees when it replaces or empties
// them.
#include "platform/ui/clipboardpicture.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/bmpformat.h"
#include "tests/support/globalblocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every test starts from an empty, closed clipboard and must leave no block behind.
class ClipboardPictureTest : public TestSupport::TGlobalBlocksTest {
protected:
    void SetUp() override
    {
        while (CloseClipboard()) {
        }
        Clipboard()->Clear();
        TGlobalBlocksTest::SetUp();
    }
    void TearDown() override
    {
        while (CloseClipboard()) {
        }
        Clipboard()->Clear();
        TGlobalBlocksTest::TearDown();
    }
};

std::unique_ptr<TBitmap> Sample(TPixelFormat Format)
{
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(Format);
    B->SetSize(3, 2);
    B->Canvas()->SetPixels(1, 1, clBlue);
    B->Canvas()->SetPixels(2, 0, clRed);
    return B;
}

TEST_F(ClipboardPictureTest, ClipboardRoundTripOfBitmapAndPalette)
{
    auto A = Sample(pf4bit);
    UINT Format = 0;
    HANDLE Data = 0;
    HPALETTE Palette = nullptr;
    A->SaveToClipboardFormat(Format, Data, Palette);
    EXPECT_EQ(Format, static_cast<UINT>(CF_BITMAP));
    ASSERT_NE(Palette, nullptr);

    Clipboard()->Open();
    Clipboard()->SetAsHandle(CF_BITMAP, Data);
    Clipboard()->SetAsHandle(CF_PALETTE, reinterpret_cast<HANDLE>(Palette));
    Clipboard()->Close();

    Clipboard()->Open();
    TBitmap B;
    GetClipboardGraphic(B, CF_BITMAP); // the palette comes from CF_PALETTE
    Clipboard()->Close();
    EXPECT_EQ(B.PixelFormat(), pf4bit);
    EXPECT_EQ(B.Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(PaletteColors(B.Palette()), PaletteColors(A->Palette()));

    // The clipboard frees its handles when emptied.
    Clipboard()->Clear();
    EXPECT_FALSE(IsBitmap(reinterpret_cast<HBITMAP>(Data)));
    EXPECT_FALSE(IsPalette(Palette));
}

TEST_F(ClipboardPictureTest, AssignPutsTheFormatsAndAssignToReadsThemBack)
{
    struct TCase {
        const char* Name;
        TPixelFormat Format;
        bool HasPalette;
    };
    const std::vector<TCase> Cases = {
        {"four bits", pf4bit, true},
        {"eight bits", pf8bit, true},
        {"true colour", pf24bit, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto A = Sample(Case.Format);
        Clipboard()->Assign(A.get());
        EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
        EXPECT_EQ(Clipboard()->HasFormat(CF_PALETTE), Case.HasPalette);
        EXPECT_EQ(Clipboard()->FormatCount(), Case.HasPalette ? 2 : 1);

        TBitmap B;
        B.Assign(Clipboard());
        EXPECT_EQ(B.PixelFormat(), Case.Format);
        EXPECT_EQ(B.Width(), 3);
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < 3; ++X)
                EXPECT_EQ(B.Canvas()->Pixels(X, Y), A->Canvas()->Pixels(X, Y)) << X << "," << Y;

        TPicture P;
        P.Assign(Clipboard());
        ASSERT_NE(dynamic_cast<TBitmap*>(P.Graphic()), nullptr);
        EXPECT_EQ(P.Bitmap()->Canvas()->Pixels(2, 0), A->Canvas()->Pixels(2, 0));
    }
}

TEST_F(ClipboardPictureTest, ReplacedAndEmptiedHandlesAreFreed)
{
    auto First = Sample(pf8bit);
    auto Second = Sample(pf4bit);
    Clipboard()->Assign(First.get());
    Clipboard()->Open();
    const auto OldBitmap = reinterpret_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    const auto OldPalette = reinterpret_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    Clipboard()->Close();
    ASSERT_TRUE(IsBitmap(OldBitmap));
    ASSERT_TRUE(IsPalette(OldPalette));

    // Set directly, over the same formats: the clipboard frees what it held.
    UINT Format = 0;
    HANDLE Data = 0;
    HPALETTE Palette = nullptr;
    Second->SaveToClipboardFormat(Format, Data, Palette);
    ASSERT_TRUE(OpenClipboard(0));
    EXPECT_EQ(SetClipboardData(CF_BITMAP, Data), Data);
    EXPECT_FALSE(IsBitmap(OldBitmap));
    EXPECT_TRUE(IsPalette(OldPalette));
    EXPECT_EQ(SetClipboardData(CF_PALETTE, reinterpret_cast<HANDLE>(Palette)),
              reinterpret_cast<HANDLE>(Palette));
    EXPECT_FALSE(IsPalette(OldPalette));
    // Setting the same handle again keeps it.
    EXPECT_EQ(SetClipboardData(CF_BITMAP, Data), Data);
    EXPECT_TRUE(IsBitmap(reinterpret_cast<HBITMAP>(Data)));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_FALSE(IsBitmap(reinterpret_cast<HBITMAP>(Data)));
    EXPECT_FALSE(IsPalette(Palette));
    CloseClipboard();
}

TEST_F(ClipboardPictureTest, APackedDibOnTheClipboardLoads)
{
    auto A = Sample(pf24bit);
    const std::string Dib = WritePackedDib(*A->Image());
    Clipboard()->SetBuffer(CF_DIB, Dib.data(), Dib.size());
    TBitmap B;
    B.Assign(Clipboard()); // no CF_BITMAP: the DIB
    EXPECT_EQ(B.Canvas()->Pixels(2, 0), clRed);
    TPicture P;
    P.Assign(Clipboard());
    EXPECT_EQ(P.Bitmap()->Canvas()->Pixels(1, 1), clBlue);
}

TEST_F(ClipboardPictureTest, NoPictureOnTheClipboardRaises)
{
    TBitmap B;
    TPicture P;
    EXPECT_THROW(B.Assign(Clipboard()), EInvalidGraphic);
    EXPECT_THROW(P.Assign(Clipboard()), EInvalidGraphic);
    Clipboard()->SetAsText("words");
    EXPECT_THROW(B.Assign(Clipboard()), EInvalidGraphic);
    try {
        P.Assign(Clipboard());
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message(), "Unsupported clipboard format");
    }
    EXPECT_EQ(P.Graphic(), nullptr);
    EXPECT_EQ(Clipboard()->AsText(), "words") << "reading leaves the clipboard alone";
    EXPECT_FALSE(OpenClipboard(42) == 0) << "and closed";
    CloseClipboard();

    // An empty picture empties the clipboard; an empty bitmap puts nothing there.
    Clipboard()->Assign(&P);
    EXPECT_EQ(Clipboard()->FormatCount(), 0);
    Clipboard()->SetAsText("words");
    Clipboard()->Assign(&B);
    EXPECT_EQ(Clipboard()->FormatCount(), 0);
}

} // namespace
