// The mouse and the keys on their way to a control: the capture, the control under the mouse
// (CM_MOUSEENTER/CM_MOUSELEAVE), mouse messages turned into events and handed to controls
// without a window, the wheel and the context popup going up the parents, and key messages
// turned into shortcuts, CM_CHILDKEY, events, dialog keys, accelerators and F1 help.
#include "platform/forms/form.h"
#include "platform/forms/hints.h"
#include "platform/forms/menus.h"
#include "platform/forms/wincontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/helpservice.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <cctype>

namespace {

TControl* CaptureControl = nullptr;
TControl* MouseControl = nullptr; // the control under the mouse, for CM_MOUSEENTER/LEAVE

bool IsMouseMessage(UINT Msg)
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL;
}

// The keys that ask for the focused control's context popup: the menu key and Shift+F10.
bool IsContextKey(WPARAM Key, TShiftState Shift)
{
    return (Key == VK_APPS && Shift.Empty()) || (Key == VK_F10 && Shift == TShiftState{ssShift});
}

// WM_CONTEXTMENU's point when the keyboard asked for the popup.
constexpr LPARAM KeyboardContextPoint = MakeLParam(-1, -1);

// A screen point in Control's client coordinates, through the windows where there are some (a
// form's client area lies inside its frame).
TPoint ScreenToControl(const TControl* Control, TPoint P)
{
    TPoint Offset;
    for (; Control != nullptr; Control = Control->Parent()) {
        if (const auto* Win = dynamic_cast<const TWinControl*>(Control);
            Win != nullptr && Win->HandleAllocated()) {
            ScreenToClient(const_cast<TWinControl*>(Win)->Handle(), P);
            return TPoint{P.X - Offset.X, P.Y - Offset.Y};
        }
        Offset.X += Control->Left();
        Offset.Y += Control->Top();
    }
    return TPoint{P.X - Offset.X, P.Y - Offset.Y};
}

TShiftState MouseShift(WPARAM Keys)
{
    TShiftState Shift = KeysToShiftState(static_cast<unsigned>(Keys));
    if (GetKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    return Shift;
}

} // namespace

TShiftState KeysToShiftState(unsigned Keys)
{
    TShiftState Shift;
    if (Keys & MK_SHIFT)
        Shift.Include(ssShift);
    if (Keys & MK_CONTROL)
        Shift.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        Shift.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        Shift.Include(ssRight);
    if (Keys & MK_MBUTTON)
        Shift.Include(ssMiddle);
    return Shift;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState Shift;
    if (GetKeyState(VK_SHIFT) < 0)
        Shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Shift.Include(ssCtrl);
    if (KeyData & (1 << 29))
        Shift.Include(ssAlt);
    return Shift;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState Shift;
    if (GetKeyState(VK_SHIFT) < 0)
        Shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    return Shift;
}

bool IsAccel(unsigned Key, const std::string& Caption)
{
    for (std::size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&')
            continue;
        if (Caption[I + 1] == '&') {
            ++I;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Caption[I + 1])) ==
               std::toupper(static_cast<int>(Key & 0xFF));
    }
    return false;
}

// ---- capture

TControl* GetCaptureControl()
{
    return CaptureControl;
}

void SetCaptureControl(TControl* Control)
{
    CaptureControl = nullptr;
    if (Control == nullptr) {
        ReleaseCapture();
        return;
    }
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) {
        if (Win->HandleAllocated())
            SetCapture(Win->Handle());
        return;
    }
    if (Control->Parent() != nullptr && Control->Parent()->HandleAllocated()) {
        CaptureControl = Control;
        SetCapture(Control->Parent()->Handle());
    }
}

void TControl::ForgetMouseControl(TControl* Control)
{
    if (CaptureControl == Control)
        SetCaptureControl(nullptr);
    if (MouseControl == Control)
        MouseControl = nullptr;
}

bool TControl::MouseCapture() const
{
    if (auto* Win = dynamic_cast<const TWinControl*>(this))
        return Win->HandleAllocated() && GetCapture() == Win->FHandle;
    return CaptureControl == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (MouseCapture() == Value)
        return;
    SetCaptureControl(Value ? this : nullptr);
}

// ---- the mouse on a control

void TControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A control dragged automatically starts its drag instead of taking the press.
        if (FDragMode == dmAutomatic) {
            SendCancelMode(this);
            BeginDrag(true);
            return;
        }
        SendCancelMode(this);
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (FControlStyle.Contains(csClickEvents))
            FControlState.Include(csClicked);
        FControlState.Include(csLButtonDown);
        break;
    case WM_LBUTTONUP:
        FControlState.Exclude(csLButtonDown);
        break;
    default:
        break;
    }
    if (Message.Msg == WM_MOUSEMOVE)
        HintMouseMessage(this, Message);
    Dispatch(Message);
}

