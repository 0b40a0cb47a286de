// tests/platform/rtl/threadstress_test.cpp: many threads handing calls to the main thread at
// once, threads freed while they run, threads that free themselves, and the wake-up hook
// replaced under load. They run under ThreadSanitizer as well.
#include "platform/rtl/thread.h"

#include "tests/platform/rtl/threadtest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

namespace {

constexpr int Workers = 16;

// What each worker's calls recorded on the main thread, in the order they ran.
using TRuns = std::vector<std::vector<int>>;

std::vector<int> FirstNumbers(std::size_t Count)
{
    std::vector<int> Result(Count);
    std::iota(Result.begin(), Result.end(), 0);
    return Result;
}

// Runs the calls of other threads until Done holds; false when that takes over 10 s.
bool RunCallsUntil(const std::function<bool()>& Done)
{
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        CheckSynchronize(100);
    }
    return true;
}

// Hands calls to the main thread until terminated. It has nothing of its own, so the base
// class's destructor may end it.
class TChattyThread : public TThread {
public:
    TChattyThread() : TThread(true) {}
    static int Calls; // main thread only

protected:
    void Execute() override
    {
        while (!Terminated()) {
            Queue(&Count);
            Synchronize(&Count);
        }
    }

private:
    static void Count() { ++Calls; }
};

int TChattyThread::Calls = 0;

// Frees itself at its end, after handing Calls calls to the main thread; counts its going.
class TSelfFreeingWorker : public TThread {
public:
    TSelfFreeingWorker(std::vector<int>& ARuns, bool AFreeFromExecute, std::atomic<int>& AGone,
                       TEvent& AAllGone)
        : TThread(true), FRuns(ARuns), FFreeFromExecute(AFreeFromExecute), FGone(AGone),
          FAllGone(AAllGone)
    {
        if (!FFreeFromExecute)
            SetFreeOnTerminate(true);
    }
    ~TSelfFreeingWorker() override
    {
        if (++FGone == Workers)
            FAllGone.SetEvent();
    }
    static constexpr int Calls = 50;

protected:
    void Execute() override
    {
        if (FFreeFromExecute)
            SetFreeOnTerminate(true);
        std::vector<int>& Runs = FRuns;
        for (int I = 0; I < Calls; ++I) {
            auto Call = [&Runs, I] { Runs.push_back(I); };
            if (I % 2 == 0)
                Queue(Call);
            else
                Synchronize(Call);
        }
    }

private:
    std::vector<int>& FRuns;
    const bool FFreeFromExecute;
    std::atomic<int>& FGone;
    TEvent& FAllGone;
};

} // namespace

TEST(ThreadStress, EveryCallOfManyWorkersRunsOnceAndInItsWorkersOrder)
{
    constexpr int CallsEach = 200; // Synchronize and Queue by turns
    const std::thread::id Main = std::this_thread::get_id();
    TRuns Runs(Workers);
    int Ran = 0;
    std::vector<std::unique_ptr<TLambdaThread>> Threads;
    for (int W = 0; W < Workers; ++W)
        Threads.push_back(std::make_unique<TLambdaThread>(true, [&, W](TLambdaThread& Self) {
            for (int I = 0; I < CallsEach; ++I) {
                auto Call = [&, W, I] {
                    EXPECT_EQ(std::this_thread::get_id(), Main);
                    Runs[W].push_back(I);
                    ++Ran;
                };
                if (I % 2 == 1) {
                    Self.Queue(Call);
                    continue;
                }
                Self.Synchronize(Call);
                // Back once its call, and every call this worker queued before, has run.
                EXPECT_EQ(Runs[W].size(), static_cast<std::size_t>(I) + 1);
            }
        }));
    for (auto& Thread : Threads)
        Thread->Start();
    EXPECT_TRUE(RunCallsUntil([&] { return Ran == Workers * CallsEach; }));
    for (auto& Thread : Threads)
        Thread->WaitFor();
    EXPECT_FALSE(CheckSynchronize()) << "nothing is left to run twice";
    for (int W = 0; W < Workers; ++W)
        EXPECT_EQ(Runs[W], FirstNumbers(CallsEach)) << "worker " << W;
}

