#include "platform/stdctrls/headerwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// How far from a divider the pointer still grabs it.
constexpr int DividerGrip = 3;

class THeaderWindow {
public:
    explicit THeaderWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd) {}

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    int Height() const;

    std::unique_ptr<TFont> Font;

private:
    int Count() const { return static_cast<int>(Items.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    TRect ItemRect(int Index) const;
    int HitTest(const TPoint& P, UINT& Flags) const;
    LRESULT Notify(UINT Code, int Item, HDITEM* Item_ = nullptr);
    bool SetItem(int Index, const HDITEM& Item);
    void Paint(HDC DC);

    HWND Wnd;
    std::vector<HDITEM> Items;
    int Tracking = -1; // the item whose divider is dragged
    int TrackOffset = 0;
    int Pressed = -1; // the item held down
    bool PressedIn = false;
};

TWindowStates<THeaderWindow>& Headers()
{
    static TWindowStates<THeaderWindow> States;
    return States;
}

int THeaderWindow::Height() const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    return Metrics.tmHeight + 6;
}

TRect THeaderWindow::ItemRect(int Index) const
{
    int X = 0;
    for (int I = 0; I < Index; ++I)
        X += Items[I].cxy;
    TRect Client;
    GetClientRect(Wnd, Client);
    return Rect(X, 0, X + Items[Index].cxy, Client.Bottom);
}

// A divider wins over the item under the point, so that a narrow column can still be sized; of
// two dividers at one place (a column of width 0) the right one, so that it can be opened again.
int THeaderWindow::HitTest(const TPoint& P, UINT& Flags) const
{
    Flags = HHT_NOWHERE;
    int X = 0;
    int Over = -1;
    int Divider = -1;
    for (int I = 0; I < Count(); ++I) {
        const int Right = X + Items[I].cxy;
        if (P.X >= X && P.X < Right)
            Over = I;
        if (P.X >= Right - DividerGrip && P.X <= Right + DividerGrip)
            Divider = I;
        X = Right;
    }
    if (Divider >= 0) {
        Flags = HHT_ONDIVIDER;
        return Divider;
    }
    if (Over >= 0) {
        Flags = HHT_ONHEADER;
        return Over;
    }
    if (P.X >= X)
        Flags = HHT_TORIGHT;
    return -1;
}

LRESULT THeaderWindow::Notify(UINT Code, int Item, HDITEM* Data)
{
    NMHEADER Header;
    Header.iItem = Item;
    Header.pitem = Data;
    return SendNotify(Wnd, Code, Header.hdr);
}

bool THeaderWindow::SetItem(int Index, const HDITEM& Item)
{
    if (!Valid(Index))
        return false;
    HDITEM Changed = Item;
    if (Notify(HDN_ITEMCHANGING, Index, &Changed) != 0)
        return false;
    HDITEM& Into = Items[Index];
    if (Item.mask & HDI_WIDTH)
        Into.cxy = std::max(0, Item.cxy);
    if (Item.mask & HDI_TEXT)
        Into.pszText = Item.pszText;
    if (Item.mask & HDI_FORMAT)
        Into.fmt = Item.fmt;
    if (Item.mask & HDI_LPARAM)
        Into.lParam = Item.lParam;
    Changed = Into;
    Changed.mask = Item.mask;
    InvalidateRect(Wnd, nullptr, true);
    Notify(HDN_ITEMCHANGED, Index, &Changed);
    return true;
}

