// The printer dialogs through a scripted service: what TPrintDialog and TPrinterSetupDialog ask
// with and put on the printer object, and PageSetupDlg between the caller's blocks and the
// dialog: units, paper, orientation, the device names, cancelling, a wrong record.
#include "tests/platform/dialogs/printdialogstest.h"

#include "platform/dialogs/pagesetup.h"
#include "platform/dialogs/printdialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

TDialogAnswer Confirmed(std::function<void(TPrintSettings&)> Change)
{
    TDialogAnswer A;
    A.Result = mrOk;
    A.Print.Copies = 1;
    A.Print.Printers = {"PDF file", "office", "lab_2"};
    Change(A.Print);
    return A;
}

} // namespace

TEST(PrintDialogs, ThePrintDialogAsksWithThePrinterAndPutsTheChoiceOnIt)
{
    struct TCase {
        const char* Name;
        TPrintDialogOptions Options;
        TDialogAnswer Answer;
        bool Executed;
        int PrinterIndex;
        std::string Port;
        int Copies;
        TPrinterOrientation Orientation;
        TPrintRange Range;
        bool PrintToFile;
    };
    const std::vector<TCase> Cases = {
        {"a queue, three collated copies, landscape", TPrintDialogOptions{poPageNums},
         Confirmed([](TPrintSettings& S) {
             S.PrinterIndex = 1;
             S.Copies = 3;
             S.Collate = true;
             S.Orientation = DMORIENT_LANDSCAPE;
             S.PrintRange = prPageNums;
             S.FromPage = 2;
             S.ToPage = 4;
         }),
         true, 1, "office", 3, poLandscape, prPageNums, false},
        {"a queue printed to a file", TPrintDialogOptions{poPrintToFile},
         Confirmed([](TPrintSettings& S) {
             S.PrinterIndex = 2;
             S.PrintToFile = true;
         }),
         true, 2, "FILE:", 1, poPortrait, prAllPages, true},
        {"print to file not offered", TPrintDialogOptions{}, Confirmed([](TPrintSettings& S) {
             S.PrinterIndex = 2;
             S.PrintToFile = true;
         }),
         true, 2, "lab_2", 1, poPortrait, prAllPages, false},
        {"cancelled", TPrintDialogOptions{poPrintToFile},
         Confirmed([](TPrintSettings& S) { S.PrinterIndex = 2; }), false, 0, "FILE:", 1, poPortrait,
         prAllPages, false},
    };
    for (TCase Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TKnownPrinters Printers;
        TScriptedDialogs Script;
        if (!Case.Executed)
            Case.Answer.Result = mrCancel;
        Script.Answer(Case.Answer);
        TPrintDialog D(nullptr);
        D.SetOptions(Case.Options);
        D.SetMinPage(1);
        D.SetMaxPage(9);
        D.SetFromPage(1);
        D.SetToPage(9);
        EXPECT_EQ(D.Execute(), Case.Executed);
        ASSERT_EQ(Script.Calls().size(), 1u);
        const TDialogRequest& R = Script.Calls()[0];
        EXPECT_EQ(R.Kind, TDialogKind::Print);
        EXPECT_EQ(R.Print.Printers, (std::vector<std::string>{"PDF file", "office", "lab_2"}));
        EXPECT_EQ(R.Print.PrinterIndex, 0);
        EXPECT_EQ(R.Print.Copies, 1);
        EXPECT_EQ(R.Print.MinPage, 1);
        EXPECT_EQ(R.Print.MaxPage, 9);
        EXPECT_EQ(R.Options, static_cast<unsigned>(Case.Options.Bits()));
        EXPECT_EQ(Printer()->PrinterIndex(), Case.PrinterIndex);
        EXPECT_EQ(TKnownPrinters::Port(), Case.Port);
        EXPECT_EQ(Printer()->Copies(), Case.Copies);
        EXPECT_EQ(Printer()->Orientation(), Case.Orientation);
        EXPECT_EQ(D.PrintRange(), Case.Range);
        EXPECT_EQ(D.PrintToFile(), Case.PrintToFile);
        if (Case.Range == prPageNums) {
            EXPECT_EQ(D.FromPage(), 2);
            EXPECT_EQ(D.ToPage(), 4);
            EXPECT_EQ(D.Copies(), 3);
            EXPECT_TRUE(D.Collate());
        }
    }
}

