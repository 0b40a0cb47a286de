// Tests of the box functions, the built-in service's default answers and the scripted service.
#include "platform/ui/dialogservice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DialogService, MessageBoxDefaultButtonFollowsTheFlags)
{
    struct TCase {
        unsigned Flags;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL | MB_ICONSTOP | MB_TOPMOST, IDRETRY},
        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK}, // no third button: the first
    };
    for (const TCase& Case : Cases) {
        TDialogRequest Request;
        Request.Kind = TDialogKind::MessageBox;
        Request.Flags = Case.Flags;
        EXPECT_EQ(DefaultDialogResult(Request), Case.Expected) << "flags " << Case.Flags;
    }
}

TEST(DialogService, MessageDlgDefaultPrefersOkThenYesThenRetry)
{
    struct TCase {
        TMsgDlgButtons Buttons;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {mbYesNoCancel, mrYes},
        {mbOKCancel, mrOk},
        {TMsgDlgButtons{mbYes, mbOK}, mrOk},
        {mbAbortRetryIgnore, mrRetry},
        {TMsgDlgButtons{mbNo, mbCancel}, mrNo},
        {TMsgDlgButtons{mbHelp}, mrNone},
        {TMsgDlgButtons{}, mrNone},
    };
    for (const TCase& Case : Cases) {
        TDialogRequest Request;
        Request.Kind = TDialogKind::MessageDlg;
        Request.Buttons = Case.Buttons;
        EXPECT_EQ(DefaultDialogResult(Request), Case.Expected) << "buttons " << Case.Buttons.Bits();
    }
}

TEST(DialogService, BuiltInServiceWritesTheBoxAndAnswersTheDefault)
{
    testing::internal::CaptureStderr();
    int Result = MessageBox("Delete the marked messages?", "Tarnwick", MB_YESNO | MB_DEFBUTTON2);
    std::string Written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Result, IDNO);
    EXPECT_NE(Written.find("Delete the marked messages?"), std::string::npos);
    EXPECT_NE(Written.find("Tarnwick"), std::string::npos);

    testing::internal::CaptureStderr();
    std::string Value = "kept";
    EXPECT_TRUE(InputQuery("Caption", "Prompt", Value));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Value, "kept");
}

TEST(DialogService, ScriptedServiceRecordsEveryBoxAndAnswersInOrder)
{
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDCANCEL);
    Dialogs.Answer(mrNo);
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrOk, "friend@example.org");
    Dialogs.Answer(mrOk, "new");

    EXPECT_EQ(MessageBox("Text", "Caption", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
    EXPECT_EQ(MessageDlg("Discard changes to this record?", mtConfirmation,
                         TMsgDlgButtons{mbYes, mbNo}, 7),
              mrNo);
    ShowMessage("Done");
    EXPECT_EQ(InputBox("Enter friend's e-mail address", "E-mail address", "<friend's e-mail>"),
              "friend@example.org");
    std::string Value = "old";
    EXPECT_TRUE(InputQuery("Rename", "Name", Value));
    EXPECT_EQ(Value, "new");

    const std::vector<TDialogRequest>& Calls = Dialogs.Calls();
    ASSERT_EQ(Calls.size(), 5u);
    EXPECT_EQ(Calls[0].Kind, TDialogKind::MessageBox);
    EXPECT_EQ(Calls[0].Caption, "Caption");
    EXPECT_EQ(Calls[0].Text, "Text");
    EXPECT_EQ(Calls[0].Flags, MB_OKCANCEL | MB_ICONWARNING);
    EXPECT_EQ(Calls[1].Kind, TDialogKind::MessageDlg);
    EXPECT_EQ(Calls[1].Caption, "Confirm");
    EXPECT_EQ(Calls[1].DlgType, mtConfirmation);
    EXPECT_TRUE(Calls[1].Buttons == (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(Calls[1].HelpCtx, 7);
    EXPECT_EQ(Calls[2].Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(Calls[2].Text, "Done");
    EXPECT_EQ(Calls[3].Kind, TDialogKind::InputBox);
    EXPECT_EQ(Calls[3].Caption, "Enter friend's e-mail address");
    EXPECT_EQ(Calls[3].Text, "E-mail address");
    EXPECT_EQ(Calls[3].Value, "<friend's e-mail>");
    EXPECT_EQ(Calls[4].Kind, TDialogKind::InputQuery);
    EXPECT_EQ(Calls[4].Value, "old");
    EXPECT_EQ(Dialogs.PendingAnswers(), 0u);
}

TEST(DialogService, CancelledInputKeepsTheDefaultOrTheValue)
{
    TScriptedDialogs Dialogs;
    Dialogs.Answer(mrCancel, "typed");
    Dialogs.Answer(mrCancel, "typed");
    EXPECT_EQ(InputBox("C", "P", "default"), "default");
    std::string Value = "value";
    EXPECT_FALSE(InputQuery("C", "P", Value));
    EXPECT_EQ(Value, "value");
}

TEST(DialogService, MessageDlgCaptionNamesTheType)
{
    struct TCase {
        TMsgDlgType Type;
        const char* Caption;
    };
    const std::vector<TCase> Cases = {{mtWarning, "Warning"},
                                      {mtError, "Error"},
                                      {mtInformation, "Information"},
                                      {mtConfirmation, "Confirm"},
                                      {mtCustom, ""}};
    TScriptedDialogs Dialogs;
    for (const TCase& Case : Cases) {
        Dialogs.Answer(mrOk);
        MessageDlg("Field not found in Table. ", Case.Type, TMsgDlgButtons{mbOK}, 0);
        EXPECT_EQ(Dialogs.Calls().back().Caption, Case.Caption);
    }
}

TEST(DialogService, ScriptFailsLoudlyWithoutAnAnswerOrWithAnImpossibleOne)
{
    TScriptedDialogs Dialogs;
    EXPECT_THROW(ShowMessage("nobody answers"), EDialogScriptError);
    Dialogs.Answer(IDYES);
    EXPECT_THROW(MessageBox("OK only", "", MB_OK), EDialogScriptError);
    Dialogs.Answer(mrCancel);
    EXPECT_THROW(MessageDlg("OK only", mtWarning, TMsgDlgButtons{mbOK}, 0), EDialogScriptError);
    EXPECT_EQ(Dialogs.Calls().size(), 3u);
}

TEST(DialogService, ScriptedServiceIsInstalledOnlyWhileItLives)
{
    IDialogService* Before = &DialogService();
    {
        TScriptedDialogs Outer;
        EXPECT_EQ(&DialogService(), &Outer);
        {
            TScriptedDialogs Inner;
            EXPECT_EQ(&DialogService(), &Inner);
        }
        EXPECT_EQ(&DialogService(), &Outer);
    }
    EXPECT_EQ(&DialogService(), Before);
}

TEST(DialogService, UnknownButtonGroupShowsNothingAndFails)
{
    TScriptedDialogs Dialogs;
    EXPECT_EQ(MessageBox("Text", "Caption", 0x7), 0);
    EXPECT_TRUE(Dialogs.Calls().empty());
}

} // namespace
