// platform/stdctrls/comboboxwindow.h: the "COMBOBOX" window class under TCustomComboBox: the
// edit field (or, for the list styles, the chosen item), the button, and the list, which is a
// "LISTBOX" child for the simple style and an owned pop-up that holds the mouse while it is
// dropped down for the others; the CB_ messages and the CBN_ notifications.
#pragma once

#include "platform/gfx/color.h"
#include "platform/ui/wintypes.h"

class TFont;

// Combo box styles.
enum : DWORD {
    CBS_SIMPLE = 0x0001,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    CBS_OWNERDRAWFIXED = 0x0010,
    CBS_OWNERDRAWVARIABLE = 0x0020,
    CBS_AUTOHSCROLL = 0x0040,
    CBS_SORT = 0x0100,
    CBS_HASSTRINGS = 0x0200,
    CBS_NOINTEGRALHEIGHT = 0x0400,
    CBS_UPPERCASE = 0x2000,
    CBS_LOWERCASE = 0x4000,
};

inline constexpr const char* ComboBoxClassName = "COMBOBOX";
void RegisterComboBoxClass();
LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// The list window of a combo box (a pop-up for the drop-down styles).
HWND ComboBoxListWindow(HWND Combo);
// How many items the dropped-down list shows at most.
void SetComboBoxDropDownCount(HWND Combo, int Value);
// Colours and font of the default drawing, for the edit field and the list.
void SetComboBoxColors(HWND Combo, TColor Back, TColor Text);
void SetComboBoxFont(HWND Combo, const TFont* Font);
