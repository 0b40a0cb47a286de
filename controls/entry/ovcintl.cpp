#include "controls/entry/ovcintl.h"

#include "controls/entry/ovcdate.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t ShortTextSize = 5;
constexpr std::size_t LongDateSize = 39;
constexpr std::size_t ShortDateSize = 29;

// Cuts to at most Size bytes without splitting a UTF-8 character.
std::string Cut(std::string S, std::size_t Size)
{
    if (S.size() <= Size)
        return S;
    std::size_t End = Size;
    while (End > 0 && (static_cast<unsigned char>(S[End]) & 0xC0) == 0x80)
        --End;
    S.resize(End);
    return S;
}

std::string PadRight(const std::string& S, std::size_t Size)
{
    std::string Result = Cut(S, Size);
    Result.append(Size - Result.size(), ' ');
    return Result;
}

bool IsUpper(char C)
{
    return C >= 'A' && C <= 'Z';
}

// Turns every run of Letter that is at least three long into a run of Into.
std::string MarkNameRuns(const std::string& S, char Letter, char Into)
{
    std::string Result = S;
    std::size_t I = 0;
    while (I < Result.size()) {
        std::size_t End = I;
        while (End < Result.size() && Result[End] == Letter)
            ++End;
        if (End - I >= 3)
            std::fill(Result.begin() + static_cast<std::ptrdiff_t>(I),
                      Result.begin() + static_cast<std::ptrdiff_t>(End), Into);
        I = End > I ? End : I + 1;
    }
    return Result;
}

enum class TField {
    None,
    Day,
    Month,
    Year,
    MonthName,
    Weekday,
    Lit1,
    Lit2,
    Lit3,
    Hour,
    Minute,
    Second,
    AmPm
};

TField DateField(char C)
{
    switch (C) {
    case 'd':
    case 'D':
        return TField::Day;
    case 'm':
    case 'M':
        return TField::Month;
    case 'y':
    case 'Y':
        return TField::Year;
    case 'n':
    case 'N':
        return TField::MonthName;
    case 'w':
    case 'W':
        return TField::Weekday;
    case 'f':
        return TField::Lit1;
    case 'g':
        return TField::Lit2;
    case 'h':
        return TField::Lit3;
    default:
        return TField::None;
    }
}

TField TimeField(char C)
{
    switch (C) {
    case 'h':
    case 'H':
        return TField::Hour;
    case 'm':
    case 'M':
        return TField::Minute;
    case 's':
    case 'S':
        return TField::Second;
    case 't':
        return TField::AmPm;
    default:
        return TField::None;
    }
}

struct TRun {
    TField Field;
    std::size_t Start;
    std::size_t Length;
    bool Upper; // blank-padded numbers, upper-cased names
};

std::vector<TRun> Runs(const std::string& Picture, TField (*Classify)(char))
{
    std::vector<TRun> Result;
    std::size_t I = 0;
    while (I < Picture.size()) {
        const TField F = Classify(Picture[I]);
        std::size_t End = I + 1;
        while (End < Picture.size() && F != TField::None && Classify(Picture[End]) == F)
            ++End;
        Result.push_back(TRun{F, I, End - I, IsUpper(Picture[I])});
        I = End;
    }
    return Result;
}

std::string NumberRun(int Value, const TRun& Run)
{
    std::string S = std::to_string(Value);
    if (S.size() > Run.Length)
        S = S.substr(S.size() - Run.Length);
    return std::string(Run.Length - S.size(), Run.Upper ? ' ' : '0') + S;
}

std::string NameRun(const std::string& Name, const TRun& Run)
{
    return PadRight(Run.Upper ? AnsiUpperCase(Name) : Name, Run.Length);
}

// The text at the positions of Field in Picture, blanks left out; Found tells whether the
// picture has the field at all, Length how many positions it has.
std::string Collect(const std::string& Picture, const std::string& Text, TField (*Classify)(char),
                    TField Field, bool& Found, std::size_t& Length)
{
    std::string Result;
    Found = false;
    Length = 0;
    for (std::size_t I = 0; I < Picture.size(); ++I) {
        if (Classify(Picture[I]) != Field)
            continue;
        Found = true;
        ++Length;
        if (Text[I] != ' ')
            Result += Text[I];
    }
    return Result;
}

// A run's number: Default when the picture lacks it, -1 when it is blank or not a number.
int RunNumber(const std::string& Picture, const std::string& Text, TField (*Classify)(char),
              TField Field, int Default)
{
    bool Found = false;
    std::size_t Length = 0;
    const std::string S = Collect(Picture, Text, Classify, Field, Found, Length);
    if (!Found)
        return Default;
    if (S.empty() || S.size() > 9 || S.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(S);
}

} // namespace

