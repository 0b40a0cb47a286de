// The edit mask language alone: parsing the fields, which characters each position takes with
// its case, the edit and value forms of a text, completeness, and malformed masks.
#include "platform/stdctrls/editmask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace EditMask;

namespace {

TParsedMask Parse(const std::string& Mask)
{
    return ParseMask(Mask, '/', ':');
}

} // namespace

TEST(EditMaskTest, ParsesFieldsLiteralsAndDirectives)
{
    struct TCase {
        const char* Mask;
        const char* Empty; // the edit text with every input blank
        bool SaveLiterals;
        char Blank;
        bool Reverse;
    };
    const std::vector<TCase> Cases = {
        {"!\\(999\\)000-0000;1;_", "(___)___-____", true, '_', true},
        {"(999)000-0000;0;*", "(***)***-****", false, '*', false},
        {"00/00/00", "__/__/__", true, '_', false},
        {"90:00", "__:__", true, '_', false},
        {"\\L\\0_A", "L0 _", true, '_', false},
        {"\\;0;0; ", "; ", false, ' ', false}, // an escaped separator is a literal
        {">LL<ll<>cc", "______", true, '_', false},
        {"", "", true, '_', false},
        {";0;#", "", false, '#', false},
        {"x\\", "x", true, '_', false}, // a trailing escape is dropped
        {"\xE2\x82\xAC"
         "00",
         "\xE2\x82\xAC__", true, '_', false},
        // Bytes that start no character cannot join in the edit text.
        {"\xC9\\\x83", "\xEF\xBF\xBD\xEF\xBF\xBD", true, '_', false},
    };
    for (const TCase& Case : Cases) {
        const TParsedMask Mask = Parse(Case.Mask);
        EXPECT_EQ(EmptyEditText(Mask), Case.Empty) << Case.Mask;
        EXPECT_EQ(Mask.SaveLiterals, Case.SaveLiterals) << Case.Mask;
        EXPECT_EQ(Mask.Reverse, Case.Reverse) << Case.Mask;
        if (Case.Blank != ' ') {
            EXPECT_EQ(Mask.Blank, Case.Blank) << Case.Mask;
        }
    }
    // The separators come from the locale.
    EXPECT_EQ(EmptyEditText(ParseMask("00/00 00:00", '.', '-')), "__.__ __-__");
}

TEST(EditMaskTest, EachPositionTakesItsCharactersWithCaseForced)
{
    struct TCase {
        const char* Mask;
        const char* Ch;
        bool Taken;
        const char* Out;
    };
    const std::vector<TCase> Cases = {
        {"L", "a", true, "a"},   {"L", "5", false, ""},    {"l", "\xC3\xA9", true, "\xC3\xA9"},
        {"A", "7", true, "7"},   {"a", "-", false, ""},    {"C", "-", true, "-"},
        {"c", "\t", false, ""},  {"0", "9", true, "9"},    {"0", "x", false, ""},
        {"9", " ", false, ""},   {"#", "+", true, "+"},    {"#", "-", true, "-"},
        {"#", "e", false, ""},   {">L", "q", true, "Q"},   {"<L", "Q", true, "q"},
        {"><L", "q", true, "q"}, {"<>L", "Q", true, "Q"},  {">c", "\xC3\xA9", true, "\xC3\xA9"},
        {">A", "3", true, "3"},  {"c", "\xC9", false, ""}, {"C", "\x83", false, ""},
    };
    for (const TCase& Case : Cases) {
        const TParsedMask Mask = Parse(Case.Mask);
        ASSERT_EQ(Mask.Positions.size(), 1u) << Case.Mask;
        std::string Out;
        EXPECT_EQ(Accepts(Mask.Positions[0], Case.Ch, Out), Case.Taken)
            << Case.Mask << " " << Case.Ch;
        if (Case.Taken) {
            EXPECT_EQ(Out, Case.Out) << Case.Mask << " " << Case.Ch;
        }
    }
    // A literal takes nothing, not even itself.
    std::string Out;
    EXPECT_FALSE(Accepts(Parse("\\0").Positions[0], "0", Out));
}

