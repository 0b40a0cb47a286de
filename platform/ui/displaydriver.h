// platform/ui/displaydriver.h: what the message loop asks of a display back end. Every top-level
// window (forms, the application's hidden window, pop-ups) is a native window of the driver;
// child windows are not. The driver feeds the input it reads through the entry points of
// platform/ui/input.h. Times are GetTickCount's (platform/rtl/clock.h).
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/backends.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TNotifyIcon;

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
    // Screen coordinates, or, when RelativeTo is set, relative to the top-left corner of that
    // window's native window (see NativeBoundsOf).
    TRect Bounds;
    HWND RelativeTo = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Owner = 0; // 0: none
};

// Where a native window goes: Bounds in screen coordinates, or relative to the top-left corner of
// RelativeTo's native window when that is set.
struct TNativeBounds {
    TRect Bounds;
    HWND RelativeTo = 0;
};

// The native bounds of a top-level window with Style and Owner at Bounds (screen coordinates). An
// owned pop-up (a WS_POPUP window without a caption that has an owner: menus, drop-downs, hints)
// is placed relative to its owner's native window, so that a back end that cannot put windows at
// screen coordinates can still put it next to what it belongs to; other windows are placed on the
// screen.
TNativeBounds NativeBoundsOf(const TRect& Bounds, DWORD Style, HWND Owner);

// The screen the windows are on: its size, the work area that panels and docks leave free
// (screen coordinates, within the screen) and the resolution that sizes in points are drawn at.
struct TNativeScreen {
    int Width = 0;
    int Height = 0;
    TRect WorkArea;
    int PixelsPerInch = 96;
};

// The top-level windows as the back end shows them.
class INativeWindows {
public:
    virtual ~INativeWindows() = default;

    // A WS_POPUP window without a caption (menus, drop-downs, hints) bypasses the window
    // manager; WS_EX_TOOLWINDOW, and an owner that is shown, keep it off the taskbar;
    // WS_EX_TOPMOST keeps it above the others.
    virtual void CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec) = 0;
    virtual void DestroyNativeWindow(HWND Wnd) = 0;
    virtual void ShowNativeWindow(HWND Wnd, TNativeShow Show) = 0;
    // Bounds as in TNativeWindowSpec: relative to RelativeTo's native window when that is set.
    virtual void MoveNativeWindow(HWND Wnd, const TRect& Bounds, HWND RelativeTo) = 0;
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

    // The window shows (and takes the mouse) only inside Rects, in window coordinates, when
    // Shaped; otherwise it is whole again (SetWindowRgn). A back end without shapes ignores it.
    virtual void SetNativeShape(HWND, bool /*Shaped*/, const std::vector<TRect>& /*Rects*/) {}

    // The back end's own identifier of the native window (the X window id), 0 when it has none:
    // for tests and diagnostics.
    virtual std::uint64_t NativeId(HWND Wnd) const = 0;

    // The notification area (platform/ui/shellnotify.h): a back end without one refuses.
    virtual bool NotifyIcon(DWORD /*Message*/, const TNotifyIcon& /*Icon*/) { return false; }
    virtual bool NotifyIconDocked(HWND /*Wnd*/, UINT /*ID*/) { return false; }
    // Where the pointer is now (screen coordinates), asked of the display: also when it is over
    // no window of this program. False when the back end cannot tell.
    virtual bool QueryPointer(TPoint& /*Where*/) { return false; }
};

// The screen and the events that come from the display.
class IDisplayScreen {
public:
    virtual ~IDisplayScreen() = default;

    // The screen as last heard from the display. Read whenever a metric is asked for, so it
    // answers from what the driver keeps, without asking the display.
    virtual TNativeScreen NativeScreen() const = 0;

    // A descriptor that becomes readable when events wait, or -1 when there is none.
    virtual int Descriptor() const = 0;
    // Reads the waiting events without blocking and feeds them into the queue.
    virtual void ReadEvents() = 0;
};

// Makes the bytes of one desktop target of the program's clipboard; false refuses the target.
using TClipboardRenderer = std::function<bool(const std::string& Target, std::string& Data)>;

// The desktop's clipboard. Data travels under targets, the desktop's names for kinds of data
// ("UTF8_STRING", "image/png", "text/html" ...). OfferClipboard: the program's clipboard changed,
// and other programs may now read it as Targets, each made by Render when asked (no targets
// withdraws the offer). ForeignClipboardHeld: another program holds the clipboard, so the
// program's own contents no longer count. ForeignClipboardTargets and ForeignClipboardData read
// from that program within a bounded wait; false when it does not answer, refuses, or sends more
// than the back end takes.
class IDesktopClipboard {
public:
    virtual ~IDesktopClipboard() = default;
    virtual void OfferClipboard(const std::vector<std::string>& Targets,
                                TClipboardRenderer Render) = 0;
    virtual bool ForeignClipboardHeld() = 0;
    virtual bool ForeignClipboardTargets(std::vector<std::string>& Targets) = 0;
    virtual bool ForeignClipboardData(const std::string& Target, std::string& Data) = 0;
};

