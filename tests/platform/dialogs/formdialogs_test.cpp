// The boxes shown as forms through the dialog service: per kind, which buttons in which order
// with which captions, the default button answering Enter, Escape and the close box, the
// caption, the input boxes' text, ShowException, and the service staying built-in headless.
#include "tests/platform/dialogs/dialogstest.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/ui/displaydriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TDialogRequest Box(unsigned Flags, const std::string& Caption = "Box")
{
    TDialogRequest R;
    R.Kind = TDialogKind::MessageBox;
    R.Caption = Caption;
    R.Text = "Go on?";
    R.Flags = Flags;
    return R;
}

TDialogRequest Dlg(TMsgDlgType Type, TMsgDlgButtons Buttons)
{
    TDialogRequest R;
    R.Kind = TDialogKind::MessageDlg;
    R.Text = "Go on?";
    R.DlgType = Type;
    R.Buttons = Buttons;
    return R;
}

TDialogRequest Simple(TDialogKind Kind)
{
    TDialogRequest R;
    R.Kind = Kind;
    R.Text = "Name:";
    R.Value = "start";
    return R;
}

struct TButtonsCase {
    const char* Name;
    TDialogRequest Request;
    std::vector<std::string> Captions;
    int Default;
    int Escape; // mrNone: Escape and the close box leave the box up
};

std::vector<TButtonsCase> ButtonsCases()
{
    return {
        {"MB_OK", Box(MB_OK), {"OK"}, IDOK, IDOK},
        {"MB_OKCANCEL second",
         Box(MB_OKCANCEL | MB_DEFBUTTON2),
         {"OK", "Cancel"},
         IDCANCEL,
         IDCANCEL},
        {"MB_ABORTRETRYIGNORE third",
         Box(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3),
         {"&Abort", "&Retry", "&Ignore"},
         IDIGNORE,
         mrNone},
        {"MB_YESNOCANCEL second",
         Box(MB_YESNOCANCEL | MB_DEFBUTTON2),
         {"&Yes", "&No", "Cancel"},
         IDNO,
         IDCANCEL},
        {"MB_YESNO", Box(MB_YESNO | MB_ICONQUESTION), {"&Yes", "&No"}, IDYES, mrNone},
        {"MB_RETRYCANCEL", Box(MB_RETRYCANCEL), {"&Retry", "Cancel"}, IDRETRY, IDCANCEL},
        {"MessageDlg Yes/No/Cancel",
         Dlg(mtWarning, mbYesNoCancel),
         {"&Yes", "&No", "Cancel"},
         mrYes,
         mrCancel},
        {"MessageDlg Yes/No", Dlg(mtConfirmation, {mbYes, mbNo}), {"&Yes", "&No"}, mrYes, mrNo},
        {"MessageDlg OK prefers OK", Dlg(mtError, {mbYes, mbOK}), {"&Yes", "OK"}, mrOk, mrOk},
        {"MessageDlg Abort/Retry/Ignore",
         Dlg(mtInformation, mbAbortRetryIgnore),
         {"&Abort", "&Retry", "&Ignore"},
         mrRetry,
         mrNone},
        {"MessageDlg the all buttons and Help",
         Dlg(mtCustom, {mbYes, mbNo, mbAll, mbNoToAll, mbYesToAll, mbHelp}),
         {"&Yes", "&No", "&All", "N&o to All", "Yes to &All", "&Help"},
         mrYes,
         mrNo},
        {"ShowMessage", Simple(TDialogKind::ShowMessage), {"OK"}, mrOk, mrOk},
        {"InputBox", Simple(TDialogKind::InputBox), {"OK", "Cancel"}, mrOk, mrCancel},
        {"InputQuery", Simple(TDialogKind::InputQuery), {"OK", "Cancel"}, mrOk, mrCancel},
    };
}

class FormDialogs : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
};

} // namespace

