#include "platform/stdctrls/datetimepickfields.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

constexpr int FirstYear = 1601; // the system time record's range
constexpr int LastYear = 9999;

auto Key(const TSystemTime& T)
{
    return std::make_tuple(T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond,
                           T.wMilliseconds);
}

bool Same(const TSystemTime& A, const TSystemTime& B)
{
    return Key(A) == Key(B) && A.wDayOfWeek == B.wDayOfWeek;
}

int Wrap(int Value, int Low, int High)
{
    const int Span = High - Low + 1;
    return ((Value - Low) % Span + Span) % Span + Low;
}

std::string Number(int Value, int Width)
{
    char Buffer[16];
    std::snprintf(Buffer, sizeof Buffer, "%0*d", Width, Value);
    return Buffer;
}

char Fold(char C)
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C;
}

bool StartsWithLetter(const std::string& Name, char Letter)
{
    return !Name.empty() && Fold(Name[0]) == Fold(Letter);
}

// The first character of a UTF-8 text, whole.
std::string FirstChar(const std::string& S)
{
    if (S.empty())
        return {};
    const auto Lead = static_cast<unsigned char>(S[0]);
    const std::size_t N = Lead < 0xC0 ? 1 : Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
    return S.substr(0, std::min(N, S.size()));
}

std::string Quoted(const std::string& Text)
{
    std::string Out = "'";
    for (char C : Text)
        Out += C == '\'' ? std::string("''") : std::string(1, C);
    return Out + "'";
}

bool IsLetter(char C)
{
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

// Days moved, the time kept; false outside the record's range.
bool AddDays(TSystemTime& T, int Days)
{
    TDateTime V;
    if (!TrySystemTimeToDateTime(T, V))
        return false;
    TSystemTime Moved;
    DateTimeToSystemTime(V + Days, Moved);
    if (Moved.wYear < FirstYear || Moved.wYear > LastYear)
        return false;
    Moved.wMilliseconds = T.wMilliseconds;
    T = Moved;
    return true;
}

int ExpandTwoDigitYear(int Year)
{
    Word Y = 0, M = 0, D = 0;
    DecodeDate(::Date(), Y, M, D);
    const int Window = FormatSettings.TwoDigitYearCenturyWindow;
    const int Base = Y - Window;
    int Result = Year + Base / 100 * 100;
    if (Window > 0 && Result < Base)
        Result += 100;
    return Result;
}

} // namespace

std::vector<TDTField> ParseDateTimePickFormat(const std::string& Format)
{
    std::vector<TDTField> Fields;
    auto AddLiteral = [&](const std::string& Text) {
        if (Text.empty())
            return;
        if (!Fields.empty() && Fields.back().Kind == dfkLiteral)
            Fields.back().Text += Text;
        else
            Fields.push_back(TDTField{dfkLiteral, 0, Text});
    };
    std::size_t I = 0;
    while (I < Format.size()) {
        const char C = Format[I];
        if (C == '\'') {
            std::string Text;
            ++I;
            while (I < Format.size()) {
                if (Format[I] == '\'') {
                    if (I + 1 < Format.size() && Format[I + 1] == '\'') {
                        Text += '\'';
                        I += 2;
                        continue;
                    }
                    ++I;
                    break;
                }
                Text += Format[I++];
            }
            AddLiteral(Text);
            continue;
        }
        std::size_t Run = 1;
        while (I + Run < Format.size() && Format[I + Run] == C)
            ++Run;
        const int N = static_cast<int>(Run);
        switch (C) {
        case 'd':
            Fields.push_back(N <= 2 ? TDTField{dfkDay, N, {}}
                                    : TDTField{dfkDayName, std::min(N, 4), {}});
            break;
        case 'M':
            Fields.push_back(TDTField{dfkMonth, std::min(N, 4), {}});
            break;
        case 'y':
            Fields.push_back(TDTField{dfkYear, N >= 3 ? 4 : N, {}});
            break;
        case 'h':
            Fields.push_back(TDTField{dfkHour12, std::min(N, 2), {}});
            break;
        case 'H':
            Fields.push_back(TDTField{dfkHour24, std::min(N, 2), {}});
            break;
        case 'm':
            Fields.push_back(TDTField{dfkMinute, std::min(N, 2), {}});
            break;
        case 's':
            Fields.push_back(TDTField{dfkSecond, std::min(N, 2), {}});
            break;
        case 't':
            Fields.push_back(TDTField{dfkAmPm, std::min(N, 2), {}});
            break;
        default:
            AddLiteral(Format.substr(I, Run));
            break;
        }
        I += Run;
    }
    return Fields;
}

