// The demonstration form's text on an X server: typed UTF-8 reaches the memo, its scroll thumb
// dragged down shows later lines, and the desktop's clipboard pastes into the edit line.
#include "tests/gui/demofixture.h"

#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/memo.h"

#include <string>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class DemoText : public guitest::DemoFormTest {
protected:
    int MemoTopLine()
    {
        return static_cast<int>(Form->Memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0));
    }
};

TEST_F(DemoText, TypedTextWithAccentsArrivesInTheMemo)
{
    ShowPage(TDemoForm::pgText);
    ClickAt(Form->Memo, TPoint{4, 4});
    ASSERT_TRUE(PumpUntil([&] { return Form->Memo->Focused(); }));
    Keys({"ctrl+Home"});
    // A keyboard that has the letters: xdotool types others on a borrowed key that it maps
    // back before this process reads the key.
    ASSERT_EQ(RunTool(Display, {"setxkbmap", "-layout", "de"}).Status, 0);
    Type("Gr\xc3\xbc\xc3\x9f"
         "e ");
    ASSERT_TRUE(PumpUntil([&] {
        return Form->Memo->Text().rfind("Gr\xc3\xbc\xc3\x9f"
                                        "e Line 1",
                                        0) == 0;
    })) << Form->Memo->Text().substr(0, 40);
}

TEST_F(DemoText, DraggingTheMemosThumbDownShowsLaterLines)
{
    ShowPage(TDemoForm::pgText);
    ClickAt(Form->Memo, TPoint{4, 4});
    Keys({"ctrl+Home"});
    ASSERT_TRUE(PumpUntil([&] { return MemoTopLine() == 0; })) << MemoTopLine();
    TRect R;
    ASSERT_TRUE(GetWindowRect(Form->Memo->Handle(), R));
    // The vertical bar runs down the right edge, inside the 2-pixel client edge: the thumb sits
    // just below the 16-pixel arrow at the top.
    MoveToScreen(TPoint{R.Right - 10, R.Top + 2 + 16 + 4});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1", "mousemove_relative", "--", "0", "40",
                                "mouseup", "1"})
                  .Status,
              0);
    EXPECT_TRUE(PumpUntil([&] { return MemoTopLine() > 5; })) << MemoTopLine();
}

TEST_F(DemoText, TextOnTheDesktopsClipboardPastesIntoTheEdit)
{
    const std::string Text = "pasted \xc3\xbc";
    // Two requests: the check below that it is there, then the edit's.
    const pid_t Owner = guitest::StartTool(
        Display, {"xclip", "-quiet", "-loops", "2", "-i", "-selection", "clipboard"}, Text);
    ASSERT_NE(Owner, 0);
    ASSERT_TRUE(PumpUntil([&] {
        return RunTool(Display, {"xclip", "-o", "-selection", "clipboard"}).Output == Text;
    }));
    ClickAt(Form->Edit, TPoint{5, 5});
    ASSERT_TRUE(PumpUntil([&] { return Form->Edit->Focused(); }));
    Keys({"ctrl+v"});
    EXPECT_TRUE(PumpUntil([&] { return Form->Edit->Text() == Text; })) << Form->Edit->Text();
    EXPECT_EQ(guitest::EndTool(Owner), 0);
}

} // namespace
