// desktop/pgtray95timers.cpp: TPGTimerManager and its items: one TTimer for all timed work of
// a tray icon.
#include "desktop/pgtray95.h"

#include "platform/rtl/clock.h"
#include "platform/ui/ttimer.h"

#include <algorithm>

namespace {

constexpr int LongestTick = 150;
constexpr int ShortestInterval = 55;
constexpr int LongestInterval = 100000;

} // namespace

TPGTimerItem::TPGTimerItem(TComponent* AOwner) : TComponent(AOwner) {}

TPGTimerItem::~TPGTimerItem()
{
    if (TPGTimerManager* Owner = Manager())
        Owner->Remove(this);
}

TPGTimerManager* TPGTimerItem::Manager() const
{
    return dynamic_cast<TPGTimerManager*>(Owner());
}

void TPGTimerItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (TPGTimerManager* Owner = Manager())
        Owner->Reschedule();
}

void TPGTimerItem::SetInterval(int Value)
{
    Value = std::clamp(Value, ShortestInterval, LongestInterval);
    if (Value == FInterval)
        return;
    FInterval = Value;
    if (FEnabled)
        if (TPGTimerManager* Owner = Manager())
            Owner->Reschedule();
}

TPGTimerManager::TPGTimerManager(TComponent* AOwner) : TComponent(AOwner)
{
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject*) { Tick(); };
}

TPGTimerManager::~TPGTimerManager()
{
    FEnabled = false;
    FTimer->SetEnabled(false);
    // The items go with the other owned components; they need not find themselves in the list.
    FItems.clear();
}

TPGTimerItem* TPGTimerManager::AddItem(bool AEnabled, int AInterval, TNotifyEvent ACallback)
{
    auto* Item = new TPGTimerItem(this);
    Item->FEnabled = AEnabled;
    Item->FInterval = std::clamp(AInterval, ShortestInterval, LongestInterval);
    Item->Callback = std::move(ACallback);
    FItems.push_back(Item);
    if (AEnabled)
        Reschedule();
    return Item;
}

void TPGTimerManager::Remove(TPGTimerItem* Item)
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

void TPGTimerManager::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (Value)
        Reschedule();
    else
        FTimer->SetEnabled(false);
}

void TPGTimerManager::Reschedule()
{
    if (!FEnabled)
        return;
    FTimer->SetEnabled(false);
    int Tick = LongestTick;
    bool Any = false;
    const std::uint32_t Now = GetTickCount();
    for (TPGTimerItem* Item : FItems)
        if (Item->FEnabled) {
            Any = true;
            Item->FStartTick = Now;
            Tick = std::min(Tick, Item->FInterval);
        }
    if (Any) {
        FTimer->SetInterval(static_cast<Cardinal>(Tick));
        FTimer->SetEnabled(true);
    }
}

void TPGTimerManager::Tick()
{
    // A callback may add, change or free items: walk by position and look again each time.
    for (std::size_t I = 0; I < FItems.size(); ++I) {
        TPGTimerItem* Item = FItems[I];
        const std::uint32_t Now = GetTickCount();
        // Unsigned subtraction: the elapsed time is right across the tick count's wrap.
        const std::uint64_t Elapsed = static_cast<std::uint32_t>(Now - Item->FStartTick);
        if (Item->FEnabled && Item->Callback &&
            Elapsed >= static_cast<std::uint64_t>(Item->FInterval)) {
            Item->FStartTick = Now;
            Item->Callback(Item);
        }
    }
}

unsigned TPGTimerManager::TimerInterval() const
{
    return FTimer->Interval();
}

bool TPGTimerManager::TimerEnabled() const
{
    return FTimer->Enabled();
}
