// tests/gui/stdctrls/controlsdemo_list.cpp: the demonstration's List page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildListPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
