// The combo box: each style's keys while closed, the drop-down list opened by F4, Alt+Down and
// clicks and closed by Enter, Escape and a click elsewhere with its events in order, typing in
// the edit field, the simple style's own list, and owner-drawn items.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/listboxwindow.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"

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

TEST_F(ComboBox, TypingInTheEditStylesChangesTheTextAndLeavesTheChoice)
{
    for (TComboBoxStyle Style : {csDropDown, csSimple}) {
        TComboBox* C = Make(Style);
        if (Style == csSimple)
            C->SetHeight(120);
        C->SetMaxLength(7);
        C->SetItemIndex(2);
        C->SetFocus();
        Pump();
        EXPECT_EQ(C->SelStart(), 0); // the focus selects the whole text
        EXPECT_EQ(C->SelLength(), 5);
        Log.clear();
        Type("Ch");
        EXPECT_EQ(C->Text(), "Ch");
        EXPECT_EQ(C->ItemIndex(), -1);
        EXPECT_EQ(Log, (std::vector<std::string>{"change", "change"}));
        Type("\xC3\xA9t\xC3\xA9 long"); // the limit of 7 bytes ends it before " long"
        EXPECT_EQ(C->Text(), "Ch\xC3\xA9t\xC3\xA9");
        Key(VK_BACK);
        EXPECT_EQ(C->Text(), "Ch\xC3\xA9t");
        Key(VK_LEFT, {VK_SHIFT});
        Key(VK_LEFT, {VK_SHIFT});
        EXPECT_EQ(C->SelStart(), 2);
        EXPECT_EQ(C->SelText(), "\xC3\xA9t");
        C->SetSelText("ar");
        EXPECT_EQ(C->Text(), "Char");
        // An arrow key chooses an item again and the text follows it.
        Log.clear();
        Key(VK_DOWN);
        EXPECT_EQ(C->ItemIndex(), 0);
        EXPECT_EQ(C->Text(), "Alpha");
        EXPECT_EQ(Log, (std::vector<std::string>{"click 0", "change"}));
        delete C;
    }
}

// One TEditCharCase serves the edit and the combo box, in one unit with both.
TEST_F(ComboBox, AnEditAndAComboBoxFoldTypedTextByTheSameCharCase)
{
    for (TEditCharCase Case : {ecUpperCase, ecLowerCase}) {
        TComboBox* C = Make(csDropDown, 0);
        C->SetCharCase(Case);
        auto* E = Place<TEdit>(20, 100, 150, 21);
        E->SetCharCase(C->CharCase());
        const std::string Folded = Case == ecUpperCase ? "MIXED" : "mixed";
        for (TWinControl* Control : std::vector<TWinControl*>{C, E}) {
            Control->SetFocus();
            Pump();
            Type("MiXed");
        }
        EXPECT_EQ(C->Text(), Folded);
        EXPECT_EQ(E->Text(), Folded);
        delete E;
        delete C;
    }
}

TEST_F(ComboBox, TheSimpleStyleShowsItsListBelowTheEditField)
{
    TComboBox* C = Make(csSimple);
    C->SetHeight(120);
    const HWND List = ListOf(C);
    ASSERT_NE(List, HWND(0));
    EXPECT_EQ(GetParent(List), C->Handle());
    EXPECT_TRUE(IsWindowVisible(List));
    TRect R;
    GetClientRect(List, R);
    const int ItemH = static_cast<int>(SendMessage(List, LB_GETITEMHEIGHT, 0, 0));
    Log.clear();
    Click(C, 10, C->ClientHeight() - R.Height() + ItemH * 3 + 2); // through the combo onto item 3
    EXPECT_EQ(C->ItemIndex(), 3);
    EXPECT_EQ(C->Text(), "Charlie");
    EXPECT_EQ(GetFocus(), C->Handle());
    EXPECT_EQ(Log, (std::vector<std::string>{"click 3", "change"}));
    // F4 has no list to drop.
    Key(VK_F4);
    EXPECT_FALSE(C->DroppedDown());
}

