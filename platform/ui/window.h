// platform/ui/window.h: window objects: classes by name, creation and destruction, parent and
// owner, styles, caption, bounds, visibility, enabled state, user data and the window procedure
// with its subclassing chain. Top-level windows are native windows of the display driver;
// child windows exist only here. Windows of other processes appear as proxy handles.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/cursors.h"
#include "platform/ui/windowstyles.h"
#include "platform/ui/wintypes.h"

#include <string>
#include <vector>

class TRegion;
using HRGN = TRegion*;

// Raised when a window call comes from a thread other than the user-interface thread.
TW_DECLARE_EXCEPTION(EWindowError, Exception);

struct TWndClass {
    std::string ClassName;
    UINT Style = 0;
    TWndProc WndProc; // empty: DefWindowProc
    // The pointer over the client area (DefWindowProc's WM_SETCURSOR); crDefault leaves it to
    // the window.
    TCursor Cursor = crArrow;
};

// What WM_NCCREATE and WM_CREATE carry in LParam (a pointer to it).
struct TCreateStruct {
    LPARAM CreateParams = 0;
    HWND Parent = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string WindowName;
    std::string ClassName;
};

// What WM_WINDOWPOSCHANGED carries in LParam (a pointer to it).
struct TWindowPos {
    HWND hwnd = 0;
    HWND hwndInsertAfter = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

// What WM_GETMINMAXINFO carries in LParam (a pointer to it), filled with the defaults: a
// window's procedure may narrow the tracking sizes that SetWindowPos keeps to.
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};
using MINMAXINFO = TMinMaxInfo;

// Classes (windowclass.cpp). False when the name is taken or empty. Names compare without
// regard to case.
bool RegisterClass(const TWndClass& Class);
bool UnregisterClass(const std::string& ClassName);
bool GetClassInfo(const std::string& ClassName, TWndClass& Class);
std::string GetClassName(HWND Wnd);

// Creation and destruction (windowcreate.cpp).
// Parent: for WS_CHILD windows the parent, for others the owner. Sends WM_NCCREATE and
// WM_CREATE (an answer of 0 to the first or -1 to the second destroys the window), then WM_SIZE
// and WM_MOVE, then shows the window when the style holds WS_VISIBLE. 0 for an unknown class or
// parent, or a refused creation.
HWND CreateWindowEx(DWORD ExStyle, const std::string& ClassName, const std::string& WindowName,
                    DWORD Style, int X, int Y, int Width, int Height, HWND Parent,
                    LPARAM CreateParams = 0);
// Destroys owned windows first, then sends WM_DESTROY, destroys the children, sends WM_NCDESTROY.
bool DestroyWindow(HWND Wnd);
bool IsWindow(HWND Wnd);
// Hidden utility windows whose procedure is a method.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
// The windows this process has (tests check that nothing is left over).
int WindowCount();

// Placement and visibility (windowplace.cpp).
bool IsWindowVisible(HWND Wnd); // the window and all its parents visible
bool IsIconic(HWND Wnd);
bool IsZoomed(HWND Wnd);
// True when it was visible before.
bool ShowWindow(HWND Wnd, int Cmd);
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags);
bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint = true);
bool BringWindowToTop(HWND Wnd);
// Screen coordinates.
bool GetWindowRect(HWND Wnd, TRect& Rect);
// Client coordinates: (0, 0) to the size.
bool GetClientRect(HWND Wnd, TRect& Rect);
bool ClientToScreen(HWND Wnd, TPoint& Point);
bool ScreenToClient(HWND Wnd, TPoint& Point);

// The tree: parents, owners, z-order and enumerations (windowtree.cpp).
bool IsChild(HWND Parent, HWND Wnd);
// The previous parent. A window with a parent is a child and no longer a top-level window.
HWND SetParent(HWND Wnd, HWND NewParent);
// The parent of a child, the owner of a top-level window.
HWND GetParent(HWND Wnd);
HWND GetWindow(HWND Wnd, UINT Relation);
HWND GetTopLevelWindow(HWND Wnd);
std::vector<HWND> GetChildWindows(HWND Wnd); // direct children, top of the z-order first
HWND GetDlgItem(HWND Dialog, int Id);        // a descendant by its GWL_ID; 0 if none
// The deepest visible and enabled window under a screen point, among this process's windows.
HWND WindowFromPoint(const TPoint& Point);
// Top-level windows of this process (front first) and then those other processes published.
using TEnumWindowsProc = std::function<bool(HWND Wnd)>; // false stops the enumeration
bool EnumWindows(const TEnumWindowsProc& Proc);
bool EnumChildWindows(HWND Parent, const TEnumWindowsProc& Proc); // all descendants
// The first top-level window (this process's first) whose class name and caption match,
// without regard to case; nullptr matches anything.
HWND FindWindow(const char* ClassName, const char* WindowName);
// A handle that stands for a window of another process.
bool IsForeignWindow(HWND Wnd);
// A handle standing for the desktop behind every window; making it the foreground window takes
// the activation away from this process's windows. Its window rectangle is the screen.
HWND GetDesktopWindow();
// Drawing is not deferred here, so the lock has no effect; true for 0, the desktop or a window.
bool LockWindowUpdate(HWND Wnd);

// The window's shape (windowregion.cpp): Region, in window coordinates, becomes the part of the
// window that shows and takes the mouse; the window owns it from then on (null: the whole window
// again). The region is applied to a top-level window's native window. Non-zero on success.
int SetWindowRgn(HWND Wnd, HRGN Region, bool Redraw);
// Copies the window's region into Region: its kind, or RGN_ERROR (0) when it has none.
int GetWindowRgn(HWND Wnd, HRGN Region);

// Window longs, the procedure, the caption and the enabled state (windowlong.cpp).
LONG_PTR GetWindowLong(HWND Wnd, int Index);
// GWL_WNDPROC takes and gives a pointer to a TWndProc; the value given stays valid while the
// window lives. Prefer SetWindowProc.
LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value);
// Subclassing: the new procedure replaces the current one, which is returned so that the new
// one can pass messages on with CallWindowProc.
TWndProc SetWindowProc(HWND Wnd, TWndProc Proc);
TWndProc GetWindowProc(HWND Wnd);
LRESULT CallWindowProc(const TWndProc& Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT CallWindowProc(LONG_PTR Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
bool SetWindowText(HWND Wnd, const std::string& Text); // through WM_SETTEXT
std::string GetWindowText(HWND Wnd);                   // through WM_GETTEXT
int GetWindowTextLength(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);
// The previous state: true when it was disabled. Sends WM_ENABLE on a change.
bool EnableWindow(HWND Wnd, bool Enable);

// What a window does with a message its procedure passes on (defwindowproc.cpp).
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
