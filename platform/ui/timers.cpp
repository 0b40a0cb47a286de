#include "platform/ui/timers.h"

#include "platform/rtl/clock.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <vector>

namespace {

struct TTimerRec {
    HWND Wnd;
    std::uintptr_t Id;
    UINT Elapse;
    std::uint32_t Due; // tick count
};

std::vector<TTimerRec>& Timers()
{
    static std::vector<TTimerRec> List;
    return List;
}

// Milliseconds until Due, negative when it has passed; the tick count wraps at 2^32.
std::int32_t Until(std::uint32_t Due, std::uint32_t Now)
{
    return static_cast<std::int32_t>(Due - Now);
}

} // namespace

std::uintptr_t SetTimer(HWND Wnd, std::uintptr_t Id, UINT Elapse)
{
    uiloop::CheckThread("SetTimer");
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return 0;
    Elapse = std::max<UINT>(Elapse, 1);
    const std::uint32_t Due = GetTickCount() + Elapse;
    for (TTimerRec& Timer : Timers()) {
        if (Timer.Wnd == Wnd && Timer.Id == Id) {
            Timer.Elapse = Elapse;
            Timer.Due = Due;
            return Id;
        }
    }
    Timers().push_back(TTimerRec{Wnd, Id, Elapse, Due});
    return Id;
}

bool KillTimer(HWND Wnd, std::uintptr_t Id)
{
    auto& List = Timers();
    auto It = std::find_if(List.begin(), List.end(),
                           [&](const TTimerRec& T) { return T.Wnd == Wnd && T.Id == Id; });
    if (It == List.end())
        return false;
    List.erase(It);
    return true;
}

std::optional<std::int32_t> NextTimerDelay()
{
    if (Timers().empty())
        return std::nullopt;
    const std::uint32_t Now = GetTickCount();
    std::int32_t Least = INT32_MAX;
    for (const TTimerRec& Timer : Timers())
        Least = std::min(Least, Until(Timer.Due, Now));
    return std::max<std::int32_t>(Least, 0);
}

namespace uiloop {

bool TakeDueTimer(HWND Wnd, TMsg& Msg, bool Remove)
{
    const std::uint32_t Now = GetTickCount();
    TTimerRec* Best = nullptr;
    for (TTimerRec& Timer : Timers()) {
        if ((Wnd != 0 && Timer.Wnd != Wnd) || Until(Timer.Due, Now) > 0)
            continue;
        if (Best == nullptr || Until(Timer.Due, Now) < Until(Best->Due, Now))
            Best = &Timer;
    }
    if (Best == nullptr)
        return false;
    Msg = TMsg();
    Msg.hwnd = Best->Wnd;
    Msg.message = WM_TIMER;
    Msg.wParam = Best->Id;
    Msg.pt = CursorPos();
    if (Remove)
        Best->Due = Now + Best->Elapse;
    return true;
}

void KillWindowTimers(HWND Wnd)
{
    auto& List = Timers();
    List.erase(
        std::remove_if(List.begin(), List.end(), [&](const TTimerRec& T) { return T.Wnd == Wnd; }),
        List.end());
}

} // namespace uiloop