TOvcIntlSup::TOvcIntlSup()
{
    ReadSettings();
}

void TOvcIntlSup::ReadSettings()
{
    const TFormatSettings& S = FormatSettings;
    auto CharOr = [](char C, char Default) { return C != '\0' ? C : Default; };

    FDecimalChar = CharOr(S.DecimalSeparator, '.');
    FCommaChar = CharOr(S.ThousandSeparator, ',');
    FCurrencyDigits = S.CurrencyDecimals;
    if (FDecimalChar == FCommaChar) {
        FDecimalChar = '.';
        FCommaChar = ',';
    }

    FNegCurrencyFormat = S.NegCurrFormat;
    FListChar = CharOr(S.ListSeparator, ',');
    FCountry.clear(); // the settings carry no country name

    FCurrencyLtStr = Cut(S.CurrencyString, ShortTextSize);
    FCurrencyRtStr = FCurrencyLtStr;
    FCurrencyFormat = S.CurrencyFormat;
    if (FCurrencyFormat == 2)
        FCurrencyLtStr = Cut(FCurrencyLtStr + " ", ShortTextSize);
    else if (FCurrencyFormat == 3)
        FCurrencyRtStr = Cut(" " + FCurrencyRtStr, ShortTextSize);

    const std::string& LongTime = S.LongTimeFormat;
    FTLZero = LongTime.size() >= 2 && (LongTime[0] == 'h' || LongTime[0] == 'H') &&
              (LongTime[1] == 'h' || LongTime[1] == 'H');
    FTwelveHour = !LongTime.empty() && LongTime.back() == 'M';

    FColonChar = CharOr(S.TimeSeparator, ':');
    FSlashChar = CharOr(S.DateSeparator, '/');
    FAMString = Cut(S.TimeAMString, ShortTextSize);
    FPMString = Cut(S.TimePMString, ShortTextSize);

    std::string Short = S.ShortDateFormat.empty() ? "MM/dd/yy" : S.ShortDateFormat;
    try {
        TRegistry Reg;
        Reg.SetRootKey(HKEY_CURRENT_USER);
        if (Reg.OpenKeyReadOnly("Control Panel\\International") && Reg.ValueExists("sShortDate")) {
            const std::string Value = Reg.ReadString("sShortDate");
            if (!Value.empty())
                Short = Value;
        }
    } catch (const Exception&) {
        // A value of another type: the regional settings' format stands.
    }
    std::replace(Short.begin(), Short.end(), FSlashChar, '/');
    FShortDate = Cut(MarkNameRuns(Short, 'M', 'n'), ShortDateSize);

    // Quoted literals move into the three slots, marked by runs of 'f', 'g' and 'h'.
    const std::string& Long = S.LongDateFormat.empty() ? "dddd, MMMM dd, yyyy" : S.LongDateFormat;
    std::string Unquoted;
    std::size_t Slot = 0;
    for (auto& Literal : FLiterals)
        Literal.clear();
    for (std::size_t I = 0; I < Long.size(); ++I) {
        if (Long[I] != '\'') {
            Unquoted += Long[I];
            continue;
        }
        std::size_t Close = Long.find('\'', I + 1);
        if (Close == std::string::npos)
            Close = Long.size();
        const std::string Literal = Long.substr(I + 1, Close - I - 1);
        if (Slot < FLiterals.size()) {
            FLiterals[Slot] = Cut(Literal, ShortTextSize);
            Unquoted.append(FLiterals[Slot].size(), static_cast<char>('f' + Slot));
            ++Slot;
        } else {
            Unquoted += Literal;
        }
        I = Close;
    }
    Unquoted = MarkNameRuns(MarkNameRuns(Unquoted, 'd', 'w'), 'M', 'n');
    std::string Spaced;
    for (std::size_t I = 0; I < Unquoted.size(); ++I) {
        Spaced += Unquoted[I];
        if ((Unquoted[I] == ',' || Unquoted[I] == '.') &&
            (I + 1 >= Unquoted.size() || Unquoted[I + 1] != ' '))
            Spaced += ' ';
    }
    FLongDate = Cut(Spaced, LongDateSize);

    auto Letter = [](std::uint16_t Id, char& Into) {
        const std::string Text = LibraryString(Id);
        if (Text.size() == 1)
            Into = Text[0];
    };
    Letter(30368, FYesChar);
    Letter(30369, FNoChar);
    Letter(30370, FTrueChar);
    Letter(30371, FFalseChar);
}

std::string TOvcIntlSup::CurrencyLeft() const
{
    return FCurrencyFormat == 0 || FCurrencyFormat == 2 ? FCurrencyLtStr : std::string();
}

