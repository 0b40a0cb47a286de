// platform/stdctrls/listboxtypes.h: the owner-draw state and the item events shared by the list
// and combo boxes.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <functional>

class TWinControl;

// In the order of the ODS_ bits (platform/ui/ownerdraw.h).
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// The state an itemState of WM_DRAWITEM stands for.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
