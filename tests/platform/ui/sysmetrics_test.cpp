// The screen the display driver reports is the one the system metrics, the work area, TScreen
// and the desktop window give, and the one maximised windows fill; and the resolution a driver
// works out from the screen's size in millimetres.
#include "tests/platform/ui/uitest.h"

#include "platform/ui/application.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The headless driver on a 1920 x 1080 screen at 144 dpi, with a panel along the top and a
// dock on the left, for one test.
class WideScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = Driver().NativeScreen();
        Driver().SetNativeScreen(Wide);
    }
    void TearDown() override { Driver().SetNativeScreen(Saved); }

    static THeadlessDriver& Driver() { return dynamic_cast<THeadlessDriver&>(DisplayDriver()); }

    const TNativeScreen Wide{1920, 1080, TRect{48, 32, 1920, 1080}, 144};
    TNativeScreen Saved;
};

TEST_F(WideScreen, MetricsWorkAreaAndScreenAreTheDriversScreen)
{
    struct TCase {
        const char* Name;
        int Index;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {"SM_CXSCREEN", SM_CXSCREEN, 1920},
        {"SM_CYSCREEN", SM_CYSCREEN, 1080},
        // A window maximised on the work area, less its caption.
        {"SM_CXFULLSCREEN", SM_CXFULLSCREEN, 1872},
        {"SM_CYFULLSCREEN", SM_CYFULLSCREEN, 1048 - GetSystemMetrics(SM_CYCAPTION)},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(GetSystemMetrics(Case.Index), Case.Expected) << Case.Name;

    TRect Work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
    EXPECT_EQ(Work, Rect(48, 32, 1920, 1080));
    TRect Desktop;
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), Desktop));
    EXPECT_EQ(Desktop, Rect(0, 0, 1920, 1080));

    TApplication App(nullptr);
    ASSERT_NE(Screen, nullptr);
    EXPECT_EQ(Screen->Width(), 1920);
    EXPECT_EQ(Screen->Height(), 1080);
    EXPECT_EQ(Screen->WorkAreaRect(), Rect(48, 32, 1920, 1080));
    EXPECT_EQ(Screen->WorkAreaLeft(), 48);
    EXPECT_EQ(Screen->WorkAreaTop(), 32);
    EXPECT_EQ(Screen->WorkAreaWidth(), 1872);
    EXPECT_EQ(Screen->WorkAreaHeight(), 1048);
    EXPECT_EQ(Screen->PixelsPerInch(), 144);
}

TEST_F(WideScreen, MaximisedWindowFillsTheWorkArea)
{
    TRecordingWindow Window(WS_OVERLAPPEDWINDOW);
    ShowWindow(Window.Handle, SW_SHOWMAXIMIZED);
    TRect Bounds;
    GetWindowRect(Window.Handle, Bounds);
    EXPECT_EQ(Bounds, Rect(48, 32, 1920, 1080));
    EXPECT_EQ(Driver().Find(Window.Handle)->Bounds, Rect(48, 32, 1920, 1080));
}

TEST(ScreenResolution, MillimetresGiveTheNearestDotsPerInchOr96WhenTheyCannotBeTheScreens)
{
    struct TCase {
        const char* Name;
        int Width, Height, WidthMM, HeightMM;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {"Xvfb -dpi 120", 1920, 1080, 406, 229, 120},
        {"Xvfb -dpi 96", 1024, 768, 271, 203, 96},
        {"27-inch 4K", 3840, 2160, 597, 336, 163},
        {"13-inch laptop", 2560, 1600, 286, 179, 227},
        {"no size given", 1920, 1080, 0, 0, 96},
        {"aspect ratio for a size", 1920, 1080, 16, 9, 96},
        {"16:10 centimetres on a 16:9 panel", 1920, 1080, 160, 100, 96},
        {"television", 1920, 1080, 1210, 680, 96},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(PixelsPerInchOf(Case.Width, Case.Height, Case.WidthMM, Case.HeightMM),
                  Case.Expected)
            << Case.Name;
}

} // namespace
