#include "platform/ui/wait.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/thread.h"
#include "platform/ui/application.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

struct TDescriptor {
    int Id;
    int Fd;
    short Events;
    TDescriptorCallback Callback;
    bool Removed = false;
};

struct TWaitState {
    std::vector<std::shared_ptr<TDescriptor>> Descriptors;
    int LastId = 0;
    TPollFunction Poll;
    bool Initialised = false;
};

TWaitState& Wait()
{
    static TWaitState S;
    return S;
}

std::atomic<bool> SyncPending{false};

// Created once, by whichever thread needs it first.
int WakeDescriptor()
{
    static const int Fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return Fd;
}

int Poll(std::vector<pollfd>& Fds, int TimeoutMs)
{
    auto& S = Wait();
    for (;;) {
        const int Result = S.Poll ? S.Poll(Fds.data(), Fds.size(), TimeoutMs)
                                  : ::poll(Fds.data(), Fds.size(), TimeoutMs);
        if (Result >= 0 || errno != EINTR)
            return Result;
    }
}

struct TPollSet {
    std::vector<pollfd> Fds;
    std::vector<std::shared_ptr<TDescriptor>> Owners; // parallel to Fds after the first two
    int DriverFd = -1;
};

TPollSet BuildPollSet()
{
    TPollSet Set;
    const auto& Descriptors = Wait().Descriptors;
    Set.Fds.reserve(2 + Descriptors.size());
    Set.Owners.reserve(Descriptors.size());
    Set.Fds.push_back(pollfd{WakeDescriptor(), POLLIN, 0});
    Set.DriverFd = DisplayDriver().Descriptor();
    Set.Fds.push_back(pollfd{Set.DriverFd, POLLIN, 0}); // a negative descriptor is skipped
    for (const auto& D : Descriptors) {
        if (D->Removed || D->Events == 0)
            continue;
        Set.Fds.push_back(pollfd{D->Fd, D->Events, 0});
        Set.Owners.push_back(D);
    }
    return Set;
}

// Runs what the poll reported; true when anything was ready.
bool HandleReady(TPollSet& Set)
{
    bool Any = false;
    if (Set.Fds[0].revents != 0) {
        std::uint64_t Count = 0;
        while (read(WakeDescriptor(), &Count, sizeof Count) > 0) {
        }
        Any = true;
    }
    if (Set.DriverFd >= 0 && Set.Fds[1].revents != 0) {
        DisplayDriver().ReadEvents();
        Any = true;
    }
    for (std::size_t I = 0; I < Set.Owners.size(); ++I) {
        const short REvents = Set.Fds[I + 2].revents;
        if (REvents == 0 || Set.Owners[I]->Removed)
            continue;
        Any = true;
        // A copy: the callback may unregister itself.
        const TDescriptorCallback Callback = Set.Owners[I]->Callback;
        Callback(Set.Owners[I]->Fd, REvents);
    }
    if (SyncPending.exchange(false)) {
        CheckSynchronize();
        Any = true;
    }
    return Any;
}

bool QueueHasWork()
{
    return PendingMessageCount() > 0 || uiloop::QuitPending();
}

} // namespace

int RegisterDescriptor(int Fd, short Events, TDescriptorCallback Callback)
{
    uiloop::CheckThread("RegisterDescriptor");
    auto& S = Wait();
    auto D =
        std::make_shared<TDescriptor>(TDescriptor{++S.LastId, Fd, Events, std::move(Callback)});
    S.Descriptors.push_back(D);
    return D->Id;
}

void SetDescriptorEvents(int Id, short Events)
{
    for (const auto& D : Wait().Descriptors)
        if (D->Id == Id)
            D->Events = Events;
}

void UnregisterDescriptor(int Id)
{
    auto& List = Wait().Descriptors;
    for (auto It = List.begin(); It != List.end(); ++It) {
        if ((*It)->Id == Id) {
            (*It)->Removed = true;
            List.erase(It);
            return;
        }
    }
}

void SetPollFunction(TPollFunction Function)
{
    Wait().Poll = std::move(Function);
}

