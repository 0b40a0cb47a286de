#include "platform/rtl/strings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// ---- Code points ----------------------------------------------------------------------------

// Upper-case letters First..Last (every Step-th) whose lower case is the letter + Delta.
struct TCaseRange {
    std::int32_t First;
    std::int32_t Last;
    std::int32_t Step;
    std::int32_t Delta;
};

constexpr TCaseRange CaseRanges[] = {
    {0x0041, 0x005A, 1, 32},   // A - Z
    {0x00C0, 0x00D6, 1, 32},   // A grave - O diaeresis
    {0x00D8, 0x00DE, 1, 32},   // O stroke - thorn
    {0x0100, 0x012E, 2, 1},    // A macron - I ogonek
    {0x0132, 0x0136, 2, 1},    // IJ - K cedilla
    {0x0139, 0x0147, 2, 1},    // L acute - N caron
    {0x014A, 0x0176, 2, 1},    // eng - Y circumflex
    {0x0178, 0x0178, 1, -121}, // Y diaeresis
    {0x0179, 0x017D, 2, 1},    // Z acute - Z caron
    {0x0386, 0x0386, 1, 38},   // Greek alpha tonos
    {0x0388, 0x038A, 1, 37},   // epsilon tonos - iota tonos
    {0x038C, 0x038C, 1, 64},   // omicron tonos
    {0x038E, 0x038F, 1, 63},   // upsilon tonos, omega tonos
    {0x0391, 0x03A1, 1, 32},   // alpha - rho
    {0x03A3, 0x03AB, 1, 32},   // sigma - upsilon dialytika
    {0x0400, 0x040F, 1, 80},   // Cyrillic ie grave - dzhe
    {0x0410, 0x042F, 1, 32},   // a - ya
    {0x0460, 0x0480, 2, 1},    // omega - koppa
    {0x048A, 0x04BE, 2, 1},    // short i with tail - abkhasian che with descender
    {0x04C0, 0x04C0, 1, 15},   // palochka
    {0x04C1, 0x04CD, 2, 1},    // zhe with breve - em with tail
    {0x04D0, 0x052E, 2, 1},    // a with breve - el with descender
};

bool InRange(const TCaseRange& R, std::int32_t C)
{
    return C >= R.First && C <= R.Last && (C - R.First) % R.Step == 0;
}

char32_t ToLowerCode(char32_t C)
{
    const auto V = static_cast<std::int32_t>(C);
    if (V == 0x0130) // capital I with dot
        return U'i';
    for (const auto& R : CaseRanges)
        if (InRange(R, V))
            return static_cast<char32_t>(V + R.Delta);
    return C;
}

char32_t ToUpperCode(char32_t C)
{
    const auto V = static_cast<std::int32_t>(C);
    switch (V) {
    case 0x0131: // dotless i
        return U'I';
    case 0x017F: // long s
        return U'S';
    case 0x03C2: // final sigma
        return 0x03A3;
    default:
        break;
    }
    for (const auto& R : CaseRanges)
        if (InRange(R, V - R.Delta))
            return static_cast<char32_t>(V - R.Delta);
    return C;
}

// Case-insensitive key: dotless i stays apart from i, as no other letter folds to it.
char32_t FoldCode(char32_t C)
{
    return C == 0x0131 ? C : ToLowerCode(ToUpperCode(C));
}

// ---- Windows-1252 ---------------------------------------------------------------------------

constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Cp1252ToCode(unsigned char B)
{
    return (B >= 0x80 && B < 0xA0) ? Cp1252High[B - 0x80] : B;
}

struct TByteCase {
    std::array<unsigned char, 256> Upper{};
    std::array<unsigned char, 256> Lower{};
};

constexpr TByteCase MakeCp1252Case()
{
    TByteCase T;
    for (int B = 0; B < 256; ++B) {
        T.Upper[B] = static_cast<unsigned char>(B);
        T.Lower[B] = static_cast<unsigned char>(B);
    }
    auto Pair = [&T](int Up, int Low) {
        T.Lower[Up] = static_cast<unsigned char>(Low);
        T.Upper[Low] = static_cast<unsigned char>(Up);
    };
    for (int B = 'A'; B <= 'Z'; ++B)
        Pair(B, B + 32);
    for (int B = 0xC0; B <= 0xDE; ++B)
        if (B != 0xD7)
            Pair(B, B + 32);
    Pair(0x8A, 0x9A);
    Pair(0x8C, 0x9C);
    Pair(0x8E, 0x9E);
    Pair(0x9F, 0xFF);
    return T;
}

