// Pastes arbitrary text (any line ends, NUL, invalid UTF-8) into a small grid that may grow:
// every field lands in its cell unchanged, the grid grows exactly to the block TextBlockSize
// measures, and the count is the fields plus the empty rest after a final line break.
#include "controls/grid/advgrid.h"
#include "fuzz/fuzzinput.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The text's lines and their fields, split as a paste splits them.
std::vector<std::vector<std::string>> Model(const std::string& Text, bool& Ended)
{
    std::vector<std::vector<std::string>> Lines(1, std::vector<std::string>(1));
    Ended = false;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char Ch = Text[I];
        if (Ch == '\r') {
            if (I + 1 < Text.size() && Text[I + 1] == '\n')
                ++I;
            if (I + 1 == Text.size()) {
                Ended = true;
                break;
            }
            Lines.emplace_back(1);
        } else if (Ch == '\t') {
            Lines.back().emplace_back();
        } else {
            Lines.back().back().push_back(Ch);
        }
    }
    return Lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TByteReader In(Data, Size);
    const int ACol = In.Pick(0, 3);
    const int ARow = In.Pick(0, 3);
    const int Start = In.Pick(1, 4);
    const std::string Text = Size > 3 ? InputText(Data + 3, Size - 3) : std::string();

    TAdvStringGrid Grid(nullptr);
    Grid.SetColCount(Start);
    Grid.SetRowCount(Start);
    Grid.Navigation()->AllowClipboardAlways = true;
    const int Fields = Grid.PasteText(ACol, ARow, Text);

    bool Ended = false;
    const auto Lines = Model(Text, Ended);
    const TPoint Block = TAdvStringGrid::TextBlockSize(Text);
    std::size_t Widest = 0, Count = Ended ? 1 : 0;
    for (const auto& Line : Lines) {
        Widest = std::max(Widest, Line.size());
        Count += Line.size();
    }
    Check(Block.X == int(Widest) && Block.Y == int(Lines.size()));
    if (ARow >= Start) {
        Check(Fields == 0);
        Check(Grid.RowCount() == Start && Grid.ColCount() == Start);
        return 0;
    }
    Check(Fields == int(Count));
    Check(Grid.RowCount() == std::max(Start, ARow + Block.Y));
    Check(Grid.ColCount() == std::max(Start, ACol + Block.X));
    for (std::size_t L = 0; L < Lines.size(); ++L)
        for (std::size_t F = 0; F < Lines[L].size(); ++F)
            Check(Grid.Cells(ACol + int(F), ARow + int(L)) == Lines[L][F]);
    return 0;
}
