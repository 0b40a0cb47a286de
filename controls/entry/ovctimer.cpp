#include "controls/entry/ovctimer.h"

#include "controls/entry/ovcexcpt.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <climits>
#include <new>

namespace {

constexpr Cardinal MinInterval = 55;
// A trigger fires this much before its interval is up rather than wait a whole tick more.
constexpr std::int64_t EarlyFiring = 27;
// The farthest a window timer can be set ahead: its due time is a signed distance.
constexpr std::int64_t LongestTimer = INT32_MAX;

void PublishTimerPool()
{
    static const bool Done = [] {
        TPublished<TOvcTimerPool>()
            .Field("OnAllTriggers", &TOvcTimerPool::OnAllTriggers, "TTriggerEvent")
            .Property("About", &TOvcTimerPool::About, &TOvcTimerPool::SetAbout);
        return true;
    }();
    (void)Done;
}

// Time since a tick-count reading, across the wrap of the count at 2^32.
std::uint32_t Since(std::uint32_t Then, std::uint32_t Now)
{
    return Now - Then;
}

} // namespace

TOvcTimerPool::TOvcTimerPool(TComponent* AOwner) : TComponent(AOwner)
{
    PublishTimerPool();
    FHandle = AllocateHWnd([this](TMessage& Message) { TimerWndProc(Message); });
}

TOvcTimerPool::~TOvcTimerPool()
{
    FTimerInterval = 0;
    KillTimer(FHandle, 1);
    FTriggers.clear();
    DeallocateHWnd(FHandle);
}

int TOvcTimerPool::AddTrigger(const TTriggerEvent& OnTrigger, Cardinal Interval)
{
    std::unique_ptr<TTriggerRec> Rec(new (std::nothrow) TTriggerRec);
    if (!Rec)
        return -1;
    int Handle = 0;
    for (const auto& T : FTriggers)
        Handle = std::max(Handle, T->Handle + 1);
    Rec->Enabled = true;
    Rec->Handle = Handle;
    Rec->CreatedAt = GetTickCount();
    Rec->ElapsedTime = 0;
    Rec->Interval = std::max(Interval, MinInterval);
    Rec->LastFired = Rec->CreatedAt;
    Rec->OnTrigger = OnTrigger;
    FTriggers.push_back(std::move(Rec));

    RecountActive();
    CalcNewPeriod();
    SortTriggers();
    ResetTimer();
    return Handle;
}

bool TOvcTimerPool::GetTriggerEnabled(int Handle) const
{
    const int Index = FindTriggerIndex(Handle);
    if (Index < 0)
        throw EInvalidTriggerHandle();
    return FTriggers[static_cast<std::size_t>(Index)]->Enabled;
}

void TOvcTimerPool::SetTriggerEnabled(int Handle, bool Value)
{
    const int Index = FindTriggerIndex(Handle);
    if (Index < 0)
        throw EInvalidTriggerHandle();
    TTriggerRec& Rec = *FTriggers[static_cast<std::size_t>(Index)];
    if (Rec.Enabled == Value)
        return;
    Rec.Enabled = Value;
    RecountActive();
    CalcNewPeriod();
    ResetTimer();
}

void TOvcTimerPool::RemoveTrigger(int Handle)
{
    const int Index = FindTriggerIndex(Handle);
    if (Index < 0)
        return;
    FTriggers.erase(FTriggers.begin() + Index);
    RecountActive();
    CalcNewPeriod();
    ResetTimer();
}

int TOvcTimerPool::FindTriggerIndex(int Handle) const
{
    for (std::size_t I = 0; I < FTriggers.size(); ++I)
        if (FTriggers[I]->Handle == Handle)
            return static_cast<int>(I);
    return -1;
}

void TOvcTimerPool::RecountActive()
{
    FActiveCount = static_cast<int>(std::count_if(FTriggers.begin(), FTriggers.end(),
                                                  [](const auto& T) { return T->Enabled; }));
}

void TOvcTimerPool::SortTriggers()
{
    std::stable_sort(FTriggers.begin(), FTriggers.end(),
                     [](const auto& A, const auto& B) { return A->Interval < B->Interval; });
}

// The longest period that still meets every enabled trigger's next due time and divides every
// interval, so that ticks fall on the triggers' multiples. Unsigned intervals of up to 2^32 - 1
// ms are reckoned in 64 bits, where no difference or remainder changes sign.
void TOvcTimerPool::CalcNewPeriod()
{
    const std::uint32_t Now = GetTickCount();
    bool Any = false;
    std::int64_t Period = 0;
    for (const auto& T : FTriggers) {
        if (!T->Enabled)
            continue;
        const std::int64_t Remaining =
            std::int64_t{T->Interval} - std::int64_t{Since(T->LastFired, Now)};
        const std::int64_t Wanted = std::min<std::int64_t>(T->Interval, Remaining);
        Period = Any ? std::min(Period, Wanted) : Wanted;
        Any = true;
    }
    if (!Any) {
        FTimerInterval = 0;
        return;
    }
    Period = std::max<std::int64_t>(Period, MinInterval);
    bool Again = true;
    while (Again && Period > MinInterval) {
        Again = false;
        for (const auto& T : FTriggers) {
            const std::int64_t Rest = std::int64_t{T->Interval} % Period;
            if (Rest != 0) {
                Period -= Rest;
                Again = true;
                break;
            }
        }
    }
    FTimerInterval = static_cast<Cardinal>(std::max<std::int64_t>(Period, MinInterval));
}

void TOvcTimerPool::ResetTimer()
{
    KillTimer(FHandle, 1);
    if (FTimerInterval != 0 && FActiveCount > 0) {
        const auto Elapse = static_cast<UINT>(std::min<std::int64_t>(FTimerInterval, LongestTimer));
        if (SetTimer(FHandle, 1, Elapse) == 0)
            throw ENoTimersAvailable();
    }
}

void TOvcTimerPool::DoTriggers()
{
    const std::uint32_t Now = GetTickCount();
    // Handlers may add, remove or switch triggers: the list is indexed afresh at every step.
    for (std::size_t Index = 0; Index < FTriggers.size(); ++Index) {
        TTriggerRec& T = *FTriggers[Index];
        if (!T.Enabled)
            continue;
        const std::uint32_t Elapsed = Since(T.LastFired, Now);
        if (std::int64_t{Elapsed} < std::int64_t{T.Interval} - EarlyFiring)
            continue;
        T.LastFired = Now;
        T.ElapsedTime = std::int64_t{Elapsed} > std::int64_t{INT_MAX} - T.ElapsedTime
                            ? INT_MAX
                            : T.ElapsedTime + static_cast<int>(Elapsed);
        // The record may go in a handler: the second event gets the values the first got.
        const int Handle = T.Handle;
        const Cardinal Interval = T.Interval;
        const int ElapsedTime = T.ElapsedTime;
        const TTriggerEvent Own = T.OnTrigger;
        if (Own)
            Own(this, Handle, Interval, ElapsedTime);
        if (OnAllTriggers)
            OnAllTriggers(this, Handle, Interval, ElapsedTime);
    }
}

void TOvcTimerPool::TimerWndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        DoTriggers();
    } catch (const Exception&) {
        if (Application == nullptr)
            throw;
        Application->HandleException(this);
    }
}
