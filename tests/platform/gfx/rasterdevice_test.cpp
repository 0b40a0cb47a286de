#include "platform/gfx/rasterdevice.h"

#include "platform/gfx/canvas.h"

#include <gtest/gtest.h>

namespace {

// The pixels of R as rows of '#' (Ink) and '.' (anything else).
std::vector<std::string> Picture(const TRasterDevice& D, const TRect& R, TColor Ink = clBlack)
{
    std::vector<std::string> Rows;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        std::string Row;
        for (int X = R.Left; X < R.Right; ++X)
            Row += D.Pixel(X, Y) == Ink ? '#' : '.';
        Rows.push_back(Row);
    }
    return Rows;
}

int CountInk(const TRasterDevice& D, TColor Ink)
{
    int N = 0;
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X)
            N += D.Pixel(X, Y) == Ink;
    return N;
}

} // namespace

TEST(RasterDevice, ALineLeavesItsEndPointOut)
{
    struct TCase {
        TPoint From;
        TPoint To;
        int Pixels;
    };
    const std::vector<TCase> Cases = {
        {{1, 1}, {8, 1}, 7}, {{1, 1}, {1, 8}, 7}, {{1, 1}, {8, 8}, 7},
        {{8, 6}, {1, 2}, 7}, {{3, 3}, {3, 3}, 0},
    };
    for (const TCase& C : Cases) {
        TRasterDevice D(10, 10);
        TCanvas Canvas(&D);
        Canvas.MoveTo(C.From.X, C.From.Y);
        Canvas.LineTo(C.To.X, C.To.Y);
        EXPECT_EQ(D.Pixel(C.To.X, C.To.Y), clWhite);
        if (C.Pixels) {
            EXPECT_EQ(D.Pixel(C.From.X, C.From.Y), clBlack);
        }
        EXPECT_EQ(CountInk(D, clBlack), C.Pixels);
        EXPECT_EQ(Canvas.PenPos(), C.To);
    }
}

TEST(RasterDevice, RectanglesLeaveTheirRightAndBottomEdgesOut)
{
    TRasterDevice D(8, 7);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clRed);
    Canvas.Rectangle(1, 1, 6, 5);
    const std::vector<std::string> Outline = {
        "........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........", "........",
    };
    EXPECT_EQ(Picture(D, Rect(0, 0, 8, 7)), Outline);
    EXPECT_EQ(D.Pixel(2, 2), clRed);
    EXPECT_EQ(D.Pixel(4, 3), clRed);

    TRasterDevice F(8, 7);
    TCanvas Fill(&F);
    Fill.Brush()->SetColor(clBlack);
    Fill.FillRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(CountInk(F, clBlack), 5 * 4);
    EXPECT_EQ(F.Pixel(6, 1), clWhite);
    EXPECT_EQ(F.Pixel(1, 5), clWhite);
    Fill.Brush()->SetColor(clBlue);
    Fill.FrameRect(Rect(0, 0, 8, 7));
    EXPECT_EQ(CountInk(F, clBlue), 2 * 8 + 2 * 5);
}

TEST(RasterDevice, WidePensAreCentredOnTheOutlineAndInsideFrameStaysInside)
{
    TRasterDevice D(20, 20);
    TCanvas Canvas(&D);
    Canvas.Pen()->SetWidth(3);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Rectangle(5, 5, 15, 15);
    EXPECT_EQ(D.Pixel(4, 10), clBlack);
    EXPECT_EQ(D.Pixel(6, 10), clBlack);
    EXPECT_EQ(D.Pixel(3, 10), clWhite);
    EXPECT_EQ(D.Pixel(7, 10), clWhite);
    EXPECT_EQ(D.Pixel(15, 10), clBlack); // right edge 14 +- 1
    EXPECT_EQ(D.Pixel(16, 10), clWhite);

    TRasterDevice I(20, 20);
    TCanvas Inside(&I);
    Inside.Pen()->SetWidth(3);
    Inside.Pen()->SetStyle(psInsideFrame);
    Inside.Brush()->SetStyle(bsClear);
    Inside.Rectangle(5, 5, 15, 15);
    EXPECT_EQ(I.Pixel(4, 10), clWhite);
    EXPECT_EQ(I.Pixel(5, 10), clBlack);
    EXPECT_EQ(I.Pixel(7, 10), clBlack);
    EXPECT_EQ(I.Pixel(8, 10), clWhite);
    EXPECT_EQ(I.Pixel(14, 10), clBlack);
    EXPECT_EQ(I.Pixel(15, 10), clWhite);
}

