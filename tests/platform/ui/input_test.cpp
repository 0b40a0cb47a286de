#include "tests/platform/ui/uitest.h"

#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

namespace {

std::string Typed(const TRecordingWindow& Window)
{
    std::string Text;
    for (const auto& M : Window.Only({WM_CHAR, WM_SYSCHAR}))
        Text += static_cast<char>(M.WParam);
    return Text;
}

// Releases every key a test may have left down.
void ReleaseModifiers()
{
    for (int Vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(Vk) < 0)
            InjectKeyUp(Vk);
    PumpPending();
}

} // namespace

TEST(Input, FocusChangesCarryTheOtherWindow)
{
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE);
    TRecordingWindow A(WS_CHILD | WS_VISIBLE, Form.Handle);
    TRecordingWindow B(WS_CHILD | WS_VISIBLE, Form.Handle);
    SetFocus(A.Handle);
    A.Messages.clear();
    EXPECT_EQ(SetFocus(B.Handle), A.Handle);
    EXPECT_EQ(GetFocus(), B.Handle);
    ASSERT_EQ(A.Only({WM_KILLFOCUS}).size(), 1u);
    EXPECT_EQ(A.Only({WM_KILLFOCUS})[0].WParam, B.Handle);
    ASSERT_EQ(B.Only({WM_SETFOCUS}).size(), 1u);
    EXPECT_EQ(B.Only({WM_SETFOCUS})[0].WParam, A.Handle);

    // Hiding the focused window takes the focus away; a window that does not exist is refused.
    ShowWindow(B.Handle, SW_HIDE);
    EXPECT_EQ(GetFocus(), 0u);
    EXPECT_EQ(SetFocus(0x7FFFFFF0), 0u);
}

TEST(Input, ActivationTellsBothWindowsAndTheApplication)
{
    TRecordingWindow First(WS_POPUP);
    TRecordingWindow Second(WS_POPUP);
    SetActiveWindow(0);
    First.Messages.clear();
    SetActiveWindow(First.Handle);
    ASSERT_EQ(First.Only({WM_ACTIVATEAPP}).size(), 1u);
    EXPECT_EQ(First.Only({WM_ACTIVATEAPP})[0].WParam, 1u);
    EXPECT_EQ(GetFocus(), First.Handle); // the default activation handling focuses the window

    SetForegroundWindow(Second.Handle);
    EXPECT_EQ(GetForegroundWindow(), Second.Handle);
    const auto Lost = First.Only({WM_ACTIVATE});
    ASSERT_EQ(Lost.size(), 2u);
    EXPECT_EQ(LoWord(Lost[1].WParam), static_cast<unsigned>(WA_INACTIVE));
    EXPECT_EQ(static_cast<HWND>(Lost[1].LParam), Second.Handle);
    const auto Gained = Second.Only({WM_ACTIVATE});
    ASSERT_EQ(Gained.size(), 1u);
    EXPECT_EQ(static_cast<HWND>(Gained[0].LParam), First.Handle);

    // Handing the foreground to the desktop deactivates the application.
    Second.Messages.clear();
    EXPECT_TRUE(SetForegroundWindow(GetDesktopWindow()));
    EXPECT_EQ(GetForegroundWindow(), 0u);
    ASSERT_EQ(Second.Only({WM_ACTIVATEAPP}).size(), 1u);
    EXPECT_EQ(Second.Only({WM_ACTIVATEAPP})[0].WParam, 0u);
}

