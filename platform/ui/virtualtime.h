// platform/ui/virtualtime.h: a virtual clock for tests. While it lives, GetTickCount reads it and
// a wait that would block with a time limit advances it to that limit at once instead, so timers
// and time-outs run without real time passing. A wait without a limit still blocks for real, so
// another thread can wake it.
#pragma once

#include <atomic>
#include <cstdint>

class TVirtualTime {
public:
    explicit TVirtualTime(std::uint32_t Start = 1000000);
    ~TVirtualTime();
    TVirtualTime(const TVirtualTime&) = delete;
    TVirtualTime& operator=(const TVirtualTime&) = delete;

    std::uint32_t Now() const { return FNow.load(); }
    void Advance(std::uint32_t Milliseconds) { FNow += Milliseconds; }
    // Total milliseconds the waits skipped.
    std::uint64_t Skipped() const { return FSkipped.load(); }

private:
    std::atomic<std::uint32_t> FNow;
    std::atomic<std::uint64_t> FSkipped{0};
};
