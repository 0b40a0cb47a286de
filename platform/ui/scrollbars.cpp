// platform/ui/scrollbars.cpp: the state, look, mouse and keys of windows' scroll bars and of
// scroll bar controls.
#include "platform/ui/scrollbars.h"

#include "platform/gfx/color.h"
#include "platform/ui/flatscrollbars.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/nonclientparts.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <memory>

using namespace uiwindow;

namespace {

// The system's own timer id for the repeat of a held arrow or track.
constexpr std::uintptr_t RepeatTimerId = 0xFFFE;
constexpr UINT FirstRepeatDelay = 350;
constexpr UINT RepeatInterval = 50;
constexpr int MinThumbLength = 8;

enum class TPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

TScrollBarData* BarData(TWindowObject& Obj, int Bar)
{
    switch (Bar) {
    case SB_HORZ:
        return &Obj.HScroll;
    case SB_VERT:
        return &Obj.VScroll;
    case SB_CTL:
        return &Obj.CtlScroll;
    default:
        return nullptr;
    }
}

long long Span(const TScrollBarData& D)
{
    return static_cast<long long>(D.Max) - D.Min;
}

int MaxPos(const TScrollBarData& D)
{
    const long long Last = static_cast<long long>(D.Max) - std::max<UINT>(D.Page, 1) + 1;
    return static_cast<int>(std::max<long long>(D.Min, Last));
}

// Whether the range leaves anything to scroll.
bool CanScroll(const TScrollBarData& D)
{
    return Span(D) > 0 && static_cast<long long>(D.Page) <= Span(D);
}

// A bar's parts along its axis, in window coordinates.
struct TBarLayout {
    bool Vert = true;
    TRect Bar;
    int Start = 0, End = 0;
    int TrackStart = 0, TrackEnd = 0;
    bool HasThumb = false;
    int ThumbStart = 0, ThumbLength = 0;

