#include "platform/rtl/formatsettings.h"

#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <map>
#include <optional>
#include <vector>

namespace {

void ExpectEnglishUS(const TFormatSettings& F)
{
    const TFormatSettings US = TFormatSettings::EnglishUS();
    EXPECT_EQ(F.ShortDateFormat, US.ShortDateFormat);
    EXPECT_EQ(F.LongDateFormat, US.LongDateFormat);
    EXPECT_EQ(F.ShortTimeFormat, US.ShortTimeFormat);
    EXPECT_EQ(F.LongTimeFormat, US.LongTimeFormat);
    EXPECT_EQ(F.DateSeparator, US.DateSeparator);
    EXPECT_EQ(F.TimeSeparator, US.TimeSeparator);
    EXPECT_EQ(F.TimeAMString, US.TimeAMString);
    EXPECT_EQ(F.TimePMString, US.TimePMString);
    EXPECT_EQ(F.DecimalSeparator, US.DecimalSeparator);
    EXPECT_EQ(F.ThousandSeparator, US.ThousandSeparator);
    EXPECT_EQ(F.ListSeparator, US.ListSeparator);
    EXPECT_EQ(F.CurrencyString, US.CurrencyString);
    EXPECT_EQ(F.CurrencyFormat, US.CurrencyFormat);
    EXPECT_EQ(F.NegCurrFormat, US.NegCurrFormat);
    EXPECT_EQ(F.CurrencyDecimals, US.CurrencyDecimals);
    EXPECT_EQ(F.LongMonthNames, US.LongMonthNames);
    EXPECT_EQ(F.ShortMonthNames, US.ShortMonthNames);
    EXPECT_EQ(F.LongDayNames, US.LongDayNames);
    EXPECT_EQ(F.ShortDayNames, US.ShortDayNames);
}

// The first of the German locale's spellings this machine has generated.
std::optional<std::string> GermanLocale()
{
    for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8"}) {
        const locale_t Handle = newlocale(LC_ALL_MASK, Name, static_cast<locale_t>(0));
        if (Handle != static_cast<locale_t>(0)) {
            freelocale(Handle);
            return std::string(Name);
        }
    }
    return std::nullopt;
}

// Sets the locale variables for one test and restores them afterwards.
class TLocaleEnvironment {
public:
    explicit TLocaleEnvironment(const std::map<std::string, std::string>& Values)
    {
        for (const char* Name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LANG"}) {
            const char* Old = std::getenv(Name);
            if (Old)
                Saved[Name] = Old;
            const auto Found = Values.find(Name);
            if (Found != Values.end())
                setenv(Name, Found->second.c_str(), 1);
            else
                unsetenv(Name);
        }
    }
    ~TLocaleEnvironment()
    {
        for (const char* Name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LANG"}) {
            const auto Found = Saved.find(Name);
            if (Found != Saved.end())
                setenv(Name, Found->second.c_str(), 1);
            else
                unsetenv(Name);
        }
    }

private:
    std::map<std::string, std::string> Saved;
};

} // namespace

TEST(FormatSettings, EnglishUSIsTheClassicUnitedStatesLocale)
{
    const TFormatSettings US = TFormatSettings::EnglishUS();
    EXPECT_EQ(US.ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(US.LongDateFormat, "dddd, MMMM dd, yyyy");
    EXPECT_EQ(US.LongTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(US.DateSeparator, '/');
    EXPECT_EQ(US.DecimalSeparator, '.');
    EXPECT_EQ(US.ThousandSeparator, ',');
    EXPECT_EQ(US.CurrencyString, "$");
    EXPECT_EQ(US.LongDayNames[0], "Sunday");
    EXPECT_EQ(US.ShortMonthNames[11], "Dec");
}

TEST(FormatSettings, LocalesWithoutConventionsGiveEnglishUS)
{
    for (const char* Name : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8"}) {
        SCOPED_TRACE(Name);
        ExpectEnglishUS(TFormatSettings::FromLocale(Name));
    }
}

TEST(FormatSettings, EnvironmentWithoutALocaleGivesEnglishUS)
{
    const std::vector<std::map<std::string, std::string>> Environments = {
        {},
        {{"LANG", "C.UTF-8"}},
        {{"LC_ALL", "POSIX"}, {"LC_TIME", "xx_NOWHERE.UTF-8"}},
        {{"LC_ALL", ""}, {"LC_TIME", ""}, {"LANG", "xx_NOWHERE"}},
    };
    for (const auto& Variables : Environments) {
        const TLocaleEnvironment Environment(Variables);
        ExpectEnglishUS(TFormatSettings::FromEnvironment());
    }
}

TEST(FormatSettings, GermanLocaleConvertsToClassicFormats)
{
    const std::optional<std::string> Name = GermanLocale();
    if (!Name)
        GTEST_SKIP() << "no German locale generated on this machine";
    const TFormatSettings F = TFormatSettings::FromLocale(*Name);
    EXPECT_EQ(F.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(F.DateSeparator, '.');
    EXPECT_EQ(F.TimeSeparator, ':');
    EXPECT_EQ(F.LongTimeFormat, "hh:mm:ss");
    EXPECT_EQ(F.ShortTimeFormat, "hh:mm");
    EXPECT_EQ(F.TimeAMString, "");
    EXPECT_EQ(F.DecimalSeparator, ',');
    EXPECT_EQ(F.ThousandSeparator, '.');
    EXPECT_EQ(F.ListSeparator, ';');
    EXPECT_EQ(F.CurrencyString, "\xE2\x82\xAC"); // the euro sign
    EXPECT_EQ(F.CurrencyFormat, 3);              // 1 €
    EXPECT_EQ(F.NegCurrFormat, 8);               // -1 €
    EXPECT_EQ(F.CurrencyDecimals, 2);
    EXPECT_EQ(F.LongMonthNames[2], "M\xC3\xA4rz");
    EXPECT_EQ(F.LongDayNames[0], "Sonntag");

    const TDateTime Value = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(DateTimeToStr(Value, F), "05.03.2024 14:07:09");
    EXPECT_EQ(FormatDateTime("dddddd", Value, F), "Dienstag, 5. M\xC3\xA4rz 2024");
    EXPECT_EQ(StrToDateTime("5.3.2024 14:07:09", F), Value);
}

TEST(FormatSettings, EnvironmentTakesEachCategoryFromItsOwnVariable)
{
    const std::optional<std::string> Name = GermanLocale();
    if (!Name)
        GTEST_SKIP() << "no German locale generated on this machine";
    struct Case {
        std::map<std::string, std::string> Variables;
        std::string ShortDateFormat;
        char DecimalSeparator;
    };
    const std::vector<Case> Cases = {
        {{{"LC_TIME", *Name}, {"LANG", "C"}}, "dd.MM.yyyy", '.'},
        {{{"LC_NUMERIC", *Name}, {"LANG", "C"}}, "M/d/yyyy", ','},
        {{{"LANG", *Name}, {"LC_MONETARY", "C"}}, "dd.MM.yyyy", ','},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Variables.begin()->first);
        const TLocaleEnvironment Environment(C.Variables);
        const TFormatSettings F = TFormatSettings::FromEnvironment();
        EXPECT_EQ(F.ShortDateFormat, C.ShortDateFormat);
        EXPECT_EQ(F.DecimalSeparator, C.DecimalSeparator);
        EXPECT_EQ(F.CurrencyString, "$");
    }
    {
        const TLocaleEnvironment Environment(
            {{"LC_ALL", "C"}, {"LANG", *Name}, {"LC_TIME", *Name}});
        ExpectEnglishUS(TFormatSettings::FromEnvironment());
    }
}
