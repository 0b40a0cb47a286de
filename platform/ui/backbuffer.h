// platform/ui/backbuffer.h: the back buffer of a top-level window: the pixels that the window and
// its child windows draw into and that the display driver shows. One per top-level window, kept
// with its update area (WindowBackBuffer in platform/ui/paint.h) and freed with the window.
#pragma once

#include "platform/gfx/rasterdevice.h"
#include "platform/ui/wintypes.h"

class TBackBuffer {
public:
    TBackBuffer();
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;

    // Follows the client area's size: pixels inside both sizes stay, new ones are clBtnFace.
    void Fit(int Width, int Height);
    const TRasterDevice& Raster() const { return FRaster; }

    // Where the window draws: the raster, or the device a test put in its place.
    TCanvasDevice* Device();
    // Tests: Device (not owned; null: back to the raster) takes the drawing, which is then not
    // presented.
    void SetOverride(TCanvasDevice* Device) { FOverride = Device; }
    bool Presents() const { return FOverride == nullptr; }

    // Shows Dirty (buffer coordinates) of the raster in the native window Top, with the caret
    // inverted over it when it is on there (it never stays in the raster).
    void Present(HWND Top, const TRect& Dirty);

private:
    TRasterDevice FRaster;
    TCanvasDevice* FOverride = nullptr;
};
