// platform/stdctrls/headerwindow.h: the "SysHeader32" window class, the column header of the
// list view: items with text, width and format, pressed while clicked, dividers dragged to size
// a column, the HDM_ messages and the HDN_ notifications sent to the parent.
#pragma once

#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

#include <string>

// Header styles.
enum : DWORD {
    HDS_HORZ = 0x0000,
    HDS_BUTTONS = 0x0002, // items are buttons: pressed look and HDN_ITEMCLICK
    HDS_HIDDEN = 0x0008,
    HDS_FULLDRAG = 0x0080,
};

// HDITEM::mask.
enum : UINT {
    HDI_WIDTH = 0x0001,
    HDI_TEXT = 0x0002,
    HDI_FORMAT = 0x0004,
    HDI_LPARAM = 0x0008,
};

// HDITEM::fmt.
enum : int {
    HDF_LEFT = 0x0000,
    HDF_RIGHT = 0x0001,
    HDF_CENTER = 0x0002,
    HDF_JUSTIFYMASK = 0x0003,
    HDF_STRING = 0x4000,
};

// One header item; the text is held, not pointed to.
struct HDITEM {
    UINT mask = 0;
    int cxy = 0;
    std::string pszText;
    int fmt = HDF_LEFT;
    LPARAM lParam = 0;
};

// HDM_HITTEST: pt in, the rest out.
struct HDHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
};
enum : UINT {
    HHT_NOWHERE = 0x0001,
    HHT_ONHEADER = 0x0002,
    HHT_ONDIVIDER = 0x0004,
    HHT_TORIGHT = 0x0800,
};

// HDM_LAYOUT: the rectangle the header shares with the rest of the window; the header's place
// comes back in Pos and Rect shrinks by it.
struct HDLAYOUT {
    TRect* prc = nullptr;
    TRect* pwpos = nullptr;
};

enum : UINT {
    HDM_FIRST = 0x1200,
    HDM_GETITEMCOUNT = HDM_FIRST + 0,
    HDM_INSERTITEM = HDM_FIRST + 1,  // WParam: index; LParam: const HDITEM*; the index or -1
    HDM_DELETEITEM = HDM_FIRST + 2,  // WParam: index
    HDM_GETITEM = HDM_FIRST + 3,     // WParam: index; LParam: HDITEM* (mask in)
    HDM_SETITEM = HDM_FIRST + 4,     // WParam: index; LParam: const HDITEM*
    HDM_LAYOUT = HDM_FIRST + 5,      // LParam: HDLAYOUT*
    HDM_HITTEST = HDM_FIRST + 6,     // LParam: HDHITTESTINFO*; the item or -1
    HDM_GETITEMRECT = HDM_FIRST + 7, // WParam: index; LParam: TRect*
};

// The notification record: the item, the mouse button (0 left, 1 right) and, where a change is
// told, the item as it is or is about to be.
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

enum : UINT {
    HDN_ITEMCHANGING = HDN_FIRST - 0U, // a non-zero answer keeps the item as it is
    HDN_ITEMCHANGED = HDN_FIRST - 1U,
    HDN_ITEMCLICK = HDN_FIRST - 2U,
    HDN_ITEMDBLCLICK = HDN_FIRST - 3U,
    HDN_DIVIDERDBLCLICK = HDN_FIRST - 5U,
    HDN_BEGINTRACK = HDN_FIRST - 6U, // a non-zero answer refuses the drag
    HDN_ENDTRACK = HDN_FIRST - 7U,
    HDN_TRACK = HDN_FIRST - 8U, // a non-zero answer ends the drag
};

inline constexpr const char* HeaderClassName = "SysHeader32";
void RegisterHeaderClass();
LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The header's height for its font (WM_SETFONT takes a const TFont* in WParam, copied).
int HeaderHeight(HWND Header);
