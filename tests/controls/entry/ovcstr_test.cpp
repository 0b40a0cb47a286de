// The library's string routines: number texts, editing at positions, trimming, the skip searches.
#include "controls/entry/ovcstr.h"

#include <gtest/gtest.h>

#include <vector>

TEST(OvcStr, NumberTextsHaveTheirFixedWidths)
{
    EXPECT_EQ(HexText32(0x1F), "0000001F");
    EXPECT_EQ(HexText32(0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(HexText16(255), "00FF");
    EXPECT_EQ(OctalText32(8), "000000000010");
    EXPECT_EQ(OctalText32(0xFFFFFFFFu), "037777777777");
    EXPECT_EQ(BinaryText32(5), "00000000000000000000000000000101");
}

TEST(OvcStr, TextToLongReadsNumbersOrNamesTheBadPosition)
{
    struct TCase {
        std::string Text;
        bool Ok;
        std::int32_t Value;
    };
    const std::vector<TCase> Cases = {
        {"0x1F", true, 31},
        {"12a3", false, 2},
        {"  42 \t", true, 42},
        {"-17", true, -17},
        {"$FF", true, 255},
        {"$FFFFFFFF", true, -1},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 9},
        {"-2147483648", true, INT32_MIN},
        {"", false, 0},
        {"-", false, 1},
        {"1 2", false, 1},
        {std::string(256, '1'), false, -1},
    };
    for (const TCase& C : Cases) {
        std::int32_t Value = 12345;
        EXPECT_EQ(TextToLong(C.Text, Value), C.Ok) << C.Text;
        EXPECT_EQ(Value, C.Value) << C.Text;
    }
}

TEST(OvcStr, TrimExponentDropsZerosAroundTheExponent)
{
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"1.500E+005", "1.5E+5"}, {"2.000E+000", "2"},  {"1.234E-010", "1.234E-10"},
        {"-3.0E+012", "-3E+12"},  {"123.45", "123.45"}, {"100E+002", "100E+2"},
    };
    for (const auto& C : Cases) {
        std::string S = C.first;
        TrimExponent(S);
        EXPECT_EQ(S, C.second) << C.first;
    }
}

TEST(OvcStr, ExpandTabsFillsToTheNextStop)
{
    struct TCase {
        std::string Src;
        int TabSize;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"abc\tx", 8, "abc     x"},
        {"\t", 4, "    "},
        {"abcd\tx", 4, "abcd    x"},
        {"a\tb", 0, ""},
        {std::string(200, 'a') + "\t\t\t\t\t\t\t\t\t\t", 8,
         std::string(200, 'a') + std::string(55, ' ')},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ExpandTabs(C.Src, C.TabSize), C.Expected) << C.Src.size();
}

TEST(OvcStr, EditingAtPositionsKeepsToTheLimit)
{
    std::string S = "abc";
    InsertCharAt(S, 'X', 1);
    EXPECT_EQ(S, "aXbc");
    InsertCharAt(S, 'Z', 99);
    EXPECT_EQ(S, "aXbcZ");
    DeleteCharAt(S, 99);
    EXPECT_EQ(S, "aXbcZ");
    DeleteCharAt(S, 0);
    EXPECT_EQ(S, "XbcZ");
    InsertChars(S, '-', 2, 3);
    EXPECT_EQ(S, "Xb---cZ");
    InsertSubText(S, "<>", 50);
    EXPECT_EQ(S, "Xb---cZ<>");
    DeleteSubText(S, 5, 100);
    EXPECT_EQ(S, "Xb---");
    EXPECT_EQ(CopySubText("hello", 1, 3), "ell");
    EXPECT_EQ(CopySubText("hello", 3, 99), "lo");
    EXPECT_EQ(CopySubText("hello", 5, 1), "");

    std::string Long(250, 'a');
    InsertChars(Long, 'b', 0, 20);
    EXPECT_EQ(Long.size(), MaxOvcText);
    EXPECT_EQ(Long.substr(0, 20), std::string(20, 'b'));
    InsertSubText(Long, std::string(300, 'c'), 10);
    EXPECT_EQ(Long.size(), MaxOvcText);
    EXPECT_EQ(FillText('x', 1000).size(), MaxOvcText);
    EXPECT_EQ(FillText('x', 3), "xxx");
}

TEST(OvcStr, FindAndTrim)
{
    std::size_t Pos = 77;
    EXPECT_FALSE(FindChar("", 'a', Pos));
    EXPECT_TRUE(FindChar("banana", 'n', Pos));
    EXPECT_EQ(Pos, 2u);
    EXPECT_FALSE(FindSubText("abc", "", Pos));
    EXPECT_FALSE(FindSubText("abc", "abcd", Pos));
    EXPECT_TRUE(FindSubText("abcabc", "ca", Pos));
    EXPECT_EQ(Pos, 2u);

    std::string S = "  a b \t";
    TrimTrailingWhite(S);
    EXPECT_EQ(S, "  a b");
    TrimSpaces(S);
    EXPECT_EQ(S, "a b");
    S = " 12.500 ";
    TrimTrailingZeros(S);
    EXPECT_EQ(S, "12.5");
    S = "3.000";
    TrimTrailingZeros(S);
    EXPECT_EQ(S, "3");
    EXPECT_EQ(MaxWord(3, 65535), 65535);
    EXPECT_EQ(CharUpperOne('q'), 'Q');
    EXPECT_EQ(CharLowerOne('Q'), 'q');
}

TEST(OvcStr, SkipTableHoldsTheShiftOfEachCharacter)
{
    TSkipTable Table{};
    BuildSkipTable("abcab", Table);
    EXPECT_EQ(Table['a'], 1);
    EXPECT_EQ(Table['b'], 3); // its last place before the end, the final 'b', does not count
    EXPECT_EQ(Table['c'], 2);
    EXPECT_EQ(Table['z'], 5);
    BuildSkipTable(std::string(300, 'q'), Table);
    EXPECT_EQ(Table['z'], 255);
}

TEST(OvcStr, SkipSearchesFindTheFirstMatch)
{
    struct TCase {
        std::string Buffer, Pattern;
        bool NoCase, Found;
        std::size_t Pos;
    };
    const std::vector<TCase> Cases = {
        {"the quick brown fox", "brown", false, true, 10},
        {"the quick brown fox", "BROWN", false, false, 0},
        {"the quick Brown fox", "BROWN", true, true, 10},
        {"abababcab", "abc", false, true, 4},
        {"aaaa", "a", false, true, 0},
        {"xyzA", "A", true, true, 3},
        {"xyz", "Q", false, false, 0},
        {"ab", "abc", false, false, 0},
        {"abc", "", false, false, 0},
        {"needle at the end: ending", "ending", false, true, 19},
    };
    for (const TCase& C : Cases) {
        TSkipTable Table{};
        BuildSkipTable(C.Pattern, Table);
        std::size_t Pos = 0;
        const bool Found =
            C.NoCase ? SkipSearchNoCase(C.Buffer.data(), C.Buffer.size(), Table, Pos, C.Pattern)
                     : SkipSearch(C.Buffer.data(), C.Buffer.size(), Table, Pos, C.Pattern);
        EXPECT_EQ(Found, C.Found) << C.Buffer << " / " << C.Pattern;
        if (C.Found) {
            EXPECT_EQ(Pos, C.Pos) << C.Buffer << " / " << C.Pattern;
        }
    }
}
