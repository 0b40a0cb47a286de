// desktop/pghide32.cpp: the one-shot creation hook.
#include "desktop/pghide32.h"

#include "desktop/pgappwnd.h"
#include "platform/ui/hooks.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <string>

namespace {

HHOOK Hook = 0;

void RemoveHook()
{
    if (Hook != 0)
        UnhookWindowsHookEx(Hook);
    Hook = 0;
}

LRESULT CallWndProc(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code < 0)
        return CallNextHookEx(Hook, Code, WParam, LParam);
    const auto* Call = reinterpret_cast<const TCWPStruct*>(LParam);
    if (Call != nullptr && Call->message == WM_CREATE &&
        GetClassName(Call->hwnd) == "TApplication") {
        SetParent(Call->hwnd, GetOwnerWindow());
        RemoveHook();
    }
    return 0;
}

} // namespace

void PGHide32Initialize()
{
    GetOwnerWindow();
    LockWindowUpdate(GetDesktopWindow());
    RemoveHook();
    Hook = SetWindowsHookEx(WH_CALLWNDPROC, CallWndProc);
    LockWindowUpdate(0);
}

void PGHide32Finalize()
{
    RemoveHook();
}
