// Window regions: a shaped window takes the mouse and paints only inside its region, and its
// native window gets the shape.
#include "tests/platform/ui/uitest.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/gfx/region.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowdc.h"

#include <gtest/gtest.h>

namespace {

// The arrow pointing down that marks a drop position, in a 10 x 10 box.
HRGN DownArrow()
{
    const TPoint Points[] = {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    return CreatePolygonRgn(Points, 7, WINDING);
}

const THeadlessDriver::TNativeWindow* Native(HWND Wnd)
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver()).Find(Wnd);
}

} // namespace

TEST(WindowRegion, AShapedWindowTakesTheMouseOnlyInsideItsRegion)
{
    TRecordingWindow Behind(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                            TRect{90, 90, 140, 140});
    TRecordingWindow Arrow(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                           TRect{100, 100, 110, 110});
    const HRGN Made = DownArrow();
    const TRegion Expected = *Made;
    DeleteObject(Made);
    ASSERT_NE(SetWindowRgn(Arrow.Handle, DownArrow(), true), 0);

    struct TCase {
        TPoint Point;
        HWND Expected;
    };
    const std::vector<TCase> Cases = {
        {{105, 101}, Arrow.Handle},  // the shaft
        {{105, 106}, Arrow.Handle},  // the head
        {{100, 101}, Behind.Handle}, // beside the shaft: the window behind
        {{109, 109}, Behind.Handle}, // below the head's side
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(WindowFromPoint(Case.Point), Case.Expected)
            << Case.Point.X << "," << Case.Point.Y;

    ASSERT_NE(Native(Arrow.Handle), nullptr);
    EXPECT_TRUE(Native(Arrow.Handle)->Shaped);
    TRegion Copy;
    EXPECT_EQ(GetWindowRgn(Arrow.Handle, &Copy), COMPLEXREGION);
    EXPECT_TRUE(Copy == Expected);
    EXPECT_EQ(Native(Arrow.Handle)->Shape, Expected.Rects());

    ASSERT_NE(SetWindowRgn(Arrow.Handle, nullptr, true), 0);
    EXPECT_EQ(WindowFromPoint(TPoint{100, 101}), Arrow.Handle);
    EXPECT_FALSE(Native(Arrow.Handle)->Shaped);
    EXPECT_EQ(GetWindowRgn(Arrow.Handle, &Copy), RGN_ERROR);
    EXPECT_EQ(SetWindowRgn(HWND(0x7FFFFFF), nullptr, false), 0);
}

TEST(WindowRegion, PaintingIsClippedToTheRegion)
{
    TRecordingWindow Arrow(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                           TRect{100, 100, 110, 110});
    PumpPending();
    TRecordingDevice Device(10, 10);
    SetWindowDevice(Arrow.Handle, &Device);
    SetWindowRgn(Arrow.Handle, DownArrow(), true);
    TRegion Shape;
    GetWindowRgn(Arrow.Handle, &Shape);

    TPaintStruct Paint;
    HDC DC = BeginPaint(Arrow.Handle, Paint);
    ASSERT_NE(DC, nullptr);
    DC->FillRect(Rect(0, 0, 10, 10));
    EndPaint(Arrow.Handle, Paint);

    ASSERT_EQ(Device.Calls().size(), 1u);
    TRegion Clip;
    for (const TRect& R : Device.Calls().front().ClipRects)
        Clip = TRegion::Union(Clip, TRegion(R));
    EXPECT_TRUE(Clip == Shape);
    SetWindowDevice(Arrow.Handle, nullptr);
}
