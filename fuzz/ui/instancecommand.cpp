// Feeds arbitrary bytes, split into lines as they arrive on the socket, to the parser of the
// commands one process sends another: it must never crash, and every command it accepts must
// be written back as the same line.
#include "fuzz/fuzzinput.h"
#include "platform/ui/instancedir.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string Input = InputText(Data, Size);
    std::string::size_type Start = 0;
    while (Start <= Input.size()) {
        std::string::size_type End = Input.find('\n', Start);
        if (End == std::string::npos)
            End = Input.size();
        std::string Line = Input.substr(Start, End - Start);
        std::optional<TCommandMessage> Message = ParseInstanceCommand(Line);
        if (Message) {
            if (FormatInstanceCommand(*Message) != Line + "\n")
                std::abort();
            std::optional<TCommandMessage> Again = ParseInstanceCommand(Line);
            if (!Again || Again->Handle != Message->Handle || Again->Command != Message->Command)
                std::abort();
        }
        Start = End + 1;
    }
    return 0;
}
