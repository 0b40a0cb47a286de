// The editor's fixed font: only fixed-pitch family names, the change callback, assignment.
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcfxfont.h"
#include "platform/gfx/fontengine.h"
#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// A family of the screen that is not fixed-pitch; "" when every family is.
std::string VariablePitchFamily()
{
    for (const TFontFamilyPitch& Family : ScreenFontFamilies())
        if (!IsFixedFontName(Family.Name))
            return Family.Name;
    return std::string();
}

} // namespace

TEST(OvcFixedFont, TheListHoldsExactlyTheFixedPitchFamiliesInEnumerationOrder)
{
    std::vector<std::string> Expected;
    for (const TFontFamilyPitch& Family : ScreenFontFamilies())
        if (Family.Pitch == FIXED_PITCH)
            Expected.push_back(Family.Name);
    // The list was gathered once; a metrics mode switched since then may change the pitches.
    if (Expected != FixedFontNames())
        GTEST_SKIP() << "the metrics mode changed since the list was gathered";
    EXPECT_TRUE(std::is_sorted(FixedFontNames().begin(), FixedFontNames().end()));
}

TEST(OvcFixedFont, ANewOneTakesTheFirstFixedPitchName)
{
    TOvcFixedFont Font;
    if (FixedFontNames().empty())
        EXPECT_EQ(Font.Name(), TFont().Name());
    else
        EXPECT_EQ(Font.Name(), FixedFontNames().front());
    EXPECT_EQ(Font.Color(), clWindowText);
}

TEST(OvcFixedFont, NameTakesOnlyFixedPitchNamesComparedExactly)
{
    if (FixedFontNames().size() < 2)
        GTEST_SKIP() << "fewer than two fixed-pitch families";
    const std::string Second = FixedFontNames()[1];
    std::string Upper = Second;
    std::transform(Upper.begin(), Upper.end(), Upper.begin(),
                   [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
    const std::string Variable = VariablePitchFamily();
    TOvcFixedFont Font;
    const std::string First = Font.Name();
    int Changes = 0;
    Font.OnChange = [&] { ++Changes; };
    struct TCase {
        std::string Name;
        std::string Expected;
        int Changes;
    };
    std::vector<TCase> Cases = {
        {"No Such Family", First, 0},
        {"", First, 0},
        {Second, Second, 1},
        {Second, Second, 1}, // no change, no callback
        {First, First, 2},
    };
    if (Upper != Second)
        Cases.push_back({Upper, First, 2});
    if (!Variable.empty())
        Cases.push_back({Variable, First, 2});
    for (const TCase& Case : Cases) {
        SCOPED_TRACE("set \"" + Case.Name + "\"");
        Font.SetName(Case.Name);
        EXPECT_EQ(Font.Name(), Case.Expected);
        EXPECT_EQ(Changes, Case.Changes);
    }
}

TEST(OvcFixedFont, EachPublishedPropertyWritesTheFontAndReportsTheChange)
{
    TOvcFixedFont Font;
    int Changes = 0;
    Font.OnChange = [&] { ++Changes; };
    Font.SetColor(clRed);
    Font.SetSize(14);
    Font.SetStyle(TFontStyles{fsBold, fsItalic});
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Font.Font()->Color(), clRed);
    EXPECT_EQ(Font.Font()->Size(), 14);
    EXPECT_EQ(Font.Font()->Style(), (TFontStyles{fsBold, fsItalic}));
    Font.SetColor(clRed);
    Font.SetSize(14);
    EXPECT_EQ(Changes, 3);
}

TEST(OvcFixedFont, AssignCopiesAnotherFixedFont)
{
    if (FixedFontNames().size() < 2)
        GTEST_SKIP() << "fewer than two fixed-pitch families";
    TOvcFixedFont Source;
    Source.SetName(FixedFontNames()[1]);
    Source.SetSize(20);
    Source.SetColor(clNavy);
    TOvcFixedFont Dest;
    int Changes = 0;
    Dest.OnChange = [&] { ++Changes; };
    Dest.Assign(&Source);
    EXPECT_EQ(Dest.Name(), FixedFontNames()[1]);
    EXPECT_EQ(Dest.Size(), 20);
    EXPECT_EQ(Dest.Color(), clNavy);
    EXPECT_EQ(Changes, 1);
}

TEST(OvcFixedFont, AssignOfAPlainFontTakesItsFixedName)
{
    if (FixedFontNames().size() < 2)
        GTEST_SKIP() << "fewer than two fixed-pitch families";
    TFont Plain;
    Plain.SetName(FixedFontNames()[1]);
    Plain.SetSize(12);
    TOvcFixedFont Font;
    int Changes = 0;
    Font.OnChange = [&] { ++Changes; };
    Font.Assign(&Plain);
    EXPECT_EQ(Font.Name(), FixedFontNames()[1]);
    EXPECT_EQ(Font.Size(), 12);
    EXPECT_EQ(Changes, 1);
}

TEST(OvcFixedFont, AssignOfAPlainFontWithAnotherNameKeepsTheNameAndRaises)
{
    TFont Plain;
    Plain.SetName("No Such Family");
    Plain.SetSize(18);
    Plain.SetColor(clMaroon);
    TOvcFixedFont Font;
    const std::string Before = Font.Name();
    int Changes = 0;
    Font.OnChange = [&] { ++Changes; };
    try {
        Font.Assign(&Plain);
        FAIL() << "no exception";
    } catch (const EInvalidFixedFont& E) {
        EXPECT_EQ(std::string(E.what()), "Invalid font assignment. Font must be a fixed font");
    }
    EXPECT_EQ(Font.Name(), Before);
    // The other attributes were taken, so the owner heard of the change.
    EXPECT_EQ(Font.Size(), 18);
    EXPECT_EQ(Font.Color(), clMaroon);
    EXPECT_EQ(Changes, 1);
}

TEST(OvcFixedFont, AssignOfAnythingElseIsRefused)
{
    TOvcFixedFont Font;
    TBrush Brush;
    int Changes = 0;
    Font.OnChange = [&] { ++Changes; };
    EXPECT_THROW(Font.Assign(&Brush), EConvertError);
    EXPECT_THROW(Font.Assign(nullptr), EConvertError);
    EXPECT_EQ(Changes, 0);
}
