// The grid's painting members in their plainest form: the base grid's drawing and the colours
// as given. The painting unit replaces this file.
#include "controls/grid/advgrid.h"

void TAdvStringGrid::Paint()
{
    TStringGrid::Paint();
}

void TAdvStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TAdvStringGrid::GetCellColor(int, int, TGridDrawState, TBrush*, TFont*) {}

void TAdvStringGrid::GetCellPrintColor(int, int, TGridDrawState, TBrush*, TFont*) {}

TPoint TAdvStringGrid::CellTextExtent(int, int)
{
    return TPoint{0, 0};
}
