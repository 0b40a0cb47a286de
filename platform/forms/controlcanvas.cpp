#include "platform/forms/controlcanvas.h"

#include "platform/forms/wincontrol.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <vector>

namespace {

// The canvases holding a device context outside painting, for FreeDeviceContexts.
std::vector<TControlCanvas*>& HeldCanvases()
{
    static std::vector<TControlCanvas*> List;
    return List;
}

} // namespace

void FreeDeviceContexts()
{
    const auto Held = HeldCanvases();
    for (TControlCanvas* Canvas : Held)
        Canvas->FreeHandle();
}

TControlCanvas::TControlCanvas()
{
    OnChange = [this](TObject*) { Drawn(); };
}

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value)
{
    FreeHandle();
    FControl = Value;
}

void TControlCanvas::SetHandle(HDC DC)
{
    FreeHandle();
    FPainting = DC != nullptr;
    SetDevice(DC != nullptr ? DC->Device() : nullptr);
    if (DC == nullptr)
        return;
    TRegion Clip;
    if (DC->GetClipRgn(Clip) == 1)
        SelectClipRgn(&Clip);
    if (DC->MapMode() == MM_TEXT) {
        SetWindowOrgEx(DC->WindowOrg().X, DC->WindowOrg().Y);
        SetViewportOrgEx(DC->ViewportOrg().X, DC->ViewportOrg().Y);
    }
}

void TControlCanvas::Prepare()
{
    if (FPainting || FOwnDC != nullptr || FControl == nullptr)
        return;
    if (auto* Win = dynamic_cast<TWinControl*>(FControl)) {
        if (!Win->HandleAllocated())
            return;
        FOwnDC = GetDC(Win->Handle());
        if (FOwnDC != nullptr)
            SetDevice(FOwnDC->Device());
    } else if (FControl->Parent() != nullptr && FControl->Parent()->HandleAllocated()) {
        FOwnDC = GetDC(FControl->Parent()->Handle());
        if (FOwnDC != nullptr)
            FSubDC = GetSubDC(FOwnDC, FControl->BoundsRect());
        if (FSubDC != nullptr)
            SetDevice(FSubDC->Device());
    }
    if (Device() == nullptr) {
        FreeHandle();
        return;
    }
    TRegion Clip;
    if ((FSubDC != nullptr ? FSubDC : FOwnDC)->GetClipRgn(Clip) == 1)
        SelectClipRgn(&Clip);
    HeldCanvases().push_back(this);
}

void TControlCanvas::FreeHandle()
{
    if (FOwnDC == nullptr && !FPainting)
        return;
    auto& Held = HeldCanvases();
    Held.erase(std::remove(Held.begin(), Held.end(), this), Held.end());
    SetDevice(nullptr);
    FPainting = false;
    if (FSubDC != nullptr)
        ReleaseDC(0, FSubDC);
    if (FOwnDC != nullptr)
        ReleaseDC(0, FOwnDC);
    FSubDC = nullptr;
    FOwnDC = nullptr;
}

void TControlCanvas::Drawn()
{
    if (FOwnDC != nullptr)
        FlushDC(FOwnDC);
}
