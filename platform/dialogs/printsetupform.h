// platform/dialogs/printsetupform.h: TPrinterSetupForm, the printer set-up dialog's form: the
// printer with its status, the paper size and the orientation.
#pragma once

#include "platform/dialogs/printformbase.h"

class TPrinterSetupForm : public TPrintFormBase {
public:
    TPrinterSetupForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    TDialogAnswer Answer() const override;

    TComboBox* PaperBox() const { return FPaper; }
    TRadioButton* Portrait() const { return FPortrait; }
    TRadioButton* Landscape() const { return FLandscape; }

private:
    TComboBox* FPaper = nullptr;
    TRadioButton* FPortrait = nullptr;
    TRadioButton* FLandscape = nullptr;
};

// The paper sizes the printers take, as the dialogs list them, and their DMPAPER codes.
const char* PaperName(int Paper);
int PaperAt(int Index); // by the list's index: A4, Letter
int PaperIndex(int Paper);
