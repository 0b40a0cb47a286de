// The grid's side of in-cell editing: which cells may be edited, which editor a cell gets, how an
// edit ends (validation, writing back or restoring), how Enter moves on, and the incremental
// search by typing.
#include "controls/grid/advgrid.h"

#include "controls/grid/advinplaceedit.h"
#include "controls/grid/advutil.h"
#include "platform/rtl/strings.h"
#include "platform/ui/input.h"

namespace {

// The editor types the in-place text editor serves; the others are editor controls.
bool UsesInplaceEditor(TEditorType Type)
{
    switch (Type) {
    case etNormal:
    case etSignedInteger:
    case etUnsignedInteger:
    case etDecimal:
    case etUpperTyped:
    case etWordCaps:
    case etPassword:
    case etLowerCase:
    case etUpperCase:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- cells and their text -------------------------------------------------------------------

std::string TAdvStringGrid::CurrentCellText()
{
    return Cells(RealCol(), Row());
}

void TAdvStringGrid::SetCurrentCellText(const std::string& Value)
{
    SetCells(RealCol(), Row(), Value);
}

std::string TAdvStringGrid::GetEditText(int ACol, int ARow)
{
    return TStringGrid::GetEditText(RealColIndex(ACol), ARow);
}

void TAdvStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    TStringGrid::SetEditText(RealColIndex(ACol), ARow, Value);
}

void TAdvStringGrid::RestoreCellText()
{
    SetCurrentCellText(FRestoreText);
    RepaintCell(Col(), Row());
}

bool TAdvStringGrid::CellEditable(int ACol, int ARow)
{
    bool CanEdit = Options().Contains(goEditing) || FEditingOff;
    if (CanEdit)
        CanEditCell(ACol, ARow, CanEdit);
    return CanEdit;
}

// ---- starting and ending an edit ------------------------------------------------------------

void TAdvStringGrid::StartCellEdit(int ACol, int ARow)
{
    FEditCol = ACol;
    FEditRow = ARow;
    FEditText = Cells(RealColIndex(ACol), ARow);
}

bool TAdvStringGrid::ValidateCell(const std::string& NewValue)
{
    if (!FEditPending)
        return true;
    FEditPending = false;
    FValidating = true;
    struct TValidating {
        bool& Flag;
        ~TValidating() { Flag = false; }
    } Validating{FValidating};

    bool Valid = true;
    bool Reopen = false;
    const int EditCol = RealColIndex(FEditCol);
    if (NewValue != FEditText) {
        CellValueChanging(EditCol, FEditRow);
        std::string Value = NewValue;
        if (OnCellValidate)
            OnCellValidate(this, EditCol, FEditRow, Value, Valid);
        CellsChanged(TRect{EditCol, FEditRow, EditCol, FEditRow});
        const std::string Result = (Valid || Value != NewValue) ? Value : FEditText;
        // The editor still over the cell writes its text back when it hides: it shows the
        // result first, so that the cell keeps it.
        TInplaceEdit* Editor = InplaceEditor();
        if (Editor != nullptr && Editor->Visible() && Col() == FEditCol && Row() == FEditRow &&
            Editor->Text() != Result)
            Editor->SetText(Result);
        SetCells(EditCol, FEditRow, Result);
        if (!Valid) {
            FocusCell(FEditCol, FEditRow, true);
            Reopen = true;
        }
    }
    StartCellEdit(Col(), Row());
    FValidating = false;
    if (Reopen) {
        FEditPending = true;
        SetEditorMode(true);
        // The editor shows what the cell holds now.
        if (InplaceEditor() != nullptr && InplaceEditor()->Visible())
            InvalidateEditor();
    }
    return Valid;
}

bool TAdvStringGrid::SelectCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const int OldCol = Col();
    const int OldRow = Row();
    bool Allow = true;
    if (ARow != OldRow && OnRowChanging)
        OnRowChanging(this, OldRow, ARow, Allow);
    if (ACol != OldCol && OnColChanging)
        OnColChanging(this, OldCol, ACol, Allow);
    if ((ARow != OldRow || ACol != OldCol) && OnCellChanging)
        OnCellChanging(this, OldRow, OldCol, ARow, ACol, Allow);
    if (!Allow)
        return false;

    const int RCol = RealColIndex(ACol);
    FRestoreText = Cells(RCol, ARow);

    // goEditing follows the cell. A grid that edits keeps wanting to after cells that may not
    // be edited, however many of them come in a row.
    const bool WasEditing = Options().Contains(goEditing);
    const bool Wanted = WasEditing || FEditingOff;
    FEditingOff = false;
    bool CanEdit = Wanted;
    if (CanEdit)
        CanEditCell(RCol, ARow, CanEdit);
    if (CanEdit) {
        if (!WasEditing) {
            FSkipRepaint = true;
            StartCellEdit(ACol, ARow);
            TGridOptions Opts = Options();
            Opts.Include(goEditing);
            SetOptions(Opts);
            FSkipRepaint = false;
        }
        if (FEditControlShown) {
            HideEditorControl();
            if (CanFocus())
                SetFocus();
        }
    } else if (Wanted) {
        FEditingOff = true;
        if (WasEditing) {
            FSkipRepaint = true;
            TGridOptions Opts = Options();
            Opts.Exclude(goEditing);
            SetOptions(Opts);
            FSkipRepaint = false;
        }
    }

    // A fixed cell is refused before a pending edit is ended, so that the edit stays pending.
    bool Result = !IsFixed(RCol, ARow);
    if (Result && FEditPending)
        Result = ValidateCell(CurrentCellText());
    Result = Result && TStringGrid::SelectCell(ACol, ARow);

    // The row indicator and the highlighted headings follow the current cell.
    if (FixedCols() > 0) {
        RepaintCell(0, OldRow);
        RepaintCell(0, ARow);
    }
    if (FActiveCellShow) {
        RepaintCell(OldCol, 0);
        RepaintCell(0, OldRow);
        RepaintCell(ACol, 0);
        RepaintCell(0, ARow);
    }
    return Result;
}

bool TAdvStringGrid::CanEditShow()
{
    if (FValidating)
        return false;
    bool Result = TStringGrid::CanEditShow();
    if (!Result || ComponentState().Contains(csDesigning))
        return Result;
    if (!FEditControlShown) {
        FRestoreText = CurrentCellText();
        FEditorType = etNormal;
        GetCellEditor(RealCol(), Row(), FEditorType);
        if (!UsesInplaceEditor(FEditorType)) {
            ShowEditorControl(Col(), Row());
            FGridShownEditor = true;
            Result = false;
        }
    }
    if (Result) {
        // An edit begins: its starting text is the cell's text now.
        if (!FEditPending)
            StartCellEdit(Col(), Row());
        FGridShownEditor = true;
        FEditPending = true;
        if (auto* Editor = dynamic_cast<TAdvInplaceEdit*>(InplaceEditor())) {
            TAlignment Alignment = taLeftJustify;
            const std::string Text = CurrentCellText();
            if (FAutoNumAlign && !Text.empty() && NumberTextKind(Text) < 2)
                Alignment = taRightJustify;
            GetCellAlignment(RealCol(), Row(), Alignment);
            Editor->SetVAlign(Alignment == taRightJustify);
        }
    }
    return Result;
}

TInplaceEdit* TAdvStringGrid::CreateEditor()
{
    auto* Editor = new TAdvInplaceEdit(this);
    Editor->SetWordWrap(FWordWrap);
    return Editor;
}

void TAdvStringGrid::Click()
{
    TStringGrid::Click();
    FGridShownEditor = false;
    StartCellEdit(Col(), Row());
}

// ---- moving on ------------------------------------------------------------------------------

void TAdvStringGrid::AdvanceCell(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force)
{
    if (!FNavigation->AdvanceOnEnter && !Force)
        return;
    const bool Across = FNavigation->AdvanceDirection == adLeftRight;
    const int FirstRow = FixedRows();
    const int FirstCol = FixedCols();
    auto LastRow = [this] { return RowCount() - FFixedFooters - 1; };
    auto LastCol = [this] { return ColCount() - FFixedRightCols - 1; };
    if (LastRow() < FirstRow || LastCol() < FirstCol) {
        if (ShowEditor)
            TCustomGrid::ShowEditor();
        return;
    }

    // One pass over the data cells, and at most one row or column added: a grid whose cells
    // are never editable ends the search instead of growing or circling without end.
    int Steps = (LastRow() - FirstRow + 1) * (LastCol() - FirstCol + 1);
    bool Added = false;
    bool Found = false;
    int C = ACol;
    int R = ARow;
    for (int Step = 0; Step < Steps; ++Step) {
        bool Stop = false;
        if (Forward && Across) {
            if (C < LastCol())
                ++C;
            else if (R < LastRow()) {
                ++R;
                C = FirstCol;
            } else if (!FNavigation->AdvanceInsert) {
                R = FirstRow;
                C = FirstCol;
            } else {
                bool CanAdd = !Added;
                if (CanAdd && OnCanAddRow)
                    OnCanAddRow(this, CanAdd);
                if (!CanAdd) {
                    Stop = true;
                } else {
                    SetRowCount(RowCount() + 1);
                    Added = true;
                    Steps += LastCol() - FirstCol + 1;
                    R = LastRow();
                    C = FirstCol;
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, LastRow());
                }
            }
        } else if (Forward) {
            if (R < LastRow())
                ++R;
            else if (C < LastCol()) {
                ++C;
                R = FirstRow;
            } else if (!FNavigation->AdvanceInsert) {
                R = FirstRow;
                C = FirstCol;
                Invalidate();
            } else if (Added) {
                Stop = true;
            } else {
                SetColCount(ColCount() + 1);
                Added = true;
                Steps += LastRow() - FirstRow + 1;
                C = LastCol();
                R = FirstRow;
                if (OnAutoInsertCol)
                    OnAutoInsertCol(this, LastCol());
                Invalidate();
            }
        } else if (Across) {
            if (C > FirstCol)
                --C;
            else {
                C = LastCol();
                R = R > FirstRow ? R - 1 : LastRow();
            }
        } else {
            if (R > FirstRow)
                --R;
            else {
                R = LastRow();
                C = C > FirstCol ? C - 1 : LastCol();
            }
        }
        if (Stop)
            break;
        if (CellEditable(RealColIndex(C), R)) {
            Found = true;
            break;
        }
    }
    if (Found) {
        SetRow(R);
        // A refused move (a value that did not validate) leaves the column alone too.
        if (Row() == R)
            SetCol(C);
    }
    if (ShowEditor)
        TCustomGrid::ShowEditor();
}

