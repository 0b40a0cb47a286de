// tests/platform/rtl/threadtest.h: helpers of the thread tests: a thread whose body is a lambda,
// and a guard that restores the wake-up hook and the main thread a test changes.
#pragma once

#include "platform/rtl/thread.h"

#include <functional>
#include <thread>
#include <utility>

// The lambda gets the thread, to reach its protected parts.
class TLambdaThread : public TThread {
public:
    using TBody = std::function<void(TLambdaThread&)>;
    TLambdaThread(bool CreateSuspended, TBody ABody)
        : TThread(CreateSuspended), Body(std::move(ABody))
    {
    }
    ~TLambdaThread() override
    {
        // Body is a member: the thread must end before it goes.
        if (!Suspended() && !FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
    }

    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;

protected:
    void Execute() override { Body(*this); }

private:
    TBody Body;
};

// Restores the hook and the main thread a test changes.
struct TSyncGuard {
    ~TSyncGuard()
    {
        WakeMainThread = nullptr;
        SetMainThreadID(std::this_thread::get_id());
    }
};
