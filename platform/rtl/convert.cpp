#include "platform/rtl/convert.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

namespace {

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// ---- Integers -------------------------------------------------------------------------------

std::string HexText(std::uint64_t Value, int Digits)
{
    char Buf[16];
    int N = 0;
    do {
        Buf[N++] = "0123456789ABCDEF"[Value & 15];
        Value >>= 4;
    } while (Value != 0);
    std::string R;
    if (Digits > N)
        R.assign(static_cast<std::size_t>(Digits - N), '0');
    while (N > 0)
        R += Buf[--N];
    return R;
}

// The classic integer scanner; returns the error position (from 1) or 0.
template <class T>
int ScanInteger(const std::string& S, T& Value)
{
    using U = std::make_unsigned_t<T>;
    const std::size_t N = S.size();
    std::size_t I = 0;
    while (I < N && S[I] == ' ')
        ++I;
    bool Negative = false;
    if (I < N && (S[I] == '-' || S[I] == '+')) {
        Negative = S[I] == '-';
        ++I;
    }
    bool Hex = false;
    if (I < N && (S[I] == '$' || S[I] == 'x' || S[I] == 'X')) {
        Hex = true;
        ++I;
    } else if (I + 1 < N && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
        Hex = true;
        I += 2;
    }
    const U Base = Hex ? 16 : 10;
    // Hexadecimal may use every bit and wraps; decimal stays within the signed range.
    const U Limit = Hex ? std::numeric_limits<U>::max()
                        : static_cast<U>(std::numeric_limits<T>::max()) + (Negative ? 1 : 0);
    U Magnitude = 0;
    auto Signed = [&] { return static_cast<T>(Negative ? U(0) - Magnitude : Magnitude); };
    Value = 0;
    if (I >= N)
        return static_cast<int>(N) + 1;
    for (; I < N; ++I) {
        const int D = Hex ? HexDigitValue(S[I]) : (IsDigit(S[I]) ? S[I] - '0' : -1);
        if (D < 0 || Magnitude > (Limit - static_cast<U>(D)) / Base) {
            Value = Signed();
            return static_cast<int>(I) + 1;
        }
        Magnitude = Magnitude * Base + static_cast<U>(D);
    }
    Value = Signed();
    return 0;
}

[[noreturn]] void InvalidInteger(const std::string& S)
{
    throw EConvertError("'" + S + "' is not a valid integer value");
}

// ---- Decimal digits of a double -------------------------------------------------------------

// |value| = 0.Digits x 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TDecimal {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;
};

void SplitScientific(const char* Begin, const char* End, std::string& Digits, int& Exponent)
{
    const std::string Text(Begin, End);
    const auto E = Text.find('e');
    Digits = Text.substr(0, 1);
    if (E > 2)
        Digits.append(Text, 2, E - 2);
    int Exp = 0;
    const char* ExpBegin = Text.c_str() + E + 1;
    if (*ExpBegin == '+')
        ++ExpBegin;
    std::from_chars(ExpBegin, Text.c_str() + Text.size(), Exp);
    Exponent = Exp + 1;
}

// Rounds |Value| half away from zero to Precision significant digits and at most Decimals
// digits after the decimal point.
TDecimal ToDecimal(double Value, int Precision, int Decimals)
{
    TDecimal R;
    if (Value == 0)
        return R;
    const double A = std::fabs(Value);
    char Buf[64];
    auto Done = std::to_chars(Buf, Buf + sizeof Buf, A, std::chars_format::scientific, 40);
    SplitScientific(Buf, Done.ptr, R.Digits, R.Exponent);
    const long long Keep =
        std::min<long long>(Precision, static_cast<long long>(R.Exponent) + Decimals);
    if (Keep < 0)
        return TDecimal{};
    const auto K = static_cast<std::size_t>(Keep);
    if (K < R.Digits.size()) {
        // A 5 followed by zeros may be a 4999... rounded up by the 41-digit conversion: decide
        // on the exact expansion (a double never needs more than 767 significant digits).
        if (R.Digits[K] == '5' && R.Digits.find_first_not_of('0', K + 1) == std::string::npos) {
            std::vector<char> Exact(840);
            Done = std::to_chars(Exact.data(), Exact.data() + Exact.size(), A,
                                 std::chars_format::scientific, 800);
            SplitScientific(Exact.data(), Done.ptr, R.Digits, R.Exponent);
        }
        const bool Up = R.Digits[K] >= '5';
        R.Digits.resize(K);
        if (Up) {
            std::size_t I = K;
            while (I > 0 && R.Digits[I - 1] == '9')
                R.Digits[--I] = '0';
            if (I == 0) {
                R.Digits.insert(R.Digits.begin(), '1');
                ++R.Exponent;
            } else {
                ++R.Digits[I - 1];
            }
        }
    }
    const auto Last = R.Digits.find_last_not_of('0');
    if (Last == std::string::npos)
        return TDecimal{};
    R.Digits.resize(Last + 1);
    R.Negative = Value < 0;
    return R;
}

