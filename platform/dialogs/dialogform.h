// platform/dialogs/dialogform.h: what the common dialogs' forms share: they belong to the window
// they were asked from, and they open over it, inside the work area.
#pragma once

#include "platform/forms/form.h"

#include <string>

class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TRadioButton;

class TDialogForm : public TForm {
public:
    TDialogForm(TComponent* AOwner, HWND OwnerWindow) : TForm(AOwner), FOwnerWindow(OwnerWindow) {}

protected:
    // Centred over the owner's window when it is visible, else over the work area, and kept
    // inside the work area; Left and Top, when both are given (0 or more), are taken as they are.
    void PlaceOverOwner(int Left = -1, int Top = -1);
    void CreateParams(TCreateParams& Params) override;

    // Controls owned by the form, named and placed on Parent.
    TLabel* AddLabel(TWinControl* Parent, const std::string& Name, const std::string& Caption,
                     int X, int Y);
    TGroupBox* AddGroup(const std::string& Name, const std::string& Caption, int X, int Y, int W,
                        int H);
    TRadioButton* AddRadio(TWinControl* Parent, const std::string& Name, const std::string& Caption,
                           int X, int Y, int W);
    TCheckBox* AddCheck(TWinControl* Parent, const std::string& Name, const std::string& Caption,
                        int X, int Y, int W);
    TEdit* AddEdit(TWinControl* Parent, const std::string& Name, int X, int Y, int W);
    TComboBox* AddList(TWinControl* Parent, const std::string& Name, int X, int Y, int W);

    HWND FOwnerWindow = 0;
};
