#include "platform/gfx/pngformat.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <string>

#include <sys/resource.h>

namespace {

void Append(png_structp Png, png_bytep Data, png_size_t Size)
{
    static_cast<std::string*>(png_get_io_ptr(Png))->append(reinterpret_cast<char*>(Data), Size);
}

// A PNG made by libpng itself from rows already in the file's layout.
std::string MakePng(int Width, int Height, int Depth, int Type,
                    const std::vector<std::vector<std::uint8_t>>& Rows,
                    const std::vector<png_color>& Palette = {},
                    const std::vector<png_byte>& Trans = {}, bool Interlaced = false)
{
    std::string Out;
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        ADD_FAILURE() << "libpng could not write the test picture";
        return std::string();
    }
    png_set_write_fn(Png, &Out, Append, nullptr);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height),
                 Depth, Type, Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!Palette.empty())
        png_set_PLTE(Png, Info, Palette.data(), static_cast<int>(Palette.size()));
    if (!Trans.empty())
        png_set_tRNS(Png, Info, Trans.data(), static_cast<int>(Trans.size()), nullptr);
    png_write_info(Png, Info);
    std::vector<png_bytep> Pointers;
    for (const auto& R : Rows)
        Pointers.push_back(const_cast<png_bytep>(R.data()));
    png_write_image(Png, Pointers.data());
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return Out;
}

TDibImage Read(const std::string& Bytes)
{
    return ReadPng(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
}

} // namespace

TEST(PngFormat, ReadsEveryColourTypeAndDepth)
{
    const std::vector<png_color> Pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    struct Case {
        const char* Name;
        std::string Png;
        int BitCount;
        std::vector<TColor> Pixels; // the first row
    };
    const std::vector<Case> Cases = {
        {"gray 1", MakePng(3, 1, 1, PNG_COLOR_TYPE_GRAY, {{0xA0}}), 1, {clWhite, clBlack, clWhite}},
        {"gray 2", MakePng(2, 1, 2, PNG_COLOR_TYPE_GRAY, {{0x70}}), 4, {RGB(85, 85, 85), clWhite}},
        {"gray 4", MakePng(2, 1, 4, PNG_COLOR_TYPE_GRAY, {{0xF0}}), 4, {clWhite, clBlack}},
        {"gray 8",
         MakePng(2, 1, 8, PNG_COLOR_TYPE_GRAY, {{0x80, 0x00}}),
         8,
         {RGB(128, 128, 128), clBlack}},
        {"gray 16", MakePng(1, 1, 16, PNG_COLOR_TYPE_GRAY, {{0xFF, 0x00}}), 24, {clWhite}},
        {"gray alpha",
         MakePng(1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{0x40, 0x80}}),
         32,
         {RGB(64, 64, 64)}},
        {"rgb 8",
         MakePng(2, 1, 8, PNG_COLOR_TYPE_RGB, {{255, 0, 0, 0, 0, 255}}),
         24,
         {clRed, clBlue}},
        {"rgb 16", MakePng(1, 1, 16, PNG_COLOR_TYPE_RGB, {{0, 0, 0xFF, 0xFF, 0, 0}}), 24, {clLime}},
        {"rgba", MakePng(1, 1, 8, PNG_COLOR_TYPE_RGBA, {{1, 2, 3, 4}}), 32, {RGB(1, 2, 3)}},
        {"palette 1",
         MakePng(2, 1, 1, PNG_COLOR_TYPE_PALETTE, {{0x40}}, {{0, 0, 0}, {9, 9, 9}}),
         1,
         {clBlack, RGB(9, 9, 9)}},
        {"palette 2",
         MakePng(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0x1B}}, Pal),
         4,
         {clRed, clLime, clBlue, clWhite}},
        {"palette 4", MakePng(2, 1, 4, PNG_COLOR_TYPE_PALETTE, {{0x21}}, Pal), 4, {clBlue, clLime}},
        {"palette 8", MakePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{3, 0}}, Pal), 8, {clWhite, clRed}},
        {"palette with transparency",
         MakePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{3, 0}}, Pal, {0}),
         32,
         {clWhite, clRed}},
        {"interlaced",
         MakePng(2, 2, 8, PNG_COLOR_TYPE_RGB, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 0, 0, 0}}, {},
                 {}, true),
         24,
         {clRed, clLime}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TDibImage I = Read(C.Png);
        EXPECT_EQ(I.BitCount, C.BitCount);
        ASSERT_EQ(I.Width, static_cast<int>(C.Pixels.size()));
        for (int X = 0; X < I.Width; ++X)
            EXPECT_EQ(I.Pixel(X, 0), C.Pixels[static_cast<std::size_t>(X)]) << "pixel " << X;
    }
}

