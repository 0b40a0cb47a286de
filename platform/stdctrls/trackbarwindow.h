// platform/stdctrls/trackbarwindow.h: the "msctls_trackbar32" window class: a thumb that slides
// along a sunken channel between a minimum and a maximum, with tick marks, an optional selection
// range, keys and mouse, answering the TBM_ messages and telling its parent WM_HSCROLL or
// WM_VSCROLL (LParam = the track bar's window) with the TB_ codes.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/wintypes.h"

// Track bar styles.
enum : DWORD {
    TBS_AUTOTICKS = 0x0001, // a tick every TBM_SETTICFREQ positions
    TBS_VERT = 0x0002,
    TBS_HORZ = 0x0000,
    TBS_TOP = 0x0004, // ticks above (horizontal) ...
    TBS_BOTTOM = 0x0000,
    TBS_LEFT = 0x0004, // ... or left of the channel (vertical)
    TBS_RIGHT = 0x0000,
    TBS_BOTH = 0x0008,
    TBS_NOTICKS = 0x0010,
    TBS_ENABLESELRANGE = 0x0020,
    TBS_FIXEDLENGTH = 0x0040, // the thumb's length is TBM_SETTHUMBLENGTH's, not the window's
    TBS_NOTHUMB = 0x0080,
};

// Messages. "Redraw" WParams are accepted; the window always redraws.
enum : UINT {
    TBM_GETPOS = WM_USER,
    TBM_GETRANGEMIN = WM_USER + 1,
    TBM_GETRANGEMAX = WM_USER + 2,
    TBM_GETTIC = WM_USER + 3,          // WParam: index of a tick between the ends; -1 when none
    TBM_SETTIC = WM_USER + 4,          // LParam: position; false outside (Min, Max)
    TBM_SETPOS = WM_USER + 5,          // LParam: position, kept within the range
    TBM_SETRANGE = WM_USER + 6,        // LParam: MakeLParam(Min, Max)
    TBM_SETRANGEMIN = WM_USER + 7,     // LParam: Min
    TBM_SETRANGEMAX = WM_USER + 8,     // LParam: Max
    TBM_CLEARTICS = WM_USER + 9,       // the ticks between the ends go
    TBM_SETSEL = WM_USER + 10,         // LParam: MakeLParam(start, end)
    TBM_SETSELSTART = WM_USER + 11,    // LParam: start
    TBM_SETSELEND = WM_USER + 12,      // LParam: end
    TBM_GETTICPOS = WM_USER + 15,      // WParam: index as TBM_GETTIC; the client coordinate
    TBM_GETNUMTICS = WM_USER + 16,     // the ticks drawn, both ends included
    TBM_GETSELSTART = WM_USER + 17,    //
    TBM_GETSELEND = WM_USER + 18,      //
    TBM_CLEARSEL = WM_USER + 19,       //
    TBM_SETTICFREQ = WM_USER + 20,     // WParam: every how many positions (TBS_AUTOTICKS)
    TBM_SETPAGESIZE = WM_USER + 21,    // LParam: the new size; the old one
    TBM_GETPAGESIZE = WM_USER + 22,    //
    TBM_SETLINESIZE = WM_USER + 23,    // LParam: the new size; the old one
    TBM_GETLINESIZE = WM_USER + 24,    //
    TBM_GETTHUMBRECT = WM_USER + 25,   // LParam: TRect*, client coordinates
    TBM_GETCHANNELRECT = WM_USER + 26, // LParam: TRect*, client coordinates
    TBM_SETTHUMBLENGTH = WM_USER + 27, // WParam: pixels across the channel (TBS_FIXEDLENGTH)
    TBM_GETTHUMBLENGTH = WM_USER + 28,
};

// What moved the thumb: the low word of the WParam of WM_HSCROLL/WM_VSCROLL. The high word holds
// the position for TB_THUMBTRACK and TB_THUMBPOSITION.
enum : UINT {
    TB_LINEUP = 0,
    TB_LINEDOWN = 1,
    TB_PAGEUP = 2,
    TB_PAGEDOWN = 3,
    TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5,
    TB_TOP = 6,
    TB_BOTTOM = 7,
    TB_ENDTRACK = 8,
};

// The class name; RegisterTrackBarClass registers it once (later calls do nothing).
inline constexpr const char* TrackBarClassName = "msctls_trackbar32";
void RegisterTrackBarClass();
// The class's procedure: a control built on the class passes what it does not answer here.
LRESULT TrackBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// A click beside the thumb pages once at once, then again after PageFirstDelay and every
// PageRepeatDelay milliseconds while the button is held and the thumb has not reached the point.
inline constexpr UINT TrackBarPageFirstDelay = 400;
inline constexpr UINT TrackBarPageRepeatDelay = 100;
