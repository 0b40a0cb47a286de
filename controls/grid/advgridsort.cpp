// Sorting the grid's data rows by one column or by the sort index, swapping two rows, and the
// update count that holds painting back meanwhile. A sort orders a permutation of the rows with
// a stable merge sort and moves the rows once at the end, so a compare handler that answers
// inconsistently or raises can neither lose rows nor leave them half sorted.
#include "controls/grid/advgridsortint.h"

#include "platform/rtl/mergesort.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"

#include <algorithm>
#include <numeric>
#include <utility>

void TAdvStringGrid::BeginUpdate()
{
    ++FUpdateCount;
}

void TAdvStringGrid::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount == 0 && HandleAllocated())
        ::InvalidateRect(WindowHandle(), nullptr, false);
}

void TAdvStringGrid::WMEraseBkgnd(TMessage& Message)
{
    if (FUpdateCount > 0) {
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TAdvStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        return;
    const int Cols = ColCount() + NumHiddenColumns();
    if (FSortSingleColumn) {
        const std::string Text = Cells(FSortColumn, ARow1);
        SetCells(FSortColumn, ARow1, Cells(FSortColumn, ARow2));
        SetCells(FSortColumn, ARow2, Text);
        return;
    }
    for (int C = 0; C < Cols; ++C) {
        const std::string Text = Cells(C, ARow1);
        TObject* Object = Objects(C, ARow1);
        SetCells(C, ARow1, Cells(C, ARow2));
        SetObjects(C, ARow1, Objects(C, ARow2));
        SetCells(C, ARow2, Text);
        SetObjects(C, ARow2, Object);
    }
    const int Height1 = RowHeights(ARow1);
    const int Height2 = RowHeights(ARow2);
    if (Height1 != Height2) {
        SetRowHeights(ARow1, Height2);
        SetRowHeights(ARow2, Height1);
    }
    if (MouseActions()->DisjunctRowSelect) {
        const bool Selected1 = RowSelected(ARow1);
        SetRowSelected(ARow1, RowSelected(ARow2));
        SetRowSelected(ARow2, Selected1);
    }
}

void TAdvStringGrid::SortByColumn()
{
    FSortIndexes->Clear();
    const int Cols = ColCount() + NumHiddenColumns();
    if (FSortColumn < 0 || FSortColumn >= Cols)
        return;
    const bool Descending = FSortDirection == sdDescending;
    std::vector<TSortStep> Steps;
    const int LastStep = FSortFull ? Cols - 1 : FSortColumn;
    for (int C = FSortColumn; C <= LastStep; ++C)
        Steps.push_back(TSortStep{C, Descending});
    SortRows(Steps, FSortNormalCellsOnly && FixedCols() > 0);
}

void TAdvStringGrid::SortByIndex()
{
    if (FSortIndexes->Count() == 0)
        throw EAdvGridError("No indexes specified for indexed sort");
    const int Cols = ColCount() + NumHiddenColumns();
    const int Entries = FSortFull ? FSortIndexes->Count() : 1;
    std::vector<TSortStep> Steps;
    // A column outside the grid has nothing to compare.
    for (int I = 0; I < Entries; ++I) {
        const int C = FSortIndexes->SortColumns(I);
        if (C < Cols)
            Steps.push_back(TSortStep{C, !FSortIndexes->SortDirections(I)});
    }
    SortRows(Steps, false);
}

void TAdvStringGrid::SortRows(const std::vector<TSortStep>& Steps, bool KeepColumn0Texts)
{
    using namespace advgridsort;
    const int First = FixedRows();
    const int Last = RowCount() - FixedFooters() - 1;
    if (Steps.empty() || Last <= First)
        return;
    const int Count = Last - First + 1;
    const int Cols = ColCount() + NumHiddenColumns();
    const std::size_t Stride = static_cast<std::size_t>(Cols);

    BeginUpdate();
    try {
        // Every cell is read once, for its key and for the move.
        std::vector<std::string> Texts(static_cast<std::size_t>(Count) * Stride);
        for (int R = 0; R < Count; ++R)
            for (int C = 0; C < Cols; ++C)
                Texts[static_cast<std::size_t>(R) * Stride + static_cast<std::size_t>(C)] =
                    Cells(C, First + R);

        std::vector<std::vector<TCellKey>> Keys(Stride);
        std::vector<bool> Built(Stride, false);
        const auto KeysOf = [&](int C) -> const std::vector<TCellKey>& {
            const std::size_t At = static_cast<std::size_t>(C);
            if (!Built[At]) {
                std::vector<const std::string*> Column(static_cast<std::size_t>(Count));
                for (int R = 0; R < Count; ++R)
                    Column[static_cast<std::size_t>(R)] =
                        &Texts[static_cast<std::size_t>(R) * Stride + At];
                MakeColumnKeys(*this, C, First, Column, ColumnFormat(*this, C), Keys[At]);
                Built[At] = true;
            }
            return Keys[At];
        };

        std::vector<int> Order(static_cast<std::size_t>(Count));
        std::iota(Order.begin(), Order.end(), 0);
        MergeSort(Order, [&](int A, int B) {
            for (const TSortStep& Step : Steps) {
                const std::vector<TCellKey>& K = KeysOf(Step.Col);
                const int Result = CompareKeys(*this, Step.Col, K[static_cast<std::size_t>(A)],
                                               K[static_cast<std::size_t>(B)], First + A, First + B,
                                               Step.Descending);
                if (Result != 0)
                    return (Step.Descending ? -Result : Result) < 0;
            }
            return false;
        });

        // The permutation is known: move the rows once.
        const bool Single = FSortSingleColumn;
        const bool Disjunct = MouseActions()->DisjunctRowSelect;
        std::vector<TObject*> Objs;
        std::vector<int> Heights;
        std::vector<bool> Selected;
        if (!Single) {
            Objs.resize(Texts.size());
            Heights.resize(static_cast<std::size_t>(Count));
            for (int R = 0; R < Count; ++R) {
                for (int C = 0; C < Cols; ++C)
                    Objs[static_cast<std::size_t>(R) * Stride + static_cast<std::size_t>(C)] =
                        Objects(C, First + R);
                Heights[static_cast<std::size_t>(R)] = RowHeights(First + R);
                if (Disjunct)
                    Selected.push_back(RowSelected(First + R));
            }
        }
        for (int I = 0; I < Count; ++I) {
            const int Old = Order[static_cast<std::size_t>(I)];
            if (Old == I)
                continue;
            const int R = First + I;
            const std::size_t From = static_cast<std::size_t>(Old) * Stride;
            if (Single) {
                SetCells(FSortColumn, R, Texts[From + static_cast<std::size_t>(FSortColumn)]);
                continue;
            }
            for (int C = 0; C < Cols; ++C) {
                if (C > 0 || !KeepColumn0Texts)
                    SetCells(C, R, Texts[From + static_cast<std::size_t>(C)]);
                SetObjects(C, R, Objs[From + static_cast<std::size_t>(C)]);
            }
            if (RowHeights(R) != Heights[static_cast<std::size_t>(Old)])
                SetRowHeights(R, Heights[static_cast<std::size_t>(Old)]);
            if (Disjunct)
                SetRowSelected(R, Selected[static_cast<std::size_t>(Old)]);
        }

        // The cursor follows its row's data.
        const int Current = Row();
        if (Current >= First && Current <= Last) {
            const auto At = std::find(Order.begin(), Order.end(), Current - First);
            const int NewRow = First + static_cast<int>(At - Order.begin());
            if (NewRow != Current) {
                const bool Shown = FGridShownEditor;
                FGridShownEditor = false;
                try {
                    SetRow(NewRow);
                } catch (...) {
                    FGridShownEditor = Shown;
                    throw;
                }
                FGridShownEditor = Shown;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}
