// The international settings of the entry fields and the date and time texts of their pictures.
#include "controls/entry/ovcintl.h"

#include "controls/entry/ovcdate.h"
#include "controls/entry/ovcexcpt.h"
#include "platform/rtl/registry.h"
#include "tests/controls/entry/intlfixture.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// The defaults of the settings object: English (US) with a "MM/dd/yy" short date.
TFormatSettings DefaultSettings()
{
    TFormatSettings S = TFormatSettings::EnglishUS();
    S.ShortDateFormat = "MM/dd/yy";
    return S;
}

using OvcIntlTest = IntlSettingsTest;

const int ChristmasEve2026 = DMYToDayNumber(24, 12, 2026, 1900);

} // namespace

TEST_F(OvcIntlTest, DefaultsGiveTheClassicPictures)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    EXPECT_EQ(Intl.DatePicture(false), "mm/dd/yy");
    EXPECT_EQ(Intl.DatePicture(true), "mm/dd/yyyy");
    EXPECT_EQ(Intl.TimePicture(true), "Hh:mm:ss tt");
    EXPECT_EQ(Intl.TimePicture(false), "Hh:mm tt");
    EXPECT_EQ(Intl.CurrencyLeft(), "$");
    EXPECT_EQ(Intl.CurrencyRight(), "");
    EXPECT_EQ(Intl.DecimalChar(), '.');
    EXPECT_EQ(Intl.CommaChar(), ',');
    EXPECT_EQ(Intl.LongDate(), "wwww, nnnn dd, yyyy");
    EXPECT_EQ(Intl.YesChar(), 'Y');
    EXPECT_EQ(Intl.NoChar(), 'N');
    EXPECT_EQ(Intl.TrueChar(), 'T');
    EXPECT_EQ(Intl.FalseChar(), 'F');
    EXPECT_TRUE(Intl.TwelveHour());
    EXPECT_FALSE(Intl.TLZero());
}

TEST_F(OvcIntlTest, GermanSettingsGiveDayMonthYearAndTheEuroAfter)
{
    const TOvcIntlSup Intl = Read(TestSupport::German());
    EXPECT_EQ(Intl.DatePicture(true), "dd/mm/yyyy");
    EXPECT_EQ(Intl.DatePicture(false), "dd/mm/yyyy");
    EXPECT_EQ(Intl.DecimalChar(), ',');
    EXPECT_EQ(Intl.CommaChar(), '.');
    EXPECT_EQ(Intl.SlashChar(), '.');
    EXPECT_EQ(Intl.CurrencyLeft(), "");
    EXPECT_EQ(Intl.CurrencyRight(), " \xE2\x82\xAC");
    const TOvcIntlSup Dotted = Read(TestSupport::DottedSettings());
    EXPECT_EQ(Dotted.TimePicture(true), "hh:mm:ss");
    EXPECT_EQ(Dotted.LongDate(), "wwww, d. nnnn yyyy");
}

TEST_F(OvcIntlTest, DatesRoundTripThroughTheirTexts)
{
    struct TCase {
        TFormatSettings Settings;
        std::string Picture;
        int Epoch;
        std::string Text;
        std::string Packed;
    };
    const std::vector<TCase> Cases = {
        {DefaultSettings(), "mm/dd/yyyy", 1900, "12/24/2026", "12/24/2026"},
        {DefaultSettings(), "mm/dd/yy", 2000, "12/24/26", "12/24/26"},
        {DefaultSettings(), "MM/DD/yyyy", 1900, "12/24/2026", "12/24/2026"},
        {DefaultSettings(), "DD nnnnnnnnn yyyy", 1900, "24 December  2026", "24 December 2026"},
        {DefaultSettings(), "wwwwwwwww, NNN DD yyyy", 1900, "Thursday , DEC 24 2026",
         "Thursday, DEC 24 2026"},
        {TestSupport::German(), "dd/mm/yyyy", 1900, "24.12.2026", "24.12.2026"},
        {TestSupport::DottedSettings(), "dd. nnnnnnnn yyyy", 1900, "24. Dezember 2026",
         "24. Dezember 2026"},
    };
    for (const TCase& C : Cases) {
        const TOvcIntlSup Intl = Read(C.Settings);
        EXPECT_EQ(Intl.DayNumberToDateText(C.Picture, ChristmasEve2026, false, C.Epoch), C.Text)
            << C.Picture;
        EXPECT_EQ(Intl.DayNumberToDateText(C.Picture, ChristmasEve2026, true, C.Epoch), C.Packed)
            << C.Picture;
        EXPECT_EQ(Intl.DateTextToDayNumber(C.Picture, C.Text, C.Epoch), ChristmasEve2026)
            << C.Picture;
    }
}

