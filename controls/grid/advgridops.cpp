// The grid's virtual operations that answer by events, and the plain row and column operations
// on the base grid's storage.
#include "controls/grid/advgrid.h"

#include "controls/grid/advutil.h"

#include <algorithm>
#include <limits>

std::string TAdvStringGrid::EllipsClick(const std::string& AValue)
{
    std::string S = AValue;
    if (OnEllipsClick)
        OnEllipsClick(this, RealCol(), Row(), S);
    return S;
}

bool TAdvStringGrid::MatchFilter(int ARow)
{
    for (int I = 0; I < FFilter->Count(); ++I) {
        TFilterData* Item = FFilter->Items(I);
        if (!MatchFilterCondition(Item->Condition(), Cells(Item->Column(), ARow),
                                  Item->CaseSensitive()))
            return false;
    }
    return true;
}

void TAdvStringGrid::PasteNotify(TPoint, TGridRect, bool) {}

std::string TAdvStringGrid::GetDisplText(int ACol, int ARow)
{
    return Cells(ACol, ARow);
}

void TAdvStringGrid::CellValueChanging(int, int) {}

void TAdvStringGrid::CellsChanged(TRect R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    // A listener may remove itself while it is told.
    std::vector<TGridChangeListener*> Listeners = FListeners;
    for (TGridChangeListener* Listener : Listeners)
        if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end())
            Listener->GridCellsChanged(this, R);
}

void TAdvStringGrid::AfterCellsLoaded() {}

void TAdvStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& AAlignment)
{
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, AAlignment);
}

void TAdvStringGrid::GetColumnFormat(int ACol, TSortStyle& AStyle, std::string& aPrefix,
                                     std::string& aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TAdvStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TAdvStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = (FFixedRowAlways && ARow == 0 && RowCount() == 1) ||
              (FFixedColAlways && ACol == 0 && ColCount() == 1);
    if (OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TAdvStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TAdvStringGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

int TAdvStringGrid::GetVersionNr()
{
    constexpr int Major = 1;
    constexpr int Minor = 92;
    return Major | (Minor << 16);
}

std::string TAdvStringGrid::GetVersionString()
{
    return "1.92 April 27, 2001";
}

// ---- rows and columns ------------------------------------------------------------------------
// Row indexes are display rows; column indexes are real columns (hidden ones included).

namespace {

void FreeGraphic(TStrings* Cells, int Index)
{
    if (auto Graphic = dynamic_cast<TCellGraphic*>(Cells->Objects(Index))) {
        Cells->SetObjects(Index, nullptr);
        delete Graphic;
    }
}

} // namespace

void TAdvStringGrid::ClearCells(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int C = std::max(ACol1, 0); C <= ACol2; ++C)
        for (int R = std::max(ARow1, 0); R <= ARow2; ++R) {
            // The grid owns its cell graphics, whether or not they are shown.
            RemoveCellGraphic(C, R);
            if (!Cells(C, R).empty())
                SetCells(C, R, "");
        }
}

void TAdvStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    ClearCells(ACol1, ARow1, ACol2, ARow2);
    CellsChanged(TRect{ACol1, ARow1, ACol2, ARow2});
}

void TAdvStringGrid::ClearAllCells()
{
    ClearCells(0, 0, AllColCount() - 1, RowCount() - 1);
}

void TAdvStringGrid::ClearRows(int ARow, int ACount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0 || ARow < 0 || ARow >= RowCount())
        return;
    ClearRect(0, ARow, AllColCount() - 1, ARow + std::min(ACount, RowCount() - ARow) - 1);
}

void TAdvStringGrid::ClearCols(int ACol, int ACount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0 || ACol < 0 || ACol >= AllColCount())
        return;
    ClearRect(ACol, 0, ACol + std::min(ACount, AllColCount() - ACol) - 1, RowCount() - 1);
}

void TAdvStringGrid::ClearAll()
{
    if (RowCount() <= 0 || ColCount() <= 0)
        return;
    ClearRect(0, 0, AllColCount() - 1, RowCount() - 1);
}

void TAdvStringGrid::CopyRowCells(int FromRow, int ToRow)
{
    for (int C = 0; C < AllColCount(); ++C) {
        SetCells(C, ToRow, Cells(C, FromRow));
        SetObjects(C, ToRow, Objects(C, FromRow));
    }
    SetRowHeights(ToRow, RowHeights(FromRow));
}

