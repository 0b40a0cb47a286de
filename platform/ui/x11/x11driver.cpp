#include "platform/ui/x11/x11driver.h"

#include "platform/ui/cursors.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"
#include "platform/ui/x11/x11keys.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

// The native window holds the whole window; the mouse calls take client coordinates.
TPoint NativeToClient(HWND Wnd, int X, int Y)
{
    TRect R;
    GetWindowRect(Wnd, R);
    TPoint C{0, 0};
    ClientToScreen(Wnd, C);
    return TPoint{X - (C.X - R.Left), Y - (C.Y - R.Top)};
}

// Xlib's own handler ends the process on any protocol error; a window that went away meanwhile
// or a refused focus change is no reason to stop the program.
int ProtocolErrors = 0;

int NoteProtocolError(Display*, XErrorEvent*)
{
    ++ProtocolErrors;
    return 0;
}

int HostByteOrder()
{
    const std::uint16_t One = 1;
    unsigned char First = 0;
    std::memcpy(&First, &One, 1);
    return First == 1 ? LSBFirst : MSBFirst;
}

// The system's button face, shown until the first picture arrives.
constexpr unsigned long BlankBackground = 0xF0F0F0;

} // namespace

TX11Driver::TX11Driver(Display* Dpy) : FDisplay(Dpy) {}

std::unique_ptr<TX11Driver> TX11Driver::Open(const std::string& DisplayName)
{
    Display* Dpy = XOpenDisplay(DisplayName.empty() ? nullptr : DisplayName.c_str());
    if (Dpy == nullptr)
        return nullptr;
    std::unique_ptr<TX11Driver> Driver(new TX11Driver(Dpy));
    if (!Driver->Setup())
        return nullptr;
    return Driver;
}

bool TX11Driver::Setup()
{
    XSetErrorHandler(NoteProtocolError);
    FScreen = DefaultScreen(FDisplay);
    FRoot = RootWindow(FDisplay, FScreen);
    FVisual = DefaultVisual(FDisplay, FScreen);
    FDepth = DefaultDepth(FDisplay, FScreen);
    if (FVisual->c_class != TrueColor || FVisual->red_mask != 0xFF0000 ||
        FVisual->green_mask != 0xFF00 || FVisual->blue_mask != 0xFF || FDepth < 24) {
        std::cerr << "tarnwick: the display's default visual is not 24-bit true colour\n";
        return false;
    }

    FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FPoller = epoll_create1(EPOLL_CLOEXEC);
    if (FWakeFd < 0 || FPoller < 0)
        return false;
    for (int Fd : {ConnectionNumber(FDisplay), FWakeFd}) {
        epoll_event Event{};
        Event.events = EPOLLIN;
        Event.data.fd = Fd;
        if (epoll_ctl(FPoller, EPOLL_CTL_ADD, Fd, &Event) != 0)
            return false;
    }

    // A resized screen reconfigures the root window; a window manager announces the work area
    // in a property of it.
    XSelectInput(FDisplay, FRoot, StructureNotifyMask | PropertyChangeMask);
    FNativeScreen.Width = DisplayWidth(FDisplay, FScreen);
    FNativeScreen.Height = DisplayHeight(FDisplay, FScreen);
    // Measured once: what is sized in points keeps its pixels for the whole run.
    FNativeScreen.PixelsPerInch =
        PixelsPerInchOf(FNativeScreen.Width, FNativeScreen.Height,
                        DisplayWidthMM(FDisplay, FScreen), DisplayHeightMM(FDisplay, FScreen));
    ReadWorkArea();

    XSetWindowAttributes Attributes{};
    Attributes.event_mask = PropertyChangeMask;
    FSelectionWindow = XCreateWindow(FDisplay, FRoot, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                     CopyFromParent, CWEventMask, &Attributes);

    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        FInputMethod = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
        if (FInputMethod == nullptr) {
            XSetLocaleModifiers("@im=none");
            FInputMethod = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
        }
    }

    if (XShmQueryExtension(FDisplay)) {
        // A remote server cannot attach our memory: try once, and put images otherwise.
        FUseShm = true;
        TBuffer Probe;
        FUseShm = MakeBuffer(Probe, 1, 1) && Probe.Shm.shmaddr != nullptr;
        FreeBuffer(Probe);
    }
    Done();
    return true;
}

TX11Driver::~TX11Driver()
{
    DropTrayWindows();
    while (!FWindows.empty())
        DestroyNativeWindow(FWindows.begin()->first);
    for (const auto& Entry : FCursors)
        XFreeCursor(FDisplay, Entry.second);
    if (FSelectionWindow != 0)
        XDestroyWindow(FDisplay, FSelectionWindow);
    if (FInputMethod != nullptr)
        XCloseIM(FInputMethod);
    XCloseDisplay(FDisplay);
    if (FPoller >= 0)
        close(FPoller);
    if (FWakeFd >= 0)
        close(FWakeFd);
}

