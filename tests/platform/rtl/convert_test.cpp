#include "platform/rtl/convert.h"

#include "platform/rtl/exceptions.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

const TFormatSettings US = TFormatSettings::EnglishUS();
const TFormatSettings DE = TestSupport::German();

} // namespace

TEST(Convert, IntegersToDecimalAndHexText)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(INT_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToStr(Int64(1) << 40), "1099511627776");
    EXPECT_EQ(IntToStr(4000000000u), "4000000000");

    struct Case {
        std::string Actual, Expected;
    };
    const std::vector<Case> Cases = {
        {IntToHex(255, 2), "FF"},
        {IntToHex(255, 4), "00FF"},
        {IntToHex(255, 0), "FF"},
        {IntToHex(0, 0), "0"},
        {IntToHex(0x1234, 2), "1234"}, // Digits is a minimum
        {IntToHex(-1, 2), "FFFFFFFF"},
        {IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF"},
        {IntToHex(Int64(0xABCDEF012), 12), "000ABCDEF012"},
        {IntToHex(0xDEADBEEFu, 1), "DEADBEEF"},
        {IntToHex(7, -3), "7"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(C.Actual, C.Expected);
}

TEST(Convert, StrictIntegerParsingAcceptsOnlyTheClassicForms)
{
    struct Case {
        std::string S;
        bool Ok;
        int Value;
    };
    const std::vector<Case> Cases = {
        {"0", true, 0},
        {"123", true, 123},
        {"  42", true, 42}, // leading spaces
        {"+7", true, 7},
        {"-0", true, 0},
        {"00012", true, 12},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"$ff", true, 255},
        {"$FF", true, 255},
        {"x1A", true, 26},
        {"0x7fffffff", true, INT_MAX},
        {"0X10", true, 16},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1}, // hexadecimal uses the full 32 bits
        {"$80000000", true, INT_MIN},
        {"", false, 0},
        {" ", false, 0},
        {"12 ", false, 0}, // no trailing blanks
        {"\t12", false, 0},
        {"1 2", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999", false, 0},
        {"$100000000", false, 0},
        {"-", false, 0},
        {"+-1", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"$-1", false, 0},
        {"1.0", false, 0},
        {"1e3", false, 0},
        {"12a", false, 0},
        {"1,000", false, 0},
    };
    for (const auto& C : Cases) {
        int Value = -999;
        EXPECT_EQ(TryStrToInt(C.S, Value), C.Ok) << "'" << C.S << "'";
        EXPECT_EQ(Value, C.Ok ? C.Value : -999) << "'" << C.S << "'"; // untouched on failure
        EXPECT_EQ(StrToIntDef(C.S, -7), C.Ok ? C.Value : -7) << "'" << C.S << "'";
        if (C.Ok) {
            EXPECT_EQ(StrToInt(C.S), C.Value);
            if (C.S.find_first_of("$xX") == std::string::npos) { // hex widens differently
                EXPECT_EQ(StrToInt64(C.S), C.Value);
            }
        } else {
            try {
                StrToInt(C.S);
                ADD_FAILURE() << "'" << C.S << "' was accepted";
            } catch (const EConvertError& E) {
                EXPECT_EQ(E.Message(), "'" + C.S + "' is not a valid integer value");
            }
        }
    }
}

TEST(Convert, StrictInt64ParsingUsesTheWholeRange)
{
    struct Case {
        std::string S;
        bool Ok;
        Int64 Value;
    };
    const std::vector<Case> Cases = {
        {"9223372036854775807", true, std::numeric_limits<Int64>::max()},
        {"-9223372036854775808", true, std::numeric_limits<Int64>::min()},
        {"2147483648", true, 2147483648LL},
        {"$FFFFFFFF", true, 4294967295LL},
        {"$FFFFFFFFFFFFFFFF", true, -1},
        {"9223372036854775808", false, 0},
        {"$10000000000000000", false, 0},
        {"12 ", false, 0},
    };
    for (const auto& C : Cases) {
        Int64 Value = 0;
        EXPECT_EQ(TryStrToInt64(C.S, Value), C.Ok) << C.S;
        EXPECT_EQ(StrToInt64Def(C.S, 5), C.Ok ? C.Value : 5) << C.S;
        if (C.Ok) {
            EXPECT_EQ(StrToInt64(C.S), C.Value);
        } else {
            EXPECT_THROW(StrToInt64(C.S), EConvertError);
        }
    }
}

TEST(Convert, ValReportsThePositionOfTheFirstBadCharacter)
{
    struct Case {
        std::string S;
        int Value, Code;
    };
    const std::vector<Case> Cases = {
        {"123", 123, 0},
        {"  -$1f", -31, 0},
        {"12ab", 12, 3},
        {"-12ab", -12, 4},
        {"12 ", 12, 3},
        {"", 0, 1},
        {"   ", 0, 4}, // ends before any digit
        {"-", 0, 2},
        {"$1G", 1, 3},
        {"99999999999", 999999999, 10}, // the digit that overflows
        {"x", 0, 2},
    };
    for (const auto& C : Cases) {
        int Value = -1, Code = -1;
        Val(C.S, Value, Code);
        EXPECT_EQ(Value, C.Value) << "'" << C.S << "'";
        EXPECT_EQ(Code, C.Code) << "'" << C.S << "'";
    }

    struct FloatCase {
        std::string S;
        double Value;
        int Code;
    };
    const std::vector<FloatCase> FloatCases = {
        {"1.5", 1.5, 0},  {" -2.5e3", -2500, 0}, {".5", 0.5, 0},
        {"5.", 5, 0},     {"1,5", 1, 2},                          // the decimal point is always "."
        {"1.5x", 1.5, 4}, {"1e", 1, 3},                           // exponent without digits
        {"1.5 ", 1.5, 4},                                         // no trailing blanks
        {"", 0, 1},       {".", 0, 2},           {"1e400", 0, 6}, // too large: Length + 1
        {"1e-400", 0, 0},                                         // too small: zero
    };
    for (const auto& C : FloatCases) {
        double Value = -1;
        int Code = -1;
        Val(C.S, Value, Code);
        EXPECT_DOUBLE_EQ(Value, C.Value) << "'" << C.S << "'";
        EXPECT_EQ(Code, C.Code) << "'" << C.S << "'";
    }
}

TEST(Convert, FloatToStrUsesFifteenDigitsAndTheLocaleSeparator)
{
    struct Case {
        double Value;
        std::string Us, De;
    };
    const std::vector<Case> Cases = {
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {1.5, "1.5", "1,5"},
        {-1.5, "-1.5", "-1,5"},
        {100, "100", "100"},
        {1234567.25, "1234567.25", "1234567,25"}, // never thousand separators
        {1.0 / 3, "0.333333333333333", "0,333333333333333"},
        {2.0 / 3, "0.666666666666667", "0,666666666666667"},
        {0.1 + 0.2, "0.3", "0,3"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1e15, "1E15", "1E15"},
        {1.5e20, "1.5E20", "1,5E20"},
        {-2.5e-7, "-2.5E-7", "-2,5E-7"},
        {0.0001, "0.0001", "0,0001"},
        {0.00001, "1E-5", "1E-5"},
        {1.7976931348623157e308, "1.79769313486232E308", "1,79769313486232E308"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN", "NAN"},
        {std::numeric_limits<double>::infinity(), "INF", "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF", "-INF"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(FloatToStr(C.Value, US), C.Us);
        EXPECT_EQ(FloatToStr(C.Value, DE), C.De);
    }
}

TEST(Convert, FloatToStrFFormatsEachStyle)
{
    struct Case {
        double Value;
        TFloatFormat Format;
        int Precision, Digits;
        std::string Us, De;
    };
    const std::vector<Case> Cases = {
        {1234.5678, ffGeneral, 6, 0, "1234.57", "1234,57"},
        {1234.5678, ffGeneral, 3, 0, "1.23E3", "1,23E3"},
        {1234.5678, ffGeneral, 3, 2, "1.23E03", "1,23E03"}, // Digits: exponent digits
        {1234.5678, ffExponent, 4, 2, "1.235E+03", "1,235E+03"},
        {-0.00012, ffExponent, 3, 0, "-1.20E-4", "-1,20E-4"},
        {0, ffExponent, 3, 3, "0.00E+000", "0,00E+000"},
        {1234.5678, ffFixed, 15, 2, "1234.57", "1234,57"},
        {-1234.5678, ffFixed, 15, 0, "-1235", "-1235"},
        {0.5, ffFixed, 15, 0, "1", "1"}, // halves away from zero
        {-0.5, ffFixed, 15, 0, "-1", "-1"},
        {0.125, ffFixed, 15, 2, "0.13", "0,13"},
        {1.005, ffFixed, 15, 2, "1.00", "1,00"},  // stored just below 1.005
        {-0.001, ffFixed, 15, 2, "0.00", "0,00"}, // no "-0.00"
        {9.995, ffFixed, 15, 1, "10.0", "10,0"},
        {1e20, ffFixed, 15, 2, "1E20", "1E20"}, // too many digits: general format
        {1234567.891, ffNumber, 15, 2, "1,234,567.89", "1.234.567,89"},
        {-999.5, ffNumber, 15, 0, "-1,000", "-1.000"},
        {123.0, ffNumber, 15, 1, "123.0", "123,0"},
        {1234.5, ffCurrency, 15, 2, "$1,234.50", "1.234,50 \xE2\x82\xAC"},
        {-1234.5, ffCurrency, 15, 2, "($1,234.50)", "-1.234,50 \xE2\x82\xAC"},
        {0.004, ffCurrency, 15, 2, "$0.00", "0,00 \xE2\x82\xAC"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits, US), C.Us)
            << C.Value << " format " << C.Format;
        EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits, DE), C.De)
            << C.Value << " format " << C.Format;
    }
}

