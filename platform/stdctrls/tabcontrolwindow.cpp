#include "platform/stdctrls/tabcontrolwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/imagelist.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int TabPadding = 6;  // between a tab's edge and its text, each side
constexpr int Margin = 2;      // room left of the first tab and above the row for the selection
constexpr int PageInset = 4;   // between the control's edge (or the tabs) and the display area
constexpr int ArrowWidth = 16; // each of the two scroll arrows of an overflowing row

struct TTab {
    std::string Text;
    int Image = -1;
    LPARAM Param = 0;
    TRect Rect;  // as laid out, not inflated for the selection; empty when scrolled away
    int Row = 0; // 0 is the row next to the frame
};

class TTabWindow {
public:
    explicit TTabWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd) {}

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

    std::unique_ptr<TFont> Font;

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool Has(DWORD Flag) const { return (Style() & Flag) != 0; }
    bool Bottom() const { return Has(TCS_BOTTOM); }
    bool Buttons() const { return Has(TCS_BUTTONS); }
    int Count() const { return static_cast<int>(Tabs.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    TRect Client() const
    {
        TRect R;
        GetClientRect(Wnd, R);
        return R;
    }
    void Changed() { InvalidateRect(Wnd, nullptr, true); }

    int TabHeight() const;
    int TabWidth(const TTab& Tab) const;
    void Layout();
    int TabsHeight() const { return Count() == 0 ? 0 : Margin + Rows * TabHeight(); }
    TRect FrameRect() const;
    TRect DisplayRect(const TRect& Window) const;
    TRect ArrowRect(bool Right) const;
    TRect DrawnRect(int Index) const; // the selected tab stands out of its row
    int HitTest(TPoint P) const;
    void EnsureVisible(int Index);

    bool Select(int Index); // with the notifications; false when refused
    LRESULT Notify(UINT Code);
    void KeyDown(WPARAM Key);
    void Click(TPoint P);

    void Paint(TCanvas* DC);
    void PaintTab(TCanvas* DC, int Index);
    void PaintButton(TCanvas* DC, int Index);
    void PaintLabel(TCanvas* DC, int Index, TRect R);

    HWND Wnd;
    std::vector<TTab> Tabs;
    TCustomImageList* Images = nullptr;
    int Cur = -1;
    int Hot = -1;
    int First = 0; // the first tab shown by a single row that overflows
    int Rows = 1;
    bool Overflow = false;
    bool Focused = false;
};

TWindowStates<TTabWindow>& TabWindows()
{
    static TWindowStates<TTabWindow> States;
    return States;
}

// The width of a tab's text, its '&' prefixes drawn as underlines.
int LabelWidth(TCanvas* DC, const std::string& Text)
{
    TRect R = Rect(0, 0, 0, 0);
    DC->DrawText(Text, R, DT_CALCRECT | DT_SINGLELINE);
    return R.Width();
}

// ---- layout

int TTabWindow::TabHeight() const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    const int Picture = Images != nullptr ? Images->Height() : 0;
    return std::max(static_cast<int>(Metrics.tmHeight), Picture) + 6;
}

int TTabWindow::TabWidth(const TTab& Tab) const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    int Width = LabelWidth(&Canvas, Tab.Text) + 2 * TabPadding;
    if (Images != nullptr && Tab.Image >= 0)
        Width += Images->Width() + 3;
    return Width;
}

