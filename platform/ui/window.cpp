#include "platform/ui/window.h"

#include "platform/rtl/strings.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>

namespace {

const char* const UtilWindowClass = "TPUtilWindow";
constexpr HWND DesktopHandle = 0x10; // below every handle given to a window

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

TWindowState& State()
{
    static TWindowState S;
    return S;
}

TWindowObject* Find(HWND Wnd)
{
    auto& Windows = State().Windows;
    auto Found = Windows.find(Wnd);
    return Found != Windows.end() ? Found->second.get() : nullptr;
}

TWindowObject& Get(HWND Wnd)
{
    return *Find(Wnd);
}

std::vector<HWND>& Siblings(const TWindowObject& Obj)
{
    if (Obj.Parent != 0)
        return Get(Obj.Parent).Children;
    return State().TopLevels;
}

void Unlink(const TWindowObject& Obj)
{
    auto& List = Siblings(Obj);
    List.erase(std::remove(List.begin(), List.end(), Obj.Handle), List.end());
}

TPoint ScreenOrigin(const TWindowObject& Obj)
{
    TPoint P{Obj.Bounds.Left, Obj.Bounds.Top};
    for (HWND Up = Obj.Parent; Up != 0;) {
        const TWindowObject& Parent = Get(Up);
        P.X += Parent.Bounds.Left;
        P.Y += Parent.Bounds.Top;
        Up = Parent.Parent;
    }
    return P;
}

bool Publishable(const TWindowObject& Obj)
{
    return Obj.Parent == 0 && !Obj.Destroying && !SameText(Obj.ClassName, UtilWindowClass);
}

void UpdatePublication(TWindowObject& Obj)
{
    if (Publishable(Obj)) {
        Obj.Published = true;
        uiloop::Publish(Obj.Handle, Obj.ClassName, Obj.Text);
    } else if (Obj.Published) {
        Obj.Published = false;
        uiloop::Withdraw(Obj.Handle);
    }
}

TNativeShow NativeShowOf(const TWindowObject& Obj)
{
    if (!(Obj.Style & WS_VISIBLE))
        return TNativeShow::Hidden;
    if (Obj.Style & WS_MINIMIZE)
        return TNativeShow::Minimized;
    if (Obj.Style & WS_MAXIMIZE)
        return TNativeShow::Maximized;
    return TNativeShow::Normal;
}

void CreateNative(TWindowObject& Obj)
{
    TNativeWindowSpec Spec;
    Spec.ClassName = Obj.ClassName;
    Spec.Caption = Obj.Text;
    Spec.Bounds = Obj.Bounds;
    Spec.Style = Obj.Style;
    Spec.ExStyle = Obj.ExStyle;
    Spec.Owner = Obj.Owner;
    DisplayDriver().CreateNativeWindow(Obj.Handle, Spec);
    Obj.Native = true;
    if (Obj.Style & WS_VISIBLE)
        DisplayDriver().ShowNativeWindow(Obj.Handle, NativeShowOf(Obj));
}

void DestroyNative(TWindowObject& Obj)
{
    if (Obj.Native) {
        Obj.Native = false;
        DisplayDriver().DestroyNativeWindow(Obj.Handle);
    }
}

LRESULT CallProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return SendMessage(Wnd, Msg, WParam, LParam);
}

bool IsDescendant(HWND Ancestor, HWND Wnd)
{
    for (TWindowObject* Obj = Find(Wnd); Obj != nullptr; Obj = Find(Obj->Parent))
        if (Obj->Parent == Ancestor)
            return true;
    return false;
}

// Sizes of top-level windows with a sizing frame, or overlapped ones, keep within what
// WM_GETMINMAXINFO answers.
bool HasTrackingLimits(const TWindowObject& Obj)
{
    return Obj.Parent == 0 && ((Obj.Style & WS_THICKFRAME) || !(Obj.Style & WS_POPUP));
}

TMinMaxInfo MinMaxInfoOf(HWND Wnd)
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

} // namespace

