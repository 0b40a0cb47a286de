// The report list view: selection by keys and mouse, column clicks and sizing, sub-items and
// state images, caption editing with the OnEditing veto, GetNextItem, index errors, pictures.
#include "platform/gfx/imagelist.h"
#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/scrollbars.h"
#include "tests/platform/stdctrls/listboxtest.h"

#include <memory>

namespace {

class ListViewTest : public ListTest {
protected:
    TListView* MakeList(int Rows = 30, bool Multi = true)
    {
        TListView* L = Place<TListView>(10, 10, 300, 200);
        L->SetViewStyle(vsReport);
        L->SetMultiSelect(Multi);
        L->SetHideSelection(false);
        for (const char* Caption : {"Subject", "Sender", "Size"}) {
            TListColumn* C = L->Columns()->Add();
            C->SetCaption(Caption);
            C->SetWidth(90);
        }
        L->Columns()->Items(2)->SetAlignment(taRightJustify);
        for (int I = 0; I < Rows; ++I) {
            TListItem* Item = L->Items()->Add();
            Item->SetCaption((I % 2 ? "Beta " : "Alpha ") + std::to_string(I));
            Item->SubItems()->Add("sender" + std::to_string(I));
            Item->SubItems()->Add(std::to_string(I * 100));
        }
        Pump();
        return L;
    }
    static std::vector<int> SelectedRows(TListView* L)
    {
        std::vector<int> Rows;
        for (TListItem* I = L->GetNextItem(nullptr, sdAll, TItemStates{isSelected}); I != nullptr;
             I = L->GetNextItem(I, sdAll, TItemStates{isSelected}))
            Rows.push_back(I->Index());
        return Rows;
    }
    static TPoint RowPoint(TListView* L, int Row, int X = 20)
    {
        const TRect R = L->Items()->Item(Row)->DisplayRect(LVIR_BOUNDS);
        return TPoint{X, R.Top + R.Height() / 2};
    }
};

TEST_F(ListViewTest, KeysMoveTheFocusAndSelectAsTheClassicControlDoes)
{
    struct TStep {
        int Key;
        std::vector<int> Modifiers;
        int Focus;
        std::vector<int> Selected;
    };
    struct TCase {
        const char* Name;
        std::vector<TStep> Steps;
    };
    const std::vector<TCase> Cases = {
        {"arrows", {{VK_DOWN, {}, 1, {1}}, {VK_DOWN, {}, 2, {2}}, {VK_UP, {}, 1, {1}}}},
        {"shift extends from the anchor",
         {{VK_DOWN, {}, 1, {1}},
          {VK_DOWN, {VK_SHIFT}, 2, {1, 2}},
          {VK_DOWN, {VK_SHIFT}, 3, {1, 2, 3}},
          {VK_UP, {VK_SHIFT}, 2, {1, 2}}}},
        {"ctrl moves the focus only, ctrl+space toggles",
         {{VK_DOWN, {VK_CONTROL}, 1, {0}},
          {VK_DOWN, {VK_CONTROL}, 2, {0}},
          {VK_SPACE, {VK_CONTROL}, 2, {0, 2}},
          {VK_SPACE, {VK_CONTROL}, 2, {0}}}},
        {"home and end", {{VK_END, {}, 29, {29}}, {VK_HOME, {}, 0, {0}}}},
        {"shift+end selects to the last", {{VK_END, {VK_SHIFT}, 29, {}}}},
    };
    for (const TCase& Case : Cases) {
        TListView* L = MakeList();
        L->SetFocus();
        L->SetSelected(L->Items()->Item(0));
        L->Items()->Item(0)->SetFocused(true);
        Pump();
        for (const TStep& Step : Case.Steps) {
            Key(Step.Key, Step.Modifiers);
            ASSERT_NE(L->ItemFocused(), nullptr) << Case.Name;
            EXPECT_EQ(L->ItemFocused()->Index(), Step.Focus) << Case.Name;
            if (!Step.Selected.empty()) {
                EXPECT_EQ(SelectedRows(L), Step.Selected) << Case.Name;
            }
        }
        if (std::string(Case.Name) == "shift+end selects to the last") {
            EXPECT_EQ(L->SelCount(), 30);
        }
        delete L;
    }
}

TEST_F(ListViewTest, PageKeysScrollAPageAndTheTopFollowsTheFocus)
{
    TListView* L = MakeList(100);
    L->SetFocus();
    Key(VK_HOME);
    const int Page = L->VisibleRowCount();
    ASSERT_GT(Page, 3);
    Key(VK_NEXT);
    EXPECT_EQ(L->ItemFocused()->Index(), Page - 1);
    Key(VK_NEXT);
    EXPECT_EQ(L->ItemFocused()->Index(), 2 * Page - 2);
    EXPECT_EQ(L->TopItem()->Index(), Page - 1);
    Key(VK_END);
    EXPECT_EQ(L->TopItem()->Index(), 100 - Page);
}

TEST_F(ListViewTest, TypingFindsTheCaption)
{
    TListView* L = MakeList();
    L->SetFocus();
    Type("be");
    ASSERT_NE(L->Selected(), nullptr);
    EXPECT_EQ(L->Selected()->Caption(), "Beta 1");
}

TEST_F(ListViewTest, ClicksSelectWithShiftAndCtrl)
{
    struct TClick {
        int Row;
        std::vector<int> Keys;
        std::vector<int> Selected;
    };
    const std::vector<TClick> Clicks = {
        {2, {}, {2}},
        {5, {VK_SHIFT}, {2, 3, 4, 5}},
        {7, {VK_CONTROL}, {2, 3, 4, 5, 7}},
        {3, {VK_CONTROL}, {2, 4, 5, 7}},
        {1, {}, {1}},
    };
    TListView* L = MakeList();
    int Clicked = 0;
    L->OnClick = [&](TObject*) { ++Clicked; };
    for (const TClick& C : Clicks) {
        const TPoint P = RowPoint(L, C.Row);
        Click(L, P.X, P.Y, C.Keys);
        EXPECT_EQ(SelectedRows(L), C.Selected) << "row " << C.Row;
        EXPECT_EQ(L->SelCount(), static_cast<int>(C.Selected.size()));
        EXPECT_EQ(L->ItemFocused()->Index(), C.Row);
    }
    EXPECT_EQ(Clicked, static_cast<int>(Clicks.size()));
}

TEST_F(ListViewTest, ASingleSelectionListKeepsOneRow)
{
    TListView* L = MakeList(10, false);
    Click(L, RowPoint(L, 2).X, RowPoint(L, 2).Y);
    Click(L, RowPoint(L, 5).X, RowPoint(L, 5).Y, {VK_CONTROL});
    EXPECT_EQ(SelectedRows(L), std::vector<int>{5});
}

TEST_F(ListViewTest, ADraggedRectangleSelectsTheRowsItTouches)
{
    TListView* L = MakeList();
    Click(L, RowPoint(L, 0).X, RowPoint(L, 0).Y);
    // From the empty sub-item area (not a row's label) down across rows 1 to 4.
    const TPoint From = RowPoint(L, 1, 150), To = RowPoint(L, 4, 40);
    InjectMouseButton(L->Handle(), 0, true, From.X, From.Y);
    InjectMouseMove(L->Handle(), To.X, To.Y);
    InjectMouseButton(L->Handle(), 0, false, To.X, To.Y);
    Pump();
    EXPECT_EQ(SelectedRows(L), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ListViewTest, EventsTellChangesAndOnChangingRefuses)
{
    TListView* L = MakeList(5);
    std::vector<std::string> Log;
    L->OnSelectItem = [&](TObject*, TListItem* Item, bool Sel) {
        Log.push_back((Sel ? "+" : "-") + std::to_string(Item->Index()));
    };
    L->OnChanging = [&](TObject*, TListItem* Item, TItemChange, bool& Allow) {
        Allow = Item->Index() != 3;
    };
    Click(L, RowPoint(L, 1).X, RowPoint(L, 1).Y);
    Click(L, RowPoint(L, 2).X, RowPoint(L, 2).Y);
    Click(L, RowPoint(L, 3).X, RowPoint(L, 3).Y);
    EXPECT_EQ(Log, (std::vector<std::string>{"+1", "-1", "+2", "-2"}));
    EXPECT_EQ(L->SelCount(), 0);
}

TEST_F(ListViewTest, HeaderClickAndDividerDrag)
{
    TListView* L = MakeList();
    const HWND Header = static_cast<HWND>(L->Perform(LVM_GETHEADER, 0, 0));
    ASSERT_NE(Header, HWND(0));
    std::vector<int> Clicked;
    L->OnColumnClick = [&](TObject*, TListColumn* C) { Clicked.push_back(C->Index()); };
    // The divider between column 0 and 1 dragged from 90 to 140.
    InjectMouseButton(Header, 0, true, 90, 5);
    InjectMouseMove(Header, 140, 5);
    InjectMouseButton(Header, 0, false, 140, 5);
    Pump();
    EXPECT_EQ(L->Columns()->Items(0)->Width(), 140);
    EXPECT_TRUE(Clicked.empty()) << "a drag is no click";
    InjectMouseButton(Header, 0, true, 185, 5);
    InjectMouseButton(Header, 0, false, 185, 5);
    Pump();
    EXPECT_EQ(Clicked, std::vector<int>{1});
    EXPECT_EQ(L->Items()->Item(0)->DisplayRect(LVIR_LABEL).Right, 140);
    L->SetColumnClick(false);
    const HWND NewHeader = static_cast<HWND>(L->Perform(LVM_GETHEADER, 0, 0));
    InjectMouseButton(NewHeader, 0, true, 200, 5);
    InjectMouseButton(NewHeader, 0, false, 200, 5);
    Pump();
    EXPECT_EQ(Clicked, std::vector<int>{1});
    EXPECT_EQ(L->Columns()->Items(0)->Width(), 140) << "the width outlives the new window";
}

TEST_F(ListViewTest, SubItemsAndStateImagesReachTheWindow)
{
    TListView* L = MakeList(3);
    TCustomImageList States(16, 16);
    L->SetStateImages(&States);
    TListItem* Item = L->Items()->Item(1);
    Item->SetStateIndex(2);
    Item->SubItems()->Put(0, "changed");
    LVITEM Get;
    Get.mask = LVIF_TEXT | LVIF_STATE;
    Get.iItem = 1;
    Get.iSubItem = 1;
    Get.stateMask = LVIS_STATEIMAGEMASK;
    ASSERT_EQ(L->Perform(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&Get)), 1);
    EXPECT_EQ(Get.pszText, "changed");
    EXPECT_EQ(Get.state, INDEXTOSTATEIMAGEMASK(3));
    LVHITTESTINFO Hit;
    Hit.pt = RowPoint(L, 1, 5);
    EXPECT_EQ(L->Perform(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), 1);
    EXPECT_EQ(Hit.flags, UINT(LVHT_ONITEMSTATEICON));
    L->SetStateImages(nullptr);
}

TEST_F(ListViewTest, EditingAsksOnEditingAndEnterCommitsEscapeCancels)
{
    struct TCase {
        bool Allow;
        int EndKey;
        std::string Want;
    };
    const std::vector<TCase> Cases = {
        {true, VK_RETURN, "new"},
        {true, VK_ESCAPE, "Alpha 0"},
        {false, VK_RETURN, "Alpha 0"},
    };
    for (const TCase& Case : Cases) {
        TListView* L = MakeList(3);
        int Edited = 0;
        L->OnEditing = [&](TObject*, TListItem*, bool& Allow) { Allow = Case.Allow; };
        L->OnEdited = [&](TObject*, TListItem*, std::string&) { ++Edited; };
        L->SetFocus();
        Key(VK_HOME);
        Key(VK_F2);
        EXPECT_EQ(L->IsEditing(), Case.Allow);
        Type("new");
        Key(Case.EndKey);
        Pump();
        EXPECT_FALSE(L->IsEditing());
        EXPECT_EQ(L->Items()->Item(0)->Caption(), Case.Want);
        EXPECT_EQ(Edited, Case.Allow && Case.EndKey == VK_RETURN ? 1 : 0);
        delete L;
    }
}

TEST_F(ListViewTest, ASlowSecondClickOnTheSelectedCaptionStartsEditing)
{
    struct TCase {
        const char* Name;
        int SecondRow;
        unsigned Pause; // between the clicks
        bool ReadOnly;
        bool Edits;
    };
    const unsigned Slow = GetDoubleClickTime() + 100;
    const std::vector<TCase> Cases = {
        {"slow second click", 2, Slow, false, true},
        {"double click", 2, 10, false, false},
        {"another row", 3, Slow, false, false},
        {"read-only", 2, Slow, true, false},
    };
    for (const TCase& Case : Cases) {
        TListView* L = MakeList(5);
        L->SetReadOnly(Case.ReadOnly);
        int Asked = 0;
        L->OnEditing = [&](TObject*, TListItem*, bool&) { ++Asked; };
        L->SetFocus();
        Time.Advance(2000);
        Click(L, RowPoint(L, 2).X, RowPoint(L, 2).Y);
        Time.Advance(Case.Pause);
        Click(L, RowPoint(L, Case.SecondRow).X, RowPoint(L, Case.SecondRow).Y);
        EXPECT_FALSE(L->IsEditing()) << Case.Name << ": not before the double-click time";
        Time.Advance(Slow);
        Pump();
        EXPECT_EQ(L->IsEditing(), Case.Edits) << Case.Name;
        EXPECT_EQ(Asked, Case.Edits ? 1 : 0) << Case.Name;
        delete L;
    }
}

TEST_F(ListViewTest, ReadOnlyRefusesEditing)
{
    TListView* L = MakeList(3);
    L->SetReadOnly(true);
    EXPECT_FALSE(L->Items()->Item(0)->EditCaption());
}

TEST_F(ListViewTest, GetNextItemFollowsDirectionAndStates)
{
    TListView* L = MakeList(10);
    for (int I : {2, 5, 8})
        L->Items()->Item(I)->SetSelected(true);
    L->Items()->Item(6)->SetFocused(true);
    struct TCase {
        int Start;
        TSearchDirection Direction;
        TItemStates States;
        int Want;
    };
    const std::vector<TCase> Cases = {
        {-1, sdAll, TItemStates{isSelected}, 2}, {2, sdAll, TItemStates{isSelected}, 5},
        {8, sdAll, TItemStates{isSelected}, -1}, {5, sdAbove, TItemStates{isSelected}, 2},
        {-1, sdAll, TItemStates{isFocused}, 6},  {3, sdBelow, TItemStates{}, 4},
        {4, sdAbove, TItemStates{}, 3},
    };
    for (const TCase& C : Cases) {
        TListItem* Start = C.Start < 0 ? nullptr : L->Items()->Item(C.Start);
        TListItem* Got = L->GetNextItem(Start, C.Direction, C.States);
        EXPECT_EQ(Got != nullptr ? Got->Index() : -1, C.Want) << "from " << C.Start;
    }
}

TEST_F(ListViewTest, IndexesOutOfRangeRaiseTheListError)
{
    TListView* L = MakeList(3);
    for (int Bad : {-1, 3, 100}) {
        EXPECT_THROW(L->Items()->Item(Bad), EListError);
        EXPECT_THROW(L->Items()->Delete(Bad), EListError);
        EXPECT_THROW(L->Columns()->Items(Bad), EListError);
    }
    EXPECT_THROW(L->Items()->Insert(5), EListError);
    try {
        L->Items()->Item(7);
    } catch (const EListError& E) {
        EXPECT_STREQ(E.what(), "List index out of bounds (7)");
    }
}

TEST_F(ListViewTest, DeletingTellsOnDeletionAndKeepsTheIndexes)
{
    TListView* L = MakeList(5);
    std::vector<std::string> Gone;
    L->OnDeletion = [&](TObject*, TListItem* Item) { Gone.push_back(Item->Caption()); };
    L->Items()->Item(3)->SetSelected(true);
    L->Items()->Delete(1);
    EXPECT_EQ(Gone, std::vector<std::string>{"Beta 1"});
    EXPECT_EQ(L->Items()->Item(2)->Caption(), "Beta 3");
    EXPECT_EQ(L->Items()->Item(2)->Index(), 2);
    EXPECT_TRUE(L->Items()->Item(2)->Selected());
    L->Items()->Clear();
    EXPECT_EQ(Gone.size(), 5u);
    EXPECT_EQ(L->Perform(LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViewTest, AnUpdateDrawsNothingUntilItEndsThenShowsEveryRow)
{
    TListView* L = MakeList(0);
    L->Items()->BeginUpdate();
    L->Items()->BeginUpdate();
    for (int I = 0; I < 100; ++I)
        L->Items()->Add()->SetCaption("Row " + std::to_string(I));
    L->Items()->EndUpdate();
    EXPECT_FALSE(GetUpdateRect(L->Handle(), nullptr)) << "an inner EndUpdate ended the update";
    L->Items()->EndUpdate();
    EXPECT_TRUE(GetUpdateRect(L->Handle(), nullptr));
    Pump();
    EXPECT_FALSE(GetUpdateRect(L->Handle(), nullptr));
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(L->Handle(), SB_VERT, Info));
    EXPECT_EQ(Info.nMax, 99);
}

TEST_F(ListViewTest, ScrollMovesTheTopByRows)
{
    TListView* L = MakeList(100);
    const TRect R = L->Items()->Item(0)->DisplayRect(LVIR_BOUNDS);
    L->Scroll(0, R.Height() * 10);
    EXPECT_EQ(L->TopItem()->Index(), 10);
    L->Items()->Item(50)->MakeVisible(false);
    EXPECT_EQ(L->TopItem()->Index(), 50 - L->VisibleRowCount() + 1);
}

TEST_F(ListViewTest, LooksLikeItsGoldenPictures)
{
    SetDeterministicFontMetrics(false);
    TCustomImageList States(16, 16);
    for (const TColor Colour : {clRed, clGreen}) {
        TBitmap Picture;
        Picture.SetSize(16, 16);
        Picture.Canvas()->Brush()->SetColor(clWhite);
        Picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Picture.Canvas()->Brush()->SetColor(Colour);
        Picture.Canvas()->Ellipse(3, 3, 13, 13);
        States.AddMasked(&Picture, clWhite);
    }
    struct TCase {
        const char* File;
        bool Focus;
        bool StateImages;
        bool Editing;
    };
    const std::vector<TCase> Cases = {
        {"listview_focused.png", true, false, false},
        {"listview_unfocused.png", false, false, false},
        {"listview_stateimages.png", true, true, false},
        {"listview_editing.png", true, false, true},
    };
    for (const TCase& Case : Cases) {
        TListView* L = MakeList(12);
        if (Case.StateImages) {
            L->SetStateImages(&States);
            for (int I = 0; I < 12; ++I)
                L->Items()->Item(I)->SetStateIndex(I % 3 - 1);
        }
        L->Items()->Item(1)->SetSelected(true);
        L->Items()->Item(2)->SetSelected(true);
        L->Items()->Item(2)->SetFocused(true);
        if (Case.Focus)
            L->SetFocus();
        else
            Form->SetFocus();
        if (Case.Editing)
            L->Items()->Item(2)->EditCaption();
        Pump();
        TRasterDevice Device(L->Width(), L->Height());
        CopyWindowPicture(L->Handle(), Device, 0, 0);
        ExpectMatchesGolden(Device, Case.File);
        L->SetStateImages(nullptr);
        delete L;
    }
}

} // namespace