void TTabWindow::Layout()
{
    const TRect C = Client();
    const int Height = TabHeight();
    const int Room = std::max(1, C.Width() - 2 * Margin);
    std::vector<int> Widths;
    int Total = 0;
    for (const TTab& Tab : Tabs) {
        Widths.push_back(TabWidth(Tab));
        Total += Widths.back();
    }
    Rows = 1;
    Overflow = false;
    if (!Has(TCS_MULTILINE)) {
        Overflow = Total > Room;
        if (!Overflow)
            First = 0;
        First = std::clamp(First, 0, std::max(0, Count() - 1));
        int X = Margin;
        for (int I = 0; I < Count(); ++I) {
            Tabs[I].Row = 0;
            if (I < First) {
                Tabs[I].Rect = TRect{};
                continue;
            }
            Tabs[I].Rect = Rect(X, 0, X + Widths[I], Height);
            X += Widths[I];
        }
    } else {
        // Rows filled in order, then each stretched to the full width when there are several.
        std::vector<std::vector<int>> Lines(1);
        int X = 0;
        for (int I = 0; I < Count(); ++I) {
            if (X > 0 && X + Widths[I] > Room) {
                Lines.emplace_back();
                X = 0;
            }
            Lines.back().push_back(I);
            X += Widths[I];
        }
        Rows = static_cast<int>(Lines.size());
        int SelLine = 0;
        for (int L = 0; L < Rows; ++L)
            for (int I : Lines[L])
                if (I == Cur)
                    SelLine = L;
        for (int L = 0; L < Rows; ++L) {
            int Used = 0;
            for (int I : Lines[L])
                Used += Widths[I];
            const int Extra = Rows > 1 ? Room - Used : 0;
            const int N = static_cast<int>(Lines[L].size());
            int Left = Margin;
            for (int K = 0; K < N; ++K) {
                const int I = Lines[L][K];
                const int W = Widths[I] + Extra / N + (K < Extra % N ? 1 : 0);
                Tabs[I].Row = (L - SelLine + Rows) % Rows;
                Tabs[I].Rect = Rect(Left, 0, Left + W, Height);
                Left += W;
            }
        }
    }
    // Rows stack away from the frame: row 0 touches it.
    const int FrameTop = TabsHeight();
    for (TTab& Tab : Tabs) {
        if (IsRectEmpty(Tab.Rect))
            continue;
        const int Top =
            Bottom() ? C.Height() - FrameTop + Tab.Row * Height : FrameTop - (Tab.Row + 1) * Height;
        Tab.Rect.Top = Top;
        Tab.Rect.Bottom = Top + Height;
    }
}

TRect TTabWindow::FrameRect() const
{
    TRect R = Client();
    if (Bottom())
        R.Bottom -= TabsHeight();
    else
        R.Top += TabsHeight();
    return R;
}

TRect TTabWindow::DisplayRect(const TRect& Window) const
{
    TRect R = Window;
    if (Bottom())
        R.Bottom -= TabsHeight();
    else
        R.Top += TabsHeight();
    InflateRect(R, -PageInset, -PageInset);
    return R;
}

TRect TTabWindow::ArrowRect(bool Right) const
{
    const TRect C = Client();
    const int Height = TabHeight() - 2;
    const int Top = Bottom() ? C.Height() - TabsHeight() + 2 : TabsHeight() - Height - 2;
    const int Left = C.Width() - (Right ? ArrowWidth : 2 * ArrowWidth);
    return Rect(Left, Top, Left + ArrowWidth, Top + Height);
}

TRect TTabWindow::DrawnRect(int Index) const
{
    TRect R = Tabs[Index].Rect;
    if (Index == Cur && !Buttons()) {
        InflateRect(R, 2, 0);
        if (Bottom())
            R.Bottom += 2;
        else
            R.Top -= 2;
    }
    return R;
}

int TTabWindow::HitTest(TPoint P) const
{
    if (Overflow && (PtInRect(ArrowRect(false), P) || PtInRect(ArrowRect(true), P)))
        return -1;
    if (Valid(Cur) && !IsRectEmpty(Tabs[Cur].Rect) && PtInRect(DrawnRect(Cur), P))
        return Cur;
    for (int I = 0; I < Count(); ++I)
        if (!IsRectEmpty(Tabs[I].Rect) && PtInRect(Tabs[I].Rect, P))
            return I;
    return -1;
}

void TTabWindow::EnsureVisible(int Index)
{
    if (!Valid(Index) || Has(TCS_MULTILINE))
        return;
    Layout();
    if (!Overflow)
        return;
    if (Index < First) {
        First = Index;
    } else {
        const int Limit = Client().Width() - 2 * ArrowWidth;
        while (First < Index && Tabs[Index].Rect.Right > Limit) {
            ++First;
            Layout();
        }
    }
    Layout();
}

// ---- behaviour

LRESULT TTabWindow::Notify(UINT Code)
{
    NMHDR Header;
    return SendNotify(Wnd, Code, Header);
}

bool TTabWindow::Select(int Index)
{
    if (!Valid(Index) || Index == Cur)
        return false;
    if (Notify(TCN_SELCHANGING) != 0)
        return false;
    // The parent may have changed the tabs meanwhile.
    if (!Valid(Index))
        return false;
    Cur = Index;
    EnsureVisible(Cur);
    Changed();
    Notify(TCN_SELCHANGE);
    return true;
}

