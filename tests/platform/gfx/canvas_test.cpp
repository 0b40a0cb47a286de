#include "platform/gfx/canvas.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/recordingdevice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { SetDeterministicFontMetrics(true); }
    void TearDown() override { SetDeterministicFontMetrics(false); }
};

TRect InkBox(const TRasterDevice& D, TColor Background = clWhite)
{
    TRect R{1 << 20, 1 << 20, -1, -1};
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X)
            if (D.Pixel(X, Y) != Background) {
                R.Left = std::min(R.Left, X);
                R.Top = std::min(R.Top, Y);
                R.Right = std::max(R.Right, X + 1);
                R.Bottom = std::max(R.Bottom, Y + 1);
            }
    return R.Right < 0 ? TRect{} : R;
}

} // namespace

TEST(Canvas, LoMetricMapsTenthsOfAMillimetreWithYUp)
{
    TRasterDevice D(1000, 1000);
    D.SetPixelsPerInch(254, 254); // 10 pixels per millimetre
    TCanvas Canvas(&D);
    Canvas.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(Canvas.LPtoDP(Point(100, -50)), Point(100, 50));
    EXPECT_EQ(Canvas.DPtoLP(Point(100, 50)), Point(100, -50));
    D.SetPixelsPerInch(600, 600);
    Canvas.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(Canvas.LPtoDP(Point(254, -254)), Point(600, 600)); // one inch
    TPoint Pts[] = {{0, 0}, {127, -127}};
    Canvas.LPtoDP(Pts, 2);
    EXPECT_EQ(Pts[1], Point(300, 300));
    // A rectangle given top-down in logical units lands the right way up.
    Canvas.Brush()->SetColor(clBlack);
    Canvas.FillRect(Rect(0, 0, 254, -127));
    EXPECT_EQ(InkBox(D), Rect(0, 0, 600, 300));
}

TEST(Canvas, AnisotropicAndIsotropicMappingsScaleAndShift)
{
    TRasterDevice D(400, 300);
    TCanvas Canvas(&D);
    Canvas.SetMapMode(MM_ANISOTROPIC);
    Canvas.SetWindowExtEx(100, 100);
    Canvas.SetViewportExtEx(400, -300);
    Canvas.SetWindowOrgEx(-50, -50);
    Canvas.SetViewportOrgEx(0, 300);
    struct TCase {
        TPoint Logical;
        TPoint Device;
    };
    const std::vector<TCase> Cases = {{{-50, -50}, {0, 300}},
                                      {{50, 50}, {400, 0}},
                                      {{0, 0}, {200, 150}},
                                      {{25, -25}, {300, 225}}};
    for (const TCase& C : Cases) {
        EXPECT_EQ(Canvas.LPtoDP(C.Logical), C.Device);
        EXPECT_EQ(Canvas.DPtoLP(C.Device), C.Logical);
    }
    TSize Old;
    Canvas.SetMapMode(MM_ISOTROPIC);
    Canvas.SetWindowExtEx(100, 100, &Old);
    Canvas.SetViewportExtEx(400, -300);
    EXPECT_EQ(Canvas.ViewportExt().cx, 300); // the smaller scale wins
    EXPECT_EQ(Canvas.ViewportExt().cy, -300);
    Canvas.SetMapMode(MM_TEXT);
    Canvas.SetWindowOrgEx(0, 0);
    Canvas.SetViewportOrgEx(10, 20);
    EXPECT_EQ(Canvas.LPtoDP(Point(1, 1)), Point(11, 21));
}

TEST(Canvas, PenWidthScalesWithTheMapping)
{
    TRasterDevice D(100, 100);
    TCanvas Canvas(&D);
    Canvas.SetMapMode(MM_ANISOTROPIC);
    Canvas.SetWindowExtEx(10, 10);
    Canvas.SetViewportExtEx(100, 100);
    Canvas.Pen()->SetWidth(1);
    Canvas.MoveTo(1, 5);
    Canvas.LineTo(9, 5);
    EXPECT_EQ(InkBox(D).Height(), 10);
}

