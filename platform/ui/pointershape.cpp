// platform/ui/pointershape.cpp: the pointer's shape, and the WM_SETCURSOR that lets the window
// under the pointer choose it.
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <optional>

namespace {

// The shape the driver shows; empty until one is set on the current driver.
std::optional<TCursor>& Shown()
{
    static std::optional<TCursor> S;
    return S;
}

} // namespace

namespace uiloop {

void ForgetPointerShape()
{
    Shown().reset();
}

void SendSetCursor(HWND Target, int HitCode, UINT MouseMsg)
{
    if (Target != 0 && IsWindow(Target))
        SendMessage(Target, WM_SETCURSOR, static_cast<WPARAM>(Target),
                    MakeLParam(HitCode, static_cast<int>(MouseMsg)));
}

} // namespace uiloop

TCursor SetCursor(TCursor Cursor)
{
    uiloop::CheckThread("SetCursor");
    if (Cursor == crDefault)
        Cursor = crArrow;
    const TCursor Before = GetCursor();
    if (Shown() != Cursor) {
        Shown() = Cursor;
        DisplayDriver().SetPointerShape(Cursor);
    }
    return Before;
}

TCursor GetCursor()
{
    return Shown().value_or(crArrow);
}

void RefreshPointerShape()
{
    uiloop::CheckThread("RefreshPointerShape");
    const TPoint Screen = GetCursorPos();
    HWND Target = GetCapture();
    int HitCode = HTCLIENT;
    if (Target == 0) {
        Target = WindowFromPoint(Screen);
        if (Target == 0)
            return;
        HitCode =
            static_cast<int>(SendMessage(Target, WM_NCHITTEST, 0, MakeLParam(Screen.X, Screen.Y)));
    }
    uiloop::SendSetCursor(Target, HitCode, WM_MOUSEMOVE);
}
