// Feeds arbitrary text to the INI parser and edits it: nothing may crash, the written text must
// read back the same, a value just written must read back as written, and every section and key
// listed must be found.
#include "platform/rtl/inifile.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TIniDocument Parsed;
    Parsed.Parse(InputText(Data, Size));
    // Edited through a copy, which must keep its own index.
    TIniDocument Document = Parsed;
    Parsed.Parse("");
    std::string Text = Document.Text();
    TIniDocument Again;
    Again.Parse(Text);
    if (Again.Text() != Text)
        std::abort();
    for (const std::string& Section : Document.SectionNames()) {
        for (const std::string& Key : Document.KeyNames(Section)) {
            std::string Value;
            if (!Document.Find(Section, Key, Value))
                std::abort();
        }
        try {
            Document.SetValue(Section, "fuzz", "v");
            std::string Value;
            if (!Document.Find(Section, "fuzz", Value) || Value != "v")
                std::abort();
            Document.DeleteKey(Section, "fuzz");
        } catch (const EIniFileException&) {
            // A section name no header line can hold.
        }
        Document.EraseSection(Section);
        if (Document.HasSection(Section))
            std::abort();
    }
    return 0;
}
