#include "platform/stdctrls/buttons.h"

#include "platform/stdctrls/buttonwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

// ---- TButtonControl

const TMessageMap& TButtonControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TButtonControl::WMPaint>(WM_PAINT),
        OnMessages<&TButtonControl::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    // The window class tracks the press and reports the click itself.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetColor(clBtnFace);
    SetTabStop(true);
}

TButtonControl::~TButtonControl()
{
    DestroyHandle();
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterButtonClass();
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TButtonControl::CreateWnd()
{
    TWinControl::CreateWnd();
    ButtonWndProc(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
}

void TButtonControl::DefaultHandler(TMessage& Message)
{
    if (!HandleAllocated()) {
        TWinControl::DefaultHandler(Message);
        return;
    }
    Message.Result = ButtonWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
}

void TButtonControl::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TButtonControl::WMMouse(TMessage& Message)
{
    Inherited(Message);
    DefaultHandler(Message);
}

// ---- TButton

const TMessageMap& TButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TButton::CNCommand>(CN_COMMAND),
        OnMessage<&TButton::CMDialogKey>(CM_DIALOGKEY),
        OnMessage<&TButton::CMDialogChar>(CM_DIALOGCHAR),
        OnMessage<&TButton::CMFocusChanged>(CM_FOCUSCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TButtonControl::ClassMessageMap};
    return Map;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value)
{
    if (Value == FDefault)
        return;
    FDefault = Value;
    if (!HandleAllocated())
        return;
    TCustomForm* Form = GetParentForm(this);
    TWinControl* Focus = Form != nullptr ? Form->ActiveControl() : nullptr;
    if (dynamic_cast<TButton*>(Focus) == nullptr) {
        FActive = Value;
        SetButtonStyle(Value);
    }
}

void TButton::Click()
{
    if (TCustomForm* Form = GetParentForm(this))
        Form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    FActive = FDefault;
}

void TButton::SetButtonStyle(bool ADefault)
{
    if (!HandleAllocated())
        return;
    const DWORD Style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((static_cast<DWORD>(GetWindowLong(WindowHandle(), GWL_STYLE)) & BS_TYPEMASK) != Style)
        Perform(BM_SETSTYLE, Style, 1);
}

void TButton::CNCommand(TMessage& Message)
{
    if (HiWord(Message.WParam) == BN_CLICKED)
        Click();
}

void TButton::CMDialogKey(TMessage& Message)
{
    const bool Plain = KeyDataToShiftState(Message.LParam).Empty();
    if (((Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && FCancel)) &&
        Plain && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

// The focused button is the one Enter clicks; with the focus on another kind of control, the
// default button is.
void TButton::CMFocusChanged(TMessage& Message)
{
    auto* Focused = reinterpret_cast<TWinControl*>(Message.LParam);
    const bool Active = dynamic_cast<TButton*>(Focused) != nullptr ? Focused == this : FDefault;
    if (Active != FActive) {
        FActive = Active;
        SetButtonStyle(Active);
    }
    Inherited(Message);
}
