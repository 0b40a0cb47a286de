#include "platform/gfx/icoformat.h"

#include "platform/gfx/graphic.h"
#include "platform/gfx/pngformat.h"
#include "platform/rtl/byteorder.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The directory stores sizes in one byte (0 meaning 256): no icon image is larger.
constexpr int MaxSide = 256;
// Far above any real icon (64 images of 256 x 256), far below what would hurt.
constexpr std::int64_t MaxFilePixels = std::int64_t{64} * MaxSide * MaxSide;
constexpr int DibHeaderSize = 40;

[[noreturn]] void Invalid(const std::string& Why)
{
    throw EInvalidGraphic("Icon image is not valid: " + Why);
}

std::uint32_t U8(std::string_view D, std::size_t At)
{
    return static_cast<unsigned char>(D[At]);
}

std::uint32_t BigEndian32(std::string_view D, std::size_t At)
{
    return U8(D, At) << 24 | U8(D, At + 1) << 16 | U8(D, At + 2) << 8 | U8(D, At + 3);
}

TIconImage DecodePng(std::string_view Bytes)
{
    // The size from the header chunk first, so that a hostile size allocates nothing.
    if (Bytes.size() < 24 || Bytes.substr(12, 4) != "IHDR")
        Invalid("damaged PNG image");
    const std::uint32_t PngWidth = BigEndian32(Bytes, 16);
    const std::uint32_t PngHeight = BigEndian32(Bytes, 20);
    if (PngWidth < 1 || PngWidth > MaxSide || PngHeight < 1 || PngHeight > MaxSide)
        Invalid("PNG image size outside 1 to 256 pixels");
    const TDibImage Dib =
        ReadPng(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());

    TIconImage Result;
    Result.Width = Dib.Width;
    Result.Height = Dib.Height;
    Result.HasAlpha = true;
    Result.Png = true;
    for (int Y = 0; Y < Dib.Height; ++Y) {
        const std::uint8_t* Row = Dib.Row(Y);
        for (int X = 0; X < Dib.Width; ++X) {
            const std::uint32_t Alpha = Dib.BitCount == 32 ? Row[X * 4 + 3] : 0xFF;
            const TColor Color = Dib.Pixel(X, Y);
            Result.Pixels.push_back(Alpha << 24 |
                                    static_cast<std::uint32_t>(GetRValue(Color)) << 16 |
                                    static_cast<std::uint32_t>(GetGValue(Color)) << 8 |
                                    static_cast<std::uint32_t>(GetBValue(Color)));
            Result.Mask.push_back(Alpha == 0);
        }
    }
    return Result;
}

int BitCountFromColors(std::uint32_t Colors)
{
    switch (Colors) {
    case 2:
        return 1;
    case 16:
        return 4;
    default:
        return 0;
    }
}

void CheckImage(const TIconImage& Image)
{
    const std::size_t Count = static_cast<std::size_t>(std::max(Image.Width, 0)) *
                              static_cast<std::size_t>(std::max(Image.Height, 0));
    if (Image.Width < 1 || Image.Width > MaxSide || Image.Height < 1 || Image.Height > MaxSide)
        Invalid("image size outside 1 to 256 pixels");
    if (Image.Pixels.size() != Count || Image.Mask.size() != Count)
        Invalid("pixels and mask do not match the size");
}

} // namespace

