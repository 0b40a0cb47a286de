// platform/rtl/datetime.h: dates and times as TDateTime (days since 30 December 1899, the time of
// day as the fraction), their encoding, arithmetic, formatting and parsing by the locale.
// Before 30 December 1899 the integer part counts the days back and the fraction is still the
// time of day: -1.25 is 29 December 1899, 06:00.
#pragma once

#include "platform/rtl/formatsettings.h"
#include "platform/rtl/types.h"

#include <string>

constexpr int HoursPerDay = 24;
constexpr int MinsPerHour = 60;
constexpr int SecsPerMin = 60;
constexpr int MSecsPerSec = 1000;
constexpr int MinsPerDay = HoursPerDay * MinsPerHour;
constexpr int SecsPerDay = MinsPerDay * SecsPerMin;
constexpr int MSecsPerDay = SecsPerDay * MSecsPerSec;
// The time-stamp date of TDateTime 0, 30 December 1899.
constexpr int DateDelta = 693594;
// 1 January 0001 and 31 December 9999 23:59:59.999, the range the encoders accept.
constexpr TDateTime MinDateTime = -693593.0;
constexpr TDateTime MaxDateTime = 2958465.99999999;

bool IsLeapYear(Word Year);
// Days per month, MonthDays[IsLeapYear(Year)][Month] with Month from 1; index 0 is unused.
extern const Word MonthDays[2][13];
// Days in Month (1..12) of Year; 0 for a month out of range.
Word DaysInAMonth(Word Year, Word Month);
// Days in the month of Value.
Word DaysInMonth(TDateTime Value);

// Raise EConvertError "Invalid argument to date encode" / "... time encode" on a date outside
// 1/1/0001..31/12/9999 or a time outside 00:00:00.000..23:59:59.999.
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);

// The time is rounded to the millisecond first, so 23:59:59.9996 decodes as the next day's
// midnight, never as hour 24. A value outside the encoders' range decodes as all zeros.
void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec);
// As DecodeDate plus the day of the week (Sunday = 1); returns whether the year is a leap year.
bool DecodeDateFully(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& DOW);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Value);
// Value moved by NumberOfMonths (negative: back), the day clamped to the target month's length,
// the time of day kept.
TDateTime IncMonth(TDateTime Value, int NumberOfMonths = 1);
// Replace the time (the date) of Value by that of NewTime (NewDate).
void ReplaceTime(TDateTime& Value, TDateTime NewTime);
void ReplaceDate(TDateTime& Value, TDateTime NewDate);

// Today at midnight, and the time of day now, from the injectable clock (Now()).
TDateTime Date();
TDateTime Time();

// The system's calendar record, as the date controls exchange it: the day of week counts from
// Sunday (0). Converting a date before 1 January 1601 or after 31 December 9999 fails.
struct TSystemTime {
    Word wYear = 0;
    Word wMonth = 0;
    Word wDayOfWeek = 0;
    Word wDay = 0;
    Word wHour = 0;
    Word wMinute = 0;
    Word wSecond = 0;
    Word wMilliseconds = 0;
};
void DateTimeToSystemTime(TDateTime Value, TSystemTime& SystemTime);
TDateTime SystemTimeToDateTime(const TSystemTime& SystemTime);
bool TrySystemTimeToDateTime(const TSystemTime& SystemTime, TDateTime& Value);

// Time: milliseconds since midnight; Date: days since 1 January 0001, plus one.
struct TTimeStamp {
    int Time = 0;
    int Date = 0;
};
TTimeStamp DateTimeToTimeStamp(TDateTime Value);
// Raises EConvertError for a time stamp with Date < 1 or Time outside one day.
TDateTime TimeStampToDateTime(const TTimeStamp& Stamp);
Int64 TimeStampToMSecs(const TTimeStamp& Stamp);
TTimeStamp MSecsToTimeStamp(Int64 MSecs);

// Format tokens (letters in any case; a run counts the same letter as written):
//   c       ShortDateFormat, then " " and LongTimeFormat unless the time is midnight
//   d dd    day without / with a leading zero; ddd dddd short / long day name;
//   ddddd   ShortDateFormat; dddddd LongDateFormat
//   m mm    month; mmm mmmm short / long month name; right after h or hh: minutes
//   yy yyyy two-digit / four-digit year
//   h hh    hour (12-hour clock when an am/pm token follows before the next h)
//   n nn    minutes; s ss seconds; z zzz milliseconds; t tt ShortTimeFormat / LongTimeFormat
//   am/pm a/p   "am" or "pm" ("a" or "p") in the case written; ampm TimeAMString/TimePMString
//   /       DateSeparator; : TimeSeparator; '...' and "..." literal text
// Any other character is copied. An empty Format means "c".
std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings = FormatSettings);
void DateTimeToString(std::string& Result, const std::string& Format, TDateTime Value,
                      const TFormatSettings& Settings = FormatSettings);
std::string DateToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings);
std::string TimeToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings);
std::string DateTimeToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings);

// Parsing by the locale. A date is two or three numbers separated by DateSeparator in the order
// of ShortDateFormat (month-day-year, day-month-year or year-month-day); without a year it is
// in the current year; a year of one or two digits is placed by TwoDigitYearCenturyWindow.
// A time is the hour, optionally ":minutes", ":seconds" and DecimalSeparator with up to three
// digits of a second, and an optional TimeAMString/TimePMString (or "AM"/"PM") before or after.
// Blanks around the parts are skipped. Errors raise EConvertError "'x' is not a valid date",
// "'x' is not a valid time" or "'x' is not a valid date and time".
TDateTime StrToDate(const std::string& S, const TFormatSettings& Settings = FormatSettings);
TDateTime StrToTime(const std::string& S, const TFormatSettings& Settings = FormatSettings);
// A date, optionally followed by a time; or a time alone.
TDateTime StrToDateTime(const std::string& S, const TFormatSettings& Settings = FormatSettings);
bool TryStrToDate(const std::string& S, TDateTime& Value,
                  const TFormatSettings& Settings = FormatSettings);
bool TryStrToTime(const std::string& S, TDateTime& Value,
                  const TFormatSettings& Settings = FormatSettings);
bool TryStrToDateTime(const std::string& S, TDateTime& Value,
                      const TFormatSettings& Settings = FormatSettings);
TDateTime StrToDateDef(const std::string& S, TDateTime Default,
                       const TFormatSettings& Settings = FormatSettings);
TDateTime StrToTimeDef(const std::string& S, TDateTime Default,
                       const TFormatSettings& Settings = FormatSettings);
TDateTime StrToDateTimeDef(const std::string& S, TDateTime Default,
                           const TFormatSettings& Settings = FormatSettings);
