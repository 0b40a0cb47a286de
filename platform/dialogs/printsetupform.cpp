// platform/dialogs/printsetupform.cpp: the printer set-up dialog's form.
#include "platform/dialogs/printsetupform.h"

#include "platform/gfx/devmode.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/radiobutton.h"

const char* PaperName(int Paper)
{
    return Paper == DMPAPER_LETTER ? "Letter" : "A4";
}

int PaperAt(int Index)
{
    return Index == 1 ? DMPAPER_LETTER : DMPAPER_A4;
}

int PaperIndex(int Paper)
{
    return Paper == DMPAPER_LETTER ? 1 : 0;
}

TPrinterSetupForm::TPrinterSetupForm(TComponent* AOwner, const TDialogRequest& Request,
                                     HWND OwnerWindow)
    : TPrintFormBase(AOwner, Request, OwnerWindow, "Print Setup", 424, 216)
{
    const TPrintSettings& S = Request.Print;
    AddPrinterGroup(8, 8, 408);
    TGroupBox* Paper = AddGroup("PaperGroup", "Paper", 8, 112, 240, 66);
    AddLabel(Paper, "SizeLabel", "Si&ze:", 10, 30);
    FPaper = AddList(Paper, "PaperSize", 60, 26, 170);
    for (int I = 0; I < 2; ++I)
        FPaper->Items()->Add(PaperName(PaperAt(I)));
    FPaper->SetItemIndex(PaperIndex(S.Paper));
    TGroupBox* Orientation = AddGroup("OrientationGroup", "Orientation", 256, 112, 160, 66);
    FPortrait = AddRadio(Orientation, "Portrait", "P&ortrait", 12, 20, 130);
    FLandscape = AddRadio(Orientation, "Landscape", "L&andscape", 12, 42, 130);
    (S.Orientation == DMORIENT_LANDSCAPE ? FLandscape : FPortrait)->SetChecked(true);
    AddButtons(260, 186);
    SetActiveControl(PrinterBox());
    PlaceOverOwner();
}

TDialogAnswer TPrinterSetupForm::Answer() const
{
    TDialogAnswer Result = TPrintFormBase::Answer();
    Result.Print.Paper = PaperAt(FPaper->ItemIndex());
    Result.Print.Orientation = FLandscape->Checked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    return Result;
}
