// The grid's keyboard: focus coming and going, typed characters, the clipboard and row shortcuts,
// the disjunct row selection keys and Tab past the right fixed columns.
#include "controls/grid/advgrid.h"

#include "platform/rtl/formatsettings.h"
#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"

#include <algorithm>

namespace {

TGridRect UnionOf(const TGridRect& A, const TGridRect& B)
{
    return TGridRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                     std::max(A.Bottom, B.Bottom)};
}

bool IsArrowKey(Word Key)
{
    return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

void TAdvStringGrid::WMSetFocus(TMessage& Message)
{
    TStringGrid::WMSetFocus(Message);
    const bool AlwaysEdit = FNavigation->AlwaysEdit;
    if (FEditControlShown) {
        const auto From = static_cast<HWND>(Message.WParam);
        const bool FromEditor = InplaceEditor() != nullptr && InplaceEditor()->HandleAllocated() &&
                                From == InplaceEditor()->Handle();
        if (!FromEditor && AlwaysEdit && FEditorType == etNormal) {
            ShowEditor();
            return;
        }
    } else if (AlwaysEdit)
        ShowEditor();
    // One row (or column) that stays fixed leaves no cell to select.
    if ((RowCount() == 1 && FFixedRowAlways) || (ColCount() == 1 && FFixedColAlways))
        HideSelection();
}

// Nothing happens while an editor control hands the keyboard back to the grid.
void TAdvStringGrid::DoEnter()
{
    if (FLeavingEditor)
        return;
    TStringGrid::DoEnter();
    // Focus passing through the grid to its own editor control is no new visit of the cell: the
    // edit that control opened stays pending.
    if (FEditControlShown)
        return;
    try {
        SelectCell(Col(), Row());
    } catch (...) {
        StartCellEdit(Col(), Row());
        throw;
    }
    StartCellEdit(Col(), Row());
}

void TAdvStringGrid::DoExit()
{
    if (FLeavingEditor)
        return;
    if (FGridShownEditor)
        ValidateCell(CurrentCellText());
    TStringGrid::DoExit();
}

// The form asks every control whether a character is its accelerator. Only with Alt held does
// the grid pass the question on (to its editor); otherwise it answers no and the character goes
// on to the grid as typed text.
void TAdvStringGrid::CMDialogChar(TMessage& Message)
{
    if ((GetKeyState(VK_MENU) & 0x8000) != 0)
        Inherited(Message);
}

void TAdvStringGrid::WMChar(TMessage& Message)
{
    const auto Ch = static_cast<unsigned char>(Message.WParam & 0xFF);
    // The keypad's decimal key has scan code 0x53 (bit 6 set); the main keyboard's "." has not.
    const unsigned Scan = (static_cast<std::uintptr_t>(Message.LParam) >> 16) & 0xFF;
    if (FExcelStyleDecimalSeparator && Ch == '.' && (Scan & 0x40) != 0)
        Message.WParam = static_cast<unsigned char>(FormatSettings.DecimalSeparator);
    TStringGrid::WMChar(Message);
}

void TAdvStringGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const Word Pressed = Key;
    const TGridRect OldSel = Selection();
    const int OldCol = Col();
    const int OldRow = Row();
    TStringGrid::KeyDown(Key, Shift);
    const TGridRect NewSel = Selection();
    if (FSelectionRectangle && !(OldSel == NewSel))
        RepaintCellRange(UnionOf(OldSel, NewSel));

    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftKey = Shift.Contains(ssShift);
    const bool Alt = Shift.Contains(ssAlt);

    if (FNavigation->AllowClipboardShortCuts) {
        auto Ask = [this](const TClipboardEvent& Event) {
            bool Allow = true;
            if (Event)
                Event(this, Allow);
            return Allow;
        };
        if ((Ctrl && Pressed == 'X') || (ShiftKey && Pressed == VK_DELETE)) {
            if (Ask(OnClipboardCut))
                CutToClipboard();
            Key = 0;
            return;
        }
        if ((Ctrl && Pressed == 'V') || (ShiftKey && Pressed == VK_INSERT)) {
            if (Ask(OnClipboardPaste))
                PasteFromClipboard();
            Key = 0;
            return;
        }
        if ((Ctrl && Pressed == 'C') || (Ctrl && Pressed == VK_INSERT)) {
            if (Ask(OnClipboardCopy))
                CopyToClipboard();
            Key = 0;
            return;
        }
    }

    if (Pressed == VK_INSERT && !Ctrl && !ShiftKey && !Alt && FNavigation->AllowInsertRow) {
        const int ARow = Row();
        bool CanInsert = true;
        if (OnCanInsertRow)
            OnCanInsertRow(this, ARow, CanInsert);
        if (CanInsert) {
            if (FNavigation->InsertPosition == pInsertAfter) {
                InsertRows(ARow + 1, 1);
                if (OnAutoInsertRow)
                    OnAutoInsertRow(this, ARow + 1);
                if (ARow + 1 < RowCount())
                    SetRow(ARow + 1);
            } else {
                InsertRows(ARow, 1);
                if (OnAutoInsertRow)
                    OnAutoInsertRow(this, ARow);
            }
        }
    }

    if ((Pressed == VK_UP || Pressed == VK_DOWN) && FMouseActions->DisjunctRowSelect) {
        if (!ShiftKey && !Ctrl)
            ClearRowSelection();
        if (ShiftKey)
            SelectRowsFromSelection(true);
        else
            SetRowSelected(Row(), true);
    }

    if (Pressed == VK_SPACE && FMouseActions->DisjunctRowSelect)
        SetRowSelected(Row(), !RowSelected(Row()));

    const int DataRows = RowCount() - FixedRows() - FFixedFooters;
    if (Pressed == VK_DELETE && !Alt && FNavigation->AllowDeleteRow && DataRows >= 1) {
        const int ARow = Row();
        bool CanDelete = true;
        if (OnCanDeleteRow)
            OnCanDeleteRow(this, ARow, CanDelete);
        if (CanDelete) {
            // The last data row is emptied, never taken away.
            if (DataRows == 1)
                ClearRows(ARow, 1);
            else
                DeleteRows(ARow, 1);
            if (OnAutoDeleteRow)
                OnAutoDeleteRow(this, ARow);
        }
    }

    // Tab out of the last column before the right fixed ones goes on in the next row (the
    // right fixed cells refuse the cursor, so the base grid's own step stays put).
    const int LastEditable = ColCount() - 1 - FFixedRightCols;
    if (Pressed == VK_TAB && !ShiftKey && !Alt && Options().Contains(goTabs) &&
        FFixedRightCols > 0 && OldCol == LastEditable) {
        int NewRow = OldRow + 1;
        if (NewRow >= RowCount() - FFixedFooters)
            NewRow = FixedRows();
        if (FixedCols() <= LastEditable && NewRow < RowCount())
            FocusCell(FixedCols(), NewRow, true);
    }
}

void TAdvStringGrid::KeyUp(Word& Key, TShiftState Shift)
{
    const Word Released = Key;
    switch (Released) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
        FSearchInc.clear();
        break;
    default:
        break;
    }
    TStringGrid::KeyUp(Key, Shift);
    if (FNavigation->AlwaysEdit &&
        (IsArrowKey(Released) || (Released == VK_TAB && Options().Contains(goTabs))))
        ShowEditor();
}
