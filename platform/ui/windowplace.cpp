// platform/ui/windowplace.cpp: showing, moving, sizing and stacking windows, and their coordinates.
#include "platform/ui/window.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowstate.h"

#include <algorithm>

using namespace uiwindow;

// Sizes of top-level windows with a sizing frame, or overlapped ones, keep within what
// WM_GETMINMAXINFO answers.
static bool HasTrackingLimits(const TWindowObject& Obj)
{
    return Obj.Parent == 0 && ((Obj.Style & WS_THICKFRAME) || !(Obj.Style & WS_POPUP));
}

static TMinMaxInfo MinMaxInfoOf(HWND Wnd)
{
    TMinMaxInfo Info;
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    Info.ptMaxSize = TPoint{Work.Width(), Work.Height()};
    Info.ptMaxPosition = TPoint{Work.Left, Work.Top};
    Info.ptMinTrackSize = TPoint{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
    Info.ptMaxTrackSize = TPoint{32767, 32767};
    SendMessage(Wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    Info.ptMinTrackSize.X = std::max(Info.ptMinTrackSize.X, 0);
    Info.ptMinTrackSize.Y = std::max(Info.ptMinTrackSize.Y, 0);
    return Info;
}

bool IsWindowVisible(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return uiloop::IsForeignWindow(Wnd);
    for (; Obj != nullptr; Obj = Find(Obj->Parent))
        if (!(Obj->Style & WS_VISIBLE))
            return false;
    return true;
}

bool IsIconic(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && (Obj->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && (Obj->Style & WS_MAXIMIZE);
}

static void SendPosChanged(HWND Wnd, HWND InsertAfter, UINT Flags)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return;
    TWindowPos Pos;
    Pos.hwnd = Wnd;
    Pos.hwndInsertAfter = InsertAfter;
    Pos.x = Obj->Bounds.Left;
    Pos.y = Obj->Bounds.Top;
    Pos.cx = Obj->Bounds.Width();
    Pos.cy = Obj->Bounds.Height();
    Pos.flags = Flags;
    CallProc(Wnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Pos));
}

// The SWP_NOMOVE and SWP_NOSIZE a WM_WINDOWPOSCHANGED carries for what did not change.
static UINT UnchangedFlags(bool Moved, bool Sized)
{
    return (Moved ? 0u : UINT(SWP_NOMOVE)) | (Sized ? 0u : UINT(SWP_NOSIZE));
}

static void SetBoundsNative(TWindowObject& Obj, const TRect& R)
{
    const bool Sized = R.Width() != Obj.Bounds.Width() || R.Height() != Obj.Bounds.Height();
    Obj.Bounds = R;
    if (Obj.Native) {
        const TNativeBounds Native = NativeBoundsOf(R, Obj.Style, Obj.Owner);
        DisplayDriver().MoveNativeWindow(Obj.Handle, Native.Bounds, Native.RelativeTo);
    }
    if (Sized)
        CalcClientArea(Obj.Handle);
}

bool ShowWindow(HWND Wnd, int Cmd)
{
    if (uiloop::IsForeignWindow(Wnd))
        return uiloop::ForeignShow(Wnd, Cmd);
    uiloop::CheckThread("ShowWindow");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const bool WasVisible = (Obj->Style & WS_VISIBLE) != 0;
    const DWORD OldState = Obj->Style & (WS_MINIMIZE | WS_MAXIMIZE);
    bool Visible = true;
    DWORD NewState = OldState;
    bool Activate = false;
    switch (Cmd) {
    case SW_HIDE:
        Visible = false;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        NewState = 0;
        Activate = true;
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        NewState = WS_MINIMIZE;
        break;
    case SW_SHOWMAXIMIZED:
        NewState = WS_MAXIMIZE;
        Activate = true;
        break;
    case SW_SHOW:
        Activate = true;
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        break;
    default:
        return WasVisible;
    }

    if (Visible != WasVisible) {
        CallProc(Wnd, WM_SHOWWINDOW, Visible ? 1 : 0, 0);
        if ((Obj = Find(Wnd)) == nullptr)
            return WasVisible;
    }
    if (Visible)
        Obj->Style |= WS_VISIBLE;
    else
        Obj->Style &= ~WS_VISIBLE;
    Obj->Style = (Obj->Style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | NewState;
    const bool StateChanged = NewState != OldState;
    if (StateChanged && Obj->Parent == 0) {
        if (NewState == WS_MAXIMIZE) {
            if (OldState == 0)
                Obj->NormalBounds = Obj->Bounds;
            TRect Work;
            SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
            SetBoundsNative(*Obj, Work);
        } else if (NewState == 0 && OldState == WS_MAXIMIZE) {
            SetBoundsNative(*Obj, Obj->NormalBounds);
        }
    }
    if (Obj->Native && (Visible != WasVisible || StateChanged))
        DisplayDriver().ShowNativeWindow(Wnd, NativeShowOf(*Obj));
    if (Visible && (!WasVisible || StateChanged))
        uiloop::InvalidateWhole(Wnd);
    else if (!Visible && WasVisible && Obj->Parent != 0)
        uiloop::InvalidateUncovered(Wnd, Obj->Bounds);

    if (Visible != WasVisible || StateChanged) {
        UINT Flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (!StateChanged)
            Flags |= SWP_NOMOVE | SWP_NOSIZE;
        if (Visible != WasVisible)
            Flags |= Visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        SendPosChanged(Wnd, 0, Flags);
    }
    if (!IsWindow(Wnd))
        return WasVisible;
    if (!Visible || NewState == WS_MINIMIZE)
        uiloop::InputWindowHidden(Wnd);
    else if (Activate && uiloop::IsTopLevel(Wnd)) {
        uiloop::MoveToFront(Wnd);
        SetActiveWindow(Wnd);
    }
    return WasVisible;
}

bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags)
{
    uiloop::CheckThread("SetWindowPos");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    TRect R = Obj->Bounds;
    if (!(Flags & SWP_NOMOVE))
        R = Bounds(X, Y, R.Width(), R.Height());
    if (!(Flags & SWP_NOSIZE)) {
        R = Bounds(R.Left, R.Top, std::max(Width, 0), std::max(Height, 0));
        if (HasTrackingLimits(*Obj)) {
            const TMinMaxInfo Info = MinMaxInfoOf(Wnd);
            R = Bounds(R.Left, R.Top,
                       std::clamp(R.Width(), Info.ptMinTrackSize.X,
                                  std::max(Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X)),
                       std::clamp(R.Height(), Info.ptMinTrackSize.Y,
                                  std::max(Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y)));
            if ((Obj = Find(Wnd)) == nullptr)
                return false;
        }
    }
    const bool Moved = R.Left != Obj->Bounds.Left || R.Top != Obj->Bounds.Top;
    const bool Sized = R.Width() != Obj->Bounds.Width() || R.Height() != Obj->Bounds.Height();
    const bool FrameChanged = (Flags & SWP_FRAMECHANGED) && !Sized;
    if (FrameChanged) {
        CalcClientArea(Wnd);
        if ((Obj = Find(Wnd)) == nullptr)
            return false;
        if (Obj->Style & WS_VISIBLE)
            uiloop::InvalidateWhole(Wnd);
    }
    bool Reordered = false;
    if (!(Flags & SWP_NOZORDER)) {
        auto& List = Siblings(*Obj);
        const auto Old = List;
        List.erase(std::remove(List.begin(), List.end(), Wnd), List.end());
        if (InsertAfter == HWND_BOTTOM) {
            List.push_back(Wnd);
        } else {
            auto After = std::find(List.begin(), List.end(), InsertAfter);
            if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST ||
                InsertAfter == HWND_NOTOPMOST || After == List.end())
                List.insert(List.begin(), Wnd);
            else
                List.insert(After + 1, Wnd);
        }
        Reordered = List != Old;
        if (Obj->Parent == 0 && (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST)) {
            const DWORD ExStyle = InsertAfter == HWND_TOPMOST ? Obj->ExStyle | WS_EX_TOPMOST
                                                              : Obj->ExStyle & ~WS_EX_TOPMOST;
            if (ExStyle != Obj->ExStyle) {
                Obj->ExStyle = ExStyle;
                SyncNativeStyle(*Obj);
            }
        }
    }
    if (Moved || Sized) {
        const TRect Old = Obj->Bounds;
        SetBoundsNative(*Obj, R);
        if (!(Obj->Style & WS_MAXIMIZE))
            Obj->NormalBounds = R;
        if (Obj->Parent != 0 && (Obj->Style & WS_VISIBLE)) {
            uiloop::InvalidateUncovered(Wnd, Old);
            uiloop::InvalidateWhole(Wnd);
        } else if (Sized) {
            InvalidateRect(Wnd, nullptr, true);
        }
    } else if (Reordered && Obj->Parent != 0) {
        uiloop::InvalidateWhole(Wnd);
    }
    if (Flags & SWP_SHOWWINDOW)
        ShowWindow(Wnd, (Flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    else if (Flags & SWP_HIDEWINDOW)
        ShowWindow(Wnd, SW_HIDE);
    if (Moved || Sized || Reordered || FrameChanged)
        SendPosChanged(Wnd, InsertAfter,
                       (Flags & ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW)) | UnchangedFlags(Moved, Sized));
    if (!(Flags & SWP_NOACTIVATE) && uiloop::IsTopLevel(Wnd) && IsWindowVisible(Wnd) &&
        !IsIconic(Wnd))
        SetActiveWindow(Wnd);
    return true;
}

void InjectWindowBounds(HWND Wnd, const TRect& Bounds)
{
    uiloop::CheckThread("InjectWindowBounds");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || Obj->Parent != 0)
        return;
    const TRect Old = Obj->Bounds;
    const bool Moved = Bounds.Left != Old.Left || Bounds.Top != Old.Top;
    const bool Sized = Bounds.Width() != Old.Width() || Bounds.Height() != Old.Height();
    if (!Moved && !Sized)
        return;
    if (Moved) {
        // The desktop has moved it already: the rectangle is news, not a proposal to change.
        TRect Moving = Bounds;
        CallProc(Wnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&Moving));
        Obj = Find(Wnd);
        if (Obj == nullptr)
            return;
    }
    Obj->Bounds = Bounds;
    if (!(Obj->Style & WS_MAXIMIZE))
        Obj->NormalBounds = Bounds;
    if (Sized)
        CalcClientArea(Wnd);
    SendPosChanged(Wnd, 0, SWP_NOZORDER | SWP_NOACTIVATE | UnchangedFlags(Moved, Sized));
}

bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool)
{
    return SetWindowPos(Wnd, 0, X, Y, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BringWindowToTop(HWND Wnd)
{
    if (uiloop::IsForeignWindow(Wnd))
        return uiloop::ForeignRaise(Wnd);
    uiloop::CheckThread("BringWindowToTop");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    uiloop::MoveToFront(Wnd);
    if (Obj->Parent == 0) {
        if (Obj->Native)
            DisplayDriver().RaiseNativeWindow(Wnd);
        if (IsWindowVisible(Wnd) && !IsIconic(Wnd))
            SetActiveWindow(Wnd);
    }
    return true;
}

bool GetWindowRect(HWND Wnd, TRect& Rect)
{
    if (Wnd == DesktopHandle) {
        Rect = ::Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return true;
    }
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const TPoint P = ScreenOrigin(*Obj);
    Rect = Bounds(P.X, P.Y, Obj->Bounds.Width(), Obj->Bounds.Height());
    return true;
}

bool GetClientRect(HWND Wnd, TRect& Rect)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    Rect = Bounds(0, 0, Obj->Client.Width(), Obj->Client.Height());
    return true;
}

// Sign 1 takes a client point to the screen, -1 back.
static bool OffsetByOrigin(HWND Wnd, TPoint& Point, int Sign)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const TPoint P = ClientScreenOrigin(*Obj);
    Point.X += Sign * P.X;
    Point.Y += Sign * P.Y;
    return true;
}

bool ClientToScreen(HWND Wnd, TPoint& Point)
{
    return OffsetByOrigin(Wnd, Point, 1);
}

bool ScreenToClient(HWND Wnd, TPoint& Point)
{
    return OffsetByOrigin(Wnd, Point, -1);
}
