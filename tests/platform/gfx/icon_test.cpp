// ICO and CUR files read and written, TIcon, icon handles and cursors. Files are built here from
// bytes; the writer is checked against tests/fixtures/gfx/ico/ (TARNWICK_UPDATE_GOLDEN=1 writes
// the fixture anew).
#include "platform/gfx/cursorimage.h"
#include "platform/gfx/icoformat.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/byteorder.h"
#include "platform/rtl/resources.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// One image as a file stores it: palette indexes (up to 8 bits) or 0xAARRGGBB values, rows
// top down, and the AND mask.
struct TDib {
    int Width = 5;
    int Height = 3;
    int BitCount = 8;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB
    std::vector<std::uint32_t> Values;
    std::vector<std::uint8_t> Mask;
    bool OmitMask = false;
};

std::string DibBytes(const TDib& D)
{
    std::string Out;
    AppendLE32(Out, 40);
    AppendLE32(Out, static_cast<std::uint32_t>(D.Width));
    AppendLE32(Out, static_cast<std::uint32_t>(D.Height * 2));
    AppendLE16(Out, 1);
    AppendLE16(Out, static_cast<std::uint32_t>(D.BitCount));
    for (int I = 0; I < 6; ++I)
        AppendLE32(Out, I == 4 ? static_cast<std::uint32_t>(D.Palette.size()) : 0);
    for (std::uint32_t C : D.Palette)
        AppendLE32(Out, C);
    const int Stride = (D.Width * D.BitCount + 31) / 32 * 4;
    for (int Y = D.Height - 1; Y >= 0; --Y) {
        std::string Row(static_cast<std::size_t>(Stride), '\0');
        for (int X = 0; X < D.Width; ++X) {
            const std::uint32_t V = D.Values[static_cast<std::size_t>(Y * D.Width + X)];
            const int Bit = X * D.BitCount;
            if (D.BitCount < 8)
                Row[Bit / 8] = static_cast<char>(Row[Bit / 8] | V << (8 - D.BitCount - Bit % 8));
            else
                for (int B = 0; B < D.BitCount / 8; ++B)
                    Row[Bit / 8 + B] = static_cast<char>(V >> (8 * B) & 0xFF);
        }
        Out += Row;
    }
    if (D.OmitMask)
        return Out;
    const int MaskStride = (D.Width + 31) / 32 * 4;
    for (int Y = D.Height - 1; Y >= 0; --Y) {
        std::string Row(static_cast<std::size_t>(MaskStride), '\0');
        for (int X = 0; X < D.Width; ++X)
            if (D.Mask[static_cast<std::size_t>(Y * D.Width + X)])
                Row[X / 8] = static_cast<char>(Row[X / 8] | 0x80 >> (X % 8));
        Out += Row;
    }
    return Out;
}

struct TEntry {
    std::string Bytes;
    int Width = 0;
    int Height = 0;
    TPoint HotSpot;
};

std::string IconFileBytes(const std::vector<TEntry>& Entries, int Type = 1)
{
    std::string Out;
    AppendLE16(Out, 0);
    AppendLE16(Out, static_cast<std::uint32_t>(Type));
    AppendLE16(Out, static_cast<std::uint32_t>(Entries.size()));
    std::uint32_t Offset = static_cast<std::uint32_t>(6 + 16 * Entries.size());
    for (const TEntry& E : Entries) {
        Out += static_cast<char>(E.Width & 0xFF);
        Out += static_cast<char>(E.Height & 0xFF);
        AppendLE16(Out, 0);
        AppendLE16(Out, Type == 2 ? static_cast<std::uint32_t>(E.HotSpot.X) : 1);
        AppendLE16(Out, Type == 2 ? static_cast<std::uint32_t>(E.HotSpot.Y) : 32);
        AppendLE32(Out, static_cast<std::uint32_t>(E.Bytes.size()));
        AppendLE32(Out, Offset);
        Offset += static_cast<std::uint32_t>(E.Bytes.size());
    }
    for (const TEntry& E : Entries)
        Out += E.Bytes;
    return Out;
}

