// platform/dialogs/printform.cpp: the print dialog's form: its controls by the request's options,
// and the checks of the page range and copies on OK.
#include "platform/dialogs/printform.h"

#include "platform/rtl/convert.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/stdctrls/radiobutton.h"

#include <algorithm>
#include <string>

namespace {

// The option bits the form looks at (as TPrintDialogOption numbers them).
constexpr unsigned PrintToFileBit = 1u << 0;
constexpr unsigned PageNumsBit = 1u << 1;
constexpr unsigned SelectionBit = 1u << 2;
constexpr unsigned DisablePrintToFileBit = 1u << 5;

constexpr int RangeSelection = 1;
constexpr int RangePages = 2;
constexpr int MaxCopies = 9999;

} // namespace

TPrintForm::TPrintForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TPrintFormBase(AOwner, Request, OwnerWindow, "Print", 424, 254)
{
    const TPrintSettings& S = Request.Print;
    const unsigned Options = Request.Options;
    TGroupBox* PrinterGroup = AddPrinterGroup(8, 8, 408);
    FPrintToFile = AddCheck(PrinterGroup, "PrintToFile", "Print to fi&le", 300, 76, 100);
    FPrintToFile->SetChecked(S.PrintToFile);
    FPrintToFile->SetVisible((Options & PrintToFileBit) != 0);
    FPrintToFile->SetEnabled((Options & DisablePrintToFileBit) == 0);

    TGroupBox* Range = AddGroup("RangeGroup", "Print range", 8, 112, 220, 104);
    FAll = AddRadio(Range, "All", "&All", 10, 20, 200);
    FPages = AddRadio(Range, "Pages", "Pa&ges", 10, 46, 58);
    AddLabel(Range, "FromLabel", "&from:", 70, 48);
    FFrom = AddEdit(Range, "From", 100, 44, 40);
    AddLabel(Range, "ToLabel", "&to:", 148, 48);
    FTo = AddEdit(Range, "To", 168, 44, 40);
    FSelection = AddRadio(Range, "Selection", "&Selection", 10, 76, 200);
    // Page numbers need the option and a range of pages to choose from.
    const bool PageNums = (Options & PageNumsBit) != 0 && S.MinPage != S.MaxPage;
    FPages->SetEnabled(PageNums);
    FFrom->SetEnabled(PageNums);
    FTo->SetEnabled(PageNums);
    FSelection->SetEnabled((Options & SelectionBit) != 0);
    if (S.FromPage != 0 || S.ToPage != 0) {
        FFrom->SetText(IntToStr(S.FromPage));
        FTo->SetText(IntToStr(S.ToPage));
    }
    if (S.PrintRange == RangePages && PageNums)
        FPages->SetChecked(true);
    else if (S.PrintRange == RangeSelection && FSelection->Enabled())
        FSelection->SetChecked(true);
    else
        FAll->SetChecked(true);
    // Typing a page number chooses the page range.
    auto ChoosePages = [this](TObject*) {
        if (FFrom->Focused() || FTo->Focused())
            FPages->SetChecked(true);
    };
    FFrom->OnChange = ChoosePages;
    FTo->OnChange = ChoosePages;

    TGroupBox* Copies = AddGroup("CopiesGroup", "Copies", 236, 112, 180, 104);
    TLabel* CopiesLabel = AddLabel(Copies, "CopiesLabel", "Number of &copies:", 10, 22);
    FCopies = AddEdit(Copies, "Copies", 118, 18, 50);
    FCopies->SetText(IntToStr(S.Copies > 0 ? S.Copies : 1));
    CopiesLabel->SetFocusControl(FCopies);
    FCollatePicture = new TPaintBox(this);
    FCollatePicture->SetName("CollatePicture");
    FCollatePicture->SetParent(Copies);
    FCollatePicture->SetBounds(10, 48, 90, 48);
    FCollatePicture->OnPaint = [this](TObject*) { PaintCollate(); };
    FCollate = AddCheck(Copies, "Collate", "C&ollate", 106, 64, 66);
    FCollate->SetChecked(S.Collate);
    FCollate->OnClick = [this](TObject*) { FCollatePicture->Invalidate(); };

    AddButtons(260, 224);
    SetActiveControl(FAll->Checked() ? FAll : FPages->Checked() ? FPages : FSelection);
    PlaceOverOwner();
}

void TPrintForm::PaintCollate()
{
    // Two copies of three pages, in the order they come out.
    TCanvas* C = FCollatePicture->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(FCollatePicture->ClientRect());
    const char* const Order = FCollate->Checked() ? "123123" : "112233";
    for (int I = 0; I < 6; ++I) {
        const int X = (I / 3) * 46 + (I % 3) * 9;
        const int Y = (I % 3) * 6;
        const TRect Page{X, Y, X + 22, Y + 28};
        C->Pen()->SetColor(clBlack);
        C->Brush()->SetColor(clWhite);
        C->Rectangle(Page);
        TRect Text = Page;
        C->Brush()->SetStyle(bsClear);
        C->DrawText(std::string(1, Order[I]), Text, DT_SINGLELINE | DT_CENTER | DT_BOTTOM);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TPrintForm::OkClick()
{
    const TPrintSettings& S = FRequest.Print;
    int Value = 0;
    if (FPages->Checked()) {
        const int Low = std::min(S.MinPage, S.MaxPage);
        const int High = std::max(S.MinPage, S.MaxPage);
        const std::string Outside = "This value is not within the page range.\nEnter a number "
                                    "between " +
                                    IntToStr(Low) + " and " + IntToStr(High) + ".";
        int From = 0, To = 0;
        if (!CheckNumber(FFrom, Low, High, Outside, From) ||
            !CheckNumber(FTo, Low, High, Outside, To))
            return;
        if (From > To) {
            Refuse(FFrom, "The 'From' page cannot be greater than the 'To' page.");
            return;
        }
    }
    if (!CheckNumber(FCopies, 1, MaxCopies,
                     "The number of copies must be between 1 and " + IntToStr(MaxCopies) + ".",
                     Value))
        return;
    SetModalResult(mrOk);
}

TDialogAnswer TPrintForm::Answer() const
{
    TDialogAnswer Result = TPrintFormBase::Answer();
    TPrintSettings& S = Result.Print;
    S.PrintToFile = FPrintToFile->Visible() && FPrintToFile->Checked();
    S.Collate = FCollate->Checked();
    S.Copies = StrToIntDef(FCopies->Text(), S.Copies);
    S.PrintRange = FPages->Checked() ? RangePages : FSelection->Checked() ? RangeSelection : 0;
    if (FPages->Checked()) {
        S.FromPage = StrToIntDef(FFrom->Text(), S.FromPage);
        S.ToPage = StrToIntDef(FTo->Text(), S.ToPage);
    }
    return Result;
}