    TRect Span(int From, int To) const
    {
        if (To <= From)
            return TRect();
        return Vert ? Rect(Bar.Left, From, Bar.Right, To) : Rect(From, Bar.Top, To, Bar.Bottom);
    }
    TRect PartRect(TPart Part) const
    {
        switch (Part) {
        case TPart::LineUp:
            return Span(Start, TrackStart);
        case TPart::LineDown:
            return Span(TrackEnd, End);
        case TPart::PageUp:
            return HasThumb ? Span(TrackStart, ThumbStart) : TRect();
        case TPart::PageDown:
            return HasThumb ? Span(ThumbStart + ThumbLength, TrackEnd) : TRect();
        case TPart::Thumb:
            return HasThumb ? Span(ThumbStart, ThumbStart + ThumbLength) : TRect();
        default:
            return TRect();
        }
    }
    TPart PartAt(TPoint P) const
    {
        for (TPart Part :
             {TPart::LineUp, TPart::LineDown, TPart::Thumb, TPart::PageUp, TPart::PageDown})
            if (PtInRect(PartRect(Part), P))
                return Part;
        return TPart::None;
    }
    int Along(TPoint P) const { return Vert ? P.Y : P.X; }
};

bool BarEnabled(const TWindowObject& Obj, const TScrollBarData& D)
{
    return !(Obj.Style & WS_DISABLED) && CanScroll(D) && D.Disabled != ESB_DISABLE_BOTH;
}

TBarLayout Layout(const TWindowObject& Obj, int Bar, const TScrollBarData& D, int Pos)
{
    TBarLayout L;
    if (Bar == SB_CTL) {
        L.Vert = (Obj.Style & SBS_VERT) != 0;
        L.Bar = Obj.Client;
    } else {
        L.Vert = Bar == SB_VERT;
        const TNonClientParts Parts = NonClientParts(Obj);
        L.Bar = L.Vert ? Parts.VBar : Parts.HBar;
    }
    L.Start = L.Vert ? L.Bar.Top : L.Bar.Left;
    L.End = L.Vert ? L.Bar.Bottom : L.Bar.Right;
    const int Thick = L.Vert ? L.Bar.Width() : L.Bar.Height();
    const int Arrow = std::min(Thick, (L.End - L.Start) / 2);
    L.TrackStart = L.Start + Arrow;
    L.TrackEnd = L.End - Arrow;
    const int TrackLength = L.TrackEnd - L.TrackStart;
    if (!BarEnabled(Obj, D))
        return L;
    const long long Count = Span(D) + 1;
    L.ThumbLength =
        D.Page != 0
            ? std::max(static_cast<int>(TrackLength * static_cast<long long>(D.Page) / Count),
                       MinThumbLength)
            : Thick;
    if (L.ThumbLength > TrackLength)
        return L;
    L.HasThumb = true;
    const long long Room = TrackLength - L.ThumbLength;
    const long long Steps = static_cast<long long>(MaxPos(D)) - D.Min;
    const long long At = std::clamp<long long>(static_cast<long long>(Pos) - D.Min, 0, Steps);
    L.ThumbStart = L.TrackStart + (Steps > 0 ? static_cast<int>(At * Room / Steps) : 0);
    return L;
}

// The click or drag that runs (one at a time: it holds the mouse).
struct TTrack {
    HWND Wnd = 0;
    int Bar = SB_VERT;
    TPart Part = TPart::None;
    bool Pressed = false;
    int Grab = 0; // where in the thumb it was taken
};

TTrack& Track()
{
    static TTrack T;
    return T;
}

std::shared_ptr<const TBrushPattern> TrackPattern()
{
    auto Pattern = std::make_shared<TBrushPattern>();
    Pattern->Width = 2;
    Pattern->Height = 2;
    const TColor Light = ColorToRGB(clBtnHighlight);
    const TColor Face = ColorToRGB(clBtnFace);
    Pattern->Pixels = {Light, Face, Face, Light};
    return Pattern;
}

void RedrawBar(HWND Wnd, int Bar)
{
    const TWindowObject* Obj = Find(Wnd);
    if (Obj != nullptr && Bar == SB_CTL) {
        InvalidateRect(Wnd, nullptr, false);
        UpdateWindow(Wnd);
        return;
    }
    if (Obj == nullptr || !IsWindowVisible(Wnd) ||
        !(Obj->Style & (Bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)))
        return;
    if (HDC DC = GetWindowDC(Wnd)) {
        DrawScrollBar(*DC, Wnd, Bar);
        ReleaseDC(Wnd, DC);
    }
}

// Changes the style bits of the bars; the frame is calculated anew when they change.
void ShowBars(HWND Wnd, DWORD Bits, bool Show)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return;
    const DWORD Style = Show ? Obj->Style | Bits : Obj->Style & ~Bits;
    if (Style == Obj->Style)
        return;
    Obj->Style = Style;
    SetWindowPos(Wnd, 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

DWORD StyleBitsOf(int Bar)
{
    switch (Bar) {
    case SB_HORZ:
        return WS_HSCROLL;
    case SB_VERT:
        return WS_VSCROLL;
    case SB_BOTH:
        return WS_HSCROLL | WS_VSCROLL;
    default:
        return 0;
    }
}

void Notify(HWND Wnd, int Bar, UINT Code, int Pos)
{
    const WPARAM WParam = MakeWParam(Code, static_cast<unsigned>(Pos));
    if (Bar == SB_CTL) {
        const bool Vert = (GetWindowLong(Wnd, GWL_STYLE) & SBS_VERT) != 0;
        if (const HWND Parent = GetParent(Wnd))
            SendMessage(Parent, Vert ? WM_VSCROLL : WM_HSCROLL, WParam, static_cast<LPARAM>(Wnd));
        return;
    }
    SendMessage(Wnd, Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WParam, 0);
}

UINT CodeOf(TPart Part)
{
    switch (Part) {
    case TPart::LineUp:
        return SB_LINEUP;
    case TPart::PageUp:
        return SB_PAGEUP;
    case TPart::PageDown:
        return SB_PAGEDOWN;
    default:
        return SB_LINEDOWN;
    }
}

TPoint InWindow(HWND Wnd, TPoint Screen)
{
    TRect R;
    GetWindowRect(Wnd, R);
    return TPoint{Screen.X - R.Left, Screen.Y - R.Top};
}

bool IsMouseMessage(UINT Msg)
{
    return (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL) ||
           (Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCMBUTTONDBLCLK);
}

// Where the thumb dragged to Along (window coordinates of its leading edge) puts the position.
int PosOfThumb(const TBarLayout& L, const TScrollBarData& D, int Along)
{
    const long long Room = L.TrackEnd - L.TrackStart - L.ThumbLength;
    const long long Steps = static_cast<long long>(MaxPos(D)) - D.Min;
    if (Room <= 0 || Steps <= 0)
        return D.Min;
    const long long Offset = std::clamp<long long>(Along - L.TrackStart, 0, Room);
    return static_cast<int>(D.Min + (Offset * Steps + Room / 2) / Room);
}

// The mouse moved to Screen during the action.
void TrackMouse(TPoint Screen)
{
    TTrack& T = Track();
    TWindowObject* Obj = Find(T.Wnd);
    if (Obj == nullptr)
        return;
    TScrollBarData& D = *BarData(*Obj, T.Bar);
    const TPoint P = InWindow(T.Wnd, Screen);
    if (T.Part == TPart::Thumb) {
        const TBarLayout L = Layout(*Obj, T.Bar, D, D.TrackPos);
        const int Pos = PosOfThumb(L, D, L.Along(P) - T.Grab);
        if (Pos == D.TrackPos)
            return;
        D.TrackPos = Pos;
        RedrawBar(T.Wnd, T.Bar);
        Notify(T.Wnd, T.Bar, SB_THUMBTRACK, Pos);
        return;
    }
    const bool Pressed = Layout(*Obj, T.Bar, D, D.Pos).PartAt(P) == T.Part;
    if (Pressed != T.Pressed) {
        T.Pressed = Pressed;
        RedrawBar(T.Wnd, T.Bar);
    }
}

// The repeat timer: the held arrow or track acts again while the mouse stays on it.
void TrackRepeat(TPoint Screen)
{
    TTrack& T = Track();
    SetTimer(T.Wnd, RepeatTimerId, RepeatInterval);
    TrackMouse(Screen);
    if (T.Pressed)
        Notify(T.Wnd, T.Bar, CodeOf(T.Part), 0);
}

void DrawBar(TCanvas& Canvas, TWindowObject& Obj, int Bar, TPoint Shift)
{
    const HWND Wnd = Obj.Handle;
    const TScrollBarData& D = *BarData(Obj, Bar);
    TBarLayout L = Layout(Obj, Bar, D, D.Tracking ? D.TrackPos : D.Pos);
    OffsetRect(L.Bar, Shift.X, Shift.Y);
    const int Move = L.Vert ? Shift.Y : Shift.X;
    L.Start += Move;
    L.End += Move;
    L.TrackStart += Move;
    L.TrackEnd += Move;
    L.ThumbStart += Move;
    if (IsRectEmpty(L.Bar))
        return;
    const TTrack& T = Track();
    const TPart Pressed = T.Wnd == Wnd && T.Bar == Bar && T.Pressed ? T.Part : TPart::None;
    const bool Enabled = !(Obj.Style & WS_DISABLED) && CanScroll(D);
    // The flat look of a window's bar: its style and track colour.
    const TFlatBarLook& Look = Obj.FlatBars;
    const int Style = Bar == SB_CTL || !Look.On ? int(FSB_REGULAR_MODE)
                      : L.Vert                  ? Look.VStyle
                                                : Look.HStyle;
    const bool HasColor = Bar != SB_CTL && Look.On && (L.Vert ? Look.VColorSet : Look.HColorSet);
    const unsigned FlatArrows = Style == FSB_REGULAR_MODE ? 0u : unsigned(DFCS_FLAT);
    const unsigned Up = L.Vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    const unsigned Down = L.Vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    auto ArrowState = [&](TPart Part, UINT DisableBit) {
        unsigned State = FlatArrows;
        if (!Enabled || (D.Disabled & DisableBit))
            State |= DFCS_INACTIVE;
        if (Pressed == Part)
            State |= DFCS_PUSHED | DFCS_FLAT;
        return State;
    };
    Canvas.DrawFrameControl(L.PartRect(TPart::LineUp), DFC_SCROLL,
                            Up | ArrowState(TPart::LineUp, ESB_DISABLE_LTUP));
    Canvas.DrawFrameControl(L.PartRect(TPart::LineDown), DFC_SCROLL,
                            Down | ArrowState(TPart::LineDown, ESB_DISABLE_RTDN));
    if (HasColor) {
        Canvas.Brush()->SetColor(L.Vert ? Look.VColor : Look.HColor);
    } else {
        Canvas.Brush()->SetPattern(TrackPattern());
    }
    Canvas.FillRect(L.Span(L.TrackStart, L.TrackEnd));
    Canvas.Brush()->SetPattern(nullptr);
    if (Pressed == TPart::PageUp || Pressed == TPart::PageDown) {
        Canvas.Brush()->SetColor(cl3DDkShadow);
        Canvas.FillRect(L.PartRect(Pressed));
    }
    if (L.HasThumb) {
        TRect Thumb = L.PartRect(TPart::Thumb);
        Canvas.Brush()->SetColor(clBtnFace);
        Canvas.FillRect(Thumb);
        if (Style == FSB_FLAT_MODE) {
            Canvas.Brush()->SetColor(clBtnShadow);
            Canvas.FrameRect(Thumb);
        } else if (Style == FSB_ENCARTA_MODE) {
            Canvas.DrawEdge(Thumb, BDR_RAISEDINNER, BF_RECT);
        } else {
            Canvas.DrawEdge(Thumb, EDGE_RAISED, BF_RECT);
        }
    }
}

void RunTrack(HWND Wnd, int Bar, TPoint Screen)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || Track().Wnd != 0 || (Obj->Style & WS_DISABLED))
        return;
    TScrollBarData& D = *BarData(*Obj, Bar);
    const TBarLayout L = Layout(*Obj, Bar, D, D.Pos);
    const TPoint P = InWindow(Wnd, Screen);
    const TPart Part = L.PartAt(P);
    if (Part == TPart::None || !BarEnabled(*Obj, D) ||
        (Part == TPart::LineUp && (D.Disabled & ESB_DISABLE_LTUP)) ||
        (Part == TPart::LineDown && (D.Disabled & ESB_DISABLE_RTDN)))
        return;
    Track() = TTrack{Wnd, Bar, Part, true, L.Along(P) - L.ThumbStart};
    SetCapture(Wnd);
    if (Part == TPart::Thumb) {
        D.Tracking = true;
        D.TrackPos = D.Pos;
        RedrawBar(Wnd, Bar);
    } else {
        RedrawBar(Wnd, Bar);
        Notify(Wnd, Bar, CodeOf(Part), 0);
        SetTimer(Wnd, RepeatTimerId, FirstRepeatDelay);
    }

