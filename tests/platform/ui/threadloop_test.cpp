// tests/platform/ui/threadloop_test.cpp: worker threads handing calls to the message loop: many
// at once, threads that free themselves, and threads that start before the loop exists. They run
// under ThreadSanitizer as well.
#include "tests/platform/ui/uitest.h"

#include "platform/rtl/thread.h"
#include "platform/ui/application.h"
#include "platform/ui/timers.h"
#include "platform/ui/wait.h"
#include "tests/platform/rtl/threadtest.h"
#include "tests/support/processrole.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int Workers = 16;

std::vector<int> FirstNumbers(std::size_t Count)
{
    std::vector<int> Result(Count);
    std::iota(Result.begin(), Result.end(), 0);
    return Result;
}

// Runs the message loop until Done holds: a unit's wait, or the application's loop, which Done
// ends. False when that takes over 10 s.
using TLoop = std::function<bool(const std::function<bool()>& Done)>;

bool RunWait(const std::function<bool()>& Done)
{
    return WaitUntil(Done, 10000) == prDone;
}

bool RunApplication(TApplication& App, const std::function<bool()>& Done)
{
    bool TimedOut = false;
    TRecordingWindow Watchdog;
    Watchdog.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_TIMER) {
            TimedOut = true;
            App.Terminate();
        }
        return DefWindowProc(Wnd, Msg, W, L);
    };
    SetTimer(Watchdog.Handle, 1, 10000);
    App.OnIdle = [&](TObject*, bool& Idle) {
        Idle = true;
        if (Done())
            App.Terminate();
    };
    App.Run();
    App.OnIdle = nullptr;
    return !TimedOut && Done();
}

} // namespace

TEST(ThreadLoop, CallsOfManyWorkersRunInsideTheLoopOnceEachAndInOrder)
{
    constexpr int CallsEach = 100; // Synchronize and Queue by turns
    TApplication App(nullptr);
    const std::vector<std::pair<const char*, TLoop>> Loops = {
        {"a unit's wait", RunWait},
        {"the application's loop",
         [&App](const std::function<bool()>& Done) { return RunApplication(App, Done); }},
    };
    for (const auto& [Name, Loop] : Loops) {
        SCOPED_TRACE(Name);
        std::vector<std::vector<int>> Runs(Workers);
        int Ran = 0;
        int Terminated = 0;
        for (int W = 0; W < Workers; ++W) {
            // Each frees itself once its OnTerminate has run.
            auto* Thread = new TLambdaThread(true, [&Runs, &Ran, W](TLambdaThread& Self) {
                for (int I = 0; I < CallsEach; ++I) {
                    auto Call = [&Runs, &Ran, W, I] {
                        Runs[W].push_back(I);
                        ++Ran;
                    };
                    if (I % 2 == 0)
                        Self.Queue(Call);
                    else
                        Self.Synchronize(Call);
                }
            });
            Thread->SetFreeOnTerminate(true);
            Thread->OnTerminate = [&Terminated](TObject*) { ++Terminated; };
            Thread->Start();
        }
        EXPECT_TRUE(Loop([&] { return Terminated == Workers; }));
        EXPECT_EQ(Ran, Workers * CallsEach);
        for (int W = 0; W < Workers; ++W)
            EXPECT_EQ(Runs[W], FirstNumbers(CallsEach)) << "worker " << W;
    }
}

// A fresh process: workers queue calls before anything of the message loop exists, then the loop
// starts (TARNWICK_LOOP_START: "wait", a unit's wait; "application", TApplication and its Run).
TARNWICK_PROCESS_ROLE(CallsQueuedBeforeTheLoop)
{
    const char* Start = std::getenv("TARNWICK_LOOP_START");
    if (Start == nullptr)
        return 2;
    std::atomic<int> Queued{0};
    TSimpleEvent AllQueued;
    int Ran = 0;
    std::vector<std::unique_ptr<TLambdaThread>> Threads;
    for (int W = 0; W < Workers; ++W) {
        Threads.push_back(std::make_unique<TLambdaThread>(true, [&](TLambdaThread& Self) {
            Self.Queue([&Ran] { ++Ran; });
            if (++Queued == Workers)
                AllQueued.SetEvent();
            Self.Synchronize([&Ran] { ++Ran; });
        }));
        Threads.back()->Start();
    }
    if (AllQueued.WaitFor(5000) != wrSignaled) {
        std::fprintf(stderr, "the workers did not queue their calls\n");
        return 1;
    }
    const auto Started = std::chrono::steady_clock::now();
    auto Done = [&Ran] { return Ran == 2 * Workers; };
    bool Finished = false;
    if (std::string(Start) == "application") {
        TApplication App(nullptr);
        Finished = RunApplication(App, Done);
    } else {
        Finished = RunWait(Done);
    }
    const auto Elapsed = std::chrono::steady_clock::now() - Started;
    for (auto& Thread : Threads)
        Thread->WaitFor();
    if (!Finished) {
        std::fprintf(stderr, "%d of %d calls ran\n", Ran, 2 * Workers);
        return 1;
    }
    // At once, not after some time-out of the loop.
    if (Elapsed > std::chrono::seconds(2)) {
        std::fprintf(stderr, "the calls ran only after %lld ms\n",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::milliseconds>(Elapsed).count()));
        return 1;
    }
    return 0;
}

TEST(ThreadLoop, CallsQueuedBeforeTheLoopStartsRunAsSoonAsItDoes)
{
    for (const char* Start : {"wait", "application"}) {
        SCOPED_TRACE(Start);
        const pid_t Child = TestSupport::StartProcessRole(
            "CallsQueuedBeforeTheLoop", {std::string("TARNWICK_LOOP_START=") + Start});
        int Status = 0;
        ASSERT_EQ(waitpid(Child, &Status, 0), Child);
        EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
    }
}
