// platform/stdctrls/monthcalwindow.cpp: the "SysMonthCal32" window class: the MCM_ messages,
// the selection and the view moved by mouse and keys, the scroll buttons' auto-repeat, and the
// MCN_ notifications to the parent.
#include "platform/stdctrls/monthcalwindow.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/rop.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/monthcalstate.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/sound.h"
#include "platform/ui/timers.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <vector>

using namespace monthcal;

namespace {

constexpr std::uintptr_t RepeatTimer = 1;
// A held scroll button waits before it repeats, then steps at the slower pace a whole page of
// months can be read at.
constexpr UINT RepeatDelay = 500;
constexpr UINT RepeatInterval = 250;
constexpr int FirstMonthNumber = 1601 * 12;
constexpr int LastMonthNumber = 9999 * 12 + 11;

TWindowStates<TMonthCal>& Calendars()
{
    static TWindowStates<TMonthCal> States;
    return States;
}

bool MultiSelect(const TMonthCal& S)
{
    return (S.Style() & MCS_MULTISELECT) != 0;
}

void Redraw(const TMonthCal& S)
{
    InvalidateRect(S.Wnd, nullptr, false);
}

void NotifySelection(const TMonthCal& S, UINT Code)
{
    NMSELCHANGE Change;
    Change.stSelStart = ToSystemTime(S.SelStart);
    Change.stSelEnd = ToSystemTime(S.SelEnd);
    SendNotify(S.Wnd, Code, Change.nmhdr);
}

// The months whose days show, partly shown neighbours included.
int DayStateRange(const TMonthCal& S, int& FirstMonth)
{
    FirstMonth = MonthOfDay(FirstShownDay(S, S.FirstMonth));
    const int LastMonth = S.FirstMonth + S.Visible - 1;
    const int LastShown = FirstShownDay(S, LastMonth) + 41;
    return MonthOfDay(LastShown) - FirstMonth + 1;
}

void StoreDayState(TMonthCal& S, int FirstMonth, int Count, const MONTHDAYSTATE* States)
{
    S.Bold.clear();
    for (int I = 0; I < Count; ++I)
        S.Bold[FirstMonth + I] = States[I];
}

// Asks the parent for the bold days of every month that shows.
void RequestDayState(TMonthCal& S)
{
    S.DayStateWanted = false;
    if (!(S.Style() & MCS_DAYSTATE))
        return;
    int First = 0;
    const int Count = DayStateRange(S, First);
    NMDAYSTATE Request;
    Request.stStart = ToSystemTime(FirstDayOfMonth(First));
    Request.cDayState = Count;
    const HWND Wnd = S.Wnd;
    SendNotify(Wnd, MCN_GETDAYSTATE, Request.nmhdr);
    TMonthCal* Still = Calendars().Find(Wnd);
    if (Still != nullptr && Request.prgDayState != nullptr)
        StoreDayState(*Still, First, Count, Request.prgDayState);
}

void Relayout(TMonthCal& S)
{
    S.Visible = Measure(S).Count();
}

// Shows FirstMonth first (within the limits and the calendar's years); true when it moved.
bool SetView(TMonthCal& S, int FirstMonth)
{
    if (S.Limits & GDTR_MAX)
        FirstMonth = std::min(FirstMonth, MonthOfDay(S.MaxDay) - S.Visible + 1);
    if (S.Limits & GDTR_MIN)
        FirstMonth = std::max(FirstMonth, MonthOfDay(S.MinDay));
    FirstMonth = std::clamp(FirstMonth, FirstMonthNumber, LastMonthNumber - S.Visible + 1);
    if (FirstMonth == S.FirstMonth)
        return false;
    S.FirstMonth = FirstMonth;
    S.Bold.clear();
    S.DayStateWanted = true;
    Redraw(S);
    return true;
}

bool EnsureVisible(TMonthCal& S, int Day)
{
    const int Month = MonthOfDay(Day);
    if (Month < S.FirstMonth)
        return SetView(S, Month);
    if (Month > S.FirstMonth + S.Visible - 1)
        return SetView(S, Month - S.Visible + 1);
    return false;
}

// A range from Anchor towards Cur, cut to the maximum count; a single day without multi-select.
void Select(TMonthCal& S, int Anchor, int Cur)
{
    Cur = S.ClampToLimits(Cur);
    if (!MultiSelect(S))
        Anchor = Cur;
    if (Cur - Anchor >= S.MaxSel)
        Cur = Anchor + S.MaxSel - 1;
    else if (Anchor - Cur >= S.MaxSel)
        Cur = Anchor - S.MaxSel + 1;
    S.Anchor = Anchor;
    S.Cur = Cur;
    S.SelStart = std::min(Anchor, Cur);
    S.SelEnd = std::max(Anchor, Cur);
    Redraw(S);
}

// Moves the selection as the user does: the view follows, the parent hears of it.
void UserSelect(TMonthCal& S, int Anchor, int Cur)
{
    const int OldStart = S.SelStart;
    const int OldEnd = S.SelEnd;
    const int OldFirst = S.FirstMonth;
    Select(S, Anchor, Cur);
    EnsureVisible(S, S.Cur);
    if (S.DayStateWanted)
        RequestDayState(S);
    if (S.SelStart != OldStart || S.SelEnd != OldEnd || S.FirstMonth != OldFirst)
        NotifySelection(S, MCN_SELCHANGE);
}

// The scroll buttons: the view moves by the step, the selection moves with it when it would
// leave the view.
void ScrollBy(TMonthCal& S, int By)
{
    const int Old = S.FirstMonth;
    if (!SetView(S, S.FirstMonth + By)) {
        MessageBeep(0);
        return;
    }
    const int Moved = S.FirstMonth - Old;
    const int Last = S.FirstMonth + S.Visible - 1;
    if (MonthOfDay(S.Cur) < S.FirstMonth || MonthOfDay(S.Cur) > Last) {
        const int Length = S.Cur - S.Anchor;
        int Cur = S.ClampToLimits(AddMonths(S.Cur, Moved));
        int Anchor = S.ClampToLimits(Cur - Length);
        Select(S, Anchor, Cur);
    }
    RequestDayState(S);
    NotifySelection(S, MCN_SELCHANGE);
}

int KeyTarget(const TMonthCal& S, WPARAM Key, bool Ctrl)
{
    int Y = 0, M = 0, D = 0;
    SplitDay(S.Cur, Y, M, D);
    switch (Key) {
    case VK_LEFT:
        return S.Cur - 1;
    case VK_RIGHT:
        return S.Cur + 1;
    case VK_UP:
        return S.Cur - 7;
    case VK_DOWN:
        return S.Cur + 7;
    case VK_PRIOR:
        return AddMonths(S.Cur, Ctrl ? -12 : -1);
    case VK_NEXT:
        return AddMonths(S.Cur, Ctrl ? 12 : 1);
    case VK_HOME:
        return DayNumber(Y, M, 1);
    case VK_END:
        return DayNumber(Y, M, 31);
    default:
        return S.Cur;
    }
}

bool KeyDown(TMonthCal& S, WPARAM Key)
{
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: {
        const bool Shift = GetKeyState(VK_SHIFT) < 0;
        const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
        const int Target = KeyTarget(S, Key, Ctrl);
        if (Target < FirstDayOfMonth(FirstMonthNumber) ||
            Target > FirstDayOfMonth(LastMonthNumber) + 30)
            return true;
        UserSelect(S, Shift && MultiSelect(S) ? S.Anchor : Target, Target);
        return true;
    }
    case VK_RETURN:
        NotifySelection(S, MCN_SELECT);
        return true;
    default:
        return false;
    }
}

