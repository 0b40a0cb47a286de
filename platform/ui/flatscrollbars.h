// platform/ui/flatscrollbars.h: the flat scroll bars of the common controls, a look laid over a
// window's own scroll bars (platform/ui/scrollbars.h): regular, flat or Encarta style, a track
// colour and the bars' thickness per window. Their scroll information is the window's own.
#pragma once

#include "platform/ui/scrollbars.h"
#include "platform/ui/wintypes.h"

// FlatSB_SetScrollProp's properties.
enum : UINT {
    WSB_PROP_CYVSCROLL = 0x0001,
    WSB_PROP_CXHSCROLL = 0x0002,
    WSB_PROP_CYHSCROLL = 0x0004, // the horizontal bar's height
    WSB_PROP_CXVSCROLL = 0x0008, // the vertical bar's width
    WSB_PROP_CXHTHUMB = 0x0010,
    WSB_PROP_CYVTHUMB = 0x0020,
    WSB_PROP_VBKGCOLOR = 0x0040, // the vertical track's colour
    WSB_PROP_HBKGCOLOR = 0x0080,
    WSB_PROP_VSTYLE = 0x0100, // one of the FSB_ modes
    WSB_PROP_HSTYLE = 0x0200,
};

// The styles.
enum : LONG_PTR { FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2 };

// Lays the flat look over the window's bars (regular style, system colours and metrics, until
// properties say otherwise). False for a window that does not exist.
BOOL InitializeFlatSB(HWND Wnd);
// Takes the look off again: the bars are drawn and sized as the system draws them.
BOOL UninitializeFlatSB(HWND Wnd);
// Sets one property (a width or height of 0 or less means the system's metric); with Redraw the
// frame is laid out and drawn anew. False without InitializeFlatSB or for a property not kept
// (the arrow lengths and thumb sizes follow the bar's thickness).
BOOL FlatSB_SetScrollProp(HWND Wnd, UINT Index, LONG_PTR NewValue, BOOL Redraw);
// The property as set; false as above.
BOOL FlatSB_GetScrollProp(HWND Wnd, UINT Index, LONG_PTR* Value);
// The window's scroll information, as SetScrollInfo, GetScrollInfo and ShowScrollBar keep it;
// except that a page set here stays the flat bar's: plain SetScrollInfo calls leave it until
// UninitializeFlatSB.
int FlatSB_SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, BOOL Redraw);
BOOL FlatSB_GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info);
BOOL FlatSB_ShowScrollBar(HWND Wnd, int Bar, BOOL Show);
