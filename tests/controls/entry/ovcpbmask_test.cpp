// The picture-mask engine: accepted characters, the literal map, formatting values into masks
// and stripping them again, edit positions and the digit counts of number masks.
#include "controls/entry/ovcpbmask.h"

#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcuser.h"
#include "tests/controls/entry/intlfixture.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class PictureMaskTest : public IntlSettingsTest {
protected:
    TOvcUserData UserData;
};

std::string Chars(std::initializer_list<int> Codes)
{
    std::string S;
    for (int C : Codes)
        S += static_cast<char>(C);
    return S;
}

} // namespace

TEST(PictureMaskChars, AcceptAndCaseConvertByMaskCharacter)
{
    struct TCase {
        char Mask;
        char In;
        char Prev;
        bool Accepted;
        char Out;
    };
    const std::vector<TCase> Cases = {
        {'X', '%', ' ', true, '%'},        {'!', 'q', 'a', true, 'Q'},
        {'L', 'Q', 'a', true, 'q'},        {'x', 'q', ' ', true, 'Q'},
        {'x', 'q', '-', true, 'Q'},        {'x', 'q', 'a', true, 'q'},
        {'a', '1', ' ', false, '1'},       {'a', 'z', ' ', true, 'z'},
        {'A', 'z', ' ', true, 'Z'},        {'l', 'Z', ' ', true, 'z'},
        {'a', '\xE9', ' ', true, '\xE9'},  {'A', '\xE9', ' ', true, '\xC9'},
        {'a', '\xD7', ' ', false, '\xD7'}, {'9', '5', ' ', true, '5'},
        {'9', '-', ' ', false, '-'},       {'i', '-', ' ', true, '-'},
        {'i', '.', ' ', false, '.'},       {'#', '.', ' ', true, '.'},
        {'#', 'e', ' ', false, 'e'},       {'E', 'e', ' ', true, 'E'},
        {'E', '+', ' ', true, '+'},        {'K', 'f', ' ', true, 'F'},
        {'K', 'g', ' ', false, 'G'},       {'O', '7', ' ', true, '7'},
        {'O', '8', ' ', false, '8'},       {'b', '1', ' ', true, '1'},
        {'b', '2', ' ', false, '2'},       {'B', 't', ' ', true, 'T'},
        {'B', 'y', ' ', false, 'Y'},       {'Y', 'n', ' ', true, 'N'},
        {'X', '\0', ' ', false, '\0'},     {'1', '\0', ' ', false, '\0'},
        {'1', '\x01', ' ', true, '\x01'},
    };
    const TOvcIntlSup& Intl = OvcIntlSup();
    TOvcUserData UserData;
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::string(1, Case.Mask) + " " + std::string(1, Case.In));
        char C = Case.In;
        EXPECT_EQ(AcceptPictureChar(Case.Mask, C, Case.Prev, Intl, UserData), Case.Accepted);
        EXPECT_EQ(C, Case.Out);
    }
}

TEST(PictureMaskChars, UserSetsTakeTheirCharactersAndCase)
{
    TOvcUserData UserData;
    TCharSet Vowels;
    for (char C : std::string("AEIOU"))
        Vowels.set(static_cast<unsigned char>(C));
    UserData.SetUserCharSet('3', Vowels);
    UserData.SetUserCaseMode('3', mcUpperCase);
    UserData.SetUserCaseMode('4', mcMixedCase);
    const TOvcIntlSup& Intl = OvcIntlSup();
    char C = 'e';
    EXPECT_TRUE(AcceptPictureChar('3', C, ' ', Intl, UserData));
    EXPECT_EQ(C, 'E');
    C = 'b';
    EXPECT_FALSE(AcceptPictureChar('3', C, ' ', Intl, UserData));
    C = 'b';
    EXPECT_TRUE(AcceptPictureChar('4', C, '-', Intl, UserData));
    EXPECT_EQ(C, 'B');
    C = 'b';
    EXPECT_TRUE(AcceptPictureChar('4', C, 'x', Intl, UserData));
    EXPECT_EQ(C, 'b');
}

