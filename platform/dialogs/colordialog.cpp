// platform/dialogs/colordialog.cpp: the colour dialog's request, and its custom colours between
// the strings and the service.
#include "platform/dialogs/colordialog.h"

#include <cstdio>
#include <cstdlib>

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>())
{
}

TColorDialog::~TColorDialog() = default;

std::vector<TColor> CustomColorsFromStrings(const TStrings& Lines)
{
    std::vector<TColor> Colors(CustomColorCount, clWhite);
    for (int I = 0; I < CustomColorCount; ++I) {
        const std::string Value = Lines.Values(std::string("Color") + static_cast<char>('A' + I));
        if (Value.empty() || Value.size() > 8)
            continue;
        char* End = nullptr;
        const unsigned long Number = std::strtoul(Value.c_str(), &End, 16);
        // A value that is not hex, or not an RGB colour (as "FFFFFFFF", unset), stays white.
        if (End != nullptr && *End == '\0' && Number <= 0xFFFFFF)
            Colors[I] = static_cast<TColor>(Number);
    }
    return Colors;
}

void CustomColorsToStrings(const std::vector<TColor>& Colors, TStrings& Lines)
{
    Lines.BeginUpdate();
    Lines.Clear();
    for (int I = 0; I < CustomColorCount; ++I) {
        const TColor Color = I < static_cast<int>(Colors.size()) ? Colors[I] : clWhite;
        char Line[32];
        std::snprintf(Line, sizeof Line, "Color%c=%06X", 'A' + I,
                      static_cast<unsigned>(Color) & 0xFFFFFFu);
        Lines.Add(Line);
    }
    Lines.EndUpdate();
}

bool TColorDialog::Execute()
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::Color;
    Request.Color = FColor;
    Request.CustomColors = CustomColorsFromStrings(*FCustomColors);
    Request.Options = static_cast<unsigned>(FOptions.Bits());
    Request.HelpCtx = HelpContext();
    const TDialogAnswer Answer = Run(Request);
    if (Answer.Result != mrOk)
        return false;
    FColor = Answer.Color;
    if (static_cast<int>(Answer.CustomColors.size()) == CustomColorCount)
        CustomColorsToStrings(Answer.CustomColors, *FCustomColors);
    return true;
}
