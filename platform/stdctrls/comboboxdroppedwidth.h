// platform/stdctrls/comboboxdroppedwidth.h: the combo box messages for the least width of the
// dropped-down list (0: the combo box's own width).
#pragma once

#include "platform/ui/wintypes.h"

enum : UINT {
    CB_GETDROPPEDWIDTH = 0x015F,
    CB_SETDROPPEDWIDTH = 0x0160,
};
