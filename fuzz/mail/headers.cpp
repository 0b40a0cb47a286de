// Feeds arbitrary header text to the field look-ups, the address-list split, the encoded-word
// decoder and the field deletion, none of which may raise or lose the lines they keep.
#include "fuzz/fuzzinput.h"
#include "mail/mspars.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    ZevHeaders Headers;
    Headers.SetText(Input);
    const int Count = Headers.Count();

    // Names from the text itself, so that look-ups find something.
    for (int I = 0; I < Count && I < 16; ++I) {
        const std::string Line = Headers.Get(I);
        const std::size_t Colon = Line.find(':');
        if (Colon != std::string::npos)
            Headers.GetFieldValue(Line.substr(0, Colon));
    }
    // A decoded value is one line, whatever its encoded words hold.
    for (const char* Name : {"Subject", "From", "Date"})
        Check(Headers.GetFieldValue(Name).find_first_of("\r\n") == std::string::npos);
    for (const char* Name : {"Content-Type", "X-UIDL"})
        Headers.GetFieldValue(Name);
    TStringList List;
    for (const char* Name : {"TO", "CC", "BCC"}) {
        Headers.GetFieldList(Name, &List);
        for (int I = 0; I < List.Count(); ++I) {
            std::string Address, DisplayName;
            SplitMailAddress(List.Get(I), Address, DisplayName);
        }
    }

    // Text without an encoded word passes through unchanged.
    const std::string Decoded = DecodeHeaderWords(Input);
    if (Input.find("=?") == std::string::npos)
        Check(Decoded == Input);

    Headers.DeleteField("Received");
    Check(Headers.Count() <= Count);
    Headers.StripBody();
    for (int I = 0; I < Headers.Count(); ++I)
        Check(!Headers.Get(I).empty());
    return 0;
}
