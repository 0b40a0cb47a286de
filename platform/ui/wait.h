// platform/ui/wait.h: the one wait of the user-interface thread. It pumps messages until a
// condition holds, a time limit passes or the quit request comes, blocking in poll() on the
// display connection, the registered descriptors, the wake-up descriptor and the next timer
// deadline; it never spins. Sockets register their descriptors here.
#pragma once

#include "platform/ui/wintypes.h"

#include <poll.h>

#include <functional>

// Called on the user-interface thread, from inside a wait, when the descriptor reports any of
// its events (or POLLERR, POLLHUP, POLLNVAL).
using TDescriptorCallback = std::function<void(int Fd, short REvents)>;

// Returns an id for UnregisterDescriptor. Events as for poll() (POLLIN, POLLOUT).
int RegisterDescriptor(int Fd, short Events, TDescriptorCallback Callback);
// Changes the events watched; 0 pauses the descriptor.
void SetDescriptorEvents(int Id, short Events);
// Safe from inside the descriptor's own callback.
void UnregisterDescriptor(int Id);

enum TPumpResult {
    prDone,     // the condition held
    prTimedOut, // the time limit passed
    prQuit,     // WM_QUIT was taken; it is posted again so that the outer loop ends as well
};

// Dispatches messages (TranslateMessage and DispatchMessage) until Done() holds; Done is asked
// before waiting and after every message, descriptor callback and wake-up. TimeoutMs < 0: no
// limit. The time is GetTickCount's, so a test clock drives it. Re-entrant.
TPumpResult WaitUntil(const std::function<bool()>& Done, int TimeoutMs = -1);

// Waits until Fd is ready for Events, pumping meanwhile; Cancel (when given) ends the wait as
// well. The events reported, or 0 after a time-out, a cancel or the quit request.
short WaitForDescriptor(int Fd, short Events, int TimeoutMs,
                        const std::function<bool()>& Cancel = {});

// Blocks until there is something to do: a message, a due timer, a ready descriptor (whose
// callback has then run), a wake-up, or the end of TimeoutMs (< 0: none). Runs the calls queued
// by other threads when woken. True unless it timed out.
bool WaitMessage(int TimeoutMs = -1);

// Looks at the descriptors without blocking and runs the callbacks of the ready ones, reads the
// display's events and runs the calls queued by other threads. True when anything happened.
bool PollOnce();

// Wakes a blocked wait; any thread.
void WakeUp();

// The poll() the wait blocks in; tests put a virtual one in (platform/ui/virtualtime.h).
// An empty function restores ::poll.
using TPollFunction = std::function<int(pollfd* Fds, nfds_t Count, int TimeoutMs)>;
void SetPollFunction(TPollFunction Function);

// Makes sure the wake-up descriptor exists and WakeMainThread wakes this loop; call on the
// user-interface thread before starting worker threads (TApplication does).
void InitMessageLoop();
