#include "controls/entry/ovcbordr.h"

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
