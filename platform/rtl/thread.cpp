#include "platform/rtl/thread.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <utility>

namespace {

struct TSyncCall {
    TSyncCall(TThread* AThread, TThreadMethod AMethod, bool AWaiting)
        : Thread(AThread), Method(std::move(AMethod)), Waiting(AWaiting)
    {
    }
    TThread* Thread;
    TThreadMethod Method;
    bool Waiting; // Synchronize: the caller blocks until Done
    bool Done = false;
    std::exception_ptr Error;
};

// The calls waiting for the main thread. Its lock also guards the start and end state of every
// TThread, so that a wait on the main thread can watch both with one condition.
struct TSyncState {
    std::mutex Lock;
    std::condition_variable MainWake; // a call was queued, or a thread is done
    std::condition_variable CallDone; // a synchronised call has run
    std::deque<std::shared_ptr<TSyncCall>> Queue;

    // WakeMainThread. A caller holds a copy of the hook while it runs it, so that an assignment
    // can wait until nobody runs the one it replaced.
    std::mutex HookLock;
    std::condition_variable HookReleased;
    std::shared_ptr<const TNotifyEvent> Hook;
};

TSyncState& Sync()
{
    // Never destroyed: a thread that frees itself may still be ending while the process runs its
    // exit handlers, and must find the queue and its lock alive.
    static TSyncState& State = *new TSyncState;
    return State;
}

std::atomic<std::thread::id>& MainId()
{
    static std::atomic<std::thread::id> Id{std::this_thread::get_id()};
    return Id;
}

// Records the main thread during static initialisation, before any worker can exist.
[[maybe_unused]] const bool MainThreadRecorded = (MainId(), true);

bool InMainThread()
{
    return std::this_thread::get_id() == MainId().load();
}

void Enqueue(const std::shared_ptr<TSyncCall>& Call)
{
    TSyncState& S = Sync();
    {
        std::lock_guard<std::mutex> L(S.Lock);
        S.Queue.push_back(Call);
    }
    S.MainWake.notify_all();
    WakeMainThread(Call->Thread);
}

} // namespace

TWakeMainThreadHook WakeMainThread;

TWakeMainThreadHook& TWakeMainThreadHook::operator=(TNotifyEvent Value)
{
    TSyncState& S = Sync();
    std::shared_ptr<const TNotifyEvent> Old;
    {
        std::unique_lock<std::mutex> L(S.HookLock);
        Old = std::exchange(S.Hook, Value ? std::make_shared<const TNotifyEvent>(std::move(Value))
                                          : nullptr);
        S.HookReleased.wait(L, [&Old] { return !Old || Old.use_count() == 1; });
    }
    Old.reset();
    bool Waiting = false;
    {
        std::lock_guard<std::mutex> L(S.Lock);
        Waiting = !S.Queue.empty();
    }
    // A call queued before the hook was there woke nobody.
    if (Waiting)
        (*this)(nullptr);
    return *this;
}

TWakeMainThreadHook::operator bool() const
{
    TSyncState& S = Sync();
    std::lock_guard<std::mutex> L(S.HookLock);
    return S.Hook != nullptr;
}

void TWakeMainThreadHook::operator()(TObject* Sender) const
{
    TSyncState& S = Sync();
    std::shared_ptr<const TNotifyEvent> Hook;
    {
        std::lock_guard<std::mutex> L(S.HookLock);
        Hook = S.Hook;
    }
    if (!Hook)
        return;
    // Released under the lock even when the hook throws: an assignment may be waiting for it.
    struct TRelease {
        TSyncState& S;
        std::shared_ptr<const TNotifyEvent>& Hook;
        ~TRelease()
        {
            std::lock_guard<std::mutex> L(S.HookLock);
            Hook.reset();
            S.HookReleased.notify_all();
        }
    } Release{S, Hook};
    (*Hook)(Sender);
}

std::thread::id MainThreadID()
{
    return MainId().load();
}

void SetMainThreadID(std::thread::id Value)
{
    MainId().store(Value);
}