TEST(RasterDevice, EllipsesStayInsideTheirBox)
{
    TRasterDevice D(30, 20);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clRed);
    Canvas.Ellipse(2, 3, 22, 15);
    TRect Ink{100, 100, -1, -1};
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 30; ++X)
            if (D.Pixel(X, Y) != clWhite) {
                Ink.Left = std::min(Ink.Left, X);
                Ink.Top = std::min(Ink.Top, Y);
                Ink.Right = std::max(Ink.Right, X + 1);
                Ink.Bottom = std::max(Ink.Bottom, Y + 1);
            }
    EXPECT_EQ(Ink, Rect(2, 3, 22, 15));
    EXPECT_EQ(D.Pixel(12, 9), clRed);
    EXPECT_EQ(D.Pixel(2, 3), clWhite); // corners of the box are outside
    EXPECT_EQ(D.Pixel(2, 9), clBlack);
}

TEST(RasterDevice, NotXorDrawnTwiceRestoresThePicture)
{
    TRasterDevice D(40, 40);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clTeal);
    Canvas.FillRect(Rect(5, 5, 30, 25));
    Canvas.Pen()->SetColor(clYellow);
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(39, 20);
    const std::vector<std::uint32_t> Before(D.Bits(), D.Bits() + 40 * 40);
    Canvas.Pen()->SetMode(pmNotXor);
    Canvas.Pen()->SetColor(clRed);
    Canvas.Pen()->SetWidth(3);
    Canvas.Brush()->SetColor(clFuchsia);
    for (int Pass = 0; Pass < 2; ++Pass) {
        Canvas.Polyline({{2, 35}, {20, 2}, {38, 35}});
        Canvas.Ellipse(10, 10, 35, 30);
        Canvas.Rectangle(0, 0, 12, 12);
        Canvas.Polygon({{5, 38}, {35, 38}, {20, 15}});
        if (Pass == 0) {
            EXPECT_NE(std::vector<std::uint32_t>(D.Bits(), D.Bits() + 40 * 40), Before);
        }
    }
    EXPECT_EQ(std::vector<std::uint32_t>(D.Bits(), D.Bits() + 40 * 40), Before);
}

TEST(RasterDevice, MixModesCombinePenAndDestinationBitByBit)
{
    const TColor P = 0x00F0CC55;
    const TColor Dst = 0x00AA33C6;
    struct TCase {
        TPenMode Mode;
        std::uint32_t Expected;
    };
    const std::uint32_t p = static_cast<std::uint32_t>(P);
    const std::uint32_t d = static_cast<std::uint32_t>(Dst);
    const std::vector<TCase> Cases = {
        {pmBlack, 0},
        {pmWhite, 0xFFFFFF},
        {pmNop, d},
        {pmNot, ~d},
        {pmCopy, p},
        {pmNotCopy, ~p},
        {pmMergePenNot, p | ~d},
        {pmMaskPenNot, p & ~d},
        {pmMergeNotPen, ~p | d},
        {pmMaskNotPen, ~p & d},
        {pmMerge, p | d},
        {pmNotMerge, ~(p | d)},
        {pmMask, p & d},
        {pmNotMask, ~(p & d)},
        {pmXor, p ^ d},
        {pmNotXor, ~(p ^ d)},
    };
    for (const TCase& C : Cases) {
        TRasterDevice D(3, 1, Dst);
        TCanvas Canvas(&D);
        Canvas.Pen()->SetColor(P);
        Canvas.Pen()->SetMode(C.Mode);
        Canvas.MoveTo(0, 0);
        Canvas.LineTo(2, 0);
        EXPECT_EQ(static_cast<std::uint32_t>(D.Pixel(0, 0)), C.Expected & 0xFFFFFF) << C.Mode;
        EXPECT_EQ(D.Pixel(2, 0), Dst);
    }
}

