// tests/mail/timing.h: for the mail components' tests of waits and time-outs: an action run
// later from inside a wait, elapsed time, and the processor time the waiting thread used.
#pragma once

#include "platform/ui/ttimer.h"

#include <chrono>
#include <ctime>
#include <functional>

namespace TestSupport {

// Runs Action after Ms milliseconds from inside whatever wait is running then.
class TLater {
public:
    TLater(Cardinal Ms, std::function<void()> Action) : FTimer(nullptr)
    {
        FTimer.SetInterval(Ms);
        FTimer.OnTimer = [this, Action = std::move(Action)](TObject*) {
            FTimer.SetEnabled(false);
            Action();
        };
        FTimer.SetEnabled(true);
    }

private:
    TTimer FTimer;
};

inline double SecondsSince(std::chrono::steady_clock::time_point Start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

inline double ThreadCpuSeconds()
{
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) / 1e9;
}

} // namespace TestSupport
