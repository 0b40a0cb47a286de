// platform/ui/x11/x11tray.cpp: the notification area on X11, by the system tray protocol. The
// tray is the owner of _NET_SYSTEM_TRAY_S<screen>; each icon is a small window of ours that asks
// it to dock (SYSTEM_TRAY_REQUEST_DOCK) and is embedded by XEmbed (_XEMBED_INFO). The icon is
// drawn at the size the tray gives it, its transparent pixels showing the tray: through an ARGB
// visual when the tray names one, else over a ParentRelative background. Pointer input over it
// reaches the record's window as the callback message. An icon added while no tray runs waits;
// a tray that comes later (MANAGER on the root window) gets it; a tray that goes leaves no window
// of ours behind.
#include "platform/gfx/icon.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/shellnotify.h"
#include "platform/ui/window.h"
#include "platform/ui/x11/x11driver.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <list>

namespace {

constexpr long SystemTrayRequestDock = 0;
constexpr long XEmbedMapped = 1;
// The size asked for before the tray gives its own.
constexpr int IconSize = 22;

UINT ButtonMessage(unsigned Button, bool Down, bool Double)
{
    static const UINT Downs[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    static const UINT Doubles[] = {WM_LBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK};
    static const UINT Ups[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
    const unsigned I = Button - Button1;
    return !Down ? Ups[I] : Double ? Doubles[I] : Downs[I];
}

} // namespace

struct TX11Driver::TTrayIcon {
    TNotifyIcon Record;
    Window Id = 0; // none while no tray shows the icon
    int Width = IconSize;
    int Height = IconSize;
    bool Argb = false;
    Colormap Map = 0;
    GC Gc = nullptr;
    Time LastPress = 0;
    unsigned LastButton = 0; // 0: the next press cannot be a double click
};

struct TX11Driver::TTray {
    Atom Selection = None;
    Atom Opcode = None;
    Atom Manager = None;
    Atom EmbedInfo = None;
    Atom Visual = None;
    Window Owner = 0;
    std::list<TTrayIcon> Icons;

    TTrayIcon* Find(HWND Wnd, UINT ID)
    {
        for (TTrayIcon& Icon : Icons)
            if (Icon.Record.Wnd == Wnd && Icon.Record.ID == ID)
                return &Icon;
        return nullptr;
    }
    TTrayIcon* FindWindow(Window Id)
    {
        for (TTrayIcon& Icon : Icons)
            if (Id != 0 && Icon.Id == Id)
                return &Icon;
        return nullptr;
    }
};

void TX11Driver::TTrayDeleter::operator()(TTray* Tray) const
{
    delete Tray;
}

bool TX11Driver::QueryPointer(TPoint& Where)
{
    Window Root = 0, Child = 0;
    int RootX = 0, RootY = 0, X = 0, Y = 0;
    unsigned Buttons = 0;
    if (!XQueryPointer(FDisplay, FRoot, &Root, &Child, &RootX, &RootY, &X, &Y, &Buttons))
        return false;
    Where = TPoint{RootX, RootY};
    return true;
}

bool TX11Driver::NotifyIcon(DWORD Message, const TNotifyIcon& Record)
{
    if (!FTray) {
        FTray.reset(new TTray);
        const std::string Name = "_NET_SYSTEM_TRAY_S" + std::to_string(FScreen);
        FTray->Selection = Intern(Name.c_str());
        FTray->Opcode = Intern("_NET_SYSTEM_TRAY_OPCODE");
        FTray->Manager = Intern("MANAGER");
        FTray->EmbedInfo = Intern("_XEMBED_INFO");
        FTray->Visual = Intern("_NET_SYSTEM_TRAY_VISUAL");
    }
    TTrayIcon* Icon = FTray->Find(Record.Wnd, Record.ID);
    bool Result = true;
    switch (Message) {
    case NIM_ADD:
        if (Icon != nullptr)
            return false;
        FTray->Icons.push_back(TTrayIcon());
        FTray->Icons.back().Record = Record;
        if (FTray->Owner == 0) {
            FTray->Owner = XGetSelectionOwner(FDisplay, FTray->Selection);
            if (FTray->Owner != 0)
                XSelectInput(FDisplay, FTray->Owner, StructureNotifyMask);
        }
        DockIcons();
        Result = FTray->Owner != 0;
        break;
    case NIM_MODIFY:
        if (Icon == nullptr)
            return false;
        if (Record.Flags & NIF_MESSAGE)
            Icon->Record.Callback = Record.Callback;
        if (Record.Flags & NIF_ICON) {
            Icon->Record.HasImage = Record.HasImage;
            Icon->Record.Image = Record.Image;
        }
        if (Record.Flags & NIF_TIP)
            Icon->Record.Tip = Record.Tip;
        if (Icon->Id != 0)
            DrawTrayIcon(*Icon);
        break;
    case NIM_DELETE:
        if (Icon == nullptr)
            return false;
        if (Icon->Id != 0)
            XDestroyWindow(FDisplay, Icon->Id);
        if (Icon->Gc != nullptr)
            XFreeGC(FDisplay, Icon->Gc);
        if (Icon->Map != 0)
            XFreeColormap(FDisplay, Icon->Map);
        FTray->Icons.remove_if([&](const TTrayIcon& I) { return &I == Icon; });
        break;
    default:
        return false;
    }
    Done();
    return Result;
}

bool TX11Driver::NotifyIconDocked(HWND Wnd, UINT ID)
{
    const TTrayIcon* Icon = FTray ? FTray->Find(Wnd, ID) : nullptr;
    return Icon != nullptr && Icon->Id != 0 && FTray->Owner != 0;
}

void TX11Driver::DockIcons()
{
    if (!FTray || FTray->Owner == 0)
        return;
    // An ARGB visual the tray names lets the icon blend into it.
    Visual* IconVisual = FVisual;
    int IconDepth = FDepth;
    {
        Atom Type = None;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(FDisplay, FTray->Owner, FTray->Visual, 0, 1, False, XA_VISUALID,
                               &Type, &Format, &Count, &After, &Data) == Success &&
            Type == XA_VISUALID && Format == 32 && Count == 1 && Data != nullptr) {
            XVisualInfo Wanted{};
            Wanted.visualid = static_cast<VisualID>(*reinterpret_cast<const unsigned long*>(Data));
            int Found = 0;
            XVisualInfo* Info = XGetVisualInfo(FDisplay, VisualIDMask, &Wanted, &Found);
            if (Info != nullptr && Found > 0 && Info->depth == 32 && Info->c_class == TrueColor &&
                Info->red_mask == 0xFF0000 && Info->green_mask == 0xFF00 &&
                Info->blue_mask == 0xFF) {
                IconVisual = Info->visual;
                IconDepth = 32;
            }
            if (Info != nullptr)
                XFree(Info);
        }
        if (Data != nullptr)
            XFree(Data);
    }
    for (TTrayIcon& Icon : FTray->Icons) {
        if (Icon.Id != 0)
            continue;
        XSetWindowAttributes Attributes{};
        unsigned long Fields = CWEventMask | CWBorderPixel;
        Attributes.border_pixel = 0;
        Attributes.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask |
                                ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                LeaveWindowMask;
        Icon.Argb = IconDepth == 32;
        if (Icon.Argb) {
            Icon.Map = XCreateColormap(FDisplay, FRoot, IconVisual, AllocNone);
            Attributes.colormap = Icon.Map;
            Attributes.background_pixel = 0;
            Fields |= CWColormap | CWBackPixel;
        } else {
            Attributes.background_pixmap = ParentRelative;
            Fields |= CWBackPixmap;
        }
        Icon.Width = Icon.Height = IconSize;
        Icon.Id = XCreateWindow(FDisplay, FRoot, 0, 0, IconSize, IconSize, 0, IconDepth,
                                InputOutput, IconVisual, Fields, &Attributes);
        Icon.Gc = XCreateGC(FDisplay, Icon.Id, 0, nullptr);
        XClassHint Hint;
        std::string Name = "tarnwick-tray";
        Hint.res_name = Name.data();
        Hint.res_class = Name.data();
        XSetClassHint(FDisplay, Icon.Id, &Hint);
        const long Info[2] = {0, XEmbedMapped}; // protocol version 0, map me
        XChangeProperty(FDisplay, Icon.Id, FTray->EmbedInfo, FTray->EmbedInfo, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(Info), 2);
        XEvent Request{};
        Request.xclient.type = ClientMessage;
        Request.xclient.window = FTray->Owner;
        Request.xclient.message_type = FTray->Opcode;
        Request.xclient.format = 32;
        Request.xclient.data.l[0] = static_cast<long>(FLastTime);
        Request.xclient.data.l[1] = SystemTrayRequestDock;
        Request.xclient.data.l[2] = static_cast<long>(Icon.Id);
        XSendEvent(FDisplay, FTray->Owner, False, NoEventMask, &Request);
    }
    Done();
}

void TX11Driver::DropTrayWindows()
{
    if (!FTray)
        return;
    for (TTrayIcon& Icon : FTray->Icons) {
        if (Icon.Id != 0)
            XDestroyWindow(FDisplay, Icon.Id);
        if (Icon.Gc != nullptr)
            XFreeGC(FDisplay, Icon.Gc);
        if (Icon.Map != 0)
            XFreeColormap(FDisplay, Icon.Map);
        Icon.Id = 0;
        Icon.Gc = nullptr;
        Icon.Map = 0;
        Icon.LastButton = 0;
    }
    if (NotifyTipHooks().Leave)
        NotifyTipHooks().Leave();
}

void TX11Driver::DrawTrayIcon(TTrayIcon& Icon)
{
    if (Icon.Id == 0 || Icon.Gc == nullptr)
        return;
    const int Width = std::max(Icon.Width, 1), Height = std::max(Icon.Height, 1);
    if (!Icon.Argb)
        XClearWindow(FDisplay, Icon.Id);
    if (!Icon.Record.HasImage || Icon.Record.Image.Width <= 0 || Icon.Record.Image.Height <= 0) {
        if (Icon.Argb)
            XClearWindow(FDisplay, Icon.Id);
        Done();
        return;
    }
    const TIconImage Scaled = ScaleIconImage(Icon.Record.Image, Width, Height);
    std::vector<std::uint32_t> Pixels(static_cast<std::size_t>(Width) * Height);
    // One bit per pixel, rows of whole bytes, the first pixel in the lowest bit.
    const int MaskStride = (Width + 7) / 8;
    std::vector<char> MaskBits(static_cast<std::size_t>(MaskStride) * Height, 0);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const std::size_t At = static_cast<std::size_t>(Y) * Width + X;
            const std::uint32_t P = Scaled.Pixels[At];
            const std::uint32_t Alpha = P >> 24;
            if (Icon.Argb) {
                // Premultiplied, as a compositing tray reads it.
                const auto Channel = [&](int Shift) {
                    return (((P >> Shift) & 0xFF) * Alpha + 127) / 255 << Shift;
                };
                Pixels[At] = Alpha << 24 | Channel(16) | Channel(8) | Channel(0);
            } else {
                Pixels[At] = P & 0xFFFFFF;
                if (Alpha >= 128)
                    MaskBits[static_cast<std::size_t>(Y) * MaskStride + X / 8] |=
                        static_cast<char>(1 << (X % 8));
            }
        }
    XWindowAttributes Attributes{};
    XGetWindowAttributes(FDisplay, Icon.Id, &Attributes);
    XImage* Image =
        XCreateImage(FDisplay, Attributes.visual, Icon.Argb ? 32 : FDepth, ZPixmap, 0,
                     reinterpret_cast<char*>(Pixels.data()), static_cast<unsigned>(Width),
                     static_cast<unsigned>(Height), 32, 0);
    if (Image == nullptr)
        return;
    Pixmap Clip = None;
    if (!Icon.Argb) {
        Clip = XCreateBitmapFromData(FDisplay, Icon.Id, MaskBits.data(),
                                     static_cast<unsigned>(Width), static_cast<unsigned>(Height));
        XSetClipMask(FDisplay, Icon.Gc, Clip);
        XSetClipOrigin(FDisplay, Icon.Gc, 0, 0);
    }
    XPutImage(FDisplay, Icon.Id, Icon.Gc, Image, 0, 0, 0, 0, static_cast<unsigned>(Width),
              static_cast<unsigned>(Height));
    if (Clip != None) {
        XSetClipMask(FDisplay, Icon.Gc, None);
        XFreePixmap(FDisplay, Clip);
    }
    Image->data = nullptr; // the vector's
    XDestroyImage(Image);
    Done();
}

