// platform/dialogs/dialogform.cpp: the common dialogs' forms, placed over their owner, and the
// builders of their controls.
#include "platform/dialogs/dialogform.h"

#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/radiobutton.h"
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

TLabel* TDialogForm::AddLabel(TWinControl* Parent, const std::string& Name,
                              const std::string& Caption, int X, int Y)
{
    auto* Label = new TLabel(this);
    Label->SetName(Name);
    Label->SetParent(Parent);
    Label->SetCaption(Caption);
    Label->SetLeft(X);
    Label->SetTop(Y);
    return Label;
}

TGroupBox* TDialogForm::AddGroup(const std::string& Name, const std::string& Caption, int X, int Y,
                                 int W, int H)
{
    auto* Group = new TGroupBox(this);
    Group->SetName(Name);
    Group->SetParent(this);
    Group->SetCaption(Caption);
    Group->SetBounds(X, Y, W, H);
    return Group;
}

TRadioButton* TDialogForm::AddRadio(TWinControl* Parent, const std::string& Name,
                                    const std::string& Caption, int X, int Y, int W)
{
    auto* Radio = new TRadioButton(this);
    Radio->SetName(Name);
    Radio->SetParent(Parent);
    Radio->SetCaption(Caption);
    Radio->SetBounds(X, Y, W, 17);
    return Radio;
}

TCheckBox* TDialogForm::AddCheck(TWinControl* Parent, const std::string& Name,
                                 const std::string& Caption, int X, int Y, int W)
{
    auto* Check = new TCheckBox(this);
    Check->SetName(Name);
    Check->SetParent(Parent);
    Check->SetCaption(Caption);
    Check->SetBounds(X, Y, W, 17);
    return Check;
}

TEdit* TDialogForm::AddEdit(TWinControl* Parent, const std::string& Name, int X, int Y, int W)
{
    auto* Edit = new TEdit(this);
    Edit->SetName(Name);
    Edit->SetParent(Parent);
    Edit->SetBounds(X, Y, W, 21);
    return Edit;
}

TComboBox* TDialogForm::AddList(TWinControl* Parent, const std::string& Name, int X, int Y, int W)
{
    auto* Box = new TComboBox(this);
    Box->SetName(Name);
    Box->SetParent(Parent);
    Box->SetStyle(csDropDownList);
    Box->SetBounds(X, Y, W, Box->Height());
    return Box;
}