Atom TX11Driver::Intern(const char* Name) const
{
    return XInternAtom(FDisplay, Name, False);
}

TX11Driver::TWindow* TX11Driver::Lookup(HWND Wnd)
{
    auto Found = FWindows.find(Wnd);
    return Found != FWindows.end() ? &Found->second : nullptr;
}

HWND TX11Driver::HandleOf(Window Id) const
{
    auto Found = FByWindow.find(Id);
    return Found != FByWindow.end() ? Found->second : 0;
}

std::uint64_t TX11Driver::NativeId(HWND Wnd) const
{
    auto Found = FWindows.find(Wnd);
    return Found != FWindows.end() ? Found->second.Id : 0;
}

void TX11Driver::Done()
{
    XFlush(FDisplay);
    if (XEventsQueued(FDisplay, QueuedAlready) > 0) {
        const std::uint64_t One = 1;
        [[maybe_unused]] const ssize_t Written = write(FWakeFd, &One, sizeof One);
    }
}

bool TX11Driver::OverrideRedirect(const TNativeWindowSpec& Spec) const
{
    // Menus, drop-downs and hints: captionless pop-ups that belong to another window or float.
    return (Spec.Style & WS_POPUP) && (Spec.Style & WS_CAPTION) != WS_CAPTION &&
           (Spec.Owner != 0 || (Spec.ExStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)));
}

void TX11Driver::CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec)
{
    DestroyNativeWindow(Wnd);
    XSetWindowAttributes Attributes{};
    Attributes.background_pixel = BlankBackground;
    Attributes.border_pixel = 0;
    Attributes.bit_gravity = NorthWestGravity;
    Attributes.override_redirect = OverrideRedirect(Spec) ? True : False;
    Attributes.cursor = CursorFor(FPointer);
    Attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | LeaveWindowMask |
                            FocusChangeMask | StructureNotifyMask;
    TWindow Win;
    Win.Spec = Spec;
    Win.Spec.Bounds = ScreenBounds(Spec.Bounds, Spec.RelativeTo);
    Win.Spec.RelativeTo = 0;
    Win.Id = XCreateWindow(FDisplay, FRoot, Win.Spec.Bounds.Left, Win.Spec.Bounds.Top,
                           static_cast<unsigned>(std::max(Win.Spec.Bounds.Width(), 1)),
                           static_cast<unsigned>(std::max(Win.Spec.Bounds.Height(), 1)), 0, FDepth,
                           InputOutput, FVisual,
                           CWBackPixel | CWBorderPixel | CWBitGravity | CWOverrideRedirect |
                               CWCursor | CWEventMask,
                           &Attributes);
    if (FInputMethod != nullptr) {
        Win.InputContext =
            XCreateIC(FInputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                      XNClientWindow, Win.Id, XNFocusWindow, Win.Id, nullptr);
        long FilterEvents = 0;
        if (Win.InputContext != nullptr &&
            XGetICValues(Win.InputContext, XNFilterEvents, &FilterEvents, nullptr) == nullptr &&
            FilterEvents != 0)
            XSelectInput(FDisplay, Win.Id, Attributes.event_mask | FilterEvents);
    }
    FByWindow[Win.Id] = Wnd;
    auto& Stored = FWindows[Wnd] = std::move(Win);
    MarkXdndAware(Stored.Id);
    ApplyProperties(Stored);
    ApplyState(Stored);
    ApplyOwnedStates(Wnd);
    Done();
}

void TX11Driver::DestroyNativeWindow(HWND Wnd)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr)
        return;
    if (FGrab == Wnd) {
        XUngrabPointer(FDisplay, CurrentTime);
        FGrab = 0;
    }
    if (Win->InputContext != nullptr)
        XDestroyIC(Win->InputContext);
    FreeBuffer(Win->Buffer);
    XDestroyWindow(FDisplay, Win->Id);
    FByWindow.erase(Win->Id);
    FWindows.erase(Wnd);
    ApplyOwnedStates(Wnd);
    Done();
}

void TX11Driver::SetAtomList(Window Id, Atom Property, const std::vector<Atom>& Atoms)
{
    XChangeProperty(FDisplay, Id, Property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Atoms.data()),
                    static_cast<int>(Atoms.size()));
}

