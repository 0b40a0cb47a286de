// tests/gui/stdctrls/controlsdemo_calendar.cpp: the demonstration's Calendar page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildCalendarPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