void TAdvStringGrid::ShiftRowsUp(int ARow, int ACount)
{
    int OldCount = RowCount();
    int Cols = AllColCount();
    ClearCells(0, ARow, Cols - 1, ARow + ACount - 1);
    for (int R = ARow; R < OldCount - ACount; ++R)
        CopyRowCells(R + ACount, R);
    // The rows past the end keep nothing: their objects moved up.
    for (int R = OldCount - ACount; R < OldCount; ++R)
        for (int C = 0; C < Cols; ++C) {
            SetObjects(C, R, nullptr);
            SetCells(C, R, "");
        }
    if (static_cast<int>(FRowSelect.size()) > ARow) {
        auto First = FRowSelect.begin() + ARow;
        FRowSelect.erase(First, First + std::min<std::ptrdiff_t>(ACount, FRowSelect.end() - First));
    }
    int LastWidth = ColWidths(ColCount() - 1);
    SetRowCount(OldCount - ACount);
    if (ColWidths(ColCount() - 1) != LastWidth)
        SetColWidths(ColCount() - 1, LastWidth);
}

void TAdvStringGrid::RenumberHiddenAfterDelete(int ARow, int ACount)
{
    if (FHiddenRowList->Count() == 0)
        return;
    std::vector<int> Gone;
    for (int R = ARow; R < ARow + ACount; ++R)
        Gone.push_back(RealRowIndex(R));
    for (int I = 0; I < FHiddenRowList->Count(); ++I) {
        auto Item = static_cast<TGridItem*>(FHiddenRowList->Items(I));
        int Below = static_cast<int>(
            std::count_if(Gone.begin(), Gone.end(), [Item](int G) { return G < Item->Idx(); }));
        Item->SetIdx(Item->Idx() - Below);
    }
}

