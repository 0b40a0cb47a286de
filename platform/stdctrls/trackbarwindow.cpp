#include "platform/stdctrls/trackbarwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/convert.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr std::uintptr_t PageTimer = 1;
constexpr int ChannelInset = 8; // from the ends of the window to the ends of the channel
constexpr int TickGap = 2;      // between the thumb and its ticks
constexpr int TickLength = 3;

// Where things lie, "along" the channel and "across" it; a vertical bar swaps x and y.
struct TLayout {
    bool Vert = false;
    int ThumbWidth = 11;  // along
    int ThumbLength = 20; // across
    int ThumbAcross = 8;  // the thumb's top (or left) edge
    int ChannelStart = ChannelInset, ChannelEnd = ChannelInset;
    int ChannelAcross = 0, ChannelThickness = 4;

    TRect Make(int Along0, int Across0, int Along1, int Across1) const
    {
        return Vert ? Rect(Across0, Along0, Across1, Along1)
                    : Rect(Along0, Across0, Along1, Across1);
    }
    int Span() const { return ChannelEnd - ChannelStart - ThumbWidth; }
};

struct TTrackBarWindow {
    explicit TTrackBarWindow(HWND AWnd) : Wnd(AWnd) {}

    HWND Wnd;
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int LineSize = 1;
    int PageSize = 20;
    int Frequency = 1;
    int SelStart = 0;
    int SelEnd = 0;
    int FixedLength = 20;
    std::vector<int> Tics; // between the ends, sorted
    bool Focused = false;
    enum { None, Thumb, Paging } Tracking = None;
    int DragOffset = 0; // from the thumb's start to the point that took it
    TPoint PagePoint;
    UINT PageCode = TB_PAGEUP;
    bool PageRepeating = false;

    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool Has(DWORD Bits) const { return (Style() & Bits) != 0; }
    int Upper() const { return std::max(Min, Max); }
    int Clamp(int Value) const { return std::clamp(Value, Min, Upper()); }
    bool TicksBefore() const { return !Has(TBS_NOTICKS) && Has(TBS_TOP | TBS_BOTH); }
    bool TicksAfter() const { return !Has(TBS_NOTICKS) && (Has(TBS_BOTH) || !Has(TBS_TOP)); }

    TLayout Layout() const;
    int ThumbStart(const TLayout& L, int Value) const;
    int PosAt(const TLayout& L, int ThumbStartAlong) const;
    TRect ThumbRect() const;
    TRect ChannelRect() const;
    int TicCoordinate(int Value) const;

    void Redraw() { InvalidateRect(Wnd, nullptr, false); }
    void Notify(UINT Code, int Value = 0);
    void MoveTo(int Value, UINT Code);
    void AutoTicks();
    void RangeChanged();
    void PageStep();
    void EndTracking(bool Report);

    void Paint(TCanvas* C);
    void PaintTicks(TCanvas* C, const TLayout& L);
    void PaintThumb(TCanvas* C, const TLayout& L);

    LRESULT KeyDown(WPARAM Key, LPARAM KeyData);
    void MouseDown(TPoint P);
    void MouseMove(TPoint P);
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
};

TWindowStates<TTrackBarWindow>& Bars()
{
    static TWindowStates<TTrackBarWindow> States;
    return States;
}

TLayout TTrackBarWindow::Layout() const
{
    TLayout L;
    L.Vert = Has(TBS_VERT);
    TRect Client;
    GetClientRect(Wnd, Client);
    const int Along = L.Vert ? Client.Height() : Client.Width();
    const int Across = L.Vert ? Client.Width() : Client.Height();
    const int Room = TickGap + TickLength + 1;
    L.ThumbAcross = TicksBefore() ? ChannelInset + Room - 2 : ChannelInset;
    if (Has(TBS_FIXEDLENGTH))
        L.ThumbLength = std::max(4, FixedLength);
    else
        L.ThumbLength = std::clamp(Across - L.ThumbAcross - (TicksAfter() ? Room : 0) - 4, 6, 20);
    L.ThumbWidth = L.ThumbLength / 2 + 1;
    L.ChannelStart = ChannelInset;
    L.ChannelEnd = std::max(L.ChannelStart + L.ThumbWidth + 1, Along - ChannelInset);
    L.ChannelThickness = Has(TBS_ENABLESELRANGE) ? std::min(10, L.ThumbLength - 4) : 4;
    L.ChannelAcross = L.ThumbAcross + (L.ThumbLength - L.ChannelThickness) / 2;
    return L;
}

