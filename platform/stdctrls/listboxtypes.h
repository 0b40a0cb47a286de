// platform/stdctrls/listboxtypes.h: the owner-draw state and the item events shared by the list
// and combo boxes.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <functional>

class TWinControl;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