TEST(Convert, CurrencyFollowsEveryPositiveAndNegativeLayout)
{
    TFormatSettings S = US;
    S.CurrencyString = "EUR";
    const std::vector<std::string> Positive = {"EUR1.50", "1.50EUR", "EUR 1.50", "1.50 EUR"};
    for (unsigned char F = 0; F < Positive.size(); ++F) {
        S.CurrencyFormat = F;
        EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, S), Positive[F]);
    }
    const std::vector<std::string> Negative = {
        "(EUR1.50)", "-EUR1.50",  "EUR-1.50",   "EUR1.50-",   "(1.50EUR)", "-1.50EUR",
        "1.50-EUR",  "1.50EUR-",  "-1.50 EUR",  "-EUR 1.50",  "1.50 EUR-", "EUR 1.50-",
        "EUR -1.50", "1.50- EUR", "(EUR 1.50)", "(1.50 EUR)",
    };
    for (unsigned char F = 0; F < Negative.size(); ++F) {
        S.NegCurrFormat = F;
        EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, S), Negative[F]) << int(F);
    }
}

TEST(Convert, FormatFloatFollowsThePictureString)
{
    struct Case {
        std::string Format;
        double Value;
        std::string Us, De;
    };
    const std::vector<Case> Cases = {
        {"", 1234.5, "1234.5", "1234,5"},
        {"0", 1234, "1234", "1234"},
        {"0", -1234, "-1234", "-1234"},
        {"0", 0.5, "1", "1"},
        {"0", 2.5, "3", "3"}, // halves away from zero, unlike Round
        {"0", -2.5, "-3", "-3"},
        {"0.00", 1234, "1234.00", "1234,00"},
        {"0.00", 0.5, "0.50", "0,50"},
        {"0.00", 0.125, "0.13", "0,13"},
        {"#.##", 1234, "1234", "1234"},
        {"#.##", 0.5, ".5", ",5"},
        {"#.##", 0, "", ""},
        {"0.##", 5, "5", "5"}, // no separator without decimals
        {"0.0#", 1.25, "1.25", "1,25"},
        {"000", 7, "007", "007"},
        {"#,##0.00", 1234, "1,234.00", "1.234,00"},
        {"#,##0.00", -1234567.891, "-1,234,567.89", "-1.234.567,89"},
        {"#,##0", 999, "999", "999"},
        {"#,##0.00;(#,##0.00)", 1234, "1,234.00", "1.234,00"},
        {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)", "(1.234,00)"},
        {"#,##0.00;(#,##0.00)", 0.5, "0.50", "0,50"},
        {"#,##0.00;;Zero", 1234, "1,234.00", "1.234,00"},
        {"#,##0.00;;Zero", -1234, "-1,234.00", "-1.234,00"}, // empty section: the first
        {"#,##0.00;;Zero", 0, "Zero", "Zero"},
        {"0.0;-0.0;\"nil\"", 0.01, "nil", "nil"}, // rounds to zero: the zero section
        {"0.00;(0.00)", -0.001, "0.00", "0,00"},  // rounds to zero, no zero section
        {"0.000E+00", 1234, "1.234E+03", "1,234E+03"},
        {"0.000E+00", -1234, "-1.234E+03", "-1,234E+03"},
        {"0.000E+00", 0.5, "5.000E-01", "5,000E-01"},
        {"0.000E+00", 0, "0.000E+00", "0,000E+00"},
        {"#.###E-0", 1234, "1.234E3", "1,234E3"},
        {"#.###E-0", 0.5, "5E-1", "5E-1"},
        {"#.###E-0", 0, "0E0", "0E0"},
        {"00.0e+0", 5, "50.0e-1", "50,0e-1"},
        {"0.0E+0000", 1e-123, "1.0E-0123", "1,0E-0123"},
        {"000-0000", 5551234, "555-1234", "555-1234"},
        {"$#,##0.00", 1234.5, "$1,234.50", "$1.234,50"},
        {"'Total: '0 \"units\"", 12, "Total: 12 units", "Total: 12 units"},
        {"'a;0'0", 5, "a;05", "a;05"}, // quotes hide ";" and "0"
        {"0 E", 5, "5 E", "5 E"},      // E without a sign is text
        {"0%", 45, "45%", "45%"},
        {"0.00", 1e25, "1E25", "1E25"}, // too large for a picture: general format
        {"0", std::numeric_limits<double>::quiet_NaN(), "NAN", "NAN"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(FormatFloat(C.Format, C.Value, US), C.Us) << C.Format << " " << C.Value;
        EXPECT_EQ(FormatFloat(C.Format, C.Value, DE), C.De) << C.Format << " " << C.Value;
    }
}

TEST(Convert, TextToFloatReadsTheLocaleDecimalSeparator)
{
    struct Case {
        std::string S;
        bool UsOk;
        double UsValue;
        bool DeOk;
        double DeValue;
    };
    const std::vector<Case> Cases = {
        {"1.5", true, 1.5, false, 0},
        {"1,5", false, 0, true, 1.5},
        {"  -2.25  ", true, -2.25, false, 0}, // blanks on both sides
        {"1e3", true, 1000, true, 1000},
        {"-1.5E-2", true, -0.015, false, 0},
        {"+4", true, 4, true, 4},
        {".5", true, 0.5, false, 0},
        {"5.", true, 5, false, 0},
        {"1,000.5", false, 0, false, 0}, // no thousand separators
        {"1.000,5", false, 0, false, 0},
        {"0.1", true, 0.1, false, 0},
        {"1e-400", true, 0, true, 0},
        {"1e400", false, 0, false, 0},
        {"", false, 0, false, 0},
        {" ", false, 0, false, 0},
        {"abc", false, 0, false, 0},
        {"1e", false, 0, false, 0},
        {"e5", false, 0, false, 0},
        {"1 5", false, 0, false, 0},
        {"INF", false, 0, false, 0},
        {"nan", false, 0, false, 0},
        {"0x10", false, 0, false, 0},
    };
    for (const auto& C : Cases) {
        double Value = -99;
        EXPECT_EQ(TextToFloat(C.S, Value, US), C.UsOk) << "'" << C.S << "'";
        EXPECT_EQ(Value, C.UsOk ? C.UsValue : -99) << "'" << C.S << "'";
        Value = -99;
        EXPECT_EQ(TryStrToFloat(C.S, Value, DE), C.DeOk) << "'" << C.S << "'";
        EXPECT_EQ(Value, C.DeOk ? C.DeValue : -99) << "'" << C.S << "'";
        EXPECT_EQ(StrToFloatDef(C.S, 7, US), C.UsOk ? C.UsValue : 7);
    }
    EXPECT_EQ(StrToFloat("3.25", US), 3.25);
    try {
        StrToFloat("3,25", US);
        ADD_FAILURE();
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "'3,25' is not a valid floating point value");
    }
    // Every double survives FloatToStrF with 17 digits and StrToFloat.
    for (double V : {0.1, 1.0 / 3, 6.02214076e23, 4.9406564584124654e-324, 1.7976931348623157e308})
        EXPECT_EQ(StrToFloat(FloatToStrF(V, ffGeneral, 17, 0, DE), DE), V);
}

