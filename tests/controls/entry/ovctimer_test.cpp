// The timer pool on virtual time: handles, the one timer's period, firing, and the tick count's
// wrap.
#include "controls/entry/ovctimer.h"

#include "controls/entry/ovcexcpt.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/timers.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

struct TFiring {
    std::uint32_t At;
    int Handle;
    Cardinal Interval;
    int ElapsedTime;
};

// A pool that notes when its timer ticks and lets a test run a pass by hand.
class TTestPool : public TOvcTimerPool {
public:
    TTestPool() : TOvcTimerPool(nullptr)
    {
        OnAllTriggers = [this](TObject* Sender, int Handle, Cardinal Interval, int Elapsed) {
            EXPECT_EQ(Sender, this);
            Firings.push_back(TFiring{GetTickCount(), Handle, Interval, Elapsed});
        };
    }
    void Pass() { TOvcTimerPool::DoTriggers(); }

    std::vector<std::uint32_t> Ticks;
    std::vector<TFiring> Firings;

protected:
    void DoTriggers() override
    {
        Ticks.push_back(GetTickCount());
        TOvcTimerPool::DoTriggers();
    }
};

// Lets the loop run for Milliseconds of virtual time.
void RunFor(int Milliseconds)
{
    WaitUntil([] { return false; }, Milliseconds);
}

// The gaps between successive ticks, the first measured from Start.
std::vector<std::uint32_t> Gaps(std::uint32_t Start, const std::vector<std::uint32_t>& Ticks)
{
    std::vector<std::uint32_t> Result;
    for (std::uint32_t T : Ticks) {
        Result.push_back(T - Start);
        Start = T;
    }
    return Result;
}

} // namespace

TEST(OvcTimerPool, HandlesStartAtZeroAndFollowTheLargest)
{
    TVirtualTime Clock;
    TTestPool Pool;
    EXPECT_EQ(Pool.AddTrigger(nullptr, 1000), 0);
    EXPECT_EQ(Pool.AddTrigger(nullptr, 500), 1);
    EXPECT_EQ(Pool.AddTrigger(nullptr, 2000), 2);
    Pool.RemoveTrigger(2);
    EXPECT_EQ(Pool.AddTrigger(nullptr, 100), 2); // the top handle comes again
    Pool.RemoveTrigger(0);
    EXPECT_EQ(Pool.AddTrigger(nullptr, 100), 3);
    Pool.RemoveTrigger(42); // unknown: nothing
    EXPECT_TRUE(Pool.GetTriggerEnabled(1));
}

TEST(OvcTimerPool, AnUnknownHandleIsRefusedByTheEnabledState)
{
    TVirtualTime Clock;
    TTestPool Pool;
    Pool.AddTrigger(nullptr, 1000);
    for (int Handle : {-1, 1, 7}) {
        try {
            Pool.GetTriggerEnabled(Handle);
            ADD_FAILURE() << Handle;
        } catch (const EInvalidTriggerHandle& E) {
            EXPECT_EQ(E.Message(), "Invalid trigger handle");
        }
        EXPECT_THROW(Pool.SetTriggerEnabled(Handle, false), EInvalidTriggerHandle);
    }
}

TEST(OvcTimerPool, PeriodsOf1500Then500DivideEveryInterval)
{
    TVirtualTime Clock;
    TTestPool Pool;
    const std::uint32_t Start = Clock.Now();
    Pool.AddTrigger(nullptr, 60000);
    Pool.AddTrigger(nullptr, 1500);
    RunFor(4500);
    EXPECT_EQ(Gaps(Start, Pool.Ticks), (std::vector<std::uint32_t>{1500, 1500, 1500}));

    Pool.Ticks.clear();
    const std::uint32_t Later = Clock.Now();
    Pool.AddTrigger(nullptr, 1000); // 1500 mod 1000 = 500, which divides all three
    RunFor(2000);
    EXPECT_EQ(Gaps(Later, Pool.Ticks), (std::vector<std::uint32_t>{500, 500, 500, 500}));
    // The 1500 ms trigger keeps its own pace: 4500, then 6000.
    std::vector<std::uint32_t> At1500;
    for (const TFiring& F : Pool.Firings)
        if (F.Handle == 1)
            At1500.push_back(F.At - Start);
    EXPECT_EQ(At1500, (std::vector<std::uint32_t>{1500, 3000, 4500, 6000}));
}

TEST(OvcTimerPool, ATriggerFiresNoEarlierThan27MsBeforeItIsDue)
{
    TVirtualTime Clock;
    TTestPool Pool;
    Pool.AddTrigger(nullptr, 1000);
    struct TStep {
        std::uint32_t Advance;
        bool Fires;
    };
    const std::vector<TStep> Steps = {
        {972, false}, {1, true},               // 973 ms after creation: within 27 ms of due
        {500, false}, {472, false}, {1, true}, // counted from that firing
        {2000, true}, {0, false},              // late: once, not twice
    };
    std::size_t Expected = 0;
    for (const TStep& Step : Steps) {
        Clock.Advance(Step.Advance);
        Pool.Pass();
        Expected += Step.Fires ? 1 : 0;
        EXPECT_EQ(Pool.Firings.size(), Expected) << Step.Advance;
    }
    EXPECT_EQ(Pool.Firings.back().ElapsedTime, 973 + 973 + 2000);
}