void TAdvStringGrid::RemoveRowsAt(int ARow, int ACount, bool AdjustHidden)
{
    if (ACount <= 0 || ARow < 0 || ARow >= RowCount())
        return;
    ACount = std::min(ACount, RowCount() - ARow);
    if (AdjustHidden)
        RenumberHiddenAfterDelete(ARow, ACount);
    int OldRow = Row();
    int OldTop = TopRow();
    BeginUpdate();
    try {
        ShiftRowsUp(ARow, ACount);
        if (OldRow < RowCount()) {
            if (Row() != OldRow)
                SetRow(OldRow);
            if (OldTop < RowCount() && TopRow() != OldTop)
                SetTopRow(OldTop);
        } else if (FixedRows() < RowCount()) {
            SetRow(FixedRows());
            SetTopRow(FixedRows());
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(TRect{0, ARow, ColCount() - 1, ARow + ACount});
}

void TAdvStringGrid::RemoveRows(int ARow, int ACount)
{
    RemoveRowsAt(ARow, ACount, true);
}

void TAdvStringGrid::DeleteRows(int ARow, int ACount)
{
    if (ACount <= 0 || ARow < 0 || ARow >= RowCount())
        return;
    ACount = std::min(ACount, RowCount() - ARow);
    RenumberHiddenAfterDelete(ARow, ACount);
    int OldRow = Row();
    int OldTop = TopRow();
    bool ShownEditor = FGridShownEditor;
    FGridShownEditor = false;
    BeginUpdate();
    try {
        ShiftRowsUp(ARow, ACount);
        if (OldRow < RowCount() - FFixedFooters) {
            if (Row() != OldRow)
                SetRow(OldRow);
            if (OldTop < RowCount() && TopRow() != OldTop)
                SetTopRow(OldTop);
        } else if (RowCount() - FFixedFooters - 1 >= FixedRows()) {
            SetRow(RowCount() - FFixedFooters - 1);
        } else {
            HideSelection();
        }
    } catch (...) {
        EndUpdate();
        FGridShownEditor = ShownEditor;
        throw;
    }
    EndUpdate();
    FGridShownEditor = ShownEditor;
    CellsChanged(TRect{0, ARow, ColCount() - 1, ARow + ACount});
    if (TopRow() >= RowCount() - 1 && RowCount() - 1 >= FixedRows())
        SetTopRow(RowCount() - 1);
}

void TAdvStringGrid::InsertRowsAt(int ARow, int ACount, bool AdjustHidden)
{
    // ARow may be RowCount: the rows are appended.
    if (ACount <= 0 || ARow < 0 || ARow > RowCount() ||
        ACount > std::numeric_limits<int>::max() - RowCount())
        return;
    if (AdjustHidden && FHiddenRowList->Count() > 0) {
        int Real = RealRowIndex(ARow);
        for (int I = 0; I < FHiddenRowList->Count(); ++I) {
            auto Item = static_cast<TGridItem*>(FHiddenRowList->Items(I));
            if (Item->Idx() >= Real)
                Item->SetIdx(Item->Idx() + ACount);
        }
    }
    int OldCount = RowCount();
    int LastWidth = ColWidths(ColCount() - 1);
    SetRowCount(OldCount + ACount);
    for (int R = RowCount() - 1; R >= ARow + ACount; --R)
        CopyRowCells(R - ACount, R);
    for (int R = ARow; R < ARow + ACount; ++R) {
        SetRowHeights(R, DefaultRowHeight());
        // Their objects moved down; cleared whether or not graphics show.
        for (int C = 0; C < AllColCount(); ++C)
            SetObjects(C, R, nullptr);
    }
    if (static_cast<int>(FRowSelect.size()) > ARow)
        FRowSelect.insert(FRowSelect.begin() + ARow, static_cast<std::size_t>(ACount), false);
    ClearRows(ARow, ACount);
    if (ColWidths(ColCount() - 1) != LastWidth)
        SetColWidths(ColCount() - 1, LastWidth);
}

void TAdvStringGrid::InsertRows(int ARow, int ACount)
{
    InsertRowsAt(ARow, ACount, true);
}

void TAdvStringGrid::RemoveSelectedRows()
{
    BeginUpdate();
    try {
        int R = FixedRows();
        while (R < RowCount()) {
            if (!RowSelected(R)) {
                ++R;
                continue;
            }
            int Before = RowCount();
            DeleteRows(R, 1);
            // The last row of a grid cannot go; its flag is dropped all the same.
            if (RowCount() == Before)
                ++R;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- columns ---------------------------------------------------------------------------------

std::vector<TAdvStringGrid::TColumnSlot> TAdvStringGrid::ColumnLayout() const
{
    std::vector<TColumnSlot> Layout(static_cast<std::size_t>(AllColCount()));
    for (int C = 0; C < AllColCount(); ++C) {
        TColumnSlot& Slot = Layout[static_cast<std::size_t>(C)];
        Slot.Visible = IsColumnVisible(C);
        Slot.Width = Slot.Visible ? ColWidths(DisplColIndex(C))
                                  : FRememberedWidths[static_cast<std::size_t>(C)];
    }
    return Layout;
}

void TAdvStringGrid::ApplyColumnLayout(const std::vector<TColumnSlot>& Layout)
{
    FVisibleCol.fill(true);
    FNumHidden = 0;
    std::vector<int> Widths;
    for (std::size_t C = 0; C < Layout.size(); ++C) {
        // A column beyond the map cannot stay hidden.
        if (!Layout[C].Visible && C < FVisibleCol.size()) {
            FVisibleCol[C] = false;
            FRememberedWidths[C] = static_cast<std::int16_t>(std::min(Layout[C].Width, 32767));
            ++FNumHidden;
        } else {
            Widths.push_back(Layout[C].Width);
        }
    }
    SetColCount(static_cast<int>(Widths.size()));
    for (std::size_t D = 0; D < Widths.size() && static_cast<int>(D) < ColCount(); ++D)
        if (ColWidths(static_cast<int>(D)) != Widths[D])
            SetColWidths(static_cast<int>(D), Widths[D]);
    Invalidate();
}

void TAdvStringGrid::DeleteColumns(int ACol, int ACount)
{
    int Total = AllColCount();
    if (ACount <= 0 || ACol < 0 || ACol >= Total)
        return;
    ACount = std::min(ACount, Total - ACol);
    std::vector<TColumnSlot> Layout = ColumnLayout();
    Layout.erase(Layout.begin() + ACol, Layout.begin() + ACol + ACount);
    // Hidden columns never become the grid's only columns.
    if (FNumHidden > 0 &&
        std::none_of(Layout.begin(), Layout.end(), [](const TColumnSlot& S) { return S.Visible; }))
        return;
    ClearCols(ACol, ACount);
    int Rows = RowCount();
    for (int C = ACol; C < Total - ACount; ++C)
        for (int R = 0; R < Rows; ++R) {
            SetCells(C, R, Cells(C + ACount, R));
            SetObjects(C, R, Objects(C + ACount, R));
        }
    for (int C = Total - ACount; C < Total; ++C)
        for (int R = 0; R < Rows; ++R) {
            SetObjects(C, R, nullptr);
            SetCells(C, R, "");
        }
    for (int I = 0; I < FHiddenRowList->Count(); ++I) {
        TStrings* Saved = static_cast<TGridItem*>(FHiddenRowList->Items(I))->Items();
        for (int N = 0; N < ACount && ACol < Saved->Count(); ++N) {
            FreeGraphic(Saved, ACol);
            Saved->Delete(ACol);
        }
    }
    ApplyColumnLayout(Layout);
    CellsChanged(TRect{ACol, 0, ACol + ACount, RowCount() - 1});
}

void TAdvStringGrid::InsertColumns(int ACol, int ACount)
{
    int Total = AllColCount();
    if (ACount <= 0 || ACol < 0 || ACol > Total || ACount > std::numeric_limits<int>::max() - Total)
        return;
    std::vector<TColumnSlot> Layout = ColumnLayout();
    TColumnSlot Fresh;
    Fresh.Width = DefaultColWidth();
    Layout.insert(Layout.begin() + ACol, static_cast<std::size_t>(ACount), Fresh);
    // Refused when it would push a hidden column beyond the columns that can be hidden.
    for (std::size_t C = FVisibleCol.size(); C < Layout.size(); ++C)
        if (!Layout[C].Visible)
            return;
    int Rows = RowCount();
    for (int C = Total + ACount - 1; C >= ACol + ACount; --C)
        for (int R = 0; R < Rows; ++R) {
            SetCells(C, R, Cells(C - ACount, R));
            SetObjects(C, R, Objects(C - ACount, R));
        }
    for (int C = ACol; C < ACol + ACount; ++C)
        for (int R = 0; R < Rows; ++R)
            SetObjects(C, R, nullptr);
    for (int I = 0; I < FHiddenRowList->Count(); ++I) {
        TStrings* Saved = static_cast<TGridItem*>(FHiddenRowList->Items(I))->Items();
        for (int N = 0; N < ACount && ACol <= Saved->Count(); ++N)
            Saved->Insert(ACol, "");
    }
    ApplyColumnLayout(Layout);
    ClearCols(ACol, ACount);
}

void TAdvStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    int RealFrom = RealColIndex(FromIndex);
    int RealTo = RealColIndex(ToIndex);
    std::vector<TColumnSlot> Layout;
    if (FNumHidden > 0) {
        // The base grid has moved the display widths already: take the layout from before.
        Layout = ColumnLayout();
        std::vector<int> Widths;
        for (int D = 0; D < ColCount(); ++D)
            Widths.push_back(ColWidths(D));
        int Moved = Widths[static_cast<std::size_t>(ToIndex)];
        Widths.erase(Widths.begin() + ToIndex);
        Widths.insert(Widths.begin() + FromIndex, Moved);
        for (std::size_t C = 0, D = 0; C < Layout.size(); ++C)
            if (Layout[C].Visible)
                Layout[C].Width = Widths[D++];
        TColumnSlot Slot = Layout[static_cast<std::size_t>(RealFrom)];
        Layout.erase(Layout.begin() + RealFrom);
        Layout.insert(Layout.begin() + RealTo, Slot);
    }
    TStringGrid::ColumnMoved(RealFrom, RealTo);
    for (int I = 0; I < FHiddenRowList->Count(); ++I) {
        TStrings* Saved = static_cast<TGridItem*>(FHiddenRowList->Items(I))->Items();
        if (std::max(RealFrom, RealTo) >= Saved->Count())
            continue;
        std::string Text = Saved->Strings(RealFrom);
        TObject* Object = Saved->Objects(RealFrom);
        Saved->Delete(RealFrom);
        Saved->InsertObject(RealTo, Text, Object);
    }
    if (FNumHidden > 0)
        ApplyColumnLayout(Layout);
    FColumnMovedFlag = true;
    int Sort = FSortColumn;
    if (Sort == FromIndex)
        Sort = ToIndex;
    else if (FromIndex < Sort && Sort <= ToIndex)
        --Sort;
    else if (ToIndex <= Sort && Sort < FromIndex)
        ++Sort;
    SetSortColumn(Sort);
}

void TAdvStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    TStringGrid::RowMoved(FromIndex, ToIndex);
    if (!FEnhRowColMove)
        return;
    int Height = RowHeights(FromIndex);
    SetRowHeights(FromIndex, RowHeights(ToIndex));
    SetRowHeights(ToIndex, Height);
    FColumnMovedFlag = true;
}

void TAdvStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    TStringGrid::MoveRow(FromIndex, ToIndex);
}

void TAdvStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    TStringGrid::MoveColumn(FromIndex, ToIndex);
}
