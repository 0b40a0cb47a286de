#include "platform/ui/displaydriver.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/loopstate.h"

#include <algorithm>
#include <cmath>
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

int PixelsPerInchOf(int Width, int Height, int WidthMM, int HeightMM)
{
    constexpr int Usual = 96;
    if (Width <= 0 || Height <= 0 || WidthMM <= 0 || HeightMM <= 0)
        return Usual;
    const double X = Width * 25.4 / WidthMM;
    const double Y = Height * 25.4 / HeightMM;
    // Whole millimetres cost a screen a fraction of a dot per inch on either axis; a tenth apart
    // means the millimetres are not the screen's.
    if (std::max(X, Y) > std::min(X, Y) * 1.1)
        return Usual;
    const long Dpi = std::lround((X + Y) / 2);
    return Dpi >= 48 && Dpi <= 480 ? static_cast<int>(Dpi) : Usual;
}

#ifndef TARNWICK_HAVE_X11
std::unique_ptr<IDisplayDriver> CreateX11Driver(const std::string&)
{
    return nullptr;
}
#endif
