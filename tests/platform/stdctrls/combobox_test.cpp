// The combo box: each style's keys while closed, the drop-down list opened by F4, Alt+Down and
// clicks and closed by Enter, Escape and a click elsewhere with its events in order, typing in
// the edit field, the simple style's own list, and owner-drawn items.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/stdctrls/listboxwindow.h"
#include "platform/ui/queue.h"

namespace {

class ComboBox : public ListTest {
protected:
    TComboBox* Make(TComboBoxStyle Style, int Count = 5)
    {
        auto* C = new TComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(20, 30, 150, 0);
        C->SetStyle(Style);
        for (int I = 0; I < Count; ++I)
            C->Items()->Add(Names[static_cast<std::size_t>(I)]);
        C->OnChange = [this](TObject*) { Log.push_back("change"); };
        C->OnClick = [this, C](TObject*) {
            Log.push_back("click " + std::to_string(C->ItemIndex()));
        };
        C->OnDropDown = [this](TObject*) { Log.push_back("dropdown"); };
        C->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
        return C;
    }
    static HWND ListOf(TComboBox* C) { return ComboBoxListWindow(C->Handle()); }
    // A point of the list window's client area over item Index.
    static void ClickItem(TComboBox* C, int Index)
    {
        TRect R;
        SendMessage(ListOf(C), LB_GETITEMRECT, static_cast<WPARAM>(Index),
                    reinterpret_cast<LPARAM>(&R));
        InjectMouseMove(ListOf(C), 10, R.Top + 2);
        InjectMouseButton(ListOf(C), 0, true, 10, R.Top + 2);
        InjectMouseButton(ListOf(C), 0, false, 10, R.Top + 2);
        Application->ProcessMessages();
    }

    const std::vector<std::string> Names = {"Alpha", "Beta",  "Bravo",   "Charlie",
                                            "Delta", "Echo",  "Foxtrot", "Golf",
                                            "Hotel", "India", "Juliet",  "Kilo"};
    std::vector<std::string> Log;
};

} // namespace

TEST_F(ComboBox, ArrowsAndTypedLettersChooseWhileTheListIsClosed)
{
    struct TStep {
        std::vector<int> Keys; // modifiers then the key, or typed text
        std::string Typed;
        int Index;
        std::string Text;
        std::vector<std::string> Events;
    };
    const std::vector<TStep> Steps = {
        {{VK_DOWN}, "", 0, "Alpha", {"click 0", "change"}},
        {{VK_DOWN}, "", 1, "Beta", {"click 1", "change"}},
        {{VK_RIGHT}, "", 2, "Bravo", {"click 2", "change"}},
        {{VK_UP}, "", 1, "Beta", {"click 1", "change"}},
        {{VK_END}, "", 4, "Delta", {"click 4", "change"}},
        {{VK_DOWN}, "", 4, "Delta", {}}, // at the end: nothing happens
        {{VK_HOME}, "", 0, "Alpha", {"click 0", "change"}},
        {{}, "c", 3, "Charlie", {"click 3", "change"}},
        {{}, "b", 1, "Beta", {"click 1", "change"}},
        {{}, "b", 2, "Bravo", {"click 2", "change"}}, // the same letter again: the next one
    };
    TComboBox* C = Make(csDropDownList);
    C->SetFocus();
    for (const TStep& Step : Steps) {
        Time.Advance(2000);
        Log.clear();
        if (Step.Typed.empty())
            Key(Step.Keys.back());
        else
            Type(Step.Typed);
        EXPECT_EQ(C->ItemIndex(), Step.Index) << Step.Text;
        EXPECT_EQ(C->Text(), Step.Text);
        EXPECT_EQ(Log, Step.Events) << Step.Text;
        EXPECT_FALSE(C->DroppedDown());
    }
}

