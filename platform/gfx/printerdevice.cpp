#include "platform/gfx/printerdevice.h"

#include "platform/gfx/fontengine.h"
#include "platform/gfx/pdffonts.h"
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

void TPrinterDevice::TextOut(const TDeviceState& State, const TDeviceText& Text)
{
    TForwardingDevice::TextOut(State, Text);
    if (!FPage || Text.Text.empty())
        return;
    const auto Font = TFontInstance::Get(State.Font);
    const std::u32string Codes = Font->Decode(Text.Text, nullptr, Text.Coding);
    if (Codes.empty())
        return;
    std::vector<int> Advances = Text.Advances;
    if (Advances.size() != Codes.size()) {
        Advances.clear();
        for (char32_t Code : Codes)
            Advances.push_back(Font->CharAdvance(Code) + Text.CharExtra);
    }
    // The run's box, turned with its base line, against the page and the clip.
    const TTextMetric& M = Font->Metrics();
    int Width = 0;
    for (int A : Advances)
        Width += A;
    TRect Box{Text.Origin.X, Text.Origin.Y, Text.Origin.X, Text.Origin.Y};
    for (const TPoint Corner : {Font->Turn(0, -M.tmAscent), Font->Turn(Width, -M.tmAscent),
                                Font->Turn(Width, M.tmDescent), Font->Turn(0, M.tmDescent)}) {
        Box.Left = std::min(Box.Left, Text.Origin.X + Corner.X);
        Box.Top = std::min(Box.Top, Text.Origin.Y + Corner.Y);
        Box.Right = std::max(Box.Right, Text.Origin.X + Corner.X + 1);
        Box.Bottom = std::max(Box.Bottom, Text.Origin.Y + Corner.Y + 1);
    }
    TRect Seen;
    if (!IntersectRect(Seen, Box, TRect{0, 0, FPage->Width(), FPage->Height()}) ||
        (State.Clip && !IntersectRect(Seen, Seen, State.Clip->Bounds())) ||
        ((Text.Options & ETO_CLIPPED) && !IntersectRect(Seen, Seen, Text.Rect)))
        return;

    constexpr double PointsPerPixel = 72.0 / PrinterPixelsPerInch;
    const int Em =
        M.tmHeight - M.tmInternalLeading > 0 ? M.tmHeight - M.tmInternalLeading : M.tmHeight;
    TPdfTextRun Run;
    Run.Font = PdfStandardFontFor(State.Font);
    Run.Size = Em * PointsPerPixel;
    Run.X = Text.Origin.X * PointsPerPixel;
    Run.Y = (FPage->Height() - Text.Origin.Y) * PointsPerPixel;
    Run.Angle = State.Font.Escapement / 10.0;
    for (std::size_t I = 0; I < Codes.size(); ++I) {
        Run.Bytes += static_cast<char>(WinAnsiByte(Codes[I]));
        Run.Advances.push_back(Advances[I] * PointsPerPixel);
    }
    if (Run.Size > 0)
        FPageText.push_back(std::move(Run));
}

void TPrinterDevice::BeginDoc(const std::string& FileName, const std::string& Title, mode_t MaxMode)
{
    CheckPrinting(false);
    if (FileName.empty())
        throw EPrinter("The print job has no file name");
    auto File = std::make_unique<TAtomicFileStream>(FileName, MaxMode);
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
    FPageText.clear();
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
    FWriter->AddImagePage(
        Page.Width(), Page.Height(), Page.Width() * 72.0 / PrinterPixelsPerInch,
        Page.Height() * 72.0 / PrinterPixelsPerInch,
        [&Page](int Y, std::uint8_t* Row) {
            const std::uint32_t* Pixel = Page.ScanLine(Y);
            for (int X = 0; X < Page.Width(); ++X, ++Pixel) {
                *Row++ = static_cast<std::uint8_t>(*Pixel >> 16);
                *Row++ = static_cast<std::uint8_t>(*Pixel >> 8);
                *Row++ = static_cast<std::uint8_t>(*Pixel);
            }
        },
        FPageText);
    FPage.reset();
    FPageText.clear();
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
    FPageText.clear();
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
    FDevice->BeginDoc(FFileName, FTitle, FFileMode);
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

int Escape(HDC DC, int Code, int InputSize, const void* InData, void* OutData)
{
    if (!DC || !DC->Device() || DC->Device()->DeviceCaps(TECHNOLOGY) != DT_RASPRINTER)
        return 0;
    const TCanvasDevice& Device = *DC->Device();
    switch (Code) {
    case QUERYESCSUPPORT: {
        if (!InData || InputSize < static_cast<int>(sizeof(int)))
            return 0;
        int Asked;
        std::memcpy(&Asked, InData, sizeof Asked);
        return Asked == QUERYESCSUPPORT || Asked == GETPHYSPAGESIZE || Asked == GETPRINTINGOFFSET;
    }
    case GETPHYSPAGESIZE:
    case GETPRINTINGOFFSET: {
        if (!OutData)
            return 0;
        const bool Size = Code == GETPHYSPAGESIZE;
        const TPoint Answer{Device.DeviceCaps(Size ? PHYSICALWIDTH : PHYSICALOFFSETX),
                            Device.DeviceCaps(Size ? PHYSICALHEIGHT : PHYSICALOFFSETY)};
        std::memcpy(OutData, &Answer, sizeof Answer);
        return 1;
    }
    default:
        return 0;
    }
}