void TX11Driver::ApplyProperties(TWindow& Win)
{
    const Atom Utf8 = Intern("UTF8_STRING");
    const auto* Caption = reinterpret_cast<const unsigned char*>(Win.Spec.Caption.c_str());
    const int Length = static_cast<int>(Win.Spec.Caption.size());
    XChangeProperty(FDisplay, Win.Id, XA_WM_NAME, Utf8, 8, PropModeReplace, Caption, Length);
    XChangeProperty(FDisplay, Win.Id, Intern("_NET_WM_NAME"), Utf8, 8, PropModeReplace, Caption,
                    Length);

    std::string ClassName = Win.Spec.ClassName;
    XClassHint Hint;
    Hint.res_name = ClassName.data();
    Hint.res_class = ClassName.data();
    XSetClassHint(FDisplay, Win.Id, &Hint);

    Atom Delete = Intern("WM_DELETE_WINDOW");
    XSetWMProtocols(FDisplay, Win.Id, &Delete, 1);
    const long Pid = getpid();
    XChangeProperty(FDisplay, Win.Id, Intern("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Pid), 1);

    XSizeHints Size{};
    Size.flags = USPosition | USSize;
    Size.x = Win.Spec.Bounds.Left;
    Size.y = Win.Spec.Bounds.Top;
    Size.width = std::max(Win.Spec.Bounds.Width(), 1);
    Size.height = std::max(Win.Spec.Bounds.Height(), 1);
    XSetWMNormalHints(FDisplay, Win.Id, &Size);
    XWMHints Hints{};
    Hints.flags = InputHint | StateHint;
    Hints.input = True;
    Hints.initial_state = Win.Show == TNativeShow::Minimized ? IconicState : NormalState;
    XSetWMHints(FDisplay, Win.Id, &Hints);

    // An owned window stays above its owner; an owner that is never shown (the application's
    // hidden window) makes no sense to the desktop, so its windows stand alone.
    const TWindow* Owner = ShownOwner(Win);
    if (Owner != nullptr)
        XSetTransientForHint(FDisplay, Win.Id, Owner->Id);
    else
        XDeleteProperty(FDisplay, Win.Id, XA_WM_TRANSIENT_FOR);
    SetAtomList(Win.Id, Intern("_NET_WM_WINDOW_TYPE"),
                {Intern(OverrideRedirect(Win.Spec) ? "_NET_WM_WINDOW_TYPE_POPUP_MENU"
                        : Owner != nullptr         ? "_NET_WM_WINDOW_TYPE_DIALOG"
                                                   : "_NET_WM_WINDOW_TYPE_NORMAL")});
}

void TX11Driver::ApplyState(TWindow& Win)
{
    const bool SkipTaskbar = SkipsTaskbar(Win);
    const bool StayOnTop = (Win.Spec.ExStyle & WS_EX_TOPMOST) != 0;
    const Atom State = Intern("_NET_WM_STATE");
    const Atom SkipAtom = Intern("_NET_WM_STATE_SKIP_TASKBAR");
    const Atom AboveAtom = Intern("_NET_WM_STATE_ABOVE");
    if (Win.Show == TNativeShow::Hidden || !WindowManagerRuns()) {
        // Before mapping the window owns the property; the window manager reads it at the map.
        // Without a window manager the property stays the window's to keep.
        std::vector<Atom> Atoms;
        if (SkipTaskbar)
            Atoms.push_back(SkipAtom);
        if (StayOnTop)
            Atoms.push_back(AboveAtom);
        SetAtomList(Win.Id, State, Atoms);
        return;
    }
    for (const auto& Change :
         {std::make_pair(SkipAtom, SkipTaskbar), std::make_pair(AboveAtom, StayOnTop)}) {
        XEvent Event{};
        Event.xclient.type = ClientMessage;
        Event.xclient.window = Win.Id;
        Event.xclient.message_type = State;
        Event.xclient.format = 32;
        Event.xclient.data.l[0] = Change.second ? 1 : 0; // add or remove
        Event.xclient.data.l[1] = static_cast<long>(Change.first);
        Event.xclient.data.l[3] = 1; // from an application
        XSendEvent(FDisplay, FRoot, False, SubstructureNotifyMask | SubstructureRedirectMask,
                   &Event);
    }
}

void TX11Driver::ShowNativeWindow(HWND Wnd, TNativeShow Show)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr || Win->Show == Show)
        return;
    if (IsApplicationWindow(Wnd)) {
        // Never mapped: its being shown puts the program's windows on the taskbar, and its
        // being restored brings them forward.
        const bool Restored = Win->Show != TNativeShow::Normal && Show == TNativeShow::Normal;
        Win->Show = Show;
        ApplyOwnedStates(Wnd);
        if (Restored)
            RaiseOwnedWindows(Wnd);
        Done();
        return;
    }
    const TNativeShow Old = Win->Show;
    if (Show == TNativeShow::Hidden) {
        Win->Show = Show;
        XWithdrawWindow(FDisplay, Win->Id, FScreen);
        ApplyState(*Win);
    } else if (Show == TNativeShow::Minimized && Old != TNativeShow::Hidden) {
        Win->Show = Show;
        XIconifyWindow(FDisplay, Win->Id, FScreen);
    } else {
        if (Old == TNativeShow::Hidden) {
            Win->Show = Show;
            ApplyProperties(*Win);
            Win->Show = TNativeShow::Hidden;
            ApplyState(*Win);
        }
        Win->Show = Show;
        XMapRaised(FDisplay, Win->Id);
    }
    Done();
}

