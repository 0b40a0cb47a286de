// controls/entry/ovctimer.h: TOvcTimerPool, any number of timed triggers run from one hidden
// window and one window timer, switched on and off by handle.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/types.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Sender is the pool; ElapsedTime the trigger's summed time between firings, this one included.
using TTriggerEvent =
    std::function<void(TObject* Sender, int Handle, Cardinal Interval, int ElapsedTime)>;

class TOvcTimerPool : public TComponent {
public:
    explicit TOvcTimerPool(TComponent* AOwner);
    ~TOvcTimerPool() override;

    // A new enabled trigger (interval raised to at least 55 ms); its handle is one more than the
    // largest in the pool, 0 in an empty one. -1 when no record could be had.
    int AddTrigger(const TTriggerEvent& OnTrigger, Cardinal Interval);
    // Both raise EInvalidTriggerHandle for a handle not in the pool. A disabled trigger's time
    // keeps running from its last firing.
    bool GetTriggerEnabled(int Handle) const;
    void SetTriggerEnabled(int Handle, bool Value);
    // A handle not in the pool is ignored.
    void RemoveTrigger(int Handle);

    std::string About() const { return "v3.08"; }
    void SetAbout(const std::string&) {}

    // Runs for every trigger that fires, after the trigger's own handler.
    TTriggerEvent OnAllTriggers;

protected:
    // One pass: fires every enabled trigger that is due, or at most 27 ms short of due.
    virtual void DoTriggers();

private:
    struct TTriggerRec {
        int Handle = 0;
        std::uint32_t CreatedAt = 0;
        int ElapsedTime = 0;
        Cardinal Interval = 0;
        std::uint32_t LastFired = 0;
        TTriggerEvent OnTrigger;
        bool Enabled = false;
    };

    // The index of the trigger with that handle, or -1.
    int FindTriggerIndex(int Handle) const;
    void CalcNewPeriod();
    void RecountActive();
    void SortTriggers();
    void ResetTimer();
    void TimerWndProc(TMessage& Message);

    std::vector<std::unique_ptr<TTriggerRec>> FTriggers; // by Interval, ties in adding order
    HWND FHandle = 0;
    Cardinal FTimerInterval = 0; // 0: no timer wanted
    int FActiveCount = 0;
};
