#include "platform/rtl/datetime.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using TestSupport::DottedSettings;

// Pins the clock for one test and restores the system clock afterwards.
class TPinnedClock {
public:
    explicit TPinnedClock(TDateTime Value)
    {
        SetNowSource([Value] { return Value; });
    }
    ~TPinnedClock() { SetNowSource({}); }
};

TDateTime At(Word Y, Word M, Word D, Word H = 0, Word N = 0, Word S = 0, Word Z = 0)
{
    return EncodeDate(Y, M, D) + EncodeTime(H, N, S, Z);
}

std::string ConvertErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EConvertError& E) {
        return E.Message();
    }
    return "(no error)";
}

} // namespace

TEST(DateTime, KnownDatesHaveTheirDayNumbers)
{
    struct Case {
        Word Y, M, D;
        double Expected;
        int DayOfWeek;
    };
    const std::vector<Case> Cases = {
        {1899, 12, 30, 0, 7},      {1899, 12, 31, 1, 1},       {1900, 1, 1, 2, 2},
        {1899, 12, 29, -1, 6},     {2000, 1, 1, 36526, 7},     {2024, 3, 5, 45356, 3},
        {1, 1, 1, MinDateTime, 2}, {9999, 12, 31, 2958465, 6},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Y) + "-" + std::to_string(C.M) + "-" + std::to_string(C.D));
        EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Expected);
        EXPECT_EQ(DayOfWeek(C.Expected), C.DayOfWeek);
    }
}

TEST(DateTime, EveryDayFromYearOneToYear9999DecodesToTheNextCalendarDay)
{
    Word Y = 1, M = 1, D = 1;
    for (int Day = static_cast<int>(MinDateTime); Day <= 2958465; ++Day) {
        Word DY, DM, DD, DOW;
        const bool Leap = DecodeDateFully(Day, DY, DM, DD, DOW);
        if (DY != Y || DM != M || DD != D || Leap != IsLeapYear(Y) || EncodeDate(Y, M, D) != Day) {
            ADD_FAILURE() << "day " << Day << " decodes as " << DY << "-" << DM << "-" << DD
                          << ", expected " << Y << "-" << M << "-" << D;
            return;
        }
        if (++D > MonthDays[IsLeapYear(Y)][M]) {
            D = 1;
            if (++M > 12) {
                M = 1;
                ++Y;
            }
        }
    }
    EXPECT_EQ(Y, 10000);
}

TEST(DateTime, LeapYearsFollowTheGregorianRules)
{
    struct Case {
        Word Year;
        bool Leap;
        Word February;
    };
    const std::vector<Case> Cases = {{1900, false, 28}, {2000, true, 29},  {2024, true, 29},
                                     {2023, false, 28}, {2100, false, 28}, {1600, true, 29},
                                     {4, true, 29},     {1, false, 28}};
    for (const Case& C : Cases) {
        EXPECT_EQ(IsLeapYear(C.Year), C.Leap) << C.Year;
        EXPECT_EQ(DaysInAMonth(C.Year, 2), C.February) << C.Year;
        EXPECT_EQ(DaysInMonth(EncodeDate(C.Year, 2, 10)), C.February) << C.Year;
    }
    EXPECT_EQ(DaysInAMonth(2024, 4), 30);
    EXPECT_EQ(DaysInAMonth(2024, 12), 31);
    EXPECT_EQ(DaysInAMonth(2024, 0), 0);
    EXPECT_EQ(DaysInAMonth(2024, 13), 0);
}

