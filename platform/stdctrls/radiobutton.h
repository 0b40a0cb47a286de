// platform/stdctrls/radiobutton.h: TRadioButton, checked exclusively among the radio buttons of
// its parent; the arrow keys move the focus and the check between them.
#pragma once

#include "platform/stdctrls/buttons.h"

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    // Checking turns the parent's other radio buttons off and calls Click; only the checked
    // button is a tab stop.
    void SetChecked(bool Value) override;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    bool GetChecked() const override { return FChecked; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

    void CNCommand(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};
