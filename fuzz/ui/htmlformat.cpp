// Feeds arbitrary bytes to the "HTML Format" reader: nothing may crash; an accepted block gives
// a document and fragment taken from inside the data; the block built around that document reads
// back with a fragment taken from that document.
#include "fuzz/fuzzinput.h"
#include "platform/ui/shelldata.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    THtmlFormat Read;
    if (!ParseHtmlFormat(Input, Read))
        return 0;
    const std::string Text = Input.substr(0, Input.find('\0'));
    Check(Text.find(Read.Html) != std::string::npos);
    Check(Text.find(Read.Fragment) != std::string::npos);
    THtmlFormat Again;
    Check(ParseHtmlFormat(BuildHtmlFormat(Read.Html), Again));
    Check(Read.Html.find(Again.Fragment) != std::string::npos);
    return 0;
}
