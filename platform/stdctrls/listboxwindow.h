// platform/stdctrls/listboxwindow.h: the "LISTBOX" window class under TCustomListBox and the
// combo box's drop-down: items with their data and heights, the three selection models, the
// top index, drawing (or asking the parent to draw through WM_DRAWITEM), mouse and keys, the
// LB_ messages and the LBN_ notifications.
#pragma once

#include "platform/gfx/color.h"
#include "platform/ui/wintypes.h"

#include <string>

class TFont;

// List box styles.
enum : DWORD {
    LBS_NOTIFY = 0x0001,
    LBS_SORT = 0x0002,
    LBS_NOREDRAW = 0x0004,
    LBS_MULTIPLESEL = 0x0008,
    LBS_OWNERDRAWFIXED = 0x0010,
    LBS_OWNERDRAWVARIABLE = 0x0020,
    LBS_HASSTRINGS = 0x0040,
    LBS_USETABSTOPS = 0x0080,
    LBS_NOINTEGRALHEIGHT = 0x0100,
    LBS_MULTICOLUMN = 0x0200,
    LBS_WANTKEYBOARDINPUT = 0x0400,
    LBS_EXTENDEDSEL = 0x0800,
    LBS_DISABLENOSCROLL = 0x1000,
    LBS_NODATA = 0x2000,
    LBS_NOSEL = 0x4000,
    LBS_STANDARD = 0x00A00003,
};

// The class name; RegisterListBoxClass registers it once (later calls do nothing).
inline constexpr const char* ListBoxClassName = "LISTBOX";
void RegisterListBoxClass();
// The class's procedure: a control built on the class passes what it does not answer here.
LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// The window that hears the notifications, WM_DRAWITEM and WM_MEASUREITEM (default: the parent,
// or the owner of a pop-up list); the combo box points its drop-down at itself.
void SetListBoxNotifyWindow(HWND List, HWND Target);
// Colours and font of the default drawing (a control gives its own).
void SetListBoxColors(HWND List, TColor Back, TColor Text);
void SetListBoxFont(HWND List, const TFont* Font);
// What the vertical scroll bar should show, as UpdateScrollBars last worked it out.
struct TListScrollState {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
};
TListScrollState ListBoxScrollState(HWND List);
