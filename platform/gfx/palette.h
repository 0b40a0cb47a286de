// platform/gfx/palette.h: logical palettes as handles (created, read, matched and deleted), the
// stock 20-colour system palette and the 256-colour halftone palette. Every device is 32-bit, so
// selecting and realising a palette change nothing on it.
#pragma once

#include "platform/gfx/color.h"

#include <cstdint>
#include <vector>

class TCanvas;
using HDC = TCanvas*;

struct PALETTEENTRY {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
};

enum : std::uint8_t { PC_RESERVED = 0x01, PC_EXPLICIT = 0x02, PC_NOCOLLAPSE = 0x04 };

// Room for the largest palette a picture uses; palNumEntries says how many are meant.
struct LOGPALETTE {
    std::uint16_t palVersion = 0x300;
    std::uint16_t palNumEntries = 0;
    PALETTEENTRY palPalEntry[256];
};

// A logical palette; units hold it only through HPALETTE.
struct TPaletteObject {
    std::vector<PALETTEENTRY> Entries;
    bool Stock = false;
};
using HPALETTE = TPaletteObject*;
using HGDIOBJ = void*;

enum : int { DEFAULT_PALETTE = 15 };

// Nil for a nil structure or one with no entries or more than 256.
HPALETTE CreatePalette(const LOGPALETTE* Palette);
// The classic 256-entry halftone palette (the 20 static colours around a 6x6x6 cube and grays);
// the device is not looked at.
HPALETTE CreateHalftonePalette(HDC DC);
// DEFAULT_PALETTE: the stock palette of the 20 static colours, which DeleteObject leaves alone.
// Nil for anything else.
HGDIOBJ GetStockObject(int Object);
// Frees a palette made above; false for nil, a stock or an unknown handle.
bool DeleteObject(HPALETTE Palette);
// True while Palette is a live palette handle.
bool IsPalette(HPALETTE Palette);

// Copies up to Count entries from Start; the number copied. With nil Entries: the palette's size.
// 0 for a bad handle.
unsigned GetPaletteEntries(HPALETTE Palette, unsigned Start, unsigned Count, PALETTEENTRY* Entries);
// Replaces entries inside the palette; the number set.
unsigned SetPaletteEntries(HPALETTE Palette, unsigned Start, unsigned Count,
                           const PALETTEENTRY* Entries);
// The index of the entry closest to Color (squared distance; the first of equals); CLR_INVALID
// (-1) as unsigned for a bad or empty palette.
unsigned GetNearestPaletteIndex(HPALETTE Palette, TColor Color);
// The entry nearest a colour among Colors (0x00BBGGRR); 0 for an empty list.
int NearestColorIndex(const std::vector<TColor>& Colors, TColor Color);

// A copy of Palette (nil for nil).
HPALETTE CopyPalette(HPALETTE Palette);
// The palette's colours as 0x00BBGGRR values.
std::vector<TColor> PaletteColors(HPALETTE Palette);
// A new palette of the colours.
HPALETTE PaletteFromColors(const std::vector<TColor>& Colors);

// On a 32-bit device: SelectPalette returns the stock palette as the previous one and
// RealizePalette maps nothing (0).
HPALETTE SelectPalette(HDC DC, HPALETTE Palette, bool ForceBackground);
unsigned RealizePalette(HDC DC);
// The 20 static colours of the system palette: entries 0..9 and 246..255 of a full one.
const std::vector<TColor>& SystemPaletteColors();