std::string OneImageFile(const TDib& D, int Type = 1, TPoint HotSpot = TPoint{})
{
    return IconFileBytes({TEntry{DibBytes(D), D.Width, D.Height, HotSpot}}, Type);
}

// 0xAARRGGBB pixels of W x H as a PNG file.
std::string PngBytes(int W, int H, const std::vector<std::uint32_t>& Argb)
{
    std::vector<png_byte> Rgba;
    for (std::uint32_t P : Argb) {
        Rgba.push_back(static_cast<png_byte>(P >> 16 & 0xFF));
        Rgba.push_back(static_cast<png_byte>(P >> 8 & 0xFF));
        Rgba.push_back(static_cast<png_byte>(P & 0xFF));
        Rgba.push_back(static_cast<png_byte>(P >> 24));
    }
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(W);
    Image.height = static_cast<png_uint_32>(H);
    Image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t Size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&Image, nullptr, &Size, 0, Rgba.data(), 0, nullptr));
    std::string Out(Size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&Image, Out.data(), &Size, 0, Rgba.data(), 0, nullptr));
    Out.resize(Size);
    return Out;
}

bool MaskAt(int X, int Y)
{
    return (X + Y) % 3 == 0;
}

std::uint32_t Rgb24At(int X, int Y)
{
    return static_cast<std::uint32_t>(X * 50) << 16 | static_cast<std::uint32_t>(Y * 80) << 8 |
           static_cast<std::uint32_t>((X + Y) * 10);
}

// A 5 x 3 picture in BitCount bits whose pixels are Value(X, Y) (indexes into Palette below 16
// bits), masked by MaskAt.
TDib Picture(int BitCount, std::vector<std::uint32_t> Palette,
             const std::function<std::uint32_t(int, int)>& Value)
{
    TDib D;
    D.BitCount = BitCount;
    D.Palette = std::move(Palette);
    for (int Y = 0; Y < D.Height; ++Y)
        for (int X = 0; X < D.Width; ++X) {
            D.Values.push_back(Value(X, Y));
            D.Mask.push_back(MaskAt(X, Y));
        }
    return D;
}

std::vector<std::uint32_t> Gray16()
{
    std::vector<std::uint32_t> P;
    for (std::uint32_t I = 0; I < 16; ++I)
        P.push_back(I * 0x111111);
    return P;
}

std::vector<std::uint32_t> Ramp256()
{
    std::vector<std::uint32_t> P;
    for (std::uint32_t I = 0; I < 256; ++I)
        P.push_back(I << 16 | (255 - I) << 8 | (I * 7 & 0xFF));
    return P;
}

std::string FixturePath(const std::string& Name)
{
    return std::string(TARNWICK_FIXTURES) + "/gfx/ico/" + Name;
}

bool Regenerating()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value && std::string(Value) == "1";
}

// The two images of the golden file: a 16 x 16 picture with graded alpha and an 8 x 8 one
// without alpha whose mask cuts out a frame.
TIconFile GoldenIcon()
{
    TIconFile File;
    TIconImage A;
    A.Width = 16;
    A.Height = 16;
    A.HasAlpha = true;
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X) {
            const std::uint32_t Alpha = X == 0 ? 0 : static_cast<std::uint32_t>(X * 16 + 15);
            A.Pixels.push_back(Alpha << 24 | static_cast<std::uint32_t>(Y * 16) << 16 | 0x40FF);
            A.Mask.push_back(Alpha == 0);
        }
    TIconImage B;
    B.Width = 8;
    B.Height = 8;
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            const bool Frame = X == 0 || Y == 0 || X == 7 || Y == 7;
            B.Pixels.push_back(Frame ? 0 : 0xFF000000u | static_cast<std::uint32_t>(X * 30) << 8);
            B.Mask.push_back(Frame);
        }
    File.Images = {A, B};
    return File;
}

