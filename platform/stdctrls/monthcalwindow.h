// platform/stdctrls/monthcalwindow.h: the "SysMonthCal32" window class: one or more months
// side by side under a title with the month and year and previous/next buttons, a today line,
// the day under the point (MCM_HITTEST), a current date or a selected range, limits, bold days
// asked of the parent (MCN_GETDAYSTATE), colours, the first day of the week, and the MCM_
// messages and MCN_ notifications.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

// Month calendar styles.
enum : DWORD {
    MCS_DAYSTATE = 0x0001,
    MCS_MULTISELECT = 0x0002,
    MCS_WEEKNUMBERS = 0x0004,
    MCS_NOTODAYCIRCLE = 0x0008,
    MCS_NOTODAY = 0x0010,
};

enum : UINT {
    MCM_FIRST = 0x1000,
    MCM_GETCURSEL = MCM_FIRST + 1,          // LParam: TSystemTime*
    MCM_SETCURSEL = MCM_FIRST + 2,          // LParam: const TSystemTime*; 0 when refused
    MCM_GETMAXSELCOUNT = MCM_FIRST + 3,     //
    MCM_SETMAXSELCOUNT = MCM_FIRST + 4,     // WParam: count
    MCM_GETSELRANGE = MCM_FIRST + 5,        // LParam: TSystemTime[2]
    MCM_SETSELRANGE = MCM_FIRST + 6,        // LParam: const TSystemTime[2]
    MCM_GETMONTHRANGE = MCM_FIRST + 7,      // WParam: GMR_; LParam: TSystemTime[2]; months
    MCM_SETDAYSTATE = MCM_FIRST + 8,        // WParam: count; LParam: const MONTHDAYSTATE*
    MCM_GETMINREQRECT = MCM_FIRST + 9,      // LParam: TRect*
    MCM_SETCOLOR = MCM_FIRST + 10,          // WParam: MCSC_; LParam: colour; the old colour
    MCM_GETCOLOR = MCM_FIRST + 11,          // WParam: MCSC_
    MCM_SETTODAY = MCM_FIRST + 12,          // LParam: const TSystemTime* (nullptr: the clock's)
    MCM_GETTODAY = MCM_FIRST + 13,          // LParam: TSystemTime*
    MCM_HITTEST = MCM_FIRST + 14,           // LParam: MCHITTESTINFO*
    MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15, // LParam: 0 Monday ... 6 Sunday
    MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16,
    MCM_GETRANGE = MCM_FIRST + 17, // LParam: TSystemTime[2]; the GDTR_ flags set
    MCM_SETRANGE = MCM_FIRST + 18, // WParam: GDTR_ flags; LParam: const TSystemTime[2]
    MCM_GETMONTHDELTA = MCM_FIRST + 19,
    MCM_SETMONTHDELTA = MCM_FIRST + 20, // WParam: months per click (0: the visible count)
    MCM_GETMAXTODAYWIDTH = MCM_FIRST + 21,
};

// MCM_SETCOLOR/MCM_GETCOLOR indexes.
enum : UINT {
    MCSC_BACKGROUND = 0,
    MCSC_TEXT = 1,
    MCSC_TITLEBK = 2,
    MCSC_TITLETEXT = 3,
    MCSC_MONTHBK = 4,
    MCSC_TRAILINGTEXT = 5,
};

// MCM_GETMONTHRANGE: the fully visible months, or also the partly shown days of the months
// before and after.
enum : UINT { GMR_VISIBLE = 0, GMR_DAYSTATE = 1 };

// MCM_SETRANGE/MCM_GETRANGE: which end of the pair holds a limit.
enum : UINT { GDTR_MIN = 0x0001, GDTR_MAX = 0x0002 };

// Where a point lies (MCHITTESTINFO::uHit).
enum : UINT {
    MCHT_TITLE = 0x00010000,
    MCHT_CALENDAR = 0x00020000,
    MCHT_TODAYLINK = 0x00030000,
    MCHT_NEXT = 0x01000000,
    MCHT_PREV = 0x02000000,
    MCHT_NOWHERE = 0x00000000,
    MCHT_TITLEBK = MCHT_TITLE,
    MCHT_TITLEMONTH = MCHT_TITLE | 0x0001,
    MCHT_TITLEYEAR = MCHT_TITLE | 0x0002,
    MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x0003,
    MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x0003,
    MCHT_CALENDARBK = MCHT_CALENDAR,
    MCHT_CALENDARDATE = MCHT_CALENDAR | 0x0001,
    MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT,
    MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV,
    MCHT_CALENDARDAY = MCHT_CALENDAR | 0x0002,
    MCHT_CALENDARWEEKNUM = MCHT_CALENDAR | 0x0003,
};

struct MCHITTESTINFO {
    UINT cbSize = sizeof(MCHITTESTINFO);
    TPoint pt;
    UINT uHit = MCHT_NOWHERE;
    TSystemTime st; // the date under the point (title: the month shown there)
};

// One month's bold days: bit (day - 1).
using MONTHDAYSTATE = DWORD;

enum : UINT {
    MCN_SELECT = MCN_FIRST,          // NMSELCHANGE: a date was picked (click, Enter)
    MCN_GETDAYSTATE = MCN_FIRST - 1, // NMDAYSTATE: the parent fills the bold days
    MCN_SELCHANGE = MCN_FIRST - 3,   // NMSELCHANGE: the selection or the shown months moved
};

struct NMSELCHANGE {
    NMHDR nmhdr;
    TSystemTime stSelStart;
    TSystemTime stSelEnd;
};

struct NMDAYSTATE {
    NMHDR nmhdr;
    TSystemTime stStart;                  // the first month asked for
    int cDayState = 0;                    // how many months
    MONTHDAYSTATE* prgDayState = nullptr; // the parent points it at cDayState masks
};

// The first day of the week a new calendar shows (0 Monday ... 6 Sunday): the locale's; the
// English (United States) settings start weeks on Sunday.
int LocaleFirstDayOfWeek();

// The class name; RegisterMonthCalClass registers it once (later calls do nothing).
inline constexpr const char* MonthCalClassName = "SysMonthCal32";
void RegisterMonthCalClass();
// The class's procedure: a control built on the class passes what it does not answer here.
LRESULT MonthCalWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
