// The demonstration form's pages on an X server: each page looks like its reference picture, Tab
// walks the controls, the pointer resting on a control shows its hint, the right button opens
// the form's pop-up menu, Alt+letter opens a menu of the bar and the menu's shortcut works.
#include "tests/gui/demofixture.h"

#include "platform/forms/hintwindow.h"
#include "platform/forms/menus.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/panel.h"

#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class DemoPages : public guitest::DemoFormTest {
protected:
    // A visible override-redirect window of the menus, or 0.
    static HWND OpenMenu()
    {
        HWND Found = 0;
        EnumWindows([&](HWND Wnd) {
            if (!IsForeignWindow(Wnd) && IsWindowVisible(Wnd) && GetClassName(Wnd) == "#32768")
                Found = Wnd;
            return Found == 0;
        });
        return Found;
    }

    static THintWindow* ShownHint()
    {
        THintWindow* Found = nullptr;
        EnumWindows([&](HWND Wnd) {
            auto* Hint = dynamic_cast<THintWindow*>(FindControl(Wnd));
            if (Hint != nullptr && IsWindowVisible(Wnd))
                Found = Hint;
            return Found == nullptr;
        });
        return Found;
    }

    // Runs a shell line of desktop tools in the background: a menu is modal, so the keys and
    // clicks that close it must come while this process waits inside its loop.
    void RunInBackground(const std::string& Line)
    {
        Script = guitest::StartTool(Display, {"sh", "-c", Line}, "");
        ASSERT_NE(Script, 0);
    }

    void TearDown() override
    {
        if (Script != 0) {
            EXPECT_EQ(guitest::EndTool(Script), 0);
        }
        DemoFormTest::TearDown();
    }

    pid_t Script = 0;
};

TEST_F(DemoPages, EachPageLooksLikeItsReferencePicture)
{
    const char* const Names[TDemoForm::PageCount] = {"demo-buttons", "demo-text", "demo-lists",
                                                     "demo-pictures"};
    for (int Page = TDemoForm::PageCount - 1; Page >= 0; --Page) {
        ShowPage(static_cast<TDemoForm::TPage>(Page));
        // Nothing hovered, no hint up: the pointer rests outside the form.
        MoveToScreen(TPoint{0, 0});
        ASSERT_TRUE(PumpUntil([&] { return Painted() && ShownHint() == nullptr; }));
        ExpectLooksLike(Names[Page]);
    }
}

TEST_F(DemoPages, TabWalksFromTheEditIntoThePageAndBack)
{
    ClickAt(Form->Edit, TPoint{5, 5});
    ASSERT_TRUE(PumpUntil([&] { return Form->Edit->Focused(); }));
    Keys({"Tab"});
    ASSERT_TRUE(PumpUntil([&] { return !Form->Edit->Focused(); }));
    TWinControl* Next = Form->ActiveControl();
    ASSERT_NE(Next, nullptr);
    EXPECT_EQ(Next->Parent(), Form->Pages[TDemoForm::pgButtons]) << Next->ClassName();
    Keys({"shift+Tab"});
    EXPECT_TRUE(PumpUntil([&] { return Form->Edit->Focused(); }));
}

TEST_F(DemoPages, RestingOnTheButtonShowsItsHint)
{
    MoveTo(Form->Button, Middle(Form->Button));
    ASSERT_TRUE(PumpUntil([&] { return ShownHint() != nullptr; }));
    EXPECT_EQ(ShownHint()->Caption(), "Counts its clicks; Enter clicks it too");
    MoveToScreen(TPoint{0, 0});
    EXPECT_TRUE(PumpUntil([&] { return ShownHint() == nullptr; }));
}

TEST_F(DemoPages, TheRightButtonOpensThePopupMenuAndAnItemIsPicked)
{
    MoveTo(Form, TPoint{300, 78}); // between the edit and the page switcher
    // The first item sits just right of and below the point the menu opens at.
    RunInBackground("xdotool click 3 && xdotool search --sync --onlyvisible --class '#32768' "
                    ">/dev/null && xdotool mousemove_relative 30 10 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Form->PopupNote->Caption() == "Picked: Say hello"; }))
        << Form->PopupNote->Caption();
    EXPECT_EQ(OpenMenu(), HWND(0));
}

TEST_F(DemoPages, AltAndALetterOpenTheHelpMenuAndEnterPicksAbout)
{
    int Abouts = 0;
    Form->AboutItem->OnClick = [&](TObject*) { ++Abouts; };
    Focus();
    RunInBackground("xdotool key alt+h && xdotool search --sync --onlyvisible --class '#32768' "
                    ">/dev/null && xdotool key Return");
    ASSERT_TRUE(PumpUntil([&] { return Abouts == 1; }));
    EXPECT_EQ(OpenMenu(), HWND(0));
}

TEST_F(DemoPages, CtrlQClosesTheFormThroughItsMenuShortCut)
{
    int Closes = 0;
    Form->OnClose = [&](TObject*, TCloseAction&) { ++Closes; };
    Keys({"ctrl+q"});
    EXPECT_TRUE(PumpUntil([&] { return Closes == 1; }));
}

} // namespace
