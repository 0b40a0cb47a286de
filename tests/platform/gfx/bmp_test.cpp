#include "platform/gfx/bmpformat.h"

#include "platform/gfx/pngformat.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

const std::vector<TColor> Top = {clRed, clLime, clBlue};
const std::vector<TColor> Bottom = {clWhite, clBlack, RGB(128, 128, 128)};

std::string Fixture(const std::string& Name)
{
    return TestSupport::ReadAll(std::string(TARNWICK_FIXTURES) + "/gfx/bmp/" + Name);
}

TDibImage Read(const std::string& Bytes)
{
    return ReadBmp(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
}

// Little-endian byte strings for building files by hand.
std::string U16(std::uint32_t V)
{
    return std::string{static_cast<char>(V & 0xFF), static_cast<char>(V >> 8 & 0xFF)};
}
std::string U32(std::uint32_t V)
{
    return U16(V & 0xFFFF) + U16(V >> 16);
}
std::string Bytes(std::initializer_list<int> Values)
{
    std::string S;
    for (int V : Values)
        S += static_cast<char>(V);
    return S;
}

// A 40-byte-or-longer header of HeaderSize with the given fields.
std::string InfoHeader(std::uint32_t HeaderSize, int Width, int Height, int Bits,
                       std::uint32_t Compression, std::uint32_t Used = 0,
                       const std::string& Masks = std::string())
{
    std::string H = U32(HeaderSize) + U32(static_cast<std::uint32_t>(Width)) +
                    U32(static_cast<std::uint32_t>(Height)) + U16(1) +
                    U16(static_cast<std::uint32_t>(Bits)) + U32(Compression) + U32(0) + U32(0) +
                    U32(0) + U32(Used) + U32(0);
    H += Masks;
    H.resize(std::max<std::size_t>(H.size(), HeaderSize), '\0');
    return H;
}

std::string File(const std::string& Dib, std::uint32_t PixelOffset)
{
    return "BM" + U32(static_cast<std::uint32_t>(14 + Dib.size())) + U32(0) + U32(PixelOffset) +
           Dib;
}

std::vector<TColor> Row(const TDibImage& I, int Y)
{
    std::vector<TColor> R;
    for (int X = 0; X < I.Width; ++X)
        R.push_back(I.Pixel(X, Y));
    return R;
}

} // namespace

TEST(BmpFormat, ReadsAndWritesTheGoldenFileOfEveryPixelFormat)
{
    struct Case {
        const char* File;
        int BitCount;
        bool Is565;
        std::vector<TColor> Top, Bottom;
    };
    const std::vector<TColor> MonoTop = {clWhite, clBlack, clWhite},
                              MonoBottom = {clBlack, clWhite, clBlack};
    // 5 bits per channel turn 128 into 132 (128 >> 3 << 3 | 128 >> 5).
    const std::vector<TColor> Bottom5 = {clWhite, clBlack, RGB(132, 132, 132)};
    const std::vector<TColor> Bottom565 = {clWhite, clBlack, RGB(132, 130, 132)};
    const std::vector<Case> Cases = {
        {"1bit.bmp", 1, false, MonoTop, MonoBottom}, {"4bit.bmp", 4, false, Top, Bottom},
        {"8bit.bmp", 8, false, Top, Bottom},         {"15bit.bmp", 16, false, Top, Bottom5},
        {"16bit.bmp", 16, true, Top, Bottom565},     {"24bit.bmp", 24, false, Top, Bottom},
        {"32bit.bmp", 32, false, Top, Bottom}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.File);
        const std::string Golden = Fixture(C.File);
        ASSERT_FALSE(Golden.empty());
        const TDibImage I = Read(Golden);
        EXPECT_EQ(I.BitCount, C.BitCount);
        EXPECT_EQ(I.Is565, C.Is565);
        EXPECT_EQ(Row(I, 0), C.Top);
        EXPECT_EQ(Row(I, 1), C.Bottom);
        EXPECT_EQ(WriteBmp(I), Golden);
    }
}

TEST(BmpFormat, ImageMagickReadsOurFilesAsWeDo)
{
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick is not installed";
    TestSupport::TTempFolder Folder;
    for (const char* Name :
         {"1bit.bmp", "4bit.bmp", "8bit.bmp", "15bit.bmp", "16bit.bmp", "24bit.bmp", "32bit.bmp"}) {
        SCOPED_TRACE(Name);
        const std::string Png = Folder.Path() + "out.png";
        const std::string Command = "convert '" + std::string(TARNWICK_FIXTURES) + "/gfx/bmp/" +
                                    Name + "' -alpha off 'png24:" + Png + "' 2>/dev/null";
        ASSERT_EQ(std::system(Command.c_str()), 0);
        const std::string PngBytes = TestSupport::ReadAll(Png);
        const TDibImage Theirs =
            ReadPng(reinterpret_cast<const std::uint8_t*>(PngBytes.data()), PngBytes.size());
        const TDibImage Ours = Read(Fixture(Name));
        ASSERT_EQ(Theirs.Width, 3);
        ASSERT_EQ(Theirs.Height, 2);
        for (int Y = 0; Y < 2; ++Y)
            EXPECT_EQ(Row(Theirs, Y), Row(Ours, Y)) << "row " << Y;
    }
}

