#include "platform/rtl/datetime.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"

#include <cmath>
#include <cstddef>

const Word MonthDays[2][13] = {{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

namespace {

// Days from 1 January 0001 to 1 January of Year.
int DaysBeforeYear(int Year)
{
    const int I = Year - 1;
    return I * 365 + I / 4 - I / 100 + I / 400;
}

// The time-stamp date of 31 December 9999.
const int LastStampDate = DaysBeforeYear(10000);

// A value split into its day (TDateTime whole days) and its time of day in milliseconds. The
// time is rounded first and a rounding up to midnight carries into the day.
struct TSplit {
    bool DateValid = false;
    int Day = 0;
    int MSec = 0;
};

TSplit Split(TDateTime Value)
{
    TSplit Result;
    if (!std::isfinite(Value))
        return Result;
    double Whole = std::trunc(Value);
    long long MSec = std::llround(std::fabs(Value - Whole) * MSecsPerDay);
    if (MSec >= MSecsPerDay) {
        MSec -= MSecsPerDay;
        Whole += 1;
    }
    Result.MSec = static_cast<int>(MSec);
    if (Whole >= 1 - DateDelta && Whole <= LastStampDate - DateDelta) {
        Result.DateValid = true;
        Result.Day = static_cast<int>(Whole);
    }
    return Result;
}

void StampToDate(int Stamp, Word& Year, Word& Month, Word& Day)
{
    int T = Stamp - 1;
    const int Y400 = T / 146097;
    T %= 146097;
    int Y100 = T / 36524;
    if (Y100 == 4) // the last day of a 400-year cycle
        Y100 = 3;
    T -= Y100 * 36524;
    const int Y4 = T / 1461;
    T %= 1461;
    int Y1 = T / 365;
    if (Y1 == 4) // the last day of a leap cycle
        Y1 = 3;
    T -= Y1 * 365;
    const int Y = Y400 * 400 + Y100 * 100 + Y4 * 4 + Y1 + 1;
    const Word* Days = MonthDays[IsLeapYear(static_cast<Word>(Y))];
    int M = 1;
    while (T >= Days[M]) {
        T -= Days[M];
        ++M;
    }
    Year = static_cast<Word>(Y);
    Month = static_cast<Word>(M);
    Day = static_cast<Word>(T + 1);
}

[[noreturn]] void RaiseConvert(const std::string& Text, const char* What)
{
    throw EConvertError("'" + Text + "' is not a valid " + What);
}

} // namespace

bool IsLeapYear(Word Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month)
{
    return Month >= 1 && Month <= 12 ? MonthDays[IsLeapYear(Year)][Month] : 0;
}

Word DaysInMonth(TDateTime Value)
{
    Word Year, Month, Day;
    DecodeDate(Value, Year, Month, Day);
    return DaysInAMonth(Year, Month);
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInAMonth(Year, Month))
        return false;
    int Stamp = DaysBeforeYear(Year) + Day;
    for (int M = 1; M < Month; ++M)
        Stamp += MonthDays[IsLeapYear(Year)][M];
    Date = Stamp - DateDelta;
    return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time)
{
    if (Hour >= HoursPerDay || Min >= MinsPerHour || Sec >= SecsPerMin || MSec >= MSecsPerSec)
        return false;
    Time = (((Hour * MinsPerHour + Min) * SecsPerMin + Sec) * MSecsPerSec + MSec) /
           static_cast<double>(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day)
{
    TDateTime Result = 0;
    if (!TryEncodeDate(Year, Month, Day, Result))
        throw EConvertError("Invalid argument to date encode");
    return Result;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec)
{
    TDateTime Result = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, Result))
        throw EConvertError("Invalid argument to time encode");
    return Result;
}

void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day)
{
    Word DOW;
    DecodeDateFully(Value, Year, Month, Day, DOW);
}

