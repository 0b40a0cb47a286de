// platform/stdctrls/datetimepickwindow.h: the "SysDateTimePick32" window class under
// TDateTimePicker: a date or a time shown as fields of a format, edited a field at a time by
// keys, with a drop-down month calendar (a pop-up holding a "SysMonthCal32" control) or up-down
// buttons, an optional check box for "no date"; the DTM_ messages and DTN_ notifications.
#pragma once

#include "platform/gfx/color.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

// Date-time picker styles.
enum : DWORD {
    DTS_SHORTDATEFORMAT = 0x0000,
    DTS_UPDOWN = 0x0001,   // up-down buttons instead of the drop-down calendar
    DTS_SHOWNONE = 0x0002, // a check box: unchecked, the picker holds no date
    DTS_LONGDATEFORMAT = 0x0004,
    DTS_TIMEFORMAT = 0x0009,  // includes DTS_UPDOWN
    DTS_APPCANPARSE = 0x0010, // F2 lets the user type the whole text; the parent parses it
    DTS_RIGHTALIGN = 0x0020,  // the calendar drops down aligned with the right edge
};

enum : UINT {
    DTM_FIRST = 0x1000,
    DTM_GETSYSTEMTIME = DTM_FIRST + 1, // LParam: TSystemTime*; GDT_VALID or GDT_NONE
    DTM_SETSYSTEMTIME = DTM_FIRST + 2, // WParam: GDT_; LParam: const TSystemTime*; 0 refused
    DTM_GETRANGE = DTM_FIRST + 3,      // LParam: TSystemTime[2]; the GDTR_ flags set
    DTM_SETRANGE = DTM_FIRST + 4,      // WParam: GDTR_ flags; LParam: const TSystemTime[2]
    DTM_SETFORMAT = DTM_FIRST + 5,     // LParam: const char* (nullptr: the style's format)
    DTM_SETMCCOLOR = DTM_FIRST + 6,    // WParam: MCSC_; LParam: colour; the old colour
    DTM_GETMCCOLOR = DTM_FIRST + 7,    // WParam: MCSC_
    DTM_GETMONTHCAL = DTM_FIRST + 8,   // the calendar while dropped down, else 0
    DTM_SETMCFONT = DTM_FIRST + 9,     // WParam: const TFont* for the calendar
    DTM_GETMCFONT = DTM_FIRST + 10,
};

// What DTM_GETSYSTEMTIME answers and DTM_SETSYSTEMTIME and NMDATETIMECHANGE carry.
enum : DWORD {
    GDT_ERROR = 0xFFFFFFFF,
    GDT_VALID = 0,
    GDT_NONE = 1,
};

enum : UINT {
    DTN_DATETIMECHANGE = DTN_FIRST + 1, // NMDATETIMECHANGE: the value or the check box changed
    DTN_USERSTRING = DTN_FIRST + 2,     // NMDATETIMESTRING: text typed with DTS_APPCANPARSE
    DTN_DROPDOWN = DTN_FIRST + 6,       // NMHDR: the calendar is about to show
    DTN_CLOSEUP = DTN_FIRST + 7,        // NMHDR: the calendar went
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID; // GDT_NONE: the check box was cleared
    TSystemTime st;
};

// The parent turns the typed text into a value: it sets st and dwFlags (GDT_VALID, GDT_NONE with
// DTS_SHOWNONE, or GDT_ERROR to keep the value); they come filled with the current value.
struct NMDATETIMESTRING {
    NMHDR nmhdr;
    const char* pszUserString = nullptr;
    TSystemTime st;
    DWORD dwFlags = GDT_VALID;
};

// The class name; RegisterDateTimePickClass registers it once (later calls do nothing).
inline constexpr const char* DateTimePickClassName = "SysDateTimePick32";
void RegisterDateTimePickClass();
LRESULT DateTimePickWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Colours of the picker's own text; its font comes with WM_SETFONT (WParam: const TFont*).
void SetDateTimePickColors(HWND Picker, TColor Back, TColor Text);
// The pop-up holding the calendar while dropped down, else 0.
HWND DateTimePickDropDownWindow(HWND Picker);
// Where the parts lie (client coordinates): field Index of the format (-1: none there), the
// check box, the drop-down button or the up-down pair.
int DateTimePickFieldAt(HWND Picker, int X, int Y);
TRect DateTimePickFieldRect(HWND Picker, int Index);
TRect DateTimePickButtonRect(HWND Picker);
TRect DateTimePickCheckRect(HWND Picker);
