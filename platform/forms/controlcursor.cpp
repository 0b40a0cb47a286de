// platform/forms/controlcursor.cpp: the pointer's shape over controls. A window's WM_SETCURSOR
// shows the cursor of the control under the pointer (a control without a window included), the
// screen's cursor overrides every control's, and a cursor changed under the pointer shows at once.
#include "platform/forms/wincontrol.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"
#include "platform/ui/window.h"

#include <cstdint>

void TWinControl::WMSetCursor(TMessage& Message)
{
    const int HitCode =
        static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(Message.LParam)));
    if (HitCode == HTCLIENT) {
        TCursor Shape = Screen != nullptr ? Screen->Cursor() : crDefault;
        // Asked on behalf of a child window, only the screen's cursor counts here.
        if (Shape == crDefault && static_cast<HWND>(Message.WParam) == FHandle) {
            // A control without a window that holds the mouse keeps its cursor through the drag.
            TControl* Control = GetCaptureControl();
            if (Control == nullptr || Control->Parent() != this)
                Control = ControlAtPos(ScreenToClient(GetCursorPos()), false);
            if (Control != nullptr)
                Shape = Control->Cursor();
            if (Shape == crDefault)
                Shape = Cursor();
        }
        if (Shape != crDefault) {
            ::SetCursor(Shape);
            Message.Result = 1;
            return;
        }
    }
    Inherited(Message);
}

void TControl::CMCursorChanged(TMessage&)
{
    // The window the control shows in: its own, or its parent's for a control without one.
    const TWinControl* Host = IsWindowed() ? static_cast<const TWinControl*>(this) : FParent;
    if (!FVisible || Host == nullptr || !Host->HandleAllocated())
        return;
    const TPoint At = GetCursorPos();
    const TPoint P = ScreenToClient(At);
    if (WindowFromPoint(At) == Host->WindowHandle() && P.X >= 0 && P.Y >= 0 && P.X < FWidth &&
        P.Y < FHeight)
        RefreshPointerShape();
}