TEST_F(ComboBox, TheListOpensAndClosesWithItsEventsInOrder)
{
    struct TCase {
        const char* Name;
        TComboBoxStyle Style;
        std::vector<std::vector<int>> Open; // a key with its modifiers; empty: a click
        std::vector<int> Moves;             // keys while open
        std::vector<int> Close;             // a key with modifiers; empty: a click on item 3;
                                            // {0}: a click outside
        int Index;
        std::string Text;
        std::vector<std::string> Events;
    };
    const std::vector<TCase> Cases = {
        {"F4 then Enter",
         csDropDownList,
         {{VK_F4}},
         {VK_DOWN, VK_DOWN},
         {VK_RETURN},
         3,
         "Charlie",
         {"dropdown", "closeup", "click 3", "change"}},
        {"Alt+Down then Escape",
         csDropDownList,
         {{VK_MENU, VK_DOWN}},
         {VK_DOWN},
         {VK_ESCAPE},
         1,
         "Beta",
         {"dropdown", "closeup"}},
        {"a click then an item",
         csDropDownList,
         {},
         {},
         {},
         3,
         "Charlie",
         {"dropdown", "closeup", "click 3", "change"}},
        {"a click outside", csDropDownList, {}, {VK_DOWN}, {0}, 1, "Beta", {"dropdown", "closeup"}},
        {"F4 twice picks",
         csDropDown,
         {{VK_F4}},
         {VK_UP},
         {VK_F4},
         0,
         "Alpha",
         {"dropdown", "closeup", "click 0", "change"}},
        {"Escape in the edit style restores the text",
         csDropDown,
         {{VK_F4}},
         {VK_DOWN, VK_DOWN},
         {VK_ESCAPE},
         1,
         "Beta",
         {"dropdown", "closeup"}},
    };
    for (const TCase& Case : Cases) {
        TComboBox* C = Make(Case.Style);
        C->SetItemIndex(1);
        C->SetFocus();
        Pump();
        Log.clear();
        Time.Advance(2000);
        if (Case.Open.empty()) {
            Click(C, C->Width() - 5, 5);
        } else {
            std::vector<int> Keys = Case.Open.front();
            const int Last = Keys.back();
            Keys.pop_back();
            Key(Last, Keys);
        }
        ASSERT_TRUE(C->DroppedDown()) << Case.Name;
        EXPECT_TRUE(IsWindowVisible(ListOf(C))) << Case.Name;
        EXPECT_EQ(GetCapture(), ListOf(C)) << Case.Name;
        EXPECT_EQ(GetFocus(), C->Handle()) << Case.Name;
        for (int Move : Case.Moves)
            Key(Move);
        Time.Advance(2000);
        if (Case.Close.empty()) {
            ClickItem(C, 3);
        } else if (Case.Close.front() == 0) {
            InjectMouseButton(Form->Handle(), 0, true, 300, 250);
            InjectMouseButton(Form->Handle(), 0, false, 300, 250);
            Pump();
        } else {
            Key(Case.Close.back());
        }
        EXPECT_FALSE(C->DroppedDown()) << Case.Name;
        EXPECT_FALSE(IsWindowVisible(ListOf(C))) << Case.Name;
        EXPECT_EQ(GetCapture(), HWND(0)) << Case.Name;
        EXPECT_EQ(C->ItemIndex(), Case.Index) << Case.Name;
        EXPECT_EQ(C->Text(), Case.Text) << Case.Name;
        EXPECT_EQ(Log, Case.Events) << Case.Name;
        EXPECT_EQ(GetFocus(), C->Handle()) << Case.Name;
        delete C;
    }
}

TEST_F(ComboBox, TheDroppedListIsAPopUpBelowTheBoxSizedByDropDownCount)
{
    TComboBox* C = Make(csDropDownList, 12);
    C->SetDropDownCount(5);
    C->SetDroppedDown(true);
    ASSERT_TRUE(C->DroppedDown());
    const HWND List = ListOf(C);
    EXPECT_EQ(GetParent(List), Form->Handle()); // owned by the form, not a child
    EXPECT_TRUE((GetWindowLong(List, GWL_STYLE) & WS_POPUP) != 0);
    TRect Box;
    TRect Drop;
    GetWindowRect(C->Handle(), Box);
    GetWindowRect(List, Drop);
    const int H = static_cast<int>(SendMessage(List, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(Drop, Rect(Box.Left, Box.Bottom, Box.Right, Box.Bottom + 5 * H + 2));
    // CM_CANCELMODE (the form moves or loses the activation) closes it without a choice.
    Log.clear();
    SendMessage(List, WM_MOUSEMOVE, 0, MakeLParam(5, 3 * H + 2));
    C->Perform(CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(Log, (std::vector<std::string>{"closeup"}));
}