std::string StreamBytes(TIcon& Icon)
{
    TStringStream Out;
    Icon.SaveToStream(&Out);
    return Out.DataString();
}

} // namespace

TEST(IcoRead, DecodesEveryDepthWithItsMask)
{
    struct TCase {
        const char* Name;
        TDib Dib;
        std::function<std::uint32_t(int, int)> Rgb; // expected colour
        bool HasAlpha;
    };
    auto Index1 = [](int X, int Y) { return static_cast<std::uint32_t>((X + Y) % 2); };
    auto Index4 = [](int X, int Y) { return static_cast<std::uint32_t>((X * 3 + Y) % 16); };
    auto Index8 = [](int X, int Y) { return static_cast<std::uint32_t>(X * 40 + Y); };
    auto Alpha32 = [](int X, int Y) {
        return static_cast<std::uint32_t>(60 * X + 10) << 24 | Rgb24At(X, Y);
    };
    const std::vector<TCase> Cases = {
        {"1 bit", Picture(1, {0x000000, 0xFFFFFF}, Index1),
         [&](int X, int Y) { return Index1(X, Y) ? 0xFFFFFFu : 0u; }, false},
        {"4 bits", Picture(4, Gray16(), Index4),
         [&](int X, int Y) { return Index4(X, Y) * 0x111111u; }, false},
        {"8 bits", Picture(8, Ramp256(), Index8),
         [&](int X, int Y) { return Ramp256()[Index8(X, Y)]; }, false},
        {"24 bits", Picture(24, {}, Rgb24At), Rgb24At, false},
        {"32 bits without alpha", Picture(32, {}, Rgb24At), Rgb24At, false},
        {"32 bits with alpha", Picture(32, {}, Alpha32), Rgb24At, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TIconFile File = ReadIconFile(OneImageFile(C.Dib));
        ASSERT_EQ(File.Images.size(), 1u);
        const TIconImage& Image = File.Images[0];
        EXPECT_FALSE(File.Cursor);
        EXPECT_EQ(Image.Width, 5);
        EXPECT_EQ(Image.Height, 3);
        EXPECT_EQ(Image.BitCount, C.Dib.BitCount);
        EXPECT_EQ(Image.HasAlpha, C.HasAlpha);
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 5; ++X) {
                const std::size_t I = static_cast<std::size_t>(Y * 5 + X);
                EXPECT_EQ(Image.Mask[I], MaskAt(X, Y) ? 1 : 0) << X << "," << Y;
                std::uint32_t Alpha = MaskAt(X, Y) ? 0 : 0xFF;
                if (C.HasAlpha)
                    Alpha = static_cast<std::uint32_t>(60 * X + 10);
                EXPECT_EQ(Image.Pixels[I], Alpha << 24 | C.Rgb(X, Y)) << X << "," << Y;
            }
    }
}

TEST(IcoRead, TakesTheMaskOfAnAlphaPictureWithoutOneFromItsAlpha)
{
    TDib D = Picture(32, {}, [](int X, int) { return X < 2 ? 0u : 0xFF123456u; });
    D.OmitMask = true;
    const TIconImage Image = ReadIconFile(OneImageFile(D)).Images[0];
    EXPECT_TRUE(Image.HasAlpha);
    EXPECT_EQ(Image.Mask[0], 1);
    EXPECT_EQ(Image.Mask[2], 0);
    EXPECT_EQ(Image.Pixels[2], 0xFF123456u);
}

TEST(IcoRead, DecodesEmbeddedPngImagesWithAlpha)
{
    const std::vector<std::uint32_t> Argb = {0xFFFF0000u, 0x8000FF00u, 0x00000000u, 0xFF0000FFu};
    const std::string File = IconFileBytes({TEntry{PngBytes(2, 2, Argb), 2, 2, {}},
                                            TEntry{DibBytes(Picture(24, {}, Rgb24At)), 5, 3, {}}});
    const TIconFile Icon = ReadIconFile(File);
    ASSERT_EQ(Icon.Images.size(), 2u);
    const TIconImage& Png = Icon.Images[0];
    EXPECT_TRUE(Png.Png);
    EXPECT_TRUE(Png.HasAlpha);
    EXPECT_EQ(Png.Width, 2);
    EXPECT_EQ(Png.Pixels, Argb);
    EXPECT_EQ(Png.Mask, (std::vector<std::uint8_t>{0, 0, 1, 0}));
    EXPECT_FALSE(Icon.Images[1].Png);
}

