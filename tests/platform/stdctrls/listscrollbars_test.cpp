// The scroll bars of list boxes and of a combo box's dropped list: their values follow the items
// and the top index, a thumb drag moves the top index, and a bar that appears narrows the list.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/stdctrls/listbox.h"
#include "platform/stdctrls/listboxwindow.h"
#include "platform/ui/queue.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/sysmetrics.h"

#include <string>
#include <vector>

namespace {

using ListScrollBars = ListTest;

TScrollInfo BarOf(HWND Wnd, int Bar)
{
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    GetScrollInfo(Wnd, Bar, Info);
    return Info;
}

bool Shows(HWND Wnd, DWORD Bar)
{
    return (GetWindowLong(Wnd, GWL_STYLE) & Bar) != 0;
}

WPARAM ThumbTrack(int Pos)
{
    return MakeWParam(SB_THUMBTRACK, static_cast<unsigned>(Pos));
}

} // namespace

TEST_F(ListScrollBars, TheVerticalBarAppearsWithTheItemsThatDoNotFitAndNarrowsTheList)
{
    auto* L = Place<TListBox>(10, 10, 120, 0);
    const int H = L->ItemHeight();
    L->SetHeight(5 * H + 4); // five whole rows inside the client edge
    const int WideClient = L->ClientWidth();
    struct TStep {
        int Items;
        bool Bar;
        int Max;
        int Page;
    };
    const std::vector<TStep> Steps = {
        {3, false, 2, 5}, {5, false, 4, 5}, {6, true, 5, 5}, {20, true, 19, 5}};
    for (const TStep& Step : Steps) {
        while (L->Items()->Count() < Step.Items)
            L->Items()->Add("item " + std::to_string(L->Items()->Count()));
        EXPECT_EQ(Shows(L->Handle(), WS_VSCROLL), Step.Bar) << Step.Items;
        EXPECT_EQ(L->ClientWidth(),
                  Step.Bar ? WideClient - GetSystemMetrics(SM_CXVSCROLL) : WideClient)
            << Step.Items;
        if (Step.Bar) {
            const TScrollInfo Info = BarOf(L->Handle(), SB_VERT);
            EXPECT_EQ(Info.nMax, Step.Max) << Step.Items;
            EXPECT_EQ(static_cast<int>(Info.nPage), Step.Page) << Step.Items;
            EXPECT_EQ(Info.nPos, 0) << Step.Items;
        }
    }
    L->Items()->Clear();
    EXPECT_FALSE(Shows(L->Handle(), WS_VSCROLL));
    EXPECT_EQ(L->ClientWidth(), WideClient);
}

TEST_F(ListScrollBars, DraggingTheThumbMovesTheTopIndexAndTheBarFollowsTheKeys)
{
    auto* L = Place<TListBox>(10, 10, 120, 0);
    L->SetHeight(5 * L->ItemHeight() + 4);
    for (int I = 0; I < 20; ++I)
        L->Items()->Add("item " + std::to_string(I));
    struct TCase {
        int Thumb;
        int Top; // the last full page stops at 15
    };
    for (const TCase& Case : std::vector<TCase>{{7, 7}, {0, 0}, {15, 15}, {19, 15}}) {
        SendMessage(L->Handle(), WM_VSCROLL, ThumbTrack(Case.Thumb), 0);
        EXPECT_EQ(L->TopIndex(), Case.Top) << Case.Thumb;
        EXPECT_EQ(BarOf(L->Handle(), SB_VERT).nPos, Case.Top) << Case.Thumb;
    }
    L->SetFocus();
    Key(VK_HOME);
    EXPECT_EQ(BarOf(L->Handle(), SB_VERT).nPos, 0);
    Key(VK_END);
    EXPECT_EQ(BarOf(L->Handle(), SB_VERT).nPos, 15);
}

TEST_F(ListScrollBars, TheHorizontalExtentGivesAHorizontalBarThatScrollsTheItems)
{
    auto* L = Place<TListBox>(10, 10, 120, 100);
    L->Items()->Add("a long item");
    EXPECT_FALSE(Shows(L->Handle(), WS_HSCROLL));
    const int TallClient = L->ClientHeight();
    L->Perform(LB_SETHORIZONTALEXTENT, 300, 0);
    ASSERT_TRUE(Shows(L->Handle(), WS_HSCROLL));
    EXPECT_EQ(L->ClientHeight(), TallClient - GetSystemMetrics(SM_CYHSCROLL));
    TScrollInfo Info = BarOf(L->Handle(), SB_HORZ);
    EXPECT_EQ(Info.nMax, 299);
    EXPECT_EQ(static_cast<int>(Info.nPage), L->ClientWidth());
    SendMessage(L->Handle(), WM_HSCROLL, ThumbTrack(40), 0);
    EXPECT_EQ(BarOf(L->Handle(), SB_HORZ).nPos, 40);
    EXPECT_EQ(L->ItemRect(0).Left, -40);
    L->Perform(LB_SETHORIZONTALEXTENT, 0, 0);
    EXPECT_FALSE(Shows(L->Handle(), WS_HSCROLL));
    EXPECT_EQ(L->ItemRect(0).Left, 0);
}

TEST_F(ListScrollBars, DisableNoScrollKeepsTheBarShown)
{
    auto* L = Place<TListBox>(10, 10, 120, 100);
    SetWindowLong(L->Handle(), GWL_STYLE,
                  GetWindowLong(L->Handle(), GWL_STYLE) | LBS_DISABLENOSCROLL);
    L->Items()->Add("one");
    EXPECT_TRUE(Shows(L->Handle(), WS_VSCROLL));
}

TEST_F(ListScrollBars, TheDroppedListOfAComboBoxScrollsByItsBar)
{
    auto* C = new TComboBox(Form);
    C->SetParent(Form);
    C->SetBounds(20, 30, 150, 0);
    C->SetStyle(csDropDownList);
    for (int I = 0; I < 12; ++I)
        C->Items()->Add("item " + std::to_string(I));
    C->SetDropDownCount(5);
    C->SetDroppedDown(true);
    const HWND List = ComboBoxListWindow(C->Handle());
    ASSERT_TRUE(Shows(List, WS_VSCROLL));
    const TScrollInfo Info = BarOf(List, SB_VERT);
    EXPECT_EQ(Info.nMax, 11);
    EXPECT_EQ(static_cast<int>(Info.nPage), 5);
    SendMessage(List, WM_VSCROLL, ThumbTrack(4), 0);
    EXPECT_EQ(SendMessage(List, LB_GETTOPINDEX, 0, 0), 4);
    C->SetDroppedDown(false);
}