bool SpecialText(double Value, std::string& Text)
{
    if (std::isnan(Value))
        Text = "NAN";
    else if (std::isinf(Value))
        Text = Value < 0 ? "-INF" : "INF";
    else
        return false;
    return true;
}

std::string ExponentText(char Letter, int Exponent, bool ForceSign, int MinDigits)
{
    std::string R(1, Letter);
    if (Exponent < 0) {
        R += '-';
        Exponent = -Exponent;
    } else if (ForceSign) {
        R += '+';
    }
    const std::string Digits = std::to_string(Exponent);
    if (static_cast<int>(Digits.size()) < MinDigits)
        R.append(static_cast<std::size_t>(MinDigits) - Digits.size(), '0');
    return R + Digits;
}

std::string GeneralText(const TDecimal& D, int Precision, int ExpDigits, char Sep)
{
    if (D.Digits.empty())
        return "0";
    std::string R = D.Negative ? "-" : "";
    const int Len = static_cast<int>(D.Digits.size());
    if (D.Exponent > Precision || D.Exponent < -3) {
        R += D.Digits[0];
        if (Len > 1) {
            R += Sep;
            R.append(D.Digits, 1, std::string::npos);
        }
        return R + ExponentText('E', D.Exponent - 1, false, ExpDigits);
    }
    if (D.Exponent <= 0) {
        R += '0';
        R += Sep;
        R.append(static_cast<std::size_t>(-D.Exponent), '0');
        return R + D.Digits;
    }
    R.append(D.Digits, 0, static_cast<std::size_t>(std::min(Len, D.Exponent)));
    if (D.Exponent >= Len)
        return R.append(static_cast<std::size_t>(D.Exponent - Len), '0');
    R += Sep;
    return R.append(D.Digits, static_cast<std::size_t>(D.Exponent), std::string::npos);
}

// Separators between groups of three, counted from the right.
std::string GroupThousands(const std::string& Digits, char Sep)
{
    if (Sep == '\0' || Digits.size() <= 3)
        return Digits;
    std::string R;
    for (std::size_t I = 0; I < Digits.size(); ++I) {
        if (I > 0 && (Digits.size() - I) % 3 == 0)
            R += Sep;
        R += Digits[I];
    }
    return R;
}

std::string CurrencyText(const std::string& N, bool Negative, const TFormatSettings& S)
{
    const std::string& C = S.CurrencyString;
    if (!Negative) {
        switch (S.CurrencyFormat) {
        case 1:
            return N + C;
        case 2:
            return C + " " + N;
        case 3:
            return N + " " + C;
        default:
            return C + N;
        }
    }
    switch (S.NegCurrFormat) {
    case 1:
        return "-" + C + N;
    case 2:
        return C + "-" + N;
    case 3:
        return C + N + "-";
    case 4:
        return "(" + N + C + ")";
    case 5:
        return "-" + N + C;
    case 6:
        return N + "-" + C;
    case 7:
        return N + C + "-";
    case 8:
        return "-" + N + " " + C;
    case 9:
        return "-" + C + " " + N;
    case 10:
        return N + " " + C + "-";
    case 11:
        return C + " " + N + "-";
    case 12:
        return C + " -" + N;
    case 13:
        return N + "- " + C;
    case 14:
        return "(" + C + " " + N + ")";
    case 15:
        return "(" + N + " " + C + ")";
    default:
        return "(" + C + N + ")";
    }
}

