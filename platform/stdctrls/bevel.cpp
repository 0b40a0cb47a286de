#include "platform/stdctrls/bevel.h"

#include "platform/stdctrls/frame3d.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
    if (Value != FShape) {
        FShape = Value;
        Invalidate();
    }
}

void TBevel::SetStyle(TBevelStyle Value)
{
    if (Value != FStyle) {
        FStyle = Value;
        Invalidate();
    }
}

void TBevel::Paint()
{
    TCanvas* C = Canvas();
    const TColor Dark = clBtnShadow;
    const TColor Light = clBtnHighlight;
    const TColor First = FStyle == bsLowered ? Dark : Light;
    const TColor Second = FStyle == bsLowered ? Light : Dark;
    const int W = Width();
    const int H = Height();
    auto Line = [&](TColor Colour, int X1, int Y1, int X2, int Y2) {
        C->Pen()->SetColor(Colour);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    TRect R = ClientRect();
    switch (FShape) {
    case bsBox:
        Frame3D(C, R, First, Second, 1);
        break;
    case bsFrame: {
        // Two nested frames offset by one pixel: an etched (or bumped) line.
        TRect Outer = Rect(0, 0, W - 1, H - 1);
        Frame3D(C, Outer, First, First, 1);
        TRect Inner = Rect(1, 1, W, H);
        Frame3D(C, Inner, Second, Second, 1);
        break;
    }
    case bsTopLine:
        Line(First, 0, 0, W, 0);
        Line(Second, 0, 1, W, 1);
        break;
    case bsBottomLine:
        Line(First, 0, H - 2, W, H - 2);
        Line(Second, 0, H - 1, W, H - 1);
        break;
    case bsLeftLine:
        Line(First, 0, 0, 0, H);
        Line(Second, 1, 0, 1, H);
        break;
    case bsRightLine:
        Line(First, W - 2, 0, W - 2, H);
        Line(Second, W - 1, 0, W - 1, H);
        break;
    case bsSpacer:
        break;
    }
}
