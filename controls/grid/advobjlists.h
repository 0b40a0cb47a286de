// controls/grid/advobjlists.h: the grid's integer lists: TIntList, which tells its owner about
// every change, and TSortIndexList, the columns of a multi-column sort with their directions.
#pragma once

#include "platform/rtl/list.h"

#include <cstdint>
#include <functional>

using TIntListChangeEvent = std::function<void(TObject* Sender, int Col, int Row)>;

// A list of 32-bit integers kept in the pointer slots of a TList. Col and Row say which cell or
// line the list belongs to; they are handed to OnChange.
class TIntList : public TList {
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

    int Items(int Index) const;
    // Both fire OnChange.
    void SetItems(int Index, int Value);
    int Add(int Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    TIntListChangeEvent OnChange;

private:
    void Changed();
    int FCol;
    int FRow;
};

// Entries: a column number in the low 31 bits, the top bit set for a descending sort.
class TSortIndexList : public TIntList {
public:
    TSortIndexList() : TIntList(0, 0) {}

    static constexpr std::uint32_t DescendingBit = 0x80000000u;

    void AddIndex(int ColumnIndex, bool Ascending);
    // The position of the column's entry, -1 when the column is not in the list.
    int FindIndex(int ColumnIndex) const;
    // Reverses the direction of the column's entry; nothing when it has none.
    void ToggleIndex(int ColumnIndex);
    int SortColumns(int Index) const { return static_cast<int>(Entry(Index) & ~DescendingBit); }
    bool SortDirections(int Index) const { return (Entry(Index) & DescendingBit) == 0; }

private:
    std::uint32_t Entry(int Index) const { return static_cast<std::uint32_t>(Items(Index)); }
};
