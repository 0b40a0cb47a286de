// platform/gfx/printerdevice.h: the printer as a canvas device. Each page is drawn at 300 pixels
// per inch on A4 or Letter paper and kept compressed once it is done; the document becomes a PDF
// file, each page's text also written as invisible text over its picture. TPrintJob is the
// document around it: title, file, canvas and page count. Escape answers the printer escapes.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/forwardingdevice.h"
#include "platform/gfx/pdfwriter.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/geometry.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

class TAtomicFileStream;
class TPdfWriter;

TW_DECLARE_EXCEPTION(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };
enum TPrinterPaper { ppA4, ppLetter };

constexpr int PrinterPixelsPerInch = 300;

// Letter where the locale's country uses it (the United States, Canada, Mexico and the other
// Letter countries of the Americas, the Philippines), A4 elsewhere. LocaleName is a POSIX name
// such as "fr_CA.UTF-8"; an empty name, "C" and "POSIX" count as English (United States).
TPrinterPaper PaperForLocale(const std::string& LocaleName);
// The paper of the process's locale: LC_ALL, else LC_PAPER, else LANG (empty counts as unset).
TPrinterPaper DefaultPaper();
// The page in pixels at 300 pixels per inch (A4 2480 x 3508, Letter 2550 x 3300) and the paper
// in whole PDF points (A4 595 x 842, Letter 612 x 792); landscape exchanges width and height.
// The PDF page is the pixels at exactly 300 per inch (A4 595.2 x 841.92 points).
TSize PaperPixels(TPrinterPaper Paper, TPrinterOrientation Orientation);
TSize PaperPoints(TPrinterPaper Paper, TPrinterOrientation Orientation);

// The whole sheet is the printable page: a PDF page has no margin the printer cannot reach, so
// PHYSICALOFFSETX/Y are 0 and HORZRES/VERTRES equal PHYSICALWIDTH/HEIGHT. Outside a document
// drawing goes nowhere, while the measures already tell the page that BeginDoc will start.
class TPrinterDevice : public TForwardingDevice {
public:
    TPrinterDevice();
    ~TPrinterDevice() override;
    TPrinterDevice(const TPrinterDevice&) = delete;
    TPrinterDevice& operator=(const TPrinterDevice&) = delete;

    // Both raise EPrinter "Printing in progress" during a document.
    TPrinterPaper Paper() const { return FPaper; }
    void SetPaper(TPrinterPaper Value);
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation Value);

    // Starts the document with a white first page; the file is written at EndDoc, its mode at
    // most MaxMode. EPrinter "Printing in progress" during a document, EPrinter for an empty
    // file name; the atomic rewrite's error when the file's folder cannot take it.
    void BeginDoc(const std::string& FileName, const std::string& Title, mode_t MaxMode = 07777);
    // The page drawn so far is compressed and dropped; a white page follows.
    void NewPage();
    // Writes the file (through the atomic rewrite: a failure leaves an old file whole) and ends
    // the document, also when writing fails.
    void EndDoc();
    // Ends the document without writing anything; nothing when no document is open.
    void Abort();
    // NewPage and EndDoc raise EPrinter "Printer is not currently printing" outside a document.
    bool Printing() const { return FPrinting; }
    // The page being drawn, from 1; 0 outside a document.
    int PageNumber() const { return FPageNumber; }
    // The page being drawn; nil outside a document.
    const TRasterDevice* Page() const { return FPage.get(); }

    int Width() const override;
    int Height() const override;
    int PixelsPerInchX() const override { return PrinterPixelsPerInch; }
    int PixelsPerInchY() const override { return PrinterPixelsPerInch; }
    int DeviceCaps(int Index) const override;
    // Drawn on the page, and kept for the page's text layer: the characters in WinAnsi (what it
    // lacks as '?'), at the run's place, size and angle, in the standard font of its family.
    // Runs wholly outside the clip or the page are left out.
    void TextOut(const TDeviceState& State, const TDeviceText& Text) override;
    // The text layer of the page being drawn.
    const std::vector<TPdfTextRun>& PageText() const { return FPageText; }

protected:
    TRasterDevice* DrawTarget() override { return FPage.get(); }
    const TRasterDevice* ReadTarget() const override { return FPage.get(); }

private:
    void CheckPrinting(bool Printing) const;
    void StartPage();
    void WritePage();
    void Close();

    TPrinterPaper FPaper;
    TPrinterOrientation FOrientation = poPortrait;
    bool FPrinting = false;
    int FPageNumber = 0;
    std::unique_ptr<TRasterDevice> FPage;
    std::vector<TPdfTextRun> FPageText;
    std::unique_ptr<TAtomicFileStream> FFile;
    std::unique_ptr<TPdfWriter> FWriter;
};

// One print job: the document's title and file, the printer canvas the pages are drawn on (the
// same canvas for every page, keeping its state across NewPage) and the page count.
class TPrintJob {
public:
    TPrintJob();
    ~TPrintJob();
    TPrintJob(const TPrintJob&) = delete;
    TPrintJob& operator=(const TPrintJob&) = delete;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // The most the file's mode may be (0600 for a private spool file).
    mode_t FileMode() const { return FFileMode; }
    void SetFileMode(mode_t Value) { FFileMode = Value; }
    TPrinterOrientation Orientation() const { return FDevice->Orientation(); }
    void SetOrientation(TPrinterOrientation Value) { FDevice->SetOrientation(Value); }
    TPrinterPaper Paper() const { return FDevice->Paper(); }
    void SetPaper(TPrinterPaper Value) { FDevice->SetPaper(Value); }

    TCanvas* Canvas() const { return FCanvas.get(); }
    TPrinterDevice* Device() const { return FDevice.get(); }
    // Device pixels of the page.
    int PageWidth() const { return FDevice->Width(); }
    int PageHeight() const { return FDevice->Height(); }
    int PageNumber() const { return FDevice->PageNumber(); }
    bool Printing() const { return FDevice->Printing(); }
    // Set by Abort, cleared by the next BeginDoc.
    bool Aborted() const { return FAborted; }

    // As the device's; BeginDoc also gives the canvas its page afresh (no clip, fonts at the
    // printer's resolution).
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();

private:
    std::unique_ptr<TPrinterDevice> FDevice;
    std::unique_ptr<TCanvas> FCanvas;
    std::string FTitle;
    std::string FFileName;
    mode_t FFileMode = 07777;
    bool FAborted = false;
};

// Printer escapes.
enum : int { QUERYESCSUPPORT = 8, GETPHYSPAGESIZE = 12, GETPRINTINGOFFSET = 13 };

// On a printer canvas: GETPHYSPAGESIZE and GETPRINTINGOFFSET write a TPoint to OutData (the
// sheet in device pixels; the offset of the printable area) and return 1; QUERYESCSUPPORT
// returns 1 when the int at InData names an escape answered here. 0 for any other escape, a
// missing OutData, or a canvas that is not a printer's.
int Escape(HDC DC, int Code, int InputSize, const void* InData, void* OutData);
