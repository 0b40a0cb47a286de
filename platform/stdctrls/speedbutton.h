// platform/stdctrls/speedbutton.h: TSpeedButton, a button without a window for tool bars: it
// stays down in a group (GroupIndex, one down at a time, all up with AllowAllUp) and, Flat,
// shows its edge only under the mouse.
#pragma once

#include "platform/forms/controls.h"
#include "platform/stdctrls/buttonglyph.h"

#include <memory>

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    // Only buttons of a group stay down; in a group without AllowAllUp the down button cannot
    // be set up again (another one going down releases it).
    void SetDown(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    // True while the mouse is over the button (a flat button is raised then).
    bool MouseInControl() const { return FMouseInControl; }

    void Click() override;

protected:
    TButtonState State() const { return FState; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

    void CMButtonPressed(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void UpdateExclusive();
    bool Inside(int X, int Y) const;

    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FFlat = false;
    bool FDragging = false;
    bool FMouseInControl = false;
    TButtonState FState = bsUp;
};
