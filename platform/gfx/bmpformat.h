// platform/gfx/bmpformat.h: the BMP file and the packed DIB (header, colour table, pixels) read
// into and written from TDibImage. Reading takes every header kind (core, OS/2 2.x, info, V4,
// V5), 1 to 32 bits, RLE4/RLE8 and bit fields, bottom-up or top-down, and refuses hostile data
// with EInvalidGraphic.
#pragma once

#include "platform/gfx/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// The largest picture read: bigger ones are refused before anything is allocated.
constexpr std::int64_t MaxDibPixels = std::int64_t(1) << 26;
constexpr int MaxDibSide = 1 << 16;

bool IsBmp(const std::uint8_t* Data, std::size_t Size);
TDibImage ReadBmp(const std::uint8_t* Data, std::size_t Size);
// With IconMask: an icon's image as icon files hold it (DecodeIconDib): the header's height
// counts the picture and the AND mask after it; the picture comes as 32 bits and the mask, 1 bit
// a pixel (1: transparent), goes to IconMask.
TDibImage ReadPackedDib(const std::uint8_t* Data, std::size_t Size, TDibImage* IconMask = nullptr);

// Uncompressed, bottom-up, with a 40-byte header; 16-bit 5-6-5 images carry their bit fields,
// 1-, 4- and 8-bit ones their colour table (the colours-used count 0 when it is full).
std::string WriteBmp(const TDibImage& Image);
std::string WritePackedDib(const TDibImage& Image);