int TTrackBarWindow::ThumbStart(const TLayout& L, int Value) const
{
    const int Range = Upper() - Min;
    if (Range <= 0)
        return L.ChannelStart;
    return L.ChannelStart + MulDiv(Clamp(Value) - Min, L.Span(), Range);
}

int TTrackBarWindow::PosAt(const TLayout& L, int ThumbStartAlong) const
{
    const int Range = Upper() - Min;
    if (Range <= 0 || L.Span() <= 0)
        return Min;
    return Clamp(Min + MulDiv(ThumbStartAlong - L.ChannelStart, Range, L.Span()));
}

TRect TTrackBarWindow::ThumbRect() const
{
    const TLayout L = Layout();
    const int Start = ThumbStart(L, Pos);
    return L.Make(Start, L.ThumbAcross, Start + L.ThumbWidth, L.ThumbAcross + L.ThumbLength);
}

TRect TTrackBarWindow::ChannelRect() const
{
    const TLayout L = Layout();
    return L.Make(L.ChannelStart, L.ChannelAcross, L.ChannelEnd,
                  L.ChannelAcross + L.ChannelThickness);
}

int TTrackBarWindow::TicCoordinate(int Value) const
{
    const TLayout L = Layout();
    return ThumbStart(L, Value) + L.ThumbWidth / 2;
}

void TTrackBarWindow::Notify(UINT Code, int Value)
{
    if (const HWND Parent = GetParent(Wnd))
        SendMessage(Parent, Has(TBS_VERT) ? WM_VSCROLL : WM_HSCROLL,
                    MakeWParam(Code, static_cast<unsigned>(Value)), static_cast<LPARAM>(Wnd));
}

// The parent hears of every request, also one that meets a bound and moves nothing.
void TTrackBarWindow::MoveTo(int Value, UINT Code)
{
    Value = Clamp(Value);
    if (Value != Pos) {
        Pos = Value;
        Redraw();
    }
    Notify(Code);
}

void TTrackBarWindow::AutoTicks()
{
    if (!Has(TBS_AUTOTICKS))
        return;
    Tics.clear();
    const int Step = std::max(1, Frequency);
    for (long long V = static_cast<long long>(Min) + Step; V < Max; V += Step)
        Tics.push_back(static_cast<int>(V));
    Redraw();
}

void TTrackBarWindow::RangeChanged()
{
    Pos = Clamp(Pos);
    Tics.erase(
        std::remove_if(Tics.begin(), Tics.end(), [&](int V) { return V <= Min || V >= Max; }),
        Tics.end());
    AutoTicks();
    Redraw();
}

// One page towards the point held, while the thumb has not reached it.
void TTrackBarWindow::PageStep()
{
    const TLayout L = Layout();
    const int Point = L.Vert ? PagePoint.Y : PagePoint.X;
    const int Start = ThumbStart(L, Pos);
    if (PageCode == TB_PAGEUP ? Point >= Start : Point < Start + L.ThumbWidth)
        return;
    MoveTo(PageCode == TB_PAGEUP ? Pos - PageSize : Pos + PageSize, PageCode);
}

void TTrackBarWindow::EndTracking(bool Report)
{
    const auto Was = Tracking;
    Tracking = None;
    KillTimer(Wnd, PageTimer);
    if (GetCapture() == Wnd)
        ReleaseCapture();
    if (!Report)
        return;
    if (Was == Thumb)
        Notify(TB_THUMBPOSITION, Pos);
    Notify(TB_ENDTRACK);
    Redraw();
}