std::string DateTimePickFormatFromLocale(const std::string& LocaleFormat,
                                         const TFormatSettings& Settings)
{
    const std::string Upper = [&] {
        std::string U = LocaleFormat;
        for (char& C : U)
            C = Fold(C);
        return U;
    }();
    const bool TwelveHours = Upper.find("AMPM") != std::string::npos ||
                             Upper.find("AM/PM") != std::string::npos ||
                             Upper.find("A/P") != std::string::npos;
    std::string Out;
    bool AfterHour = false;
    std::size_t I = 0;
    while (I < LocaleFormat.size()) {
        const char C = LocaleFormat[I];
        const char U = Fold(C);
        if (Upper.compare(I, 4, "AMPM") == 0 || Upper.compare(I, 5, "AM/PM") == 0) {
            Out += "tt";
            I += Upper.compare(I, 4, "AMPM") == 0 ? 4 : 5;
            continue;
        }
        if (Upper.compare(I, 3, "A/P") == 0) {
            Out += "t";
            I += 3;
            continue;
        }
        if (C == '\'' || C == '"') {
            const std::size_t End = LocaleFormat.find(C, I + 1);
            const std::size_t Stop = End == std::string::npos ? LocaleFormat.size() : End;
            Out += Quoted(LocaleFormat.substr(I + 1, Stop - I - 1));
            I = Stop + 1;
            continue;
        }
        if (C == '/' || C == ':') {
            Out +=
                Quoted(std::string(1, C == '/' ? Settings.DateSeparator : Settings.TimeSeparator));
            ++I;
            continue;
        }
        std::size_t Run = 1;
        while (I + Run < LocaleFormat.size() && Fold(LocaleFormat[I + Run]) == U)
            ++Run;
        const int N = static_cast<int>(Run);
        switch (U) {
        case 'D':
            Out += std::string(static_cast<std::size_t>(std::min(N, 4)), 'd');
            break;
        case 'M':
            Out += AfterHour ? std::string(static_cast<std::size_t>(std::min(N, 2)), 'm')
                             : std::string(static_cast<std::size_t>(std::min(N, 4)), 'M');
            break;
        case 'N':
            Out += std::string(static_cast<std::size_t>(std::min(N, 2)), 'm');
            break;
        case 'Y':
            Out += N <= 2 ? "yy" : "yyyy";
            break;
        case 'H':
            Out += std::string(static_cast<std::size_t>(std::min(N, 2)), TwelveHours ? 'h' : 'H');
            break;
        case 'S':
            Out += std::string(static_cast<std::size_t>(std::min(N, 2)), 's');
            break;
        case 'Z':
            break; // milliseconds are not shown
        default:
            Out += IsLetter(C) ? Quoted(LocaleFormat.substr(I, Run)) : LocaleFormat.substr(I, Run);
            break;
        }
        if (U == 'H')
            AfterHour = true;
        else if (U == 'M' || U == 'N' || U == 'D' || U == 'Y')
            AfterHour = false;
        I += Run;
    }
    return Out;
}