TRect TX11Driver::ScreenBounds(const TRect& Bounds, HWND RelativeTo)
{
    TRect Result = Bounds;
    if (const TWindow* Origin = RelativeTo != 0 ? Lookup(RelativeTo) : nullptr)
        OffsetRect(Result, Origin->Spec.Bounds.Left, Origin->Spec.Bounds.Top);
    return Result;
}

void TX11Driver::MoveNativeWindow(HWND Wnd, const TRect& Bounds, HWND RelativeTo)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr)
        return;
    const TRect& Placed = Win->Spec.Bounds = ScreenBounds(Bounds, RelativeTo);
    XMoveResizeWindow(FDisplay, Win->Id, Placed.Left, Placed.Top,
                      static_cast<unsigned>(std::max(Placed.Width(), 1)),
                      static_cast<unsigned>(std::max(Placed.Height(), 1)));
    Done();
}

void TX11Driver::SetNativeCaption(HWND Wnd, const std::string& Caption)
{
    if (TWindow* Win = Lookup(Wnd)) {
        Win->Spec.Caption = Caption;
        ApplyProperties(*Win);
        Done();
    }
}

void TX11Driver::SetNativeOwner(HWND Wnd, HWND Owner)
{
    if (TWindow* Win = Lookup(Wnd)) {
        Win->Spec.Owner = Owner;
        ApplyProperties(*Win);
        ApplyState(*Win);
        Done();
    }
}

void TX11Driver::SetNativeStyle(HWND Wnd, DWORD Style, DWORD ExStyle)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr)
        return;
    Win->Spec.Style = Style;
    Win->Spec.ExStyle = ExStyle;
    // Takes effect at the next map, as the protocol has it.
    XSetWindowAttributes Attributes{};
    Attributes.override_redirect = OverrideRedirect(Win->Spec) ? True : False;
    XChangeWindowAttributes(FDisplay, Win->Id, CWOverrideRedirect, &Attributes);
    ApplyProperties(*Win);
    ApplyState(*Win);
    Done();
}

void TX11Driver::RaiseNativeWindow(HWND Wnd)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr)
        return;
    if (IsApplicationWindow(Wnd)) {
        RaiseOwnedWindows(Wnd);
        return;
    }
    XRaiseWindow(FDisplay, Win->Id);
    if (Win->Show != TNativeShow::Hidden) {
        XEvent Event{};
        Event.xclient.type = ClientMessage;
        Event.xclient.window = Win->Id;
        Event.xclient.message_type = Intern("_NET_ACTIVE_WINDOW");
        Event.xclient.format = 32;
        Event.xclient.data.l[0] = 1; // from an application
        Event.xclient.data.l[1] = static_cast<long>(FLastTime);
        XSendEvent(FDisplay, FRoot, False, SubstructureNotifyMask | SubstructureRedirectMask,
                   &Event);
        XWindowAttributes Attributes{};
        if (XGetWindowAttributes(FDisplay, Win->Id, &Attributes) &&
            Attributes.map_state == IsViewable)
            XSetInputFocus(FDisplay, Win->Id, RevertToParent, CurrentTime);
    }
    Done();
}

void TX11Driver::SetNativeCapture(HWND Wnd)
{
    if (FGrab != 0 && FGrab != Wnd) {
        XUngrabPointer(FDisplay, CurrentTime);
        FGrab = 0;
    }
    TWindow* Win = Wnd != 0 ? Lookup(Wnd) : nullptr;
    if (Win != nullptr && FGrab != Wnd && Win->Show != TNativeShow::Hidden) {
        // Events on this program's other windows still go to them; the rest come here.
        if (XGrabPointer(FDisplay, Win->Id, True,
                         ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime) == GrabSuccess)
            FGrab = Wnd;
    }
    Done();
}