// ---- painting

void TTrackBarWindow::PaintTicks(TCanvas* C, const TLayout& L)
{
    if (Has(TBS_NOTICKS))
        return;
    std::vector<int> Values{Min};
    Values.insert(Values.end(), Tics.begin(), Tics.end());
    Values.push_back(Upper());
    C->Pen()->SetColor(clBtnText);
    C->Pen()->SetStyle(psSolid);
    const int After = L.ThumbAcross + L.ThumbLength + TickGap;
    const int Before = L.ThumbAcross - TickGap - TickLength;
    for (const int V : Values) {
        const int At = ThumbStart(L, V) + L.ThumbWidth / 2;
        const int Extra = V == Min || V == Upper() ? 1 : 0; // the ends stand out a little
        if (TicksAfter()) {
            const TRect R = L.Make(At, After, At + 1, After + TickLength + Extra);
            C->Brush()->SetColor(clBtnText);
            C->FillRect(R);
        }
        if (TicksBefore()) {
            const TRect R = L.Make(At, Before - Extra, At + 1, Before + TickLength);
            C->Brush()->SetColor(clBtnText);
            C->FillRect(R);
        }
    }
    // The ends of a selection range are marked by a short tick beside the others.
    if (Has(TBS_ENABLESELRANGE) && SelEnd > SelStart)
        for (const int V : {SelStart, SelEnd}) {
            const int At = ThumbStart(L, V) + L.ThumbWidth / 2;
            const int Across = TicksAfter() ? After + TickLength + 2 : Before - 4;
            C->Brush()->SetColor(clBtnText);
            C->FillRect(L.Make(At - 1, Across, At + 2, Across + 2));
        }
}

void TTrackBarWindow::PaintThumb(TCanvas* C, const TLayout& L)
{
    const int A0 = ThumbStart(L, Pos);
    const int A1 = A0 + L.ThumbWidth - 1; // inclusive ends
    int C0 = L.ThumbAcross;
    int C1 = L.ThumbAcross + L.ThumbLength - 1;
    const bool Pointed = TicksAfter() != TicksBefore();
    const bool PointBefore = Pointed && TicksBefore();
    // Pixels are worked out as if the point were after (below or right) and mirrored otherwise.
    auto Map = [&](int Along, int Across) {
        if (PointBefore)
            Across = C0 + C1 - Across;
        return L.Vert ? TPoint{Across, Along} : TPoint{Along, Across};
    };
    auto Line = [&](int Along0, int Across0, int Along1, int Across1, TColor Color) {
        C->Pen()->SetColor(Color);
        const TPoint From = Map(Along0, Across0), To = Map(Along1, Across1);
        C->MoveTo(From.X, From.Y);
        C->LineTo(To.X, To.Y);
        C->SetPixels(To.X, To.Y, Color);
    };
    const int Half = L.ThumbWidth / 2;
    const int Shoulder = Pointed ? C1 - Half : C1;
    std::vector<TPoint> Outline{Map(A0, C0), Map(A1, C0), Map(A1, Shoulder)};
    if (Pointed)
        Outline.push_back(Map(A0 + Half, C1));
    Outline.push_back(Map(A0, Shoulder));
    const bool Down = Tracking == Thumb;
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(clBtnFace);
    C->Brush()->SetColor(Down ? clBtnHighlight : clBtnFace);
    C->Polygon(Outline);
    Line(A0, C0, A1, C0, clBtnHighlight);
    Line(A0, C0, A0, Shoulder, clBtnHighlight);
    Line(A1, C0, A1, Shoulder, cl3DDkShadow);
    Line(A1 - 1, C0 + 1, A1 - 1, Shoulder, clBtnShadow);
    if (Pointed) {
        Line(A0, Shoulder, A0 + Half, C1, clBtnHighlight);
        Line(A1, Shoulder, A0 + Half, C1, cl3DDkShadow);
        Line(A1 - 1, Shoulder, A0 + Half, C1 - 1, clBtnShadow);
    } else {
        Line(A0, C1, A1, C1, cl3DDkShadow);
        Line(A0 + 1, C1 - 1, A1 - 1, C1 - 1, clBtnShadow);
    }
}

