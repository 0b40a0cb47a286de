// Cipher text from the registry (a stored mailbox password, perhaps edited by hand) through the
// decipherer with the program's key and the built-in one. Whatever deciphers must encipher
// again (with any seed) into a text that deciphers to the same bytes, or be refused.
#include "desktop/encryp.h"
#include "fuzz/fuzzinput.h"
#include "platform/rtl/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text = InputText(Data, Size);
    for (const char* Key : {"mupo", ""}) {
        std::string Plain;
        try {
            Plain = TKessEncryption::Decipher(Text, Key);
        } catch (const EConvertError&) {
            continue;
        }
        Check(!Plain.empty() && Plain.size() == (Text.size() - 2) / 2);
        try {
            const int Seed = Size > 0 ? Data[0] : 0;
            const std::string Again = TKessEncryption::Encipher(Plain, Key, Seed);
            Check(Again.size() == 2 + 2 * Plain.size());
            Check(TKessEncryption::Decipher(Again, Key) == Plain);
        } catch (const EKessEncryptionError&) {
        }
    }
    return 0;
}
