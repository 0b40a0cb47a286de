#include "platform/rtl/thread.h"

#include "tests/platform/rtl/threadtest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Tells when a thread that frees itself is gone.
class TSelfFreeingThread : public TThread {
public:
    TSelfFreeingThread(TEvent& AGo, TEvent& AGone) : TThread(true), Go(AGo), Gone(AGone)
    {
        SetFreeOnTerminate(true);
    }
    ~TSelfFreeingThread() override { Gone.SetEvent(); }

protected:
    void Execute() override { Go.WaitFor(1000); }

private:
    TEvent& Go;
    TEvent& Gone;
};

// Has nothing of its own that Execute uses, so the base class may end it.
class TNoState : public TThread {
public:
    TNoState() : TThread(true) {}

protected:
    void Execute() override {}
};

} // namespace

TEST(Thread, SuspendedThreadRunsOnlyOnceStartedAndWaitForGivesItsReturnValue)
{
    std::atomic<bool> Ran{false};
    TLambdaThread Thread(true, [&Ran](TLambdaThread& Self) {
        Ran = true;
        Self.SetReturnValue(42);
    });
    EXPECT_TRUE(Thread.Suspended());
    EXPECT_THROW(Thread.WaitFor(), EThread);
    EXPECT_FALSE(Ran);

    Thread.Start();
    EXPECT_FALSE(Thread.Suspended());
    EXPECT_EQ(Thread.WaitFor(), 42);
    EXPECT_TRUE(Ran);
    EXPECT_TRUE(Thread.Finished());
    EXPECT_NE(Thread.ThreadID(), std::this_thread::get_id());
    EXPECT_THROW(Thread.Start(), EThread);
    Thread.Resume(); // already ran: nothing
}

TEST(Thread, CreatedRunningStartsOnceBuilt)
{
    std::unique_ptr<TLambdaThread> Thread(
        TThread::Create<TLambdaThread>(false, [](TLambdaThread& Self) { Self.SetReturnValue(7); }));
    EXPECT_FALSE(Thread->Suspended());
    EXPECT_EQ(Thread->WaitFor(), 7);
}

TEST(Thread, TerminateEndsAWaitingBody)
{
    TSimpleEvent Started, Wake;
    TLambdaThread Thread(true, [&](TLambdaThread& Self) {
        Started.SetEvent();
        while (!Self.Terminated())
            Wake.WaitFor();
        Self.SetReturnValue(1);
    });
    Thread.Start();
    ASSERT_EQ(Started.WaitFor(1000), wrSignaled);
    Thread.Terminate();
    EXPECT_TRUE(Thread.Terminated());
    Wake.SetEvent();
    EXPECT_EQ(Thread.WaitFor(), 1);
}

TEST(Thread, TerminatedBeforeItStartsSkipsExecute)
{
    std::atomic<bool> Ran{false};
    TLambdaThread Thread(true, [&Ran](TLambdaThread&) { Ran = true; });
    Thread.Terminate();
    Thread.Start();
    Thread.WaitFor();
    EXPECT_FALSE(Ran);
    EXPECT_TRUE(Thread.Finished());
}

TEST(Thread, DestroyingAThreadWaitsForItsEndAndRunsItsPendingOnTerminate)
{
    TSyncGuard Guard;
    TSimpleEvent Queued;
    WakeMainThread = [&Queued](TObject*) { Queued.SetEvent(); };
    bool TerminateRan = false;
    auto* Thread = new TNoState;
    Thread->OnTerminate = [&TerminateRan](TObject*) { TerminateRan = true; };
    Thread->Start();
    ASSERT_EQ(Queued.WaitFor(1000), wrSignaled); // Execute is over, OnTerminate waits for us
    delete Thread;
    EXPECT_TRUE(TerminateRan);

    // Never started: nothing to wait for.
    delete new TNoState;
}

TEST(Thread, ThreadCannotWaitForItself)
{
    std::string Message;
    TLambdaThread Thread(true, [&Message](TLambdaThread& Self) {
        try {
            Self.WaitFor();
        } catch (const EThread& E) {
            Message = E.Message();
        }
    });
    Thread.Start();
    Thread.WaitFor();
    EXPECT_EQ(Message, "A thread cannot wait for itself");
}

