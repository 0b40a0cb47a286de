// platform/rtl/list.h: TList, a growable list of untyped pointers that it does not own.
#pragma once

#include "platform/rtl/object.h"

#include <functional>
#include <vector>

// <0, 0 or >0 as Item1 sorts before, with or after Item2.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// Indexes run from 0 to Count() - 1; any other index raises EListError "List index out of
// bounds (N)". The list never frees what its entries point to: a subclass that owns them
// overrides Clear, and calls it from its own destructor.
class TList : public TObject {
public:
    TList() = default;
    ~TList() override = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    int Count() const { return static_cast<int>(FList.size()); }
    // Growing fills with nullptr; below 0 raises EListError "List count out of bounds (N)".
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(FList.capacity()); }
    // Below Count() raises EListError "List capacity out of bounds (N)".
    void SetCapacity(int NewCapacity);

    void* Items(int Index) const { return Get(Index); }
    void SetItems(int Index, void* Item) { Put(Index, Item); }
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }

    int Add(void* Item);
    // Index may be Count(), which appends.
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first entry equal to Item; returns its former index, or -1.
    int Remove(void* Item);
    // Removes the first entry equal to Item and returns it; nullptr when absent.
    void* Extract(void* Item);
    int IndexOf(void* Item) const;
    void Exchange(int Index1, int Index2);
    // Takes the entry at CurIndex out and puts it back at NewIndex.
    void Move(int CurIndex, int NewIndex);
    // Removes the nullptr entries.
    void Pack();
    // Stable; a comparison that raises leaves the list as it was.
    void Sort(const TListSortCompare& Compare);
    virtual void Clear();

    // Raises EListError with Msg, where "%d" stands for Data.
    [[noreturn]] static void Error(const char* Msg, int Data);

protected:
    void CheckIndex(int Index) const;

private:
    std::vector<void*> FList;
};
