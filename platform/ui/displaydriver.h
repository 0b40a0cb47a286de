// platform/ui/displaydriver.h: what the message loop asks of a display back end. Every top-level
// window (forms, the application's hidden window, pop-ups) is a native window of the driver;
// child windows are not. The driver feeds the input it reads through the entry points of
// platform/ui/input.h. Times are GetTickCount's (platform/rtl/clock.h).
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <memory>
#include <string>

enum class TNativeShow {
    Hidden,    // unmapped
    Normal,    // mapped, neither minimised nor maximised
    Minimized, // iconified
    Maximized,
};

class IDisplayDriver {
public:
    virtual ~IDisplayDriver() = default;
    virtual std::string Name() const = 0;

    // Bounds are in screen coordinates.
    virtual void CreateNativeWindow(HWND Wnd, const TRect& Bounds, const std::string& Caption,
                                    DWORD Style, DWORD ExStyle) = 0;
    virtual void DestroyNativeWindow(HWND Wnd) = 0;
    virtual void ShowNativeWindow(HWND Wnd, TNativeShow Show) = 0;
    virtual void MoveNativeWindow(HWND Wnd, const TRect& Bounds) = 0;
    virtual void SetNativeCaption(HWND Wnd, const std::string& Caption) = 0;
    // Raises the window above the others and gives it the input focus.
    virtual void RaiseNativeWindow(HWND Wnd) = 0;
    // The mouse pointer shape, a TCursor value (platform/ui/cursors.h).
    virtual void SetPointerShape(int Cursor) = 0;

    // A descriptor that becomes readable when events wait, or -1 when there is none.
    virtual int Descriptor() const = 0;
    // Reads the waiting events without blocking and feeds them into the queue.
    virtual void ReadEvents() = 0;
};

// The driver in use: TARNWICK_BACKEND chooses it; the headless one when there is no other.
IDisplayDriver& DisplayDriver();
// Replaces the driver (tests, start-up); null brings back the default choice at the next use.
// Only when no top-level window exists.
void SetDisplayDriver(std::unique_ptr<IDisplayDriver> Driver);

// Implemented in platform/ui/headless/.
std::unique_ptr<IDisplayDriver> CreateHeadlessDriver();