TEST_F(FormDialogs, EachBoxShowsItsButtonsInOrderAndEnterAnswersTheDefault)
{
    for (const TButtonsCase& Case : ButtonsCases()) {
        SCOPED_TRACE(Case.Name);
        std::vector<std::string> Captions;
        bool DefaultFocused = false;
        TBoxScript Script(App, {[&](TMessageForm* Box) {
                                    for (TButton* Button : Box->Buttons())
                                        Captions.push_back(Button->Caption());
                                    TButton* Default = Box->ButtonOf(Case.Default);
                                    DefaultFocused = Default != nullptr && Default->Default() &&
                                                     Default->Focused();
                                },
                                Key(VK_RETURN)});
        EXPECT_EQ(DialogService().Show(Case.Request).Result, Case.Default);
        EXPECT_EQ(Captions, Case.Captions);
        EXPECT_TRUE(DefaultFocused || Case.Request.Kind == TDialogKind::InputBox ||
                    Case.Request.Kind == TDialogKind::InputQuery);
        EXPECT_EQ(BoxUp(), nullptr);
    }
}

TEST_F(FormDialogs, EscapeAndTheCloseBoxAnswerAsTheClassicBoxesOrLeaveTheBoxUp)
{
    struct TWay {
        const char* Name;
        TBoxScript::TStep Step;
    };
    const std::vector<TWay> Ways = {
        {"Escape", Key(VK_ESCAPE)},
        {"WM_CLOSE", Post(WM_CLOSE)},
        {"SC_CLOSE", Post(WM_SYSCOMMAND, SC_CLOSE)},
    };
    for (const TButtonsCase& Case : ButtonsCases())
        for (const TWay& Way : Ways) {
            SCOPED_TRACE(std::string(Case.Name) + ", " + Way.Name);
            bool CloseBox = false;
            // Where nothing answers, the box stays up and Enter then answers the default.
            TBoxScript Script(App, {[&](TMessageForm* Box) {
                                        CloseBox = (GetWindowLong(Box->Handle(), GWL_STYLE) &
                                                    WS_SYSMENU) != 0;
                                        Way.Step(Box);
                                    },
                                    Key(VK_RETURN)});
            const int Answer = DialogService().Show(Case.Request).Result;
            EXPECT_EQ(Answer, Case.Escape != mrNone ? Case.Escape : Case.Default);
            EXPECT_EQ(Script.Ran(), Case.Escape != mrNone ? 1u : 2u);
            EXPECT_EQ(CloseBox, Case.Escape != mrNone);
        }
}

TEST_F(FormDialogs, AnAcceleratorLetterAnswersItsButton)
{
    struct TCase {
        TDialogRequest Request;
        int Key;
        int Result;
    };
    const std::vector<TCase> Cases = {
        {Box(MB_YESNO), 'N', IDNO},
        {Box(MB_ABORTRETRYIGNORE), 'I', IDIGNORE},
        {Dlg(mtConfirmation, {mbYes, mbNo, mbNoToAll}), 'O', mrNoToAll},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Key);
        TBoxScript Script(App, {Key(Case.Key, std::string(1, static_cast<char>(Case.Key + 32)))});
        EXPECT_EQ(DialogService().Show(Case.Request).Result, Case.Result);
    }
}

