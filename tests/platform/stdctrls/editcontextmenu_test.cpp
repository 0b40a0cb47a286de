// The edit's own context menu: which items are enabled in which state, and choosing one through
// the menu; OnContextPopup and a PopupMenu come before it.
#include "tests/platform/forms/menutest.h"
#include "tests/platform/stdctrls/edittest.h"

#include "platform/stdctrls/editwindow.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The enabled items of a menu, by caption; separators left out.
std::string EnabledItems(TPopupMenu& Menu)
{
    std::string Out;
    for (int I = 0; I < Menu.Items()->Count(); ++I) {
        TMenuItem* Item = Menu.Items()->Items(I);
        if (Item->Caption() != "-" && Item->Enabled())
            for (char C : (Out.empty() ? "" : " ") + Item->Caption())
                if (C != '&')
                    Out += C;
    }
    return Out;
}

bool OwnMenusOpen()
{
    return !MenuWindows().empty();
}

std::function<void()> PressInMenu(int VirtualKey)
{
    return [VirtualKey] { InjectKeyPress(VirtualKey, {}); };
}

} // namespace

TEST_F(EditTest, TheContextMenuEnablesItsItemsAsTheEditsStateAllows)
{
    struct TCase {
        const char* What;
        std::function<void(TEdit*)> Set;
        std::string Enabled;
    };
    const std::vector<TCase> Cases = {
        {"empty", [](TEdit* E) { E->SetText(""); }, ""},
        {"text, no selection", [](TEdit*) {}, "Select All"},
        {"a selection",
         [](TEdit* E) {
             E->SetSelStart(1);
             E->SetSelLength(2);
         },
         "Cut Copy Delete Select All"},
        {"all selected", [](TEdit* E) { E->SelectAll(); }, "Cut Copy Delete"},
        {"after a change",
         [](TEdit* E) {
             E->SetSelStart(0);
             E->SetSelLength(1);
             E->ClearSelection();
         },
         "Undo Select All"},
        {"clipboard text", [](TEdit*) { Clipboard()->SetAsText("clip"); }, "Paste Select All"},
        {"password with a selection",
         [](TEdit* E) {
             E->SetPasswordChar('*');
             E->SelectAll();
         },
         "Delete"},
        {"read-only with a selection and clipboard text",
         [](TEdit* E) {
             Clipboard()->SetAsText("clip");
             E->SetReadOnly(true);
             E->SelectAll();
         },
         "Copy"},
    };
    for (const TCase& Case : Cases) {
        Clipboard()->Clear();
        TEdit* Edit = MakeEdit("words");
        Edit->SetSelStart(0);
        Edit->SetSelLength(0);
        Edit->Perform(EM_EMPTYUNDOBUFFER, 0, 0);
        Case.Set(Edit);
        const std::unique_ptr<TPopupMenu> Menu = MakeEditContextMenu(Edit->Handle());
        EXPECT_EQ(EnabledItems(*Menu), Case.Enabled) << Case.What;
        ASSERT_EQ(Menu->Items()->Count(), 7) << Case.What;
        delete Edit;
    }
}

TEST_F(EditTest, CutChosenFromTheContextMenuCutsTheSelection)
{
    TEdit* Edit = MakeEdit("cut this out");
    Edit->SetSelStart(4);
    Edit->SetSelLength(5);
    // Down twice from nothing highlighted: Undo is disabled, so Cut then Copy; Up back to Cut.
    TMenuScript Script(
        {PressInMenu(VK_DOWN), PressInMenu(VK_DOWN), PressInMenu(VK_UP), PressInMenu(VK_RETURN)});
    TPoint At{5, 5};
    ClientToScreen(Edit->Handle(), At);
    SendMessage(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
                MakeLParam(At.X, At.Y));
    EXPECT_TRUE(Script.Finished());
    EXPECT_FALSE(OwnMenusOpen());
    EXPECT_EQ(Edit->Text(), "cut out");
    EXPECT_EQ(Clipboard()->AsText(), "this ");
    EXPECT_EQ(Changes, 1);
}

TEST_F(EditTest, OnContextPopupAndAPopupMenuComeBeforeTheEditsOwnMenu)
{
    TEdit* Edit = MakeEdit("text");
    int Asked = 0;
    Edit->OnContextPopup = [&Asked](TObject*, TPoint, bool& Handled) {
        ++Asked;
        Handled = true;
    };
    SendMessage(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
                MakeLParam(-1, -1));
    EXPECT_EQ(Asked, 1); // handled: no menu opened, so the call came back at once
    EXPECT_FALSE(OwnMenusOpen());

    Edit->OnContextPopup = nullptr;
    auto* Own = new TPopupMenu(Form);
    std::vector<std::string> Clicks;
    AddItem(Form, Own->Items(), "Mine", &Clicks);
    Edit->SetPopupMenu(Own);
    TMenuScript Script({PressInMenu(VK_DOWN), PressInMenu(VK_RETURN)});
    SendMessage(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
                MakeLParam(-1, -1));
    EXPECT_EQ(Clicks, std::vector<std::string>{"Mine"});
    EXPECT_EQ(Edit->Text(), "text");
}
