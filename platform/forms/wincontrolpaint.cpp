// platform/forms/wincontrolpaint.cpp: the ways a windowed control paints besides the plain one:
// into a memory bitmap copied to the window at once (DoubleBuffered), onto another canvas
// (PaintTo), and over its parent's picture when it is transparent (WS_EX_TRANSPARENT).
#include "platform/forms/wincontrol.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/rop.h"
#include "platform/ui/windowdc.h"

namespace {

// Restores a canvas's state (origin, clip) however the painting ends.
class TSavedDC {
public:
    explicit TSavedDC(HDC DC) : FDC(DC), FLevel(DC->SaveDC()) {}
    ~TSavedDC() { FDC->RestoreDC(FLevel); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FLevel;
};

} // namespace

void TWinControl::PaintBuffered()
{
    TPaintStruct Paint;
    // BeginPaint's erase is answered without painting (WMEraseBkgnd): the bitmap is erased.
    const HDC DC = BeginPaint(FHandle, Paint);
    if (DC == nullptr)
        return;
    struct TEnd {
        HWND Wnd;
        TPaintStruct& Paint;
        ~TEnd() { EndPaint(Wnd, Paint); }
    } End{FHandle, Paint};
    const TRect Client = ClientRect();
    if (Client.Width() <= 0 || Client.Height() <= 0)
        return;
    TBitmap Buffer;
    Buffer.SetSize(Client.Width(), Client.Height());
    const HDC Memory = Buffer.Canvas();
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Memory), reinterpret_cast<LPARAM>(Memory));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(Memory), 0);
    DC->BitBlt(0, 0, Client.Width(), Client.Height(), Memory, 0, 0, SRCCOPY);
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
    SetControlState(ControlState() + TControlState{csPaintCopy});
    struct TDone {
        TWinControl* Control;
        ~TDone() { Control->SetControlState(Control->ControlState() - TControlState{csPaintCopy}); }
    } Done{this};
    TSavedDC Saved(DC);
    DC->OffsetViewportOrgEx(X, Y);
    DC->IntersectClipRect(0, 0, Width(), Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (int I = 0; I < ControlCount(); ++I) {
        auto* Win = dynamic_cast<TWinControl*>(Controls(I));
        if (Win != nullptr && Win->Visible())
            Win->PaintTo(DC, Win->Left(), Win->Top());
    }
}

void TWinControl::PaintParentBackground(HDC DC)
{
    if (Parent() == nullptr)
        return;
    TSavedDC Saved(DC);
    DC->OffsetViewportOrgEx(-Left(), -Top());
    Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}