constexpr TByteCase Cp1252Case = MakeCp1252Case();

// ---- UTF-8 ----------------------------------------------------------------------------------

// The code points of S (UTF-8 when valid, Windows-1252 otherwise) with the byte offset at which
// each starts; Offsets may be null.
std::u32string DecodeText(const std::string& S, std::vector<std::size_t>* Offsets)
{
    std::u32string Codes;
    Codes.reserve(S.size());
    if (IsValidUtf8(S)) {
        std::size_t I = 0;
        char32_t Code = 0;
        while (I < S.size()) {
            if (Offsets)
                Offsets->push_back(I);
            DecodeUtf8At(S, I, Code);
            Codes += Code;
        }
    } else {
        for (std::size_t I = 0; I < S.size(); ++I) {
            if (Offsets)
                Offsets->push_back(I);
            Codes += Cp1252ToCode(static_cast<unsigned char>(S[I]));
        }
    }
    if (Offsets)
        Offsets->push_back(S.size());
    return Codes;
}

std::u32string FoldedText(const std::string& S, std::vector<std::size_t>* Offsets = nullptr)
{
    std::u32string Codes = DecodeText(S, Offsets);
    for (auto& C : Codes)
        C = FoldCode(C);
    return Codes;
}

template <class TMapCode>
std::string MapCase(const std::string& S, TMapCode MapCode,
                    const std::array<unsigned char, 256>& MapByte)
{
    std::string Out;
    Out.reserve(S.size());
    if (IsValidUtf8(S)) {
        std::size_t I = 0;
        char32_t Code = 0;
        while (I < S.size()) {
            DecodeUtf8At(S, I, Code);
            AppendUtf8(Out, MapCode(Code));
        }
    } else {
        for (char C : S)
            Out += static_cast<char>(MapByte[static_cast<unsigned char>(C)]);
    }
    return Out;
}

int Sign(int V)
{
    return (V > 0) - (V < 0);
}

int CompareCodes(const std::u32string& A, const std::u32string& B)
{
    const int R = A.compare(B);
    return Sign(R);
}

bool IsBlank(char C)
{
    return static_cast<unsigned char>(C) <= ' ';
}

char AsciiUpper(char C)
{
    return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C;
}

} // namespace

