// platform/stdctrls/comboeditpart.h: the edit field of a drop-down or simple combo box: its text,
// caret and selection (byte offsets), typing by whole UTF-8 characters, Backspace and Delete, the
// caret keys with Shift, the length limit and the letter case. It stands in for an edit window
// inside the combo until the combo uses the EDIT class.
#pragma once

#include "platform/ui/wintypes.h"

#include <string>

class TComboEditPart {
public:
    enum TCase { ecNormal, ecUpperCase, ecLowerCase };

    const std::string& Text() const { return FText; }
    // The caret goes to the end, nothing selected.
    void SetText(const std::string& Value);
    int SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
    int SelLength() const { return FCaret < FAnchor ? FAnchor - FCaret : FCaret - FAnchor; }
    std::string SelText() const { return FText.substr(SelStart(), SelLength()); }
    int Caret() const { return FCaret; }
    // Start -1: nothing selected, the caret stays; End -1: to the end. Offsets are clamped and
    // moved back to the start of the character they fall in.
    void SetSel(int Start, int End);
    void SelectAll() { SetSel(0, -1); }
    // Replaces the selection, within the length limit (never splitting a character); true when
    // the text changed.
    bool ReplaceSel(const std::string& Value);

    // A key of the edit field (arrows, Home, End, Delete); true when the text changed.
    bool KeyDown(WPARAM Key, bool Shift, bool Ctrl);
    // A byte of typed text; Backspace deletes the character before the caret. True when the text
    // changed.
    bool Char(unsigned char Value);

    int MaxLength = 0; // bytes; 0: no limit
    TCase CharCase = ecNormal;

private:
    int NextChar(int Pos) const;
    int PrevChar(int Pos) const;
    int WordLeft(int Pos) const;
    int WordRight(int Pos) const;
    void MoveCaret(int Pos, bool Extend);

    std::string FText;
    std::string FPending; // bytes of a character still being typed
    int FCaret = 0;
    int FAnchor = 0;
};
