#include "controls/entry/ovcuser.h"

namespace {

// '1'..'8' as 0..7, else -1.
int UserIndex(char MaskChar)
{
    return MaskChar >= '1' && MaskChar <= '8' ? MaskChar - '1' : -1;
}

// 241..248 as 0..7, else -1.
int SubstIndex(char Literal)
{
    const auto Code = static_cast<unsigned char>(Literal);
    return Code >= 241 && Code <= 248 ? Code - 241 : -1;
}

} // namespace

TOvcUserData OvcUserData;

TOvcUserData::TOvcUserData()
{
    for (TCharSet& Set : FUserCharSets) {
        Set.set();
        Set.reset(0);
    }
    FUserCaseModes.fill(mcNoChange);
    for (std::size_t I = 0; I < FSubstChars.size(); ++I)
        FSubstChars[I] = static_cast<char>(241 + I);
}

TCharSet TOvcUserData::UserCharSet(char MaskChar) const
{
    const int I = UserIndex(MaskChar);
    return I < 0 ? TCharSet() : FUserCharSets[static_cast<std::size_t>(I)];
}

void TOvcUserData::SetUserCharSet(char MaskChar, const TCharSet& Value)
{
    const int I = UserIndex(MaskChar);
    if (I >= 0)
        FUserCharSets[static_cast<std::size_t>(I)] = Value;
}

TOvcCaseChange TOvcUserData::UserCaseMode(char MaskChar) const
{
    const int I = UserIndex(MaskChar);
    return I < 0 ? mcNoChange : FUserCaseModes[static_cast<std::size_t>(I)];
}

void TOvcUserData::SetUserCaseMode(char MaskChar, TOvcCaseChange Value)
{
    const int I = UserIndex(MaskChar);
    if (I >= 0)
        FUserCaseModes[static_cast<std::size_t>(I)] = Value;
}

char TOvcUserData::SubstChar(char Literal) const
{
    const int I = SubstIndex(Literal);
    return I < 0 ? '\0' : FSubstChars[static_cast<std::size_t>(I)];
}

void TOvcUserData::SetSubstChar(char Literal, char Value)
{
    const int I = SubstIndex(Literal);
    if (I >= 0)
        FSubstChars[static_cast<std::size_t>(I)] = Value;
}