TEST(RasterDevice, RasterOperationsMatchTheirTruthTables)
{
    // Pattern, source and destination bits in every combination: bit i of each is the
    // i-th row of a truth table, so the result byte must equal the operation's index.
    const std::uint32_t Pat = 0xF0;
    const std::uint32_t Src = 0xCC;
    const std::uint32_t Dst = 0xAA;
    const std::vector<std::uint32_t> Rops = {
        SRCCOPY,     SRCPAINT,  SRCAND,     SRCINVERT,  SRCERASE,   NOTSRCCOPY,
        NOTSRCERASE, MERGECOPY, MERGEPAINT, PATCOPY,    PATPAINT,   PATINVERT,
        DSTINVERT,   BLACKNESS, WHITENESS,  0x00E20746, 0x00220326, 0x00B8074A};
    for (std::uint32_t Rop : Rops) {
        TRasterDevice Source(1, 1, static_cast<TColor>(Src * 0x010101));
        TRasterDevice D(1, 1, static_cast<TColor>(Dst * 0x010101));
        TCanvas From(&Source);
        TCanvas To(&D);
        To.Brush()->SetColor(static_cast<TColor>(Pat * 0x010101));
        To.BitBlt(0, 0, 1, 1, &From, 0, 0, Rop);
        const std::uint32_t Expected = RopIndex(Rop) * 0x010101u;
        EXPECT_EQ(static_cast<std::uint32_t>(D.Pixel(0, 0)), Expected) << std::hex << Rop;
    }
}

TEST(RasterDevice, EachHatchHasItsPattern)
{
    struct TCase {
        TBrushStyle Style;
        std::vector<std::string> Rows;
    };
    const std::vector<TCase> Cases = {
        {bsHorizontal, {"########", "........", "........", "........"}},
        {bsVertical, {"#.......", "#.......", "#.......", "#......."}},
        {bsFDiagonal, {"#.......", ".#......", "..#.....", "...#...."}},
        {bsBDiagonal, {".......#", "......#.", ".....#..", "....#..."}},
        {bsCross, {"########", "#.......", "#.......", "#......."}},
        {bsDiagCross, {"#......#", ".#....#.", "..#..#..", "...##..."}},
    };
    for (const TCase& C : Cases) {
        TRasterDevice D(8, 8, clWhite);
        TCanvas Canvas(&D);
        Canvas.Brush()->SetColor(clBlack);
        Canvas.Brush()->SetStyle(C.Style);
        Canvas.FillRect(Rect(0, 0, 8, 8));
        EXPECT_EQ(Picture(D, Rect(0, 0, 8, 4)), C.Rows) << C.Style;
    }
    // Opaque hatches fill their gaps with the background colour.
    TRasterDevice D(8, 8, clWhite);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsHorizontal);
    Canvas.SetBkMode(OPAQUE);
    Canvas.SetBkColor(clLime);
    Canvas.FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(D.Pixel(3, 0), clBlack);
    EXPECT_EQ(D.Pixel(3, 1), clLime);
}

TEST(RasterDevice, ClippingHoldsForEveryRegionKind)
{
    const TPoint Tri[] = {{0, 0}, {20, 0}, {0, 20}};
    struct TCase {
        const char* Name;
        TRegion Clip;
    };
    const std::vector<TCase> Cases = {
        {"rectangle", TRegion(Rect(3, 4, 15, 12))},
        {"ellipse", TRegion::Ellipse(Rect(2, 2, 18, 14))},
        {"round rectangle", TRegion::RoundRect(Rect(1, 1, 19, 19), 10, 6)},
        {"polygon", TRegion::Polygon({Tri[0], Tri[1], Tri[2]}, false)},
        {"combined", TRegion::Diff(TRegion(Rect(0, 0, 20, 20)), TRegion(Rect(5, 5, 10, 10)))},
    };
    for (const TCase& C : Cases) {
        TRasterDevice D(20, 20);
        TCanvas Canvas(&D);
        Canvas.SelectClipRgn(&C.Clip);
        Canvas.Brush()->SetColor(clRed);
        Canvas.Pen()->SetColor(clRed);
        Canvas.FillRect(Rect(0, 0, 20, 20));
        Canvas.Rectangle(-5, -5, 25, 25);
        Canvas.Pen()->SetWidth(5);
        Canvas.MoveTo(0, 10);
        Canvas.LineTo(20, 10);
        for (int Y = 0; Y < 20; ++Y)
            for (int X = 0; X < 20; ++X)
                ASSERT_EQ(D.Pixel(X, Y) == clRed, C.Clip.Contains(X, Y))
                    << C.Name << " at " << X << "," << Y;
    }
}