bool DecodeDateFully(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& DOW)
{
    const TSplit Parts = Split(Value);
    if (!Parts.DateValid) {
        Year = Month = Day = DOW = 0;
        return false;
    }
    const int Stamp = Parts.Day + DateDelta;
    StampToDate(Stamp, Year, Month, Day);
    DOW = static_cast<Word>(Stamp % 7 + 1);
    return IsLeapYear(Year);
}

void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec)
{
    int T = Split(Value).MSec;
    MSec = static_cast<Word>(T % MSecsPerSec);
    T /= MSecsPerSec;
    Sec = static_cast<Word>(T % SecsPerMin);
    T /= SecsPerMin;
    Min = static_cast<Word>(T % MinsPerHour);
    Hour = static_cast<Word>(T / MinsPerHour);
}

void DateTimeToSystemTime(TDateTime Value, TSystemTime& SystemTime)
{
    Word DOW = 0;
    DecodeDateFully(Value, SystemTime.wYear, SystemTime.wMonth, SystemTime.wDay, DOW);
    SystemTime.wDayOfWeek = DOW > 0 ? static_cast<Word>(DOW - 1) : 0;
    DecodeTime(Value, SystemTime.wHour, SystemTime.wMinute, SystemTime.wSecond,
               SystemTime.wMilliseconds);
}

bool TrySystemTimeToDateTime(const TSystemTime& SystemTime, TDateTime& Value)
{
    if (SystemTime.wYear < 1601)
        return false;
    TDateTime Day = 0, Time = 0;
    if (!TryEncodeDate(SystemTime.wYear, SystemTime.wMonth, SystemTime.wDay, Day) ||
        !TryEncodeTime(SystemTime.wHour, SystemTime.wMinute, SystemTime.wSecond,
                       SystemTime.wMilliseconds, Time))
        return false;
    Value = Day >= 0 ? Day + Time : Day - Time;
    return true;
}

TDateTime SystemTimeToDateTime(const TSystemTime& SystemTime)
{
    TDateTime Value = 0;
    if (!TrySystemTimeToDateTime(SystemTime, Value))
        throw EConvertError("Invalid argument to date encode");
    return Value;
}

int DayOfWeek(TDateTime Value)
{
    const TSplit Parts = Split(Value);
    if (!Parts.DateValid)
        return 0;
    return (Parts.Day + DateDelta) % 7 + 1;
}

TDateTime IncMonth(TDateTime Value, int NumberOfMonths)
{
    Word Year, Month, Day;
    DecodeDate(Value, Year, Month, Day);
    if (Year == 0)
        throw EConvertError("Invalid argument to date encode");
    const long long Months = Year * 12LL + (Month - 1) + NumberOfMonths;
    if (Months < 12 || Months >= 10000 * 12LL)
        throw EConvertError("Invalid argument to date encode");
    const Word NewYear = static_cast<Word>(Months / 12);
    const Word NewMonth = static_cast<Word>(Months % 12 + 1);
    const Word Last = DaysInAMonth(NewYear, NewMonth);
    TDateTime Result = EncodeDate(NewYear, NewMonth, Day > Last ? Last : Day);
    ReplaceTime(Result, Value);
    return Result;
}

void ReplaceTime(TDateTime& Value, TDateTime NewTime)
{
    const double Whole = std::trunc(Value);
    const double Fraction = std::fabs(NewTime - std::trunc(NewTime));
    Value = Whole >= 0 ? Whole + Fraction : Whole - Fraction;
}

void ReplaceDate(TDateTime& Value, TDateTime NewDate)
{
    TDateTime Result = NewDate;
    ReplaceTime(Result, Value);
    Value = Result;
}

TDateTime Date()
{
    const TSplit Parts = Split(Now());
    return Parts.Day;
}

TDateTime Time()
{
    return Split(Now()).MSec / static_cast<double>(MSecsPerDay);
}

TTimeStamp DateTimeToTimeStamp(TDateTime Value)
{
    const TSplit Parts = Split(Value);
    TTimeStamp Result;
    Result.Time = Parts.MSec;
    Result.Date = Parts.DateValid ? Parts.Day + DateDelta : 0;
    return Result;
}

