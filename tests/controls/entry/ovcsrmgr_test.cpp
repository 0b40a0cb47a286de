// The STR0 reader over tables of the tests' own making, and the library's own tables.
#include "controls/entry/ovcsrmgr.h"

#include "cmake/tablelines.h"
#include "platform/rtl/resources.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Le32(std::uint32_t V)
{
    std::string S;
    for (int Shift = 0; Shift < 32; Shift += 8)
        S += static_cast<char>((V >> Shift) & 0xFF);
    return S;
}

std::string Table(const std::string& Lines)
{
    std::vector<tablelines::TLineError> Errors;
    std::string Result = tablelines::BuildStr0Table(Lines, Errors);
    EXPECT_TRUE(Errors.empty());
    return Result;
}

// A module holding raw-data resources of the test's making.
struct TTestModule {
    std::map<std::string, std::string> Resources;

    TResourceModule Module() const
    {
        return [this](const std::string& Name) -> std::optional<std::string_view> {
            auto Found = Resources.find(Name);
            if (Found == Resources.end())
                return std::nullopt;
            return std::string_view(Found->second);
        };
    }
};

std::string OpeningError(const std::string& Bytes)
{
    TTestModule M;
    M.Resources["T"] = Bytes;
    try {
        TOvcStringResource Reader(M.Module(), "T");
    } catch (const ETpsStringResourceError& E) {
        return E.Message();
    }
    return "opened";
}

} // namespace

TEST(OvcStringResource, AnEmptyTableOpensAndYieldsNothing)
{
    TTestModule M;
    M.Resources["EMPTY"] = std::string("STR0") + Le32(0);
    TOvcStringResource Reader(M.Module(), "EMPTY");
    EXPECT_EQ(Reader.GetString(0), "");
    EXPECT_EQ(Reader.GetString(1), "");
}

