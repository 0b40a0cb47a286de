// platform/ui/paint.h: the invalid (update) area of each window and the WM_PAINT it brings. The
// area is a region in client coordinates; the canvases that paint it are in
// platform/ui/windowdc.h. Each top-level window also keeps its back buffer here, freed with it.
#pragma once

#include "platform/gfx/region.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <vector>

class TBackBuffer;

// Adds Rect (client coordinates; null: the whole client area) to the window's update area. Erase
// asks BeginPaint to send WM_ERASEBKGND first. False for a window that does not exist.
bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase);
// Takes Rect (null: everything) out of the update area.
bool ValidateRect(HWND Wnd, const TRect* Rect);
// The same with a region (null: the whole client area, everything).
bool InvalidateRgn(HWND Wnd, const TRegion* Region, bool Erase);
bool ValidateRgn(HWND Wnd, const TRegion* Region);
// The bounding box of the update area (client coordinates); false when it is empty.
bool GetUpdateRect(HWND Wnd, TRect* Rect, bool Erase = false);
// Copies the update area into Region; its kind (NULLREGION, SIMPLEREGION, COMPLEXREGION), or
// RGN_ERROR for a window that does not exist or a nil region.
int GetUpdateRgn(HWND Wnd, HRGN Region, bool Erase = false);
// Sends WM_PAINT at once when the update area is not empty.
bool UpdateWindow(HWND Wnd);

// RedrawWindow flags (the ones the layer honours).
enum : UINT {
    RDW_INVALIDATE = 0x0001,
    RDW_ERASE = 0x0004,
    RDW_VALIDATE = 0x0008,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
    RDW_FRAME = 0x0400,
};
bool RedrawWindow(HWND Wnd, const TRect* Rect, UINT Flags);

// The update area as disjoint rectangles in client coordinates.
std::vector<TRect> GetUpdateRects(HWND Wnd);
// For BeginPaint: empties the update area and gives what it held, and whether erasing was asked.
TRegion TakeUpdateArea(HWND Wnd, bool& Erase);
// Moves the part of the update area inside Within (client coordinates) by (DX, DY), clipped to
// Within; for ScrollWindow.
void ScrollUpdateArea(HWND Wnd, int DX, int DY, const TRect& Within);

// Where Child lies in its parent's client area.
TRect BoundsInParent(HWND Child);

// The back buffer of a top-level window of this process, made on first use and sized to its
// client area; nil for a child, a foreign window or one that does not exist.
TBackBuffer* WindowBackBuffer(HWND TopLevel);
