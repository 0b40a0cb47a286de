// platform/ui/queue.h: the message queue of the user-interface thread: posted messages (first in,
// first out), sent messages (direct calls), the quit request, and taking messages out.
#pragma once

#include "platform/ui/wintypes.h"

#include <string>

// PeekMessage flags.
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002 };

// Appends a message; allowed from any thread (it wakes a waiting loop). Wnd 0 makes a thread
// message. False for a window that does not exist (checked on the user-interface thread only).
bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Calls the window's procedure at once (after the WH_CALLWNDPROC hooks); re-entrant. 0 for a
// window that does not exist. User-interface thread only.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// WM_QUIT comes out of the queue once the posted messages before it are taken.
void PostQuitMessage(int ExitCode);

// Takes (PM_REMOVE) or looks at the next message for Wnd (0: any) within [Min, Max] (0, 0: all).
// Order: posted and input messages in arrival order, then the quit request, then WM_PAINT for a
// window with an update area (platform/ui/paint.h), then one WM_TIMER of a timer that is due.
// Never blocks.
bool PeekMessage(TMsg& Msg, HWND Wnd, UINT Min, UINT Max, UINT RemoveFlags);
// Waits for a message and takes it; false when it is WM_QUIT.
bool GetMessage(TMsg& Msg, HWND Wnd, UINT Min, UINT Max);
// Calls the procedure of Msg.hwnd; thread messages and messages of destroyed windows are
// dropped.
LRESULT DispatchMessage(const TMsg& Msg);

// The same name gives the same number, from 0xC000 on; names compare without regard to case.
// 0 for an empty name.
UINT RegisterWindowMessage(const std::string& Name);

// The time and cursor position of the last message taken.
DWORD GetMessageTime();

// Posted messages waiting (tests).
int PendingMessageCount();
