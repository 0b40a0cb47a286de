// When hints show and go: the pauses on virtual time, what hides them, ShowHint and
// ParentShowHint, the short and long parts, OnShowHint.
#include "tests/platform/forms/hinttest.h"

#include "platform/ui/input.h"

TEST_F(Hints, AHintShowsAfterHintPauseAndNotBefore)
{
    MoveTo(20, 20);
    Spend(480);
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(40);
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(ShownHintText(), "Alpha");
}

TEST_F(Hints, ThePauseCountsFromWhereTheMouseComesToRest)
{
    for (int X = 12; X < 60; X += 8) {
        MoveTo(X, 20);
        Spend(300);
    }
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(300);
    EXPECT_NE(ShownHint(), nullptr);
}

TEST_F(Hints, AHintHidesAfterHintHidePauseAndStaysHiddenWhileTheMouseRests)
{
    App.SetHintHidePause(1000);
    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    Spend(960);
    EXPECT_NE(ShownHint(), nullptr);
    Spend(60);
    EXPECT_EQ(ShownHint(), nullptr);
    MoveTo(25, 22); // still on the same control
    Spend(3000);
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(Hints, TheNextControlsHintFollowsAfterTheShortPause)
{
    MoveTo(20, 20);
    Spend(520);
    ASSERT_EQ(ShownHintText(), "Alpha");
    MoveTo(110, 20);
    Spend(20);
    EXPECT_EQ(ShownHintText(), "Alpha"); // the short pause has not passed yet
    Spend(40);
    EXPECT_EQ(ShownHintText(), "Beta");
    // Once hidden, the next control waits the whole pause again.
    Spend(2600);
    ASSERT_EQ(ShownHint(), nullptr);
    MoveTo(20, 20);
    Spend(100);
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(420);
    EXPECT_EQ(ShownHintText(), "Alpha");
}

TEST_F(Hints, AKeyAClickOrTheWheelHidesTheHintUntilTheMouseMovesAgain)
{
    struct TRow {
        const char* Name;
        std::function<void(HWND)> Act;
    };
    const std::vector<TRow> Table = {
        {"key", [](HWND) { InjectKeyPress('X', "x"); }},
        {"left click",
         [](HWND Wnd) {
             InjectMouseButton(Wnd, 0, true, 20, 20);
             InjectMouseButton(Wnd, 0, false, 20, 20);
         }},
        {"right press", [](HWND Wnd) { InjectMouseButton(Wnd, 1, true, 20, 20); }},
        {"wheel", [](HWND Wnd) { InjectMouseWheel(Wnd, -WHEEL_DELTA, 20, 20); }},
    };
    for (const TRow& Row : Table) {
        MoveTo(20, 20);
        Spend(520);
        ASSERT_NE(ShownHint(), nullptr) << Row.Name;
        Row.Act(Form->Handle());
        Pump();
        EXPECT_EQ(ShownHint(), nullptr) << Row.Name;
        Spend(1000);
        EXPECT_EQ(ShownHint(), nullptr) << Row.Name;
        InjectMouseButton(Form->Handle(), 1, false, 20, 20);
        MoveTo(21, 21);
        Spend(520);
        EXPECT_NE(ShownHint(), nullptr) << Row.Name;
        MoveTo(200, 150); // off the boxes: the form has no hint of its own
        Pump();
    }
}

TEST_F(Hints, LeavingForAPlaceWithoutAHintOrLeavingTheWindowsEndsTheHint)
{
    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    MoveTo(200, 150); // the form shows hints but has none: gone after the short pause
    Spend(60);
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(1000);
    EXPECT_EQ(ShownHint(), nullptr);

    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    PostMessage(Form->Handle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(Hints, TheFormMovingOrLosingTheActivationEndsTheHint)
{
    TForm* Other = new TForm(&App);
    Other->SetBounds(600, 400, 100, 100);
    struct TRow {
        const char* Name;
        std::function<void()> Act;
    };
    const std::vector<TRow> Table = {
        {"moved", [&] { InjectWindowBounds(Form->Handle(), Bounds(120, 110, 300, 200)); }},
        {"deactivated", [&] { Other->Show(); }},
    };
    for (const TRow& Row : Table) {
        SetActiveWindow(Form->Handle());
        MoveTo(20, 20);
        Spend(520);
        ASSERT_NE(ShownHint(), nullptr) << Row.Name;
        EXPECT_TRUE(Form->Active()) << Row.Name << ": the hint took the activation";
        Row.Act();
        Pump();
        EXPECT_EQ(ShownHint(), nullptr) << Row.Name;
        MoveTo(200, 150);
    }
}

TEST_F(Hints, TheHintWindowShowsTheShortPartAndTheApplicationTheLongOne)
{
    MoveTo(20, 20);
    Spend(520);
    EXPECT_EQ(ShownHintText(), "Alpha");
    EXPECT_EQ(App.Hint(), "The first box");
}

TEST_F(Hints, ShowHintAndParentShowHintDecideWhichControlsHint)
{
    struct TRow {
        const char* Name;
        bool FormShows;
        int Box; // -1 leaves the box's ParentShowHint, 0 and 1 set its ShowHint
        bool Shown;
    };
    const std::vector<TRow> Table = {
        {"the form's, taken", true, -1, true},
        {"the form's off", false, -1, false},
        {"own on, form off", false, 1, true},
        {"own off, form on", true, 0, false},
    };
    for (const TRow& Row : Table) {
        Form->SetShowHint(Row.FormShows);
        A->SetParentShowHint(true);
        if (Row.Box >= 0)
            A->SetShowHint(Row.Box == 1);
        EXPECT_EQ(A->ParentShowHint(), Row.Box < 0) << Row.Name;
        MoveTo(20, 20);
        Spend(520);
        EXPECT_EQ(ShownHint() != nullptr, Row.Shown) << Row.Name;
        MoveTo(200, 150);
        Spend(20);
    }
    // Taken off its parent, a control keeps what it showed.
    Form->SetShowHint(true);
    A->SetParentShowHint(true);
    A->SetParentShowHint(false);
    Form->SetShowHint(false);
    EXPECT_TRUE(A->ShowHint());
}

TEST_F(Hints, AControlWithoutAHintShowsItsParentsAndAnEmptyShortPartShowsNothing)
{
    Form->SetHint("Form hint");
    A->SetHint("");
    MoveTo(20, 20);
    Spend(520);
    EXPECT_EQ(ShownHintText(), "Form hint");
    MoveTo(200, 150);
    A->SetHint("|only the long part");
    MoveTo(20, 20);
    Spend(520);
    EXPECT_EQ(ShownHint(), nullptr);
    EXPECT_EQ(App.Hint(), "only the long part");
}

TEST_F(Hints, OnShowHintMayChangeOrRefuseTheHint)
{
    bool Allow = false;
    TControl* Asked = nullptr;
    App.OnShowHint = [&](std::string& HintStr, bool& CanShow, THintInfo& Info) {
        Asked = Info.HintControl;
        CanShow = Allow;
        HintStr += " (changed)";
    };
    MoveTo(20, 20);
    Spend(520);
    EXPECT_EQ(Asked, A);
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(1000);
    EXPECT_EQ(ShownHint(), nullptr);
    Allow = true;
    MoveTo(22, 20);
    Spend(520);
    EXPECT_EQ(ShownHintText(), "Alpha (changed)");
}

TEST_F(Hints, TheApplicationsShowHintSwitchesEveryHintOff)
{
    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    App.SetShowHint(false);
    EXPECT_EQ(ShownHint(), nullptr);
    MoveTo(22, 20);
    Spend(1000);
    EXPECT_EQ(ShownHint(), nullptr);
    App.SetShowHint(true);
    MoveTo(20, 20);
    Spend(520);
    EXPECT_NE(ShownHint(), nullptr);
}

TEST_F(Hints, HideHintHidesAndCancelHintForgetsTheControl)
{
    MoveTo(20, 20);
    Spend(520);
    App.HideHint();
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(1000);
    EXPECT_EQ(ShownHint(), nullptr);
    App.ActivateHint(GetCursorPos());
    EXPECT_EQ(ShownHintText(), "Alpha");
    App.CancelHint();
    EXPECT_EQ(ShownHint(), nullptr);
    App.ActivateHint(GetCursorPos()); // no control is waiting for a hint
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(Hints, AControlGoingAwayTakesItsHintWithIt)
{
    MoveTo(20, 20);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    delete A;
    Pump();
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(3000);
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(Hints, TheHintShowsBelowTheMouseWithTheApplicationsColour)
{
    App.SetHintColor(clYellow);
    MoveTo(20, 20);
    Spend(520);
    THintWindow* Hint = ShownHint();
    ASSERT_NE(Hint, nullptr);
    const TPoint Mouse = GetCursorPos();
    TRect R;
    GetWindowRect(Hint->Handle(), R);
    EXPECT_EQ(R.Left, Mouse.X);
    EXPECT_GT(R.Top, Mouse.Y);
    EXPECT_LT(R.Top, Mouse.Y + 32);
    EXPECT_EQ(Hint->Color(), clYellow);
}

TEST_F(Hints, ADisabledControlStillShowsItsHint)
{
    TTestShape* Shape = Place<TTestShape>(Form, 200, 60, 40, 30);
    Shape->SetHint("Not now");
    Shape->SetEnabled(false);
    MoveTo(210, 70);
    Spend(520);
    EXPECT_EQ(ShownHintText(), "Not now");
}
