// controls/entry/ovcdate.h: the day-number calendar of the entry fields (day 0 is 1 January 1600,
// the last day 31 December 3999) and the seconds-since-midnight clock; -1 means no value.
#pragma once

namespace OvcDate {
constexpr int BadDate = -1;
constexpr int BadTime = -1;
constexpr int MinYear = 1600;
constexpr int MaxYear = 3999;
constexpr int MaxDayNumber = 876581; // 31 December 3999
constexpr int SecondsInDay = 86400;
} // namespace OvcDate

bool YearIsLeap(int Year);
// Moves a two-digit year into the hundred years that start at Epoch.
int ResolveCentury(int Year, int Epoch);
int DaysInMonthOf(int Month, int Year, int Epoch);
bool IsValidDate(int Day, int Month, int Year, int Epoch);
int DMYToDayNumber(int Day, int Month, int Year, int Epoch);
// Day numbers outside 0 to 876581 are no date: all parts 0.
void DayNumberToDMY(int DayNumber, int& Day, int& Month, int& Year);
// 0 Sunday to 6 Saturday; 7 for no date.
int WeekdayOf(int DayNumber);
int WeekdayOfDMY(int Day, int Month, int Year, int Epoch);

int HMSToSeconds(int Hours, int Minutes, int Seconds);
// Times outside 0 to 86399 are no time: all parts 0.
void SecondsToHMS(int Seconds, int& Hours, int& Minutes, int& Secs);
bool IsValidTime(int Hours, int Minutes, int Seconds);

// The system date's year and month, taken once, at first use.
int CurrentYear();
int CurrentMonth();
