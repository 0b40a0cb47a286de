// platform/stdctrls/buttons.h: TButtonControl, the base of the controls on the "BUTTON" window
// class (platform/stdctrls/buttonwindow.h), and TButton, the push button: Default answers Enter,
// Cancel answers Escape, ModalResult closes a modal form.
#pragma once

#include "platform/forms/form.h"

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    ~TButtonControl() override;

    // What the control does not answer goes to the window class.
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual bool GetChecked() const { return false; }
    virtual void SetChecked(bool) {}
    // While set, a change of state made in code does not call Click.
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

    void WMPaint(TMessage& Message);
    void WMMouse(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    bool FClicksDisabled = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Gives the form the button's ModalResult, then OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    // The button is the one Enter clicks: the default frame (a BS_DEFPUSHBUTTON style).
    virtual void SetButtonStyle(bool ADefault);
    // True while Enter would click this button.
    bool Active() const { return FActive; }

    void CNCommand(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMFocusChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};
