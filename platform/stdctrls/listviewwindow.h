// platform/stdctrls/listviewwindow.h: the "SysListView32" window class in report view: columns
// on a header, items with a caption, sub-items, images, state bits and data, selection by keys
// and mouse (Shift, Ctrl, a dragged rectangle), caption editing in an EDIT child, the LVM_
// messages and the LVN_ notifications sent to the parent. Painting and scrolling touch only the
// rows in view, so that a list of 100,000 items stays quick.
#pragma once

#include "platform/gfx/color.h"
#include "platform/ui/notify.h"
#include "platform/ui/wintypes.h"

#include <string>

class TCustomImageList;
class TFont;

// List view styles (report view is the only view drawn).
enum : DWORD {
    LVS_ICON = 0x0000,
    LVS_REPORT = 0x0001,
    LVS_SMALLICON = 0x0002,
    LVS_LIST = 0x0003,
    LVS_TYPEMASK = 0x0003,
    LVS_SINGLESEL = 0x0004,
    LVS_SHOWSELALWAYS = 0x0008,
    LVS_SHAREIMAGELISTS = 0x0040,
    LVS_EDITLABELS = 0x0200,
    LVS_OWNERDATA = 0x1000,
    LVS_NOCOLUMNHEADER = 0x4000,
    LVS_NOSORTHEADER = 0x8000,
};

// Extended styles (LVM_SETEXTENDEDLISTVIEWSTYLE: WParam the mask, LParam the bits).
enum : DWORD {
    LVS_EX_GRIDLINES = 0x0001,
    LVS_EX_FULLROWSELECT = 0x0020,
};

// LVITEM::mask.
enum : UINT {
    LVIF_TEXT = 0x0001,
    LVIF_IMAGE = 0x0002,
    LVIF_PARAM = 0x0004,
    LVIF_STATE = 0x0008,
};

// Item states; the state image (1-based, 0 none) sits in bits 12 to 15.
enum : UINT {
    LVIS_FOCUSED = 0x0001,
    LVIS_SELECTED = 0x0002,
    LVIS_CUT = 0x0004,
    LVIS_DROPHILITED = 0x0008,
    LVIS_STATEIMAGEMASK = 0xF000,
};
constexpr UINT INDEXTOSTATEIMAGEMASK(int Index)
{
    return static_cast<UINT>(Index) << 12;
}

// An item or sub-item as the messages carry it; the text is held, not pointed to.
struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    std::string pszText;
    int iImage = -1;
    LPARAM lParam = 0;
};

// LVCOLUMN::mask and fmt.
enum : UINT {
    LVCF_FMT = 0x0001,
    LVCF_WIDTH = 0x0002,
    LVCF_TEXT = 0x0004,
    LVCF_SUBITEM = 0x0008,
};
enum : int {
    LVCFMT_LEFT = 0x0000,
    LVCFMT_RIGHT = 0x0001,
    LVCFMT_CENTER = 0x0002,
    LVCFMT_JUSTIFYMASK = 0x0003,
};
struct LVCOLUMN {
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::string pszText;
    int iSubItem = 0;
};

// LVM_GETNEXTITEM flags: a direction (none: any item after the start) and the states wanted.
enum : UINT {
    LVNI_ALL = 0x0000,
    LVNI_FOCUSED = 0x0001,
    LVNI_SELECTED = 0x0002,
    LVNI_ABOVE = 0x0100,
    LVNI_BELOW = 0x0200,
    LVNI_TOLEFT = 0x0400,
    LVNI_TORIGHT = 0x0800,
};

// LVM_GETITEMRECT: the part asked for in TRect::Left on the way in.
enum : int { LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2, LVIR_SELECTBOUNDS = 3 };

// LVM_HITTEST: pt in (client coordinates), the rest out.
struct LVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};
enum : UINT {
    LVHT_NOWHERE = 0x0001,
    LVHT_ONITEMICON = 0x0002,
    LVHT_ONITEMLABEL = 0x0004,
    LVHT_ONITEMSTATEICON = 0x0008,
    LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON,
    LVHT_ABOVE = 0x0008 << 1,
    LVHT_BELOW = 0x0010 << 1,
};

// LVM_SETIMAGELIST: WParam names the list; LParam the TCustomImageList* (not owned); the old one
// comes back.
enum : int { LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2 };

