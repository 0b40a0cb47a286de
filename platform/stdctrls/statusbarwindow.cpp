// platform/stdctrls/statusbarwindow.cpp: the status bar's window class.
#include "platform/stdctrls/statusbarwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int BorderX = 0;    // left of the first part
constexpr int BorderY = 2;    // above and below the parts
constexpr int PartGap = 2;    // between two parts
constexpr int TextMargin = 2; // inside a part's edge
constexpr int GripSize = 12;

struct TPart {
    int Right = -1;
    std::string Text;
    LPARAM Data = 0; // an owner-drawn part's value
    UINT Flags = 0;
};

class TStatusBarWindow {
public:
    explicit TStatusBarWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd)
    {
        Parts.resize(1);
    }

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    bool HasGrip() const
    {
        if (!(GetWindowLong(Wnd, GWL_STYLE) & SBARS_SIZEGRIP))
            return false;
        const HWND Top = GetTopLevelWindow(Wnd);
        return Top != Wnd && !IsZoomed(Top);
    }
    TRect Client() const
    {
        TRect R;
        GetClientRect(Wnd, R);
        return R;
    }
    TRect GripRect() const
    {
        const TRect C = Client();
        return Rect(C.Right - GripSize, C.Bottom - GripSize, C.Right, C.Bottom);
    }
    TPart& PartOf(UINT Index) { return Index == SB_SIMPLEID ? SimplePart : Parts[Index]; }
    bool Valid(UINT Index) const { return Index == SB_SIMPLEID || Index < Parts.size(); }
    TRect PartRect(UINT Index) const;
    void InvalidatePart(UINT Index)
    {
        const TRect R = PartRect(Index);
        InvalidateRect(Wnd, &R, false);
    }
    UINT CtlID() const
    {
        const LONG_PTR Id = GetWindowLong(Wnd, GWL_ID);
        return static_cast<UINT>(Id != 0 ? static_cast<HWND>(Id) : Wnd);
    }
    void Paint(HDC DC);
    void PaintPart(HDC DC, UINT Index, const TPart& Part);
    void PaintGrip(HDC DC);
    LRESULT TextResult(const TPart& Part) const
    {
        return MakeLParam(static_cast<int>(Part.Text.size()),
                          static_cast<int>(Part.Flags & 0xFF00));
    }
    void GripDrag(TPoint Screen);

    std::unique_ptr<TFont> Font;
    HWND Wnd;
    std::vector<TPart> Parts;
    TPart SimplePart;
    bool Simple = false;
    int MinHeight = 0;
    // The size grip's drag: where it began and the form's size then.
    bool Gripping = false;
    TPoint GripFrom;
    TSize GripSizeFrom;
};

TWindowStates<TStatusBarWindow>& Bars()
{
    static TWindowStates<TStatusBarWindow> States;
    return States;
}

TRect TStatusBarWindow::PartRect(UINT Index) const
{
    const TRect C = Client();
    const int Top = BorderY;
    const int Bottom = std::max(Top, C.Bottom - BorderY + 1);
    const int End = C.Right - (HasGrip() ? GripSize : 0);
    if (Simple || Index == SB_SIMPLEID)
        return Rect(BorderX, Top, std::max(BorderX, End), Bottom);
    int Left = BorderX;
    for (UINT I = 0; I < Parts.size(); ++I) {
        const int Right = Parts[I].Right < 0 ? std::max(Left, C.Right) : Parts[I].Right;
        if (I == Index)
            return Rect(Left, Top, std::max(Left, Right), Bottom);
        Left = Right + PartGap;
    }
    return TRect();
}

