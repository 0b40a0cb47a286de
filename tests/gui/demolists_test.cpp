// The demonstration form's lists on an X server: a click drops a combo's list down and a click
// on an item picks it; the list box's thumb dragged down scrolls it.
#include "tests/gui/demofixture.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/listbox.h"

#include <string>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

using DemoLists = guitest::DemoFormTest;

// The visible drop-down list of a combo box, or 0.
HWND DroppedList()
{
    HWND Found = 0;
    EnumWindows([&](HWND Wnd) {
        if (!IsForeignWindow(Wnd) && IsWindowVisible(Wnd) &&
            (GetWindowLong(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 && GetClassName(Wnd) != "#32768")
            Found = Wnd;
        return Found == 0;
    });
    return Found;
}

TEST_F(DemoLists, AClickDropsTheListDownAndAClickOnAnItemPicksIt)
{
    ShowPage(TDemoForm::pgLists);
    TComboBox* Combo = Form->Combos[csDropDownList];
    ASSERT_EQ(Combo->Text(), "Green");
    std::vector<std::string> Changes;
    Combo->OnChange = [&](TObject*) { Changes.push_back(Combo->Text()); };
    ClickAt(Combo, Middle(Combo));
    ASSERT_TRUE(PumpUntil([&] { return Combo->DroppedDown() && DroppedList() != 0; }));
    TRect R;
    ASSERT_TRUE(GetWindowRect(DroppedList(), R));
    // The first item, below the list's one-pixel border.
    MoveToScreen(TPoint{R.Left + 20, R.Top + 1 + Combo->ItemHeight() / 2});
    ASSERT_EQ(RunTool(Display, {"xdotool", "click", "1"}).Status, 0);
    ASSERT_TRUE(PumpUntil([&] { return !Combo->DroppedDown(); }));
    EXPECT_EQ(Combo->Text(), "Black");
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Changes, std::vector<std::string>{"Black"});
}

TEST_F(DemoLists, DraggingTheListsThumbDownScrollsIt)
{
    ShowPage(TDemoForm::pgLists);
    ASSERT_EQ(Form->List->TopIndex(), 0);
    TRect R;
    ASSERT_TRUE(GetWindowRect(Form->List->Handle(), R));
    MoveToScreen(TPoint{R.Right - 10, R.Top + 2 + 16 + 4});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1", "mousemove_relative", "--", "0", "60",
                                "mouseup", "1"})
                  .Status,
              0);
    EXPECT_TRUE(PumpUntil([&] { return Form->List->TopIndex() > 5; })) << Form->List->TopIndex();
}

} // namespace