TEST(Thread, ExceptionEscapingExecuteEndsOnlyTheThread)
{
    std::atomic<bool> TerminateRan{false};
    TLambdaThread Thread(true, [](TLambdaThread&) { throw EConvertError("bad number"); });
    Thread.OnTerminate = [&TerminateRan](TObject*) { TerminateRan = true; };
    Thread.Start();
    Thread.WaitFor();
    EXPECT_TRUE(TerminateRan);
    ASSERT_TRUE(Thread.FatalException());
    try {
        std::rethrow_exception(Thread.FatalException());
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "bad number");
    }
}

TEST(Thread, OnTerminateRunsOnTheMainThreadWhileItWaits)
{
    std::thread::id RanOn;
    TObject* Sender = nullptr;
    TLambdaThread Thread(true, [](TLambdaThread&) {});
    Thread.OnTerminate = [&](TObject* S) {
        RanOn = std::this_thread::get_id();
        Sender = S;
    };
    Thread.Start();
    Thread.WaitFor(); // runs the synchronised OnTerminate meanwhile
    EXPECT_EQ(RanOn, std::this_thread::get_id());
    EXPECT_EQ(Sender, &Thread);
}

TEST(Thread, FreeOnTerminateThreadFreesItselfAfterOnTerminate)
{
    TSimpleEvent Go, Gone;
    std::atomic<bool> TerminateRan{false};
    auto* Thread = new TSelfFreeingThread(Go, Gone);
    Thread->OnTerminate = [&](TObject*) {
        EXPECT_EQ(Gone.WaitFor(0), wrTimeout) << "not freed before OnTerminate";
        TerminateRan = true;
    };
    Thread->Start();
    EXPECT_THROW(Thread->WaitFor(), EThread) << "it may be gone at any moment";
    Go.SetEvent();

    EXPECT_TRUE(CheckSynchronize(1000)); // OnTerminate
    EXPECT_TRUE(TerminateRan);
    EXPECT_EQ(Gone.WaitFor(1000), wrSignaled);
}

TEST(Thread, FreeOnTerminateChangesBeforeStartOrFromTheThreadItselfOnly)
{
    // From another thread once running: the thread may be ending that very moment.
    TSimpleEvent Go;
    TLambdaThread Running(true, [&Go](TLambdaThread&) { Go.WaitFor(1000); });
    Running.Start();
    EXPECT_THROW(Running.SetFreeOnTerminate(true), EThread);
    EXPECT_FALSE(Running.FreeOnTerminate());
    Go.SetEvent();
    Running.WaitFor();
    EXPECT_THROW(Running.SetFreeOnTerminate(true), EThread) << "ended: it would never be freed";

    // From Execute: the thread frees itself.
    TSimpleEvent Gone;
    class TFreesFromExecute : public TThread {
    public:
        explicit TFreesFromExecute(TEvent& AGone) : TThread(true), FGone(AGone) {}
        ~TFreesFromExecute() override { FGone.SetEvent(); }

    protected:
        void Execute() override { SetFreeOnTerminate(true); }

    private:
        TEvent& FGone;
    };
    (new TFreesFromExecute(Gone))->Start();
    EXPECT_EQ(Gone.WaitFor(1000), wrSignaled);

    // From Execute while another thread waits for it: the waiter holds on to the object.
    std::string Refusal;
    TLambdaThread Waited(true, [&Refusal](TLambdaThread& Self) {
        Self.Synchronize([] {}); // runs only once the main thread is inside WaitFor
        try {
            Self.SetFreeOnTerminate(true);
        } catch (const EThread& E) {
            Refusal = E.Message();
        }
    });
    Waited.Start();
    Waited.WaitFor();
    EXPECT_EQ(Refusal, "Cannot free a thread that another thread waits for");
    EXPECT_FALSE(Waited.FreeOnTerminate());
}

