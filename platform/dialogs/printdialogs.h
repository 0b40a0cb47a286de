// platform/dialogs/printdialogs.h: TPrintDialog and TPrinterSetupDialog, the class library's
// printer dialogs: each asks the dialog service with the printer object's printers and settings
// and, when confirmed, puts the choice on the printer object (Printer()).
#pragma once

#include "platform/dialogs/commondialog.h"

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption {
    poPrintToFile,
    poPageNums,
    poSelection,
    poWarning,
    poHelp,
    poDisablePrintToFile
};
using TPrintDialogOptions = TSet<TPrintDialogOption>;

class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(TComponent* AOwner);

    bool Collate() const { return FCollate; }
    void SetCollate(bool Value) { FCollate = Value; }
    int Copies() const { return FCopies; }
    void SetCopies(int Value) { FCopies = Value; }
    int FromPage() const { return FFromPage; }
    void SetFromPage(int Value) { FFromPage = Value; }
    int ToPage() const { return FToPage; }
    void SetToPage(int Value) { FToPage = Value; }
    int MinPage() const { return FMinPage; }
    void SetMinPage(int Value) { FMinPage = Value; }
    int MaxPage() const { return FMaxPage; }
    void SetMaxPage(int Value) { FMaxPage = Value; }
    TPrintDialogOptions Options() const { return FOptions; }
    void SetOptions(TPrintDialogOptions Value) { FOptions = Value; }
    bool PrintToFile() const { return FPrintToFile; }
    void SetPrintToFile(bool Value) { FPrintToFile = Value; }
    TPrintRange PrintRange() const { return FPrintRange; }
    void SetPrintRange(TPrintRange Value) { FPrintRange = Value; }

    // Confirmed: the printer chosen becomes the printer object's, printing to a file when Print
    // to file was checked (poPrintToFile), with the copies and orientation chosen.
    bool Execute() override;

private:
    bool FCollate = false;
    int FCopies = 0; // 0: the printer's own
    int FFromPage = 0;
    int FToPage = 0;
    int FMinPage = 0;
    int FMaxPage = 0;
    TPrintDialogOptions FOptions;
    bool FPrintToFile = false;
    TPrintRange FPrintRange = prAllPages;
};

class TPrinterSetupDialog : public TCommonDialog {
public:
    explicit TPrinterSetupDialog(TComponent* AOwner);

    // Confirmed: the printer chosen becomes the printer object's, with its paper and
    // orientation.
    bool Execute() override;
};

// The settings the printer object has now: its printers, the one selected, whether it prints
// to a file, its copies, paper and orientation.
TPrintSettings CurrentPrintSettings();
// Selects the printer Settings name (an index outside the list changes nothing), printing to a
// file or not, with their paper, orientation and (WithCopies) copies.
void ApplyPrintSettings(const TPrintSettings& Settings, bool WithCopies);