TEST(PngFormat, AlphaSurvivesReading)
{
    const TDibImage I = Read(MakePng(1, 1, 8, PNG_COLOR_TYPE_RGBA, {{1, 2, 3, 4}}));
    EXPECT_EQ(I.Raw(0, 0) >> 24, 4u);
    const TDibImage T = Read(MakePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{3, 0}},
                                     {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}}, {0}));
    EXPECT_EQ(T.Raw(1, 0) >> 24, 0u);   // entry 0 is transparent
    EXPECT_EQ(T.Raw(0, 0) >> 24, 255u); // entries past the tRNS list are opaque
}

TEST(PngFormat, RoundTripsEveryDibFormat)
{
    const std::vector<TColor> Colors = {clRed, clLime, clBlue, clWhite, clBlack, RGB(8, 16, 24)};
    for (int Bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(Bits);
        TDibImage I;
        I.Allocate(5, 3, Bits, Bits == 16);
        if (Bits <= 8)
            I.Colors = Bits == 1 ? std::vector<TColor>{clBlack, clWhite} : Colors;
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 5; ++X)
                I.SetPixel(X, Y, Colors[static_cast<std::size_t>(X + Y) % Colors.size()]);
        const TDibImage Back = Read(WritePng(I));
        EXPECT_EQ(Back.BitCount, Bits == 16 || Bits == 32 ? 24 : Bits); // no alpha in use
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 5; ++X)
                EXPECT_EQ(Back.Pixel(X, Y), I.Pixel(X, Y)) << X << "," << Y;
    }
}

TEST(PngFormat, WritesAlphaOnlyWhenThePictureHasSome)
{
    TDibImage I;
    I.Allocate(1, 1, 32);
    I.SetRaw(0, 0, 0x00112233);
    EXPECT_EQ(Read(WritePng(I)).BitCount, 24);
    I.SetRaw(0, 0, 0x80112233);
    const TDibImage Back = Read(WritePng(I));
    EXPECT_EQ(Back.BitCount, 32);
    EXPECT_EQ(Back.Raw(0, 0), 0x80112233u);
}

TEST(PngFormat, BadFilesRaiseInvalidGraphic)
{
    const std::string Good =
        MakePng(4, 4, 8, PNG_COLOR_TYPE_RGB,
                std::vector<std::vector<std::uint8_t>>(4, std::vector<std::uint8_t>(12, 7)));
    std::string BadCrc = Good;
    BadCrc[29] ^= 0x55; // inside the IHDR CRC
    std::string Huge = Good;
    Huge[16] = 0x7F; // width 2^31 - ...
    const std::vector<std::pair<const char*, std::string>> Cases = {
        {"empty", ""},
        {"no signature", "BM.............."},
        {"signature only", Good.substr(0, 8)},
        {"truncated", Good.substr(0, Good.size() / 2)},
        {"bad CRC", BadCrc},
        {"huge", Huge},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.first);
        try {
            Read(C.second);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& E) {
            EXPECT_NE(std::string(E.Message()).find("PNG"), std::string::npos) << E.Message();
        }
    }
}

TEST(PngFormat, AChunkLongerThanTheDataCostsNoMemory)
{
    const std::string Good =
        MakePng(2, 2, 8, PNG_COLOR_TYPE_RGB,
                std::vector<std::vector<std::uint8_t>>(2, std::vector<std::uint8_t>(6, 7)));
    // After IHDR, an sPLT chunk that declares 2 GB in a file of a hundred bytes: libpng would set
    // the 2 GB aside and clear them before finding the data short.
    const std::string Chunk = std::string("\x7F\xFF\xFF\xF0sPLT", 8) + "name";
    const std::string Lying = Good.substr(0, 33) + Chunk + Good.substr(33);
    rusage Before{};
    getrusage(RUSAGE_SELF, &Before);
    EXPECT_THROW(Read(Lying), EInvalidGraphic);
    rusage After{};
    getrusage(RUSAGE_SELF, &After);
    EXPECT_LT(After.ru_maxrss - Before.ru_maxrss, 256 * 1024); // kilobytes
    // Past IEND nothing is read, so whatever follows may claim any length.
    EXPECT_EQ(Read(Good + Chunk).Width, 2);
}
