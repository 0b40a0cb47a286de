// platform/stdctrls/groupbox.h: TCustomGroupBox and TGroupBox, an etched frame with a caption
// around controls; its accelerator focuses the first of them.
#pragma once

#include "platform/forms/form.h"

class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    // The client area inside the frame and below the caption.
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;

    void CMDialogChar(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    TW_MESSAGE_MAP();
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};
