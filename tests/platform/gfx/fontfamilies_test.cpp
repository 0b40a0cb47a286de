// The list of installed font families that fontconfig gives, and their pitch.
#include "platform/gfx/fontengine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(FontFamilies, EveryInstalledFamilyOnceInByteOrder)
{
    const std::vector<std::string> Families = InstalledFontFamilies();
    for (const char* Family : {"Liberation Sans", "DejaVu Sans"}) {
        if (!FontFamilyInstalled(Family))
            GTEST_SKIP() << Family << " is not installed";
        EXPECT_NE(std::find(Families.begin(), Families.end(), Family), Families.end()) << Family;
    }
    EXPECT_TRUE(std::adjacent_find(Families.begin(), Families.end(),
                                   [](const std::string& A, const std::string& B) {
                                       return !(A < B);
                                   }) == Families.end());
    for (const std::string& Family : Families) {
        EXPECT_FALSE(Family.empty());
        EXPECT_TRUE(FontFamilyInstalled(Family)) << Family;
    }
}

namespace {

// Restores the metrics mode a test switched.
class DeterministicMetrics {
public:
    explicit DeterministicMetrics(bool Value) : FSaved(DeterministicFontMetrics())
    {
        SetDeterministicFontMetrics(Value);
    }
    ~DeterministicMetrics() { SetDeterministicFontMetrics(FSaved); }

private:
    bool FSaved;
};

std::vector<std::string> NamesOf(const std::vector<TFontFamilyPitch>& Families)
{
    std::vector<std::string> Names;
    for (const TFontFamilyPitch& Family : Families)
        Names.push_back(Family.Name);
    return Names;
}

int PitchOf(const std::vector<TFontFamilyPitch>& Families, const std::string& Name)
{
    for (const TFontFamilyPitch& Family : Families)
        if (Family.Name == Name)
            return Family.Pitch;
    return DEFAULT_PITCH;
}

} // namespace

TEST(FontFamilies, ScreenFamiliesCarryFontconfigSpacingAsPitch)
{
    DeterministicMetrics Real(false);
    struct TCase {
        const char* Family;
        int Pitch;
    };
    const std::vector<TCase> Cases = {
        {"DejaVu Sans Mono", FIXED_PITCH},
        {"Liberation Mono", FIXED_PITCH},
        {"DejaVu Sans", VARIABLE_PITCH},
        {"Liberation Serif", VARIABLE_PITCH},
    };
    const std::vector<TFontFamilyPitch> Families = ScreenFontFamilies();
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Family);
        if (!FontFamilyInstalled(Case.Family))
            continue;
        EXPECT_EQ(PitchOf(Families, Case.Family), Case.Pitch);
    }
}

TEST(FontFamilies, ScreenFamiliesAreTheInstalledOnesInTheSameStableOrder)
{
    for (bool Mode : {false, true}) {
        SCOPED_TRACE(Mode ? "deterministic" : "real");
        DeterministicMetrics Metrics(Mode);
        const std::vector<TFontFamilyPitch> First = ScreenFontFamilies();
        EXPECT_EQ(NamesOf(First), InstalledFontFamilies());
        EXPECT_EQ(ScreenFontFamilies(), First);
    }
}

TEST(FontFamilies, UnderDeterministicMetricsEveryFamilyIsFixed)
{
    DeterministicMetrics Metrics(true);
    const std::vector<TFontFamilyPitch> Families = ScreenFontFamilies();
    ASSERT_FALSE(Families.empty());
    for (const TFontFamilyPitch& Family : Families)
        EXPECT_EQ(Family.Pitch, FIXED_PITCH) << Family.Name;
}
