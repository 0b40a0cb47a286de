#include "platform/rtl/formatsettings.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <vector>

namespace {

// C, POSIX and their UTF-8 variants carry no conventions of their own.
bool IsNoLocale(const std::string& Name)
{
    if (Name.empty() || Name == "C" || Name == "POSIX")
        return true;
    return Name.rfind("C.", 0) == 0 || Name.rfind("C@", 0) == 0 || Name.rfind("POSIX.", 0) == 0;
}

// One POSIX locale opened for some categories, its texts converted to UTF-8.
class TLocale {
public:
    TLocale(int CategoryMask, const std::string& Name)
    {
        if (IsNoLocale(Name))
            return;
        // LC_CTYPE tells the character set the texts are in.
        Handle = newlocale(CategoryMask | LC_CTYPE_MASK, Name.c_str(), static_cast<locale_t>(0));
        if (Handle == static_cast<locale_t>(0))
            return;
        const std::string Codeset = nl_langinfo_l(CODESET, Handle);
        if (Codeset != "UTF-8" && Codeset != "utf8") {
            Converter = iconv_open("UTF-8", Codeset.c_str());
            if (Converter == reinterpret_cast<iconv_t>(-1))
                Converter = nullptr;
        }
    }
    ~TLocale()
    {
        if (Converter)
            iconv_close(Converter);
        if (Handle != static_cast<locale_t>(0))
            freelocale(Handle);
    }
    TLocale(const TLocale&) = delete;
    TLocale& operator=(const TLocale&) = delete;

    bool Valid() const { return Handle != static_cast<locale_t>(0); }

    std::string Text(nl_item Item) const
    {
        const char* Raw = nl_langinfo_l(Item, Handle);
        const std::string Value = Raw ? Raw : "";
        return Converter ? ToUtf8(Value) : Value;
    }

