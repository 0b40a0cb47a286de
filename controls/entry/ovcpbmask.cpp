// controls/entry/ovcpbmask.cpp: the picture-mask engine (see the header).
#include "controls/entry/ovcpbmask.h"

#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcuser.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <array>

namespace {

unsigned char U(char C)
{
    return static_cast<unsigned char>(C);
}

char ToUpperChar(char C)
{
    const std::string S = AnsiUpperCase(std::string(1, C));
    return S.size() == 1 ? S[0] : C;
}

char ToLowerChar(char C)
{
    const std::string S = AnsiLowerCase(std::string(1, C));
    return S.size() == 1 ? S[0] : C;
}

// Built once at start-up from the platform's case tables.
std::array<bool, 256> MakeAlphaSet()
{
    std::array<bool, 256> Set{};
    for (char C : std::string(" ,-."))
        Set[U(C)] = true;
    for (int C = 'A'; C <= 'Z'; ++C)
        Set[static_cast<std::size_t>(C)] = Set[static_cast<std::size_t>(C + 32)] = true;
    for (int B = 128; B < 256; ++B) {
        const char C = static_cast<char>(B);
        if (ToUpperChar(C) != C || ToLowerChar(C) != C)
            Set[static_cast<std::size_t>(B)] = true;
    }
    // Letters without a case partner.
    for (int B : {0xAA, 0xB5, 0xBA, 0xDF})
        Set[static_cast<std::size_t>(B)] = true;
    return Set;
}

const std::array<bool, 256> AlphaSet = MakeAlphaSet();

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

} // namespace

bool IsPictureMaskChar(char C)
{
    static const std::string Set = "!#123456789ABDEHKLMNOSXYabdhilmnstxy";
    return C != 0 && Set.find(C) != std::string::npos;
}

bool IsSubstLiteral(char C)
{
    return U(C) >= 241 && U(C) <= 248;
}

bool IsAlphaSetChar(char C)
{
    return AlphaSet[U(C)];
}

bool AcceptPictureChar(char MaskChar, char& C, char Prev, const TOvcIntlSup& Intl,
                       const TOvcUserData& UserData)
{
    if (C == 0)
        return false;
    const bool AfterBreak = Prev == ' ' || Prev == '-';
    switch (MaskChar) {
    case 'X':
    case 't':
        return true;
    case '!':
        C = ToUpperChar(C);
        return true;
    case 'L':
        C = ToLowerChar(C);
        return true;
    case 'x':
        if (AfterBreak)
            C = ToUpperChar(C);
        return true;
    case 'a':
    case 'n':
        return IsAlphaSetChar(C);
    case 'A':
    case 'N':
        C = ToUpperChar(C);
        return IsAlphaSetChar(C);
    case 'l':
        C = ToLowerChar(C);
        return IsAlphaSetChar(C);
    case '9':
    case 'd':
    case 'm':
    case 'y':
    case 'h':
    case 's':
    case 'D':
    case 'M':
    case 'H':
    case 'S':
        return IsDigit(C) || C == ' ';
    case 'i':
        return IsDigit(C) || C == ' ' || C == '-';
    case '#':
        return IsDigit(C) || C == ' ' || C == '-' || C == '.';
    case 'E':
        C = ToUpperChar(C);
        return IsDigit(C) || C == ' ' || C == '-' || C == '.' || C == '+' || C == 'E';
    case 'K':
        C = ToUpperChar(C);
        return IsDigit(C) || C == ' ' || (C >= 'A' && C <= 'F');
    case 'O':
        return (C >= '0' && C <= '7') || C == ' ';
    case 'b':
        return C == '0' || C == '1' || C == ' ';
    case 'B':
        C = ToUpperChar(C);
        return C == ToUpperChar(Intl.TrueChar()) || C == ToUpperChar(Intl.FalseChar());
    case 'Y':
        C = ToUpperChar(C);
        return C == ToUpperChar(Intl.YesChar()) || C == ToUpperChar(Intl.NoChar());
    default:
        break;
    }
    if (MaskChar >= '1' && MaskChar <= '8') {
        switch (UserData.UserCaseMode(MaskChar)) {
        case mcUpperCase:
            C = ToUpperChar(C);
            break;
        case mcLowerCase:
            C = ToLowerChar(C);
            break;
        case mcMixedCase:
            if (AfterBreak)
                C = ToUpperChar(C);
            break;
        case mcNoChange:
            break;
        }
        return UserData.UserCharSet(MaskChar).test(U(C));
    }
    return false;
}

