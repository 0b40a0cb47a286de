// platform/dialogs/commondialog.cpp: the common dialogs' round trip through the service.
#include "platform/dialogs/commondialog.h"

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TCommonDialog::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCommonDialog::DoClose()
{
    if (OnClose)
        OnClose(this);
}

TDialogAnswer TCommonDialog::Run(const TDialogRequest& Request)
{
    DoShow();
    TDialogAnswer Answer;
    try {
        Answer = DialogService().Show(Request);
    } catch (...) {
        DoClose();
        throw;
    }
    DoClose();
    return Answer;
}
