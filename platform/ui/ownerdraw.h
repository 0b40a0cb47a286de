// platform/ui/ownerdraw.h: what a control asks of its parent to draw or measure an item it leaves
// to the program (WM_DRAWITEM, WM_MEASUREITEM; reflected to the control as CN_DRAWITEM and
// CN_MEASUREITEM): the records and their ODT_, ODA_ and ODS_ values.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

// WM_DRAWITEM's LParam (a pointer to it).
struct TDrawItemStruct {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = 0;
    HDC hDC = nullptr;
    TRect rcItem;
    WPARAM itemData = 0; // a menu item: the TMenuItem
};
using DRAWITEMSTRUCT = TDrawItemStruct;

// WM_MEASUREITEM's LParam (a pointer to it); WParam is CtlID.
struct TMeasureItemStruct {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0; // a menu item's command id
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    WPARAM itemData = 0; // a menu item: the TMenuItem
};

// CtlType.
enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5 };

// itemAction.
enum : UINT { ODA_DRAWENTIRE = 0x0001, ODA_SELECT = 0x0002, ODA_FOCUS = 0x0004 };

// itemState.
enum : UINT {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
    ODS_DEFAULT = 0x0020,
    ODS_HOTLIGHT = 0x0040,
    ODS_INACTIVE = 0x0080,
    ODS_NOACCEL = 0x0100,
    ODS_COMBOBOXEDIT = 0x1000,
};
