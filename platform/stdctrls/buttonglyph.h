// platform/stdctrls/buttonglyph.h: the glyph and caption of bitmap and speed buttons: the
// picture of a state out of NumGlyphs side by side (up, disabled, down, exclusive; the
// bottom-left pixel is transparent), laid out with the caption by Layout, Margin and Spacing.
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

#include <string>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;

struct TButtonGlyphLayout {
    TPoint GlyphPos;
    TRect TextBounds;
};

// Margin -1 centres glyph and caption together; Spacing -1 puts the caption midway between the
// glyph and the far edge.
TButtonGlyphLayout CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                    const std::string& Caption, TButtonLayout Layout, int Margin,
                                    int Spacing, const TSize& GlyphSize);

// Draws glyph and caption in Client (moved by Offset); Glyph may be empty. A disabled state
// without a picture of its own is embossed from the first one.
void DrawButtonGlyph(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                     const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                     TBitmap* Glyph, TNumGlyphs NumGlyphs, TButtonState State);
