// tests/gui/stdctrls/controlsdemo_picker.cpp: the demonstration's Picker page.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

void BuildPickerPage(TControlsDemo&, TWinControl*) {}

} // namespace guitest
