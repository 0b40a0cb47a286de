#include "platform/gfx/printerdevice.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/atomicfile.h"
#include "tests/support/pdftools.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

// The pixels of a picture as 0x00RRGGBB words, rows top down.
struct TPicture24 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y) * Width + X]; }
};

TPicture24 ReadPng(const std::string& FileName)
{
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    TPicture24 Out;
    if (!png_image_begin_read_from_file(&Image, FileName.c_str())) {
        ADD_FAILURE() << "cannot read " << FileName;
        return Out;
    }
    Image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> Bytes(PNG_IMAGE_SIZE(Image));
    if (!png_image_finish_read(&Image, nullptr, Bytes.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << FileName;
        return Out;
    }
    Out.Width = static_cast<int>(Image.width);
    Out.Height = static_cast<int>(Image.height);
    for (std::size_t I = 0; I + 2 < Bytes.size(); I += 3)
        Out.Pixels.push_back(static_cast<std::uint32_t>(Bytes[I]) << 16 | Bytes[I + 1] << 8 |
                             Bytes[I + 2]);
    return Out;
}

// Each Factor x Factor block averaged.
TPicture24 Shrink(int Width, int Height, const std::function<std::uint32_t(int, int)>& At,
                  int Factor)
{
    TPicture24 Out;
    Out.Width = Width / Factor;
    Out.Height = Height / Factor;
    for (int Y = 0; Y < Out.Height; ++Y)
        for (int X = 0; X < Out.Width; ++X) {
            unsigned Sum[3] = {0, 0, 0};
            for (int DY = 0; DY < Factor; ++DY)
                for (int DX = 0; DX < Factor; ++DX) {
                    const std::uint32_t P = At(X * Factor + DX, Y * Factor + DY);
                    for (int C = 0; C < 3; ++C)
                        Sum[C] += P >> (16 - 8 * C) & 0xFF;
                }
            const unsigned N = static_cast<unsigned>(Factor * Factor);
            Out.Pixels.push_back((Sum[0] / N) << 16 | (Sum[1] / N) << 8 | Sum[2] / N);
        }
    return Out;
}

TPicture24 Shrink(const TRasterDevice& Page, int Factor)
{
    return Shrink(
        Page.Width(), Page.Height(), [&](int X, int Y) { return Page.ScanLine(Y)[X]; }, Factor);
}

TPicture24 Shrink(const TPicture24& Picture, int Factor)
{
    return Shrink(
        Picture.Width, Picture.Height, [&](int X, int Y) { return Picture.At(X, Y); }, Factor);
}

bool ProgramInstalled(const std::string& Name)
{
    const char* Path = std::getenv("PATH");
    std::string Folders = Path ? Path : "/usr/bin:/bin";
    std::size_t At = 0;
    while (At <= Folders.size()) {
        const std::size_t End = std::min(Folders.find(':', At), Folders.size());
        if (::access((Folders.substr(At, End - At) + "/" + Name).c_str(), X_OK) == 0)
            return true;
        At = End + 1;
    }
    return false;
}

// The pages of a PDF file rendered to Width x Height pixels each.
std::vector<TPicture24> RenderPdf(const std::string& FileName, int Width, int Height)
{
    const std::string Prefix = FileName + ".page";
    const std::string Command = "pdftoppm -png -scale-to-x " + std::to_string(Width) +
                                " -scale-to-y " + std::to_string(Height) + " '" + FileName + "' '" +
                                Prefix + "'";
    EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
    std::vector<TPicture24> Pages;
    for (int N = 1; std::filesystem::exists(Prefix + "-" + std::to_string(N) + ".png"); ++N)
        Pages.push_back(ReadPng(Prefix + "-" + std::to_string(N) + ".png"));
    return Pages;
}

// How far two pictures of the same size are apart: the mean difference per sample and the
// share of pixels with a sample more than 96 apart.
struct TDifference {
    double Mean = 0;
    double FarShare = 0;
};

TDifference Compare(const TPicture24& A, const TPicture24& B)
{
    TDifference D;
    if (A.Width != B.Width || A.Height != B.Height) {
        ADD_FAILURE() << A.Width << "x" << A.Height << " against " << B.Width << "x" << B.Height;
        D.Mean = 255;
        return D;
    }
    double Sum = 0;
    std::size_t Far = 0;
    for (std::size_t I = 0; I < A.Pixels.size(); ++I) {
        int Most = 0;
        for (int Shift = 0; Shift < 24; Shift += 8) {
            const int Diff = std::abs(static_cast<int>(A.Pixels[I] >> Shift & 0xFF) -
                                      static_cast<int>(B.Pixels[I] >> Shift & 0xFF));
            Sum += Diff;
            Most = std::max(Most, Diff);
        }
        Far += Most > 96;
    }
    D.Mean = Sum / (3.0 * static_cast<double>(A.Pixels.size()));
    D.FarShare = static_cast<double>(Far) / static_cast<double>(A.Pixels.size());
    return D;
}

// Text, lines, a hatched shape and a small bitmap stretched large.
void DrawTestPage(TCanvas& C, int Page)
{
    C.Font()->SetName("Arial");
    C.Font()->SetHeight(-120);
    C.Font()->SetColor(clBlack);
    C.TextOut(200, 200, "Page " + std::to_string(Page));
    C.Pen()->SetWidth(12);
    C.Pen()->SetColor(clBlack);
    C.MoveTo(200, 600);
    C.LineTo(2200, 600);
    C.Pen()->SetColor(clRed);
    C.MoveTo(200, 800);
    C.LineTo(2200, 2000 + Page * 100);
    C.Pen()->SetWidth(4);
    C.Brush()->SetColor(clBlue);
    C.Brush()->SetStyle(bsDiagCross);
    C.Rectangle(300, 2200, 1100, 3000);
    TBitmap Bitmap;
    Bitmap.SetSize(4, 4);
    const TColor Colors[4] = {clRed, clLime, clBlue, clYellow};
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            Bitmap.Canvas()->SetPixels(X, Y, Colors[(X + Y + Page) % 4]);
    C.StretchDraw(TRect{1400, 2200, 2200, 3000}, &Bitmap);
}

class PrinterDevice : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { SetDeterministicFontMetrics(true); }
    void TearDown() override { SetDeterministicFontMetrics(false); }
};

} // namespace

