// Feeds any condition and value to the row filter's matcher: the first line is the condition,
// the rest the value. Nothing may fail, the answer may not depend on how often it is asked, and
// a case-insensitive match of a text with itself holds for a plain pattern (one that trimming
// leaves as it is: the matcher trims the condition, as it trims what a user typed).
#include "controls/grid/advutil.h"
#include "fuzz/fuzzinput.h"
#include "platform/rtl/strings.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text = InputText(Data, Size);
    const std::size_t Break = Text.find('\n');
    const std::string Condition = Text.substr(0, Break);
    const std::string Value = Break == std::string::npos ? "" : Text.substr(Break + 1);
    for (const bool CaseSensitive : {false, true}) {
        const bool First = MatchFilterCondition(Condition, Value, CaseSensitive);
        Check(MatchFilterCondition(Condition, Value, CaseSensitive) == First);
    }
    if (Condition.find_first_of("*?!<>&;^ ") == std::string::npos && Trim(Condition) == Condition)
        Check(MatchFilterCondition(Condition, Condition, false));
    return 0;
}