TIconImage DecodeIconDib(std::string_view B)
{
    if (B.size() < DibHeaderSize)
        Invalid("the image header is cut short");
    const std::uint32_t HeaderSize = ReadLE32(B, 0);
    if (HeaderSize < DibHeaderSize || HeaderSize > B.size())
        Invalid("unknown image header");
    const auto Width = static_cast<std::int32_t>(ReadLE32(B, 4));
    const auto DoubleHeight = static_cast<std::int32_t>(ReadLE32(B, 8));
    const std::uint32_t BitCount = ReadLE16(B, 14);
    const std::uint32_t Compression = ReadLE32(B, 16);
    const std::uint32_t ColorsUsed = ReadLE32(B, 32);
    if (Compression != 0)
        Invalid("only uncompressed images are supported");
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24 && BitCount != 32)
        Invalid(std::to_string(BitCount) + " bits per pixel are not supported");
    const int Height = DoubleHeight / 2;
    if (Width < 1 || Width > MaxSide || Height < 1 || Height > MaxSide)
        Invalid("image size outside 1 to 256 pixels");
    if (ColorsUsed > 256 || (BitCount <= 8 && ColorsUsed > (1u << BitCount)))
        Invalid("too many palette colours");
    std::size_t Colors = ColorsUsed;
    if (BitCount <= 8 && Colors == 0)
        Colors = std::size_t{1} << BitCount;

    const std::size_t PaletteAt = HeaderSize;
    const std::size_t XorAt = PaletteAt + Colors * 4;
    const std::size_t XorStride = (static_cast<std::size_t>(Width) * BitCount + 31) / 32 * 4;
    const std::size_t AndAt = XorAt + XorStride * static_cast<std::size_t>(Height);
    const std::size_t AndStride = (static_cast<std::size_t>(Width) + 31) / 32 * 4;
    if (AndAt > B.size())
        Invalid("the picture is cut short");
    // Some writers leave out the mask of a picture with alpha.
    const bool HasMask = AndAt + AndStride * static_cast<std::size_t>(Height) <= B.size();
    if (!HasMask && BitCount != 32)
        Invalid("the mask is cut short");

    TIconImage Result;
    Result.Width = Width;
    Result.Height = Height;
    Result.BitCount = static_cast<int>(BitCount);
    const std::size_t Count = static_cast<std::size_t>(Width) * Height;
    Result.Pixels.resize(Count);
    Result.Mask.resize(Count);
    auto PaletteColor = [&](std::uint32_t Index) -> std::uint32_t {
        if (Index >= Colors)
            return 0;
        return ReadLE32(B, PaletteAt + Index * 4) & 0xFFFFFF;
    };
    bool AnyAlpha = false;
    for (int Row = 0; Row < Height; ++Row) {
        const int Y = Height - 1 - Row; // rows are stored bottom up
        const std::size_t XorRow = XorAt + XorStride * Row;
        const std::size_t AndRow = AndAt + AndStride * Row;
        for (int X = 0; X < Width; ++X) {
            std::uint32_t Pixel = 0;
            switch (BitCount) {
            case 1:
                Pixel = PaletteColor(U8(B, XorRow + X / 8) >> (7 - X % 8) & 1);
                break;
            case 4:
                Pixel = PaletteColor(U8(B, XorRow + X / 2) >> (X % 2 ? 0 : 4) & 0xF);
                break;
            case 8:
                Pixel = PaletteColor(U8(B, XorRow + X));
                break;
            case 24:
                Pixel = ReadLE16(B, XorRow + X * 3) | U8(B, XorRow + X * 3 + 2) << 16;
                break;
            default:
                Pixel = ReadLE32(B, XorRow + X * 4);
                AnyAlpha = AnyAlpha || (Pixel >> 24) != 0;
                break;
            }
            const std::size_t I = static_cast<std::size_t>(Y) * Width + X;
            Result.Pixels[I] = Pixel;
            Result.Mask[I] = HasMask ? (U8(B, AndRow + X / 8) >> (7 - X % 8) & 1) : 0;
        }
    }
    Result.HasAlpha = AnyAlpha;
    for (std::size_t I = 0; I < Count; ++I) {
        if (!HasMask)
            Result.Mask[I] = (Result.Pixels[I] >> 24) == 0;
        if (!AnyAlpha)
            Result.Pixels[I] = (Result.Pixels[I] & 0xFFFFFF) | (Result.Mask[I] ? 0u : 0xFF000000u);
    }
    return Result;
}