TEST(PictureMaskChars, TheMaskSetAndTheSubstitutionLiterals)
{
    for (char C : std::string("!#123456789ABDEHKLMNOSXYabdhilmnstxy"))
        EXPECT_TRUE(IsPictureMaskChar(C)) << C;
    for (char C : std::string("$,.cCpg-/( 0Zz"))
        EXPECT_FALSE(IsPictureMaskChar(C)) << C;
    EXPECT_FALSE(IsSubstLiteral(static_cast<char>(240)));
    EXPECT_TRUE(IsSubstLiteral(static_cast<char>(241)));
    EXPECT_TRUE(IsSubstLiteral(static_cast<char>(248)));
    EXPECT_FALSE(IsSubstLiteral(static_cast<char>(249)));
}

TEST(PictureMaskLayout, MapsSemiLiteralsEditPositionsAndDigitCounts)
{
    struct TCase {
        std::string Mask;
        int MaxLength;
        std::vector<int> Map;
        int Semi;
        bool AllMask;
        int First;
        int Last;
        int MaxDigits;
        int IntDigits;
        int Decimals;
    };
    const std::vector<TCase> Cases = {
        {"##########", 10, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 0, true, 0, 9, 10, 10, 0},
        {"$##,###.##", 10, {2, 1, 1, 2, 1, 1, 1, 0, 1, 1}, 2, false, 2, 9, 8, 5, 2},
        {"###,###.##C", 11, {1, 1, 1, 2, 1, 1, 1, 0, 1, 1, 0}, 1, false, 1, 9, 9, 6, 2},
        {"(999) 999", 9, {0, 1, 1, 1, 0, 0, 1, 1, 1}, 0, false, 1, 8, 3, 3, 0},
        {"##", 4, {1, 1, 1, 1}, 0, true, 0, 3, 4, 4, 0},
        {"-9", 1, {0}, 0, false, 0, 0, 0, 0, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Mask);
        const TOvcPictureMask Mask(Case.Mask, Case.MaxLength);
        std::vector<int> Map(Mask.LiteralMap().begin(), Mask.LiteralMap().end());
        EXPECT_EQ(Map, Case.Map);
        EXPECT_EQ(Mask.SemiLiteralCount(), Case.Semi);
        EXPECT_EQ(Mask.AllMask(), Case.AllMask);
        EXPECT_EQ(Mask.FirstEditPosition(), Case.First);
        EXPECT_EQ(Mask.LastEditPosition(), Case.Last);
        EXPECT_EQ(Mask.MaxDigits(), Case.MaxDigits);
        EXPECT_EQ(Mask.MaxIntegerDigits(), Case.IntDigits);
        EXPECT_EQ(Mask.Decimals(), Case.Decimals);
    }
}

TEST(PictureMaskLayout, NumericMasksHaveNoSemiLiteralEditPositions)
{
    const TOvcPictureMask Mask("$##,###.##", 10, true);
    EXPECT_EQ(Mask.SemiLiteralCount(), 0);
    EXPECT_EQ(Mask.FirstEditPosition(), 0);
    EXPECT_FALSE(Mask.AllMask());
    EXPECT_EQ(Mask.MaxDigits(), 8);
}

TEST(PictureMaskLayout, DecimalPlacesCountWhenTheMaskHasNoPoint)
{
    const TOvcPictureMask Mask("##########", 10, true, true, 2);
    EXPECT_EQ(Mask.Decimals(), 2);
    EXPECT_EQ(Mask.MaxDigits(), 10);
    EXPECT_EQ(Mask.MaxIntegerDigits(), 7);
}

