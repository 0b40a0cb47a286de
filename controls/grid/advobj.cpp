// controls/grid/advobj.cpp: the arrow windows and the pop-up caption window.
#include "controls/grid/advobj.h"

#include "platform/gfx/region.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/frame3d.h"

#include <algorithm>

// ---- TArrowWindow ----------------------------------------------------------------------------

TArrowWindow::TArrowWindow(TComponent* AOwner, int ADirection)
    : TPanel(AOwner), FDirection(std::clamp(ADirection, 0, 3))
{
    SetColor(clLime);
    SetVisible(false);
    SetBounds(0, 0, 10, 10);
    if (auto* Owner = dynamic_cast<TWinControl*>(AOwner))
        SetParent(Owner);
}

TArrowWindow::~TArrowWindow() = default;

std::array<TPoint, 7> TArrowWindow::ArrowPoints(int Direction)
{
    switch (Direction) {
    case 0:
        return {TPoint{5, 0}, TPoint{10, 5}, TPoint{7, 5}, TPoint{7, 9},
                TPoint{3, 9}, TPoint{3, 5},  TPoint{0, 5}};
    case 1:
        return {TPoint{3, 0}, TPoint{7, 0}, TPoint{7, 4}, TPoint{9, 4},
                TPoint{5, 8}, TPoint{1, 4}, TPoint{3, 4}};
    case 2:
        return {TPoint{0, 3}, TPoint{0, 7}, TPoint{4, 7}, TPoint{4, 10},
                TPoint{8, 5}, TPoint{4, 0}, TPoint{4, 3}};
    default:
        return {TPoint{0, 5}, TPoint{4, 10}, TPoint{4, 7}, TPoint{8, 7},
                TPoint{8, 3}, TPoint{4, 3},  TPoint{4, 0}};
    }
}

void TArrowWindow::CreateParams(TCreateParams& Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    const std::array<TPoint, 7> Points = ArrowPoints(FDirection);
    // The window owns the region from here on.
    SetWindowRgn(Handle(), CreatePolygonRgn(Points.data(), 7, WINDING), true);
}

// ---- TPopupButton ----------------------------------------------------------------------------

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
}

TPopupButton::~TPopupButton() = default;

void TPopupButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TPopupButton::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle |= WS_EX_TOPMOST;
    Params.WindowClass.Style |= CS_SAVEBITS;
}

void TPopupButton::Paint()
{
    TRect R = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(R);
    if (!FFlat)
        Frame3D(Canvas(), R, clWhite, clGray, 1);
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->DrawText(Caption(), R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}
