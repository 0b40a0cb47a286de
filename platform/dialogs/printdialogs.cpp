// platform/dialogs/printdialogs.cpp: the printer dialogs between the printer object and the
// service.
#include "platform/dialogs/printdialogs.h"

#include "platform/gfx/devmode.h"
#include "platform/ui/printers.h"

#include <algorithm>

TPrintSettings CurrentPrintSettings()
{
    TPrinter* P = Printer();
    TPrintSettings Settings;
    TStrings* Names = P->Printers();
    for (int I = 0; I < Names->Count(); ++I)
        Settings.Printers.push_back(Names->Strings(I));
    Settings.PrinterIndex = P->PrinterIndex();
    std::string Device, Driver, Port;
    HGLOBAL Mode = 0;
    P->GetPrinter(Device, Driver, Port, Mode);
    // "PDF file" always writes a file; only a queue set to its file port prints to one.
    Settings.PrintToFile = Driver != "PDF" && Port == TPrinter::FilePort;
    if (const auto* DevMode = static_cast<const DEVMODE*>(GlobalLock(Mode))) {
        Settings.Paper = DevMode->dmPaperSize == DMPAPER_LETTER ? DMPAPER_LETTER : DMPAPER_A4;
        GlobalUnlock(Mode);
    }
    Settings.Orientation = P->Orientation() == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    Settings.Copies = P->Copies();
    return Settings;
}

void ApplyPrintSettings(const TPrintSettings& Settings, bool WithCopies)
{
    TPrinter* P = Printer();
    TStrings* Names = P->Printers();
    if (Settings.PrinterIndex < 0 || Settings.PrinterIndex >= Names->Count())
        return;
    P->SetPrinterIndex(Settings.PrinterIndex);
    std::string Device, Driver, Port;
    HGLOBAL Mode = 0;
    P->GetPrinter(Device, Driver, Port, Mode);
    if (auto* DevMode = static_cast<DEVMODE*>(GlobalLock(Mode))) {
        if (Settings.Paper == DMPAPER_A4 || Settings.Paper == DMPAPER_LETTER) {
            DevMode->dmPaperSize = static_cast<short>(Settings.Paper);
            DevMode->dmFields |= DM_PAPERSIZE;
        }
        GlobalUnlock(Mode);
    }
    // The block stays the printer's (0): only the port says whether it prints to a file.
    P->SetPrinter(Device, Driver, Settings.PrintToFile ? TPrinter::FilePort : Device, 0);
    P->SetOrientation(Settings.Orientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait);
    if (WithCopies)
        P->SetCopies(std::max(1, Settings.Copies));
}

TPrintDialog::TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TPrintDialog::Execute()
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::Print;
    Request.Print = CurrentPrintSettings();
    if (FCopies > 0)
        Request.Print.Copies = FCopies;
    Request.Print.Collate = FCollate;
    Request.Print.PrintToFile = FPrintToFile && FOptions.Contains(poPrintToFile);
    Request.Print.PrintRange = FPrintRange;
    Request.Print.FromPage = FFromPage;
    Request.Print.ToPage = FToPage;
    Request.Print.MinPage = FMinPage;
    Request.Print.MaxPage = FMaxPage;
    Request.Options = static_cast<unsigned>(FOptions.Bits());
    Request.HelpCtx = HelpContext();
    TDialogAnswer Answer = Run(Request);
    if (Answer.Result != mrOk)
        return false;
    TPrintSettings& Chosen = Answer.Print;
    // Print to file only where the dialog offered it.
    Chosen.PrintToFile = Chosen.PrintToFile && FOptions.Contains(poPrintToFile);
    FCopies = std::max(1, Chosen.Copies);
    FCollate = Chosen.Collate;
    FPrintToFile = Chosen.PrintToFile;
    FPrintRange = Chosen.PrintRange == prSelection || Chosen.PrintRange == prPageNums
                      ? static_cast<TPrintRange>(Chosen.PrintRange)
                      : prAllPages;
    if (FPrintRange == prPageNums) {
        FFromPage = Chosen.FromPage;
        FToPage = Chosen.ToPage;
    }
    ApplyPrintSettings(Chosen, true);
    return true;
}

TPrinterSetupDialog::TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TPrinterSetupDialog::Execute()
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::PrinterSetup;
    Request.Print = CurrentPrintSettings();
    Request.HelpCtx = HelpContext();
    TDialogAnswer Answer = Run(Request);
    if (Answer.Result != mrOk)
        return false;
    TPrintSettings Chosen = Answer.Print;
    // The set-up keeps the print-to-file choice of the printer it leaves selected.
    Chosen.PrintToFile = Chosen.PrintToFile && Chosen.PrinterIndex == Request.Print.PrinterIndex;
    ApplyPrintSettings(Chosen, false);
    return true;
}
