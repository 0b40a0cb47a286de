// platform/stdctrls/inplaceedit.h: TInplaceEdit, the grid's borderless masked edit laid over
// the current cell; it hands the keys that move between cells to the grid.
#pragma once

#include "platform/stdctrls/maskedit.h"

class TCustomGrid;

class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);

    // The caret after the last character, nothing selected.
    void Deselect();
    // Hidden without a redraw of its own; the grid repaints the cell, and gets the focus back
    // when the editor had it.
    void Hide();
    // Repaints the editor and the grid's area under it.
    void Invalidate() override;
    // Shown over Loc (an empty Loc hides it) and repainted.
    void Move(const TRect& Loc);
    // Like Move, repainting only when it was hidden.
    void UpdateLoc(const TRect& Loc);
    bool PosEqual(const TRect& Rect) const;
    // Only a visible editor takes the focus.
    void SetFocus() override;
    // Whether the window is shown (the Visible property stays as it is, so this hides it).
    bool Visible() const;

protected:
    friend class TCustomGrid;
    TCustomGrid* Grid() const { return FGrid; }
    // The window after a move: the text area inset from the cell's edges.
    virtual void BoundsChanged();
    // Mask, text and limit of the grid's current cell.
    virtual void UpdateContents();

    void CreateParams(TCreateParams& Params) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool EditCanModify() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WndProc(TMessage& Message) override;

    void WMGetDlgCode(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMClear(TMessage& Message);
    void CMShowingChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void InternalMove(const TRect& Loc, bool Redraw);
    void SetGrid(TCustomGrid* Value) { FGrid = Value; }

    TCustomGrid* FGrid = nullptr;
    // When the grid last took a press: a press on the editor soon after is a double click.
    DWORD FClickTime = 0;
};
