#include "platform/ui/ttimer.h"

#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FWindowHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    UpdateTimer();
}

TTimer::~TTimer()
{
    FEnabled = false;
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool Value)
{
    if (Value != FEnabled) {
        FEnabled = Value;
        UpdateTimer();
    }
}

void TTimer::SetInterval(Cardinal Value)
{
    if (Value != FInterval) {
        FInterval = Value;
        UpdateTimer();
    }
}

void TTimer::UpdateTimer()
{
    KillTimer(FWindowHandle, 1);
    if (FEnabled && FInterval != 0 && SetTimer(FWindowHandle, 1, FInterval) == 0)
        throw EOutOfResources("Not enough timers available");
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}

void TTimer::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (const Exception&) {
        if (Application == nullptr)
            throw;
        Application->HandleException(this);
    }
}
