// Feeds arbitrary text to the Date parser: it never raises, and a date it reads is a real one
// with the time of day it read.
#include "fuzz/fuzzinput.h"
#include "mail/mspars.h"
#include "platform/rtl/datetime.h"

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    TDateTime Value = 1;
    std::string Zone = "x";
    ParseMailDate(Input, Value, Zone);
    // Before 1899-12-30 the time counts down from the day, so 1 January 0001 ends below it.
    Check(Value > EncodeDate(1, 1, 1) - 1 && Value < EncodeDate(9999, 12, 31) + 1);
    if (Value != 0) {
        // The date and time it decodes to, written out, read back as the same value.
        static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        Word Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
        DecodeDate(Value, Year, Month, Day);
        DecodeTime(Value, Hour, Minute, Second, MSec);
        Check(Month >= 1 && Month <= 12);
        char Text[64];
        std::snprintf(Text, sizeof(Text), "%u %s %04u %02u:%02u:%02u", unsigned{Day},
                      Months[Month - 1], unsigned{Year}, unsigned{Hour}, unsigned{Minute},
                      unsigned{Second});
        TDateTime Again = 0;
        std::string AgainZone;
        ParseMailDate(Text, Again, AgainZone);
        Check(Again == Value);
    }
    Check(Zone.size() <= Input.size());
    return 0;
}
