// platform/stdctrls/statusbarwindow.h: the "msctls_statusbar32" window class under TStatusBar:
// parts with their right edges, a text and a look per part (sunken, raised, none, or drawn by
// the parent through WM_DRAWITEM), the simple mode with one text across the bar, a minimum
// height, and the size grip that sizes the bar's form.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/messages.h"
#include "platform/ui/wintypes.h"

// Status bar styles.
enum : DWORD { SBARS_SIZEGRIP = 0x0100 };

// Status bar messages.
enum : UINT {
    SB_SETTEXT = WM_USER + 1,       // WParam: part | SBT_ flags; LParam: the text (or data)
    SB_GETTEXT = WM_USER + 2,       // LParam: a buffer; MakeLResult(length, SBT_ flags)
    SB_GETTEXTLENGTH = WM_USER + 3, // MakeLResult(length, SBT_ flags)
    SB_SETPARTS = WM_USER + 4,      // WParam: count; LParam: the right edges (-1: to the end)
    SB_GETPARTS = WM_USER + 6,      // WParam: room; LParam: edges to fill; the count
    SB_GETBORDERS = WM_USER + 7,    // LParam: int[3] (horizontal, vertical, between parts)
    SB_SETMINHEIGHT = WM_USER + 8,  // WParam: the least height of the drawing area
    SB_SIMPLE = WM_USER + 9,        // WParam: true for one text across the bar
    SB_GETRECT = WM_USER + 10,      // WParam: part; LParam: a TRect to fill
    SB_ISSIMPLE = WM_USER + 14,
};

// SB_SETTEXT's flags (high bits of WParam), also what SB_GETTEXT gives back.
enum : UINT {
    SBT_OWNERDRAW = 0x1000,
    SBT_NOBORDERS = 0x0100,
    SBT_POPOUT = 0x0200,
    SBT_RTLREADING = 0x0400,
};

// The part of the simple mode's text.
inline constexpr UINT SB_SIMPLEID = 0xFF;

inline constexpr const char* StatusBarClassName = "msctls_statusbar32";
void RegisterStatusBarClass();
LRESULT StatusBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
