// platform/ui/nonclientparts.h: where the parts of a window's non-client area lie, shared by the
// frame (nonclient.cpp) and the scroll bars (scrollbars.cpp); units use platform/ui/nonclient.h.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/windowstate.h"

namespace uiwindow {

// All in the window's own coordinates (its top-left corner at 0, 0).
struct TNonClientParts {
    TRect Window;
    TRect Edge;    // the rectangle the sunken client edge frames; empty without one
    TRect VBar;    // empty when the bar does not show
    TRect HBar;    // the same
    TRect SizeBox; // the corner between two bars
    bool Border = false;
};

// The client area the styles leave of a window rectangle (DefWindowProc's WM_NCCALCSIZE).
TRect DefaultClientArea(const TWindowObject& Obj, const TRect& WindowRect);
// The parts around the client area the window has now.
TNonClientParts NonClientParts(const TWindowObject& Obj);

// flatscrollbars.cpp: the thickness of the window's bars, the flat look's when it has one.
int VerticalBarWidth(const TWindowObject& Obj);
int HorizontalBarHeight(const TWindowObject& Obj);

// scrollbars.cpp
// SetScrollInfo as the flat bars call it: the page it sets is kept from plain calls.
int SetFlatScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw);
// Draws a window's bar (SB_HORZ or SB_VERT) into a canvas of the whole window.
void DrawScrollBar(TCanvas& Canvas, HWND Wnd, int Bar);
// Runs a click or drag on the bar under Screen until the button is released.
void TrackScrollBar(HWND Wnd, int HitCode, TPoint Screen);

} // namespace uiwindow