// ---- Picture formats ------------------------------------------------------------------------

struct TSection {
    std::size_t Begin = 0;
    std::size_t End = 0;
    bool Empty() const { return Begin == End; }
};

// Index just past the quoted literal that starts at F[I], bounded by End.
std::size_t SkipQuoted(const std::string& F, std::size_t I, std::size_t End)
{
    const auto Close = F.find(F[I], I + 1);
    return (Close == std::string::npos || Close >= End) ? End : Close + 1;
}

std::vector<TSection> SplitSections(const std::string& F)
{
    std::vector<TSection> R;
    std::size_t Start = 0;
    std::size_t I = 0;
    while (I < F.size() && R.size() < 2) {
        if (F[I] == '"' || F[I] == '\'') {
            I = SkipQuoted(F, I, F.size());
            continue;
        }
        if (F[I] == ';') {
            R.push_back({Start, I});
            Start = I + 1;
        }
        ++I;
    }
    // The last section ends at a further ";" or at the end.
    std::size_t End = Start;
    while (End < F.size() && F[End] != ';')
        End = (F[End] == '"' || F[End] == '\'') ? SkipQuoted(F, End, F.size()) : End + 1;
    R.push_back({Start, End});
    return R;
}

bool IsExponentAt(const std::string& F, std::size_t I, std::size_t End)
{
    return (F[I] == 'E' || F[I] == 'e') && I + 1 < End && (F[I + 1] == '+' || F[I + 1] == '-');
}

struct TPicture {
    int DigitCount = 0;    // "0" and "#" placeholders
    int DecimalIndex = -1; // placeholders before the decimal point
    int FirstZero = -1;
    int LastZero = -1;
    bool Thousands = false;
    bool Scientific = false;
};

TPicture ScanPicture(const std::string& F, const TSection& S)
{
    TPicture P;
    std::size_t I = S.Begin;
    while (I < S.End) {
        const char C = F[I];
        if (C == '"' || C == '\'') {
            I = SkipQuoted(F, I, S.End);
            continue;
        }
        if (IsExponentAt(F, I, S.End)) {
            P.Scientific = true;
            I += 2;
            while (I < S.End && F[I] == '0')
                ++I;
            continue;
        }
        if (C == '0') {
            if (P.FirstZero < 0)
                P.FirstZero = P.DigitCount;
            P.LastZero = P.DigitCount;
            ++P.DigitCount;
        } else if (C == '#') {
            ++P.DigitCount;
        } else if (C == '.') {
            if (P.DecimalIndex < 0)
                P.DecimalIndex = P.DigitCount;
        } else if (C == ',') {
            P.Thousands = true;
        }
        ++I;
    }
    if (P.DecimalIndex < 0)
        P.DecimalIndex = P.DigitCount;
    return P;
}

TDecimal RoundForPicture(double Value, const TPicture& P)
{
    if (P.Scientific)
        return ToDecimal(Value, std::clamp(P.DigitCount, 1, 18), 9999);
    return ToDecimal(Value, 15, P.DigitCount - P.DecimalIndex);
}

