// Feeds arbitrary bytes to the readers of lpstat's listings: nothing may crash, every queue name
// read is one lp can be given (no blanks or control bytes, at most 255 bytes), each once, never
// the printer object's own "PDF file", and the default is such a name or nothing.
#include "platform/ui/lpstat.h"
#include "fuzz/fuzzinput.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

bool Acceptable(const std::string& Name)
{
    return !Name.empty() && Name.size() <= 255 && Name != "PDF file" &&
           std::none_of(Name.begin(), Name.end(),
                        [](char C) { return static_cast<unsigned char>(C) <= 0x20 || C == 0x7F; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    const std::vector<std::string> Names = ParseLpstatDestinations(Input);
    for (std::size_t I = 0; I < Names.size(); ++I) {
        Check(Acceptable(Names[I]));
        Check(Input.find(Names[I]) != std::string::npos);
        Check(std::find(Names.begin() + static_cast<std::ptrdiff_t>(I) + 1, Names.end(),
                        Names[I]) == Names.end());
    }
    const std::string Default = ParseLpstatDefault(Input);
    Check(Default.empty() || (Acceptable(Default) && Input.find(Default) != std::string::npos));
    return 0;
}
