// platform/dialogs/printformbase.cpp: the printer dialogs' shared form parts.
#include "platform/dialogs/printformbase.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/ui/printers.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstdlib>

TPrintFormBase::TPrintFormBase(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow,
                               const std::string& Caption, int Width, int Height)
    : TDialogForm(AOwner, OwnerWindow), FRequest(Request)
{
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption(Caption);
    SetClientWidth(Width);
    SetClientHeight(Height);
    HandleNeeded();
}

TGroupBox* TPrintFormBase::AddPrinterGroup(int X, int Y, int W)
{
    TGroupBox* Group = AddGroup("PrinterGroup", "Printer", X, Y, W, 96);
    TLabel* NameLabel = AddLabel(Group, "NameLabel", "&Name:", 10, 22);
    FPrinterBox = AddList(Group, "PrinterName", 70, 18, W - 80);
    NameLabel->SetFocusControl(FPrinterBox);
    for (const std::string& Name : FRequest.Print.Printers)
        FPrinterBox->Items()->Add(Name);
    FPrinterBox->SetItemIndex(FRequest.Print.PrinterIndex);
    FPrinterBox->OnChange = [this](TObject*) { ShowPrinterStatus(); };
    AddLabel(Group, "StatusLabel", "Status:", 10, 48);
    AddLabel(Group, "Status", "Ready", 70, 48);
    AddLabel(Group, "TypeLabel", "Type:", 10, 64);
    FTypeLine = AddLabel(Group, "Type", "", 70, 64);
    AddLabel(Group, "WhereLabel", "Where:", 10, 80);
    FWhereLine = AddLabel(Group, "Where", "", 70, 80);
    ShowPrinterStatus();
    return Group;
}

void TPrintFormBase::ShowPrinterStatus()
{
    const int Index = FPrinterBox->ItemIndex();
    const std::string Name = Index >= 0 ? FPrinterBox->Items()->Strings(Index) : std::string();
    const bool Pdf = Name == TPrinter::PdfFilePrinter;
    FTypeLine->SetCaption(Pdf ? "PDF writer" : "Print queue");
    FWhereLine->SetCaption(Pdf ? TPrinter::FilePort : Name);
}

void TPrintFormBase::AddButtons(int X, int Y)
{
    FOk = new TButton(this);
    FOk->SetName("OK");
    FOk->SetParent(this);
    FOk->SetCaption("OK");
    FOk->SetBounds(X, Y, 75, 23);
    FOk->SetDefault(true);
    FOk->OnClick = [this](TObject*) { OkClick(); };
    FCancel = new TButton(this);
    FCancel->SetName("Cancel");
    FCancel->SetParent(this);
    FCancel->SetCaption("Cancel");
    FCancel->SetBounds(X + 83, Y, 75, 23);
    FCancel->SetCancel(true);
    FCancel->SetModalResult(mrCancel);
}

void TPrintFormBase::OkClick()
{
    SetModalResult(mrOk);
}

void TPrintFormBase::Refuse(TWinControl* Field, const std::string& Message)
{
    MessageDlg(Message, mtWarning, TMsgDlgButtons{mbOK}, 0);
    FocusControl(Field);
}

bool TPrintFormBase::CheckNumber(TEdit* Field, int Min, int Max, const std::string& Message,
                                 int& Value)
{
    const std::string Text = Trim(Field->Text());
    const bool Digits = !Text.empty() && Text.size() <= 9 &&
                        Text.find_first_not_of("0123456789") == std::string::npos;
    Value = Digits ? std::atoi(Text.c_str()) : 0;
    if (Digits && Value >= Min && Value <= Max)
        return true;
    Refuse(Field, Message);
    return false;
}

TDialogAnswer TPrintFormBase::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult() == mrOk ? mrOk : mrCancel;
    Result.Print = FRequest.Print;
    if (FPrinterBox != nullptr && FPrinterBox->ItemIndex() >= 0)
        Result.Print.PrinterIndex = FPrinterBox->ItemIndex();
    return Result;
}