std::string RenderPicture(const std::string& F, const TSection& S, const TPicture& P,
                          const TDecimal& D, bool Minus, const TFormatSettings& Settings)
{
    std::string IntDigits;
    std::string FracDigits;
    int Exponent = 0;
    const int Len = static_cast<int>(D.Digits.size());
    if (!D.Digits.empty()) {
        // Scientific: as many integer digits as there are integer placeholders.
        const int IntCount = P.Scientific ? P.DecimalIndex : std::max(D.Exponent, 0);
        if (P.Scientific)
            Exponent = D.Exponent - P.DecimalIndex;
        IntDigits.assign(D.Digits, 0, static_cast<std::size_t>(std::min(Len, IntCount)));
        IntDigits.append(static_cast<std::size_t>(IntCount - std::min(Len, IntCount)), '0');
        if (!P.Scientific && D.Exponent < 0)
            FracDigits.assign(static_cast<std::size_t>(-D.Exponent), '0');
        if (Len > IntCount)
            FracDigits.append(D.Digits, static_cast<std::size_t>(IntCount), std::string::npos);
    }
    const int ForcedInt =
        (P.FirstZero >= 0 && P.FirstZero < P.DecimalIndex) ? P.DecimalIndex - P.FirstZero : 0;
    if (static_cast<int>(IntDigits.size()) < ForcedInt)
        IntDigits.insert(0, static_cast<std::size_t>(ForcedInt) - IntDigits.size(), '0');
    const std::size_t ForcedFrac = P.LastZero >= P.DecimalIndex
                                       ? static_cast<std::size_t>(P.LastZero - P.DecimalIndex + 1)
                                       : 0;
    while (FracDigits.size() > ForcedFrac && FracDigits.back() == '0')
        FracDigits.pop_back();
    if (FracDigits.size() < ForcedFrac)
        FracDigits.append(ForcedFrac - FracDigits.size(), '0');

    const char ThousandSep = P.Thousands ? Settings.ThousandSeparator : '\0';
    const int IntLen = static_cast<int>(IntDigits.size());
    std::string R = Minus ? "-" : "";
    int NextInt = 0;           // next integer digit to write
    int IntPlace = 0;          // integer placeholders met so far
    std::size_t FracPlace = 0; // fraction placeholders met so far
    bool AnyDigit = false;
    // Writes the integer digits that stand MinPlace or more places left of the point.
    auto WriteInt = [&](int MinPlace) {
        for (; NextInt < IntLen && IntLen - 1 - NextInt >= MinPlace; ++NextInt) {
            R += IntDigits[static_cast<std::size_t>(NextInt)];
            AnyDigit = true;
            const int Place = IntLen - 1 - NextInt;
            if (ThousandSep != '\0' && Place > 0 && Place % 3 == 0)
                R += ThousandSep;
        }
    };
    std::size_t I = S.Begin;
    while (I < S.End) {
        const char C = F[I];
        if (C == '"' || C == '\'') {
            const std::size_t Next = SkipQuoted(F, I, S.End);
            const bool Closed = Next > I + 1 && F[Next - 1] == C;
            R.append(F, I + 1, (Closed ? Next - 1 : Next) - I - 1);
            I = Next;
            continue;
        }
        if (C == '0' || C == '#') {
            if (IntPlace < P.DecimalIndex) {
                WriteInt(P.DecimalIndex - 1 - IntPlace);
                ++IntPlace;
            } else {
                WriteInt(0);
                if (FracPlace < FracDigits.size()) {
                    if (FracPlace == 0)
                        R += Settings.DecimalSeparator;
                    R += FracDigits[FracPlace];
                    AnyDigit = true;
                }
                ++FracPlace;
            }
            ++I;
        } else if (C == '.' || C == ',') {
            ++I;
        } else if (P.Scientific && IsExponentAt(F, I, S.End)) {
            WriteInt(0);
            if (!AnyDigit)
                R += '0';
            const bool ForceSign = F[I + 1] == '+';
            I += 2;
            int Zeros = 0;
            while (I < S.End && F[I] == '0') {
                ++Zeros;
                ++I;
            }
            R += ExponentText(C, Exponent, ForceSign, std::min(Zeros, 4));
        } else {
            R += C;
            ++I;
        }
    }
    return R;
}

// ---- Parsing floating-point text ------------------------------------------------------------

struct TFloatParts {
    bool Negative = false;
    std::string Int;
    std::string Frac;
    bool ExpNegative = false;
    std::string Exp;
};

