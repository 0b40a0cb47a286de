#include "controls/grid/advobjlists.h"

int TIntList::Items(int Index) const
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(Get(Index)));
}

void TIntList::SetItems(int Index, int Value)
{
    Put(Index, reinterpret_cast<void*>(static_cast<std::intptr_t>(Value)));
    Changed();
}

int TIntList::Add(int Value)
{
    const int Index = TList::Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(Value)));
    Changed();
    return Index;
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    std::uint32_t Value = static_cast<std::uint32_t>(ColumnIndex) & ~DescendingBit;
    if (!Ascending)
        Value |= DescendingBit;
    Add(static_cast<int>(Value));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    const std::uint32_t Wanted = static_cast<std::uint32_t>(ColumnIndex) & ~DescendingBit;
    for (int I = 0; I < Count(); ++I)
        if ((Entry(I) & ~DescendingBit) == Wanted)
            return I;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int Index = FindIndex(ColumnIndex);
    if (Index >= 0)
        SetItems(Index, static_cast<int>(Entry(Index) ^ DescendingBit));
}
