#include "tests/platform/ui/uitest.h"

#include "platform/rtl/thread.h"
#include "platform/ui/application.h"
#include "platform/ui/queue.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::vector<WPARAM> Params(const std::vector<TRecordedMessage>& Messages)
{
    std::vector<WPARAM> Result;
    for (const auto& M : Messages)
        Result.push_back(M.WParam);
    return Result;
}

} // namespace

TEST(MessageQueue, PostedOrderIsKeptAcrossNestedProcessMessages)
{
    TApplication App(nullptr);
    TRecordingWindow Window;
    const UINT Msg = WM_USER + 1;
    Window.OnMessage = [&](HWND Wnd, UINT M, WPARAM W, LPARAM L) -> LRESULT {
        if (M == Msg && W == 1) {
            PostMessage(Wnd, Msg, 4, 0);
            App.ProcessMessages(); // nested: handles 2, 3 and 4 here
            PostMessage(Wnd, Msg, 5, 0);
        }
        return DefWindowProc(Wnd, M, W, L);
    };
    for (WPARAM I = 1; I <= 3; ++I)
        PostMessage(Window.Handle, Msg, I, 0);
    App.ProcessMessages();
    EXPECT_EQ(Params(Window.Only({Msg})), (std::vector<WPARAM>{1, 2, 3, 4, 5}));
}

TEST(MessageQueue, SendMessageReentersTheProcedureAsADirectCall)
{
    TRecordingWindow Window;
    std::vector<std::string> Trace;
    const UINT Msg = WM_USER + 2;
    Window.OnMessage = [&](HWND Wnd, UINT M, WPARAM W, LPARAM L) -> LRESULT {
        if (M != Msg)
            return DefWindowProc(Wnd, M, W, L);
        Trace.push_back("enter " + std::to_string(W));
        const LRESULT Inner = W > 0 ? SendMessage(Wnd, Msg, W - 1, 0) : 0;
        Trace.push_back("leave " + std::to_string(W));
        return Inner + 10;
    };
    EXPECT_EQ(SendMessage(Window.Handle, Msg, 2, 0), 30);
    EXPECT_EQ(Trace, (std::vector<std::string>{"enter 2", "enter 1", "enter 0", "leave 0",
                                               "leave 1", "leave 2"}));
    EXPECT_EQ(PendingMessageCount(), 0);
    EXPECT_EQ(SendMessage(0x7FFFFFF0, Msg, 0, 0), 0); // no such window
}

TEST(MessageQueue, PeekMessageFiltersByWindowAndRange)
{
    TRecordingWindow A, B;
    PostMessage(A.Handle, WM_USER + 1, 0, 0);
    PostMessage(B.Handle, WM_USER + 2, 0, 0);
    PostMessage(A.Handle, WM_USER + 3, 0, 0);
    struct TCase {
        HWND Wnd;
        UINT Min, Max;
        UINT Expected; // 0: nothing
    };
    const std::vector<TCase> Cases = {
        {0, 0, 0, WM_USER + 1},
        {B.Handle, 0, 0, WM_USER + 2},
        {A.Handle, WM_USER + 2, WM_USER + 9, WM_USER + 3},
        {B.Handle, WM_USER + 3, WM_USER + 9, 0},
        {0, WM_USER + 2, WM_USER + 2, WM_USER + 2},
    };
    for (const TCase& Case : Cases) {
        TMsg Msg;
        const bool Found = PeekMessage(Msg, Case.Wnd, Case.Min, Case.Max, PM_NOREMOVE);
        EXPECT_EQ(Found ? Msg.message : 0u, Case.Expected) << Case.Min;
    }
    EXPECT_EQ(PendingMessageCount(), 3); // PM_NOREMOVE took nothing
    TMsg Msg;
    ASSERT_TRUE(PeekMessage(Msg, A.Handle, WM_USER + 3, WM_USER + 3, PM_REMOVE));
    EXPECT_EQ(PendingMessageCount(), 2);
    PumpPending();
}

TEST(MessageQueue, QuitComesOutAfterTheMessagesPostedBeforeAndAfterIt)
{
    TRecordingWindow Window;
    PostMessage(Window.Handle, WM_USER, 1, 0);
    PostQuitMessage(7);
    PostMessage(Window.Handle, WM_USER, 2, 0);
    std::vector<UINT> Order;
    TMsg Msg;
    while (GetMessage(Msg, 0, 0, 0))
        Order.push_back(static_cast<UINT>(Msg.wParam));
    EXPECT_EQ(Order, (std::vector<UINT>{1, 2}));
    EXPECT_EQ(Msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(Msg.wParam, 7u);
}

TEST(MessageQueue, MessagesOfADestroyedWindowAreDropped)
{
    auto* Window = new TRecordingWindow;
    const HWND Handle = Window->Handle;
    PostMessage(Handle, WM_USER, 0, 0);
    delete Window;
    EXPECT_FALSE(IsWindow(Handle));
    EXPECT_FALSE(PostMessage(Handle, WM_USER, 0, 0));
    PumpPending(); // must not reach the freed recorder
    EXPECT_EQ(PendingMessageCount(), 0);
}

TEST(MessageQueue, RegisteredMessagesShareOneNumberPerName)
{
    const UINT First = RegisterWindowMessage("RASDIALEVENT");
    EXPECT_GE(First, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("rasdialevent"), First);
    const UINT Other = RegisterWindowMessage("TarnwickOther");
    EXPECT_GE(Other, 0xC000u);
    EXPECT_NE(Other, First);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(MessageQueue, PostMessageFromAnotherThreadWakesTheWait)
{
    TRecordingWindow Window;
    std::thread Poster([Handle = Window.Handle] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessage(Handle, WM_USER + 5, 42, 0);
    });
    const TPumpResult Result = WaitUntil([&] { return !Window.Only({WM_USER + 5}).empty(); }, 5000);
    Poster.join();
    EXPECT_EQ(Result, prDone);
    ASSERT_EQ(Window.Only({WM_USER + 5}).size(), 1u);
    EXPECT_EQ(Window.Only({WM_USER + 5})[0].WParam, 42u);
}

namespace {

class TSyncThread : public TThread {
public:
    TSyncThread() : TThread(true) {}
    int Seen = 0;

protected:
    void Execute() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Synchronize([this] { Seen = 1; });
        Queue([this] { Seen = 2; });
    }
};

} // namespace

TEST(MessageQueue, SynchronizeAndQueueRunInsideTheWait)
{
    InitMessageLoop();
    TSyncThread Thread;
    Thread.Start();
    const TPumpResult Result = WaitUntil([&] { return Thread.Seen == 2; }, 5000);
    Thread.WaitFor();
    EXPECT_EQ(Result, prDone);
    EXPECT_EQ(Thread.Seen, 2);
}