std::vector<TIconDirEntry> ReadIconDirectory(std::string_view Data, bool* Cursor)
{
    if (Data.size() < 6 || ReadLE16(Data, 0) != 0 ||
        (ReadLE16(Data, 2) != 1 && ReadLE16(Data, 2) != 2))
        Invalid("not an icon or cursor file");
    const bool IsCursor = ReadLE16(Data, 2) == 2;
    const std::size_t Count = ReadLE16(Data, 4);
    if (Count == 0)
        Invalid("the file holds no image");
    if (6 + 16 * Count > Data.size())
        Invalid("the directory is cut short");
    std::vector<TIconDirEntry> Entries;
    Entries.reserve(Count);
    for (std::size_t I = 0; I < Count; ++I) {
        const std::size_t At = 6 + 16 * I;
        TIconDirEntry E;
        E.Width = U8(Data, At) == 0 ? 256 : static_cast<int>(U8(Data, At));
        E.Height = U8(Data, At + 1) == 0 ? 256 : static_cast<int>(U8(Data, At + 1));
        if (IsCursor) {
            E.HotSpot = TPoint{static_cast<int>(ReadLE16(Data, At + 4)),
                               static_cast<int>(ReadLE16(Data, At + 6))};
            E.BitCount = BitCountFromColors(U8(Data, At + 2));
        } else {
            E.BitCount = static_cast<int>(ReadLE16(Data, At + 6));
            if (E.BitCount == 0)
                E.BitCount = BitCountFromColors(U8(Data, At + 2));
        }
        E.Offset = ReadLE32(Data, At + 12);
        if (E.Offset >= Data.size())
            Invalid("an image lies outside the file");
        E.Size = static_cast<std::uint32_t>(
            std::min<std::size_t>(ReadLE32(Data, At + 8), Data.size() - E.Offset));
        Entries.push_back(E);
    }
    if (Cursor)
        *Cursor = IsCursor;
    return Entries;
}

TIconImage DecodeIconImage(std::string_view Data, const TIconDirEntry& Entry)
{
    if (Entry.Offset >= Data.size())
        Invalid("an image lies outside the file");
    const std::string_view Bytes =
        Data.substr(Entry.Offset, std::min<std::size_t>(Entry.Size, Data.size() - Entry.Offset));
    TIconImage Image = IsPng(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size())
                           ? DecodePng(Bytes)
                           : DecodeIconDib(Bytes);
    Image.HotSpot = Entry.HotSpot;
    return Image;
}

TIconFile ReadIconFile(std::string_view Data)
{
    TIconFile File;
    const std::vector<TIconDirEntry> Entries = ReadIconDirectory(Data, &File.Cursor);
    std::int64_t Pixels = 0;
    for (const TIconDirEntry& Entry : Entries) {
        File.Images.push_back(DecodeIconImage(Data, Entry));
        Pixels += std::int64_t{File.Images.back().Width} * File.Images.back().Height;
        if (Pixels > MaxFilePixels)
            Invalid("too many images");
    }
    return File;
}

int BestIconEntry(const std::vector<TIconDirEntry>& Entries, int Width, int Height)
{
    if (Entries.empty())
        return -1;
    if (Width <= 0 || Height <= 0) {
        Width = Entries[0].Width;
        Height = Entries[0].Height;
    }
    int Best = 0;
    int BestDistance = 0;
    for (std::size_t I = 0; I < Entries.size(); ++I) {
        const int Distance =
            std::abs(Entries[I].Width - Width) + std::abs(Entries[I].Height - Height);
        if (I == 0 || Distance < BestDistance ||
            (Distance == BestDistance && Entries[I].BitCount > Entries[Best].BitCount)) {
            Best = static_cast<int>(I);
            BestDistance = Distance;
        }
    }
    return Best;
}

