// Feeds arbitrary text to the address parser, alone and as a recipient field: it never raises
// and never makes text up.
#include "fuzz/fuzzinput.h"
#include "mail/mspars.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    ZevMailAddress Address;
    ParseMailAddress(Input, &Address);
    Check(Address.Address.size() + Address.Name.size() <= Input.size());

    ZevHeaders Headers;
    Headers.SetText("To: " + Input);
    TStringList List;
    Headers.GetFieldList("TO", &List);
    for (int I = 0; I < List.Count(); ++I) {
        std::string Mailbox, DisplayName;
        SplitMailAddress(List.Get(I), Mailbox, DisplayName);
    }
    return 0;
}