    // A one-byte numeric item; CHAR_MAX means the locale leaves it unspecified.
    int Number(nl_item Item) const
    {
        const char* Raw = nl_langinfo_l(Item, Handle);
        return Raw ? static_cast<signed char>(Raw[0]) : CHAR_MAX;
    }

private:
    std::string ToUtf8(const std::string& Value) const
    {
        iconv(Converter, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> In(Value.begin(), Value.end());
        std::string Out(Value.size() * 4 + 4, '\0');
        char* InPtr = In.data();
        std::size_t InLeft = In.size();
        char* OutPtr = Out.data();
        std::size_t OutLeft = Out.size();
        if (iconv(Converter, &InPtr, &InLeft, &OutPtr, &OutLeft) == static_cast<std::size_t>(-1))
            return Value;
        Out.resize(Out.size() - OutLeft);
        return Out;
    }

    locale_t Handle = static_cast<locale_t>(0);
    iconv_t Converter = nullptr;
};

// The first code point of a UTF-8 text, or -1.
long FirstCodePoint(const std::string& Text)
{
    if (Text.empty())
        return -1;
    const auto Lead = static_cast<unsigned char>(Text[0]);
    int Length = Lead < 0x80         ? 1
                 : (Lead >> 5) == 6  ? 2
                 : (Lead >> 4) == 14 ? 3
                 : (Lead >> 3) == 30 ? 4
                                     : 0;
    if (Length == 0 || static_cast<int>(Text.size()) < Length)
        return -1;
    long Code = Length == 1 ? Lead : Lead & (0x7F >> Length);
    for (int I = 1; I < Length; ++I)
        Code = (Code << 6) | (static_cast<unsigned char>(Text[I]) & 0x3F);
    return Code;
}

// A separator as one byte: ASCII as given, the Unicode spaces as a blank, the typographic
// apostrophes as "'", anything else as Fallback.
char SeparatorChar(const std::string& Text, char Fallback)
{
    const long Code = FirstCodePoint(Text);
    if (Code > 0x20 && Code < 0x7F)
        return static_cast<char>(Code);
    switch (Code) {
    case 0x20:
    case 0xA0:
    case 0x2007:
    case 0x2008:
    case 0x2009:
    case 0x200A:
    case 0x202F:
        return ' ';
    case 0x2019:
    case 0x02BC:
        return '\'';
    default:
        return Fallback;
    }
}

// A strftime format split into fields ("%d", with flags) and literal text.
struct TFormatPart {
    bool Field = false;
    char Conversion = '\0';
    bool NoPad = false;
    std::string Literal;
};

void SplitFormat(const TLocale& Locale, const std::string& Format, std::vector<TFormatPart>& Parts,
                 int Depth = 0)
{
    auto AddLiteral = [&](const std::string& Text) {
        if (Parts.empty() || Parts.back().Field)
            Parts.emplace_back();
        Parts.back().Literal += Text;
    };
    for (std::size_t I = 0; I < Format.size(); ++I) {
        if (Format[I] != '%') {
            AddLiteral(std::string(1, Format[I]));
            continue;
        }
        bool NoPad = false;
        ++I;
        while (I < Format.size() && std::strchr("-_0^#", Format[I])) {
            NoPad = NoPad || Format[I] == '-' || Format[I] == '_';
            ++I;
        }
        while (I < Format.size() &&
               ((Format[I] >= '0' && Format[I] <= '9') || Format[I] == 'E' || Format[I] == 'O'))
            ++I;
        if (I >= Format.size())
            break;
        const char C = Format[I];
        const char* Composite = nullptr;
        switch (C) {
        case 'D':
            Composite = "%m/%d/%y";
            break;
        case 'F':
            Composite = "%Y-%m-%d";
            break;
        case 'T':
            Composite = "%H:%M:%S";
            break;
        case 'R':
            Composite = "%H:%M";
            break;
        default:
            break;
        }
        if (Composite) {
            SplitFormat(Locale, Composite, Parts, Depth + 1);
        } else if ((C == 'r' || C == 'x' || C == 'X') && Depth < 2) {
            const std::string Inner = Locale.Text(C == 'r' ? T_FMT_AMPM : C == 'x' ? D_FMT : T_FMT);
            SplitFormat(Locale, Inner, Parts, Depth + 1);
        } else if (C == '%')
            AddLiteral("%");
        else if (C == 'n' || C == 't')
            AddLiteral(" ");
        else if (std::strchr("dembhBaAyYGgCHkIlMSpP", C)) {
            TFormatPart Part;
            Part.Field = true;
            Part.Conversion = C;
            Part.NoPad = NoPad;
            Parts.push_back(Part);
        }
        // other fields (week numbers, time zones...) have no classic token and are dropped
    }
}

bool IsPunctuation(char C)
{
    return C > ' ' && C < 0x7F &&
           !((C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'));
}

// The first punctuation character between two fields, or Fallback.
char FieldSeparator(const std::vector<TFormatPart>& Parts, char Fallback)
{
    for (std::size_t I = 1; I + 1 < Parts.size(); ++I)
        if (!Parts[I].Field)
            for (const char C : Parts[I].Literal)
                if (IsPunctuation(C))
                    return C;
    return Fallback;
}

// Whether every literal is punctuation or blanks, so that the date reads back by its separator.
bool PlainLiterals(const std::vector<TFormatPart>& Parts)
{
    for (const TFormatPart& Part : Parts)
        for (const char C : Part.Literal)
            if (C != ' ' && !IsPunctuation(C))
                return false;
    return true;
}

std::string ToClassicFormat(const std::vector<TFormatPart>& Parts, const TFormatSettings& Settings,
                            bool LongFields = false)
{
    std::string Result;
    bool AfterHour = false;
    for (const TFormatPart& Part : Parts) {
        if (!Part.Field) {
            std::string Letters;
            auto FlushLetters = [&] {
                if (!Letters.empty())
                    Result += '"' + Letters + '"';
                Letters.clear();
            };
            for (const char C : Part.Literal) {
                if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z')) {
                    Letters += C;
                    continue;
                }
                FlushLetters();
                if (C == '"')
                    Result += "'\"'";
                else if (C == '\'')
                    Result += "\"'\"";
                else if ((C == '/' && Settings.DateSeparator != '/') ||
                         (C == ':' && Settings.TimeSeparator != ':'))
                    Result += std::string("'") + C + "'";
                else
                    Result += C;
            }
            FlushLetters();
            continue;
        }
        const bool Short = Part.NoPad || LongFields;
        switch (Part.Conversion) {
        case 'd':
            Result += Short ? "d" : "dd";
            break;
        case 'e':
            Result += "d";
            break;
        case 'm':
            Result += Short ? "M" : "MM";
            break;
        case 'b':
        case 'h':
            Result += "MMM";
            break;
        case 'B':
            Result += "MMMM";
            break;
        case 'a':
            Result += "ddd";
            break;
        case 'A':
            Result += "dddd";
            break;
        case 'y':
        case 'g':
            Result += "yy";
            break;
        case 'Y':
        case 'G':
            Result += "yyyy";
            break;
        case 'H':
        case 'I':
            Result += Part.NoPad ? "h" : "hh";
            break;
        case 'k':
        case 'l':
            Result += "h";
            break;
        case 'M':
            Result += AfterHour ? "mm" : "nn";
            break;
        case 'S':
            Result += "ss";
            break;
        case 'p':
        case 'P':
            Result += "AMPM";
            break;
        default: // %C, the century, has no token of its own
            break;
        }
        AfterHour = std::strchr("HIkl", Part.Conversion) != nullptr;
    }
    return Result;
}

// The time format without its seconds and the separator before them.
std::vector<TFormatPart> WithoutSeconds(std::vector<TFormatPart> Parts)
{
    for (std::size_t I = 0; I < Parts.size(); ++I) {
        if (!Parts[I].Field || Parts[I].Conversion != 'S')
            continue;
        Parts.erase(Parts.begin() + static_cast<std::ptrdiff_t>(I));
        if (I > 0 && !Parts[I - 1].Field) {
            std::string& Before = Parts[I - 1].Literal;
            if (!Before.empty() && IsPunctuation(Before.back()))
                Before.pop_back();
            if (Before.empty())
                Parts.erase(Parts.begin() + static_cast<std::ptrdiff_t>(I - 1));
        }
        break;
    }
    return Parts;
}

void ReadTimeConventions(TFormatSettings& Settings, const std::string& Name)
{
    const TLocale Locale(LC_TIME_MASK, Name);
    if (!Locale.Valid())
        return;
    // Some locales pad names to a width (" 3月"); the names are wanted bare.
    auto BareName = [&](int Item) {
        const std::string Text = Locale.Text(static_cast<nl_item>(Item));
        const std::size_t First = Text.find_first_not_of(' ');
        return First == std::string::npos
                   ? std::string()
                   : Text.substr(First, Text.find_last_not_of(' ') - First + 1);
    };
    for (int I = 0; I < 12; ++I) {
        Settings.LongMonthNames[I] = BareName(MON_1 + I);
        Settings.ShortMonthNames[I] = BareName(ABMON_1 + I);
    }
    for (int I = 0; I < 7; ++I) {
        Settings.LongDayNames[I] = BareName(DAY_1 + I);
        Settings.ShortDayNames[I] = BareName(ABDAY_1 + I);
    }
    Settings.TimeAMString = Locale.Text(AM_STR);
    Settings.TimePMString = Locale.Text(PM_STR);

    std::vector<TFormatPart> DateParts;
    SplitFormat(Locale, Locale.Text(D_FMT), DateParts);
    std::string TimeFormat = Locale.Text(T_FMT);
    if (TimeFormat.empty())
        TimeFormat = Locale.Text(T_FMT_AMPM);
    std::vector<TFormatPart> TimeParts;
    SplitFormat(Locale, TimeFormat, TimeParts);

    Settings.DateSeparator = FieldSeparator(DateParts, '/');
    Settings.TimeSeparator = FieldSeparator(TimeParts, ':');

    // The order of day, month and year decides the derived formats.
    std::string Order;
    for (const TFormatPart& Part : DateParts) {
        const char Which = std::strchr("de", Part.Conversion)     ? 'D'
                           : std::strchr("mbhB", Part.Conversion) ? 'M'
                           : std::strchr("yYgG", Part.Conversion) ? 'Y'
                                                                  : '\0';
        if (Part.Field && Which != '\0' && Order.find(Which) == std::string::npos)
            Order += Which;
    }
    if (Order.size() == 3) {
        const std::string Sep = std::strchr(":'\"", Settings.DateSeparator)
                                    ? "/"
                                    : std::string(1, Settings.DateSeparator);
        if (PlainLiterals(DateParts))
            Settings.ShortDateFormat = ToClassicFormat(DateParts, Settings);
        else // text between the fields ("2024年3月1日") cannot be read back: use the separator
            Settings.ShortDateFormat = Order == "YMD"   ? "yyyy" + Sep + "MM" + Sep + "dd"
                                       : Order == "DMY" ? "dd" + Sep + "MM" + Sep + "yyyy"
                                                        : "MM" + Sep + "dd" + Sep + "yyyy";
        const std::string Dot = Settings.DateSeparator == '.' ? "." : "";
        if (!PlainLiterals(DateParts))
            Settings.LongDateFormat = ToClassicFormat(DateParts, Settings, true);
        else if (Order == "YMD")
            Settings.LongDateFormat = "dddd, yyyy" + Dot + " MMMM d" + Dot;
        else if (Order == "DMY")
            Settings.LongDateFormat = "dddd, d" + Dot + " MMMM yyyy";
        else
            Settings.LongDateFormat = "dddd, MMMM d, yyyy";
    }
    if (TimeParts.empty())
        return;
    if (PlainLiterals(TimeParts)) {
        Settings.LongTimeFormat = ToClassicFormat(TimeParts, Settings);
        Settings.ShortTimeFormat = ToClassicFormat(WithoutSeconds(TimeParts), Settings);
    } else { // "14時07分09秒" cannot be read back: use the separator
        bool Twelve = false;
        for (const TFormatPart& Part : TimeParts)
            Twelve = Twelve || (Part.Field && std::strchr("IlpP", Part.Conversion));
        const std::string Sep = std::strchr("/'\"", Settings.TimeSeparator)
                                    ? ":"
                                    : std::string(1, Settings.TimeSeparator);
        const std::string Marker = Twelve ? " AMPM" : "";
        Settings.LongTimeFormat = "hh" + Sep + "mm" + Sep + "ss" + Marker;
        Settings.ShortTimeFormat = "hh" + Sep + "mm" + Marker;
    }
}

void ReadNumericConventions(TFormatSettings& Settings, const std::string& Name)
{
    const TLocale Locale(LC_NUMERIC_MASK, Name);
    if (!Locale.Valid())
        return;
    Settings.DecimalSeparator = SeparatorChar(Locale.Text(RADIXCHAR), '.');
    // Without a grouping character the one that cannot be mistaken for the decimal point.
    const char Unmistaken = Settings.DecimalSeparator == ',' ? '.' : ',';
    Settings.ThousandSeparator = SeparatorChar(Locale.Text(THOUSEP), ' ');
    if (Locale.Text(THOUSEP).empty() || Settings.ThousandSeparator == Settings.DecimalSeparator)
        Settings.ThousandSeparator = Unmistaken;
    Settings.ListSeparator = Settings.DecimalSeparator == ',' ? ';' : ',';
}

// The classic negative currency format for the POSIX sign position, symbol place and spacing.
unsigned char NegativeCurrencyFormat(bool SymbolFirst, bool Spaced, int SignPosition)
{
    if (SymbolFirst) {
        switch (SignPosition) {
        case 0:
            return Spaced ? 14 : 0; // ($ 1) ($1)
        case 2:
            return Spaced ? 11 : 3; // $ 1- $1-
        case 4:
            return Spaced ? 12 : 2; // $ -1 $-1
        default:
            return Spaced ? 9 : 1; // -$ 1 -$1
        }
    }
    switch (SignPosition) {
    case 0:
        return Spaced ? 15 : 4; // (1 $) (1$)
    case 2:
    case 4:
        return Spaced ? 10 : 7; // 1 $- 1$-
    case 3:
        return Spaced ? 13 : 6; // 1- $ 1-$
    default:
        return Spaced ? 8 : 5; // -1 $ -1$
    }
}

void ReadMonetaryConventions(TFormatSettings& Settings, const std::string& Name)
{
    const TLocale Locale(LC_MONETARY_MASK, Name);
    if (!Locale.Valid())
        return;
    std::string Symbol = Locale.Text(CURRENCY_SYMBOL);
    if (Symbol.empty()) {
        // "-DM" before the amount, "+DM" after it, ".x" in place of the decimal point.
        const std::string Currency = Locale.Text(CRNCYSTR);
        if (Currency.size() > 1)
            Symbol = Currency.substr(1);
    }
    if (Symbol.empty())
        return;
    Settings.CurrencyString = Symbol;
    auto Flag = [&](nl_item Item, int Default) {
        const int Value = Locale.Number(Item);
        return Value == CHAR_MAX || Value < 0 ? Default : Value;
    };
    const bool First = Flag(P_CS_PRECEDES, 1) != 0;
    const bool Spaced = Flag(P_SEP_BY_SPACE, 0) != 0;
    Settings.CurrencyFormat =
        static_cast<unsigned char>(First ? (Spaced ? 2 : 0) : (Spaced ? 3 : 1));
    Settings.NegCurrFormat = NegativeCurrencyFormat(
        Flag(N_CS_PRECEDES, First) != 0, Flag(N_SEP_BY_SPACE, Spaced) != 0, Flag(N_SIGN_POSN, 1));
    const int Digits = Flag(FRAC_DIGITS, 2);
    Settings.CurrencyDecimals = static_cast<unsigned char>(Digits > 18 ? 2 : Digits);
}

// The first non-empty of LC_ALL, the category's variable and LANG.
std::string LocaleNameFor(const char* Category)
{
    for (const char* Variable : {"LC_ALL", Category, "LANG"}) {
        const char* Value = std::getenv(Variable);
        if (Value && *Value)
            return Value;
    }
    return "";
}

} // namespace

TFormatSettings TFormatSettings::EnglishUS()
{
    return TFormatSettings{};
}

TFormatSettings TFormatSettings::FromLocale(const std::string& LocaleName)
{
    TFormatSettings Result = EnglishUS();
    ReadTimeConventions(Result, LocaleName);
    ReadNumericConventions(Result, LocaleName);
    ReadMonetaryConventions(Result, LocaleName);
    return Result;
}

TFormatSettings TFormatSettings::FromEnvironment()
{
    TFormatSettings Result = EnglishUS();
    ReadTimeConventions(Result, LocaleNameFor("LC_TIME"));
    ReadNumericConventions(Result, LocaleNameFor("LC_NUMERIC"));
    ReadMonetaryConventions(Result, LocaleNameFor("LC_MONETARY"));
    return Result;
}

TFormatSettings FormatSettings = TFormatSettings::FromEnvironment();
