// The mouse and the keys on their way to a control: the capture, the control under the mouse
// (CM_MOUSEENTER/CM_MOUSELEAVE), mouse messages turned into events and handed to controls
// without a window, and key messages turned into events, dialog keys, accelerators and F1 help.
#include "platform/forms/form.h"
#include "platform/forms/hints.h"
#include "platform/forms/wincontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/helpservice.h"
#include "platform/ui/input.h"

#include <cctype>

namespace {

TControl* CaptureControl = nullptr;
TControl* MouseControl = nullptr; // the control under the mouse, for CM_MOUSEENTER/LEAVE

bool IsMouseMessage(UINT Msg)
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL;
}

TShiftState MouseShift(WPARAM Keys)
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
    if (GetKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    return Shift;
}

} // namespace

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
        RouteMouse(Message);
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
    if (!DoKeyDown(Message))
        Inherited(Message);
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

void TWinControl::CNKeyDown(TMessage& Message)
{
    Message.Result = 1;
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
