// The list of installed font families that fontconfig gives.
#include "platform/gfx/fontengine.h"

#include <gtest/gtest.h>

#include <algorithm>

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
