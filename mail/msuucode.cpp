// mail/msuucode.cpp: uuencoded lines.
#include "mail/msuucode.h"

#include "mail/msmime.h"
#include "mail/msutils.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cctype>

namespace {

int UUValue(char C)
{
    // Transports strip trailing blanks and some encoders write a space for 0.
    if (C == ' ' || C == '`')
        return 0;
    if (C > ' ' && C <= '_')
        return C - ' ';
    throw EMessageParserError("Invalid Character");
}

char UUChar(unsigned Value)
{
    return Value == 0 ? '`' : static_cast<char>(' ' + Value);
}

} // namespace

bool IsUUBegin(const std::string& Line)
{
    if (Line.size() <= 8 || UpperCase(Line.substr(0, 5)) != "BEGIN")
        return false;
    const std::string Mode = Trim(Line.substr(5));
    if (Mode.size() < 3)
        return false;
    for (int I = 0; I < 3; ++I)
        if (!std::isdigit(static_cast<unsigned char>(Mode[I])))
            return false;
    return true;
}

std::string UUFileName(const std::string& Line)
{
    // "begin", blanks, the mode, blanks, then the name (a name may hold spaces).
    std::size_t I = std::min<std::size_t>(5, Line.size());
    I = Line.find_first_not_of(" \t", I);
    if (I == std::string::npos)
        return "";
    I = Line.find_first_of(" \t", I);
    if (I == std::string::npos)
        return "";
    I = Line.find_first_not_of(" \t", I);
    if (I == std::string::npos)
        return "";
    if (Line[I] == '"') {
        const std::size_t Close = Line.find('"', I + 1);
        return Close == std::string::npos ? "" : Line.substr(I + 1, Close - I - 1);
    }
    return TrimRight(Line.substr(I));
}

std::string UUDecodeLine(const std::string& Line)
{
    PumpMessages();
    if (Line.empty())
        return "";
    const unsigned Count = static_cast<unsigned>(UUValue(Line[0]));
    std::string Result;
    Result.reserve(Count + 2);
    // Only the characters the count needs are read: a short line stands for zeros, and what
    // some encoders append after the data is not decoded.
    const std::size_t Needed = (Count + 2) / 3 * 4;
    for (std::size_t Group = 0; Group < Needed; Group += 4) {
        unsigned Bits = 0;
        for (std::size_t J = 0; J < 4; ++J) {
            const std::size_t At = 1 + Group + J;
            Bits = Bits << 6 | static_cast<unsigned>(At < Line.size() ? UUValue(Line[At]) : 0);
        }
        Result += static_cast<char>(Bits >> 16);
        Result += static_cast<char>((Bits >> 8) & 0xFF);
        Result += static_cast<char>(Bits & 0xFF);
    }
    Result.resize(Count);
    return Result;
}

std::string UUEncodeLine(const std::string& Data)
{
    PumpMessages();
    const std::size_t Count = std::min<std::size_t>(Data.size(), 45);
    std::string Text;
    for (std::size_t I = 0; I < Count; I += 3) {
        unsigned Bits = static_cast<unsigned char>(Data[I]) << 16;
        if (I + 1 < Count)
            Bits |= static_cast<unsigned char>(Data[I + 1]) << 8;
        if (I + 2 < Count)
            Bits |= static_cast<unsigned char>(Data[I + 2]);
        Text += UUChar(Bits >> 18);
        Text += UUChar((Bits >> 12) & 63);
        Text += UUChar((Bits >> 6) & 63);
        Text += UUChar(Bits & 63);
    }
    Text.resize((Count * 4 + 2) / 3);
    return UUChar(static_cast<unsigned>(Count)) + Text;
}