TEST(Thread, AHookSetWhileCallsWaitIsCalledAtOnce)
{
    TSyncGuard Guard;
    WakeMainThread = nullptr;
    TSimpleEvent Queued;
    bool Ran = false;
    TLambdaThread Thread(true, [&](TLambdaThread& Self) {
        Self.Queue([&Ran] { Ran = true; });
        Queued.SetEvent();
    });
    Thread.Start();
    ASSERT_EQ(Queued.WaitFor(1000), wrSignaled); // it woke nobody

    TSimpleEvent Woken;
    TObject* Sender = &Thread;
    WakeMainThread = [&](TObject* S) {
        Sender = S;
        Woken.SetEvent();
    };
    EXPECT_EQ(Woken.WaitFor(0), wrSignaled) << "called by the assignment itself";
    EXPECT_EQ(Sender, nullptr);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_TRUE(Ran);
    Thread.WaitFor();

    // Nothing waiting: the new hook is left for the next call.
    Woken.ResetEvent();
    WakeMainThread = [&Woken](TObject*) { Woken.SetEvent(); };
    EXPECT_EQ(Woken.WaitFor(0), wrTimeout);
}

TEST(Thread, ReplacingTheHookWaitsUntilTheOldOneHasReturned)
{
    TSyncGuard Guard;
    TSimpleEvent InHook, Release, Replaced;
    WakeMainThread = [&](TObject*) {
        InHook.SetEvent();
        Release.WaitFor(5000);
    };
    TLambdaThread Thread(true, [](TLambdaThread& Self) { Self.Queue([] {}); });
    Thread.Start();
    ASSERT_EQ(InHook.WaitFor(1000), wrSignaled);
    std::thread Replacer([&] {
        WakeMainThread = [](TObject*) {};
        Replaced.SetEvent();
    });
    EXPECT_EQ(Replaced.WaitFor(50), wrTimeout) << "the old hook still runs";
    Release.SetEvent();
    EXPECT_EQ(Replaced.WaitFor(1000), wrSignaled);
    Replacer.join();
    Thread.WaitFor();
}

TEST(Thread, SynchronizeFromAWorkerRunsWhenTheMainThreadChecks)
{
    TSyncGuard Guard;
    TSimpleEvent Woken;
    std::atomic<TObject*> WokenBy{nullptr};
    WakeMainThread = [&](TObject* Sender) {
        WokenBy = Sender;
        Woken.SetEvent();
    };
    std::thread::id RanOn;
    std::atomic<bool> Returned{false};
    TLambdaThread Thread(true, [&](TLambdaThread& Self) {
        Self.Synchronize([&RanOn] { RanOn = std::this_thread::get_id(); });
        Returned = true;
    });
    Thread.Start();

    ASSERT_EQ(Woken.WaitFor(1000), wrSignaled);
    EXPECT_EQ(WokenBy, &Thread);
    EXPECT_FALSE(Returned) << "the worker waits for the main thread";
    EXPECT_TRUE(CheckSynchronize());
    Thread.WaitFor();
    EXPECT_TRUE(Returned);
    EXPECT_EQ(RanOn, std::this_thread::get_id());
}

TEST(Thread, SynchronizedExceptionIsRaisedInTheWorker)
{
    std::string Caught;
    TLambdaThread Thread(true, [&Caught](TLambdaThread& Self) {
        try {
            Self.Synchronize([] { throw EInvalidOperation("not now"); });
        } catch (const EInvalidOperation& E) {
            Caught = E.Message();
        }
    });
    Thread.Start();
    EXPECT_TRUE(CheckSynchronize(1000)); // the exception does not come out here
    Thread.WaitFor();
    EXPECT_EQ(Caught, "not now");
}

TEST(Thread, SynchronizeAndQueueOnTheMainThreadRunDirectly)
{
    int Calls = 0;
    TThread::Synchronize(nullptr, [&Calls] { ++Calls; });
    TThread::Queue(nullptr, [&Calls] { ++Calls; });
    EXPECT_EQ(Calls, 2);
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Thread, QueuedCallsRunInOrderWithoutStoppingTheWorker)
{
    std::vector<int> Order;
    TSimpleEvent Queued;
    TLambdaThread Thread(true, [&](TLambdaThread& Self) {
        for (int I = 1; I <= 3; ++I)
            Self.Queue([&Order, I] { Order.push_back(I); });
        Queued.SetEvent();
    });
    Thread.Start();
    ASSERT_EQ(Queued.WaitFor(1000), wrSignaled);
    EXPECT_TRUE(Order.empty());
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(Order, (std::vector<int>{1, 2, 3}));
    Thread.WaitFor();
}

