// platform/ui/ownerdraw.h: what a control asks of its parent to draw or measure an item it leaves
// to the program (WM_DRAWITEM, WM_MEASUREITEM; reflected to the control as CN_DRAWITEM and
// CN_MEASUREITEM): the records and their ODT_, ODA_ and ODS_ values.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

// WM_DRAWITEM's LParam (a pointer to it).
struct TDrawItemStruct {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    TRect rcItem;
    WPARAM itemData;
};

// WM_MEASUREITEM's LParam (a pointer to it); WParam is CtlID.
struct TMeasureItemStruct {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    WPARAM itemData;
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
    ODS_COMBOBOXEDIT = 0x1000,
};
