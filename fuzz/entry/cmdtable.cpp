// Feeds arbitrary bytes to the command-table file reader: a file is either refused with the I/O
// exception naming it, leaving the table empty, or read whole; a table read is saved, read back
// to the same entries and saved again to the same bytes, and translating its keys stays sound.
#include "controls/entry/ovccmd.h"
#include "fuzz/fuzzinput.h"
#include "platform/rtl/exceptions.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TempName(const char* Tag)
{
    return "/tmp/fuzz_cmdtable_" + std::to_string(getpid()) + "_" + Tag;
}

std::string ReadBytes(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string In = TempName("in"), Out = TempName("out"), Again = TempName("again");
    std::ofstream(In, std::ios::binary) << InputText(Data, Size);
    TOvcCommandTable Table;
    bool Read = false;
    try {
        Table.LoadFromFile(In);
        Read = true;
    } catch (const EInOutError& E) {
        Check(E.Message().find(In) != std::string::npos);
        Check(Table.Count() == 0);
    }
    if (Read) {
        Table.SaveToFile(Out);
        TOvcCommandTable Back;
        Back.LoadFromFile(Out);
        Check(Back.TableName() == Table.TableName() && Back.Count() == Table.Count());
        for (int I = 0; I < Table.Count(); ++I)
            Check(Back.Commands(I).Keys() == Table.Commands(I).Keys() &&
                  Back.Commands(I).Cmd == Table.Commands(I).Cmd);
        Back.SaveToFile(Again);
        Check(ReadBytes(Again) == ReadBytes(Out));

        // Every entry's keys, pressed through a processor holding only this table.
        TOvcCommandProcessor Processor;
        Processor.Clear();
        Processor.LoadCommandTable(In);
        for (int I = 0; I < Table.Count() && I < 256; ++I) {
            const TOvcCmdRec& R = Table.Commands(I);
            const Word First = Processor.TranslateKeyState(R.Key1, R.SS1);
            if (First == ccPartial) {
                // Only a modifier key keeps a sequence waiting.
                const bool Modifier = R.Key2 == 16 || R.Key2 == 17 || R.Key2 == 18 ||
                                      R.Key2 == 20 || R.Key2 == 144 || R.Key2 == 145;
                const Word Second = Processor.TranslateKeyState(R.Key2, R.SS2);
                Check(Modifier || Second != ccPartial);
                Processor.ResetCommandProcessor();
            }
        }
    }
    std::remove(In.c_str());
    std::remove(Out.c_str());
    std::remove(Again.c_str());
    return 0;
}
