// platform/ui/displaydriver.h: what the message loop asks of a display back end. Every top-level
// window (forms, the application's hidden window, pop-ups) is a native window of the driver;
// child windows are not. The driver feeds the input it reads through the entry points of
// platform/ui/input.h. Times are GetTickCount's (platform/rtl/clock.h).
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <memory>
#include <string>

enum class TNativeShow {
    Hidden,    // unmapped
    Normal,    // mapped, neither minimised nor maximised
    Minimized, // iconified
    Maximized,
};

// What a native window is made from. The window class name names the program's kind of window
// to the desktop (and to tests); the owner keeps an owned window above it.
struct TNativeWindowSpec {
    std::string ClassName;
    std::string Caption;
    TRect Bounds; // screen coordinates
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Owner = 0; // 0: none
};

// The screen the windows are on: its size, the work area that panels and docks leave free
// (screen coordinates, within the screen) and the resolution that sizes in points are drawn at.
struct TNativeScreen {
    int Width = 0;
    int Height = 0;
    TRect WorkArea;
    int PixelsPerInch = 96;
};

class IDisplayDriver {
public:
    virtual ~IDisplayDriver() = default;
    virtual std::string Name() const = 0;

    // The screen as last heard from the display. Read whenever a metric is asked for, so it
    // answers from what the driver keeps, without asking the display.
    virtual TNativeScreen NativeScreen() const = 0;

    // Windows. A WS_POPUP window without a caption (menus, drop-downs, hints) bypasses the window
    // manager; WS_EX_TOOLWINDOW, and an owner that is shown, keep it off the taskbar;
    // WS_EX_TOPMOST keeps it above the others.
    virtual void CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec) = 0;
    virtual void DestroyNativeWindow(HWND Wnd) = 0;
    virtual void ShowNativeWindow(HWND Wnd, TNativeShow Show) = 0;
    virtual void MoveNativeWindow(HWND Wnd, const TRect& Bounds) = 0;
    virtual void SetNativeCaption(HWND Wnd, const std::string& Caption) = 0;
    virtual void SetNativeOwner(HWND Wnd, HWND Owner) = 0;
    virtual void SetNativeStyle(HWND Wnd, DWORD Style, DWORD ExStyle) = 0;
    // Raises the window above the others and gives it the input focus.
    virtual void RaiseNativeWindow(HWND Wnd) = 0;
    // While a window of this process holds the mouse capture, presses outside all of this
    // process's windows come to it as well; 0 ends that.
    virtual void SetNativeCapture(HWND Wnd) = 0;

    // Shows a picture of the window's client area: Width x Height pixels as 0x00RRGGBB words,
    // rows top down, Stride words apart. Only Dirty (client coordinates, clipped to the picture)
    // need be copied; the driver keeps what it was shown, to repaint what gets uncovered.
    virtual void Present(HWND Wnd, const std::uint32_t* Pixels, int Width, int Height, int Stride,
                         const TRect& Dirty) = 0;

    // The mouse pointer shape, a TCursor value (platform/ui/cursors.h).
    virtual void SetPointerShape(int Cursor) = 0;

    // The desktop's clipboard. OfferClipboardText: the program put text on its clipboard, and
    // other programs may now paste it (an empty text withdraws the offer). ForeignClipboardText:
    // true when another program holds the clipboard, with the text it offers (empty when it
    // offers none or does not answer within a bounded wait); false when none does, and the
    // program's own clipboard is what counts.
    virtual void OfferClipboardText(const std::string& Text) = 0;
    virtual bool ForeignClipboardText(std::string& Text) = 0;

    // A descriptor that becomes readable when events wait, or -1 when there is none.
    virtual int Descriptor() const = 0;
    // Reads the waiting events without blocking and feeds them into the queue.
    virtual void ReadEvents() = 0;

    // The back end's own identifier of the native window (the X window id), 0 when it has none:
    // for tests and diagnostics.
    virtual std::uint64_t NativeId(HWND Wnd) const = 0;
};

// The driver in use. TARNWICK_BACKEND chooses it: "headless", or "x11" (the default when DISPLAY
// is set); the headless one when there is no display or the X server cannot be reached.
IDisplayDriver& DisplayDriver();
// Replaces the driver (tests, start-up); null brings back the default choice at the next use.
// Only when no top-level window exists.
void SetDisplayDriver(std::unique_ptr<IDisplayDriver> Driver);

// The resolution of a screen of Width x Height pixels that measures WidthMM x HeightMM
// millimetres, to the nearest dot per inch; 96 when the size cannot be a real screen's (none
// given, a size that is the aspect ratio, pixels far from square, a television across a room).
int PixelsPerInchOf(int Width, int Height, int WidthMM, int HeightMM);

// Implemented in platform/ui/headless/.
std::unique_ptr<IDisplayDriver> CreateHeadlessDriver();
// Implemented in platform/ui/x11/: null when the display cannot be opened (Display empty: the
// DISPLAY variable's).
std::unique_ptr<IDisplayDriver> CreateX11Driver(const std::string& Display = {});
