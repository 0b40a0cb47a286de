// platform/forms/controlcanvas.h: TControlCanvas, the canvas of a control, on the device context
// of a painting or, outside painting, on one taken from the control's window.
#pragma once

#include "platform/gfx/canvas.h"

class TControl;

// The canvas of a control: during painting it draws on the canvas BeginPaint gave; at other
// times each drawing call draws straight onto the control's window (and is shown at once).
class TControlCanvas : public TCanvas {
public:
    TControlCanvas();
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    // Takes DC's device, clip and origins (null: lets go of them).
    void SetHandle(HDC DC);
    // Outside painting: takes a canvas on the control's window until the next painting or move.
    void Prepare();
    void FreeHandle();

    // Holds DC on the canvas for one painting and lets go of it when the scope ends, also when
    // the painting raises.
    class TPaintScope {
    public:
        TPaintScope(TControlCanvas* ACanvas, HDC DC) : FCanvas(ACanvas) { FCanvas->SetHandle(DC); }
        ~TPaintScope() { FCanvas->SetHandle(nullptr); }
        TPaintScope(const TPaintScope&) = delete;
        TPaintScope& operator=(const TPaintScope&) = delete;

    private:
        TControlCanvas* FCanvas;
    };

private:
    void Drawn();

    TControl* FControl = nullptr;
    HDC FOwnDC = nullptr; // taken outside painting
    HDC FSubDC = nullptr; // the control's part of it, for controls without a window
    bool FPainting = false;
};

// Lets go of every canvas taken outside painting (before painting and when windows move).
void FreeDeviceContexts();