bool CheckSynchronize(int Timeout)
{
    if (!InMainThread())
        throw EThread("CheckSynchronize called from a thread that is not the main thread");
    TSyncState& S = Sync();
    std::unique_lock<std::mutex> L(S.Lock);
    if (Timeout > 0)
        S.MainWake.wait_for(L, std::chrono::milliseconds(Timeout),
                            [&S] { return !S.Queue.empty(); });
    // Only the calls queued now: a call that queues another must not keep the caller here.
    std::size_t Count = S.Queue.size();
    bool Ran = false;
    while (Count-- > 0 && !S.Queue.empty()) {
        std::shared_ptr<TSyncCall> Call = S.Queue.front();
        S.Queue.pop_front();
        L.unlock();
        Ran = true;
        if (Call->Waiting) {
            try {
                Call->Method();
            } catch (...) {
                Call->Error = std::current_exception();
            }
            L.lock();
            Call->Done = true;
            S.CallDone.notify_all();
        } else {
            Call->Method();
            L.lock();
        }
    }
    return Ran;
}

// TThread

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {}

TThread::~TThread()
{
    std::unique_lock<std::mutex> L(Sync().Lock);
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id()) {
            // Freeing itself at the end of ThreadProc: nothing of this object is used again.
            FThread.detach();
        } else {
            Terminate();
            WaitUntilDone(L); // an exception of a queued call has nobody to go to here
            L.unlock();
            FThread.join();
        }
    }
    if (L.owns_lock())
        L.unlock();
    RemoveQueuedEvents(this);
}

void TThread::AfterConstruction()
{
    if (!FCreateSuspended)
        Start();
}

void TThread::Start()
{
    TSyncState& S = Sync();
    std::lock_guard<std::mutex> L(S.Lock);
    if (FStarted)
        throw EThread("Cannot call Start on a running or finished thread");
    // Under the lock, so that ThreadProc cannot free the object before FThread is assigned.
    FThread = std::thread(&TThread::ThreadProc, this);
    FStarted = true;
}

void TThread::Resume()
{
    {
        std::lock_guard<std::mutex> L(Sync().Lock);
        if (FStarted)
            return;
    }
    Start();
}

void TThread::Terminate()
{
    FTerminated = true;
}

bool TThread::Terminated() const
{
    return FTerminated;
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> L(Sync().Lock);
    return !FStarted;
}

bool TThread::Finished() const
{
    return FFinished;
}

std::thread::id TThread::ThreadID() const
{
    std::lock_guard<std::mutex> L(Sync().Lock);
    return FThread.get_id();
}

bool TThread::FreeOnTerminate() const
{
    std::lock_guard<std::mutex> L(Sync().Lock);
    return FFreeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool Value)
{
    std::lock_guard<std::mutex> L(Sync().Lock);
    if (FStarted && FThread.get_id() != std::this_thread::get_id())
        throw EThread("Cannot change FreeOnTerminate of a started thread from another thread");
    if (Value && FWaiters > 0)
        throw EThread("Cannot free a thread that another thread waits for");
    FFreeOnTerminate = Value;
}

int TThread::WaitFor()
{
    std::unique_lock<std::mutex> L(Sync().Lock);
    if (!FStarted)
        throw EThread("Cannot wait for a thread that was never started");
    if (FThread.get_id() == std::this_thread::get_id())
        throw EThread("A thread cannot wait for itself");
    if (FFreeOnTerminate)
        throw EThread("Cannot wait for a thread that frees itself");
    std::exception_ptr Error = WaitUntilDone(L);
    L.unlock();
    if (Error)
        std::rethrow_exception(Error);
    return FReturnValue;
}

std::exception_ptr TThread::WaitUntilDone(std::unique_lock<std::mutex>& Lock)
{
    TSyncState& S = Sync();
    const bool Main = InMainThread();
    std::exception_ptr FirstError;
    // Counted, so that the thread cannot decide to free itself under a waiter.
    ++FWaiters;
    while (!FDone) {
        if (Main && !S.Queue.empty()) {
            Lock.unlock();
            try {
                CheckSynchronize();
            } catch (...) {
                if (!FirstError)
                    FirstError = std::current_exception();
            }
            Lock.lock();
            continue;
        }
        S.MainWake.wait(Lock);
    }
    --FWaiters;
    return FirstError;
}