namespace uiloop {

bool IsTopLevel(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && Obj->Parent == 0;
}

std::vector<HWND> TopLevelWindows()
{
    return State().TopLevels;
}

void MoveToFront(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return;
    auto& List = Siblings(*Obj);
    List.erase(std::remove(List.begin(), List.end(), Wnd), List.end());
    List.insert(List.begin(), Wnd);
}

bool ClassHasDoubleClicks(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr && (Obj->ClassStyle & CS_DBLCLKS) != 0;
}

HWND NewHandle()
{
    return ++State().LastHandle;
}

std::shared_ptr<const TWndProc> WindowProcOf(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? Obj->Proc : nullptr;
}

} // namespace uiloop

bool RegisterClass(const TWndClass& Class)
{
    uiloop::CheckThread("RegisterClass");
    if (Class.ClassName.empty())
        return false;
    return State().Classes.emplace(LowerCase(Class.ClassName), Class).second;
}

bool UnregisterClass(const std::string& ClassName)
{
    uiloop::CheckThread("UnregisterClass");
    const std::string Key = LowerCase(ClassName);
    for (const auto& Entry : State().Windows)
        if (LowerCase(Entry.second->ClassName) == Key)
            return false; // still in use
    return State().Classes.erase(Key) > 0;
}

bool GetClassInfo(const std::string& ClassName, TWndClass& Class)
{
    auto& Classes = State().Classes;
    auto Found = Classes.find(LowerCase(ClassName));
    if (Found == Classes.end())
        return false;
    Class = Found->second;
    return true;
}

std::string GetClassName(HWND Wnd)
{
    if (const TWindowObject* Obj = Find(Wnd))
        return Obj->ClassName;
    std::string ClassName, Caption;
    if (uiloop::ForeignInfo(Wnd, ClassName, Caption))
        return ClassName;
    return {};
}

HWND CreateWindowEx(DWORD ExStyle, const std::string& ClassName, const std::string& WindowName,
                    DWORD Style, int X, int Y, int Width, int Height, HWND Parent,
                    LPARAM CreateParams)
{
    uiloop::CheckThread("CreateWindowEx");
    TWndClass Class;
    if (!GetClassInfo(ClassName, Class))
        return 0;
    if ((Style & WS_CHILD) && Parent == 0)
        return 0;
    if (Parent != 0 && Find(Parent) == nullptr)
        return 0;

    auto Obj = std::make_unique<TWindowObject>();
    const HWND Wnd = uiloop::NewHandle();
    Obj->Handle = Wnd;
    Obj->ClassName = Class.ClassName;
    Obj->ClassStyle = Class.Style;
    Obj->Style = Style & ~WS_VISIBLE;
    Obj->ExStyle = ExStyle;
    Obj->Text = WindowName;
    Obj->Bounds = Bounds(X, Y, std::max(Width, 0), std::max(Height, 0));
    Obj->NormalBounds = Obj->Bounds;
    Obj->Proc =
        std::make_shared<const TWndProc>(Class.WndProc ? Class.WndProc : TWndProc(DefWindowProc));
    if (Style & WS_CHILD) {
        Obj->Parent = Parent;
        Get(Parent).Children.insert(Get(Parent).Children.begin(), Wnd);
    } else {
        Obj->Owner = Parent != 0 ? GetTopLevelWindow(Parent) : 0;
        State().TopLevels.insert(State().TopLevels.begin(), Wnd);
    }
    TWindowObject& Ref = *Obj;
    State().Windows.emplace(Wnd, std::move(Obj));
    if (Ref.Parent == 0)
        CreateNative(Ref);

    TCreateStruct Create;
    Create.CreateParams = CreateParams;
    Create.Parent = Parent;
    Create.X = X;
    Create.Y = Y;
    Create.Width = Width;
    Create.Height = Height;
    Create.Style = Style;
    Create.ExStyle = ExStyle;
    Create.WindowName = WindowName;
    Create.ClassName = Class.ClassName;
    if (CallProc(Wnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&Create)) == 0 ||
        CallProc(Wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&Create)) == -1) {
        DestroyWindow(Wnd);
        return 0;
    }
    TWindowObject* Created = Find(Wnd);
    if (Created == nullptr)
        return 0;
    const TRect R = Created->Bounds;
    CallProc(Wnd, WM_SIZE, SIZE_RESTORED, MakeLParam(R.Width(), R.Height()));
    CallProc(Wnd, WM_MOVE, 0, MakeLParam(R.Left, R.Top));
    if ((Created = Find(Wnd)) == nullptr)
        return 0;
    UpdatePublication(*Created);
    if (Style & WS_VISIBLE)
        ShowWindow(Wnd, SW_SHOW);
    return IsWindow(Wnd) ? Wnd : 0;
}

