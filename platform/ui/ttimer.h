// platform/ui/ttimer.h: TTimer, the component that fires OnTimer every Interval milliseconds from
// a hidden window of its own, through WM_TIMER (so late ticks are merged, never queued up).
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/types.h"
#include "platform/ui/wintypes.h"

TW_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds; 0 stops the timer.
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal Value);

    TNotifyEvent OnTimer;

protected:
    // Fires OnTimer; an exception goes to the application's handler.
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    HWND FWindowHandle = 0;
    bool FEnabled = true;
    Cardinal FInterval = 1000;
};
