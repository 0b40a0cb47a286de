// Feeds any text to the entry fields' range-text conversion for every data type and a few masks:
// nothing fails outside the conversion's answer, and for the integer types a converted value
// written as a range text converts back to itself.
#include "controls/entry/ovcef.h"
#include "controls/entry/ovcintl.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text = InputText(Data, Size);
    const TOvcIntlSup& Intl = OvcIntlSup();
    static const char* const Masks[] = {"", "KKKK", "OOO", "bbb", "###.##", "E.EE", "XXXXX"};
    for (Byte Type = fidString; Type <= fidLastType; ++Type) {
        for (const char* Mask : Masks) {
            const std::optional<TRangeType> Raw = RangeTextToRaw(Type, Text, Mask, 1900, Intl);
            if (!Raw)
                continue;
            for (int MaxLength : {1, 15, 255}) {
                const std::string Back = RawToRangeText(Type, *Raw, Mask, 2, MaxLength, Intl);
                Check(Back.size() <= 255);
                if (Type >= fidLongInt && Type <= fidShortInt) {
                    const std::optional<TRangeType> Again =
                        RangeTextToRaw(Type, Back, Mask, 1900, Intl);
                    Check(Again.has_value() && Again->AsLong() == Raw->AsLong());
                }
            }
        }
    }
    return 0;
}
