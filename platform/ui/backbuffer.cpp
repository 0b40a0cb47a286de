// platform/ui/backbuffer.cpp: a top-level window's pixels and their way to the display driver.
#include "platform/ui/backbuffer.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/loopstate.h"

TBackBuffer::TBackBuffer() : FRaster(0, 0, clBtnFace) {}

void TBackBuffer::Fit(int Width, int Height)
{
    if (Width != FRaster.Width() || Height != FRaster.Height())
        FRaster.SetSize(Width, Height, ColorToRGB(clBtnFace));
}

TCanvasDevice* TBackBuffer::Device()
{
    return FOverride != nullptr ? FOverride : &FRaster;
}

void TBackBuffer::Present(HWND Top, const TRect& Dirty)
{
    if (!Presents() || FRaster.Width() == 0 || FRaster.Height() == 0)
        return;
    const bool Caret = uiloop::InvertCaret(Top, FRaster);
    DisplayDriver().Present(Top, FRaster.Bits(), FRaster.Width(), FRaster.Height(), FRaster.Width(),
                            Dirty);
    if (Caret)
        uiloop::InvertCaret(Top, FRaster);
}
