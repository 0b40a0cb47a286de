// platform/stdctrls/updownwindow.h: the "msctls_updown32" window class: a pair of arrow buttons
// that step a position within a range, with wrap-around, auto-repeat and acceleration while an
// arrow is held, and a buddy window beside it that shows the position as text and steps it with
// its Up and Down keys. Before each step the parent is asked (UDN_DELTAPOS); after it, it hears
// WM_VSCROLL (WM_HSCROLL with UDS_HORZ) with SB_THUMBPOSITION.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

// Up-down styles.
enum : DWORD {
    UDS_WRAP = 0x0001,        // past one end goes on at the other
    UDS_SETBUDDYINT = 0x0002, // the buddy's text shows the position, and is read back
    UDS_ALIGNRIGHT = 0x0004,  // sits at the buddy's right, which gives up the room
    UDS_ALIGNLEFT = 0x0008,   // the same at its left
    UDS_ARROWKEYS = 0x0020,   // Up and Down in the buddy step
    UDS_HORZ = 0x0040,        // left and right arrows
    UDS_NOTHOUSANDS = 0x0080, // no thousands separator in the buddy's text
};

enum : UINT {
    UDM_SETBUDDY = WM_USER + 105,   // WParam: the buddy window (0: none); the old one
    UDM_GETBUDDY = WM_USER + 106,   //
    UDM_SETACCEL = WM_USER + 107,   // WParam: count; LParam: const UDACCEL*; false when empty
    UDM_GETACCEL = WM_USER + 108,   // WParam: room; LParam: UDACCEL*; the table's length
    UDM_SETBASE = WM_USER + 109,    // WParam: 10 or 16; the old base, 0 when refused
    UDM_GETBASE = WM_USER + 110,    //
    UDM_SETRANGE32 = WM_USER + 111, // WParam: Min; LParam: Max (either may be the larger)
    UDM_GETRANGE32 = WM_USER + 112, // WParam: int* Min; LParam: int* Max
    UDM_SETPOS32 = WM_USER + 113,   // LParam: position, kept within the range; the old one
    UDM_GETPOS32 = WM_USER + 114,   // LParam: bool* set when the buddy's text is no number
};

// Acceleration: from nSec seconds of holding an arrow on, each step moves nInc.
struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 1;
};

// UDN_DELTAPOS: the step about to be taken; a non-zero answer refuses it.
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

enum : UINT { UDN_DELTAPOS = UDN_FIRST - 1 };

// The class name; RegisterUpDownClass registers it once (later calls do nothing).
inline constexpr const char* UpDownClassName = "msctls_updown32";
void RegisterUpDownClass();
// The class's procedure: a control built on the class passes what it does not answer here.
LRESULT UpDownWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// A held arrow steps at once, again after FirstDelay and then every RepeatDelay milliseconds,
// while the pointer stays on it.
inline constexpr UINT UpDownFirstDelay = 500;
inline constexpr UINT UpDownRepeatDelay = 100;
