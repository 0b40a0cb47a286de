// tests/gui/stdctrls/controlsdemo_tabs.cpp: the demonstration's Tabs page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildTabsPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
