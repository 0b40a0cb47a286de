#include "platform/ui/virtualtime.h"

#include "platform/rtl/clock.h"
#include "platform/ui/wait.h"

TVirtualTime::TVirtualTime(std::uint32_t Start) : FNow(Start)
{
    SetTickSource([this] { return FNow.load(); });
    SetPollFunction([this](pollfd* Fds, nfds_t Count, int TimeoutMs) {
        const int Ready = ::poll(Fds, Count, 0);
        if (Ready != 0 || TimeoutMs == 0)
            return Ready;
        if (TimeoutMs < 0)
            return ::poll(Fds, Count, -1);
        FNow += static_cast<std::uint32_t>(TimeoutMs);
        FSkipped += static_cast<std::uint64_t>(TimeoutMs);
        return 0;
    });
}

TVirtualTime::~TVirtualTime()
{
    SetPollFunction(nullptr);
    SetTickSource(nullptr);
}
