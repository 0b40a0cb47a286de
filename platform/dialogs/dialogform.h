// platform/dialogs/dialogform.h: what the common dialogs' forms share: they belong to the window
// they were asked from, and they open over it, inside the work area.
#pragma once

#include "platform/forms/form.h"

class TDialogForm : public TForm {
public:
    TDialogForm(TComponent* AOwner, HWND OwnerWindow) : TForm(AOwner), FOwnerWindow(OwnerWindow) {}

protected:
    // Centred over the owner's window when it is visible, else over the work area, and kept
    // inside the work area; Left and Top, when both are given (0 or more), are taken as they are.
    void PlaceOverOwner(int Left = -1, int Top = -1);
    void CreateParams(TCreateParams& Params) override;

    HWND FOwnerWindow = 0;
};
