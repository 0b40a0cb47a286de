// Feeds arbitrary text to the Date parser: it never raises, and a date it reads is a real one.
#include "fuzz/fuzzinput.h"
#include "mail/mspars.h"
#include "platform/rtl/datetime.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    TDateTime Value = 1;
    std::string Zone = "x";
    ParseMailDate(Input, Value, Zone);
    Check(Value >= EncodeDate(1, 1, 1) && Value < EncodeDate(9999, 12, 31) + 1);
    Check(Zone.size() <= Input.size());
    return 0;
}