void TTrackBarWindow::Paint(TCanvas* C)
{
    TRect Client;
    GetClientRect(Wnd, Client);
    const TLayout L = Layout();
    C->SaveDC();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Client);
    TRect Channel = ChannelRect();
    C->DrawEdge(Channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    C->Brush()->SetColor(IsWindowEnabled(Wnd) ? clWindow : clBtnFace);
    C->FillRect(Channel);
    if (Has(TBS_ENABLESELRANGE) && SelEnd > SelStart) {
        const int From = ThumbStart(L, SelStart) + L.ThumbWidth / 2;
        const int To = ThumbStart(L, SelEnd) + L.ThumbWidth / 2 + 1;
        const TRect Sel = L.Vert ? Rect(Channel.Left, From, Channel.Right, To)
                                 : Rect(From, Channel.Top, To, Channel.Bottom);
        C->Brush()->SetColor(clHighlight);
        C->FillRect(Sel);
    }
    PaintTicks(C, L);
    if (!Has(TBS_NOTHUMB))
        PaintThumb(C, L);
    if (Focused) {
        C->Brush()->SetColor(clBtnFace);
        C->DrawFocusRect(Client);
    }
    C->RestoreDC(-1);
}

// ---- input

LRESULT TTrackBarWindow::KeyDown(WPARAM Key, LPARAM KeyData)
{
    switch (Key) {
    case VK_LEFT:
    case VK_UP:
        MoveTo(Pos - LineSize, TB_LINEUP);
        return 0;
    case VK_RIGHT:
    case VK_DOWN:
        MoveTo(Pos + LineSize, TB_LINEDOWN);
        return 0;
    case VK_PRIOR:
        MoveTo(Pos - PageSize, TB_PAGEUP);
        return 0;
    case VK_NEXT:
        MoveTo(Pos + PageSize, TB_PAGEDOWN);
        return 0;
    case VK_HOME:
        MoveTo(Min, TB_TOP);
        return 0;
    case VK_END:
        MoveTo(Upper(), TB_BOTTOM);
        return 0;
    default:
        return DefWindowProc(Wnd, WM_KEYDOWN, Key, KeyData);
    }
}

void TTrackBarWindow::MouseDown(TPoint P)
{
    if (GetFocus() != Wnd)
        SetFocus(Wnd);
    if (Bars().Find(Wnd) == nullptr || Tracking != None)
        return;
    const TLayout L = Layout();
    const int Along = L.Vert ? P.Y : P.X;
    const TRect ThumbArea = ThumbRect();
    SetCapture(Wnd);
    if (!Has(TBS_NOTHUMB) && PtInRect(ThumbArea, P)) {
        Tracking = Thumb;
        DragOffset = Along - ThumbStart(L, Pos);
        Redraw();
        return;
    }
    Tracking = Paging;
    PagePoint = P;
    PageCode = Along < ThumbStart(L, Pos) ? TB_PAGEUP : TB_PAGEDOWN;
    PageRepeating = false;
    PageStep();
    SetTimer(Wnd, PageTimer, TrackBarPageFirstDelay);
}

void TTrackBarWindow::MouseMove(TPoint P)
{
    if (Tracking == Paging) {
        PagePoint = P;
        return;
    }
    if (Tracking != Thumb)
        return;
    const TLayout L = Layout();
    const int Value = PosAt(L, (L.Vert ? P.Y : P.X) - DragOffset);
    if (Value == Pos)
        return;
    Pos = Value;
    Redraw();
    Notify(TB_THUMBTRACK, Pos);
}