TDateTime TimeStampToDateTime(const TTimeStamp& Stamp)
{
    if (Stamp.Date < 1 || Stamp.Time < 0 || Stamp.Time >= MSecsPerDay)
        throw EConvertError("'" + std::to_string(Stamp.Date) + "." + std::to_string(Stamp.Time) +
                            "' is not a valid timestamp");
    const double Days = Stamp.Date - DateDelta;
    const double Fraction = Stamp.Time / static_cast<double>(MSecsPerDay);
    return Days >= 0 ? Days + Fraction : Days - Fraction;
}

Int64 TimeStampToMSecs(const TTimeStamp& Stamp)
{
    return static_cast<Int64>(Stamp.Date) * MSecsPerDay + Stamp.Time;
}

TTimeStamp MSecsToTimeStamp(Int64 MSecs)
{
    TTimeStamp Result;
    Result.Date = static_cast<int>(MSecs / MSecsPerDay);
    Result.Time = static_cast<int>(MSecs % MSecsPerDay);
    return Result;
}

// Formatting

namespace {

char UpperAscii(char C)
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Whether Text at Index starts with Word, ASCII case folded.
bool StartsWithText(const std::string& Text, std::size_t Index, const char* Word)
{
    for (; *Word; ++Word, ++Index)
        if (Index >= Text.size() || UpperAscii(Text[Index]) != UpperAscii(*Word))
            return false;
    return true;
}

class TDateFormatter {
public:
    TDateFormatter(TDateTime Value, const TFormatSettings& ASettings) : Settings(ASettings)
    {
        const TSplit Parts = Split(Value);
        if (Parts.DateValid) {
            const int Stamp = Parts.Day + DateDelta;
            StampToDate(Stamp, Year, Month, Day);
            DOW = Stamp % 7 + 1;
        }
        int T = Parts.MSec;
        MSec = T % MSecsPerSec;
        T /= MSecsPerSec;
        Sec = T % SecsPerMin;
        T /= SecsPerMin;
        Min = T % MinsPerHour;
        Hour = T / MinsPerHour;
    }

