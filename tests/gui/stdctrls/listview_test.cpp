// The List page's list view on an X server: clicks with Shift and Ctrl select a range and add a
// row, a header divider dragged sizes its column, and the page looks like its reference.
#include "tests/gui/stdctrls/controlsfixture.h"

#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/queue.h"

#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class ListViewScreen : public guitest::ControlsPageTest<&guitest::BuildListPage> {
protected:
    TListView* List() { return Demo().ListView; }

    std::vector<int> SelectedRows()
    {
        std::vector<int> Rows;
        for (TListItem* I = List()->GetNextItem(nullptr, sdAll, TItemStates{isSelected});
             I != nullptr; I = List()->GetNextItem(I, sdAll, TItemStates{isSelected}))
            Rows.push_back(I->Index());
        return Rows;
    }

    // A point on the row's subject text, in the list view's client coordinates.
    TPoint RowPoint(int Row)
    {
        const TRect R = List()->Items()->Item(Row)->DisplayRect(LVIR_BOUNDS);
        return TPoint{60, R.Top + R.Height() / 2};
    }

    // Clicks the row with the modifier keys held ("shift", "ctrl"; none: a plain click).
    void ClickRow(int Row, const std::string& Modifier = {})
    {
        MoveTo(List(), RowPoint(Row));
        std::vector<std::string> Args = {"xdotool"};
        if (!Modifier.empty())
            Args.insert(Args.end(), {"keydown", Modifier});
        Args.insert(Args.end(), {"click", "1"});
        if (!Modifier.empty())
            Args.insert(Args.end(), {"keyup", Modifier});
        ASSERT_EQ(RunTool(Display, Args).Status, 0);
    }

    HWND Header() { return static_cast<HWND>(List()->Perform(LVM_GETHEADER, 0, 0)); }
};

TEST_F(ListViewScreen, ClickShiftClickAndCtrlClickSelectARangeAndAddARow)
{
    ASSERT_NE(List(), nullptr);
    ClickRow(2);
    ASSERT_TRUE(PumpUntil([&] { return SelectedRows() == std::vector<int>{2}; }))
        << SelectedRows().size();
    ClickRow(5, "shift");
    EXPECT_TRUE(PumpUntil([&] {
        return SelectedRows() == std::vector<int>{2, 3, 4, 5};
    })) << SelectedRows().size();
    ClickRow(8, "ctrl");
    EXPECT_TRUE(PumpUntil([&] {
        return SelectedRows() == std::vector<int>{2, 3, 4, 5, 8};
    })) << SelectedRows().size();
    ASSERT_NE(List()->ItemFocused(), nullptr);
    EXPECT_EQ(List()->ItemFocused()->Index(), 8);
}

TEST_F(ListViewScreen, DraggingAHeaderDividerSizesTheColumnByTheDrag)
{
    ASSERT_NE(List(), nullptr);
    TListColumn* Sender = List()->Columns()->Items(1);
    ASSERT_EQ(Sender->Width(), 140);
    TRect Item;
    ASSERT_NE(Header(), HWND(0));
    ASSERT_EQ(SendMessage(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&Item)), 1);
    TPoint Divider{Item.Right, Item.Height() / 2};
    ClientToScreen(Header(), Divider);
    MoveToScreen(Divider);
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1", "mousemove_relative", "--", "-50", "0",
                                "mouseup", "1"})
                  .Status,
              0);
    EXPECT_TRUE(PumpUntil([&] { return Sender->Width() == 90; })) << Sender->Width();
    EXPECT_EQ(List()->Columns()->Items(0)->Width(), 220);
    EXPECT_TRUE(SelectedRows().empty()) << "a drag on the header selects nothing";
}

TEST_F(ListViewScreen, LooksLikeItsReference)
{
    ASSERT_NE(List(), nullptr);
    List()->Items()->Item(1)->SetSelected(true);
    List()->Items()->Item(3)->SetSelected(true);
    List()->Items()->Item(3)->SetFocused(true);
    ASSERT_TRUE(PumpUntil([&] { return Painted(); }));
    ExpectLooksLike("stdctrls_listview");
}

} // namespace
