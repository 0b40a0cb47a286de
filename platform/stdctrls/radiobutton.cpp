#include "platform/stdctrls/radiobutton.h"

const TMessageMap& TRadioButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TRadioButton::CNCommand>(CN_COMMAND),
        OnMessage<&TRadioButton::CMDialogChar>(CM_DIALOGCHAR),
    });
    static constexpr TMessageMap Map{Handlers, &TButtonControl::ClassMessageMap};
    return Map;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    SetTabStop(Value);
    if (HandleAllocated())
        Perform(BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value)
        return;
    if (TWinControl* Up = Parent())
        for (int I = 0; I < Up->ControlCount(); ++I)
            if (auto* Sibling = dynamic_cast<TRadioButton*>(Up->Controls(I));
                Sibling != nullptr && Sibling != this)
                Sibling->SetChecked(false);
    if (!ClicksDisabled())
        Click();
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    Perform(BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::CNCommand(TMessage& Message)
{
    if (HiWord(Message.WParam) == BN_CLICKED)
        SetChecked(true);
}

void TRadioButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused())
            SetChecked(true);
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}