bool TX11Driver::HandleTrayEvent(const XEvent& Event)
{
    if (!FTray)
        return false;
    TTray& Tray = *FTray;
    if (Event.type == ClientMessage && Event.xclient.window == FRoot &&
        Event.xclient.message_type == Tray.Manager &&
        static_cast<Atom>(Event.xclient.data.l[1]) == Tray.Selection) {
        // A tray came: the icons that wait go to it.
        DropTrayWindows();
        Tray.Owner = static_cast<Window>(Event.xclient.data.l[2]);
        XSelectInput(FDisplay, Tray.Owner, StructureNotifyMask);
        DockIcons();
        return true;
    }
    if (Event.type == DestroyNotify && Tray.Owner != 0 &&
        Event.xdestroywindow.window == Tray.Owner) {
        // The tray went: its icons go with it, and wait for the next one.
        Tray.Owner = 0;
        DropTrayWindows();
        Tray.Owner = XGetSelectionOwner(FDisplay, Tray.Selection);
        if (Tray.Owner != 0) {
            XSelectInput(FDisplay, Tray.Owner, StructureNotifyMask);
            DockIcons();
        }
        Done();
        return true;
    }
    TTrayIcon* Icon = Tray.FindWindow(Event.xany.window);
    if (Icon == nullptr)
        return false;
    const TNotifyIcon& Record = Icon->Record;
    const auto Post = [&](UINT Mouse) {
        if (Record.Callback != 0 && IsWindow(Record.Wnd))
            PostMessage(Record.Wnd, Record.Callback, Record.ID, static_cast<LPARAM>(Mouse));
    };
    switch (Event.type) {
    case Expose:
        if (Event.xexpose.count == 0)
            DrawTrayIcon(*Icon);
        break;
    case ConfigureNotify:
        if (Event.xconfigure.width != Icon->Width || Event.xconfigure.height != Icon->Height) {
            Icon->Width = Event.xconfigure.width;
            Icon->Height = Event.xconfigure.height;
            DrawTrayIcon(*Icon);
        }
        break;
    case DestroyNotify:
        // Taken away with a tray that did not give it back.
        if (Icon->Gc != nullptr)
            XFreeGC(FDisplay, Icon->Gc);
        if (Icon->Map != 0)
            XFreeColormap(FDisplay, Icon->Map);
        Icon->Id = 0;
        Icon->Gc = nullptr;
        Icon->Map = 0;
        break;
    case EnterNotify:
        FLastTime = Event.xcrossing.time;
        Post(WM_MOUSEMOVE);
        if (NotifyTipHooks().Enter)
            NotifyTipHooks().Enter(Record.Tip,
                                   TPoint{Event.xcrossing.x_root, Event.xcrossing.y_root});
        break;
    case LeaveNotify:
        FLastTime = Event.xcrossing.time;
        if (NotifyTipHooks().Leave)
            NotifyTipHooks().Leave();
        break;
    case MotionNotify:
        FLastTime = Event.xmotion.time;
        Post(WM_MOUSEMOVE);
        break;
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& Button = Event.xbutton;
        FLastTime = Button.time;
        if (Button.button < Button1 || Button.button > Button3)
            break;
        const bool Down = Event.type == ButtonPress;
        bool Double = false;
        if (Down) {
            if (NotifyTipHooks().Leave)
                NotifyTipHooks().Leave();
            Double = Icon->LastButton == Button.button &&
                     Button.time - Icon->LastPress <= GetDoubleClickTime();
            // A third press starts again.
            Icon->LastButton = Double ? 0 : Button.button;
            Icon->LastPress = Button.time;
        }
        Post(ButtonMessage(Button.button, Down, Double));
        break;
    }
    default:
        break;
    }
    return true;
}
