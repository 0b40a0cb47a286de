// platform/dialogs/messageform.h: TMessageForm, the form of one box built from its request: the
// picture, the text wrapped to fit the work area, the edit field of an input box, and the
// captioned buttons with the default one and the answers of Escape and the close box.
#pragma once

#include "platform/dialogs/boxicons.h"
#include "platform/forms/form.h"
#include "platform/ui/dialogservice.h"

#include <string>
#include <vector>

class TButton;
class TEdit;
class TImage;
class TLabel;

class TMessageForm : public TForm {
public:
    // Builds the box for Request, sized and placed over OwnerWindow (0: the work area), for
    // which its window is transient.
    TMessageForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    // The answer once ShowModal has returned: the button pressed (an input box's text in Value).
    TDialogAnswer Answer() const;

    TBoxIcon BoxIcon() const { return FBoxIcon; }
    TImage* Image() const { return FImage; }     // null without a picture
    TLabel* Message() const { return FMessage; } // the text, or an input box's prompt
    TEdit* Edit() const { return FEdit; }        // input boxes only
    // In order, left to right; a Help button last.
    const std::vector<TButton*>& Buttons() const { return FButtons; }
    // The button giving Result, or null.
    TButton* ButtonOf(int Result) const;
    // What Escape and the close box answer; mrNone when neither closes the box.
    int EscapeResult() const { return FEscapeResult; }

    // The caption of the button giving Result ("&Yes", "OK" ...).
    static std::string ButtonCaption(int Result);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WMClose(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void AddButtons(const TDialogRequest& Request);
    void Arrange(const TDialogRequest& Request, HWND OwnerWindow);

    TDialogKind FKind;
    std::string FValue;
    TBoxIcon FBoxIcon = TBoxIcon::None;
    TImage* FImage = nullptr;
    TLabel* FMessage = nullptr;
    TEdit* FEdit = nullptr;
    std::vector<TButton*> FButtons;
    int FEscapeResult = mrNone;
    HWND FOwnerWindow = 0;
};

// What Escape and the close box answer for Request: Cancel when the box has a Cancel button;
// a MessageBox with only OK and ShowMessage OK; a MessageDlg without Cancel No, else OK; mrNone
// (neither closes the box) for the rest, as MB_YESNO and MB_ABORTRETRYIGNORE.
int EscapeDialogResult(const TDialogRequest& Request);
