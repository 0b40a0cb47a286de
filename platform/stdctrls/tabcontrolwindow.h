// platform/stdctrls/tabcontrolwindow.h: the "SysTabControl32" window class under the tab and page
// controls: a row (or rows) of tabs over or under a page frame, the selected tab raised and
// joined with the frame, scroll arrows when one row overflows, the TCM_ messages and the TCN_
// notifications asked of the parent.
#pragma once

#include "platform/rtl/types.h"
#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

class TFont;
class TCustomImageList;

// Tab control styles.
enum : DWORD {
    TCS_TABS = 0x0000,
    TCS_SINGLELINE = 0x0000,
    TCS_BOTTOM = 0x0002,
    TCS_HOTTRACK = 0x0040,
    TCS_BUTTONS = 0x0100,
    TCS_MULTILINE = 0x0200,
    TCS_FOCUSNEVER = 0x8000,
};

enum : UINT {
    TCM_FIRST = 0x1300,
    TCM_GETIMAGELIST = TCM_FIRST + 2,
    TCM_SETIMAGELIST = TCM_FIRST + 3, // LParam the TCustomImageList*; answers the previous one
    TCM_GETITEMCOUNT = TCM_FIRST + 4,
    TCM_GETITEM = TCM_FIRST + 5,    // WParam the index, LParam the TCITEM*
    TCM_SETITEM = TCM_FIRST + 6,    // WParam the index, LParam the TCITEM*
    TCM_INSERTITEM = TCM_FIRST + 7, // WParam where, LParam the TCITEM*; answers the index or -1
    TCM_DELETEITEM = TCM_FIRST + 8,
    TCM_DELETEALLITEMS = TCM_FIRST + 9,
    TCM_GETITEMRECT = TCM_FIRST + 10, // WParam the index, LParam the TRect*
    TCM_GETCURSEL = TCM_FIRST + 11,
    TCM_SETCURSEL = TCM_FIRST + 12,  // no notification; answers the previous selection or -1
    TCM_HITTEST = TCM_FIRST + 13,    // LParam the TCHITTESTINFO*
    TCM_ADJUSTRECT = TCM_FIRST + 40, // WParam 0: window to display area, 1: the other way
    TCM_GETROWCOUNT = TCM_FIRST + 44,
    TCM_GETCURFOCUS = TCM_FIRST + 47,
    TCM_SETCURFOCUS = TCM_FIRST + 48,
};

// What a TCITEM carries.
enum : UINT {
    TCIF_TEXT = 0x0001,
    TCIF_IMAGE = 0x0002,
    TCIF_PARAM = 0x0008,
};

struct TCITEM {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char* pszText = nullptr; // TCM_GETITEM copies into it, up to cchTextMax bytes with the nul
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

// Where a hit-test point fell.
enum : UINT {
    TCHT_NOWHERE = 0x0001,
    TCHT_ONITEMICON = 0x0002,
    TCHT_ONITEMLABEL = 0x0004,
    TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL,
};

struct TCHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
};

// Notifications: TCN_SELCHANGING answered non-zero keeps the selection.
enum : UINT {
    TCN_KEYDOWN = TCN_FIRST - 0U,
    TCN_SELCHANGE = TCN_FIRST - 1U,
    TCN_SELCHANGING = TCN_FIRST - 2U,
};

struct NMTCKEYDOWN {
    NMHDR hdr;
    Word wVKey = 0;
    UINT flags = 0;
};

inline constexpr const char* TabControlClassName = "SysTabControl32";
void RegisterTabControlClass();
LRESULT TabControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The font of the tabs' text (a control gives its own).
void SetTabControlFont(HWND Tabs, const TFont* Font);