bool DestroyWindow(HWND Wnd)
{
    uiloop::CheckThread("DestroyWindow");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || Obj->Destroying)
        return false;
    Obj->Destroying = true;
    if (Obj->Published) {
        Obj->Published = false;
        uiloop::Withdraw(Wnd);
    }
    std::vector<HWND> Owned;
    for (HWND Top : State().TopLevels)
        if (Top != Wnd && Get(Top).Owner == Wnd)
            Owned.push_back(Top);
    for (HWND Top : Owned)
        DestroyWindow(Top);

    if ((Obj = Find(Wnd))->Style & WS_VISIBLE) {
        Obj->Style &= ~WS_VISIBLE;
        if (Obj->Parent != 0)
            uiloop::InvalidateUncovered(Wnd, Obj->Bounds);
        if (Obj->Native)
            DisplayDriver().ShowNativeWindow(Wnd, TNativeShow::Hidden);
        uiloop::InputWindowHidden(Wnd);
    }
    CallProc(Wnd, WM_DESTROY, 0, 0);
    const std::vector<HWND> Children = Get(Wnd).Children;
    for (HWND Child : Children)
        DestroyWindow(Child);
    CallProc(Wnd, WM_NCDESTROY, 0, 0);

    uiloop::KillWindowTimers(Wnd);
    uiloop::InputWindowDestroyed(Wnd);
    uiloop::PaintWindowDestroyed(Wnd);
    Obj = Find(Wnd);
    Unlink(*Obj);
    DestroyNative(*Obj);
    // Ownership ends here; a procedure still running keeps its own copy alive.
    State().Windows.erase(Wnd);
    for (auto& Entry : State().Windows)
        if (Entry.second->Owner == Wnd)
            Entry.second->Owner = 0;
    return true;
}

bool IsWindow(HWND Wnd)
{
    return Find(Wnd) != nullptr || uiloop::IsForeignWindow(Wnd);
}

bool IsForeignWindow(HWND Wnd)
{
    return uiloop::IsForeignWindow(Wnd);
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

bool IsWindowEnabled(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? !(Obj->Style & WS_DISABLED) : uiloop::IsForeignWindow(Wnd);
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

bool IsChild(HWND Parent, HWND Wnd)
{
    return Parent != 0 && IsDescendant(Parent, Wnd);
}

bool EnableWindow(HWND Wnd, bool Enable)
{
    uiloop::CheckThread("EnableWindow");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const bool WasDisabled = (Obj->Style & WS_DISABLED) != 0;
    if (WasDisabled == !Enable)
        return WasDisabled;
    if (Enable) {
        Obj->Style &= ~WS_DISABLED;
    } else {
        Obj->Style |= WS_DISABLED;
        const HWND Focus = GetFocus();
        if (Focus == Wnd || IsChild(Wnd, Focus))
            SetFocus(0);
        if (GetCapture() == Wnd)
            ReleaseCapture();
    }
    CallProc(Wnd, WM_ENABLE, Enable ? 1 : 0, 0);
    return WasDisabled;
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

static void SetBoundsNative(TWindowObject& Obj, const TRect& R)
{
    Obj.Bounds = R;
    if (Obj.Native)
        DisplayDriver().MoveNativeWindow(Obj.Handle, R);
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
                if (Obj->Native)
                    DisplayDriver().SetNativeStyle(Wnd, Obj->Style, Obj->ExStyle);
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
    if (Moved || Sized || Reordered)
        SendPosChanged(Wnd, InsertAfter,
                       (Flags & ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW)) |
                           (Moved ? 0u : UINT(SWP_NOMOVE)) | (Sized ? 0u : UINT(SWP_NOSIZE)));
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
    Obj->Bounds = Bounds;
    if (!(Obj->Style & WS_MAXIMIZE))
        Obj->NormalBounds = Bounds;
    SendPosChanged(Wnd, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | (Moved ? 0u : UINT(SWP_NOMOVE)) |
                       (Sized ? 0u : UINT(SWP_NOSIZE)));
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
    Rect = Bounds(0, 0, Obj->Bounds.Width(), Obj->Bounds.Height());
    return true;
}

bool ClientToScreen(HWND Wnd, TPoint& Point)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const TPoint P = ScreenOrigin(*Obj);
    Point.X += P.X;
    Point.Y += P.Y;
    return true;
}

bool ScreenToClient(HWND Wnd, TPoint& Point)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const TPoint P = ScreenOrigin(*Obj);
    Point.X -= P.X;
    Point.Y -= P.Y;
    return true;
}

