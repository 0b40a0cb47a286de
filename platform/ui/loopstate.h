// platform/ui/loopstate.h: what the files of the message loop tell each other; units use the
// public headers instead.
#pragma once

#include "platform/gfx/region.h"
#include "platform/ui/cursors.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TRasterDevice;

namespace uiloop {

// Raises EWindowError when called off the user-interface thread.
void CheckThread(const char* What);
bool OnUiThread();

// queue.cpp
// Puts messages at the head of the queue, in the order given (the characters of a key).
void PostFront(const std::vector<TMsg>& Messages);
// Appends an input message stamped with the time and cursor position.
void PostInput(const TMsg& Message);
bool QuitPending();
// PeekMessage; without Poll it does not look at the descriptors first (for a caller whose
// blocking poll comes next and serves them).
bool Peek(TMsg& Msg, HWND Wnd, UINT Min, UINT Max, UINT RemoveFlags, bool Poll);

// wait.cpp: one blocking poll (descriptors, wake-ups, the next timer), whatever the queue holds.
bool BlockOnce(int TimeoutMs);

// timers.cpp: a WM_TIMER of a due timer for Wnd (0: any); Remove restarts its period.
bool TakeDueTimer(HWND Wnd, TMsg& Msg, bool Remove);
void KillWindowTimers(HWND Wnd);

// hooks.cpp
void CallWndProcHooks(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// True when a WH_MOUSE or WH_KEYBOARD hook swallows the message.
bool InputHookSwallows(const TMsg& Msg, bool Remove);

// input.cpp
void InputWindowDestroyed(HWND Wnd);
void InputWindowHidden(HWND Wnd);
// Brings the key state up to the message being taken.
void NoteMessageTaken(const TMsg& Msg);
TPoint CursorPos();

// caret.cpp
void CaretWindowDestroyed(HWND Wnd);
// Turns the caret's blink over when it is due; the loop asks at each look at the queue.
void BlinkCaretIfDue();
// Milliseconds until the caret's next blink; empty while it is not shown.
std::optional<std::int32_t> CaretBlinkDelay();
// Inverts the caret into Top's buffer pixels when it is on there; doing it again takes it out.
bool InvertCaret(HWND Top, TRasterDevice& Raster);

// windowdc.cpp: what of Wnd's client area shows (client coordinates), and Origin: where its
// client area starts in its top-level window's buffer.
TRegion ShownClientArea(HWND Wnd, TPoint& Origin);

// pointershape.cpp
// The driver was replaced; the next SetCursor reaches the new one.
void ForgetPointerShape();
// WM_SETCURSOR to the window a mouse message MouseMsg goes to, with the part of it under the
// pointer (HTCLIENT for the capture window).
void SendSetCursor(HWND Target, int HitCode, UINT MouseMsg);

// window*.cpp
bool IsTopLevel(HWND Wnd);
std::vector<HWND> TopLevelWindows(); // front first
void MoveToFront(HWND Wnd);
bool ClassHasDoubleClicks(HWND Wnd);
// The cursor of the window's class; crDefault for none.
TCursor ClassCursor(HWND Wnd);
// A fresh handle number, shared with the proxies of foreign windows.
HWND NewHandle();
// The procedure of a window of this process; null for none.
std::shared_ptr<const TWndProc> WindowProcOf(HWND Wnd);
// The handler of exceptions that escape a dispatched message (TApplication installs it); with
// none they pass on to the caller.
extern std::function<void()> LoopExceptionHandler;

// paint.cpp: the update areas. TakePaint makes the WM_PAINT of the first window (front to back,
// parents first) that waits for one; the others keep the areas right when windows come, go and
// move (child windows share their top-level window's picture).
bool TakePaint(HWND Wnd, TMsg& Msg);
void InvalidateTree(HWND Wnd, const TRect& R);
void InvalidateWhole(HWND Wnd);
// R in the window's own window coordinates (its top-left corner at 0, 0): the client part
// becomes invalid, and the frame when R reaches into the non-client area.
void InvalidateWindowPart(HWND Wnd, const TRect& R);
// The non-client area waits for WM_NCPAINT (nothing for a window without one); BeginPaint takes
// it.
void InvalidateFrame(HWND Wnd);
bool TakeFrame(HWND Wnd);
// WM_SETREDRAW: while off, nothing of the window or its children is invalidated or drawn.
void SetRedraw(HWND Wnd, bool Redraw);
bool RedrawSuppressed(HWND Wnd);
void InvalidateUncovered(HWND Child, const TRect& OldBounds);
void PaintWindowDestroyed(HWND Wnd);

// foreignwindows.cpp: publishing this process's top-level windows and reaching other processes'.
void Publish(HWND Wnd, const std::string& ClassName, const std::string& Caption);
void Withdraw(HWND Wnd);
std::vector<HWND> ForeignWindows();
bool IsForeignWindow(HWND Wnd);
bool ForeignInfo(HWND Wnd, std::string& ClassName, std::string& Caption);
// Sends the command of a ShowWindow, BringWindowToTop or SetForegroundWindow to the owner.
bool ForeignShow(HWND Wnd, int Cmd);
bool ForeignRaise(HWND Wnd);
bool ForeignSetForeground(HWND Wnd);

} // namespace uiloop
