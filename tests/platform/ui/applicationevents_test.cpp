// The application's look at each message before dispatch, its hint, the stepping back of
// topmost windows, the help service and the screen's fonts and cursor table.
#include "tests/platform/ui/uitest.h"

#include "platform/gfx/cursorimage.h"
#include "platform/gfx/icoformat.h"
#include "platform/gfx/icon.h"
#include "platform/rtl/strings.h"
#include "platform/ui/application.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/helpservice.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/windowstyles.h"

#include <gtest/gtest.h>

TEST(ApplicationEvents, OnMessageSeesEachPostedMessageFirstAndHandledStopsIt)
{
    TApplication App(nullptr);
    TRecordingWindow Window;
    std::vector<std::string> Log;
    App.OnMessage = [&](TMsg& Msg, bool& Handled) {
        if (Msg.hwnd != Window.Handle || Msg.message != WM_USER)
            return;
        Log.push_back("app " + std::to_string(Msg.wParam));
        Handled = Msg.wParam % 2 == 0;
    };
    Window.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_USER)
            Log.push_back("window " + std::to_string(W));
        return DefWindowProc(Wnd, Msg, W, L);
    };
    for (WPARAM W = 1; W <= 4; ++W)
        PostMessage(Window.Handle, WM_USER, W, 0);
    App.ProcessMessages();
    const std::vector<std::string> Expected = {"app 1", "window 1", "app 2",
                                               "app 3", "window 3", "app 4"};
    EXPECT_EQ(Log, Expected);

    // HandleMessage and Run take their messages the same way.
    Log.clear();
    PostMessage(Window.Handle, WM_USER, 6, 0);
    App.HandleMessage();
    PostMessage(Window.Handle, WM_USER, 7, 0);
    PostMessage(Window.Handle, WM_USER, 8, 0);
    App.Terminate();
    App.Run();
    const std::vector<std::string> Later = {"app 6", "app 7", "window 7", "app 8"};
    EXPECT_EQ(Log, Later);
}

TEST(ApplicationEvents, ShortAndLongHintsSplitAtTheFirstBar)
{
    struct TRow {
        std::string Hint;
        std::string Short;
        std::string Long;
    };
    const std::vector<TRow> Table = {
        {"", "", ""},
        {"Delete", "Delete", "Delete"},
        {"Delete|Deletes the message", "Delete", "Deletes the message"},
        {"|Deletes the message", "", "Deletes the message"},
        {"Delete|", "Delete", ""},
        {"Delete|Deletes|the message", "Delete", "Deletes|the message"},
    };
    for (const TRow& Row : Table) {
        EXPECT_EQ(GetShortHint(Row.Hint), Row.Short) << Row.Hint;
        EXPECT_EQ(GetLongHint(Row.Hint), Row.Long) << Row.Hint;
    }
}

TEST(ApplicationEvents, OnHintRunsOncePerChange)
{
    TApplication App(nullptr);
    std::vector<std::string> Seen;
    App.OnHint = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &App);
        Seen.push_back(App.Hint());
    };
    for (const char* Value : {"Deletes the message", "Deletes the message", "", "", "Filters"})
        App.SetHint(Value);
    App.CancelHint();
    App.CancelHint();
    const std::vector<std::string> Expected = {"Deletes the message", "", "Filters", ""};
    EXPECT_EQ(Seen, Expected);
    EXPECT_EQ(App.Hint(), "");
}

namespace {

THeadlessDriver& Headless()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver());
}

bool NativeTopMost(HWND Wnd)
{
    const THeadlessDriver::TNativeWindow* Native = Headless().Find(Wnd);
    return Native != nullptr && (Native->ExStyle & WS_EX_TOPMOST) != 0;
}

// A visible window the application owns.
HWND OwnedWindow(HWND Owner, DWORD ExStyle, bool Visible = true)
{
    TWndClass Class;
    if (!GetClassInfo("TOwnedWindow", Class)) {
        Class.ClassName = "TOwnedWindow";
        RegisterClass(Class);
    }
    HWND Wnd = CreateWindowEx(ExStyle, "TOwnedWindow", "", WS_POPUP, 0, 0, 50, 50, Owner);
    if (Visible)
        ShowWindow(Wnd, SW_SHOWNOACTIVATE);
    return Wnd;
}

} // namespace

