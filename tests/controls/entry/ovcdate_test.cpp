// The day-number calendar and the seconds clock of the entry fields.
#include "controls/entry/ovcdate.h"

#include <gtest/gtest.h>

#include <vector>

TEST(OvcDate, DayNumbersOfKnownDates)
{
    struct TCase {
        int Day, Month, Year, Epoch, Expected;
    };
    const std::vector<TCase> Cases = {
        {1, 1, 1600, 1900, 0},   {31, 1, 1600, 1900, 30},     {29, 2, 1600, 1900, 59},
        {1, 3, 1600, 1900, 60},  {1, 1, 2000, 1900, 146097},  {31, 12, 3999, 1900, 876581},
        {1, 1, 4000, 1900, -1},  {31, 12, 4000, 1900, -1},    {31, 12, 1599, 1900, -1},
        {29, 2, 1900, 1900, -1}, {29, 2, 2000, 1900, 146156}, {0, 1, 2000, 1900, -1},
        {1, 13, 2000, 1900, -1}, {31, 4, 2000, 1900, -1},     {1, 1, 0, 2000, 146097},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(DMYToDayNumber(C.Day, C.Month, C.Year, C.Epoch), C.Expected)
            << C.Day << "." << C.Month << "." << C.Year;
}

TEST(OvcDate, DayNumbersSplitBackIntoTheirDates)
{
    struct TCase {
        int DayNumber, Day, Month, Year;
    };
    const std::vector<TCase> Cases = {
        {0, 1, 1, 1600},        {59, 29, 2, 1600}, {60, 1, 3, 1600},  {146097, 1, 1, 2000},
        {876581, 31, 12, 3999}, {-1, 0, 0, 0},     {876582, 0, 0, 0}, {-5, 0, 0, 0},
    };
    for (const TCase& C : Cases) {
        int D = 9, M = 9, Y = 9;
        DayNumberToDMY(C.DayNumber, D, M, Y);
        EXPECT_EQ(D, C.Day) << C.DayNumber;
        EXPECT_EQ(M, C.Month) << C.DayNumber;
        EXPECT_EQ(Y, C.Year) << C.DayNumber;
    }
}

TEST(OvcDate, EveryValidDayNumberRoundTrips)
{
    for (int N = 0; N <= OvcDate::MaxDayNumber; ++N) {
        int D = 0, M = 0, Y = 0;
        DayNumberToDMY(N, D, M, Y);
        ASSERT_EQ(DMYToDayNumber(D, M, Y, 1900), N);
    }
}

TEST(OvcDate, WeekdaysCountFromSaturdayTheFirstDay)
{
    EXPECT_EQ(WeekdayOf(0), 6);
    EXPECT_EQ(WeekdayOf(1), 0);
    EXPECT_EQ(WeekdayOf(-1), 7);
    EXPECT_EQ(WeekdayOf(876582), 7);
    EXPECT_EQ(WeekdayOfDMY(24, 12, 2026, 1900), 4); // a Thursday
    EXPECT_EQ(WeekdayOfDMY(1, 1, 4000, 1900), 7);
}

TEST(OvcDate, TwoDigitYearsMoveIntoTheEpochsHundredYears)
{
    struct TCase {
        int Year, Epoch, Expected;
    };
    const std::vector<TCase> Cases = {
        {49, 1950, 2049}, {50, 1950, 1950},   {99, 1950, 1999}, {0, 1950, 2000},
        {0, 2000, 2000},  {99, 2000, 2099},   {26, 2000, 2026}, {5, 1900, 1905},
        {100, 1950, 100}, {1949, 1950, 1949}, {-1, 1950, -1},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ResolveCentury(C.Year, C.Epoch), C.Expected) << C.Year << " " << C.Epoch;
}

TEST(OvcDate, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(YearIsLeap(1600));
    EXPECT_TRUE(YearIsLeap(2000));
    EXPECT_FALSE(YearIsLeap(1900));
    EXPECT_FALSE(YearIsLeap(4000));
    EXPECT_EQ(DaysInMonthOf(2, 1900, 1900), 28);
    EXPECT_EQ(DaysInMonthOf(2, 0, 2000), 29);
    EXPECT_EQ(DaysInMonthOf(11, 2000, 1900), 30);
    EXPECT_EQ(DaysInMonthOf(12, 2000, 1900), 31);
    EXPECT_EQ(DaysInMonthOf(0, 2000, 1900), 0);
    EXPECT_EQ(DaysInMonthOf(1, 4000, 1900), 0);
    EXPECT_FALSE(IsValidDate(29, 2, 1900, 1900));
    EXPECT_TRUE(IsValidDate(29, 2, 2000, 1900));
}

TEST(OvcDate, SecondsSinceMidnight)
{
    EXPECT_EQ(HMSToSeconds(13, 5, 9), 47109);
    EXPECT_EQ(HMSToSeconds(24, 0, 1), 1);
    EXPECT_EQ(HMSToSeconds(23, 59, 60), 0);
    int H = 9, M = 9, S = 9;
    SecondsToHMS(47109, H, M, S);
    EXPECT_EQ(H * 10000 + M * 100 + S, 130509);
    SecondsToHMS(-1, H, M, S);
    EXPECT_EQ(H + M + S, 0);
    SecondsToHMS(86400, H, M, S);
    EXPECT_EQ(H + M + S, 0);
    EXPECT_TRUE(IsValidTime(23, 59, 59));
    EXPECT_FALSE(IsValidTime(24, 0, 0));
    EXPECT_FALSE(IsValidTime(0, 60, 0));
    EXPECT_FALSE(IsValidTime(0, 0, -1));
}