TEST(OvcTimerPool, AShortIntervalIsRaisedTo55)
{
    TVirtualTime Clock;
    TTestPool Pool;
    Pool.AddTrigger(nullptr, 10);
    ASSERT_EQ(WaitUntil([&] { return !Pool.Firings.empty(); }, 1000), prDone);
    EXPECT_EQ(Pool.Firings[0].Interval, 55u);
    EXPECT_EQ(Pool.Firings[0].ElapsedTime, 55);
}

TEST(OvcTimerPool, TheOwnHandlerRunsFirstAndBothGetTheSameArguments)
{
    TVirtualTime Clock;
    TTestPool Pool;
    std::vector<std::string> Order;
    TFiring Own{};
    Pool.AddTrigger(
        [&](TObject* Sender, int Handle, Cardinal Interval, int Elapsed) {
            EXPECT_EQ(Sender, &Pool);
            Order.push_back("own");
            Own = TFiring{0, Handle, Interval, Elapsed};
        },
        200);
    auto All = Pool.OnAllTriggers;
    Pool.OnAllTriggers = [&](TObject* Sender, int Handle, Cardinal Interval, int Elapsed) {
        Order.push_back("all");
        All(Sender, Handle, Interval, Elapsed);
    };
    RunFor(400);
    EXPECT_EQ(Order, (std::vector<std::string>{"own", "all", "own", "all"}));
    ASSERT_EQ(Pool.Firings.size(), 2u);
    EXPECT_EQ(Pool.Firings[1].Handle, Own.Handle);
    EXPECT_EQ(Pool.Firings[1].Interval, 200u);
    EXPECT_EQ(Pool.Firings[1].ElapsedTime, 400);
    EXPECT_EQ(Own.ElapsedTime, 400);
}

TEST(OvcTimerPool, WithoutAnEnabledTriggerNoTimerRuns)
{
    TVirtualTime Clock;
    TTestPool Pool;
    EXPECT_EQ(NextTimerDelay(), std::nullopt);
    const int Handle = Pool.AddTrigger(nullptr, 1000);
    EXPECT_EQ(NextTimerDelay(), 1000);
    Pool.SetTriggerEnabled(Handle, false);
    EXPECT_FALSE(Pool.GetTriggerEnabled(Handle));
    EXPECT_EQ(NextTimerDelay(), std::nullopt);
    Pool.SetTriggerEnabled(Handle, true);
    EXPECT_EQ(NextTimerDelay(), 1000);
    Pool.RemoveTrigger(Handle);
    EXPECT_EQ(NextTimerDelay(), std::nullopt);
}

TEST(OvcTimerPool, ATriggerDisabledPastItsIntervalFiresOnTheFirstTickAfterEnabling)
{
    TVirtualTime Clock;
    TTestPool Pool;
    const std::uint32_t Start = Clock.Now();
    const int Handle = Pool.AddTrigger(nullptr, 1000);
    Pool.SetTriggerEnabled(Handle, false);
    RunFor(5000);
    EXPECT_TRUE(Pool.Firings.empty());
    Pool.SetTriggerEnabled(Handle, true);
    ASSERT_EQ(WaitUntil([&] { return !Pool.Firings.empty(); }, 1000), prDone);
    EXPECT_EQ(Pool.Firings[0].At - Start, 5055u);
    EXPECT_EQ(Pool.Firings[0].ElapsedTime, 5055);
}