TEST(OvcStringResource, FindsTheFirstAndLastIdsAndNothingBetweenTwo)
{
    TTestModule M;
    M.Resources["T"] = Table("-5=first\n10=ten\n12=twelve\n400=last\n");
    TOvcStringResource Reader(M.Module(), "T");
    const std::vector<std::pair<int, std::string>> Cases = {
        {-5, "first"}, {10, "ten"}, {12, "twelve"}, {400, "last"},
        {11, ""},      {-6, ""},    {401, ""},      {0, ""},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(Reader.GetString(Case.first), Case.second) << Case.first;
}

TEST(OvcStringResource, AMissingIdRaisesWhenAskedTo)
{
    TTestModule M;
    M.Resources["T"] = Table("1=one\n");
    TOvcStringResource Reader(M.Module(), "T");
    Reader.RaiseOnMissing = true;
    EXPECT_EQ(Reader.GetString(1), "one");
    try {
        Reader.GetString(7);
        FAIL() << "no exception";
    } catch (const ETpsStringResourceError& E) {
        EXPECT_EQ(E.Message(), "String not found: 7");
    }
}

TEST(OvcStringResource, TextsComeBackAsUtf8AndALoneSurrogateAsTheDefaultCharacter)
{
    auto Units = [](std::vector<unsigned> Codes) {
        std::string S;
        for (unsigned U : Codes) {
            S += static_cast<char>(U & 0xFF);
            S += static_cast<char>(U >> 8);
        }
        return S;
    };
    struct TCase {
        std::vector<unsigned> Text;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {{'a', 0xE9, 0x20AC}, "a\xC3\xA9\xE2\x82\xAC"},
        {{0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
        {{'x', 0xD83D, 'y'}, "x?y"},
        {{0xDE00, 0xD83D}, "??"},
        {{'z', 0xD83D}, "z?"},
    };
    for (const TCase& Case : Cases) {
        const std::string Text = Units(Case.Text);
        TTestModule M;
        M.Resources["T"] = "STR0" + Le32(1) + Le32(3) + Le32(20) +
                           Le32(static_cast<std::uint32_t>(Case.Text.size())) + Text;
        TOvcStringResource Reader(M.Module(), "T");
        EXPECT_EQ(Reader.GetString(3), Case.Expected);
    }
}

TEST(OvcStringResource, WithoutATableALookupCannotLock)
{
    TTestModule M;
    M.Resources["T"] = Table("1=one\n");
    TOvcStringResource Reader(M.Module(), "T");
    Reader.SelectTable(M.Module(), "");
    try {
        Reader.GetString(1);
        FAIL() << "no exception";
    } catch (const ETpsStringResourceError& E) {
        EXPECT_EQ(E.Message(), "Cannot lock resource");
    }
    Reader.SelectTable(M.Module(), "T");
    EXPECT_EQ(Reader.GetString(1), "one");
}

TEST(OvcStringResource, ATableFoundNowhereIsNamed)
{
    TTestModule M;
    EXPECT_THROW(
        {
            try {
                TOvcStringResource Reader(M.Module(), "NOSUCHTABLE");
            } catch (const ETpsStringResourceError& E) {
                EXPECT_EQ(E.Message(), "String resource not found: NOSUCHTABLE");
                throw;
            }
        },
        ETpsStringResourceError);
}

TEST(OvcStringResource, ATableNotInTheModuleIsTakenFromTheProgram)
{
    TTestModule M;
    TOvcStringResource Reader(M.Module(), "OVCSRMGR_STRINGS");
    EXPECT_EQ(Reader.GetString(5), "Invalid TPString resource");
}

TEST(OvcStringResource, ABadTableIsRefusedAtOpening)
{
    const std::string Good = Table("1=ab\n2=c\n"); // texts at 32 (2 units) and 36 (1 unit)
    ASSERT_EQ(Good.size(), 38u);
    auto Patched = [&](std::size_t At, std::uint32_t Value) {
        std::string S = Good;
        S.replace(At, 4, Le32(Value));
        return S;
    };
    struct TCase {
        const char* What;
        std::string Bytes;
    };
    const std::vector<TCase> Cases = {
        {"signature in lower case", "str0" + Good.substr(4)},
        {"signature one byte off", "STR1" + Good.substr(4)},
        {"shorter than the header", std::string("STR0\x01", 5)},
        {"nothing at all", ""},
        {"a negative count", Patched(4, 0xFFFFFFFF)},
        {"a count beyond the size", Patched(4, 3)},
        {"a huge count", Patched(4, 0x7FFFFFFF)},
        {"ids out of order", Patched(20, 0)},
        {"a repeated id", Patched(20, 1)},
        {"a text past the end", Patched(28, 2)},
        {"a length overflowing", Patched(28, 0x7FFFFFFF)},
        {"a negative length", Patched(28, 0xFFFFFFFF)},
        {"a negative offset", Patched(24, 0xFFFFFFF0)},
        {"an offset past the end", Patched(24, 39)},
        {"a text inside the index", Patched(12, 8)},
        {"the last text cut short", Good.substr(0, 37)},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(OpeningError(Case.Bytes), "Invalid TPString resource") << Case.What;
    EXPECT_EQ(OpeningError(Good), "opened");
}

TEST(LibraryStrings, TheReaderAndLibraryTablesHoldEveryRow)
{
    struct TTableCount {
        const char* Name;
        std::uint32_t Rows;
        std::int32_t First;
        std::int32_t Last;
    };
    for (const TTableCount& T : {TTableCount{"OVCSRMGR_STRINGS", 5, 1, 5},
                                 TTableCount{"PELIDOR3_STRINGS_ENGLISH", 356, 30168, 34541}}) {
        const std::optional<std::string_view> Bytes = FindResource(RT_RCDATA, T.Name);
        ASSERT_TRUE(Bytes.has_value()) << T.Name;
        ASSERT_GE(Bytes->size(), 8u);
        EXPECT_EQ(Bytes->substr(0, 4), "STR0");
        EXPECT_EQ(Bytes->substr(4, 4), Le32(T.Rows)) << T.Name;
        EXPECT_EQ(Bytes->substr(8, 4), Le32(static_cast<std::uint32_t>(T.First))) << T.Name;
        EXPECT_EQ(Bytes->substr(8 + 12 * (T.Rows - 1), 4), Le32(static_cast<std::uint32_t>(T.Last)))
            << T.Name;
    }
}

TEST(LibraryStrings, LibraryStringGivesTheTableTextOrUnknown)
{
    const std::vector<std::pair<int, std::string>> Cases = {
        {30275, "Default"},
        {30191, "Invalid trigger handle"},
        {30189, "No Window's timers are available"},
        {30197, "insufficient memory for requested operation"},
        {30281, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {30285, " - Desc"},
        {30371, "F"},
        {30515, "White"},
        {33768, "ccNone"},
        {33843, "ccWordRight"},
        {34083, "Time"},
        {34468, "X  any character"},
        {34491, "8  User 8"},
        {30167, "Unknown"},
        {30284, "Unknown"},
        {34492, "Unknown"},
        {0, "Unknown"},
        {65535, "Unknown"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(LibraryString(static_cast<std::uint16_t>(Case.first)), Case.second) << Case.first;
    EXPECT_EQ(SrMgrStrings->GetString(3), "String resource not found: %s");
}

TEST(LibraryStrings, SampleMasksFillTheFirstTwentyColumnsAndADescriptionFollows)
{
    const std::vector<std::pair<int, std::string>> Cases = {
        {34493, "$##,###.##"},     {34510, "bbbbbbbb"}, {34518, "XXXXXXXXXX"},
        {34525, "(999) 999-9999"}, {34541, "HH:MM:SS"},
    };
    for (const auto& Case : Cases) {
        const std::string Text = LibraryString(static_cast<std::uint16_t>(Case.first));
        ASSERT_GT(Text.size(), 21u) << Case.first;
        EXPECT_EQ(Text.substr(0, 20), Case.second + std::string(20 - Case.second.size(), ' '));
        EXPECT_NE(Text[20], ' ') << Case.first;
    }
}

TEST(LibraryStrings, TheFileIteratorsMessagesAreInTheProgramsStringTable)
{
    EXPECT_EQ(LoadStr(54260), "Cannot change options on fly. Try later");
    EXPECT_EQ(LoadStr(54261),
              "Iterator is not available at the moment. Please call later, but do call");
}
