#include "platform/forms/form.h"

#include "platform/forms/menudraw.h"
#include "platform/ui/input.h"
#include "platform/ui/nonclient.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <vector>

namespace {

const char* const CannotFocus = "Cannot focus a disabled or invisible window";

// Alt pressed and released with no other key between selects the menu bar's first item.
bool AltAlone = false;

// Alt+letter that no control's accelerator took opens the bar's item with that letter.
bool OpenMenuBarByAccel(TWinControl* Control, WPARAM Key)
{
    TCustomForm* Form = GetParentForm(Control);
    if (Form == nullptr || Form->Menu() == nullptr)
        return false;
    const TMenuItem* Items = Form->Menu()->Items();
    for (int I = 0; I < Items->Count(); ++I)
        if (Items->Items(I)->Visible() && Items->Items(I)->Enabled() &&
            IsAccel(static_cast<unsigned>(Key), Items->Items(I)->Caption())) {
            TrackMenuBar(Form, I, true);
            return true;
        }
    return false;
}

// The menu bar's keys: F10 and Alt alone select its first item. True when the bar took the key.
bool IsMenuBarKey(const TMsg& Msg, TWinControl* Control)
{
    TCustomForm* Form = GetParentForm(Control);
    const bool HasBar = Form != nullptr && Form->Menu() != nullptr &&
                        LayoutMenuBar(Form->Menu(), Form->ClientWidth()).Height > 0;
    switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        AltAlone = Msg.wParam == VK_MENU && (Msg.lParam & (1 << 30)) == 0;
        if (HasBar && Msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0 &&
            GetKeyState(VK_CONTROL) >= 0) {
            TrackMenuBar(Form, -1, false);
            return true;
        }
        return false;
    case WM_SYSKEYUP:
    case WM_KEYUP: {
        const bool Alone = AltAlone && Msg.wParam == VK_MENU;
        AltAlone = false;
        if (Alone && HasBar) {
            TrackMenuBar(Form, -1, false);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// Key messages first go to the control they are for as CN_ notifications, which turn dialog keys
// (Tab, Enter, Escape, arrows, accelerators) into CM_DIALOGKEY and CM_DIALOGCHAR for the form;
// a key taken there is neither translated nor dispatched.
bool IsKeyMsg(TMsg& Msg)
{
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST)
        return false;
    HWND Wnd = Msg.hwnd;
    TWinControl* Control = FindControl(Wnd);
    while (Control == nullptr && Wnd != 0 && (GetWindowLong(Wnd, GWL_STYLE) & WS_CHILD)) {
        Wnd = GetParent(Wnd);
        Control = FindControl(Wnd);
    }
    if (Control == nullptr)
        return false;
    if (IsMenuBarKey(Msg, Control))
        return true;
    if (Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYUP || Msg.message == WM_DEADCHAR ||
        Msg.message == WM_SYSDEADCHAR)
        return false;
    const bool Taken = SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
    if (!Taken && Msg.message == WM_SYSCHAR)
        return OpenMenuBarByAccel(Control, Msg.wParam);
    return Taken;
}

void InstallFormHooks()
{
    TFormHooks& Hooks = FormHooks();
    if (!Hooks.IsKeyMsg)
        Hooks.IsKeyMsg = IsKeyMsg;
    if (!Hooks.ShowMainForm)
        Hooks.ShowMainForm = [](TForm* Form) {
            if (Form->WindowState() == wsMinimized && Application != nullptr)
                Application->Minimize();
            else
                Form->Show();
        };
}

// The program's visible, enabled top-level windows other than Except, now disabled.
std::vector<HWND> DisableTaskWindows(HWND Except)
{
    std::vector<HWND> Disabled;
    EnumWindows([&](HWND Wnd) {
        if (Wnd != Except && !IsForeignWindow(Wnd) && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd))
            Disabled.push_back(Wnd);
        return true;
    });
    for (HWND Wnd : Disabled)
        EnableWindow(Wnd, false);
    return Disabled;
}

void EnableTaskWindows(const std::vector<HWND>& Windows)
{
    for (HWND Wnd : Windows)
        if (IsWindow(Wnd))
            EnableWindow(Wnd, true);
}

TPoint CentredIn(const TRect& Around, int Width, int Height)
{
    return TPoint{Around.Left + (Around.Width() - Width) / 2,
                  Around.Top + (Around.Height() - Height) / 2};
}

// Moves a window at At into the work area as far as it fits; one larger than the work area keeps
// its top-left corner, and so its caption, on it.
TPoint KeptOn(const TRect& Work, TPoint At, int Width, int Height)
{
    return TPoint{std::max(Work.Left, std::min(At.X, Work.Right - Width)),
                  std::max(Work.Top, std::min(At.Y, Work.Bottom - Height))};
}

// Forms the system places go down a cascade from the work area's top-left corner, each to the
// first step where no other shown form stands, so that none hides another; back to the corner
// when the next step would leave the work area.
TPoint CascadePoint(const TCustomForm* Form, const TRect& Work)
{
    const int Step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const auto Taken = [&](TPoint P) {
        for (int I = 0; Screen != nullptr && I < Screen->FormCount(); ++I) {
            const TCustomForm* Other = Screen->Forms(I);
            if (Other != Form && Other->Parent() == nullptr && Other->Visible() &&
                Other->Left() == P.X && Other->Top() == P.Y)
                return true;
        }
        return false;
    };
    for (TPoint P = Work.TopLeft();
         P.X + Form->Width() <= Work.Right && P.Y + Form->Height() <= Work.Bottom;
         P.X += Step, P.Y += Step)
        if (!Taken(P))
            return P;
    return Work.TopLeft();
}

} // namespace

TCustomForm* GetParentForm(const TControl* Control)
{
    if (Control == nullptr)
        return nullptr;
    while (Control->Parent() != nullptr)
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
}

const TMessageMap& TCustomForm::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomForm::WMActivate>(WM_ACTIVATE),
        OnMessage<&TCustomForm::WMClose>(WM_CLOSE),
        OnMessage<&TCustomForm::WMGetMinMaxInfo>(WM_GETMINMAXINFO),
        OnMessage<&TCustomForm::WMMove>(WM_MOVE),
        OnMessage<&TCustomForm::CMDialogKey>(CM_DIALOGKEY),
        OnMessage<&TCustomForm::CMRelease>(CM_RELEASE),
        OnMessage<&TCustomForm::WMMeasureItem>(WM_MEASUREITEM),
        OnMessage<&TCustomForm::WMDrawItem>(WM_DRAWITEM),
        OnMessage<&TCustomForm::WMNCCalcSize>(WM_NCCALCSIZE),
        OnMessage<&TCustomForm::WMNCPaint>(WM_NCPAINT),
        OnMessage<&TCustomForm::WMNCHitTest>(WM_NCHITTEST),
        OnMessage<&TCustomForm::WMNCLButtonDown>(WM_NCLBUTTONDOWN),
        OnMessage<&TCustomForm::WMNCMouseMove>(WM_NCMOUSEMOVE),
        OnMessage<&TCustomForm::CMMenuChanged>(CM_MENUCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FIcon(std::make_unique<TIcon>()),
      FCanvas(std::make_unique<TControlCanvas>())
{
    InstallFormHooks();
    FCanvas->SetControl(this);
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csDoubleClicks});
    StoreVisible(false);
    SetBounds(Left(), Top(), 320, 240);
    SetColor(clBtnFace);
    SetParentFont(false);
    if (Screen != nullptr)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (OnDestroy && FCreated)
        OnDestroy(this);
    if (Application != nullptr && static_cast<TCustomForm*>(Application->MainForm()) == this)
        Application->SetMainForm(nullptr);
    if (Screen != nullptr) {
        Screen->RemoveForm(this);
        if (Screen->ActiveControl() != nullptr && ContainsControl(Screen->ActiveControl()))
            Screen->SetActiveControl(nullptr);
    }
    FActiveControl = nullptr;
    FFocusedControl = nullptr;
    StopMouseHotItem();
    SetMenu(nullptr);
    FCanvas->FreeHandle();
    DestroyHandle();
}

