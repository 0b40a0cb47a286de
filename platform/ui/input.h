// platform/ui/input.h: keyboard and mouse input of the user-interface thread: focus, activation
// and foreground, capture, the caret, key state, key-to-character translation, and the entry
// points through which a back end (or a test) feeds raw input into the queue.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/types.h"
#include "platform/ui/cursors.h"
#include "platform/ui/keyscan.h"
#include "platform/ui/wintypes.h"

#include <string>

struct TDibImage;
using HBITMAP = TDibImage*; // platform/gfx/bitmap.h

// Virtual key codes.
enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD1 = 0x61,
    VK_NUMPAD2 = 0x62,
    VK_NUMPAD3 = 0x63,
    VK_NUMPAD4 = 0x64,
    VK_NUMPAD5 = 0x65,
    VK_NUMPAD6 = 0x66,
    VK_NUMPAD7 = 0x67,
    VK_NUMPAD8 = 0x68,
    VK_NUMPAD9 = 0x69,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
};

// Focus. Sends WM_KILLFOCUS to the old window (WParam = the new one) and WM_SETFOCUS to the new
// one (WParam = the old one), activating the new window's top-level window first. Returns the
// previous focus; 0 and no change for a window that does not exist.
HWND SetFocus(HWND Wnd);
HWND GetFocus();

// Activation of this process's top-level windows: WM_ACTIVATE to the window losing it
// (WA_INACTIVE, LParam = the new one) and to the one gaining it (WA_ACTIVE, LParam = the old
// one); WM_ACTIVATEAPP to the top-level windows when the process gains or loses activation.
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
// Raises and activates a top-level window (Wnd's top-level window for a child); a window of
// another process is asked to come forward.
bool SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();

// Mouse capture: the mouse messages go to Wnd whatever the point. WM_CAPTURECHANGED (LParam = the
// new capture) goes to the window losing it.
HWND SetCapture(HWND Wnd);
bool ReleaseCapture();
HWND GetCapture();

// The one caret of the thread (platform/ui/caret.cpp), owned by a window; hidden after creation
// (ShowCaret counts). Bitmap nil: a solid block; (HBITMAP)1: grey; else the bitmap's pixels
// invert the window's (white inverts, black keeps), at the bitmap's size. Shown, it blinks at
// GetCaretBlinkTime, inverted over the window's picture whenever that is presented.
bool CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height);
bool DestroyCaret();
bool SetCaretPos(int X, int Y);
bool GetCaretPos(TPoint& Point);
bool ShowCaret(HWND Wnd);
bool HideCaret(HWND Wnd);
UINT GetCaretBlinkTime();
bool SetCaretBlinkTime(UINT Milliseconds);
// Where the caret is and whether it is shown (tests and the painting of controls).
struct TCaretState {
    HWND Owner = 0;
    TPoint Pos;
    int Width = 0;
    int Height = 0;
    bool Visible = false;
};
TCaretState GetCaretState();

// Key state as of the last message taken: bit 15 down, bit 0 toggled (Caps Lock, Num Lock).
short GetKeyState(int VirtualKey);
// The state now, regardless of the queue.
short GetAsyncKeyState(int VirtualKey);
// 256 bytes: bit 7 down, bit 0 toggled.
bool GetKeyboardState(Byte* KeyState);
bool SetKeyboardState(const Byte* KeyState);

// Posts WM_CHAR (WM_SYSCHAR with Alt) for the text a key-down produced, one message per UTF-8
// byte: the text the keyboard delivered with the key, else Ctrl+letter 1 to 26, Backspace 8,
// Tab 9, Enter 13, Escape 27, space, letters, digits and keypad digits (Num Lock on). Releasing
// Alt after keypad digits typed with it posts the character of that number (UTF-8 bytes for
// numbers above 127). True when characters were posted.
bool TranslateMessage(const TMsg& Msg);

// The double-click time and area: a second press of the same button on the same window of a
// CS_DBLCLKS class within this time and distance gives WM_xBUTTONDBLCLK instead of the press.
UINT GetDoubleClickTime();
bool SetDoubleClickTime(UINT Milliseconds); // 0 restores 500
TPoint GetCursorPos();

// The pointer's shape, a stock cursor (platform/ui/cursors.h); crDefault shows the arrow. The
// display driver hears of it only when it changes. Returns the shape before.
TCursor SetCursor(TCursor Cursor);
TCursor GetCursor();
// Asks the window under the pointer (the capture window while there is one) for its cursor
// again, through WM_SETCURSOR as a mouse move there does: after a cursor that decides the shape
// changed while the pointer rests.
void RefreshPointerShape();

// Raw input, as a back end reads it or a test makes it up. Keys go to the focus window (the
// active window when nothing has the focus); Text is the UTF-8 the key produced, if any.
void InjectKeyDown(int VirtualKey, const std::string& Text = {});
void InjectKeyUp(int VirtualKey);
// Key messages carry the key's scan code and extended flag in LParam: the calls above take them
// from ScanCodeOfVirtualKey; these take them as the keyboard gave them (a back end, or a test
// pressing the keypad's Enter or the right Ctrl). A side-neutral Shift, Ctrl or Alt with the
// right key's code is the right key in the key state.
void InjectKeyDown(int VirtualKey, const std::string& Text, const TKeyScan& Scan);
void InjectKeyUp(int VirtualKey, const TKeyScan& Scan);
// Presses and releases a key with Text (for typing words in tests).
void InjectKeyPress(int VirtualKey, const std::string& Text = {});
// Points are in Wnd's client coordinates; the message goes to the window under the point (the
// capture window when there is one). Button: 0 left, 1 right, 2 middle. A press activates the
// window's top-level window unless that answers WM_MOUSEACTIVATE with MA_NOACTIVATE(ANDEAT).
void InjectMouseMove(HWND Wnd, int X, int Y);
void InjectMouseButton(HWND Wnd, int Button, bool Down, int X, int Y);
// Delta as WM_MOUSEWHEEL carries it (WHEEL_DELTA per notch, positive away from the user); the
// message goes to the focus window, else the window under the point.
void InjectMouseWheel(HWND Wnd, int Delta, int X, int Y);
// The desktop moved or resized a top-level window (Bounds in screen coordinates): the window
// hears WM_MOVING (LParam: the new rectangle) when it moved, takes them and hears
// WM_WINDOWPOSCHANGED (with WM_MOVE and WM_SIZE), without the driver being asked to move it
// again.
void InjectWindowBounds(HWND Wnd, const TRect& Bounds);
