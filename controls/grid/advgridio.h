// controls/grid/advgridio.h: what the grid's file loads and its save share: the whole file read
// at once, numbers read as the run-time library reads them, and the progress of a long run.
#pragma once

#include "controls/grid/advgrid.h"

#include <cstdint>
#include <string>

namespace AdvGridIO {

// The file's bytes. Raises EAdvGridError "Cannot open file <file>" when it cannot be opened and
// EInOutError when reading fails.
std::string ReadWholeFile(const std::string& FileName);

// The leading number of Text as Val reads it (blanks, sign, "$" or "0x", digits up to the first
// other character; 0 when none). Overflow is set when the digits run past the Int64 range.
std::int64_t LeadingNumber(const std::string& Text, bool& Overflow);
// The same within int: a number outside it reads as INT_MIN, which no index accepts.
int LeadingIndex(const std::string& Text);

// Progress in whole percent, 0..100, fired on a change only; pending messages are processed
// at each change so that the progress shows while the grid works.
class TProgress {
public:
    TProgress(TAdvStringGrid* Grid, TGridProgressEvent& Event) : FGrid(Grid), FEvent(Event) {}
    void Report(std::int64_t Part, std::int64_t Whole);

private:
    TAdvStringGrid* FGrid;
    TGridProgressEvent& FEvent;
    int FLast = -1;
};

} // namespace AdvGridIO
