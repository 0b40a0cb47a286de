#include "platform/stdctrls/checkbox.h"

const TMessageMap& TCustomCheckBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomCheckBox::CNCommand>(CN_COMMAND),
        OnMessage<&TCustomCheckBox::CMDialogChar>(CM_DIALOGCHAR),
    });
    static constexpr TMessageMap Map{Handlers, &TButtonControl::ClassMessageMap};
    return Map;
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    if (HandleAllocated())
        Perform(BM_SETCHECK, static_cast<WPARAM>(FState), 0);
    if (!ClicksDisabled())
        Click();
}

void TCustomCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    Perform(BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::CNCommand(TMessage& Message)
{
    if (HiWord(Message.WParam) == BN_CLICKED)
        Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused())
            Toggle();
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}