bool DecodeUtf8At(const std::string& S, std::size_t& I, char32_t& Code)
{
    const auto Byte = [&S](std::size_t K) { return static_cast<unsigned char>(S[K]); };
    const unsigned char B0 = Byte(I);
    if (B0 < 0x80) {
        Code = B0;
        ++I;
        return true;
    }
    int Extra;
    char32_t Min;
    if ((B0 & 0xE0) == 0xC0) {
        Extra = 1;
        Code = B0 & 0x1F;
        Min = 0x80;
    } else if ((B0 & 0xF0) == 0xE0) {
        Extra = 2;
        Code = B0 & 0x0F;
        Min = 0x800;
    } else if ((B0 & 0xF8) == 0xF0) {
        Extra = 3;
        Code = B0 & 0x07;
        Min = 0x10000;
    } else {
        return false;
    }
    if (I + Extra >= S.size())
        return false;
    for (int K = 1; K <= Extra; ++K) {
        const unsigned char B = Byte(I + K);
        if ((B & 0xC0) != 0x80)
            return false;
        Code = (Code << 6) | (B & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return false;
    I += Extra + 1;
    return true;
}

bool IsValidUtf8(const std::string& S)
{
    std::size_t I = 0;
    char32_t Code;
    while (I < S.size())
        if (!DecodeUtf8At(S, I, Code))
            return false;
    return true;
}

// ---- Positions ------------------------------------------------------------------------------

int Pos(const std::string& Sub, const std::string& S)
{
    return PosEx(Sub, S, 1);
}

int PosEx(const std::string& Sub, const std::string& S, int Offset)
{
    if (Sub.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size())
        return 0;
    const auto Found = S.find(Sub, static_cast<std::size_t>(Offset) - 1);
    return Found == std::string::npos ? 0 : static_cast<int>(Found) + 1;
}

std::string Copy(const std::string& S, int Index, int Count)
{
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return {};
    return S.substr(static_cast<std::size_t>(Index) - 1, static_cast<std::size_t>(Count));
}

void Delete(std::string& S, int Index, int Count)
{
    if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return;
    S.erase(static_cast<std::size_t>(Index) - 1, static_cast<std::size_t>(Count));
}

void Insert(const std::string& Source, std::string& S, int Index)
{
    std::size_t At = Index < 1 ? 0 : static_cast<std::size_t>(Index) - 1;
    S.insert(std::min(At, S.size()), Source);
}

// ---- Trimming and ASCII case ----------------------------------------------------------------

std::string Trim(const std::string& S)
{
    return TrimLeft(TrimRight(S));
}

std::string TrimLeft(const std::string& S)
{
    std::size_t I = 0;
    while (I < S.size() && IsBlank(S[I]))
        ++I;
    return S.substr(I);
}

std::string TrimRight(const std::string& S)
{
    std::size_t N = S.size();
    while (N > 0 && IsBlank(S[N - 1]))
        --N;
    return S.substr(0, N);
}

std::string UpperCase(const std::string& S)
{
    std::string R = S;
    for (auto& C : R)
        C = AsciiUpper(C);
    return R;
}

std::string LowerCase(const std::string& S)
{
    std::string R = S;
    for (auto& C : R)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C + 32);
    return R;
}

int CompareStr(const std::string& S1, const std::string& S2)
{
    const std::size_t N = std::min(S1.size(), S2.size());
    for (std::size_t I = 0; I < N; ++I) {
        const int D = static_cast<unsigned char>(S1[I]) - static_cast<unsigned char>(S2[I]);
        if (D != 0)
            return D;
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

int CompareText(const std::string& S1, const std::string& S2)
{
    const std::size_t N = std::min(S1.size(), S2.size());
    for (std::size_t I = 0; I < N; ++I) {
        const int D = static_cast<unsigned char>(AsciiUpper(S1[I])) -
                      static_cast<unsigned char>(AsciiUpper(S2[I]));
        if (D != 0)
            return D;
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

bool SameText(const std::string& S1, const std::string& S2)
{
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

// ---- Ansi routines --------------------------------------------------------------------------

std::string AnsiUpperCase(const std::string& S)
{
    return MapCase(S, ToUpperCode, Cp1252Case.Upper);
}

std::string AnsiLowerCase(const std::string& S)
{
    return MapCase(S, ToLowerCode, Cp1252Case.Lower);
}

int AnsiCompareStr(const std::string& S1, const std::string& S2)
{
    return CompareCodes(DecodeText(S1, nullptr), DecodeText(S2, nullptr));
}

int AnsiCompareText(const std::string& S1, const std::string& S2)
{
    return CompareCodes(FoldedText(S1), FoldedText(S2));
}

bool AnsiSameStr(const std::string& S1, const std::string& S2)
{
    return AnsiCompareStr(S1, S2) == 0;
}

bool AnsiSameText(const std::string& S1, const std::string& S2)
{
    return AnsiCompareText(S1, S2) == 0;
}

int AnsiPos(const std::string& Sub, const std::string& S)
{
    return Pos(Sub, S);
}

// ---- Quoting --------------------------------------------------------------------------------

std::string StringOfChar(char C, int Count)
{
    return Count > 0 ? std::string(static_cast<std::size_t>(Count), C) : std::string();
}

std::string QuotedStr(const std::string& S)
{
    return AnsiQuotedStr(S, '\'');
}

std::string AnsiQuotedStr(const std::string& S, char Quote)
{
    std::string R(1, Quote);
    for (char C : S) {
        R += C;
        if (C == Quote)
            R += C;
    }
    R += Quote;
    return R;
}

std::string AnsiExtractQuotedStr(const std::string& S, std::size_t& Index, char Quote)
{
    if (Index >= S.size() || S[Index] != Quote)
        return {};
    std::string R;
    std::size_t I = Index + 1;
    while (I < S.size()) {
        if (S[I] == Quote) {
            ++I;
            if (I >= S.size() || S[I] != Quote)
                break;
        }
        R += S[I++];
    }
    Index = I;
    return R;
}

// ---- Delimiters and line breaks -------------------------------------------------------------

int LastDelimiter(const std::string& Delimiters, const std::string& S)
{
    const auto Found = S.find_last_of(Delimiters);
    return Found == std::string::npos ? 0 : static_cast<int>(Found) + 1;
}

bool IsDelimiter(const std::string& Delimiters, const std::string& S, int Index)
{
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size())
        return false;
    return Delimiters.find(S[static_cast<std::size_t>(Index) - 1]) != std::string::npos;
}

std::string ReplaceLineBreaks(const std::string& S, const std::string& With)
{
    std::string R;
    R.reserve(S.size() + S.size() / 8);
    for (std::size_t I = 0; I < S.size(); ++I) {
        const char C = S[I];
        if (C == '\r' || C == '\n') {
            R += With;
            if (C == '\r' && I + 1 < S.size() && S[I + 1] == '\n')
                ++I;
        } else {
            R += C;
        }
    }
    return R;
}

std::string AdjustLineBreaks(const std::string& S)
{
    return ReplaceLineBreaks(S, "\r\n");
}

// ---- Replacing ------------------------------------------------------------------------------

std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags)
{
    if (OldPattern.empty())
        return S;
    const bool All = (Flags & rfReplaceAll) != 0;
    std::string R;
    if ((Flags & rfIgnoreCase) == 0) {
        std::size_t From = 0;
        for (;;) {
            const auto Found = S.find(OldPattern, From);
            if (Found == std::string::npos)
                break;
            R.append(S, From, Found - From);
            R += NewPattern;
            From = Found + OldPattern.size();
            if (!All)
                break;
        }
        R.append(S, From, std::string::npos);
        return R;
    }
    // Case-insensitive: match folded code points, copy the original bytes between matches.
    std::vector<std::size_t> Offsets;
    const std::u32string Text = FoldedText(S, &Offsets);
    const std::u32string Pattern = FoldedText(OldPattern);
    std::size_t From = 0; // in code points
    for (;;) {
        const auto Found = Text.find(Pattern, From);
        if (Found == std::u32string::npos)
            break;
        R.append(S, Offsets[From], Offsets[Found] - Offsets[From]);
        R += NewPattern;
        From = Found + Pattern.size();
        if (!All)
            break;
    }
    R.append(S, Offsets[From], std::string::npos);
    return R;
}

std::string AnsiSameTextKey(const std::string& Name)
{
    bool Ascii = true;
    for (char C : Name)
        Ascii = Ascii && static_cast<unsigned char>(C) < 0x80;
    if (Ascii) {
        std::string Key = Name;
        for (char& C : Key)
            if (C >= 'A' && C <= 'Z')
                C = static_cast<char>(C + 32);
        return Key;
    }
    // The same code points as UTF-8, whichever way the name spells them.
    std::string Text;
    if (IsValidUtf8(Name)) {
        Text = Name;
    } else {
        for (char C : Name) {
            auto Byte = static_cast<unsigned char>(C);
            AppendUtf8(Text, Cp1252ToCode(Byte));
        }
    }
    // Upper then lower case folds every code point as AnsiCompareText does, except the dotless
    // i, which it keeps apart from i: the runs between dotless i's are folded on their own.
    const std::string DotlessI = "\xC4\xB1";
    std::string Key;
    std::size_t Start = 0;
    for (;;) {
        std::size_t Found = Text.find(DotlessI, Start);
        Key += AnsiLowerCase(AnsiUpperCase(Text.substr(Start, Found - Start)));
        if (Found == std::string::npos)
            return Key;
        Key += DotlessI;
        Start = Found + DotlessI.size();
    }
}

void AppendUtf8(std::string& Out, char32_t C)
{
    if (C < 0x80) {
        Out += static_cast<char>(C);
    } else if (C < 0x800) {
        Out += static_cast<char>(0xC0 | (C >> 6));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        Out += static_cast<char>(0xE0 | (C >> 12));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (C >> 18));
        Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    }
}
