// platform/ui/nonclient.cpp: the client area a window's styles leave, the frame drawn around it,
// the part of the frame under a point, and what DefWindowProc does with these messages.
#include "platform/ui/nonclient.h"

#include "platform/gfx/color.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/nonclientparts.h"
#include "platform/ui/paint.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

namespace uiwindow {

namespace {

// A child's border is its own, and so is a captionless pop-up's (menus, drop-down lists): the
// window manager frames neither. Other top-level windows get their frame from it.
bool HasBorder(const TWindowObject& Obj)
{
    if (!(Obj.Style & WS_BORDER))
        return false;
    if (Obj.Parent != 0)
        return true;
    return (Obj.Style & WS_POPUP) && !(Obj.Style & (WS_DLGFRAME | WS_THICKFRAME));
}

TRect Deflated(const TRect& R, int By)
{
    TRect Out = R;
    InflateRect(Out, -By, -By);
    Out.Right = std::max(Out.Right, Out.Left);
    Out.Bottom = std::max(Out.Bottom, Out.Top);
    return Out;
}

TRect WindowBox(const TWindowObject& Obj)
{
    return Bounds(0, 0, Obj.Bounds.Width(), Obj.Bounds.Height());
}

} // namespace

TRect DefaultClientArea(const TWindowObject& Obj, const TRect& WindowRect)
{
    TRect R = Deflated(WindowRect, HasBorder(Obj) ? GetSystemMetrics(SM_CXBORDER) : 0);
    if (Obj.ExStyle & WS_EX_CLIENTEDGE)
        R = Deflated(R, GetSystemMetrics(SM_CXEDGE));
    if (Obj.Style & WS_VSCROLL)
        R.Right = std::max(R.Left, R.Right - VerticalBarWidth(Obj));
    if (Obj.Style & WS_HSCROLL)
        R.Bottom = std::max(R.Top, R.Bottom - HorizontalBarHeight(Obj));
    return R;
}

TNonClientParts NonClientParts(const TWindowObject& Obj)
{
    TNonClientParts Parts;
    Parts.Window = WindowBox(Obj);
    Parts.Border = HasBorder(Obj);
    if (Obj.ExStyle & WS_EX_CLIENTEDGE)
        Parts.Edge = Deflated(Parts.Window, Parts.Border ? GetSystemMetrics(SM_CXBORDER) : 0);
    const TRect& C = Obj.Client;
    const int CX = VerticalBarWidth(Obj);
    const int CY = HorizontalBarHeight(Obj);
    if (Obj.Style & WS_VSCROLL)
        Parts.VBar = Rect(C.Right, C.Top, C.Right + CX, C.Bottom);
    if (Obj.Style & WS_HSCROLL)
        Parts.HBar = Rect(C.Left, C.Bottom, C.Right, C.Bottom + CY);
    if ((Obj.Style & WS_VSCROLL) && (Obj.Style & WS_HSCROLL))
        Parts.SizeBox = Rect(C.Right, C.Bottom, C.Right + CX, C.Bottom + CY);
    return Parts;
}

bool CalcClientArea(HWND Wnd)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const TRect Old = Obj->Client;
    TNCCalcSizeParams Params;
    Params.rgrc[0] = Obj->Bounds;
    Params.rgrc[1] = Obj->Bounds;
    Params.rgrc[2] = Obj->Client;
    OffsetRect(Params.rgrc[2], Obj->Bounds.Left, Obj->Bounds.Top);
    CallProc(Wnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&Params));
    if ((Obj = Find(Wnd)) == nullptr)
        return false;
    // Whatever the answer, the client area lies inside the window.
    TRect Client = Params.rgrc[0];
    OffsetRect(Client, -Obj->Bounds.Left, -Obj->Bounds.Top);
    const TRect Whole = WindowBox(*Obj);
    Client.Left = std::clamp(Client.Left, 0, Whole.Right);
    Client.Top = std::clamp(Client.Top, 0, Whole.Bottom);
    Client.Right = std::clamp(Client.Right, Client.Left, Whole.Right);
    Client.Bottom = std::clamp(Client.Bottom, Client.Top, Whole.Bottom);
    Obj->Client = Client;
    if (!(Client == Whole))
        uiloop::InvalidateFrame(Wnd);
    return Client.Width() != Old.Width() || Client.Height() != Old.Height();
}

namespace {

void PaintFrame(HWND Wnd)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || Obj->Client == WindowBox(*Obj))
        return;
    const TNonClientParts Parts = NonClientParts(*Obj);
    HDC DC = GetWindowDC(Wnd);
    if (DC == nullptr)
        return;
    if (Parts.Border) {
        DC->Brush()->SetColor(clWindowFrame);
        DC->FrameRect(Parts.Window);
    }
    if (!IsRectEmpty(Parts.Edge)) {
        TRect Edge = Parts.Edge;
        DC->DrawEdge(Edge, EDGE_SUNKEN, BF_RECT);
    }
    if (!IsRectEmpty(Parts.VBar))
        DrawScrollBar(*DC, Wnd, SB_VERT);
    if (!IsRectEmpty(Parts.HBar))
        DrawScrollBar(*DC, Wnd, SB_HORZ);
    if (!IsRectEmpty(Parts.SizeBox)) {
        DC->Brush()->SetColor(clBtnFace);
        DC->FillRect(Parts.SizeBox);
    }
    ReleaseDC(Wnd, DC);
}

int HitTest(HWND Wnd, TPoint Screen)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return HTNOWHERE;
    const TPoint Origin = ScreenOrigin(*Obj);
    const TPoint P{Screen.X - Origin.X, Screen.Y - Origin.Y};
    const TNonClientParts Parts = NonClientParts(*Obj);
    if (!PtInRect(Parts.Window, P))
        return HTNOWHERE;
    if (PtInRect(Obj->Client, P))
        return HTCLIENT;
    if (PtInRect(Parts.VBar, P))
        return HTVSCROLL;
    if (PtInRect(Parts.HBar, P))
        return HTHSCROLL;
    if (PtInRect(Parts.SizeBox, P))
        return HTGROWBOX;
    const TRect Inner = IsRectEmpty(Parts.Edge) ? Deflated(Parts.Window, Parts.Border ? 1 : 0)
                                                : Deflated(Parts.Edge, GetSystemMetrics(SM_CXEDGE));
    if (!PtInRect(Inner, P))
        return HTBORDER;
    return HTNOWHERE;
}

} // namespace

bool DefNonClientMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result)
{
    Result = 0;
    switch (Msg) {
    case WM_NCCALCSIZE: {
        auto* Params = reinterpret_cast<TNCCalcSizeParams*>(LParam);
        const TWindowObject* Obj = Find(Wnd);
        if (Params != nullptr && Obj != nullptr)
            Params->rgrc[0] = DefaultClientArea(*Obj, Params->rgrc[0]);
        return true;
    }
    case WM_NCPAINT:
        PaintFrame(Wnd);
        return true;
    case WM_NCHITTEST:
        Result = HitTest(Wnd, TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (WParam == HTVSCROLL || WParam == HTHSCROLL)
            TrackScrollBar(Wnd, static_cast<int>(WParam),
                           TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return true;
    case WM_SETREDRAW:
        uiloop::SetRedraw(Wnd, WParam != 0);
        return true;
    default:
        return false;
    }
}

} // namespace uiwindow
