// controls/entry/ovcefrange.cpp: the raw range limits of entry fields, their conversion from and
// to range texts, the default limits and the data size of each data type.
#include "controls/entry/ovcdate.h"
#include "controls/entry/ovcef.h"
#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcstr.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The storage of the 80-bit float types: the x87 extended format where long double is it.
constexpr bool LongDoubleIsExtended = LDBL_MANT_DIG == 64 && sizeof(long double) >= 10;

bool IsIntegerType(Byte T)
{
    return T >= fidLongInt && T <= fidShortInt;
}

bool IsFloatType(Byte T)
{
    return T >= fidReal && T <= fidComp;
}

// Bits of the integer types' values: 32, 16 or 8.
int IntegerBits(Byte T)
{
    if (T == fidLongInt)
        return 32;
    return T == fidWord || T == fidSmallInt ? 16 : 8;
}

bool InTypeRange(Byte T, std::int64_t V)
{
    switch (T) {
    case fidWord:
        return V >= 0 && V <= 65535;
    case fidSmallInt:
        return V >= -32768 && V <= 32767;
    case fidByte:
        return V >= 0 && V <= 255;
    case fidShortInt:
        return V >= -128 && V <= 127;
    default:
        return true;
    }
}

std::string Trimmed(const std::string& Text)
{
    std::string S = Text;
    TrimSpaces(S);
    return S;
}

// Digits of BitsPerDigit bits each ('0'-'1', '0'-'7', '0'-'F'), Count of them, leading zeros.
std::string DigitText(std::uint32_t Value, int BitsPerDigit, int Count)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result(static_cast<std::size_t>(Count), '0');
    for (int I = Count - 1; I >= 0 && Value != 0; --I) {
        Result[static_cast<std::size_t>(I)] = Hex[Value & ((1u << BitsPerDigit) - 1)];
        Value >>= BitsPerDigit;
    }
    return Result;
}