TEST(Convert, PlainFormsReadTheGlobalSettings)
{
    const TFormatSettings Saved = FormatSettings;
    FormatSettings = DE;
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1), "1.234,5");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(StrToFloatDef("1.5", 0), 0);
    double Value = 0;
    EXPECT_TRUE(TextToFloat("2,5", Value));
    EXPECT_TRUE(TryStrToFloat("3,5", Value));
    EXPECT_EQ(Value, 3.5);
    FormatSettings = Saved;
}

TEST(Convert, RoundTakesHalvesToEven)
{
    struct Case {
        double Value;
        Int64 Expected;
    };
    const std::vector<Case> Cases = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999999999999996, 2},
        {2.5000000000000004, 3},
        {-2.7, -3},
        {1e15 + 0.5, 1000000000000000LL},
        {4503599627370497.0, 4503599627370497LL}, // 2^52 + 1: already whole
        {-9223372036854775808.0, std::numeric_limits<Int64>::min()},
        {9.2233720368547748e18, 9223372036854774784LL},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Round(C.Value), C.Expected) << C.Value;
    for (double Bad : {9223372036854775808.0, -1e19, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()})
        EXPECT_THROW(Round(Bad), EInvalidOp) << Bad;
}

TEST(Convert, MulDivRoundsHalvesAwayFromZeroAndFlagsFailure)
{
    struct Case {
        int A, B, C, Expected;
    };
    const std::vector<Case> Cases = {
        {10, 3, 4, 8},   // 7.5
        {-10, 3, 4, -8}, // -7.5
        {10, -3, 4, -8},
        {10, 3, -4, -8},
        {-10, -3, -4, -8},
        {-10, -3, 4, 8},
        {5, 1, 3, 2}, // 1.67
        {1, 1, 3, 0},
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {0, 5, -3, 0},
        {100, 50, 100, 50},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, // the product needs 64 bits
        {INT_MIN, 1, 1, INT_MIN},
        {INT_MIN, -1, 1, -1}, // 2^31 does not fit
        {1 << 30, 4, 1, -1},
        {7, 9, 0, -1}, // division by zero
    };
    for (const auto& C : Cases)
        EXPECT_EQ(MulDiv(C.A, C.B, C.C), C.Expected) << C.A << "*" << C.B << "/" << C.C;
}

TEST(Convert, PercentOfRoundsHalvesUpAndCountsNothingToDoAsDone)
{
    struct TCase {
        Int64 Part, Whole;
        int Expected;
    };
    const TCase Cases[] = {
        {0, 10, 0},
        {1, 3, 33},
        {2, 3, 67},
        {1, 200, 1},
        {1, 201, 0},
        {10, 10, 100},
        {0, 0, 100},
        {5, -1, 100},
        {Int64(1) << 62, Int64(1) << 62, 100},
        {(Int64(1) << 62) / 2, Int64(1) << 62, 50},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(PercentOf(C.Part, C.Whole), C.Expected) << C.Part << "/" << C.Whole;
}
