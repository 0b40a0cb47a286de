// THintWindow: what kind of window it is, measuring with wrapping, placement on the work area,
// a unit's own hint window class, and its picture (tests/fixtures/forms/hintwindow.png;
// TARNWICK_UPDATE_GOLDEN=1 writes it anew).
#include "tests/platform/forms/hinttest.h"

#include "platform/gfx/fontengine.h"
#include "platform/gfx/pngformat.h"
#include "platform/ui/headless/headlessdriver.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

THeadlessDriver& Headless()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver());
}

// Deterministic metrics, characters 5 wide on 10-pixel lines.
class DeterministicHintWindow : public ::testing::Test {
protected:
    DeterministicHintWindow()
    {
        SetDeterministicFontMetrics(true);
        Hint = new THintWindow(&App);
        Hint->Font()->SetHeight(10);
    }
    ~DeterministicHintWindow() override { SetDeterministicFontMetrics(false); }
    TTestApplication App;
    THintWindow* Hint;
};

struct TOwnHintWindow : THintWindow {
    using THintWindow::THintWindow;
};

// Puts a unit's own class in HintWindowClass for the life of the object.
struct TUseHintWindowClass {
    explicit TUseHintWindowClass(THintWindowClass Class) : Saved(HintWindowClass)
    {
        HintWindowClass = Class;
    }
    ~TUseHintWindowClass() { HintWindowClass = Saved; }
    THintWindowClass Saved;
};

} // namespace

TEST_F(DeterministicHintWindow, CalcHintRectWrapsAtTheMaximumWidthAndAddsItsMargins)
{
    struct TRow {
        const char* Text;
        int MaxWidth;
        TRect Expected; // text size + 6 across, + 2 down
    };
    const std::vector<TRow> Table = {
        {"aaaa bbbb cccc", 1000, Rect(0, 0, 76, 12)},
        {"aaaa bbbb cccc", 50, Rect(0, 0, 51, 22)}, // "aaaa bbbb" / "cccc"
        {"aaaa bbbb cccc", 40, Rect(0, 0, 26, 32)},
        {"abcdefghij k", 30, Rect(0, 0, 56, 22)}, // a longer word widens it
        {"one\ntwo three", 1000, Rect(0, 0, 51, 22)},
    };
    for (const TRow& Row : Table)
        EXPECT_EQ(Hint->CalcHintRect(Row.MaxWidth, Row.Text, nullptr), Row.Expected)
            << Row.Text << " in " << Row.MaxWidth;
}

TEST_F(DeterministicHintWindow, ActivateHintKeepsTheWindowOnTheWorkArea)
{
    // The headless work area is (0, 0)-(1024, 738); the window is 4 taller than the rectangle.
    struct TRow {
        const char* Name;
        TRect Asked;
        TRect Shown;
    };
    const std::vector<TRow> Table = {
        {"inside", Rect(100, 100, 160, 120), Rect(100, 100, 160, 124)},
        {"past the right", Rect(1000, 100, 1060, 120), Rect(964, 100, 1024, 124)},
        {"past the bottom", Rect(100, 730, 160, 750), Rect(100, 714, 160, 738)},
        {"past the corner", Rect(1020, 735, 1080, 755), Rect(964, 714, 1024, 738)},
        {"above and left", Rect(-30, -10, 30, 10), Rect(0, 0, 60, 24)},
    };
    for (const TRow& Row : Table) {
        Hint->ActivateHint(Row.Asked, "x");
        TRect R;
        GetWindowRect(Hint->Handle(), R);
        EXPECT_EQ(R, Row.Shown) << Row.Name;
        EXPECT_EQ(Hint->Caption(), "x");
    }
}

