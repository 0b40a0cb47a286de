// Typed or stored date text through the locale's date and time parsers, and the same bytes as a
// format for FormatDateTime, under a month-day-year and a day-month-year locale.
#include "fuzz/fuzzinput.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/locales.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Parse(const std::string& Text, const TFormatSettings& Settings)
{
    try {
        StrToDate(Text, Settings);
    } catch (const EConvertError&) {
    }
    try {
        StrToTime(Text, Settings);
    } catch (const EConvertError&) {
    }
    try {
        StrToDateTime(Text, Settings);
    } catch (const EConvertError&) {
    }
    TDateTime Value = 0;
    if (TryStrToDateTime(Text, Value, Settings))
        DateTimeToStr(Value, Settings);
    TryStrToDate(Text, Value, Settings);
    TryStrToTime(Text, Value, Settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const TFormatSettings US = TFormatSettings::EnglishUS();
    static const TFormatSettings Dotted = TestSupport::DottedSettings();
    const std::string Text = InputText(Data, Size);
    Parse(Text, US);
    Parse(Text, Dotted);
    // 29 February 2024, 13:45:30.250
    const TDateTime Fixed = 45351 + (13 * 3600 + 45 * 60 + 30.25) / 86400.0;
    FormatDateTime(Text, Fixed, US);
    FormatDateTime(Text, -1.25, Dotted);
    return 0;
}