void TStatusBarWindow::PaintPart(HDC DC, UINT Index, const TPart& Part)
{
    TRect R = PartRect(Index);
    if (IsRectEmpty(R))
        return;
    if (Part.Flags & SBT_POPOUT)
        DC->DrawEdge(R, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
    else if (!(Part.Flags & SBT_NOBORDERS))
        DC->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (Part.Flags & SBT_OWNERDRAW) {
        TDrawItemStruct Draw{};
        Draw.CtlID = CtlID();
        Draw.itemID = Index;
        Draw.itemAction = ODA_DRAWENTIRE;
        Draw.hwndItem = Wnd;
        Draw.hDC = DC;
        Draw.rcItem = R;
        Draw.itemData = static_cast<WPARAM>(Part.Data);
        SendMessage(GetParent(Wnd), WM_DRAWITEM, Draw.CtlID, reinterpret_cast<LPARAM>(&Draw));
        DC->SetFont(Font.get());
        return;
    }
    // Text after a tab is centred, after a second one right-aligned.
    std::string Text = Part.Text;
    unsigned Align = DT_LEFT;
    for (unsigned Next : {DT_CENTER, DT_RIGHT}) {
        if (Text.empty() || Text[0] != '\t')
            break;
        Text.erase(0, 1);
        Align = Next;
    }
    InflateRect(R, -TextMargin, 0);
    DC->Brush()->SetStyle(bsClear);
    DC->DrawText(Text, R, Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    DC->Brush()->SetStyle(bsSolid);
}

void TStatusBarWindow::PaintGrip(HDC DC)
{
    const TRect G = GripRect();
    // Three pairs of diagonal strokes, light over dark, from the corner outwards.
    for (int Step = 0; Step < 3; ++Step) {
        const int Off = 4 * Step + 2;
        DC->Pen()->SetColor(clBtnShadow);
        for (int Line = 0; Line < 2; ++Line) {
            DC->MoveTo(G.Right - Off - Line, G.Bottom);
            DC->LineTo(G.Right, G.Bottom - Off - Line - 1);
        }
        DC->Pen()->SetColor(clBtnHighlight);
        DC->MoveTo(G.Right - Off - 2, G.Bottom);
        DC->LineTo(G.Right, G.Bottom - Off - 3);
    }
}

void TStatusBarWindow::Paint(HDC DC)
{
    DC->SetFont(Font.get());
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(Client());
    if (Simple)
        PaintPart(DC, SB_SIMPLEID, SimplePart);
    else
        for (UINT I = 0; I < Parts.size(); ++I)
            PaintPart(DC, I, Parts[I]);
    if (HasGrip())
        PaintGrip(DC);
}

void TStatusBarWindow::GripDrag(TPoint Screen)
{
    const HWND Top = GetTopLevelWindow(Wnd);
    const int Width = std::max(0, GripSizeFrom.cx + Screen.X - GripFrom.X);
    const int Height = std::max(0, GripSizeFrom.cy + Screen.Y - GripFrom.Y);
    SetWindowPos(Top, 0, 0, 0, Width, Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TStatusBarWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(Wnd, nullptr, false);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFONT:
        if (WParam != 0)
            Font->Assign(reinterpret_cast<const TFont*>(WParam));
        if (LParam != 0)
            InvalidateRect(Wnd, nullptr, false);
        return 0;
    case WM_SETTEXT: {
        SimplePart.Text = LParam != 0 ? reinterpret_cast<const char*>(LParam) : "";
        if (Simple)
            InvalidatePart(SB_SIMPLEID);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case SB_SETTEXT: {
        const UINT Index = static_cast<UINT>(WParam & 0xFF);
        if (!Valid(Index))
            return 0;
        TPart& Part = PartOf(Index);
        Part.Flags = static_cast<UINT>(WParam & 0xFF00);
        if (Part.Flags & SBT_OWNERDRAW) {
            Part.Text.clear();
            Part.Data = LParam;
        } else {
            Part.Text = LParam != 0 ? reinterpret_cast<const char*>(LParam) : "";
            Part.Data = 0;
        }
        if ((Index == SB_SIMPLEID) == Simple)
            InvalidatePart(Index);
        return 1;
    }
    case SB_GETTEXT:
    case SB_GETTEXTLENGTH: {
        const UINT Index = static_cast<UINT>(WParam & 0xFF);
        if (!Valid(Index))
            return 0;
        const TPart& Part = PartOf(Index);
        if (Msg == SB_GETTEXT && LParam != 0) {
            if (Part.Flags & SBT_OWNERDRAW)
                return Part.Data;
            std::memcpy(reinterpret_cast<char*>(LParam), Part.Text.c_str(), Part.Text.size() + 1);
        }
        return TextResult(Part);
    }
    case SB_SETPARTS: {
        const int Count = static_cast<int>(WParam);
        const auto* Edges = reinterpret_cast<const int*>(LParam);
        if (Count < 1 || Count > 256 || Edges == nullptr)
            return 0;
        Parts.resize(static_cast<std::size_t>(Count));
        for (int I = 0; I < Count; ++I)
            Parts[static_cast<std::size_t>(I)].Right = Edges[I];
        InvalidateRect(Wnd, nullptr, false);
        return 1;
    }
    case SB_GETPARTS: {
        auto* Edges = reinterpret_cast<int*>(LParam);
        const std::size_t Room = static_cast<std::size_t>(WParam);
        for (std::size_t I = 0; Edges != nullptr && I < Parts.size() && I < Room; ++I)
            Edges[I] = Parts[I].Right;
        return static_cast<LRESULT>(Parts.size());
    }
    case SB_GETBORDERS: {
        if (auto* Borders = reinterpret_cast<int*>(LParam)) {
            Borders[0] = BorderX;
            Borders[1] = BorderY;
            Borders[2] = PartGap;
            return 1;
        }
        return 0;
    }
    case SB_SETMINHEIGHT: {
        MinHeight = static_cast<int>(WParam);
        TRect R;
        GetWindowRect(Wnd, R);
        const int Wanted = MinHeight + 2 * BorderY;
        if (R.Height() < Wanted) {
            // Grows upwards: a status bar keeps to the bottom of its parent.
            TPoint At{R.Left, R.Bottom - Wanted};
            ScreenToClient(GetParent(Wnd), At);
            SetWindowPos(Wnd, 0, At.X, At.Y, R.Width(), Wanted, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    case SB_SIMPLE:
        if (Simple != (WParam != 0)) {
            Simple = WParam != 0;
            InvalidateRect(Wnd, nullptr, false);
        }
        return 0;
    case SB_ISSIMPLE:
        return Simple ? 1 : 0;
    case SB_GETRECT: {
        const UINT Index = static_cast<UINT>(WParam);
        auto* Into = reinterpret_cast<TRect*>(LParam);
        if (Into == nullptr || (!Simple && Index >= Parts.size()))
            return 0;
        *Into = PartRect(Simple ? SB_SIMPLEID : Index);
        return 1;
    }
    case WM_LBUTTONDOWN: {
        const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
        if (!HasGrip() || !PtInRect(GripRect(), P))
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        TRect Top;
        GetWindowRect(GetTopLevelWindow(Wnd), Top);
        Gripping = true;
        GripFrom = P;
        ClientToScreen(Wnd, GripFrom);
        GripSizeFrom = TSize{Top.Width(), Top.Height()};
        SetCapture(Wnd);
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        if (!Gripping)
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
        ClientToScreen(Wnd, P);
        GripDrag(P);
        if (Msg == WM_LBUTTONUP) {
            Gripping = false;
            ReleaseCapture();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        Gripping = false;
        return 0;
    case WM_SETCURSOR: {
        // Over the size grip, and while it is dragged, the cursor of sizing the window by its
        // corner; the parent may choose first, as it may for any child.
        TPoint P = GetCursorPos();
        ScreenToClient(Wnd, P);
        if (static_cast<HWND>(WParam) != Wnd ||
            LoWord(static_cast<std::uintptr_t>(LParam)) != HTCLIENT ||
            (!Gripping && !(HasGrip() && PtInRect(GripRect(), P))))
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        if (SendMessage(GetParent(Wnd), WM_SETCURSOR, WParam, LParam) == 0)
            SetCursor(crSizeNWSE);
        return 1;
    }
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterStatusBarClass()
{
    RegisterControlClass(StatusBarClassName, CS_DBLCLKS, StatusBarWndProc);
}

LRESULT StatusBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Bars().Handle(Wnd, Msg, WParam, LParam);
}
