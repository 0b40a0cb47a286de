// Feeds arbitrary bytes to the CSV load with each delimiter setting: it never fails on content,
// the rows are as many as the records, and a second load of the same file gives the same cells.
#include "controls/grid/advgrid.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string Snapshot(const TAdvStringGrid& Grid)
{
    std::string S = std::to_string(Grid.ColCount()) + "," + std::to_string(Grid.RowCount()) + "\n";
    for (int R = 0; R < Grid.RowCount(); ++R)
        for (int C = 0; C < Grid.ColCount(); ++C)
            S += Grid.Cells(C, R) + "\x1f";
    return S;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::string File = "/tmp/fuzz_csvload_" + std::to_string(::getpid()) + ".csv";
    if (Size > 1 << 16)
        return 0;
    {
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    }
    for (char Delimiter : {'\0', ',', '\t'}) {
        TAdvStringGrid Grid(nullptr);
        Grid.CSVDelimiter = Delimiter;
        Grid.TildeLineBreaks = Size > 0 && (Data[0] & 1) != 0;
        Grid.SetOemConvert(Size > 0 && (Data[0] & 2) != 0);
        Grid.LoadFromCSV(File);
        Check(Grid.CSVDelimiter == Delimiter);
        const std::string First = Snapshot(Grid);
        Grid.LoadFromCSV(File);
        Check(Snapshot(Grid) == First);
    }
    std::remove(File.c_str());
    return 0;
}
