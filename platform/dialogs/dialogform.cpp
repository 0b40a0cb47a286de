// platform/dialogs/dialogform.cpp: the common dialogs' forms, placed over their owner.
#include "platform/dialogs/dialogform.h"

#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>

void TDialogForm::PlaceOverOwner(int Left, int Top)
{
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    TRect Over = Work;
    if (FOwnerWindow != 0 && IsWindowVisible(FOwnerWindow))
        GetWindowRect(FOwnerWindow, Over);
    int L = Over.Left + (Over.Width() - Width()) / 2;
    int T = Over.Top + (Over.Height() - Height()) / 2;
    if (Left >= 0 && Top >= 0) {
        L = Left;
        T = Top;
    }
    SetBounds(std::max(Work.Left, std::min(L, Work.Right - Width())),
              std::max(Work.Top, std::min(T, Work.Bottom - Height())), Width(), Height());
}

void TDialogForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    if (FOwnerWindow != 0)
        Params.WndParent = FOwnerWindow;
}
