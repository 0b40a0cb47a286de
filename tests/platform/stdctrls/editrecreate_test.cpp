// An edit whose window is made anew (CharCase, HideSelection, BorderStyle) keeps the focus, its
// text, and no OnExit/OnEnter comes of it.
#include "tests/platform/stdctrls/edittest.h"

#include "platform/stdctrls/panel.h"

#include <functional>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Events;
}

TEST_F(EditTest, AFocusedEditKeepsTheFocusWhenItsWindowIsMadeAnew)
{
    struct TCase {
        const char* What;
        std::function<void(TEdit*)> Change;
    };
    const std::vector<TCase> Cases = {
        {"CharCase", [](TEdit* E) { E->SetCharCase(ecLowerCase); }},
        {"HideSelection", [](TEdit* E) { E->SetHideSelection(false); }},
        {"BorderStyle", [](TEdit* E) { E->SetBorderStyle(bsNone); }},
    };
    for (const TCase& Case : Cases) {
        TEdit* Other = Make<TEdit>(10, 100, 100, 21);
        TEdit* Edit = MakeEdit("some text");
        Events.clear();
        Edit->OnEnter = [](TObject*) { Events.push_back("enter"); };
        Edit->OnExit = [](TObject*) { Events.push_back("exit"); };
        const HWND Old = Edit->Handle();
        Case.Change(Edit);
        PumpEdits();
        EXPECT_NE(Edit->Handle(), Old) << Case.What;
        EXPECT_EQ(GetFocus(), Edit->Handle()) << Case.What;
        EXPECT_TRUE(Edit->Focused()) << Case.What;
        EXPECT_EQ(Form->ActiveControl(), Edit) << Case.What;
        EXPECT_EQ(Events, std::vector<std::string>{}) << Case.What;
        // Typing goes on into the new window.
        PressKey(VK_END);
        TypeText("x");
        EXPECT_EQ(Edit->Text(), "some textx") << Case.What;
        delete Edit;
        delete Other;
    }
}

TEST_F(EditTest, AnUnfocusedEditMadeAnewLeavesTheFocusWhereItIs)
{
    TEdit* Edit = Make<TEdit>(10, 100, 100, 21);
    TEdit* Focused = MakeEdit("here");
    Edit->SetCharCase(ecUpperCase);
    PumpEdits();
    EXPECT_EQ(GetFocus(), Focused->Handle());
    EXPECT_FALSE(Edit->Focused());
}

TEST_F(EditTest, AFocusedMemoInAPanelKeepsTheFocusWhenItsWindowIsMadeAnew)
{
    auto* Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 0, 300, 200);
    auto* Memo = new TMemo(Form);
    Memo->SetParent(Panel);
    Memo->SetBounds(10, 10, 200, 100);
    Memo->SetText("memo");
    Focus(Memo);
    const HWND Old = Memo->Handle();
    Memo->SetWordWrap(false);
    PumpEdits();
    EXPECT_NE(Memo->Handle(), Old);
    EXPECT_EQ(GetFocus(), Memo->Handle());
    EXPECT_EQ(Form->ActiveControl(), Memo);
}

TEST_F(EditTest, AFocusedEditKeepsTheFocusWhenItsParentIsMadeAnew)
{
    auto* Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 0, 300, 200);
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Panel);
    Edit->SetBounds(10, 10, 200, 21);
    Edit->SetText("inside");
    Focus(Edit);
    const HWND Old = Edit->Handle();
    Panel->Perform(CM_RECREATEWND, 0, 0);
    PumpEdits();
    EXPECT_NE(Edit->Handle(), Old);
    EXPECT_EQ(GetFocus(), Edit->Handle());
    EXPECT_EQ(Form->ActiveControl(), Edit);
    EXPECT_EQ(Edit->Text(), "inside");
}
