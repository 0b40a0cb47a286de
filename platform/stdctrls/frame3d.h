// platform/stdctrls/frame3d.h: Frame3D, the 3-D frame of panels and bevels: Width lines of
// TopColor on the top and left, BottomColor on the bottom and right, with Rect moved inside it.
#pragma once

#include "platform/gfx/canvas.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