std::string TOvcIntlSup::CurrencyRight() const
{
    return FCurrencyFormat == 1 || FCurrencyFormat == 3 ? FCurrencyRtStr : std::string();
}

std::string TOvcIntlSup::DatePicture(bool FourDigitYear) const
{
    std::string Result;
    for (const TRun& Run : Runs(FShortDate, DateField)) {
        const std::string Text = FShortDate.substr(Run.Start, Run.Length);
        const char C = Text[0];
        if (Run.Field == TField::Day && Text == "d")
            Result += "DD";
        else if (Run.Field == TField::Month && Text == "MM")
            Result += "mm";
        else if (Run.Field == TField::Month && Text == "M")
            Result += "MM";
        else if (Run.Field == TField::Day || Run.Field == TField::Month)
            Result += Text + std::string(Run.Length < 2 ? 2 - Run.Length : 0, C);
        else if (Run.Field == TField::Year) {
            const std::size_t Want = FourDigitYear ? 4 : 2;
            Result += Text + std::string(Run.Length < Want ? Want - Run.Length : 0, C);
        } else
            Result += Text;
    }
    return Result;
}

std::string TOvcIntlSup::TimePicture(bool WithSeconds) const
{
    std::string Result = WithSeconds ? "hh:mm:ss" : "hh:mm";
    if (!FTLZero)
        Result[0] = 'H';
    const std::size_t Width = std::max(FAMString.size(), FPMString.size());
    if (FTwelveHour && Width > 0)
        Result += " " + std::string(Width, 't');
    return Result;
}

int TOvcIntlSup::MonthFromName(const std::string& Text, std::size_t RunLength) const
{
    const std::string Wanted = PadRight(AnsiUpperCase(Text), RunLength);
    for (std::size_t I = 0; I < 12; ++I)
        if (PadRight(AnsiUpperCase(FormatSettings.LongMonthNames[I]), RunLength) == Wanted)
            return static_cast<int>(I) + 1;
    return 0;
}

bool TOvcIntlSup::DateTextToParts(const std::string& Picture, const std::string& Text, int Epoch,
                                  int& Day, int& Month, int& Year) const
{
    Day = Month = Year = -1;
    if (Text.size() != Picture.size())
        return false;
    Month = RunNumber(Picture, Text, DateField, TField::Month, CurrentMonth());
    Day = RunNumber(Picture, Text, DateField, TField::Day, 1);
    Year = RunNumber(Picture, Text, DateField, TField::Year, CurrentYear());
    bool Found = false;
    std::size_t Length = 0;
    const std::string Name = Collect(Picture, Text, DateField, TField::MonthName, Found, Length);
    if (Found) {
        const int FromName = Name.empty() ? 0 : MonthFromName(Name, Length);
        Month = FromName == 0 ? -1 : FromName;
    }
    return IsValidDate(Day, Month, Year, Epoch);
}

int TOvcIntlSup::DateTextToDayNumber(const std::string& Picture, const std::string& Text,
                                     int Epoch) const
{
    int Day = 0, Month = 0, Year = 0;
    if (!DateTextToParts(Picture, Text, Epoch, Day, Month, Year))
        return OvcDate::BadDate;
    return DMYToDayNumber(Day, Month, Year, Epoch);
}

std::string TOvcIntlSup::DayNumberToDateText(const std::string& Picture, int DayNumber, bool Pack,
                                             int Epoch) const
{
    const bool NoDate = DayNumber < 0 || DayNumber > OvcDate::MaxDayNumber;
    int Day = 0, Month = 0, Year = 0;
    DayNumberToDMY(DayNumber, Day, Month, Year);
    Year = ResolveCentury(Year, Epoch);
    std::string Result;
    std::string Packable; // 'p' where a blank may go when packing
    for (const TRun& Run : Runs(Picture, DateField)) {
        std::string Text;
        bool MayPack = false;
        switch (Run.Field) {
        case TField::Day:
        case TField::Month:
        case TField::Year:
            MayPack = Run.Upper;
            if (NoDate)
                Text.assign(Run.Length, ' ');
            else
                Text = NumberRun(Run.Field == TField::Day     ? Day
                                 : Run.Field == TField::Month ? Month
                                                              : Year,
                                 Run);
            break;
        case TField::MonthName:
        case TField::Weekday:
            MayPack = true;
            if (NoDate)
                Text.assign(Run.Length, ' ');
            else
                Text =
                    NameRun(Run.Field == TField::MonthName
                                ? FormatSettings.LongMonthNames[static_cast<std::size_t>(Month - 1)]
                                : FormatSettings
                                      .LongDayNames[static_cast<std::size_t>(WeekdayOf(DayNumber))],
                            Run);
            break;
        case TField::Lit1:
        case TField::Lit2:
        case TField::Lit3:
            Text = PadRight(FLiterals[static_cast<std::size_t>(static_cast<int>(Run.Field) -
                                                               static_cast<int>(TField::Lit1))],
                            Run.Length);
            break;
        default:
            Text = Picture.substr(Run.Start, Run.Length);
            if (Text == "/")
                Text = std::string(1, FSlashChar);
            break;
        }
        Result += Text;
        Packable.append(Text.size(), MayPack ? 'p' : ' ');
    }
    if (!Pack)
        return Result;
    std::string Packed;
    for (std::size_t I = 0; I < Result.size(); ++I)
        if (!(Result[I] == ' ' && Packable[I] == 'p'))
            Packed += Result[I];
    return Packed;
}

