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
