// Feeds arbitrary text to the base64 decoder (which may only raise its own error) and checks
// that encoding round-trips both the input and whatever was decoded.
#include "fuzz/fuzzinput.h"
#include "mail/msmime.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    try {
        const std::string Decoded = Base64Decode(Input);
        Check(Decoded.size() <= Input.size() * 3 / 4 + 1);
        Check(Base64Decode(Base64Encode(Decoded)) == Decoded);
    } catch (const EMessageParserError&) {
    }
    const std::string Encoded = Base64Encode(Input);
    Check(Encoded.size() % 4 == 0);
    Check(Base64Decode(Encoded) == Input);
    return 0;
}
