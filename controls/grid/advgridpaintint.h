// controls/grid/advgridpaintint.h: what the grid's painting files share among themselves: the
// per-cell drawing record and the drawing steps of background, text, glyphs and pictures.
#pragma once

#include "controls/grid/advgrid.h"

namespace advgridpaint {

// What one cell's drawing keeps between its steps.
struct TCellPaint {
    int DisplCol = 0;
    int Col = 0; // real column
    int Row = 0;
    TRect R;
    TGridDrawState State;
    int GraphicWidth = 0;
    int GraphicHeight = 0;
    TCellImageHPlace HPlace = ihpLeft;
    TCellImageVPlace VPlace = ivpTop;
    TAlignment Alignment = taLeftJustify;
    int LineHeight = 0;
    // A mouse selection is in progress (the base grid selecting).
    bool MouseSelecting = false;
};

// The cell's graphic: nil unless EnableGraphics is on and the cell's object is one.
TCellGraphic* CellGraphicOf(TAdvStringGrid* Grid, int ACol, int ARow);
// Whether the grid or its in-place editor holds the focus.
bool GridHasFocus(TAdvStringGrid* Grid);
// The cell's alignment: left, right for numbers with AutoNumAlign, then GetCellAlignment.
TAlignment CellAlignment(TAdvStringGrid* Grid, int ACol, int ARow);
// Whether the sort glyph belongs to this header cell, and whether it is drawn there.
// The DrawText flag of the grid's vertical alignment.
unsigned VerticalFlag(TVAlignFlag Flag);

bool SortGlyphApplies(TAdvStringGrid* Grid, int ACol, int ARow);
void DrawSortGlyph(TAdvStringGrid* Grid, TCanvas* Canvas, int ACol, int X, int Y);
// Background, selection look, selection rectangle and the text in its forms.
void DrawBackgroundAndText(TAdvStringGrid* Grid, TCellPaint& Cell);
// The background bitmap over the cell, tiled or at its fixed place.
void DrawBackGroundBitmap(TAdvStringGrid* Grid, TCanvas* Canvas, const TCellPaint& Cell);
// The cell's picture from GridImages.
void DrawCellGraphic(TAdvStringGrid* Grid, TCanvas* Canvas, const TCellPaint& Cell);
// OnGetCellBorder's edges.
void DrawCellBorders(TAdvStringGrid* Grid, TCanvas* Canvas, int ACol, int ARow, TRect R);

} // namespace advgridpaint
