// Feeds arbitrary bytes to the text-file editor as a file: loaded and saved, the file it wrote
// loads and saves again to the very same bytes, and both loads refuse nothing.
#include "controls/entry/ovctfedit.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& File)
{
    std::ifstream In(File, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

std::string LoadAndSave(TOvcTextFileEditor& Ed, const std::string& File)
{
    Ed.LoadFromFile(File);
    Check(Ed.IsOpen());
    Ed.SaveToFile(File);
    return ReadAll(File);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::string File = "/tmp/fuzz_textfile_" + std::to_string(::getpid()) + ".txt";
    {
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    }
    for (bool Trim : {false, true}) {
        TOvcTextFileEditor Ed(nullptr);
        Ed.SetTrimWhiteSpace(Trim);
        // A small limit cuts lines at blanks and at the limit.
        if (Size > 0 && (Data[0] & 1) != 0)
            Ed.SetParaLengthLimit(7);
        const std::string First = LoadAndSave(Ed, File);
        const std::string Second = LoadAndSave(Ed, File);
        Check(First == Second);
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    }
    std::remove(File.c_str());
    return 0;
}