TEST(DateTime, InvalidDatesAndTimesRaiseConvertErrors)
{
    struct Case {
        Word Y, M, D;
    };
    for (const Case& C : std::vector<Case>{{2023, 2, 29},
                                           {1900, 2, 29},
                                           {2024, 4, 31},
                                           {2024, 0, 1},
                                           {2024, 13, 1},
                                           {2024, 1, 0},
                                           {0, 1, 1},
                                           {10000, 1, 1}}) {
        TDateTime Value = 123;
        EXPECT_FALSE(TryEncodeDate(C.Y, C.M, C.D, Value));
        EXPECT_EQ(Value, 123);
        EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(C.Y, C.M, C.D); }),
                  "Invalid argument to date encode");
    }
    struct TimeCase {
        Word H, N, S, Z;
    };
    for (const TimeCase& C :
         std::vector<TimeCase>{{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}}) {
        TDateTime Value = 0;
        EXPECT_FALSE(TryEncodeTime(C.H, C.N, C.S, C.Z, Value));
        EXPECT_EQ(ConvertErrorOf([&] { EncodeTime(C.H, C.N, C.S, C.Z); }),
                  "Invalid argument to time encode");
    }
}

TEST(DateTime, TimesRoundTripToTheMillisecond)
{
    for (Word H : {0, 1, 11, 12, 13, 23})
        for (Word Z : {0, 1, 500, 999}) {
            Word DH, DN, DS, DZ;
            DecodeTime(EncodeTime(H, 59, 58, Z), DH, DN, DS, DZ);
            EXPECT_EQ(DH, H);
            EXPECT_EQ(DN, 59);
            EXPECT_EQ(DS, 58);
            EXPECT_EQ(DZ, Z);
        }
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, ATimeJustBeforeMidnightRoundsIntoTheNextDayNotHour24)
{
    const TDateTime Value = EncodeDate(2000, 1, 1) + 0.99999999999;
    Word Y, M, D, H, N, S, Z;
    DecodeDate(Value, Y, M, D);
    DecodeTime(Value, H, N, S, Z);
    EXPECT_EQ(D, 2);
    EXPECT_EQ(H, 0);
    EXPECT_EQ(Z, 0);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Value, TFormatSettings::EnglishUS()),
              "2000-01-02 00:00:00.000");
    EXPECT_EQ(DateTimeToTimeStamp(Value).Date, DateTimeToTimeStamp(36527).Date);
}

TEST(DateTime, NegativeValuesCountDaysBackAndKeepTheTimeOfDay)
{
    // -1.25: 29 December 1899, 06:00
    Word Y, M, D, H, N, S, Z;
    DecodeDate(-1.25, Y, M, D);
    DecodeTime(-1.25, H, N, S, Z);
    EXPECT_EQ(Y, 1899);
    EXPECT_EQ(M, 12);
    EXPECT_EQ(D, 29);
    EXPECT_EQ(H, 6);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25, TFormatSettings::EnglishUS()),
              "1899-12-29 06:00");
    EXPECT_EQ(StrToDateTime("12/29/1899 6:00 AM", TFormatSettings::EnglishUS()), -1.25);

    const TDateTime Old = EncodeDate(1800, 7, 4);
    EXPECT_LT(Old, 0);
    TDateTime WithTime = Old;
    ReplaceTime(WithTime, 0.75);
    EXPECT_EQ(WithTime, Old - 0.75);
    DecodeTime(WithTime, H, N, S, Z);
    EXPECT_EQ(H, 18);
    DecodeDate(WithTime, Y, M, D);
    EXPECT_EQ(D, 4);
    TDateTime Moved = WithTime;
    ReplaceDate(Moved, EncodeDate(2024, 3, 5));
    EXPECT_EQ(Moved, EncodeDate(2024, 3, 5) + 0.75);
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeAsZeros)
{
    for (double Value : {MinDateTime - 1, 3e6, 1e300, -1e300, std::nan(""),
                         std::numeric_limits<double>::infinity()}) {
        Word Y = 1, M = 1, D = 1;
        DecodeDate(Value, Y, M, D);
        EXPECT_EQ(Y + M + D, 0) << Value;
        EXPECT_EQ(DayOfWeek(Value), 0);
        EXPECT_NO_THROW(FormatDateTime("c dddddd mmmm ddd", Value));
    }
}

