// The controller: its defaults, the epoch rules, error reports, and the notifications posted to
// its hidden window that run only after the message that caused them.
#include "controls/entry/ovccontroller.h"

#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcmsgs.h"
#include "platform/rtl/properties.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/queue.h"
#include "platform/ui/virtualtime.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(OvcController, StartsWithTheSharedDefaults)
{
    TOvcController Controller(nullptr);
    EXPECT_EQ(Controller.EntryOptions(),
              (TOvcBaseEFOptions{efoAutoSelect, efoBeepOnError, efoInsertPushes}));
    EXPECT_EQ(Controller.Epoch(), DefaultEpoch());
    EXPECT_EQ(DefaultEpoch() % 100, 0);
    EXPECT_TRUE(Controller.InsertMode());
    EXPECT_FALSE(Controller.ErrorPending());
    EXPECT_EQ(Controller.LastErrorText(), "");
    ASSERT_NE(Controller.EntryCommands(), nullptr);
    ASSERT_NE(Controller.TimerPool(), nullptr);
    EXPECT_EQ(Controller.TimerPool()->Owner(), &Controller);
    EXPECT_EQ(Controller.About(), "v3.08");
}

TEST(OvcController, EpochTakesOnlyYearsFrom1600To3999)
{
    struct TCase {
        int Set;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {1950, 1950}, {1599, 1950}, {4000, 1950}, {1600, 1600},
        {3999, 3999}, {-1, 3999},   {0, 3999},    {2000, 2000},
    };
    TOvcController Controller(nullptr);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Set);
        Controller.SetEpoch(Case.Set);
        EXPECT_EQ(Controller.Epoch(), Case.Expected);
    }
}

TEST(OvcController, OnGetEpochChangesTheAnswerButNotTheStoredEpoch)
{
    TOvcController Controller(nullptr);
    Controller.SetEpoch(1950);
    Controller.OnGetEpoch = [&](TObject* Sender, int& Epoch) {
        EXPECT_EQ(Sender, &Controller);
        EXPECT_EQ(Epoch, 1950);
        Epoch = 2000;
    };
    EXPECT_EQ(Controller.GetEpoch(), 2000);
    Controller.OnGetEpoch = nullptr;
    EXPECT_EQ(Controller.GetEpoch(), 1950);
}

TEST(OvcController, ReportErrorGoesToOnErrorOrAnErrorBox)
{
    TTestApplication App;
    TScriptedDialogs Dialogs;
    TOvcController Controller(nullptr);
    TObject Field;

    Dialogs.Answer(IDOK);
    Controller.ReportError(&Field, 256, "Value is not within required range");
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Kind, TDialogKind::MessageBox);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "Value is not within required range");
    EXPECT_EQ(Dialogs.Calls()[0].Flags, unsigned(MB_ICONERROR | MB_OK));

    std::vector<std::string> Seen;
    Controller.OnError = [&](TObject* Sender, Word Code, const std::string& Msg) {
        EXPECT_EQ(Sender, &Field);
        Seen.push_back(std::to_string(Code) + " " + Msg);
    };
    Controller.ReportError(&Field, 257, "Entry Error");
    EXPECT_EQ(Seen, std::vector<std::string>{"257 Entry Error"});
    EXPECT_EQ(Dialogs.Calls().size(), 1u);
}

TEST(OvcController, EditNotificationsRunAfterThePostingMessage)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Controller = new TOvcController(Form);
    auto* Field = Place<TTestButton>(Form, 10, 10, 50, 20);
    auto* Other = Place<TTestButton>(Form, 10, 40, 50, 20);

    std::vector<std::string> Log;
    auto NameOf = [&](TWinControl* C) {
        return C == Field ? std::string("field") : C == Other ? "other" : "nil";
    };
    Controller->OnPreEdit = [&](TObject* Sender, TWinControl* Losing) {
        Log.push_back("pre " + NameOf(static_cast<TWinControl*>(Sender)) + " " + NameOf(Losing));
    };
    Controller->OnPostEdit = [&](TObject* Sender, TWinControl* Gaining) {
        Log.push_back("post " + NameOf(static_cast<TWinControl*>(Sender)) + " " + NameOf(Gaining));
    };
    Controller->OnDelayNotify = [&](TObject* Sender, Word Code) {
        Log.push_back("delay " + NameOf(static_cast<TWinControl*>(Sender)) + " " +
                      std::to_string(Code));
    };
    Controller->PostPreEdit(Field, Other);
    Controller->PostPostEdit(Field, nullptr);
    Controller->DelayNotify(Other, 7);
    EXPECT_TRUE(Log.empty());
    Pump();
    EXPECT_EQ(Log,
              (std::vector<std::string>{"pre field other", "post field nil", "delay other 7"}));
}

