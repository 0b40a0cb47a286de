// Tests of what the display driver is told about where windows go: owned pop-ups relative to
// their owner's native window, the rest on the screen.
#include "tests/platform/ui/uitest.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"

#include <gtest/gtest.h>

namespace {

THeadlessDriver& Driver()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver());
}

TEST(NativeBounds, OnlyCaptionlessOwnedPopUpsArePlacedRelativeToTheirOwner)
{
    TRecordingWindow Owner(WS_OVERLAPPEDWINDOW);
    SetWindowPos(Owner.Handle, 0, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    TRecordingWindow Child(WS_CHILD, Owner.Handle);
    const TRect Screen = Rect(130, 80, 170, 100);
    struct TCase {
        const char* What;
        DWORD Style;
        HWND Owner;
        TRect Bounds;
        HWND RelativeTo;
    };
    const TCase Cases[] = {
        {"a menu", WS_POPUP, Owner.Handle, Rect(30, 30, 70, 50), Owner.Handle},
        {"a hint with a border", WS_POPUP | WS_BORDER, Owner.Handle, Rect(30, 30, 70, 50),
         Owner.Handle},
        {"an owned dialog", WS_POPUP | WS_CAPTION, Owner.Handle, Screen, 0},
        {"a pop-up of nobody", WS_POPUP, 0, Screen, 0},
        {"an owned overlapped window", WS_OVERLAPPEDWINDOW, Owner.Handle, Screen, 0},
        {"a pop-up of a window without a native one", WS_POPUP, Child.Handle, Screen, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        const TNativeBounds Native = NativeBoundsOf(Screen, Case.Style, Case.Owner);
        EXPECT_EQ(Native.Bounds, Case.Bounds);
        EXPECT_EQ(Native.RelativeTo, Case.RelativeTo);
    }
}

TEST(NativeBounds, AnOwnedPopUpReachesTheDriverRelativeToItsOwner)
{
    TRecordingWindow Owner(WS_OVERLAPPEDWINDOW);
    SetWindowPos(Owner.Handle, 0, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND Popup = CreateWindowEx(WS_EX_TOOLWINDOW, "TRecordingWindow", "", WS_POPUP, 130, 80,
                                      40, 20, Owner.Handle);
    ASSERT_NE(Popup, 0u);
    const THeadlessDriver::TNativeWindow* Native = Driver().Find(Popup);
    ASSERT_NE(Native, nullptr);
    EXPECT_EQ(Native->RelativeTo, Owner.Handle);
    EXPECT_EQ(Native->Placed, Rect(30, 30, 70, 50));
    EXPECT_EQ(Native->Bounds, Rect(130, 80, 170, 100)) << "the screen position is the same";

    SetWindowPos(Popup, 0, 90, 260, 40, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Native->RelativeTo, Owner.Handle);
    EXPECT_EQ(Native->Placed, Rect(-10, 210, 30, 230)) << "left of and below its owner";
    EXPECT_EQ(Native->Bounds, Rect(90, 260, 130, 280));

    // The owner itself is placed on the screen.
    const THeadlessDriver::TNativeWindow* OwnerNative = Driver().Find(Owner.Handle);
    ASSERT_NE(OwnerNative, nullptr);
    EXPECT_EQ(OwnerNative->RelativeTo, 0u);
    EXPECT_EQ(OwnerNative->Bounds, Rect(100, 50, 400, 250));
    DestroyWindow(Popup);
}

} // namespace