TOvcPictureMask::TOvcPictureMask(const std::string& Mask, int MaxLength, bool Numeric,
                                 bool FloatType, int DecimalPlaces)
    : FPicture(Mask.substr(0, 255)), FMaxLength(std::clamp(MaxLength, 0, 255)), FNumeric(Numeric),
      FFloatType(FloatType), FDecimalPlaces(DecimalPlaces)
{
    for (char C : FPicture)
        if (C != 'p' && C != 'g')
            FPositions += C;
    Build();
}

char TOvcPictureMask::MaskCharAt(int Pos) const
{
    if (FPositions.empty())
        return 'X';
    return FPositions[static_cast<std::size_t>(
        std::clamp(Pos, 0, static_cast<int>(FPositions.size()) - 1))];
}

Byte TOvcPictureMask::MapAt(int Pos) const
{
    if (Pos < 0 || Pos >= FMaxLength)
        return lmLiteral;
    return FMap[static_cast<std::size_t>(Pos)];
}

void TOvcPictureMask::Build()
{
    FMap.assign(static_cast<std::size_t>(FMaxLength), lmLiteral);
    bool AnyLiteral = false;
    for (int I = 0; I < FMaxLength; ++I) {
        const char M = MaskCharAt(I);
        Byte& Slot = FMap[static_cast<std::size_t>(I)];
        if (IsPictureMaskChar(M)) {
            Slot = lmMask;
        } else if (M == '$' || M == ',') {
            Slot = lmSemiLiteral;
            ++FSemiLiterals;
        } else {
            AnyLiteral = true;
        }
        if (M == '.' && FDotPos < 0)
            FDotPos = I;
    }
    FAllMask = !AnyLiteral && FSemiLiterals == 0;
    // Numeric fields keep the caret at the end: no semi-literal is an edit position there.
    if (FNumeric)
        FSemiLiterals = 0;

    // Digit counts of number masks.
    FDecimals = FDecimalPlaces;
    if (FDotPos >= 0) {
        FDecimals = 0;
        for (int I = FDotPos + 1; I < FMaxLength && FMap[static_cast<std::size_t>(I)] == lmMask;
             ++I)
            ++FDecimals;
    }
    int I = 0;
    while (I < FMaxLength && FMap[static_cast<std::size_t>(I)] != lmMask)
        ++I;
    FMaxDigits = 0;
    for (; I < FMaxLength; ++I) {
        if (FMap[static_cast<std::size_t>(I)] == lmMask)
            ++FMaxDigits;
        else if (MaskCharAt(I) != ',')
            break;
    }
    if (FDotPos >= 0 && FDecimals != 0)
        FMaxDigits += FDecimals + 1;
    FMaxIntDigits = FDecimals != 0 ? FMaxDigits - FDecimals - 1 : FMaxDigits;
}

bool TOvcPictureMask::IsNumberMask() const
{
    return FNumeric || FSemiLiterals > 0 || IsHex() || IsOctal() || IsBinary() || FDotPos >= 0 ||
           FPositions.find_first_of("cC") != std::string::npos;
}

int TOvcPictureMask::FirstEditPosition() const
{
    int Leading = 0;
    if (!FAllMask)
        while (Leading < FMaxLength - 1 && FMap[static_cast<std::size_t>(Leading)] == lmLiteral)
            ++Leading;
    return Leading + FSemiLiterals;
}

int TOvcPictureMask::LastEditPosition() const
{
    if (FAllMask)
        return std::max(FMaxLength - 1, 0);
    for (int I = FMaxLength - 1; I >= 0; --I)
        if (FMap[static_cast<std::size_t>(I)] == lmMask)
            return I;
    return 0;
}

