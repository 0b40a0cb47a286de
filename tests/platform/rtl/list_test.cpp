#include "platform/rtl/exceptions.h"
#include "platform/rtl/list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

int Values[8] = {0, 1, 2, 3, 4, 5, 6, 7};

void* P(int I)
{
    return &Values[I];
}

int V(void* Item)
{
    return static_cast<int>(static_cast<int*>(Item) - Values);
}

// The list of Values[I] for each I.
void Fill(TList& List, const std::vector<int>& Indexes)
{
    List.Clear();
    for (int I : Indexes)
        List.Add(P(I));
}

std::vector<int> Contents(const TList& List)
{
    std::vector<int> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Items(I) == nullptr ? -1 : V(List.Items(I)));
    return Result;
}

std::string ListErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EListError& E) {
        return E.Message();
    }
    return "no exception";
}

} // namespace

TEST(List, AddInsertDeleteRemoveAndExtractKeepTheOrder)
{
    TList List;
    EXPECT_EQ(List.Add(P(1)), 0);
    EXPECT_EQ(List.Add(P(3)), 1);
    List.Insert(1, P(2));
    List.Insert(0, P(0));
    List.Insert(4, P(4));
    EXPECT_EQ(Contents(List), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(List.IndexOf(P(3)), 3);
    EXPECT_EQ(List.IndexOf(P(7)), -1);

    EXPECT_EQ(List.Remove(P(2)), 2);
    EXPECT_EQ(List.Remove(P(2)), -1);
    EXPECT_EQ(List.Extract(P(0)), P(0));
    EXPECT_EQ(List.Extract(P(7)), nullptr);
    List.Delete(0);
    EXPECT_EQ(Contents(List), (std::vector<int>{3, 4}));
    EXPECT_EQ(List.First(), P(3));
    EXPECT_EQ(List.Last(), P(4));
    List.Put(1, P(5));
    EXPECT_EQ(List.Get(1), P(5));
}

TEST(List, RemoveAndExtractTakeOnlyTheFirstOccurrence)
{
    TList List;
    Fill(List, {1, 2, 1});
    EXPECT_EQ(List.Remove(P(1)), 0);
    EXPECT_EQ(Contents(List), (std::vector<int>{2, 1}));
}

TEST(List, IndexOutOfRangeRaisesListIndexOutOfBounds)
{
    struct Case {
        const char* Name;
        std::function<void(TList&)> Action;
        std::string Message;
    };
    std::vector<Case> Cases = {
        {"Get(-1)", [](TList& L) { L.Get(-1); }, "List index out of bounds (-1)"},
        {"Get(Count)", [](TList& L) { L.Get(3); }, "List index out of bounds (3)"},
        {"Put", [](TList& L) { L.Put(5, nullptr); }, "List index out of bounds (5)"},
        {"Delete", [](TList& L) { L.Delete(3); }, "List index out of bounds (3)"},
        {"Insert past the end", [](TList& L) { L.Insert(4, nullptr); },
         "List index out of bounds (4)"},
        {"Insert(-1)", [](TList& L) { L.Insert(-1, nullptr); }, "List index out of bounds (-1)"},
        {"Exchange", [](TList& L) { L.Exchange(0, 9); }, "List index out of bounds (9)"},
        {"Move to", [](TList& L) { L.Move(0, 3); }, "List index out of bounds (3)"},
        {"Move from", [](TList& L) { L.Move(-2, 0); }, "List index out of bounds (-2)"},
        {"capacity below count", [](TList& L) { L.SetCapacity(2); },
         "List capacity out of bounds (2)"},
        {"negative count", [](TList& L) { L.SetCount(-1); }, "List count out of bounds (-1)"},
    };
    for (const Case& C : Cases) {
        TList List;
        Fill(List, {0, 1, 2});
        EXPECT_EQ(ListErrorOf([&] { C.Action(List); }), C.Message) << C.Name;
        EXPECT_EQ(Contents(List), (std::vector<int>{0, 1, 2})) << C.Name;
    }

    TList Empty;
    EXPECT_EQ(ListErrorOf([&] { Empty.First(); }), "List index out of bounds (0)");
    EXPECT_EQ(ListErrorOf([&] { Empty.Last(); }), "List index out of bounds (-1)");
}

TEST(List, MoveTakesTheItemOutAndPutsItBackAtTheNewIndex)
{
    struct Case {
        int Cur, New;
        std::vector<int> Expected;
    };
    std::vector<Case> Cases = {
        {0, 3, {1, 2, 3, 0}}, {3, 0, {3, 0, 1, 2}}, {1, 2, {0, 2, 1, 3}},
        {2, 1, {0, 2, 1, 3}}, {2, 2, {0, 1, 2, 3}},
    };
    for (const Case& C : Cases) {
        TList List;
        Fill(List, {0, 1, 2, 3});
        List.Move(C.Cur, C.New);
        EXPECT_EQ(Contents(List), C.Expected) << C.Cur << " -> " << C.New;
    }
}

TEST(List, ExchangeSwapsTwoEntries)
{
    TList List;
    Fill(List, {0, 1, 2});
    List.Exchange(0, 2);
    EXPECT_EQ(Contents(List), (std::vector<int>{2, 1, 0}));
}

TEST(List, CountGrowsWithNilAndPackRemovesNil)
{
    TList List;
    Fill(List, {1, 2});
    List.SetCount(4);
    List.Put(3, P(3));
    EXPECT_EQ(Contents(List), (std::vector<int>{1, 2, -1, 3}));
    List.Insert(0, nullptr);
    List.Pack();
    EXPECT_EQ(Contents(List), (std::vector<int>{1, 2, 3}));
    List.SetCount(1);
    EXPECT_EQ(Contents(List), (std::vector<int>{1}));
}

TEST(List, CapacityIsKeptAndClearReleasesIt)
{
    TList List;
    List.SetCapacity(100);
    EXPECT_GE(List.Capacity(), 100);
    Fill(List, {1, 2, 3});
    List.SetCapacity(3);
    EXPECT_EQ(List.Capacity(), 3);
    EXPECT_EQ(Contents(List), (std::vector<int>{1, 2, 3}));
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Capacity(), 0);
}

TEST(List, SortOrdersByTheCompareFunctionAndKeepsEqualItemsInOrder)
{
    TList List;
    Fill(List, {5, 2, 7, 3, 0, 6, 4, 1});
    // Compares only by parity, so the order within evens and within odds must stay.
    List.Sort([](void* A, void* B) { return V(A) % 2 - V(B) % 2; });
    EXPECT_EQ(Contents(List), (std::vector<int>{2, 0, 6, 4, 5, 7, 3, 1}));
    List.Sort([](void* A, void* B) { return V(A) - V(B); });
    EXPECT_EQ(Contents(List), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(List, SortWithARaisingCompareLeavesTheListAsItWas)
{
    TList List;
    Fill(List, {3, 1, 2});
    EXPECT_THROW(List.Sort([](void*, void*) -> int { throw EListError("stop"); }), EListError);
    EXPECT_EQ(Contents(List), (std::vector<int>{3, 1, 2}));
}

TEST(List, SortWithAnInconsistentCompareKeepsEveryItem)
{
    TList List;
    std::vector<int> Input;
    for (int I = 0; I < 200; ++I)
        Input.push_back(I % 8);
    Fill(List, Input);
    int Calls = 0;
    List.Sort([&Calls](void*, void*) { return (Calls++ % 3) - 1; });
    std::vector<int> After = Contents(List);
    std::sort(After.begin(), After.end());
    std::sort(Input.begin(), Input.end());
    EXPECT_EQ(After, Input);
}
