// desktop/pgappwnd.cpp: the owner window: a never-shown pop-up in the middle of the screen.
#include "desktop/pgappwnd.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

namespace {

const char* const OwnerClass = "TPGApplication";
// The handle before the window exists.
const HWND NoOwner = static_cast<HWND>(-42);
HWND OwnerWindow = NoOwner;

} // namespace

bool OwnerWindowExists()
{
    return OwnerWindow != NoOwner;
}

HWND GetOwnerWindow()
{
    TWndClass Class;
    if (GetClassInfo(OwnerClass, Class) && OwnerWindowExists() && IsWindow(OwnerWindow))
        return OwnerWindow;
    if (!GetClassInfo(OwnerClass, Class)) {
        Class = TWndClass();
        Class.ClassName = OwnerClass;
        Class.Cursor = crDefault;
        if (!RegisterClass(Class))
            throw Exception(std::string("Couldnt register window class: ") + OwnerClass);
    }
    OwnerWindow = CreateWindowEx(0, OwnerClass, "", WS_POPUP, GetSystemMetrics(SM_CXSCREEN) / 2,
                                 GetSystemMetrics(SM_CYSCREEN) / 2, 50, 50, 0);
    return OwnerWindow;
}

void PGAppWndFinalize()
{
    if (OwnerWindowExists() && IsWindow(OwnerWindow))
        DestroyWindow(OwnerWindow);
    OwnerWindow = NoOwner;
}
