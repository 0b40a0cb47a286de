#include "platform/ui/displaydriver.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/loopstate.h"

#include <cstdlib>
#include <iostream>

namespace {

std::unique_ptr<IDisplayDriver>& Current()
{
    static std::unique_ptr<IDisplayDriver> Driver;
    return Driver;
}

std::unique_ptr<IDisplayDriver> DefaultDriver()
{
    const char* Wanted = std::getenv("TARNWICK_BACKEND");
    if (Wanted != nullptr && *Wanted != '\0' && std::string(Wanted) != "headless")
        std::cerr << "tarnwick: display back end \"" << Wanted
                  << "\" is not available; running headless\n";
    return CreateHeadlessDriver();
}

} // namespace

IDisplayDriver& DisplayDriver()
{
    auto& Driver = Current();
    if (!Driver)
        Driver = DefaultDriver();
    return *Driver;
}

void SetDisplayDriver(std::unique_ptr<IDisplayDriver> Driver)
{
    if (!uiloop::TopLevelWindows().empty())
        throw EInvalidOperation("The display driver cannot change while windows exist");
    Current() = std::move(Driver);
}