TEST(BmpFormat, ReadsEveryHeaderKind)
{
    // A 2 x 2 8-bit picture: top row palette entries 1, 2; bottom row 0, 3.
    const std::string Pixels = Bytes({0, 3, 0, 0, 1, 2, 0, 0});
    const std::vector<TColor> Colors = {clBlack, clRed, clLime, clBlue};
    std::string Quads, Triples;
    for (TColor C : Colors) {
        Quads += Bytes({GetBValue(C), GetGValue(C), GetRValue(C), 0});
        Triples += Bytes({GetBValue(C), GetGValue(C), GetRValue(C)});
    }
    struct Case {
        const char* Name;
        std::string Header;
        std::string Table;
    };
    const std::string Core = U32(12) + U16(2) + U16(2) + U16(1) + U16(8);
    const std::vector<Case> Cases = {
        {"core", Core, Triples.substr(0, 4 * 3) + std::string(252 * 3, '\0')},
        {"OS/2 2.x", InfoHeader(64, 2, 2, 8, BI_RGB, 4), Quads},
        {"OS/2 2.x short", InfoHeader(16, 2, 2, 8, BI_RGB).substr(0, 16),
         Quads + std::string(252 * 4, '\0')},
        {"info", InfoHeader(40, 2, 2, 8, BI_RGB, 4), Quads},
        {"V4", InfoHeader(108, 2, 2, 8, BI_RGB, 4), Quads},
        {"V5", InfoHeader(124, 2, 2, 8, BI_RGB, 4), Quads},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Dib = C.Header + C.Table;
        const TDibImage I = Read(File(Dib + Pixels, static_cast<std::uint32_t>(14 + Dib.size())));
        ASSERT_EQ(I.Width, 2);
        ASSERT_EQ(I.Height, 2);
        EXPECT_EQ(Row(I, 0), (std::vector<TColor>{clRed, clLime}));
        EXPECT_EQ(Row(I, 1), (std::vector<TColor>{clBlack, clBlue}));
    }
}

TEST(BmpFormat, ReadsTopDownRleAndBitFields)
{
    const std::string Gray4 = Bytes({0, 0, 0, 0, 255, 255, 255, 0}); // black, white
    struct Case {
        const char* Name;
        std::string Dib;
        std::vector<TColor> Top, Bottom;
    };
    std::vector<Case> Cases;
    // Top-down 24-bit: the first row in the file is the top one.
    Cases.push_back({"top-down",
                     InfoHeader(40, 1, -2, 24, BI_RGB) + Bytes({0, 0, 255, 0, 0, 255, 0, 0}),
                     {clRed},
                     {clLime}});
    // RLE8 3 x 2: bottom row a run of three 1s, then end of line; top row absolute 0 1 0
    // (padded), then end of bitmap.
    Cases.push_back(
        {"RLE8",
         InfoHeader(40, 3, 2, 8, BI_RLE8, 2) + Gray4 + Bytes({3, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 1}),
         {clBlack, clWhite, clBlack},
         {clWhite, clWhite, clWhite}});
    // RLE4: a run alternating nibbles, then a delta that skips to the top row's second pixel.
    Cases.push_back({"RLE4 with delta",
                     InfoHeader(40, 3, 2, 4, BI_RLE4, 2) + Gray4 +
                         Bytes({3, 0x10, 0, 0, 0, 2, 1, 0, 0, 3, 0x11, 0x10, 0, 1}),
                     {clBlack, clWhite, clWhite},
                     {clWhite, clBlack, clWhite}});
    // 16 bits as 4-4-4 fields, after a 40-byte header.
    Cases.push_back({"bit fields 16",
                     InfoHeader(40, 2, 1, 16, BI_BITFIELDS) + U32(0x0F00) + U32(0x00F0) +
                         U32(0x000F) + U16(0x0F00) + U16(0x00F8),
                     {clRed, RGB(0, 255, 136)},
                     {}});
    // 32 bits, red in the high byte, inside a V5 header.
    Cases.push_back({"bit fields 32",
                     InfoHeader(124, 1, 1, 32, BI_BITFIELDS, 0,
                                U32(0xFF000000) + U32(0x00FF0000) + U32(0x0000FF00)) +
                         U32(0x80FF4000),
                     {RGB(128, 255, 64)},
                     {}});
    // 16 bits without fields are 5-5-5.
    Cases.push_back(
        {"16 bits plain", InfoHeader(40, 1, 1, 16, BI_RGB) + U16(0x7C00) + U16(0), {clRed}, {}});
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TDibImage I =
            ReadPackedDib(reinterpret_cast<const std::uint8_t*>(C.Dib.data()), C.Dib.size());
        EXPECT_EQ(Row(I, 0), C.Top);
        if (!C.Bottom.empty()) {
            EXPECT_EQ(Row(I, 1), C.Bottom);
        }
    }
}