std::string DateTimePickFieldText(const TDTField& Field, const TSystemTime& V,
                                  const TFormatSettings& Settings)
{
    const int W = Field.Letters >= 2 ? 2 : 1;
    switch (Field.Kind) {
    case dfkLiteral:
        return Field.Text;
    case dfkDay:
        return Number(V.wDay, W);
    case dfkDayName:
        return Field.Letters >= 4 ? Settings.LongDayNames[V.wDayOfWeek % 7]
                                  : Settings.ShortDayNames[V.wDayOfWeek % 7];
    case dfkMonth: {
        const std::size_t M = static_cast<std::size_t>(std::clamp<int>(V.wMonth, 1, 12) - 1);
        if (Field.Letters == 3)
            return Settings.ShortMonthNames[M];
        if (Field.Letters >= 4)
            return Settings.LongMonthNames[M];
        return Number(V.wMonth, W);
    }
    case dfkYear:
        if (Field.Letters == 1)
            return Number(V.wYear % 10, 1);
        if (Field.Letters == 2)
            return Number(V.wYear % 100, 2);
        return Number(V.wYear, 4);
    case dfkHour12:
        return Number(V.wHour % 12 == 0 ? 12 : V.wHour % 12, W);
    case dfkHour24:
        return Number(V.wHour, W);
    case dfkMinute:
        return Number(V.wMinute, W);
    case dfkSecond:
        return Number(V.wSecond, W);
    case dfkAmPm: {
        const std::string& S = V.wHour < 12 ? Settings.TimeAMString : Settings.TimePMString;
        return Field.Letters >= 2 ? S : FirstChar(S);
    }
    }
    return {};
}

// ---- editing

TDateTimeFields::TDateTimeFields()
{
    FValue.wYear = 2000;
    FValue.wMonth = 1;
    FValue.wDay = 1;
    Apply(FValue);
}

void TDateTimeFields::SetFormat(const std::string& Format)
{
    Commit();
    FFields = ParseDateTimePickFormat(Format);
    FCurrent = NextEditable(-1, 1);
}

int TDateTimeFields::NextEditable(int From, int Delta) const
{
    for (int I = From + Delta; I >= 0 && I < static_cast<int>(FFields.size()); I += Delta)
        if (FFields[static_cast<std::size_t>(I)].Kind != dfkLiteral)
            return I;
    return -1;
}

void TDateTimeFields::SetCurrent(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(FFields.size()) ||
        FFields[static_cast<std::size_t>(Index)].Kind == dfkLiteral)
        return;
    Commit();
    FCurrent = Index;
}

std::string TDateTimeFields::Text(int Index, const TFormatSettings& Settings) const
{
    if (Index == FCurrent && !FPending.empty()) {
        // The digits typed so far, padded as the field shows its numbers.
        const TDTField& F = FFields[static_cast<std::size_t>(Index)];
        const bool FullYear = F.Kind == dfkYear && F.Letters >= 4;
        if (FullYear || F.Letters < 2 || FPending.size() >= 2)
            return FPending;
        return "0" + FPending;
    }
    return DateTimePickFieldText(FFields[static_cast<std::size_t>(Index)], FValue, Settings);
}

bool TDateTimeFields::SetValue(const TSystemTime& Value)
{
    TDateTime Check;
    if (!TrySystemTimeToDateTime(Value, Check) || Value.wYear < FirstYear || Value.wHour > 23 ||
        Value.wMinute > 59 || Value.wSecond > 59)
        return false;
    FPending.clear();
    Apply(Value);
    return true;
}

void TDateTimeFields::SetRange(bool HasMin, const TSystemTime& Min, bool HasMax,
                               const TSystemTime& Max)
{
    FHasMin = HasMin;
    FHasMax = HasMax;
    FMin = Min;
    FMax = Max;
    if (FHasMin && FHasMax && Key(FMax) < Key(FMin))
        std::swap(FMin, FMax);
    Apply(FValue);
}

bool TDateTimeFields::Apply(TSystemTime V)
{
    V.wYear = static_cast<Word>(std::clamp<int>(V.wYear, FirstYear, LastYear));
    V.wMonth = static_cast<Word>(std::clamp<int>(V.wMonth, 1, 12));
    V.wDay = static_cast<Word>(std::clamp<int>(V.wDay, 1, DaysInAMonth(V.wYear, V.wMonth)));
    V.wHour = static_cast<Word>(std::min<int>(V.wHour, 23));
    V.wMinute = static_cast<Word>(std::min<int>(V.wMinute, 59));
    V.wSecond = static_cast<Word>(std::min<int>(V.wSecond, 59));
    V.wMilliseconds = static_cast<Word>(std::min<int>(V.wMilliseconds, 999));
    if (FHasMin && Key(V) < Key(FMin))
        V = FMin;
    if (FHasMax && Key(FMax) < Key(V))
        V = FMax;
    V.wDayOfWeek = static_cast<Word>(DayOfWeek(EncodeDate(V.wYear, V.wMonth, V.wDay)) - 1);
    if (Same(V, FValue))
        return false;
    FValue = V;
    return true;
}

