// controls/grid/asgcombo.h: the grid's combo box, which can draw itself flat: a border and a
// button that rise while the mouse is over it or it has the focus.
#pragma once

#include "platform/stdctrls/combobox.h"

class TASGCustomCombo : public TCustomComboBox {
public:
    explicit TASGCustomCombo(TComponent* AOwner);
    ~TASGCustomCombo() override;

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    // Values outside 14 to 32 are ignored.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    // Ctl3D always takes the opposite.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value);
    // A positive value is the dropped-down list's width.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    // The mouse is over it (while enabled) or it is the active control.
    bool Hot() const;
    // Where the flat button is drawn, in client coordinates.
    TRect ButtonRect() const;

protected:
    void CreateWnd() override;
    void DropDown() override;
    void CloseUp() override;
    void WMPaint(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMEnter(TMessage& Message);
    void CMExit(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void DrawFlat(TCanvas* Canvas);
    void InvalidateButton();
    void ApplyDropWidth();

    bool FAutoFocus = false;
    int FButtonWidth;
    bool FFlat = true;
    bool FEtched = false;
    bool FFocusBorder = false;
    int FDropWidth = 0;
    bool FMouseInControl = false;
    // Color and ParentColor while disabled.
    TColor FOldColor = clWindow;
    bool FOldParentColor = false;
    bool FDisabledLook = false;
};

class TASGComboBox : public TASGCustomCombo {
public:
    using TASGCustomCombo::TASGCustomCombo;
};