TEST(RasterDevice, IntersectAndExcludeClipRectNarrowTheClip)
{
    TRasterDevice D(20, 20);
    TCanvas Canvas(&D);
    Canvas.IntersectClipRect(2, 2, 18, 18);
    Canvas.ExcludeClipRect(5, 5, 15, 15);
    Canvas.Brush()->SetColor(clBlack);
    Canvas.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(CountInk(D, clBlack), 16 * 16 - 10 * 10);
    EXPECT_EQ(Canvas.ClipRect(), Rect(2, 2, 18, 18));
    EXPECT_FALSE(Canvas.PtVisible(10, 10));
    Canvas.SelectClipRgn(nullptr);
    EXPECT_TRUE(Canvas.PtVisible(10, 10));
}

TEST(RasterDevice, DashedPensDrawTheirGapsOnlyWhenOpaque)
{
    TRasterDevice D(30, 2);
    TCanvas Canvas(&D);
    Canvas.Pen()->SetStyle(psDot);
    Canvas.SetBkMode(TRANSPARENT);
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(12, 0);
    EXPECT_EQ(Picture(D, Rect(0, 0, 13, 1))[0], "###...###....");
    Canvas.SetBkMode(OPAQUE);
    Canvas.SetBkColor(clRed);
    Canvas.MoveTo(0, 1);
    Canvas.LineTo(12, 1);
    EXPECT_EQ(D.Pixel(4, 1), clRed);
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetAlternate(true);
    Canvas.MoveTo(14, 0);
    Canvas.LineTo(20, 0);
    EXPECT_EQ(Picture(D, Rect(14, 0, 21, 1))[0], "#.#.#..");
}

TEST(RasterDevice, ArcsPiesAndChordsKeepToTheirSweep)
{
    // Box 0..20: centre (9.5, 9.5). From the right (angle 0) counter-clockwise to the top.
    TRasterDevice D(20, 20);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clRed);
    Canvas.Pie(0, 0, 20, 20, 20, 10, 10, 0);
    EXPECT_EQ(D.Pixel(14, 5), clRed);    // upper right quarter
    EXPECT_EQ(D.Pixel(5, 5), clWhite);   // upper left
    EXPECT_EQ(D.Pixel(14, 14), clWhite); // lower right
    TRasterDevice C(20, 20);
    TCanvas Chord(&C);
    Chord.Brush()->SetColor(clRed);
    Chord.Chord(0, 0, 20, 20, 20, 10, 10, 0);
    EXPECT_EQ(C.Pixel(16, 5), clRed);
    EXPECT_EQ(C.Pixel(12, 7), clWhite); // the corner cut off by the chord
    TRasterDevice A(20, 20);
    TCanvas Arc(&A);
    Arc.Arc(0, 0, 20, 20, 20, 10, 10, 0);
    EXPECT_GT(CountInk(A, clBlack), 10);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 20; ++X)
            if (A.Pixel(X, Y) == clBlack) {
                EXPECT_TRUE(X >= 9 && Y <= 10) << X << "," << Y;
            }
}

TEST(RasterDevice, AFocusRectangleDrawnTwiceVanishes)
{
    TRasterDevice D(20, 20, clBtnFace);
    TCanvas Canvas(&D);
    Canvas.Brush()->SetColor(clNavy);
    Canvas.FillRect(Rect(0, 0, 10, 20));
    const std::vector<std::uint32_t> Before(D.Bits(), D.Bits() + 400);
    Canvas.DrawFocusRect(Rect(2, 2, 18, 18));
    EXPECT_EQ(D.Pixel(2, 2), static_cast<TColor>(~static_cast<std::uint32_t>(clNavy) & 0xFFFFFF));
    EXPECT_EQ(D.Pixel(3, 2), clNavy);
    EXPECT_EQ(D.Pixel(10, 10), ColorToRGB(clBtnFace));
    Canvas.DrawFocusRect(Rect(2, 2, 18, 18));
    EXPECT_EQ(std::vector<std::uint32_t>(D.Bits(), D.Bits() + 400), Before);
}

