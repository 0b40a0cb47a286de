// platform/dialogs/printform.h: TPrintForm, the print dialog's form: the printer with its status
// and Print to file, the range (all, the pages from and to, the selection) and the copies with
// Collate.
#pragma once

#include "platform/dialogs/printformbase.h"

class TPaintBox;

class TPrintForm : public TPrintFormBase {
public:
    TPrintForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    TDialogAnswer Answer() const override;

    TCheckBox* PrintToFile() const { return FPrintToFile; }
    TRadioButton* AllPages() const { return FAll; }
    TRadioButton* Pages() const { return FPages; }
    TRadioButton* Selection() const { return FSelection; }
    TEdit* FromEdit() const { return FFrom; }
    TEdit* ToEdit() const { return FTo; }
    TEdit* CopiesEdit() const { return FCopies; }
    TCheckBox* Collate() const { return FCollate; }

protected:
    void OkClick() override;

private:
    void PaintCollate();

    TCheckBox* FPrintToFile = nullptr;
    TRadioButton* FAll = nullptr;
    TRadioButton* FPages = nullptr;
    TRadioButton* FSelection = nullptr;
    TEdit* FFrom = nullptr;
    TEdit* FTo = nullptr;
    TEdit* FCopies = nullptr;
    TCheckBox* FCollate = nullptr;
    TPaintBox* FCollatePicture = nullptr;
};
