// The hint controller: which control the mouse rests on, the pauses on the application's
// timers, CM_HINTSHOW and OnShowHint, the one hint window, and what ends a hint.
#include "platform/forms/hints.h"

#include "platform/forms/hintwindow.h"
#include "platform/forms/wincontrol.h"
#include "platform/ui/hooks.h"
#include "platform/ui/input.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/timers.h"

#include <algorithm>

namespace {

enum class THintTimer { None, Show, Hide };

// The hint's distance below the mouse's hot spot: the stock arrow fills about the upper five
// eighths of its cell.
int CursorHeightMargin()
{
    return GetSystemMetrics(SM_CYCURSOR) * 5 / 8;
}

// The hint text of Control: its own, else its nearest parent's.
std::string GetHintText(const TControl* Control)
{
    for (; Control != nullptr; Control = Control->Parent())
        if (!Control->Hint().empty())
            return Control->Hint();
    return {};
}

// The deepest visible control under a screen point inside From, disabled ones too when
// AllowDisabled.
TControl* DescendTo(TControl* From, const TPoint& Pos, bool AllowDisabled)
{
    while (auto* Win = dynamic_cast<TWinControl*>(From)) {
        TControl* At = Win->ControlAtPos(Win->ScreenToClient(Pos), AllowDisabled);
        if (At == nullptr)
            break;
        From = At;
    }
    return From;
}

// The deepest visible control under a screen point; hint windows let the point through.
TControl* FindHintTarget(const TPoint& Pos, bool AllowDisabled)
{
    TControl* Found = nullptr;
    EnumWindows([&](HWND Wnd) {
        TRect Bounds;
        if (IsForeignWindow(Wnd) || !IsWindowVisible(Wnd) || IsIconic(Wnd) ||
            !GetWindowRect(Wnd, Bounds) || !PtInRect(Bounds, Pos))
            return true;
        TWinControl* Top = FindControl(Wnd);
        if (dynamic_cast<THintWindow*>(Top) != nullptr)
            return true;
        Found = Top;
        return false;
    });
    return DescendTo(Found, Pos, AllowDisabled);
}

// The same for a point the mouse moved to over Control: its top-level window is the one under
// the point unless a hint window was, or the mouse is captured.
TControl* FindHintTarget(TControl* Control, const TPoint& Pos)
{
    TControl* Top = Control;
    while (Top->Parent() != nullptr)
        Top = Top->Parent();
    auto* TopWin = dynamic_cast<TWinControl*>(Top);
    TRect Bounds;
    if (TopWin == nullptr || dynamic_cast<THintWindow*>(Top) != nullptr ||
        !TopWin->HandleAllocated() || !GetWindowRect(TopWin->Handle(), Bounds) ||
        !PtInRect(Bounds, Pos))
        return FindHintTarget(Pos, true);
    return DescendTo(Top, Pos, true);
}

// The top-level window a control is shown in, or 0.
HWND TopLevelOf(TControl* Control)
{
    for (; Control != nullptr; Control = Control->Parent())
        if (auto* Win = dynamic_cast<TWinControl*>(Control))
            if (Win->HandleAllocated())
                return GetTopLevelWindow(Win->Handle());
    return 0;
}

class THintController : public TComponent {
public:
    explicit THintController(TComponent* AOwner);
    ~THintController() override;

    void MouseMoved(TControl* NewHintControl, const TPoint& Pos);
    void Activate(const TPoint& CursorPos);
    void Hide();
    void Cancel();
    void LookAt(TMsg& Msg);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    THintWindow* Window(THintWindowClass Class);
    bool WindowShowing() const;
    void SetHintControl(TControl* Control);
    void StartTimer(int Pause, THintTimer Mode);
    void StopTimer();
    void TimerExpired();
    // A move or the loss of the activation of the hint control's form ends the hint.
    LRESULT FormWatch(int Code, WPARAM WParam, LPARAM LParam);

    HWND FTimerWnd = 0;
    THintTimer FTimer = THintTimer::None;
    TControl* FHintControl = nullptr;
    THintWindow* FHintWindow = nullptr; // owned
    THintWindowClass FHintWindowClass = nullptr;
    bool FHintActive = false;
    TRect FCursorRect; // screen coordinates; empty while the hint waits
    TPoint FRestPos;   // where the mouse was when the pause started
    HWND FWatchedForm = 0;
    HHOOK FWatch = 0;
};

THintController* Current = nullptr;

THintController* Controller()
{
    if (Current == nullptr && Application != nullptr)
        Current = new THintController(Application);
    return Current;
}

THintController::THintController(TComponent* AOwner) : TComponent(AOwner)
{
    FTimerWnd = AllocateHWnd([this](TMessage& Message) {
        if (Message.Msg == WM_TIMER)
            TimerExpired();
        else
            Message.Result = DefWindowProc(FTimerWnd, Message.Msg, Message.WParam, Message.LParam);
    });
}

THintController::~THintController()
{
    if (Current == this)
        Current = nullptr;
    SetHintControl(nullptr);
    if (FTimerWnd != 0)
        DeallocateHWnd(FTimerWnd);
}

void THintController::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FHintWindow) {
        FHintWindow = nullptr;
        FHintWindowClass = nullptr;
    }
    if (AComponent == FHintControl) {
        // It is going: no more calls on it.
        FHintControl = nullptr;
        Cancel();
    }
}