void TAdvStringGrid::LeaveEditor(Word Key, TShiftState Shift)
{
    struct TMark {
        TAdvStringGrid* Grid;
        bool AlwaysEdit;
        ~TMark()
        {
            Grid->FNavigation->AlwaysEdit = AlwaysEdit;
            Grid->FLeavingEditor = false;
        }
    } Mark{this, FNavigation->AlwaysEdit};
    FLeavingEditor = true;
    HideEditorControl();
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
        Word K = Key;
        KeyDown(K, Shift);
    }
    FNavigation->AlwaysEdit = false;
    if (CanFocus())
        SetFocus();
    if (Key == VK_RETURN)
        AdvanceCell(Col(), Row(), true, true, false);
}

// ---- typing on the grid ---------------------------------------------------------------------

int TAdvStringGrid::FindRowByPrefix(const std::string& Text)
{
    if (RowCount() < 2)
        return -1;
    const int SearchCol = FSortShow ? FSortColumn : 1;
    for (int R = FixedRows(); R < RowCount(); ++R) {
        const std::string Cell = AnsiUpperCase(Cells(SearchCol, R));
        if (Cell.compare(0, Text.size(), Text) == 0)
            return R;
    }
    return -1;
}

void TAdvStringGrid::KeyPress(char& Key)
{
    const auto Ch = static_cast<unsigned char>(Key);
    if (Ch == 27 && Options().Contains(goEditing))
        RestoreCellText();
    if (Ch == 13 && !Focused())
        AdvanceCell(Col(), Row(), true, false, false);
    // Typing on a grid that does not edit goes to the row whose cell starts with it; control
    // characters other than Backspace are no part of a search.
    if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted &&
        (Ch >= 32 || Ch == 8)) {
        if (!FNavigation->AutoGotoIncremental)
            FSearchInc = Ch == 8 ? std::string() : std::string(1, Key);
        else if (Ch == 8) {
            if (!FSearchInc.empty())
                FSearchInc.pop_back();
        } else
            FSearchInc += Key;
        if (!FSearchInc.empty()) {
            const int Found = FindRowByPrefix(AnsiUpperCase(FSearchInc));
            if (Found >= 0)
                SetRow(Found);
        }
    }
    TStringGrid::KeyPress(Key);
}
