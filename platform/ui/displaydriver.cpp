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

std::string Environment(const char* Name)
{
    const char* Value = std::getenv(Name);
    return Value != nullptr ? Value : "";
}

std::unique_ptr<IDisplayDriver> DefaultDriver()
{
    const std::string Wanted = Environment("TARNWICK_BACKEND");
    if (Wanted == "headless")
        return CreateHeadlessDriver();
    if (!Wanted.empty() && Wanted != "x11") {
        std::cerr << "tarnwick: display back end \"" << Wanted
                  << "\" is not available; running headless\n";
        return CreateHeadlessDriver();
    }
    const std::string Display = Environment("DISPLAY");
    if (Display.empty()) {
        if (Wanted == "x11")
            std::cerr << "tarnwick: DISPLAY is not set; running headless\n";
        return CreateHeadlessDriver();
    }
    if (auto Driver = CreateX11Driver(Display))
        return Driver;
    std::cerr << "tarnwick: cannot open display \"" << Display << "\"; running headless\n";
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

#ifndef TARNWICK_HAVE_X11
std::unique_ptr<IDisplayDriver> CreateX11Driver(const std::string&)
{
    return nullptr;
}
#endif
