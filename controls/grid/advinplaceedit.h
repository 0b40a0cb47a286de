// controls/grid/advinplaceedit.h: TAdvInplaceEdit, the string grid's in-place text editor: the
// characters each editor type lets through, a length limit, password cells, lookup completion
// from the grid's list, and the clipboard with the grid's events.
#pragma once

#include "platform/stdctrls/inplaceedit.h"

#include <cstdint>
#include <string>

class TAdvStringGrid;

class TAdvInplaceEdit : public TInplaceEdit {
public:
    explicit TAdvInplaceEdit(TComponent* AOwner);

    // Right-aligned text (the cell's alignment is right); set by the grid before each edit.
    bool VAlign() const { return FVAlign; }
    void SetVAlign(bool Value);
    // Lines wrap at the editor's width instead of scrolling sideways.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // Above 0, typed and pasted text stops at this many bytes; 0 when the window is made takes
    // the grid's MaxEditLength.
    std::int16_t LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(std::int16_t Value) { FLengthLimit = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void UpdateContents() override;
    void DblClick() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;

    void WMChar(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    // The grid while it is whole (nil while it is being taken down).
    TAdvStringGrid* AdvGrid() const;
    // The window styles the grid's current cell wants: right alignment, wrapping, password.
    void ApplyStyle();
    // Whether a typed byte goes on, by the rules of the cell's editor type; may change Ch.
    bool FilterChar(TAdvStringGrid* G, unsigned char& Ch);
    // Moves to the cell beside the current one in the row, the editor shown there.
    void WalkCell(TAdvStringGrid* G, bool Forward);
    // Completes the text from the grid's lookup items after a key was released.
    void Lookup(TAdvStringGrid* G);
    // The line of the caret and the number of lines, as the window wraps them.
    int CaretLine() const;
    int LineTotal() const;

    bool FVAlign = false;
    bool FWordWrap = false;
    std::int16_t FLengthLimit = 0;
    // The next key release may complete the text.
    bool FLookupAllowed = false;
    // The lead byte of a character was refused: its continuation bytes go with it.
    bool FDroppingChar = false;
};
