// platform/stdctrls/checkbox.h: TCustomCheckBox and TCheckBox, a check box with two or three
// states (AllowGrayed cycles unchecked, grayed, checked), on the "BUTTON" window class.
#pragma once

#include "platform/stdctrls/buttons.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Checked() const { return GetChecked(); }
    void SetChecked(bool Value) override;
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    // taRightJustify: the text right of the box (the usual); taLeftJustify: left of it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    bool GetChecked() const override { return FState == cbChecked; }
    // The next state of a click: unchecked -> (grayed when allowed) -> checked -> unchecked.
    virtual void Toggle();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

    void CNCommand(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};