TEST(ApplicationEvents, NormalizeTopMostsStepsOwnedTopmostWindowsBackUntilTheLastRestore)
{
    TApplication App(nullptr);
    HWND Top1 = OwnedWindow(App.Handle(), WS_EX_TOPMOST);
    HWND Top2 = OwnedWindow(App.Handle(), WS_EX_TOPMOST);
    HWND Plain = OwnedWindow(App.Handle(), 0);
    HWND Hidden = OwnedWindow(App.Handle(), WS_EX_TOPMOST, false);
    HWND Stranger = OwnedWindow(0, WS_EX_TOPMOST);
    struct TStep {
        const char* Name;
        void (TApplication::*Call)();
        bool OwnedTopMost; // Top1 and Top2
    };
    const std::vector<TStep> Steps = {
        {"normalize", &TApplication::NormalizeTopMosts, false},
        {"normalize again", &TApplication::NormalizeTopMosts, false},
        {"inner restore", &TApplication::RestoreTopMosts, false},
        {"outer restore", &TApplication::RestoreTopMosts, true},
        {"restore without normalize", &TApplication::RestoreTopMosts, true},
        {"normalize after", &TApplication::NormalizeTopMosts, false},
        {"restore after", &TApplication::RestoreTopMosts, true},
    };
    for (const TStep& Step : Steps) {
        (App.*Step.Call)();
        EXPECT_EQ(NativeTopMost(Top1), Step.OwnedTopMost) << Step.Name;
        EXPECT_EQ(NativeTopMost(Top2), Step.OwnedTopMost) << Step.Name;
        EXPECT_EQ((GetWindowLong(Top1, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, Step.OwnedTopMost)
            << Step.Name;
        // The others are never touched.
        EXPECT_FALSE(NativeTopMost(Plain)) << Step.Name;
        EXPECT_TRUE((GetWindowLong(Hidden, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) << Step.Name;
        EXPECT_TRUE(NativeTopMost(Stranger)) << Step.Name;
    }
    DestroyWindow(Stranger);
}

TEST(ApplicationEvents, HelpContextAsksTheInstalledServiceForNonZeroContexts)
{
    TApplication App(nullptr);
    App.SetHelpFile("filter.hlp");
    {
        THelpRecorder Recorder;
        EXPECT_EQ(&HelpService(), &Recorder);
        EXPECT_TRUE(App.HelpContext(120));
        EXPECT_FALSE(App.HelpContext(0));
        Recorder.Result = false;
        EXPECT_FALSE(App.HelpContext(7));
        EXPECT_EQ(Recorder.Contexts(), (std::vector<int>{120, 7}));
        EXPECT_EQ(Recorder.HelpFiles(), (std::vector<std::string>{"filter.hlp", "filter.hlp"}));
    }
    // The built-in service is back and shows nothing.
    EXPECT_NE(dynamic_cast<TNoHelp*>(&HelpService()), nullptr);
    EXPECT_FALSE(App.HelpContext(120));
}

TEST(ApplicationEvents, ScreenFontsAreTheInstalledFamiliesSortedOnce)
{
    TApplication App(nullptr);
    TStrings* Fonts = Screen->Fonts();
    ASSERT_NE(Fonts, nullptr);
    for (const char* Family : {"Liberation Sans", "DejaVu Sans"})
        EXPECT_GE(Fonts->IndexOf(Family), 0) << Family;
    for (int I = 1; I < Fonts->Count(); ++I)
        EXPECT_LT(AnsiCompareText(Fonts->Get(I - 1), Fonts->Get(I)), 0)
            << Fonts->Get(I - 1) << " / " << Fonts->Get(I);
    EXPECT_EQ(Screen->Fonts(), Fonts); // read once
}

TEST(ApplicationEvents, ScreenCursorsKeepWhatIsSetAndFreeWhatIsReplaced)
{
    TApplication App(nullptr);
    const int Custom = 5;
    EXPECT_EQ(Screen->Cursors(Custom), nullptr);
    EXPECT_EQ(Screen->Cursors(crArrow), nullptr);
    TIconImage Image;
    Image.Width = 4;
    Image.Height = 4;
    Image.Pixels.assign(16, 0xFF000000u);
    Image.Mask.assign(16, 0);
    HCURSOR First = CreateIconFromImage(Image, false);
    HCURSOR Second = CreateIconFromImage(Image, false);
    ASSERT_NE(First, nullptr);
    Screen->SetCursors(Custom, First);
    EXPECT_EQ(Screen->Cursors(Custom), First);
    Screen->SetCursors(Custom, First); // the same picture again stays
    EXPECT_TRUE(IsIconHandle(First));
    Screen->SetCursors(Custom, Second);
    EXPECT_EQ(Screen->Cursors(Custom), Second);
    EXPECT_FALSE(IsIconHandle(First));
    Screen->SetCursors(crHandPoint, CopyIcon(Second));
    EXPECT_NE(Screen->Cursors(crHandPoint), nullptr);
    Screen->SetCursors(Custom, nullptr);
    EXPECT_EQ(Screen->Cursors(Custom), nullptr);
    EXPECT_FALSE(IsIconHandle(Second));
    EXPECT_EQ(Screen->Cursors(Custom + 1), nullptr);
}
