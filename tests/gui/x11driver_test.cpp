// The X11 driver on a private X server, with plain windows: what the desktop sees of hidden and
// tool windows, and what the wheel, the keyboard and the clipboard bring. Forms on the server
// (class, title, picture, clicks) are in demoform_test.cpp.
#include "tests/gui/xserver.h"

#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <string>
#include <vector>

using guitest::PumpUntil;
using guitest::RunTool;

namespace {

struct TSeen {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

class X11Driver : public guitest::XServerTest {
protected:
    void SetUp() override
    {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        TWndClass Class;
        Class.ClassName = "TGuiProbe";
        Class.WndProc = [this](HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
            Seen.push_back(TSeen{Msg, WParam, LParam});
            return DefWindowProc(Window, Msg, WParam, LParam);
        };
        RegisterClass(Class);
        Wnd = CreateWindowEx(0, "TGuiProbe", "Tarnwick \xc3\xbc", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             100, 120, 200, 150, 0);
        ASSERT_NE(Wnd, 0u);
        Id = std::to_string(DisplayDriver().NativeId(Wnd));
        guitest::Pump(100);
        Seen.clear();
    }

    void TearDown() override
    {
        if (Wnd != 0)
            DestroyWindow(Wnd);
        UnregisterClass("TGuiProbe");
        XServerTest::TearDown();
    }

    bool Has(UINT Msg) const
    {
        for (const TSeen& S : Seen)
            if (S.Msg == Msg)
                return true;
        return false;
    }

    std::string Dump() const
    {
        std::string Text;
        for (const TSeen& S : Seen)
            Text += " " + std::to_string(S.Msg) + ":" + std::to_string(S.WParam);
        return Text;
    }

    std::string Chars() const
    {
        std::string Text;
        for (const TSeen& S : Seen)
            if (S.Msg == WM_CHAR)
                Text += static_cast<char>(S.WParam);
        return Text;
    }

    void Focus()
    {
        ASSERT_EQ(RunTool(Display, {"xdotool", "windowfocus", "--sync", Id}).Status, 0);
        SetFocus(Wnd);
    }