TEST(OvcTimerPool, HandlersMayChangeThePoolInThePass)
{
    TVirtualTime Clock;
    TTestPool Pool;
    int Added = -1;
    // Trigger 0 removes itself and adds one; trigger 1 disables trigger 2. The pass goes on over
    // the list as it now stands, and each second event still gets what the first got, though
    // the record has gone.
    Pool.AddTrigger(
        [&](TObject*, int Handle, Cardinal, int) {
            Pool.RemoveTrigger(Handle);
            Added = Pool.AddTrigger(nullptr, 100);
        },
        100);
    Pool.AddTrigger([&](TObject*, int, Cardinal, int) { Pool.SetTriggerEnabled(2, false); }, 100);
    Pool.AddTrigger(nullptr, 100);
    auto Handles = [&] {
        std::vector<int> Result;
        for (const TFiring& F : Pool.Firings)
            Result.push_back(F.Handle);
        Pool.Firings.clear();
        return Result;
    };
    RunFor(100);
    ASSERT_EQ(Pool.Firings.size(), 2u);
    EXPECT_EQ(Pool.Firings[0].Interval, 100u);
    EXPECT_EQ(Pool.Firings[0].ElapsedTime, 100);
    // Trigger 1 moved into the removed one's place, behind the pass; the new one is not due.
    EXPECT_EQ(Handles(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Added, 3);
    EXPECT_THROW(Pool.GetTriggerEnabled(0), EInvalidTriggerHandle);
    // Then 1 and 3 go on, 2 never again.
    RunFor(400);
    const std::vector<int> Later = Handles();
    EXPECT_GE(std::count(Later.begin(), Later.end(), 1), 3);
    EXPECT_GE(std::count(Later.begin(), Later.end(), 3), 3);
    EXPECT_EQ(std::count(Later.begin(), Later.end(), 2), 0);
    EXPECT_FALSE(Pool.GetTriggerEnabled(2));
}

TEST(OvcTimerPool, AnExceptionInAHandlerEndsThePassAndTheTimerGoesOn)
{
    TVirtualTime Clock;
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDOK);
    TApplication App(nullptr);
    Application = &App;
    {
        TTestPool Pool;
        int Raised = 0;
        Pool.AddTrigger(
            [&](TObject*, int, Cardinal, int) {
                if (++Raised == 1)
                    throw EConvertError("Bad trigger");
            },
            100);
        Pool.AddTrigger(nullptr, 100);
        RunFor(100);
        ASSERT_EQ(Dialogs.Calls().size(), 1u);
        EXPECT_EQ(Dialogs.Calls()[0].Text, "Bad trigger");
        EXPECT_TRUE(Pool.Firings.empty()); // the pass ended at the failing handler
        RunFor(100);
        EXPECT_EQ(Pool.Firings.size(), 2u);
    }
    Application = nullptr;
}

TEST(OvcTimerPool, TheElapsedTimeAcrossTheTickCountWrapIsTheWholeDifference)
{
    // Across the sign change at 2^31 and the wrap at 2^32 alike.
    for (std::uint32_t Start : {0x7FFFFFFFu - 300, 0xFFFFFFFFu - 300}) {
        TVirtualTime Clock(Start);
        TTestPool Pool;
        Pool.AddTrigger(nullptr, 1000);
        RunFor(2000);
        ASSERT_EQ(Pool.Firings.size(), 2u) << Start;
        EXPECT_EQ(Pool.Firings[0].At - Start, 1000u) << Start;
        EXPECT_EQ(Pool.Firings[0].ElapsedTime, 1000) << Start;
        EXPECT_EQ(Pool.Firings[1].ElapsedTime, 2000) << Start;
    }
}

TEST(OvcTimerPool, IntervalsOf2To31MsAndMoreAreNeitherHungNorFiredEveryTick)
{
    TVirtualTime Clock;
    TTestPool Pool;
    const std::uint32_t Start = Clock.Now();
    Pool.AddTrigger(nullptr, 0x80000000u);
    Pool.AddTrigger(nullptr, 0xFFFFFFFFu);
    Pool.AddTrigger(nullptr, 1000);
    RunFor(10000);
    ASSERT_EQ(Pool.Firings.size(), 10u);
    for (const TFiring& F : Pool.Firings)
        EXPECT_EQ(F.Handle, 2);

    // Alone, the long ones fire when due, and the summed time stops at its limit.
    Pool.RemoveTrigger(2);
    Pool.Firings.clear();
    Clock.Advance(0x80000000u - 10000 - 27 - 1);
    Pool.Pass();
    EXPECT_TRUE(Pool.Firings.empty());
    Clock.Advance(1);
    Pool.Pass();
    ASSERT_EQ(Pool.Firings.size(), 1u);
    EXPECT_EQ(Pool.Firings[0].Handle, 0);
    EXPECT_EQ(Pool.Firings[0].ElapsedTime, 0x80000000 - 27);
    Clock.Advance(0x80000000u - 1);
    Pool.Pass();
    ASSERT_EQ(Pool.Firings.size(), 3u);
    EXPECT_EQ(Pool.Firings[1].Handle, 0);
    EXPECT_EQ(Pool.Firings[1].ElapsedTime, INT_MAX);
    EXPECT_EQ(Pool.Firings[2].Handle, 1);
    EXPECT_EQ(Pool.Firings[2].ElapsedTime, INT_MAX);
    EXPECT_EQ(Clock.Now() - Start, 0xFFFFFFFFu - 27);
}

TEST(OvcTimerPool, AboutReadsTheVersionAndTheEventsArePublished)
{
    TVirtualTime Clock;
    TTestPool Pool;
    Pool.SetAbout("something else");
    EXPECT_EQ(Pool.About(), "v3.08");
    EXPECT_TRUE(IsPublishedProp(&Pool, "OnAllTriggers"));
    EXPECT_TRUE(IsPublishedProp(&Pool, "About"));
}