TEST_F(DeterministicHintWindow, ItIsATopmostOwnedPopUpThatTakesNeitherFocusNorActivation)
{
    TForm* Form = new TForm(&App);
    TTestBox* Box = Place<TTestBox>(Form, 10, 10, 50, 20);
    Box->SetTabStop(true);
    Form->Show();
    Box->SetFocus();
    Pump();
    Hint->ActivateHint(Rect(300, 300, 360, 320), "hint");
    Pump();
    EXPECT_TRUE(IsWindowVisible(Hint->Handle()));
    const DWORD Style = static_cast<DWORD>(GetWindowLong(Hint->Handle(), GWL_STYLE));
    const DWORD ExStyle = static_cast<DWORD>(GetWindowLong(Hint->Handle(), GWL_EXSTYLE));
    EXPECT_NE(Style & WS_POPUP, 0u);
    EXPECT_EQ(Style & (WS_CAPTION | WS_CHILD), 0u);
    EXPECT_NE(ExStyle & WS_EX_TOPMOST, 0u);
    EXPECT_NE(ExStyle & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(GetWindow(Hint->Handle(), GW_OWNER), App.Handle());
    EXPECT_EQ(GetFocus(), Box->Handle());
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    EXPECT_EQ(Hint->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    // A real pop-up of the display: a native window, shown.
    const THeadlessDriver::TNativeWindow* Native = Headless().Find(Hint->Handle());
    ASSERT_NE(Native, nullptr);
    EXPECT_NE(Native->Show, TNativeShow::Hidden);
    Hint->ReleaseHandle();
    EXPECT_FALSE(Hint->HandleAllocated());
    Hint->ActivateHint(Rect(300, 300, 360, 320), "again");
    EXPECT_TRUE(IsWindowVisible(Hint->Handle()));
}

TEST_F(DeterministicHintWindow, KeysClicksAndCommandsAreHintMessagesMovesAreNot)
{
    struct TRow {
        UINT Message;
        bool IsHint;
    };
    const std::vector<TRow> Table = {
        {WM_KEYDOWN, true},     {WM_SYSKEYDOWN, true}, {WM_CHAR, true},    {WM_LBUTTONDOWN, true},
        {WM_RBUTTONUP, true},   {WM_MOUSEWHEEL, true}, {WM_COMMAND, true}, {CM_DEACTIVATE, true},
        {WM_NCMOUSEMOVE, true}, {WM_MOUSEMOVE, false}, {WM_PAINT, false},  {WM_TIMER, false},
    };
    for (const TRow& Row : Table) {
        TMsg Msg;
        Msg.message = Row.Message;
        EXPECT_EQ(Hint->IsHintMsg(Msg), Row.IsHint) << Row.Message;
    }
}

TEST_F(Hints, NearTheWorkAreasEdgeTheHintStaysOnItWithoutCoveringTheMouse)
{
    Form->SetBounds(824, 560, 200, 178); // the bottom-right corner of the work area
    A->SetBounds(120, 120, 70, 50);
    A->SetHint("A hint long enough to reach past the right edge");
    Pump();
    const TPoint Corner = A->ClientToScreen(Point(65, 45));
    const TPoint InForm = Form->ScreenToClient(Corner);
    MoveTo(InForm.X, InForm.Y);
    Spend(520);
    THintWindow* Hint = ShownHint();
    ASSERT_NE(Hint, nullptr);
    TRect R;
    GetWindowRect(Hint->Handle(), R);
    const TRect Work = Screen->WorkAreaRect();
    EXPECT_LE(R.Right, Work.Right);
    EXPECT_LE(R.Bottom, Work.Bottom);
    EXPECT_GE(R.Left, Work.Left);
    EXPECT_GE(R.Top, Work.Top);
    EXPECT_FALSE(PtInRect(R, GetCursorPos()));
    EXPECT_LE(R.Bottom, GetCursorPos().Y);
}

TEST_F(Hints, TheApplicationMakesItsHintWindowsOfHintWindowClass)
{
    TUseHintWindowClass Use(&CreateHintWindow<TOwnHintWindow>);
    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_NE(dynamic_cast<TOwnHintWindow*>(ShownHint()), nullptr);
    EXPECT_EQ(ShownHintText(), "Alpha");
}

TEST(HintWindowPicture, TwoWrappedLinesMatchTheirPicture)
{
    if (!FontFamilyInstalled("Liberation Sans"))
        GTEST_SKIP() << "Liberation Sans is not installed";
    TTestApplication App;
    auto* Hint = new THintWindow(&App);
    Hint->Font()->SetName("Arial");
    Hint->Font()->SetSize(8);
    const std::string Text = "Moves the selected messages to the spam folder";
    TRect R = Hint->CalcHintRect(150, Text, nullptr);
    OffsetRect(R, 200, 200);
    Hint->ActivateHint(R, Text);
    Pump();
    const THeadlessDriver::TNativeWindow* Native = Headless().Find(Hint->Handle());
    ASSERT_NE(Native, nullptr);
    ASSERT_GT(Native->Presents, 0);
    TDibImage Shown;
    Shown.Allocate(Native->Width, Native->Height, 24);
    for (int Y = 0; Y < Native->Height; ++Y)
        for (int X = 0; X < Native->Width; ++X) {
            const std::uint32_t P = Native->Pixels[static_cast<std::size_t>(Y * Native->Width + X)];
            Shown.SetPixel(X, Y, RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF));
        }
    const std::string Path = std::string(TARNWICK_FIXTURES) + "/forms/hintwindow.png";
    const char* Update = std::getenv("TARNWICK_UPDATE_GOLDEN");
    if (Update != nullptr && std::string(Update) == "1") {
        std::ofstream(Path, std::ios::binary) << WritePng(Shown);
        return;
    }
    std::ifstream In(Path, std::ios::binary);
    const std::string Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(Bytes.empty()) << "missing golden " << Path;
    const TDibImage Golden =
        ReadPng(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
    ASSERT_EQ(Golden.Width, Shown.Width);
    ASSERT_EQ(Golden.Height, Shown.Height);
    // A channel may differ a little, and a few pixels more (font rasterisers move an edge).
    int Off = 0;
    for (int Y = 0; Y < Shown.Height; ++Y)
        for (int X = 0; X < Shown.Width; ++X) {
            const TColor A = Shown.Pixel(X, Y);
            const TColor B = Golden.Pixel(X, Y);
            if (std::abs(GetRValue(A) - GetRValue(B)) > 24 ||
                std::abs(GetGValue(A) - GetGValue(B)) > 24 ||
                std::abs(GetBValue(A) - GetBValue(B)) > 24)
                ++Off;
        }
    EXPECT_LE(Off, 30) << "differs from " << Path << "; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
    // Two lines of text between the frame's edges.
    EXPECT_EQ(Shown.Pixel(0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(Shown.Pixel(Shown.Width / 2, Shown.Height - 1), ColorToRGB(clWindowFrame));
    EXPECT_EQ(Shown.Pixel(1, 1), ColorToRGB(clInfoBk));
}
