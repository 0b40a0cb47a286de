#include "platform/ui/helpservice.h"

#include <atomic>

namespace {

std::atomic<IHelpService*> Installed{nullptr};

TNoHelp& BuiltIn()
{
    static TNoHelp Service;
    return Service;
}

} // namespace

IHelpService& HelpService()
{
    IHelpService* Service = Installed.load();
    return Service ? *Service : BuiltIn();
}

IHelpService* SetHelpService(IHelpService* Service)
{
    return Installed.exchange(Service);
}

bool TNoHelp::ShowContext(const std::string&, int)
{
    return false;
}

THelpRecorder::THelpRecorder() : FPrevious(SetHelpService(this)) {}

THelpRecorder::~THelpRecorder()
{
    SetHelpService(FPrevious);
}

bool THelpRecorder::ShowContext(const std::string& HelpFile, int Context)
{
    FContexts.push_back(Context);
    FHelpFiles.push_back(HelpFile);
    return Result;
}