std::string TOvcPictureMask::FormatIntoMask(const std::string& Text, bool RightJustify,
                                            const TOvcIntlSup& Intl,
                                            const TOvcUserData& UserData) const
{
    const std::size_t Len = static_cast<std::size_t>(FMaxLength);
    std::string Out(Len, ' ');
    for (int I = 0; I < FMaxLength; ++I)
        Out[static_cast<std::size_t>(I)] = MaskCharAt(I);

    // Fixed currency runs.
    for (std::size_t I = 0; I < Len;) {
        const char M = Out[I];
        if (M != 'c' && M != 'C') {
            ++I;
            continue;
        }
        std::size_t End = I;
        while (End < Len && Out[End] == M)
            ++End;
        const std::size_t Run = End - I;
        std::string Cur = M == 'c' ? Intl.CurrencyLeft() : Intl.CurrencyRight();
        if (Cur.size() > Run)
            Cur = M == 'c' ? Cur.substr(Cur.size() - Run) : Cur.substr(0, Run);
        std::string Fill(Run, ' ');
        if (M == 'c')
            Fill.replace(Run - Cur.size(), Cur.size(), Cur);
        else
            Fill.replace(0, Cur.size(), Cur);
        Out.replace(I, Run, Fill);
        I = End;
    }

    // Substitution literals show their character.
    auto ShowLiterals = [&]() {
        for (std::size_t I = 0; I < Len; ++I)
            if (MapAt(static_cast<int>(I)) == lmLiteral && IsSubstLiteral(Out[I]))
                Out[I] = UserData.SubstChar(Out[I]);
    };

    if (!IsNumberMask()) {
        std::string S = Text;
        if (FFloatType && S.size() > Len && S.find('.') != std::string::npos) {
            while (!S.empty() && S.back() == '0')
                S.pop_back();
        }
        std::vector<int> Positions;
        for (int I = 0; I < FMaxLength; ++I)
            if (IsMaskPosition(I))
                Positions.push_back(I);
        for (int P : Positions)
            Out[static_cast<std::size_t>(P)] = ' ';
        const std::size_t N = std::min(S.size(), Positions.size());
        for (std::size_t K = 0; K < N; ++K) {
            const std::size_t P = static_cast<std::size_t>(
                RightJustify ? Positions[Positions.size() - N + K] : Positions[K]);
            char C = S[RightJustify ? S.size() - N + K : K];
            AcceptPictureChar(MaskCharAt(static_cast<int>(P)), C, P > 0 ? Out[P - 1] : ' ', Intl,
                              UserData);
            Out[P] = C;
        }
        ShowLiterals();
        if (FFloatType)
            for (int P : Positions)
                if (Out[static_cast<std::size_t>(P)] == '.')
                    Out[static_cast<std::size_t>(P)] = Intl.DecimalChar();
        return Out;
    }

    std::string S = Trim(Text);
    bool Negative = false;
    if (!S.empty() && S[0] == '-') {
        Negative = true;
        S.erase(0, 1);
    }
    // Without a '.' in the mask a decimal point takes a position like a digit.
    const std::size_t Point = FDotPos >= 0 ? S.find('.') : std::string::npos;
    const std::string IntDigits = Point == std::string::npos ? S : S.substr(0, Point);
    const std::string DecDigits = Point == std::string::npos ? std::string() : S.substr(Point + 1);

    // Decimals left to right after the mask's point.
    if (FDotPos >= 0) {
        std::size_t D = 0;
        for (int I = FDotPos + 1; I < FMaxLength; ++I)
            if (IsMaskPosition(I))
                Out[static_cast<std::size_t>(I)] = D < DecDigits.size() ? DecDigits[D++] : '0';
        Out[static_cast<std::size_t>(FDotPos)] = Intl.DecimalChar();
    }

    // The first '$' run and the floating currency text it shows.
    int DollarStart = -1;
    int DollarEnd = -1;
    for (int I = 0; I < FMaxLength; ++I)
        if (MaskCharAt(I) == '$') {
            DollarStart = I;
            DollarEnd = I;
            while (DollarEnd + 1 < FMaxLength && MaskCharAt(DollarEnd + 1) == '$')
                ++DollarEnd;
            break;
        }
    std::string Currency;
    if (DollarStart >= 0) {
        const std::size_t Run = static_cast<std::size_t>(DollarEnd - DollarStart + 1);
        Currency = Intl.CurrencyLeft().substr(0, Run);
    }
    const bool ZeroFill = IsHex() || IsOctal() || IsBinary();
    bool MinusPlaced = !Negative;
    auto Filler = [&]() {
        if (!Currency.empty()) {
            const char C = Currency.back();
            Currency.pop_back();
            return C;
        }
        if (!MinusPlaced) {
            MinusPlaced = true;
            return '-';
        }
        return ZeroFill ? '0' : ' ';
    };

    std::vector<bool> Removed(Len, false);
    int Next = static_cast<int>(IntDigits.size()) - 1;
    for (int I = (FDotPos >= 0 ? FDotPos : FMaxLength) - 1; I >= 0; --I) {
        const std::size_t P = static_cast<std::size_t>(I);
        const char M = MaskCharAt(I);
        const bool DigitPlace = DollarEnd < 0 || I > DollarEnd;
        if (M == ',') {
            if (Next >= 0 && DigitPlace) {
                if (Intl.CommaChar() == 0)
                    Removed[P] = true;
                else
                    Out[P] = Intl.CommaChar();
            } else {
                Out[P] = Filler();
            }
        } else if (IsMaskPosition(I) || M == '$') {
            if (M != '$' && DigitPlace && Next >= 0) {
                const char D = IntDigits[static_cast<std::size_t>(Next--)];
                Out[P] = D == '.' ? Intl.DecimalChar() : D;
            } else
                Out[P] = Filler();
        }
    }
    ShowLiterals();
    if (FDotPos > 0 && Out[static_cast<std::size_t>(FDotPos - 1)] == ' ')
        Out[static_cast<std::size_t>(FDotPos - 1)] = '0';
    std::size_t Gone = 0;
    for (std::size_t I = Len; I-- > 0;)
        if (Removed[I]) {
            Out.erase(I, 1);
            ++Gone;
        }
    Out.insert(0, Gone, ' ');
    return Out;
}

