// Feeds arbitrary bytes to the file-drop block reader: nothing may crash or read past the data;
// each name it gives is non-empty and NUL-free, and a block built from the names reads back as
// the same names (as UTF-16 too when they are valid UTF-8).
#include "fuzz/fuzzinput.h"
#include "platform/rtl/strings.h"
#include "platform/ui/shelldata.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    // A copy of exactly Size bytes, so that a read past the end shows under the sanitizers.
    const std::vector<std::uint8_t> Bytes(Data, Data + Size);
    const std::vector<std::string> Names = ReadDropFiles(Bytes.data(), Bytes.size());
    for (const std::string& Name : Names)
        Check(!Name.empty() && Name.find('\0') == std::string::npos);
    const std::string Ansi = BuildDropFiles(Names, false);
    Check(ReadDropFiles(Ansi.data(), Ansi.size()) == Names);
    bool Utf8 = true;
    for (const std::string& Name : Names)
        Utf8 = Utf8 && IsValidUtf8(Name);
    const std::string Wide = BuildDropFiles(Names, true);
    Check(!Utf8 || ReadDropFiles(Wide.data(), Wide.size()) == Names);
    return 0;
}