static HWND ChildAt(HWND Wnd, TPoint P)
{
    for (HWND Child : Get(Wnd).Children) {
        const TWindowObject& C = Get(Child);
        if ((C.Style & WS_VISIBLE) && PtInRect(C.Bounds, P)) {
            if (C.Style & WS_DISABLED)
                return Wnd;
            return ChildAt(Child, TPoint{P.X - C.Bounds.Left, P.Y - C.Bounds.Top});
        }
    }
    return Wnd;
}

HWND WindowFromPoint(const TPoint& Point)
{
    for (HWND Top : State().TopLevels) {
        const TWindowObject& T = Get(Top);
        if ((T.Style & WS_VISIBLE) && !(T.Style & WS_MINIMIZE) && PtInRect(T.Bounds, Point)) {
            if (T.Style & WS_DISABLED)
                return 0;
            return ChildAt(Top, TPoint{Point.X - T.Bounds.Left, Point.Y - T.Bounds.Top});
        }
    }
    return 0;
}

HWND SetParent(HWND Wnd, HWND NewParent)
{
    uiloop::CheckThread("SetParent");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || NewParent == Wnd || (NewParent != 0 && Find(NewParent) == nullptr) ||
        (NewParent != 0 && IsDescendant(Wnd, NewParent)))
        return 0;
    const HWND Old = Obj->Parent;
    if (Old == NewParent)
        return Old;
    if (Old != 0 && (Obj->Style & WS_VISIBLE))
        uiloop::InvalidateUncovered(Wnd, Obj->Bounds);
    Unlink(*Obj);
    Obj->Parent = NewParent;
    if (NewParent != 0) {
        Get(NewParent).Children.insert(Get(NewParent).Children.begin(), Wnd);
        DestroyNative(*Obj);
        if (GetActiveWindow() == Wnd || GetForegroundWindow() == Wnd)
            uiloop::InputWindowHidden(Wnd);
    } else {
        State().TopLevels.insert(State().TopLevels.begin(), Wnd);
        CreateNative(*Obj);
    }
    UpdatePublication(*Obj);
    uiloop::InvalidateWhole(Wnd);
    return Old;
}

HWND GetParent(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (Obj->Parent != 0)
        return Obj->Parent;
    return (Obj->Style & WS_POPUP) ? Obj->Owner : 0;
}

HWND GetWindow(HWND Wnd, UINT Relation)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (Relation == GW_OWNER)
        return Obj->Owner;
    if (Relation == GW_CHILD)
        return Obj->Children.empty() ? 0 : Obj->Children.front();
    const auto& List = Siblings(*Obj);
    auto Here = std::find(List.begin(), List.end(), Wnd);
    switch (Relation) {
    case GW_HWNDFIRST:
        return List.front();
    case GW_HWNDLAST:
        return List.back();
    case GW_HWNDNEXT:
        return Here + 1 != List.end() ? *(Here + 1) : 0;
    case GW_HWNDPREV:
        return Here != List.begin() ? *(Here - 1) : 0;
    default:
        return 0;
    }
}

