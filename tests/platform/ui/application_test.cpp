#include "tests/platform/ui/uitest.h"

#include "platform/rtl/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/cursors.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/timers.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

TEST(Application, TerminateDuringStartUpEndsRunOnItsFirstTurn)
{
    TApplication App(nullptr);
    TRecordingWindow Window;
    PostMessage(Window.Handle, WM_USER, 1, 0); // posted by start-up work before Run
    App.Terminate();
    EXPECT_FALSE(App.Terminated());
    App.Run(); // returns instead of waiting
    EXPECT_TRUE(App.Terminated());
    EXPECT_EQ(Window.Only({WM_USER}).size(), 1u);
}

TEST(Application, AnExceptionInAHandlerIsShownAndTheProgramGoesOn)
{
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDOK);
    TApplication App(nullptr);
    App.SetTitle("Spam Filter");
    TRecordingWindow Window;
    int Handled = 0;
    Window.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_USER) {
            if (W == 1)
                throw EConvertError("'x' is not a valid integer value");
            if (W == 2)
                Abort();
            ++Handled;
            if (W == 4)
                App.Terminate();
        }
        return DefWindowProc(Wnd, Msg, W, L);
    };
    for (WPARAM I = 1; I <= 4; ++I)
        PostMessage(Window.Handle, WM_USER, I, 0);
    App.Run();
    EXPECT_EQ(Handled, 2);                 // the loop went on after both exceptions
    ASSERT_EQ(Dialogs.Calls().size(), 1u); // EAbort is silent
    EXPECT_EQ(Dialogs.Calls()[0].Text, "'x' is not a valid integer value");
    EXPECT_EQ(Dialogs.Calls()[0].Caption, "Spam Filter");
    EXPECT_EQ(Dialogs.Calls()[0].Flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));

    // OnException replaces the box.
    std::string Seen;
    App.OnException = [&](TObject* Sender, const Exception& E) {
        EXPECT_EQ(Sender, &App);
        Seen = E.Message();
    };
    try {
        throw EInvalidOperation("No");
    } catch (...) {
        App.HandleException(&App);
    }
    EXPECT_EQ(Seen, "No");
    EXPECT_EQ(Dialogs.Calls().size(), 1u);
}

TEST(Application, IdleRunsWhenTheQueueIsEmptyThenTheLoopWaits)
{
    TVirtualTime Clock;
    TApplication App(nullptr);
    int Idles = 0;
    App.OnIdle = [&](TObject*, bool& Done) {
        ++Idles;
        Done = true;
    };
    TRecordingWindow Window;
    PostMessage(Window.Handle, WM_USER, 0, 0);
    App.HandleMessage(); // the message
    EXPECT_EQ(Idles, 0);
    SetTimer(Window.Handle, 1, 10);
    const std::uint32_t Start = Clock.Now();
    App.HandleMessage(); // nothing waiting: idle, then the wait until the timer is due
    EXPECT_EQ(Idles, 1);
    EXPECT_EQ(Clock.Now() - Start, 10u);
    App.HandleMessage(); // the timer's message
    EXPECT_EQ(Idles, 1);
    EXPECT_EQ(Window.Only({WM_TIMER}).size(), 1u);
}

TEST(Application, MinimizeAndRestoreFireTheirEventsOnce)
{
    TApplication App(nullptr);
    std::vector<std::string> Events;
    App.OnMinimize = [&](TObject*) { Events.push_back("minimize"); };
    App.OnRestore = [&](TObject*) { Events.push_back("restore"); };
    App.Minimize();
    App.Minimize();
    EXPECT_TRUE(IsIconic(App.Handle()));
    SendMessage(App.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0); // as the window system asks
    EXPECT_FALSE(IsIconic(App.Handle()));
    App.Restore();
    EXPECT_EQ(Events, (std::vector<std::string>{"minimize", "restore"}));
}

TEST(Application, TheApplicationWindowCarriesTheTitle)
{
    TApplication App(nullptr);
    EXPECT_EQ(GetClassName(App.Handle()), "TApplication");
    EXPECT_FALSE(IsWindowVisible(App.Handle()));
    EXPECT_FALSE(App.Title().empty()); // the executable's name
    App.SetTitle("Tarnwick");
    EXPECT_EQ(GetWindowText(App.Handle()), "Tarnwick");
    EXPECT_EQ(FindWindow("TApplication", "Tarnwick"), App.Handle());
    EXPECT_EQ(App.HintPause(), 500);
    EXPECT_TRUE(App.ShowHint());
}

TEST(Screen, CursorIdentifiersAndMetrics)
{
    TApplication App(nullptr);
    ASSERT_NE(Screen, nullptr);
    struct TCase {
        const char* Name;
        TCursor Value;
    };
    const std::vector<TCase> Cases = {{"crDefault", 0},     {"crArrow", -2},
                                      {"crIBeam", -4},      {"crHourGlass", -11},
                                      {"crHandPoint", -21}, {"crSizeAll", -22}};
    const TIdentToInt ToInt = FindIdentToInt("TCursor");
    const TIntToIdent ToIdent = FindIntToIdent("TCursor");
    ASSERT_TRUE(ToInt && ToIdent);
    for (const TCase& Case : Cases) {
        int Value = 1;
        EXPECT_TRUE(ToInt(Case.Name, Value));
        EXPECT_EQ(Value, Case.Value);
        std::string Name;
        EXPECT_TRUE(ToIdent(Case.Value, Name));
        EXPECT_EQ(Name, Case.Name);
    }
    EXPECT_EQ(crSize, crSizeAll);
    EXPECT_EQ(CursorToString(5), "5");
    EXPECT_EQ(StringToCursor("crhandpoint"), crHandPoint);

    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(dynamic_cast<THeadlessDriver&>(DisplayDriver()).Pointer(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Screen->PixelsPerInch(), 96);
    EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(Screen->WorkAreaRect().Bottom, Screen->Height());
}
