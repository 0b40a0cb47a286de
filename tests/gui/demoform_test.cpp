// The demonstration form on an X server as a person and the desktop see it: its window's class
// and title, its picture, clicks and keys reaching the control under the pointer or with the
// focus, the default button, typed and selected text on the desktop's clipboard; and the program
// itself ending when its form is closed.
#include "tests/gui/demofixture.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/ui/input.h"
#include "platform/ui/windowdc.h"

#include <memory>
#include <string>
#include <vector>

using guitest::PumpUntil;
using guitest::RunTool;

namespace {

struct TPress {
    TObject* Sender;
    int X, Y;
};

class DemoForm : public guitest::DemoFormTest {
protected:
    std::vector<TPress> Presses;
    std::vector<UINT> Crossings;
};

TEST_F(DemoForm, ShowsUnderItsWindowClassAndCaption)
{
    const auto Props = RunTool(Display, {"xprop", "-id", Id, "WM_CLASS", "_NET_WM_NAME"});
    ASSERT_EQ(Props.Status, 0);
    EXPECT_NE(Props.Output.find("WM_CLASS(STRING) = \"TDemoForm\", \"TDemoForm\""),
              std::string::npos)
        << Props.Output;
    EXPECT_NE(Props.Output.find("_NET_WM_NAME(UTF8_STRING) = \"Tarnwick\""), std::string::npos)
        << Props.Output;

    Form->SetCaption("Tarnwick \xc3\xbc");
    const auto Renamed = RunTool(Display, {"xprop", "-id", Id, "_NET_WM_NAME"});
    EXPECT_NE(Renamed.Output.find("\"Tarnwick \xc3\xbc\""), std::string::npos) << Renamed.Output;
}

TEST_F(DemoForm, ScreenshotShowsTheBackBufferBeforeAndAfterRepainting)
{
    ExpectScreenShowsBackBuffer();
    // The button and the edit repaint their parts (caption, focus), presented piece by piece.
    ClickAt(Form->Button, TPoint{20, 10});
    ASSERT_TRUE(PumpUntil([&] { return Form->Clicks() == 1; }));
    EXPECT_EQ(Form->Button->Caption(), "Clicked once");
    ExpectScreenShowsBackBuffer();
}

TEST_F(DemoForm, ClicksReachTheControlUnderThePointerAtItsClientCoordinates)
{
    const std::vector<TControl*> Controls = {Form, Form->Intro, Form->Button, Form->Prompt,
                                             Form->Edit};
    for (TControl* C : Controls)
        C->OnMouseDown = [this](TObject* Sender, TMouseButton, TShiftState, int X, int Y) {
            Presses.push_back(TPress{Sender, X, Y});
        };
    struct TCase {
        TControl* Control;
        TPoint At;
    };
    const std::vector<TCase> Cases = {
        {Form, TPoint{100, 76}},      {Form->Intro, TPoint{40, 7}},  {Form->Button, TPoint{12, 9}},
        {Form->Prompt, TPoint{5, 3}}, {Form->Edit, TPoint{100, 14}},
    };
    for (const TCase& Case : Cases) {
        Presses.clear();
        ClickAt(Case.Control, Case.At);
        ASSERT_TRUE(PumpUntil([&] { return !Presses.empty(); })) << Case.Control->ClassName();
        EXPECT_EQ(Presses.size(), 1u);
        EXPECT_EQ(Presses[0].Sender, Case.Control) << Case.Control->ClassName();
        EXPECT_EQ(Presses[0].X, Case.At.X) << Case.Control->ClassName();
        EXPECT_EQ(Presses[0].Y, Case.At.Y) << Case.Control->ClassName();
    }
    EXPECT_EQ(Form->Clicks(), 1);
    EXPECT_TRUE(Form->Edit->Focused());
}

TEST_F(DemoForm, KeysGoToTheFocusedEditEnterClicksTheDefaultButtonCtrlCCopiesTheSelection)
{
    std::vector<Word> EditKeys, ButtonKeys;
    Form->Edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { EditKeys.push_back(Key); };
    Form->Button->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { ButtonKeys.push_back(Key); };
    ClickAt(Form->Edit, TPoint{10, 10});
    ASSERT_TRUE(PumpUntil([&] { return Form->Edit->Focused(); }));

    // A keyboard whose keys carry the accented letter, which Backspace takes back whole.
    ASSERT_EQ(RunTool(Display, {"setxkbmap", "-layout", "fr"}).Status, 0);
    Keys({"h", "eacute", "eacute", "BackSpace", "i", "Return"});
    ASSERT_TRUE(PumpUntil([&] { return Form->Clicks() == 1; })) << Form->Edit->Text();
    EXPECT_EQ(Form->Edit->Text(), "h\xc3\xa9i");
    EXPECT_EQ(Form->Button->Caption(), "Clicked once");
    const std::vector<Word> Typed = {'H', '2', '2', VK_BACK, 'I'};
    EXPECT_EQ(EditKeys, Typed);
    EXPECT_TRUE(ButtonKeys.empty());

    Keys({"Home", "shift+End", "ctrl+c"});
    const auto Copied = RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
    EXPECT_EQ(Copied.Status, 0);
    EXPECT_EQ(Copied.Output, "h\xc3\xa9i");
}

TEST_F(DemoForm, PointerLeavingTheWindowLeavesTheControlUnderIt)
{
    const TWndMethod Inherited = Form->Button->WindowProc;
    Form->Button->WindowProc = [this, Inherited](TMessage& Message) {
        if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE)
            Crossings.push_back(Message.Msg);
        Inherited(Message);
    };
    MoveTo(Form->Button, TPoint{20, 10});
    ASSERT_TRUE(PumpUntil([&] { return !Crossings.empty(); }));
    EXPECT_EQ(Crossings, std::vector<UINT>{CM_MOUSEENTER});
    MoveTo(Form, TPoint{-40, -40});
    ASSERT_TRUE(PumpUntil([&] { return Crossings.size() == 2; }));
    EXPECT_EQ(Crossings.back(), UINT(CM_MOUSELEAVE));
}

using DemoProgram = guitest::XServerTest;

TEST_F(DemoProgram, ShowsItsFormAndEndsWhenTheFormIsClosed)
{
    const pid_t Program = guitest::StartTool(Display, {TARNWICK_EXECUTABLE}, "");
    ASSERT_NE(Program, 0);
    const auto Found =
        RunTool(Display, {"xdotool", "search", "--sync", "--onlyvisible", "--class", "TDemoForm"});
    const std::string Window = Found.Output.substr(0, Found.Output.find('\n'));
    ASSERT_FALSE(Window.empty()) << Found.Output;
    const auto Name = RunTool(Display, {"xprop", "-id", Window, "_NET_WM_NAME"});
    EXPECT_NE(Name.Output.find("\"Tarnwick\""), std::string::npos) << Name.Output;

    // The window manager's close button.
    ASSERT_EQ(RunTool(Display, {"python3", TARNWICK_GUI_TESTS "/wmclose.py", Window}).Status, 0);
    EXPECT_EQ(guitest::EndTool(Program), 0);
}

} // namespace