TEST_F(PictureMaskTest, FormatsValuesIntoMasksAndStripsThemBack)
{
    struct TCase {
        std::string Mask;
        bool German;
        std::string Value;
        std::string Shown;
        std::string Stripped;
    };
    const std::string Euro = " \xE2\x82\xAC";
    const std::vector<TCase> Cases = {
        {"##########", false, "15", "        15", "        15"},
        {"##########", false, "-15", "       -15", "       -15"},
        {"$##,###.##", false, "1234.5", " $1,234.50", " 1234.50"},
        {"$##,###.##", false, "5", "     $5.00", "     5.00"},
        {"$##,###.##", false, "-5", "    -$5.00", "    -5.00"},
        {"$##,###.##", false, "0", "     $0.00", "     0.00"},
        {"###,###.##C", false, "1234.5", "  1,234.50 ", "  1234.50"},
        {"###,###.##", true, "1234.5", "  1.234,50", "  1234.50"},
        {"###,###.##CCCC", true, "-7", "     -7,00" + Euro, "     -7.00"},
        {"ccc####", false, "42", "  $  42", "  42"},
        {"KKKK", false, "00FF", "00FF", "00FF"},
        {"KKKK", false, "FF", "00FF", "00FF"},
        {"OOOO", false, "17", "0017", "0017"},
        {"bbbbbbbb", false, "101", "00000101", "00000101"},
        {"##" + Chars({241}) + "##", false, "7", "  " + Chars({241}) + " 7", "   7"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Mask + " " + Case.Value);
        const TOvcIntlSup Intl =
            Read(Case.German ? TestSupport::German() : TFormatSettings::EnglishUS());
        const TOvcPictureMask Mask(Case.Mask, static_cast<int>(Case.Mask.size()), true);
        const std::string Shown = Mask.FormatIntoMask(Case.Value, false, Intl, UserData);
        EXPECT_EQ(Shown, Case.Shown);
        EXPECT_EQ(Mask.StripLiterals(Shown, Intl), Case.Stripped);
    }
}

TEST_F(PictureMaskTest, SubstitutionLiteralsShowTheirUserCharacter)
{
    const TOvcIntlSup Intl = Read(TFormatSettings::EnglishUS());
    UserData.SetSubstChar(static_cast<char>(242), '/');
    const TOvcPictureMask Mask("99" + Chars({242}) + "99", 5);
    EXPECT_EQ(Mask.FormatIntoMask("1234", false, Intl, UserData), "12/34");
    EXPECT_EQ(Mask.FormatIntoMask("12", true, Intl, UserData), "  /12");
}

TEST_F(PictureMaskTest, TextMasksJustifyAndConvertCase)
{
    const TOvcIntlSup Intl = Read(TFormatSettings::EnglishUS());
    const TOvcPictureMask Phone("(999) 999-9999", 14);
    EXPECT_EQ(Phone.FormatIntoMask("5551234567", false, Intl, UserData), "(555) 123-4567");
    EXPECT_EQ(Phone.StripLiterals("(555) 123-4567", Intl), "5551234567");
    EXPECT_EQ(Phone.StripLiterals("555", Intl), "555");
    const TOvcPictureMask Upper("!!!!", 4);
    EXPECT_EQ(Upper.FormatIntoMask("ab", false, Intl, UserData), "AB  ");
    EXPECT_EQ(Upper.FormatIntoMask("ab", true, Intl, UserData), "  AB");
}

TEST_F(PictureMaskTest, PadCharAndPasswordModeChangeOnlyMaskPositions)
{
    const TOvcPictureMask Mask("99-99", 5);
    EXPECT_EQ(Mask.PadAndMask("1 -2 ", '_', false, '*'), "1_-2_");
    EXPECT_EQ(Mask.PadAndMask("1 -2 ", ' ', true, '*'), "* -* ");
    EXPECT_EQ(Mask.PadAndMask("1 -2 ", '_', true, '#'), "#_-#_");
    EXPECT_TRUE(Mask.IsBlank("  -  "));
    EXPECT_FALSE(Mask.IsBlank("  - 1"));
}

TEST_F(PictureMaskTest, WithoutAPointInTheMaskTheDecimalPointTakesAPosition)
{
    const TOvcIntlSup German = Read(TestSupport::German());
    const TOvcPictureMask Mask("##########", 10, true, true, 2);
    EXPECT_EQ(Mask.FormatIntoMask("-12.5", false, German, UserData), "     -12,5");
    EXPECT_EQ(Mask.StripLiterals("     -12,5", German), "     -12.5");
}