std::string TOvcPictureMask::StripLiterals(const std::string& Text, const TOvcIntlSup& Intl) const
{
    if (static_cast<int>(Text.size()) != FMaxLength)
        return Text;
    std::string Out;
    for (int I = 0; I < FMaxLength; ++I)
        if (FAllMask || MapAt(I) != lmLiteral || I == FDotPos)
            Out += Text[static_cast<std::size_t>(I)];
    const std::size_t Dollar = FPositions.find('$');
    if (Dollar != std::string::npos) {
        std::size_t Run = 0;
        while (Dollar + Run < FPositions.size() && FPositions[Dollar + Run] == '$')
            ++Run;
        const std::string Cur = Intl.CurrencyLeft().substr(0, Run);
        const std::size_t At = Cur.empty() ? std::string::npos : Out.find(Cur);
        if (At != std::string::npos)
            Out.erase(At, Cur.size());
    }
    if (Intl.CommaChar() != 0)
        Out.erase(std::remove(Out.begin(), Out.end(), Intl.CommaChar()), Out.end());
    std::replace(Out.begin(), Out.end(), Intl.DecimalChar(), '.');
    return Out;
}

std::string TOvcPictureMask::PadAndMask(const std::string& Text, char PadChar, bool Password,
                                        char PasswordChar) const
{
    std::string Out = Text;
    for (std::size_t I = 0; I < Out.size(); ++I) {
        if (!IsMaskPosition(static_cast<int>(I)))
            continue;
        if (Out[I] == ' ')
            Out[I] = PadChar;
        else if (Password)
            Out[I] = PasswordChar;
    }
    return Out;
}

bool TOvcPictureMask::IsBlank(const std::string& Text) const
{
    for (std::size_t I = 0; I < Text.size(); ++I)
        if (IsMaskPosition(static_cast<int>(I)) && Text[I] != ' ')
            return false;
    return true;
}
