// Interim bodies of operations whose real versions are being written in their own files; each
// block goes when its file lands. This file is empty, and removed, once all have.
#include "controls/grid/advgrid.h"

// editing
bool TAdvStringGrid::CellEditable(int ACol, int ARow)
{
    bool CanEdit = Options().Contains(goEditing);
    if (CanEdit)
        CanEditCell(ACol, ARow, CanEdit);
    return CanEdit;
}
void TAdvStringGrid::AdvanceCell(int, int, bool, bool, bool) {}
void TAdvStringGrid::LeaveEditor(Word, TShiftState) {}
void TAdvStringGrid::RestoreCellText() {}
std::string TAdvStringGrid::CurrentCellText()
{
    return Cells(RealCol(), Row());
}
void TAdvStringGrid::SetCurrentCellText(const std::string& Value)
{
    SetCells(RealCol(), Row(), Value);
}