HWND GetTopLevelWindow(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    while (Obj->Parent != 0)
        Obj = Find(Obj->Parent);
    return Obj->Handle;
}

std::vector<HWND> GetChildWindows(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? Obj->Children : std::vector<HWND>();
}

LONG_PTR GetWindowLong(HWND Wnd, int Index)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    switch (Index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(Obj->Style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(Obj->ExStyle);
    case GWL_USERDATA:
        return Obj->UserData;
    case GWL_ID:
        return Obj->Id;
    case GWL_HWNDPARENT:
        return static_cast<LONG_PTR>(Obj->Owner);
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(Obj->Proc.get());
    default:
        return 0;
    }
}

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value)
{
    uiloop::CheckThread("SetWindowLong");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    const LONG_PTR Old = GetWindowLong(Wnd, Index);
    switch (Index) {
    case GWL_STYLE:
        Obj->Style = static_cast<DWORD>(Value);
        if (Obj->Native)
            DisplayDriver().SetNativeStyle(Wnd, Obj->Style, Obj->ExStyle);
        break;
    case GWL_EXSTYLE:
        Obj->ExStyle = static_cast<DWORD>(Value);
        if (Obj->Native)
            DisplayDriver().SetNativeStyle(Wnd, Obj->Style, Obj->ExStyle);
        break;
    case GWL_USERDATA:
        Obj->UserData = Value;
        break;
    case GWL_ID:
        Obj->Id = Value;
        break;
    case GWL_HWNDPARENT:
        Obj->Owner = static_cast<HWND>(Value);
        if (Obj->Native)
            DisplayDriver().SetNativeOwner(Wnd, Obj->Owner);
        break;
    case GWL_WNDPROC:
        if (Value == 0)
            return 0;
        SetWindowProc(Wnd, *reinterpret_cast<const TWndProc*>(Value));
        break;
    default:
        return 0;
    }
    return Old;
}

TWndProc SetWindowProc(HWND Wnd, TWndProc Proc)
{
    uiloop::CheckThread("SetWindowProc");
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return {};
    std::shared_ptr<const TWndProc> Old = Obj->Proc;
    Obj->Retired.push_back(Old);
    Obj->Proc = std::make_shared<const TWndProc>(Proc ? std::move(Proc) : TWndProc(DefWindowProc));
    return *Old;
}

TWndProc GetWindowProc(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    return Obj != nullptr ? *Obj->Proc : TWndProc();
}

LRESULT CallWindowProc(const TWndProc& Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Proc ? Proc(Wnd, Msg, WParam, LParam) : DefWindowProc(Wnd, Msg, WParam, LParam);
}

