#include "platform/rtl/clock.h"

#include <gtest/gtest.h>

#include <set>

TEST(Clock, InjectedSourcesReplaceAndRestoreTheSystemClock)
{
    SetNowSource([] { return 45000.5; });
    SetTickSource([] { return 0xFFFFFFF0u; });
    EXPECT_DOUBLE_EQ(Now(), 45000.5);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    SetNowSource({});
    SetTickSource({});
    // 1 January 2020 is day 43831; the system clock is well past it.
    EXPECT_GT(Now(), 43831.0);
}

TEST(Clock, TickDifferencesSurviveTheWrap)
{
    std::uint32_t Tick = 0xFFFFFF00u;
    SetTickSource([&] { return Tick; });
    const std::uint32_t Start = GetTickCount();
    Tick += 0x200; // wraps past zero
    EXPECT_EQ(GetTickCount() - Start, 0x200u);
    SetTickSource({});
}

TEST(Clock, SeededRandomIsRepeatableAndInRange)
{
    RandSeed = 12345;
    std::vector<int> First;
    for (int i = 0; i < 100; ++i)
        First.push_back(Random(256));
    RandSeed = 12345;
    std::set<int> Seen;
    for (int i = 0; i < 100; ++i) {
        const int Value = Random(256);
        EXPECT_EQ(Value, First[i]);
        EXPECT_GE(Value, 0);
        EXPECT_LT(Value, 256);
        Seen.insert(Value);
    }
    EXPECT_GT(Seen.size(), 50u);
    EXPECT_EQ(Random(0), 0);
    const double Real = Random();
    EXPECT_GE(Real, 0.0);
    EXPECT_LT(Real, 1.0);
}
