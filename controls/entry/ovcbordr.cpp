#include "controls/entry/ovcbordr.h"

#include "platform/gfx/canvas.h"

void TOvcBorder::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TOvcBorder*>(Source)) {
        FEnabled = Other->FEnabled;
        FPenColor = Other->FPenColor;
        FPenStyle = Other->FPenStyle;
        FPenWidth = Other->FPenWidth;
        return;
    }
    TPersistent::Assign(Source);
}

void TOvcBorder::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TOvcBorder::SetBorderStyle(TOvcBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Changed();
}

void TOvcBorder::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Changed();
}

void TOvcBorder::SetPenColor(TColor Value)
{
    if (Value == FPenColor)
        return;
    FPenColor = Value;
    Changed();
}

void TOvcBorder::SetPenStyle(TPenStyle Value)
{
    if (Value == FPenStyle)
        return;
    FPenStyle = Value;
    Changed();
}

void TOvcBorder::SetPenWidth(int Value)
{
    if (Value <= 0 || Value == FPenWidth)
        return;
    FPenWidth = Value;
    Changed();
}

TOvcBorders::TOvcBorders()
    : FBottomBorder(std::make_unique<TOvcBorder>()), FLeftBorder(std::make_unique<TOvcBorder>()),
      FRightBorder(std::make_unique<TOvcBorder>()), FTopBorder(std::make_unique<TOvcBorder>())
{
}

TOvcBorders::~TOvcBorders() = default;

void TOvcBorders::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TOvcBorders*>(Source)) {
        FBottomBorder->Assign(Other->FBottomBorder.get());
        FLeftBorder->Assign(Other->FLeftBorder.get());
        FRightBorder->Assign(Other->FRightBorder.get());
        FTopBorder->Assign(Other->FTopBorder.get());
        return;
    }
    TPersistent::Assign(Source);
}

bool TOvcBorders::AnyEnabled() const
{
    return FBottomBorder->Enabled() || FLeftBorder->Enabled() || FRightBorder->Enabled() ||
           FTopBorder->Enabled();
}

int BorderLeftX(int W)
{
    return W / 2;
}

int BorderRightX(int W, int Width)
{
    return Width - W / 2 - (W % 2 != 0 ? 1 : 0);
}

int BorderTopY(int W)
{
    return W / 2;
}

int BorderBottomY(int W, int Height)
{
    return Height - W / 2 - (W % 2 != 0 ? 1 : 0);
}

void DrawBorders(TCanvas* Canvas, const TOvcBorders& Borders, int Width, int Height)
{
    const auto Line = [Canvas](const TOvcBorder* B, int X1, int Y1, int X2, int Y2) {
        if (!B->Enabled())
            return;
        Canvas->Pen()->SetColor(B->PenColor());
        Canvas->Pen()->SetStyle(B->PenStyle());
        Canvas->Pen()->SetWidth(B->PenWidth());
        Canvas->MoveTo(X1, Y1);
        Canvas->LineTo(X2, Y2);
    };
    const int L = BorderLeftX(Borders.LeftBorder()->PenWidth());
    const int R = BorderRightX(Borders.RightBorder()->PenWidth(), Width);
    const int T = BorderTopY(Borders.TopBorder()->PenWidth());
    const int B = BorderBottomY(Borders.BottomBorder()->PenWidth(), Height);
    Line(Borders.LeftBorder(), L, 0, L, Height);
    Line(Borders.RightBorder(), R, 0, R, Height);
    Line(Borders.TopBorder(), 0, T, Width, T);
    Line(Borders.BottomBorder(), 0, B, Width, B);
}
