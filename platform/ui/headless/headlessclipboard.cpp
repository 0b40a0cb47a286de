// The headless driver's clipboard: the offer is kept for tests to read as another program would,
// and a test can play another program that copied.
#include "platform/ui/headless/headlessdriver.h"

void THeadlessDriver::OfferClipboard(const std::vector<std::string>& Targets,
                                     TClipboardRenderer Render)
{
    FOfferedTargets = Targets;
    FRender = Targets.empty() ? TClipboardRenderer() : std::move(Render);
    FForeignHeld = false;
    FForeign.clear();
}

bool THeadlessDriver::ForeignClipboardTargets(std::vector<std::string>& Targets)
{
    Targets.clear();
    for (const auto& Entry : FForeign)
        Targets.push_back(Entry.first);
    return FForeignHeld;
}

bool THeadlessDriver::ForeignClipboardData(const std::string& Target, std::string& Data)
{
    for (const auto& Entry : FForeign)
        if (Entry.first == Target) {
            Data = Entry.second;
            return true;
        }
    return false;
}

bool THeadlessDriver::ReadOffered(const std::string& Target, std::string& Data) const
{
    for (const std::string& Offered : FOfferedTargets)
        if (Offered == Target)
            return FRender && FRender(Target, Data);
    return false;
}

void THeadlessDriver::SetForeignClipboard(std::vector<std::pair<std::string, std::string>> Data)
{
    FForeign = std::move(Data);
    FForeignHeld = true;
    FOfferedTargets.clear();
    FRender = nullptr;
}