TEST(PrinterPaper, PageSizesInPixelsAndPoints)
{
    struct TCase {
        TPrinterPaper Paper;
        TPrinterOrientation Orientation;
        TSize Pixels;
        TSize Points;
    };
    const std::vector<TCase> Cases = {{ppA4, poPortrait, {2480, 3508}, {595, 842}},
                                      {ppA4, poLandscape, {3508, 2480}, {842, 595}},
                                      {ppLetter, poPortrait, {2550, 3300}, {612, 792}},
                                      {ppLetter, poLandscape, {3300, 2550}, {792, 612}}};
    for (const TCase& C : Cases) {
        EXPECT_EQ(PaperPixels(C.Paper, C.Orientation), C.Pixels);
        EXPECT_EQ(PaperPoints(C.Paper, C.Orientation), C.Points);
        // The pixels are the points at 300 per inch, to the nearest pixel.
        EXPECT_NEAR(C.Pixels.cx, C.Points.cx * 300.0 / 72, 1.5);
        EXPECT_NEAR(C.Pixels.cy, C.Points.cy * 300.0 / 72, 1.5);
    }
}

TEST(PrinterPaper, TheLocaleChoosesLetterOrA4)
{
    struct TCase {
        std::string Locale;
        TPrinterPaper Paper;
    };
    const std::vector<TCase> Cases = {
        {"en_US.UTF-8", ppLetter}, {"en_CA", ppLetter},   {"fr_CA.UTF-8", ppLetter},
        {"es_MX.UTF-8", ppLetter}, {"fil_PH", ppLetter},  {"", ppLetter},
        {"C", ppLetter},           {"C.UTF-8", ppLetter}, {"POSIX", ppLetter},
        {"de_DE.UTF-8", ppA4},     {"en_GB.UTF-8", ppA4}, {"fr_FR@euro", ppA4},
        {"es_ES", ppA4},           {"pt_BR.UTF-8", ppA4}, {"de", ppA4}};
    for (const TCase& C : Cases)
        EXPECT_EQ(PaperForLocale(C.Locale), C.Paper) << C.Locale;
}