void TControl::WMMouse(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const TShiftState Shift = MouseShift(Message.WParam);
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(Shift, X, Y);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, Shift, X, Y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, Shift, X, Y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, Shift, X, Y);
        break;
    case WM_LBUTTONDBLCLK:
        if (FControlStyle.Contains(csClickEvents))
            DblClick();
        MouseDown(mbLeft, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, Shift + TShiftState{ssDouble}, X, Y);
        break;
    case WM_LBUTTONUP: {
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        const bool Clicked = FControlState.Contains(csClicked);
        FControlState.Exclude(csClicked);
        if (Clicked && PtInRect(ClientRect(), TPoint{X, Y}))
            Click();
        MouseUp(mbLeft, Shift, X, Y);
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, Shift, X, Y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, Shift, X, Y);
        break;
    default:
        break;
    }
}

void TControl::CMMouseEnter(TMessage& Message)
{
    if (FParent != nullptr)
        FParent->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& Message)
{
    if (FParent != nullptr)
        FParent->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

// ---- the mouse in a window: to the control without a window under it

void TWinControl::WndProc(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg)) {
        const HWND Wnd = FHandle;
        TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
        ::ClientToScreen(Wnd, At);
        RouteMouse(Message);
        // A right-button release asks the window, and through it the control under the mouse,
        // for its context popup (the release's handlers may have freed the control).
        if (Message.Msg == WM_RBUTTONUP && Wnd != 0 && IsWindow(Wnd))
            SendMessage(Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), MakeLParam(At.X, At.Y));
        return;
    }
    if (Message.Msg == WM_MOUSELEAVE) {
        if (MouseControl != nullptr && (MouseControl == this || MouseControl->Parent() == this))
            TrackMouseControl(nullptr);
        return;
    }
    if (Message.Msg == WM_SETFOCUS) {
        if (TCustomForm* Form = GetParentForm(this))
            if (!Form->SetFocusedControl(this))
                return;
    }
    TControl::WndProc(Message);
}

void TWinControl::RouteMouse(TMessage& Message)
{
    const TPoint P{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    TControl* Target = nullptr;
    if (CaptureControl != nullptr && CaptureControl->Parent() == this) {
        Target = CaptureControl;
    } else if (GetCapture() != FHandle) {
        // Without the capture, a control without a window under the point takes the message.
        TControl* At = ControlAtPos(P, false);
        if (At != nullptr && !At->IsWindowed())
            Target = At;
    }
    if (Message.Msg == WM_MOUSEMOVE)
        TrackMouseControl(Target != nullptr ? Target : this);
    if (Target == nullptr) {
        TControl::WndProc(Message);
        return;
    }
    TMessage Moved = Message;
    Moved.LParam = MakeLParam(P.X - Target->Left(), P.Y - Target->Top());
    Target->WindowProc(Moved);
    Message.Result = Moved.Result;
}

void TWinControl::TrackMouseControl(TControl* Control)
{
    if (Control == MouseControl)
        return;
    TControl* Old = MouseControl;
    MouseControl = Control;
    if (Old != nullptr)
        Old->Perform(CM_MOUSELEAVE, 0, 0);
    if (Control == nullptr)
        HintMouseLeft();
    if (Control != nullptr && MouseControl == Control)
        Control->Perform(CM_MOUSEENTER, 0, 0);
    // A control without a hint of its own shows its parent's.
    if (Application != nullptr && MouseControl == Control) {
        const TControl* Source = Control;
        while (Source != nullptr && Source->Hint().empty())
            Source = Source->Parent();
        Application->SetHint(Source != nullptr ? GetLongHint(Source->Hint()) : std::string());
    }
}

// ---- keys

void TWinControl::WMKeyDown(TMessage& Message)
{
    if (DoKeyDown(Message))
        return;
    Inherited(Message);
    // F1 that no key event took asks the control for help.
    if (Message.WParam == VK_F1 && KeyDataToShiftState(Message.LParam).Empty()) {
        THelpInfo Info;
        Info.iCtrlId = 0;
        Info.hItemHandle = FHandle;
        Info.dwContextId = HelpContext();
        Info.MousePos = GetCursorPos();
        Perform(WM_HELP, 0, reinterpret_cast<LPARAM>(&Info));
    }
    ContextKey(Message);
}

void TWinControl::ContextKey(const TMessage& Message)
{
    if (IsContextKey(Message.WParam, KeyDataToShiftState(Message.LParam)))
        Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), KeyboardContextPoint);
}

void TWinControl::WMHelp(TMessage& Message)
{
    auto* Info = reinterpret_cast<THelpInfo*>(Message.LParam);
    int Context = 0;
    for (const TControl* Control = this; Control != nullptr && Context == 0;
         Control = Control->Parent())
        Context = Control->HelpContext();
    if (Info != nullptr)
        Info->dwContextId = Context;
    Message.Result = Application != nullptr && Application->HelpContext(Context) ? 1 : 0;
}

void TWinControl::WMSysKeyDown(TMessage& Message)
{
    if (DoKeyDown(Message))
        return;
    Inherited(Message);
    ContextKey(Message);
}

