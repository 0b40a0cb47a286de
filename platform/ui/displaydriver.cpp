#include "platform/ui/displaydriver.h"

#include "platform/gfx/referencescreen.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/window.h"

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

// The graphics layer knows no display: tell it, once, that the screen a picture refers to is
// the driver's, whichever driver that is when it asks.
void LinkReferenceScreen()
{
    static const bool Linked = [] {
        SetReferenceScreenSource([] {
            const TNativeScreen Screen = DisplayDriver().NativeScreen();
            return TReferenceScreen{Screen.Width, Screen.Height, Screen.PixelsPerInch};
        });
        return true;
    }();
    (void)Linked;
}

} // namespace

TBackEndRegistry<IDisplayDriver>& DisplayBackEnds()
{
    static TBackEndRegistry<IDisplayDriver> Registry("display");
    return Registry;
}

IDisplayDriver& DisplayDriver()
{
    LinkReferenceScreen();
    auto& Driver = Current();
    if (!Driver)
        Driver = DisplayBackEnds().Create(Environment("TARNWICK_BACKEND"), std::cerr);
    if (!Driver)
        throw EInvalidOperation("No display back end can run here");
    return *Driver;
}

void SetDisplayDriver(std::unique_ptr<IDisplayDriver> Driver)
{
    if (!uiloop::TopLevelWindows().empty())
        throw EInvalidOperation("The display driver cannot change while windows exist");
    LinkReferenceScreen();
    Current() = std::move(Driver);
    uiloop::ForgetPointerShape();
}

TNativeBounds NativeBoundsOf(const TRect& Bounds, DWORD Style, HWND Owner)
{
    TRect OwnerBounds;
    // A pop-up with a caption is a dialog, which the desktop places as it places other windows.
    if (!(Style & WS_POPUP) || (Style & WS_CAPTION) == WS_CAPTION || Owner == 0 ||
        DisplayDriver().NativeId(Owner) == 0 || !GetWindowRect(Owner, OwnerBounds))
        return {Bounds, 0};
    TRect Relative = Bounds;
    OffsetRect(Relative, -OwnerBounds.Left, -OwnerBounds.Top);
    return {Relative, Owner};
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
