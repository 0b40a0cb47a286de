#include "platform/gfx/color.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/properties.h"
#include "platform/rtl/strings.h"

#include <array>
#include <iterator>

namespace {

struct TColorIdent {
    TColor Value;
    const char* Name;
};

constexpr TColorIdent ColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

// Index 25 has no colour of its own.
constexpr std::array<TColor, COLOR_ENDCOLORS + 1> SystemPalette = {
    RGB(192, 192, 192), // scroll bar
    RGB(0, 128, 128),   // desktop
    RGB(0, 0, 128),     // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(192, 192, 192), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(192, 192, 192), // active border
    RGB(192, 192, 192), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(0, 0, 128),     // highlight
    RGB(255, 255, 255), // highlight text
    RGB(192, 192, 192), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(192, 192, 192), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(0, 0, 0),       // 3-D dark shadow
    RGB(223, 223, 223), // 3-D light
    RGB(0, 0, 0),       // tooltip text
    RGB(255, 255, 225), // tooltip background
    RGB(0, 0, 0),       // (unused)
    RGB(0, 0, 255),     // hot-tracked item
    RGB(16, 132, 208),  // active caption gradient
    RGB(181, 181, 181), // inactive caption gradient
    RGB(0, 0, 128),     // menu highlight
    RGB(192, 192, 192), // menu bar
};

} // namespace

TColor GetSysColor(int Index)
{
    if (Index < 0 || Index > COLOR_ENDCOLORS)
        return clBlack;
    return SystemPalette[static_cast<std::size_t>(Index)];
}

TColor ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return Color;
}

bool ColorToIdent(int Color, std::string& Ident)
{
    for (const TColorIdent& Entry : ColorIdents)
        if (Entry.Value == Color) {
            Ident = Entry.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& Ident, int& Color)
{
    for (const TColorIdent& Entry : ColorIdents)
        if (SameText(Ident, Entry.Name)) {
            Color = Entry.Value;
            return true;
        }
    return false;
}

std::string ColorToString(TColor Color)
{
    std::string Ident;
    if (ColorToIdent(Color, Ident))
        return Ident;
    return "$" + IntToHex(Color, 8);
}

TColor StringToColor(const std::string& S)
{
    int Color = 0;
    if (IdentToColor(S, Color))
        return Color;
    return StrToInt(S);
}

bool RegisterColorIdents()
{
    static const bool Done = [] {
        RegisterIntegerConsts("TColor", IdentToColor, ColorToIdent);
        return true;
    }();
    return Done;
}
