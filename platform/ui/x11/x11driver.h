// platform/ui/x11/x11driver.h: the display driver on an X server. Each top-level window is an X
// window (unmapped while hidden) showing the back buffer it was last presented; X events become
// the loop's input through the injection entry points; the CLIPBOARD selection carries the
// clipboard's formats between this program and the others; the root window tells the screen's
// size and work area.
#pragma once

#include "platform/ui/displaydriver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TX11Driver : public IDisplayDriver {
public:
    // Connects to DisplayName (empty: DISPLAY's); null when the display cannot be used.
    static std::unique_ptr<TX11Driver> Open(const std::string& DisplayName);
    ~TX11Driver() override;

    std::string Name() const override { return "x11"; }
    unsigned Capabilities() const override
    {
        return dcShowsWindows | dcPlacesWindows | dcSharesClipboard;
    }
    TNativeScreen NativeScreen() const override { return FNativeScreen; }
    void CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec) override;
    void DestroyNativeWindow(HWND Wnd) override;
    void ShowNativeWindow(HWND Wnd, TNativeShow Show) override;
    void MoveNativeWindow(HWND Wnd, const TRect& Bounds, HWND RelativeTo) override;
    void SetNativeCaption(HWND Wnd, const std::string& Caption) override;
    void SetNativeOwner(HWND Wnd, HWND Owner) override;
    void SetNativeStyle(HWND Wnd, DWORD Style, DWORD ExStyle) override;
    void RaiseNativeWindow(HWND Wnd) override;
    void SetNativeCapture(HWND Wnd) override;
    void Present(HWND Wnd, const std::uint32_t* Pixels, int Width, int Height, int Stride,
                 const TRect& Dirty) override;
    void SetPointerShape(int Cursor) override;
    void OfferClipboard(const std::vector<std::string>& Targets,
                        TClipboardRenderer Render) override;
    bool ForeignClipboardHeld() override;
    bool ForeignClipboardTargets(std::vector<std::string>& Targets) override;
    bool ForeignClipboardData(const std::string& Target, std::string& Data) override;
    // With the SHAPE extension (x11shape.cpp).
    void SetNativeShape(HWND Wnd, bool Shaped, const std::vector<TRect>& Rects) override;
    // Drag and drop with other programs through XDND (x11xdnd.cpp).
    void BeginForeignDrag(const std::vector<std::string>& Targets,
                          TClipboardRenderer Render) override;
    bool ForeignDragOver(TPoint Point, DWORD Effect) override;
    void ForeignDrop() override;
    void EndForeignDrag() override;
    TForeignDragState ForeignDragState() const override { return FXdndSource.State; }
    int Descriptor() const override { return FPoller; }
    void ReadEvents() override;
    std::uint64_t NativeId(HWND Wnd) const override;
    // The system tray protocol and XEmbed (x11tray.cpp).
    bool NotifyIcon(DWORD Message, const TNotifyIcon& Icon) override;
    bool NotifyIconDocked(HWND Wnd, UINT ID) override;
    bool QueryPointer(TPoint& Where) override;

