#include "platform/rtl/strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <vector>

TEST(Strings, PosFindsFromOneAndAnswersZeroWhenAbsent)
{
    struct Case {
        std::string Sub, S;
        int Offset, Expected;
    };
    const std::vector<Case> Cases = {
        {"b", "abcabc", 1, 2}, {"b", "abcabc", 3, 5}, {"b", "abcabc", 6, 0}, {"c", "abcabc", 6, 6},
        {"", "abc", 1, 0},     {"x", "abc", 1, 0},    {"abc", "ab", 1, 0},   {"a", "abc", 0, 0},
        {"a", "abc", -1, 0},   {"a", "abc", 4, 0},    {"a", "", 1, 0},       {"abc", "abc", 1, 1},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(PosEx(C.Sub, C.S, C.Offset), C.Expected) << C.Sub << " in " << C.S;
        if (C.Offset == 1) {
            EXPECT_EQ(Pos(C.Sub, C.S), C.Expected);
        }
    }
}

TEST(Strings, CopyDeleteInsertClampAtTheEdges)
{
    struct CopyCase {
        int Index, Count;
        std::string Expected;
    };
    const std::vector<CopyCase> Copies = {
        {1, 2, "ab"},
        {0, 2, "ab"},
        {-5, 2, "ab"},
        {6, 5, "f"},
        {7, 1, ""},
        {3, 0, ""},
        {3, -1, ""},
        {2, INT_MAX, "bcdef"},
        {1, 6, "abcdef"},
        {INT_MIN, 1, "a"},
        {INT_MAX, INT_MAX, ""},
    };
    for (const auto& C : Copies)
        EXPECT_EQ(Copy("abcdef", C.Index, C.Count), C.Expected) << C.Index << "," << C.Count;

    struct DeleteCase {
        int Index, Count;
        std::string Expected;
    };
    const std::vector<DeleteCase> Deletes = {
        {1, 2, "cdef"},   {0, 2, "abcdef"}, {-1, 3, "abcdef"}, {5, 10, "abcd"},   {6, 1, "abcde"},
        {7, 1, "abcdef"}, {3, 0, "abcdef"}, {3, -2, "abcdef"}, {2, INT_MAX, "a"},
    };
    for (const auto& C : Deletes) {
        std::string S = "abcdef";
        Delete(S, C.Index, C.Count);
        EXPECT_EQ(S, C.Expected) << C.Index << "," << C.Count;
    }

    struct InsertCase {
        int Index;
        std::string Expected;
    };
    const std::vector<InsertCase> Inserts = {
        {1, "XYabc"}, {0, "XYabc"}, {-3, "XYabc"},      {2, "aXYbc"},
        {4, "abcXY"}, {5, "abcXY"}, {INT_MAX, "abcXY"},
    };
    for (const auto& C : Inserts) {
        std::string S = "abc";
        Insert("XY", S, C.Index);
        EXPECT_EQ(S, C.Expected) << C.Index;
    }
}

TEST(Strings, TrimRemovesControlBytesAndSpacesOnly)
{
    const std::string S = std::string("\t\r\n \0x y\x01 ", 10);
    EXPECT_EQ(Trim(S), "x y");
    EXPECT_EQ(TrimLeft(S), std::string("x y\x01 "));
    EXPECT_EQ(TrimRight(S), std::string("\t\r\n \0x y", 8));
    // Bytes above 127 (a no-break space in Windows-1252, UTF-8 sequences) are text.
    EXPECT_EQ(Trim("\xA0x\xC3\xA9"), "\xA0x\xC3\xA9");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Strings, PlainCaseRoutinesFoldAsciiOnly)
{
    EXPECT_EQ(UpperCase("stra\xC3\x9F"
                        "e \xC3\xA9t\xE9 az"),
              "STRA\xC3\x9F"
              "E \xC3\xA9T\xE9 AZ");
    EXPECT_EQ(LowerCase("\xC3\x89T\xC9 AZ[@"), "\xC3\x89t\xC9 az[@");

    struct Case {
        std::string A, B;
        int Sign;
    };
    const std::vector<Case> Cases = {
        {"abc", "ABC", 0},
        {"abc", "ABD", -1},
        {"abcd", "ABC", 1},
        {"", "", 0},
        {"", "a", -1},
        // Folding to upper case puts "_" after the letters, as the classic routine does.
        {"_", "a", 1},
        // Letters beyond ASCII differ.
        {"\xC3\xA9", "\xC3\x89", 1},
    };
    for (const auto& C : Cases) {
        const int R = CompareText(C.A, C.B);
        EXPECT_EQ((R > 0) - (R < 0), C.Sign) << C.A << " vs " << C.B;
        EXPECT_EQ(SameText(C.A, C.B), C.Sign == 0);
    }
    EXPECT_LT(CompareStr("Z", "a"), 0);
    EXPECT_GT(CompareStr("\xE9", "z"), 0); // bytes compare unsigned
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_EQ(CompareStr("abc", "abc"), 0);
}

