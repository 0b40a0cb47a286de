// platform/stdctrls/listboxtypes.h: the owner-draw state, the item events and the owner-draw
// handling shared by the list and combo boxes.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/gfx/color.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <functional>

class TWinControl;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TCanvas;
class TControlCanvas;
class TFont;
class TStrings;

// CN_DRAWITEM for both boxes: the canvas on the item's DC with the control's font and colour
// (the highlight colours for a selected item), DrawItem for an item or a plain fill where there
// is none, then the focus rectangle.
void DrawOwnerDrawItem(TMessage& Message, TControlCanvas* Canvas, const TFont* Font, TColor Color,
                       const std::function<void(int, const TRect&, TOwnerDrawState)>& DrawItem);
// CN_MEASUREITEM for both boxes: the fixed item height, or MeasureItem's answer (at least 1) for
// the variable style.
void MeasureOwnerDrawItem(TMessage& Message, int ItemHeight, bool Variable,
                          const std::function<void(int, int&)>& MeasureItem);
// DrawItem's default: the item's text on its filled rectangle.
void DrawItemText(TCanvas* Canvas, const TStrings* Items, int Index, const TRect& Rect);