TEST(RasterDevice, EdgesUseTheThreeDColours)
{
    TRasterDevice D(10, 10);
    TCanvas Canvas(&D);
    TRect R = Rect(0, 0, 10, 10);
    EXPECT_TRUE(Canvas.DrawEdge(R, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(R, Rect(2, 2, 8, 8));
    EXPECT_EQ(D.Pixel(0, 5), ColorToRGB(cl3DLight));
    EXPECT_EQ(D.Pixel(1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(D.Pixel(9, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(D.Pixel(8, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(D.Pixel(9, 0), ColorToRGB(cl3DDkShadow)); // bottom-right colour owns the corner
    EXPECT_EQ(D.Pixel(5, 5), ColorToRGB(clBtnFace));
    TRect S = Rect(0, 0, 10, 10);
    Canvas.DrawEdge(S, EDGE_SUNKEN, BF_TOPLEFT);
    EXPECT_EQ(D.Pixel(0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(D.Pixel(1, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(D.Pixel(9, 5), ColorToRGB(cl3DDkShadow)); // right side untouched
}

TEST(RasterDevice, FrameControlsShowTheirState)
{
    TRasterDevice D(60, 20);
    TCanvas Canvas(&D);
    Canvas.DrawFrameControl(Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    Canvas.DrawFrameControl(Rect(20, 0, 33, 13), DFC_BUTTON, DFCS_BUTTONCHECK);
    Canvas.DrawFrameControl(Rect(40, 0, 56, 16), DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    auto Count = [&](const TRect& R, TColor C) {
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                N += D.Pixel(X, Y) == C;
        return N;
    };
    EXPECT_GT(Count(Rect(2, 2, 11, 11), clBlack), 6);  // the tick
    EXPECT_EQ(Count(Rect(22, 2, 31, 11), clBlack), 0); // unchecked box is empty
    EXPECT_EQ(D.Pixel(25, 5), clWhite);
    EXPECT_GT(Count(Rect(42, 2, 54, 14), clBlack), 6);     // the arrow
    EXPECT_EQ(D.Pixel(40, 0), ColorToRGB(clBtnHighlight)); // soft raised face
}

TEST(RasterDevice, StretchModesCombineShrunkPixels)
{
    // Two columns, black and white, shrunk into one pixel.
    TRasterDevice Source(2, 1, clWhite);
    TCanvas From(&Source);
    From.SetPixels(0, 0, clBlack);
    struct TCase {
        int Mode;
        TColor Expected;
    };
    const std::vector<TCase> Cases = {{BLACKONWHITE, clBlack},
                                      {WHITEONBLACK, clWhite},
                                      {COLORONCOLOR, clBlack},
                                      {HALFTONE, RGB(128, 128, 128)}};
    for (const TCase& C : Cases) {
        TRasterDevice D(1, 1, clRed);
        TCanvas To(&D);
        To.SetStretchBltMode(C.Mode);
        To.StretchBlt(0, 0, 1, 1, &From, 0, 0, 2, 1, SRCCOPY);
        EXPECT_EQ(D.Pixel(0, 0), C.Expected) << C.Mode;
    }
    // Enlarging repeats pixels; a negative width mirrors.
    TRasterDevice Big(4, 1);
    TCanvas To(&Big);
    To.StretchBlt(0, 0, 4, 1, &From, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(Picture(Big, Rect(0, 0, 4, 1))[0], "##..");
    To.StretchBlt(3, 0, -4, 1, &From, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(Picture(Big, Rect(0, 0, 4, 1))[0], "..##");
}

TEST(RasterDevice, CopyingWithinOneDeviceReadsTheSourceFirst)
{
    TRasterDevice D(10, 1);
    TCanvas Canvas(&D);
    for (int X = 0; X < 5; ++X)
        Canvas.SetPixels(X, 0, RGB(X * 10, 0, 0));
    Canvas.CopyRect(Rect(2, 0, 7, 1), &Canvas, Rect(0, 0, 5, 1));
    for (int X = 0; X < 5; ++X)
        EXPECT_EQ(D.Pixel(X + 2, 0), RGB(X * 10, 0, 0));
}