TEST(Strings, AnsiCaseFoldsUtf8PerCodePoint)
{
    struct Case {
        std::string Lower, Upper;
    };
    const std::vector<Case> Cases = {
        {"caf\xC3\xA9 \xC3\xBE\xC3\xB8", "CAF\xC3\x89 \xC3\x9E\xC3\x98"}, // Latin-1
        {"\xC3\xBF", "\xC5\xB8"},                                         // y diaeresis
        {"\xC5\x82\xC3\xB3"
         "d\xC5\xBA \xC5\x91",
         "\xC5\x81\xC3\x93"
         "D\xC5\xB9 \xC5\x90"}, // Ext-A
        {"\xCE\xB1\xCE\xB2\xCE\xB3 \xCE\xAC\xCF\x8E", "\xCE\x91\xCE\x92\xCE\x93 \xCE\x86\xCE\x8F"},
        {"\xD0\xB6\xD1\x83\xD0\xBA \xD1\x91\xD1\x9F", "\xD0\x96\xD0\xA3\xD0\x9A \xD0\x81\xD0\x8F"},
        {"\xD2\x91\xD3\x99", "\xD2\x90\xD3\x98"}, // Cyrillic extensions
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(AnsiUpperCase(C.Lower), C.Upper) << C.Lower;
        EXPECT_EQ(AnsiLowerCase(C.Upper), C.Lower) << C.Upper;
    }
    // Letters without a single-letter partner stay: sharp s, micro sign, multiplication sign.
    EXPECT_EQ(AnsiUpperCase("\xC3\x9F\xC2\xB5\xC3\xB7"), "\xC3\x9F\xC2\xB5\xC3\xB7");
    // Final sigma upper-cases to sigma; dotless i to I (the text gets shorter).
    EXPECT_EQ(AnsiUpperCase("\xCF\x82\xC4\xB1"), "\xCE\xA3I");
}

TEST(Strings, AnsiCaseFoldsOtherTextAsWindows1252)
{
    struct Case {
        std::string Lower, Upper;
    };
    const std::vector<Case> Cases = {
        {"caf\xE9", "CAF\xC9"},
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},
        {"\xE0\xFE", "\xC0\xDE"},
        // UTF-8 e acute next to a stray byte: the whole text is Windows-1252.
        {"\xE3\xA9\xFF", "\xC3\xA9\x9F"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(AnsiUpperCase(C.Lower), C.Upper);
        EXPECT_EQ(AnsiLowerCase(C.Upper), C.Lower);
    }
    // Not letters: multiplication and division signs, sharp s, micro sign, the euro sign.
    EXPECT_EQ(AnsiUpperCase("\xD7\xF7\xDF\xB5\x80"), "\xD7\xF7\xDF\xB5\x80");
    EXPECT_EQ(AnsiLowerCase("\xD7\xF7\xDF\xB5\x80"), "\xD7\xF7\xDF\xB5\x80");
}

