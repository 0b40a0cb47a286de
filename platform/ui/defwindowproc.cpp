// platform/ui/defwindowproc.cpp: what a window does with the messages its procedure passes on.
#include "platform/ui/window.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/windowdc.h"
#include "platform/ui/windowstate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace uiwindow;

namespace {

// The sizing cursor of a border part; crDefault for a part that is not a border.
TCursor SizeCursorOf(int HitCode)
{
    switch (HitCode) {
    case HTLEFT:
    case HTRIGHT:
        return crSizeWE;
    case HTTOP:
    case HTBOTTOM:
        return crSizeNS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTGROWBOX:
        return crSizeNWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return crSizeNESW;
    default:
        return crDefault;
    }
}

// A child lets its parent choose first (except on a sizing border, which is its own); a window
// asked on behalf of a child chooses nothing itself. Over the client area the class's cursor.
LRESULT DefSetCursor(const TWindowObject& Obj, WPARAM WParam, LPARAM LParam)
{
    const int HitCode = static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(LParam)));
    const TCursor Size = SizeCursorOf(HitCode);
    if ((Obj.Style & WS_CHILD) && Obj.Parent != 0 && (Size == crDefault || HitCode == HTGROWBOX))
        if (CallProc(Obj.Parent, WM_SETCURSOR, WParam, LParam) != 0)
            return 1;
    if (static_cast<HWND>(WParam) != Obj.Handle)
        return 0;
    if (HitCode == HTCLIENT) {
        const TCursor Class = uiloop::ClassCursor(Obj.Handle);
        if (Class == crDefault)
            return 0;
        SetCursor(Class);
        return 1;
    }
    SetCursor(Size != crDefault ? Size : crArrow);
    return 1;
}

} // namespace

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return 0;
    if (LRESULT Result = 0; DefNonClientMessage(Wnd, Msg, WParam, LParam, Result))
        return Result;
    switch (Msg) {
    case WM_NCCREATE:
        return 1;
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_SETTEXT:
        Obj->Text = LParam != 0 ? reinterpret_cast<const char*>(LParam) : "";
        if (Obj->Native)
            DisplayDriver().SetNativeCaption(Wnd, Obj->Text);
        if (Obj->Published)
            UpdatePublication(*Obj);
        return 1;
    case WM_GETTEXT: {
        if (WParam == 0 || LParam == 0)
            return 0;
        const std::size_t Count = std::min<std::size_t>(Obj->Text.size(), WParam - 1);
        char* Buffer = reinterpret_cast<char*>(LParam);
        std::memcpy(Buffer, Obj->Text.data(), Count);
        Buffer[Count] = '\0';
        return static_cast<LRESULT>(Count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(Obj->Text.size());
    case WM_WINDOWPOSCHANGED: {
        const auto* Pos = reinterpret_cast<const TWindowPos*>(LParam);
        if (Pos == nullptr)
            return 0;
        if (!(Pos->flags & SWP_NOMOVE))
            CallProc(Wnd, WM_MOVE, 0, MakeLParam(Pos->x, Pos->y));
        // WM_SIZE tells the client area's size, which a changed frame changes too.
        TRect Client;
        if ((!(Pos->flags & SWP_NOSIZE) || (Pos->flags & SWP_FRAMECHANGED)) &&
            GetClientRect(Wnd, Client)) {
            const WPARAM Kind = IsIconic(Wnd)   ? SIZE_MINIMIZED
                                : IsZoomed(Wnd) ? SIZE_MAXIMIZED
                                                : SIZE_RESTORED;
            CallProc(Wnd, WM_SIZE, Kind, MakeLParam(Client.Width(), Client.Height()));
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LoWord(WParam) != WA_INACTIVE && !IsIconic(Wnd)) {
            const HWND Focus = GetFocus();
            if (Focus != Wnd && !IsChild(Wnd, Focus))
                SetFocus(Wnd);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (Obj->Parent != 0)
            return CallProc(Obj->Parent, Msg, WParam, LParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(Wnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(Wnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(Wnd, SW_RESTORE);
            break;
        case SC_CLOSE:
            CallProc(Wnd, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == Wnd)
            ReleaseCapture();
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    case WM_PAINT: {
        TPaintStruct Paint;
        if (BeginPaint(Wnd, Paint) != nullptr)
            EndPaint(Wnd, Paint);
        else
            ValidateRect(Wnd, nullptr);
        return 0;
    }
    case WM_SETCURSOR:
        return DefSetCursor(*Obj, WParam, LParam);
    case WM_MOUSEACTIVATE:
        // A child asks its parent first, so a pop-up's answer holds for its children too.
        if (Obj->Parent != 0)
            if (const LRESULT Answer = CallProc(Obj->Parent, Msg, WParam, LParam); Answer != 0)
                return Answer;
        return MA_ACTIVATE;
    default:
        return 0;
    }
}
