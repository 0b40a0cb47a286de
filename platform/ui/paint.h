// platform/ui/paint.h: the invalid (update) area of each window and the WM_PAINT it brings. The
// area is kept as plain rectangles in client coordinates; the canvases that paint it (BeginPaint,
// GetDC) belong to the form layer, which sits above the graphics layer.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <memory>
#include <vector>

// Adds Rect (client coordinates; null: the whole client area) to the window's update area. Erase
// asks BeginPaint to send WM_ERASEBKGND first. False for a window that does not exist.
bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase);
// Takes Rect (null: everything) out of the update area.
bool ValidateRect(HWND Wnd, const TRect* Rect);
// The bounding box of the update area (client coordinates); false when it is empty.
bool GetUpdateRect(HWND Wnd, TRect* Rect, bool Erase = false);
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
std::vector<TRect> TakeUpdateArea(HWND Wnd, bool& Erase);
// Moves the part of the update area inside Within (client coordinates) by (DX, DY), clipped to
// Within; for ScrollWindow.
void ScrollUpdateArea(HWND Wnd, int DX, int DY, const TRect& Within);

// An object the drawing layer keeps with a window (the back buffer of a top-level window); freed
// with the window.
void SetWindowSurface(HWND Wnd, std::shared_ptr<void> Surface);
std::shared_ptr<void> GetWindowSurface(HWND Wnd);
