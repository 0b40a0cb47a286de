#include "platform/rtl/format.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/types.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

const TFormatSettings US = TFormatSettings::EnglishUS();
const TFormatSettings DE = TestSupport::German();

struct Case {
    std::string Actual, Expected;
};

void Check(const std::vector<Case>& Cases)
{
    for (std::size_t I = 0; I < Cases.size(); ++I)
        EXPECT_EQ(Cases[I].Actual, Cases[I].Expected) << "case " << I;
}

} // namespace

TEST(Format, IntegerSpecifiers)
{
    const Int64 Big = std::numeric_limits<Int64>::min();
    Check({
        {Format(US, "%d", 42), "42"},
        {Format(US, "%d", -42), "-42"},
        {Format(US, "[%5d]", 42), "[   42]"},
        {Format(US, "[%-5d]", 42), "[42   ]"},
        {Format(US, "[%2d]", 12345), "[12345]"}, // width never truncates
        {Format(US, "%.4d", 42), "0042"},        // precision: at least that many digits
        {Format(US, "%.4d", -42), "-0042"},
        {Format(US, "[%6.3d]", -7), "[  -007]"},
        {Format(US, "%.0d", 0), "0"},
        {Format(US, "%d", INT_MIN), "-2147483648"},
        {Format(US, "%d", Big), "-9223372036854775808"},
        {Format(US, "%d", std::uint64_t(18446744073709551615u)), "18446744073709551615"},
        {Format(US, "%D", short(-3)), "-3"},
        {Format(US, "%u", 42u), "42"},
        {Format(US, "%u", -1), "4294967295"},                  // an int wraps at 32 bits
        {Format(US, "%u", Int64(-1)), "18446744073709551615"}, // an Int64 at 64
        {Format(US, "%x", 255), "FF"},
        {Format(US, "%X", 48879), "BEEF"},
        {Format(US, "%.4x", 255), "00FF"},
        {Format(US, "[%-6.4x]", 255), "[00FF  ]"},
        {Format(US, "%x", -1), "FFFFFFFF"},
        {Format(US, "%x", Int64(-2)), "FFFFFFFFFFFFFFFE"},
        {Format(US, "%x", std::uint8_t(200)), "C8"},
    });
}

