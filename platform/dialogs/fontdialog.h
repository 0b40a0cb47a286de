// platform/dialogs/fontdialog.h: TFontDialog: a font's name, style, size, and with fdEffects
// its colour, underline and strike-out, and its character set.
#pragma once

#include "platform/dialogs/commondialog.h"
#include "platform/gfx/graphicsobjects.h"

#include <memory>

enum TFontDialogOption {
    fdAnsiOnly,
    fdTrueTypeOnly,
    fdEffects,
    fdFixedPitchOnly,
    fdForceFontExist,
    fdNoFaceSel,
    fdNoOEMFonts,
    fdNoSimulations,
    fdNoSizeSel,
    fdNoStyleSel,
    fdNoVectorFonts,
    fdShowHelp,
    fdWysiwyg, // the fonts both the screen and the printer have: with us, the same list
    fdLimitSize,
    fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;

enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    TFontDialogDevice Device() const { return FDevice; }
    void SetDevice(TFontDialogDevice Value) { FDevice = Value; }
    // With fdLimitSize, the sizes allowed; 0: no limit.
    int MinFontSize() const { return FMinFontSize; }
    void SetMinFontSize(int Value) { FMinFontSize = Value; }
    int MaxFontSize() const { return FMaxFontSize; }
    void SetMaxFontSize(int Value) { FMaxFontSize = Value; }
    TFontDialogOptions Options() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

    bool Execute() override;

private:
    std::unique_ptr<TFont> FFont;
    TFontDialogDevice FDevice = fdScreen;
    int FMinFontSize = 0;
    int FMaxFontSize = 0;
    TFontDialogOptions FOptions{fdEffects};
};

TFontDescription DescribeFont(const TFont& Font);
void ApplyFontDescription(const TFontDescription& Description, TFont& Font);
