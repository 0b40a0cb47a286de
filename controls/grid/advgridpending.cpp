// Interim bodies of operations whose real versions are being written in their own files; each
// block goes when its file lands. This file is empty, and removed, once all have.
#include "controls/grid/advgrid.h"

// editor controls
void TAdvStringGrid::ShowEditorControl(int, int) {}
void TAdvStringGrid::HideEditorControl() {}

// sorting
int TAdvStringGrid::CompareCells(int, int, int)
{
    return 0;
}
void TAdvStringGrid::SortByColumn() {}
void TAdvStringGrid::SortByIndex() {}
void TAdvStringGrid::SwapRows(int, int) {}
void TAdvStringGrid::BeginUpdate() {}
void TAdvStringGrid::EndUpdate() {}

// rows
void TAdvStringGrid::HideColumns(int, int) {}
void TAdvStringGrid::UnHideColumns(int, int) {}
void TAdvStringGrid::ClearRows(int, int) {}
void TAdvStringGrid::ClearCols(int, int) {}
void TAdvStringGrid::ClearAll() {}
void TAdvStringGrid::RemoveSelectedRows() {}

// clipboard
void TAdvStringGrid::CopyToClipboard() {}
void TAdvStringGrid::CutToClipboard() {}
void TAdvStringGrid::PasteFromClipboard() {}

// scroll bars
void TAdvStringGrid::UpdateVScrollBar() {}
void TAdvStringGrid::UpdateHScrollBar() {}

// hints and sizing
void TAdvStringGrid::AutoSizeCol(int) {}
void TAdvStringGrid::AutoSizeColGrow(int) {}
void TAdvStringGrid::AutoSizeRow(int) {}
void TAdvStringGrid::SetRowLines(int, int, int) {}
int TAdvStringGrid::MaxLineCount(int)
{
    return 1;
}
