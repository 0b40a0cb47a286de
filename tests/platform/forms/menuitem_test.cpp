// Menu items: shortcut names both ways, radio groups, the item tree, shortcuts found and clicked
// while the menus are closed, and a control's popup menu forgotten when it is freed.
#include "tests/platform/forms/menutest.h"

#include <gtest/gtest.h>

namespace {

TEST(Menus, ShortCutTextAndBackAgree)
{
    struct TCase {
        TShortCut Value;
        const char* Text;
    };
    const std::vector<TCase> Cases = {
        {static_cast<TShortCut>('C' | scCtrl), "Ctrl+C"},
        {static_cast<TShortCut>(VK_DELETE | scShift), "Shift+Del"},
        {VK_F10, "F10"},
        {static_cast<TShortCut>('X' | scAlt), "Alt+X"},
        {static_cast<TShortCut>('S' | scShift | scCtrl), "Shift+Ctrl+S"},
        {static_cast<TShortCut>(VK_INSERT | scCtrl), "Ctrl+Ins"},
        {VK_RETURN, "Enter"},
        {static_cast<TShortCut>((VK_F1 + 11) | scAlt), "Alt+F12"},
        {static_cast<TShortCut>(VK_BACK | scAlt), "Alt+BkSp"},
        {static_cast<TShortCut>('5' | scCtrl), "Ctrl+5"},
        {VK_NUMPAD0 + 7, "Num 7"},
        {static_cast<TShortCut>(VK_OEM_MINUS | scCtrl), "Ctrl+-"},
        {VK_ESCAPE, "Esc"},
        {VK_PRIOR, "PgUp"},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(ShortCutToText(Case.Value), Case.Text);
        EXPECT_EQ(TextToShortCut(Case.Text), Case.Value) << Case.Text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+shift+del"), VK_DELETE | scCtrl | scShift);
    for (const char* Bad : {"", "Ctrl+", "Ctrl+Nothing", "Hyper+A", "Shift"})
        EXPECT_EQ(TextToShortCut(Bad), scNone) << Bad;
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCut('A', TShiftState{ssCtrl, ssAlt}), 'A' | scCtrl | scAlt);
    Word Key = 0;
    TShiftState Shift;
    ShortCutToKey(static_cast<TShortCut>('Q' | scShift), Key, Shift);
    EXPECT_EQ(Key, 'Q');
    EXPECT_EQ(Shift, TShiftState{ssShift});
}

TEST(Menus, CheckingARadioItemUnchecksOnlyItsGroupUnderTheSameParent)
{
    TMenuItem Root(nullptr);
    const auto Radio = [&](TMenuItem* Parent, const std::string& Caption, Byte Group) {
        TMenuItem* Item = AddItem(nullptr, Parent, Caption);
        Item->SetRadioItem(true);
        Item->SetGroupIndex(Group);
        return Item;
    };
    TMenuItem* A = Radio(&Root, "A", 1);
    TMenuItem* B = Radio(&Root, "B", 1);
    TMenuItem* C = Radio(&Root, "C", 2);
    TMenuItem* Plain = AddItem(nullptr, &Root, "Plain");
    Plain->SetGroupIndex(1);
    TMenuItem* Sub = AddItem(nullptr, &Root, "Sub");
    TMenuItem* Inner = Radio(Sub, "Inner", 1);
    for (TMenuItem* Item : {A, C, Plain, Inner})
        Item->SetChecked(true);
    B->SetChecked(true);
    EXPECT_FALSE(A->Checked());
    EXPECT_TRUE(B->Checked());
    EXPECT_TRUE(C->Checked());     // another group
    EXPECT_TRUE(Plain->Checked()); // not a radio item
    EXPECT_TRUE(Inner->Checked()); // another parent
    // Joining the group while checked takes the check from the others.
    C->SetGroupIndex(1);
    EXPECT_FALSE(B->Checked());
    EXPECT_TRUE(C->Checked());
}

TEST(Menus, ItemsKeepTheirTreeAndOwnersFreeThem)
{
    TMenuFixture F;
    auto* Menu = new TPopupMenu(F.Form);
    TMenuItem* A = AddItem(F.Form, Menu->Items(), "&Alpha");
    TMenuItem* B = AddItem(F.Form, Menu->Items(), "Beta");
    TMenuItem* Sub = AddItem(F.Form, B, "Sub");
    auto* Inserted = new TMenuItem(F.Form);
    Menu->Items()->Insert(0, Inserted);
    EXPECT_EQ(Menu->Items()->Count(), 3);
    EXPECT_EQ(Menu->Items()->IndexOf(A), 1);
    EXPECT_EQ(Sub->Parent(), B);
    EXPECT_EQ(Sub->GetParentMenu(), Menu);
    EXPECT_EQ(Menu->Items()->Find("alpha"), A);
    EXPECT_EQ(Menu->FindItem(Sub->Command(), fkCommand), Sub);
    EXPECT_NE(A->Command(), B->Command());
    EXPECT_EQ(FindMenuItemByCommand(B->Command()), B);
    Menu->Items()->Remove(Inserted);
    EXPECT_EQ(Inserted->Parent(), nullptr);
    EXPECT_THROW(Sub->Add(B), EMenuError); // an item cannot hold its own parent
    const UINT Gone = Sub->Command();
    delete B; // frees its sub-items and leaves its parent
    EXPECT_EQ(Menu->Items()->Count(), 1);
    EXPECT_EQ(FindMenuItemByCommand(Gone), nullptr);
    Menu->Items()->Clear();
    EXPECT_EQ(Menu->Items()->Count(), 0);
    EXPECT_EQ(F.Form->FindComponent("x"), nullptr);
}

TEST(Menus, IsShortCutClicksTheEnabledVisibleItemWithTheKey)
{
    TMenuFixture F;
    std::vector<std::string> Clicks;
    auto* Menu = new TMainMenu(F.Form);
    TMenuItem* File = AddItem(F.Form, Menu->Items(), "&File");
    AddItem(F.Form, File, "Open", &Clicks)->SetShortCut(TextToShortCut("Ctrl+O"));
    TMenuItem* Off = AddItem(F.Form, File, "Disabled copy", &Clicks);
    Off->SetShortCut(TextToShortCut("Ctrl+C"));
    Off->SetEnabled(false);
    AddItem(F.Form, File, "Copy", &Clicks)->SetShortCut(TextToShortCut("Ctrl+C"));
    TMenuItem* Hidden = AddItem(F.Form, Menu->Items(), "Hidden");
    AddItem(F.Form, Hidden, "Under hidden", &Clicks)->SetShortCut(TextToShortCut("Ctrl+H"));
    Hidden->SetVisible(false);
    TMenuItem* Deep = AddItem(F.Form, File, "More");
    AddItem(F.Form, Deep, "Deep", &Clicks)->SetShortCut(TextToShortCut("Shift+Del"));

    struct TCase {
        int Key;
        std::vector<int> Held;
        bool Taken;
        const char* Clicked;
    };
    const std::vector<TCase> Cases = {
        {'O', {VK_CONTROL}, true, "Open"},
        {'C', {VK_CONTROL}, true, "Copy"},
        {'H', {VK_CONTROL}, false, ""},
        {VK_DELETE, {VK_SHIFT}, true, "Deep"},
        {'O', {}, false, ""},
        {'O', {VK_CONTROL, VK_SHIFT}, false, ""},
    };
    for (const TCase& Case : Cases) {
        Byte State[256] = {};
        for (int Key : Case.Held)
            State[Key] = 0x80;
        SetKeyboardState(State);
        Clicks.clear();
        TWMKey Message{WM_KEYDOWN, static_cast<std::uint16_t>(Case.Key), 1, 0};
        EXPECT_EQ(Menu->IsShortCut(Message), Case.Taken) << Case.Key;
        EXPECT_EQ(Clicks.empty() ? "" : Clicks.front(), std::string(Case.Clicked));
    }
    // Through the form and the key route: Ctrl+O typed in the form.
    F.Form->SetMenu(Menu);
    Clicks.clear();
    const Byte Released[256] = {};
    SetKeyboardState(Released);
    InjectKeyDown(VK_CONTROL);
    InjectKeyPress('O');
    InjectKeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clicks, std::vector<std::string>{"Open"});
    delete Menu;
    EXPECT_EQ(F.Form->Menu(), nullptr);
}

TEST(Menus, AControlForgetsItsPopupMenuWhenTheMenuIsFreed)
{
    TMenuFixture F;
    auto* Box = Place<TTestBox>(F.Form, 10, 10, 50, 20);
    auto* Menu = new TPopupMenu(F.Form);
    Box->SetPopupMenu(Menu);
    EXPECT_EQ(Box->PopupMenu(), Menu);
    delete Menu;
    EXPECT_EQ(Box->PopupMenu(), nullptr);
}

} // namespace
