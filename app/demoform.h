// app/demoform.h: the form the program shows while it has no main window of its own: a label, a
// button that counts its clicks (mouse, or Enter as the form's default button), and an edit line
// for typed text that Ctrl+C copies to the clipboard.
#pragma once

#include "platform/forms/form.h"

#include <string>

// Text drawn on its parent in the control's font.
class TDemoLabel : public TGraphicControl {
public:
    explicit TDemoLabel(TComponent* AOwner);

protected:
    void Paint() override;
};

// A push button; the default one clicks on Enter wherever the focus is in its form.
class TDemoButton : public TCustomControl {
public:
    explicit TDemoButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void CMDialogKey(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void SetDown(bool Value);

    bool FDefault = false;
    bool FDown = false; // pressed with the mouse, pointer inside
};

// One line of typed UTF-8 text: Backspace takes back a whole character, Ctrl+C copies the text.
class TDemoEdit : public TCustomControl {
public:
    explicit TDemoEdit(TComponent* AOwner);

protected:
    void Paint() override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& Message);
    TW_MESSAGE_MAP();
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner);

    int Clicks() const { return FClicks; }

    TDemoLabel* Intro;
    TDemoButton* Button;
    TDemoLabel* Prompt;
    TDemoEdit* Edit;

private:
    void ButtonClick(TObject* Sender);

    int FClicks = 0;
};