enum : UINT {
    LVM_FIRST = 0x1000,
    LVM_SETBKCOLOR = LVM_FIRST + 1,
    LVM_SETIMAGELIST = LVM_FIRST + 3,
    LVM_GETITEMCOUNT = LVM_FIRST + 4,
    LVM_GETITEM = LVM_FIRST + 5,    // LParam: LVITEM* (mask, iItem, iSubItem in)
    LVM_SETITEM = LVM_FIRST + 6,    // LParam: const LVITEM*
    LVM_INSERTITEM = LVM_FIRST + 7, // LParam: const LVITEM*; the index or -1
    LVM_DELETEITEM = LVM_FIRST + 8,
    LVM_DELETEALLITEMS = LVM_FIRST + 9,
    LVM_GETNEXTITEM = LVM_FIRST + 12,   // WParam: the start (-1: from the first); LParam: LVNI_
    LVM_GETITEMRECT = LVM_FIRST + 14,   // WParam: item; LParam: TRect* (Left: LVIR_ in)
    LVM_HITTEST = LVM_FIRST + 18,       // LParam: LVHITTESTINFO*; the item or -1
    LVM_ENSUREVISIBLE = LVM_FIRST + 19, // WParam: item
    LVM_SCROLL = LVM_FIRST + 20,        // WParam: pixels across; LParam: pixels down
    LVM_REDRAWITEMS = LVM_FIRST + 21,   // WParam: first; LParam: last
    LVM_EDITLABEL = LVM_FIRST + 23,     // WParam: item (-1 ends editing); the edit window or 0
    LVM_GETEDITCONTROL = LVM_FIRST + 24,
    LVM_GETCOLUMN = LVM_FIRST + 25, // WParam: column; LParam: LVCOLUMN*
    LVM_SETCOLUMN = LVM_FIRST + 26,
    LVM_INSERTCOLUMN = LVM_FIRST + 27, // WParam: index; LParam: const LVCOLUMN*; the index or -1
    LVM_DELETECOLUMN = LVM_FIRST + 28,
    LVM_GETCOLUMNWIDTH = LVM_FIRST + 29,
    LVM_SETCOLUMNWIDTH = LVM_FIRST + 30, // WParam: column; LParam: width
    LVM_GETHEADER = LVM_FIRST + 31,
    LVM_SETTEXTCOLOR = LVM_FIRST + 36,
    LVM_GETTOPINDEX = LVM_FIRST + 39,
    LVM_GETCOUNTPERPAGE = LVM_FIRST + 40,
    LVM_SETITEMSTATE = LVM_FIRST + 43, // WParam: item (-1: every item); LParam: LVITEM*
    LVM_GETITEMSTATE = LVM_FIRST + 44, // WParam: item; LParam: the state mask
    LVM_SETITEMCOUNT = LVM_FIRST + 47, // makes room for that many items
    LVM_GETSELECTEDCOUNT = LVM_FIRST + 50,
    LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54,
    LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55,
};

// The record of most notifications: the item (-1: none, or every item), the sub-item, the
// states before and after, what changed (LVIF_), where the mouse was, and the item's data.
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
};

// LVN_BEGINLABELEDIT and LVN_ENDLABELEDIT: the item; at the end, item.mask holds LVIF_TEXT with
// the new text when the edit was committed, and not when it was cancelled.
struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    UINT wVKey = 0;
    UINT flags = 0;
};

// NM_CLICK, NM_DBLCLK and NM_RCLICK.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    TPoint ptAction;
};

enum : UINT {
    LVN_ITEMCHANGING = LVN_FIRST - 0U, // a non-zero answer keeps the item as it is
    LVN_ITEMCHANGED = LVN_FIRST - 1U,
    LVN_INSERTITEM = LVN_FIRST - 2U,
    LVN_DELETEITEM = LVN_FIRST - 3U,
    LVN_DELETEALLITEMS = LVN_FIRST - 4U,
    LVN_BEGINLABELEDIT = LVN_FIRST - 5U, // a non-zero answer refuses the edit
    LVN_ENDLABELEDIT = LVN_FIRST - 6U,   // a non-zero answer takes the new text
    LVN_COLUMNCLICK = LVN_FIRST - 8U,
    LVN_KEYDOWN = LVN_FIRST - 55U,
};

inline constexpr const char* ListViewClassName = "SysListView32";
void RegisterListViewClass();
LRESULT ListViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Colours and font of the drawing (a control gives its own).
void SetListViewColors(HWND List, TColor Back, TColor Text);
void SetListViewFont(HWND List, const TFont* Font);