TEST(Input, KeysBecomeCharactersByTheTable)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetFocus(Window.Handle);
    struct TCase {
        std::vector<int> Held;
        int Key;
        std::string Text; // what the keyboard delivered, if anything
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {{}, 'A', "", "a"},
        {{VK_SHIFT}, 'A', "", "A"},
        {{VK_CONTROL}, 'A', "", "\x01"},
        {{VK_CONTROL}, 'Z', "", "\x1A"},
        {{}, VK_BACK, "", "\b"},
        {{}, VK_RETURN, "", "\r"},
        {{}, VK_ESCAPE, "", "\x1B"},
        {{}, VK_TAB, "", "\t"},
        {{}, '7', "", "7"},
        {{VK_SHIFT}, '1', "", "!"},
        {{}, VK_LEFT, "", ""},
        {{}, VK_F5, "", ""},
        {{}, 'E', "\xC3\xA9", "\xC3\xA9"}, // é as UTF-8: two messages
        {{VK_CONTROL}, 'C', "\x03", "\x03"},
    };
    for (const TCase& Case : Cases) {
        Window.Messages.clear();
        for (int Vk : Case.Held)
            InjectKeyDown(Vk);
        InjectKeyPress(Case.Key, Case.Text);
        for (int Vk : Case.Held)
            InjectKeyUp(Vk);
        PumpPending();
        EXPECT_EQ(Typed(Window), Case.Expected) << "key " << Case.Key;
        // The characters come right after their key-down, before the key-up.
        const auto Keys = Window.Only({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
        if (!Case.Expected.empty() && Case.Held.empty()) {
            ASSERT_GE(Keys.size(), 3u);
            EXPECT_EQ(Keys[1].Msg, static_cast<UINT>(WM_CHAR));
            EXPECT_EQ(Keys.back().Msg, static_cast<UINT>(WM_KEYUP));
        }
    }
    ReleaseModifiers();
}

TEST(Input, AltWithKeypadDigitsTypesTheCode)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetFocus(Window.Handle);
    struct TCase {
        std::vector<int> Digits;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {{6, 5}, "A"},
        {{0, 2, 3, 3}, "\xC3\xA9"}, // é
        {{0}, ""},
    };
    for (const TCase& Case : Cases) {
        Window.Messages.clear();
        InjectKeyDown(VK_MENU);
        for (int Digit : Case.Digits)
            InjectKeyPress(VK_NUMPAD0 + Digit);
        InjectKeyUp(VK_MENU);
        PumpPending();
        EXPECT_EQ(Typed(Window), Case.Expected);
        EXPECT_FALSE(Window.Only({WM_SYSKEYDOWN}).empty()); // keys typed with Alt are system keys
    }
}

TEST(Input, KeyStateFollowsTheMessagesTakenAndToggles)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetFocus(Window.Handle);
    const bool CapsBefore = GetKeyState(VK_CAPITAL) & 1;
    InjectKeyDown(VK_SHIFT);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0); // not taken from the queue yet
    PumpPending();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
    InjectKeyUp(VK_SHIFT);
    InjectKeyPress(VK_CAPITAL);
    PumpPending();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_NE(static_cast<bool>(GetKeyState(VK_CAPITAL) & 1), CapsBefore);
    Byte State[256];
    ASSERT_TRUE(GetKeyboardState(State));
    EXPECT_EQ(State[VK_CAPITAL] & 1, GetKeyState(VK_CAPITAL) & 1);
    InjectKeyPress(VK_CAPITAL);
    PumpPending();
}