TEST(OvcController, ShowAndFocusShowsTheControlAndFocusesIt)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Controller = new TOvcController(Form);
    auto* First = Place<TTestButton>(Form, 10, 10, 50, 20);
    auto* Hidden = Place<TTestButton>(Form, 10, 40, 50, 20);
    Hidden->Hide();
    First->SetFocus();
    Pump();
    PostMessage(Controller->Handle(), OM_SHOWANDFOCUS, 0, reinterpret_cast<LPARAM>(Hidden));
    Pump();
    EXPECT_TRUE(Hidden->Visible());
    EXPECT_TRUE(Hidden->Focused());
}

TEST(OvcController, AFailingNotificationGoesToTheApplicationAndTheWindowGoesOn)
{
    TTestApplication App;
    std::vector<std::string> Failures;
    App.OnException = [&](TObject*, const Exception& E) { Failures.push_back(E.Message()); };
    TOvcController Controller(nullptr);
    int Calls = 0;
    Controller.OnDelayNotify = [&](TObject*, Word Code) {
        ++Calls;
        if (Code == 1)
            throw Exception("broken");
    };
    Controller.DelayNotify(nullptr, 1);
    Controller.DelayNotify(nullptr, 2);
    Pump();
    EXPECT_EQ(Calls, 2);
    EXPECT_EQ(Failures, std::vector<std::string>{"broken"});
}

TEST(OvcController, IsSpecialControlAsksTheHandlerWithTheControl)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    auto* Controller = new TOvcController(Form);
    auto* Cancel = Place<TTestButton>(Form, 10, 10, 50, 20);
    auto* Ok = Place<TTestButton>(Form, 10, 40, 50, 20);
    EXPECT_FALSE(Controller->IsSpecialControl(Cancel->Handle()));
    Controller->OnIsSpecialControl = [&](TObject*, TWinControl* Control, bool& Special) {
        Special = Control == Cancel;
    };
    EXPECT_TRUE(Controller->IsSpecialControl(Cancel->Handle()));
    EXPECT_FALSE(Controller->IsSpecialControl(Ok->Handle()));
}

TEST(OvcController, TimerTriggersOfItsPoolReachOnTimerTrigger)
{
    TVirtualTime Clock;
    TTestApplication App;
    TOvcController Controller(nullptr);
    std::vector<int> Handles;
    Controller.OnTimerTrigger = [&](TObject* Sender, int Handle, Cardinal Interval, int) {
        EXPECT_EQ(Sender, Controller.TimerPool());
        EXPECT_EQ(Interval, 100u);
        Handles.push_back(Handle);
    };
    const int Handle = Controller.TimerPool()->AddTrigger(nullptr, 100);
    Spend(Clock, 150);
    EXPECT_EQ(Handles, std::vector<int>{Handle});
}

TEST(OvcController, PublishesWhatAFormSets)
{
    TOvcController Controller(nullptr);
    SetSetProp(&Controller, "EntryOptions", "[efoAutoSelect,efoBeepOnError]");
    EXPECT_EQ(Controller.EntryOptions(), (TOvcBaseEFOptions{efoAutoSelect, efoBeepOnError}));
    SetOrdProp(&Controller, "Epoch", 2000);
    EXPECT_EQ(Controller.Epoch(), 2000);
    EXPECT_EQ(GetStrProp(&Controller, "About"), "v3.08");
    for (const char* Name : {"EntryCommands", "OnDelayNotify", "OnError", "OnGetEpoch",
                             "OnIsSpecialControl", "OnPostEdit", "OnPreEdit", "OnTimerTrigger"})
        EXPECT_TRUE(IsPublishedProp(&Controller, Name)) << Name;
}