int TDateTimeFields::MaxDigits(const TDTField& F) const
{
    return F.Kind == dfkYear && F.Letters >= 4 ? 4 : 2;
}

int TDateTimeFields::TypingMax(const TDTField& F) const
{
    switch (F.Kind) {
    case dfkDay:
        return 31;
    case dfkMonth:
        return 12;
    case dfkYear:
        return F.Letters >= 4 ? LastYear : 99;
    case dfkHour12:
        return 12;
    case dfkHour24:
        return 23;
    case dfkMinute:
    case dfkSecond:
        return 59;
    default:
        return -1; // no digits
    }
}

bool TDateTimeFields::Commit()
{
    if (FPending.empty() || FCurrent < 0)
        return false;
    const TDTField& F = FFields[static_cast<std::size_t>(FCurrent)];
    const int Typed = std::stoi(FPending);
    const std::size_t Digits = FPending.size();
    FPending.clear();
    TSystemTime V = FValue;
    switch (F.Kind) {
    case dfkDay:
        V.wDay = static_cast<Word>(std::max(Typed, 1));
        break;
    case dfkMonth:
        V.wMonth = static_cast<Word>(std::max(Typed, 1));
        break;
    case dfkYear:
        V.wYear = static_cast<Word>(Digits <= 2 ? ExpandTwoDigitYear(Typed) : Typed);
        break;
    case dfkHour12:
        V.wHour = static_cast<Word>(Typed % 12 + (FValue.wHour >= 12 ? 12 : 0));
        break;
    case dfkHour24:
        V.wHour = static_cast<Word>(Typed);
        break;
    case dfkMinute:
        V.wMinute = static_cast<Word>(Typed);
        break;
    case dfkSecond:
        V.wSecond = static_cast<Word>(Typed);
        break;
    default:
        return false;
    }
    return Apply(V);
}

bool TDateTimeFields::Move(int Delta)
{
    const bool Changed = Commit();
    const int Next = NextEditable(FCurrent, Delta);
    if (Next >= 0)
        FCurrent = Next;
    return Changed;
}

bool TDateTimeFields::Step(int Delta)
{
    bool Changed = Commit();
    if (FCurrent < 0)
        return Changed;
    TSystemTime V = FValue;
    switch (FFields[static_cast<std::size_t>(FCurrent)].Kind) {
    case dfkDay:
        V.wDay = static_cast<Word>(Wrap(V.wDay + Delta, 1, DaysInAMonth(V.wYear, V.wMonth)));
        break;
    case dfkDayName:
        if (!AddDays(V, Delta))
            return Changed;
        break;
    case dfkMonth:
        V.wMonth = static_cast<Word>(Wrap(V.wMonth + Delta, 1, 12));
        break;
    case dfkYear:
        V.wYear = static_cast<Word>(std::clamp(V.wYear + Delta, FirstYear, LastYear));
        break;
    case dfkHour12:
        V.wHour = static_cast<Word>(V.wHour / 12 * 12 + Wrap(V.wHour % 12 + Delta, 0, 11));
        break;
    case dfkHour24:
        V.wHour = static_cast<Word>(Wrap(V.wHour + Delta, 0, 23));
        break;
    case dfkMinute:
        V.wMinute = static_cast<Word>(Wrap(V.wMinute + Delta, 0, 59));
        break;
    case dfkSecond:
        V.wSecond = static_cast<Word>(Wrap(V.wSecond + Delta, 0, 59));
        break;
    case dfkAmPm:
        V.wHour = static_cast<Word>((V.wHour + 12) % 24);
        break;
    case dfkLiteral:
        break;
    }
    return Apply(V) || Changed;
}

