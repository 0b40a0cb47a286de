// platform/stdctrls/maskedit.h: TCustomMaskEdit, the edit that types through an edit mask
// (platform/stdctrls/editmask.h): overwrite within the mask, literals skipped, blanks left by
// deleting, the clipboard through the mask, and the check of a complete entry; and TMaskEdit.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/editmask.h"

#include <string>

TW_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);
    ~TCustomMaskEdit() override;

    // "mask;save-literals;blank"; empty: a plain edit. Sets MaxLength to the mask's length.
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& Value);
    // The text as shown: literals and blank characters included.
    std::string EditText() const;
    void SetEditText(const std::string& Value);
    bool IsMasked() const { return !FMask.Empty(); }

    // Raises EDBEditError (after a beep) with the caret on the first incomplete position when
    // the modified text misses a required character.
    virtual void ValidateEdit();
    // Puts a caret that rests between characters onto the input position at or after it.
    void CheckCursor();

protected:
    std::string GetText() const override;
    void SetTextBuf(const std::string& Value) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void DoExit() override;
    virtual void ValidateError();
    virtual bool EditCanModify();
    // Back to the text of the last commit (entering or setting the text).
    virtual void Reset();

    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMClear(TMessage& Message);
    void WMUndo(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void CMWantSpecialKey(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    int PositionCount() const { return static_cast<int>(FMask.Positions.size()); }
    bool IsInput(int Pos) const;
    // The input position at or after Pos (PositionCount when none), and before Pos (-1).
    int NextInput(int Pos) const;
    int PrevInput(int Pos) const;
    // The selection in positions.
    void GetSelPositions(int& Start, int& Stop) const;
    // Selects the character at Pos (an input position at or after it), as overwrite shows it.
    void SetCursor(int Pos);
    bool CanEdit();
    // Replaces the edit text by an editing step and puts the caret at Pos.
    void ApplyEdit(const std::string& Text, int Pos);
    std::string Blanked(int Start, int Stop) const;
    void InputChar(const std::string& Ch);
    void DeleteKeys(bool Backspace);
    void PasteText(const std::string& Value);
    void SetRawText(const std::string& Value);
    // Shift+Left or Shift+Right.
    void ExtendSelection(bool Forward);

    std::string FEditMask;
    EditMask::TParsedMask FMask;
    std::string FOldValue;
    std::string FPending; // the bytes of a character typed so far
    // The selection Shift+arrows made last: its fixed and its moving end, in positions.
    bool FExtending = false;
    int FExtendAnchor = 0;
    int FExtendCaret = 0;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