TEST(PrinterPaper, TheEnvironmentGivesTheDefault)
{
    struct TSaved {
        const char* Name;
        std::string Value;
        bool Set;
    };
    std::vector<TSaved> Saved;
    for (const char* Name : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* V = std::getenv(Name);
        Saved.push_back(TSaved{Name, V ? V : "", V != nullptr});
    }
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_PAPER", "de_DE.UTF-8", 1);
    ::setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(DefaultPaper(), ppA4);
    ::setenv("LC_ALL", "en_CA.UTF-8", 1);
    EXPECT_EQ(DefaultPaper(), ppLetter);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_PAPER");
    ::setenv("LANG", "nl_NL.UTF-8", 1);
    EXPECT_EQ(TPrinterDevice().Paper(), ppA4);
    for (const TSaved& S : Saved)
        S.Set ? ::setenv(S.Name, S.Value.c_str(), 1) : ::unsetenv(S.Name);
}

TEST_F(PrinterDevice, DeviceCapsDescribeThePage)
{
    struct TCase {
        TPrinterPaper Paper;
        TPrinterOrientation Orientation;
        int HorzRes, VertRes, HorzSize, VertSize;
    };
    const std::vector<TCase> Cases = {{ppA4, poPortrait, 2480, 3508, 210, 297},
                                      {ppLetter, poLandscape, 3300, 2550, 279, 216}};
    for (const TCase& C : Cases) {
        TPrintJob Job;
        Job.SetPaper(C.Paper);
        Job.SetOrientation(C.Orientation);
        HDC DC = Job.Canvas();
        EXPECT_EQ(GetDeviceCaps(DC, TECHNOLOGY), DT_RASPRINTER);
        EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSX), 300);
        EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSY), 300);
        EXPECT_EQ(GetDeviceCaps(DC, HORZRES), C.HorzRes);
        EXPECT_EQ(GetDeviceCaps(DC, VERTRES), C.VertRes);
        EXPECT_EQ(GetDeviceCaps(DC, PHYSICALWIDTH), C.HorzRes);
        EXPECT_EQ(GetDeviceCaps(DC, PHYSICALHEIGHT), C.VertRes);
        EXPECT_EQ(GetDeviceCaps(DC, PHYSICALOFFSETX), 0);
        EXPECT_EQ(GetDeviceCaps(DC, PHYSICALOFFSETY), 0);
        EXPECT_EQ(GetDeviceCaps(DC, HORZSIZE), C.HorzSize);
        EXPECT_EQ(GetDeviceCaps(DC, VERTSIZE), C.VertSize);
        EXPECT_EQ(Job.PageWidth(), C.HorzRes);
        EXPECT_EQ(Job.PageHeight(), C.VertRes);
    }
    // A canvas without a device answers as the screen.
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 96);
}

