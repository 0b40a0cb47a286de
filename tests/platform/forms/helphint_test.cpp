// F1 help answered up the parent chain, and the application's hint following the control under
// the mouse.
#include "tests/platform/forms/formstest.h"

#include "platform/ui/helpservice.h"

#include <gtest/gtest.h>

namespace {

// A form with a box holding a focusable box: F1 goes to the inner one.
struct THelpForm {
    explicit THelpForm(TApplication* App) : Form(new TForm(App))
    {
        Form->SetBounds(100, 100, 300, 200);
        Outer = Place<TTestBox>(Form, 10, 10, 200, 120);
        Inner = Place<TTestBox>(Outer, 10, 10, 100, 40);
        Inner->SetTabStop(true);
        Form->Show();
        Inner->SetFocus();
        Pump();
    }
    TForm* Form;
    TTestBox* Outer;
    TTestBox* Inner;
};

} // namespace

TEST(HelpHint, F1IsAnsweredWithTheNearestHelpContextUpTheChain)
{
    struct TRow {
        const char* Name;
        int Inner, Outer, Form;
        int Asked; // the context the help service is asked for; 0: not asked
    };
    const std::vector<TRow> Table = {
        {"own", 11, 22, 33, 11},
        {"parent", 0, 22, 33, 22},
        {"form", 0, 0, 33, 33},
        {"nobody", 0, 0, 0, 0},
    };
    for (const TRow& Row : Table) {
        TTestApplication App;
        THelpForm F(&App);
        F.Form->SetHelpContext(Row.Form);
        F.Outer->SetHelpContext(Row.Outer);
        F.Inner->SetHelpContext(Row.Inner);
        ASSERT_TRUE(F.Inner->Focused()) << Row.Name;
        THelpRecorder Recorder;
        InjectKeyPress(VK_F1);
        Pump();
        const std::vector<int> Expected =
            Row.Asked != 0 ? std::vector<int>{Row.Asked} : std::vector<int>{};
        EXPECT_EQ(Recorder.Contexts(), Expected) << Row.Name;
    }
}

TEST(HelpHint, WMHelpFillsInTheContextItAnswersWith)
{
    TTestApplication App;
    THelpForm F(&App);
    F.Outer->SetHelpContext(22);
    THelpRecorder Recorder;
    THelpInfo Info;
    Info.hItemHandle = F.Inner->Handle();
    EXPECT_EQ(F.Inner->Perform(WM_HELP, 0, reinterpret_cast<LPARAM>(&Info)), 1);
    EXPECT_EQ(Info.dwContextId, 22);
    EXPECT_EQ(Recorder.Contexts(), std::vector<int>{22});
}

TEST(HelpHint, AKeyDownHandlerThatTakesF1KeepsHelpAway)
{
    TTestApplication App;
    THelpForm F(&App);
    F.Form->SetHelpContext(44);
    int Downs = 0;
    F.Inner->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        ++Downs;
        if (Downs == 1)
            Key = 0;
    };
    THelpRecorder Recorder;
    InjectKeyPress(VK_F1);
    Pump();
    EXPECT_TRUE(Recorder.Contexts().empty());
    InjectKeyPress(VK_F1); // the second one reaches the default handling
    Pump();
    EXPECT_EQ(Downs, 2);
    EXPECT_EQ(Recorder.Contexts(), std::vector<int>{44});
    // Other keys ask for nothing.
    InjectKeyPress(VK_F2);
    Pump();
    EXPECT_EQ(Recorder.Contexts().size(), 1u);
}

TEST(HelpHint, TheApplicationsHintIsTheLongHintOfTheControlUnderTheMouse)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(50, 50, 300, 200);
    Form->SetHint("Filter|Filters the mailbox");
    TTestShape* Delete = Place<TTestShape>(Form, 10, 10, 40, 30);
    Delete->SetHint("Delete|Deletes the message");
    Place<TTestShape>(Form, 100, 10, 40, 30); // no hint of its own
    TTestShape* Short = Place<TTestShape>(Form, 200, 10, 40, 30);
    Short->SetHint("Keep");
    Form->Show();
    Pump();
    std::vector<std::string> Seen;
    App.OnHint = [&](TObject*) { Seen.push_back(App.Hint()); };
    struct TMove {
        int X, Y;
        const char* Hint;
    };
    const std::vector<TMove> Moves = {
        {15, 15, "Deletes the message"},
        {20, 20, "Deletes the message"},   // same control: no change
        {105, 15, "Filters the mailbox"},  // no hint of its own: the form's
        {150, 150, "Filters the mailbox"}, // the form itself
        {205, 15, "Keep"},
        {15, 15, "Deletes the message"},
    };
    for (const TMove& Move : Moves) {
        InjectMouseMove(Form->Handle(), Move.X, Move.Y);
        Pump();
        EXPECT_EQ(App.Hint(), Move.Hint) << Move.X << "," << Move.Y;
    }
    const std::vector<std::string> Expected = {"Deletes the message", "Filters the mailbox", "Keep",
                                               "Deletes the message"};
    EXPECT_EQ(Seen, Expected);
    App.CancelHint();
    EXPECT_EQ(App.Hint(), "");
    EXPECT_EQ(Seen.size(), Expected.size() + 1);
}