    // The action's own loop: the mouse drives it, the rest of the queue goes on as usual.
    TPoint Mouse = Screen;
    while (IsWindow(Wnd) && GetCapture() == Wnd) {
        TMsg M;
        if (!GetMessage(M, 0, 0, 0)) {
            PostQuitMessage(static_cast<int>(M.wParam));
            break;
        }
        if (IsMouseMessage(M.message)) {
            Mouse = M.pt;
            // The release may come without a move to where it happens.
            if (M.message == WM_LBUTTONUP || M.message == WM_NCLBUTTONUP) {
                if (Part == TPart::Thumb)
                    TrackMouse(Mouse);
                break;
            }
            if (M.message == WM_MOUSEMOVE || M.message == WM_NCMOUSEMOVE)
                TrackMouse(Mouse);
            continue;
        }
        if (M.message == WM_TIMER && M.hwnd == Wnd && M.wParam == RepeatTimerId) {
            TrackRepeat(Mouse);
            continue;
        }
        TranslateMessage(M);
        DispatchMessage(M);
    }

    Track().Part = TPart::None;
    Track().Pressed = false;
    if (IsWindow(Wnd)) {
        KillTimer(Wnd, RepeatTimerId);
        if (Part == TPart::Thumb) {
            Notify(Wnd, Bar, SB_THUMBPOSITION, BarData(Get(Wnd), Bar)->TrackPos);
            if (IsWindow(Wnd))
                BarData(Get(Wnd), Bar)->Tracking = false;
        }
    }
    Track() = TTrack();
    if (IsWindow(Wnd)) {
        Notify(Wnd, Bar, SB_ENDSCROLL, 0);
        if (GetCapture() == Wnd)
            ReleaseCapture();
        RedrawBar(Wnd, Bar);
    }
}

} // namespace