private:
    struct TBuffer {
        int Width = 0;
        int Height = 0;
        XImage* Image = nullptr; // over Pixels or over the shared segment
        XShmSegmentInfo Shm{};   // shmaddr null when not shared
        std::vector<std::uint32_t> Pixels;
        std::uint32_t* Bits = nullptr; // Width x Height words
    };
    // A conversion answered in parts: the requestor's property gets the next part each time
    // the requestor deletes it.
    struct TIncrSend {
        Window Requestor = 0;
        Atom Property = None;
        Atom Type = None;
        std::string Data;
        std::size_t Offset = 0;
        std::chrono::steady_clock::time_point Last;
    };
    // This program's drag over another program's window: the data it offers under XdndSelection,
    // the window it is over (and the one the messages go to, a proxy perhaps), the protocol
    // version they share, and a position or drop held back until the last step is answered.
    struct TXdndSource {
        bool Active = false;
        std::vector<std::string> Targets;
        std::vector<Atom> Atoms;
        TClipboardRenderer Render;
        Window Target = None;
        Window SendTo = None;
        int Version = 0;
        bool HasPending = false;
        TPoint Pending;
        DWORD PendingEffect = 0;
        bool DropPending = false;
        bool Dropped = false;
        TForeignDragState State;
    };
    // Another program's drag over one of this program's windows.
    struct TXdndTarget {
        Window Source = None;
        Window Over = None; // this program's window it is over
        HWND Wnd = 0;
        int Version = 0;
        Time When = CurrentTime; // of the last position or the drop: conversions use it
        TPoint Point;            // of the last position
        DWORD Effect = 0;        // that it asked for
    };
    struct TWindow {
        Window Id = 0;
        XIC InputContext = nullptr;
        TNativeWindowSpec Spec;
        TNativeShow Show = TNativeShow::Hidden;
        TBuffer Buffer;
    };

    // The tray's icons and the tray that shows them (x11tray.cpp).
    struct TTray;
    struct TTrayIcon;
    struct TTrayDeleter {
        void operator()(TTray* Tray) const;
    };

    TX11Driver(Display* Dpy);
    bool Setup();
    Atom Intern(const char* Name) const;
    TWindow* Lookup(HWND Wnd);
    // Bounds relative to RelativeTo's native window (when set) on the screen, where X puts them.
    TRect ScreenBounds(const TRect& Bounds, HWND RelativeTo);
    HWND HandleOf(Window Id) const;
    // Flushes the requests and, when Xlib has read events ahead, makes the descriptor readable.
    void Done();
    void HandleEvent(XEvent& Event);
    void HandleKey(HWND Wnd, XKeyEvent& Key);
    void HandleConfigure(HWND Wnd, const XConfigureEvent& Configure);
    void HandleFocus(HWND Wnd, const XFocusChangeEvent& Focus);
    void HandleLeave(HWND Wnd, const XCrossingEvent& Crossing);
    void HandleSelectionRequest(const XSelectionRequestEvent& Request);
    // Answers a conversion from what is offered; refuses it when not Serving.
    void AnswerSelectionRequest(const XSelectionRequestEvent& Request, bool Serving,
                                const std::vector<std::string>& OfferTargets,
                                const std::vector<Atom>& OfferAtoms,
                                const TClipboardRenderer& Render);
    // XDND (x11xdnd.cpp): the property that invites drops, the messages of both sides, and the
    // other program's drop window under a point.
    void MarkXdndAware(Window Id);
    bool HandleXdndMessage(const XClientMessageEvent& Message);
    void HandleXdndAnswer(const XClientMessageEvent& Message);
    void HandleXdndStep(HWND Wnd, const XClientMessageEvent& Message);
    void SendXdnd(Window To, Window About, const char* Type, long L1, long L2, long L3, long L4,
                  Window From = None);
    Window XdndTargetAt(TPoint Point, Window& SendTo, int& Version);
    void SendXdndPosition(TPoint Point, DWORD Effect);
    void SendXdndDrop();
    std::vector<std::string> XdndTypes(const XClientMessageEvent& Enter);
    bool ReadXdndData(const std::string& Target, std::string& Data);
    Atom ActionOf(DWORD Effect);
    DWORD EffectOf(Atom Action);
    // The next part of an incremental answer; false when the event is not about one.
    bool HandleSelectionProperty(const XPropertyEvent& Event);
    void DropIdleSends();
    void HandleRootEvent(const XEvent& Event);
    // The work area the window manager announces for the current desktop, within the screen;
    // the whole screen when none is announced.
    void ReadWorkArea();
    // A CARDINAL property of the root window; empty when it is not set.
    std::vector<long> RootCardinals(const char* Property) const;

    // Events of the tray and its icons; false when the event is about neither.
    bool HandleTrayEvent(const XEvent& Event);
    void DockIcons();
    void DrawTrayIcon(TTrayIcon& Icon);
    void DropTrayWindows();

    // The taskbar entry (x11taskbar.cpp): the application window carries it without ever being
    // mapped; while it is hidden or parked the windows it owns skip the taskbar.
    bool IsApplicationWindow(HWND Wnd) const;
    // The owner that keeps an owned window above it and off the taskbar: shown, and not the
    // application window.
    const TWindow* ShownOwner(const TWindow& Win);
    bool SkipsTaskbar(const TWindow& Win);
    void ApplyOwnedStates(HWND Owner);
    // Raising the application window raises the shown windows it owns, the active one last.
    void RaiseOwnedWindows(HWND Owner);
    // Whether a window manager announces itself (_NET_SUPPORTING_WM_CHECK on the root).
    bool WindowManagerRuns();

    bool OverrideRedirect(const TNativeWindowSpec& Spec) const;
    void ApplyProperties(TWindow& Win);
    void ApplyState(TWindow& Win);
    void SetAtomList(Window Id, Atom Property, const std::vector<Atom>& Atoms);
    void PutImage(TWindow& Win, int X, int Y, int Width, int Height);
    bool MakeBuffer(TBuffer& Buffer, int Width, int Height);
    void FreeBuffer(TBuffer& Buffer);
    Cursor CursorFor(int Shape);
    // Waits (bounded) for the answer to a conversion of CLIPBOARD, handling the other events;
    // takes incremental answers, and refuses more than a transfer may bring. 32-bit items come
    // as 4 bytes each in host order.
    // Selection: CLIPBOARD when None; When: the time the conversion is asked for (FLastTime when
    // CurrentTime).
    bool WaitForSelection(Atom Target, std::string& Data, Atom& Type, int& Format,
                          Atom Selection = None, Time When = CurrentTime);
    // Appends the selection property's value (deleting it); false when it cannot be read or
    // would make Into larger than a transfer may be.
    bool ReadSelectionProperty(std::string& Into, Atom& Type, int& Format);
    bool WaitForEvent(const std::function<bool(const XEvent&)>& Wanted, XEvent& Found);

    Display* FDisplay;
    int FScreen = 0;
    Window FRoot = 0;
    Visual* FVisual = nullptr;
    int FDepth = 0;
    bool FUseShm = false;
    XIM FInputMethod = nullptr;
    Window FSelectionWindow = 0; // owns CLIPBOARD for the program and receives conversions
    int FWakeFd = -1;            // readable while Xlib holds events already read
    int FPoller = -1;            // epoll over the connection and FWakeFd
    Time FLastTime = CurrentTime;
    TNativeScreen FNativeScreen;
    std::map<HWND, TWindow> FWindows;
    std::map<Window, HWND> FByWindow;
    std::map<int, Cursor> FCursors;
    int FPointer = 0;
    HWND FGrab = 0;
    // What the program's clipboard offers (names and atoms alike) and the call that makes them.
    std::vector<std::string> FOfferTargets;
    std::vector<Atom> FOfferAtoms;
    TClipboardRenderer FRender;
    std::vector<TIncrSend> FIncrSends;
    bool FOwnsClipboard = false;
    unsigned FLastKeyCode = 0; // of the press being repeated, to fold auto-repeat releases
    TXdndSource FXdndSource;
    TXdndTarget FXdndTarget;
    std::unique_ptr<TTray, TTrayDeleter> FTray;
};