// Scans S; on failure Bad is the index of the first character that does not fit.
bool ScanFloat(const std::string& S, char Sep, bool TrailingBlanks, TFloatParts& T,
               std::size_t& Bad)
{
    const std::size_t N = S.size();
    std::size_t I = 0;
    while (I < N && S[I] == ' ')
        ++I;
    if (I < N && (S[I] == '+' || S[I] == '-')) {
        T.Negative = S[I] == '-';
        ++I;
    }
    while (I < N && IsDigit(S[I]))
        T.Int += S[I++];
    if (I < N && S[I] == Sep) {
        ++I;
        while (I < N && IsDigit(S[I]))
            T.Frac += S[I++];
    }
    if (T.Int.empty() && T.Frac.empty()) {
        Bad = I;
        return false;
    }
    if (I < N && (S[I] == 'E' || S[I] == 'e')) {
        ++I;
        bool ExpNegative = false;
        if (I < N && (S[I] == '+' || S[I] == '-')) {
            ExpNegative = S[I] == '-';
            ++I;
        }
        std::string Exp;
        while (I < N && IsDigit(S[I]))
            Exp += S[I++];
        if (Exp.empty()) {
            Bad = I;
            return false;
        }
        T.ExpNegative = ExpNegative;
        T.Exp = Exp;
    }
    if (TrailingBlanks)
        while (I < N && S[I] == ' ')
            ++I;
    if (I < N) {
        Bad = I;
        return false;
    }
    return true;
}

// The double nearest the scanned parts; false when it is too large for a double.
bool PartsToDouble(const TFloatParts& T, double& Value)
{
    const std::string Digits = T.Int + T.Frac;
    const auto First = Digits.find_first_not_of('0');
    const double Zero = T.Negative ? -0.0 : 0.0;
    if (First == std::string::npos) {
        Value = Zero;
        return true;
    }
    const auto Last = Digits.find_last_not_of('0');
    long long Exp = 0;
    for (char C : T.Exp)
        Exp = std::min(Exp * 10 + (C - '0'), 1'000'000'000'000LL);
    if (T.ExpNegative)
        Exp = -Exp;
    // value = 0.Digits[First..] x 10^Magnitude
    const long long Magnitude =
        static_cast<long long>(T.Int.size()) - static_cast<long long>(First) + Exp;
    if (Magnitude > 310)
        return false;
    if (Magnitude < -330) {
        Value = Zero;
        return true;
    }
    std::string Normal = T.Negative ? "-" : "";
    Normal += Digits[First];
    if (Last > First) {
        Normal += '.';
        Normal.append(Digits, First + 1, Last - First);
    }
    Normal += 'e';
    Normal += std::to_string(Magnitude - 1);
    double Result = 0;
    const auto Done = std::from_chars(Normal.data(), Normal.data() + Normal.size(), Result);
    if (Done.ec == std::errc::result_out_of_range) {
        if (Magnitude > 0)
            return false;
        Result = Zero;
    }
    Value = Result;
    return true;
}

template <class T>
std::string DecimalText(T Value)
{
    return std::to_string(Value);
}

} // namespace

// ---- Integers -------------------------------------------------------------------------------

std::string IntToStr(int Value)
{
    return DecimalText(Value);
}

std::string IntToStr(long Value)
{
    return DecimalText(Value);
}

std::string IntToStr(long long Value)
{
    return DecimalText(Value);
}

std::string IntToStr(unsigned Value)
{
    return DecimalText(Value);
}

std::string IntToStr(unsigned long Value)
{
    return DecimalText(Value);
}

std::string IntToStr(unsigned long long Value)
{
    return DecimalText(Value);
}

std::string IntToHex(int Value, int Digits)
{
    return HexText(static_cast<unsigned>(Value), Digits);
}

std::string IntToHex(long Value, int Digits)
{
    return HexText(static_cast<unsigned long>(Value), Digits);
}

std::string IntToHex(long long Value, int Digits)
{
    return HexText(static_cast<unsigned long long>(Value), Digits);
}

std::string IntToHex(unsigned Value, int Digits)
{
    return HexText(Value, Digits);
}

std::string IntToHex(unsigned long Value, int Digits)
{
    return HexText(Value, Digits);
}

std::string IntToHex(unsigned long long Value, int Digits)
{
    return HexText(Value, Digits);
}

int StrToInt(const std::string& S)
{
    int Value = 0;
    if (ScanInteger(S, Value) != 0)
        InvalidInteger(S);
    return Value;
}

Int64 StrToInt64(const std::string& S)
{
    Int64 Value = 0;
    if (ScanInteger(S, Value) != 0)
        InvalidInteger(S);
    return Value;
}

int StrToIntDef(const std::string& S, int Default)
{
    int Value = 0;
    return ScanInteger(S, Value) == 0 ? Value : Default;
}