TEST(BmpFormat, RefusesHostileFilesWithAClearError)
{
    const std::string Good = Fixture("24bit.bmp");
    auto Patched = [&](std::size_t At, const std::string& With) {
        std::string S = Good;
        S.replace(At, With.size(), With);
        return S;
    };
    struct Case {
        const char* Name;
        std::string Data;
    };
    const std::vector<Case> Cases = {
        {"empty", ""},
        {"not a bitmap", "GIF89a........................"},
        {"truncated header", Good.substr(0, 20)},
        {"truncated pixels", Good.substr(0, Good.size() - 8)},
        {"pixel offset past the end", Patched(10, U32(5000))},
        {"pixel offset inside the header", Patched(10, U32(20))},
        {"header size past the end", Patched(14, U32(4000))},
        {"header size too small", Patched(14, U32(8))},
        {"zero width", Patched(18, U32(0))},
        {"huge picture", Patched(18, U32(1 << 20))},
        {"huge RLE picture", File(InfoHeader(40, 60000, 60000, 8, BI_RLE8), 54)},
        {"bad bit count", Patched(28, U16(7))},
        {"unknown compression", Patched(30, U32(9))},
        {"RLE with the wrong depth", Patched(30, U32(BI_RLE8))},
        {"RLE absolute run cut short",
         File(InfoHeader(40, 8, 1, 8, BI_RLE8, 1) + U32(0) + Bytes({0, 8, 1, 2}), 58)},
        {"RLE delta cut short",
         File(InfoHeader(40, 8, 1, 8, BI_RLE8, 1) + U32(0) + Bytes({0, 2}), 58)},
        {"bit field masks missing", File(InfoHeader(40, 1, 1, 16, BI_BITFIELDS), 54)},
        {"OS/2 Huffman", File(InfoHeader(64, 1, 1, 1, 3) + U32(0) + U32(0xFFFFFF) + U32(0), 86)},
        {"colour table cut short", File(InfoHeader(40, 1, 1, 8, BI_RGB, 200) + U32(0), 54)},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        try {
            Read(C.Data);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& E) {
            EXPECT_NE(std::string(E.Message()).find("itmap"), std::string::npos) << E.Message();
        }
    }
}

TEST(BmpFormat, LastRowMayLackItsPadding)
{
    std::string Short = Fixture("24bit.bmp");
    Short.resize(Short.size() - 3);
    EXPECT_EQ(Row(Read(Short), 0), Top);
}

TEST(BmpFormat, IconDibSplitsImageAndMask)
{
    // 1 x 1 icon image: 24-bit red, then the 1-bit mask with its bit set.
    const std::string Dib =
        InfoHeader(40, 1, 2, 24, BI_RGB) + Bytes({0, 0, 255, 0}) + Bytes({0x80, 0, 0, 0});
    TDibImage Mask;
    const TDibImage I =
        ReadPackedDib(reinterpret_cast<const std::uint8_t*>(Dib.data()), Dib.size(), &Mask);
    EXPECT_EQ(I.Height, 1);
    EXPECT_EQ(I.Pixel(0, 0), clRed);
    EXPECT_EQ(Mask.Raw(0, 0), 1u);
}

TEST(BmpFormat, IconDibReadsAsIconFilesDo)
{
    // 1 x 1 pictures. A 32-bit one without its mask takes the mask from alpha; below 32 bits a
    // missing mask is refused.
    const std::string Opaque32 = InfoHeader(40, 1, 2, 32, BI_RGB) + Bytes({0, 0, 255, 255});
    const std::string Clear32 = InfoHeader(40, 1, 2, 32, BI_RGB) + Bytes({0, 0, 255, 0});
    const std::string NoMask24 = InfoHeader(40, 1, 2, 24, BI_RGB) + Bytes({0, 0, 255, 0});
    struct Case {
        std::string Dib;
        bool Valid;
        std::uint32_t MaskBit;
    };
    const std::vector<Case> Cases = {
        {Opaque32, true, 0},
        {Clear32, true, 1},
        {NoMask24, false, 0},
    };
    for (const auto& C : Cases) {
        TDibImage Mask;
        try {
            const TDibImage I = ReadPackedDib(reinterpret_cast<const std::uint8_t*>(C.Dib.data()),
                                              C.Dib.size(), &Mask);
            EXPECT_TRUE(C.Valid);
            EXPECT_EQ(I.Pixel(0, 0), clRed);
            EXPECT_EQ(Mask.Raw(0, 0), C.MaskBit);
        } catch (const EInvalidGraphic& E) {
            EXPECT_FALSE(C.Valid) << E.Message();
        }
    }
}
