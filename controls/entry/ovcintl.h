// controls/entry/ovcintl.h: TOvcIntlSup, the entry fields' international settings (read once
// from the regional settings) and the date and time texts built from its pictures.
#pragma once

#include "platform/rtl/object.h"

#include <array>
#include <string>

class TOvcIntlSup : public TObject {
public:
    TOvcIntlSup();

    // Reads FormatSettings and the user's "sShortDate"; long texts are cut to their sizes.
    void ReadSettings();

    std::string CurrencyLeft() const;
    std::string CurrencyRight() const;
    std::string DatePicture(bool FourDigitYear) const;
    std::string TimePicture(bool WithSeconds) const;

    int DateTextToDayNumber(const std::string& Picture, const std::string& Text, int Epoch) const;
    bool DateTextToParts(const std::string& Picture, const std::string& Text, int Epoch, int& Day,
                         int& Month, int& Year) const;
    // Day numbers outside 0 to 876581 show as no date.
    std::string DayNumberToDateText(const std::string& Picture, int DayNumber, bool Pack,
                                    int Epoch) const;
    int TimeTextToSeconds(const std::string& Picture, const std::string& Text) const;
    bool TimeTextToParts(const std::string& Picture, const std::string& Text, int& Hours,
                         int& Minutes, int& Seconds) const;
    std::string SecondsToTimeText(const std::string& Picture, int Seconds, bool Pack) const;
    int MonthFromName(const std::string& Text, std::size_t RunLength) const;

    const std::string& CurrencyLtStr() const { return FCurrencyLtStr; }
    const std::string& CurrencyRtStr() const { return FCurrencyRtStr; }
    char DecimalChar() const { return FDecimalChar; }
    char CommaChar() const { return FCommaChar; }
    unsigned char CurrencyDigits() const { return FCurrencyDigits; }
    char ListChar() const { return FListChar; }
    char SlashChar() const { return FSlashChar; }
    char TrueChar() const { return FTrueChar; }
    char FalseChar() const { return FFalseChar; }
    char YesChar() const { return FYesChar; }
    char NoChar() const { return FNoChar; }
    const std::string& AMString() const { return FAMString; }
    const std::string& PMString() const { return FPMString; }
    char ColonChar() const { return FColonChar; }
    const std::string& Country() const { return FCountry; }
    unsigned char CurrencyFormat() const { return FCurrencyFormat; }
    const std::string& LongDate() const { return FLongDate; }
    const std::string& LiteralSlot(int Index) const
    {
        return FLiterals.at(static_cast<std::size_t>(Index));
    }
    unsigned char NegCurrencyFormat() const { return FNegCurrencyFormat; }
    const std::string& ShortDate() const { return FShortDate; }
    bool TLZero() const { return FTLZero; }
    bool TwelveHour() const { return FTwelveHour; }

private:
    std::string FCurrencyLtStr = "$";
    std::string FCurrencyRtStr;
    char FDecimalChar = '.';
    char FCommaChar = ',';
    unsigned char FCurrencyDigits = 2;
    char FListChar = ',';
    char FSlashChar = '/';
    char FTrueChar = 'T';
    char FFalseChar = 'F';
    char FYesChar = 'Y';
    char FNoChar = 'N';
    std::string FAMString = "AM";
    std::string FPMString = "PM";
    char FColonChar = ':';
    std::string FCountry;
    unsigned char FCurrencyFormat = 0;
    std::array<std::string, 3> FLiterals;
    std::string FLongDate = "dddd, MMMM dd, yyyy";
    unsigned char FNegCurrencyFormat = 0;
    std::string FShortDate = "MM/dd/yy";
    bool FTLZero = false;
    bool FTwelveHour = false;
};

// The one instance, made at first use (the library's string tables exist before main).
TOvcIntlSup& OvcIntlSup();
