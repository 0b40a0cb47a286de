// platform/gfx/graphicsobjects.h: the pen, brush and font a canvas draws with; each tells its
// owner of a change through OnChange.
#pragma once

#include "platform/gfx/color.h"
#include "platform/gfx/fontengine.h"
#include "platform/rtl/events.h"
#include "platform/rtl/object.h"
#include "platform/rtl/sets.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// In the order of the mix modes' names; PenModeToRop2 gives the R2_ code (1..16).
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

enum : int {
    R2_BLACK = 1,
    R2_NOTMERGEPEN = 2,
    R2_MASKNOTPEN = 3,
    R2_NOTCOPYPEN = 4,
    R2_MASKPENNOT = 5,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOTMASKPEN = 8,
    R2_MASKPEN = 9,
    R2_NOTXORPEN = 10,
    R2_NOP = 11,
    R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13,
    R2_MERGEPENNOT = 14,
    R2_MERGEPEN = 15,
    R2_WHITE = 16
};
int PenModeToRop2(TPenMode Mode);
TPenMode Rop2ToPenMode(int Rop2);

class TPen : public TGraphicsObject {
public:
    TPen();
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Width in logical units; 0 and 1 draw one pixel.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);
    // The cosmetic pen that sets every other pixel (the dotted lines of charts).
    bool Alternate() const { return FAlternate; }
    void SetAlternate(bool Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    bool FAlternate = false;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// A colour pattern tiled from the brush origin (pixels 0x00BBGGRR, row by row); the hook through
// which bitmaps become brushes.
struct TBrushPattern {
    int Width = 0;
    int Height = 0;
    std::vector<TColor> Pixels;
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern replaces colour and style while set.
    const std::shared_ptr<const TBrushPattern>& Pattern() const { return FPattern; }
    void SetPattern(std::shared_ptr<const TBrushPattern> Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::shared_ptr<const TBrushPattern> FPattern;
};

// The 8x8 mask of a hatch style, one byte per row, bit 7 the leftmost pixel; all zero for
// bsSolid and bsClear.
std::array<std::uint8_t, 8> HatchPattern(TBrushStyle Style);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

// The charset values (ANSI_CHARSET, DEFAULT_CHARSET, SYMBOL_CHARSET...) come with the font
// engine.

// A font by its attributes; the face behind it is found when text is drawn or measured.
// Height is in pixels (negative: the character height without internal leading, the usual
// form; positive: the cell height); Size is in points at PixelsPerInch.
class TFont : public TGraphicsObject {
public:
    TFont();
    void Assign(const TPersistent* Source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Size() const;
    void SetSize(int Value);
    // Changing it keeps Size (the height is recomputed).
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    // Angle of the base line, tenths of a degree counter-clockwise.
    int Escapement() const { return FEscapement; }
    void SetEscapement(int Value);
    // Angle of each character, tenths of a degree; kept with the font, glyphs follow Escapement.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);

private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    int FPixelsPerInch = 96;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FEscapement = 0;
    int FOrientation = 0;
};