int BestIconImage(const std::vector<TIconImage>& Images, int Width, int Height)
{
    std::vector<TIconDirEntry> Entries;
    for (const TIconImage& Image : Images) {
        TIconDirEntry Entry;
        Entry.Width = Image.Width;
        Entry.Height = Image.Height;
        Entry.BitCount = Image.BitCount;
        Entries.push_back(Entry);
    }
    return BestIconEntry(Entries, Width, Height);
}

std::string WriteIconFile(const TIconFile& File)
{
    for (const TIconImage& Image : File.Images)
        CheckImage(Image);
    if (File.Images.empty() || File.Images.size() > 0xFFFF)
        Invalid("an icon holds 1 to 65535 images");
    std::string Out;
    AppendLE16(Out, 0);
    AppendLE16(Out, File.Cursor ? 2 : 1);
    AppendLE16(Out, static_cast<std::uint32_t>(File.Images.size()));
    std::uint32_t Offset = static_cast<std::uint32_t>(6 + 16 * File.Images.size());
    for (const TIconImage& Image : File.Images) {
        const std::uint32_t AndStride = (static_cast<std::uint32_t>(Image.Width) + 31) / 32 * 4;
        const std::uint32_t Size = DibHeaderSize + Image.Width * 4 * Image.Height +
                                   AndStride * static_cast<std::uint32_t>(Image.Height);
        Out += static_cast<char>(Image.Width & 0xFF);
        Out += static_cast<char>(Image.Height & 0xFF);
        Out += '\0'; // no palette
        Out += '\0';
        AppendLE16(Out, File.Cursor ? static_cast<std::uint32_t>(Image.HotSpot.X) & 0xFFFF : 1);
        AppendLE16(Out, File.Cursor ? static_cast<std::uint32_t>(Image.HotSpot.Y) & 0xFFFF : 32);
        AppendLE32(Out, Size);
        AppendLE32(Out, Offset);
        Offset += Size;
    }
    for (const TIconImage& Image : File.Images) {
        const std::uint32_t W = static_cast<std::uint32_t>(Image.Width);
        const std::uint32_t H = static_cast<std::uint32_t>(Image.Height);
        const std::uint32_t AndStride = (W + 31) / 32 * 4;
        AppendLE32(Out, DibHeaderSize);
        AppendLE32(Out, W);
        AppendLE32(Out, H * 2);
        AppendLE16(Out, 1);  // planes
        AppendLE16(Out, 32); // bits per pixel
        AppendLE32(Out, 0);  // uncompressed
        AppendLE32(Out, W * 4 * H + AndStride * H);
        AppendLE32(Out, 0); // pixels per metre
        AppendLE32(Out, 0);
        AppendLE32(Out, 0); // colours used
        AppendLE32(Out, 0); // colours important
        // A transparent pixel of a picture with alpha is masked too, as readers without alpha
        // expect.
        auto Masked = [&](std::size_t I) {
            return Image.Mask[I] != 0 || (Image.HasAlpha && (Image.Pixels[I] >> 24) == 0);
        };
        for (std::uint32_t Row = 0; Row < H; ++Row) {
            const std::size_t Y = H - 1 - Row;
            for (std::uint32_t X = 0; X < W; ++X) {
                const std::size_t I = Y * W + X;
                std::uint32_t Pixel = Image.Pixels[I];
                if (!Image.HasAlpha)
                    Pixel = (Pixel & 0xFFFFFF) | (Masked(I) ? 0u : 0xFF000000u);
                AppendLE32(Out, Pixel);
            }
        }
        for (std::uint32_t Row = 0; Row < H; ++Row) {
            const std::size_t Y = H - 1 - Row;
            std::string Bits(AndStride, '\0');
            for (std::uint32_t X = 0; X < W; ++X)
                if (Masked(Y * W + X))
                    Bits[X / 8] = static_cast<char>(Bits[X / 8] | 0x80 >> (X % 8));
            Out += Bits;
        }
    }
    return Out;
}
