// platform/ui/hooks.h: hooks on the user-interface thread: WH_CALLWNDPROC sees every sent
// message before its procedure; WH_MOUSE and WH_KEYBOARD see mouse and key messages as they
// are taken from the queue and may swallow them.
#pragma once

#include "platform/ui/wintypes.h"

#include <cstdint>

using HHOOK = std::uintptr_t;
// Code HC_ACTION (or HC_NOREMOVE when the message stays in the queue); a negative code must be
// passed on unread.
using THookProc = std::function<LRESULT(int Code, WPARAM WParam, LPARAM LParam)>;

enum : int { WH_KEYBOARD = 2, WH_CALLWNDPROC = 4, WH_MOUSE = 7 };
enum : int { HC_ACTION = 0, HC_NOREMOVE = 3 };

// WH_CALLWNDPROC: LParam points to it; WParam is 1 (sent by this thread).
struct TCWPStruct {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = 0;
};

// WH_MOUSE: WParam is the mouse message, LParam points to it. WH_KEYBOARD: WParam is the
// virtual key, LParam the key message's LParam. A non-zero answer swallows the message.
struct TMouseHookStruct {
    TPoint pt; // screen coordinates
    HWND hwnd = 0;
    UINT wHitTestCode = 1;
    std::uintptr_t dwExtraInfo = 0;
};

// Installs Proc at the head of the chain for IdHook; 0 for an unknown kind or empty Proc.
HHOOK SetWindowsHookEx(int IdHook, THookProc Proc);
// May be called from inside the hook itself.
bool UnhookWindowsHookEx(HHOOK Hook);
// Calls the next hook of the chain that is running; 0 at its end.
LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM WParam, LPARAM LParam);