    // Nested formats (ddddd, t, c...) expand one level deep, so a locale format that names
    // itself cannot recurse.
    void Append(const std::string& Format)
    {
        if (Level >= 2)
            return;
        ++Level;
        char LastToken = ' ';
        bool AmPmSeen = false; // an am/pm token earlier in this format also means 12 hours
        std::size_t I = 0;
        while (I < Format.size()) {
            const char Starter = Format[I++];
            char Token = UpperAscii(Starter);
            if (Token >= 'A' && Token <= 'Z') {
                if (Token == 'M' && LastToken == 'H')
                    Token = 'N';
                LastToken = Token;
            }
            auto RunLength = [&] {
                const std::size_t Start = I;
                while (I < Format.size() && Format[I] == Starter)
                    ++I;
                return static_cast<int>(I - Start) + 1;
            };
            switch (Token) {
            case 'Y':
                if (RunLength() <= 2)
                    AppendNumber(Year % 100, 2);
                else
                    AppendNumber(Year, 4);
                break;
            case 'M': {
                const int Count = RunLength();
                if (Count <= 2)
                    AppendNumber(Month, Count);
                else if (Month >= 1)
                    Out += Count == 3 ? Settings.ShortMonthNames[Month - 1]
                                      : Settings.LongMonthNames[Month - 1];
                break;
            }
            case 'D': {
                const int Count = RunLength();
                if (Count <= 2)
                    AppendNumber(Day, Count);
                else if (Count == 3 || Count == 4) {
                    if (DOW >= 1)
                        Out += Count == 3 ? Settings.ShortDayNames[DOW - 1]
                                          : Settings.LongDayNames[DOW - 1];
                } else
                    Append(Count == 5 ? Settings.ShortDateFormat : Settings.LongDateFormat);
                break;
            }
            case 'H': {
                const int Count = RunLength();
                int H = Hour;
                if (AmPmSeen || TwelveHourClockFollows(Format, I)) {
                    H %= 12;
                    if (H == 0)
                        H = 12;
                }
                AppendNumber(H, Count > 2 ? 2 : Count);
                break;
            }
            case 'N': {
                const int Count = RunLength();
                AppendNumber(Min, Count > 2 ? 2 : Count);
                break;
            }
            case 'S': {
                const int Count = RunLength();
                AppendNumber(Sec, Count > 2 ? 2 : Count);
                break;
            }
            case 'Z': {
                const int Count = RunLength();
                AppendNumber(MSec, Count > 3 ? 3 : Count);
                break;
            }
            case 'T':
                Append(RunLength() == 1 ? Settings.ShortTimeFormat : Settings.LongTimeFormat);
                break;
            case 'A':
                if (StartsWithText(Format, I - 1, "am/pm")) {
                    // "am" or "pm" as written in the format
                    Out.append(Format, Hour >= 12 ? I + 2 : I - 1, 2);
                    I += 4;
                    AmPmSeen = true;
                } else if (StartsWithText(Format, I - 1, "a/p")) {
                    Out += Format[Hour >= 12 ? I + 1 : I - 1];
                    I += 2;
                    AmPmSeen = true;
                } else if (StartsWithText(Format, I - 1, "ampm")) {
                    Out += Hour >= 12 ? Settings.TimePMString : Settings.TimeAMString;
                    I += 3;
                    AmPmSeen = true;
                } else
                    Out += Starter;
                break;
            case 'C':
                RunLength();
                Append(Settings.ShortDateFormat);
                if (Hour != 0 || Min != 0 || Sec != 0) {
                    Out += ' ';
                    Append(Settings.LongTimeFormat);
                }
                break;
            case '/':
                if (Settings.DateSeparator != '\0')
                    Out += Settings.DateSeparator;
                break;
            case ':':
                if (Settings.TimeSeparator != '\0')
                    Out += Settings.TimeSeparator;
                break;
            case '\'':
            case '"': {
                const std::size_t End = Format.find(Starter, I);
                const std::size_t Stop = End == std::string::npos ? Format.size() : End;
                Out.append(Format, I, Stop - I);
                I = End == std::string::npos ? Stop : Stop + 1;
                break;
            }
            default:
                Out += Starter;
            }
        }
        --Level;
    }

    std::string Out;

private:
    void AppendNumber(int Value, int Digits)
    {
        const std::string Text = std::to_string(Value);
        if (static_cast<int>(Text.size()) < Digits)
            Out.append(Digits - Text.size(), '0');
        Out += Text;
    }

    // Whether an am/pm token follows From before the next hour token, outside quotes.
    static bool TwelveHourClockFollows(const std::string& Format, std::size_t From)
    {
        char Quote = '\0';
        for (std::size_t P = From; P < Format.size(); ++P) {
            const char C = Format[P];
            if (Quote != '\0') {
                if (C == Quote)
                    Quote = '\0';
            } else if (C == '\'' || C == '"')
                Quote = C;
            else if (C == 'h' || C == 'H')
                return false;
            else if ((C == 'a' || C == 'A') &&
                     (StartsWithText(Format, P, "am/pm") || StartsWithText(Format, P, "a/p") ||
                      StartsWithText(Format, P, "ampm")))
                return true;
        }
        return false;
    }

    const TFormatSettings& Settings;
    int Level = 0;
    Word Year = 0, Month = 0, Day = 0;
    int DOW = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

} // namespace

std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings)
{
    TDateFormatter Formatter(Value, Settings);
    Formatter.Append(Format.empty() ? std::string("c") : Format);
    return Formatter.Out;
}

void DateTimeToString(std::string& Result, const std::string& Format, TDateTime Value,
                      const TFormatSettings& Settings)
{
    Result = FormatDateTime(Format, Value, Settings);
}

std::string DateToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime("ddddd", Value, Settings);
}

std::string TimeToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime("tt", Value, Settings);
}

std::string DateTimeToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime("c", Value, Settings);
}

// Parsing