bool TX11Driver::MakeBuffer(TBuffer& Buffer, int Width, int Height)
{
    Buffer.Width = Width;
    Buffer.Height = Height;
    const std::size_t Bytes = static_cast<std::size_t>(Width) * Height * 4;
    if (FUseShm) {
        Buffer.Image = XShmCreateImage(FDisplay, FVisual, static_cast<unsigned>(FDepth), ZPixmap,
                                       nullptr, &Buffer.Shm, static_cast<unsigned>(Width),
                                       static_cast<unsigned>(Height));
        if (Buffer.Image != nullptr && Buffer.Image->bytes_per_line == Width * 4) {
            Buffer.Shm.shmid = shmget(IPC_PRIVATE, Bytes, IPC_CREAT | 0600);
            void* Address = Buffer.Shm.shmid >= 0 ? shmat(Buffer.Shm.shmid, nullptr, 0) : nullptr;
            if (Address != nullptr && Address != reinterpret_cast<void*>(-1)) {
                Buffer.Shm.shmaddr = Buffer.Image->data = static_cast<char*>(Address);
                Buffer.Shm.readOnly = False;
                const int ErrorsBefore = ProtocolErrors;
                const bool Attached = XShmAttach(FDisplay, &Buffer.Shm) != 0;
                XSync(FDisplay, False);
                // Marked for removal now: the segment goes with the last detach, even on a crash.
                shmctl(Buffer.Shm.shmid, IPC_RMID, nullptr);
                if (Attached && ProtocolErrors == ErrorsBefore) {
                    Buffer.Bits = reinterpret_cast<std::uint32_t*>(Address);
                    std::fill(Buffer.Bits, Buffer.Bits + Bytes / 4, 0);
                    return true;
                }
                shmdt(Address);
            } else if (Buffer.Shm.shmid >= 0) {
                shmctl(Buffer.Shm.shmid, IPC_RMID, nullptr);
            }
        }
        if (Buffer.Image != nullptr) {
            Buffer.Image->data = nullptr;
            XDestroyImage(Buffer.Image);
            Buffer.Image = nullptr;
        }
        Buffer.Shm = XShmSegmentInfo{};
        FUseShm = false;
    }
    Buffer.Pixels.assign(Bytes / 4, 0);
    Buffer.Bits = Buffer.Pixels.data();
    Buffer.Image = XCreateImage(FDisplay, FVisual, static_cast<unsigned>(FDepth), ZPixmap, 0,
                                reinterpret_cast<char*>(Buffer.Bits), static_cast<unsigned>(Width),
                                static_cast<unsigned>(Height), 32, Width * 4);
    if (Buffer.Image == nullptr)
        return false;
    Buffer.Image->byte_order = HostByteOrder();
    return true;
}

void TX11Driver::FreeBuffer(TBuffer& Buffer)
{
    if (Buffer.Image != nullptr) {
        if (Buffer.Shm.shmaddr != nullptr) {
            XShmDetach(FDisplay, &Buffer.Shm);
            XSync(FDisplay, False);
            shmdt(Buffer.Shm.shmaddr);
        }
        Buffer.Image->data = nullptr; // not Xlib's to free
        XDestroyImage(Buffer.Image);
    }
    Buffer = TBuffer();
}

void TX11Driver::PutImage(TWindow& Win, int X, int Y, int Width, int Height)
{
    TBuffer& Buffer = Win.Buffer;
    const int Left = std::max(X, 0), Top = std::max(Y, 0);
    const int Right = std::min(X + Width, Buffer.Width);
    const int Bottom = std::min(Y + Height, Buffer.Height);
    if (Buffer.Image == nullptr || Left >= Right || Top >= Bottom)
        return;
    GC Gc = DefaultGC(FDisplay, FScreen);
    if (Buffer.Shm.shmaddr != nullptr) {
        XShmPutImage(FDisplay, Win.Id, Gc, Buffer.Image, Left, Top, Left, Top,
                     static_cast<unsigned>(Right - Left), static_cast<unsigned>(Bottom - Top),
                     False);
        // The next picture is written into the same memory: the server must be done reading.
        XSync(FDisplay, False);
    } else {
        XPutImage(FDisplay, Win.Id, Gc, Buffer.Image, Left, Top, Left, Top,
                  static_cast<unsigned>(Right - Left), static_cast<unsigned>(Bottom - Top));
    }
}

void TX11Driver::Present(HWND Wnd, const std::uint32_t* Pixels, int Width, int Height, int Stride,
                         const TRect& Dirty)
{
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr || Pixels == nullptr || Width <= 0 || Height <= 0 || Stride < Width)
        return;
    TRect Area = Dirty;
    TBuffer& Buffer = Win->Buffer;
    if (Buffer.Width != Width || Buffer.Height != Height) {
        FreeBuffer(Buffer);
        if (!MakeBuffer(Buffer, Width, Height)) {
            FreeBuffer(Buffer);
            return;
        }
        Area = Rect(0, 0, Width, Height);
    }
    const int Left = std::max(Area.Left, 0), Right = std::min(Area.Right, Width);
    const int Top = std::max(Area.Top, 0), Bottom = std::min(Area.Bottom, Height);
    if (Left >= Right || Top >= Bottom)
        return;
    for (int Y = Top; Y < Bottom; ++Y)
        std::copy(Pixels + static_cast<std::size_t>(Y) * Stride + Left,
                  Pixels + static_cast<std::size_t>(Y) * Stride + Right,
                  Buffer.Bits + static_cast<std::size_t>(Y) * Width + Left);
    if (Win->Show != TNativeShow::Hidden)
        PutImage(*Win, Left, Top, Right - Left, Bottom - Top);
    Done();
}

