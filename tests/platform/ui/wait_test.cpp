#include "tests/platform/ui/uitest.h"

#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

struct TPipe {
    int Fd[2] = {-1, -1};
    TPipe() { EXPECT_EQ(pipe(Fd), 0); }
    ~TPipe()
    {
        close(Fd[0]);
        close(Fd[1]);
    }
};

double Seconds(clockid_t Clock)
{
    timespec T{};
    clock_gettime(Clock, &T);
    return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) / 1e9;
}

} // namespace

TEST(Wait, ADescriptorThatNeverBecomesReadyCostsAlmostNoCpu)
{
    TPipe Pipe;
    const double Cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double Real0 = Seconds(CLOCK_MONOTONIC);
    EXPECT_EQ(WaitForDescriptor(Pipe.Fd[0], POLLIN, 300), 0);
    const double Real = Seconds(CLOCK_MONOTONIC) - Real0;
    const double Cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - Cpu0;
    EXPECT_GE(Real, 0.29);
    EXPECT_LT(Cpu, Real * 0.10) << "cpu " << Cpu << " s over " << Real << " s";
}

TEST(Wait, ADescriptorWrittenByAnotherThreadEndsTheWait)
{
    TPipe Pipe;
    std::thread Writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(write(Pipe.Fd[1], "x", 1), 1);
    });
    const short Events = WaitForDescriptor(Pipe.Fd[0], POLLIN, 5000);
    Writer.join();
    EXPECT_TRUE(Events & POLLIN);
}

TEST(Wait, ACancelFromAHandlerDuringTheWaitEndsIt)
{
    TVirtualTime Clock;
    TPipe Pipe;
    bool Canceled = false;
    TRecordingWindow Button;
    Button.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_TIMER) {
            Canceled = true; // as a Cancel button's click handler does
            KillTimer(Wnd, 1);
        }
        return DefWindowProc(Wnd, Msg, W, L);
    };
    SetTimer(Button.Handle, 1, 2000);
    const std::uint32_t Start = Clock.Now();
    EXPECT_EQ(WaitForDescriptor(Pipe.Fd[0], POLLIN, 60000, [&] { return Canceled; }), 0);
    EXPECT_TRUE(Canceled);
    EXPECT_EQ(Clock.Now() - Start, 2000u);
}

TEST(Wait, TimeLimitsRunOnVirtualTime)
{
    TVirtualTime Clock;
    const auto Real0 = std::chrono::steady_clock::now();
    const std::uint32_t Start = Clock.Now();
    EXPECT_EQ(WaitUntil([] { return false; }, 60000), prTimedOut);
    EXPECT_EQ(Clock.Now() - Start, 60000u);
    EXPECT_LT(std::chrono::steady_clock::now() - Real0, std::chrono::seconds(5));
}

TEST(Wait, TheQuitRequestEndsANestedWaitAndReachesTheOuterLoop)
{
    TVirtualTime Clock;
    TRecordingWindow Window;
    PostMessage(Window.Handle, WM_USER, 0, 0);
    PostQuitMessage(3);
    EXPECT_EQ(WaitUntil([] { return false; }, 1000), prQuit);
    EXPECT_EQ(Window.Only({WM_USER}).size(), 1u);
    TMsg Msg;
    ASSERT_TRUE(PeekMessage(Msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(Msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(Msg.wParam, 3u);
}

TEST(Wait, RegisteredDescriptorsRunTheirCallbackOnTheLoop)
{
    TPipe Pipe;
    int Calls = 0;
    int Id = 0;
    Id = RegisterDescriptor(Pipe.Fd[0], POLLIN, [&](int Fd, short REvents) {
        char Byte;
        EXPECT_TRUE(REvents & POLLIN);
        EXPECT_EQ(read(Fd, &Byte, 1), 1);
        if (++Calls == 2)
            UnregisterDescriptor(Id); // from inside its own callback
    });
    ASSERT_EQ(write(Pipe.Fd[1], "ab", 2), 2);
    EXPECT_EQ(WaitUntil([&] { return Calls == 2; }, 5000), prDone);
    ASSERT_EQ(write(Pipe.Fd[1], "c", 1), 1);
    PumpPending();
    EXPECT_EQ(Calls, 2);
}