TEST(Canvas, SaveAndRestoreBringBackTheDrawingState)
{
    TRasterDevice D(10, 10);
    TCanvas Canvas(&D);
    Canvas.Pen()->SetColor(clRed);
    const int Level = Canvas.SaveDC();
    EXPECT_EQ(Level, 1);
    Canvas.Pen()->SetColor(clBlue);
    Canvas.Font()->SetName("Arial");
    Canvas.IntersectClipRect(0, 0, 2, 2);
    Canvas.SetMapMode(MM_LOMETRIC);
    Canvas.SaveDC();
    EXPECT_TRUE(Canvas.RestoreDC(Level));
    EXPECT_EQ(Canvas.Pen()->Color(), clRed);
    EXPECT_EQ(Canvas.Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(Canvas.MapMode(), MM_TEXT);
    EXPECT_EQ(Canvas.ClipRect(), Rect(0, 0, 10, 10));
    EXPECT_FALSE(Canvas.RestoreDC(-1)); // nothing left
}

namespace {

// What SaveDC keeps besides the objects, set and read through the canvas' own calls.
struct TCanvasSettings {
    TColor TextColor;
    TColor BkColor;
    int BkMode;
    unsigned TextAlign;
    int CharExtra;
    int StretchMode;
    int PolyFillMode;
    std::uint32_t CopyMode;
    TPoint PenPos;
    TPoint WindowOrg;
    TPoint ViewportOrg;
    TSize WindowExt;
    TSize ViewportExt;

    void ApplyTo(TCanvas& C) const
    {
        C.SetTextColor(TextColor);
        C.SetBkColor(BkColor);
        C.SetBkMode(BkMode);
        C.SetTextAlign(TextAlign);
        C.SetTextCharacterExtra(CharExtra);
        C.SetStretchBltMode(StretchMode);
        C.SetPolyFillMode(PolyFillMode);
        C.SetCopyMode(CopyMode);
        C.MoveTo(PenPos.X, PenPos.Y);
        C.SetMapMode(MM_ANISOTROPIC);
        C.SetWindowOrgEx(WindowOrg.X, WindowOrg.Y);
        C.SetViewportOrgEx(ViewportOrg.X, ViewportOrg.Y);
        C.SetWindowExtEx(WindowExt.cx, WindowExt.cy);
        C.SetViewportExtEx(ViewportExt.cx, ViewportExt.cy);
    }
    static TCanvasSettings Of(const TCanvas& C)
    {
        return TCanvasSettings{C.TextColor(),
                               C.BkColor(),
                               C.BkMode(),
                               C.TextAlign(),
                               C.TextCharacterExtra(),
                               C.StretchBltMode(),
                               C.PolyFillMode(),
                               C.CopyMode(),
                               C.PenPos(),
                               C.WindowOrg(),
                               C.ViewportOrg(),
                               C.WindowExt(),
                               C.ViewportExt()};
    }
    friend bool operator==(const TCanvasSettings&, const TCanvasSettings&) = default;
};

} // namespace

TEST(Canvas, RestoreDCBringsBackEverySettingOverWhatTheObjectsSet)
{
    const TCanvasSettings Saved{clGreen,     clNavy,      TRANSPARENT, TA_BASELINE, 2,
                                HALFTONE,    WINDING,     SRCAND,      Point(3, 4), Point(5, 6),
                                Point(7, 8), TSize{2, 3}, TSize{4, 9}};
    const TCanvasSettings Changed{clLime,       clMaroon,    OPAQUE,     TA_UPDATECP, 0,
                                  COLORONCOLOR, ALTERNATE,   SRCCOPY,    Point(0, 0), Point(1, 1),
                                  Point(2, 2),  TSize{5, 5}, TSize{6, 7}};
    TRasterDevice D(10, 10);
    TCanvas Canvas(&D);
    Saved.ApplyTo(Canvas);
    ASSERT_EQ(Canvas.SaveDC(), 1);
    Changed.ApplyTo(Canvas);
    ASSERT_TRUE(TCanvasSettings::Of(Canvas) == Changed);
    // The brush and font set the text colours as well: restoring them must not win.
    Canvas.Brush()->SetColor(clYellow);
    Canvas.Font()->SetColor(clRed);
    Canvas.SetMapMode(MM_TEXT);
    ASSERT_TRUE(Canvas.RestoreDC(-1));
    EXPECT_TRUE(TCanvasSettings::Of(Canvas) == Saved);
    EXPECT_EQ(Canvas.MapMode(), MM_ANISOTROPIC);
}

TEST(Canvas, WithoutADeviceTheCapabilitiesAreThoseOfAnEmptyScreen)
{
    TCanvas Canvas;
    struct TCase {
        int Index;
        int Value;
    };
    for (const TCase& C : std::vector<TCase>{{TECHNOLOGY, DT_RASDISPLAY},
                                             {BITSPIXEL, 32},
                                             {PLANES, 1},
                                             {NUMCOLORS, -1},
                                             {LOGPIXELSX, 96},
                                             {LOGPIXELSY, 96},
                                             {HORZRES, 0},
                                             {VERTSIZE, 0},
                                             {PHYSICALWIDTH, 0}}) {
        EXPECT_EQ(GetDeviceCaps(Canvas.Handle(), C.Index), C.Value) << C.Index;
        EXPECT_EQ(GetDeviceCaps(nullptr, C.Index), C.Value) << C.Index;
    }
    TRasterDevice D(30, 20);
    Canvas.SetDevice(&D);
    EXPECT_EQ(GetDeviceCaps(Canvas.Handle(), HORZRES), 30);
}

TEST(Canvas, TheBrushSetsTheTextBackground)
{
    TCanvas Canvas;
    Canvas.Brush()->SetColor(clYellow);
    EXPECT_EQ(Canvas.BkMode(), OPAQUE);
    EXPECT_EQ(Canvas.BkColor(), clYellow);
    Canvas.Brush()->SetStyle(bsClear);
    EXPECT_EQ(Canvas.BkMode(), TRANSPARENT);
    Canvas.SetBkMode(OPAQUE); // a direct call holds until the brush changes again
    EXPECT_EQ(Canvas.BkMode(), OPAQUE);
    Canvas.Font()->SetColor(clRed);
    EXPECT_EQ(Canvas.TextColor(), clRed);
}

TEST(Canvas, LockIsReentrantForItsThread)
{
    TCanvas Canvas;
    Canvas.Lock();
    EXPECT_TRUE(Canvas.TryLock());
    EXPECT_EQ(Canvas.LockCount(), 2);
    Canvas.Unlock();
    Canvas.Unlock();
    EXPECT_EQ(Canvas.LockCount(), 0);
}

TEST(Canvas, PathsStrokeAndFillWhatWasDrawnBetweenBeginAndEnd)
{
    TRasterDevice D(20, 20);
    TCanvas Canvas(&D);
    Canvas.BeginPath();
    Canvas.MoveTo(2, 2);
    Canvas.LineTo(17, 2);
    Canvas.LineTo(17, 17);
    Canvas.LineTo(2, 17);
    Canvas.CloseFigure();
    EXPECT_EQ(InkBox(D), TRect{}); // nothing drawn yet
    Canvas.EndPath();
    Canvas.Brush()->SetColor(clRed);
    Canvas.Pen()->SetColor(clBlue);
    EXPECT_TRUE(Canvas.StrokeAndFillPath());
    EXPECT_EQ(D.Pixel(10, 10), clRed);
    EXPECT_EQ(D.Pixel(2, 10), clBlue);
    EXPECT_EQ(D.Pixel(17, 10), clBlue); // a closed figure's last side is drawn
    EXPECT_FALSE(Canvas.StrokePath());  // the path is used up
}

TEST_F(CanvasText, TextOutPlacesTheCellByTheAlignment)
{
    // Deterministic metrics: a 20-pixel cell, characters 10 wide, ascent 16.
    TRasterDevice D(200, 100);
    TCanvas Canvas(&D);
    Canvas.Font()->SetHeight(20);
    Canvas.Font()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsClear);
    EXPECT_EQ(Canvas.TextExtent("abc"), (TSize{30, 20}));
    struct TCase {
        unsigned Align;
        TRect Ink;
    };
    const std::vector<TCase> Cases = {
        {TA_LEFT | TA_TOP, Rect(50, 40, 80, 60)},    {TA_RIGHT | TA_TOP, Rect(20, 40, 50, 60)},
        {TA_CENTER | TA_TOP, Rect(35, 40, 65, 60)},  {TA_LEFT | TA_BASELINE, Rect(50, 24, 80, 44)},
        {TA_LEFT | TA_BOTTOM, Rect(50, 20, 80, 40)},
    };
    for (const TCase& C : Cases) {
        D.Clear(clWhite);
        Canvas.SetTextAlign(C.Align);
        Canvas.TextOut(50, 40, "abc");
        EXPECT_EQ(InkBox(D), C.Ink) << C.Align;
    }
    Canvas.SetTextAlign(TA_LEFT | TA_TOP);
    Canvas.TextOut(0, 0, "ab");
    EXPECT_EQ(Canvas.PenPos(), Point(20, 0));
}

