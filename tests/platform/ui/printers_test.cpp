#include "platform/ui/printers.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/fontengine.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/lpstat.h"
#include "tests/support/pdftools.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

const char* const LpstatListing =
    "#!/bin/sh\n"
    "case \"$1\" in\n"
    "-e) printf 'office\\nlab_2\\n\\nbad name\\nPDF file\\noffice\\n' ;;\n"
    "-d) echo 'system default destination: lab_2' ;;\n"
    "esac\n";

// PATH holds only a folder of fake programs, and TMPDIR a folder of its own, for each test.
class Printers : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        for (const char* Name : {"PATH", "TMPDIR"}) {
            const char* V = std::getenv(Name);
            FSaved.emplace_back(Name, V ? V : "");
        }
        Bin = Folder + "bin/";
        Spool = Folder + "spool/";
        Capture = Folder + "capture/";
        for (const std::string& F : {Bin, Spool, Capture})
            std::filesystem::create_directory(F);
        ::setenv("PATH", Bin.c_str(), 1);
        ::setenv("TMPDIR", Spool.c_str(), 1);
        SetDeterministicFontMetrics(true);
    }
    void TearDown() override
    {
        SetDeterministicFontMetrics(false);
        for (const auto& [Name, Value] : FSaved)
            ::setenv(Name.c_str(), Value.c_str(), 1);
    }

    void Program(const std::string& Name, const std::string& Script)
    {
        WriteAll(Bin + Name, Script);
        ::chmod((Bin + Name).c_str(), 0755);
    }
    // An lp that keeps its arguments, one a line, the file it was given and that file's mode.
    void CapturingLp()
    {
        Program("lp", "#!/bin/sh\n"
                      "for a in \"$@\"; do printf '%s\\n' \"$a\"; last=$a; done > '" +
                          Capture + "args'\n/usr/bin/stat -c %a \"$last\" > '" + Capture +
                          "mode'\n/bin/cp \"$last\" '" + Capture +
                          "job.pdf'\n"
                          "echo 'request id is office-1 (1 file(s))'\n");
    }
    bool SpoolEmpty() const { return std::filesystem::is_empty(Spool); }

    std::string Bin, Spool, Capture;

private:
    std::vector<std::pair<std::string, std::string>> FSaved;
};

// Text, lines and a bitmap on the page.
void DrawTestPage(TCanvas& C)
{
    C.Font()->SetName("Arial");
    C.Font()->SetHeight(-100);
    C.TextOut(200, 200, "Spam rules 42");
    C.Pen()->SetWidth(10);
    C.MoveTo(200, 500);
    C.LineTo(2000, 500);
    C.Pen()->SetColor(clRed);
    C.MoveTo(200, 700);
    C.LineTo(1800, 1900);
    TBitmap Bitmap;
    Bitmap.SetSize(4, 4);
    const TColor Colors[4] = {clRed, clLime, clBlue, clYellow};
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            Bitmap.Canvas()->SetPixels(X, Y, Colors[(X + Y) % 4]);
    C.StretchDraw(TRect{1200, 1000, 2000, 1800}, &Bitmap);
}

// The mean difference per sample of the two pictures averaged over Factor x Factor blocks.
double MeanDifference(const std::function<TColor(int, int)>& A,
                      const std::function<TColor(int, int)>& B, int Width, int Height, int Factor)
{
    double Sum = 0;
    long Blocks = 0;
    for (int Y = 0; Y + Factor <= Height; Y += Factor)
        for (int X = 0; X + Factor <= Width; X += Factor) {
            for (int Shift = 0; Shift < 24; Shift += 8) {
                long SA = 0, SB = 0;
                for (int DY = 0; DY < Factor; ++DY)
                    for (int DX = 0; DX < Factor; ++DX) {
                        SA += A(X + DX, Y + DY) >> Shift & 0xFF;
                        SB += B(X + DX, Y + DY) >> Shift & 0xFF;
                    }
                Sum += std::abs(SA - SB) / double(Factor * Factor);
            }
            ++Blocks;
        }
    return Sum / (3.0 * static_cast<double>(Blocks));
}

} // namespace

