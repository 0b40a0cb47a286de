// Feeds a picture and a text (the input's first line and the rest) to the entry fields' text
// conversions: dates and times read back in range or as none, texts made from them are as long
// as their pictures, and TextToLong names a place inside the text when it fails.
#include "controls/entry/ovcdate.h"
#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcstr.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    const std::size_t Break = Input.find('\n');
    const std::string Picture = Break == std::string::npos ? std::string() : Input.substr(0, Break);
    const std::string Text = Break == std::string::npos ? Input : Input.substr(Break + 1);
    const TOvcIntlSup& Intl = OvcIntlSup();
    const int Epoch = Size > 0 ? 1600 + Data[0] * 9 : 1900;

    const int Day = Intl.DateTextToDayNumber(Picture, Text, Epoch);
    Check(Day == OvcDate::BadDate || (Day >= 0 && Day <= OvcDate::MaxDayNumber));
    for (int N : {Day, 0, OvcDate::MaxDayNumber, OvcDate::MaxDayNumber + 1})
        Check(Intl.DayNumberToDateText(Picture, N, false, Epoch).size() == Picture.size());
    Intl.DayNumberToDateText(Picture, Day, true, Epoch);

    const int Seconds = Intl.TimeTextToSeconds(Picture, Text);
    Check(Seconds == OvcDate::BadTime || (Seconds >= 0 && Seconds < OvcDate::SecondsInDay));
    for (int S : {Seconds, 0, 86399, 86400})
        Check(Intl.SecondsToTimeText(Picture, S, false).size() == Picture.size());
    Intl.SecondsToTimeText(Picture, Seconds, true);

    std::int32_t Value = 0;
    if (!TextToLong(Text, Value))
        Check(Text.size() > MaxOvcText
                  ? Value == -1
                  : Value >= 0 && static_cast<std::size_t>(Value) <= Text.size());
    Check(ExpandTabs(Text, Size > 1 ? Data[1] % 17 : 8).size() <= MaxOvcText);
    std::string Exponent = Text.substr(0, MaxOvcText);
    TrimExponent(Exponent);
    Check(Exponent.size() <= MaxOvcText);
    return 0;
}