TEST(IcoRead, ReadsTheHotSpotsOfCursors)
{
    const std::string Cur =
        OneImageFile(Picture(1, {0, 0xFFFFFF}, [](int, int) { return 1u; }), 2, TPoint{3, 1});
    const TIconFile File = ReadIconFile(Cur);
    EXPECT_TRUE(File.Cursor);
    EXPECT_EQ(File.Images[0].HotSpot, (TPoint{3, 1}));

    HCURSOR Cursor = CreateCursorFromData(Cur);
    EXPECT_EQ(CursorHotSpot(Cursor), (TPoint{3, 1}));
    EXPECT_TRUE(DestroyCursor(Cursor));
    // An icon used as a cursor points with its centre.
    HCURSOR FromIcon = CreateCursorFromData(OneImageFile(Picture(24, {}, Rgb24At)));
    EXPECT_EQ(CursorHotSpot(FromIcon), (TPoint{2, 1}));
    EXPECT_TRUE(DestroyCursor(FromIcon));
    EXPECT_FALSE(DestroyCursor(FromIcon));
}

TEST(IcoRead, PicksTheNearestSizeThenTheMostColours)
{
    auto Entry = [](int W, int H, int Bits) {
        TIconDirEntry E;
        E.Width = W;
        E.Height = H;
        E.BitCount = Bits;
        return E;
    };
    const std::vector<TIconDirEntry> Entries = {Entry(32, 32, 4), Entry(16, 16, 4),
                                                Entry(16, 16, 32), Entry(48, 48, 32)};
    struct TCase {
        int Width, Height, Expected;
    };
    const std::vector<TCase> Cases = {{16, 16, 2}, {32, 32, 0}, {20, 20, 2},
                                      {44, 44, 3}, {0, 0, 0},   {256, 256, 3}};
    for (const TCase& C : Cases)
        EXPECT_EQ(BestIconEntry(Entries, C.Width, C.Height), C.Expected) << C.Width;
    EXPECT_EQ(BestIconEntry({}, 16, 16), -1);
}

TEST(IcoRead, RejectsDamagedFilesWithAClearError)
{
    const std::string Good = OneImageFile(Picture(8, Ramp256(), [](int X, int) { return X + 0u; }));
    auto With = [&](std::size_t At, std::string Bytes) {
        std::string S = Good;
        S.replace(At, Bytes.size(), Bytes);
        return S;
    };
    const std::size_t Dib = 22; // the image after a directory of one entry
    TDib NoMask = Picture(8, Ramp256(), [](int, int) { return 0u; });
    NoMask.OmitMask = true;
    const std::string HugePng = [] {
        std::string Png = PngBytes(1, 1, {0xFFFFFFFFu});
        Png.replace(16, 4, std::string("\x00\x01\x00\x00", 4)); // 65536 pixels wide
        return Png;
    }();
    std::string DamagedPng = PngBytes(2, 2, {0, 0, 0, 0});
    DamagedPng.resize(DamagedPng.size() - 20);
    struct TCase {
        const char* Name;
        std::string Data;
    };
    const std::vector<TCase> Cases = {
        {"empty", ""},
        {"reserved word set", With(0, std::string("\x01", 1))},
        {"unknown type", With(2, std::string("\x03", 1))},
        {"no images", With(4, std::string("\x00\x00", 2))},
        {"directory cut short", With(4, std::string("\x09\x00", 2))},
        {"image outside the file", With(18, std::string("\xFF\xFF\x00\x00", 4))},
        {"old header", With(Dib, std::string("\x0C", 1))},
        {"header larger than the image", With(Dib, std::string("\xFF\x00", 2))},
        {"7 bits per pixel", With(Dib + 14, std::string("\x07", 1))},
        {"compressed", With(Dib + 16, std::string("\x01", 1))},
        {"zero width", With(Dib + 4, std::string("\x00\x00\x00\x00", 4))},
        {"wider than 256", With(Dib + 4, std::string("\x01\x01\x00\x00", 4))},
        {"negative height", With(Dib + 8, std::string("\xFA\xFF\xFF\xFF", 4))},
        {"too many colours", With(Dib + 32, std::string("\x01\x01", 2))},
        {"pixels cut short", Good.substr(0, Good.size() - 20)},
        {"mask missing", OneImageFile(NoMask)},
        {"huge PNG", IconFileBytes({TEntry{HugePng, 1, 1, {}}})},
        {"damaged PNG", IconFileBytes({TEntry{DamagedPng, 2, 2, {}}})},
    };
    EXPECT_NO_THROW(ReadIconFile(Good));
    for (const TCase& C : Cases)
        EXPECT_THROW(ReadIconFile(C.Data), EInvalidGraphic) << C.Name;
}

