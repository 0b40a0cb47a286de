// platform/stdctrls/paintbox.h: TPaintBox, an area of the parent that OnPaint draws on Canvas.
#pragma once

#include "platform/forms/controls.h"

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};
