#include "controls/entry/ovccolor.h"

TOvcColors::TOvcColors(TColor FGDefault, TColor BGDefault)
    : FBackColor(BGDefault), FTextColor(FGDefault), FBackDefault(BGDefault), FTextDefault(FGDefault)
{
}

void TOvcColors::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TOvcColors*>(Source)) {
        FBackColor = Other->FBackColor;
        FTextColor = Other->FTextColor;
        return;
    }
    TPersistent::Assign(Source);
}

void TOvcColors::Changed()
{
    if (OnColorChange)
        OnColorChange();
}

void TOvcColors::SetBackColor(TColor Value)
{
    if (Value == FBackColor)
        return;
    FBackColor = Value;
    if (Value != FBackDefault)
        FUseDefault = false;
    Changed();
}

void TOvcColors::SetTextColor(TColor Value)
{
    if (Value == FTextColor)
        return;
    FTextColor = Value;
    if (Value != FTextDefault)
        FUseDefault = false;
    Changed();
}

void TOvcColors::SetUseDefault(bool Value)
{
    FUseDefault = Value;
    if (!Value)
        return;
    FBackColor = FBackDefault;
    FTextColor = FTextDefault;
    Changed();
}

TOvcEfColors::TOvcEfColors()
    : FDisabled(std::make_unique<TOvcColors>(clGrayText, clWindow)),
      FError(std::make_unique<TOvcColors>(clBlack, clRed)),
      FHighlight(std::make_unique<TOvcColors>(clHighlightText, clHighlight))
{
}

TOvcEfColors::~TOvcEfColors() = default;

void TOvcEfColors::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TOvcEfColors*>(Source)) {
        FDisabled->Assign(Other->FDisabled.get());
        FError->Assign(Other->FError.get());
        FHighlight->Assign(Other->FHighlight.get());
        return;
    }
    TPersistent::Assign(Source);
}