Cursor TX11Driver::CursorFor(int Shape)
{
    if (Shape == crDefault)
        Shape = crArrow;
    auto Found = FCursors.find(Shape);
    if (Found != FCursors.end())
        return Found->second;
    Cursor Made = None;
    if (Shape == crNone) {
        const char Empty[1] = {0};
        Pixmap Blank = XCreateBitmapFromData(FDisplay, FRoot, Empty, 1, 1);
        XColor Black{};
        Made = XCreatePixmapCursor(FDisplay, Blank, Blank, &Black, &Black, 0, 0);
        XFreePixmap(FDisplay, Blank);
    } else {
        static const std::map<int, unsigned> Shapes = {
            {crArrow, XC_left_ptr},
            {crCross, XC_crosshair},
            {crIBeam, XC_xterm},
            {crSizeNESW, XC_bottom_left_corner},
            {crSizeNS, XC_sb_v_double_arrow},
            {crSizeNWSE, XC_bottom_right_corner},
            {crSizeWE, XC_sb_h_double_arrow},
            {crUpArrow, XC_sb_up_arrow},
            {crHourGlass, XC_watch},
            {crDrag, XC_dotbox},
            {crNoDrop, XC_X_cursor},
            {crHSplit, XC_sb_h_double_arrow},
            {crVSplit, XC_sb_v_double_arrow},
            {crMultiDrag, XC_dotbox},
            {crSQLWait, XC_watch},
            {crNo, XC_X_cursor},
            {crAppStart, XC_watch},
            {crHelp, XC_question_arrow},
            {crHandPoint, XC_hand2},
            {crSizeAll, XC_fleur},
        };
        auto Stock = Shapes.find(Shape);
        Made = XCreateFontCursor(FDisplay, Stock != Shapes.end() ? Stock->second : XC_left_ptr);
    }
    FCursors[Shape] = Made;
    return Made;
}

void TX11Driver::SetPointerShape(int Shape)
{
    if (Shape == FPointer)
        return;
    FPointer = Shape;
    const Cursor Shown = CursorFor(Shape);
    for (const auto& Entry : FWindows)
        XDefineCursor(FDisplay, Entry.second.Id, Shown);
    Done();
}

void TX11Driver::ReadEvents()
{
    std::uint64_t Count = 0;
    while (read(FWakeFd, &Count, sizeof Count) > 0) {
    }
    while (XPending(FDisplay) > 0) {
        XEvent Event;
        XNextEvent(FDisplay, &Event);
        if (XFilterEvent(&Event, None))
            continue;
        HandleEvent(Event);
    }
    Done();
}

