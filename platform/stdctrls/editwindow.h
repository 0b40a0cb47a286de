// platform/stdctrls/editwindow.h: the system's edit window class "EDIT": its ES_ styles, the
// margin flags of EM_SETMARGINS, and the call that registers the class.
#pragma once

#include "platform/ui/wintypes.h"

#include <memory>
#include <string>

// Edit styles (the low word of the window style).
enum : DWORD {
    ES_LEFT = 0x0000,
    ES_CENTER = 0x0001,
    ES_RIGHT = 0x0002,
    ES_MULTILINE = 0x0004,
    ES_UPPERCASE = 0x0008,
    ES_LOWERCASE = 0x0010,
    ES_PASSWORD = 0x0020,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080,
    ES_NOHIDESEL = 0x0100,
    ES_OEMCONVERT = 0x0400,
    ES_READONLY = 0x0800,
    ES_WANTRETURN = 0x1000,
    ES_NUMBER = 0x2000,
};

// EM_SETMARGINS: WParam flags; LParam holds the left margin in the low word, the right one in
// the high word.
enum : UINT { EC_LEFTMARGIN = 0x0001, EC_RIGHTMARGIN = 0x0002, EC_USEFONTINFO = 0xFFFF };

// The text limit of an edit that was never given one, and the largest limit (EM_LIMITTEXT 0).
constexpr std::size_t EditDefaultLimit = 32767;
constexpr std::size_t EditMaxLimit = 0x7FFFFFFE;

// Registers "EDIT" once; later calls do nothing. A window of the class keeps its own text and
// answers WM_SETTEXT/WM_GETTEXT, the EM_ messages, keys, the mouse and the clipboard messages,
// and tells its parent of changes with WM_COMMAND (EN_ codes, the window in LParam).
// WM_SETFONT takes a const TFont* in WParam (copied); WM_PAINT with an HDC in WParam paints into
// it. Colours come from the parent's answer to WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only
// or disabled): WParam is the HDC (a TCanvas*) with the defaults set, LParam the edit; a non-zero
// answer means the brush and text colour of the canvas were set.
void RegisterEditClass();

class TPopupMenu;
// The menu an EDIT window shows on WM_CONTEXTMENU that nothing above it took: Undo, Cut, Copy,
// Paste, Delete, a separator and Select All, each enabled as the window's state allows (read
// through its messages) and sending it the message that does the work.
std::unique_ptr<TPopupMenu> MakeEditContextMenu(HWND Edit);
extern const char* const EditClassName;