// Drag and drop with other programs. As source: BeginForeignDrag offers the drag's data as
// Targets (each made by Render when asked), ForeignDragOver tells the other program's drop window
// under Point (screen coordinates) that the drag is there and which effect it asks for
// (DROPEFFECT_COPY, _MOVE or _LINK), leaving the one it was over before; false when no other
// program's drop window is there (the program's own windows count as none). ForeignDrop drops on
// that window, EndForeignDrag leaves it (when the drag did not drop there) and withdraws the data.
// The answers come later: ForeignDragState tells them as they arrive, each arrival ending a wait
// of the message loop.
struct TForeignDragState {
    bool Over = false;     // another program's drop window is under the pointer
    bool Waiting = false;  // it has not answered the last step yet
    DWORD Effect = 0;      // what its last answer accepts (a DROPEFFECT_ value)
    bool Finished = false; // it has handled the drop (Effect: what it did)
};

// As target: another program's drag over one of the program's top-level windows, handed to
// InjectForeignDrag as steps. Read fetches the dragged data under one of Targets within a bounded
// wait; false when the other program refuses, does not answer or sends more than a transfer may
// bring. It works from Enter until the Leave or until the Drop step returns.
enum class TForeignDragStep { Enter, Over, Leave, Drop };
using TForeignDragReader = std::function<bool(const std::string& Target, std::string& Data)>;
struct TForeignDragEvent {
    TForeignDragStep Step = TForeignDragStep::Enter;
    HWND Wnd = 0;     // the top-level window the drag is over
    TPoint Point;     // screen coordinates
    DWORD Effect = 0; // the DROPEFFECT_ the other program asks for
    std::vector<std::string> Targets;
    TForeignDragReader Read;
};
// The drop targets' answer to a step (platform/ui/oleforeign.cpp): the effect they accept
// (DROPEFFECT_NONE refuses). An exception of a drop target ends the drag for them (the target
// told DragLeave) and the answer is a refusal.
DWORD InjectForeignDrag(const TForeignDragEvent& Event);
// Called once the other program has the answer: hands such an exception to the application's
// handler (throws it where there is no application).
void EndForeignDragStep();

class IDesktopDragDrop {
public:
    virtual ~IDesktopDragDrop() = default;
    virtual void BeginForeignDrag(const std::vector<std::string>& Targets,
                                  TClipboardRenderer Render) = 0;
    virtual bool ForeignDragOver(TPoint Point, DWORD Effect) = 0;
    virtual void ForeignDrop() = 0;
    virtual void EndForeignDrag() = 0;
    virtual TForeignDragState ForeignDragState() const = 0;
};

// What a display back end can do, for the program to ask instead of its name.
enum TDisplayCapability : unsigned {
    dcShowsWindows = 0x1,    // someone can see the windows and close them
    dcPlacesWindows = 0x2,   // top-level windows go where they are asked to on the screen
    dcSharesClipboard = 0x4, // other programs paste what this one copies, and the other way
};

// A display back end: windows, the screen with its events, the clipboard and drag and drop.
class IDisplayDriver : public INativeWindows,
                       public IDisplayScreen,
                       public IDesktopClipboard,
                       public IDesktopDragDrop {
public:
    ~IDisplayDriver() override = default;
    // For diagnostics; the back end is registered by this name.
    virtual std::string Name() const = 0;
    // TDisplayCapability flags.
    virtual unsigned Capabilities() const = 0;
    bool CanShowWindows() const { return (Capabilities() & dcShowsWindows) != 0; }
};

// The display back ends, each registered by its folder (platform/ui/headless/, platform/ui/x11/).
TBackEndRegistry<IDisplayDriver>& DisplayBackEnds();

// The driver in use: the back end that TARNWICK_BACKEND names, else the first registered one
// that can run here (a message on stderr tells when a named one cannot). Throws when none can.
IDisplayDriver& DisplayDriver();
// Replaces the driver (tests, start-up); null brings back the default choice at the next use.
// Only when no top-level window exists.
void SetDisplayDriver(std::unique_ptr<IDisplayDriver> Driver);

// The resolution of a screen of Width x Height pixels that measures WidthMM x HeightMM
// millimetres, to the nearest dot per inch; 96 when the size cannot be a real screen's (none
// given, a size that is the aspect ratio, pixels far from square, a television across a room).
int PixelsPerInchOf(int Width, int Height, int WidthMM, int HeightMM);
