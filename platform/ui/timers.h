// platform/ui/timers.h: window timers. A due timer yields WM_TIMER only when the queue holds
// nothing else, and one at most however late it is; its period restarts when that is taken.
#pragma once

#include "platform/ui/wintypes.h"

#include <cstdint>
#include <optional>

// Starts or restarts timer Id of Wnd (WM_TIMER with WParam = Id); an interval below 1 ms counts
// as 1. Returns Id, or 0 when Wnd does not exist.
std::uintptr_t SetTimer(HWND Wnd, std::uintptr_t Id, UINT Elapse);
bool KillTimer(HWND Wnd, std::uintptr_t Id);

// Milliseconds until the next timer is due (0 when one is due now); empty without timers.
std::optional<std::int32_t> NextTimerDelay();