namespace {

enum class TDateOrder { MDY, DMY, YMD };

// The order of the first day, month or year letter of the short date format, outside quotes.
TDateOrder DateOrderOf(const std::string& Format)
{
    char Quote = '\0';
    for (const char C : Format) {
        if (Quote != '\0') {
            if (C == Quote)
                Quote = '\0';
            continue;
        }
        switch (UpperAscii(C)) {
        case '\'':
        case '"':
            Quote = C;
            break;
        case 'D':
            return TDateOrder::DMY;
        case 'M':
            return TDateOrder::MDY;
        case 'Y':
            return TDateOrder::YMD;
        default:
            break;
        }
    }
    return TDateOrder::MDY;
}

class TDateScanner {
public:
    TDateScanner(const std::string& AText, const TFormatSettings& ASettings)
        : Text(AText), Settings(ASettings)
    {
    }

    bool AtEnd()
    {
        ScanBlanks();
        return Pos >= Text.size();
    }

    bool ScanDate(TDateTime& Value)
    {
        int N1, N2, N3, L1, L2, L3;
        if (!(ScanNumber(N1, L1) && ScanChar(Settings.DateSeparator) && ScanNumber(N2, L2)))
            return false;
        const TDateOrder Order = DateOrderOf(Settings.ShortDateFormat);
        int Y, M, D;
        const std::size_t AfterDayAndMonth = Pos;
        if (ScanChar(Settings.DateSeparator) && ScanNumber(N3, L3)) {
            int YearLength;
            switch (Order) {
            case TDateOrder::MDY:
                Y = N3, YearLength = L3, M = N1, D = N2;
                break;
            case TDateOrder::DMY:
                Y = N3, YearLength = L3, M = N2, D = N1;
                break;
            default:
                Y = N1, YearLength = L1, M = N2, D = N3;
                break;
            }
            if (YearLength <= 2) {
                const int Window = Settings.TwoDigitYearCenturyWindow;
                const int CenturyBase = CurrentYear() - Window;
                Y += CenturyBase / 100 * 100;
                if (Window > 0 && Y < CenturyBase)
                    Y += 100;
            }
        } else {
            Pos = AfterDayAndMonth; // "31.12." is the 31st of December this year
            Y = CurrentYear();
            if (Order == TDateOrder::DMY)
                D = N1, M = N2;
            else
                M = N1, D = N2;
        }
        // a trailing separator ("31.12.") is allowed
        ScanChar(Settings.DateSeparator);
        if (Y < 1 || Y > 9999 || M < 1 || M > 12 || D < 1 || D > 31)
            return false;
        return TryEncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D),
                             Value);
    }

    bool ScanTime(TDateTime& Value)
    {
        int BaseHour = ScanAmPm();
        int Hour, Min = 0, Sec = 0, MSec = 0, Length;
        if (!ScanNumber(Hour, Length))
            return false;
        if (ScanChar(Settings.TimeSeparator)) {
            if (!ScanNumber(Min, Length))
                return false;
            if (ScanChar(Settings.TimeSeparator)) {
                if (!ScanNumber(Sec, Length))
                    return false;
                if (ScanChar(Settings.DecimalSeparator) && !ScanFraction(MSec))
                    return false;
            }
        }
        if (BaseHour < 0)
            BaseHour = ScanAmPm();
        if (BaseHour >= 0) {
            if (Hour == 0 || Hour > 12)
                return false;
            Hour = Hour % 12 + BaseHour;
        }
        if (Hour >= HoursPerDay || Min >= MinsPerHour || Sec >= SecsPerMin)
            return false;
        return TryEncodeTime(static_cast<Word>(Hour), static_cast<Word>(Min),
                             static_cast<Word>(Sec), static_cast<Word>(MSec), Value);
    }