TEST(EditMaskTest, FormatMaskTextLaysTheValueIntoTheMask)
{
    struct TCase {
        const char* Mask;
        const char* Value;
        const char* Formatted;
    };
    const std::vector<TCase> Cases = {
        {"(999)000-0000;0;_", "5551234567", "(555)123-4567"},
        {"(999)000-0000;0;_", "555123", "(555)123-    "},
        {"(999)000-0000;1;_", "(555)123-4567", "(555)123-4567"},
        {"(999)000-0000;1;_", "(5x5)12", "(5 5)12 -    "}, // refused characters stay blank
        {"!999;0;_", "7", "  7"},
        {">LL;0;_", "ab", "AB"},
        {"00;0;_", "123456", "12"},
        {"", "anything", ""},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(FormatMaskText(Case.Mask, Case.Value), Case.Formatted) << Case.Mask;
}

TEST(EditMaskTest, ValueFormDropsUnsavedLiteralsAndBlanks)
{
    struct TCase {
        const char* Mask;
        const char* EditText;
        const char* Value;
        int FirstIncomplete;
    };
    const std::vector<TCase> Cases = {
        {"(999)000-0000;0;_", "(555)12_-____", "55512", 7},
        {"(999)000-0000;1;_", "(555)12_-____", "(555)12 -    ", 7},
        {"(999)000-0000;0;_", "(___)123-4567", "   1234567", -1},
        {"!999;0;_", "__7", "7", -1},
        {"LL;0;_", "a_", "a", 1},
        {"00;0;*", "**", "", 0},
        {"99;0;_", "__", "", -1},
    };
    for (const TCase& Case : Cases) {
        const TParsedMask Mask = Parse(Case.Mask);
        EXPECT_EQ(ValueOf(Mask, Case.EditText), Case.Value) << Case.Mask << " " << Case.EditText;
        EXPECT_EQ(FirstIncomplete(Mask, Case.EditText), Case.FirstIncomplete)
            << Case.Mask << " " << Case.EditText;
    }
}

TEST(EditMaskTest, ConformKeepsLiteralsAndBlanksRefusedCharacters)
{
    const TParsedMask Mask = Parse("(000)>LL;1;_");
    EXPECT_EQ(ConformEditText(Mask, "(12x)ab"), "(12_)AB");
    EXPECT_EQ(ConformEditText(Mask, ""), "(___)__");
    EXPECT_EQ(ConformEditText(Mask, "#99999999999"), "(999)__");
}

TEST(EditMaskTest, MalformedMasksKeepTheLengthOfTheirPositions)
{
    const std::vector<std::string> Masks = {
        "\\",       ";",        ";;", ";;;", "\\;;", "!!!",
        "<<>>",     "\xFF\xFE", "0;", "0;1", "0;1;", std::string("0\0;1;\0", 6),
        "\xE2\x82",
    };
    const std::vector<std::string> Values = {"", "1", "abc", "\xFF\xC3", "(((((("};
    for (const std::string& Text : Masks) {
        const TParsedMask Mask = Parse(Text);
        for (const std::string& Value : Values) {
            const std::string Edit = FormatValue(Mask, Value, Mask.Blank);
            EXPECT_EQ(SplitChars(Edit).size(), Mask.Positions.size()) << Text;
            ValueOf(Mask, Edit);
            FirstIncomplete(Mask, Edit);
        }
    }
}

TEST(EditMaskTest, PastingFillsPositionsPassingMatchingLiteralsAndDroppingRefusals)
{
    const TParsedMask Mask = Parse("(999)000-0000;0;_");
    struct TCase {
        const char* Before;
        int Start;
        int Stop;
        const char* Pasted;
        const char* After;
        int Caret;
        bool Refused;
    };
    const std::vector<TCase> Cases = {
        {"(___)___-____", 1, 1, "5551234567", "(555)123-4567", 13, false},
        {"(___)___-____", 0, 0, "(555)-12", "(555)12_-____", 7, true},
        {"(555)123-4567", 2, 6, "9", "(59_)_23-4567", 3, false},
        {"(555)123-4567", 12, 13, "1234", "(555)123-4561", 13, false},
        {"(555)123-4567", 1, 1, "", "(555)123-4567", 1, false},
    };
    for (const TCase& Case : Cases) {
        int Caret = -1;
        bool Refused = false;
        EXPECT_EQ(PasteInto(Mask, Case.Before, Case.Start, Case.Stop, Case.Pasted, Caret, Refused),
                  Case.After)
            << Case.Pasted;
        EXPECT_EQ(Caret, Case.Caret) << Case.Pasted;
        EXPECT_EQ(Refused, Case.Refused) << Case.Pasted;
    }
}

TEST(EditMaskTest, TypingOverwritesTheNextInputPosition)
{
    const TParsedMask Mask = Parse(">L-0;1;_");
    struct TCase {
        const char* Before;
        int Start;
        int Stop;
        const char* Ch;
        bool Taken;
        const char* After;
        int Caret;
    };
    const std::vector<TCase> Cases = {
        {"_-_", 0, 0, "x", true, "X-_", 1},
        {"X-_", 1, 1, "4", true, "X-4", 3}, // past the literal
        {"X-4", 0, 3, "q", true, "Q-_", 1}, // a wide selection is blanked first
        {"X-4", 0, 1, "5", false, "X-4", -1},
        {"X-4", 3, 3, "5", false, "X-4", -1}, // past the end
    };
    for (const TCase& Case : Cases) {
        std::string Text = Case.Before;
        int Caret = -1;
        EXPECT_EQ(TypeInto(Mask, Text, Case.Start, Case.Stop, Case.Ch, Caret), Case.Taken)
            << Case.Before << " " << Case.Ch;
        EXPECT_EQ(Text, Case.After) << Case.Before << " " << Case.Ch;
        EXPECT_EQ(Caret, Case.Caret) << Case.Before << " " << Case.Ch;
    }
}
