// platform/dialogs/colorform.h: TColorForm, the colour dialog's form: the grid of basic colours,
// the sixteen custom colours, and the part that defines a colour by its red, green and blue
// and adds it to the custom ones; TColorGrid is the grid of swatches both use.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/forms/controls.h"
#include "platform/ui/dialogservice.h"

#include <vector>

class TButton;
class TEdit;
class TLabel;
class TPaintBox;

// Swatches in rows of Columns; one selected (or none, -1); arrows move the selection.
class TColorGrid : public TCustomControl {
public:
    explicit TColorGrid(TComponent* AOwner);

    static constexpr int CellWidth = 24;
    static constexpr int CellHeight = 21;

    const std::vector<TColor>& Colors() const { return FColors; }
    void SetColors(const std::vector<TColor>& Value, int Columns);
    void SetColor(int Index, TColor Value);
    int Selected() const { return FSelected; }
    void SetSelected(int Index);
    // The cell at a client point; -1 outside the cells.
    int CellAt(int X, int Y) const;
    TRect CellRect(int Index) const;

    TNotifyEvent OnChange; // the selection moved (by the mouse or the keys)

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    void WMFocusChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void Choose(int Index);

    std::vector<TColor> FColors;
    int FColumns = 8;
    int FSelected = -1;
};

class TColorForm : public TDialogForm {
public:
    TColorForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    TDialogAnswer Answer() const;

    TColor CurrentColor() const { return FCurrent; }
    // Shows the part that defines custom colours.
    void Expand();
    bool Expanded() const { return FExpanded; }

    TColorGrid* BasicGrid() const { return FBasic; }
    TColorGrid* CustomGrid() const { return FCustom; }
    TButton* DefineButton() const { return FDefine; }
    TButton* AddButton() const { return FAdd; }
    TEdit* RedEdit() const { return FRed; }
    TEdit* GreenEdit() const { return FGreen; }
    TEdit* BlueEdit() const { return FBlue; }
    TButton* OkButton() const { return FOk; }

    // The 48 basic colours, row by row.
    static const std::vector<TColor>& BasicColors();

protected:
private:
    void SetCurrent(TColor Color);
    void ShowChannels();
    void ChannelsChanged();
    void AddToCustom();

    TColor FCurrent = clBlack;
    bool FExpanded = false;
    bool FSettingChannels = false;
    TColorGrid* FBasic = nullptr;
    TColorGrid* FCustom = nullptr;
    TButton* FDefine = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
    TPaintBox* FSample = nullptr;
    TLabel* FSampleLabel = nullptr;
    TEdit* FRed = nullptr;
    TEdit* FGreen = nullptr;
    TEdit* FBlue = nullptr;
    std::vector<TLabel*> FChannelLabels;
    TButton* FAdd = nullptr;
};
