// The library's shared routines: number text clean-up, the text offset of an entry field, the
// shift flags and offsets in a buffer.
#include "controls/entry/ovcmisc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(OvcMisc, FixNumberTextMakesTypedNumbersConvertible)
{
    struct TCase {
        std::string Text;
        char Decimal;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"12,5", ',', "12.5"},
        {"12,  ", ',', "12"},
        {"5.", '.', "5"},
        {"5.", ',', "5.0"},
        {"", '.', "0"},
        {"   ", '.', "0"},
        {"-.5", '.', "-0.5"},
        {",5", ',', "0.5"},
        {".5", '.', "0.5"},
        {"-,5", ',', "-0.5"},
        {" 1 . 5 ", '.', "1.5"},
        {"1 , 5", ',', "1.5"},
        {"1E5", '.', "1.00000E5"},
        {"1.5E3", '.', "1.500000E3"},
        {"1.12345678901E3", '.', "1.12345678901E3"},
        {"E5", '.', "E5"},
        {"1,234,5", ',', "1.234,5"},
        {",", ',', "0"},
        {"42", '.', "42"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE("'" + Case.Text + "' with '" + Case.Decimal + "'");
        EXPECT_EQ(FixNumberText(Case.Text, Case.Decimal), Case.Expected);
    }
}

TEST(OvcMisc, EntryTextTopCentresTheTextByTheSmallerFont)
{
    struct TCase {
        const char* Name;
        int System;
        int Font;
        bool Border;
        int Height;
        bool Ctl3D;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {"no border, room", 16, 13, false, 21, false, 0},
        {"no border, tight even", 16, 20, false, 16, false, -1},
        {"no border, tight odd", 16, 17, false, 17, false, -1},
        {"border 3-D, room", 16, 13, true, 21, true, 1},
        {"border 3-D, tight", 16, 16, true, 18, true, -2},
        {"border flat, room", 16, 13, true, 21, false, 1},
        {"border flat, tight odd", 16, 16, true, 19, false, -1},
        {"border flat, tight even", 16, 16, true, 18, false, -1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(EntryTextTopFor(Case.System, Case.Font, Case.Border, Case.Height, Case.Ctl3D),
                  Case.Expected);
    }
}

TEST(OvcMisc, OffsetsInABufferAreSixteenBitCounts)
{
    const std::string Buffer(100, 'x');
    const char* P = Buffer.data();
    EXPECT_EQ(OffsetDiff(P + 70, P + 20), 50);
    EXPECT_EQ(AdvanceOffset(P, 30), P + 30);
    EXPECT_EQ(RetreatOffset(P + 30, 10), P + 20);
}

TEST(OvcMisc, NoKeysDownGivesNoShiftFlagsAndTheLeftButtonIsPrimary)
{
    EXPECT_EQ(CurrentShiftFlags(), 0);
    EXPECT_EQ(PrimaryButtonKey(), 1);
}

TEST(OvcMisc, AMissingLibraryResourceGivesNil)
{
    EXPECT_EQ(LoadLibraryBitmap("NO_SUCH_BITMAP"), nullptr);
    EXPECT_EQ(LoadLibraryCursor("NO_SUCH_CURSOR"), HCURSOR{});
}
