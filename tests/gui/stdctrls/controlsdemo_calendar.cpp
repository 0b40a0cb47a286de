// tests/gui/stdctrls/controlsdemo_calendar.cpp: the demonstration's Calendar page: a month
// calendar showing two months side by side at a fixed date. The today line and circle follow
// the clock, so they are left out to keep the picture the same on every day.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/rtl/datetime.h"
#include "platform/stdctrls/monthcalendar.h"

namespace guitest {

void BuildCalendarPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* Calendar = new TMonthCalendar(Page);
    Calendar->SetParent(Page);
    Calendar->SetBounds(8, 8, 380, 200);
    Calendar->SetShowToday(false);
    Calendar->SetShowTodayCircle(false);
    Calendar->SetFirstDayOfWeek(dowSunday);
    Calendar->SetDate(EncodeDate(2005, 3, 15));
    Demo.Calendar = Calendar;
}

} // namespace guitest