TEST(IcoWrite, MatchesTheGoldenFileAndReadsBackTheSame)
{
    const TIconFile Source = GoldenIcon();
    const std::string Written = WriteIconFile(Source);
    const std::string Path = FixturePath("two_images.ico");
    if (Regenerating())
        TestSupport::WriteAll(Path, Written);
    const std::string Golden = TestSupport::ReadAll(Path);
    ASSERT_FALSE(Golden.empty()) << "missing golden " << Path;
    EXPECT_EQ(Written, Golden);

    const TIconFile Read = ReadIconFile(Golden);
    ASSERT_EQ(Read.Images.size(), 2u);
    for (std::size_t I = 0; I < 2; ++I) {
        EXPECT_EQ(Read.Images[I].Pixels, Source.Images[I].Pixels) << I;
        EXPECT_EQ(Read.Images[I].Mask, Source.Images[I].Mask) << I;
        EXPECT_EQ(Read.Images[I].BitCount, 32);
    }
    EXPECT_TRUE(Read.Images[0].HasAlpha);
    EXPECT_EQ(WriteIconFile(Read), Golden);
}

TEST(IcoWrite, KeepsTheHotSpotsOfCursors)
{
    TIconFile File = GoldenIcon();
    File.Cursor = true;
    File.Images[0].HotSpot = TPoint{5, 9};
    const TIconFile Read = ReadIconFile(WriteIconFile(File));
    EXPECT_TRUE(Read.Cursor);
    EXPECT_EQ(Read.Images[0].HotSpot, (TPoint{5, 9}));
}

TEST(IcoWrite, RefusesImagesItCannotStore)
{
    TIconFile File = GoldenIcon();
    File.Images[1].Mask.pop_back();
    EXPECT_THROW(WriteIconFile(File), EInvalidGraphic);
    EXPECT_THROW(WriteIconFile(TIconFile{}), EInvalidGraphic);
    TIconFile Big;
    Big.Images.resize(1);
    Big.Images[0].Width = 257;
    Big.Images[0].Height = 1;
    Big.Images[0].Pixels.resize(257);
    Big.Images[0].Mask.resize(257);
    EXPECT_THROW(WriteIconFile(Big), EInvalidGraphic);
}

