// platform/gfx/bmpformat.cpp: BMP and packed DIB reading and writing.
#include "platform/gfx/bmpformat.h"

#include "platform/gfx/icoformat.h"
#include "platform/rtl/byteorder.h"

#include <algorithm>
#include <cstring>

namespace {

[[noreturn]] void Bad(const std::string& Why)
{
    throw EInvalidGraphic("Bitmap image is not valid: " + Why);
}

struct THeader {
    std::uint32_t Size = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: top-down
    int BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ColorsUsed = 0;
    bool Core = false; // 3-byte colour table entries
    bool Os2 = false;  // OS/2 2.x: its compression codes 3 and 4 are not bit fields
    std::uint32_t Masks[4] = {0, 0, 0, 0};
    bool HasMasks = false;
};

// The header and, for bit fields, the masks; Used receives the bytes taken by both.
THeader ReadHeader(const std::uint8_t* Data, std::size_t Size, std::size_t& Used)
{
    THeader H;
    if (Size < 4)
        Bad("the header is missing");
    H.Size = ReadLE32(Data);
    if (H.Size < 12 || H.Size > Size)
        Bad("bad header size " + std::to_string(H.Size));
    if (H.Size == 12) {
        H.Core = true;
        H.Width = ReadLE16(Data + 4);
        H.Height = ReadLE16(Data + 6);
        H.BitCount = static_cast<int>(ReadLE16(Data + 10));
        Used = 12;
        return H;
    }
    if (H.Size < 16)
        Bad("bad header size " + std::to_string(H.Size));
    // The fields of the 40-byte header; the short OS/2 2.x forms leave the rest 0.
    std::uint8_t Fields[40] = {};
    std::memcpy(Fields, Data, std::min<std::size_t>(H.Size, 40));
    H.Os2 = H.Size == 64 || (H.Size > 12 && H.Size < 40);
    H.Width = static_cast<std::int32_t>(ReadLE32(Fields + 4));
    H.Height = static_cast<std::int32_t>(ReadLE32(Fields + 8));
    H.BitCount = static_cast<int>(ReadLE16(Fields + 14));
    H.Compression = ReadLE32(Fields + 16);
    H.ColorsUsed = ReadLE32(Fields + 32);
    Used = H.Size;
    if (H.Os2 && H.Compression >= 3)
        throw EInvalidGraphic("Unsupported bitmap compression (OS/2 " +
                              std::to_string(H.Compression) + ")");
    if (H.Compression == BI_BITFIELDS || H.Compression == 6) {
        const int Count = H.Compression == 6 ? 4 : 3;
        if (H.Size >= 52) {
            for (int I = 0; I < 4 && 40 + I * 4 + 4 <= static_cast<int>(H.Size); ++I)
                H.Masks[I] = ReadLE32(Data + 40 + I * 4);
        } else {
            if (Size < H.Size + Count * 4u)
                Bad("the bit field masks are missing");
            for (int I = 0; I < Count; ++I)
                H.Masks[I] = ReadLE32(Data + H.Size + I * 4);
            Used += Count * 4u;
        }
        H.HasMasks = true;
    }
    return H;
}

int LowestBit(std::uint32_t Mask)
{
    int Shift = 0;
    while (Shift < 32 && !(Mask >> Shift & 1))
        ++Shift;
    return Shift;
}

// A channel of a pixel under a mask, scaled to 0..255.
std::uint32_t Channel(std::uint32_t Pixel, std::uint32_t Mask)
{
    if (!Mask)
        return 0;
    const int Shift = LowestBit(Mask);
    const std::uint64_t Max = Mask >> Shift;
    return static_cast<std::uint32_t>(((Pixel & Mask) >> Shift) * 255 / Max);
}

void DecodeRle(const THeader& H, const std::uint8_t* Data, std::size_t Size, TDibImage& Image)
{
    const bool Four = H.Compression == BI_RLE4;
    std::size_t P = 0;
    int X = 0, Y = 0; // Y counts rows from the bottom
    const int W = Image.Width, Rows = Image.Height;
    auto Put = [&](std::uint32_t Index) {
        if (X < W && Y < Rows)
            Image.SetRaw(X, Rows - 1 - Y, Index);
        ++X;
    };
    while (Y < Rows) {
        if (P + 2 > Size)
            return; // no end-of-bitmap code: what came is the picture
        const std::uint8_t Count = Data[P], Value = Data[P + 1];
        P += 2;
        if (Count > 0) {
            for (int I = 0; I < Count; ++I)
                Put(Four ? ((I & 1) ? Value & 0x0F : Value >> 4) : Value);
            continue;
        }
        if (Value == 0) { // end of line
            X = 0;
            ++Y;
        } else if (Value == 1) { // end of bitmap
            return;
        } else if (Value == 2) { // delta
            if (P + 2 > Size)
                Bad("the compressed data is truncated");
            X += Data[P];
            Y += Data[P + 1];
            P += 2;
        } else { // absolute run, padded to a word
            const std::size_t Bytes = Four ? (Value + 1u) / 2 : Value;
            const std::size_t Padded = (Bytes + 1) & ~std::size_t(1);
            if (P + Bytes > Size)
                Bad("the compressed data is truncated");
            for (int I = 0; I < Value; ++I)
                Put(Four ? ((I & 1) ? Data[P + I / 2] & 0x0F : Data[P + I / 2] >> 4) : Data[P + I]);
            P += std::min(Padded, Size - P);
        }
    }
}

TDibImage ReadDib(const std::uint8_t* Data, std::size_t Size, std::int64_t PixelOffset)
{
    std::size_t Used = 0;
    const THeader H = ReadHeader(Data, Size, Used);
    std::int64_t Height = H.Height;
    const bool TopDown = Height < 0;
    if (TopDown)
        Height = -Height;
    if (H.Width <= 0 || Height <= 0 || H.Width > MaxDibSide || Height > MaxDibSide ||
        H.Width * Height > MaxDibPixels)
        Bad("bad size " + std::to_string(H.Width) + " x " + std::to_string(Height));
    const int Bits = H.BitCount;
    if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 16 && Bits != 24 && Bits != 32)
        throw EInvalidGraphic("Unsupported bitmap bit count " + std::to_string(Bits));
    const bool Rle = H.Compression == BI_RLE8 || H.Compression == BI_RLE4;
    if (H.Compression == BI_RLE8 && Bits != 8)
        Bad("RLE8 needs 8 bits per pixel");
    if (H.Compression == BI_RLE4 && Bits != 4)
        Bad("RLE4 needs 4 bits per pixel");
    if (H.HasMasks && Bits != 16 && Bits != 32)
        Bad("bit fields need 16 or 32 bits per pixel");
    if (!Rle && !H.HasMasks && H.Compression != BI_RGB)
        throw EInvalidGraphic("Unsupported bitmap compression " + std::to_string(H.Compression));
    if (Rle && TopDown)
        Bad("a compressed bitmap cannot be top-down");

