// The form's menu bar on an X server: a click on a bar item where the bar shows on the screen
// drops its menu down as an override-redirect window under the item, and keys choose in it.
#include "tests/gui/xserver.h"

#include "platform/forms/form.h"
#include "platform/forms/menudraw.h"
#include "platform/ui/timers.h"

#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class GuiMenuBar : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form = new TForm(App.get());
        Form->SetBounds(100, 100, 320, 200);
        Menu = new TMainMenu(Form);
        for (const char* Caption : {"&File", "&Edit"}) {
            auto* Item = new TMenuItem(Form);
            Item->SetCaption(Caption);
            Menu->Items()->Add(Item);
        }
        for (const char* Caption : {"&Copy", "&Paste"}) {
            auto* Item = new TMenuItem(Form);
            Item->SetCaption(Caption);
            Item->OnClick = [this, Caption](TObject*) { Clicks.push_back(Caption); };
            Menu->Items()->Items(1)->Add(Item);
        }
        Form->SetMenu(Menu);
        Form->Show();
        FormId = std::to_string(DisplayDriver().NativeId(Form->Handle()));
        ASSERT_EQ(RunTool(Display, {"xdotool", "windowfocus", "--sync", FormId}).Status, 0);
    }

    // Item's rectangle on the screen.
    TRect ItemRect(int Item) const
    {
        const TRect Bar = MenuBarScreenRect(Form);
        TRect R = LayoutMenuBar(Menu, Bar.Width()).ItemRects[static_cast<std::size_t>(Item)];
        OffsetRect(R, Bar.Left, Bar.Top);
        return R;
    }

    TForm* Form = nullptr;
    TMainMenu* Menu = nullptr;
    std::string FormId;
    std::vector<std::string> Clicks;
};

} // namespace

TEST_F(GuiMenuBar, AClickOnABarItemDropsItsMenuUnderItAndKeysChooseInIt)
{
    // While the menu's loop runs, a timer notes where the drop-down shows.
    std::vector<TRect> Shown;
    HWND Watch = 0;
    Watch = AllocateHWnd([&](TMessage& Message) {
        if (Message.Msg != WM_TIMER) {
            Message.Result = DefWindowProc(Watch, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        EnumWindows([&](HWND Wnd) {
            TRect R;
            if (!IsForeignWindow(Wnd) && GetClassName(Wnd) == "#32768" && IsWindowVisible(Wnd) &&
                GetWindowRect(Wnd, R))
                Shown.push_back(R);
            return true;
        });
    });
    SetTimer(Watch, 1, 20);

    const TRect Edit = ItemRect(1);
    const TPoint At{(Edit.Left + Edit.Right) / 2, (Edit.Top + Edit.Bottom) / 2};
    // The X server's own view: the drop-down is an override-redirect window that shows; then
    // Down moves from Copy to Paste and Enter chooses it.
    const std::string Script =
        "xdotool mousemove " + std::to_string(At.X) + " " + std::to_string(At.Y) +
        " click 1 && W=$(xdotool search --sync --onlyvisible --classname '^#32768$' | head -n 1) "
        "&& xwininfo -id \"$W\" | grep -q 'Override Redirect State: yes' && xdotool key Down "
        "Return";
    const pid_t Tool = guitest::StartTool(Display, {"sh", "-c", Script}, "");
    ASSERT_NE(Tool, 0);
    EXPECT_TRUE(PumpUntil([&] { return !Clicks.empty(); }));
    EXPECT_EQ(guitest::EndTool(Tool), 0);
    KillTimer(Watch, 1);
    DeallocateHWnd(Watch);

    EXPECT_EQ(Clicks, (std::vector<std::string>{"&Paste"}));
    ASSERT_FALSE(Shown.empty());
    EXPECT_EQ(Shown.front().Left, Edit.Left);
    EXPECT_EQ(Shown.front().Top, Edit.Bottom);
    EXPECT_EQ(Menu->HotIndex(), -1);
    EXPECT_EQ(TMenuLoop::Current(), nullptr);
}
