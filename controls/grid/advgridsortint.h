// controls/grid/advgridsortint.h: what the grid's comparison and sort share: a column's sort
// format and the comparison key of a cell, worked out once per cell and compared many times.
#pragma once

#include "controls/grid/advgrid.h"

#include <string>
#include <vector>

namespace advgridsort {

struct TColumnFormat {
    TSortStyle Style = 0;
    std::string Prefix;
    std::string Suffix;
};

// A cell's text read for one column format. Style is what the cell decides as the first of two
// compared cells (the automatic style resolved, anything unknown as plain text).
struct TCellKey {
    std::string Text;
    double Number = 0;
    bool NumberOk = false;
    TDateTime Date = 0;
    TSortStyle Style = 1;
    bool Empty = true;
};

// The column's format: the default style, then the grid's GetColumnFormat.
TColumnFormat ColumnFormat(TAdvStringGrid& Grid, int ACol);

// Keys of a column's cells. A style-0 column reads numbers and dates only when some cell asks
// for them; NeedAll reads both regardless (two cells compared alone).
void MakeColumnKeys(TAdvStringGrid& Grid, int ACol, int FirstRow,
                    const std::vector<const std::string*>& Texts, const TColumnFormat& Format,
                    std::vector<TCellKey>& Keys, bool NeedAll = false);

// -1, 0 or 1, for ascending order. Row1 and Row2 are the rows the cells stand in (for the raw
// compare event). With SortIgnoreBlanks an empty cell goes after a filled one in the direction
// Descending names.
int CompareKeys(TAdvStringGrid& Grid, int ACol, const TCellKey& K1, const TCellKey& K2, int Row1,
                int Row2, bool Descending);

} // namespace advgridsort
