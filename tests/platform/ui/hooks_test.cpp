#include "tests/platform/ui/uitest.h"

#include "platform/ui/application.h"
#include "platform/ui/hooks.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

TEST(Hooks, CallWndProcHooksSeeSentMessagesNewestFirstAndPassThemOn)
{
    TRecordingWindow Window;
    std::vector<std::string> Trace;
    HHOOK First = 0, Second = 0;
    First = SetWindowsHookEx(WH_CALLWNDPROC, [&](int Code, WPARAM W, LPARAM L) {
        const auto* Info = reinterpret_cast<const TCWPStruct*>(L);
        if (Code >= 0 && Info->message == WM_USER + 3)
            Trace.push_back("first " + std::to_string(Info->wParam));
        return CallNextHookEx(First, Code, W, L);
    });
    Second = SetWindowsHookEx(WH_CALLWNDPROC, [&](int Code, WPARAM W, LPARAM L) {
        const auto* Info = reinterpret_cast<const TCWPStruct*>(L);
        if (Code >= 0 && Info->message == WM_USER + 3)
            Trace.push_back("second " + std::to_string(Info->wParam));
        return CallNextHookEx(Second, Code, W, L);
    });
    Window.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_USER + 3)
            Trace.push_back("window");
        return DefWindowProc(Wnd, Msg, W, L);
    };
    SendMessage(Window.Handle, WM_USER + 3, 9, 0);
    PostMessage(Window.Handle, WM_USER + 3, 8, 0); // posted messages are not theirs
    PumpPending();
    EXPECT_EQ(Trace, (std::vector<std::string>{"second 9", "first 9", "window", "window"}));
    EXPECT_TRUE(UnhookWindowsHookEx(First));
    EXPECT_TRUE(UnhookWindowsHookEx(Second));
    EXPECT_FALSE(UnhookWindowsHookEx(Second));
    EXPECT_EQ(SetWindowsHookEx(99, [](int, WPARAM, LPARAM) { return LRESULT(0); }), 0u);
}

TEST(Hooks, AStartUpHookParksTheApplicationWindowAndRemovesItself)
{
    TRecordingWindow Owner(WS_POPUP, 0, "TPGApplication");
    HHOOK Hook = 0;
    int Calls = 0;
    Hook = SetWindowsHookEx(WH_CALLWNDPROC, [&](int Code, WPARAM W, LPARAM L) -> LRESULT {
        if (Code < 0)
            return CallNextHookEx(Hook, Code, W, L);
        ++Calls;
        const auto* Info = reinterpret_cast<const TCWPStruct*>(L);
        if (Info->message == WM_CREATE && GetClassName(Info->hwnd) == "TApplication") {
            SetParent(Info->hwnd, Owner.Handle);
            UnhookWindowsHookEx(Hook);
        }
        return 0;
    });
    TApplication App(nullptr);
    EXPECT_EQ(GetParent(App.Handle()), Owner.Handle);
    const int CallsAtCreation = Calls;
    SendMessage(Owner.Handle, WM_USER, 0, 0);
    EXPECT_EQ(Calls, CallsAtCreation); // gone
    EXPECT_FALSE(UnhookWindowsHookEx(Hook));
}

TEST(Hooks, KeyboardAndMouseHooksSeeInputAndMaySwallowIt)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetForegroundWindow(Window.Handle);
    SetFocus(Window.Handle);
    std::vector<WPARAM> KeysSeen;
    const HHOOK Keyboard = SetWindowsHookEx(WH_KEYBOARD, [&](int Code, WPARAM W, LPARAM L) {
        if (Code == HC_ACTION)
            KeysSeen.push_back(W);
        return W == 'X' ? LRESULT(1) : CallNextHookEx(0, Code, W, L);
    });
    std::vector<TPoint> MousePoints;
    const HHOOK Mouse = SetWindowsHookEx(WH_MOUSE, [&](int Code, WPARAM W, LPARAM L) {
        if (Code == HC_ACTION && W == WM_LBUTTONDOWN)
            MousePoints.push_back(reinterpret_cast<const TMouseHookStruct*>(L)->pt);
        return CallNextHookEx(0, Code, W, L);
    });
    InjectKeyPress('X');
    InjectKeyPress('Y');
    InjectMouseButton(Window.Handle, 0, true, 3, 4);
    InjectMouseButton(Window.Handle, 0, false, 3, 4);
    PumpPending();
    UnhookWindowsHookEx(Keyboard);
    UnhookWindowsHookEx(Mouse);

    EXPECT_EQ(KeysSeen, (std::vector<WPARAM>{'X', 'X', 'Y', 'Y'}));
    const auto Keys = Window.Only({WM_KEYDOWN, WM_KEYUP});
    ASSERT_EQ(Keys.size(), 2u);
    EXPECT_EQ(Keys[0].WParam, static_cast<WPARAM>('Y'));
    ASSERT_EQ(MousePoints.size(), 1u);
    TPoint Expected{3, 4};
    ClientToScreen(Window.Handle, Expected);
    EXPECT_EQ(MousePoints[0], Expected);
    EXPECT_EQ(Window.Only({WM_LBUTTONDOWN}).size(), 1u);
}