private:
    void ScanBlanks()
    {
        while (Pos < Text.size() && Text[Pos] == ' ')
            ++Pos;
    }

    // Up to four significant digits, so that no number can overflow.
    bool ScanNumber(int& Number, int& Length)
    {
        ScanBlanks();
        const std::size_t Start = Pos;
        Number = 0;
        while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9' && Number < 1000)
            Number = Number * 10 + (Text[Pos++] - '0');
        Length = static_cast<int>(Pos - Start);
        return Length > 0;
    }

    // One to three digits after the decimal separator, as a fraction of a second.
    bool ScanFraction(int& MSec)
    {
        int Digits = 0;
        MSec = 0;
        while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9' && Digits < 3) {
            MSec = MSec * 10 + (Text[Pos++] - '0');
            ++Digits;
        }
        for (int I = Digits; I < 3; ++I)
            MSec *= 10;
        return Digits > 0;
    }

    bool ScanChar(char C)
    {
        const std::size_t Start = Pos;
        ScanBlanks();
        if (C == ' ')
            return Pos > Start;
        if (Pos < Text.size() && Text[Pos] == C) {
            ++Pos;
            return true;
        }
        return false;
    }

    bool ScanString(const std::string& Symbol)
    {
        ScanBlanks();
        if (Symbol.empty() || !StartsWithText(Text, Pos, Symbol.c_str()))
            return false;
        Pos += Symbol.size();
        return true;
    }

    // 0 for an AM marker, 12 for a PM marker, -1 for none.
    int ScanAmPm()
    {
        if (ScanString(Settings.TimeAMString) || ScanString("AM"))
            return 0;
        if (ScanString(Settings.TimePMString) || ScanString("PM"))
            return 12;
        return -1;
    }

    static int CurrentYear()
    {
        Word Year, Month, Day;
        DecodeDate(Now(), Year, Month, Day);
        return Year;
    }

    const std::string& Text;
    const TFormatSettings& Settings;
    std::size_t Pos = 0;
};

} // namespace

bool TryStrToDate(const std::string& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateScanner Scanner(S, Settings);
    TDateTime Result;
    if (!Scanner.ScanDate(Result) || !Scanner.AtEnd())
        return false;
    Value = Result;
    return true;
}

bool TryStrToTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateScanner Scanner(S, Settings);
    TDateTime Result;
    if (!Scanner.ScanTime(Result) || !Scanner.AtEnd())
        return false;
    Value = Result;
    return true;
}

bool TryStrToDateTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateScanner Scanner(S, Settings);
    TDateTime Day, TimeOfDay = 0;
    if (Scanner.ScanDate(Day) &&
        (Scanner.AtEnd() || (Scanner.ScanTime(TimeOfDay) && Scanner.AtEnd()))) {
        Value = Day >= 0 ? Day + TimeOfDay : Day - TimeOfDay;
        return true;
    }
    return TryStrToTime(S, Value, Settings);
}

TDateTime StrToDate(const std::string& S, const TFormatSettings& Settings)
{
    TDateTime Result = 0;
    if (!TryStrToDate(S, Result, Settings))
        RaiseConvert(S, "date");
    return Result;
}

TDateTime StrToTime(const std::string& S, const TFormatSettings& Settings)
{
    TDateTime Result = 0;
    if (!TryStrToTime(S, Result, Settings))
        RaiseConvert(S, "time");
    return Result;
}

TDateTime StrToDateTime(const std::string& S, const TFormatSettings& Settings)
{
    TDateTime Result = 0;
    if (!TryStrToDateTime(S, Result, Settings))
        RaiseConvert(S, "date and time");
    return Result;
}

TDateTime StrToDateDef(const std::string& S, TDateTime Default, const TFormatSettings& Settings)
{
    TDateTime Result = Default;
    return TryStrToDate(S, Result, Settings) ? Result : Default;
}

TDateTime StrToTimeDef(const std::string& S, TDateTime Default, const TFormatSettings& Settings)
{
    TDateTime Result = Default;
    return TryStrToTime(S, Result, Settings) ? Result : Default;
}

TDateTime StrToDateTimeDef(const std::string& S, TDateTime Default, const TFormatSettings& Settings)
{
    TDateTime Result = Default;
    return TryStrToDateTime(S, Result, Settings) ? Result : Default;
}