void THeaderWindow::Paint(HDC DC)
{
    TRect Client;
    GetClientRect(Wnd, Client);
    DC->SetFont(Font.get());
    DC->Font()->SetColor(clBtnText);
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(Client);
    int X = 0;
    for (int I = 0; I <= Count(); ++I) {
        const bool Rest = I == Count();
        TRect R = Rest ? Rect(X, 0, std::max(X, Client.Right) + 2, Client.Bottom) : ItemRect(I);
        if (!Rest)
            X = R.Right;
        if (R.Width() <= 0)
            continue;
        const bool Down = !Rest && I == Pressed && PressedIn;
        TRect Face = R;
        if (Down) {
            DC->Pen()->SetColor(clBtnShadow);
            DC->Brush()->SetStyle(bsClear);
            DC->Rectangle(Face);
            DC->Brush()->SetStyle(bsSolid);
        } else
            DC->DrawEdge(Face, EDGE_RAISED, BF_RECT | BF_SOFT);
        if (Rest)
            continue;
        const HDITEM& Item = Items[I];
        TRect Text = Rect(R.Left + 6, R.Top + 1, R.Right - 6, R.Bottom - 1);
        if (Down)
            Text = Rect(Text.Left + 1, Text.Top + 1, Text.Right + 1, Text.Bottom + 1);
        unsigned Format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if ((Item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
            Format |= DT_RIGHT;
        else if ((Item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
            Format |= DT_CENTER;
        if (Text.Width() > 0) {
            DC->Brush()->SetStyle(bsClear);
            DC->DrawText(Item.pszText, Text, Format);
            DC->Brush()->SetStyle(bsSolid);
        }
    }
}

LRESULT THeaderWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Index = static_cast<int>(static_cast<LPARAM>(WParam));
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        if (WParam != 0)
            Font->Assign(reinterpret_cast<const TFont*>(WParam));
        InvalidateRect(Wnd, nullptr, true);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
        UINT Flags = 0;
        const int Item = HitTest(P, Flags);
        if (Flags == HHT_ONDIVIDER) {
            if (Msg == WM_LBUTTONDBLCLK) {
                Notify(HDN_DIVIDERDBLCLICK, Item);
                return 0;
            }
            HDITEM Now = Items[Item];
            Now.mask = HDI_WIDTH;
            if (Notify(HDN_BEGINTRACK, Item, &Now) != 0)
                return 0;
            Tracking = Item;
            TrackOffset = ItemRect(Item).Right - P.X;
            SetCapture(Wnd);
            return 0;
        }
        if (Flags == HHT_ONHEADER && (GetWindowLong(Wnd, GWL_STYLE) & HDS_BUTTONS)) {
            if (Msg == WM_LBUTTONDBLCLK)
                Notify(HDN_ITEMDBLCLICK, Item);
            Pressed = Item;
            PressedIn = true;
            SetCapture(Wnd);
            const TRect R = ItemRect(Item);
            InvalidateRect(Wnd, &R, true);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
        if (Tracking >= 0) {
            HDITEM Now = Items[Tracking];
            Now.mask = HDI_WIDTH;
            Now.cxy = std::max(0, P.X + TrackOffset - ItemRect(Tracking).Left);
            if (Notify(HDN_TRACK, Tracking, &Now) != 0) {
                ReleaseCapture();
                return 0;
            }
            if (Now.cxy != Items[Tracking].cxy)
                SetItem(Tracking, Now);
            return 0;
        }
        if (Pressed >= 0) {
            TRect Client;
            GetClientRect(Wnd, Client);
            const TRect R = ItemRect(Pressed);
            const bool In = PtInRect(R, P) && P.Y >= 0 && P.Y < Client.Bottom;
            if (In != PressedIn) {
                PressedIn = In;
                InvalidateRect(Wnd, &R, true);
            }
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (Tracking >= 0) {
            const int Item = Tracking;
            Tracking = -1;
            if (GetCapture() == Wnd)
                ReleaseCapture();
            HDITEM Now = Items[Item];
            Now.mask = HDI_WIDTH;
            Notify(HDN_ENDTRACK, Item, &Now);
        } else if (Pressed >= 0) {
            const int Item = Pressed;
            const bool In = PressedIn;
            Pressed = -1;
            PressedIn = false;
            if (GetCapture() == Wnd)
                ReleaseCapture();
            InvalidateRect(Wnd, nullptr, true);
            if (In)
                Notify(HDN_ITEMCLICK, Item);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (Tracking >= 0) {
            const int Item = Tracking;
            Tracking = -1;
            HDITEM Now = Items[Item];
            Now.mask = HDI_WIDTH;
            Notify(HDN_ENDTRACK, Item, &Now);
        }
        if (Pressed >= 0) {
            Pressed = -1;
            InvalidateRect(Wnd, nullptr, true);
        }
        return 0;
    case WM_SETCURSOR: {
        // Over a divider, and while one is dragged, the sizing cursor; the parent may choose
        // first, as it may for any child.
        TPoint P = GetCursorPos();
        ScreenToClient(Wnd, P);
        UINT Flags = HHT_NOWHERE;
        if (static_cast<HWND>(WParam) != Wnd ||
            LoWord(static_cast<std::uintptr_t>(LParam)) != HTCLIENT ||
            (Tracking < 0 && (HitTest(P, Flags), Flags != HHT_ONDIVIDER)))
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        if (SendMessage(GetParent(Wnd), WM_SETCURSOR, WParam, LParam) == 0)
            SetCursor(crHSplit);
        return 1;
    }

    case HDM_GETITEMCOUNT:
        return Count();
    case HDM_INSERTITEM: {
        const auto* Item = reinterpret_cast<const HDITEM*>(LParam);
        if (Item == nullptr)
            return -1;
        const int At = std::clamp(Index, 0, Count());
        HDITEM New;
        New.cxy = (Item->mask & HDI_WIDTH) ? std::max(0, Item->cxy) : 0;
        if (Item->mask & HDI_TEXT)
            New.pszText = Item->pszText;
        if (Item->mask & HDI_FORMAT)
            New.fmt = Item->fmt;
        if (Item->mask & HDI_LPARAM)
            New.lParam = Item->lParam;
        Items.insert(Items.begin() + At, New);
        InvalidateRect(Wnd, nullptr, true);
        return At;
    }
    case HDM_DELETEITEM:
        if (!Valid(Index))
            return 0;
        // A drag or press under way would go on with an index that no longer holds.
        if ((Tracking >= 0 || Pressed >= 0) && GetCapture() == Wnd)
            ReleaseCapture();
        Tracking = Pressed = -1;
        Items.erase(Items.begin() + Index);
        InvalidateRect(Wnd, nullptr, true);
        return 1;
    case HDM_GETITEM: {
        auto* Item = reinterpret_cast<HDITEM*>(LParam);
        if (Item == nullptr || !Valid(Index))
            return 0;
        const UINT Mask = Item->mask;
        *Item = Items[Index];
        Item->mask = Mask;
        return 1;
    }
    case HDM_SETITEM: {
        const auto* Item = reinterpret_cast<const HDITEM*>(LParam);
        return Item != nullptr && SetItem(Index, *Item) ? 1 : 0;
    }
    case HDM_LAYOUT: {
        auto* Layout = reinterpret_cast<HDLAYOUT*>(LParam);
        if (Layout == nullptr || Layout->prc == nullptr || Layout->pwpos == nullptr)
            return 0;
        const int H = (GetWindowLong(Wnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : Height();
        *Layout->pwpos =
            Rect(Layout->prc->Left, Layout->prc->Top, Layout->prc->Right, Layout->prc->Top + H);
        Layout->prc->Top += H;
        return 1;
    }
    case HDM_HITTEST: {
        auto* Info = reinterpret_cast<HDHITTESTINFO*>(LParam);
        if (Info == nullptr)
            return -1;
        Info->iItem = HitTest(Info->pt, Info->flags);
        return Info->iItem;
    }
    case HDM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (R == nullptr || !Valid(Index))
            return 0;
        *R = ItemRect(Index);
        return 1;
    }
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterHeaderClass()
{
    RegisterControlClass(HeaderClassName, CS_DBLCLKS, HeaderWndProc);
}

LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Headers().Handle(Wnd, Msg, WParam, LParam);
}

int HeaderHeight(HWND Header)
{
    return Headers().Of(Header).Height();
}
