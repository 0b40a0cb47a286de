// The screen as the program sees it on an X server: the server's size and resolution, the work
// area a window manager announces on the root window, and forms centred or maximised on it
// where the server shows them.
#include "tests/gui/xserver.h"

#include "platform/forms/form.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"

#include <memory>
#include <string>
#include <vector>

using guitest::PumpUntil;
using guitest::RunTool;

namespace {

class XScreen : public guitest::XServerAppTest {
protected:
    XScreen()
    {
        ScreenSize = "1920x1080";
        Dpi = 120;
    }

    // What xwininfo tells of the form's window.
    std::string WindowInfo(TForm* Form)
    {
        return RunTool(Display, {"xwininfo", "-id",
                                 std::to_string(DisplayDriver().NativeId(Form->Handle()))})
            .Output;
    }

    // The window's place on the screen and size, as the server has them.
    TRect ServerBounds(TForm* Form)
    {
        const std::string Info = WindowInfo(Form);
        const auto Field = [&](const std::string& Label) {
            const auto At = Info.find(Label);
            return At == std::string::npos ? -1 : std::stoi(Info.substr(At + Label.size()));
        };
        return Bounds(Field("Absolute upper-left X:"), Field("Absolute upper-left Y:"),
                      Field("Width:"), Field("Height:"));
    }

    TForm* ShowForm(TPosition Position, int Width, int Height)
    {
        TForm* Form = new TForm(App.get());
        Form->SetBounds(0, 0, Width, Height);
        Form->SetPosition(Position);
        Form->Show();
        EXPECT_TRUE(
            PumpUntil([&] { return WindowInfo(Form).find("IsViewable") != std::string::npos; }));
        return Form;
    }

    void SetRoot(const std::string& Property, const std::string& Values)
    {
        const auto Set = Values.empty() ? RunTool(Display, {"xprop", "-root", "-remove", Property})
                                        : RunTool(Display, {"xprop", "-root", "-f", Property, "32c",
                                                            "-set", Property, Values});
        ASSERT_EQ(Set.Status, 0) << Property << " " << Values;
    }
};

TEST_F(XScreen, ScreenIsTheServersAndAFormCentredOnItOpensAtItsCentre)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(Screen->Width(), 1920);
    EXPECT_EQ(Screen->Height(), 1080);
    EXPECT_EQ(Screen->PixelsPerInch(), 120);
    // No window manager: nothing takes a part of the screen.
    EXPECT_EQ(Screen->WorkAreaRect(), Rect(0, 0, 1920, 1080));

    TForm* Form = ShowForm(poScreenCenter, 400, 300);
    EXPECT_EQ(ServerBounds(Form), Bounds(760, 390, 400, 300));
    EXPECT_EQ(Form->BoundsRect(), Bounds(760, 390, 400, 300));
}

TEST_F(XScreen, WorkAreaIsWhatTheWindowManagerAnnouncesForTheCurrentDesktop)
{
    struct TCase {
        const char* Name;
        std::string Areas;   // _NET_WORKAREA: x, y, width, height per desktop; empty: none
        std::string Desktop; // _NET_CURRENT_DESKTOP; empty: none
        TRect Expected;
    };
    const std::vector<TCase> Cases = {
        {"panel along the top", "0, 24, 1920, 1056", "", Rect(0, 24, 1920, 1080)},
        {"second desktop", "0, 24, 1920, 1056, 64, 0, 1856, 1048", "1", Rect(64, 0, 1920, 1048)},
        {"desktop without an area", "0, 24, 1920, 1056", "3", Rect(0, 24, 1920, 1080)},
        {"beyond the screen", "0, 0, 2560, 1440", "", Rect(0, 0, 1920, 1080)},
        {"none announced", "", "", Rect(0, 0, 1920, 1080)},
        {"dock on the left", "48, 0, 1872, 1080", "", Rect(48, 0, 1920, 1080)},
    };
    for (const TCase& Case : Cases) {
        SetRoot("_NET_CURRENT_DESKTOP", Case.Desktop);
        SetRoot("_NET_WORKAREA", Case.Areas);
        EXPECT_TRUE(PumpUntil([&] { return Screen->WorkAreaRect() == Case.Expected; }))
            << Case.Name;
        TRect Work;
        SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
        EXPECT_EQ(Work, Case.Expected) << Case.Name;
    }

    // A form maximised, and one too wide for the work area, keep clear of the dock.
    TForm* Maximised = ShowForm(poDesigned, 300, 200);
    Maximised->SetWindowState(wsMaximized);
    EXPECT_TRUE(PumpUntil([&] { return ServerBounds(Maximised) == Rect(48, 0, 1920, 1080); }));
    TForm* Wide = ShowForm(poScreenCenter, 1900, 600);
    EXPECT_EQ(ServerBounds(Wide), Bounds(48, 240, 1900, 600));
}

using XResolution = guitest::XServerTest;

TEST_F(XResolution, PixelsPerInchIsTheServersOr96WhenItCannotBeTheScreens)
{
    struct TCase {
        int Dpi;
        int Expected;
    };
    const std::vector<TCase> Cases = {{96, 96}, {144, 144}, {20, 96}};
    for (const TCase& Case : Cases) {
        StopServer();
        Dpi = Case.Dpi;
        StartServer();
        ASSERT_FALSE(HasFatalFailure());
        TScreen Probe(nullptr);
        EXPECT_EQ(Probe.PixelsPerInch(), Case.Expected) << "-dpi " << Case.Dpi;
    }
}

} // namespace
