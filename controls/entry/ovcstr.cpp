#include "controls/entry/ovcstr.h"

#include <algorithm>
#include <limits>

namespace {

std::string Digits(std::uint32_t Value, unsigned Bits, int Count)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result(static_cast<std::size_t>(Count), '0');
    const std::uint32_t Mask = (1u << Bits) - 1;
    for (int I = Count - 1; I >= 0; --I) {
        Result[static_cast<std::size_t>(I)] = Hex[Value & Mask];
        Value >>= Bits;
    }
    return Result;
}

void Limit(std::string& Text)
{
    if (Text.size() > MaxOvcText)
        Text.resize(MaxOvcText);
}

int HexDigit(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// The classic Val for a 32-bit integer: leading blanks, a sign, '$' for hexadecimal. Returns the
// 0-based position of the first bad character, or -1 when the whole text is a number.
int ReadLong(const std::string& S, std::int32_t& Value)
{
    std::size_t I = 0;
    while (I < S.size() && S[I] == ' ')
        ++I;
    bool Negative = false;
    if (I < S.size() && (S[I] == '-' || S[I] == '+'))
        Negative = S[I++] == '-';
    const bool IsHex = I < S.size() && S[I] == '$';
    if (IsHex)
        ++I;
    if (I >= S.size())
        return static_cast<int>(I);
    std::uint64_t N = 0;
    const std::uint64_t Limit = IsHex ? 0xFFFFFFFFull : (Negative ? 2147483648ull : 2147483647ull);
    for (; I < S.size(); ++I) {
        const int D = IsHex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
        if (D < 0)
            return static_cast<int>(I);
        N = N * (IsHex ? 16 : 10) + static_cast<std::uint64_t>(D);
        if (N > Limit)
            return static_cast<int>(I);
    }
    const std::uint32_t Bits = static_cast<std::uint32_t>(N);
    Value = static_cast<std::int32_t>(Negative ? 0u - Bits : Bits);
    return -1;
}

} // namespace

std::string HexText32(std::uint32_t Value)
{
    return Digits(Value, 4, 8);
}

std::string HexText16(std::uint16_t Value)
{
    return Digits(Value, 4, 4);
}

std::string OctalText32(std::uint32_t Value)
{
    return Digits(Value, 3, 12);
}

std::string BinaryText32(std::uint32_t Value)
{
    return Digits(Value, 1, 32);
}

bool TextToLong(const std::string& Text, std::int32_t& Value)
{
    if (Text.size() > MaxOvcText) {
        Value = -1;
        return false;
    }
    std::string S = Text;
    TrimTrailingWhite(S);
    const std::size_t Prefix = S.find("0x");
    if (Prefix != std::string::npos)
        S.replace(Prefix, 2, "$");
    std::int32_t Result = 0;
    const int Bad = ReadLong(S, Result);
    Value = Bad < 0 ? Result : Bad;
    return Bad < 0;
}

std::string FillText(char Ch, std::size_t Count)
{
    return std::string(std::min(Count, MaxOvcText), Ch);
}

std::string ExpandTabs(const std::string& Src, int TabSize)
{
    std::string Result;
    if (TabSize <= 0)
        return Result;
    const std::size_t Size = static_cast<std::size_t>(TabSize);
    for (char C : Src) {
        if (Result.size() >= MaxOvcText)
            break;
        if (C == '\t')
            Result.append(Size - Result.size() % Size, ' ');
        else
            Result += C;
    }
    Limit(Result);
    return Result;
}

bool FindChar(const std::string& Text, char Ch, std::size_t& Pos)
{
    const std::size_t Found = Text.find(Ch);
    if (Found == std::string::npos)
        return false;
    Pos = Found;
    return true;
}

bool FindSubText(const std::string& Text, const std::string& Sub, std::size_t& Pos)
{
    if (Sub.empty() || Sub.size() > Text.size())
        return false;
    const std::size_t Found = Text.find(Sub);
    if (Found == std::string::npos)
        return false;
    Pos = Found;
    return true;
}

void InsertCharAt(std::string& Text, char Ch, std::size_t Pos)
{
    InsertChars(Text, Ch, Pos, 1);
}

void DeleteCharAt(std::string& Text, std::size_t Pos)
{
    DeleteSubText(Text, Pos, 1);
}

void InsertChars(std::string& Text, char Ch, std::size_t Pos, std::size_t Count)
{
    InsertSubText(Text, std::string(std::min(Count, MaxOvcText), Ch), Pos);
}

void InsertSubText(std::string& Text, const std::string& Sub, std::size_t Pos)
{
    Limit(Text);
    Text.insert(std::min(Pos, Text.size()), Sub.substr(0, MaxOvcText));
    Limit(Text);
}