TEST_F(PrinterDevice, CallsOutOfTurnAreRefused)
{
    TPrintJob Job;
    Job.SetFileName(Folder + "out.pdf");
    auto Message = [](const std::function<void()>& Call) {
        try {
            Call();
        } catch (const EPrinter& E) {
            return E.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message([&] { Job.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(Message([&] { Job.EndDoc(); }), "Printer is not currently printing");
    Job.BeginDoc();
    EXPECT_EQ(Message([&] { Job.BeginDoc(); }), "Printing in progress");
    EXPECT_EQ(Message([&] { Job.SetOrientation(poLandscape); }), "Printing in progress");
    EXPECT_EQ(Message([&] { Job.SetPaper(ppLetter); }), "Printing in progress");
    Job.EndDoc();

    TPrintJob NoName;
    EXPECT_THROW(NoName.BeginDoc(), EPrinter);
    EXPECT_FALSE(NoName.Printing());
    TPrintJob NoFolder;
    NoFolder.SetFileName(Folder + "missing/out.pdf");
    EXPECT_THROW(NoFolder.BeginDoc(), EAtomicWriteError);
    EXPECT_FALSE(NoFolder.Printing());
}

TEST_F(PrinterDevice, PagesCountAndTheFileAppearsAtEndDoc)
{
    const std::string FileName = Folder + "count.pdf";
    TPrintJob Job;
    Job.SetFileName(FileName);
    EXPECT_EQ(Job.PageNumber(), 0);
    Job.BeginDoc();
    EXPECT_TRUE(Job.Printing());
    EXPECT_EQ(Job.PageNumber(), 1);
    Job.NewPage();
    Job.NewPage();
    EXPECT_EQ(Job.PageNumber(), 3);
    EXPECT_FALSE(std::filesystem::exists(FileName));
    Job.EndDoc();
    EXPECT_FALSE(Job.Printing());
    EXPECT_FALSE(Job.Aborted());
    EXPECT_EQ(Job.PageNumber(), 0);
    const std::string Pdf = ReadAll(FileName);
    EXPECT_EQ(Pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(Pdf.find("/Count 3"), std::string::npos);
    // No leftovers of the atomic rewrite.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PrinterDevice, AbortLeavesNoFileAndAnOldFileWhole)
{
    TPrintJob Job;
    Job.SetFileName(Folder + "aborted.pdf");
    Job.BeginDoc();
    Job.Canvas()->Rectangle(10, 10, 100, 100);
    Job.Abort();
    EXPECT_TRUE(Job.Aborted());
    EXPECT_FALSE(Job.Printing());
    EXPECT_TRUE(std::filesystem::is_empty(Folder));

    WriteAll(Folder + "old.pdf", "old contents");
    Job.SetFileName(Folder + "old.pdf");
    Job.BeginDoc();
    EXPECT_FALSE(Job.Aborted());
    Job.NewPage();
    Job.Abort();
    EXPECT_EQ(ReadAll(Folder + "old.pdf"), "old contents");
    Job.Abort(); // nothing open: nothing happens
    EXPECT_TRUE(Job.Aborted());
}

TEST_F(PrinterDevice, TheCanvasKeepsItsMappingAcrossPagesOnWhitePages)
{
    TPrintJob Job;
    Job.SetFileName(Folder + "mapping.pdf");
    Job.BeginDoc();
    TCanvas* C = Job.Canvas();
    C->SetMapMode(MM_LOMETRIC);
    C->Brush()->SetColor(clBlack);
    C->FillRect(TRect{100, -100, 200, -200}); // 10 mm from the top-left corner, 1 cm square
    const TRasterDevice* Page = Job.Device()->Page();
    EXPECT_EQ(Page->Pixel(130, 130), clBlack);
    Job.NewPage();
    Page = Job.Device()->Page();
    EXPECT_EQ(Page->Pixel(130, 130), clWhite);
    EXPECT_EQ(C->MapMode(), MM_LOMETRIC);
    C->FillRect(TRect{100, -100, 200, -200});
    EXPECT_EQ(Page->Pixel(130, 130), clBlack);
    EXPECT_EQ(Page->Pixel(100, 100), clWhite);
    Job.EndDoc();
}

TEST_F(PrinterDevice, PrintedPagesComeBackFromThePdf)
{
    if (!ProgramInstalled("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    struct TCase {
        TPrinterPaper Paper;
        TPrinterOrientation Orientation;
        int Pages;
    };
    const std::vector<TCase> Cases = {{ppA4, poPortrait, 2}, {ppLetter, poLandscape, 1}};
    for (const TCase& Case : Cases) {
        const std::string FileName = Folder + "page" + std::to_string(Case.Paper) + ".pdf";
        TPrintJob Job;
        Job.SetTitle("Test page");
        Job.SetFileName(FileName);
        Job.SetPaper(Case.Paper);
        Job.SetOrientation(Case.Orientation);
        Job.BeginDoc();
        // Pages are compared at 1/8 of the printer's resolution, where the renderer's
        // smoothing and the hatches' fine pattern average out.
        std::vector<TPicture24> Expected;
        for (int Page = 1; Page <= Case.Pages; ++Page) {
            if (Page > 1)
                Job.NewPage();
            DrawTestPage(*Job.Canvas(), Page);
            Expected.push_back(Shrink(*Job.Device()->Page(), 8));
        }
        Job.EndDoc();
        EXPECT_NE(ReadAll(FileName).find("/Title (Test page)"), std::string::npos);

        const TSize Pixels = PaperPixels(Case.Paper, Case.Orientation);
        const std::vector<TPicture24> Rendered = RenderPdf(FileName, Pixels.cx / 2, Pixels.cy / 2);
        ASSERT_EQ(Rendered.size(), Expected.size());
        for (std::size_t I = 0; I < Rendered.size(); ++I) {
            const TDifference D = Compare(Shrink(Rendered[I], 4), Expected[I]);
            EXPECT_LT(D.Mean, 1.5) << "page " << I + 1;
            EXPECT_LT(D.FarShare, 0.002) << "page " << I + 1;
        }
        // The pages differ, so a page cannot pass for another.
        if (Rendered.size() == 2) {
            EXPECT_GT(Compare(Shrink(Rendered[1], 4), Expected[0]).FarShare, 0.02);
        }
    }
}

TEST_F(PrinterDevice, TheTestPageIsDrawnTheSameOnAnyRasterAtThePrinterResolution)
{
    // What the printed page shows is what the same calls draw on a 300-per-inch raster.
    TPrintJob Job;
    Job.SetFileName(Folder + "same.pdf");
    Job.SetPaper(ppA4);
    Job.BeginDoc();
    DrawTestPage(*Job.Canvas(), 1);
    TRasterDevice Raster(2480, 3508);
    Raster.SetPixelsPerInch(300, 300);
    TCanvas C(&Raster);
    DrawTestPage(C, 1);
    const TRasterDevice& Page = *Job.Device()->Page();
    EXPECT_TRUE(std::equal(Page.Bits(), Page.Bits() + 2480 * 3508, Raster.Bits()));
    Job.Abort();
}

namespace {

// A word as pdftotext -bbox places it, in points from the page's top-left corner.
struct TPdfWord {
    std::string Text;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

std::vector<TPdfWord> PdfWords(const std::string& FileName)
{
    const std::string Html = TestSupport::PdfText(FileName, {"-bbox"});
    std::vector<TPdfWord> Words;
    for (std::size_t At = Html.find("<word "); At != std::string::npos;
         At = Html.find("<word ", At + 1)) {
        TPdfWord W;
        const std::size_t Close = Html.find('>', At);
        const std::size_t End = Html.find("</word>", Close);
        if (Close == std::string::npos || End == std::string::npos)
            break;
        if (std::sscanf(Html.c_str() + At,
                        "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &W.Left,
                        &W.Top, &W.Right, &W.Bottom) != 4)
            continue;
        W.Text = Html.substr(Close + 1, End - Close - 1);
        Words.push_back(W);
    }
    return Words;
}

} // namespace

TEST(PrinterText, EachTextRunIsAlsoInvisibleTextInTheStandardFontOfItsFamily)
{
    if (!ProgramInstalled("pdftotext"))
        GTEST_FAIL() << "pdftotext (poppler-utils) is missing: scripts/setup --test installs it";
    TestSupport::TTempFolder Folder;
    struct TCase {
        std::string Face;
        int Height; // pixels, negative: the em
        bool Bold, Italic;
        int Escapement;
        std::string Text;
        std::string Read;     // what pdftotext gives for it
        std::string BaseFont; // in the file
    };
    const std::vector<TCase> Cases = {
        {"Arial", -100, false, false, 0, "Rules and statistics", "Rules and statistics",
         "/Helvetica "},
        {"Times New Roman", -58, true, false, 0,
         "Gr\xC3\xBC\xC3\x9F"
         "e f\xC3\xBCr Bj\xC3\xB6rn",
         "Gr\xC3\xBC\xC3\x9F"
         "e f\xC3\xBCr Bj\xC3\xB6rn",
         "/Times-Bold "},
        {"Courier New", -50, false, true, 0, "C:\\spam (old) 5%", "C:\\spam (old) 5%",
         "/Courier-Oblique "},
        {"Arial", -50, true, true, 0,
         "\xCE\xA9mega \xE2\x82\xAC"
         "5",
         "?mega \xE2\x82\xAC"
         "5",
         "/Helvetica-BoldOblique "},
        // Bytes that are not UTF-8 read as Windows-1252, as the canvas draws them.
        {"Arial", -50, false, false, 0, "caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC", "/Helvetica "},
        {"Arial", -60, false, false, 900, "Upwards", "Upwards", "/Helvetica "}};
    const std::string FileName = Folder.Path() + "text.pdf";
    TPrintJob Job;
    Job.SetFileName(FileName);
    Job.SetPaper(ppA4);
    Job.BeginDoc();
    TCanvas& C = *Job.Canvas();
    std::vector<TRect> Boxes; // device pixels
    int Y = 300;
    for (const TCase& Case : Cases) {
        C.Font()->SetName(Case.Face);
        C.Font()->SetHeight(Case.Height);
        TFontStyles Style;
        if (Case.Bold)
            Style.Include(fsBold);
        if (Case.Italic)
            Style.Include(fsItalic);
        C.Font()->SetStyle(Style);
        C.Font()->SetOrientation(Case.Escapement);
        const TSize Size = C.TextExtent(Case.Text);
        C.TextOut(300, Y, Case.Text);
        Boxes.push_back(TRect{300, Y, 300 + Size.cx, Y + Size.cy});
        Y += Case.Escapement ? 0 : 250;
    }
    // Text the clip hides altogether is left out of the text layer.
    C.Font()->SetOrientation(0);
    C.Font()->SetStyle({});
    C.IntersectClipRect(0, 0, 200, 200);
    C.TextOut(1000, 3000, "Hidden");
    C.SelectClipRgn(nullptr);
    Job.EndDoc();

    const std::string Pdf = ReadAll(FileName);
    const std::string Text = TestSupport::PdfText(FileName);
    const std::vector<TPdfWord> Words = PdfWords(FileName);
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        const TCase& Case = Cases[I];
        EXPECT_NE(Text.find(Case.Read), std::string::npos) << Case.Read << " in\n" << Text;
        EXPECT_NE(Pdf.find("/BaseFont " + Case.BaseFont), std::string::npos) << Case.BaseFont;
        if (Case.Escapement)
            continue;
        // The first word starts where the run does, and the last ends where it ends.
        const std::string First = Case.Read.substr(0, Case.Read.find(' '));
        const std::string Last = Case.Read.substr(Case.Read.rfind(' ') + 1);
        const TRect& Box = Boxes[I];
        const double Scale = 72.0 / 300;
        bool FoundFirst = false, FoundLast = false;
        for (const TPdfWord& W : Words) {
            if (W.Text.find(First) != std::string::npos ||
                (First.find("&") == std::string::npos && W.Text == First)) {
                FoundFirst = true;
                EXPECT_NEAR(W.Left, Box.Left * Scale, 1.5) << First;
                EXPECT_GT(W.Bottom, Box.Top * Scale) << First;
                EXPECT_LT(W.Top, Box.Bottom * Scale) << First;
            }
            if (W.Text == Last) {
                FoundLast = true;
                EXPECT_NEAR(W.Right, Box.Right * Scale, 2.5) << Last;
            }
        }
        EXPECT_TRUE(FoundFirst) << First;
        EXPECT_TRUE(FoundLast) << Last;
    }
    EXPECT_EQ(Text.find("Hidden"), std::string::npos);
}