void TX11Driver::HandleEvent(XEvent& Event)
{
    if (HandleTrayEvent(Event))
        return;
    switch (Event.type) {
    case SelectionRequest:
        HandleSelectionRequest(Event.xselectionrequest);
        return;
    case SelectionClear:
        if (Event.xselectionclear.selection == Intern("CLIPBOARD"))
            FOwnsClipboard = false;
        return;
    case PropertyNotify:
        if (HandleSelectionProperty(Event.xproperty))
            return;
        break;
    case MappingNotify:
        XRefreshKeyboardMapping(&Event.xmapping);
        return;
    case ClientMessage:
        if (HandleXdndMessage(Event.xclient))
            return;
        break;
    default:
        break;
    }
    if (Event.xany.window == FRoot) {
        HandleRootEvent(Event);
        return;
    }
    const HWND Wnd = HandleOf(Event.xany.window);
    TWindow* Win = Lookup(Wnd);
    if (Win == nullptr)
        return;
    switch (Event.type) {
    case Expose:
        PutImage(*Win, Event.xexpose.x, Event.xexpose.y, Event.xexpose.width, Event.xexpose.height);
        break;
    case KeyPress:
    case KeyRelease:
        HandleKey(Wnd, Event.xkey);
        break;
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& Button = Event.xbutton;
        FLastTime = Button.time;
        const bool Down = Event.type == ButtonPress;
        if (Button.button == Button4 || Button.button == Button5) {
            const TPoint P = NativeToClient(Wnd, Button.x, Button.y);
            if (Down)
                InjectMouseWheel(Wnd, Button.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, P.X,
                                 P.Y);
        } else if (Button.button >= Button1 && Button.button <= Button3) {
            static const int Buttons[] = {0, 2, 1}; // X: left, middle, right
            const TPoint P = NativeToClient(Wnd, Button.x, Button.y);
            InjectMouseButton(Wnd, Buttons[Button.button - Button1], Down, P.X, P.Y);
        }
        break;
    }
    case MotionNotify: {
        // Only the latest position of a burst matters.
        while (XCheckTypedWindowEvent(FDisplay, Event.xany.window, MotionNotify, &Event)) {
        }
        FLastTime = Event.xmotion.time;
        const TPoint P = NativeToClient(Wnd, Event.xmotion.x, Event.xmotion.y);
        InjectMouseMove(Wnd, P.X, P.Y);
        break;
    }
    case LeaveNotify:
        HandleLeave(Wnd, Event.xcrossing);
        break;
    case FocusIn:
    case FocusOut:
        HandleFocus(Wnd, Event.xfocus);
        break;
    case ConfigureNotify:
        while (XCheckTypedWindowEvent(FDisplay, Event.xany.window, ConfigureNotify, &Event)) {
        }
        HandleConfigure(Wnd, Event.xconfigure);
        break;
    case ClientMessage:
        if (Event.xclient.message_type == Intern("WM_PROTOCOLS") &&
            static_cast<Atom>(Event.xclient.data.l[0]) == Intern("WM_DELETE_WINDOW"))
            PostMessage(Wnd, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void TX11Driver::HandleKey(HWND Wnd, XKeyEvent& Key)
{
    FLastTime = Key.time;
    // A key whose plain symbol has no virtual key (the French keyboard's digit row, whose plain
    // symbols are accented letters) is known by its shifted symbol: that key is still VK_2.
    const KeySym Plain = XLookupKeysym(&Key, 0);
    int VirtualKey = VirtualKeyOfKeySym(Plain);
    if (VirtualKey == 0)
        VirtualKey = VirtualKeyOfKeySym(XLookupKeysym(&Key, 1));
    const TKeyScan Scan = ScanCodeOfKey(Key.keycode, Plain, VirtualKey);
    if (Key.type == KeyRelease) {
        // Auto-repeat sends release and press together: the key stays down, as the loop expects.
        if (XEventsQueued(FDisplay, QueuedAfterReading) > 0) {
            XEvent Next;
            XPeekEvent(FDisplay, &Next);
            if (Next.type == KeyPress && Next.xkey.keycode == Key.keycode &&
                Next.xkey.time - Key.time < 2)
                return;
        }
        InjectKeyUp(VirtualKey, Scan);
        return;
    }
    const TWindow* Win = Lookup(Wnd);
    std::string Text;
    KeySym Sym = NoSymbol;
    if (Win != nullptr && Win->InputContext != nullptr) {
        char Small[64];
        Status Result = 0;
        int Length = Xutf8LookupString(Win->InputContext, &Key, Small, sizeof Small, &Sym, &Result);
        if (Result == XBufferOverflow) {
            std::string Large(static_cast<std::size_t>(Length), '\0');
            Length =
                Xutf8LookupString(Win->InputContext, &Key, Large.data(), Length, &Sym, &Result);
            Text = Large.substr(0, static_cast<std::size_t>(std::max(Length, 0)));
        } else if (Result == XLookupChars || Result == XLookupBoth) {
            Text.assign(Small, static_cast<std::size_t>(std::max(Length, 0)));
        } else if (Result == XLookupKeySym) {
            // A locale without the character (the C locale) still types it.
            Text = TextOfKeySym(Sym);
        }
    } else {
        char Small[32];
        XLookupString(&Key, Small, sizeof Small, &Sym, nullptr);
        Text = TextOfKeySym(Sym);
    }
    // Control characters, and letters typed with Ctrl, come from the key translation itself.
    const bool Control = std::any_of(Text.begin(), Text.end(), [](char C) {
        return static_cast<unsigned char>(C) < 0x20 || C == 0x7F;
    });
    if (Control || ((Key.state & ControlMask) && Text.size() == 1))
        Text.clear();
    InjectKeyDown(VirtualKey, Text, Scan);
}

void TX11Driver::HandleLeave(HWND Wnd, const XCrossingEvent& Crossing)
{
    // A grab taking the pointer away is no leaving; a grab ending outside the window is.
    if (Crossing.mode == NotifyGrab || Crossing.detail == NotifyInferior)
        return;
    FLastTime = Crossing.time;
    // The message goes to the window that had the pointer last: a child window takes it for the
    // control it belongs to.
    HWND Left = WindowFromPoint(GetCursorPos());
    if (Left == 0 || GetTopLevelWindow(Left) != Wnd)
        Left = Wnd;
    PostMessage(Left, WM_MOUSELEAVE, 0, 0);
}

void TX11Driver::HandleConfigure(HWND Wnd, const XConfigureEvent& Configure)
{
    TWindow* Win = Lookup(Wnd);
    int X = Configure.x, Y = Configure.y;
    if (!Configure.send_event) {
        // A window manager's frame is the parent: the position that counts is on the screen.
        Window Child = 0;
        XTranslateCoordinates(FDisplay, Win->Id, FRoot, 0, 0, &X, &Y, &Child);
    }
    const TRect& Asked = Win->Spec.Bounds;
    // A window asked for with no width or height is one pixel on the server.
    const int Width =
        Configure.width == std::max(Asked.Width(), 1) ? Asked.Width() : Configure.width;
    const int Height =
        Configure.height == std::max(Asked.Height(), 1) ? Asked.Height() : Configure.height;
    const TRect Now = Bounds(X, Y, Width, Height);
    Win->Spec.Bounds = Now;
    InjectWindowBounds(Wnd, Now);
}

void TX11Driver::HandleFocus(HWND Wnd, const XFocusChangeEvent& Focus)
{
    if (Focus.mode == NotifyGrab || Focus.mode == NotifyUngrab || Focus.detail == NotifyPointer ||
        Focus.detail == NotifyInferior)
        return;
    const TWindow* Win = Lookup(Wnd);
    if (Focus.type == FocusIn) {
        if (Win->InputContext != nullptr)
            XSetICFocus(Win->InputContext);
        if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd) && GetActiveWindow() != Wnd)
            SetActiveWindow(Wnd);
        return;
    }
    if (Win->InputContext != nullptr)
        XUnsetICFocus(Win->InputContext);
    Window Now = 0;
    int Revert = 0;
    XGetInputFocus(FDisplay, &Now, &Revert);
    // The focus left this program's windows: the process is no longer active.
    if (HandleOf(Now) == 0 && GetActiveWindow() != 0)
        SetForegroundWindow(GetDesktopWindow());
}

