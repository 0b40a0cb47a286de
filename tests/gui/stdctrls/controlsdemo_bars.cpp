// tests/gui/stdctrls/controlsdemo_bars.cpp: the demonstration's Bars page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildBarsPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
