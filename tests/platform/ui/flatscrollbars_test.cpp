// The flat look of window scroll bars: properties only once it is laid on, the bars' thickness
// taken from it, its track colour and thumb drawn, and the page it sets kept from plain calls.
#include "tests/platform/ui/nonclienttest.h"

#include "platform/gfx/color.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/flatscrollbars.h"
#include "platform/ui/nonclient.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

namespace {

TRect ClientOf(HWND Wnd)
{
    TRect R;
    GetClientRect(Wnd, R);
    return R;
}

void SetBar(HWND Wnd, int Bar, UINT Page, bool Flat)
{
    TScrollInfo Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMax = 127;
    Info.nPage = Page;
    if (Flat)
        FlatSB_SetScrollInfo(Wnd, Bar, Info, true);
    else
        SetScrollInfo(Wnd, Bar, Info, true);
}

// The framed child drawn into a picture of its top-level window.
void Draw(TFramedChild& W, TRasterDevice& Device)
{
    SetWindowDevice(W.Top.Handle, &Device);
    RedrawWindow(W.Handle, nullptr, RDW_INVALIDATE | RDW_FRAME);
    PumpPending();
    SetWindowDevice(W.Top.Handle, nullptr);
}

} // namespace

TEST(FlatScrollBars, PropertiesNeedTheLookLaidOn)
{
    TFramedChild W(WS_VSCROLL | WS_HSCROLL, 0);
    LONG_PTR Value = 0;
    EXPECT_FALSE(FlatSB_SetScrollProp(W.Handle, WSB_PROP_VSTYLE, FSB_FLAT_MODE, true));
    EXPECT_FALSE(FlatSB_GetScrollProp(W.Handle, WSB_PROP_VSTYLE, &Value));
    EXPECT_FALSE(InitializeFlatSB(0x7FFFFFF0));

    ASSERT_TRUE(InitializeFlatSB(W.Handle));
    ASSERT_TRUE(FlatSB_GetScrollProp(W.Handle, WSB_PROP_VSTYLE, &Value));
    EXPECT_EQ(Value, FSB_REGULAR_MODE);
    ASSERT_TRUE(FlatSB_GetScrollProp(W.Handle, WSB_PROP_CXVSCROLL, &Value));
    EXPECT_EQ(Value, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_FALSE(FlatSB_GetScrollProp(W.Handle, WSB_PROP_VBKGCOLOR, &Value)) << "system colour";
    EXPECT_FALSE(FlatSB_SetScrollProp(W.Handle, WSB_PROP_HSTYLE, 7, true)) << "no such style";
    EXPECT_FALSE(FlatSB_SetScrollProp(W.Handle, WSB_PROP_CXHTHUMB, 5, true));

    struct TCase {
        UINT Index;
        LONG_PTR Value;
    };
    for (const TCase& C : std::vector<TCase>{{WSB_PROP_VSTYLE, FSB_ENCARTA_MODE},
                                             {WSB_PROP_HSTYLE, FSB_FLAT_MODE},
                                             {WSB_PROP_VBKGCOLOR, clRed},
                                             {WSB_PROP_HBKGCOLOR, clLime},
                                             {WSB_PROP_CXVSCROLL, 25},
                                             {WSB_PROP_CYHSCROLL, 9}}) {
        EXPECT_TRUE(FlatSB_SetScrollProp(W.Handle, C.Index, C.Value, true));
        ASSERT_TRUE(FlatSB_GetScrollProp(W.Handle, C.Index, &Value));
        EXPECT_EQ(Value, C.Value);
    }
    EXPECT_TRUE(UninitializeFlatSB(W.Handle));
    EXPECT_FALSE(FlatSB_GetScrollProp(W.Handle, WSB_PROP_VSTYLE, &Value));
}

TEST(FlatScrollBars, TheBarsThicknessComesFromTheLook)
{
    TFramedChild W(WS_VSCROLL | WS_HSCROLL, 0, 120, 100);
    const int CX = GetSystemMetrics(SM_CXVSCROLL);
    const int CY = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(ClientOf(W.Handle), (TRect{0, 0, 120 - CX, 100 - CY}));
    InitializeFlatSB(W.Handle);
    FlatSB_SetScrollProp(W.Handle, WSB_PROP_CXVSCROLL, 30, true);
    FlatSB_SetScrollProp(W.Handle, WSB_PROP_CYHSCROLL, 8, true);
    EXPECT_EQ(ClientOf(W.Handle), (TRect{0, 0, 90, 92}));
    UninitializeFlatSB(W.Handle);
    EXPECT_EQ(ClientOf(W.Handle), (TRect{0, 0, 120 - CX, 100 - CY}));
}

TEST(FlatScrollBars, TheTrackTakesItsColourAndTheFlatThumbHasAPlainFrame)
{
    TFramedChild W(WS_VSCROLL, 0, 120, 100);
    SetBar(W.Handle, SB_VERT, 64, false); // thumb over the upper half of the track
    InitializeFlatSB(W.Handle);
    const int X = 10 + 120 - GetSystemMetrics(SM_CXVSCROLL) / 2; // the bar's middle, in Top
    const int TrackY = 20 + 100 - GetSystemMetrics(SM_CYVSCROLL) - 4;
    const int ThumbEdgeX = 10 + 120 - GetSystemMetrics(SM_CXVSCROLL);
    const int ThumbY = 20 + GetSystemMetrics(SM_CYVSCROLL) + 10;

    TRasterDevice Regular(140, 130);
    Draw(W, Regular);
    EXPECT_NE(ColorToRGB(Regular.Pixel(X, TrackY)), ColorToRGB(clRed));

    FlatSB_SetScrollProp(W.Handle, WSB_PROP_VBKGCOLOR, clRed, true);
    FlatSB_SetScrollProp(W.Handle, WSB_PROP_VSTYLE, FSB_FLAT_MODE, true);
    TRasterDevice Flat(140, 130);
    Draw(W, Flat);
    EXPECT_EQ(ColorToRGB(Flat.Pixel(X, TrackY)), ColorToRGB(clRed));
    EXPECT_EQ(ColorToRGB(Flat.Pixel(ThumbEdgeX, ThumbY)), ColorToRGB(clBtnShadow));
    EXPECT_NE(ColorToRGB(Regular.Pixel(ThumbEdgeX, ThumbY)), ColorToRGB(clBtnShadow))
        << "the raised thumb's outer edge is light";
}

TEST(FlatScrollBars, APageSetThroughTheFlatBarsIsKeptFromPlainCalls)
{
    TFramedChild W(WS_VSCROLL, 0);
    InitializeFlatSB(W.Handle);
    SetBar(W.Handle, SB_VERT, 40, true);
    SetBar(W.Handle, SB_VERT, 0, false);
    TScrollInfo Info;
    Info.fMask = SIF_PAGE;
    ASSERT_TRUE(FlatSB_GetScrollInfo(W.Handle, SB_VERT, Info));
    EXPECT_EQ(Info.nPage, 40u);

    UninitializeFlatSB(W.Handle);
    SetBar(W.Handle, SB_VERT, 0, false);
    GetScrollInfo(W.Handle, SB_VERT, Info);
    EXPECT_EQ(Info.nPage, 0u);
}
