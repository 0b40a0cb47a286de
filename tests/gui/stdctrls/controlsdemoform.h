// tests/gui/stdctrls/controlsdemoform.h: the demonstration form of the second set of standard
// controls: a page control filling it, one sheet per group, each sheet filled by its builder.
#pragma once

#include "tests/gui/stdctrls/controlsdemo.h"

class TTabSheet;

namespace guitest {

class TControlsDemoForm : public TForm {
public:
    explicit TControlsDemoForm(TComponent* AOwner);

    TPageControl* Pages = nullptr;
    TTabSheet* ListSheet = nullptr;
    TTabSheet* BarsSheet = nullptr;
    TTabSheet* RangesSheet = nullptr;
    TTabSheet* CalendarSheet = nullptr;
    TTabSheet* PickerSheet = nullptr;
    TTabSheet* TabsSheet = nullptr;
    TControlsDemo Demo;
};

} // namespace guitest