namespace uiwindow {

void DrawScrollBar(TCanvas& Canvas, HWND Wnd, int Bar)
{
    if (TWindowObject* Obj = Find(Wnd))
        DrawBar(Canvas, *Obj, Bar, TPoint{0, 0});
}

void TrackScrollBar(HWND Wnd, int HitCode, TPoint Screen)
{
    RunTrack(Wnd, HitCode == HTVSCROLL ? SB_VERT : SB_HORZ, Screen);
}

} // namespace uiwindow

void DrawScrollBarControl(TCanvas& Canvas, HWND Wnd)
{
    if (TWindowObject* Obj = Find(Wnd))
        DrawBar(Canvas, *Obj, SB_CTL, TPoint{-Obj->Client.Left, -Obj->Client.Top});
}

void TrackScrollBarControl(HWND Wnd, TPoint Client)
{
    ClientToScreen(Wnd, Client);
    RunTrack(Wnd, SB_CTL, Client);
}

bool ScrollBarControlKey(HWND Wnd, WPARAM Key, bool Down)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    UINT Code = 0;
    switch (Key) {
    case VK_LEFT:
    case VK_UP:
        Code = SB_LINEUP;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        Code = SB_LINEDOWN;
        break;
    case VK_PRIOR:
        Code = SB_PAGEUP;
        break;
    case VK_NEXT:
        Code = SB_PAGEDOWN;
        break;
    case VK_HOME:
        Code = SB_TOP;
        break;
    case VK_END:
        Code = SB_BOTTOM;
        break;
    default:
        return false;
    }
    if (!BarEnabled(*Obj, Obj->CtlScroll))
        return true;
    Notify(Wnd, SB_CTL, Down ? Code : SB_ENDSCROLL, 0);
    return true;
}

