// tests/gui/stdctrls/controlsdemo_ranges.cpp: the demonstration's Ranges page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildRangesPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
