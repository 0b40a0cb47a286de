// platform/dialogs/colordialog.h: TColorDialog: a colour picked from the basic colours, the
// sixteen custom ones (kept in CustomColors as "ColorA=XXXXXX" .. "ColorP=XXXXXX", each the
// colour's value in hex) or defined anew.
#pragma once

#include "platform/dialogs/commondialog.h"
#include "platform/gfx/color.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <vector>

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

constexpr int CustomColorCount = 16;

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TStrings* CustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(const TStrings* Value) { FCustomColors->Assign(Value); }
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

    bool Execute() override;

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

// The sixteen custom colours a list of "ColorA=XXXXXX" lines names (white where a line is
// missing or unreadable), and the lines for sixteen colours.
std::vector<TColor> CustomColorsFromStrings(const TStrings& Lines);
void CustomColorsToStrings(const std::vector<TColor>& Colors, TStrings& Lines);
