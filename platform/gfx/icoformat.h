// platform/gfx/icoformat.h: ICO and CUR files as bytes: the directory, each image decoded into
// 32-bit pixels with its mask, the choice of an image for a size, and the writer.
#pragma once

#include "platform/rtl/geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One picture of an icon or cursor.
struct TIconImage {
    int Width = 0;
    int Height = 0;
    // 0xAARRGGBB, rows top down. Without an alpha channel in the file, alpha is 255 where the
    // mask is clear and 0 where it is set, and the colour is what the mask's XOR step applies.
    std::vector<std::uint32_t> Pixels;
    // 1 where the AND mask is set (the background shows through), one byte per pixel.
    std::vector<std::uint8_t> Mask;
    // The alpha channel decides the drawing (32-bit images with alpha, PNG images); otherwise
    // the AND mask and then the XOR colour do.
    bool HasAlpha = false;
    int BitCount = 32; // as stored: 1, 4, 8, 24 or 32 (PNG images count as 32)
    bool Png = false;
    TPoint HotSpot; // cursors only
};

// An entry of the directory, as the file states it.
struct TIconDirEntry {
    int Width = 0;  // 1..256
    int Height = 0; // 1..256
    int BitCount = 0;
    TPoint HotSpot; // cursors: the planes and bit-count fields
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0; // cut to the end of the data
};

struct TIconFile {
    bool Cursor = false;
    std::vector<TIconImage> Images;
};

// The directory of an ICO (type 1) or CUR (type 2) file; EInvalidGraphic when it is not one.
std::vector<TIconDirEntry> ReadIconDirectory(std::string_view Data, bool* Cursor = nullptr);
// An image stored as a device-independent bitmap of twice its height: the header (40 bytes or
// more), the colour table, the XOR picture and the AND mask. A 32-bit picture may lack the mask
// (it is then taken from the alpha channel); EInvalidGraphic for anything else not valid.
TIconImage DecodeIconDib(std::string_view Data);
// One image of the file; EInvalidGraphic when its bytes are not a valid picture.
TIconImage DecodeIconImage(std::string_view Data, const TIconDirEntry& Entry);
// Every image; EInvalidGraphic for any fault, and for files that would decode into more
// pixels than any real icon holds.
TIconFile ReadIconFile(std::string_view Data);

// The index of the entry that suits Width x Height best: the nearest size, then the most
// colours; Width or Height 0 stands for the size of the first entry. -1 for no entries.
int BestIconEntry(const std::vector<TIconDirEntry>& Entries, int Width, int Height);
// The same choice among decoded images.
int BestIconImage(const std::vector<TIconImage>& Images, int Width, int Height);

// An ICO (or CUR) file with every image as a 32-bit picture with alpha and an AND mask;
// EInvalidGraphic for an image outside 1..256 pixels or whose buffers do not fit its size.
std::string WriteIconFile(const TIconFile& File);
