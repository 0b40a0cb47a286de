// platform/dialogs/findform.h: TFindForm, the modeless form of the find and replace dialogs:
// the text to find (and to put in its place), whole word, case, the direction, and the buttons
// that report to the dialog's OnNotify; it frees itself when closed.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/ui/dialogservice.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TRadioButton;

class TFindForm : public TDialogForm {
public:
    TFindForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    // The dialog's state now, with the action bit Action (a TFindOption number; -1: none).
    TDialogAnswer State(int Result, int Action) const;

    TEdit* FindEdit() const { return FFindEdit; }
    TEdit* ReplaceEdit() const { return FReplaceEdit; } // replace only
    TCheckBox* WholeWord() const { return FWholeWord; }
    TCheckBox* MatchCase() const { return FMatchCase; }
    TGroupBox* Direction() const { return FDirection; } // find only
    TRadioButton* Up() const { return FUp; }
    TRadioButton* Down() const { return FDown; }
    TButton* FindNextButton() const { return FFindNext; }
    TButton* ReplaceButton() const { return FReplace; }       // replace only
    TButton* ReplaceAllButton() const { return FReplaceAll; } // replace only
    TButton* CancelButton() const { return FCancel; }

protected:
    void DoClose(TCloseAction& Action) override;

private:
    void Report(int Action);
    void UpdateButtons();

    TDialogRequest FRequest;
    TEdit* FFindEdit = nullptr;
    TEdit* FReplaceEdit = nullptr;
    TCheckBox* FWholeWord = nullptr;
    TCheckBox* FMatchCase = nullptr;
    TGroupBox* FDirection = nullptr;
    TRadioButton* FUp = nullptr;
    TRadioButton* FDown = nullptr;
    TButton* FFindNext = nullptr;
    TButton* FReplace = nullptr;
    TButton* FReplaceAll = nullptr;
    TButton* FCancel = nullptr;
};
