// desktop/controlproperties.cpp: publishing of TControl's bounds.
#include "desktop/controlproperties.h"

#include "platform/forms/control.h"
#include "platform/rtl/properties.h"

void PublishControlBounds()
{
    static const bool Done = [] {
        TPublished<TControl>()
            .Property("Left", &TControl::Left, &TControl::SetLeft)
            .Property("Top", &TControl::Top, &TControl::SetTop)
            .Property("Width", &TControl::Width, &TControl::SetWidth)
            .Property("Height", &TControl::Height, &TControl::SetHeight);
        return true;
    }();
    (void)Done;
}