void MouseDown(TMonthCal& S, const TPoint& P)
{
    const HWND Wnd = S.Wnd;
    if (GetFocus() != Wnd)
        SetFocus(Wnd);
    TMonthCal* Still = Calendars().Find(Wnd);
    if (Still == nullptr)
        return;
    const MCHITTESTINFO Hit = HitTest(*Still, P);
    int Day = 0;
    switch (Hit.uHit) {
    case MCHT_TITLEBTNPREV:
    case MCHT_TITLEBTNNEXT:
        Still->HeldButton = Hit.uHit;
        Still->ButtonDown = true;
        SetCapture(Wnd);
        SetTimer(Wnd, RepeatTimer, RepeatDelay);
        ScrollBy(*Still, Hit.uHit == MCHT_TITLEBTNPREV ? -Still->MonthStep() : Still->MonthStep());
        break;
    case MCHT_CALENDARDATE:
    case MCHT_CALENDARDATEPREV:
    case MCHT_CALENDARDATENEXT:
        if (!FromSystemTime(Hit.st, Day) || !Still->InLimits(Day))
            break;
        Still->Dragging = true;
        SetCapture(Wnd);
        UserSelect(*Still, Day, Day);
        break;
    case MCHT_TODAYLINK:
        if (!Still->InLimits(Still->Today()))
            break;
        UserSelect(*Still, Still->Today(), Still->Today());
        if ((Still = Calendars().Find(Wnd)) != nullptr)
            NotifySelection(*Still, MCN_SELECT);
        break;
    default:
        break;
    }
}