void DeleteSubText(std::string& Text, std::size_t Pos, std::size_t Count)
{
    if (Pos < Text.size())
        Text.erase(Pos, Count);
}

std::string CopySubText(const std::string& Src, std::size_t Pos, std::size_t Count)
{
    if (Pos >= Src.size())
        return std::string();
    return Src.substr(Pos, std::min(Count, MaxOvcText));
}

void TrimSpaces(std::string& Text)
{
    const std::size_t First = Text.find_first_not_of(' ');
    if (First == std::string::npos) {
        Text.clear();
        return;
    }
    Text = Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

void TrimTrailingWhite(std::string& Text)
{
    while (!Text.empty() && static_cast<unsigned char>(Text.back()) <= ' ')
        Text.pop_back();
}

void TrimTrailingZeros(std::string& Text)
{
    TrimSpaces(Text);
    while (!Text.empty() && Text.back() == '0')
        Text.pop_back();
    if (!Text.empty() && Text.back() == '.')
        Text.pop_back();
    TrimSpaces(Text);
}

void TrimExponent(std::string& Text)
{
    const std::size_t E = Text.find('E');
    if (E == std::string::npos)
        return;
    std::string Mantissa = Text.substr(0, E);
    std::string Exponent = Text.substr(E + 1);
    // Only a fraction's zeros go: "100E+2" keeps its integer digits.
    if (Mantissa.find('.') != std::string::npos) {
        while (!Mantissa.empty() && Mantissa.back() == '0')
            Mantissa.pop_back();
        if (!Mantissa.empty() && Mantissa.back() == '.')
            Mantissa.pop_back();
    }
    std::string Sign;
    if (!Exponent.empty() && (Exponent[0] == '+' || Exponent[0] == '-')) {
        Sign = Exponent.substr(0, 1);
        Exponent.erase(0, 1);
    }
    const std::size_t FirstDigit = Exponent.find_first_not_of('0');
    if (FirstDigit == std::string::npos) {
        Text = Mantissa;
        return;
    }
    Text = Mantissa + "E" + Sign + Exponent.substr(FirstDigit);
}

char CharUpperOne(char Ch)
{
    return Ch >= 'a' && Ch <= 'z' ? static_cast<char>(Ch - 'a' + 'A') : Ch;
}

char CharLowerOne(char Ch)
{
    return Ch >= 'A' && Ch <= 'Z' ? static_cast<char>(Ch - 'A' + 'a') : Ch;
}

std::uint16_t MaxWord(std::uint16_t A, std::uint16_t B)
{
    return A > B ? A : B;
}

void BuildSkipTable(const std::string& Pattern, TSkipTable& Table)
{
    const std::size_t N = std::min(Pattern.size(), MaxOvcText);
    Table.fill(static_cast<std::uint8_t>(N));
    for (std::size_t I = 0; I + 1 < N; ++I)
        Table[static_cast<unsigned char>(Pattern[I])] = static_cast<std::uint8_t>(N - 1 - I);
}

namespace {

template <typename TFold>
bool Search(const char* Buffer, std::size_t Length, const TSkipTable& Table, std::size_t& Pos,
            const std::string& Pattern, TFold Fold)
{
    const std::size_t N = std::min(Pattern.size(), MaxOvcText);
    if (N == 0 || Buffer == nullptr || N > Length)
        return false;
    if (N == 1) {
        for (std::size_t I = 0; I < Length; ++I)
            if (Fold(Buffer[I]) == Pattern[0]) {
                Pos = I;
                return true;
            }
        return false;
    }
    std::size_t Start = 0;
    while (Start + N <= Length) {
        std::size_t K = N;
        while (K > 0 && Fold(Buffer[Start + K - 1]) == Pattern[K - 1])
            --K;
        if (K == 0) {
            Pos = Start;
            return true;
        }
        const std::size_t Shift = Table[static_cast<unsigned char>(Fold(Buffer[Start + N - 1]))];
        Start += Shift == 0 ? 1 : Shift;
    }
    return false;
}

} // namespace

bool SkipSearch(const char* Buffer, std::size_t Length, const TSkipTable& Table, std::size_t& Pos,
                const std::string& Pattern)
{
    return Search(Buffer, Length, Table, Pos, Pattern, [](char C) { return C; });
}

bool SkipSearchNoCase(const char* Buffer, std::size_t Length, const TSkipTable& Table,
                      std::size_t& Pos, const std::string& Pattern)
{
    return Search(Buffer, Length, Table, Pos, Pattern, CharUpperOne);
}
