// Tests of the grid's drawing and system helpers and of the OEM text conversion.
#include "controls/grid/advutil.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/oemcodepage.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

TEST(AdvUtilDraw, TransparentBitmapShowsItsKeyColourAsTheBackground)
{
    TBitmap Picture;
    Picture.SetSize(3, 2);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(Bounds(0, 0, 3, 2));
    Picture.Canvas()->SetPixels(1, 1, clBlue);

    TBitmap Target;
    Target.SetSize(10, 10);
    Target.Canvas()->Brush()->SetColor(clWhite);
    Target.Canvas()->FillRect(Bounds(0, 0, 10, 10));
    DrawTransparentBitmap(Target.Canvas(), &Picture, clLime, Rect(4, 5, 9, 9));

    TCanvas* C = Target.Canvas();
    EXPECT_EQ(C->Pixels(4, 5), clLime);
    EXPECT_EQ(C->Pixels(6, 5), clLime);
    EXPECT_EQ(C->Pixels(5, 6), clBlue);
    EXPECT_EQ(C->Pixels(3, 5), clWhite);
    EXPECT_EQ(C->Pixels(7, 5), clWhite);
    EXPECT_EQ(C->Pixels(4, 7), clWhite);
}

TEST(AdvUtilDraw, MakeWindowTransparentAddsTheExtendedStyle)
{
    TWndClass Class;
    if (!GetClassInfo("TAdvUtilWindow", Class)) {
        Class.ClassName = "TAdvUtilWindow";
        RegisterClass(Class);
    }
    const HWND Wnd =
        CreateWindowEx(WS_EX_TOOLWINDOW, "TAdvUtilWindow", "", WS_POPUP, 0, 0, 20, 20, 0);
    ASSERT_NE(Wnd, HWND(0));
    MakeWindowTransparent(Wnd);
    const LONG_PTR ExStyle = GetWindowLong(Wnd, GWL_EXSTYLE);
    EXPECT_NE(ExStyle & WS_EX_TRANSPARENT, 0);
    EXPECT_NE(ExStyle & WS_EX_TOOLWINDOW, 0);
    DestroyWindow(Wnd);
}

TEST(AdvUtilSystem, OnlyTheCommonControlsHaveAVersion)
{
    EXPECT_EQ(FileVersionMS("comctl32.dll"), 6 * 65536);
    EXPECT_EQ(FileVersionMS("COMCTL32.DLL"), 6 * 65536);
    EXPECT_GT(FileVersionMS("comctl32.dll"), 262213);
    EXPECT_EQ(FileVersionMS("shell32.dll"), -1);
    EXPECT_EQ(FileVersionMS(""), -1);
}

TEST(AdvUtilOem, CodePageFollowsTheLocaleLanguage)
{
    struct Case {
        const char* Locale;
        int CodePage;
    };
    const Case Cases[] = {{"de_DE.UTF-8", 850},
                          {"fr_CA", 850},
                          {"nb_NO.UTF-8", 850},
                          {"pt_BR", 850},
                          {"en_US.UTF-8", 437},
                          {"C", 437},
                          {"", 437},
                          {"ru_RU", 437},
                          {"defr", 437}};
    for (const Case& C : Cases)
        EXPECT_EQ(OemCodePageForLocale(C.Locale), C.CodePage) << C.Locale;
}

TEST(AdvUtilOem, OemTextBecomesUtf8)
{
    EXPECT_EQ(OemToUtf8("abc\x81\xE1", 437), "abc\xC3\xBC\xC3\x9F");
    EXPECT_EQ(OemToUtf8("\x9B", 437), "\xC2\xA2");
    EXPECT_EQ(OemToUtf8("\x9B", 850), "\xC3\xB8");
    std::string Text = "\x81";
    OemToAnsiText(Text);
    EXPECT_EQ(Text, "\xC3\xBC");
}

} // namespace