    // The colour table.
    const std::size_t Entry = H.Core ? 3 : 4;
    std::size_t TableCount = H.ColorsUsed;
    if (Bits <= 8) {
        const std::size_t Full = std::size_t(1) << Bits;
        if (TableCount == 0 || TableCount > Full)
            TableCount = Full;
    } else if (TableCount > 256) {
        Bad("bad colour count " + std::to_string(TableCount));
    }
    const std::size_t TableEnd = Used + TableCount * Entry;
    TDibImage Image;
    if (Bits <= 8) {
        if (TableEnd > Size)
            Bad("the colour table is truncated");
        for (std::size_t I = 0; I < TableCount; ++I) {
            const std::uint8_t* E = Data + Used + I * Entry;
            Image.Colors.push_back(RGB(E[2], E[1], E[0]));
        }
    }
    const std::int64_t Offset =
        PixelOffset >= 0 ? PixelOffset : static_cast<std::int64_t>(std::min(TableEnd, Size));
    if (Offset < static_cast<std::int64_t>(Used) || Offset > static_cast<std::int64_t>(Size))
        Bad("bad pixel data offset " + std::to_string(Offset));
    const std::uint8_t* Pixels = Data + Offset;
    const std::size_t Available = Size - static_cast<std::size_t>(Offset);

    const int W = static_cast<int>(H.Width), Rows = static_cast<int>(Height);
    const auto Stride = static_cast<std::size_t>(TDibImage::StrideFor(W, Bits));

    // 16-bit 5-5-5 and 5-6-5, and 32-bit 8-8-8, stay as they are; other masks become 32 bits.
    std::uint32_t R = 0, G = 0, B = 0;
    bool Convert = false, Is565 = false;
    if (Bits == 16) {
        R = 0x7C00;
        G = 0x03E0;
        B = 0x001F;
        if (H.HasMasks) {
            R = H.Masks[0] & 0xFFFF;
            G = H.Masks[1] & 0xFFFF;
            B = H.Masks[2] & 0xFFFF;
            Is565 = R == 0xF800 && G == 0x07E0 && B == 0x001F;
            Convert = !Is565 && !(R == 0x7C00 && G == 0x03E0 && B == 0x001F);
        }
    } else if (Bits == 32 && H.HasMasks) {
        R = H.Masks[0];
        G = H.Masks[1];
        B = H.Masks[2];
        Convert = !(R == 0xFF0000 && G == 0xFF00 && B == 0xFF);
    }

