// platform/rtl/formatsettings.h: the locale's date, time, number and currency conventions.
// One global object, FormatSettings, initialised from the POSIX locale at start-up (English,
// United States, when no locale is set); every conversion routine reads it unless it is given
// a TFormatSettings of its own.
#pragma once

#include <array>
#include <string>

struct TFormatSettings {
    // Currency: CurrencyFormat 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; NegCurrFormat 0 to 15 as the
    // classic table of negative currency formats.
    unsigned char CurrencyFormat = 0;
    unsigned char NegCurrFormat = 0;
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    unsigned char CurrencyDecimals = 2;
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    std::string CurrencyString = "$";
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM dd, yyyy";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    // Sunday first, as DayOfWeek counts.
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    // Two-digit years: 0 takes the current century; N > 0 takes the century that puts the
    // year within N years before now.
    int TwoDigitYearCenturyWindow = 50;

    // English (United States): the settings above.
    static TFormatSettings EnglishUS();
    // The settings of a POSIX locale name ("de_DE.UTF-8"); English (United States) when the
    // name is empty, "C", "POSIX", "C.UTF-8" or a locale this machine has not generated. Names
    // come in UTF-8; separators are single bytes (Unicode spaces become a blank).
    static TFormatSettings FromLocale(const std::string& LocaleName);
    // The settings of the process's environment: the date and time fields from LC_ALL, else
    // LC_TIME, else LANG; the number fields likewise through LC_NUMERIC, the currency fields
    // through LC_MONETARY. An empty variable counts as unset.
    static TFormatSettings FromEnvironment();
};

// The global settings every unit reads.
extern TFormatSettings FormatSettings;
