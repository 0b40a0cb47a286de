// controls/grid/advutilnumbers.cpp: recognising numbers and dates in cell texts, and the step of a
// pasted date series.
#include "controls/grid/advutil.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

#include <cmath>

namespace {

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// Leading blanks, an optional sign, then decimal digits and nothing else. Values beyond nine
// digits are refused, as no date field is that long.
bool ReadDecimal(const std::string& Text, int& Value, int* DigitCount = nullptr)
{
    std::size_t I = 0;
    while (I < Text.size() && Text[I] == ' ')
        ++I;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '-' || Text[I] == '+'))
        Negative = Text[I++] == '-';
    const std::size_t First = I;
    long long Result = 0;
    for (; I < Text.size(); ++I) {
        if (!IsDigit(Text[I]) || I - First >= 9)
            return false;
        Result = Result * 10 + (Text[I] - '0');
    }
    if (I == First)
        return false;
    Value = static_cast<int>(Negative ? -Result : Result);
    if (DigitCount != nullptr)
        *DigitCount = static_cast<int>(I - First);
    return true;
}

// EncodeDate for fields that may lie outside a Word; the same error for any date that does not
// exist.
TDateTime EncodeDateFields(int Year, int Month, int Day)
{
    TDateTime Result = 0;
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > 31 ||
        !TryEncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day),
                       Result))
        throw EConvertError("Invalid argument to date encode");
    return Result;
}

TDateTime ParseDateFields(const std::string& Text, bool MonthFirst)
{
    char Separator = '-';
    if (Text.find('/') != std::string::npos)
        Separator = '/';
    else if (Text.find('.') != std::string::npos)
        Separator = '.';
    const std::size_t First = Text.find(Separator);
    if (First == std::string::npos)
        return 0;
    const std::size_t Second = Text.find(Separator, First + 1);
    const std::string FirstField = Text.substr(0, First);
    const std::string SecondField = Second == std::string::npos
                                        ? Text.substr(First + 1)
                                        : Text.substr(First + 1, Second - First - 1);
    const std::string YearField = Second == std::string::npos ? "" : Text.substr(Second + 1);
    int A = 0;
    int B = 0;
    int Year = 0;
    int YearDigits = 0;
    if (!ReadDecimal(FirstField, A) || !ReadDecimal(SecondField, B) ||
        !ReadDecimal(YearField, Year, &YearDigits))
        return 0;
    // Only a short year is a year of the current window; a long one is taken as written.
    if (YearDigits <= 2)
        Year += Year > 25 ? 1900 : 2000;
    return MonthFirst ? EncodeDateFields(Year, A, B) : EncodeDateFields(Year, B, A);
}

} // namespace

int NumberTextKind(const std::string& Text, const TFormatSettings& Settings)
{
    const char Thousands = Settings.ThousandSeparator;
    const char Decimal = Settings.DecimalSeparator;
    bool IsInteger = true;
    bool IsNumber = true;
    int Minus = 0;
    int Decimals = 0;
    int LastThousands = 0;
    for (int I = 1; I <= static_cast<int>(Text.size()); ++I) {
        const char C = Text[I - 1];
        if (C == '-')
            ++Minus;
        else if (IsDigit(C))
            continue;
        else {
            IsInteger = false;
            if (Thousands != '\0' && C == Thousands) {
                if (I < 2 || (LastThousands > 0 && I - LastThousands < 3))
                    IsNumber = false;
                LastThousands = I;
            } else if (Decimal != '\0' && C == Decimal) {
                ++Decimals;
            } else {
                IsNumber = false;
            }
        }
    }
    if (Minus > 1 || Decimals > 1)
        return 2;
    if (IsInteger)
        return 0;
    return IsNumber ? 1 : 2;
}

std::string NumericTextToPlain(const std::string& Text, const TFormatSettings& Settings)
{
    const char Thousands = Settings.ThousandSeparator;
    const char Decimal = Settings.DecimalSeparator;
    auto Numeric = [&](char C) {
        return C == '-' || IsDigit(C) || (Thousands != '\0' && C == Thousands) ||
               (Decimal != '\0' && C == Decimal);
    };
    std::size_t Start = 0;
    while (Text.size() - Start > 1 && !Numeric(Text[Start]))
        ++Start;
    std::string Result;
    for (std::size_t I = Start; I < Text.size(); ++I) {
        const char C = Text[I];
        if (Thousands != '\0' && C == Thousands)
            continue;
        if (Decimal != '\0' && C == Decimal)
            Result += '.';
        else if (C == '-' || C == '.' || IsDigit(C))
            Result += C;
        else
            break;
    }
    return Result;
}

bool ParseLocaleDate(const std::string& Text, TDateTime& Date, const TFormatSettings& Settings)
{
    const std::string Format = UpperCase(Settings.ShortDateFormat);
    const std::size_t DayAt = Format.find('D');
    const std::size_t MonthAt = Format.find('M');
    const std::size_t YearAt = Format.find('Y');
    if (DayAt == std::string::npos || MonthAt == std::string::npos || YearAt == std::string::npos)
        return false;
    const char Separator = Settings.DateSeparator;
    const std::size_t First = Text.find(Separator);
    if (First == std::string::npos)
        return false;
    const std::size_t Second = Text.find(Separator, First + 1);
    if (Second == std::string::npos)
        return false;
    int Fields[3] = {0, 0, 0};
    if (!ReadDecimal(Text.substr(0, First), Fields[0]) ||
        !ReadDecimal(Text.substr(First + 1, Second - First - 1), Fields[1]) ||
        !ReadDecimal(Text.substr(Second + 1), Fields[2]))
        return false;
    // The field order is the order of D, M and Y in the format.
    auto Rank = [&](std::size_t At) {
        return static_cast<int>(At > DayAt) + static_cast<int>(At > MonthAt) +
               static_cast<int>(At > YearAt);
    };
    const int Day = Fields[Rank(DayAt)];
    const int Month = Fields[Rank(MonthAt)];
    const int Year = Fields[Rank(YearAt)];
    if (Day >= 32 || Month > 12 || Day < 1 || Month < 1 || Year < 1 || Year > 9999)
        return false;
    return TryEncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day),
                         Date);
}

TDateTime ParseDateMDY(const std::string& Text)
{
    return ParseDateFields(Text, true);
}

TDateTime ParseDateDMY(const std::string& Text)
{
    return ParseDateFields(Text, false);
}

TDateTime DateSeriesStep(int Years, int Months, int Days, TDateTime Date, TDateTime Delta)
{
    if (Days != 0 && Years == 0 && Months == 0)
        return Date + Days;
    if ((Years != 0 || Months != 0) && Days == 0 && (Years == 0 || Months == 0)) {
        Word Year = 0;
        Word Month = 0;
        Word Day = 0;
        DecodeDate(Date, Year, Month, Day);
        // Months counted from year 0, so that any step normalises across years.
        const long long Total = Year * 12LL + (Month - 1) + Months + Years * 12LL;
        if (Total < 12 || Total >= 10000 * 12LL)
            throw EConvertError("Invalid argument to date encode");
        TDateTime Result =
            EncodeDateFields(static_cast<int>(Total / 12), static_cast<int>(Total % 12 + 1), Day);
        ReplaceTime(Result, Date);
        return Result;
    }
    return Date + Delta;
}
