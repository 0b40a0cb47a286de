// The month calendar on an X server: a click on a day picks it, a click on the next button
// scrolls the view (the selection kept in it), keys move the selection, and the page looks like
// its reference picture.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/rtl/datetime.h"
#include "platform/stdctrls/monthcalendar.h"
#include "platform/stdctrls/monthcalwindow.h"

#include <optional>

namespace {

using guitest::PumpUntil;
using CalendarPage = guitest::ControlsPageTest<&guitest::BuildCalendarPage>;

// The middle of the region the calendar's hit test calls Code (and, given one, of that day).
std::optional<TPoint> Find(TMonthCalendar* C, UINT Code, int Month = 0, int Day = 0)
{
    int L = 1 << 30, T = 1 << 30, R = -1, B = -1;
    for (int Y = 0; Y < C->ClientHeight(); Y += 2)
        for (int X = 0; X < C->ClientWidth(); X += 2) {
            MCHITTESTINFO Info;
            Info.pt = TPoint{X, Y};
            C->Perform(MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info));
            if (Info.uHit != Code || (Day != 0 && (Info.st.wDay != Day || Info.st.wMonth != Month)))
                continue;
            L = std::min(L, X);
            T = std::min(T, Y);
            R = std::max(R, X);
            B = std::max(B, Y);
        }
    if (R < 0)
        return std::nullopt;
    return TPoint{(L + R) / 2, (T + B) / 2};
}

int FirstShownMonth(TMonthCalendar* C)
{
    TSystemTime Range[2];
    C->Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(Range));
    return Range[0].wMonth;
}

TEST_F(CalendarPage, LooksLikeItsReference)
{
    TMonthCalendar* C = Demo().Calendar;
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, 0), 2); // two months side by side
    ExpectLooksLike("calendar");
}

TEST_F(CalendarPage, ClicksPickADayAndScrollAndKeysMoveTheSelection)
{
    TMonthCalendar* C = Demo().Calendar;
    ASSERT_NE(C, nullptr);
    const auto Day22 = Find(C, MCHT_CALENDARDATE, 3, 22);
    ASSERT_TRUE(Day22.has_value());
    ClickAt(C, *Day22);
    ASSERT_TRUE(PumpUntil([&] { return C->Date() == EncodeDate(2005, 3, 22); }));
    const auto Next = Find(C, MCHT_TITLEBTNNEXT);
    ASSERT_TRUE(Next.has_value());
    ClickAt(C, *Next);
    // Two months a click: May and June show; the selection moved along with them.
    ASSERT_TRUE(PumpUntil([&] { return FirstShownMonth(C) == 5; }));
    EXPECT_EQ(C->Date(), EncodeDate(2005, 5, 22));
    Keys({"Right"});
    ASSERT_TRUE(PumpUntil([&] { return C->Date() == EncodeDate(2005, 5, 23); }));
    Keys({"Down", "Page_Down"});
    ASSERT_TRUE(PumpUntil([&] { return C->Date() == EncodeDate(2005, 6, 30); }));
    Keys({"ctrl+Page_Up"});
    ASSERT_TRUE(PumpUntil([&] { return C->Date() == EncodeDate(2004, 6, 30); }));
    EXPECT_EQ(FirstShownMonth(C), 6);
}

} // namespace