THintWindow* THintController::Window(THintWindowClass Class)
{
    if (Class == nullptr)
        Class = HintWindowClass;
    if (FHintWindow == nullptr || FHintWindowClass != Class) {
        delete FHintWindow;
        FHintWindow = Class(this);
        FHintWindowClass = Class;
    }
    return FHintWindow;
}

bool THintController::WindowShowing() const
{
    return FHintWindow != nullptr && FHintWindow->HandleAllocated() &&
           IsWindowVisible(FHintWindow->Handle());
}

void THintController::SetHintControl(TControl* Control)
{
    // Also with the same control: one that went away was let go of without a call.
    if (Control != FHintControl) {
        if (FHintControl != nullptr)
            FHintControl->RemoveFreeNotification(this);
        FHintControl = Control;
        if (Control != nullptr)
            Control->FreeNotification(this);
    }
    const HWND Form = TopLevelOf(Control);
    if (Form == FWatchedForm)
        return;
    if (FWatch != 0)
        UnhookWindowsHookEx(FWatch);
    FWatch = 0;
    FWatchedForm = Form;
    if (Form != 0)
        FWatch = SetWindowsHookEx(WH_CALLWNDPROC, [this](int Code, WPARAM WParam, LPARAM LParam) {
            return FormWatch(Code, WParam, LParam);
        });
}

LRESULT THintController::FormWatch(int Code, WPARAM WParam, LPARAM LParam)
{
    const HHOOK Hook = FWatch;
    const LRESULT Result = CallNextHookEx(Hook, Code, WParam, LParam);
    if (Code != HC_ACTION)
        return Result;
    const auto* Sent = reinterpret_cast<const TCWPStruct*>(LParam);
    if (Sent->hwnd != FWatchedForm)
        return Result;
    switch (Sent->message) {
    case WM_MOVE:
    case WM_MOVING:
        Cancel();
        break;
    case WM_ACTIVATE:
        if (LoWord(Sent->wParam) == WA_INACTIVE)
            Cancel();
        break;
    case WM_ACTIVATEAPP:
    case WM_SHOWWINDOW:
        if (Sent->wParam == 0)
            Cancel();
        break;
    default:
        break;
    }
    return Result;
}

void THintController::StartTimer(int Pause, THintTimer Mode)
{
    FTimer = Mode;
    SetTimer(FTimerWnd, 1, static_cast<UINT>(std::max(Pause, 1)));
}

void THintController::StopTimer()
{
    if (FTimer != THintTimer::None)
        KillTimer(FTimerWnd, 1);
    FTimer = THintTimer::None;
}

void THintController::TimerExpired()
{
    const THintTimer Mode = FTimer;
    StopTimer();
    if (Mode == THintTimer::Show) {
        Activate(GetCursorPos());
    } else if (Mode == THintTimer::Hide) {
        Hide();
        FHintActive = false;
    }
}

void THintController::MouseMoved(TControl* NewHintControl, const TPoint& Pos)
{
    if (NewHintControl == FHintControl &&
        (PtInRect(FCursorRect, Pos) || (FTimer == THintTimer::Show && Pos == FRestPos)))
        return;
    FRestPos = Pos;
    const bool WasActive = FHintActive && WindowShowing();
    int Pause = WasActive ? Application->HintShortPause() : Application->HintPause();
    NewHintControl->Perform(CM_HINTSHOWPAUSE, WasActive ? 1 : 0, reinterpret_cast<LPARAM>(&Pause));
    SetHintControl(NewHintControl);
    if (FHintControl == nullptr)
        return;
    // Until the hint shows, each move starts the pause again: it counts from where the mouse
    // comes to rest.
    FCursorRect = TRect{};
    if (Pause <= 0) {
        StopTimer();
        Activate(Pos);
    } else {
        StartTimer(Pause, THintTimer::Show);
    }
}

