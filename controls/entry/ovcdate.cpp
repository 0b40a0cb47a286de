#include "controls/entry/ovcdate.h"

#include "platform/rtl/datetime.h"

using namespace OvcDate;

bool YearIsLeap(int Year)
{
    return Year % 4 == 0 && Year % 4000 != 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int ResolveCentury(int Year, int Epoch)
{
    if (Year < 0 || Year > 99)
        return Year;
    int Result = Year + (Epoch / 100) * 100;
    if (Year < Epoch % 100)
        Result += 100;
    return Result;
}

int DaysInMonthOf(int Month, int Year, int Epoch)
{
    Year = ResolveCentury(Year, Epoch);
    if (Year < MinYear || Year > MaxYear || Month < 1 || Month > 12)
        return 0;
    switch (Month) {
    case 2:
        return YearIsLeap(Year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

bool IsValidDate(int Day, int Month, int Year, int Epoch)
{
    return Day >= 1 && Day <= DaysInMonthOf(Month, Year, Epoch);
}

int DMYToDayNumber(int Day, int Month, int Year, int Epoch)
{
    Year = ResolveCentury(Year, Epoch);
    if (!IsValidDate(Day, Month, Year, Epoch))
        return BadDate;
    if (Year == MinYear && Month < 3)
        return Month == 1 ? Day - 1 : Day + 30;
    if (Month > 2) {
        Month -= 3;
    } else {
        Month += 9;
        --Year;
    }
    const int Y = Year - MinYear;
    // March-based months: (153 * (m + 3) - 457) / 5 with m from 0.
    return (Y / 100) * 146097 / 4 + (Y % 100) * 1461 / 4 + (153 * (Month + 3) - 457) / 5 + Day + 59;
}

void DayNumberToDMY(int DayNumber, int& Day, int& Month, int& Year)
{
    Day = Month = Year = 0;
    if (DayNumber < 0 || DayNumber > MaxDayNumber)
        return;
    if (DayNumber < 60) { // January and February 1600
        Year = MinYear;
        Month = DayNumber < 31 ? 1 : 2;
        Day = DayNumber < 31 ? DayNumber + 1 : DayNumber - 30;
        return;
    }
    // Inverse of DMYToDayNumber over March-based years counted from 1 March 1600.
    int N = DayNumber - 60;
    const int Centuries = (4 * N + 3) / 146097;
    N -= Centuries * 146097 / 4;
    const int Years = (4 * N + 3) / 1461;
    N -= Years * 1461 / 4;
    const int M = (5 * N + 2) / 153; // 0 March ... 11 February
    Day = N - (153 * M + 2) / 5 + 1;
    Year = MinYear + Centuries * 100 + Years;
    if (M < 10) {
        Month = M + 3;
    } else {
        Month = M - 9;
        ++Year;
    }
}

int WeekdayOf(int DayNumber)
{
    if (DayNumber < 0 || DayNumber > MaxDayNumber)
        return 7;
    return (DayNumber + 6) % 7;
}

int WeekdayOfDMY(int Day, int Month, int Year, int Epoch)
{
    return WeekdayOf(DMYToDayNumber(Day, Month, Year, Epoch));
}

int HMSToSeconds(int Hours, int Minutes, int Seconds)
{
    return ((Hours % 24) * 3600 + Minutes * 60 + Seconds) % SecondsInDay;
}

void SecondsToHMS(int Seconds, int& Hours, int& Minutes, int& Secs)
{
    Hours = Minutes = Secs = 0;
    if (Seconds < 0 || Seconds >= SecondsInDay)
        return;
    Hours = Seconds / 3600;
    Minutes = Seconds % 3600 / 60;
    Secs = Seconds % 60;
}

bool IsValidTime(int Hours, int Minutes, int Seconds)
{
    return Hours >= 0 && Hours <= 23 && Minutes >= 0 && Minutes <= 59 && Seconds >= 0 &&
           Seconds <= 59;
}

namespace {

struct TStartDate {
    Word Year = 0;
    Word Month = 0;
    TStartDate()
    {
        Word Day = 0;
        DecodeDate(Date(), Year, Month, Day);
    }
};

const TStartDate& StartDate()
{
    static const TStartDate Value;
    return Value;
}

} // namespace

int CurrentYear()
{
    return StartDate().Year;
}

int CurrentMonth()
{
    return StartDate().Month;
}