TEST_F(Printers, TheListIsThePdfPrinterThenTheQueuesOfLpstat)
{
    struct TCase {
        std::string Name;
        std::string Lpstat; // "" for none on PATH
        std::vector<std::string> Printers;
        int Default;
    };
    const std::vector<TCase> Cases = {
        {"listing", LpstatListing, {"PDF file", "office", "lab_2"}, 2},
        {"no default",
         "#!/bin/sh\n[ \"$1\" = -e ] && echo office || echo 'no system default destination'\n",
         {"PDF file", "office"},
         0},
        {"default not listed",
         "#!/bin/sh\n[ \"$1\" = -e ] && echo office || echo 'system default destination: gone'\n",
         {"PDF file", "office"},
         0},
        {"no scheduler",
         "#!/bin/sh\necho 'lpstat: Scheduler is not running.' >&2\nexit 1\n",
         {"PDF file"},
         0},
        {"missing", "", {"PDF file"}, 0}};
    for (const TCase& Case : Cases) {
        std::filesystem::remove(Bin + "lpstat");
        if (!Case.Lpstat.empty())
            Program("lpstat", Case.Lpstat);
        TPrinter P;
        std::vector<std::string> Names;
        for (int I = 0; I < P.Printers()->Count(); ++I)
            Names.push_back(P.Printers()->Strings(I));
        EXPECT_EQ(Names, Case.Printers) << Case.Name;
        EXPECT_EQ(P.PrinterIndex(), Case.Default) << Case.Name;
        P.SetPrinterIndex(0);
        P.SetPrinterIndex(-1);
        EXPECT_EQ(P.PrinterIndex(), Case.Default) << Case.Name;
        EXPECT_THROW(P.SetPrinterIndex(static_cast<int>(Names.size())), EPrinter);
    }
}

