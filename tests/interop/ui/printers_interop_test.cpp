#include "platform/ui/printers.h"

#include "platform/gfx/fontengine.h"
#include "platform/ui/dialogservice.h"
#include "tests/interop/ui/cupsd.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

using TestSupport::ReadAll;

namespace {

class PrinterInterop : public TestSupport::TempFolderTest {
protected:
    static void SetUpTestSuite()
    {
        try {
            Cupsd = std::make_unique<TestSupport::TCupsd>();
        } catch (const std::exception& E) {
            Failure = E.what();
        }
    }
    static void TearDownTestSuite() { Cupsd.reset(); }

    void SetUp() override
    {
        if (!Cupsd)
            GTEST_FAIL() << "cupsd did not start: " << Failure;
        ::setenv("CUPS_SERVER", Cupsd->Server().c_str(), 1);
        ::setenv("TMPDIR", Folder.c_str(), 1);
        SetDeterministicFontMetrics(true);
    }
    void TearDown() override
    {
        SetDeterministicFontMetrics(false);
        ::unsetenv("CUPS_SERVER");
        ::unsetenv("TMPDIR");
    }

    static std::unique_ptr<TestSupport::TCupsd> Cupsd;
    static std::string Failure;
};

std::unique_ptr<TestSupport::TCupsd> PrinterInterop::Cupsd;
std::string PrinterInterop::Failure;

void DrawPages(TPrinter& P)
{
    P.Canvas()->Font()->SetName("Arial");
    P.Canvas()->Font()->SetHeight(-80);
    P.Canvas()->TextOut(200, 200, "Rule list");
    P.Canvas()->Rectangle(200, 400, 1200, 900);
    P.NewPage();
    P.Canvas()->TextOut(200, 200, "Statistics");
}

} // namespace

TEST_F(PrinterInterop, TheQueueReceivesThePdfWithItsTitle)
{
    const std::string Title = "Statistics; \"week\" 3 $(id) & more";
    TPrinter P;
    ASSERT_EQ(P.Printers()->IndexOf("q"), 1);
    EXPECT_EQ(P.PrinterIndex(), 1); // the scheduler's default

    // The same pages to a file, for comparison: the same pages give the same bytes.
    const std::string Expected = Folder + "expected.pdf";
    {
        TPrinter File;
        File.SetPrinterIndex(0);
        File.SetTitle(Title);
        TScriptedDialogs Dialogs;
        Dialogs.Answer(mrOk, Expected);
        File.BeginDoc();
        DrawPages(File);
        File.EndDoc();
    }
    P.SetTitle(Title);
    P.BeginDoc();
    DrawPages(P);
    P.EndDoc();

    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(Cupsd->JobFile()) &&
           std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(Cupsd->JobFile())) << Cupsd->Log();
    const std::string Job = ReadAll(Cupsd->JobFile());
    EXPECT_EQ(Job.size(), ReadAll(Expected).size());
    EXPECT_TRUE(Job == ReadAll(Expected));
    EXPECT_EQ(ReadAll(Cupsd->TitleFile()), Title);
    // Only the comparison file is left in the temporary folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PrinterInterop, AnUnreachableSchedulerRaisesLpsMessage)
{
    TPrinter P;
    P.SetPrinterIndex(1);
    ASSERT_EQ(P.Printers()->Strings(1), "q");
    // No scheduler answers there: lp's complaint reaches the caller.
    ::setenv("CUPS_SERVER", "127.0.0.1:1", 1);
    P.BeginDoc();
    try {
        P.EndDoc();
        ADD_FAILURE() << "no error";
    } catch (const EPrinter& E) {
        EXPECT_NE(E.Message().find("lp:"), std::string::npos) << E.Message();
    }
    EXPECT_TRUE(std::filesystem::is_empty(Folder));
}