    if (Rle) {
        Image.Allocate(W, Rows, Bits);
        DecodeRle(H, Pixels, Available, Image);
        return Image;
    }
    // The last row may lack its padding.
    const std::size_t RowBytes = (static_cast<std::size_t>(W) * Bits + 7) / 8;
    const std::size_t Needed = Stride * (Rows - 1) + RowBytes;
    if (Available < Needed)
        Bad("the pixel data is truncated");
    Image.Allocate(W, Rows, Convert ? 32 : Bits, Is565);
    for (int Y = 0; Y < Rows; ++Y) {
        // File row I holds picture row Y.
        const int FileRow = TopDown ? Y : Rows - 1 - Y;
        const std::uint8_t* In = Pixels + Stride * static_cast<std::size_t>(FileRow);
        if (!Convert) {
            std::memcpy(Image.Row(Y), In, RowBytes); // padding stays 0
            continue;
        }
        for (int X = 0; X < W; ++X) {
            const std::uint32_t P = Bits == 16 ? ReadLE16(In + X * 2) : ReadLE32(In + X * 4);
            Image.SetRaw(X, Y, Channel(P, B) | Channel(P, G) << 8 | Channel(P, R) << 16);
        }
    }
    return Image;
}

} // namespace

bool IsBmp(const std::uint8_t* Data, std::size_t Size)
{
    return Size >= 2 && Data[0] == 'B' && Data[1] == 'M';
}

TDibImage ReadBmp(const std::uint8_t* Data, std::size_t Size)
{
    if (!IsBmp(Data, Size))
        Bad("no BM signature");
    if (Size < 14 + 12)
        Bad("the file is truncated");
    const std::uint32_t OffBits = ReadLE32(Data + 10);
    // Some writers leave the offset 0: the pixels then follow the colour table.
    const std::int64_t Offset = OffBits == 0 ? -1 : static_cast<std::int64_t>(OffBits) - 14;
    if (OffBits != 0 && OffBits < 14)
        Bad("bad pixel data offset " + std::to_string(OffBits));
    return ReadDib(Data + 14, Size - 14, Offset);
}

TDibImage ReadPackedDib(const std::uint8_t* Data, std::size_t Size, TDibImage* IconMask)
{
    if (!IconMask)
        return ReadDib(Data, Size, -1);
    // An icon's picture is read as icon files are read, so both agree on what is valid.
    const TIconImage Icon =
        DecodeIconDib(std::string_view(reinterpret_cast<const char*>(Data), Size));
    TDibImage Image;
    Image.Allocate(Icon.Width, Icon.Height, 32);
    IconMask->Allocate(Icon.Width, Icon.Height, 1);
    IconMask->Colors = {clBlack, clWhite};
    for (int Y = 0; Y < Icon.Height; ++Y)
        for (int X = 0; X < Icon.Width; ++X) {
            const std::size_t I = static_cast<std::size_t>(Y) * Icon.Width + X;
            // Without an alpha channel in the file the pixels keep alpha 0, as the file has it.
            Image.SetRaw(X, Y, Icon.HasAlpha ? Icon.Pixels[I] : Icon.Pixels[I] & 0xFFFFFF);
            IconMask->SetRaw(X, Y, Icon.Mask[I]);
        }
    return Image;
}

std::string WritePackedDib(const TDibImage& Image)
{
    const bool Masks = Image.BitCount == 16 && Image.Is565;
    const std::size_t Table = Image.BitCount <= 8 ? Image.Colors.size() : 0;
    const std::size_t Full = Image.BitCount <= 8 ? std::size_t(1) << Image.BitCount : 0;
    std::string S;
    S.reserve(40 + 12 + Table * 4 + Image.Bits.size());
    AppendLE32(S, 40);
    AppendLE32(S, static_cast<std::uint32_t>(Image.Width));
    AppendLE32(S, static_cast<std::uint32_t>(Image.Height));
    AppendLE16(S, 1);
    AppendLE16(S, static_cast<std::uint32_t>(Image.BitCount));
    AppendLE32(S, Masks ? BI_BITFIELDS : BI_RGB);
    AppendLE32(S, static_cast<std::uint32_t>(Image.Bits.size()));
    AppendLE32(S, 3780); // 96 pixels per inch
    AppendLE32(S, 3780);
    AppendLE32(S, static_cast<std::uint32_t>(Table == Full ? 0 : Table));
    AppendLE32(S, 0);
    if (Masks) {
        AppendLE32(S, 0xF800);
        AppendLE32(S, 0x07E0);
        AppendLE32(S, 0x001F);
    }
    for (std::size_t I = 0; I < Table; ++I) {
        const TColor C = Image.Colors[I];
        S += static_cast<char>(GetBValue(C));
        S += static_cast<char>(GetGValue(C));
        S += static_cast<char>(GetRValue(C));
        S += '\0';
    }
    S.append(reinterpret_cast<const char*>(Image.Bits.data()), Image.Bits.size());
    return S;
}

std::string WriteBmp(const TDibImage& Image)
{
    const std::string Dib = WritePackedDib(Image);
    const std::size_t Header = 40 + (Image.BitCount == 16 && Image.Is565 ? 12 : 0) +
                               (Image.BitCount <= 8 ? Image.Colors.size() * 4 : 0);
    std::string S = "BM";
    AppendLE32(S, static_cast<std::uint32_t>(14 + Dib.size()));
    AppendLE32(S, 0);
    AppendLE32(S, static_cast<std::uint32_t>(14 + Header));
    return S + Dib;
}