// Binary or octal digits read into 32 bits; nullopt for another character or an overflow.
std::optional<std::uint32_t> ReadDigits(const std::string& S, int BitsPerDigit)
{
    std::uint64_t N = 0;
    for (char C : S) {
        const int Max = (1 << BitsPerDigit) - 1;
        const int D = C - '0';
        if (D < 0 || D > Max)
            return std::nullopt;
        N = (N << BitsPerDigit) | static_cast<std::uint64_t>(D);
        if (N > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(N);
}

std::optional<std::int32_t> IntegerFromText(const std::string& Text, const std::string& Mask)
{
    std::string S = Trimmed(Text);
    if (S.empty())
        return 0;
    std::optional<std::uint32_t> Bits;
    if (Mask.find('b') != std::string::npos)
        Bits = ReadDigits(S, 1);
    else if (Mask.find('O') != std::string::npos)
        Bits = ReadDigits(S, 3);
    else {
        if (Mask.find('K') != std::string::npos && S[0] != '$')
            S.insert(0, 1, '$');
        std::int32_t V = 0;
        if (!TextToLong(S, V))
            return std::nullopt;
        return V;
    }
    if (!Bits)
        return std::nullopt;
    return static_cast<std::int32_t>(*Bits);
}

// A decimal number: sign, digits with at most one point, an optional exponent.
std::optional<long double> FloatFromText(const std::string& Text, char DecimalChar)
{
    std::string S = Trimmed(Text);
    if (S.empty())
        return 0.0L;
    if (DecimalChar != '.')
        for (char& C : S)
            if (C == DecimalChar)
                C = '.';
    std::size_t I = 0;
    if (S[I] == '+' || S[I] == '-')
        ++I;
    const std::size_t Start = I;
    std::size_t Digits = 0;
    while (I < S.size() && S[I] >= '0' && S[I] <= '9')
        ++I, ++Digits;
    if (I < S.size() && S[I] == '.') {
        ++I;
        while (I < S.size() && S[I] >= '0' && S[I] <= '9')
            ++I, ++Digits;
    }
    if (Digits == 0)
        return std::nullopt;
    if (I < S.size() && (S[I] == 'E' || S[I] == 'e')) {
        ++I;
        if (I < S.size() && (S[I] == '+' || S[I] == '-'))
            ++I;
        const std::size_t ExpStart = I;
        while (I < S.size() && S[I] >= '0' && S[I] <= '9')
            ++I;
        if (I == ExpStart)
            return std::nullopt;
    }
    if (I != S.size())
        return std::nullopt;
    long double V = 0;
    const auto R = std::from_chars(S.data() + Start, S.data() + S.size(), V);
    if (R.ec != std::errc() || R.ptr != S.data() + S.size() || !std::isfinite(V))
        return std::nullopt;
    return S[0] == '-' ? -V : V;
}

// The decimals of a float range text: the mask characters right after the mask's '.', else
// DecimalPlaces.
int MaskDecimals(const std::string& Mask, int DecimalPlaces)
{
    static const std::string MaskChars = "!#123456789ABDEHKLMNOSXYabdhilmnstxy";
    const std::size_t Point = Mask.find('.');
    if (Point == std::string::npos)
        return DecimalPlaces;
    int Count = 0;
    for (std::size_t I = Point + 1; I < Mask.size(); ++I) {
        if (MaskChars.find(Mask[I]) == std::string::npos)
            break;
        ++Count;
    }
    return Count;
}

std::string FixedText(long double V, int Decimals)
{
    const int N = std::snprintf(nullptr, 0, "%.*Lf", Decimals, V);
    if (N <= 0)
        return std::string();
    std::string S(static_cast<std::size_t>(N) + 1, '\0');
    std::snprintf(S.data(), S.size(), "%.*Lf", Decimals, V);
    S.pop_back();
    if (S.find('.') != std::string::npos) {
        while (S.back() == '0')
            S.pop_back();
        if (S.back() == '.')
            S.pop_back();
    }
    return S;
}

// Exponent form of width Width: sign slot, one digit, point, Width - 9 decimals, four exponent
// digits; then blanks, the zeros before the 'E' and the exponent's leading zeros go.
std::string ExponentText(long double V, int Width)
{
    const int Decimals = std::clamp(Width - 9, 1, 17);
    char Buffer[64];
    const int N = std::snprintf(Buffer, sizeof Buffer, "%.*LE", Decimals, V);
    std::string S(Buffer, static_cast<std::size_t>(std::max(N, 0)));
    TrimExponent(S);
    return S;
}

std::string FloatText(long double V, const std::string& Mask, int DecimalPlaces, int MaxLength,
                      char DecimalChar)
{
    const int D = MaskDecimals(Mask, DecimalPlaces);
    std::string S;
    if (Mask.find('E') == std::string::npos)
        S = FixedText(V, D);
    if (S.empty() || static_cast<int>(S.size()) > MaxLength)
        S = ExponentText(V, D == 0 || D + 9 >= MaxLength ? MaxLength : D + 9);
    for (char& C : S)
        if (C == '.')
            C = DecimalChar;
    return S;
}

} // namespace

TRangeType TRangeType::FromChar(char C)
{
    TRangeType R;
    R.Bytes[0] = static_cast<Byte>(C);
    return R;
}

TRangeType TRangeType::FromLong(std::int32_t V)
{
    TRangeType R;
    const auto U = static_cast<std::uint32_t>(V);
    for (std::size_t I = 0; I < 4; ++I)
        R.Bytes[I] = static_cast<Byte>(U >> (8 * I));
    return R;
}

TRangeType TRangeType::FromReal(double V)
{
    TRangeType R;
    std::memcpy(R.Bytes.data(), &V, sizeof V);
    return R;
}

TRangeType TRangeType::FromExtended(long double V)
{
    TRangeType R;
    if constexpr (LongDoubleIsExtended)
        std::memcpy(R.Bytes.data(), &V, 10);
    else {
        const double D = static_cast<double>(V);
        std::memcpy(R.Bytes.data(), &D, sizeof D);
    }
    return R;
}

char TRangeType::AsChar() const
{
    return static_cast<char>(Bytes[0]);
}

std::int32_t TRangeType::AsLong() const
{
    std::uint32_t U = 0;
    for (std::size_t I = 0; I < 4; ++I)
        U |= static_cast<std::uint32_t>(Bytes[I]) << (8 * I);
    return static_cast<std::int32_t>(U);
}

double TRangeType::AsReal() const
{
    double V = 0;
    std::memcpy(&V, Bytes.data(), sizeof V);
    return V;
}

long double TRangeType::AsExtended() const
{
    if constexpr (LongDoubleIsExtended) {
        long double V = 0;
        std::memcpy(&V, Bytes.data(), 10);
        return V;
    } else
        return AsReal();
}

std::optional<TRangeType> RangeTextToRaw(Byte DataType, const std::string& Text,
                                         const std::string& Mask, int Epoch,
                                         const TOvcIntlSup& Intl)
{
    const Byte T = DataType & fsubTypeMask;
    if (T == fidChar) {
        if (Text.empty())
            return TRangeType::FromChar(' ');
        if (Text[0] != '#')
            return TRangeType::FromChar(Text[0]);
        std::int32_t Code = 0;
        // A bad code gives a blank rather than failing.
        if (!TextToLong(Text.substr(1, 3), Code) || Code < 0 || Code > 255)
            return TRangeType::FromChar(' ');
        return TRangeType::FromChar(static_cast<char>(Code));
    }
    if (IsIntegerType(T)) {
        const std::optional<std::int32_t> V = IntegerFromText(Text, Mask);
        if (!V || !InTypeRange(T, *V))
            return std::nullopt;
        return TRangeType::FromLong(*V);
    }
    if (IsFloatType(T)) {
        const std::optional<long double> V = FloatFromText(Text, Intl.DecimalChar());
        if (!V)
            return std::nullopt;
        const long double A = std::fabs(*V);
        if (T == fidReal) {
            if (A > DBL_MAX)
                return std::nullopt;
            return TRangeType::FromReal(static_cast<double>(*V));
        }
        if ((T == fidDouble && A > 1.7e308L) || (T == fidSingle && A > 3.4e38L) ||
            (T == fidComp && A > 9.2e18L))
            return std::nullopt;
        return TRangeType::FromExtended(*V);
    }
    if (T == fidDate) {
        const std::string Picture = Intl.DatePicture(true);
        if (Text.size() != Picture.size())
            return std::nullopt;
        const int Day = Intl.DateTextToDayNumber(Picture, Text, Epoch);
        if (Day == OvcDate::BadDate)
            return std::nullopt;
        return TRangeType::FromLong(Day);
    }
    if (T == fidTime) {
        const std::string Picture = Intl.TimePicture(false);
        if (Text.size() != Picture.size())
            return std::nullopt;
        const int Seconds = Intl.TimeTextToSeconds(Picture, Text);
        if (Seconds == OvcDate::BadTime)
            return std::nullopt;
        return TRangeType::FromLong(Seconds);
    }
    return TRangeType{}; // String, Boolean, YesNo: no limits
}

std::string RawToRangeText(Byte DataType, const TRangeType& Raw, const std::string& Mask,
                           int DecimalPlaces, int MaxLength, const TOvcIntlSup& Intl)
{
    const Byte T = DataType & fsubTypeMask;
    if (T == fidChar) {
        const Byte Code = Raw.Bytes[0];
        if (Code > 32)
            return std::string(1, static_cast<char>(Code));
        return "#" + std::to_string(Code);
    }
    if (IsIntegerType(T)) {
        const int Bits = IntegerBits(T);
        std::uint32_t U = static_cast<std::uint32_t>(Raw.AsLong());
        if (Bits < 32)
            U &= (1u << Bits) - 1;
        if (Mask.find('b') != std::string::npos)
            return DigitText(U, 1, Bits);
        if (Mask.find('O') != std::string::npos)
            return DigitText(U, 3, Bits == 32 ? 12 : Bits / 2);
        if (Mask.find('K') != std::string::npos)
            return DigitText(U, 4, Bits / 4);
        return std::to_string(Raw.AsLong());
    }
    if (IsFloatType(T)) {
        const long double V = T == fidReal ? Raw.AsReal() : Raw.AsExtended();
        return FloatText(V, Mask, DecimalPlaces, MaxLength, Intl.DecimalChar());
    }
    if (T == fidDate) {
        const int Day = Raw.AsLong();
        return Day == OvcDate::BadDate
                   ? std::string()
                   : Intl.DayNumberToDateText(Intl.DatePicture(true), Day, false, 0);
    }
    if (T == fidTime) {
        const int Seconds = Raw.AsLong();
        return Seconds == OvcDate::BadTime
                   ? std::string()
                   : Intl.SecondsToTimeText(Intl.TimePicture(false), Seconds, false);
    }
    return std::string();
}

void DefaultRange(Byte DataType, TRangeType& Lo, TRangeType& Hi)
{
    struct TLimits {
        long double Low;
        long double High;
    };
    const Byte T = DataType & fsubTypeMask;
    Lo = Hi = TRangeType{};
    switch (T) {
    case fidChar:
        Lo = Hi = TRangeType::FromChar(' ');
        break;
    case fidLongInt:
        Lo = TRangeType::FromLong(INT32_MIN);
        Hi = TRangeType::FromLong(INT32_MAX);
        break;
    case fidWord:
        Hi = TRangeType::FromLong(65535);
        break;
    case fidSmallInt:
        Lo = TRangeType::FromLong(-32768);
        Hi = TRangeType::FromLong(32767);
        break;
    case fidByte:
        Hi = TRangeType::FromLong(255);
        break;
    case fidShortInt:
        Lo = TRangeType::FromLong(-128);
        Hi = TRangeType::FromLong(127);
        break;
    case fidReal:
        Lo = TRangeType::FromReal(-1.7e38);
        Hi = TRangeType::FromReal(1.7e38);
        break;
    case fidExtended:
    case fidDouble:
    case fidSingle:
    case fidComp: {
        static const TLimits Floats[] = {{-1.1e4932L, 1.1e4932L},
                                         {-1.7e308L, 1.7e308L},
                                         {-3.4e38L, 3.4e38L},
                                         {-9.2e18L, 9.2e18L}};
        const TLimits& L = Floats[T - fidExtended];
        Lo = TRangeType::FromExtended(L.Low);
        Hi = TRangeType::FromExtended(L.High);
        break;
    }
    case fidDate:
        Hi = TRangeType::FromLong(OvcDate::MaxDayNumber);
        break;
    case fidTime:
        Hi = TRangeType::FromLong(86399);
        break;
    default:
        break;
    }
}

Word DataSizeOf(Byte DataType, int MaxLength)
{
    static const Word Sizes[] = {0, 1, 1, 1, 4, 2, 2, 1, 1, 8, 10, 8, 4, 8, 4, 4};
    const Byte T = DataType & fsubTypeMask;
    if (T == fidString)
        return static_cast<Word>(MaxLength + 1);
    return T <= fidLastType ? Sizes[T] : 0;
}