TEST_F(FormDialogs, TheCaptionIsTheOneAskedForElseTheApplicationsTitle)
{
    App.SetTitle("Tarnwick test");
    struct TCase {
        const char* Name;
        std::function<void()> Call;
        const char* Caption;
    };
    const std::vector<TCase> Cases = {
        {"MessageBox with a caption", [] { MessageBox("Text", "Mail", MB_OK); }, "Mail"},
        {"MessageBox without", [] { MessageBox("Text", "", MB_OK); }, "Tarnwick test"},
        {"MessageDlg warning", [] { MessageDlg("Text", mtWarning, {mbOK}, 0); }, "Warning"},
        {"MessageDlg custom", [] { MessageDlg("Text", mtCustom, {mbOK}, 0); }, "Tarnwick test"},
        {"ShowMessage", [] { ShowMessage("Text"); }, "Tarnwick test"},
        {"InputBox", [] { InputBox("Rename", "Name:", "x"); }, "Rename"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::string Caption, Text;
        TBoxScript Script(App, {[&](TMessageForm* Box) {
                                    Caption = Box->Caption();
                                    Text = Box->Message()->Caption();
                                    EXPECT_EQ(GetWindowText(Box->Handle()), Caption);
                                },
                                Key(VK_RETURN)});
        Case.Call();
        EXPECT_EQ(Caption, Case.Caption);
        EXPECT_TRUE(Text == "Text" || Text == "Name:") << Text;
    }
}

TEST_F(FormDialogs, InputBoxGivesTheEditedTextOnOkAndTheDefaultOnCancel)
{
    struct TCase {
        const char* Name;
        std::vector<TBoxScript::TStep> Steps;
        std::string Result;
    };
    const std::vector<TCase> Cases = {
        {"typed over the selected text, OK", {Key('X', "x"), Key('Y', "y"), Key(VK_RETURN)}, "xy"},
        {"unchanged, OK", {Key(VK_RETURN)}, "draft"},
        {"typed, then Escape", {Key('X', "x"), Key(VK_ESCAPE)}, "draft"},
        {"typed, then the close box", {Key('X', "x"), Post(WM_CLOSE)}, "draft"},
        {"emptied, OK", {[](TMessageForm* Box) { Box->Edit()->SetText(""); }, Key(VK_RETURN)}, ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TBoxScript Script(App, Case.Steps);
        EXPECT_EQ(InputBox("Rename", "Name:", "draft"), Case.Result);
    }
}

TEST_F(FormDialogs, InputQueryChangesValueOnlyOnOk)
{
    std::string Value = "old";
    {
        TBoxScript Script(App, {Key('N', "n"), Key(VK_ESCAPE)});
        EXPECT_FALSE(InputQuery("Rename", "Name:", Value));
    }
    EXPECT_EQ(Value, "old");
    {
        TBoxScript Script(App, {Key(VK_END), Key('S', "s"), Key(VK_RETURN)});
        EXPECT_TRUE(InputQuery("Rename", "Name:", Value));
    }
    EXPECT_EQ(Value, "olds");
}

TEST_F(FormDialogs, ShowExceptionShowsTheMessageWithTheStopPictureAndTheTitle)
{
    App.SetTitle("Tarnwick");
    std::string Caption, Text;
    TBoxIcon Icon = TBoxIcon::None;
    TBoxScript Script(App, {[&](TMessageForm* Box) {
                                Caption = Box->Caption();
                                Text = Box->Message()->Caption();
                                Icon = Box->BoxIcon();
                            },
                            Key(VK_ESCAPE)});
    try {
        throw EConvertError("'abc' is not a valid integer value");
    } catch (...) {
        App.HandleException(nullptr);
    }
    EXPECT_EQ(Caption, "Tarnwick");
    EXPECT_EQ(Text, "'abc' is not a valid integer value");
    EXPECT_EQ(Icon, TBoxIcon::Stop);
}

TEST_F(FormDialogs, TheBoxIsTransientForTheActiveFormAndDisablesIt)
{
    TForm* Main = ShownForm(&App);
    Main->SetFocus();
    Pump();
    HWND Owner = 0;
    bool MainEnabled = true;
    TBoxScript Script(App, {[&](TMessageForm* Box) {
                                Owner = GetWindow(Box->Handle(), GW_OWNER);
                                MainEnabled = IsWindowEnabled(Main->Handle());
                            },
                            Key(VK_RETURN)});
    MessageBox("Text", "", MB_OK);
    EXPECT_EQ(Owner, Main->Handle());
    EXPECT_FALSE(MainEnabled);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_EQ(GetActiveWindow(), Main->Handle());
}

TEST(FormDialogsInstall, HeadlessKeepsTheBuiltInService)
{
    ASSERT_FALSE(DisplayDriver().CanShowWindows());
    IDialogService* Before = &DialogService();
    EXPECT_FALSE(InstallFormDialogs());
    EXPECT_EQ(&DialogService(), Before);
}
