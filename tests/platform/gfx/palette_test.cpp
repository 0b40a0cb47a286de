#include "platform/gfx/palette.h"

#include <gtest/gtest.h>

#include <set>

TEST(Palette, LogicalPaletteKeepsItsEntries)
{
    LOGPALETTE L;
    L.palNumEntries = 3;
    L.palPalEntry[0] = PALETTEENTRY{255, 0, 0, 0};
    L.palPalEntry[1] = PALETTEENTRY{0, 255, 0, PC_NOCOLLAPSE};
    L.palPalEntry[2] = PALETTEENTRY{0, 0, 255, 0};
    HPALETTE P = CreatePalette(&L);
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(GetPaletteEntries(P, 0, 0, nullptr), 3u);
    PALETTEENTRY Out[4];
    EXPECT_EQ(GetPaletteEntries(P, 1, 4, Out), 2u);
    EXPECT_EQ(Out[0].peGreen, 255);
    EXPECT_EQ(Out[0].peFlags, PC_NOCOLLAPSE);
    EXPECT_EQ(GetPaletteEntries(P, 3, 1, Out), 0u);
    EXPECT_EQ(GetNearestPaletteIndex(P, RGB(10, 20, 200)), 2u);
    EXPECT_TRUE(DeleteObject(P));
    EXPECT_FALSE(DeleteObject(P));
    EXPECT_EQ(GetPaletteEntries(P, 0, 0, nullptr), 0u);

    L.palNumEntries = 0;
    EXPECT_EQ(CreatePalette(&L), nullptr);
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

TEST(Palette, HalftonePaletteHasTheStaticColoursAroundACube)
{
    HPALETTE P = CreateHalftonePalette(nullptr);
    const std::vector<TColor> Colors = PaletteColors(P);
    ASSERT_EQ(Colors.size(), 256u);
    const std::vector<TColor>& Sys = SystemPaletteColors();
    ASSERT_EQ(Sys.size(), 20u);
    for (int I = 0; I < 10; ++I) {
        EXPECT_EQ(Colors[static_cast<std::size_t>(I)], Sys[static_cast<std::size_t>(I)]);
        EXPECT_EQ(Colors[static_cast<std::size_t>(246 + I)], Sys[static_cast<std::size_t>(10 + I)]);
    }
    const std::set<TColor> Unique(Colors.begin(), Colors.end());
    for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
            for (int B = 0; B < 6; ++B)
                EXPECT_TRUE(Unique.count(RGB(R * 51, G * 51, B * 51)));
    DeleteObject(P);
}

TEST(Palette, StockPaletteIsTheSystemColoursAndCannotBeDeleted)
{
    auto P = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(PaletteColors(P), SystemPaletteColors());
    EXPECT_FALSE(DeleteObject(P));
    EXPECT_TRUE(IsPalette(P));
    // Selecting and realising change nothing on a 32-bit device.
    HPALETTE Mine = PaletteFromColors({clRed});
    EXPECT_EQ(SelectPalette(nullptr, Mine, false), P);
    EXPECT_EQ(RealizePalette(nullptr), 0u);
    DeleteObject(Mine);
}

TEST(Palette, NearestColourIsTheClosestEntry)
{
    const std::vector<TColor> Colors = {clBlack, clWhite, clRed, RGB(200, 0, 0)};
    EXPECT_EQ(NearestColorIndex(Colors, RGB(250, 10, 10)), 2);
    EXPECT_EQ(NearestColorIndex(Colors, RGB(190, 0, 0)), 3);
    EXPECT_EQ(NearestColorIndex(Colors, RGB(100, 100, 100)), 0);
    EXPECT_EQ(NearestColorIndex({}, clRed), 0);
}
