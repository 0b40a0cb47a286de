// The list box: items bound to the window, sorted insertion, the three selection models through
// clicks and keys, type-ahead, the top index following the caret, positions of items, tab stops,
// owner-drawn items, and the notifications that become OnClick and OnDblClick.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/listbox.h"
#include "platform/stdctrls/listboxwindow.h"

namespace {

using ListBox = ListTest;

std::vector<std::string> Lines(TStrings* S)
{
    std::vector<std::string> Out;
    for (int I = 0; I < S->Count(); ++I)
        Out.push_back(S->Get(I));
    return Out;
}

std::string SelectionOf(TCustomListBox* L)
{
    std::string Out;
    for (int I = 0; I < L->Items()->Count(); ++I)
        Out += L->Selected(I) ? 'x' : '.';
    return Out;
}

TListBox* Filled(ListTest& T, int Count, int Height = 0)
{
    auto* L = new TListBox(T.Form);
    L->SetParent(T.Form);
    L->SetBounds(10, 10, 120, Height > 0 ? Height : 200);
    for (int I = 0; I < Count; ++I)
        L->Items()->Add("item " + std::to_string(I));
    return L;
}

} // namespace

TEST_F(ListBox, ItemsLiveInTheWindowAndSortedListsInsertInOrder)
{
    auto* L = Place<TListBox>(10, 10, 120, 100);
    L->SetSorted(true);
    for (const char* S : {"pear", "Apple", "fig", "apple",
                          "\xC3\xA9"
                          "clair",
                          "Banana"})
        L->Items()->Add(S);
    EXPECT_EQ(Lines(L->Items()),
              (std::vector<std::string>{"Apple", "apple", "Banana", "fig", "pear",
                                        "\xC3\xA9"
                                        "clair"}));
    EXPECT_EQ(L->Items()->IndexOf("BANANA"), 2);
    // Insert puts an item where it is asked to, sorted or not; Delete and Clear take them away.
    L->Items()->Insert(0, "zebra");
    EXPECT_EQ(L->Items()->Get(0), "zebra");
    L->Items()->Delete(0);
    EXPECT_EQ(L->Items()->Count(), 6);
    EXPECT_THROW(L->Items()->Delete(6), EListError);
    // Switching Sorted off keeps the items: the window is made anew with what it held.
    L->SetItemIndex(3);
    L->SetSorted(false);
    EXPECT_EQ(L->Items()->Count(), 6);
    EXPECT_EQ(L->ItemIndex(), 3);
    L->Items()->Add("aardvark");
    EXPECT_EQ(L->Items()->Get(6), "aardvark");
    // Invalid UTF-8 is kept byte for byte.
    L->Items()->Add(std::string("\xFF\xFE", 2));
    EXPECT_EQ(L->Items()->Get(7), std::string("\xFF\xFE", 2));
    L->Clear();
    EXPECT_EQ(L->Items()->Count(), 0);
    EXPECT_EQ(L->ItemIndex(), -1);
}

TEST_F(ListBox, ObjectsTravelWithTheirItems)
{
    auto* L = Place<TListBox>(10, 10, 120, 100);
    TObject A;
    TObject B;
    L->SetSorted(true);
    L->Items()->AddObject("b", &B);
    L->Items()->AddObject("a", &A);
    EXPECT_EQ(L->Items()->GetObject(0), &A);
    EXPECT_EQ(L->Items()->GetObject(1), &B);
}