    HWND Wnd = 0;
    std::string Id;
    std::vector<TSeen> Seen;
};

TEST_F(X11Driver, HiddenWindowIsUnmappedAndOwnedToolWindowSkipsTheTaskbar)
{
    HWND Tool = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "TGuiProbe", "Tool",
                               WS_CAPTION | WS_VISIBLE, 10, 10, 50, 50, Wnd);
    const std::string ToolId = std::to_string(DisplayDriver().NativeId(Tool));
    const auto Props =
        RunTool(Display, {"xprop", "-id", ToolId, "WM_TRANSIENT_FOR", "_NET_WM_STATE"});
    EXPECT_NE(Props.Output.find("window id # 0x"), std::string::npos) << Props.Output;
    EXPECT_NE(Props.Output.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << Props.Output;
    EXPECT_NE(Props.Output.find("_NET_WM_STATE_ABOVE"), std::string::npos) << Props.Output;

    ShowWindow(Tool, SW_HIDE);
    const auto Hidden = RunTool(Display, {"xwininfo", "-id", ToolId});
    EXPECT_NE(Hidden.Output.find("IsUnMapped"), std::string::npos) << Hidden.Output;
    DestroyWindow(Tool);
}

// An owned pop-up reaches the back end relative to its owner; on the screen it is where the
// program put it.
TEST_F(X11Driver, OwnedPopUpGoesWhereItWasPutOnTheScreen)
{
    HWND Popup = CreateWindowEx(WS_EX_TOOLWINDOW, "TGuiProbe", "", WS_POPUP | WS_VISIBLE, 150, 170,
                                60, 40, Wnd);
    const std::string PopupId = std::to_string(DisplayDriver().NativeId(Popup));
    const auto Corner = [&] {
        const std::string Info = RunTool(Display, {"xwininfo", "-id", PopupId}).Output;
        const auto Number = [&](const std::string& Label) {
            const auto At = Info.find(Label);
            return At == std::string::npos ? -1 : std::stoi(Info.substr(At + Label.size()));
        };
        return std::to_string(Number("Absolute upper-left X:")) + "," +
               std::to_string(Number("Absolute upper-left Y:"));
    };
    EXPECT_EQ(Corner(), "150,170");
    SetWindowPos(Popup, 0, 40, 30, 60, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Corner(), "40,30") << "left of and above its owner";
    // The owner moves; its pop-up goes next, relative to where the owner is now.
    SetWindowPos(Wnd, 0, 300, 250, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Popup, 0, 320, 420, 60, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Corner(), "320,420");
    DestroyWindow(Popup);
}

TEST_F(X11Driver, WheelNotchesArriveWithTheirDirection)
{
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousemove", "150", "150"}).Status, 0);
    struct TCase {
        const char* Button;
        short Delta;
    };
    const std::vector<TCase> Cases = {{"4", WHEEL_DELTA}, {"5", -WHEEL_DELTA}};
    for (const TCase& Case : Cases) {
        Seen.clear();
        ASSERT_EQ(RunTool(Display, {"xdotool", "click", Case.Button}).Status, 0);
        ASSERT_TRUE(PumpUntil([&] { return Has(WM_MOUSEWHEEL); })) << Case.Button;
        for (const TSeen& S : Seen) {
            if (S.Msg == WM_MOUSEWHEEL) {
                EXPECT_EQ(static_cast<short>(HiWord(S.WParam)), Case.Delta) << Case.Button;
            }
        }
    }
}

TEST_F(X11Driver, KeysArriveAsVirtualKeysAndUtf8Characters)
{
    Focus();
    ASSERT_EQ(RunTool(Display, {"xdotool", "key", "a", "Return", "shift+b"}).Status, 0);
    // A keyboard whose keys carry the accented letter: typing through a keycode remapped for a
    // moment races with the mapping being put back.
    ASSERT_EQ(RunTool(Display, {"setxkbmap", "-layout", "fr"}).Status, 0);
    ASSERT_EQ(RunTool(Display, {"xdotool", "key", "eacute"}).Status, 0);
    ASSERT_TRUE(PumpUntil([&] { return Chars().size() >= 5; })) << Chars() << Dump();
    EXPECT_EQ(Chars(), "a\rB\xc3\xa9");
    std::vector<WPARAM> Downs;
    for (const TSeen& S : Seen)
        if (S.Msg == WM_KEYDOWN)
            Downs.push_back(S.WParam);
    ASSERT_GE(Downs.size(), 4u);
    EXPECT_EQ(Downs[0], WPARAM('A'));
    EXPECT_EQ(Downs[1], WPARAM(VK_RETURN));
    EXPECT_EQ(Downs[2], WPARAM(VK_SHIFT));
    EXPECT_EQ(Downs[3], WPARAM('B'));
}

TEST_F(X11Driver, KeysCarryTheKeyboardsScanCodes)
{
    Focus();
    ASSERT_EQ(
        RunTool(Display, {"xdotool", "key", "KP_Decimal", "period", "KP_Enter", "Return", "Up",
                          "Home", "Delete", "KP_Divide", "slash", "Control_R", "Control_L", "a"})
            .Status,
        0);
    struct TKey {
        WPARAM Vk;
        int Scan;
        bool Extended;
    };
    const std::vector<TKey> Expected = {
        {VK_DECIMAL, 0x53, false}, {VK_OEM_PERIOD, 0x34, false}, {VK_RETURN, 0x1C, true},
        {VK_RETURN, 0x1C, false},  {VK_UP, 0x48, true},          {VK_HOME, 0x47, true},
        {VK_DELETE, 0x53, true},   {VK_DIVIDE, 0x35, true},      {VK_OEM_2, 0x35, false},
        {VK_CONTROL, 0x1D, true},  {'A', 0x1E, false},
    };
    std::vector<TKey> Downs, Ups;
    ASSERT_TRUE(PumpUntil([&] {
        Downs.clear();
        Ups.clear();
        for (const TSeen& S : Seen) {
            // Keys may come with the modifiers the tool pressed to reach them (the left ones).
            const auto Data = static_cast<std::uint32_t>(S.LParam);
            const bool Left = ((Data >> 24) & 1) == 0;
            if ((S.Msg != WM_KEYDOWN && S.Msg != WM_KEYUP) || S.WParam == VK_SHIFT ||
                S.WParam == VK_NUMLOCK || (S.WParam == VK_CONTROL && Left))
                continue;
            EXPECT_EQ((Data >> 31) & 1, S.Msg == WM_KEYUP ? 1u : 0u);
            EXPECT_EQ(Data & 0xFFFF, 1u);
            (S.Msg == WM_KEYDOWN ? Downs : Ups)
                .push_back(
                    TKey{S.WParam, static_cast<int>((Data >> 16) & 0xFF), ((Data >> 24) & 1) != 0});
        }
        return Ups.size() >= Expected.size();
    })) << Dump();
    auto Text = [](const std::vector<TKey>& Keys) {
        std::string Result;
        for (const TKey& K : Keys)
            Result +=
                " " + std::to_string(K.Vk) + ":" + std::to_string(K.Scan) + (K.Extended ? "e" : "");
        return Result;
    };
    EXPECT_EQ(Text(Downs), Text(Expected));
    EXPECT_EQ(Text(Ups), Text(Expected));
}

TEST_F(X11Driver, ClipboardTextGoesBothWays)
{
    Clipboard()->SetAsText("copied \xc3\xa4 here");
    const auto Out = RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
    EXPECT_EQ(Out.Status, 0);
    EXPECT_EQ(Out.Output, "copied \xc3\xa4 here");

    // xclip takes the clipboard over, in the foreground, for one request.
    const pid_t Tool = guitest::StartTool(
        Display, {"xclip", "-i", "-selection", "clipboard", "-quiet", "-loops", "1"},
        "pasted \xc3\xb6");
    ASSERT_NE(Tool, 0);
    std::string Text;
    EXPECT_TRUE(
        PumpUntil([&] { return (Text = Clipboard()->AsText()) != "copied \xc3\xa4 here"; }));
    EXPECT_EQ(Text, "pasted \xc3\xb6");
    EXPECT_EQ(guitest::EndTool(Tool), 0);
}

} // namespace
