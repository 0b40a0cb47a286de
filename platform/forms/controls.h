// platform/forms/controls.h: the control classes: TControl (control.h), TWinControl
// (wincontrol.h), TControlCanvas (controlcanvas.h), TSizeConstraints (sizeconstraints.h); here
// the two that paint: TGraphicControl (drawn on its parent) and TCustomControl (a window with a
// canvas).
#pragma once

#include "platform/forms/control.h"
#include "platform/forms/controlcanvas.h"
#include "platform/forms/controltypes.h"
#include "platform/forms/sizeconstraints.h"
#include "platform/forms/wincontrol.h"

#include <memory>

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const;

protected:
    virtual void Paint() {}
    void WMPaint(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const;

    TNotifyEvent OnPaint;

protected:
    virtual void Paint();
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};