TEST(Format, StringCharAndPointerSpecifiers)
{
    const std::string Owned = "text";
    const char* Null = nullptr;
    Check({
        {Format(US, "%s", "abc"), "abc"},
        {Format(US, "%s", Owned), "text"},
        {Format(US, "%s", std::string_view("view")), "view"},
        {Format(US, "%s", Null), ""},
        {Format(US, "%s", 'c'), "c"},
        {Format(US, "[%6s]", "abc"), "[   abc]"},
        {Format(US, "[%-6s]", "abc"), "[abc   ]"},
        {Format(US, "[%.2s]", "abcdef"), "[ab]"}, // precision truncates
        {Format(US, "[%5.2s]", "abcdef"), "[   ab]"},
        {Format(US, "[%.9s]", "abc"), "[abc]"},
        {Format(US, "%S", "upper type"), "upper type"},
        {Format(US, "%s", "\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9"},
        {Format(US, "%p", reinterpret_cast<void*>(std::uintptr_t(0xBEEF))), "000000000000BEEF"},
        {Format(US, "%p", nullptr), "0000000000000000"},
        {Format(US, "100%%"), "100%"},
        {Format(US, "%%d"), "%d"},
        {Format(US, "no specifiers"), "no specifiers"},
        {Format(US, ""), ""},
    });
}

TEST(Format, FloatSpecifiersInBothLocales)
{
    struct FloatCase {
        std::string Fmt;
        double Value;
        std::string Us, De;
    };
    const std::vector<FloatCase> Cases = {
        {"%f", 3.14159, "3.14", "3,14"}, // default precision 2
        {"%.0f", 2.5, "3", "3"},         // halves away from zero
        {"%.3f", -1.0005, "-1.000", "-1,000"},
        {"[%8.3f]", 3.14159, "[   3.142]", "[   3,142]"},
        {"[%-8.1f]", 3.14159, "[3.1     ]", "[3,1     ]"},
        {"%.20f", 0.5, "0.500000000000000000", "0,500000000000000000"}, // at most 18 decimals
        {"%f", 1234567.0, "1234567.00", "1234567,00"},
        {"%e", 1000.0, "1.00000000000000E+003", "1,00000000000000E+003"},
        {"%.3e", -1234.5, "-1.23E+003", "-1,23E+003"},
        {"%e", 0.0, "0.00000000000000E+000", "0,00000000000000E+000"},
        {"%.2e", 1.5e-10, "1.5E-010", "1,5E-010"},
        {"%g", 1.0 / 3, "0.333333333333333", "0,333333333333333"},
        {"%g", 100.0, "100", "100"},
        {"%g", 1e20, "1E020", "1E020"},
        {"%.3g", 1234.5, "1.23E003", "1,23E003"},
        {"%n", 1234567.891, "1,234,567.89", "1.234.567,89"},
        {"%.0n", -1234.5, "-1,235", "-1.235"},
        {"%m", 1234.5, "$1,234.50", "1.234,50 \xE2\x82\xAC"},
        {"%m", -1234.5, "($1,234.50)", "-1.234,50 \xE2\x82\xAC"},
        {"%.0m", 99.5, "$100", "100 \xE2\x82\xAC"},
        {"[%12m]", 5.0, "[       $5.00]", "[    5,00 \xE2\x82\xAC]"}, // width counts bytes
        {"%F", 0.125, "0.13", "0,13"},
        {"%f", std::numeric_limits<double>::infinity(), "INF", "INF"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(Format(US, C.Fmt, C.Value), C.Us) << C.Fmt;
        EXPECT_EQ(Format(DE, C.Fmt, C.Value), C.De) << C.Fmt;
    }
    // float and long double arguments are floating point too.
    EXPECT_EQ(Format(US, "%.1f|%.1f", 2.25f, 2.75L), "2.3|2.8");
}

TEST(Format, IndexesAndStarsTakeTheirValuesFromTheArguments)
{
    Check({
        {Format(US, "%1:s %0:s", "world", "hello"), "hello world"},
        {Format(US, "%0:s-%0:s", "x"), "x-x"},
        // An index sets the position for the arguments that follow.
        {Format(US, "%2:s %s %0:s %s", "a", "b", "c", "d"), "c d a b"},
        {Format(US, "[%*d]", 5, 42), "[   42]"},
        {Format(US, "[%-*d]", 5, 42), "[42   ]"},
        {Format(US, "[%.*f]", 3, 1.0), "[1.000]"},
        {Format(US, "[%*.*f]", 8, 1, 2.25), "[     2.3]"},
        {Format(US, "[%*d]", -5, 42), "[42]"}, // a negative width pads nothing
        {Format(US, "%*:s", 1, "b"), "b"},     // the index from an argument too
        {Format(US, "%1:-6s|", "x", "y"), "y     |"},
        {Format(US, "%d%%", 50), "50%"},
    });
}

TEST(Format, MismatchesRaiseConvertError)
{
    struct ErrorCase {
        std::function<std::string()> Call;
        std::string Message;
    };
    const std::string Invalid = " invalid or incompatible with argument";
    const std::vector<ErrorCase> Cases = {
        {[] { return Format(US, "%d", "x"); }, "Format '%d'" + Invalid},
        {[] { return Format(US, "%d", 1.5); }, "Format '%d'" + Invalid},
        {[] { return Format(US, "%x", 1.5); }, "Format '%x'" + Invalid},
        {[] { return Format(US, "%s", 5); }, "Format '%s'" + Invalid},
        {[] { return Format(US, "%f", 5); }, "Format '%f'" + Invalid}, // no silent int to float
        {[] { return Format(US, "%m", "5"); }, "Format '%m'" + Invalid},
        {[] { return Format(US, "%p", 5); }, "Format '%p'" + Invalid},
        {[] { return Format(US, "%k", 5); }, "Format '%k'" + Invalid},
        {[] { return Format(US, "abc %", 5); }, "Format 'abc %'" + Invalid},
        {[] { return Format(US, "%5", 5); }, "Format '%5'" + Invalid},
        {[] { return Format(US, "%-", 5); }, "Format '%-'" + Invalid},
        {[] { return Format(US, "%1:", 5); }, "Format '%1:'" + Invalid},
        {[] { return Format(US, "%*d", "5", 5); }, "Format '%*d'" + Invalid},
        {[] { return Format(US, "%99999999999d", 5); }, "Format '%99999999999d'" + Invalid},
        {[] { return Format(US, "%d %d", 1); }, "No argument for format '%d %d'"},
        {[] { return Format(US, "%d"); }, "No argument for format '%d'"},
        {[] { return Format(US, "%3:d", 1, 2); }, "No argument for format '%3:d'"},
        {[] { return Format(US, "%*d", 5); }, "No argument for format '%*d'"},
    };
    for (const auto& C : Cases) {
        try {
            C.Call();
            ADD_FAILURE() << "no error for: " << C.Message;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
}

TEST(Format, PlainFormReadsTheGlobalSettings)
{
    const TFormatSettings Saved = FormatSettings;
    FormatSettings = DE;
    EXPECT_EQ(Format("%.1f %n %m", 1.25, 1000.0, 2.0), "1,3 1.000,00 2,00 \xE2\x82\xAC");
    FormatSettings = Saved;
    EXPECT_EQ(Format("%.1f", 1.25), "1.3");
}
