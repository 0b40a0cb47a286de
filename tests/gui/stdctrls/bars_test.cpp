// The bars on an X server: a click on the scroll bar's arrow steps it, its thumb dragged moves it,
// the scroll box's bar and the wheel scroll its buttons, and the page looks as it should.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/stdctrls/scrollbar.h"
#include "platform/stdctrls/scrollbox.h"
#include "platform/stdctrls/statusbar.h"

#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

using Bars = guitest::ControlsPageTest<&guitest::BuildBarsPage>;

TEST_F(Bars, ThePageLooksRight)
{
    ExpectLooksLike("stdctrls_bars");
}

TEST_F(Bars, AClickOnTheArrowStepsTheScrollBarAndItsThumbDragsIt)
{
    TScrollBar* Bar = Demo().ScrollBar;
    std::vector<TScrollCode> Codes;
    Bar->OnScroll = [&](TObject*, TScrollCode Code, int&) { Codes.push_back(Code); };
    ClickAt(Bar, TPoint{Bar->Width() - 8, 8});
    ASSERT_TRUE(PumpUntil([&] { return !Codes.empty() && Codes.back() == scEndScroll; }));
    EXPECT_EQ(Bar->Position(), 21);
    EXPECT_EQ(Codes.front(), scLineDown);

    // The thumb (16 pixels, at 16 + 21 * 152 / 100) taken in its middle and dragged 76 pixels
    // right: half the track further on.
    Codes.clear();
    MoveTo(Bar, TPoint{16 + 21 * 152 / 100 + 8, 8});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1", "mousemove_relative", "--", "76", "0",
                                "mouseup", "1"})
                  .Status,
              0);
    ASSERT_TRUE(PumpUntil([&] { return !Codes.empty() && Codes.back() == scEndScroll; }));
    EXPECT_EQ(Codes.front(), scTrack);
    EXPECT_NEAR(Bar->Position(), 71, 1);
    ExpectLooksLike("stdctrls_bars_scrolled");
}

TEST_F(Bars, TheScrollBoxScrollsWithItsBarAndTheWheel)
{
    TScrollBox* Box = Demo().ScrollBox;
    ASSERT_EQ(Box->VertScrollBar()->Position(), 0);
    TRect R;
    ASSERT_TRUE(GetWindowRect(Box->Handle(), R));
    // The vertical bar's down arrow, inside the box's 2-pixel edge and above the horizontal bar.
    MoveToScreen(TPoint{R.Right - 10, R.Bottom - 2 - 16 - 8});
    ASSERT_EQ(RunTool(Display, {"xdotool", "click", "1"}).Status, 0);
    PumpUntil([&] { return Box->VertScrollBar()->Position() == 8; });
    ASSERT_EQ(Box->VertScrollBar()->Position(), 8);

    // The wheel goes to the focused control.
    Box->SetFocus();
    MoveTo(Box, TPoint{100, 60});
    ASSERT_EQ(RunTool(Display, {"xdotool", "click", "5"}).Status, 0);
    ASSERT_TRUE(PumpUntil([&] { return Box->VertScrollBar()->Position() == 32; }));
    EXPECT_EQ(Box->Controls(0)->Top(), 10 - 32);
}

} // namespace