TEST_F(OvcIntlTest, SingleDigitDaysPadByTheirLetter)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    const int Day = DMYToDayNumber(5, 3, 2026, 1900);
    EXPECT_EQ(Intl.DayNumberToDateText("mm/dd/yy", Day, false, 1900), "03/05/26");
    EXPECT_EQ(Intl.DayNumberToDateText("MM/DD/yy", Day, false, 1900), " 3/ 5/26");
    EXPECT_EQ(Intl.DayNumberToDateText("MM/DD/yy", Day, true, 1900), "3/5/26");
    EXPECT_EQ(Intl.DateTextToDayNumber("MM/DD/yy", " 3/ 5/26", 2000), Day);
}

TEST_F(OvcIntlTest, DayNumbersOutsideTheCalendarShowAsNoDate)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    for (int N : {-1, -2, 876582, 2147483647}) {
        EXPECT_EQ(Intl.DayNumberToDateText("mm/dd/yyyy", N, false, 1900), "  /  /    ") << N;
        EXPECT_EQ(Intl.DayNumberToDateText("dd nnn www yyyy", N, false, 1900), "               ")
            << N;
    }
}

TEST_F(OvcIntlTest, DateTextsThatAreNotDates)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    struct TCase {
        std::string Picture, Text;
    };
    const std::vector<TCase> Cases = {
        {"mm/dd/yyyy", "02/30/2026"}, {"mm/dd/yyyy", "  /24/2026"},   {"mm/dd/yyyy", "12/24/202"},
        {"mm/dd/yyyy", "1x/24/2026"}, {"dd nnn yyyy", "24 Foo 2026"}, {"mm/dd/yyyy", "12/24/4000"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(Intl.DateTextToDayNumber(C.Picture, C.Text, 1900), -1) << C.Text;
    // Missing runs take their defaults: the first day, the current month and year.
    int D = 0, M = 0, Y = 0;
    EXPECT_TRUE(Intl.DateTextToParts("mm/yyyy", "07/2030", 1900, D, M, Y));
    EXPECT_EQ(D, 1);
    EXPECT_TRUE(Intl.DateTextToParts("dd", "15", 1900, D, M, Y));
    EXPECT_EQ(M, CurrentMonth());
    EXPECT_EQ(Y, CurrentYear());
}

TEST_F(OvcIntlTest, MonthNamesMatchByTheirRun)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    EXPECT_EQ(Intl.MonthFromName("mar", 3), 3);
    EXPECT_EQ(Intl.MonthFromName("May", 9), 5);
    EXPECT_EQ(Intl.MonthFromName("SEPTEMBER", 9), 9);
    EXPECT_EQ(Intl.MonthFromName("Ju", 2), 6); // June comes before July
    EXPECT_EQ(Intl.MonthFromName("Foo", 3), 0);
}

TEST_F(OvcIntlTest, TimesRoundTripThroughTheirTexts)
{
    struct TCase {
        TFormatSettings Settings;
        std::string Picture;
        int Seconds;
        std::string Text, Packed;
    };
    const std::vector<TCase> Cases = {
        {DefaultSettings(), "Hh:mm:ss tt", 47109, " 1:05:09 PM", "1:05:09 PM"},
        {DefaultSettings(), "hh:mm tt", 1800, "12:30 AM", "12:30 AM"},
        {DefaultSettings(), "hh:mm tt", 43200, "12:00 PM", "12:00 PM"},
        {DefaultSettings(), "hh:mm:ss", 47109, "13:05:09", "13:05:09"},
        {TestSupport::German(), "hh:mm", 47100, "13:05", "13:05"},
        {TestSupport::DottedSettings(), "hh:mm:ss", 47109, "13.05.09", "13.05.09"},
        {TestSupport::DottedSettings(), "HH:mm tt", 47100, "13.05   ", "13.05"},
    };
    for (const TCase& C : Cases) {
        const TOvcIntlSup Intl = Read(C.Settings);
        EXPECT_EQ(Intl.SecondsToTimeText(C.Picture, C.Seconds, false), C.Text) << C.Picture;
        EXPECT_EQ(Intl.SecondsToTimeText(C.Picture, C.Seconds, true), C.Packed) << C.Picture;
        std::string Typed = C.Text;
        for (char& Ch : Typed)
            if (Ch == Intl.ColonChar())
                Ch = ':';
        EXPECT_EQ(Intl.TimeTextToSeconds(C.Picture, Typed), C.Seconds) << C.Picture;
    }
}

