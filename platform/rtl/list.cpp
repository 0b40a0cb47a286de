#include "platform/rtl/list.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/mergesort.h"
#include "platform/rtl/moveitem.h"

#include <algorithm>
#include <string>

namespace {

// The largest count or capacity a list accepts, so that a wild size is an EListError rather
// than an attempt to allocate gigabytes.
constexpr int MaxListSize = 0x7FFFFFF;

} // namespace

void TList::Error(const char* Msg, int Data)
{
    std::string Text = Msg;
    std::string::size_type At = Text.find("%d");
    if (At != std::string::npos)
        Text.replace(At, 2, std::to_string(Data));
    throw EListError(Text);
}

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error("List index out of bounds (%d)", Index);
}

void TList::SetCount(int NewCount)
{
    if (NewCount < 0 || NewCount > MaxListSize)
        Error("List count out of bounds (%d)", NewCount);
    FList.resize(static_cast<std::size_t>(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < Count() || NewCapacity > MaxListSize)
        Error("List capacity out of bounds (%d)", NewCapacity);
    if (NewCapacity == Capacity())
        return;
    std::vector<void*> Resized;
    Resized.reserve(static_cast<std::size_t>(NewCapacity));
    Resized.assign(FList.begin(), FList.end());
    FList.swap(Resized);
}

void* TList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)];
}

void TList::Put(int Index, void* Item)
{
    CheckIndex(Index);
    FList[static_cast<std::size_t>(Index)] = Item;
}

int TList::Add(void* Item)
{
    FList.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    if (Index < 0 || Index > Count())
        Error("List index out of bounds (%d)", Index);
    FList.insert(FList.begin() + Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    FList.erase(FList.begin() + Index);
}

int TList::Remove(void* Item)
{
    int Index = IndexOf(Item);
    if (Index >= 0)
        Delete(Index);
    return Index;
}

void* TList::Extract(void* Item)
{
    return Remove(Item) >= 0 ? Item : nullptr;
}

int TList::IndexOf(void* Item) const
{
    auto Found = std::find(FList.begin(), FList.end(), Item);
    return Found == FList.end() ? -1 : static_cast<int>(Found - FList.begin());
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(NewIndex);
    CheckIndex(CurIndex);
    MoveItem(FList, CurIndex, NewIndex);
}

void TList::Pack()
{
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(const TListSortCompare& Compare)
{
    if (Count() < 2)
        return;
    std::vector<void*> Sorted = FList;
    MergeSort(Sorted, [&Compare](void* A, void* B) { return Compare(A, B) < 0; });
    std::copy(Sorted.begin(), Sorted.end(), FList.begin());
}

void TList::Clear()
{
    FList.clear();
    FList.shrink_to_fit();
}
