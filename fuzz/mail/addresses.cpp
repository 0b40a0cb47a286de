// Feeds arbitrary text to the address parser, alone and as a sender and a recipient field: it
// never raises, never makes text up, and decoding the names never changes the address.
#include "fuzz/fuzzinput.h"
#include "mail/mspars.h"
#include "platform/rtl/strings.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    ZevMailAddress Address;
    ParseMailAddress(Input, &Address);
    Check(Address.Address.size() + Address.Name.size() <= Input.size());

    // One mailbox on one line: the sender is the same with its encoded words decoded or not.
    if (Input.find_first_of("\r\n,;:") == std::string::npos) {
        ZevHeaders From;
        From.SetText("From: " + Input);
        ZevMailAddress Decoded;
        ParseMailAddress(From.GetFieldValue("From"), &Decoded);
        ZevMailAddress AsWritten;
        ParseMailAddress(Trim(Input), &AsWritten);
        Check(Decoded.Address == AsWritten.Address);
    }

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
