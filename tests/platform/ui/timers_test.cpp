#include "tests/platform/ui/uitest.h"

#include "platform/rtl/clock.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

TEST(Timers, ALateTimerYieldsOneMessageAndNeverOvertakesPostedOnes)
{
    TVirtualTime Clock;
    TRecordingWindow Window;
    ASSERT_EQ(SetTimer(Window.Handle, 7, 10), 7u);
    Clock.Advance(1000); // a hundred periods missed
    for (WPARAM I = 1; I <= 3; ++I)
        PostMessage(Window.Handle, WM_USER, I, 0);
    PumpPending();
    const auto Seen = Window.Only({WM_USER, WM_TIMER});
    ASSERT_EQ(Seen.size(), 4u);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Seen[I].Msg, static_cast<UINT>(WM_USER));
    EXPECT_EQ(Seen[3].Msg, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(Seen[3].WParam, 7u);

    // The period restarts when the message is taken.
    Clock.Advance(9);
    PumpPending();
    EXPECT_EQ(Window.Only({WM_TIMER}).size(), 1u);
    Clock.Advance(1);
    PumpPending();
    EXPECT_EQ(Window.Only({WM_TIMER}).size(), 2u);

    EXPECT_TRUE(KillTimer(Window.Handle, 7));
    EXPECT_FALSE(KillTimer(Window.Handle, 7));
    Clock.Advance(100);
    PumpPending();
    EXPECT_EQ(Window.Only({WM_TIMER}).size(), 2u);
}

TEST(Timers, TheWaitSleepsUntilTheNextDeadline)
{
    TVirtualTime Clock;
    TRecordingWindow Window;
    SetTimer(Window.Handle, 1, 250);
    const std::uint32_t Start = Clock.Now();
    ASSERT_EQ(WaitUntil([&] { return Window.Only({WM_TIMER}).size() == 4; }, 10000), prDone);
    EXPECT_EQ(Clock.Now() - Start, 1000u);
    EXPECT_FALSE(NextTimerDelay() == std::nullopt);
    DestroyWindow(Window.Handle); // its timers go with it
    EXPECT_EQ(NextTimerDelay(), std::nullopt);
}

TEST(Timers, TTimerFiresEveryIntervalUntilDisabled)
{
    TVirtualTime Clock;
    TTimer Timer(nullptr);
    int Ticks = 0;
    Timer.OnTimer = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Timer);
        ++Ticks;
    };
    const std::uint32_t Start = Clock.Now();
    ASSERT_EQ(WaitUntil([&] { return Ticks == 3; }, 60000), prDone);
    EXPECT_EQ(Clock.Now() - Start, 3000u);

    Timer.SetInterval(100);
    ASSERT_EQ(WaitUntil([&] { return Ticks == 5; }, 60000), prDone);
    EXPECT_EQ(Clock.Now() - Start, 3200u);

    Timer.SetEnabled(false);
    EXPECT_EQ(WaitUntil([] { return false; }, 5000), prTimedOut);
    EXPECT_EQ(Ticks, 5);
}

TEST(Timers, AnExceptionInOnTimerReachesTheApplicationAndTheTimerGoesOn)
{
    TVirtualTime Clock;
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDOK);
    TApplication App(nullptr);
    Application = &App;
    TTimer Timer(nullptr);
    Timer.SetInterval(50);
    int Ticks = 0;
    Timer.OnTimer = [&](TObject*) {
        if (++Ticks == 1)
            throw EConvertError("Bad tick");
    };
    EXPECT_EQ(WaitUntil([&] { return Ticks == 2; }, 1000), prDone);
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "Bad tick");
    Application = nullptr;
}
