// Reduces arbitrary grid HTML to plain text and checks that the result never grows beyond the
// line breaks it adds and keeps no complete tag.
#include "controls/grid/advgridhtml.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text = InputText(Data, Size);
    const std::string Plain = HtmlToPlainText(Text);
    Check(Plain.size() <= Text.size());
    const std::size_t Lt = Plain.find('<');
    Check(Lt == std::string::npos || Plain.find('>', Lt) == std::string::npos);
    return 0;
}
