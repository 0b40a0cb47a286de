#include "platform/gfx/referencescreen.h"

#include <mutex>
#include <utility>

namespace {

// The one source for the process: whoever owns the display installs it.
struct TSourceSlot {
    std::mutex Lock;
    std::function<TReferenceScreen()> Source;
};

TSourceSlot& Slot()
{
    static TSourceSlot Instance;
    return Instance;
}

} // namespace

TReferenceScreen ReferenceScreen()
{
    std::function<TReferenceScreen()> Source;
    {
        const std::lock_guard<std::mutex> Guard(Slot().Lock);
        Source = Slot().Source;
    }
    return Source ? Source() : TReferenceScreen{};
}

void SetReferenceScreenSource(std::function<TReferenceScreen()> Source)
{
    const std::lock_guard<std::mutex> Guard(Slot().Lock);
    Slot().Source = std::move(Source);
}