TEST_F(ListBox, ClicksAndKeysSelectByTheSelectionModel)
{
    struct TStep {
        std::vector<int> Keys; // modifiers held
        int Item = -1;         // clicked item, or -1 for the key below
        int Key = 0;
        std::string After;
    };
    struct TCase {
        const char* Name;
        bool Multi;
        bool Extended;
        std::vector<TStep> Steps;
    };
    const std::vector<TCase> Cases = {
        {"single",
         false,
         false,
         {{{}, 2, 0, "..x..."},
          {{VK_CONTROL}, 4, 0, "....x."},
          {{}, -1, VK_UP, "...x.."},
          {{VK_SHIFT}, -1, VK_HOME, "x....."}}},
        {"multiple",
         true,
         false,
         {{{}, 1, 0, ".x...."},
          {{}, 3, 0, ".x.x.."},
          {{}, 1, 0, "...x.."},
          {{}, -1, VK_DOWN, "...x.."},
          {{}, -1, VK_SPACE, "..xx.."}, // the caret moved to item 2 alone; Space toggles it
          {{}, -1, VK_END, "..xx.."},
          {{}, -1, VK_SPACE, "..xx.x"}}},
        {"extended",
         true,
         true,
         {{{}, 1, 0, ".x...."},
          {{VK_SHIFT}, 3, 0, ".xxx.."},
          {{VK_CONTROL}, 5, 0, ".xxx.x"},
          {{VK_CONTROL}, 2, 0, ".x.x.x"},
          {{VK_SHIFT, VK_CONTROL}, 4, 0, ".xxxxx"},
          {{}, 0, 0, "x....."},
          {{VK_SHIFT}, -1, VK_DOWN, "xx...."},
          {{VK_SHIFT}, -1, VK_END, "xxxxxx"},
          {{}, -1, VK_UP, "....x."},
          {{VK_CONTROL}, -1, VK_UP, "....x."},
          {{VK_CONTROL}, -1, VK_SPACE, "...xx."}}},
    };
    for (const TCase& Case : Cases) {
        TListBox* L = Filled(*this, 6);
        L->SetMultiSelect(Case.Multi);
        L->SetExtendedSelect(Case.Extended);
        L->SetFocus();
        const int H = L->ItemHeight();
        int StepNo = 0;
        for (const TStep& Step : Case.Steps) {
            Time.Advance(2000); // no double clicks, no type-ahead between steps
            if (Step.Item >= 0) {
                Click(L, 20, Step.Item * H + H / 2, Step.Keys);
            } else {
                Key(Step.Key, Step.Keys);
            }
            EXPECT_EQ(SelectionOf(L), Step.After) << Case.Name << " step " << StepNo;
            ++StepNo;
        }
        const std::string& Last = Case.Steps.back().After;
        if (Case.Multi) {
            EXPECT_EQ(L->SelCount(), static_cast<int>(std::count(Last.begin(), Last.end(), 'x')));
        }
        delete L;
    }
}

TEST_F(ListBox, TypedLettersFindItemsAndARepeatedLetterCycles)
{
    auto* L = Place<TListBox>(10, 10, 120, 200);
    for (const char* S : {"apple", "Banana", "blueberry", "cherry", "boysenberry",
                          "\xC3\xA9"
                          "clair"})
        L->Items()->Add(S);
    L->SetFocus();
    struct TStep {
        std::string Typed;
        unsigned Pause; // milliseconds before typing
        int After;
    };
    const std::vector<TStep> Steps = {
        {"b", 0, 1},           {"b", 100, 2},   {"b", 100, 4},   {"b", 100, 1}, // b cycles
        {"c", 2000, 3},        {"bl", 2000, 2}, {"BO", 2000, 4}, {"x", 2000, 4},
        {"\xC3\xA9", 2000, 5}, // a two-byte letter arrives as two characters
        {"a", 2000, 0},
    };
    for (const TStep& Step : Steps) {
        Time.Advance(Step.Pause);
        Type(Step.Typed);
        EXPECT_EQ(L->ItemIndex(), Step.After) << "typed " << Step.Typed;
    }
}

