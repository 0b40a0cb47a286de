// controls/grid/advobj.h: small windows of the grid: the arrows that mark where a dragged column
// or row will drop, and the pop-up caption window. Its integer lists are in advobjlists.h.
#pragma once

#include "platform/stdctrls/panel.h"

#include <array>
#include <string>

// A lime arrow pointing up (0), down (1), right (2) or left (3), shaped by its window region.
class TArrowWindow : public TPanel {
public:
    // The arrow's parent is AOwner when that is a windowed control (the grid).
    TArrowWindow(TComponent* AOwner, int ADirection);
    ~TArrowWindow() override;

    int Direction() const { return FDirection; }
    // The seven corners of the arrow's shape for a direction (0 to 3).
    static std::array<TPoint, 7> ArrowPoints(int Direction);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    int FDirection;
};

// A bordered pop-up that shows a caption centred, always on top.
class TPopupButton : public TCustomControl {
public:
    explicit TPopupButton(TComponent* AOwner);
    ~TPopupButton() override;

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    bool FFlat = false;
};
