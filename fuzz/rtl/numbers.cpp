// Number text from outside (mail headers, rule files, grid cells) through the integer and
// floating-point parsers, and the same bytes as a FormatFloat picture, under a decimal-point
// and a decimal-comma locale.
#include "fuzz/fuzzinput.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/locales.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace {

void Parse(const std::string& Text, const TFormatSettings& Settings)
{
    try {
        StrToInt(Text);
    } catch (const EConvertError&) {
    }
    StrToIntDef(Text, 0);
    StrToInt64Def(Text, 0);
    int IntValue = 0;
    int Code = 0;
    Val(Text, IntValue, Code);
    double Value = 0;
    Val(Text, Value, Code);
    TextToFloat(Text, Value, Settings);
    try {
        StrToFloat(Text, Settings);
    } catch (const EConvertError&) {
    }
    for (double Sample :
         {0.0, -1234.5678, 0.000123, 1e300, std::numeric_limits<double>::max(),
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::quiet_NaN()})
        FormatFloat(Text, Sample, Settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const TFormatSettings Point = TFormatSettings::EnglishUS();
    static const TFormatSettings Comma = TestSupport::German();
    const std::string Text = InputText(Data, Size);
    Parse(Text, Point);
    Parse(Text, Comma);
    return 0;
}
