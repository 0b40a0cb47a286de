// A hint on an X server: the pointer resting on a control brings up an override-redirect window
// below it that leaves the keyboard focus where it was; a click takes it down.
#include "tests/gui/xserver.h"

#include "platform/forms/form.h"
#include "platform/forms/hintwindow.h"

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class GuiHint : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Form = new TForm(App.get());
        Form->SetBounds(100, 100, 300, 200);
        Form->SetShowHint(true);
        Box = new TCustomControl(Form);
        Box->SetParent(Form);
        Box->SetBounds(20, 20, 80, 30);
        Box->SetHint("Hinted box|The long part");
        Form->Show();
        FormId = std::to_string(DisplayDriver().NativeId(Form->Handle()));
        ASSERT_EQ(RunTool(Display, {"xdotool", "windowfocus", "--sync", FormId}).Status, 0);
    }

    THintWindow* Shown() const
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

    TForm* Form = nullptr;
    TCustomControl* Box = nullptr;
    std::string FormId;
};

} // namespace

TEST_F(GuiHint, RestingThePointerShowsAnOverrideRedirectHintAndAClickTakesItDown)
{
    const TPoint At = Box->ClientToScreen(TPoint{30, 10});
    ASSERT_EQ(RunTool(Display, {"xdotool", "mousemove", std::to_string(At.X), std::to_string(At.Y)})
                  .Status,
              0);
    ASSERT_TRUE(PumpUntil([&] { return Shown() != nullptr; }));
    THintWindow* Hint = Shown();
    EXPECT_EQ(Hint->Caption(), "Hinted box");
    const std::string HintId = std::to_string(DisplayDriver().NativeId(Hint->Handle()));
    const std::string Info = RunTool(Display, {"xwininfo", "-id", HintId}).Output;
    EXPECT_NE(Info.find("Override Redirect State: yes"), std::string::npos) << Info;
    EXPECT_NE(Info.find("IsViewable"), std::string::npos) << Info;
    const auto Number = [&](const std::string& Label) {
        const auto Pos = Info.find(Label);
        return Pos == std::string::npos ? -1 : std::stoi(Info.substr(Pos + Label.size()));
    };
    EXPECT_EQ(Number("Absolute upper-left X:"), At.X);
    EXPECT_GT(Number("Absolute upper-left Y:"), At.Y);
    const std::string Focus = RunTool(Display, {"xdotool", "getwindowfocus"}).Output;
    EXPECT_EQ(Focus.substr(0, Focus.find('\n')), FormId);

    ASSERT_EQ(RunTool(Display, {"xdotool", "click", "1"}).Status, 0);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }));
}
