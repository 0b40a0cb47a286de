// Tests of the row filter's condition matcher and of name capitalisation.
#include "controls/grid/advutil.h"

#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const TFormatSettings US = TFormatSettings::EnglishUS();

struct TConditionCase {
    std::string Condition;
    std::string Value;
    bool CaseSensitive;
    bool Match;
};

void ExpectConditions(const std::vector<TConditionCase>& Cases,
                      const TFormatSettings& Settings = US)
{
    for (const TConditionCase& C : Cases)
        EXPECT_EQ(MatchFilterCondition(C.Condition, C.Value, C.CaseSensitive, Settings), C.Match)
            << "'" << C.Condition << "' on '" << C.Value << "'";
}

TEST(AdvUtilFilter, ConditionsOfTheUsualKinds)
{
    ExpectConditions({
        {">10 & <20", "15", false, true},
        {">10 & <20", "25", false, false},
        {"a*", "ABC", false, true},
        {"a*", "ABC", true, false},
        {"!a*", "abc", false, false},
        {"!a*", "xyz", false, true},
        {"x;y", "y", false, true},
        {"x^y", "y", false, true},
        {"x ; y", "z", false, false},
        {"a*a", "a", false, false},
        {"", "", false, true},
        {"", "x", false, false},
        {"a?c", "abc", true, true},
        {"a?c", "ac", true, false},
        {"*b*", "abc", true, true},
        {"  abc  ", "abc", true, true},
        {"a b", "a b", true, true},
    });
}

TEST(AdvUtilFilter, TermsCombineFromLeftToRightWithoutPrecedence)
{
    // (x or y) and z: false for y alone although "x;y&z" reads like x or (y and z) would be.
    ExpectConditions({
        {"x;y&z", "y", true, false},
        {"x;y&y*", "y", true, true},
        {"x&y;y", "y", true, true},
    });
}

TEST(AdvUtilFilter, ComparisonsTryNumbersThenDatesThenTexts)
{
    ExpectConditions({
        {">=10", "10", false, true},
        {">10", "10", false, false},
        {"<=10", "10", false, true},
        {"<9", "10", false, false},
        {">9", "10", false, true},               // numbers, not texts
        {">1/2/2020", "1/10/2020", false, true}, // dates
        {">b", "c", true, true},                 // texts
        {"<b", "c", true, false},
        {"> 5", "6", false, true},
        {"<5", "abc", false, false}, // "ABC" after "5" as texts
    });
    ExpectConditions({{">31.12.2019", "1.1.2020", false, true}}, TestSupport::DotsAndComma());
}

TEST(AdvUtilFilter, LongComparisonOperandsAreNotCut)
{
    const std::string Long(300, 'a');
    EXPECT_TRUE(MatchFilterPattern(">" + Long, Long + "b", US));
    EXPECT_FALSE(MatchFilterPattern(">" + Long + "b", Long + "a", US));
}

TEST(AdvUtilFilter, BangInvertsWhenThePatternBeforeItMatchesTheStart)
{
    struct Case {
        std::string Pattern, Value;
        bool Match;
    };
    const std::vector<Case> Cases = {
        {"!abc", "abc", false}, {"!abc", "abd", true}, {"a!bc", "abc", false},
        {"a!bc", "xbc", false}, {"a!b*", "axe", true}, {"!", "", false},
        {"!", "x", true},       {"a*!", "abc", false},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(MatchFilterPattern(C.Pattern, C.Value, US), C.Match)
            << C.Pattern << " on " << C.Value;
}

TEST(AdvUtilFilter, ManyStarsTakeTimeBoundedByTheLengths)
{
    const std::string Pattern = std::string(40, '*') + std::string(40, 'a') + "*b";
    const std::string Value(5000, 'a');
    const auto Start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchFilterPattern(Pattern, Value, US));
    EXPECT_TRUE(MatchFilterPattern(Pattern, Value + "b", US));
    const auto Elapsed = std::chrono::steady_clock::now() - Start;
    EXPECT_LT(Elapsed, std::chrono::seconds(5));
}

TEST(AdvUtilNames, CapitalizeNameGivesNamesTheirCapitals)
{
    struct Case {
        std::string Text, Name;
    };
    const std::vector<Case> Cases = {
        {"JOHN MCDONALD II", "John McDonald II"},
        {"mcintyre", "McIntyre"},
        {"mary o'brien-smith", "Mary O'Brien-Smith"},
        {"louis xiv iii", "Louis Xiv III"},
        {"henry iv", "Henry IV"},
        {"smith, j.r.", "Smith, J.R."},
        {"", ""},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(CapitalizeName(C.Text), C.Name) << C.Text;
}

} // namespace