bool TDateTimeFields::Extreme(bool Highest)
{
    bool Changed = Commit();
    if (FCurrent < 0)
        return Changed;
    TSystemTime V = FValue;
    switch (FFields[static_cast<std::size_t>(FCurrent)].Kind) {
    case dfkDay:
        V.wDay = static_cast<Word>(Highest ? DaysInAMonth(V.wYear, V.wMonth) : 1);
        break;
    case dfkDayName:
        if (!AddDays(V, Highest ? 6 - V.wDayOfWeek : -static_cast<int>(V.wDayOfWeek)))
            return Changed;
        break;
    case dfkMonth:
        V.wMonth = static_cast<Word>(Highest ? 12 : 1);
        break;
    case dfkYear:
        V.wYear = Highest ? (FHasMax ? FMax.wYear : Word(LastYear))
                          : (FHasMin ? FMin.wYear : Word(FirstYear));
        break;
    case dfkHour12:
        V.wHour = static_cast<Word>(V.wHour / 12 * 12 + (Highest ? 11 : 0));
        break;
    case dfkHour24:
        V.wHour = static_cast<Word>(Highest ? 23 : 0);
        break;
    case dfkMinute:
        V.wMinute = static_cast<Word>(Highest ? 59 : 0);
        break;
    case dfkSecond:
        V.wSecond = static_cast<Word>(Highest ? 59 : 0);
        break;
    case dfkAmPm:
        V.wHour = static_cast<Word>(V.wHour % 12 + (Highest ? 12 : 0));
        break;
    case dfkLiteral:
        break;
    }
    return Apply(V) || Changed;
}

bool TDateTimeFields::Char(unsigned char C, const TFormatSettings& Settings)
{
    if (FCurrent < 0)
        return false;
    const TDTField& F = FFields[static_cast<std::size_t>(FCurrent)];
    if (C >= '0' && C <= '9') {
        const int Max = TypingMax(F);
        if (Max < 0)
            return false;
        std::string Candidate = FPending + static_cast<char>(C);
        if (std::stoi(Candidate) > Max)
            Candidate = std::string(1, static_cast<char>(C)); // a fresh first digit
        FPending = Candidate;
        const int Value = std::stoi(FPending);
        if (static_cast<int>(FPending.size()) >= MaxDigits(F) || Value * 10 > Max)
            return Move(1); // the field is full: on to the next
        return false;
    }
    if (IsLetter(static_cast<char>(C))) {
        const char L = static_cast<char>(C);
        TSystemTime V = FValue;
        if (F.Kind == dfkMonth && F.Letters >= 3) {
            Commit();
            for (int K = 1; K <= 12; ++K) {
                const int M = Wrap(FValue.wMonth + K, 1, 12);
                const auto Index = static_cast<std::size_t>(M - 1);
                if (StartsWithLetter(Settings.LongMonthNames[Index], L) ||
                    StartsWithLetter(Settings.ShortMonthNames[Index], L)) {
                    V.wMonth = static_cast<Word>(M);
                    return Apply(V);
                }
            }
            return false;
        }
        if (F.Kind == dfkAmPm) {
            const bool Am = StartsWithLetter(Settings.TimeAMString, L) || Fold(L) == 'A';
            const bool Pm = StartsWithLetter(Settings.TimePMString, L) || Fold(L) == 'P';
            if (Am == Pm)
                return false;
            V.wHour = static_cast<Word>(V.wHour % 12 + (Pm ? 12 : 0));
            return Apply(V);
        }
        return false;
    }
    // A separator typed moves on, as when it is typed after a field in a text box.
    if (C >= 0x20 && C < 0x80) {
        for (int I = FCurrent + 1; I < static_cast<int>(FFields.size()); ++I)
            if (FFields[static_cast<std::size_t>(I)].Kind == dfkLiteral &&
                FFields[static_cast<std::size_t>(I)].Text.find(static_cast<char>(C)) !=
                    std::string::npos)
                return Move(1);
    }
    return false;
}
