// Feeds arbitrary bytes to the grid's text-file loader: a file it accepts saves and loads back
// to the same cells, and a file it refuses leaves the grid as it was.
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
    const int Cols = Grid.ColCount() + Grid.NumHiddenColumns();
    for (int R = 0; R < Grid.RowCount(); ++R)
        for (int C = 0; C < Cols; ++C)
            S += Grid.Cells(C, R) + "\x1f";
    return S;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::string File = "/tmp/fuzz_gridtextfile_" + std::to_string(::getpid()) + ".txt";
    {
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    }
    TAdvStringGrid Grid(nullptr);
    Grid.SetMultilinecells(true);
    Grid.SetCells(1, 1, "before");
    const std::string Before = Snapshot(Grid);
    bool Loaded = true;
    try {
        Grid.LoadFromFile(File);
    } catch (const EAdvGridError&) {
        Loaded = false;
    }
    if (!Loaded) {
        Check(Snapshot(Grid) == Before);
    } else if (std::int64_t(Grid.ColCount()) * Grid.RowCount() <= 100000) {
        const std::string First = Snapshot(Grid);
        Grid.SaveToFile(File);
        TAdvStringGrid Back(nullptr);
        Back.SetMultilinecells(true);
        Back.LoadFromFile(File);
        Check(Snapshot(Back) == First);
    }
    std::remove(File.c_str());
    return 0;
}
