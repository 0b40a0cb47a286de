// Range limits of entry fields: range texts to raw limits and back for each data type and mask,
// the default limits and the data sizes.
#include "controls/entry/ovcdate.h"
#include "controls/entry/ovcef.h"
#include "controls/entry/ovcintl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<TRangeType> ToRaw(Byte Type, const std::string& Text, const std::string& Mask = {})
{
    return RangeTextToRaw(Type, Text, Mask, 1900, OvcIntlSup());
}

std::string ToText(Byte Type, const TRangeType& Raw, const std::string& Mask = {}, int Decimals = 0,
                   int MaxLength = 15)
{
    return RawToRangeText(Type, Raw, Mask, Decimals, MaxLength, OvcIntlSup());
}

} // namespace

TEST(EntryRangeText, IntegerTextsConvertWithinWhatTheTypeHolds)
{
    struct TCase {
        Byte Type;
        std::string Mask;
        std::string Text;
        std::optional<std::int32_t> Raw; // nullopt: refused
        std::string Back;                // the raw value as a range text again
    };
    const std::vector<TCase> Cases = {
        {fidLongInt, "", "-2147483648", INT32_MIN, "-2147483648"},
        {fidLongInt, "", " 2147483647 ", INT32_MAX, "2147483647"},
        {fidLongInt, "", "2147483648", std::nullopt, ""},
        {fidLongInt, "", "", 0, "0"},
        {fidLongInt, "", "12a", std::nullopt, ""},
        {fidWord, "", "65535", 65535, "65535"},
        {fidWord, "", "70000", std::nullopt, ""},
        {fidWord, "", "-1", std::nullopt, ""},
        {fidSmallInt, "", "-32768", -32768, "-32768"},
        {fidSmallInt, "", "32768", std::nullopt, ""},
        {fidByte, "", "256", std::nullopt, ""},
        {fidShortInt, "", "-128", -128, "-128"},
        {fidShortInt, "", "128", std::nullopt, ""},
        // Hexadecimal: 8, 4 and 2 digits.
        {fidLongInt, "KKKK", "FFFFFFFF", -1, "FFFFFFFF"},
        {fidLongInt, "KKKK", "$1a", 26, "0000001A"},
        {fidWord, "KKKK", "ff", 255, "00FF"},
        {fidWord, "KKKK", "10000", std::nullopt, ""},
        {fidByte, "KK", "1F", 31, "1F"},
        {fidLongInt, "KKKK", "G", std::nullopt, ""},
        // Octal: 12, 8 and 4 digits; more than 32 bits fail.
        {fidLongInt, "OOO", "777", 511, "000000000777"},
        {fidLongInt, "OOO", "37777777777", -1, "037777777777"},
        {fidLongInt, "OOO", "77777777777", std::nullopt, ""},
        {fidWord, "OOO", "177777", 65535, "00177777"},
        {fidByte, "OOO", "377", 255, "0377"},
        {fidByte, "OOO", "8", std::nullopt, ""},
        // Binary: 32, 16 and 8 digits; a '1' beyond the 32nd digit fails, zeros do not.
        {fidLongInt, "bbb", "101", 5, "00000000000000000000000000000101"},
        {fidLongInt, "bbb", "00" + std::string(32, '1'), -1, std::string(32, '1')},
        {fidLongInt, "bbb", "1" + std::string(32, '0'), std::nullopt, ""},
        {fidWord, "bbb", "1", 1, "0000000000000001"},
        {fidByte, "bbb", "11111111", 255, "11111111"},
        {fidByte, "bbb", "2", std::nullopt, ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Type) + " '" + Case.Mask + "' '" + Case.Text + "'");
        const std::optional<TRangeType> Raw = ToRaw(Case.Type, Case.Text, Case.Mask);
        ASSERT_EQ(Raw.has_value(), Case.Raw.has_value());
        if (!Raw)
            continue;
        EXPECT_EQ(Raw->AsLong(), *Case.Raw);
        EXPECT_EQ(ToText(Case.Type, *Raw, Case.Mask), Case.Back);
    }
}

