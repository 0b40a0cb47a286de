// platform/ui/notify.h: WM_NOTIFY's header record, the notification codes every control shares
// and the first code of each control family, and the call that sends a notification to the
// control's parent.
#pragma once

#include "platform/ui/window.h"

// The head of every WM_NOTIFY record: who sends it and what happened. A family's own record
// starts with this one, so that the parent reads the header first.
struct NMHDR {
    HWND hwndFrom = 0;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};

// Notification codes count down from 0; each family has its own block.
enum : UINT {
    NM_FIRST = 0U,
    NM_OUTOFMEMORY = NM_FIRST - 1U,
    NM_CLICK = NM_FIRST - 2U,
    NM_DBLCLK = NM_FIRST - 3U,
    NM_RETURN = NM_FIRST - 4U,
    NM_RCLICK = NM_FIRST - 5U,
    NM_RDBLCLK = NM_FIRST - 6U,
    NM_SETFOCUS = NM_FIRST - 7U,
    NM_KILLFOCUS = NM_FIRST - 8U,
    NM_CUSTOMDRAW = NM_FIRST - 12U,
    NM_HOVER = NM_FIRST - 13U,
    NM_RELEASEDCAPTURE = NM_FIRST - 16U,

    LVN_FIRST = 0U - 100U,
    HDN_FIRST = 0U - 300U,
    TCN_FIRST = 0U - 550U,
    UDN_FIRST = 0U - 721U,
    DTN_FIRST = 0U - 760U,
    MCN_FIRST = 0U - 746U,
};

// Fills Header's sender fields (the window and its ID) and sends WM_NOTIFY with it to the
// window's parent; the parent's answer comes back. No parent: 0.
LRESULT SendNotify(HWND From, UINT Code, NMHDR& Header);
