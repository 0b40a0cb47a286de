// platform/stdctrls/bitbtn.h: TBitBtn, a push button with a glyph beside its caption, drawn by
// itself through CN_DRAWITEM; Kind gives the usual dialog buttons their caption, glyph and
// ModalResult.
#pragma once

#include "platform/stdctrls/buttonglyph.h"
#include "platform/stdctrls/buttons.h"
#include "platform/ui/ownerdraw.h"

#include <memory>

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value);
    // 1 to 4 pictures side by side: up, disabled, down, exclusive.
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    // bkCustom once the caption's glyph, Default, Cancel or ModalResult no longer match the kind.
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // bkClose closes the form, bkHelp asks for the help context; others as TButton.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void SetButtonStyle(bool ADefault) override;
    virtual void DrawItem(const TDrawItemStruct& Item);

    void CNDrawItem(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    TBitBtnKind FKind = bkCustom;
    bool FModifiedGlyph = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FIsFocused = false;
};

// The caption of a kind ("" for bkCustom).
std::string BitBtnCaption(TBitBtnKind Kind);
// The glyph of a kind, drawn here (18 by 18, olive where transparent); empty for bkCustom.
void MakeBitBtnGlyph(TBitBtnKind Kind, TBitmap& Glyph);