TEST(Strings, Utf8DecodingTakesWellFormedCharactersOnly)
{
    struct Case {
        std::string Text;
        bool Valid;
        char32_t First;     // the first character, when valid
        std::size_t Length; // its bytes
    };
    const std::vector<Case> Cases = {
        {"A", true, U'A', 1},
        {"\xC3\xA9", true, 0xE9, 2},
        {"\xE2\x82\xAC", true, 0x20AC, 3},
        {"\xF0\x9F\x98\x80", true, 0x1F600, 4},
        {"\xF4\x8F\xBF\xBF", true, 0x10FFFF, 4},
        {"\xC0\xAF", false, 0, 0},         // overlong
        {"\xE0\x80\xAF", false, 0, 0},     // overlong
        {"\xED\xA0\x80", false, 0, 0},     // surrogate
        {"\xF4\x90\x80\x80", false, 0, 0}, // past U+10FFFF
        {"\xE2\x82", false, 0, 0},         // cut short
        {"\xC3\x41", false, 0, 0},         // not a continuation byte
        {"\x80", false, 0, 0},             // stray continuation byte
        {"\xFF", false, 0, 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        std::size_t I = 0;
        char32_t Code = 0;
        EXPECT_EQ(DecodeUtf8At(C.Text, I, Code), C.Valid);
        EXPECT_EQ(I, C.Length);
        if (C.Valid) {
            EXPECT_EQ(Code, C.First);
        }
        EXPECT_EQ(IsValidUtf8(C.Text), C.Valid);
        EXPECT_EQ(IsValidUtf8("ok " + C.Text), C.Valid);
    }
    // Decoding goes on from where the last character ended.
    const std::string Text = "a\xC3\xA9\xE2\x82\xAC";
    std::size_t I = 1;
    char32_t Code = 0;
    ASSERT_TRUE(DecodeUtf8At(Text, I, Code));
    EXPECT_EQ(Code, 0xE9u);
    ASSERT_TRUE(DecodeUtf8At(Text, I, Code));
    EXPECT_EQ(Code, 0x20ACu);
    EXPECT_EQ(I, Text.size());
    EXPECT_TRUE(IsValidUtf8(""));
}

TEST(Strings, AnsiCompareOrdersCodePointsOfEitherEncoding)
{
    struct Case {
        std::string A, B;
        int Str, Text; // sign of AnsiCompareStr and AnsiCompareText
    };
    const std::vector<Case> Cases = {
        {"abc", "abc", 0, 0},
        {"abc", "ABC", 1, 0},
        {"\xC3\x89"
         "COLE",
         "\xC3\xA9"
         "cole",
         -1, 0}, // UTF-8 both
        {"\xE9"
         "cole",
         "\xC3\x89"
         "COLE",
         1, 0},                         // Windows-1252 against UTF-8
        {"\x80", "\xE2\x82\xAC", 0, 0}, // euro sign both ways
        {"\x80", "\xFF", 1, 1},         // U+20AC after U+00FF
        {"\xC3\xA9", "z", 1, 1},        // e acute after z
        {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82", -1,
         0}, // sigma and final sigma fold together
        {"\xD0\x96\xD0\xA3\xD0\x9A", "\xD0\xB6\xD1\x83\xD0\xBA", -1, 0},
        {"\x8A", "\x9A", -1, 0}, // S caron, Windows-1252
        {"_", "a", -1, -1},      // lower-case folding keeps "_" first
        {"ab", "abc", -1, -1},
        {"", "", 0, 0},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(AnsiCompareStr(C.A, C.B), C.Str) << C.A << " vs " << C.B;
        EXPECT_EQ(AnsiCompareStr(C.B, C.A), -C.Str);
        EXPECT_EQ(AnsiCompareText(C.A, C.B), C.Text) << C.A << " vs " << C.B;
        EXPECT_EQ(AnsiSameStr(C.A, C.B), C.Str == 0);
        EXPECT_EQ(AnsiSameText(C.A, C.B), C.Text == 0);
    }
    EXPECT_EQ(AnsiPos("\xC3\xA9", "caf\xC3\xA9"), 4);
}

TEST(Strings, QuotingDoublesAndUndoublesTheQuote)
{
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");

    struct Case {
        std::string S;
        std::size_t Start;
        std::string Expected;
        std::size_t End;
    };
    const std::vector<Case> Cases = {
        {"'it''s' rest", 0, "it's", 7},
        {"x='a'", 2, "a", 5},
        {"'open", 0, "open", 5}, // unterminated: to the end
        {"''", 0, "", 2},
        {"'a'''", 0, "a'", 5},
        {"abc", 0, "", 0}, // not at a quote: nothing read
        {"'a'", 3, "", 3}, // past the end
        {"'a'", 99, "", 99},
    };
    for (const auto& C : Cases) {
        std::size_t Index = C.Start;
        EXPECT_EQ(AnsiExtractQuotedStr(C.S, Index, '\''), C.Expected) << C.S;
        EXPECT_EQ(Index, C.End) << C.S;
    }
    // Round trip.
    std::size_t Index = 0;
    EXPECT_EQ(AnsiExtractQuotedStr(AnsiQuotedStr("a\"b\"\"c", '"'), Index, '"'), "a\"b\"\"c");
}

TEST(Strings, DelimitersLineBreaksAndRepeatedCharacters)
{
    EXPECT_EQ(LastDelimiter("\\/:", "C:\\dir/file.txt"), 7);
    EXPECT_EQ(LastDelimiter(".", "name"), 0);
    EXPECT_EQ(LastDelimiter("", "a.b"), 0);
    EXPECT_TRUE(IsDelimiter(",;", "a,b", 2));
    EXPECT_FALSE(IsDelimiter(",;", "a,b", 1));
    EXPECT_FALSE(IsDelimiter(",;", "a,b", 0));
    EXPECT_FALSE(IsDelimiter(",;", "a,b", 4));

    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(AdjustLineBreaks("\r"), "\r\n");
    EXPECT_EQ(AdjustLineBreaks(""), "");

    EXPECT_EQ(StringOfChar('-', 3), "---");
    EXPECT_EQ(StringOfChar('-', 0), "");
    EXPECT_EQ(StringOfChar('-', -2), "");
}

TEST(Strings, StringReplaceHonoursItsFlags)
{
    struct Case {
        std::string S, Old, New;
        TReplaceFlags Flags;
        std::string Expected;
    };
    const std::vector<Case> Cases = {
        {"a-b-c", "-", "+", 0, "a+b-c"},
        {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
        {"a-b-c", "-", "", rfReplaceAll, "abc"},
        {"aaa", "aa", "b", rfReplaceAll, "ba"}, // no overlapping matches
        {"abc", "", "x", rfReplaceAll, "abc"},  // empty pattern: unchanged
        {"abc", "x", "y", rfReplaceAll, "abc"},
        {"Abc ABC abc", "abc", "x", rfIgnoreCase, "x ABC abc"},
        {"Abc ABC abc", "abc", "x", rfReplaceAll | rfIgnoreCase, "x x x"},
        {"Abc ABC abc", "abc", "x", rfReplaceAll, "Abc ABC x"},
        // Folded per code point: the UTF-8 text keeps its other bytes untouched.
        {"\xC3\x84pfel und \xC3\xA4pfel", "\xC3\xA4PFEL", "Birnen", rfReplaceAll | rfIgnoreCase,
         "Birnen und Birnen"},
        // Windows-1252 text matched by a UTF-8 pattern.
        {"caf\xC9 caf\xE9", "CAF\xC3\x89", "bar", rfReplaceAll | rfIgnoreCase, "bar bar"},
        // Long s folds to s but takes two bytes: the offsets follow the original text.
        {"\xC5\xBFx s", "S", "y", rfReplaceAll | rfIgnoreCase, "yx y"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Expected) << C.S;
}

// The key of a name for look-ups folds it once, the way AnsiSameText compares: every code point of
// a range that holds all the case pairs, as UTF-8 and as Windows-1252 bytes, and names mixing them.
// Two names share a key exactly when AnsiSameText holds them the same.
TEST(Strings, AnsiSameTextKeyFoldsAsAnsiSameTextCompares)
{
    std::vector<std::string> Names = {"I",
                                      "i",
                                      "\xC4\xB1",
                                      "\xC4\xB0",
                                      "\xC5\xBF",
                                      "S",
                                      "Stra\xC3\x9F"
                                      "e",
                                      "STRASSE",
                                      "Caf\xC3\xA9",
                                      "CAF\xC3\x89",
                                      "Caf\xE9",
                                      "CAF\xC9",
                                      "\xC3\xA9\xE9",
                                      "\xC3\x83\xC2\xA9\xC3\xA9",
                                      "\x8A\x9A",
                                      "\xC5\xA0\xC5\xA1",
                                      "a\xC4\xB1"
                                      "b",
                                      "A\xC4\xB1"
                                      "B",
                                      std::string("n\0ul", 4),
                                      ""};
    auto Utf8 = [](char32_t C) {
        std::string S;
        AppendUtf8(S, C);
        return S;
    };
    for (char32_t C = 1; C < 0x800; ++C)
        Names.push_back(Utf8(C));
    for (char32_t C : {0x1E9Eu, 0x2013u, 0x20ACu, 0x2122u, 0xFB00u, 0x1F600u})
        Names.push_back(Utf8(C));
    for (int Byte = 0x80; Byte < 0x100; ++Byte)
        Names.push_back(std::string(1, static_cast<char>(Byte)) + "x");

    // Names that share a key are the same text...
    std::map<std::string, std::string> FirstOfKey;
    for (const std::string& Name : Names) {
        auto Entry = FirstOfKey.emplace(AnsiSameTextKey(Name), Name).first;
        EXPECT_TRUE(AnsiSameText(Entry->second, Name)) << Name << " and " << Entry->second;
    }
    // ...and the same texts share a key: equal names sit side by side in AnsiCompareText order.
    std::sort(Names.begin(), Names.end(),
              [](const std::string& A, const std::string& B) { return AnsiCompareText(A, B) < 0; });
    for (std::size_t i = 1; i < Names.size(); ++i)
        if (AnsiSameText(Names[i - 1], Names[i])) {
            EXPECT_EQ(AnsiSameTextKey(Names[i - 1]), AnsiSameTextKey(Names[i]))
                << Names[i - 1] << " and " << Names[i];
        }
}