TEST_F(ListBox, PageHomeAndEndMoveTheCaretAndTheTopIndexFollows)
{
    TListBox* L = Filled(*this, 30);
    const int H = L->ItemHeight();
    L->SetHeight(10 * H + 4); // ten whole rows (the client edge takes two pixels a side)
    L->SetFocus();
    const int Rows = L->ClientHeight() / H;
    ASSERT_EQ(Rows, 10);
    struct TStep {
        int Key;
        int Index;
        int Top;
    };
    const std::vector<TStep> Steps = {
        {VK_DOWN, 0, 0},  {VK_NEXT, 9, 0},  {VK_NEXT, 18, 9}, {VK_DOWN, 19, 10}, {VK_PRIOR, 10, 10},
        {VK_PRIOR, 1, 1}, {VK_END, 29, 20}, {VK_HOME, 0, 0},  {VK_UP, 0, 0},
    };
    for (const TStep& Step : Steps) {
        Key(Step.Key);
        EXPECT_EQ(L->ItemIndex(), Step.Index) << "key " << Step.Key;
        EXPECT_EQ(L->TopIndex(), Step.Top) << "key " << Step.Key;
    }
    // The top index stops where the last page is full; the scroll bar values follow it.
    L->SetTopIndex(28);
    EXPECT_EQ(L->TopIndex(), 20);
    const TListScrollState Scroll = ListBoxScrollState(L->Handle());
    EXPECT_EQ(Scroll.Max, 29);
    EXPECT_EQ(Scroll.Page, 10);
    EXPECT_EQ(Scroll.Pos, 20);
}

TEST_F(ListBox, ItemAtPosAndItemRectAgreeWithTheTopIndex)
{
    TListBox* L = Filled(*this, 8);
    const int H = L->ItemHeight();
    L->SetHeight(4 * H + 4);
    L->SetTopIndex(2);
    EXPECT_EQ(L->ItemRect(2), Rect(0, 0, L->ClientWidth(), H));
    EXPECT_EQ(L->ItemRect(5), Rect(0, 3 * H, L->ClientWidth(), 4 * H));
    EXPECT_EQ(L->ItemRect(8), Rect(0, 6 * H, L->ClientWidth(), 7 * H)); // after the last
    struct TCase {
        TPoint Pos;
        bool Existing;
        int Item;
    };
    const std::vector<TCase> Cases = {
        {{5, 0}, true, 2},         {{5, H - 1}, true, 2}, {{5, H}, true, 3},
        {{5, 4 * H - 1}, true, 5}, {{-1, 3}, true, -1},   {{5, 4 * H + 50}, false, -1},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(L->ItemAtPos(Case.Pos, Case.Existing), Case.Item)
            << Case.Pos.X << "," << Case.Pos.Y;
    }
    // Below the last item of a short list: -1, or the count when any place will do.
    TListBox* Short = Filled(*this, 2);
    EXPECT_EQ(Short->ItemAtPos(TPoint{5, 5 * H}, true), -1);
    EXPECT_EQ(Short->ItemAtPos(TPoint{5, 5 * H}, false), 2);
}

TEST_F(ListBox, SelectionChangesByTheUserClickAndDoubleClicksReachOnDblClick)
{
    TListBox* L = Filled(*this, 5);
    std::vector<std::string> Log;
    L->OnClick = [&](TObject*) { Log.push_back("click " + std::to_string(L->ItemIndex())); };
    L->OnDblClick = [&](TObject*) { Log.push_back("dblclick"); };
    const int H = L->ItemHeight();
    Click(L, 10, H / 2); // item 0
    Time.Advance(2000);
    Click(L, 10, 3 * H + H / 2); // item 3
    Click(L, 10, 3 * H + H / 2); // again at once: a double click
    Time.Advance(2000);
    Key(VK_DOWN);       // keys that move the selection click too
    L->SetItemIndex(0); // the program's own changes do not
    Time.Advance(2000);
    Click(L, 10, 20 * H); // below the items: nothing
    EXPECT_EQ(Log, (std::vector<std::string>{"click 0", "click 3", "dblclick", "click 4"}));
}

TEST_F(ListBox, AListDeletedWithTheFocusLeavesNoActiveControlBehind)
{
    TListBox* First = Filled(*this, 3);
    First->SetFocus();
    ASSERT_EQ(Form->ActiveControl(), First);
    delete First;
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    TListBox* Second = Filled(*this, 3);
    Second->SetFocus();
    EXPECT_TRUE(Second->Focused());
    std::vector<TWinControl*> Order;
    Form->GetTabOrderList(Order);
    EXPECT_EQ(Order, std::vector<TWinControl*>{Second});
}
