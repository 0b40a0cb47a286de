// The printer dialogs driven as forms: the print dialog refusing a page range outside the
// pages or backwards, the printer set-up choosing paper and orientation, the page set-up with
// its hook and a margin check, and the print dialog's picture.
#include "tests/platform/dialogs/commondialogstest.h"
#include "tests/platform/dialogs/printdialogstest.h"
#include "tests/support/golden.h"

#include "platform/dialogs/pagesetup.h"
#include "platform/dialogs/pagesetupform.h"
#include "platform/dialogs/printdialogs.h"
#include "platform/dialogs/printform.h"
#include "platform/dialogs/printsetupform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/radiobutton.h"

#include <gtest/gtest.h>

namespace {

class PrintForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
    TKnownPrinters Printers;
};

TFormScript::TStep ExpectBox(const std::string& Text)
{
    return [Text](TCustomForm* Form) {
        auto* Box = FormAs<TMessageForm>(Form);
        ASSERT_NE(Box, nullptr);
        EXPECT_EQ(Box->Message()->Caption(), Text);
        InjectKeyPress(VK_RETURN);
    };
}

PAGESETUPDLG* HookedWith = nullptr;
HWND HookedDialog = 0;

UINT_PTR MoveToCorner(HWND Dialog, UINT Msg, WPARAM, LPARAM LParam)
{
    if (Msg == WM_INITDIALOG) {
        HookedWith = reinterpret_cast<PAGESETUPDLG*>(LParam);
        HookedDialog = Dialog;
        SetWindowPos(Dialog, 0, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    return 0;
}

} // namespace

TEST_F(PrintForms, ThePrintDialogRefusesPagesOutsideTheRangeAndBackwards)
{
    TPrintDialog D(nullptr);
    D.SetOptions(TPrintDialogOptions{poPageNums, poPrintToFile});
    D.SetMinPage(1);
    D.SetMaxPage(5);
    D.SetFromPage(1);
    D.SetToPage(5);
    D.SetPrintRange(prPageNums);
    const std::string Outside =
        "This value is not within the page range.\nEnter a number between 1 and 5.";
    TFormScript Script(App, {[&](TCustomForm* Form) {
                                 auto* Dialog = FormAs<TPrintForm>(Form);
                                 ASSERT_NE(Dialog, nullptr);
                                 EXPECT_EQ(Dialog->Caption(), "Print");
                                 EXPECT_EQ(Dialog->PrinterBox()->Text(), "PDF file");
                                 EXPECT_TRUE(Dialog->Pages()->Checked());
                                 EXPECT_FALSE(Dialog->Selection()->Enabled());
                                 EXPECT_TRUE(Dialog->PrintToFile()->Visible());
                                 Dialog->ToEdit()->SetText("7");
                                 ClickCentre(Dialog->OkButton());
                             },
                             ExpectBox(Outside),
                             [&](TCustomForm* Form) {
                                 auto* Dialog = FormAs<TPrintForm>(Form);
                                 ASSERT_NE(Dialog, nullptr);
                                 EXPECT_TRUE(Dialog->ToEdit()->Focused());
                                 Dialog->FromEdit()->SetText("4");
                                 Dialog->ToEdit()->SetText("2");
                                 ClickCentre(Dialog->OkButton());
                             },
                             ExpectBox("The 'From' page cannot be greater than the 'To' page."),
                             [&](TCustomForm* Form) {
                                 auto* Dialog = FormAs<TPrintForm>(Form);
                                 ASSERT_NE(Dialog, nullptr);
                                 Dialog->ToEdit()->SetText("5");
                                 Dialog->PrinterBox()->SetItemIndex(2);
                                 ClickCentre(Dialog->PrintToFile());
                                 Dialog->CopiesEdit()->SetText("2");
                                 ClickCentre(Dialog->Collate());
                                 ClickCentre(Dialog->OkButton());
                             }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Ran(), 5u);
    EXPECT_EQ(D.FromPage(), 4);
    EXPECT_EQ(D.ToPage(), 5);
    EXPECT_EQ(D.Copies(), 2);
    EXPECT_TRUE(D.Collate());
    EXPECT_TRUE(D.PrintToFile());
    EXPECT_EQ(Printer()->PrinterIndex(), 2);
    EXPECT_EQ(TKnownPrinters::Port(), "FILE:");
}

TEST_F(PrintForms, ThePrinterSetupChoosesPaperAndOrientation)
{
    TPrinterSetupDialog D(nullptr);
    TFormScript Script(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TPrinterSetupForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           EXPECT_EQ(Dialog->PaperBox()->Text(), "A4");
                           EXPECT_TRUE(Dialog->Portrait()->Checked());
                           Dialog->PrinterBox()->SetItemIndex(1);
                           Dialog->PaperBox()->SetItemIndex(1);
                           ClickCentre(Dialog->Landscape());
                           InjectKeyPress(VK_RETURN);
                       }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Printer()->PrinterIndex(), 1);
    EXPECT_EQ(TKnownPrinters::Paper(), DMPAPER_LETTER);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
}

TEST_F(PrintForms, ThePageSetupCallsItsHookAndChecksTheMargins)
{
    HookedWith = nullptr;
    HookedDialog = 0;
    PAGESETUPDLG Psd{};
    Psd.lStructSize = sizeof Psd;
    Psd.Flags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES | PSD_ENABLEPAGESETUPHOOK;
    Psd.rtMargin = TRect{1000, 1000, 1000, 1000};
    Psd.lpfnPageSetupHook = &MoveToCorner;
    TFormScript Script(App,
                       {[&](TCustomForm* Form) {
                            auto* Dialog = FormAs<TPageSetupForm>(Form);
                            ASSERT_NE(Dialog, nullptr);
                            EXPECT_EQ(HookedWith, &Psd);
                            EXPECT_EQ(HookedDialog, Dialog->Handle());
                            EXPECT_EQ(Dialog->Left(), 10) << "the hook placed the dialog";
                            EXPECT_EQ(Dialog->Top(), 20);
                            EXPECT_EQ(Dialog->MarginEdit(0)->Text(), "1");
                            Dialog->MarginEdit(0)->SetText("5");
                            Dialog->MarginEdit(2)->SetText("4");
                            ClickCentre(Dialog->OkButton());
                        },
                        ExpectBox("The margins overlap or are off the paper.\nEnter a new margin "
                                  "measurement."),
                        [&](TCustomForm* Form) {
                            auto* Dialog = FormAs<TPageSetupForm>(Form);
                            ASSERT_NE(Dialog, nullptr);
                            Dialog->MarginEdit(0)->SetText("0.75");
                            ClickCentre(Dialog->Landscape());
                            ClickCentre(Dialog->OkButton());
                        }});
    ASSERT_EQ(PageSetupDlg(&Psd), 1);
    EXPECT_EQ(Psd.rtMargin, (TRect{750, 1000, 4000, 1000}));
    EXPECT_EQ(Psd.ptPaperSize, (TPoint{11693, 8268}));
    GlobalFree(Psd.hDevMode);
    GlobalFree(Psd.hDevNames);
}

TEST_F(PrintForms, ThePrintDialogLooksAsItsGoldenPicture)
{
    TDialogRequest R;
    R.Kind = TDialogKind::Print;
    R.Print.Printers = {"PDF file", "office"};
    R.Print.PrinterIndex = 1;
    R.Print.Copies = 2;
    R.Print.Collate = true;
    R.Print.MinPage = 1;
    R.Print.MaxPage = 12;
    R.Print.FromPage = 1;
    R.Print.ToPage = 12;
    R.Options = (1u << poPrintToFile) | (1u << poPageNums);
    TPrintForm Form(nullptr, R);
    Form.Show();
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form.Handle())->Raster();
    ExpectMatchesGoldenPng(Raster, Form.ClientRect(), "dialogs/printdialog.png");
}
