#include "platform/stdctrls/shape.h"

#include <algorithm>

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(0, 0, 65, 65);
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType Value)
{
    if (Value != FShape) {
        FShape = Value;
        Invalidate();
    }
}

void TShape::Paint()
{
    TCanvas* C = Canvas();
    C->SetPen(FPen.get());
    C->SetBrush(FBrush.get());
    // The pen's width lies inside the bounds.
    const int PW = FPen->Width();
    const int Half = PW / 2;
    int X = Half;
    int Y = Half;
    int W = Width() - PW + 1;
    int H = Height() - PW + 1;
    if (PW == 0) {
        --W;
        --H;
    }
    if (W < H && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
        Y += (H - W) / 2;
        H = W;
    } else if (H < W && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
        X += (W - H) / 2;
        W = H;
    }
    const int S = std::min(W, H) / 4;
    switch (FShape) {
    case stRectangle:
    case stSquare:
        C->Rectangle(X, Y, X + W, Y + H);
        break;
    case stRoundRect:
    case stRoundSquare:
        C->RoundRect(X, Y, X + W, Y + H, S, S);
        break;
    case stEllipse:
    case stCircle:
        C->Ellipse(X, Y, X + W, Y + H);
        break;
    }
}
