// The editor's display columns: tabs to the next stop, one column per character of valid UTF-8
// and one per byte otherwise, and where word wrap looks for a break.
#include "controls/entry/ovcedcols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(OvcEdCols, ColumnsAndOffsetsConvertBothWays)
{
    struct TCase {
        std::string Line;
        bool Utf8;
        int Offset, Column;
    };
    // "äb\tü": ä at 0-1, b 2, tab 3 (columns 2 to 7), ü 4-5, end 6.
    const std::vector<TCase> Cases = {
        {"äb\tü", true, 0, 0},  {"äb\tü", true, 2, 1},  {"äb\tü", true, 3, 2},
        {"äb\tü", true, 4, 8},  {"äb\tü", true, 6, 9},  {"äb\tü", true, 8, 11},
        {"äb\tü", false, 2, 2}, {"äb\tü", false, 3, 3}, {"äb\tü", false, 4, 8},
        {"äb\tü", false, 5, 9}, {"\xFFü", false, 2, 2}, {"𝄞x", true, 4, 1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Line + (Case.Utf8 ? " utf-8 " : " bytes ") + std::to_string(Case.Offset));
        EXPECT_EQ(ColumnOfOffset(Case.Line, Case.Offset, 8, Case.Utf8), Case.Column);
        EXPECT_EQ(OffsetOfColumn(Case.Line, Case.Column, 8, Case.Utf8), Case.Offset);
    }
    // A column within the tab's run or a character's bytes gives where it starts.
    EXPECT_EQ(OffsetOfColumn("äb\tü", 5, 8, true), 3);
    EXPECT_EQ(ColumnOfOffset("äb\tü", 1, 8, true), 1);
}

TEST(OvcEdCols, AWrapBreakEndsAfterAWholeCharacter)
{
    struct TCase {
        std::string Line;
        int Column;
        bool Utf8;
        int Offset;
    };
    const std::vector<TCase> Cases = {
        {"abcdef", 4, true, 4},  {"ab", 4, true, 2},  {"üüüüüü", 4, true, 8},
        {"üüüüüü", 4, false, 4}, {"a𝄞b", 2, true, 5}, {"a\tbc", 2, true, 2},
        {"a\tbc", 5, true, 3},   {"", 3, true, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Line + " at " + std::to_string(Case.Column));
        EXPECT_EQ(OffsetReachingColumn(Case.Line, Case.Column, 4, Case.Utf8), Case.Offset);
    }
}

TEST(OvcEdCols, ExpandedTabsReachTheStopsTheColumnsShow)
{
    EXPECT_EQ(ExpandTabs("ü\tx", 4), "ü   x");
    EXPECT_EQ(ExpandTabs("ü\tx", 4, false), "ü  x");
    EXPECT_EQ(ExpandTabs("\xFF\tx", 4), "\xFF   x");
    EXPECT_EQ(ExpandTabs("ab\t\tc", 4), "ab      c");
}