TEST(ThreadStress, ThreadsFreedWhileRunningAreEndedAndWaitedFor)
{
    // A quarter rely on the base class's destructor, the rest end in their own.
    auto IsChatty = [](int W) { return W % 4 == 3; };
    TRuns Runs(Workers);
    TChattyThread::Calls = 0;
    std::vector<std::unique_ptr<TThread>> Threads;
    for (int W = 0; W < Workers; ++W) {
        if (IsChatty(W)) {
            Threads.push_back(std::make_unique<TChattyThread>());
            continue;
        }
        Threads.push_back(std::make_unique<TLambdaThread>(true, [&Runs, W](TLambdaThread& Self) {
            for (int I = 0; !Self.Terminated(); ++I) {
                auto Call = [&Runs, W, I] { Runs[W].push_back(I); };
                if (I % 2 == 0)
                    Self.Synchronize(Call);
                else
                    Self.Queue(Call);
            }
        }));
    }
    for (auto& Thread : Threads)
        Thread->Start();
    ASSERT_TRUE(RunCallsUntil([&] {
        for (int W = 0; W < Workers; ++W)
            if (!IsChatty(W) && Runs[W].size() < 10)
                return false;
        return TChattyThread::Calls >= 20;
    })) << "every thread is well under way";
    // Each destructor ends its thread and waits, running the calls it waits on meanwhile.
    Threads.clear();
    EXPECT_FALSE(CheckSynchronize()) << "what a freed thread queued goes with it";
    for (int W = 0; W < Workers; ++W)
        EXPECT_EQ(Runs[W], FirstNumbers(Runs[W].size())) << "worker " << W;
}

TEST(ThreadStress, ThreadsThatFreeThemselvesGoOnceTheirCallsAndOnTerminateHaveRun)
{
    TRuns Runs(Workers);
    std::atomic<int> Gone{0};
    TSimpleEvent AllGone;
    int Terminated = 0;
    for (int W = 0; W < Workers; ++W) {
        auto* Thread = new TSelfFreeingWorker(Runs[W], W % 2 == 1, Gone, AllGone);
        Thread->OnTerminate = [&Runs, &Terminated, W](TObject*) {
            EXPECT_EQ(Runs[W].size(), static_cast<std::size_t>(TSelfFreeingWorker::Calls));
            ++Terminated;
        };
        Thread->Start();
    }
    EXPECT_TRUE(RunCallsUntil([&] { return Terminated == Workers; }));
    EXPECT_EQ(AllGone.WaitFor(5000), wrSignaled);
    EXPECT_FALSE(CheckSynchronize());
    for (int W = 0; W < Workers; ++W)
        EXPECT_EQ(Runs[W], FirstNumbers(TSelfFreeingWorker::Calls)) << "worker " << W;
}

TEST(ThreadStress, AReplacedHookNeverRunsOnceTheAssignmentHasReturned)
{
    TSyncGuard Guard;
    std::atomic<int> Running[2] = {0, 0}; // threads inside each hook
    auto Hook = [&Running](int Which) {
        return [&Running, Which](TObject*) {
            ++Running[Which];
            std::this_thread::yield();
            --Running[Which];
        };
    };
    std::vector<std::unique_ptr<TLambdaThread>> Threads;
    for (int W = 0; W < Workers; ++W)
        Threads.push_back(std::make_unique<TLambdaThread>(true, [](TLambdaThread& Self) {
            while (!Self.Terminated()) {
                Self.Queue([] {});
                Self.Synchronize([] {});
            }
        }));
    for (auto& Thread : Threads)
        Thread->Start();
    int Overlaps = 0;
    for (int Round = 0; Round < 300; ++Round) {
        WakeMainThread = Hook(Round % 2);
        Overlaps += Running[1 - Round % 2].load() != 0;
        CheckSynchronize(10);
    }
    WakeMainThread = nullptr;
    EXPECT_EQ(Running[0] + Running[1], 0);
    EXPECT_EQ(Overlaps, 0);
    Threads.clear();
}