TEST(DateTime, IncMonthClampsTheDayAndKeepsTheTime)
{
    struct Case {
        TDateTime From;
        int Months;
        TDateTime Expected;
    };
    const std::vector<Case> Cases = {
        {At(2024, 1, 31, 10, 30), 1, At(2024, 2, 29, 10, 30)},
        {At(2023, 1, 31), 1, At(2023, 2, 28)},
        {At(2024, 3, 31), -1, At(2024, 2, 29)},
        {At(2024, 12, 15, 8), 1, At(2025, 1, 15, 8)},
        {At(2024, 1, 15), -13, At(2022, 12, 15)},
        {At(2024, 2, 29), 12, At(2025, 2, 28)},
        {At(2024, 5, 31), 0, At(2024, 5, 31)},
        {EncodeDate(1800, 1, 31) - 0.5, 1, EncodeDate(1800, 2, 28) - 0.5},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(IncMonth(C.From, C.Months), C.Expected) << FormatDateTime("yyyy-mm-dd", C.From);
    EXPECT_EQ(IncMonth(At(2024, 1, 31)), At(2024, 2, 29));
    EXPECT_THROW(IncMonth(At(9999, 12, 1), 1), EConvertError);
    EXPECT_THROW(IncMonth(At(1, 1, 1), -1), EConvertError);
}

TEST(DateTime, TimeStampsCountDaysFromYearOneAndMillisecondsFromMidnight)
{
    struct Case {
        TDateTime Value;
        int Date, Time;
    };
    const std::vector<Case> Cases = {{0, 693594, 0},
                                     {36526.5, 730120, 43200000},
                                     {-1.25, 693593, 21600000},
                                     {MinDateTime, 1, 0},
                                     {At(2024, 3, 5, 14, 7, 9, 45), 738950, 50829045}};
    for (const Case& C : Cases) {
        const TTimeStamp Stamp = DateTimeToTimeStamp(C.Value);
        EXPECT_EQ(Stamp.Date, C.Date) << C.Value;
        EXPECT_EQ(Stamp.Time, C.Time) << C.Value;
        EXPECT_NEAR(TimeStampToDateTime(Stamp), C.Value, 1e-9);
        const TTimeStamp Back = MSecsToTimeStamp(TimeStampToMSecs(Stamp));
        EXPECT_EQ(Back.Date, Stamp.Date);
        EXPECT_EQ(Back.Time, Stamp.Time);
    }
    EXPECT_EQ(TimeStampToMSecs(DateTimeToTimeStamp(1)) - TimeStampToMSecs(DateTimeToTimeStamp(0)),
              MSecsPerDay);
    TTimeStamp Bad;
    Bad.Date = 0;
    EXPECT_EQ(ConvertErrorOf([&] { TimeStampToDateTime(Bad); }), "'0.0' is not a valid timestamp");
    Bad.Date = 5;
    Bad.Time = MSecsPerDay;
    EXPECT_THROW(TimeStampToDateTime(Bad), EConvertError);
}

TEST(DateTime, DateAndTimeComeFromTheInjectedClock)
{
    TPinnedClock Clock(45356.75);
    EXPECT_EQ(Date(), 45356);
    EXPECT_DOUBLE_EQ(Time(), 0.75);
}

TEST(FormatDateTime, EveryTokenInUSEnglish)
{
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TDateTime Afternoon = At(2024, 3, 5, 14, 7, 9, 45); // a Tuesday
    const TDateTime Morning = At(2024, 11, 2, 8, 4, 3, 7);    // a Saturday
    struct Case {
        const char* Format;
        TDateTime Value;
        const char* Expected;
    };
    const std::vector<Case> Cases = {
        {"d", Afternoon, "5"},
        {"dd", Afternoon, "05"},
        {"ddd", Afternoon, "Tue"},
        {"dddd", Afternoon, "Tuesday"},
        {"ddddd", Afternoon, "3/5/2024"},
        {"dddddd", Afternoon, "Tuesday, March 05, 2024"},
        {"m", Afternoon, "3"},
        {"mm", Afternoon, "03"},
        {"mmm", Afternoon, "Mar"},
        {"mmmm", Afternoon, "March"},
        {"MMMM", Morning, "November"},
        {"yy", Afternoon, "24"},
        {"yyyy", Afternoon, "2024"},
        {"yy", At(2005, 1, 1), "05"},
        {"yyyy", At(987, 1, 1), "0987"},
        {"h", Morning, "8"},
        {"hh", Morning, "08"},
        {"h", Afternoon, "14"},
        {"n", Morning, "4"},
        {"nn", Morning, "04"},
        {"s", Morning, "3"},
        {"ss", Morning, "03"},
        {"z", Morning, "7"},
        {"zzz", Morning, "007"},
        {"zzz", Afternoon, "045"},
        {"t", Afternoon, "2:07 PM"},
        {"tt", Afternoon, "2:07:09 PM"},
        {"t", Morning, "8:04 AM"},
        {"c", Afternoon, "3/5/2024 2:07:09 PM"},
        {"c", At(2024, 3, 5), "3/5/2024"},
        {"", Afternoon, "3/5/2024 2:07:09 PM"},
        {"m/d/yy", Afternoon, "3/5/24"},
        {"yyyy-mm-dd", Afternoon, "2024-03-05"},
        // m right after an hour means minutes, elsewhere months
        {"h:m", Afternoon, "14:7"},
        {"hh:mm", Afternoon, "14:07"},
        {"hh:mm dd/mm", Afternoon, "14:07 05/03"},
        {"d m", Afternoon, "5 3"},
        // am/pm tokens: the 12-hour clock, the case as written
        {"h am/pm", Afternoon, "2 pm"},
        {"h AM/PM", Morning, "8 AM"},
        {"h Am/pM", Afternoon, "2 pM"},
        {"h a/p", Afternoon, "2 p"},
        {"h A/P", Morning, "8 A"},
        {"hh:nn ampm", Afternoon, "02:07 PM"},
        {"am/pm h", Afternoon, "pm 2"},
        {"h:nn am/pm", At(2024, 3, 5, 0, 30), "12:30 am"},
        {"h:nn am/pm", At(2024, 3, 5, 12, 0), "12:00 pm"},
        {"h 'h' h am/pm", Afternoon, "14 h 2 pm"},
        // literals
        {"hh 'h' nn", Afternoon, "14 h 07"},
        {"\"Today is\" dddd", Afternoon, "Today is Tuesday"},
        {"'it''s'", Afternoon, "its"},
        {"'unclosed d", Afternoon, "unclosed d"},
        {"x#[d]", Afternoon, "x#[5]"},
        {"dd\xC2\xB7mm", Afternoon,
         "05\xC2\xB7"
         "03"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(FormatDateTime(C.Format, C.Value, US), C.Expected) << "format " << C.Format;
}

TEST(FormatDateTime, DayMonthYearLocaleWritesItsSeparatorsAndNames)
{
    const TFormatSettings Dotted = DottedSettings();
    const TDateTime Afternoon = At(2024, 3, 5, 14, 7, 9, 45);
    struct Case {
        const char* Format;
        const char* Expected;
    };
    const std::vector<Case> Cases = {
        {"ddddd", "05.03.2024"},
        {"dddddd", "Dienstag, 5. März 2024"},
        {"ddd", "Di"},
        {"mmm", "Mär"},
        {"t", "14.07"},
        {"tt", "14.07.09"},
        {"c", "05.03.2024 14.07.09"},
        {"yyyy/mm/dd hh:nn", "2024.03.05 14.07"},
        {"h ampm", "2 "},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(FormatDateTime(C.Format, Afternoon, Dotted), C.Expected) << C.Format;
    EXPECT_EQ(DateToStr(Afternoon, Dotted), "05.03.2024");
    EXPECT_EQ(TimeToStr(Afternoon, Dotted), "14.07.09");
    EXPECT_EQ(DateTimeToStr(Afternoon, Dotted), "05.03.2024 14.07.09");
    std::string Out;
    DateTimeToString(Out, "dd/mm", Afternoon, Dotted);
    EXPECT_EQ(Out, "05.03");
}

TEST(FormatDateTime, SelfReferringLocaleFormatsStopAtOneLevel)
{
    TFormatSettings Looping = TFormatSettings::EnglishUS();
    Looping.ShortDateFormat = "ddddd/c";
    Looping.LongTimeFormat = "tt";
    Looping.ShortTimeFormat = "t";
    // The nested "ddddd", "t" and "c" inside a locale format write nothing.
    EXPECT_EQ(FormatDateTime("ddddd|t|c", At(2024, 3, 5), Looping), "/||/");
}

TEST(FormatDateTime, PlainFormsReadTheGlobalSettings)
{
    const TFormatSettings Saved = FormatSettings;
    FormatSettings = DottedSettings();
    const TDateTime Value = At(2024, 3, 5, 14, 7);
    EXPECT_EQ(DateToStr(Value), "05.03.2024");
    EXPECT_EQ(FormatDateTime("c", Value), "05.03.2024 14.07.00");
    EXPECT_EQ(StrToDate("5.3.2024"), At(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("5.3.2024 14.07"), Value);
    FormatSettings = Saved;
}

TEST(StrToDate, ReadsTheLocaleOrderSeparatorAndShortYears)
{
    TPinnedClock Clock(At(2024, 6, 15, 12)); // window 50: two-digit years from 1974 to 2073
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TFormatSettings Dotted = DottedSettings();
    TFormatSettings ISO = US;
    ISO.ShortDateFormat = "yyyy-MM-dd";
    ISO.DateSeparator = '-';
    TFormatSettings CurrentCentury = US;
    CurrentCentury.TwoDigitYearCenturyWindow = 0;
    struct Case {
        const TFormatSettings* Settings;
        const char* Text;
        TDateTime Expected;
    };
    const std::vector<Case> Cases = {
        {&US, "3/5/2024", At(2024, 3, 5)},
        {&US, "03/05/2024", At(2024, 3, 5)},
        {&US, " 3 / 5 / 2024 ", At(2024, 3, 5)},
        {&US, "3/5", At(2024, 3, 5)},
        {&US, "3/5/", At(2024, 3, 5)},
        {&US, "3/5/24", At(2024, 3, 5)},
        {&US, "3/5/74", At(1974, 3, 5)},
        {&US, "3/5/73", At(2073, 3, 5)},
        {&US, "3/5/0024", At(24, 3, 5)},
        {&US, "2/29/2024", At(2024, 2, 29)},
        {&US, "12/31/9999", At(9999, 12, 31)},
        {&US, "12/29/1899", -1},
        {&CurrentCentury, "3/5/99", At(2099, 3, 5)},
        {&Dotted, "5.3.2024", At(2024, 3, 5)},
        {&Dotted, "05.03.2024", At(2024, 3, 5)},
        {&Dotted, "5.3.", At(2024, 3, 5)},
        {&Dotted, "31.12.99", At(1999, 12, 31)},
        {&ISO, "2024-03-05", At(2024, 3, 5)},
        {&ISO, "3-5", At(2024, 3, 5)},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(StrToDate(C.Text, *C.Settings), C.Expected) << C.Text;
        TDateTime Value = 0;
        EXPECT_TRUE(TryStrToDate(C.Text, Value, *C.Settings)) << C.Text;
        EXPECT_EQ(Value, C.Expected) << C.Text;
    }
}

TEST(StrToDate, RejectsTextThatIsNoDate)
{
    TPinnedClock Clock(At(2024, 6, 15));
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TFormatSettings Dotted = DottedSettings();
    struct Case {
        const TFormatSettings* Settings;
        const char* Text;
    };
    const std::vector<Case> Cases = {
        {&US, ""},
        {&US, "3"},
        {&US, "3/"},
        {&US, "3/5//"},
        {&US, "2/29/2023"},
        {&US, "13/1/2024"},
        {&US, "3-5-2024"},
        {&US, "3/5/2024x"},
        {&US, "3/5/12345"},
        {&US, "0/5/2024"},
        {&US, "3/5/2024 1"},
        {&US, "a/b/c"},
        {&Dotted, "31.02.2024"},
        {&Dotted, "3/5/2024"},
        {&Dotted, "1.13.2024"},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(ConvertErrorOf([&] { StrToDate(C.Text, *C.Settings); }),
                  std::string("'") + C.Text + "' is not a valid date");
        TDateTime Value = 42;
        EXPECT_FALSE(TryStrToDate(C.Text, Value, *C.Settings)) << C.Text;
        EXPECT_EQ(Value, 42);
        EXPECT_EQ(StrToDateDef(C.Text, 7, *C.Settings), 7);
    }
}

TEST(StrToTime, ReadsHoursMinutesSecondsAndMarkers)
{
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TFormatSettings Dotted = DottedSettings();
    struct Case {
        const TFormatSettings* Settings;
        const char* Text;
        TDateTime Expected; // negative: not a valid time
    };
    const std::vector<Case> Cases = {
        {&US, "14:30", EncodeTime(14, 30, 0, 0)},
        {&US, "9", EncodeTime(9, 0, 0, 0)},
        {&US, "9:05:07", EncodeTime(9, 5, 7, 0)},
        {&US, " 2:30 PM ", EncodeTime(14, 30, 0, 0)},
        {&US, "2:30pm", EncodeTime(14, 30, 0, 0)},
        {&US, "PM 2:30", EncodeTime(14, 30, 0, 0)},
        {&US, "12:00 AM", 0},
        {&US, "12:15 PM", EncodeTime(12, 15, 0, 0)},
        {&US, "23:59:59.999", EncodeTime(23, 59, 59, 999)},
        {&US, "12:00:00.5", EncodeTime(12, 0, 0, 500)},
        {&US, "12:00:00.05", EncodeTime(12, 0, 0, 50)},
        {&Dotted, "14.30", EncodeTime(14, 30, 0, 0)},
        {&Dotted, "14.30.15,25", EncodeTime(14, 30, 15, 250)},
        {&Dotted, "2.30 PM", EncodeTime(14, 30, 0, 0)},
        {&US, "", -1},
        {&US, "24:00", -1},
        {&US, "12:60", -1},
        {&US, "12:00:60", -1},
        {&US, "13 PM", -1},
        {&US, "0 AM", -1},
        {&US, "12:", -1},
        {&US, "12:00 XM", -1},
        {&US, "12:00:00.1234", -1},
        {&US, "AM", -1},
        {&Dotted, "14:30", -1},
    };
    for (const Case& C : Cases) {
        TDateTime Value = 0;
        const bool Ok = TryStrToTime(C.Text, Value, *C.Settings);
        if (C.Expected < 0) {
            EXPECT_FALSE(Ok) << C.Text;
            EXPECT_EQ(ConvertErrorOf([&] { StrToTime(C.Text, *C.Settings); }),
                      std::string("'") + C.Text + "' is not a valid time");
            EXPECT_EQ(StrToTimeDef(C.Text, 0.5, *C.Settings), 0.5);
        } else {
            EXPECT_TRUE(Ok) << C.Text;
            EXPECT_DOUBLE_EQ(Value, C.Expected) << C.Text;
            EXPECT_DOUBLE_EQ(StrToTime(C.Text, *C.Settings), C.Expected) << C.Text;
        }
    }
}

TEST(StrToDateTime, ReadsADateWithAnOptionalTimeOrATimeAlone)
{
    TPinnedClock Clock(At(2024, 6, 15));
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TFormatSettings Dotted = DottedSettings();
    struct Case {
        const TFormatSettings* Settings;
        const char* Text;
        TDateTime Expected;
    };
    const std::vector<Case> Cases = {
        {&US, "3/5/2024 14:07:09", At(2024, 3, 5, 14, 7, 9)},
        {&US, "3/5/2024 2:07 PM", At(2024, 3, 5, 14, 7)},
        {&US, "3/5/2024", At(2024, 3, 5)},
        {&US, "3/5 8:00", At(2024, 3, 5, 8)},
        {&US, "14:07", EncodeTime(14, 7, 0, 0)},
        {&Dotted, "05.03.2024 14.07", At(2024, 3, 5, 14, 7)},
    };
    for (const Case& C : Cases)
        EXPECT_NEAR(StrToDateTime(C.Text, *C.Settings), C.Expected, 1e-9) << C.Text;
    for (const char* Bad : {"3/5/2024 25:00", "3/5/2024 x", "yesterday", ""})
        EXPECT_EQ(ConvertErrorOf([&] { StrToDateTime(Bad, US); }),
                  std::string("'") + Bad + "' is not a valid date and time");
    EXPECT_EQ(StrToDateTimeDef("never", 3.5, US), 3.5);
}

TEST(StrToDateTime, ReadsBackWhatDateTimeToStrWrites)
{
    const TFormatSettings US = TFormatSettings::EnglishUS();
    const TFormatSettings Dotted = DottedSettings();
    const std::vector<TDateTime> Values = {At(2024, 3, 5, 14, 7, 9),
                                           At(2024, 3, 5),
                                           At(1999, 12, 31, 23, 59, 59),
                                           At(1, 1, 1, 0, 0, 1),
                                           At(9999, 12, 31, 12),
                                           0.5,
                                           -1.25,
                                           At(1800, 7, 4),
                                           At(2000, 2, 29, 0, 30)};
    for (const TFormatSettings* Settings : {&US, &Dotted})
        for (const TDateTime Value : Values) {
            const std::string Text = DateTimeToStr(Value, *Settings);
            TDateTime Back = 0;
            ASSERT_TRUE(TryStrToDateTime(Text, Back, *Settings)) << Text;
            EXPECT_NEAR(Back, Value, 1e-9) << Text;
        }
}

TEST(SystemTime, CarriesDateTimeAndWeekdayBothWays)
{
    struct TCase {
        TDateTime Value;
        Word Year, Month, Day, DayOfWeek, Hour, Minute;
    };
    const std::vector<TCase> Cases = {
        {At(2004, 11, 1, 13, 45), 2004, 11, 1, 1, 13, 45}, // a Monday
        {At(2000, 2, 29), 2000, 2, 29, 2, 0, 0},
        {At(1601, 1, 1), 1601, 1, 1, 1, 0, 0},
        {At(9999, 12, 31, 23, 59), 9999, 12, 31, 5, 23, 59},
    };
    for (const TCase& Case : Cases) {
        TSystemTime St;
        DateTimeToSystemTime(Case.Value, St);
        EXPECT_EQ(St.wYear, Case.Year);
        EXPECT_EQ(St.wMonth, Case.Month);
        EXPECT_EQ(St.wDay, Case.Day);
        EXPECT_EQ(St.wDayOfWeek, Case.DayOfWeek) << Case.Year;
        EXPECT_EQ(St.wHour, Case.Hour);
        EXPECT_EQ(St.wMinute, Case.Minute);
        EXPECT_NEAR(SystemTimeToDateTime(St), Case.Value, 1e-9);
    }
}

TEST(SystemTime, RefusesRecordsOutsideTheCalendar)
{
    TDateTime Value = 7;
    for (const TSystemTime& St : {TSystemTime{1600, 12, 0, 31}, TSystemTime{2001, 2, 0, 29},
                                  TSystemTime{2001, 13, 0, 1}, TSystemTime{2001, 1, 0, 1, 24}}) {
        EXPECT_FALSE(TrySystemTimeToDateTime(St, Value)) << St.wYear << "-" << St.wMonth;
        EXPECT_EQ(Value, 7);
        EXPECT_THROW(SystemTimeToDateTime(St), EConvertError);
    }
}
