// Hidden rows (kept as TGridItem items in HiddenRowList) and the row filter that hides the rows
// not matching Filter.
#include "controls/grid/advgrid.h"

#include <algorithm>
#include <vector>

namespace {

TGridItem* HiddenItem(TCollection* List, int Index)
{
    return static_cast<TGridItem*>(List->Items(Index));
}

} // namespace

TAdvStringGrid::THiddenRowGraphics::~THiddenRowGraphics()
{
    TCollection* List = Grid->FHiddenRowList.get();
    if (List == nullptr)
        return;
    for (int I = 0; I < List->Count(); ++I) {
        TStrings* Cells = HiddenItem(List, I)->Items();
        for (int C = 0; C < Cells->Count(); ++C)
            if (auto Graphic = dynamic_cast<TCellGraphic*>(Cells->Objects(C))) {
                Cells->SetObjects(C, nullptr);
                delete Graphic;
            }
    }
}

bool TAdvStringGrid::IsHiddenRow(int ARow) const
{
    for (int I = 0; I < FHiddenRowList->Count(); ++I)
        if (HiddenItem(FHiddenRowList.get(), I)->Idx() == ARow)
            return true;
    return false;
}

int TAdvStringGrid::RealRowIndex(int ARow) const
{
    std::vector<int> Hidden;
    for (int I = 0; I < FHiddenRowList->Count(); ++I)
        Hidden.push_back(HiddenItem(FHiddenRowList.get(), I)->Idx());
    std::sort(Hidden.begin(), Hidden.end());
    Hidden.erase(std::unique(Hidden.begin(), Hidden.end()), Hidden.end());
    int Real = ARow;
    for (int H : Hidden) {
        if (H > Real)
            break;
        ++Real;
    }
    return Real;
}

int TAdvStringGrid::DisplRowIndex(int ARow) const
{
    int Below = 0;
    for (int I = 0; I < FHiddenRowList->Count(); ++I)
        if (HiddenItem(FHiddenRowList.get(), I)->Idx() < ARow)
            ++Below;
    return ARow - Below;
}

void TAdvStringGrid::HideRowRange(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow || IsHiddenRow(FromRow))
        return;
    // Hidden rows inside the range split it into runs of rows that still show.
    int R = FromRow;
    while (R <= ToRow) {
        if (IsHiddenRow(R)) {
            ++R;
            continue;
        }
        int Displ = DisplRowIndex(R);
        if (Displ >= RowCount())
            return;
        int End = R;
        while (End < ToRow && !IsHiddenRow(End + 1) && Displ + (End + 1 - R) < RowCount())
            ++End;
        HideRun(R, End, Displ);
        R = End + 1;
    }
}

void TAdvStringGrid::HideRun(int FromRow, int ToRow, int DisplRow)
{
    int Cols = AllColCount();
    for (int R = FromRow; R <= ToRow; ++R) {
        auto Item = static_cast<TGridItem*>(FHiddenRowList->Add());
        Item->SetIdx(R);
        int Source = DisplRow + (R - FromRow);
        for (int C = 0; C < Cols; ++C) {
            Item->Items()->AddObject(Cells(C, Source), Objects(C, Source));
            // The item owns the object now.
            SetObjects(C, Source, nullptr);
        }
    }
    RemoveRowsAt(DisplRow, ToRow - FromRow + 1, false);
}

void TAdvStringGrid::UnHideRowRange(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow || !IsHiddenRow(FromRow))
        return;
    std::vector<int> Hidden;
    for (int I = 0; I < FHiddenRowList->Count(); ++I) {
        int Idx = HiddenItem(FHiddenRowList.get(), I)->Idx();
        if (Idx >= FromRow && Idx <= ToRow)
            Hidden.push_back(Idx);
    }
    std::sort(Hidden.begin(), Hidden.end());
    Hidden.erase(std::unique(Hidden.begin(), Hidden.end()), Hidden.end());
    // Rows that show inside the range split it into runs of consecutive hidden rows.
    std::size_t I = 0;
    while (I < Hidden.size()) {
        std::size_t J = I;
        while (J + 1 < Hidden.size() && Hidden[J + 1] == Hidden[J] + 1)
            ++J;
        ShowRun(Hidden[I], Hidden[J]);
        I = J + 1;
    }
}

void TAdvStringGrid::ShowRun(int FromRow, int ToRow)
{
    // Never beyond the last row, so that no hidden row is lost when rows went meanwhile.
    int Displ = std::min(DisplRowIndex(FromRow), RowCount());
    InsertRowsAt(Displ, ToRow - FromRow + 1, false);
    for (int I = FHiddenRowList->Count() - 1; I >= 0; --I) {
        TGridItem* Item = HiddenItem(FHiddenRowList.get(), I);
        if (Item->Idx() < FromRow || Item->Idx() > ToRow)
            continue;
        int Target = Displ + (Item->Idx() - FromRow);
        TStrings* Saved = Item->Items();
        for (int C = 0; C < Saved->Count(); ++C) {
            SetCells(C, Target, Saved->Strings(C));
            SetObjects(C, Target, Saved->Objects(C));
        }
        FHiddenRowList->Delete(I);
    }
}

void TAdvStringGrid::UnHideAllRows()
{
    while (FHiddenRowList->Count() > 0) {
        int First = HiddenItem(FHiddenRowList.get(), 0)->Idx();
        int Last = First;
        for (int I = 1; I < FHiddenRowList->Count(); ++I) {
            if (HiddenItem(FHiddenRowList.get(), I)->Idx() != Last + 1)
                break;
            ++Last;
        }
        int Before = FHiddenRowList->Count();
        UnHideRowRange(First, Last);
        // An item that cannot be placed (a negative index) is given up rather than looped on.
        if (FHiddenRowList->Count() == Before)
            FHiddenRowList->Delete(0);
    }
}

// Keeps the first matching row of each stretch and hides the non-matching run before it.
void TAdvStringGrid::ApplyFilter()
{
    int R = FixedRows();
    while (R < RowCount() - FFixedFooters) {
        if (MatchFilter(R)) {
            ++R;
            continue;
        }
        int Last = R;
        while (Last + 1 < RowCount() - FFixedFooters && !MatchFilter(Last + 1))
            ++Last;
        int FirstReal = RealRowIndex(R);
        HideRowRange(FirstReal, RealRowIndex(Last));
        // The row that ended the run has moved up to the run's place.
        R = DisplRowIndex(FirstReal) + 1;
    }
}

void TAdvStringGrid::SetFilterActive(bool Value)
{
    if (Value == FFilterActive)
        return;
    FFilterActive = Value;
    int Fixed = TStringGrid::FixedRows();
    if (Value) {
        ApplyFilter();
        if (RowCount() <= Fixed + FFixedFooters) {
            // The placeholder goes before the footer rows.
            InsertRowsAt(std::min(Fixed, RowCount()), 1, false);
            FFilterPlaceholder = true;
            if (Fixed < RowCount())
                SetFixedRows(Fixed);
        }
        return;
    }
    if (FFilterPlaceholder && RowCount() - Fixed - FFixedFooters == 1)
        RemoveRowsAt(Fixed, 1, false);
    FFilterPlaceholder = false;
    UnHideAllRows();
    if (Fixed < RowCount())
        SetFixedRows(Fixed);
}
