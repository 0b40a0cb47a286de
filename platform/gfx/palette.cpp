// platform/gfx/palette.cpp: palette handles, the stock and halftone palettes, colour matching.
#include "platform/gfx/palette.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <unordered_set>

namespace {

struct TPaletteTable {
    std::mutex Mutex;
    std::unordered_set<HPALETTE> Live;
};

TPaletteTable& Table()
{
    static TPaletteTable T;
    return T;
}

HPALETTE Register(std::vector<PALETTEENTRY> Entries)
{
    auto* P = new TPaletteObject{std::move(Entries), false};
    TPaletteTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    T.Live.insert(P);
    return P;
}

PALETTEENTRY Entry(TColor Color, std::uint8_t Flags = 0)
{
    PALETTEENTRY E;
    E.peRed = static_cast<std::uint8_t>(GetRValue(Color));
    E.peGreen = static_cast<std::uint8_t>(GetGValue(Color));
    E.peBlue = static_cast<std::uint8_t>(GetBValue(Color));
    E.peFlags = Flags;
    return E;
}

TPaletteObject& StockPalette()
{
    static TPaletteObject Stock = [] {
        TPaletteObject P;
        for (TColor C : SystemPaletteColors())
            P.Entries.push_back(Entry(C));
        P.Stock = true;
        return P;
    }();
    return Stock;
}

} // namespace

const std::vector<TColor>& SystemPaletteColors()
{
    static const std::vector<TColor> Colors = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
        RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
        RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
    return Colors;
}

bool IsPalette(HPALETTE Palette)
{
    if (!Palette)
        return false;
    if (Palette == &StockPalette())
        return true;
    TPaletteTable& T = Table();
    std::lock_guard<std::mutex> Lock(T.Mutex);
    return T.Live.count(Palette) != 0;
}

HPALETTE CreatePalette(const LOGPALETTE* Palette)
{
    if (!Palette || Palette->palNumEntries == 0 || Palette->palNumEntries > 256)
        return nullptr;
    return Register(std::vector<PALETTEENTRY>(Palette->palPalEntry,
                                              Palette->palPalEntry + Palette->palNumEntries));
}

HPALETTE CreateHalftonePalette(HDC)
{
    // The static colours at both ends, a 6x6x6 cube and twenty grays between the cube's.
    const std::vector<TColor>& Sys = SystemPaletteColors();
    std::vector<PALETTEENTRY> Entries;
    Entries.reserve(256);
    for (int I = 0; I < 10; ++I)
        Entries.push_back(Entry(Sys[I]));
    for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
            for (int B = 0; B < 6; ++B)
                Entries.push_back(Entry(RGB(R * 51, G * 51, B * 51)));
    for (int I = 0; I < 20; ++I) {
        // Steps of 51 split in four: levels 51k + 13, 26, 38 and the same below 255.
        const int Level = (I / 4) * 51 + ((I % 4) + 1) * 51 / 5;
        Entries.push_back(Entry(RGB(Level, Level, Level)));
    }
    for (int I = 10; I < 20; ++I)
        Entries.push_back(Entry(Sys[I]));
    return Register(std::move(Entries));
}

HGDIOBJ GetStockObject(int Object)
{
    return Object == DEFAULT_PALETTE ? &StockPalette() : nullptr;
}

bool DeleteObject(HPALETTE Palette)
{
    if (!Palette || Palette == &StockPalette())
        return false;
    TPaletteTable& T = Table();
    {
        std::lock_guard<std::mutex> Lock(T.Mutex);
        if (!T.Live.erase(Palette))
            return false;
    }
    delete Palette;
    return true;
}

unsigned GetPaletteEntries(HPALETTE Palette, unsigned Start, unsigned Count, PALETTEENTRY* Entries)
{
    if (!IsPalette(Palette))
        return 0;
    const auto Size = static_cast<unsigned>(Palette->Entries.size());
    if (!Entries)
        return Size;
    if (Start >= Size)
        return 0;
    const unsigned N = std::min(Count, Size - Start);
    std::copy_n(Palette->Entries.begin() + Start, N, Entries);
    return N;
}

unsigned SetPaletteEntries(HPALETTE Palette, unsigned Start, unsigned Count,
                           const PALETTEENTRY* Entries)
{
    if (!IsPalette(Palette) || Palette->Stock || !Entries)
        return 0;
    const auto Size = static_cast<unsigned>(Palette->Entries.size());
    if (Start >= Size)
        return 0;
    const unsigned N = std::min(Count, Size - Start);
    std::copy_n(Entries, N, Palette->Entries.begin() + Start);
    return N;
}

int NearestColorIndex(const std::vector<TColor>& Colors, TColor Color)
{
    int Best = 0;
    long BestDistance = std::numeric_limits<long>::max();
    const int R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
    for (std::size_t I = 0; I < Colors.size(); ++I) {
        const long DR = GetRValue(Colors[I]) - R, DG = GetGValue(Colors[I]) - G,
                   DB = GetBValue(Colors[I]) - B;
        const long Distance = DR * DR + DG * DG + DB * DB;
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = static_cast<int>(I);
            if (Distance == 0)
                break;
        }
    }
    return Best;
}

unsigned GetNearestPaletteIndex(HPALETTE Palette, TColor Color)
{
    if (!IsPalette(Palette) || Palette->Entries.empty())
        return static_cast<unsigned>(-1);
    return static_cast<unsigned>(NearestColorIndex(PaletteColors(Palette), ColorToRGB(Color)));
}

std::vector<TColor> PaletteColors(HPALETTE Palette)
{
    std::vector<TColor> Colors;
    if (!IsPalette(Palette))
        return Colors;
    for (const PALETTEENTRY& E : Palette->Entries)
        Colors.push_back(RGB(E.peRed, E.peGreen, E.peBlue));
    return Colors;
}

HPALETTE PaletteFromColors(const std::vector<TColor>& Colors)
{
    std::vector<PALETTEENTRY> Entries;
    for (TColor C : Colors)
        Entries.push_back(Entry(C));
    return Register(std::move(Entries));
}

HPALETTE CopyPalette(HPALETTE Palette)
{
    if (!IsPalette(Palette))
        return nullptr;
    return Register(Palette->Entries);
}

HPALETTE SelectPalette(HDC, HPALETTE, bool)
{
    return &StockPalette();
}

unsigned RealizePalette(HDC)
{
    return 0;
}
