// Scenes rendered on the raster device and compared with PNG pictures in
// tests/fixtures/gfx/. Set TARNWICK_UPDATE_GOLDEN=1 to write the pictures anew (then look at
// them before keeping them).
#include "platform/gfx/canvas.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string FixturePath(const std::string& Name)
{
    return std::string(TARNWICK_FIXTURES) + "/gfx/" + Name;
}

bool Regenerating()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value && std::string(Value) == "1";
}

void WritePng(const std::string& Path, const TRasterDevice& D)
{
    std::vector<png_byte> Rgb;
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X) {
            const TColor C = D.Pixel(X, Y);
            Rgb.push_back(static_cast<png_byte>(GetRValue(C)));
            Rgb.push_back(static_cast<png_byte>(GetGValue(C)));
            Rgb.push_back(static_cast<png_byte>(GetBValue(C)));
        }
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(D.Width());
    Image.height = static_cast<png_uint_32>(D.Height());
    Image.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_write_to_file(&Image, Path.c_str(), 0, Rgb.data(), 0, nullptr))
        << Image.message;
}

// False when the file cannot be read as a PNG.
bool ReadPng(const std::string& Path, int& Width, int& Height, std::vector<png_byte>& Rgb)
{
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&Image, Path.c_str()))
        return false;
    Image.format = PNG_FORMAT_RGB;
    Rgb.assign(PNG_IMAGE_SIZE(Image), 0);
    if (!png_image_finish_read(&Image, nullptr, Rgb.data(), 0, nullptr)) {
        png_image_free(&Image);
        return false;
    }
    Width = static_cast<int>(Image.width);
    Height = static_cast<int>(Image.height);
    return true;
}

// Compares with the golden picture: a channel may differ by up to Tolerance, and at most
// MaxOff pixels may differ by more (font rasterisers move an edge pixel now and then).
void ExpectMatchesGolden(const TRasterDevice& D, const std::string& Name, int Tolerance, int MaxOff)
{
    const std::string Path = FixturePath(Name);
    if (Regenerating()) {
        WritePng(Path, D);
        return;
    }
    int W = 0;
    int H = 0;
    std::vector<png_byte> Rgb;
    ASSERT_TRUE(ReadPng(Path, W, H, Rgb)) << "missing golden " << Path;
    ASSERT_EQ(W, D.Width());
    ASSERT_EQ(H, D.Height());
    int Off = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TColor C = D.Pixel(X, Y);
            const png_byte* G = &Rgb[(static_cast<std::size_t>(Y) * W + X) * 3];
            if (std::abs(GetRValue(C) - G[0]) > Tolerance ||
                std::abs(GetGValue(C) - G[1]) > Tolerance ||
                std::abs(GetBValue(C) - G[2]) > Tolerance)
                ++Off;
        }
    EXPECT_LE(Off, MaxOff) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}

void DrawShapes(TCanvas& C)
{
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(Rect(0, 0, 160, 120));
    TRect Edge = Rect(4, 4, 76, 56);
    C.DrawEdge(Edge, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    C.Pen()->SetColor(clNavy);
    C.Brush()->SetColor(clYellow);
    C.Ellipse(10, 10, 70, 50);
    C.Brush()->SetColor(clRed);
    C.Brush()->SetStyle(bsDiagCross);
    C.Pen()->SetWidth(3);
    C.Rectangle(84, 6, 154, 54);
    C.Pen()->SetWidth(1);
    C.Brush()->SetColor(clLime);
    C.Polygon({{10, 112}, {40, 64}, {70, 112}, {10, 80}, {70, 80}});
    C.SetPolyFillMode(WINDING);
    C.Brush()->SetColor(clAqua);
    C.Pie(84, 62, 124, 112, 124, 87, 104, 62);
    C.Pen()->SetStyle(psDash);
    C.Brush()->SetStyle(bsClear);
    C.RoundRect(128, 62, 156, 114, 12, 12);
    C.Pen()->SetStyle(psSolid);
    C.DrawFrameControl(Rect(88, 94, 101, 107), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    C.DrawFocusRect(Rect(82, 60, 158, 116));
}

} // namespace

TEST(Golden, ShapesSceneMatchesItsPicture)
{
    TRasterDevice D(160, 120);
    TCanvas Canvas(&D);
    DrawShapes(Canvas);
    ExpectMatchesGolden(D, "shapes.png", 0, 0);
}

TEST(Golden, TextSceneMatchesItsPicture)
{
    if (!FontFamilyInstalled("Liberation Sans") || !FontFamilyInstalled("Liberation Serif"))
        GTEST_SKIP() << "the Liberation fonts are not installed";
    TRasterDevice D(200, 100, clWindow);
    TCanvas Canvas(&D);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetSize(10);
    Canvas.Font()->SetColor(clWindowText);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(4, 4, "Tarnwick text");
    Canvas.Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    Canvas.Font()->SetColor(clNavy);
    Canvas.TextOut(4, 22, "Bold underlined");
    Canvas.Font()->SetName("Times New Roman");
    Canvas.Font()->SetStyle(TFontStyles{fsItalic});
    Canvas.Font()->SetSize(12);
    Canvas.Brush()->SetColor(clInfoBk);
    Canvas.Font()->SetColor(clMaroon);
    Canvas.TextOut(4, 42, "Opaque italic");
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Font()->SetStyle(TFontStyles{});
    Canvas.Font()->SetEscapement(900);
    Canvas.Font()->SetColor(clGreen);
    Canvas.TextOut(170, 95, "Rotated");
    Canvas.Font()->SetEscapement(0);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetSize(8);
    Canvas.Font()->SetColor(clBlack);
    TRect R = Rect(4, 66, 150, 96);
    Canvas.Pen()->SetColor(clGray);
    Canvas.Rectangle(R);
    Canvas.DrawText("A longer line that wraps and ends in an ellipsis when it cannot fit", R,
                    DT_WORDBREAK | DT_END_ELLIPSIS | DT_CENTER);
    ExpectMatchesGolden(D, "text.png", 24, 40);
}
