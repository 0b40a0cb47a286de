// platform/stdctrls/scrollbox.h: TScrollBox, a container whose children scroll with its bars
// (AutoScroll by default), with a sunken single border.
#pragma once

#include "platform/forms/form.h"
#include "platform/forms/scrollingwincontrol.h"

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    // bsNone or bsSingle.
    void SetBorderStyle(TFormBorderStyle Value);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TFormBorderStyle FBorderStyle = bsSingle;
};
