// The grid's virtual operations that answer by events, and the plain row and column operations
// on the base grid's storage.
#include "controls/grid/advgrid.h"

#include "controls/grid/advutil.h"

#include <algorithm>

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

void TAdvStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int C = ACol1; C <= ACol2; ++C)
        for (int R = ARow1; R <= ARow2; ++R) {
            TObject* Object = Objects(C, R);
            if (dynamic_cast<TCellGraphic*>(Object) != nullptr) {
                SetObjects(C, R, nullptr);
                delete Object;
            }
            SetCells(C, R, "");
        }
}

void TAdvStringGrid::ClearAllCells()
{
    ClearRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
}

void TAdvStringGrid::RemoveRows(int ARow, int ACount)
{
    if (ACount <= 0 || ARow < 0 || ARow >= RowCount())
        return;
    ACount = std::min(ACount, RowCount() - ARow);
    int AllCols = ColCount() + FNumHidden;
    ClearRect(0, ARow, AllCols - 1, ARow + ACount - 1);
    // Move the cleared rows to the end, then cut them off.
    for (int I = 0; I < ACount; ++I)
        TStringGrid::MoveRow(ARow, RowCount() - 1);
    SetRowCount(RowCount() - ACount);
}

void TAdvStringGrid::DeleteRows(int ARow, int ACount)
{
    RemoveRows(ARow, ACount);
}

void TAdvStringGrid::InsertRows(int ARow, int ACount)
{
    if (ACount <= 0 || ARow < 0 || ARow > RowCount())
        return;
    int OldCount = RowCount();
    SetRowCount(OldCount + ACount);
    // Rows kept beyond the old count come back empty.
    ClearRect(0, OldCount, ColCount() + FNumHidden - 1, OldCount + ACount - 1);
    for (int I = 0; I < ACount; ++I)
        TStringGrid::MoveRow(RowCount() - 1, ARow);
}

void TAdvStringGrid::DeleteColumns(int ACol, int ACount)
{
    if (ACount <= 0 || ACol < 0 || ACol >= ColCount())
        return;
    ACount = std::min(ACount, ColCount() - ACol);
    ClearRect(ACol, 0, ACol + ACount - 1, RowCount() - 1);
    for (int I = 0; I < ACount; ++I)
        TStringGrid::MoveColumn(ACol, ColCount() - 1);
    SetColCount(ColCount() - ACount);
}

void TAdvStringGrid::InsertColumns(int ACol, int ACount)
{
    if (ACount <= 0 || ACol < 0 || ACol > ColCount())
        return;
    int OldCount = ColCount();
    SetColCount(OldCount + ACount);
    ClearRect(OldCount, 0, OldCount + ACount - 1, RowCount() - 1);
    for (int I = 0; I < ACount; ++I)
        TStringGrid::MoveColumn(ColCount() - 1, ACol);
}

void TAdvStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    TStringGrid::MoveRow(FromIndex, ToIndex);
}

void TAdvStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    TStringGrid::MoveColumn(FromIndex, ToIndex);
}
