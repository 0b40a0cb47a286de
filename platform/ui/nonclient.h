// platform/ui/nonclient.h: the non-client area of windows. A child window's frame is its
// border (WS_BORDER, 1 pixel), its sunken client edge (WS_EX_CLIENTEDGE, 2 pixels) and its
// scroll bars (WS_HSCROLL, WS_VSCROLL; a size box in the corner when both show); a top-level
// window's frame belongs to the window manager, so by default its client area is the whole
// native window apart from its scroll bars and client edge. WM_NCCALCSIZE decides the client
// area (a procedure may answer it itself, say to keep a band for a menu bar), WM_NCPAINT draws
// the frame through GetWindowDC, WM_NCHITTEST names the part under a point, and mouse messages
// over the frame come as WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN... with the part in WParam and the
// screen point in LParam.
#pragma once

#include "platform/ui/window.h"

// What WM_NCCALCSIZE carries in LParam (a pointer to it; WParam is 1). rgrc[0] holds the window
// rectangle, in the parent's client coordinates (screen coordinates for a top-level window); the
// procedure leaves the client rectangle there. A procedure that reads LParam as a TRect* sees
// the same rectangle.
struct TNCCalcSizeParams {
    TRect rgrc[3];
    TWindowPos* lppos = nullptr;
};
using NCCALCSIZE_PARAMS = TNCCalcSizeParams;
