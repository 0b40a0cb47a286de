// platform/ui/windowdc.h: the canvases of windows. Each top-level window draws into its own
// back buffer, which the display driver shows; a child window draws into its top-level window's
// buffer at its offset. BeginPaint, GetDC and ScrollWindow give canvases in the window's client
// coordinates, clipped to what of the window is visible (and, for BeginPaint, to its update area).
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/region.h"
#include "platform/ui/paint.h"
#include "platform/ui/wintypes.h"

struct TPaintStruct {
    HDC hdc = nullptr;
    bool fErase = false; // true when WM_ERASEBKGND was not answered
    TRect rcPaint;       // bounding box of the area to paint, client coordinates
};
using PAINTSTRUCT = TPaintStruct;

// Sends WM_NCPAINT when the non-client area waits for it, takes the update area (the window
// becomes valid), sends WM_ERASEBKGND with the canvas when
// erasing was asked, and gives a canvas clipped to the area. Null for a window that does not
// exist. EndPaint frees the canvas and shows what was drawn.
HDC BeginPaint(HWND Wnd, TPaintStruct& Paint);
bool EndPaint(HWND Wnd, const TPaintStruct& Paint);
// A canvas on the visible part of the client area; ReleaseDC frees it and shows what was drawn.
HDC GetDC(HWND Wnd);
int ReleaseDC(HWND Wnd, HDC DC);
// A canvas on the whole window, non-client area included, in window coordinates (its top-left
// corner at 0, 0), for WM_NCPAINT; freed with ReleaseDC.
HDC GetWindowDC(HWND Wnd);
// The canvas of a part of a window's canvas: Bounds in DC's client coordinates become (0, 0),
// clipped to Bounds and to what DC may draw (controls without a window of their own).
// Freed with ReleaseDC(0, DC).
HDC GetSubDC(HDC DC, const TRect& Bounds);

// Shows what was drawn so far through a canvas of GetDC, keeping it.
bool FlushDC(HDC DC);

// Moves the pixels of Scroll (null: the client area) by (DX, DY) within Clip (null: the client
// area), with the update area; what comes into view becomes invalid. Without Scroll the child
// windows move as well.
bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip);

// The device a top-level window draws into: its back buffer's raster (platform/ui/backbuffer.h),
// or the device a test put in its place.
TCanvasDevice* WindowDevice(HWND TopLevel);
// Tests: draws a top-level window into Device (not owned; null: back to the back buffer).
// Nothing drawn there is presented.
void SetWindowDevice(HWND TopLevel, TCanvasDevice* Device);