void TX11Driver::HandleRootEvent(const XEvent& Event)
{
    if (Event.type == ConfigureNotify) {
        // Xlib keeps the size the screen had when the display was opened.
        FNativeScreen.Width = Event.xconfigure.width;
        FNativeScreen.Height = Event.xconfigure.height;
        ReadWorkArea();
    } else if (Event.type == PropertyNotify &&
               (Event.xproperty.atom == Intern("_NET_WORKAREA") ||
                Event.xproperty.atom == Intern("_NET_CURRENT_DESKTOP"))) {
        ReadWorkArea();
    }
}

std::vector<long> TX11Driver::RootCardinals(const char* Property) const
{
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    std::vector<long> Values;
    if (XGetWindowProperty(FDisplay, FRoot, Intern(Property), 0, LONG_MAX / 4, False, XA_CARDINAL,
                           &Type, &Format, &Count, &After, &Data) == Success &&
        Type == XA_CARDINAL && Format == 32 && Data != nullptr) {
        // Xlib hands 32-bit items over as longs.
        const auto* Items = reinterpret_cast<const long*>(Data);
        Values.assign(Items, Items + Count);
    }
    if (Data != nullptr)
        XFree(Data);
    return Values;
}

void TX11Driver::ReadWorkArea()
{
    const TRect Whole = Rect(0, 0, FNativeScreen.Width, FNativeScreen.Height);
    FNativeScreen.WorkArea = Whole;
    // One x, y, width, height per desktop.
    const std::vector<long> Areas = RootCardinals("_NET_WORKAREA");
    const std::vector<long> Current = RootCardinals("_NET_CURRENT_DESKTOP");
    const std::size_t Desktops = Areas.size() / 4;
    if (Desktops == 0)
        return;
    const std::size_t Desktop =
        !Current.empty() && Current[0] >= 0 && static_cast<std::size_t>(Current[0]) < Desktops
            ? static_cast<std::size_t>(Current[0])
            : 0;
    const long* Area = Areas.data() + 4 * Desktop;
    const auto Coordinate = [](long Value) {
        return static_cast<int>(std::clamp(Value, 0L, static_cast<long>(SHRT_MAX)));
    };
    TRect Work;
    if (IntersectRect(Work, Whole,
                      Bounds(Coordinate(Area[0]), Coordinate(Area[1]), Coordinate(Area[2]),
                             Coordinate(Area[3]))))
        FNativeScreen.WorkArea = Work;
}

namespace {

// Runs where DISPLAY names a server that answers.
TProbeResult ProbeServer()
{
    const char* Name = std::getenv("DISPLAY");
    if (Name == nullptr || *Name == 0)
        return {TProbeOutcome::Absent, "DISPLAY is not set"};
    Display* Dpy = XOpenDisplay(Name);
    if (Dpy == nullptr)
        return {TProbeOutcome::Failed, std::string("cannot open display \"") + Name + "\""};
    XCloseDisplay(Dpy);
    return {};
}

const TBackEndRegistration<IDisplayDriver>
    Registration(DisplayBackEnds(), {"x11", 100, ProbeServer, [] { return TX11Driver::Open(""); }});

} // namespace

TARNWICK_BACKEND_ANCHOR(x11);