TEST_F(CanvasText, ExtTextOutClipsAndFillsItsRectangle)
{
    TRasterDevice D(100, 40);
    TCanvas Canvas(&D);
    Canvas.Font()->SetHeight(20);
    Canvas.Font()->SetColor(clBlack);
    Canvas.SetBkColor(clYellow);
    const TRect R = Rect(5, 5, 35, 30);
    Canvas.ExtTextOut(10, 10, ETO_OPAQUE | ETO_CLIPPED, &R, "abcdef");
    EXPECT_EQ(D.Pixel(5, 5), clYellow);
    EXPECT_EQ(D.Pixel(6, 29), clYellow);
    EXPECT_EQ(D.Pixel(34, 29), clBlack);
    EXPECT_EQ(D.Pixel(12, 12), clBlack);
    EXPECT_EQ(D.Pixel(40, 12), clWhite); // clipped at the rectangle
    // Inter-character spacing widens every step.
    Canvas.SetTextCharacterExtra(3);
    EXPECT_EQ(Canvas.TextWidth("abcd"), 4 * 13);
}

TEST_F(CanvasText, DrawTextLaysOutAndCalculatesItsRectangle)
{
    TRasterDevice D(100, 100);
    TCanvas Canvas(&D);
    Canvas.Font()->SetHeight(10); // characters 5 wide
    Canvas.Font()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsClear);
    TRect Calc = Rect(0, 0, 40, 0);
    const int H = Canvas.DrawText("aaaa bbbb cccc", Calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(H, 30);
    EXPECT_EQ(Calc.Bottom, 30);
    EXPECT_EQ(InkBox(D), TRect{}); // measuring draws nothing
    TRect R = Rect(10, 10, 90, 40);
    Canvas.DrawText("abc", R, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(InkBox(D), Rect(42, 20, 57, 30));
}

TEST_F(CanvasText, AWrappedPieceReadsAsTheWholeTextReads)
{
    // The whole text is Windows-1252 (a lone 0xE9 is not UTF-8), though its first line alone,
    // "\xC3\xA9", would be valid UTF-8: it must still draw as two characters.
    TRasterDevice D(100, 100);
    TCanvas Canvas(&D);
    Canvas.Font()->SetHeight(10); // characters 5 wide
    Canvas.Font()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsClear);
    TRect R = Rect(0, 0, 15, 40);
    Canvas.DrawText("\xC3\xA9 \xE9", R, DT_WORDBREAK);
    EXPECT_EQ(InkBox(D), Rect(0, 0, 10, 20));
}