TEST_F(Printers, AnLpstatThatHangsIsEndedAtItsTimeLimit)
{
    Program("lpstat", "#!/bin/sh\nexec /bin/sleep 30\n");
    const auto Start = std::chrono::steady_clock::now();
    const TPrintQueues Queues = ReadPrintQueues(300);
    EXPECT_TRUE(Queues.Names.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
}

TEST_F(Printers, TheSettingsBlockRoundTripsThroughGetPrinterAndSetPrinter)
{
    Program("lpstat", LpstatListing);
    struct TCase {
        DWORD Fields;
        short Orientation, Paper, Copies;
        TPrinterOrientation WantOrientation;
        int Width, Height, WantCopies;
    };
    // The printer starts on A4 portrait; a paper it lacks leaves the one before.
    const std::vector<TCase> Cases = {
        {DM_ORIENTATION | DM_PAPERSIZE, DMORIENT_LANDSCAPE, DMPAPER_LETTER, 1, poLandscape, 3300,
         2550, 1},
        {DM_PAPERSIZE, DMORIENT_PORTRAIT, DMPAPER_LEGAL, 1, poLandscape, 3300, 2550, 1},
        {DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES, DMORIENT_PORTRAIT, DMPAPER_A4, 3, poPortrait,
         2480, 3508, 3},
        {DM_ORIENTATION, DMORIENT_LANDSCAPE, DMPAPER_A3, 0, poLandscape, 3508, 2480, 3}};
    TPrinter P;
    P.SetPrinterIndex(1);
    HGLOBAL First = 0;
    {
        std::string Device, Driver, Port;
        P.GetPrinter(Device, Driver, Port, First);
        auto* Mode = static_cast<DEVMODE*>(GlobalLock(First));
        Mode->dmPaperSize = DMPAPER_A4;
        GlobalUnlock(First);
    }
    for (const TCase& Case : Cases) {
        // Changed in place, then the same printer chosen again, as the rich edit does.
        std::string Device, Driver, Port;
        HGLOBAL Block = 0;
        P.GetPrinter(Device, Driver, Port, Block);
        EXPECT_EQ(Block, First);
        EXPECT_EQ(Device, "office");
        EXPECT_EQ(Driver, "CUPS");
        EXPECT_EQ(Port, "office");
        auto* Mode = static_cast<DEVMODE*>(GlobalLock(Block));
        ASSERT_NE(Mode, nullptr);
        EXPECT_STREQ(Mode->dmDeviceName, "office");
        Mode->dmFields |= Case.Fields;
        if (Case.Fields & DM_ORIENTATION)
            Mode->dmOrientation = Case.Orientation;
        if (Case.Fields & DM_PAPERSIZE)
            Mode->dmPaperSize = Case.Paper;
        if (Case.Fields & DM_COPIES)
            Mode->dmCopies = Case.Copies;
        GlobalUnlock(Block);
        P.SetPrinterIndex(P.PrinterIndex());
        EXPECT_EQ(P.Orientation(), Case.WantOrientation);
        EXPECT_EQ(P.PageWidth(), Case.Width);
        EXPECT_EQ(P.PageHeight(), Case.Height);
        EXPECT_EQ(P.Copies(), Case.WantCopies);
        EXPECT_EQ(GetDeviceCaps(P.Handle(), HORZRES), Case.Width);
    }
    // A copy handed back through SetPrinter is taken over; port FILE: prints to a file.
    const std::size_t Blocks = GlobalBlockCount();
    const HGLOBAL Copy = GlobalAlloc(GHND, sizeof(DEVMODE));
    auto* Mode = static_cast<DEVMODE*>(GlobalLock(Copy));
    Mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    Mode->dmOrientation = DMORIENT_PORTRAIT;
    Mode->dmPaperSize = DMPAPER_LETTER;
    GlobalUnlock(Copy);
    P.SetPrinter("lab_2", "CUPS", TPrinter::FilePort, Copy);
    EXPECT_EQ(GlobalBlockCount(), Blocks + 1); // lab_2's own block, the copy freed
    EXPECT_EQ(GlobalSize(Copy), 0u);
    EXPECT_EQ(P.PrinterIndex(), 2);
    EXPECT_EQ(P.Orientation(), poPortrait);
    EXPECT_EQ(P.PageWidth(), 2550);
    std::string Device, Driver, Port;
    HGLOBAL Block = 0;
    P.GetPrinter(Device, Driver, Port, Block);
    EXPECT_EQ(Port, "FILE:");
    P.SetPrinterIndex(2); // the same printer: still to a file
    P.GetPrinter(Device, Driver, Port, Block);
    EXPECT_EQ(Port, "FILE:");
    P.SetPrinterIndex(1);
    P.SetPrinterIndex(2);
    P.GetPrinter(Device, Driver, Port, Block);
    EXPECT_EQ(Port, "lab_2");
    EXPECT_THROW(P.SetPrinter("nowhere", "CUPS", "", 0), EPrinter);
    // The orientation property writes the block.
    P.SetOrientation(poLandscape);
    Mode = static_cast<DEVMODE*>(GlobalLock(Block));
    EXPECT_EQ(Mode->dmOrientation, DMORIENT_LANDSCAPE);
    GlobalUnlock(Block);
}

TEST_F(Printers, ACancelledSaveDialogAbortsAndWritesNothing)
{
    Program("lpstat", LpstatListing);
    struct TCase {
        int Index;
        std::string Port; // "" selects by index
    };
    const std::vector<TCase> Cases = {{0, ""}, {1, TPrinter::FilePort}};
    for (const TCase& Case : Cases) {
        TPrinter P;
        if (Case.Port.empty())
            P.SetPrinterIndex(Case.Index);
        else
            P.SetPrinter(P.Printers()->Strings(Case.Index), "CUPS", Case.Port, 0);
        P.SetTitle("Rules: week 3");
        TScriptedDialogs Dialogs;
        Dialogs.Answer(mrCancel);
        EXPECT_THROW(P.BeginDoc(), EAbort);
        EXPECT_FALSE(P.Printing());
        ASSERT_EQ(Dialogs.Calls().size(), 1u);
        EXPECT_EQ(Dialogs.Calls()[0].Kind, TDialogKind::SaveFile);
        EXPECT_EQ(Dialogs.Calls()[0].DefaultExt, "pdf");
        EXPECT_EQ(Dialogs.Calls()[0].Value, "Rules: week 3.pdf");
        EXPECT_TRUE(SpoolEmpty());
        EXPECT_TRUE(std::filesystem::is_empty(Capture));
    }
}

TEST_F(Printers, ATestPagePrintedToAPdfFileLooksAndReadsAsDrawn)
{
    struct TCase {
        TPrinterOrientation Orientation;
        int Width, Height;
    };
    const std::vector<TCase> Cases = {{poPortrait, 2480, 3508}, {poLandscape, 3508, 2480}};
    for (const TCase& Case : Cases) {
        TPrinter P;
        P.SetPrinterIndex(0);
        std::string Device, Driver, Port;
        HGLOBAL Block = 0;
        P.GetPrinter(Device, Driver, Port, Block);
        auto* Mode = static_cast<DEVMODE*>(GlobalLock(Block));
        Mode->dmPaperSize = DMPAPER_A4;
        GlobalUnlock(Block);
        P.SetOrientation(Case.Orientation);
        P.SetTitle("Test page");
        const std::string FileName = Capture + "page" + std::to_string(Case.Orientation) + ".pdf";
        TScriptedDialogs Dialogs;
        Dialogs.Answer(mrOk, FileName);
        P.BeginDoc();
        EXPECT_EQ(P.PageNumber(), 1);
        TPoint Size, Offset;
        EXPECT_EQ(Escape(P.Handle(), GETPHYSPAGESIZE, 0, nullptr, &Size), 1);
        EXPECT_EQ(Escape(P.Handle(), GETPRINTINGOFFSET, 0, nullptr, &Offset), 1);
        EXPECT_EQ(Size, (TPoint{Case.Width, Case.Height}));
        EXPECT_EQ(Offset, (TPoint{0, 0}));
        DrawTestPage(*P.Canvas());
        const auto* Page = dynamic_cast<const TPrinterDevice*>(P.Canvas()->Device())->Page();
        std::vector<TColor> Drawn;
        ASSERT_TRUE(Page->ReadPixels(TRect{0, 0, Case.Width, Case.Height}, Drawn));
        P.EndDoc();
        EXPECT_FALSE(P.Printing());

        const TDibImage Rendered = TestSupport::RenderPdfPage(FileName, 1, 300);
        ASSERT_EQ(Rendered.Width, Case.Width);
        ASSERT_EQ(Rendered.Height, Case.Height);
        const double Mean = MeanDifference(
            [&](int X, int Y) { return Drawn[static_cast<std::size_t>(Y) * Case.Width + X]; },
            [&](int X, int Y) { return Rendered.Pixel(X, Y); }, Case.Width, Case.Height, 4);
        EXPECT_LT(Mean, 1.0);
        // A blank page is far off, so the comparison can fail.
        EXPECT_GT(MeanDifference([](int, int) { return clWhite; },
                                 [&](int X, int Y) { return Rendered.Pixel(X, Y); }, Case.Width,
                                 Case.Height, 4),
                  3 * Mean);
        EXPECT_NE(TestSupport::PdfText(FileName).find("Spam rules 42"), std::string::npos);
    }
}

TEST_F(Printers, AQueueGetsTheFileThroughLpWithTitleAndCopiesVerbatim)
{
    Program("lpstat", LpstatListing);
    CapturingLp();
    const std::vector<std::string> Titles = {"Weekly statistics",
                                             "it's \"quoted\"; rm -rf / $(id) `id` & | > x",
                                             "-t looks like an option", ""};
    for (const std::string& Title : Titles) {
        std::filesystem::remove(Capture + "args");
        TPrinter P;
        P.SetPrinterIndex(1);
        P.SetCopies(2);
        P.SetTitle(Title);
        P.BeginDoc();
        P.Canvas()->TextOut(100, 100, "Queued page");
        P.NewPage();
        P.EndDoc();
        const std::string Args = ReadAll(Capture + "args");
        const std::string Prefix = "-d\noffice\n-t\n" + Title + "\n-n\n2\n" + Spool;
        EXPECT_EQ(Args.substr(0, Prefix.size()), Prefix) << Args;
        EXPECT_EQ(ReadAll(Capture + "mode"), "600\n");
        const std::string Job = ReadAll(Capture + "job.pdf");
        EXPECT_EQ(Job.rfind("%PDF-", 0), 0u);
        EXPECT_NE(Job.find("/Count 2"), std::string::npos);
        EXPECT_TRUE(SpoolEmpty()) << Title;
    }
}

TEST_F(Printers, AFailingLpRaisesItsMessageAndLeavesNoFile)
{
    Program("lpstat", LpstatListing);
    Program("lp", "#!/bin/sh\necho 'lp: The printer or class does not exist.' >&2\nexit 1\n");
    TPrinter P;
    P.SetPrinterIndex(2);
    P.BeginDoc();
    EXPECT_FALSE(SpoolEmpty());
    try {
        P.EndDoc();
        ADD_FAILURE() << "no error";
    } catch (const EPrinter& E) {
        EXPECT_EQ(E.Message(), "lp: The printer or class does not exist.");
    }
    EXPECT_FALSE(P.Printing());
    EXPECT_TRUE(SpoolEmpty());

    // No lp at all.
    std::filesystem::remove(Bin + "lp");
    P.BeginDoc();
    EXPECT_THROW(P.EndDoc(), EPrinter);
    EXPECT_TRUE(SpoolEmpty());
}

TEST_F(Printers, AbortAndDestructionRemoveTheSpoolFile)
{
    Program("lpstat", LpstatListing);
    CapturingLp();
    {
        TPrinter P;
        P.SetPrinterIndex(1);
        P.BeginDoc();
        P.Abort();
        EXPECT_TRUE(P.Aborted());
        EXPECT_FALSE(P.Printing());
        EXPECT_TRUE(SpoolEmpty());
        P.BeginDoc();
        EXPECT_FALSE(P.Aborted());
        EXPECT_THROW(P.SetPrinterIndex(0), EPrinter);
        EXPECT_THROW(P.SetOrientation(poLandscape), EPrinter);
        EXPECT_THROW(P.BeginDoc(), EPrinter);
    }
    EXPECT_TRUE(SpoolEmpty());
    EXPECT_FALSE(std::filesystem::exists(Capture + "args"));
}

TEST_F(Printers, OnlyAPrinterCanvasAnswersTheEscapes)
{
    TPrinter P;
    int Asked = GETPHYSPAGESIZE;
    EXPECT_EQ(Escape(P.Handle(), QUERYESCSUPPORT, sizeof Asked, &Asked, nullptr), 1);
    Asked = 999;
    EXPECT_EQ(Escape(P.Handle(), QUERYESCSUPPORT, sizeof Asked, &Asked, nullptr), 0);
    TPoint Out{-1, -1};
    EXPECT_EQ(Escape(nullptr, GETPHYSPAGESIZE, 0, nullptr, &Out), 0);
    TBitmap Bitmap;
    Bitmap.SetSize(10, 10);
    EXPECT_EQ(Escape(Bitmap.Canvas()->Handle(), GETPHYSPAGESIZE, 0, nullptr, &Out), 0);
    EXPECT_EQ(Out, (TPoint{-1, -1}));
    EXPECT_EQ(GetDeviceCaps(P.Handle(), LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(P.Handle(), TECHNOLOGY), DT_RASPRINTER);
}

TEST(LpstatListing, DestinationsAndTheDefaultAreRead)
{
    struct TCase {
        std::string Output;
        std::vector<std::string> Names;
    };
    const std::vector<TCase> Cases = {
        {"", {}},
        {"a\nb\r\nc", {"a", "b", "c"}},
        {"q/instance\n\tbad\nx y\n\x01\nPDF file\nq/instance\n", {"q/instance"}},
        {std::string(256, 'n') + "\n" + std::string(255, 'm'), {std::string(255, 'm')}}};
    for (const TCase& Case : Cases)
        EXPECT_EQ(ParseLpstatDestinations(Case.Output), Case.Names) << Case.Output;
    struct TDefault {
        std::string Output, Name;
    };
    const std::vector<TDefault> Defaults = {
        {"system default destination: office\n", "office"},
        {"no system default destination\n", ""},
        {"system default destination: two words\n", ""},
        {"xsystem default destination: office\n", ""},
        {"lpstat: warning\nsystem default destination: lab\r\n", "lab"}};
    for (const TDefault& D : Defaults)
        EXPECT_EQ(ParseLpstatDefault(D.Output), D.Name) << D.Output;
}
