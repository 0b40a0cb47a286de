// platform/stdctrls/label.h: TCustomLabel and TLabel, text drawn on the parent: alignment and
// vertical layout, sizing to the text, word wrap, and an "&" accelerator that moves the focus
// to FocusControl.
#pragma once

#include "platform/forms/controls.h"

#include <memory>

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    // The text as drawn (the caption).
    virtual std::string GetLabelText() const;
    // Draws the label's text into Rect with DrawText Flags (DT_CALCRECT measures it into Rect).
    virtual void DoDrawText(TRect& Rect, unsigned Flags);
    void Paint() override;
    // With AutoSize, takes the size of the text (keeping the right edge when right-aligned).
    virtual void AdjustBounds();
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void CMTextChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TCanvas* DrawCanvas() const;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
    std::unique_ptr<TCanvas> FMeasure; // set while measuring outside painting
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
