// platform/stdctrls/scrollbarwindow.h: the "SCROLLBAR" window class under TScrollBar: a scroll
// bar control (SB_CTL) over its whole window, horizontal or (SBS_VERT) vertical. The mouse and
// the keys of a focused bar send WM_HSCROLL/WM_VSCROLL to the parent with LParam = the bar
// (platform/ui/scrollbars.h); the SBM_ messages reach the bar's state.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/wintypes.h"

enum : UINT {
    SBM_SETPOS = 0x00E0, // WParam: the position, LParam: redraw; the old position
    SBM_GETPOS = 0x00E1,
    SBM_SETRANGE = 0x00E2,       // WParam: min, LParam: max
    SBM_GETRANGE = 0x00E3,       // WParam, LParam: int* to fill
    SBM_ENABLE_ARROWS = 0x00E4,  // WParam: ESB_ flags
    SBM_SETRANGEREDRAW = 0x00E6, // SBM_SETRANGE, redrawn
    SBM_SETSCROLLINFO = 0x00E9,  // WParam: redraw, LParam: TScrollInfo*; the position
    SBM_GETSCROLLINFO = 0x00EA,  // LParam: TScrollInfo*
};

inline constexpr const char* ScrollBarClassName = "SCROLLBAR";
void RegisterScrollBarClass();
LRESULT ScrollBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