TEST(Input, SecondClickWithinTheTimeIsADoubleClickOnlyForClassesThatAskForIt)
{
    TVirtualTime Clock;
    TRecordingWindow Plain(WS_POPUP | WS_VISIBLE, 0, "TPlainClicks");
    TRecordingWindow Double(WS_POPUP | WS_VISIBLE, 0, "TDoubleClicks", "", CS_DBLCLKS);
    struct TCase {
        const TRecordingWindow* Window;
        std::uint32_t Gap;
        UINT Second;
    };
    const std::vector<TCase> Cases = {
        {&Double, 100, WM_LBUTTONDBLCLK},
        {&Double, GetDoubleClickTime() + 1, WM_LBUTTONDOWN},
        {&Plain, 100, WM_LBUTTONDOWN},
    };
    for (const TCase& Case : Cases) {
        auto& W = const_cast<TRecordingWindow&>(*Case.Window);
        SetForegroundWindow(W.Handle); // the front window takes the clicks
        Clock.Advance(5000);
        W.Messages.clear();
        InjectMouseButton(W.Handle, 0, true, 10, 10);
        InjectMouseButton(W.Handle, 0, false, 10, 10);
        Clock.Advance(Case.Gap);
        InjectMouseButton(W.Handle, 0, true, 11, 10);
        InjectMouseButton(W.Handle, 0, false, 11, 10);
        PumpPending();
        const auto Clicks = W.Only({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK});
        ASSERT_EQ(Clicks.size(), 4u);
        EXPECT_EQ(Clicks[2].Msg, Case.Second);
        EXPECT_EQ(Clicks[0].WParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(Clicks[1].WParam & MK_LBUTTON, 0u);
        EXPECT_EQ(Clicks[2].LParam, MakeLParam(11, 10));
    }
}

TEST(Input, CaptureTakesTheMouseAndTellsTheLoser)
{
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE);
    TRecordingWindow Left(WS_CHILD | WS_VISIBLE, Form.Handle);
    TRecordingWindow Right(WS_CHILD | WS_VISIBLE, Form.Handle);
    SetWindowPos(Right.Handle, 0, 50, 0, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Left.Handle, 0, 0, 0, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    SetForegroundWindow(Form.Handle);

    InjectMouseMove(Form.Handle, 60, 10);
    PumpPending();
    ASSERT_EQ(Right.Only({WM_MOUSEMOVE}).size(), 1u);
    EXPECT_EQ(Right.Only({WM_MOUSEMOVE})[0].LParam, MakeLParam(10, 10));

    SetCapture(Left.Handle);
    InjectMouseMove(Form.Handle, 60, 10);
    PumpPending();
    ASSERT_EQ(Left.Only({WM_MOUSEMOVE}).size(), 1u);
    EXPECT_EQ(Left.Only({WM_MOUSEMOVE})[0].LParam, MakeLParam(60, 10));

    SetCapture(Right.Handle);
    ASSERT_EQ(Left.Only({WM_CAPTURECHANGED}).size(), 1u);
    EXPECT_EQ(static_cast<HWND>(Left.Only({WM_CAPTURECHANGED})[0].LParam), Right.Handle);
    SendMessage(Right.Handle, WM_CANCELMODE, 0, 0); // the default handling lets go
    EXPECT_EQ(GetCapture(), 0u);
}

TEST(Input, WheelGoesToTheFocusWindowAndUpToItsParent)
{
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE);
    TRecordingWindow Child(WS_CHILD | WS_VISIBLE, Form.Handle);
    SetFocus(Child.Handle);
    InjectMouseWheel(Child.Handle, -WHEEL_DELTA, 5, 5);
    PumpPending();
    ASSERT_EQ(Child.Only({WM_MOUSEWHEEL}).size(), 1u);
    EXPECT_EQ(static_cast<std::int16_t>(HiWord(Child.Only({WM_MOUSEWHEEL})[0].WParam)), -120);
    EXPECT_EQ(Form.Only({WM_MOUSEWHEEL}).size(), 1u); // passed on by the default handling
}

TEST(Input, OneCaretPerThread)
{
    TRecordingWindow A(WS_POPUP), B(WS_POPUP);
    ASSERT_TRUE(CreateCaret(A.Handle, nullptr, 1, 14));
    EXPECT_FALSE(GetCaretState().Visible);
    EXPECT_TRUE(ShowCaret(A.Handle));
    EXPECT_FALSE(ShowCaret(B.Handle));
    EXPECT_TRUE(SetCaretPos(7, 3));
    EXPECT_TRUE(GetCaretState().Visible);
    ASSERT_TRUE(CreateCaret(B.Handle, nullptr, 2, 10)); // replaces A's
    TPoint P;
    ASSERT_TRUE(GetCaretPos(P));
    EXPECT_EQ(P, Point(0, 0));
    EXPECT_EQ(GetCaretState().Owner, B.Handle);
    DestroyWindow(B.Handle);
    EXPECT_EQ(GetCaretState().Owner, 0u);
}