void WakeUp()
{
    const std::uint64_t One = 1;
    const int Fd = WakeDescriptor();
    if (Fd >= 0) {
        // A full counter already means "wake up".
        [[maybe_unused]] const ssize_t Written = write(Fd, &One, sizeof One);
    }
}

void InitMessageLoop()
{
    auto& S = Wait();
    if (S.Initialised)
        return;
    S.Initialised = true;
    WakeDescriptor();
    WakeMainThread = [](TObject*) {
        SyncPending = true;
        WakeUp();
    };
}

bool PollOnce()
{
    uiloop::CheckThread("PollOnce");
    InitMessageLoop();
    TPollSet Set = BuildPollSet();
    if (Poll(Set.Fds, 0) <= 0)
        return false;
    return HandleReady(Set);
}

bool WaitMessage(int TimeoutMs)
{
    uiloop::CheckThread("WaitMessage");
    InitMessageLoop();
    if (QueueHasWork())
        return true;
    return uiloop::BlockOnce(TimeoutMs);
}

bool uiloop::BlockOnce(int TimeoutMs)
{
    int Wait = TimeoutMs;
    bool TimerBound = false;
    auto Delay = NextTimerDelay();
    if (const auto Blink = uiloop::CaretBlinkDelay())
        Delay = Delay ? std::min(*Delay, *Blink) : *Blink;
    if (Delay) {
        if (*Delay == 0)
            return true;
        if (Wait < 0 || *Delay <= Wait) {
            Wait = *Delay;
            TimerBound = true;
        }
    }
    TPollSet Set = BuildPollSet();
    const int Ready = Poll(Set.Fds, Wait);
    if (Ready > 0) {
        HandleReady(Set);
        return true;
    }
    return TimerBound || Ready < 0;
}

TPumpResult WaitUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    uiloop::CheckThread("WaitUntil");
    InitMessageLoop();
    const std::uint32_t Start = GetTickCount();
    auto Remaining = [&]() -> int {
        if (TimeoutMs < 0)
            return -1;
        const std::uint32_t Elapsed = GetTickCount() - Start;
        return Elapsed >= static_cast<std::uint32_t>(TimeoutMs)
                   ? 0
                   : TimeoutMs - static_cast<int>(Elapsed);
    };
    for (;;) {
        if (Done && Done())
            return prDone;
        TMsg Msg;
        // A round that finds no message ends in the blocking poll, which serves the
        // descriptors: its first look at the queue need not poll them (a system call per wait
        // for nothing). A wait with a time limit may run out before that poll, and once a
        // message has come (a timer that is always due, say) the look must poll again, or the
        // descriptors would starve.
        bool PollFirst = TimeoutMs >= 0;
        while (uiloop::Peek(Msg, 0, 0, 0, PM_REMOVE, PollFirst)) {
            PollFirst = true;
            if (Msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(Msg.wParam));
                return prQuit;
            }
            // Forms see their dialog keys first, as in the application's own loop, so that
            // Enter, Escape, Tab and accelerators work while a unit waits on the network.
            if (!(FormHooks().IsKeyMsg && FormHooks().IsKeyMsg(Msg))) {
                TranslateMessage(Msg);
                DispatchMessage(Msg);
            }
            if (Done && Done())
                return prDone;
            if (Remaining() == 0)
                return prTimedOut;
        }
        // PeekMessage may have served ready descriptors, whose callbacks may have met the
        // condition.
        if (Done && Done())
            return prDone;
        const int Left = Remaining();
        if (Left == 0)
            return prTimedOut;
        WaitMessage(Left);
    }
}

short WaitForDescriptor(int Fd, short Events, int TimeoutMs, const std::function<bool()>& Cancel)
{
    short Got = 0;
    int Id = 0;
    Id = RegisterDescriptor(Fd, Events, [&Got, &Id](int, short REvents) {
        Got = REvents;
        SetDescriptorEvents(Id, 0);
    });
    struct TUnregister {
        int& Id;
        ~TUnregister() { UnregisterDescriptor(Id); }
    } Unregister{Id};
    WaitUntil([&] { return Got != 0 || (Cancel && Cancel()); }, TimeoutMs);
    return Got;
}
