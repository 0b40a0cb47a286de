// platform/dialogs/fontform.h: TFontForm, the font dialog's form: the font, style and size,
// each an edit over a list; with effects strike-out, underline and the colour; the script
// (character set); and a sample drawn in the font.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/ui/dialogservice.h"

#include <string>
#include <vector>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;
class TPaintBox;

class TFontForm : public TDialogForm {
public:
    TFontForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    TDialogAnswer Answer() const;
    // The font as the controls have it now.
    TFontDescription Chosen() const;
    // The font names offered (the font engine's families, sorted); keeps the typed name.
    void SetFamilies(const std::vector<std::string>& Families);

    TEdit* FaceEdit() const { return FFaceEdit; }
    TListBox* FaceList() const { return FFaceList; }
    TEdit* StyleEdit() const { return FStyleEdit; }
    TListBox* StyleList() const { return FStyleList; }
    TEdit* SizeEdit() const { return FSizeEdit; }
    TListBox* SizeList() const { return FSizeList; }
    TGroupBox* Effects() const { return FEffects; }
    TCheckBox* StrikeOut() const { return FStrikeOut; }
    TCheckBox* Underline() const { return FUnderline; }
    TComboBox* ColorBox() const { return FColor; }
    TComboBox* Script() const { return FScript; }
    TPaintBox* Sample() const { return FSample; }
    TButton* OkButton() const { return FOk; }

    // The colour names of the colour box and the scripts, in their order.
    static const std::vector<std::pair<std::string, TColor>>& NamedColors();
    static const std::vector<std::pair<std::string, int>>& Scripts();

protected:
private:
    void BuildControls();
    void OkClick();
    void PaintSample();
    // Selects the list item the edit's text names (case ignored), if any.
    static void FollowEdit(TEdit* Edit, TListBox* List);

    TDialogRequest FRequest;
    bool FCharsetChosen = false;
    std::vector<TColor> FColors; // by the colour box's items

    TEdit* FFaceEdit = nullptr;
    TListBox* FFaceList = nullptr;
    TEdit* FStyleEdit = nullptr;
    TListBox* FStyleList = nullptr;
    TEdit* FSizeEdit = nullptr;
    TListBox* FSizeList = nullptr;
    TGroupBox* FEffects = nullptr;
    TCheckBox* FStrikeOut = nullptr;
    TCheckBox* FUnderline = nullptr;
    TComboBox* FColor = nullptr;
    TGroupBox* FSampleBox = nullptr;
    TPaintBox* FSample = nullptr;
    TComboBox* FScript = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
};