TEST_F(ComboBox, SortedItemsAndTheirObjectsSurviveAStyleChange)
{
    TComboBox* C = Make(csDropDown, 0);
    C->SetSorted(true);
    TObject A;
    TObject Z;
    C->Items()->AddObject("zulu", &Z);
    C->Items()->AddObject("alpha", &A);
    C->Items()->Add("Mike");
    C->SetItemIndex(1);
    C->SetStyle(csDropDownList);
    ASSERT_EQ(C->Items()->Count(), 3);
    EXPECT_EQ(C->Items()->Get(0), "alpha");
    EXPECT_EQ(C->Items()->GetObject(2), &Z);
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(C->Text(), "Mike");
    // The list style takes only a text its list has.
    C->SetText("zulu");
    EXPECT_EQ(C->ItemIndex(), 2);
    C->SetText("nothing like it");
    EXPECT_EQ(C->Text(), "zulu");
    EXPECT_EQ(C->Items()->IndexOf("ZULU"), 2);
}

TEST_F(ComboBox, OwnerDrawnItemsAreDrawnInTheListAndTheEditField)
{
    TComboBox* C = Make(csOwnerDrawVariable);
    C->SetItemHeight(18);
    std::vector<int> Measured;
    C->OnMeasureItem = [&](TWinControl* Control, int Index, int& Height) {
        EXPECT_EQ(Control, C);
        Measured.push_back(Index);
        Height = 12 + 2 * Index;
    };
    C->Items()->Clear();
    for (int I = 0; I < 3; ++I)
        C->Items()->Add(Names[static_cast<std::size_t>(I)]);
    EXPECT_EQ(Measured, (std::vector<int>{0, 1, 2}));
    struct TDrawn {
        int Index;
        TRect Rect;
        TOwnerDrawState State;
    };
    std::vector<TDrawn> Drawn;
    C->OnDrawItem = [&](TWinControl* Control, int Index, TRect R, TOwnerDrawState State) {
        EXPECT_EQ(Control, C);
        Drawn.push_back(TDrawn{Index, R, State});
    };
    C->SetItemIndex(1);
    C->SetFocus();
    Pump();
    TRasterDevice Device(C->ClientWidth(), C->ClientHeight());
    TCanvas Canvas(&Device);
    Drawn.clear();
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
    ASSERT_EQ(Drawn.size(), 1u); // the edit field shows the choice, focused
    EXPECT_EQ(Drawn[0].Index, 1);
    EXPECT_TRUE(Drawn[0].State.Contains(odComboBoxEdit));
    EXPECT_TRUE(Drawn[0].State.Contains(odSelected));
    EXPECT_TRUE(Drawn[0].State.Contains(odFocused));
    EXPECT_EQ(Drawn[0].Rect, Rect(2, 2, C->ClientWidth() - GetSystemMetrics(SM_CXVSCROLL) - 2,
                                  C->ClientHeight() - 2));
    C->SetDroppedDown(true);
    TRect L;
    GetClientRect(ListOf(C), L);
    TRasterDevice ListDevice(L.Width(), L.Height());
    TCanvas ListCanvas(&ListDevice);
    Drawn.clear();
    SendMessage(ListOf(C), WM_PAINT, reinterpret_cast<WPARAM>(ListCanvas.Handle()), 0);
    ASSERT_EQ(Drawn.size(), 3u);
    const int W = L.Width();
    EXPECT_EQ(Drawn[0].Rect, Rect(0, 0, W, 12));
    EXPECT_EQ(Drawn[1].Rect, Rect(0, 12, W, 26));
    EXPECT_EQ(Drawn[2].Rect, Rect(0, 26, W, 42));
    EXPECT_TRUE(Drawn[1].State.Contains(odSelected));
    EXPECT_FALSE(Drawn[1].State.Contains(odComboBoxEdit));
    C->SetDroppedDown(false);
}

TEST_F(ComboBox, TheListClosesWhenItsFormLosesTheActivation)
{
    TComboBox* C = Make(csDropDownList);
    C->SetItemIndex(0);
    C->SetFocus();
    Key(VK_F4);
    Key(VK_DOWN);
    ASSERT_TRUE(C->DroppedDown());
    Log.clear();
    auto* Other = new TForm(&App);
    Other->SetBounds(600, 100, 200, 150);
    Other->Show();
    SetActiveWindow(Other->Handle());
    Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_FALSE(IsWindowVisible(ListOf(C)));
    EXPECT_EQ(C->ItemIndex(), 0); // closed without a choice
    EXPECT_EQ(Log, (std::vector<std::string>{"closeup"}));
}