LRESULT TTrackBarWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Value = static_cast<int>(LParam);
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
    case WM_ENABLE:
        Redraw();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Focused = Msg == WM_SETFOCUS;
        if (!Focused && Tracking != None)
            EndTracking(true);
        Redraw();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        return KeyDown(WParam, LParam);
    case WM_KEYUP:
        switch (WParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            Notify(TB_ENDTRACK);
            return 0;
        default:
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        return 0;
    case WM_LBUTTONUP:
        if (Tracking != None)
            EndTracking(true);
        return 0;
    case WM_CAPTURECHANGED:
        if (Tracking != None && static_cast<HWND>(LParam) != Wnd)
            EndTracking(true);
        return 0;
    case WM_TIMER:
        if (WParam == PageTimer && Tracking == Paging) {
            if (!PageRepeating) {
                PageRepeating = true;
                SetTimer(Wnd, PageTimer, TrackBarPageRepeatDelay);
            }
            PageStep();
        }
        return 0;
    case TBM_GETPOS:
        return Pos;
    case TBM_GETRANGEMIN:
        return Min;
    case TBM_GETRANGEMAX:
        return Max;
    case TBM_SETPOS:
        Pos = Clamp(Value);
        Redraw();
        return 0;
    case TBM_SETRANGE:
        Min = static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(LParam)));
        Max = static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(LParam)));
        RangeChanged();
        return 0;
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
        (Msg == TBM_SETRANGEMIN ? Min : Max) = Value;
        RangeChanged();
        return 0;
    case TBM_SETTIC:
        if (Value <= Min || Value >= Max)
            return 0;
        if (!std::binary_search(Tics.begin(), Tics.end(), Value))
            Tics.insert(std::lower_bound(Tics.begin(), Tics.end(), Value), Value);
        Redraw();
        return 1;
    case TBM_GETTIC:
        return WParam < Tics.size() ? Tics[WParam] : -1;
    case TBM_GETTICPOS:
        return WParam < Tics.size() ? TicCoordinate(Tics[WParam]) : -1;
    case TBM_CLEARTICS:
        Tics.clear();
        Redraw();
        return 0;
    case TBM_GETNUMTICS:
        return Has(TBS_NOTICKS) ? 0 : static_cast<LRESULT>(Tics.size()) + 2;
    case TBM_SETTICFREQ:
        Frequency = std::max(1, static_cast<int>(WParam));
        AutoTicks();
        return 0;
    case TBM_SETSEL:
        SelStart = static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(LParam)));
        SelEnd = static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(LParam)));
        Redraw();
        return 0;
    case TBM_SETSELSTART:
        SelStart = Value;
        Redraw();
        return 0;
    case TBM_SETSELEND:
        SelEnd = Value;
        Redraw();
        return 0;
    case TBM_GETSELSTART:
        return SelStart;
    case TBM_GETSELEND:
        return SelEnd;
    case TBM_CLEARSEL:
        SelStart = SelEnd = 0;
        Redraw();
        return 0;
    case TBM_SETPAGESIZE:
        return std::exchange(PageSize, Value);
    case TBM_GETPAGESIZE:
        return PageSize;
    case TBM_SETLINESIZE:
        return std::exchange(LineSize, Value);
    case TBM_GETLINESIZE:
        return LineSize;
    case TBM_GETTHUMBRECT:
        if (auto* R = reinterpret_cast<TRect*>(LParam))
            *R = ThumbRect();
        return 0;
    case TBM_GETCHANNELRECT:
        if (auto* R = reinterpret_cast<TRect*>(LParam))
            *R = ChannelRect();
        return 0;
    case TBM_SETTHUMBLENGTH:
        FixedLength = std::max(4, static_cast<int>(WParam));
        Redraw();
        return 0;
    case TBM_GETTHUMBLENGTH:
        return Layout().ThumbLength;
    default:
        break;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace

void RegisterTrackBarClass()
{
    RegisterControlClass(TrackBarClassName, CS_DBLCLKS, TrackBarWndProc);
}

LRESULT TrackBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY)
        KillTimer(Wnd, PageTimer);
    return Bars().Handle(Wnd, Msg, WParam, LParam);
}
