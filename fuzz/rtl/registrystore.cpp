// Feeds arbitrary text to the registry store's parser: it must never crash, and what it writes
// must read back to the same text.
#include "platform/rtl/registrystore.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TRegistryData First;
    First.Parse(InputText(Data, Size));
    std::string Text = First.Text();
    TRegistryData Second;
    Second.Parse(Text);
    if (Second.Text() != Text)
        std::abort();
    for (const std::string& Name : First.SubKeyNames(""))
        if (!First.FindKey(Name))
            std::abort();
    return 0;
}
