// A message box on an X server: a real window whose title the desktop reads, and Enter, typed
// through XTEST once the box has the focus, answers its default button.
#include "tests/gui/xserver.h"

#include "platform/dialogs/formdialogs.h"
#include "platform/forms/form.h"
#include "platform/ui/screen.h"

namespace {

using guitest::RunTool;

class GuiMessageBox : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        FPrevious = SetDialogService(&FDialogs);
    }
    void TearDown() override
    {
        if (App)
            App->OnIdle = nullptr;
        SetDialogService(FPrevious);
        XServerAppTest::TearDown();
    }

private:
    TFormDialogs FDialogs;
    IDialogService* FPrevious = nullptr;
};

} // namespace

TEST_F(GuiMessageBox, ShowsTheTitleAndEnterAnswersTheDefaultButton)
{
    App->SetTitle("Tarnwick mail filter");
    std::string Title, Focus;
    bool Acted = false;
    // Once the box is up and the loop waits, the desktop reads it and types into it.
    App->OnIdle = [&](TObject*, bool& Done) {
        TCustomForm* Box = Screen->ActiveForm();
        if (Acted || Box == nullptr)
            return;
        Acted = true;
        Done = false;
        const std::string Id = std::to_string(DisplayDriver().NativeId(Box->Handle()));
        Title = RunTool(Display, {"xprop", "-id", Id, "_NET_WM_NAME"}).Output;
        // Should a tool fail, the box is taken down so that the test ends.
        if (RunTool(Display, {"xdotool", "windowfocus", "--sync", Id}).Status != 0 ||
            RunTool(Display, {"xdotool", "key", "Return"}).Status != 0) {
            ADD_FAILURE() << "xdotool failed";
            Box->SetModalResult(mrCancel);
        }
    };
    // The second button is the default: Enter answers No.
    EXPECT_EQ(MessageBox("Delete the message from the server?", "",
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDNO);
    EXPECT_TRUE(Acted);
    EXPECT_NE(Title.find("\"Tarnwick mail filter\""), std::string::npos) << Title;
}
