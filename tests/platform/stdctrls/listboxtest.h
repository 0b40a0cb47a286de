// tests/platform/stdctrls/listboxtest.h: what the list and combo box tests share: an application
// on virtual time with exact font metrics, a shown form, injected clicks and keys, and the
// comparison with golden pictures under tests/fixtures/stdctrls/ (TARNWICK_UPDATE_GOLDEN=1
// writes them anew).
#pragma once

#include "platform/forms/form.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

class TListTestApplication : public TApplication {
public:
    TListTestApplication() : TApplication(nullptr) { Application = this; }
};

// A form 400 x 300 at (100, 100), shown, on an application with virtual time.
class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeterministicFontMetrics(true);
        Form = new TForm(&App);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Pump();
    }
    void TearDown() override { SetDeterministicFontMetrics(false); }

    static void Pump() { Application->ProcessMessages(); }
    template <class T>
    T* Place(int L, int Tp, int W, int H)
    {
        T* Control = new T(Form);
        Control->SetParent(Form);
        Control->SetBounds(L, Tp, W, H);
        return Control;
    }
    static void Click(TWinControl* C, int X, int Y, std::vector<int> Keys = {})
    {
        for (int Key : Keys)
            InjectKeyDown(Key);
        InjectMouseButton(C->Handle(), 0, true, X, Y);
        InjectMouseButton(C->Handle(), 0, false, X, Y);
        for (int Key : Keys)
            InjectKeyUp(Key);
        Pump();
    }
    static void Key(int VirtualKey, std::vector<int> Modifiers = {}, const std::string& Text = {})
    {
        for (int M : Modifiers)
            InjectKeyDown(M);
        InjectKeyPress(VirtualKey, Text);
        for (int M : Modifiers)
            InjectKeyUp(M);
        Pump();
    }
    // Letters typed as the keyboard gives them.
    static void Type(const std::string& Text)
    {
        for (char C : Text) {
            const char Upper = static_cast<char>(C >= 'a' && C <= 'z' ? C - 32 : C);
            InjectKeyPress(static_cast<unsigned char>(Upper), std::string(1, C));
        }
        Pump();
    }

public:
    TVirtualTime Time;
    TListTestApplication App;
    TForm* Form = nullptr;
};

inline bool RegeneratingGoldens()
{
    const char* Value = std::getenv("TARNWICK_UPDATE_GOLDEN");
    return Value != nullptr && std::string(Value) == "1";
}

// Compares a picture with tests/fixtures/stdctrls/<Name> (or writes it when regenerating): a
// channel may differ by Tolerance, and MaxOff pixels by more (the font rasteriser moves an edge
// pixel now and then).
inline void ExpectMatchesGolden(const TRasterDevice& D, const std::string& Name, int Tolerance = 24,
                                int MaxOff = 40)
{
    const std::string Path = std::string(TARNWICK_FIXTURES) + "/stdctrls/" + Name;
    std::vector<png_byte> Rgb;
    if (RegeneratingGoldens()) {
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
        ASSERT_TRUE(png_image_write_to_file(&Image, Path.c_str(), 0, Rgb.data(), 0, nullptr));
        return;
    }
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&Image, Path.c_str())) << "missing golden " << Path;
    Image.format = PNG_FORMAT_RGB;
    Rgb.assign(PNG_IMAGE_SIZE(Image), 0);
    ASSERT_TRUE(png_image_finish_read(&Image, nullptr, Rgb.data(), 0, nullptr));
    ASSERT_EQ(static_cast<int>(Image.width), D.Width()) << Name;
    ASSERT_EQ(static_cast<int>(Image.height), D.Height()) << Name;
    int Off = 0;
    for (int Y = 0; Y < D.Height(); ++Y)
        for (int X = 0; X < D.Width(); ++X) {
            const TColor C = D.Pixel(X, Y);
            const png_byte* G = &Rgb[(static_cast<std::size_t>(Y) * D.Width() + X) * 3];
            if (std::abs(GetRValue(C) - G[0]) > Tolerance ||
                std::abs(GetGValue(C) - G[1]) > Tolerance ||
                std::abs(GetBValue(C) - G[2]) > Tolerance)
                ++Off;
        }
    EXPECT_LE(Off, MaxOff) << Name << " differs; TARNWICK_UPDATE_GOLDEN=1 rewrites it";
}