Int64 StrToInt64Def(const std::string& S, Int64 Default)
{
    Int64 Value = 0;
    return ScanInteger(S, Value) == 0 ? Value : Default;
}

bool TryStrToInt(const std::string& S, int& Value)
{
    int Result = 0;
    if (ScanInteger(S, Result) != 0)
        return false;
    Value = Result;
    return true;
}

bool TryStrToInt64(const std::string& S, Int64& Value)
{
    Int64 Result = 0;
    if (ScanInteger(S, Result) != 0)
        return false;
    Value = Result;
    return true;
}

void Val(const std::string& S, int& Value, int& Code)
{
    Code = ScanInteger(S, Value);
}

void Val(const std::string& S, Int64& Value, int& Code)
{
    Code = ScanInteger(S, Value);
}

void Val(const std::string& S, double& Value, int& Code)
{
    TFloatParts Parts;
    std::size_t Bad = 0;
    const bool Ok = ScanFloat(S, '.', false, Parts, Bad);
    double Result = 0;
    const bool Fits = PartsToDouble(Parts, Result);
    Value = Fits ? Result : 0;
    if (!Ok)
        Code = static_cast<int>(Bad) + 1;
    else
        Code = Fits ? 0 : static_cast<int>(S.size()) + 1;
}

// ---- Floating point to text -----------------------------------------------------------------

std::string FloatToStr(double Value)
{
    return FloatToStrF(Value, ffGeneral, 15, 0, FormatSettings);
}

std::string FloatToStr(double Value, const TFormatSettings& Settings)
{
    return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                        const TFormatSettings& Settings)
{
    std::string Special;
    if (SpecialText(Value, Special))
        return Special;
    Precision = std::clamp(Precision, 1, 18);
    const char Sep = Settings.DecimalSeparator;
    if (Format == ffGeneral)
        return GeneralText(ToDecimal(Value, Precision, 9999), Precision, std::clamp(Digits, 0, 4),
                           Sep);
    if (Format == ffExponent) {
        const TDecimal D = ToDecimal(Value, Precision, 9999);
        std::string Mantissa = D.Digits;
        Mantissa.resize(static_cast<std::size_t>(Precision), '0');
        std::string R = D.Negative ? "-" : "";
        R += Mantissa[0];
        if (Precision > 1) {
            R += Sep;
            R.append(Mantissa, 1, std::string::npos);
        }
        const int Exponent = D.Digits.empty() ? 0 : D.Exponent - 1;
        return R + ExponentText('E', Exponent, true, std::clamp(Digits, 0, 4));
    }
    Digits = std::clamp(Digits, 0, 18);
    const TDecimal D = ToDecimal(Value, Precision, Digits);
    if (D.Exponent > Precision)
        return GeneralText(D, Precision, 0, Sep);
    const int Len = static_cast<int>(D.Digits.size());
    std::string Int = "0";
    std::string Frac;
    if (D.Exponent > 0) {
        Int.assign(D.Digits, 0, static_cast<std::size_t>(std::min(Len, D.Exponent)));
        Int.append(static_cast<std::size_t>(D.Exponent - std::min(Len, D.Exponent)), '0');
        if (Len > D.Exponent)
            Frac.assign(D.Digits, static_cast<std::size_t>(D.Exponent), std::string::npos);
    } else if (Len > 0) {
        Frac.assign(static_cast<std::size_t>(-D.Exponent), '0');
        Frac += D.Digits;
    }
    Frac.resize(static_cast<std::size_t>(Digits), '0');
    if (Format != ffFixed)
        Int = GroupThousands(Int, Settings.ThousandSeparator);
    const std::string Number = Digits > 0 ? Int + Sep + Frac : Int;
    if (Format == ffCurrency)
        return CurrencyText(Number, D.Negative, Settings);
    return D.Negative ? "-" + Number : Number;
}

std::string FormatFloat(const std::string& Format, double Value)
{
    return FormatFloat(Format, Value, FormatSettings);
}

