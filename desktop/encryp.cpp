// desktop/encryp.cpp: the cipher's byte arithmetic, fixed so that stored texts keep deciphering.
#include "desktop/encryp.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/properties.h"

namespace {

const std::string BuiltInKey = "Zaz Zuv";

const bool Published = [] {
    RegisterEnumeration<TActionType>({"atEncryption", "atDecryption"});
    TPublished<TKessEncryption>()
        .Property("Input", &TKessEncryption::Input, &TKessEncryption::SetInput)
        .Property("Output", &TKessEncryption::Output, &TKessEncryption::SetOutput)
        .Property("Key", &TKessEncryption::Key, &TKessEncryption::SetKey)
        .Property("Action", &TKessEncryption::Action, &TKessEncryption::SetAction);
    return true;
}();

// Walks the key cyclically from its first character.
class TKeyWalk {
public:
    explicit TKeyWalk(const std::string& Key) : FKey(Key.empty() ? BuiltInKey : Key) {}
    unsigned Next()
    {
        const unsigned char C = static_cast<unsigned char>(FKey[FIndex]);
        FIndex = (FIndex + 1) % FKey.size();
        return C;
    }

private:
    const std::string& FKey;
    std::size_t FIndex = 0;
};

void AppendHex(std::string& Out, unsigned Byte)
{
    static const char Digits[] = "0123456789ABCDEF";
    Out += Digits[(Byte >> 4) & 15];
    Out += Digits[Byte & 15];
}

int HexDigit(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}

// The pair at Pos (from 0); a pair cut short by the end of the text is as bad as a wrong digit.
unsigned ReadPair(const std::string& S, std::size_t Pos)
{
    const std::string Pair = S.substr(Pos < S.size() ? Pos : S.size(), 2);
    const int High = Pair.size() == 2 ? HexDigit(Pair[0]) : -1;
    const int Low = Pair.size() == 2 ? HexDigit(Pair[1]) : -1;
    if (High < 0 || Low < 0)
        throw EConvertError("'$" + Pair + "' is not a valid integer value");
    return static_cast<unsigned>(High * 16 + Low);
}

std::string EncipherWithSeed(const std::string& Plain, const std::string& Key, unsigned Seed)
{
    TKeyWalk Walk(Key);
    std::string Result;
    Result.reserve(2 + 2 * Plain.size());
    unsigned S = Seed;
    AppendHex(Result, S);
    for (char C : Plain) {
        S = ((S + static_cast<unsigned char>(C)) % 255) ^ Walk.Next();
        AppendHex(Result, S);
    }
    return Result;
}

} // namespace

TKessEncryption::TKessEncryption(TComponent* AOwner) : TComponent(AOwner)
{
    (void)Published;
}

std::string TKessEncryption::Encipher(const std::string& Plain, const std::string& Key, int Seed)
{
    // Some texts lose a character of code 0 or 255 with some seeds: take the first seed with
    // which the text comes back.
    for (int Tried = 0; Tried < 256; ++Tried) {
        const unsigned S = static_cast<unsigned>(Seed + Tried) & 0xFF;
        std::string Cipher = EncipherWithSeed(Plain, Key, S);
        if (Decipher(Cipher, Key) == Plain)
            return Cipher;
    }
    throw EKessEncryptionError("The text cannot be enciphered: it holds a character of code 0 "
                               "or 255 that would not come back");
}

std::string TKessEncryption::Decipher(const std::string& Cipher, const std::string& Key)
{
    TKeyWalk Walk(Key);
    std::string Result;
    unsigned P = ReadPair(Cipher, 0);
    std::size_t Pos = 2;
    do {
        const unsigned V = ReadPair(Cipher, Pos);
        const unsigned D = V ^ Walk.Next();
        Result += static_cast<char>(P < D ? D - P : D + 255 - P);
        P = V;
        Pos += 2;
    } while (Pos + 1 < Cipher.size());
    return Result;
}

void TKessEncryption::Execute()
{
    if (FInput.empty()) {
        FOutput.clear();
        return;
    }
    if (FAction == atEncryption) {
        Randomize();
        const int Seed = Random(256);
        FOutput = Encipher(FInput, FKey, Seed);
    } else {
        FOutput = Decipher(FInput, FKey);
    }
}
