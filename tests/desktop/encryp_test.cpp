#include "desktop/encryp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Transform(TKessEncryption& Cipher, TActionType Action, const std::string& Input)
{
    Cipher.SetInput(Input);
    Cipher.SetAction(Action);
    Cipher.Execute();
    return Cipher.Output();
}

bool IsUpperHex(const std::string& S)
{
    for (char C : S)
        if (!((C >= '0' && C <= '9') || (C >= 'A' && C <= 'F')))
            return false;
    return true;
}

TEST(KessEncryption, AbcBecomesEightHexCharactersAndComesBackOnlyWithItsKey)
{
    TKessEncryption Cipher(nullptr);
    Cipher.SetKey("mupo");
    const std::string Text = Transform(Cipher, atEncryption, "abc");
    EXPECT_EQ(Text.size(), 8u);
    EXPECT_TRUE(IsUpperHex(Text)) << Text;
    EXPECT_EQ(Transform(Cipher, atDecryption, Text), "abc");
    Cipher.SetKey("other");
    EXPECT_NE(Transform(Cipher, atDecryption, Text), "abc");
}

TEST(KessEncryption, FixedSeedGivesTheStoredFormat)
{
    // Seed 0x10, built-in key "Zaz Zuv": ((0x10 + 'a') mod 255) xor 'Z' = 0x71 xor 0x5A = 0x2B,
    // then ((0x2B + 'b') mod 255) xor 'a' = 0x8D xor 0x61 = 0xEC.
    EXPECT_EQ(TKessEncryption::Encipher("ab", "", 0x10), "102BEC");
    EXPECT_EQ(TKessEncryption::Decipher("102BEC", ""), "ab");
    EXPECT_EQ(TKessEncryption::Decipher("102bec", "Zaz Zuv"), "ab");
}

TEST(KessEncryption, TheSameTextTwiceUsuallyDiffersAndBothDecipher)
{
    TKessEncryption Cipher(nullptr);
    std::vector<std::string> Texts;
    // Each encipherment reseeds from the clock (nanoseconds).
    for (int I = 0; I < 8; ++I)
        Texts.push_back(Transform(Cipher, atEncryption, "secret"));
    bool AnyDiffers = false;
    for (const std::string& T : Texts) {
        AnyDiffers = AnyDiffers || T != Texts[0];
        EXPECT_EQ(TKessEncryption::Decipher(T, ""), "secret");
    }
    EXPECT_TRUE(AnyDiffers);
}

TEST(KessEncryption, EveryByteValueComesBackWhateverTheSeed)
{
    // Codes 0 and 255 would come back changed after some seeds; another seed is then taken.
    for (int Code = 0; Code < 256; ++Code)
        for (int Seed : {0, 17, 254, 255}) {
            const std::string Plain =
                std::string("x") + static_cast<char>(Code) + static_cast<char>(255 - Code) + "y";
            const std::string Text = TKessEncryption::Encipher(Plain, "mupo", Seed);
            ASSERT_EQ(Text.size(), 2 + 2 * Plain.size());
            ASSERT_EQ(TKessEncryption::Decipher(Text, "mupo"), Plain) << Code << " " << Seed;
        }
}

TEST(KessEncryption, ATextNoSeedCarriesIsRefusedAndOutputKept)
{
    // A code 0 needs a preceding 255; the seed is the only byte before the first character and
    // is followed by a cipher byte below 255 xor the key, so "\0\0" fits no seed.
    TKessEncryption Cipher(nullptr);
    Cipher.SetOutput("earlier");
    Cipher.SetInput(std::string(2, '\0'));
    Cipher.SetAction(atEncryption);
    EXPECT_THROW(Cipher.Execute(), EKessEncryptionError);
    EXPECT_EQ(Cipher.Output(), "earlier");
}

TEST(KessEncryption, KeysCycleFromTheirFirstCharacter)
{
    // A one-character key is the same as that character repeated; a key longer than the text
    // is used only as far as needed.
    const std::string Plain = "password";
    EXPECT_EQ(TKessEncryption::Encipher(Plain, "k", 7), TKessEncryption::Encipher(Plain, "kkk", 7));
    EXPECT_EQ(TKessEncryption::Encipher("ab", "mu", 7),
              TKessEncryption::Encipher("ab", "mupo and more", 7));
    EXPECT_EQ(TKessEncryption::Encipher(Plain, "", 7),
              TKessEncryption::Encipher(Plain, "Zaz Zuv", 7));
    EXPECT_NE(TKessEncryption::Encipher(Plain, "", 7), TKessEncryption::Encipher(Plain, "Zaz", 7));
}

TEST(KessEncryption, MalformedCipherTextsRaiseNamingThePair)
{
    struct TCase {
        std::string Input;
        std::string Pair; // as the message names it
    };
    const std::vector<TCase> Cases = {
        {"4", "$4"}, {"41", "$"}, {"41A", "$A"}, {"41G0", "$G0"}, {"4 41", "$4 "}, {"-141", "$-1"},
    };
    for (const TCase& Case : Cases) {
        TKessEncryption Cipher(nullptr);
        Cipher.SetOutput("kept");
        Cipher.SetInput(Case.Input);
        Cipher.SetAction(atDecryption);
        try {
            Cipher.Execute();
            ADD_FAILURE() << Case.Input << " deciphered";
        } catch (const EConvertError& E) {
            EXPECT_NE(E.Message().find("'" + Case.Pair + "'"), std::string::npos) << E.Message();
        }
        EXPECT_EQ(Cipher.Output(), "kept");
    }
}

TEST(KessEncryption, AnOddLengthIgnoresTheLastCharacter)
{
    const std::string Text = TKessEncryption::Encipher("ab", "", 3);
    EXPECT_EQ(TKessEncryption::Decipher(Text + "Z", ""), "ab");
}

TEST(KessEncryption, EmptyInputEmptiesOutputInBothDirections)
{
    for (TActionType Action : {atEncryption, atDecryption}) {
        TKessEncryption Cipher(nullptr);
        Cipher.SetOutput("earlier");
        EXPECT_EQ(Transform(Cipher, Action, ""), "");
    }
}

} // namespace
