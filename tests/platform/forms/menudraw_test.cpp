// The classic look of menus, against golden pictures in tests/fixtures/forms/: a pop-up with
// checked, radio, default, disabled, separator, shortcut and sub-menu items, and a menu bar with
// a hot item. TARNWICK_UPDATE_GOLDEN=1 writes them anew (look at them before keeping them).
#include "platform/forms/menudraw.h"
#include "platform/gfx/rasterdevice.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string FixturePath(const std::string& Name)
{
    return std::string(TARNWICK_FIXTURES) + "/forms/" + Name;
}

// Compares with the golden picture: a channel may differ by up to 16 and a few pixels by more
// (font rasterisers move an edge pixel now and then).
void ExpectMatchesGolden(const TRasterDevice& D, const std::string& Name)
{
    const std::string Path = FixturePath(Name);
    const char* Update = std::getenv("TARNWICK_UPDATE_GOLDEN");
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    if (Update != nullptr && std::string(Update) == "1") {
        std::vector<png_byte> Rgb;
        for (int Y = 0; Y < D.Height(); ++Y)
            for (int X = 0; X < D.Width(); ++X) {
                const TColor C = D.Pixel(X, Y);
                Rgb.insert(Rgb.end(), {static_cast<png_byte>(GetRValue(C)),
                                       static_cast<png_byte>(GetGValue(C)),
                                       static_cast<png_byte>(GetBValue(C))});
            }
        Image.width = static_cast<png_uint_32>(D.Width());
        Image.height = static_cast<png_uint_32>(D.Height());
        Image.format = PNG_FORMAT_RGB;
        ASSERT_TRUE(png_image_write_to_file(&Image, Path.c_str(), 0, Rgb.data(), 0, nullptr));
        return;
    }
    ASSERT_TRUE(png_image_begin_read_from_file(&Image, Path.c_str())) << "missing " << Path;
    Image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> Rgb(PNG_IMAGE_SIZE(Image));
    ASSERT_TRUE(png_image_finish_read(&Image, nullptr, Rgb.data(), 0, nullptr));
    ASSERT_EQ(static_cast<int>(Image.width), D.Width());
    ASSERT_EQ(static_cast<int>(Image.height), D.Height());
    int Off = 0;
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X) {
            const TColor C = D.Pixel(X, Y);
            const png_byte* G = &Rgb[(static_cast<std::size_t>(Y) * D.Width() + X) * 3];
            if (std::abs(GetRValue(C) - G[0]) > 16 || std::abs(GetGValue(C) - G[1]) > 16 ||
                std::abs(GetBValue(C) - G[2]) > 16)
                ++Off;
        }
    EXPECT_LE(Off, 12) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}

TMenuItem* Add(TMenuItem* Parent, const std::string& Caption)
{
    auto* Item = new TMenuItem(Parent);
    Item->SetCaption(Caption);
    Parent->Add(Item);
    return Item;
}

TEST(MenuLook, APopupWithEveryKindOfItem)
{
    TPopupMenu Menu(nullptr);
    TMenuItem* Open = Add(Menu.Items(), "&Open...");
    Open->SetDefault(true);
    Open->SetShortCut(TextToShortCut("Ctrl+O"));
    TMenuItem* Wrap = Add(Menu.Items(), "&Word wrap");
    Wrap->SetChecked(true);
    Add(Menu.Items(), "-");
    for (const char* Caption : {"&Small", "&Large"}) {
        TMenuItem* Item = Add(Menu.Items(), Caption);
        Item->SetRadioItem(true);
        Item->SetGroupIndex(1);
    }
    Menu.Items()->Items(4)->SetChecked(true);
    Add(Menu.Items(), "-");
    TMenuItem* Paste = Add(Menu.Items(), "&Paste");
    Paste->SetShortCut(TextToShortCut("Shift+Ins"));
    Paste->SetEnabled(false);
    TMenuItem* Recent = Add(Menu.Items(), "&Recent files");
    Add(Recent, "one.txt");
    Add(Menu.Items(), "Delete")->SetShortCut(TextToShortCut("Del"));
    const TMenuPopupLayout Layout = LayoutMenuPopup(Menu.Items(), &MenuMeasureCanvas(), 0);
    TRasterDevice D(Layout.Size.cx, Layout.Size.cy, clWhite);
    TCanvas Canvas(&D);
    DrawMenuPopup(Layout, Menu.Items(), &Canvas, 1, 0);
    ExpectMatchesGolden(D, "menu_popup.png");
}

TEST(MenuLook, ABarWithAHotItem)
{
    TMainMenu Menu(nullptr);
    for (const char* Caption : {"&File", "&Edit", "&View", "&Help"})
        Add(Menu.Items(), Caption);
    Menu.Items()->Items(2)->SetEnabled(false);
    TRasterDevice D(240, 24, clWhite);
    TCanvas Canvas(&D);
    Menu.SetHotIndex(1, false);
    DrawMenuBar(&Menu, &Canvas, Rect(0, 0, 240, LayoutMenuBar(&Menu, 240).Height));
    ExpectMatchesGolden(D, "menu_bar.png");
}

} // namespace