LRESULT CallWindowProc(LONG_PTR Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Proc == 0)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    return CallWindowProc(*reinterpret_cast<const TWndProc*>(Proc), Wnd, Msg, WParam, LParam);
}

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    switch (Msg) {
    case WM_NCCREATE:
        return 1;
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_SETTEXT:
        Obj->Text = LParam != 0 ? reinterpret_cast<const char*>(LParam) : "";
        if (Obj->Native)
            DisplayDriver().SetNativeCaption(Wnd, Obj->Text);
        if (Obj->Published)
            UpdatePublication(*Obj);
        return 1;
    case WM_GETTEXT: {
        if (WParam == 0 || LParam == 0)
            return 0;
        const std::size_t Count = std::min<std::size_t>(Obj->Text.size(), WParam - 1);
        char* Buffer = reinterpret_cast<char*>(LParam);
        std::memcpy(Buffer, Obj->Text.data(), Count);
        Buffer[Count] = '\0';
        return static_cast<LRESULT>(Count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(Obj->Text.size());
    case WM_WINDOWPOSCHANGED: {
        const auto* Pos = reinterpret_cast<const TWindowPos*>(LParam);
        if (Pos == nullptr)
            return 0;
        if (!(Pos->flags & SWP_NOMOVE))
            CallProc(Wnd, WM_MOVE, 0, MakeLParam(Pos->x, Pos->y));
        if (!(Pos->flags & SWP_NOSIZE) && IsWindow(Wnd)) {
            const WPARAM Kind = IsIconic(Wnd)   ? SIZE_MINIMIZED
                                : IsZoomed(Wnd) ? SIZE_MAXIMIZED
                                                : SIZE_RESTORED;
            CallProc(Wnd, WM_SIZE, Kind, MakeLParam(Pos->cx, Pos->cy));
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LoWord(WParam) != WA_INACTIVE && !IsIconic(Wnd)) {
            const HWND Focus = GetFocus();
            if (Focus != Wnd && !IsChild(Wnd, Focus))
                SetFocus(Wnd);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (Obj->Parent != 0)
            return CallProc(Obj->Parent, Msg, WParam, LParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(Wnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(Wnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(Wnd, SW_RESTORE);
            break;
        case SC_CLOSE:
            CallProc(Wnd, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == Wnd)
            ReleaseCapture();
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    case WM_PAINT:
        ValidateRect(Wnd, nullptr);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    case WM_NCHITTEST:
        return HTCLIENT;
    default:
        return 0;
    }
}

bool SetWindowText(HWND Wnd, const std::string& Text)
{
    if (!IsWindow(Wnd) || uiloop::IsForeignWindow(Wnd))
        return false;
    return CallProc(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str())) != 0;
}

std::string GetWindowText(HWND Wnd)
{
    if (Find(Wnd) == nullptr) {
        std::string ClassName, Caption;
        uiloop::ForeignInfo(Wnd, ClassName, Caption);
        return Caption;
    }
    const LRESULT Length = CallProc(Wnd, WM_GETTEXTLENGTH, 0, 0);
    if (Length <= 0)
        return {};
    std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
    const LRESULT Got = CallProc(Wnd, WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(&Text[0]));
    Text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(Got, 0, Length)));
    return Text;
}

int GetWindowTextLength(HWND Wnd)
{
    if (Find(Wnd) == nullptr)
        return static_cast<int>(GetWindowText(Wnd).size());
    return static_cast<int>(CallProc(Wnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND AllocateHWnd(TWndMethod Method)
{
    uiloop::CheckThread("AllocateHWnd");
    TWndClass Class;
    if (!GetClassInfo(UtilWindowClass, Class)) {
        Class.ClassName = UtilWindowClass;
        RegisterClass(Class);
    }
    const HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, 0);
    if (Wnd != 0 && Method)
        SetWindowProc(Wnd, [Method](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            TMessage Message{Msg, WParam, LParam, 0};
            Method(Message);
            return Message.Result;
        });
    return Wnd;
}

void DeallocateHWnd(HWND Wnd)
{
    DestroyWindow(Wnd);
}

bool EnumWindows(const TEnumWindowsProc& Proc)
{
    for (HWND Wnd : uiloop::TopLevelWindows())
        if (Find(Wnd) != nullptr && !Proc(Wnd))
            return false;
    for (HWND Wnd : uiloop::ForeignWindows())
        if (!Proc(Wnd))
            return false;
    return true;
}

bool EnumChildWindows(HWND Parent, const TEnumWindowsProc& Proc)
{
    for (HWND Child : GetChildWindows(Parent)) {
        if (Find(Child) == nullptr)
            continue;
        if (!Proc(Child) || !EnumChildWindows(Child, Proc))
            return false;
    }
    return true;
}

HWND FindWindow(const char* ClassName, const char* WindowName)
{
    HWND Result = 0;
    EnumWindows([&](HWND Wnd) {
        if ((ClassName == nullptr || AnsiSameText(GetClassName(Wnd), ClassName)) &&
            (WindowName == nullptr || AnsiSameText(GetWindowText(Wnd), WindowName))) {
            Result = Wnd;
            return false;
        }
        return true;
    });
    return Result;
}

int WindowCount()
{
    return static_cast<int>(State().Windows.size());
}

HWND GetDesktopWindow()
{
    return DesktopHandle;
}

bool LockWindowUpdate(HWND Wnd)
{
    return Wnd == 0 || Wnd == DesktopHandle || IsWindow(Wnd);
}
