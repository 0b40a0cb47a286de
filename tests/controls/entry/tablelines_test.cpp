// The build step's reading of "<id>=<text>" tables and the STR0 layout it writes.
#include "cmake/tablelines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tablelines::BuildStr0Table;
using tablelines::TLineError;

namespace {

std::string Le32(std::uint32_t V)
{
    std::string S;
    for (int Shift = 0; Shift < 32; Shift += 8)
        S += static_cast<char>((V >> Shift) & 0xFF);
    return S;
}

} // namespace

TEST(Str0Build, WritesTheIndexSortedByIdAndTheUtf16TextsEndToEndBehindIt)
{
    std::vector<TLineError> Errors;
    const std::string Table =
        BuildStr0Table("\xEF\xBB\xBF# comment\n\n2=b\r\n-1=\n1=a\xC3\xA9\n", Errors);
    ASSERT_TRUE(Errors.empty());
    const std::string Expected = "STR0" + Le32(3) +                      // signature, count
                                 Le32(0xFFFFFFFF) + Le32(44) + Le32(0) + // -1: empty text
                                 Le32(1) + Le32(44) + Le32(2) +          // "a\u00e9"
                                 Le32(2) + Le32(48) + Le32(1) +          // "b"
                                 std::string("a\0\xE9\0b\0", 6);
    EXPECT_EQ(Table, Expected);
}

TEST(Str0Build, ACharacterBeyondSixteenBitsBecomesASurrogatePair)
{
    std::vector<TLineError> Errors;
    const std::string Table = BuildStr0Table("7=\xF0\x9F\x98\x80\n", Errors);
    ASSERT_TRUE(Errors.empty());
    EXPECT_EQ(Table.substr(16, 4), Le32(2));
    EXPECT_EQ(Table.substr(20), std::string("\x3D\xD8\x00\xDE", 4));
}

TEST(Str0Build, RefusesEveryIllFormedLineAndARepeatedId)
{
    struct TCase {
        std::string Line;
        std::string Problem; // part of the message
    };
    const std::vector<TCase> Cases = {
        {"no equals sign", "expected <id>=<text>"},
        {"=no id", "is not a decimal number"},
        {"12a=text", "is not a decimal number"},
        {"2147483648=one too far", "is not a decimal number"},
        {"-2147483649=one too far", "is not a decimal number"},
        {"3=bad \\q escape", "unknown escape"},
        {"3=ends in \\", "backslash ends the line"},
        {"3=\xC3(", "not valid UTF-8"},
        {"1=again", "duplicate string id 1 (first defined at line 1)"},
    };
    for (const TCase& Case : Cases) {
        std::vector<TLineError> Errors;
        BuildStr0Table("1=first\n" + Case.Line + "\n", Errors);
        ASSERT_EQ(Errors.size(), 1u) << Case.Line;
        EXPECT_EQ(Errors[0].Line, 2) << Case.Line;
        EXPECT_NE(Errors[0].What.find(Case.Problem), std::string::npos)
            << Case.Line << ": " << Errors[0].What;
    }
}

TEST(Str0Build, TakesTheWholeSignedRangeAndKeepsBlanksAndEscapesOfTheText)
{
    std::vector<TLineError> Errors;
    const std::string Table = BuildStr0Table("2147483647=x\n-2147483648=\\tA  \\\\n\n", Errors);
    ASSERT_TRUE(Errors.empty());
    EXPECT_EQ(Table.substr(8, 4), Le32(0x80000000));
    EXPECT_EQ(Table.substr(20, 4), Le32(0x7FFFFFFF));
    EXPECT_EQ(Table.substr(16, 4), Le32(6)); // tab, A, two blanks, backslash, n
}