void THintController::Activate(const TPoint& CursorPos)
{
    StopTimer();
    FHintActive = false;
    THintInfo Info;
    if (Application->ShowHint() && FHintControl != nullptr &&
        FHintControl == GetHintControl(FindHintTarget(CursorPos, true))) {
        Info.HintControl = FHintControl;
        Info.HintWindowClass = HintWindowClass;
        Info.HintPos = TPoint{CursorPos.X, CursorPos.Y + CursorHeightMargin()};
        Info.HintMaxWidth = Screen != nullptr ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
        Info.HintColor = Application->HintColor();
        // The control's bounds in its own client coordinates.
        Info.CursorRect = FHintControl->BoundsRect();
        const TPoint Origin = FHintControl->ClientOrigin();
        const TPoint ParentOrigin =
            FHintControl->Parent() != nullptr ? FHintControl->Parent()->ClientOrigin() : TPoint{};
        OffsetRect(Info.CursorRect, ParentOrigin.X - Origin.X, ParentOrigin.Y - Origin.Y);
        Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
        Info.HintStr = GetShortHint(GetHintText(FHintControl));
        Info.ReshowTimeout = 0;
        Info.HideTimeout = Application->HintHidePause();
        bool CanShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
        if (CanShow && Application->OnShowHint)
            Application->OnShowHint(Info.HintStr, CanShow, Info);
        FHintActive = CanShow && FHintControl != nullptr;
        if (FHintActive && !Info.HintStr.empty()) {
            THintWindow* Hint = Window(Info.HintWindowClass);
            TRect R = Hint->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
            OffsetRect(R, Info.HintPos.X, Info.HintPos.Y);
            // A hint below the mouse that would leave the work area goes above it instead, so
            // that it never covers the mouse and takes its clicks (the window adds 4 below).
            if (Screen != nullptr && R.Top > CursorPos.Y &&
                R.Bottom + 4 > Screen->WorkAreaRect().Bottom)
                OffsetRect(R, 0, CursorPos.Y - (R.Height() + 4) - R.Top);
            const TPoint TopLeft = FHintControl->ClientToScreen(Info.CursorRect.TopLeft());
            const TPoint BottomRight = FHintControl->ClientToScreen(Info.CursorRect.BottomRight());
            FCursorRect = Rect(TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y);
            Hint->SetColor(Info.HintColor);
            Hint->ActivateHintData(R, Info.HintStr, Info.HintData);
            if (Info.ReshowTimeout > 0)
                StartTimer(Info.ReshowTimeout, THintTimer::Show);
            else
                StartTimer(Info.HideTimeout, THintTimer::Hide);
            return;
        }
    }
    if (Info.ReshowTimeout > 0 && FHintControl != nullptr) {
        Hide();
        StartTimer(Info.ReshowTimeout, THintTimer::Show);
    } else {
        Cancel();
    }
}

void THintController::Hide()
{
    if (WindowShowing())
        ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

void THintController::Cancel()
{
    Hide();
    StopTimer();
    SetHintControl(nullptr);
    FHintActive = false;
    FCursorRect = TRect{};
}

void THintController::LookAt(TMsg& Msg)
{
    if (FHintControl != nullptr && Window(FHintWindowClass)->IsHintMsg(Msg))
        Cancel();
}

// The application's ActivateHint, HideHint and CancelHint, and its look at each message.
struct THintHooksInstaller {
    THintHooksInstaller()
    {
        THintHooks& Hooks = HintHooks();
        Hooks.ActivateHint = [](const TPoint& CursorPos) {
            if (THintController* C = Controller())
                C->Activate(CursorPos);
        };
        Hooks.HideHint = [] {
            if (Current != nullptr)
                Current->Hide();
        };
        Hooks.CancelHint = [] {
            if (Current != nullptr)
                Current->Cancel();
        };
        Hooks.HintMsg = [](TMsg& Msg) {
            if (Current != nullptr)
                Current->LookAt(Msg);
        };
    }
} Installer;

} // namespace

TControl* GetHintControl(TControl* Control)
{
    while (Control != nullptr && !Control->ShowHint())
        Control = Control->Parent();
    return Control;
}

void HintMouseMessage(TControl* Control, TMessage& Message)
{
    if (Application == nullptr)
        return;
    const TPoint Pos =
        Control->ClientToScreen(TPoint{GetXLParam(Message.LParam), GetYLParam(Message.LParam)});
    TControl* NewHintControl =
        Application->ShowHint() ? GetHintControl(FindHintTarget(Control, Pos)) : nullptr;
    if (NewHintControl == nullptr) {
        if (Current != nullptr)
            Current->Cancel();
        return;
    }
    if (THintController* C = Controller())
        C->MouseMoved(NewHintControl, Pos);
}

void HintMouseLeft()
{
    if (Current != nullptr)
        Current->Cancel();
}

// ---- ShowHint and ParentShowHint

bool TControl::ShowHint() const
{
    if (FParentShowHint && FParent != nullptr)
        return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool Value)
{
    if (Value == FShowHint && !FParentShowHint)
        return;
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value)
{
    if (Value == FParentShowHint)
        return;
    // Taken off the parent, the control keeps what it showed until now.
    if (!Value)
        FShowHint = ShowHint();
    FParentShowHint = Value;
    if (FParent != nullptr)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}