TEST(IconDraw, MaskKeepsThePatternAndInvertsWhereTheColourIsSet)
{
    // A checker of red and blue; a 4 x 4 icon whose left half is masked. Its masked column 1
    // carries white, which inverts what lies below; its right half is opaque green and black.
    TRasterDevice Device(8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            Device.ScanLine(Y)[X] = (X + Y) % 2 ? 0xFF0000 : 0x0000FF;
    TCanvas Canvas(&Device);
    TIconImage Image;
    Image.Width = 4;
    Image.Height = 4;
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) {
            const bool Masked = X < 2;
            std::uint32_t Color = X == 1 ? 0xFFFFFF : 0;
            if (X == 2)
                Color = 0x00FF00;
            Image.Pixels.push_back(Color | (Masked ? 0u : 0xFF000000u));
            Image.Mask.push_back(Masked);
        }
    HICON Icon = CreateIconFromImage(Image);
    ASSERT_TRUE(DrawIcon(&Canvas, 2, 2, Icon));
    EXPECT_TRUE(DestroyIcon(Icon));
    struct TProbe {
        int X, Y;
        TColor Expected;
    };
    const std::vector<TProbe> Probes = {
        {2, 2, clBlue}, {2, 3, clRed},    // masked: the pattern
        {3, 2, clAqua}, {3, 3, clYellow}, // masked with white: inverted
        {4, 2, clLime}, {5, 3, clBlack},  // opaque
        {6, 2, clBlue}, {1, 1, clBlue},   // outside
    };
    for (const TProbe& P : Probes)
        EXPECT_EQ(Device.Pixel(P.X, P.Y), P.Expected) << P.X << "," << P.Y;
}

TEST(IconDraw, BlendsAlphaAndStretchesToTheRectangle)
{
    TRasterDevice Device(6, 2, clWhite);
    TCanvas Canvas(&Device);
    TIconImage Image;
    Image.Width = 3;
    Image.Height = 1;
    Image.HasAlpha = true;
    Image.Pixels = {0xFFFF0000u, 0x80FF0000u, 0x00FF0000u};
    Image.Mask = {0, 0, 1};
    DrawIconImage(&Canvas, Rect(0, 0, 6, 2), Image);
    EXPECT_EQ(Device.Pixel(0, 0), clRed);
    EXPECT_EQ(Device.Pixel(1, 1), clRed);
    EXPECT_EQ(Device.Pixel(2, 0), RGB(255, 127, 127));
    EXPECT_EQ(Device.Pixel(4, 1), clWhite);

    // Logical coordinates go through the canvas' mapping.
    TRasterDevice Moved(6, 2, clWhite);
    TCanvas MovedCanvas(&Moved);
    MovedCanvas.SetViewportOrgEx(3, 1);
    TIcon Icon;
    Icon.SetHandle(CreateIconFromImage(Image));
    Icon.Draw(&MovedCanvas, Rect(0, 0, 3, 1));
    EXPECT_EQ(Moved.Pixel(3, 1), clRed);
    EXPECT_EQ(Moved.Pixel(4, 1), RGB(255, 127, 127));
    EXPECT_EQ(Moved.Pixel(0, 0), clWhite);
    EXPECT_EQ(MovedCanvas.ViewportOrg(), (TPoint{3, 1}));
}

TEST(TIconTest, LoadsAndSavesTheFileUnchanged)
{
    const std::string File = IconFileBytes(
        {TEntry{DibBytes(Picture(4, Gray16(), [](int X, int) { return X + 0u; })), 5, 3, {}},
         TEntry{PngBytes(2, 2, {0xFF000000u, 0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u}), 2, 2, {}}});
    TStringStream In(File);
    TIcon Icon;
    int Changes = 0;
    Icon.OnChange = [&](TObject*) { ++Changes; };
    Icon.LoadFromStream(&In);
    EXPECT_EQ(Changes, 1);
    EXPECT_FALSE(Icon.Empty());
    EXPECT_EQ(Icon.File().Images.size(), 2u);
    EXPECT_EQ(Icon.Width(), 5); // nearest to 32 x 32
    Icon.SetSize(2, 2);
    EXPECT_EQ(Icon.Width(), 2);
    EXPECT_EQ(StreamBytes(Icon), File);

    TIcon Copy;
    Copy.Assign(&Icon);
    EXPECT_EQ(Copy.Width(), 2);
    EXPECT_EQ(StreamBytes(Copy), File);
    EXPECT_THROW(Icon.SetWidth(10), EInvalidGraphicOperation);
}