bool TOvcIntlSup::TimeTextToParts(const std::string& Picture, const std::string& Text, int& Hours,
                                  int& Minutes, int& Seconds) const
{
    Hours = Minutes = Seconds = -1;
    if (Text.size() != Picture.size())
        return false;
    Hours = RunNumber(Picture, Text, TimeField, TField::Hour, 0);
    Minutes = RunNumber(Picture, Text, TimeField, TField::Minute, 0);
    Seconds = RunNumber(Picture, Text, TimeField, TField::Second, 0);
    if (Picture.find('t') != std::string::npos && !FAMString.empty() && !FPMString.empty()) {
        std::string Marker;
        for (std::size_t I = 0; I < Picture.size(); ++I)
            if (Picture[I] == 't')
                Marker += Text[I];
        while (!Marker.empty() && Marker.back() == ' ')
            Marker.pop_back();
        if (!Marker.empty() && AnsiSameText(Marker, FPMString)) {
            if (Hours < 0 || Hours > 12)
                return false;
            if (Hours < 12)
                Hours += 12;
        } else if (!Marker.empty() && AnsiSameText(Marker, FAMString)) {
            if (Hours < 1 || Hours > 12)
                return false;
            if (Hours == 12)
                Hours = 0;
        } else {
            return false;
        }
    }
    return IsValidTime(Hours, Minutes, Seconds);
}

int TOvcIntlSup::TimeTextToSeconds(const std::string& Picture, const std::string& Text) const
{
    int H = 0, M = 0, S = 0;
    if (!TimeTextToParts(Picture, Text, H, M, S))
        return OvcDate::BadTime;
    return HMSToSeconds(H, M, S);
}

std::string TOvcIntlSup::SecondsToTimeText(const std::string& Picture, int Seconds, bool Pack) const
{
    const bool NoTime = Seconds < 0 || Seconds >= OvcDate::SecondsInDay;
    int H = 0, M = 0, S = 0;
    SecondsToHMS(Seconds, H, M, S);
    const bool BothTexts = !FAMString.empty() && !FPMString.empty();
    const bool HasMarker = Picture.find('t') != std::string::npos;
    const std::string& Marker = H < 12 ? FAMString : FPMString;
    if (HasMarker && BothTexts) {
        if (H == 0)
            H = 12;
        else if (H > 12)
            H -= 12;
    }
    std::string Result;
    for (const TRun& Run : Runs(Picture, TimeField)) {
        std::string Text;
        switch (Run.Field) {
        case TField::Hour:
        case TField::Minute:
        case TField::Second:
            if (NoTime)
                Text.assign(Run.Length, ' ');
            else
                Text = NumberRun(Run.Field == TField::Hour     ? H
                                 : Run.Field == TField::Minute ? M
                                                               : S,
                                 Run);
            if (Pack && !NoTime && Run.Upper)
                Text.erase(std::remove(Text.begin(), Text.end(), ' '), Text.end());
            break;
        case TField::AmPm:
            if (!BothTexts && FAMString.empty() && FPMString.empty())
                Text.assign(Run.Length, ' ');
            else if (NoTime && FAMString.empty())
                Text.assign(Run.Length, ' ');
            else
                Text = PadRight(Marker, Run.Length);
            if (Pack && !NoTime && Text.find_first_not_of(' ') == std::string::npos) {
                Text.clear();
                if (!Result.empty() && Result.back() == ' ')
                    Result.pop_back();
            }
            break;
        default:
            Text = Picture.substr(Run.Start, Run.Length);
            if (Text == ":")
                Text = std::string(1, FColonChar);
            break;
        }
        Result += Text;
    }
    return Result;
}

TOvcIntlSup& OvcIntlSup()
{
    static TOvcIntlSup Instance;
    return Instance;
}