TEST_F(CanvasText, TextInAPathBecomesItsOutline)
{
    TRasterDevice D(100, 40);
    TCanvas Canvas(&D);
    Canvas.Font()->SetHeight(20);
    Canvas.BeginPath();
    Canvas.TextOut(10, 10, "ab");
    Canvas.EndPath();
    Canvas.Brush()->SetColor(clRed);
    Canvas.FillPath();
    EXPECT_EQ(InkBox(D), Rect(10, 10, 30, 30));
}

TEST(Canvas, RecordingReproducesASceneCallByCall)
{
    SetDeterministicFontMetrics(true);
    TRecordingDevice Log(200, 100);
    TCanvas Canvas(&Log);
    Canvas.Pen()->SetColor(clNavy);
    Canvas.Brush()->SetColor(clBtnFace);
    Canvas.Rectangle(10, 10, 50, 40);
    Canvas.Pen()->SetWidth(2);
    Canvas.Pen()->SetMode(pmXor);
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(20, 5);
    Canvas.IntersectClipRect(0, 0, 100, 50);
    Canvas.Brush()->SetStyle(bsCross);
    Canvas.Ellipse(5, 5, 25, 15);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetHeight(-12);
    Canvas.Font()->SetStyle(TFontStyles{fsBold});
    Canvas.Font()->SetColor(clRed);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(30, 20, "Hi");
    SetDeterministicFontMetrics(false);
    const std::vector<std::string> Expected = {
        "Rectangle (10,10)-(50,40) pen(clNavy,1,psSolid) brush(clSilver,bsSolid)",
        "Polyline (0,0)(20,5) pen(clNavy,2,psSolid,pmXor)",
        "Ellipse (5,5)-(25,15) pen(clNavy,2,psSolid,pmXor) brush(clSilver,bsCross) "
        "clip=(0,0)-(100,50)",
        "TextOut (30,30) \"Hi\" font(Arial,-12,bold,clRed) transparent clip=(0,0)-(100,50)",
    };
    EXPECT_EQ(Log.Lines(), Expected);
    ASSERT_EQ(Log.Calls().size(), 4u);
    EXPECT_EQ(Log.Calls()[3].Text, "Hi");
    EXPECT_EQ(Log.Calls()[1].State.Pen.Width, 2);
}
