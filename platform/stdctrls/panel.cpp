#include "platform/stdctrls/panel.h"

#include "platform/stdctrls/frame3d.h"

const TMessageMap& TCustomPanel::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomPanel::CMTextChanged>(CM_TEXTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque, csDoubleClicks, csReplicatable});
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed3D()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    if (Value != FBevelInner) {
        FBevelInner = Value;
        Changed3D();
    }
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    if (Value != FBevelOuter) {
        FBevelOuter = Value;
        Changed3D();
    }
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value)
{
    if (Value != FBevelWidth && Value >= 1) {
        FBevelWidth = Value;
        Changed3D();
    }
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value)
{
    if (Value != FBorderWidth && Value >= 0) {
        FBorderWidth = Value;
        Changed3D();
    }
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value)
{
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        RecreateWnd();
        Changed3D();
    }
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    if (Value != FAlignment) {
        FAlignment = Value;
        Invalidate();
    }
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle)
        Params.Style |= WS_BORDER;
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    int Inset = FBorderWidth;
    if (FBevelOuter != bvNone)
        Inset += FBevelWidth;
    if (FBevelInner != bvNone)
        Inset += FBevelWidth;
    InflateRect(Rect, -Inset, -Inset);
}

void TCustomPanel::Paint()
{
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    auto Bevel = [&](TBevelCut Cut) {
        if (Cut == bvNone)
            return;
        const TColor Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (Cut == bvSpace)
            Frame3D(C, R, Color(), Color(), FBevelWidth);
        else
            Frame3D(C, R, Top, Bottom, FBevelWidth);
    };
    Bevel(FBevelOuter);
    Frame3D(C, R, Color(), Color(), FBorderWidth);
    Bevel(FBevelInner);
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    const std::string Text = Caption();
    if (!Text.empty()) {
        C->SetFont(Font());
        C->Brush()->SetStyle(bsClear);
        const unsigned Align = FAlignment == taLeftJustify    ? DT_LEFT
                               : FAlignment == taRightJustify ? DT_RIGHT
                                                              : DT_CENTER;
        C->DrawText(Text, R, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | Align);
    }
    TCustomControl::Paint();
}

void TCustomPanel::Resize()
{
    if (FFullRepaint)
        Invalidate();
    TCustomControl::Resize();
}

void TCustomPanel::CMTextChanged(TMessage&)
{
    Invalidate();
}
