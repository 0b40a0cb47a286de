#include "platform/ui/x11/x11keys.h"

#include "platform/rtl/strings.h"

#include "platform/ui/input.h"

#include <X11/keysym.h>

#include <map>

namespace {

const std::map<unsigned long, int>& KeyTable()
{
    static const std::map<unsigned long, int> Table = {
        {XK_BackSpace, VK_BACK},
        {XK_Tab, VK_TAB},
        {XK_ISO_Left_Tab, VK_TAB},
        {XK_Clear, VK_CLEAR},
        {XK_Return, VK_RETURN},
        {XK_KP_Enter, VK_RETURN},
        {XK_Shift_L, VK_SHIFT},
        {XK_Shift_R, VK_SHIFT},
        {XK_Control_L, VK_CONTROL},
        {XK_Control_R, VK_CONTROL},
        {XK_Alt_L, VK_MENU},
        {XK_Alt_R, VK_MENU},
        {XK_Meta_L, VK_MENU},
        {XK_Meta_R, VK_MENU},
        {XK_ISO_Level3_Shift, VK_MENU},
        {XK_Pause, VK_PAUSE},
        {XK_Caps_Lock, VK_CAPITAL},
        {XK_Escape, VK_ESCAPE},
        {XK_space, VK_SPACE},
        {XK_Prior, VK_PRIOR},
        {XK_Next, VK_NEXT},
        {XK_End, VK_END},
        {XK_Home, VK_HOME},
        {XK_Left, VK_LEFT},
        {XK_Up, VK_UP},
        {XK_Right, VK_RIGHT},
        {XK_Down, VK_DOWN},
        {XK_Print, VK_SNAPSHOT},
        {XK_Insert, VK_INSERT},
        {XK_Delete, VK_DELETE},
        {XK_Help, VK_HELP},
        {XK_Super_L, VK_LWIN},
        {XK_Super_R, VK_RWIN},
        {XK_Menu, VK_APPS},
        {XK_KP_Multiply, VK_MULTIPLY},
        {XK_KP_Add, VK_ADD},
        {XK_KP_Separator, VK_SEPARATOR},
        {XK_KP_Subtract, VK_SUBTRACT},
        {XK_KP_Decimal, VK_DECIMAL},
        {XK_KP_Delete, VK_DECIMAL},
        {XK_KP_Divide, VK_DIVIDE},
        {XK_KP_Home, VK_HOME},
        {XK_KP_End, VK_END},
        {XK_KP_Prior, VK_PRIOR},
        {XK_KP_Next, VK_NEXT},
        {XK_KP_Left, VK_LEFT},
        {XK_KP_Right, VK_RIGHT},
        {XK_KP_Up, VK_UP},
        {XK_KP_Down, VK_DOWN},
        {XK_KP_Insert, VK_INSERT},
        {XK_KP_Begin, VK_CLEAR},
        {XK_Num_Lock, VK_NUMLOCK},
        {XK_Scroll_Lock, VK_SCROLL},
        {XK_semicolon, VK_OEM_1},
        {XK_equal, VK_OEM_PLUS},
        {XK_comma, VK_OEM_COMMA},
        {XK_minus, VK_OEM_MINUS},
        {XK_period, VK_OEM_PERIOD},
        {XK_slash, VK_OEM_2},
        {XK_grave, VK_OEM_3},
        {XK_bracketleft, VK_OEM_4},
        {XK_backslash, VK_OEM_5},
        {XK_bracketright, VK_OEM_6},
        {XK_apostrophe, VK_OEM_7},
    };
    return Table;
}

} // namespace

int VirtualKeyOfKeySym(unsigned long Sym)
{
    if (Sym >= XK_a && Sym <= XK_z)
        return 'A' + static_cast<int>(Sym - XK_a);
    if (Sym >= XK_A && Sym <= XK_Z)
        return 'A' + static_cast<int>(Sym - XK_A);
    if (Sym >= XK_0 && Sym <= XK_9)
        return '0' + static_cast<int>(Sym - XK_0);
    if (Sym >= XK_KP_0 && Sym <= XK_KP_9)
        return VK_NUMPAD0 + static_cast<int>(Sym - XK_KP_0);
    if (Sym >= XK_F1 && Sym <= XK_F12)
        return VK_F1 + static_cast<int>(Sym - XK_F1);
    const auto Found = KeyTable().find(Sym);
    return Found != KeyTable().end() ? Found->second : 0;
}

TKeyScan ScanCodeOfKey(unsigned KeyCode, unsigned long Sym, int VirtualKey)
{
    // Escape to F12 and the keypad but its Enter and Divide; Num Lock is the one extended key.
    if (KeyCode >= 9 && KeyCode <= 96) {
        const int Code = static_cast<int>(KeyCode) - 8;
        return {Code, Code == ScanCodeOfVirtualKey(VK_NUMLOCK).Code};
    }
    switch (Sym) {
    case XK_Shift_R:
        return ScanCodeOfVirtualKey(VK_RSHIFT);
    case XK_Control_R:
        return ScanCodeOfVirtualKey(VK_RCONTROL);
    case XK_Alt_R:
    case XK_Meta_R:
    case XK_ISO_Level3_Shift:
        return ScanCodeOfVirtualKey(VK_RMENU);
    default:
        return ScanCodeOfVirtualKey(VirtualKey, Sym >= XK_KP_Space && Sym <= XK_KP_Equal);
    }
}

std::string TextOfKeySym(unsigned long Sym)
{
    unsigned long Code = 0;
    if ((Sym >= 0x20 && Sym <= 0x7E) || (Sym >= 0xA0 && Sym <= 0xFF))
        Code = Sym;
    else if ((Sym & 0xFF000000UL) == 0x01000000UL)
        Code = Sym & 0x00FFFFFFUL;
    if (Code < 0x20 || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return {};
    std::string Text;
    AppendUtf8(Text, static_cast<char32_t>(Code));
    return Text;
}