void TWinControl::WMKeyUp(TMessage& Message)
{
    if (!DoKeyUp(Message))
        Inherited(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message)
{
    if (!DoKeyUp(Message))
        Inherited(Message);
}

void TWinControl::WMChar(TMessage& Message)
{
    if (!DoKeyPress(Message))
        Inherited(Message);
}

// The route of a key before the control sees it: the shortcuts of the menus, CM_CHILDKEY to the
// control and up its parents (an answer takes the key), then the dialog keys the control does
// not want go to the form as CM_DIALOGKEY. A key taken here is not dispatched.
void TWinControl::CNKeyDown(TMessage& Message)
{
    Message.Result = 1;
    TWMKey Key;
    Key.Msg = Message.Msg;
    Key.CharCode = static_cast<std::uint16_t>(Message.WParam);
    Key.KeyData = Message.LParam;
    if (IsMenuKey(Key))
        return;
    if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    UINT Mask = 0;
    switch (Message.WParam) {
    case VK_TAB:
        Mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        Mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        Mask = DLGC_WANTALLKEYS;
        break;
    default:
        break;
    }
    if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0) {
        if (TCustomForm* Form = GetParentForm(this))
            if (Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0)
                return;
    }
    Message.Result = 0;
}

bool TWinControl::IsMenuKey(TWMKey& Key)
{
    for (TControl* Up = this; Up != nullptr; Up = Up->Parent())
        if (TPopupMenu* Menu = Up->PopupMenu(); Menu != nullptr && Menu->IsShortCut(Key))
            return true;
    TCustomForm* Form = GetParentForm(this);
    return Form != nullptr && Form->IsShortCut(Key);
}

// WParam the key, LParam the control it is for; a parent that answers takes the key.
void TWinControl::CMChildKey(TMessage& Message)
{
    if (Parent() != nullptr)
        Message.Result = Parent()->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}

void TWinControl::CNChar(TMessage& Message)
{
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
        if (TCustomForm* Form = GetParentForm(this))
            if (Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
                return;
    Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message)
{
    Message.Result = 0;
    if (Message.WParam != VK_SPACE)
        if (TCustomForm* Form = GetParentForm(this))
            Message.Result = Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinControl::CMDialogKey(TMessage& Message)
{
    Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message)
{
    Broadcast(Message);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    Word Key = static_cast<Word>(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    Word Key = static_cast<Word>(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    char Key = static_cast<char>(Message.WParam & 0xFF);
    KeyPress(Key);
    Message.WParam = static_cast<unsigned char>(Key);
    return Key == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

// ---- the wheel: the focused control, then up its parents

// The key flags and the delta in WParam, the mouse in screen coordinates in LParam. CM_MOUSEWHEEL
// has already gone up the parents; the window's default would hand the message up once more.
void TControl::WMMouseWheel(TMessage& Message)
{
    Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMMouseWheel(TMessage& Message)
{
    const TShiftState Shift = MouseShift(LoWord(Message.WParam));
    const int Delta = static_cast<std::int16_t>(HiWord(Message.WParam));
    const TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    Message.Result = 0;
    if (DoMouseWheel(Shift, Delta, At))
        Message.Result = 1;
    else if (FParent != nullptr)
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (Handled)
        return true;
    // A fine-grained wheel sends parts of a notch: the steps come once they add up to one.
    FWheelAccumulator += WheelDelta;
    while (FWheelAccumulator >= WHEEL_DELTA || FWheelAccumulator <= -WHEEL_DELTA) {
        if (FWheelAccumulator < 0) {
            FWheelAccumulator += WHEEL_DELTA;
            Handled = DoMouseWheelDown(Shift, MousePos);
        } else {
            FWheelAccumulator -= WHEEL_DELTA;
            Handled = DoMouseWheelUp(Shift, MousePos);
        }
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}

// ---- the context popup: the control under the mouse or with the focus, then up its parents

// WParam the window, LParam the mouse in screen coordinates, (-1, -1) from the keyboard.
void TControl::WMContextMenu(TMessage& Message)
{
    if (Message.Result != 0)
        return;
    const TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    const bool FromKeyboard = At == TPoint{-1, -1};
    bool Handled = false;
    DoContextPopup(FromKeyboard ? At : ScreenToControl(this, At), Handled);
    if (Handled) {
        Message.Result = 1;
        return;
    }
    if (ShowControlPopupMenu(this, At)) {
        Message.Result = 1;
        return;
    }
    if (!IsWindowed())
        return; // a control without a window: its parent goes on with the message
    if (FParent != nullptr)
        Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
    else
        Inherited(Message);
}

void TWinControl::WMContextMenu(TMessage& Message)
{
    if (Message.Result != 0)
        return;
    const TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    if (At != TPoint{-1, -1}) {
        TControl* Under = ControlAtPos(ScreenToControl(this, At), false);
        if (Under != nullptr && !Under->IsWindowed()) {
            Under->WindowProc(Message);
            if (Message.Result != 0)
                return;
        }
    }
    TControl::WMContextMenu(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

// ---- cancel mode

void TControl::SendCancelMode(TControl* Sender)
{
    for (TControl* Control = this; Control != nullptr; Control = Control->FParent)
        if (auto* Form = dynamic_cast<TCustomForm*>(Control))
            Form->SendCancelMode(Sender);
}