TEST(EntryRangeText, CharactersTakeCodesAfterAHash)
{
    struct TCase {
        std::string Text;
        char Raw;
        std::string Back;
    };
    const std::vector<TCase> Cases = {
        {"#65", 'A', "A"},  {"#9", '\t', "#9"},   {"Q", 'Q', "Q"},     {"", ' ', "#32"},
        {"#x", ' ', "#32"}, {"#300", ' ', "#32"}, {"#0651", 'A', "A"}, {"#", ' ', "#32"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        const std::optional<TRangeType> Raw = ToRaw(fidChar, Case.Text);
        ASSERT_TRUE(Raw.has_value());
        EXPECT_EQ(Raw->AsChar(), Case.Raw);
        EXPECT_EQ(ToText(fidChar, *Raw), Case.Back);
    }
}

TEST(EntryRangeText, FloatsUseTheMasksDecimalsOrTheExponentForm)
{
    struct TCase {
        Byte Type;
        std::string Mask;
        int Decimals;
        int MaxLength;
        std::string Text;
        bool Converts;
        std::string Back;
    };
    const std::vector<TCase> Cases = {
        {fidDouble, "###.##", 0, 15, "1.5", true, "1.5"},
        {fidDouble, "###.##", 0, 15, "3.14159", true, "3.14"},
        {fidExtended, "##########", 2, 15, "-12.5", true, "-12.5"},
        {fidExtended, "##########", 0, 15, "7", true, "7"},
        {fidDouble, "", 0, 15, "1.7e308", true, "1.7E+308"},
        {fidReal, "", 0, 15, "-1.7E38", true, "-1.7E+38"},
        {fidExtended, "E.EE", 0, 15, "1234.5", true, "1.23E+3"},
        {fidSingle, "", 0, 15, "0.001", true, "0"},
        {fidSingle, "", 3, 15, "0.001", true, "0.001"},
        {fidDouble, "", 0, 15, "", true, "0"},
        {fidDouble, "", 0, 15, "1e309", false, ""},
        {fidSingle, "", 0, 15, "3.5e38", false, ""},
        {fidComp, "", 0, 15, "9.3e18", false, ""},
        {fidDouble, "", 0, 15, "1.2.3", false, ""},
        {fidDouble, "", 0, 15, "e5", false, ""},
        {fidReal, "", 0, 15, "1e400", false, ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Type) + " '" + Case.Mask + "' '" + Case.Text + "'");
        const std::optional<TRangeType> Raw = ToRaw(Case.Type, Case.Text, Case.Mask);
        ASSERT_EQ(Raw.has_value(), Case.Converts);
        if (Raw) {
            EXPECT_EQ(ToText(Case.Type, *Raw, Case.Mask, Case.Decimals, Case.MaxLength), Case.Back);
        }
    }
}

TEST(EntryRangeText, DatesAndTimesNeedTheirPicturesLength)
{
    const TOvcIntlSup& Intl = OvcIntlSup();
    const std::string First = ToText(fidDate, TRangeType::FromLong(0));
    EXPECT_EQ(First.size(), Intl.DatePicture(true).size());
    const std::optional<TRangeType> Day = ToRaw(fidDate, First);
    ASSERT_TRUE(Day.has_value());
    EXPECT_EQ(Day->AsLong(), 0);
    EXPECT_FALSE(ToRaw(fidDate, First + " ").has_value());
    EXPECT_EQ(ToText(fidDate, TRangeType::FromLong(OvcDate::BadDate)), "");

    const std::string Noon = ToText(fidTime, TRangeType::FromLong(12 * 3600 + 30 * 60));
    const std::optional<TRangeType> Seconds = ToRaw(fidTime, Noon);
    ASSERT_TRUE(Seconds.has_value());
    EXPECT_EQ(Seconds->AsLong(), 12 * 3600 + 30 * 60);
    EXPECT_FALSE(ToRaw(fidTime, "1").has_value());
}

TEST(EntryRangeText, DefaultRangesAndDataSizesFollowTheType)
{
    struct TCase {
        Byte Type;
        std::string Lo;
        std::string Hi;
        Word Size;
    };
    const std::vector<TCase> Cases = {
        {fidString, "", "", 16},
        {fidChar, "#32", "#32", 1},
        {fidBoolean, "", "", 1},
        {fidLongInt, "-2147483648", "2147483647", 4},
        {fidWord, "0", "65535", 2},
        {fidSmallInt, "-32768", "32767", 2},
        {fidByte, "0", "255", 1},
        {fidShortInt, "-128", "127", 1},
        {fidReal, "-1.7E+38", "1.7E+38", 8},
        {fidExtended, "-1.1E+4932", "1.1E+4932", 10},
        {fidDouble, "-1.7E+308", "1.7E+308", 8},
        {fidSingle, "-3.4E+38", "3.4E+38", 4},
        {fidComp, "-9.2E+18", "9.2E+18", 8},
        {fidTime, ToText(fidTime, TRangeType::FromLong(0)),
         ToText(fidTime, TRangeType::FromLong(86399)), 4},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(Case.Type));
        TRangeType Lo;
        TRangeType Hi;
        DefaultRange(Case.Type, Lo, Hi);
        EXPECT_EQ(ToText(Case.Type, Lo), Case.Lo);
        EXPECT_EQ(ToText(Case.Type, Hi), Case.Hi);
        EXPECT_EQ(DataSizeOf(Case.Type, 15), Case.Size);
    }
    TRangeType Lo;
    TRangeType Hi;
    DefaultRange(fidDate, Lo, Hi);
    EXPECT_EQ(Lo.AsLong(), 0);
    EXPECT_EQ(Hi.AsLong(), OvcDate::MaxDayNumber);
}
