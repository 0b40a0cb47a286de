// controls/grid/asgedit.h: the grid's edits with a button: TAsgEditBtn (an edit whose button or
// F4 fires OnClickBtn) and TAsgUnitEditBtn (its button chooses a unit shown beside the value).
#pragma once

#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/speedbutton.h"

#include <memory>
#include <string>

// The height an edit of the font needs for its line: the font's height and a quarter of the
// smaller of it and the system font's.
int EditLineHeight(TFont* Font);

// A container filled by one speed button.
class TAsgEditButton : public TWinControl {
public:
    explicit TAsgEditButton(TComponent* AOwner);
    ~TAsgEditButton() override;

    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap* Value) { FButton->SetGlyph(Value); }
    std::string ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const std::string& Value) { FButton->SetCaption(Value); }
    TNumGlyphs NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs Value) { FButton->SetNumGlyphs(Value); }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TSpeedButton* Button() const { return FButton; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BtnMouseUp(TMouseButton Button);

    TSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
};

// An edit with a button at its right.
class TAsgEditBtn : public TCustomEdit {
public:
    explicit TAsgEditBtn(TComponent* AOwner);
    ~TAsgEditBtn() override;

    TAsgEditButton* Button() const { return FButton; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap* Value) { FButton->SetGlyph(Value); }
    std::string ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const std::string& Value) { FButton->SetButtonCaption(Value); }
    bool RightAlign() const { return FRightAlign; }
    // Makes the window again.
    void SetRightAlign(bool Value);
    // The least height the font allows; smaller heights are raised to it.
    int MinHeight() const;
    // Fires OnClickBtn.
    virtual void ClickBtn();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnClickBtn;

protected:
    // Pixels between the text and the button (the unit edit's unit).
    int UnitSpace() const { return FUnitSpace; }
    void SetUnitSpaceValue(int Value);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void SetEditRect();
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void PlaceButton();

    TAsgEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    bool FRightAlign = false;
    int FUnitSpace = 0;
};

// An edit with a unit chooser: the button pops up Units, the chosen one is UnitID, drawn in the
// UnitSpace pixels left of the button.
class TAsgUnitEditBtn : public TAsgEditBtn {
public:
    explicit TAsgUnitEditBtn(TComponent* AOwner);
    ~TAsgUnitEditBtn() override;

    TStrings* Units() const { return FUnits.get(); }
    void SetUnits(const TStrings* Value) { FUnits->Assign(Value); }
    const std::string& UnitID() const { return FUnitID; }
    void SetUnitID(const std::string& Value);
    int UnitSpace() const { return TAsgEditBtn::UnitSpace(); }
    void SetUnitSpace(int Value);
    // Pops the units up below the edit; the chosen one becomes UnitID.
    void ClickBtn() override;

protected:
    void WMPaint(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void DrawUnit(TCanvas* Canvas);

    std::unique_ptr<TStringList> FUnits;
    std::string FUnitID;
};