void TThread::ThreadProc(TThread* Self)
{
    {
        // Start holds this lock until FThread is assigned.
        std::lock_guard<std::mutex> L(Sync().Lock);
    }
    try {
        if (!Self->Terminated())
            Self->Execute();
    } catch (...) {
        // An escaping exception ends the thread, not the program.
        Self->FFatalException = std::current_exception();
    }
    Self->FFinished = true;
    try {
        Self->DoTerminate();
    } catch (...) {
        if (!Self->FFatalException)
            Self->FFatalException = std::current_exception();
    }
    TSyncState& S = Sync();
    bool FreeThread = false;
    {
        std::lock_guard<std::mutex> L(S.Lock);
        // A waiter can only be a destructor that got in first: the object is its to free.
        FreeThread = Self->FFreeOnTerminate && Self->FWaiters == 0;
        Self->FDone = !FreeThread;
    }
    if (FreeThread) {
        delete Self;
        return;
    }
    // The object may be gone already: only the shared state is used from here on.
    S.MainWake.notify_all();
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(const TThreadMethod& Method)
{
    Synchronize(this, Method);
}

void TThread::Synchronize(TThread* AThread, const TThreadMethod& Method)
{
    if (InMainThread()) {
        Method();
        return;
    }
    auto Call = std::make_shared<TSyncCall>(AThread, Method, true);
    Enqueue(Call);
    TSyncState& S = Sync();
    {
        std::unique_lock<std::mutex> L(S.Lock);
        S.CallDone.wait(L, [&Call] { return Call->Done; });
    }
    if (Call->Error)
        std::rethrow_exception(Call->Error);
}

void TThread::Queue(const TThreadMethod& Method)
{
    Queue(this, Method);
}

void TThread::Queue(TThread* AThread, const TThreadMethod& Method)
{
    if (InMainThread()) {
        Method();
        return;
    }
    Enqueue(std::make_shared<TSyncCall>(AThread, Method, false));
}

void TThread::RemoveQueuedEvents(TThread* AThread)
{
    TSyncState& S = Sync();
    std::lock_guard<std::mutex> L(S.Lock);
    // A waiting Synchronize stays: its thread is blocked until the main thread runs it.
    S.Queue.erase(std::remove_if(S.Queue.begin(), S.Queue.end(),
                                 [AThread](const std::shared_ptr<TSyncCall>& Call) {
                                     return Call->Thread == AThread && !Call->Waiting;
                                 }),
                  S.Queue.end());
}

// TEvent

TEvent::TEvent(bool ManualReset, bool InitialState)
    : FManualReset(ManualReset), FSignaled(InitialState)
{
}

TEvent::~TEvent()
{
    std::unique_lock<std::mutex> L(FMutex);
    FDestroying = true;
    FChanged.notify_all();
    FChanged.wait(L, [this] { return FWaiters == 0; });
}

void TEvent::SetEvent()
{
    // Notified under the lock: a waiter may destroy the event as soon as it wakes.
    std::lock_guard<std::mutex> L(FMutex);
    FSignaled = true;
    if (FManualReset)
        FChanged.notify_all();
    else
        FChanged.notify_one();
}

void TEvent::ResetEvent()
{
    std::lock_guard<std::mutex> L(FMutex);
    FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal Timeout)
{
    std::unique_lock<std::mutex> L(FMutex);
    auto Ready = [this] { return FSignaled || FDestroying; };
    ++FWaiters;
    if (Timeout == INFINITE)
        FChanged.wait(L, Ready);
    else
        FChanged.wait_for(L, std::chrono::milliseconds(Timeout), Ready);
    --FWaiters;
    TWaitResult Result = wrTimeout;
    if (FDestroying) {
        Result = wrAbandoned;
        FChanged.notify_all(); // the destructor waits for the last waiter to leave
    } else if (FSignaled) {
        Result = wrSignaled;
        if (!FManualReset)
            FSignaled = false;
    }
    return Result;
}