void TTabWindow::KeyDown(WPARAM Key)
{
    NMTCKEYDOWN Info;
    Info.wVKey = static_cast<Word>(Key);
    SendNotify(Wnd, TCN_KEYDOWN, Info.hdr);
    switch (Key) {
    case VK_LEFT:
    case VK_UP:
        Select(Cur - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        Select(Cur + 1);
        break;
    default:
        break;
    }
}

void TTabWindow::Click(TPoint P)
{
    Layout();
    if (Overflow) {
        const bool Right = PtInRect(ArrowRect(true), P);
        if (Right || PtInRect(ArrowRect(false), P)) {
            const int Limit = Client().Width() - 2 * ArrowWidth;
            if (!Right && First > 0)
                --First;
            else if (Right && !Tabs.empty() && Tabs.back().Rect.Right > Limit)
                ++First;
            Changed();
            return;
        }
    }
    const int Index = HitTest(P);
    if (!Has(TCS_FOCUSNEVER) && GetFocus() != Wnd)
        SetFocus(Wnd);
    if (Index >= 0)
        Select(Index);
}

// ---- painting

void TTabWindow::PaintLabel(TCanvas* DC, int Index, TRect R)
{
    const TTab& Tab = Tabs[Index];
    const bool Enabled = IsWindowEnabled(Wnd);
    const int TextWidth = LabelWidth(DC, Tab.Text);
    int Width = TextWidth;
    const bool Picture = Images != nullptr && Tab.Image >= 0 && Tab.Image < Images->Count();
    if (Picture)
        Width += Images->Width() + 3;
    int X = R.Left + (R.Width() - Width) / 2;
    const int Y = R.Top + (R.Height() - DC->TextHeight("Ag")) / 2;
    if (Picture) {
        Images->Draw(DC, X, R.Top + (R.Height() - Images->Height()) / 2, Tab.Image, Enabled);
        X += Images->Width() + 3;
    }
    const int TextHeight = DC->TextHeight("Ag");
    auto Label = [&](int Left, int Top) {
        TRect Where = Rect(Left, Top, Left + TextWidth, Top + TextHeight);
        DC->DrawText(Tab.Text, Where, DT_SINGLELINE);
    };
    DC->Brush()->SetStyle(bsClear);
    if (!Enabled) {
        DC->Font()->SetColor(clBtnHighlight);
        Label(X + 1, Y + 1);
        DC->Font()->SetColor(clBtnShadow);
    } else {
        DC->Font()->SetColor(Has(TCS_HOTTRACK) && Index == Hot ? clHotLight : clBtnText);
    }
    Label(X, Y);
    DC->Brush()->SetStyle(bsSolid);
    if (Index == Cur && Focused && !Has(TCS_FOCUSNEVER)) {
        TRect Focus = Rect(X - 3, Y - 1, X + TextWidth + 3, Y + TextHeight + 1);
        DC->DrawFocusRect(Focus);
    }
}

void TTabWindow::PaintButton(TCanvas* DC, int Index)
{
    TRect R = Tabs[Index].Rect;
    InflateRect(R, -1, -1);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(R);
    TRect Edge = R;
    DC->DrawEdge(Edge, Index == Cur ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (Index == Cur)
        OffsetRect(R, 1, 1);
    PaintLabel(DC, Index, R);
}

void TTabWindow::PaintTab(TCanvas* DC, int Index)
{
    const TRect R = DrawnRect(Index);
    const bool Selected = Index == Cur;
    // The selected tab runs into the frame, over its edge.
    TRect Fill = R;
    if (Selected) {
        if (Bottom())
            Fill.Top -= 2;
        else
            Fill.Bottom += 2;
    }
    if (!Selected) {
        if (Bottom())
            Fill.Bottom -= 2;
        else
            Fill.Top += 2;
    }
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(Rect(Fill.Left + 1, Fill.Top, Fill.Right - 1, Fill.Bottom));
    const int L = Fill.Left, Rt = Fill.Right - 1;
    if (!Bottom()) {
        const int T = Fill.Top, B = Fill.Bottom - 1;
        DC->Pen()->SetColor(clBtnHighlight);
        DC->MoveTo(L, B);
        DC->LineTo(L, T + 2);
        DC->LineTo(L + 2, T);
        DC->LineTo(Rt - 1, T);
        DC->Pen()->SetColor(clBtnShadow);
        DC->MoveTo(Rt - 1, T + 1);
        DC->LineTo(Rt - 1, B + 1);
        DC->Pen()->SetColor(cl3DDkShadow);
        DC->MoveTo(Rt, T + 2);
        DC->LineTo(Rt, B + 1);
    } else {
        const int T = Fill.Top, B = Fill.Bottom - 1;
        DC->Pen()->SetColor(clBtnHighlight);
        DC->MoveTo(L, T);
        DC->LineTo(L, B - 1);
        DC->Pen()->SetColor(clBtnShadow);
        DC->MoveTo(L + 1, B - 1);
        DC->LineTo(Rt - 1, B - 1);
        DC->MoveTo(Rt - 1, T);
        DC->LineTo(Rt - 1, B - 1);
        DC->Pen()->SetColor(cl3DDkShadow);
        DC->MoveTo(L + 2, B);
        DC->LineTo(Rt - 1, B);
        DC->LineTo(Rt + 1, B - 2);
        DC->MoveTo(Rt, T);
        DC->LineTo(Rt, B - 1);
    }
    TRect Label = R;
    if (Selected) {
        if (Bottom())
            Label.Top += 1;
        else
            Label.Bottom -= 1;
    } else if (Bottom()) {
        Label.Bottom -= 2;
    } else {
        Label.Top += 2;
    }
    PaintLabel(DC, Index, Label);
}

void TTabWindow::Paint(TCanvas* DC)
{
    Layout();
    const TRect C = Client();
    DC->SetFont(Font.get());
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(C);
    if (!Buttons()) {
        TRect Frame = FrameRect();
        DC->DrawEdge(Frame, EDGE_RAISED, BF_RECT);
    }
    // An overflowing row is cut where the arrows begin.
    const int Limit = Overflow ? C.Width() - 2 * ArrowWidth : C.Width();
    for (int I = 0; I < Count(); ++I) {
        if (I == Cur || IsRectEmpty(Tabs[I].Rect) || Tabs[I].Rect.Left >= Limit)
            continue;
        if (Buttons())
            PaintButton(DC, I);
        else
            PaintTab(DC, I);
        DC->SetFont(Font.get());
    }
    if (Valid(Cur) && !IsRectEmpty(Tabs[Cur].Rect) && Tabs[Cur].Rect.Left < Limit) {
        if (Buttons())
            PaintButton(DC, Cur);
        else
            PaintTab(DC, Cur);
    }
    if (Overflow) {
        // What lies under the arrows, then the arrows themselves.
        TRect Under = Rect(Limit, 0, C.Width(), TabsHeight());
        if (Bottom())
            Under = Rect(Limit, C.Height() - TabsHeight() + 2, C.Width(), C.Height());
        DC->Brush()->SetColor(clBtnFace);
        DC->FillRect(Under);
        const bool AtStart = First == 0;
        const bool AtEnd = Tabs.empty() || Tabs.back().Rect.Right <= Limit;
        DC->DrawFrameControl(ArrowRect(false), DFC_SCROLL,
                             DFCS_SCROLLLEFT | (AtStart ? unsigned(DFCS_INACTIVE) : 0u));
        DC->DrawFrameControl(ArrowRect(true), DFC_SCROLL,
                             DFCS_SCROLLRIGHT | (AtEnd ? unsigned(DFCS_INACTIVE) : 0u));
    }
}

// ---- the procedure

LRESULT TTabWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Index = static_cast<int>(static_cast<LPARAM>(WParam));
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Layout();
        EnsureVisible(Cur);
        Changed();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Focused = Msg == WM_SETFOCUS;
        Changed();
        return 0;
    case WM_ENABLE:
        Changed();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Click(TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return 0;
    case WM_MOUSEMOVE:
        if (Has(TCS_HOTTRACK)) {
            Layout();
            const int Now = HitTest(TPoint{GetXLParam(LParam), GetYLParam(LParam)});
            if (Now != Hot) {
                Hot = Now;
                Changed();
            }
        }
        return 0;
    case WM_MOUSELEAVE:
        if (Hot != -1) {
            Hot = -1;
            Changed();
        }
        return 0;
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(Images);
    case TCM_SETIMAGELIST: {
        TCustomImageList* Previous = Images;
        Images = reinterpret_cast<TCustomImageList*>(LParam);
        Changed();
        return reinterpret_cast<LRESULT>(Previous);
    }
    case TCM_GETITEMCOUNT:
        return Count();
    case TCM_GETITEM: {
        auto* Item = reinterpret_cast<TCITEM*>(LParam);
        if (!Valid(Index) || Item == nullptr)
            return 0;
        const TTab& Tab = Tabs[Index];
        if ((Item->mask & TCIF_TEXT) && Item->pszText != nullptr && Item->cchTextMax > 0) {
            const std::size_t N =
                std::min(Tab.Text.size(), static_cast<std::size_t>(Item->cchTextMax - 1));
            std::memcpy(Item->pszText, Tab.Text.data(), N);
            Item->pszText[N] = '\0';
        }
        if (Item->mask & TCIF_IMAGE)
            Item->iImage = Tab.Image;
        if (Item->mask & TCIF_PARAM)
            Item->lParam = Tab.Param;
        return 1;
    }
    case TCM_SETITEM:
    case TCM_INSERTITEM: {
        const auto* Item = reinterpret_cast<const TCITEM*>(LParam);
        if (Item == nullptr)
            return Msg == TCM_SETITEM ? 0 : -1;
        TTab Tab;
        int At = Index;
        if (Msg == TCM_SETITEM) {
            if (!Valid(Index))
                return 0;
            Tab = Tabs[Index];
        } else {
            if (Index < 0)
                return -1;
            At = std::min(Index, Count());
        }
        if ((Item->mask & TCIF_TEXT) && Item->pszText != nullptr)
            Tab.Text = Item->pszText;
        if (Item->mask & TCIF_IMAGE)
            Tab.Image = Item->iImage;
        if (Item->mask & TCIF_PARAM)
            Tab.Param = Item->lParam;
        if (Msg == TCM_SETITEM) {
            Tabs[Index] = Tab;
        } else {
            Tabs.insert(Tabs.begin() + At, Tab);
            if (Cur >= At)
                ++Cur;
        }
        Changed();
        return Msg == TCM_SETITEM ? 1 : At;
    }
    case TCM_DELETEITEM:
        if (!Valid(Index))
            return 0;
        Tabs.erase(Tabs.begin() + Index);
        if (Cur == Index)
            Cur = -1;
        else if (Cur > Index)
            --Cur;
        if (Hot >= Count())
            Hot = -1;
        Changed();
        return 1;
    case TCM_DELETEALLITEMS:
        Tabs.clear();
        Cur = Hot = -1;
        First = 0;
        Changed();
        return 1;
    case TCM_GETITEMRECT: {
        auto* Out = reinterpret_cast<TRect*>(LParam);
        if (!Valid(Index) || Out == nullptr)
            return 0;
        Layout();
        *Out = Tabs[Index].Rect;
        return 1;
    }
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return Cur;
    case TCM_SETCURSEL: {
        if (Index < -1 || Index >= Count())
            return -1;
        const int Previous = Cur;
        Cur = Index;
        EnsureVisible(Cur);
        Changed();
        return Previous;
    }
    case TCM_SETCURFOCUS:
        Select(Index);
        return 0;
    case TCM_HITTEST: {
        auto* Info = reinterpret_cast<TCHITTESTINFO*>(LParam);
        if (Info == nullptr)
            return -1;
        Layout();
        const int Found = HitTest(Info->pt);
        Info->flags = Found >= 0 ? UINT(TCHT_ONITEM) : UINT(TCHT_NOWHERE);
        return Found;
    }
    case TCM_ADJUSTRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (R == nullptr)
            return 0;
        Layout();
        if (WParam == 0) {
            *R = DisplayRect(*R);
        } else {
            InflateRect(*R, PageInset, PageInset);
            if (Bottom())
                R->Bottom += TabsHeight();
            else
                R->Top -= TabsHeight();
        }
        return 0;
    }
    case TCM_GETROWCOUNT:
        Layout();
        return Rows;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterTabControlClass()
{
    RegisterControlClass(TabControlClassName, CS_DBLCLKS, TabControlWndProc);
}

LRESULT TabControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return TabWindows().Handle(Wnd, Msg, WParam, LParam);
}

void SetTabControlFont(HWND Tabs, const TFont* Font)
{
    TabWindows().Of(Tabs).Font->Assign(Font);
    InvalidateRect(Tabs, nullptr, true);
}
