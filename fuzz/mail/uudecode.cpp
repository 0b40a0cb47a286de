// Feeds arbitrary lines to the uuencode begin-line and data-line readers (which may only raise
// their own error) and checks that encoded lines decode back.
#include "fuzz/fuzzinput.h"
#include "mail/msmime.h"
#include "mail/msuucode.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    TStringList Lines;
    Lines.SetText(Input);
    for (int I = 0; I < Lines.Count(); ++I) {
        const std::string Line = Lines.Get(I);
        if (IsUUBegin(Line))
            Check(UUFileName(Line).size() < Line.size());
        try {
            Check(UUDecodeLine(Line).size() <= 63);
        } catch (const EMessageParserError&) {
        }
    }
    for (std::size_t Start = 0; Start < Input.size(); Start += 45) {
        const std::string Chunk = Input.substr(Start, 45);
        const std::string Line = UUEncodeLine(Chunk);
        Check(Line.size() <= 61);
        Check(UUDecodeLine(Line) == Chunk);
    }
    return 0;
}
