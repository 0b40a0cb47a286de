// platform/stdctrls/scrollbarwindow.cpp: the scroll bar control's window class; its state, look,
// mouse and keys are those of platform/ui/scrollbars.cpp.
#include "platform/stdctrls/scrollbarwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

void RegisterScrollBarClass()
{
    RegisterControlClass(ScrollBarClassName, CS_DBLCLKS, ScrollBarWndProc);
}

LRESULT ScrollBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [Wnd](HDC DC) { DrawScrollBarControl(*DC, Wnd); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
    case WM_SIZE:
        InvalidateRect(Wnd, nullptr, false);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if ((GetWindowLong(Wnd, GWL_STYLE) & WS_TABSTOP) && GetFocus() != Wnd)
            SetFocus(Wnd);
        TrackScrollBarControl(Wnd, TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (ScrollBarControlKey(Wnd, WParam, Msg == WM_KEYDOWN))
            return 0;
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case SBM_SETPOS:
        return SetScrollPos(Wnd, SB_CTL, static_cast<int>(WParam), LParam != 0);
    case SBM_GETPOS:
        return GetScrollPos(Wnd, SB_CTL);
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
        SetScrollRange(Wnd, SB_CTL, static_cast<int>(WParam), static_cast<int>(LParam),
                       Msg == SBM_SETRANGEREDRAW);
        return GetScrollPos(Wnd, SB_CTL);
    case SBM_GETRANGE: {
        int Min = 0, Max = 0;
        GetScrollRange(Wnd, SB_CTL, Min, Max);
        if (WParam != 0)
            *reinterpret_cast<int*>(WParam) = Min;
        if (LParam != 0)
            *reinterpret_cast<int*>(LParam) = Max;
        return 0;
    }
    case SBM_ENABLE_ARROWS:
        return EnableScrollBar(Wnd, SB_CTL, static_cast<UINT>(WParam)) ? 1 : 0;
    case SBM_SETSCROLLINFO:
        if (LParam == 0)
            return 0;
        return SetScrollInfo(Wnd, SB_CTL, *reinterpret_cast<const TScrollInfo*>(LParam),
                             WParam != 0);
    case SBM_GETSCROLLINFO:
        if (LParam == 0)
            return 0;
        return GetScrollInfo(Wnd, SB_CTL, *reinterpret_cast<TScrollInfo*>(LParam)) ? 1 : 0;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}
