// The text editor's bookmark glyph strip and margin cursor, as the library loads them.
#include "controls/entry/ovcedres.h"
#include "controls/entry/ovcmisc.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/cursorimage.h"

#include <gtest/gtest.h>

TEST(OvcEditorPictures, TheBookmarkStripHoldsTenGlyphsOfTwelvePixels)
{
    std::unique_ptr<TBitmap> Strip = LoadLibraryBitmap(OvcBookmarkGlyphsName);
    ASSERT_NE(Strip, nullptr);
    EXPECT_EQ(Strip->Width(), 10 * 12);
    EXPECT_EQ(Strip->Height(), 12);
    TCanvas* Canvas = Strip->Canvas();
    for (int Glyph = 0; Glyph < 10; ++Glyph) {
        SCOPED_TRACE(Glyph);
        const int Left = 12 * Glyph;
        // White around the tag (the bottom-left pixel names the transparent colour), a
        // yellow body with an olive rim, and its point on the right.
        EXPECT_EQ(Canvas->Pixels(Left, 11), clWhite);
        EXPECT_EQ(Canvas->Pixels(Left + 1, 5), clYellow);
        EXPECT_EQ(Canvas->Pixels(Left, 5), clOlive);
        EXPECT_EQ(Canvas->Pixels(Left + 11, 5), clOlive);
        EXPECT_EQ(Canvas->Pixels(Left + 11, 1), clWhite);
    }
    // The digits differ: 1 has its stem in the middle column, 0 does not.
    EXPECT_EQ(Canvas->Pixels(12 * 1 + 4, 5), clBlack);
    EXPECT_EQ(Canvas->Pixels(12 * 0 + 4, 3), clYellow);
}

TEST(OvcEditorPictures, TheMarginCursorLoadsWithItsHotSpotAtTheArrowTip)
{
    HCURSOR Cursor = LoadLibraryCursor(OvcMarginCursorName);
    ASSERT_NE(Cursor, HCURSOR{});
    EXPECT_EQ(CursorHotSpot(Cursor), (TPoint{20, 11}));
    EXPECT_TRUE(DestroyCursor(Cursor));
}
