#include "platform/gfx/color.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/properties.h"

#include <gtest/gtest.h>

TEST(Color, SystemColorsResolveThroughTheFixedPalette)
{
    struct TCase {
        TColor Color;
        TColor Rgb;
    };
    const std::vector<TCase> Cases = {
        {clBtnFace, RGB(192, 192, 192)},
        {clBtnShadow, RGB(128, 128, 128)},
        {clBtnHighlight, RGB(255, 255, 255)},
        {cl3DDkShadow, RGB(0, 0, 0)},
        {clWindow, RGB(255, 255, 255)},
        {clWindowText, RGB(0, 0, 0)},
        {clHighlight, RGB(0, 0, 128)},
        {clInfoBk, RGB(255, 255, 225)},
        {clRed, clRed},
        {clNone, clNone},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ColorToRGB(C.Color), C.Rgb) << ColorToString(C.Color);
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(GetSysColor(99), clBlack);
}

TEST(Color, ChannelsAreRedGreenBlueFromTheLowByte)
{
    const TColor C = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(C, 0x563412);
    EXPECT_EQ(GetRValue(C), 0x12);
    EXPECT_EQ(GetGValue(C), 0x34);
    EXPECT_EQ(GetBValue(C), 0x56);
}

TEST(Color, IdentifiersAndNumbersConvertBothWays)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(clMoneyGreen), "clMoneyGreen");
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("clNone"), clNone);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(Color, TheIdentifierMapIsRegisteredForTColor)
{
    const auto ToInt = FindIdentToInt("TColor");
    const auto ToIdent = FindIntToIdent("TColor");
    ASSERT_TRUE(ToInt);
    ASSERT_TRUE(ToIdent);
    int Value = 0;
    EXPECT_TRUE(ToInt("clInfoBk", Value));
    EXPECT_EQ(Value, clInfoBk);
    std::string Ident;
    EXPECT_TRUE(ToIdent(clHighlightText, Ident));
    EXPECT_EQ(Ident, "clHighlightText");
}
