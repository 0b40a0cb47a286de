// controls/entry/ovcscregions.h: the spinner's button layouts as plain geometry: the button
// regions of each style for a control size, and which button a point hits.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/types.h"

#include <array>
#include <vector>

enum TOvcSpinnerStyle {
    stNormalVertical,
    stNormalHorizontal,
    stFourWay,
    stStar,
    stDiagonalVertical,
    stDiagonalHorizontal,
    stDiagonalFourWay,
    stPlainStar,
};

// Button states by value: 0 outside the control, 1 on no button, then the buttons.
enum class TOvcSpinState : Byte {
    ssOutOfControl,
    ssNormal,
    ssUpBtn,
    ssDownBtn,
    ssLeftBtn,
    ssRightBtn,
    ssCenterBtn,
};

// A button: a convex polygon whose corners are pixels of the control; its edges belong to it.
// No corners: the style has no such button.
struct TSpinRegion {
    std::vector<TPoint> Corners;

    bool Empty() const { return Corners.empty(); }
    bool Contains(TPoint P) const;
    // The smallest rectangle holding every pixel of the button (right and bottom exclusive).
    TRect Bounds() const;
};

// The slots of the regions in hit-test order: up, down, left, right, centre. stNormalHorizontal
// keeps its right half in the first slot and its left half in the second.
using TSpinRegions = std::array<TSpinRegion, 5>;

TSpinRegions SpinnerRegions(TOvcSpinnerStyle Style, int Width, int Height);

// The state a slot's button stands for.
TOvcSpinState SlotState(TOvcSpinnerStyle Style, int Slot);

// The button under P (client coordinates) of a control Width x Height: outside gives
// ssOutOfControl; not Clicked (no button went down on the control) ssNormal; else the first
// region holding P, ssNormal when none does.
TOvcSpinState SpinnerHitTest(TOvcSpinnerStyle Style, const TSpinRegions& Regions, int Width,
                             int Height, TPoint P, bool Clicked);