TEST(Thread, RemovedQueuedCallsNeverRun)
{
    bool Ran = false;
    TSimpleEvent Queued;
    TLambdaThread Thread(true, [&](TLambdaThread& Self) {
        Self.Queue([&Ran] { Ran = true; });
        Queued.SetEvent();
    });
    Thread.Start();
    ASSERT_EQ(Queued.WaitFor(1000), wrSignaled);
    TThread::RemoveQueuedEvents(&Thread);
    EXPECT_FALSE(CheckSynchronize());
    Thread.WaitFor();
    EXPECT_FALSE(Ran);
}

TEST(Thread, CheckSynchronizeBelongsToTheMainThreadAndWaitsOnlyItsTimeout)
{
    TSyncGuard Guard;
    EXPECT_FALSE(CheckSynchronize(20)); // nothing queued: back after the time-out

    std::thread Other([] {});
    SetMainThreadID(Other.get_id());
    Other.join();
    EXPECT_THROW(CheckSynchronize(), EThread);
}

TEST(Event, StateAfterSetResetAndWait)
{
    struct TCase {
        const char* Name;
        bool ManualReset;
        bool InitialState;
        bool Set;
        std::vector<TWaitResult> Waits; // successive WaitFor(5)
    };
    const std::vector<TCase> Cases = {
        {"manual, initially set, stays set", true, true, false, {wrSignaled, wrSignaled}},
        {"manual, initially clear", true, false, false, {wrTimeout}},
        {"manual, set", true, false, true, {wrSignaled, wrSignaled}},
        {"auto, initially set, resets on a wait", false, true, false, {wrSignaled, wrTimeout}},
        {"auto, set, resets on a wait", false, false, true, {wrSignaled, wrTimeout}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TEvent Event(Case.ManualReset, Case.InitialState);
        if (Case.Set)
            Event.SetEvent();
        for (TWaitResult Expected : Case.Waits)
            EXPECT_EQ(Event.WaitFor(5), Expected);
    }
    TEvent Manual(true, true);
    Manual.ResetEvent();
    EXPECT_EQ(Manual.WaitFor(0), wrTimeout);
    TSimpleEvent Simple;
    EXPECT_EQ(Simple.WaitFor(0), wrTimeout);
}

TEST(Event, ManualResetReleasesEveryWaiterAutoResetOne)
{
    for (bool ManualReset : {true, false}) {
        SCOPED_TRACE(ManualReset ? "manual" : "auto");
        TEvent Event(ManualReset, false);
        TSimpleEvent Ready;
        std::atomic<int> Waiting{0}, Signaled{0};
        std::vector<std::thread> Waiters;
        for (int I = 0; I < 3; ++I)
            Waiters.emplace_back([&] {
                if (++Waiting == 3)
                    Ready.SetEvent();
                if (Event.WaitFor(ManualReset ? INFINITE : 40) == wrSignaled)
                    ++Signaled;
            });
        ASSERT_EQ(Ready.WaitFor(1000), wrSignaled);
        Event.SetEvent();
        for (std::thread& Waiter : Waiters)
            Waiter.join();
        EXPECT_EQ(Signaled, ManualReset ? 3 : 1);
    }
}

TEST(CriticalSection, OwnerMayReenterOthersWait)
{
    TCriticalSection Lock;
    Lock.Enter();
    Lock.Acquire(); // the owner again
    bool OtherGotIt = true;
    std::thread([&] { OtherGotIt = Lock.TryEnter(); }).join();
    EXPECT_FALSE(OtherGotIt);
    Lock.Release();
    Lock.Leave();
    std::thread([&] {
        OtherGotIt = Lock.TryEnter();
        if (OtherGotIt)
            Lock.Leave();
    }).join();
    EXPECT_TRUE(OtherGotIt);

    int Counter = 0;
    std::vector<std::thread> Workers;
    for (int I = 0; I < 4; ++I)
        Workers.emplace_back([&] {
            for (int K = 0; K < 1000; ++K) {
                Lock.Enter();
                ++Counter;
                Lock.Leave();
            }
        });
    for (std::thread& Worker : Workers)
        Worker.join();
    EXPECT_EQ(Counter, 4000);
}
