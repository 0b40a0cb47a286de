// controls/grid/advgridhtmlparse.cpp: entities, attribute values and colours of grid HTML.
#include "controls/grid/advgridhtmlparse.h"

#include "platform/rtl/strings.h"

#include <array>
#include <climits>
#include <cstring>

namespace AdvGridHtml {

namespace {

struct TEntity {
    const char* Name; // lower case, with "&" and ";"
    char Value;
};

constexpr std::array<TEntity, 4> Entities = {
    {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}}};

bool MatchesAt(const std::string& Text, std::size_t At, const char* Lower)
{
    const std::size_t Len = std::strlen(Lower);
    if (Text.size() - At < Len)
        return false;
    for (std::size_t I = 0; I < Len; ++I) {
        char C = Text[At + I];
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
        if (C != Lower[I])
            return false;
    }
    return true;
}

struct TNamedColor {
    const char* Name;
    TColor Value;
};

constexpr std::array<TNamedColor, 40> NamedColors = {{
    {"clred", 0x0000FF},
    {"clblack", 0},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", SystemColor(1)},
    {"clactivecaption", SystemColor(2)},
    {"clinactivecaption", SystemColor(3)},
    {"clmenu", SystemColor(4)},
    {"clwindow", SystemColor(5)},
    {"clwindowframe", SystemColor(6)},
    {"clmenutext", SystemColor(7)},
    {"clwindowtext", SystemColor(8)},
    {"clcaptiontext", SystemColor(9)},
    {"clactiveborder", SystemColor(10)},
    {"clinactiveborder", SystemColor(11)},
    {"clappworkspace", SystemColor(12)},
    {"clhighlight", SystemColor(13)},
    {"clhighlighttext", SystemColor(14)},
    {"clbtnface", SystemColor(15)},
    {"clbtnshadow", SystemColor(16)},
    {"clgraytext", SystemColor(17)},
    {"clbtntext", SystemColor(18)},
    {"clinactivecaptiontext", SystemColor(19)},
    {"clbtnhighlight", SystemColor(20)},
    {"cl3ddkshadow", SystemColor(21)},
    {"cl3dlight", SystemColor(22)},
    {"clinfotext", SystemColor(23)},
    {"clinfobk", SystemColor(24)},
}};

int HexDigit(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return 0;
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

} // namespace

std::string DecodeEntities(const std::string& Text)
{
    if (Text.find('&') == std::string::npos)
        return Text;
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size();) {
        bool Decoded = false;
        if (Text[I] == '&') {
            for (const TEntity& E : Entities) {
                if (MatchesAt(Text, I, E.Name)) {
                    Result += E.Value;
                    I += std::strlen(E.Name);
                    Decoded = true;
                    break;
                }
            }
        }
        if (!Decoded)
            Result += Text[I++];
    }
    return Result;
}

void UnwrapHashTag(std::string& Text)
{
    const std::size_t Start = Text.find("<#");
    if (Start == std::string::npos)
        return;
    Text.erase(Start, 1);
    const std::size_t Close = Text.find('>', Start);
    if (Close != std::string::npos)
        Text.erase(Close, 1);
}

TColor ColorFromName(const std::string& Name)
{
    const std::string Lower = LowerCase(Name);
    for (const TNamedColor& C : NamedColors)
        if (Lower == C.Name)
            return C.Value;
    return 0;
}

TColor ColorFromHex(const std::string& Value)
{
    const std::size_t Hash = Value.find('#');
    if (Hash == std::string::npos)
        return 0;
    std::array<int, 6> Digits{};
    for (std::size_t I = 0; I < Digits.size() && Hash + 1 + I < Value.size(); ++I)
        Digits[I] = HexDigit(Value[Hash + 1 + I]);
    const int Red = Digits[0] * 16 + Digits[1];
    const int Green = Digits[2] * 16 + Digits[3];
    const int Blue = Digits[4] * 16 + Digits[5];
    return Red + 256 * Green + 65536 * Blue;
}

std::optional<std::string> TagValue(const std::string& Tag, const std::string& Name)
{
    const std::string Upper = UpperCase(Tag);
    for (std::size_t At = Upper.find(Name); At != std::string::npos;
         At = Upper.find(Name, At + 1)) {
        // A whole attribute name: BGCOLOR does not answer for COLOR.
        if (At == 0 || !(IsBlank(Upper[At - 1]) || Upper[At - 1] == '"' || Upper[At - 1] == '\''))
            continue;
        std::size_t I = At + Name.size();
        while (I < Tag.size() && IsBlank(Tag[I]))
            ++I;
        if (I >= Tag.size() || Tag[I] != '=')
            continue;
        ++I;
        while (I < Tag.size() && IsBlank(Tag[I]))
            ++I;
        if (I < Tag.size() && (Tag[I] == '"' || Tag[I] == '\'')) {
            const char Quote = Tag[I];
            const std::size_t End = Tag.find(Quote, I + 1);
            if (End == std::string::npos)
                return Tag.substr(I + 1, Tag.size() - I - 1 - (Tag.back() == '>' ? 1 : 0));
            return Tag.substr(I + 1, End - I - 1);
        }
        std::size_t End = I;
        while (End < Tag.size() && !IsBlank(Tag[End]) && Tag[End] != '>')
            ++End;
        return Tag.substr(I, End - I);
    }
    return std::nullopt;
}

std::optional<int> LeadingInt(const std::string& Text)
{
    std::size_t I = 0;
    while (I < Text.size() && IsBlank(Text[I]))
        ++I;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '-' || Text[I] == '+'))
        Negative = Text[I++] == '-';
    if (I >= Text.size() || Text[I] < '0' || Text[I] > '9')
        return std::nullopt;
    long long Value = 0;
    for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I)
        if (Value <= INT_MAX)
            Value = Value * 10 + (Text[I] - '0');
    if (Value > INT_MAX)
        Value = INT_MAX;
    return static_cast<int>(Negative ? -Value : Value);
}

bool ContainsNoCase(const std::string& Text, const std::string& Upper)
{
    return UpperCase(Text).find(Upper) != std::string::npos;
}

} // namespace AdvGridHtml
