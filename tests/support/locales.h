// tests/support/locales.h: day-month-year locales built in code, so that tests of formatting and
// parsing do not depend on the locales a machine has installed.
#pragma once

#include "platform/rtl/formatsettings.h"

namespace TestSupport {

// English (US) but for the numbers and short dates: decimal comma, "." between thousands and
// between the parts of a day-month-year date.
inline TFormatSettings DotsAndComma()
{
    TFormatSettings S = TFormatSettings::EnglishUS();
    S.DecimalSeparator = ',';
    S.ThousandSeparator = '.';
    S.DateSeparator = '.';
    S.ShortDateFormat = "dd.MM.yyyy";
    return S;
}

// Day-month-year with "." separators, decimal comma, euro after the amount; times, names and
// the rest as in English (US).
inline TFormatSettings German()
{
    TFormatSettings S = DotsAndComma();
    S.CurrencyString = "\xE2\x82\xAC";
    S.CurrencyFormat = 3;
    S.NegCurrFormat = 8;
    S.CurrencyDecimals = 2;
    return S;
}

// Day-month-year with "." between the date parts and between the time parts, 24-hour times and
// German month and day names; the currency as in English (US).
inline TFormatSettings DottedSettings()
{
    TFormatSettings F = DotsAndComma();
    F.TimeSeparator = '.';
    F.LongDateFormat = "dddd, d. MMMM yyyy";
    F.ShortTimeFormat = "hh:mm";
    F.LongTimeFormat = "hh:mm:ss";
    F.TimeAMString = "";
    F.TimePMString = "";
    F.ShortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                         "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    F.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    F.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    F.LongDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                      "Donnerstag", "Freitag", "Samstag"};
    return F;
}

} // namespace TestSupport
