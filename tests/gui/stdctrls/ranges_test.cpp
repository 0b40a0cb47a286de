// The track bar and the up-down on the X server: the pointer drags a thumb and holds an arrow
// (the repeat runs on the real clock), and the page looks as its references do.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/trackbar.h"
#include "platform/stdctrls/trackbarwindow.h"
#include "platform/stdctrls/updown.h"

namespace guitest {
namespace {

using Ranges = ControlsPageTest<&BuildRangesPage>;

TEST_F(Ranges, LooksAsItsReferenceDoes)
{
    ExpectLooksLike("stdctrls_ranges");
}

TEST_F(Ranges, DraggingTheTrackBarsThumbMovesThePosition)
{
    TTrackBar* Bar = Demo().TrackBar;
    ASSERT_EQ(Bar->Position(), 5);
    int Changes = 0;
    Bar->OnChange = [&](TObject*) { ++Changes; };
    TRect Thumb;
    Bar->Perform(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&Thumb));
    MoveTo(Bar, TPoint{(Thumb.Left + Thumb.Right) / 2, (Thumb.Top + Thumb.Bottom) / 2});
    // In steps, as a hand moves; 120 pixels along a channel of 273 for 20 positions is 8 or 9.
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1",   "mousemove_relative", "--", "40",
                                "0",       "sleep",     "0.1", "mousemove_relative", "--", "40",
                                "0",       "sleep",     "0.1", "mousemove_relative", "--", "40",
                                "0",       "mouseup",   "1"})
                  .Status,
              0);
    EXPECT_TRUE(PumpUntil([&] { return Bar->Position() == 14; })) << Bar->Position();
    EXPECT_GE(Changes, 3);
    ExpectLooksLike("stdctrls_ranges_dragged");
}

TEST_F(Ranges, HoldingAnUpDownArrowStepsSeveralTimes)
{
    TUpDown* UpDown = Demo().UpDown;
    ASSERT_EQ(UpDown->Position(), 42);
    ASSERT_EQ(Demo().UpDownEdit->Text(), "42");
    MoveTo(UpDown, TPoint{UpDown->Width() / 2, 4});
    ASSERT_EQ(
        RunTool(Display, {"xdotool", "mousedown", "1", "sleep", "1.2", "mouseup", "1"}).Status, 0);
    Pump(200);
    // One step at once, one after half a second, then one every tenth: about nine.
    const int Steps = UpDown->Position() - 42;
    EXPECT_GE(Steps, 4);
    EXPECT_LE(Steps, 12);
    EXPECT_EQ(Demo().UpDownEdit->Text(), std::to_string(UpDown->Position()));
    // Let go, it stays.
    const int Held = UpDown->Position();
    Pump(500);
    EXPECT_EQ(UpDown->Position(), Held);
}

} // namespace
} // namespace guitest