void MouseMove(TMonthCal& S, const TPoint& P)
{
    if (S.HeldButton != 0) {
        const MCHITTESTINFO Hit = HitTest(S, P);
        const bool Down = Hit.uHit == S.HeldButton;
        if (Down != S.ButtonDown) {
            S.ButtonDown = Down;
            Redraw(S);
        }
        return;
    }
    if (!S.Dragging)
        return;
    const MCHITTESTINFO Hit = HitTest(S, P);
    int Day = 0;
    if ((Hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && FromSystemTime(Hit.st, Day) &&
        S.InLimits(Day))
        UserSelect(S, MultiSelect(S) ? S.Anchor : Day, Day);
}

void EndTracking(TMonthCal& S)
{
    if (S.HeldButton != 0) {
        KillTimer(S.Wnd, RepeatTimer);
        S.HeldButton = 0;
        S.ButtonDown = false;
        Redraw(S);
    }
    S.Dragging = false;
}

void MouseUp(TMonthCal& S)
{
    const bool Picked = S.Dragging;
    const HWND Wnd = S.Wnd;
    EndTracking(S);
    if (GetCapture() == Wnd)
        ReleaseCapture();
    if (TMonthCal* Still = Calendars().Find(Wnd); Picked && Still != nullptr)
        NotifySelection(*Still, MCN_SELECT);
}

void Timer(TMonthCal& S)
{
    if (S.HeldButton == 0) {
        KillTimer(S.Wnd, RepeatTimer);
        return;
    }
    SetTimer(S.Wnd, RepeatTimer, RepeatInterval);
    if (S.ButtonDown)
        ScrollBy(S, S.HeldButton == MCHT_TITLEBTNPREV ? -S.MonthStep() : S.MonthStep());
}

void PaintWindow(TMonthCal& S, TCanvas* Target)
{
    if (S.DayStateWanted) {
        const HWND Wnd = S.Wnd;
        RequestDayState(S);
        if (Calendars().Find(Wnd) == nullptr)
            return;
    }
    TRect Client;
    GetClientRect(S.Wnd, Client);
    if (Client.Width() <= 0 || Client.Height() <= 0)
        return;
    if (Target != nullptr) {
        Target->SaveDC();
        Paint(S, Target, Client);
        Target->RestoreDC(-1);
        return;
    }
    // Drawn whole into a bitmap and copied at once: nothing half drawn ever shows.
    TBitmap Buffer;
    Buffer.SetSize(Client.Width(), Client.Height());
    Paint(S, Buffer.Canvas(), Client);
    TPaintStruct PS;
    TCanvas* DC = BeginPaint(S.Wnd, PS);
    if (DC != nullptr)
        DC->BitBlt(0, 0, Client.Width(), Client.Height(), Buffer.Canvas(), 0, 0, SRCCOPY);
    EndPaint(S.Wnd, PS);
}

// ---- the MCM_ messages

LRESULT GetSel(const TMonthCal& S, LPARAM LParam)
{
    auto* Time = reinterpret_cast<TSystemTime*>(LParam);
    if (Time == nullptr || MultiSelect(S))
        return 0;
    *Time = ToSystemTime(S.Cur);
    return 1;
}

LRESULT SetSel(TMonthCal& S, LPARAM LParam)
{
    const auto* Time = reinterpret_cast<const TSystemTime*>(LParam);
    int Day = 0;
    if (Time == nullptr || MultiSelect(S) || !FromSystemTime(*Time, Day) || !S.InLimits(Day))
        return 0;
    Select(S, Day, Day);
    EnsureVisible(S, Day);
    return 1;
}

LRESULT GetSelRange(const TMonthCal& S, LPARAM LParam)
{
    auto* Times = reinterpret_cast<TSystemTime*>(LParam);
    if (Times == nullptr || !MultiSelect(S))
        return 0;
    Times[0] = ToSystemTime(S.SelStart);
    Times[1] = ToSystemTime(S.SelEnd);
    return 1;
}

LRESULT SetSelRange(TMonthCal& S, LPARAM LParam)
{
    const auto* Times = reinterpret_cast<const TSystemTime*>(LParam);
    int A = 0, B = 0;
    if (Times == nullptr || !MultiSelect(S) || !FromSystemTime(Times[0], A) ||
        !FromSystemTime(Times[1], B))
        return 0;
    if (A > B)
        std::swap(A, B);
    if (B - A >= S.MaxSel || !S.InLimits(A) || !S.InLimits(B))
        return 0;
    Select(S, A, B);
    EnsureVisible(S, A);
    return 1;
}

LRESULT SetMaxSelCount(TMonthCal& S, WPARAM Count)
{
    if (!MultiSelect(S) || Count < 1 || Count > 366)
        return 0;
    S.MaxSel = static_cast<int>(Count);
    Select(S, S.Anchor, S.Cur);
    return 1;
}

LRESULT GetMonthRange(const TMonthCal& S, WPARAM Which, LPARAM LParam)
{
    auto* Times = reinterpret_cast<TSystemTime*>(LParam);
    int First = S.FirstMonth;
    int Count = S.Visible;
    int FirstDay = FirstDayOfMonth(S.FirstMonth);
    int LastMonth = S.FirstMonth + S.Visible - 1;
    int LastDay = FirstDayOfMonth(LastMonth) + DaysInMonthNumber(LastMonth) - 1;
    if (Which == GMR_DAYSTATE) {
        Count = DayStateRange(S, First);
        FirstDay = FirstShownDay(S, S.FirstMonth);
        LastDay = FirstShownDay(S, LastMonth) + 41;
    }
    if (Times != nullptr) {
        Times[0] = ToSystemTime(FirstDay);
        Times[1] = ToSystemTime(LastDay);
    }
    return Count;
}

LRESULT SetDayState(TMonthCal& S, WPARAM Count, LPARAM LParam)
{
    const auto* States = reinterpret_cast<const MONTHDAYSTATE*>(LParam);
    int First = 0;
    const int Months = DayStateRange(S, First);
    if (States == nullptr || static_cast<int>(Count) != Months)
        return 0;
    StoreDayState(S, First, Months, States);
    Redraw(S);
    return 1;
}

LRESULT SetColor(TMonthCal& S, WPARAM Index, LPARAM Color)
{
    if (Index > MCSC_TRAILINGTEXT)
        return -1;
    const TColor Old = S.Colors[Index];
    S.Colors[Index] = static_cast<TColor>(Color);
    Redraw(S);
    return Old;
}

LRESULT SetToday(TMonthCal& S, LPARAM LParam)
{
    const auto* Time = reinterpret_cast<const TSystemTime*>(LParam);
    int Day = 0;
    if (Time == nullptr)
        S.TodaySet = false;
    else if (FromSystemTime(*Time, Day)) {
        S.TodaySet = true;
        S.TodayDay = Day;
    }
    Redraw(S);
    return 0;
}

LRESULT SetFirstDayOfWeek(TMonthCal& S, LPARAM Day)
{
    const int Old = S.FirstDay;
    if (Day < 0 || Day > 6)
        return Old;
    S.FirstDay = static_cast<int>(Day);
    if (Old != S.FirstDay) {
        S.DayStateWanted = true;
        Redraw(S);
    }
    return Old;
}

LRESULT GetRange(const TMonthCal& S, LPARAM LParam)
{
    if (auto* Times = reinterpret_cast<TSystemTime*>(LParam)) {
        Times[0] = (S.Limits & GDTR_MIN) ? ToSystemTime(S.MinDay) : TSystemTime{};
        Times[1] = (S.Limits & GDTR_MAX) ? ToSystemTime(S.MaxDay) : TSystemTime{};
    }
    return S.Limits;
}

LRESULT SetRange(TMonthCal& S, WPARAM Flags, LPARAM LParam)
{
    const auto* Times = reinterpret_cast<const TSystemTime*>(LParam);
    int Min = 0, Max = 0;
    if ((Flags & (GDTR_MIN | GDTR_MAX)) != 0 && Times == nullptr)
        return 0;
    if ((Flags & GDTR_MIN) && !FromSystemTime(Times[0], Min))
        return 0;
    if ((Flags & GDTR_MAX) && !FromSystemTime(Times[1], Max))
        return 0;
    if ((Flags & GDTR_MIN) && (Flags & GDTR_MAX) && Min > Max)
        return 0;
    S.Limits = static_cast<UINT>(Flags) & (GDTR_MIN | GDTR_MAX);
    S.MinDay = Min;
    S.MaxDay = Max;
    Select(S, S.ClampToLimits(S.Anchor), S.Cur);
    if (!EnsureVisible(S, S.Cur))
        SetView(S, S.FirstMonth);
    Redraw(S);
    return 1;
}

LRESULT GetMaxTodayWidth(const TMonthCal& S)
{
    TBitmap Probe;
    Probe.SetSize(1, 1);
    TCanvas* C = Probe.Canvas();
    const TLayout L = Measure(S, C);
    TFontStyles Bold = C->Font()->Style();
    Bold.Include(fsBold);
    C->Font()->SetStyle(Bold);
    return L.CellW + C->TextWidth(TodayText(S));
}

LRESULT CalendarMessage(TMonthCal& S, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case MCM_GETCURSEL:
        return GetSel(S, LParam);
    case MCM_SETCURSEL:
        return SetSel(S, LParam);
    case MCM_GETMAXSELCOUNT:
        return S.MaxSel;
    case MCM_SETMAXSELCOUNT:
        return SetMaxSelCount(S, WParam);
    case MCM_GETSELRANGE:
        return GetSelRange(S, LParam);
    case MCM_SETSELRANGE:
        return SetSelRange(S, LParam);
    case MCM_GETMONTHRANGE:
        return GetMonthRange(S, WParam, LParam);
    case MCM_SETDAYSTATE:
        return SetDayState(S, WParam, LParam);
    case MCM_GETMINREQRECT:
        if (auto* R = reinterpret_cast<TRect*>(LParam)) {
            *R = Measure(S).MinReq();
            return 1;
        }
        return 0;
    case MCM_SETCOLOR:
        return SetColor(S, WParam, LParam);
    case MCM_GETCOLOR:
        return WParam <= MCSC_TRAILINGTEXT ? S.Colors[WParam] : -1;
    case MCM_SETTODAY:
        return SetToday(S, LParam);
    case MCM_GETTODAY:
        if (auto* Time = reinterpret_cast<TSystemTime*>(LParam)) {
            *Time = ToSystemTime(S.Today());
            return 1;
        }
        return 0;
    case MCM_HITTEST:
        if (auto* Info = reinterpret_cast<MCHITTESTINFO*>(LParam)) {
            const MCHITTESTINFO Hit = HitTest(S, Info->pt);
            Info->uHit = Hit.uHit;
            Info->st = Hit.st;
            return Hit.uHit;
        }
        return -1;
    case MCM_SETFIRSTDAYOFWEEK:
        return SetFirstDayOfWeek(S, LParam);
    case MCM_GETFIRSTDAYOFWEEK:
        return S.FirstDay;
    case MCM_GETRANGE:
        return GetRange(S, LParam);
    case MCM_SETRANGE:
        return SetRange(S, WParam, LParam);
    case MCM_GETMONTHDELTA:
        return S.MonthStep();
    case MCM_SETMONTHDELTA: {
        const int Old = S.MonthStep();
        S.Delta = static_cast<int>(WParam);
        return Old;
    }
    case MCM_GETMAXTODAYWIDTH:
        return GetMaxTodayWidth(S);
    default:
        return 0;
    }
}

} // namespace

