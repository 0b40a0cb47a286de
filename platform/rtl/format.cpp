#include "platform/rtl/format.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <limits>

namespace {

std::string UnsignedText(std::uint64_t Value, unsigned Base, int MinDigits)
{
    char Buf[24];
    int N = 0;
    do {
        Buf[N++] = "0123456789ABCDEF"[Value % Base];
        Value /= Base;
    } while (Value != 0);
    std::string R;
    if (MinDigits > N)
        R.assign(static_cast<std::size_t>(MinDigits - N), '0');
    while (N > 0)
        R += Buf[--N];
    return R;
}

bool IsInteger(const TVarRec& A)
{
    return A.Kind == TVarRec::vtInteger || A.Kind == TVarRec::vtInt64 ||
           A.Kind == TVarRec::vtUnsigned;
}

// The bits of an integer argument as %u and %x show them: negatives wrap at their own width.
std::uint64_t UnsignedBits(const TVarRec& A)
{
    if (A.Kind == TVarRec::vtUnsigned)
        return A.UInt;
    if (A.Kind == TVarRec::vtInteger)
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(A.Int));
    return static_cast<std::uint64_t>(A.Int);
}

class TFormatter {
public:
    TFormatter(const TFormatSettings& ASettings, const std::string& AFmt, const TVarRec* AArgs,
               std::size_t ACount)
        : Settings(ASettings), Fmt(AFmt), Args(AArgs), Count(ACount)
    {
    }

    std::string Run()
    {
        while (I < Fmt.size()) {
            const char C = Fmt[I++];
            if (C != '%') {
                Result += C;
                continue;
            }
            if (I < Fmt.size() && Fmt[I] == '%') {
                Result += '%';
                ++I;
                continue;
            }
            Specifier();
        }
        return Result;
    }

private:
    const TFormatSettings& Settings;
    const std::string& Fmt;
    const TVarRec* Args;
    std::size_t Count;
    std::size_t I = 0;
    std::size_t ArgIndex = 0;
    std::string Result;

    [[noreturn]] void Invalid() const
    {
        throw EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg()
    {
        if (ArgIndex >= Count)
            throw EConvertError("No argument for format '" + Fmt + "'");
        return Args[ArgIndex++];
    }

    char Peek() const
    {
        if (I >= Fmt.size())
            Invalid();
        return Fmt[I];
    }

    // Digits or "*" (taken from the arguments); false when neither stands at I.
    bool Number(int& Value)
    {
        if (Peek() == '*') {
            ++I;
            const TVarRec& A = NextArg();
            if (!IsInteger(A))
                Invalid();
            const bool Fits = A.Kind == TVarRec::vtUnsigned
                                  ? A.UInt <= std::numeric_limits<int>::max()
                                  : A.Int >= std::numeric_limits<int>::min() &&
                                        A.Int <= std::numeric_limits<int>::max();
            if (!Fits)
                Invalid();
            Value =
                A.Kind == TVarRec::vtUnsigned ? static_cast<int>(A.UInt) : static_cast<int>(A.Int);
            return true;
        }
        if (Peek() < '0' || Peek() > '9')
            return false;
        long long V = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            V = V * 10 + (Fmt[I++] - '0');
            if (V > std::numeric_limits<int>::max())
                Invalid();
        }
        Value = static_cast<int>(V);
        return true;
    }

    void Specifier()
    {
        int Width = -1;
        bool HasWidth = Number(Width);
        if (HasWidth && Peek() == ':') {
            ++I;
            if (Width < 0)
                Invalid();
            ArgIndex = static_cast<std::size_t>(Width);
            Width = -1;
            HasWidth = false;
        }
        bool Left = false;
        if (!HasWidth && Peek() == '-') {
            Left = true;
            ++I;
        }
        if (!HasWidth)
            Number(Width);
        int Precision = -1;
        if (Peek() == '.') {
            ++I;
            if (!Number(Precision))
                Precision = 0;
        }
        const char Type = Peek();
        ++I;
        const std::string Text = Convert(Type, NextArg(), Precision);
        const std::size_t Pad =
            Width > 0 && static_cast<std::size_t>(Width) > Text.size() ? Width - Text.size() : 0;
        if (!Left)
            Result.append(Pad, ' ');
        Result += Text;
        if (Left)
            Result.append(Pad, ' ');
    }

    std::string Convert(char Type, const TVarRec& A, int Precision)
    {
        switch (Type) {
        case 'd':
        case 'D': {
            if (!IsInteger(A))
                Invalid();
            const bool Negative = A.Kind != TVarRec::vtUnsigned && A.Int < 0;
            const std::uint64_t Magnitude = A.Kind == TVarRec::vtUnsigned ? A.UInt
                                            : Negative ? std::uint64_t(0) - std::uint64_t(A.Int)
                                                       : std::uint64_t(A.Int);
            return (Negative ? "-" : "") + UnsignedText(Magnitude, 10, Precision);
        }
        case 'u':
        case 'U':
            if (!IsInteger(A))
                Invalid();
            return UnsignedText(UnsignedBits(A), 10, Precision);
        case 'x':
        case 'X':
            if (!IsInteger(A))
                Invalid();
            return UnsignedText(UnsignedBits(A), 16, Precision);
        case 'e':
        case 'E':
            return Float(A, ffExponent, Precision < 0 ? 15 : Precision, 3);
        case 'g':
        case 'G':
            return Float(A, ffGeneral, Precision < 0 ? 15 : Precision, 3);
        case 'f':
        case 'F':
            return Float(A, ffFixed, 18, Precision < 0 ? 2 : Precision);
        case 'n':
        case 'N':
            return Float(A, ffNumber, 18, Precision < 0 ? 2 : Precision);
        case 'm':
        case 'M':
            return Float(A, ffCurrency, 18, Precision < 0 ? Settings.CurrencyDecimals : Precision);
        case 's':
        case 'S': {
            std::string_view S;
            if (A.Kind == TVarRec::vtString)
                S = A.Str;
            else if (A.Kind == TVarRec::vtChar)
                S = std::string_view(&A.Char, 1);
            else
                Invalid();
            if (Precision >= 0 && static_cast<std::size_t>(Precision) < S.size())
                S = S.substr(0, static_cast<std::size_t>(Precision));
            return std::string(S);
        }
        case 'p':
        case 'P':
            if (A.Kind != TVarRec::vtPointer)
                Invalid();
            return UnsignedText(reinterpret_cast<std::uintptr_t>(A.Ptr), 16,
                                static_cast<int>(sizeof(void*) * 2));
        default:
            Invalid();
        }
    }

    std::string Float(const TVarRec& A, TFloatFormat Format, int Precision, int Digits)
    {
        if (A.Kind != TVarRec::vtExtended)
            Invalid();
        return FloatToStrF(A.Float, Format, Precision, Digits, Settings);
    }
};

} // namespace

std::string FormatVarRecs(const TFormatSettings& Settings, const std::string& Fmt,
                          const TVarRec* Args, std::size_t Count)
{
    return TFormatter(Settings, Fmt, Args, Count).Run();
}
