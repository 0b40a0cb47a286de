// platform/rtl/format.h: Format, the classic printf-like routine: "%" [index ":"] ["-"] [width]
// ["." precision] type, with the types d u x e f g n m p s and "*" taking a width, precision or
// index from the arguments. Arguments are checked against their specifiers: a mismatch raises
// EConvertError instead of printing garbage.
#pragma once

#include "platform/rtl/formatsettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// One argument of Format, as the caller passed it; strings are viewed, not copied, so a TVarRec
// lives no longer than the call it is made for.
class TVarRec {
public:
    enum TKind { vtInteger, vtInt64, vtUnsigned, vtExtended, vtString, vtChar, vtPointer };

    TVarRec(int V) : Kind(vtInteger), Int(V) {}
    TVarRec(short V) : Kind(vtInteger), Int(V) {}
    TVarRec(signed char V) : Kind(vtInteger), Int(V) {}
    TVarRec(unsigned char V) : Kind(vtInteger), Int(V) {}
    TVarRec(unsigned short V) : Kind(vtInteger), Int(V) {}
    TVarRec(long V) : Kind(vtInt64), Int(V) {}
    TVarRec(long long V) : Kind(vtInt64), Int(V) {}
    TVarRec(unsigned V) : Kind(vtUnsigned), UInt(V) {}
    TVarRec(unsigned long V) : Kind(vtUnsigned), UInt(V) {}
    TVarRec(unsigned long long V) : Kind(vtUnsigned), UInt(V) {}
    TVarRec(float V) : Kind(vtExtended), Float(V) {}
    TVarRec(double V) : Kind(vtExtended), Float(V) {}
    TVarRec(long double V) : Kind(vtExtended), Float(static_cast<double>(V)) {}
    TVarRec(char V) : Kind(vtChar), Char(V) {}
    TVarRec(const char* V) : Kind(vtString), Str(V ? std::string_view(V) : std::string_view()) {}
    TVarRec(const std::string& V) : Kind(vtString), Str(V) {}
    TVarRec(std::string_view V) : Kind(vtString), Str(V) {}
    TVarRec(const void* V) : Kind(vtPointer), Ptr(V) {}
    TVarRec(std::nullptr_t) : Kind(vtPointer) {}
    TVarRec(bool) = delete; // "%d" of a bool is almost always a mistake

    TKind Kind;
    std::int64_t Int = 0;
    std::uint64_t UInt = 0;
    double Float = 0;
    char Char = 0;
    std::string_view Str;
    const void* Ptr = nullptr;
};

// The engine behind every Format overload.
std::string FormatVarRecs(const TFormatSettings& Settings, const std::string& Fmt,
                          const TVarRec* Args, std::size_t Count);

template <class T>
concept TFormatArgument = std::is_constructible_v<TVarRec, const T&>;

template <TFormatArgument... TArgs>
std::string Format(const TFormatSettings& Settings, const std::string& Fmt, const TArgs&... Args)
{
    if constexpr (sizeof...(TArgs) == 0) {
        return FormatVarRecs(Settings, Fmt, nullptr, 0);
    } else {
        const TVarRec Recs[] = {TVarRec(Args)...};
        return FormatVarRecs(Settings, Fmt, Recs, sizeof...(TArgs));
    }
}

template <TFormatArgument... TArgs>
std::string Format(const std::string& Fmt, const TArgs&... Args)
{
    return Format(FormatSettings, Fmt, Args...);
}