TEST(PrintDialogs, AShortAnswerConfirmsWhatTheDialogShowed)
{
    TKnownPrinters Printers;
    Printer()->SetPrinterIndex(2);
    TScriptedDialogs Script;
    Script.Answer(mrOk);
    TPrintDialog D(nullptr);
    D.SetCopies(2);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Printer()->PrinterIndex(), 2);
    EXPECT_EQ(Printer()->Copies(), 2);
    EXPECT_EQ(D.Copies(), 2);
}

TEST(PrintDialogs, ThePrinterSetupPutsPrinterPaperAndOrientationOnThePrinter)
{
    TKnownPrinters Printers;
    TScriptedDialogs Script;
    Script.Answer(Confirmed([](TPrintSettings& S) {
        S.PrinterIndex = 1;
        S.Paper = DMPAPER_LETTER;
        S.Orientation = DMORIENT_LANDSCAPE;
    }));
    TPrinterSetupDialog D(nullptr);
    ASSERT_TRUE(D.Execute());
    const TDialogRequest& R = Script.Calls().at(0);
    EXPECT_EQ(R.Kind, TDialogKind::PrinterSetup);
    EXPECT_EQ(R.Print.Paper, DMPAPER_A4);
    EXPECT_EQ(R.Print.Orientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(Printer()->PrinterIndex(), 1);
    EXPECT_EQ(TKnownPrinters::Paper(), DMPAPER_LETTER);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    EXPECT_GT(Printer()->PageWidth(), Printer()->PageHeight());
}

TEST(PageSetup, TheCallTakesAndGivesBackMarginsPaperAndOrientationInTheUnitsAsked)
{
    struct TCase {
        const char* Name;
        DWORD Units;
        TRect Margins; // asked and answered
        int Paper;
        int Orientation;
        TPoint PaperSize; // given back
    };
    const std::vector<TCase> Cases = {
        {"inches, Letter landscape",
         PSD_INTHOUSANDTHSOFINCHES,
         {750, 1000, 750, 1250},
         DMPAPER_LETTER,
         DMORIENT_LANDSCAPE,
         {11000, 8500}},
        {"millimetres, A4 portrait",
         PSD_INHUNDREDTHSOFMILLIMETERS,
         {2000, 2500, 2000, 2500},
         DMPAPER_A4,
         DMORIENT_PORTRAIT,
         {21000, 29700}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TKnownPrinters Printers;
        TScriptedDialogs Script;
        Script.Answer(Confirmed([&](TPrintSettings& S) {
            S.PrinterIndex = 1;
            S.Margins = Case.Margins;
            S.Paper = Case.Paper;
            S.Orientation = Case.Orientation;
        }));
        PAGESETUPDLG Psd{};
        Psd.lStructSize = sizeof Psd;
        Psd.Flags = PSD_MARGINS | Case.Units;
        Psd.rtMargin = TRect{1000, 1000, 1000, 1000};
        Psd.hDevNames = MakeDevNames("CUPS", "office", "office");
        // A copy of the printer's settings block, as a caller makes it.
        Psd.hDevMode = GlobalAlloc(GHND, sizeof(DEVMODE));
        auto* Mode = static_cast<DEVMODE*>(GlobalLock(Psd.hDevMode));
        Mode->dmSize = sizeof(DEVMODE);
        Mode->dmFields = DM_PAPERSIZE | DM_ORIENTATION;
        Mode->dmPaperSize = DMPAPER_LETTER;
        Mode->dmOrientation = DMORIENT_PORTRAIT;
        GlobalUnlock(Psd.hDevMode);

        ASSERT_EQ(PageSetupDlg(&Psd), 1);
        const TDialogRequest& R = Script.Calls().at(0);
        EXPECT_EQ(R.Kind, TDialogKind::PageSetup);
        EXPECT_EQ(R.Print.PrinterIndex, 1) << "the printer the names block names";
        EXPECT_EQ(R.Print.Paper, DMPAPER_LETTER) << "the paper of the caller's block";
        EXPECT_EQ(R.Print.Metric, Case.Units == PSD_INHUNDREDTHSOFMILLIMETERS);
        EXPECT_EQ(R.Print.Margins, (TRect{1000, 1000, 1000, 1000}));
        EXPECT_EQ(Psd.rtMargin, Case.Margins);
        EXPECT_EQ(Psd.ptPaperSize, Case.PaperSize);
        Mode = static_cast<DEVMODE*>(GlobalLock(Psd.hDevMode));
        ASSERT_NE(Mode, nullptr);
        EXPECT_EQ(Mode->dmPaperSize, Case.Paper);
        EXPECT_EQ(Mode->dmOrientation, Case.Orientation);
        GlobalUnlock(Psd.hDevMode);
        std::string Driver, Device, Port;
        ASSERT_TRUE(ReadDevNames(Psd.hDevNames, Driver, Device, Port));
        EXPECT_EQ(Device, "office");
        EXPECT_EQ(Driver, "CUPS");
        EXPECT_EQ(Port, "office");
        // The caller hands the blocks to the printer as the editor window does.
        Printer()->SetPrinter(Device, Driver, Port, Psd.hDevMode);
        GlobalFree(Psd.hDevNames);
        EXPECT_EQ(Printer()->PrinterIndex(), 1);
        EXPECT_EQ(TKnownPrinters::Paper(), Case.Paper);
    }
}

TEST(PageSetup, CancelledOrAskedWrongItChangesNothing)
{
    TKnownPrinters Printers;
    const std::size_t Blocks = GlobalBlockCount();
    {
        TScriptedDialogs Script;
        Script.Answer(mrCancel);
        PAGESETUPDLG Psd{};
        Psd.lStructSize = sizeof Psd;
        Psd.Flags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES;
        Psd.rtMargin = TRect{500, 500, 500, 500};
        EXPECT_EQ(PageSetupDlg(&Psd), 0);
        EXPECT_EQ(Psd.hDevMode, 0u);
        EXPECT_EQ(Psd.hDevNames, 0u);
        EXPECT_EQ(Psd.rtMargin, (TRect{500, 500, 500, 500}));
        Psd.lStructSize = sizeof Psd - 4;
        EXPECT_EQ(PageSetupDlg(&Psd), 0);
        EXPECT_EQ(Script.Calls().size(), 1u) << "a wrong record shows nothing";
    }
    EXPECT_EQ(GlobalBlockCount(), Blocks);
}

TEST(PageSetup, WithoutBlocksTheSelectedPrintersAreMade)
{
    TKnownPrinters Printers;
    TScriptedDialogs Script;
    Script.Answer(mrOk);
    PAGESETUPDLG Psd{};
    Psd.lStructSize = sizeof Psd;
    Psd.Flags = PSD_INHUNDREDTHSOFMILLIMETERS;
    ASSERT_EQ(PageSetupDlg(&Psd), 1);
    EXPECT_EQ(Psd.rtMargin, (TRect{2540, 2540, 2540, 2540})) << "an inch when none is given";
    std::string Driver, Device, Port;
    ASSERT_TRUE(ReadDevNames(Psd.hDevNames, Driver, Device, Port));
    EXPECT_EQ(Device, "PDF file");
    EXPECT_EQ(Port, "FILE:");
    EXPECT_GE(GlobalSize(Psd.hDevMode), sizeof(DEVMODE));
    GlobalFree(Psd.hDevNames);
    GlobalFree(Psd.hDevMode);
}

TEST(PageSetup, ADeviceNamesBlockIsReadOnlyInsideItself)
{
    struct TCase {
        const char* Name;
        std::function<void(char* Bytes, std::size_t Size)> Spoil;
        bool Readable;
    };
    const std::vector<TCase> Cases = {
        {"as made", [](char*, std::size_t) {}, true},
        {"an offset past the end", [](char* B, std::size_t) { B[2] = 0x7F; }, false},
        {"an offset into the header", [](char* B, std::size_t) { B[0] = 2; }, false},
        {"the last name without its zero", [](char* B, std::size_t Size) { B[Size - 1] = 'x'; },
         false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        HGLOBAL Block = MakeDevNames("CUPS", "office", "office");
        Case.Spoil(static_cast<char*>(GlobalLock(Block)), GlobalSize(Block));
        GlobalUnlock(Block);
        std::string Driver = "kept", Device = "kept", Port = "kept";
        EXPECT_EQ(ReadDevNames(Block, Driver, Device, Port), Case.Readable);
        EXPECT_EQ(Device, Case.Readable ? "office" : "kept");
        GlobalFree(Block);
    }
}
