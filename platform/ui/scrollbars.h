// platform/ui/scrollbars.h: the scroll bars of windows (WS_HSCROLL, WS_VSCROLL) and the state
// of scroll bar controls (SB_CTL). A click on an arrow sends WM_VSCROLL/WM_HSCROLL with
// SB_LINEUP/SB_LINEDOWN, on the track SB_PAGEUP/SB_PAGEDOWN, repeated while the button is held;
// dragging the thumb sends SB_THUMBTRACK with the 16-bit track position in the high word of
// WParam and SB_THUMBPOSITION on release; SB_ENDSCROLL ends every action. The window's procedure
// moves the position itself. The SB_ request codes are in platform/ui/messages.h.
#pragma once

#include "platform/ui/wintypes.h"

class TCanvas;

struct TScrollInfo {
    UINT cbSize = sizeof(TScrollInfo);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using SCROLLINFO = TScrollInfo;

// TScrollInfo::fMask.
enum : UINT {
    SIF_RANGE = 0x01,
    SIF_PAGE = 0x02,
    SIF_POS = 0x04,
    SIF_DISABLENOSCROLL = 0x08,
    SIF_TRACKPOS = 0x10,
    SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};

// Which bar.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// A scroll bar control's orientation (its window style).
enum : DWORD { SBS_HORZ = 0x0000, SBS_VERT = 0x0001 };

// EnableScrollBar: the arrows to disable.
enum : UINT {
    ESB_ENABLE_BOTH = 0,
    ESB_DISABLE_LTUP = 1,
    ESB_DISABLE_LEFT = 1,
    ESB_DISABLE_UP = 1,
    ESB_DISABLE_RTDN = 2,
    ESB_DISABLE_RIGHT = 2,
    ESB_DISABLE_DOWN = 2,
    ESB_DISABLE_BOTH = 3,
};

// The position is kept within [nMin, nMax - max(nPage, 1) + 1] and the page within the range.
// A window's bar shows when its range can scroll and hides when it cannot (min == max, or a
// page larger than the range), unless SIF_DISABLENOSCROLL keeps it shown and disabled; showing
// or hiding it changes the window's style and client area. The new position.
int SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw);
// Fills what fMask asks; SIF_TRACKPOS gives the position being dragged to (the position itself
// when no drag runs). False for a window that does not exist or a bar it cannot have.
bool GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info);
// The previous position.
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);
int GetScrollPos(HWND Wnd, int Bar);
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw);
bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max);
// Bar may be SB_BOTH; SB_CTL shows or hides the control itself.
bool ShowScrollBar(HWND Wnd, int Bar, bool Show);
// SBFlags: SB_HORZ, SB_VERT, SB_BOTH or SB_CTL. False when nothing changed.
bool EnableScrollBar(HWND Wnd, UINT SBFlags, UINT Arrows);

// A scroll bar control (SB_CTL) fills its client area. Its requests go to its parent as
// WM_HSCROLL or WM_VSCROLL with LParam = the bar; like a window's bar it does not move its
// position itself.
void DrawScrollBarControl(TCanvas& Canvas, HWND Wnd);
// A press at Client (client coordinates) on the bar: runs the click or drag until the button is
// released, as on a window's bar.
void TrackScrollBarControl(HWND Wnd, TPoint Client);
// The keys of a focused bar: the arrows step, Page Up/Down page, Home and End go to the ends;
// releasing the key ends the scroll (SB_ENDSCROLL). False for a key it does not take.
bool ScrollBarControlKey(HWND Wnd, WPARAM Key, bool Down);