LRESULT MonthCalWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY) {
        KillTimer(Wnd, RepeatTimer);
        Calendars().Erase(Wnd);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    TMonthCal& S = Calendars().Of(Wnd);
    if (Msg >= MCM_FIRST && Msg <= MCM_GETMAXTODAYWIDTH)
        return CalendarMessage(S, Msg, WParam, LParam);
    const TPoint Point{GetXLParam(LParam), GetYLParam(LParam)};
    switch (Msg) {
    case WM_CREATE:
    case WM_SIZE: {
        const int Old = S.Visible;
        Relayout(S);
        if (Old != S.Visible || Msg == WM_CREATE) {
            S.DayStateWanted = true;
            if (!EnsureVisible(S, S.Cur))
                SetView(S, S.FirstMonth);
        }
        Redraw(S);
        break;
    }
    case WM_PAINT:
        PaintWindow(S, reinterpret_cast<TCanvas*>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        S.Font = reinterpret_cast<const TFont*>(WParam);
        Relayout(S);
        if (LParam != 0)
            Redraw(S);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(S.Font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        S.Focused = Msg == WM_SETFOCUS;
        Redraw(S);
        return 0;
    case WM_ENABLE:
        Redraw(S);
        break;
    case WM_KEYDOWN:
        if (KeyDown(S, WParam))
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(S, Point);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(S, Point);
        return 0;
    case WM_LBUTTONUP:
        MouseUp(S);
        return 0;
    case WM_CAPTURECHANGED:
        if (static_cast<HWND>(LParam) != Wnd)
            EndTracking(S);
        return 0;
    case WM_TIMER:
        if (WParam == RepeatTimer) {
            Timer(S);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

int LocaleFirstDayOfWeek()
{
    return 6;
}

void RegisterMonthCalClass()
{
    RegisterControlClass(MonthCalClassName, CS_DBLCLKS, MonthCalWndProc);
}
