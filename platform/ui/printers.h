// platform/ui/printers.h: TPrinter, the printer object units print through, and Printer(), the one
// the program shares. Its printers are "PDF file" and the print queues lpstat lists; pages are
// drawn at 300 pixels per inch into a PDF file (platform/gfx/printerdevice.h). "PDF file", and any
// printer set to print to a file (port "FILE:"), asks for the file in the save dialog; a queue
// gets the file through `lp`, started by argument vector, while the message loop turns.
#pragma once

#include "platform/gfx/devmode.h"
#include "platform/gfx/printerdevice.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <string>
#include <vector>

class TPrinter {
public:
    // The name of the printer that writes PDF files, always the first.
    static constexpr const char* PdfFilePrinter = "PDF file";
    // The port of a printer that prints to a file.
    static constexpr const char* FilePort = "FILE:";

    TPrinter();
    // Ends a document still open as Abort does.
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // "PDF file", then the queues of `lpstat -e` (read the first time they are asked for).
    TStrings* Printers();
    // Reads the queues again; the printer selected stays selected while it is listed.
    void Refresh();
    // The printer selected; -1 selects the default (the queue `lpstat -d` names, else "PDF
    // file"). EPrinter "Printer index out of range" for other numbers outside the list, and
    // "Printing in progress" during a document, as for every setting below.
    int PrinterIndex();
    void SetPrinterIndex(int Value);

    // The selected printer's settings, kept in its DEVMODE block.
    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation Value);
    // Copies lp is asked for (at least 1).
    int Copies();
    void SetCopies(int Value);
    // The page in device pixels (300 per inch) for the paper and orientation.
    int PageWidth();
    int PageHeight();

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // The font families the printer draws (the installed ones), sorted.
    TStrings* Fonts();

    // Starts a document. To a file: the save dialog asks for it first (cancelled: EAbort and
    // nothing is written). To a queue: the pages go to a private temporary file (mode 0600 in
    // TMPDIR). EPrinter "Printing in progress" during a document.
    void BeginDoc();
    void NewPage();
    // Writes the file; for a queue runs `lp -d <queue> -t <title> -n <copies> <file>`, waiting
    // with the message loop turning, and raises EPrinter with lp's message when it fails. The
    // temporary file goes in every case.
    void EndDoc();
    // Ends the document without printing anything; nothing outside a document.
    void Abort();
    bool Printing() const;
    // Set by Abort, cleared by the next BeginDoc.
    bool Aborted() const;
    // The page being drawn, from 1; 0 outside a document.
    int PageNumber() const;

    // The page's canvas (the same one across pages and documents).
    TCanvas* Canvas();
    // The canvas as a device context: GetDeviceCaps and Escape (GETPHYSPAGESIZE,
    // GETPRINTINGOFFSET) answer for the page.
    HDC Handle();

    // The selected printer: its name, its driver ("PDF" or "CUPS"), its port ("FILE:" when it
    // prints to a file, else the queue's name) and its settings block, which stays the
    // printer's: a caller changes it in place (GlobalLock) and the printer reads it before each
    // measure and document.
    void GetPrinter(std::string& ADevice, std::string& ADriver, std::string& APort,
                    HGLOBAL& ADeviceMode);
    // Selects the printer named ADevice; port "FILE:" makes it print to a file. A settings
    // block is taken over: its contents become the printer's and the block is freed (0 keeps
    // the settings). EPrinter "Printer selected is not valid" for a name not in the list.
    void SetPrinter(const std::string& ADevice, const std::string& ADriver,
                    const std::string& APort, HGLOBAL ADeviceMode);

private:
    struct TPrinterEntry {
        std::string Name;
        bool Queue = false;
        HGLOBAL DeviceMode = 0;
        TPrinterPaper Paper = ppA4; // kept when the block names a paper the printer lacks
    };

    void Load();
    void CheckPrinting(bool Value) const;
    TPrinterEntry& Current();
    DEVMODE* LockMode(TPrinterEntry& Entry);
    // Puts the selected printer's settings on the page, outside a document.
    void ApplySettings();
    void RemoveSpoolFile();
    void RunLp(const std::string& Queue, const std::string& FileName);

    std::unique_ptr<TStringList> FPrinters;
    std::unique_ptr<TStringList> FFonts;
    std::vector<TPrinterEntry> FEntries;
    int FIndex = -1;
    int FDefaultIndex = 0;
    bool FPrintToFile = false;
    std::string FTitle;
    std::unique_ptr<TPrintJob> FJob;
    std::string FSpoolFile; // the temporary file of a queue's document
    std::string FQueue;     // where that document goes
    int FCopies = 1;        // of that document
};

// The printer object the program shares, made at first use.
TPrinter* Printer();
