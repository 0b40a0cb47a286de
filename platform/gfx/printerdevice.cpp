#include "platform/gfx/printerdevice.h"

#include "platform/gfx/pdfwriter.h"
#include "platform/rtl/atomicfile.h"

#include <cstdlib>
#include <cstring>

namespace {

// Countries whose paper is Letter.
const char* const LetterCountries[] = {"US", "CA", "MX", "PR", "PH", "CL", "CO", "VE",
                                       "CR", "GT", "NI", "PA", "SV", "DO", "BZ", "HN"};

} // namespace

TPrinterPaper PaperForLocale(const std::string& LocaleName)
{
    // language[_COUNTRY][.codeset][@modifier]
    const std::string Name = LocaleName.substr(0, LocaleName.find_first_of(".@"));
    if (Name.empty() || Name == "C" || Name == "POSIX")
        return ppLetter;
    const std::size_t Underscore = Name.find('_');
    if (Underscore == std::string::npos)
        return ppA4;
    const std::string Country = Name.substr(Underscore + 1);
    for (const char* Letter : LetterCountries)
        if (Country == Letter)
            return ppLetter;
    return ppA4;
}

TPrinterPaper DefaultPaper()
{
    for (const char* Variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* Value = std::getenv(Variable);
        if (Value && *Value)
            return PaperForLocale(Value);
    }
    return PaperForLocale("");
}

TSize PaperPixels(TPrinterPaper Paper, TPrinterOrientation Orientation)
{
    const TSize Portrait = Paper == ppA4 ? TSize{2480, 3508} : TSize{2550, 3300};
    return Orientation == poLandscape ? TSize{Portrait.cy, Portrait.cx} : Portrait;
}

TSize PaperPoints(TPrinterPaper Paper, TPrinterOrientation Orientation)
{
    const TSize Portrait = Paper == ppA4 ? TSize{595, 842} : TSize{612, 792};
    return Orientation == poLandscape ? TSize{Portrait.cy, Portrait.cx} : Portrait;
}

// TPrinterDevice ----------------------------------------------------------------------------

TPrinterDevice::TPrinterDevice() : FPaper(DefaultPaper()) {}

TPrinterDevice::~TPrinterDevice() = default;

void TPrinterDevice::CheckPrinting(bool Printing) const
{
    if (FPrinting != Printing)
        throw EPrinter(Printing ? "Printer is not currently printing" : "Printing in progress");
}

void TPrinterDevice::SetPaper(TPrinterPaper Value)
{
    CheckPrinting(false);
    FPaper = Value;
}

void TPrinterDevice::SetOrientation(TPrinterOrientation Value)
{
    CheckPrinting(false);
    FOrientation = Value;
}

int TPrinterDevice::Width() const
{
    return PaperPixels(FPaper, FOrientation).cx;
}

int TPrinterDevice::Height() const
{
    return PaperPixels(FPaper, FOrientation).cy;
}

int TPrinterDevice::DeviceCaps(int Index) const
{
    switch (Index) {
    case TECHNOLOGY:
        return DT_RASPRINTER;
    case BITSPIXEL:
        return 24;
    case PHYSICALWIDTH:
        return Width();
    case PHYSICALHEIGHT:
        return Height();
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
        return 0;
    default:
        return TCanvasDevice::DeviceCaps(Index);
    }
}

void TPrinterDevice::BeginDoc(const std::string& FileName, const std::string& Title)
{
    CheckPrinting(false);
    if (FileName.empty())
        throw EPrinter("The print job has no file name");
    auto File = std::make_unique<TAtomicFileStream>(FileName);
    auto Writer = std::make_unique<TPdfWriter>(File.get());
    Writer->SetTitle(Title);
    FFile = std::move(File);
    FWriter = std::move(Writer);
    FPrinting = true;
    FPageNumber = 0;
    StartPage();
}

void TPrinterDevice::StartPage()
{
    FPage.reset(); // one page in memory at a time
    const TSize Size = PaperPixels(FPaper, FOrientation);
    FPage = std::make_unique<TRasterDevice>(Size.cx, Size.cy, clWhite);
    FPage->SetPixelsPerInch(PrinterPixelsPerInch, PrinterPixelsPerInch);
    ++FPageNumber;
}

void TPrinterDevice::WritePage()
{
    const TRasterDevice& Page = *FPage;
    // The page is the raster at exactly 300 per inch (A4 595.2 x 841.92 points, within a third
    // of a point of the paper), so that a viewer at that resolution shows its pixels unscaled.
    FWriter->AddImagePage(Page.Width(), Page.Height(), Page.Width() * 72.0 / PrinterPixelsPerInch,
                          Page.Height() * 72.0 / PrinterPixelsPerInch,
                          [&Page](int Y, std::uint8_t* Row) {
                              const std::uint32_t* Pixel = Page.ScanLine(Y);
                              for (int X = 0; X < Page.Width(); ++X, ++Pixel) {
                                  *Row++ = static_cast<std::uint8_t>(*Pixel >> 16);
                                  *Row++ = static_cast<std::uint8_t>(*Pixel >> 8);
                                  *Row++ = static_cast<std::uint8_t>(*Pixel);
                              }
                          });
    FPage.reset();
}

void TPrinterDevice::NewPage()
{
    CheckPrinting(true);
    WritePage();
    StartPage();
}

void TPrinterDevice::EndDoc()
{
    CheckPrinting(true);
    try {
        WritePage();
        FWriter->Finish();
        FFile->Commit();
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

void TPrinterDevice::Abort()
{
    Close();
}

void TPrinterDevice::Close()
{
    FPage.reset();
    FWriter.reset();
    FFile.reset(); // without Commit the temporary file goes and an old file stays
    FPrinting = false;
    FPageNumber = 0;
}

// TPrintJob ---------------------------------------------------------------------------------

TPrintJob::TPrintJob()
    : FDevice(std::make_unique<TPrinterDevice>()), FCanvas(std::make_unique<TCanvas>(FDevice.get()))
{
}

TPrintJob::~TPrintJob() = default;

void TPrintJob::BeginDoc()
{
    FDevice->BeginDoc(FFileName, FTitle);
    FAborted = false;
    FCanvas->SetDevice(FDevice.get());
}

void TPrintJob::NewPage()
{
    FDevice->NewPage();
}

void TPrintJob::EndDoc()
{
    FDevice->EndDoc();
}

void TPrintJob::Abort()
{
    if (!FDevice->Printing())
        return;
    FDevice->Abort();
    FAborted = true;
}
