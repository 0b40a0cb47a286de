// platform/rtl/thread.h: worker threads (TThread), the hand-over of calls to the main thread
// (Synchronize, Queue, CheckSynchronize) and the synchronisation objects they use.
#pragma once

#include "platform/rtl/events.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

TW_DECLARE_EXCEPTION(EThread, Exception);

using TThreadMethod = std::function<void()>;

// A wait without a time limit.
constexpr Cardinal INFINITE = 0xFFFFFFFF;

// The main thread is the one that initialised the library; tests may name another one.
std::thread::id MainThreadID();
void SetMainThreadID(std::thread::id Value);

// The type of WakeMainThread: assigned and called like a TNotifyEvent, from any thread. Workers
// may be queuing calls while the message loop installs its hook, so assigning a hook while calls
// wait calls it at once (sender nullptr): they run as soon as the loop starts, not at the next
// call. Once an assignment returns, the previous hook is no longer running, so a hook may use
// what its owner destroys after replacing it. A hook must not queue calls or assign a hook.
class TWakeMainThreadHook {
public:
    TWakeMainThreadHook& operator=(TNotifyEvent Value);
    explicit operator bool() const;
    void operator()(TObject* Sender) const;
};

// Called, on the queuing thread, whenever a call is queued for the main thread, so that a
// waiting message loop wakes up and calls CheckSynchronize; the thread that queued the call is
// the sender (nullptr for none).
extern TWakeMainThreadHook WakeMainThread;

// Runs the calls queued for the main thread, in order. With Timeout (ms) above 0 it first waits
// that long for a call to arrive. True when it ran at least one call. Raises EThread on any
// other thread. An exception raised by a Queue'd call passes on to the caller, the rest of the
// queue staying queued; a Synchronize'd call's exception goes back to the waiting thread.
bool CheckSynchronize(int Timeout = 0);

// A worker thread: derive, override Execute and check Terminated() in its loops.
// C++ builds the base before the derived parts, so a thread created running cannot start in
// the constructor: it starts in AfterConstruction, which Create calls once the whole object
// stands. The derived parts of an object are gone before ~TThread runs, and the thread calls
// Execute and DoTerminate through the object's virtual table, so a class whose thread may still
// be running when it is destroyed ends the thread in its own destructor (Terminate(); WaitFor();).
class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended);
    // new T(Args...) followed by AfterConstruction: the way to create a thread that runs at once.
    template <class T, class... TArgs>
    static T* Create(TArgs&&... Args)
    {
        std::unique_ptr<T> Thread(new T(std::forward<TArgs>(Args)...));
        Thread->AfterConstruction();
        return Thread.release();
    }
    // A thread still running (its OnTerminate, say) is told to terminate and waited for; the
    // main thread runs synchronised calls meanwhile. A thread that frees itself is never freed by
    // another.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the thread unless it was created suspended.
    void AfterConstruction();
    // Starts a thread created suspended; raises EThread when it was started already.
    void Start();
    // Starts a thread created suspended; nothing when it runs or has run.
    void Resume();
    // Asks Execute to end: sets Terminated.
    void Terminate();
    // Waits until the thread has ended (after OnTerminate) and returns its ReturnValue. On the
    // main thread it keeps running synchronised calls meanwhile. Raises EThread for a thread that
    // frees itself, when called from the thread itself, or for a thread never started.
    int WaitFor();

    bool Terminated() const;
    bool Suspended() const;
    // True once Execute has returned.
    bool Finished() const;
    std::thread::id ThreadID() const;
    // The exception that escaped Execute, if any; the thread ended quietly with it.
    std::exception_ptr FatalException() const { return FFatalException; }

    // A thread that frees itself deletes its object once OnTerminate has run. Set it before Start,
    // or from Execute; from any other thread it raises EThread once the thread has started (the
    // thread may be ending that very moment), and so does setting it while another thread waits
    // for this one.
    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool Value);

    // Runs on the main thread (through Synchronize) after Execute has ended.
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread and returns when it has run. From the main thread it runs
    // directly; elsewhere it waits for CheckSynchronize. Method's exception is raised here.
    void Synchronize(const TThreadMethod& Method);
    static void Synchronize(TThread* AThread, const TThreadMethod& Method);
    // As Synchronize without waiting: Method runs at the main thread's next CheckSynchronize.
    void Queue(const TThreadMethod& Method);
    static void Queue(TThread* AThread, const TThreadMethod& Method);
    // Drops the calls AThread queued and the main thread has not run yet.
    static void RemoveQueuedEvents(TThread* AThread);

protected:
    virtual void Execute() = 0;
    virtual void DoTerminate();

    int ReturnValue() const { return FReturnValue; }
    void SetReturnValue(int Value) { FReturnValue = Value; }

private:
    static void ThreadProc(TThread* Self);
    // Waits for FDone with Lock (the queue's) held; on the main thread runs synchronised calls
    // meanwhile. Returns the first exception a queued call raised during the wait.
    std::exception_ptr WaitUntilDone(std::unique_lock<std::mutex>& Lock);

    std::thread FThread;
    const bool FCreateSuspended;
    // Guarded by the lock of the main thread's call queue.
    bool FStarted = false;
    bool FDone = false; // the thread will not touch this object any more
    bool FFreeOnTerminate = false;
    int FWaiters = 0; // threads in WaitFor or the destructor
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    int FReturnValue = 0;
    std::exception_ptr FFatalException;
};

// Base of the objects threads wait on or lock.
class TSynchroObject : public TObject {
public:
    virtual void Acquire() {}
    virtual void Release() {}
};

// A lock the owning thread may take again (every Enter needs its Leave).
class TCriticalSection : public TSynchroObject {
public:
    void Acquire() override { FMutex.lock(); }
    void Release() override { FMutex.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    // Takes the lock when it is free; false otherwise.
    bool TryEnter() { return FMutex.try_lock(); }

private:
    std::recursive_mutex FMutex;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// An event threads wait on. A manual-reset event stays signalled until ResetEvent and releases
// every waiter; an auto-reset event releases one waiter and resets itself.
class TEvent : public TSynchroObject {
public:
    explicit TEvent(bool ManualReset = true, bool InitialState = false);
    ~TEvent() override;

    void SetEvent();
    void ResetEvent();
    // Waits up to Timeout ms (INFINITE: no limit; 0: just tests the state). Waiters still
    // blocked when the event is destroyed get wrAbandoned.
    TWaitResult WaitFor(Cardinal Timeout = INFINITE);
    // Acquire waits for the event, Release signals it.
    void Acquire() override { WaitFor(INFINITE); }
    void Release() override { SetEvent(); }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FManualReset;
    bool FSignaled;
    bool FDestroying = false;
    int FWaiters = 0;
};

// A manual-reset event, initially not signalled.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};