TEST(TIconTest, KeepsItsPictureWhenAStreamIsNotAnIcon)
{
    TStringStream Good(OneImageFile(Picture(24, {}, Rgb24At)));
    TIcon Icon;
    Icon.LoadFromStream(&Good);
    TStringStream Bad("GIF89a not an icon");
    EXPECT_THROW(Icon.LoadFromStream(&Bad), EInvalidGraphic);
    EXPECT_EQ(Icon.Width(), 5);

    TIcon Empty;
    TStringStream Out;
    EXPECT_TRUE(Empty.Empty());
    EXPECT_THROW(Empty.SaveToStream(&Out), EInvalidGraphic);
    EXPECT_THROW(Empty.LoadFromResourceName("NOSUCHICON"), EResNotFound);
}

TEST(TIconTest, HandlesPassInAndOutWithoutLeaks)
{
    for (int Id : {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_INFORMATION}) {
        HICON Icon = LoadIcon(Id);
        ASSERT_NE(Icon, nullptr) << Id;
        EXPECT_EQ(Icon->Image.Mask[0], 1) << Id;            // a transparent corner
        EXPECT_EQ(Icon->Image.Mask[16 * 32 + 16], 0) << Id; // an opaque middle
        EXPECT_TRUE(DestroyIcon(Icon));
    }
    EXPECT_EQ(LoadIcon(12345), nullptr);
    HICON Stock = LoadIcon(IDI_WARNING);
    ASSERT_NE(Stock, nullptr);
    EXPECT_EQ(Stock->Image.Width, 32);
    EXPECT_EQ(Stock->Image.Mask[20 * 32 + 16], 0); // the mark

    TIcon Icon;
    Icon.SetHandle(Stock);
    EXPECT_EQ(Icon.Handle(), Stock);
    EXPECT_EQ(Icon.Width(), 32);
    // Saved as a 32-bit file, which reads back as the same picture.
    TIcon Again;
    TStringStream Saved(StreamBytes(Icon));
    Again.LoadFromStream(&Saved);
    EXPECT_EQ(Again.Image()->Mask, Stock->Image.Mask);

    HICON Released = Icon.ReleaseHandle();
    EXPECT_EQ(Released, Stock);
    EXPECT_TRUE(Icon.Empty());
    EXPECT_EQ(Icon.Handle(), nullptr);
    EXPECT_TRUE(DestroyIcon(Released));
    EXPECT_FALSE(IsIconHandle(Released));
    Again.SetHandle(CopyIcon(Again.Handle())); // the old handle is freed
}

TEST(TIconTest, LoadsFilesByNameAndThroughThePictureRegistry)
{
    TestSupport::TTempFolder Folder;
    const std::string Path = Folder.Path() + "picture.ico";
    TestSupport::WriteAll(Path, WriteIconFile(GoldenIcon()));

    TPicture Picture;
    Picture.LoadFromFile(Path);
    ASSERT_NE(dynamic_cast<TIcon*>(Picture.Graphic()), nullptr);
    EXPECT_EQ(Picture.Width(), 16);

    HICON Small = LoadImage(Path, IMAGE_ICON, 8, 8, LR_LOADFROMFILE);
    ASSERT_NE(Small, nullptr);
    EXPECT_EQ(Small->Image.Width, 8);
    EXPECT_TRUE(DestroyIcon(Small));
    HICON Scaled = LoadImage(Path, IMAGE_ICON, 4, 4, LR_LOADFROMFILE);
    ASSERT_NE(Scaled, nullptr);
    EXPECT_EQ(Scaled->Image.Width, 4);
    EXPECT_TRUE(DestroyIcon(Scaled));
    EXPECT_EQ(LoadImage(Folder.Path() + "none.ico", IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadCursorFromFile(Folder.Path() + "none.cur"), nullptr);
    EXPECT_EQ(LoadCursor(7999), nullptr); // no such resource in the program
}
