// Feeds arbitrary bytes to the text/uri-list reader: nothing may crash, every path it gives is
// absolute and NUL-free, and a list built from those paths reads back as the same paths.
#include "fuzz/fuzzinput.h"
#include "platform/ui/shelldata.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::vector<std::string> Paths = ParseUriList(InputText(Data, Size));
    for (const std::string& Path : Paths)
        Check(!Path.empty() && Path[0] == '/' && Path.find('\0') == std::string::npos);
    Check(ParseUriList(BuildUriList(Paths)) == Paths);
    return 0;
}
