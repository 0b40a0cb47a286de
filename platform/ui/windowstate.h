// platform/ui/windowstate.h: the window objects that the window*.cpp files share; units use
// platform/ui/window.h instead.
#pragma once

#include "platform/ui/window.h"

#include "platform/rtl/geometry.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace uiwindow {

inline constexpr const char* UtilWindowClass = "TPUtilWindow";
inline constexpr HWND DesktopHandle = 0x10; // below every handle given to a window

// One scroll bar's state (platform/ui/scrollbars.cpp).
struct TScrollBarData {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    UINT Disabled = 0; // ESB_DISABLE_ arrows
    bool Tracking = false;
};

// The flat look of a window's own scroll bars (platform/ui/flatscrollbars.cpp).
struct TFlatBarLook {
    bool On = false;
    int VStyle = 0; // FSB_REGULAR_MODE, FSB_FLAT_MODE or FSB_ENCARTA_MODE
    int HStyle = 0;
    bool VColorSet = false; // otherwise the system's track
    bool HColorSet = false;
    std::int32_t VColor = 0;
    std::int32_t HColor = 0;
    int VWidth = 0; // 0: the system's metric
    int HHeight = 0;
    // A page set through the flat bars is theirs: plain SetScrollInfo calls leave it.
    bool VPageKept = false;
    bool HPageKept = false;
};

struct TWindowObject {
    HWND Handle = 0;
    std::string ClassName;
    UINT ClassStyle = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Parent = 0;
    HWND Owner = 0;
    std::vector<HWND> Children; // front first
    std::string Text;
    TRect Bounds;       // in the parent's client coordinates; screen coordinates at the top
    TRect NormalBounds; // the bounds to restore from maximised
    // The client area in window coordinates, as WM_NCCALCSIZE last decided (nonclient.cpp).
    TRect Client;
    TScrollBarData HScroll, VScroll, CtlScroll;
    TFlatBarLook FlatBars;
    LONG_PTR UserData = 0;
    LONG_PTR Id = 0;
    std::shared_ptr<const TWndProc> Proc;
    // Procedures replaced by subclassing, kept so that their GWL_WNDPROC values stay valid.
    std::vector<std::shared_ptr<const TWndProc>> Retired;
    bool Destroying = false;
    bool Native = false;
    bool Published = false;
};

struct TWindowState {
    std::unordered_map<HWND, std::unique_ptr<TWindowObject>> Windows;
    std::vector<HWND> TopLevels;              // front first
    std::map<std::string, TWndClass> Classes; // by lower-case name
    HWND LastHandle = 0x1000;
};

TWindowState& State();

// Null for a handle that is not a window of this process.
TWindowObject* Find(HWND Wnd);
// For a handle known to be one.
TWindowObject& Get(HWND Wnd);

// The z-order list the window stands in: its parent's children, or the top-level windows.
std::vector<HWND>& Siblings(const TWindowObject& Obj);
void Unlink(const TWindowObject& Obj);
// Puts the window at the top of its siblings' z-order.
void LinkAtFront(const TWindowObject& Obj);
bool IsDescendant(HWND Ancestor, HWND Wnd);
TPoint ScreenOrigin(const TWindowObject& Obj);
// The screen position of the window's client area's top-left corner.
TPoint ClientScreenOrigin(const TWindowObject& Obj);

// Asks the window's procedure for its client area (WM_NCCALCSIZE) and keeps it; true when the
// client area's size changed (nonclient.cpp).
bool CalcClientArea(HWND Wnd);
// What DefWindowProc does with the non-client messages and WM_SETREDRAW; false for others.
bool DefNonClientMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);

// Publishes an unowned top-level window to other processes, or withdraws it when it stops
// being one.
void UpdatePublication(TWindowObject& Obj);

TNativeShow NativeShowOf(const TWindowObject& Obj);
void CreateNative(TWindowObject& Obj);
void DestroyNative(TWindowObject& Obj);
// Tells the driver of the styles, for a native window.
void SyncNativeStyle(const TWindowObject& Obj);

LRESULT CallProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

} // namespace uiwindow
