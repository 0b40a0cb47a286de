// platform/forms/alignment.h: where aligned and anchored controls go in their parent, worked out
// from plain values so that the rules can be tested without windows.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/rtl/geometry.h"

#include <vector>

// One child as the layout sees it.
struct TAlignItem {
    TAlign Align = alNone;
    TAnchors Anchors{akLeft, akTop};
    bool Visible = true;
    TRect Bounds;
    // The bounds the anchors measure from and the parent's client size then; an empty size
    // means the child has no anchor rules yet and stays where it is.
    TRect AnchorOrigin;
    TSize AnchorParentSize;
    // Size limits; 0 means no limit.
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

struct TAlignResult {
    std::vector<TRect> Bounds; // one per item, in the order given
    TRect Remaining;           // what the aligned children left of the aligning rectangle
};

// Places Items, given in z-order (bottom first): the visible aligned ones fill the sides of
// AlignRect in the order alTop, alBottom, alLeft, alRight, alClient, each taking the room the
// earlier ones left; controls of one side go in the order they stand along it (top to bottom,
// bottom to top, left to right, right to left), ties in z-order. Unaligned items move and size
// with their anchors by how much ClientSize differs from their AnchorParentSize: anchored on
// both sides they stretch, on the far side only they move, on neither they keep their centre;
// hidden ones too. Invisible aligned items keep their bounds.
TAlignResult AlignBounds(const TRect& AlignRect, const TSize& ClientSize,
                         const std::vector<TAlignItem>& Items);
