// platform/dialogs/printformbase.h: TPrintFormBase, what the print, printer set-up and page
// set-up forms share: placement over their owner, the ways they add controls, the printer box
// with its status lines, the OK and Cancel buttons, and the number checks of their fields.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/ui/dialogservice.h"

#include <string>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TRadioButton;

class TPrintFormBase : public TDialogForm {
public:
    TPrintFormBase(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow,
                   const std::string& Caption, int Width, int Height);

    // What the controls hold now; Result by the modal result.
    virtual TDialogAnswer Answer() const;

    TComboBox* PrinterBox() const { return FPrinterBox; }
    TLabel* TypeLine() const { return FTypeLine; }
    TLabel* WhereLine() const { return FWhereLine; }
    TButton* OkButton() const { return FOk; }
    TButton* CancelButton() const { return FCancel; }

protected:
    // The group "Printer": the name box (the request's printers) and the status lines.
    TGroupBox* AddPrinterGroup(int X, int Y, int W);
    // OK (its click runs OkClick) and Cancel beside it.
    void AddButtons(int X, int Y);
    // Closes with OK when the fields hold what the dialog can take.
    virtual void OkClick();
    // The number a field holds; a box with Message and false when it holds none in Min..Max.
    bool CheckNumber(TEdit* Field, int Min, int Max, const std::string& Message, int& Value);
    // Shows a warning box and puts the focus on Field.
    void Refuse(TWinControl* Field, const std::string& Message);

    TDialogRequest FRequest;

private:
    void ShowPrinterStatus();

    TComboBox* FPrinterBox = nullptr;
    TLabel* FTypeLine = nullptr;
    TLabel* FWhereLine = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
};
