#include "platform/stdctrls/controlclass.h"

void RegisterControlClass(const char* ClassName, UINT Style, const TWndProc& WndProc,
                          TCursor Cursor)
{
    TWndClass Class;
    if (GetClassInfo(ClassName, Class))
        return;
    Class.ClassName = ClassName;
    Class.Style = Style;
    Class.WndProc = WndProc;
    Class.Cursor = Cursor;
    RegisterClass(Class);
}

void SetControlStyleBits(HWND Wnd, DWORD Bits)
{
    const LONG_PTR Old = GetWindowLong(Wnd, GWL_STYLE);
    SetWindowLong(Wnd, GWL_STYLE,
                  (Old & ~static_cast<LONG_PTR>(0xFFFF)) | static_cast<LONG_PTR>(Bits & 0xFFFF));
}
