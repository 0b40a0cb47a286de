// platform/gfx/rop.h: the pixel mix modes (R2_ codes) of pens and the ternary raster operations
// of BitBlt, evaluated bit by bit from their truth tables.
#pragma once

#include <cstdint>

constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t MERGECOPY = 0x00C000CA;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATPAINT = 0x00FB0A09;
constexpr std::uint32_t PATINVERT = 0x005A0049;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

// The truth table of a raster operation: bit (p*4 + s*2 + d) is the result for pattern bit p,
// source bit s and destination bit d.
constexpr unsigned RopIndex(std::uint32_t Rop)
{
    return (Rop >> 16) & 0xFF;
}

constexpr std::uint32_t ApplyRop3(std::uint32_t Rop, std::uint32_t P, std::uint32_t S,
                                  std::uint32_t D)
{
    const unsigned Table = RopIndex(Rop);
    std::uint32_t Out = 0;
    for (unsigned I = 0; I < 8; ++I) {
        if (!(Table >> I & 1))
            continue;
        const std::uint32_t PM = (I & 4) ? P : ~P;
        const std::uint32_t SM = (I & 2) ? S : ~S;
        const std::uint32_t DM = (I & 1) ? D : ~D;
        Out |= PM & SM & DM;
    }
    return Out;
}

constexpr bool RopUsesSource(std::uint32_t Rop)
{
    const unsigned T = RopIndex(Rop);
    return ((T >> 2) & 0x33) != (T & 0x33);
}

constexpr bool RopUsesPattern(std::uint32_t Rop)
{
    const unsigned T = RopIndex(Rop);
    return ((T >> 4) & 0x0F) != (T & 0x0F);
}

// R2_ code 1..16: bit ((p << 1) | d) of (Rop2 - 1) is the result for pen bit p and
// destination bit d.
constexpr std::uint32_t ApplyRop2(int Rop2, std::uint32_t P, std::uint32_t D)
{
    const unsigned Table = static_cast<unsigned>(Rop2 - 1) & 0xF;
    std::uint32_t Out = 0;
    if (Table & 1)
        Out |= ~P & ~D;
    if (Table & 2)
        Out |= ~P & D;
    if (Table & 4)
        Out |= P & ~D;
    if (Table & 8)
        Out |= P & D;
    return Out;
}
