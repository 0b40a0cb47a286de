// Tests of the grid's number and date recognition and of the date-series step.
#include "controls/grid/advutil.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TFormatSettings US = TFormatSettings::EnglishUS();
const TFormatSettings Dotted = TestSupport::DotsAndComma();

TEST(AdvUtilNumbers, NumberTextKindTellsIntegersNumbersAndText)
{
    struct Case {
        std::string Text;
        const TFormatSettings* Settings;
        int Kind;
    };
    const std::vector<Case> Cases = {
        {"1234", &US, 0},        {"-12.5", &US, 1},       {"1.2.3", &US, 2},
        {"--1", &US, 2},         {"12a", &US, 2},         {"", &US, 0},
        {"1,234,567.5", &US, 1}, {",123", &US, 2},        {"1,2,34", &US, 2},
        {"-", &US, 0},           {"1.234,5", &Dotted, 1}, {"1,5", &Dotted, 1},
        {"1.500.3", &Dotted, 1}, {"1,5,3", &Dotted, 2},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(NumberTextKind(C.Text, *C.Settings), C.Kind) << C.Text;
}

TEST(AdvUtilNumbers, NumericTextToPlainDropsSignsAndSeparators)
{
    struct Case {
        std::string Text;
        const TFormatSettings* Settings;
        std::string Plain;
    };
    const std::vector<Case> Cases = {
        {"$1,234.50", &US, "1234.50"},
        {"12 kg", &US, "12"},
        {"-3.5%", &US, "-3.5"},
        {"EUR 1.234,5", &Dotted, "1234.5"},
        {"abc", &US, ""},
        {"", &US, ""},
        {"9", &US, "9"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(NumericTextToPlain(C.Text, *C.Settings), C.Plain) << C.Text;
}

TEST(AdvUtilDates, LocaleDatesFollowTheShortDateFormat)
{
    struct Case {
        std::string Text;
        const TFormatSettings* Settings;
        bool Ok;
        int Year, Month, Day;
    };
    const std::vector<Case> Cases = {
        {"12/31/2020", &US, true, 2020, 12, 31},     {" 2/ 3/99", &US, true, 99, 2, 3},
        {"31.12.2020", &Dotted, true, 2020, 12, 31}, {"31/12/2020", &US, false, 0, 0, 0},
        {"2/30/2020", &US, false, 0, 0, 0},          {"1/2", &US, false, 0, 0, 0},
        {"1/2/2020x", &US, false, 0, 0, 0},          {"1/ /2020", &US, false, 0, 0, 0},
        {"0/1/2020", &US, false, 0, 0, 0},
    };
    for (const Case& C : Cases) {
        TDateTime Date = -1;
        EXPECT_EQ(ParseLocaleDate(C.Text, Date, *C.Settings), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_EQ(Date, EncodeDate(C.Year, C.Month, C.Day)) << C.Text;
        }
    }
}

TEST(AdvUtilDates, MonthDayYearAndDayMonthYearTexts)
{
    struct Case {
        std::string Text;
        bool MonthFirst;
        int Year, Month, Day;
    };
    const std::vector<Case> Cases = {
        {"12/31/99", true, 1999, 12, 31}, {"1/1/25", true, 2025, 1, 1},
        {"1/1/26", true, 1926, 1, 1},     {"1/1/2026", true, 2026, 1, 1},
        {"1/1/0025", true, 25, 1, 1},     {"1/1/125", true, 125, 1, 1},
        {"1/1/5", true, 2005, 1, 1},      {"31.12.1999", false, 1999, 12, 31},
        {"5-6-07", false, 2007, 6, 5},    {"5.6/07", false, 0, 0, 0},
    };
    for (const Case& C : Cases) {
        const TDateTime Date = C.MonthFirst ? ParseDateMDY(C.Text) : ParseDateDMY(C.Text);
        const TDateTime Expected = C.Year == 0 ? 0 : EncodeDate(C.Year, C.Month, C.Day);
        EXPECT_EQ(Date, Expected) << C.Text;
    }
    for (const char* NotADate : {"31 12 1999", "a/b/c", "1/2", ""})
        EXPECT_EQ(ParseDateMDY(NotADate), 0) << NotADate;
    for (const char* Impossible : {"2/30/2020", "13/1/2020", "0/1/2020", "1/1/0000"})
        EXPECT_THROW(ParseDateMDY(Impossible), EConvertError) << Impossible;
}

TEST(AdvUtilDates, DateSeriesStepMovesByTheSampleDifference)
{
    struct Case {
        int Years, Months, Days;
        TDateTime From;
        TDateTime Delta;
        TDateTime To;
    };
    const std::vector<Case> Cases = {
        {0, 0, -1, EncodeDate(2021, 3, 10), -1, EncodeDate(2021, 3, 9)},
        {0, 1, 0, EncodeDate(2020, 12, 15), 31, EncodeDate(2021, 1, 15)},
        {0, -1, 0, EncodeDate(2021, 1, 15), -31, EncodeDate(2020, 12, 15)},
        {0, 14, 0, EncodeDate(2020, 11, 15), 0, EncodeDate(2022, 1, 15)},
        {0, -25, 0, EncodeDate(2020, 1, 31), 0, EncodeDate(2017, 12, 31)},
        {2, 0, 0, EncodeDate(2020, 6, 1), 730, EncodeDate(2022, 6, 1)},
        {-1, 0, 0, EncodeDate(2020, 6, 1), -366, EncodeDate(2019, 6, 1)},
        {1, 1, 0, EncodeDate(2020, 6, 1), 396, EncodeDate(2020, 6, 1) + 396},
        {0, 0, 0, EncodeDate(2020, 6, 1), 7, EncodeDate(2020, 6, 8)},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(DateSeriesStep(C.Years, C.Months, C.Days, C.From, C.Delta), C.To)
            << C.Years << " " << C.Months << " " << C.Days;
    EXPECT_EQ(DateSeriesStep(0, 1, 0, EncodeDate(2020, 1, 15) + 0.25, 0),
              EncodeDate(2020, 2, 15) + 0.25);
}

TEST(AdvUtilDates, DateSeriesStepRaisesForADayTheMonthLacks)
{
    EXPECT_THROW(DateSeriesStep(0, 1, 0, EncodeDate(2021, 1, 31), 31), EConvertError);
    EXPECT_THROW(DateSeriesStep(1, 0, 0, EncodeDate(2020, 2, 29), 366), EConvertError);
    EXPECT_THROW(DateSeriesStep(0, -12, 0, EncodeDate(1, 6, 1), 0), EConvertError);
}

} // namespace
