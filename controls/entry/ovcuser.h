// controls/entry/ovcuser.h: TOvcUserData, the user-defined mask characters '1' to '8' (their
// accepted characters and case) and the characters the substitution literals 241 to 248 show;
// one instance serves the whole program.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <array>
#include <bitset>

using TCharSet = std::bitset<256>;

enum TOvcCaseChange { mcNoChange, mcUpperCase, mcLowerCase, mcMixedCase };

class TOvcUserData : public TObject {
public:
    // Every set accepts 1 to 255, no case change, each literal shows itself.
    TOvcUserData();

    // The set of a mask character '1' to '8'; an empty set for any other.
    TCharSet UserCharSet(char MaskChar) const;
    void SetUserCharSet(char MaskChar, const TCharSet& Value);
    // The case mode of '1' to '8'; mcNoChange for any other.
    TOvcCaseChange UserCaseMode(char MaskChar) const;
    void SetUserCaseMode(char MaskChar, TOvcCaseChange Value);
    // What the literal 241 to 248 shows; 0 for any other character.
    char SubstChar(char Literal) const;
    void SetSubstChar(char Literal, char Value);

private:
    std::array<TCharSet, 8> FUserCharSets;
    std::array<TOvcCaseChange, 8> FUserCaseModes{};
    std::array<char, 8> FSubstChars{};
};

// The program's user mask data.
extern TOvcUserData OvcUserData;