namespace {

int SetBarInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw, bool Flat)
{
    TWindowObject* Obj = Find(Wnd);
    TScrollBarData* D = Obj != nullptr ? BarData(*Obj, Bar) : nullptr;
    if (D == nullptr)
        return 0;
    if (Info.fMask & SIF_RANGE) {
        D->Min = Info.nMin;
        D->Max = std::max(Info.nMin, Info.nMax);
    }
    bool* Kept = !Obj->FlatBars.On ? nullptr
                 : Bar == SB_VERT  ? &Obj->FlatBars.VPageKept
                 : Bar == SB_HORZ  ? &Obj->FlatBars.HPageKept
                                   : nullptr;
    if ((Info.fMask & SIF_PAGE) && (Flat || Kept == nullptr || !*Kept)) {
        D->Page = Info.nPage;
        if (Flat && Kept != nullptr)
            *Kept = true;
    }
    D->Page = static_cast<UINT>(std::min<long long>(D->Page, Span(*D) + 1));
    if (Info.fMask & SIF_POS)
        D->Pos = Info.nPos;
    D->Pos = std::clamp(D->Pos, D->Min, MaxPos(*D));
    const int Pos = D->Pos;
    if (Bar == SB_CTL) {
        if (Redraw)
            InvalidateRect(Wnd, nullptr, true);
        return Pos;
    }
    const DWORD Bit = StyleBitsOf(Bar);
    if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
        const bool Shown = (Obj->Style & Bit) != 0;
        const bool Show = CanScroll(*D) || (Info.fMask & SIF_DISABLENOSCROLL);
        if (Show != Shown) {
            ShowBars(Wnd, Bit, Show);
            return Pos;
        }
    }
    if (Redraw)
        RedrawBar(Wnd, Bar);
    return Pos;
}

} // namespace

int SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw)
{
    return SetBarInfo(Wnd, Bar, Info, Redraw, false);
}

namespace uiwindow {

int SetFlatScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw)
{
    return SetBarInfo(Wnd, Bar, Info, Redraw, true);
}

} // namespace uiwindow

bool GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info)
{
    TWindowObject* Obj = Find(Wnd);
    const TScrollBarData* D = Obj != nullptr ? BarData(*Obj, Bar) : nullptr;
    if (D == nullptr)
        return false;
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = D->Min;
        Info.nMax = D->Max;
    }
    if (Info.fMask & SIF_PAGE)
        Info.nPage = D->Page;
    if (Info.fMask & SIF_POS)
        Info.nPos = D->Pos;
    if (Info.fMask & SIF_TRACKPOS)
        Info.nTrackPos = D->Tracking ? D->TrackPos : D->Pos;
    return true;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw)
{
    TWindowObject* Obj = Find(Wnd);
    const TScrollBarData* D = Obj != nullptr ? BarData(*Obj, Bar) : nullptr;
    if (D == nullptr)
        return 0;
    const int Old = D->Pos;
    TScrollInfo Info;
    Info.fMask = SIF_POS;
    Info.nPos = Pos;
    SetScrollInfo(Wnd, Bar, Info, Redraw);
    return Old;
}

int GetScrollPos(HWND Wnd, int Bar)
{
    TScrollInfo Info;
    Info.fMask = SIF_POS;
    return GetScrollInfo(Wnd, Bar, Info) ? Info.nPos : 0;
}

bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr || BarData(*Obj, Bar) == nullptr)
        return false;
    TScrollInfo Info;
    Info.fMask = SIF_RANGE;
    Info.nMin = Min;
    Info.nMax = Max;
    SetScrollInfo(Wnd, Bar, Info, Redraw);
    return true;
}

bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max)
{
    TScrollInfo Info;
    Info.fMask = SIF_RANGE;
    if (!GetScrollInfo(Wnd, Bar, Info))
        return false;
    Min = Info.nMin;
    Max = Info.nMax;
    return true;
}

bool ShowScrollBar(HWND Wnd, int Bar, bool Show)
{
    if (Find(Wnd) == nullptr)
        return false;
    if (Bar == SB_CTL) {
        ShowWindow(Wnd, Show ? SW_SHOW : SW_HIDE);
        return true;
    }
    const DWORD Bits = StyleBitsOf(Bar);
    if (Bits == 0)
        return false;
    ShowBars(Wnd, Bits, Show);
    return true;
}

bool EnableScrollBar(HWND Wnd, UINT SBFlags, UINT Arrows)
{
    TWindowObject* Obj = Find(Wnd);
    if (Obj == nullptr)
        return false;
    const int Bar = static_cast<int>(SBFlags);
    std::vector<int> Bars;
    if (Bar == SB_BOTH)
        Bars = {SB_HORZ, SB_VERT};
    else if (BarData(*Obj, Bar) != nullptr)
        Bars = {Bar};
    bool Changed = false;
    for (int Each : Bars) {
        TScrollBarData& D = *BarData(Get(Wnd), Each);
        if (D.Disabled == (Arrows & ESB_DISABLE_BOTH))
            continue;
        D.Disabled = Arrows & ESB_DISABLE_BOTH;
        Changed = true;
        if (Each == SB_CTL)
            InvalidateRect(Wnd, nullptr, true);
        else
            RedrawBar(Wnd, Each);
    }
    return Changed;
}
