// platform/gfx/pngformat.cpp: PNG through libpng; its errors come back as EInvalidGraphic.
#include "platform/gfx/pngformat.h"
#include "platform/rtl/classregistry.h"

#include "platform/gfx/bmpformat.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

// A picture copies a graphic by creating one of the same class from its metaclass: the factory
// is set up here, when the class is linked, not only once some code names the class.
[[maybe_unused]] static const TMetaClass* const TPngImageClass = TMetaClass::Of<TPngImage>();

namespace {

struct TReadSource {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Position;
};

struct TErrorState {
    char Message[200] = {};
};

void OnError(png_structp Png, png_const_charp Message)
{
    auto* State = static_cast<TErrorState*>(png_get_error_ptr(Png));
    std::snprintf(State->Message, sizeof(State->Message), "%s", Message ? Message : "error");
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp Png, png_bytep Out, png_size_t Count)
{
    auto* Source = static_cast<TReadSource*>(png_get_io_ptr(Png));
    if (Count > Source->Size - Source->Position)
        png_error(Png, "the data is truncated");
    std::memcpy(Out, Source->Data + Source->Position, Count);
    Source->Position += Count;
}

void WriteData(png_structp Png, png_bytep In, png_size_t Count)
{
    static_cast<std::string*>(png_get_io_ptr(Png))
        ->append(reinterpret_cast<const char*>(In), Count);
}

void FlushData(png_structp) {}

// Everything the setjmp frame touches lives outside it, so a long jump leaks nothing and
// clobbers nothing.
struct TReadJob {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    TDibImage Image;
    std::vector<std::uint8_t> Buffer;
    std::vector<png_bytep> Rows;
    ~TReadJob() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

// Returns false after a libpng error.
bool RunRead(TReadJob& Job, TReadSource& Source, TErrorState&)
{
    png_structp Png = Job.Png;
    png_infop Info = Job.Info;
    if (setjmp(png_jmpbuf(Png)))
        return false;
    png_set_read_fn(Png, &Source, ReadData);
    png_set_user_limits(Png, MaxDibSide, MaxDibSide);
    png_read_info(Png, Info);
    png_uint_32 W = 0, H = 0;
    int Depth = 0, Type = 0, Interlace = 0;
    png_get_IHDR(Png, Info, &W, &H, &Depth, &Type, &Interlace, nullptr, nullptr);
    if (std::uint64_t(W) * H > std::uint64_t(MaxDibPixels))
        png_error(Png, "the image is too large");
    const bool Trns = png_get_valid(Png, Info, PNG_INFO_tRNS) != 0;
    const bool Alpha = (Type & PNG_COLOR_MASK_ALPHA) || Trns;
    int OutBits;
    if (!Alpha && (Type == PNG_COLOR_TYPE_PALETTE || (Type == PNG_COLOR_TYPE_GRAY && Depth <= 8))) {
        // Indexed: one byte per index while reading, packed into the image afterwards.
        OutBits = Depth == 1 ? 1 : Depth <= 4 ? 4 : 8;
        if (Depth < 8)
            png_set_packing(Png);
        if (Type == PNG_COLOR_TYPE_PALETTE) {
            png_colorp Palette = nullptr;
            int Count = 0;
            png_get_PLTE(Png, Info, &Palette, &Count);
            for (int I = 0; I < Count && I < (1 << OutBits); ++I)
                Job.Image.Colors.push_back(RGB(Palette[I].red, Palette[I].green, Palette[I].blue));
        } else {
            const int Levels = 1 << Depth;
            for (int I = 0; I < Levels; ++I) {
                const int V = I * 255 / (Levels - 1);
                Job.Image.Colors.push_back(RGB(V, V, V));
            }
        }
    } else {
        png_set_expand(Png);
        png_set_strip_16(Png);
        if (Type == PNG_COLOR_TYPE_GRAY || Type == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(Png);
        png_set_bgr(Png);
        if (Alpha)
            png_set_add_alpha(Png, 0xFF, PNG_FILLER_AFTER);
        OutBits = Alpha ? 32 : 24;
    }
    png_set_interlace_handling(Png);
    png_read_update_info(Png, Info);
    const std::size_t RowBytes = png_get_rowbytes(Png, Info);
    Job.Buffer.assign(RowBytes * H, 0);
    Job.Rows.resize(H);
    for (png_uint_32 Y = 0; Y < H; ++Y)
        Job.Rows[Y] = Job.Buffer.data() + RowBytes * Y;
    png_read_image(Png, Job.Rows.data());
    png_read_end(Png, nullptr);

    TDibImage& I = Job.Image;
    std::vector<TColor> Colors = std::move(I.Colors);
    I.Allocate(static_cast<int>(W), static_cast<int>(H), OutBits);
    I.Colors = std::move(Colors);
    for (png_uint_32 Y = 0; Y < H; ++Y) {
        const std::uint8_t* In = Job.Rows[Y];
        if (OutBits >= 24) {
            std::memcpy(I.Row(static_cast<int>(Y)), In, std::size_t(W) * (OutBits / 8));
            continue;
        }
        for (png_uint_32 X = 0; X < W; ++X)
            I.SetRaw(static_cast<int>(X), static_cast<int>(Y), In[X]);
    }
    return true;
}

struct TWriteJob {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::vector<std::uint8_t> Buffer;
    std::vector<png_bytep> Rows;
    std::vector<png_color> Palette;
    ~TWriteJob() { png_destroy_write_struct(&Png, &Info); }
};

bool RunWrite(TWriteJob& Job, const TDibImage& Image, std::string& Out)
{
    png_structp Png = Job.Png;
    png_infop Info = Job.Info;
    if (setjmp(png_jmpbuf(Png)))
        return false;
    png_set_write_fn(Png, &Out, WriteData, FlushData);
    const auto W = static_cast<png_uint_32>(Image.Width),
               H = static_cast<png_uint_32>(Image.Height);
    const bool Indexed = Image.BitCount <= 8;
    bool WithAlpha = false;
    if (Image.BitCount == 32)
        for (std::size_t I = 3; I < Image.Bits.size() && !WithAlpha; I += 4)
            WithAlpha = Image.Bits[I] != 0;
    std::size_t RowBytes;
    if (Indexed) {
        png_set_IHDR(Png, Info, W, H, Image.BitCount, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        for (TColor C : Image.Colors)
            Job.Palette.push_back(png_color{static_cast<png_byte>(GetRValue(C)),
                                            static_cast<png_byte>(GetGValue(C)),
                                            static_cast<png_byte>(GetBValue(C))});
        if (Job.Palette.empty())
            Job.Palette.push_back(png_color{0, 0, 0});
        png_set_PLTE(Png, Info, Job.Palette.data(), static_cast<int>(Job.Palette.size()));
        RowBytes = (std::size_t(W) * Image.BitCount + 7) / 8;
    } else {
        png_set_IHDR(Png, Info, W, H, 8, WithAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        RowBytes = std::size_t(W) * (WithAlpha ? 4 : 3);
    }
    Job.Buffer.assign(RowBytes * H, 0);
    Job.Rows.resize(H);
    for (png_uint_32 Y = 0; Y < H; ++Y) {
        std::uint8_t* Row = Job.Buffer.data() + RowBytes * Y;
        Job.Rows[Y] = Row;
        const std::uint8_t* In = Image.Row(static_cast<int>(Y));
        if (Indexed) {
            std::memcpy(Row, In, RowBytes); // same bit order: leftmost pixel in the high bits
            // Indexes beyond a short table would make libpng fail: they become 0.
            if (Image.Colors.size() < (std::size_t(1) << Image.BitCount))
                for (png_uint_32 X = 0; X < W; ++X)
                    if (Image.Raw(static_cast<int>(X), static_cast<int>(Y)) >= Job.Palette.size()) {
                        const int Shift =
                            8 - Image.BitCount - static_cast<int>(X * Image.BitCount % 8);
                        const std::size_t At = X * Image.BitCount / 8;
                        Row[At] = static_cast<std::uint8_t>(
                            Row[At] & ~(((1u << Image.BitCount) - 1) << Shift));
                    }
            continue;
        }
        for (png_uint_32 X = 0; X < W; ++X) {
            const TColor C = Image.Pixel(static_cast<int>(X), static_cast<int>(Y));
            std::uint8_t* P = Row + X * (WithAlpha ? 4 : 3);
            P[0] = static_cast<std::uint8_t>(GetRValue(C));
            P[1] = static_cast<std::uint8_t>(GetGValue(C));
            P[2] = static_cast<std::uint8_t>(GetBValue(C));
            if (WithAlpha)
                P[3] = In[X * 4 + 3];
        }
    }
    png_write_info(Png, Info);
    png_write_image(Png, Job.Rows.data());
    png_write_end(Png, Info);
    return true;
}

// libpng sets aside (and clears) as much memory as a chunk declares before it reads the chunk,
// so a few bytes declaring a huge chunk would cost gigabytes. Such a file fails anyway once libpng
// reaches the end of the data: every chunk up to IEND must lie within it.
bool ChunksFit(const std::uint8_t* Data, std::size_t Size)
{
    std::size_t At = 8;
    while (Size - At >= 8) {
        const std::uint32_t Length =
            std::uint32_t(Data[At]) << 24 | Data[At + 1] << 16 | Data[At + 2] << 8 | Data[At + 3];
        if (Length > Size - At - 8 || Size - At - 8 - Length < 4)
            return false;
        if (std::memcmp(Data + At + 4, "IEND", 4) == 0)
            break;
        At += 12 + std::size_t(Length);
    }
    return true;
}

} // namespace

bool IsPng(const std::uint8_t* Data, std::size_t Size)
{
    return Size >= 8 && png_sig_cmp(Data, 0, 8) == 0;
}

TDibImage ReadPng(const std::uint8_t* Data, std::size_t Size)
{
    if (!IsPng(Data, Size))
        throw EInvalidGraphic("PNG image is not valid: no PNG signature");
    if (!ChunksFit(Data, Size))
        throw EInvalidGraphic("PNG image is not valid: the data is truncated");
    TErrorState Errors;
    TReadJob Job;
    Job.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &Errors, OnError, OnWarning);
    if (!Job.Png)
        throw EInvalidGraphic("PNG image is not valid: out of memory");
    Job.Info = png_create_info_struct(Job.Png);
    if (!Job.Info)
        throw EInvalidGraphic("PNG image is not valid: out of memory");
    TReadSource Source{Data, Size, 0};
    if (!RunRead(Job, Source, Errors))
        throw EInvalidGraphic(std::string("PNG image is not valid: ") + Errors.Message);
    return std::move(Job.Image);
}

std::string WritePng(const TDibImage& Image)
{
    if (Image.Width <= 0 || Image.Height <= 0)
        throw EInvalidGraphic("Cannot write an empty image");
    TErrorState Errors;
    TWriteJob Job;
    Job.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &Errors, OnError, OnWarning);
    if (!Job.Png)
        throw EInvalidGraphic("Cannot write PNG: out of memory");
    Job.Info = png_create_info_struct(Job.Png);
    if (!Job.Info)
        throw EInvalidGraphic("Cannot write PNG: out of memory");
    std::string Out;
    if (!RunWrite(Job, Image, Out))
        throw EInvalidGraphic(std::string("Cannot write PNG: ") + Errors.Message);
    return Out;
}

void TPngImage::SaveToStream(TStream* Stream)
{
    const TDibImage* I = Image();
    if (!I || Empty())
        return;
    const std::string Bytes = WritePng(*I);
    Stream->WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
}