TEST_F(OvcIntlTest, TimeTextsThatAreNotTimes)
{
    const TOvcIntlSup Intl = Read(DefaultSettings());
    for (const char* Text :
         {"13:05 PM", "00:05 AM", "10:05   ", "10:05 XM", "  :05 AM", "10:65 AM", "1:05 AM"})
        EXPECT_EQ(Intl.TimeTextToSeconds("hh:mm tt", Text), -1) << Text;
    EXPECT_EQ(Intl.TimeTextToSeconds("hh:mm tt", "10:05 pm"), 22 * 3600 + 300);
    EXPECT_EQ(Intl.SecondsToTimeText("hh:mm tt", -1, false), "  :   AM");
    EXPECT_EQ(Intl.SecondsToTimeText("hh:mm tt", 86400, true), "  :   AM");
}

TEST_F(OvcIntlTest, LongLocaleTextsAreCutToTheirSizes)
{
    TFormatSettings S = DefaultSettings();
    S.CurrencyString = "ABCDEFGH";
    S.CurrencyFormat = 2;
    S.TimeAMString = "morning";
    S.TimePMString = "\xC3\xA4\xC3\xA4\xC3\xA4"; // three two-byte letters: cut at a whole one
    S.ShortDateFormat = std::string(20, 'd') + "/" + std::string(20, 'M');
    S.LongDateFormat = "'abcdefgh' 'x' 'y' 'z' " + std::string(60, 'y');
    const TOvcIntlSup Intl = Read(S);
    EXPECT_EQ(Intl.CurrencyLeft(), "ABCDE");
    EXPECT_EQ(Intl.AMString(), "morni");
    EXPECT_EQ(Intl.PMString(), "\xC3\xA4\xC3\xA4");
    EXPECT_EQ(Intl.ShortDate(), std::string(20, 'd') + "/" + std::string(8, 'n'));
    EXPECT_EQ(Intl.LongDate().size(), 39u);
    EXPECT_EQ(Intl.LongDate().substr(0, 12), "fffff g h z ");
    EXPECT_EQ(Intl.LiteralSlot(0), "abcde");
    EXPECT_EQ(Intl.LiteralSlot(1), "x");
    EXPECT_EQ(Intl.LiteralSlot(2), "y");
    EXPECT_EQ(Intl.TimePicture(false), "Hh:mm ttttt");
}

TEST_F(OvcIntlTest, QuotedLiteralsFillTheirSlotsInDateTexts)
{
    TFormatSettings S = DefaultSettings();
    S.LongDateFormat = "d 'de' MMMM 'de' yyyy";
    const TOvcIntlSup Intl = Read(S);
    EXPECT_EQ(Intl.LongDate(), "d ff nnnn gg yyyy");
    EXPECT_EQ(Intl.DayNumberToDateText("dd ff nnnnnnnn gg yyyy", ChristmasEve2026, true, 1900),
              "24 de December de 2026");
}

TEST_F(OvcIntlTest, EqualDecimalAndThousandsCharactersFallBack)
{
    TFormatSettings S = DefaultSettings();
    S.DecimalSeparator = ';';
    S.ThousandSeparator = ';';
    const TOvcIntlSup Intl = Read(S);
    EXPECT_EQ(Intl.DecimalChar(), '.');
    EXPECT_EQ(Intl.CommaChar(), ',');
}

TEST_F(OvcIntlTest, TheUsersShortDateComesFromTheRegistry)
{
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("Control Panel\\International", true));
        Reg.WriteString("sShortDate", "dd-MMM-yyyy");
    }
    TFormatSettings S = DefaultSettings();
    S.DateSeparator = '-';
    const TOvcIntlSup Intl = Read(S);
    EXPECT_EQ(Intl.ShortDate(), "dd/nnn/yyyy");
    EXPECT_EQ(Intl.DatePicture(true), "dd/nnn/yyyy");
    EXPECT_EQ(Intl.DayNumberToDateText(Intl.DatePicture(true), ChristmasEve2026, false, 1900),
              "24-Dec-2026");
}

TEST_F(OvcIntlTest, RangeErrorsOfDatesAndTimesShowTheGlobalPictures)
{
    const std::string Date = OvcIntlSup().DatePicture(true);
    const std::string Time = OvcIntlSup().TimePicture(false);
    EXPECT_EQ(EInvalidRangeValue(14).Message(),
              "Invalid date range. Enter a value using '" + Date + "' as the format");
    EXPECT_EQ(EInvalidRangeValue(15).Message(),
              "Invalid time range. Enter a value using '" + Time + "' as the format");
    EXPECT_NE(Date.find("yyyy"), std::string::npos);
    EXPECT_EQ(Time.find('s'), std::string::npos);
}