void TCustomForm::AfterConstruction()
{
    if (FCreated)
        return;
    FCreated = true;
    DoCreate();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

TCanvas* TCustomForm::Canvas() const
{
    FCanvas->Prepare();
    return FCanvas.get();
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    if (Parent() != nullptr)
        return;
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    Params.ExStyle = 0;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    switch (FBorderStyle) {
    case bsNone:
        Params.Style |= WS_POPUP;
        break;
    case bsSingle:
        Params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        Params.Style |= WS_CAPTION;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        Params.Style |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons.Contains(biMinimize))
                Params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                Params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FBorderIcons.Contains(biHelp))
        Params.ExStyle |= WS_EX_CONTEXTHELP;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    Params.WndParent = ParentWindow() != 0                               ? ParentWindow()
                       : Application != nullptr && Application->Handle() ? Application->Handle()
                                                                         : 0;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FFormStyle == fsStayOnTop)
        SetWindowPos(WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (Value == FBorderIcons)
        return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (Value == FFormStyle)
        return;
    FFormStyle = Value;
    if (WindowHandle() != 0)
        SetWindowPos(WindowHandle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0,
                     0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const
{
    if (WindowHandle() != 0 && IsWindowVisible(WindowHandle()))
        return IsIconic(WindowHandle())   ? wsMinimized
               : IsZoomed(WindowHandle()) ? wsMaximized
                                          : wsNormal;
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    FWindowState = Value;
    if (WindowHandle() != 0 && Visible() && IsWindowVisible(WindowHandle()))
        ShowWindow(WindowHandle(), Value == wsMinimized   ? SW_MINIMIZE
                                   : Value == wsMaximized ? SW_SHOWMAXIMIZED
                                                          : SW_RESTORE);
}

void TCustomForm::SetVisible(bool Value)
{
    const bool Shown = WindowHandle() != 0 && IsWindowVisible(WindowHandle());
    if (Value == Visible() && Value == Shown)
        return;
    StoreVisible(Value);
    if (Value) {
        HandleNeeded();
        if (!FPlaced) {
            FPlaced = true;
            PlaceOnShow();
        }
        DoShow();
        if (!Visible() || WindowHandle() == 0)
            return;
        ShowWindow(WindowHandle(), FWindowState == wsMinimized   ? SW_SHOWMINIMIZED
                                   : FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                                                                 : SW_SHOWNORMAL);
        UpdateShowing();
    } else {
        if (WindowHandle() != 0)
            ShowWindow(WindowHandle(), SW_HIDE);
        UpdateShowing();
        DoHide();
    }
}

void TCustomForm::PlaceOnShow()
{
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    if (FPosition == poDefault || FPosition == poDefaultSizeOnly)
        SetBounds(Left(), Top(), Work.Width() * 3 / 4, Work.Height() * 3 / 4);
    const TRect Whole = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    TPoint At;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        At = CentredIn(Whole, Width(), Height());
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TControl* Center = FPosition == poMainFormCenter && Application != nullptr
                               ? static_cast<TControl*>(Application->MainForm())
                               : dynamic_cast<TCustomForm*>(Owner());
        At = CentredIn(Center != nullptr && Center != this ? Center->BoundsRect() : Whole, Width(),
                       Height());
        break;
    }
    case poDefault:
    case poDefaultPosOnly:
        At = CascadePoint(this, Work);
        break;
    default:
        return;
    }
    At = KeptOn(Work, At, Width(), Height());
    SetBounds(At.X, At.Y, Width(), Height());
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (WindowHandle() != 0)
        BringWindowToTop(WindowHandle());
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

bool TCustomForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = caHide;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application != nullptr && static_cast<TCustomForm*>(Application->MainForm()) == this)
        Application->Terminate();
    else if (Action == caHide)
        Hide();
    else if (Action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release()
{
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture() != 0) {
        SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    HandleNeeded();
    FModal = true;
    const HWND ActiveWindow = GetActiveWindow();
    const std::vector<HWND> Disabled = DisableTaskWindows(WindowHandle());
    struct TRestore {
        TCustomForm* Form;
        const std::vector<HWND>& Disabled;
        HWND ActiveWindow;
        ~TRestore()
        {
            if (Form->Visible())
                Form->Hide();
            EnableTaskWindows(Disabled);
            if (ActiveWindow != 0 && IsWindow(ActiveWindow) && IsWindowVisible(ActiveWindow))
                SetActiveWindow(ActiveWindow);
            Form->FModal = false;
        }
    } Restore{this, Disabled, ActiveWindow};
    FModalResult = mrNone;
    Show();
    while (FModalResult == mrNone) {
        if (Application == nullptr)
            throw EInvalidOperation("A modal form needs the application's message loop");
        Application->HandleMessage();
        if (Application->Terminated()) {
            FModalResult = mrCancel;
        } else if (FModalResult != mrNone) {
            TCloseAction Action = caNone;
            if (CloseQuery()) {
                Action = caHide;
                DoClose(Action);
            }
            if (Action == caNone)
                FModalResult = mrNone;
            else if (Action == caFree)
                Release();
        }
    }
    return FModalResult;
}

void TCustomForm::SetActiveControl(TWinControl* Control)
{
    if (Control == FActiveControl)
        return;
    if (Control != nullptr &&
        (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation(CannotFocus);
    FActiveControl = Control;
    if (FActive)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    const bool WasActive = FActive;
    SetActiveControl(Control);
    if (!WasActive)
        SetFocus();
}

bool TCustomForm::CanFocus() const
{
    return Visible() && Enabled();
}

void TCustomForm::SetFocus()
{
    if (FActive)
        return;
    if (!(Visible() && Enabled()))
        throw EInvalidOperation(CannotFocus);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    HWND Target = WindowHandle();
    if (FActiveControl != nullptr && FActiveControl->CanFocus())
        Target = FActiveControl->Handle();
    if (Target != 0)
        ::SetFocus(Target);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
    static int FocusCount = 0;
    FActiveControl = Control != this ? Control : nullptr;
    if (Screen != nullptr) {
        Screen->SetActiveForm(this);
        Screen->SetActiveControl(Control);
    }
    if (Control->ControlState().Contains(csFocusing))
        return true;
    Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
    struct TDone {
        TWinControl* Control;
        ~TDone() { Control->SetControlState(Control->ControlState() - TControlState{csFocusing}); }
    } Done{Control};
    const int Count = ++FocusCount;
    if (FFocusedControl == nullptr)
        FFocusedControl = this;
    if (FFocusedControl == Control)
        return true;
    while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(Control)) {
        TWinControl* Leaving = FFocusedControl;
        FFocusedControl = Leaving->Parent();
        Leaving->Perform(CM_EXIT, 0, 0);
        if (Count != FocusCount)
            return false;
    }
    while (FFocusedControl != Control && FFocusedControl != nullptr) {
        TWinControl* Entering = Control;
        while (Entering->Parent() != FFocusedControl)
            Entering = Entering->Parent();
        FFocusedControl = Entering;
        Entering->Perform(CM_ENTER, 0, 0);
        if (Count != FocusCount)
            return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control)
{
    if (FFocusedControl != nullptr && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (Screen != nullptr && Screen->ActiveControl() != nullptr &&
        Control->ContainsControl(Screen->ActiveControl()))
        Screen->SetActiveControl(nullptr);
    if (FActiveControl == nullptr || !Control->ContainsControl(FActiveControl))
        return;
    FActiveControl = nullptr;
    const HWND Focus = GetFocus();
    if (FActive && WindowHandle() != 0 && !ComponentState().Contains(csDestroying) &&
        FindControl(Focus) != nullptr && Control->ContainsControl(FindControl(Focus)))
        ::SetFocus(WindowHandle());
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& Message)
{
    const bool Activating = LoWord(Message.WParam) != WA_INACTIVE;
    Message.Result = 0;
    if (Activating == FActive)
        return;
    if (!Activating)
        CancelModes();
    FActive = Activating;
    if (Activating) {
        if (Screen != nullptr) {
            Screen->SetActiveForm(this);
            Screen->MoveFormToFront(this);
        }
        if (FActiveControl == nullptr)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        if (!IsIconic(WindowHandle()))
            SetWindowFocus();
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message)
{
    auto* Info = reinterpret_cast<TMinMaxInfo*>(Message.LParam);
    if (Info == nullptr)
        return;
    const TSizeConstraints* C = Constraints();
    if (C->MinWidth() > 0)
        Info->ptMinTrackSize.X = C->MinWidth();
    if (C->MinHeight() > 0)
        Info->ptMinTrackSize.Y = C->MinHeight();
    if (C->MaxWidth() > 0)
        Info->ptMaxTrackSize.X = C->MaxWidth();
    if (C->MaxHeight() > 0)
        Info->ptMaxTrackSize.Y = C->MaxHeight();
    Message.Result = 0;
}

// Posted with the window's new place while it moves (the window manager moving it, or the
// program); the bounds have been taken already (WM_WINDOWPOSCHANGED).
void TCustomForm::WMMove(TMessage& Message)
{
    Inherited(Message);
    if (Parent() == nullptr && WindowHandle() != 0 && IsWindowVisible(WindowHandle()))
        CancelModes();
}

bool TCustomForm::IsShortCut(TWMKey& Message)
{
    bool Handled = false;
    if (OnShortCut)
        OnShortCut(Message, Handled);
    return Handled || (FMenu != nullptr && FMenu->IsShortCut(Message));
}

void TCustomForm::SendCancelMode(TControl* Sender)
{
    if (FActive && FActiveControl != nullptr)
        FActiveControl->Perform(CM_CANCELMODE, reinterpret_cast<WPARAM>(Sender),
                                reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::CancelModes()
{
    // An open menu (the bar's loop or a pop-up) ends without a choice.
    if (TMenuLoop* Loop = TMenuLoop::Current())
        Loop->Cancel();
    SendCancelMode(nullptr);
    if (const HWND Capture = GetCapture())
        SendMessage(Capture, WM_CANCELMODE, 0, 0);
    if (Application != nullptr)
        Application->CancelHint();
}

void TCustomForm::CMDialogKey(TMessage& Message)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (Message.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                Message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
                FActiveControl->Parent()->SelectNext(
                    FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
                Message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    Inherited(Message);
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC)
{
    TControlCanvas::TPaintScope Scope(FCanvas.get(), DC);
    Paint();
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

// Posted by Release: the messages before it have been handled.
void TCustomForm::CMRelease(TMessage&)
{
    delete this;
}

// ---- the menu bar and the menus' keys

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu)
        return;
    if (FMenu != nullptr) {
        FMenu->FForm = nullptr;
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = Value;
    if (Value != nullptr) {
        if (Value->FForm != nullptr && Value->FForm != this)
            Value->FForm->SetMenu(nullptr);
        Value->FForm = this;
        Value->FreeNotification(this);
    }
    if (HandleAllocated() && !ComponentState().Contains(csDestroying))
        Perform(CM_MENUCHANGED, 0, 0);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) {
        StopMouseHotItem();
        FMenu = nullptr;
        if (HandleAllocated() && !ComponentState().Contains(csDestroying))
            Perform(CM_MENUCHANGED, 0, 0);
    }
}

void TCustomForm::WMMeasureItem(TMessage& Message)
{
    if (DefMenuOwnerDraw(Message.Msg, Message.LParam))
        Message.Result = 1;
    else
        Inherited(Message);
}

void TCustomForm::WMDrawItem(TMessage& Message)
{
    if (DefMenuOwnerDraw(Message.Msg, Message.LParam))
        Message.Result = 1;
    else
        Inherited(Message);
}

// ---- the menu bar in the non-client area

TRect TCustomForm::ClientRect() const
{
    TRect R = TWinControl::ClientRect();
    if (!HandleAllocated() && HasMenuBar())
        R.Bottom = std::max(R.Top, R.Bottom - MenuBarHeight(this, R.Width()));
    return R;
}

void TCustomForm::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_MOUSELEAVE)
        StopMouseHotItem();
    TWinControl::WndProc(Message);
}

void TCustomForm::WMNCCalcSize(TMessage& Message)
{
    Inherited(Message);
    FMenuBarHeight = 0;
    if (!HasMenuBar() || Message.LParam == 0)
        return;
    TRect& Client = reinterpret_cast<TNCCalcSizeParams*>(Message.LParam)->rgrc[0];
    FMenuBarHeight = std::min(MenuBarHeight(this, Client.Width()), Client.Height());
    Client.Top += FMenuBarHeight;
}

void TCustomForm::WMNCPaint(TMessage& Message)
{
    Inherited(Message);
    if (FMenuBarHeight <= 0 || !HasMenuBar())
        return;
    const HWND Wnd = WindowHandle();
    TRect Window;
    TRect Client;
    TPoint Origin{0, 0};
    if (!GetWindowRect(Wnd, Window) || !GetClientRect(Wnd, Client) ||
        !::ClientToScreen(Wnd, Origin))
        return;
    const TPoint At{Origin.X - Window.Left, Origin.Y - Window.Top};
    if (HDC DC = GetWindowDC(Wnd)) {
        PaintMenuBar(this, DC, Rect(At.X, At.Y - FMenuBarHeight, At.X + Client.Width(), At.Y));
        ReleaseDC(Wnd, DC);
    }
}

void TCustomForm::WMNCHitTest(TMessage& Message)
{
    Inherited(Message);
    if (Message.Result == HTCLIENT || FMenuBarHeight <= 0 || !HasMenuBar())
        return;
    if (PtInRect(MenuBarScreenRect(this),
                 TPoint{GetXLParam(Message.LParam), GetYLParam(Message.LParam)}))
        Message.Result = HTMENU;
}

void TCustomForm::WMNCLButtonDown(TMessage& Message)
{
    if (Message.WParam != HTMENU || !HasMenuBar()) {
        Inherited(Message);
        return;
    }
    Message.Result = 0;
    StopMouseHotItem();
    const TRect Bar = MenuBarScreenRect(this);
    const TPoint P{GetXLParam(Message.LParam) - Bar.Left, GetYLParam(Message.LParam) - Bar.Top};
    const int Item = LayoutMenuBar(FMenu, Bar.Width()).ItemAtPos(P);
    if (Item >= 0)
        TrackMenuBar(this, Item, true);
}

void TCustomForm::WMNCMouseMove(TMessage& Message)
{
    Inherited(Message);
    if (!HasMenuBar() || TMenuLoop::Current() != nullptr)
        return;
    if (Message.WParam != HTMENU || !IsWindowEnabled(WindowHandle())) {
        StopMouseHotItem();
        return;
    }
    const TRect Bar = MenuBarScreenRect(this);
    const TPoint P{GetXLParam(Message.LParam) - Bar.Left, GetYLParam(Message.LParam) - Bar.Top};
    SetMouseHotItem(LayoutMenuBar(FMenu, Bar.Width()).ItemAtPos(P));
}

void TCustomForm::SetMouseHotItem(int Index)
{
    if (Index >= 0 && !FMenu->Items()->Items(Index)->Enabled())
        Index = -1;
    if (Index < 0) {
        StopMouseHotItem();
        return;
    }
    FMenu->SetHotIndex(Index, false);
    if (FMenuBarHook != 0)
        return;
    FMenuBarHook = SetWindowsHookEx(WH_MOUSE, [this](int Code, WPARAM WParam, LPARAM LParam) {
        const HHOOK Self = FMenuBarHook;
        const auto* Info = reinterpret_cast<const TMouseHookStruct*>(LParam);
        // Anything but the bar under the mouse ends the hot item; the menu's loop keeps its own.
        if (Code == HC_ACTION && Info != nullptr && TMenuLoop::Current() == nullptr &&
            (Info->hwnd != WindowHandle() || Info->wHitTestCode != HTMENU))
            StopMouseHotItem();
        return CallNextHookEx(Self, Code, WParam, LParam);
    });
}

void TCustomForm::StopMouseHotItem()
{
    if (FMenuBarHook == 0)
        return;
    UnhookWindowsHookEx(FMenuBarHook);
    FMenuBarHook = 0;
    if (FMenu != nullptr && TMenuLoop::Current() == nullptr)
        FMenu->SetHotIndex(-1, false);
}

void TCustomForm::CMMenuChanged(TMessage&)
{
    if (!HandleAllocated())
        return;
    const int Height = HasMenuBar() ? MenuBarHeight(this, ClientWidth()) : 0;
    if (Height != FMenuBarHeight) {
        // The client area is measured anew (WM_NCCALCSIZE), the frame and client repainted.
        SetWindowPos(WindowHandle(), 0, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (Height > 0) {
        // Only the band: the frame waits for WM_NCPAINT, the client area keeps its pixels.
        const TRect None = Rect(0, 0, 0, 0);
        RedrawWindow(WindowHandle(), &None, RDW_INVALIDATE | RDW_FRAME);
    }
}