std::string FormatFloat(const std::string& Format, double Value, const TFormatSettings& Settings)
{
    std::string Special;
    if (SpecialText(Value, Special))
        return Special;
    if (Format.empty())
        return FloatToStr(Value, Settings);
    const std::vector<TSection> Sections = SplitSections(Format);
    auto Usable = [&Sections](std::size_t K) {
        return K < Sections.size() && !Sections[K].Empty();
    };
    std::size_t Index = Value > 0 ? 0 : (Value < 0 ? 1 : 2);
    if (!Usable(Index))
        Index = 0;
    if (Sections[Index].Empty())
        return FloatToStr(Value, Settings);
    TPicture Picture = ScanPicture(Format, Sections[Index]);
    TDecimal D = RoundForPicture(Value, Picture);
    if (D.Digits.empty() && Index != 2) {
        // Rounded to zero: shown as zero, never as a negative amount.
        const std::size_t Zero = Usable(2) ? 2 : 0;
        if (Zero != Index) {
            Index = Zero;
            Picture = ScanPicture(Format, Sections[Index]);
        }
    }
    if (!Picture.Scientific && D.Exponent > 18)
        return FloatToStr(Value, Settings);
    const bool Minus = D.Negative && Index == 0;
    return RenderPicture(Format, Sections[Index], Picture, D, Minus, Settings);
}

// ---- Text to floating point -----------------------------------------------------------------

double StrToFloat(const std::string& S)
{
    return StrToFloat(S, FormatSettings);
}

double StrToFloat(const std::string& S, const TFormatSettings& Settings)
{
    double Value = 0;
    if (!TextToFloat(S, Value, Settings))
        throw EConvertError("'" + S + "' is not a valid floating point value");
    return Value;
}

bool TextToFloat(const std::string& S, double& Value)
{
    return TextToFloat(S, Value, FormatSettings);
}

bool TextToFloat(const std::string& S, double& Value, const TFormatSettings& Settings)
{
    TFloatParts Parts;
    std::size_t Bad = 0;
    double Result = 0;
    if (!ScanFloat(S, Settings.DecimalSeparator, true, Parts, Bad) || !PartsToDouble(Parts, Result))
        return false;
    Value = Result;
    return true;
}

bool TryStrToFloat(const std::string& S, double& Value)
{
    return TextToFloat(S, Value, FormatSettings);
}

bool TryStrToFloat(const std::string& S, double& Value, const TFormatSettings& Settings)
{
    return TextToFloat(S, Value, Settings);
}

double StrToFloatDef(const std::string& S, double Default)
{
    return StrToFloatDef(S, Default, FormatSettings);
}

double StrToFloatDef(const std::string& S, double Default, const TFormatSettings& Settings)
{
    double Value = 0;
    return TextToFloat(S, Value, Settings) ? Value : Default;
}

// ---- Arithmetic -----------------------------------------------------------------------------

int PercentOf(Int64 Part, Int64 Whole)
{
    if (Whole <= 0)
        return 100;
    // In floating point: Part * 100 overflows for parts near the Int64 range.
    return static_cast<int>(
        std::floor(static_cast<double>(Part) * 100.0 / static_cast<double>(Whole) + 0.5));
}

int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const Int64 Product = static_cast<Int64>(Number) * Numerator;
    const bool Negative = (Product < 0) != (Denominator < 0);
    const auto Magnitude = [](Int64 V) {
        return V < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(V)
                     : static_cast<std::uint64_t>(V);
    };
    const std::uint64_t P = Magnitude(Product);
    const std::uint64_t D = Magnitude(Denominator);
    std::uint64_t Q = P / D;
    if (P % D >= D - P % D) // half or more: away from zero
        ++Q;
    const std::uint64_t Max = Negative ? std::uint64_t(1) << 31 : (std::uint64_t(1) << 31) - 1;
    if (Q > Max)
        return -1;
    return static_cast<int>(Negative ? -static_cast<Int64>(Q) : static_cast<Int64>(Q));
}

Int64 Round(double Value)
{
    constexpr double Limit = 9223372036854775808.0; // 2^63
    if (!(Value >= -Limit && Value < Limit))
        throw EInvalidOp("Invalid floating point operation");
    double Whole = std::floor(Value);
    const double Fraction = Value - Whole;
    if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Whole, 2.0) != 0))
        Whole += 1;
    return static_cast<Int64>(Whole);
}

int HexDigitValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}
