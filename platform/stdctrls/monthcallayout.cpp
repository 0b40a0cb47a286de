// platform/stdctrls/monthcallayout.cpp: the month calendar's day arithmetic, its geometry (month
// blocks in rows and columns, title, buttons, day cells, today line) and its hit test.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/datetime.h"
#include "platform/stdctrls/monthcalstate.h"
#include "platform/ui/window.h"

#include <algorithm>

namespace monthcal {

// ---- days and months

int DayNumber(int Year, int Month, int Day)
{
    const Word Days = DaysInAMonth(static_cast<Word>(Year), static_cast<Word>(Month));
    Day = std::clamp(Day, 1, static_cast<int>(Days));
    return static_cast<int>(
        EncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day)));
}

void SplitDay(int Day, int& Year, int& Month, int& DayOfMonth)
{
    Word Y = 0, M = 0, D = 0;
    DecodeDate(Day, Y, M, D);
    Year = Y;
    Month = M;
    DayOfMonth = D;
}

int MonthOfDay(int Day)
{
    int Y = 0, M = 0, D = 0;
    SplitDay(Day, Y, M, D);
    return Y * 12 + M - 1;
}

int FirstDayOfMonth(int Month)
{
    return DayNumber(Month / 12, Month % 12 + 1, 1);
}

int DaysInMonthNumber(int Month)
{
    return DaysInAMonth(static_cast<Word>(Month / 12), static_cast<Word>(Month % 12 + 1));
}

int AddMonths(int Day, int Months)
{
    int Y = 0, M = 0, D = 0;
    SplitDay(Day, Y, M, D);
    const int Target = std::clamp(Y * 12 + M - 1 + Months, 1601 * 12, 9999 * 12 + 11);
    return DayNumber(Target / 12, Target % 12 + 1, D);
}

int WeekdayFromMonday(int Day)
{
    return (DayOfWeek(Day) + 5) % 7;
}

TSystemTime ToSystemTime(int Day)
{
    TSystemTime Time;
    DateTimeToSystemTime(Day, Time);
    return Time;
}

bool FromSystemTime(const TSystemTime& Time, int& Day)
{
    TSystemTime DateOnly = Time;
    DateOnly.wHour = DateOnly.wMinute = DateOnly.wSecond = DateOnly.wMilliseconds = 0;
    TDateTime Value = 0;
    if (!TrySystemTimeToDateTime(DateOnly, Value))
        return false;
    Day = static_cast<int>(Value);
    return true;
}

// Weeks starting on Monday count as the ISO weeks do (week 1 holds the year's first Thursday);
// other first days count the week holding 1 January as week 1.
int WeekNumber(int Day, int FirstDay)
{
    int Y = 0, M = 0, D = 0;
    if (FirstDay == 0) {
        const int Thursday = Day + 3;
        SplitDay(Thursday, Y, M, D);
        return (Thursday - DayNumber(Y, 1, 1)) / 7 + 1;
    }
    SplitDay(Day + 6, Y, M, D); // the week belongs to the year of its last day
    const int Jan1 = DayNumber(Y, 1, 1);
    const int Week1 = Jan1 - (WeekdayFromMonday(Jan1) - FirstDay + 7) % 7;
    return (Day - Week1) / 7 + 1;
}

// ---- the window's state

TMonthCal::TMonthCal(HWND AWnd) : Wnd(AWnd)
{
    Colors = {clWindow, clWindowText, clActiveCaption, clWhite, clWindow, clGrayText};
    Cur = SelStart = SelEnd = Anchor = Today();
    FirstMonth = MonthOfDay(Cur);
    FirstDay = LocaleFirstDayOfWeek();
}

DWORD TMonthCal::Style() const
{
    return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE));
}

int TMonthCal::Today() const
{
    return TodaySet ? TodayDay : static_cast<int>(Date());
}

bool TMonthCal::InLimits(int Day) const
{
    return !((Limits & GDTR_MIN) && Day < MinDay) && !((Limits & GDTR_MAX) && Day > MaxDay);
}

int TMonthCal::ClampToLimits(int Day) const
{
    if ((Limits & GDTR_MIN) && Day < MinDay)
        Day = MinDay;
    if ((Limits & GDTR_MAX) && Day > MaxDay)
        Day = MaxDay;
    return Day;
}

// ---- geometry

TRect TLayout::Block(int Index) const
{
    return Bounds(Left + (Index % Cols) * BlockW, Top + (Index / Cols) * BlockH, BlockW, BlockH);
}

TRect TLayout::Title(int Index) const
{
    const TRect B = Block(Index);
    return Rect(B.Left + 2, B.Top + 2, B.Right - 2, B.Top + 2 + TitleH);
}

TRect TLayout::PrevButton() const
{
    const TRect T = Title(0);
    const int Size = TitleH - 6;
    return Bounds(T.Left + 3, T.Top + 3, Size, Size);
}

TRect TLayout::NextButton() const
{
    const TRect T = Title(Cols - 1);
    const int Size = TitleH - 6;
    return Bounds(T.Right - 3 - Size, T.Top + 3, Size, Size);
}

TRect TLayout::DaysRow(int Index) const
{
    const TRect B = Block(Index);
    const int Y = B.Top + 4 + TitleH;
    return Rect(B.Left + Margin + WeekW, Y, B.Left + Margin + WeekW + 7 * CellW, Y + DaysH);
}

TRect TLayout::WeekColumn(int Index) const
{
    const TRect D = DaysRow(Index);
    return Rect(D.Left - WeekW, D.Bottom, D.Left, D.Bottom + 6 * CellH);
}

TRect TLayout::Cell(int Index, int Row, int Col) const
{
    const TRect D = DaysRow(Index);
    return Bounds(D.Left + Col * CellW, D.Bottom + Row * CellH, CellW, CellH);
}

TRect TLayout::TodayLine() const
{
    const int Y = Top + Rows * BlockH;
    return Rect(Left + Margin, Y, Left + Cols * BlockW - Margin, Y + TodayH);
}

TRect TLayout::MinReq() const
{
    return Rect(0, 0, BlockW, BlockH + TodayH);
}

TLayout Measure(const TMonthCal& S, TCanvas* C)
{
    TLayout L;
    if (S.Font != nullptr)
        C->SetFont(S.Font);
    const int TextH = C->TextHeight("0");
    int Widest = C->TextWidth("00");
    for (const std::string& Name : FormatSettings.ShortDayNames)
        Widest = std::max(Widest, C->TextWidth(Name.substr(0, 1)));
    L.CellW = Widest + 8;
    L.CellH = TextH + 3;
    L.TitleH = TextH + 10;
    L.DaysH = TextH + 4;
    const DWORD Style = S.Style();
    L.WeekW = (Style & MCS_WEEKNUMBERS) ? L.CellW : 0;
    L.BlockW = 2 * L.Margin + L.WeekW + 7 * L.CellW;
    L.BlockH = 4 + L.TitleH + L.DaysH + 6 * L.CellH + 4;
    L.TodayH = (Style & MCS_NOTODAY) ? 0 : TextH + 6;
    TRect Client;
    GetClientRect(S.Wnd, Client);
    L.Cols = std::clamp(Client.Width() / L.BlockW, 1, 12);
    L.Rows = std::clamp((Client.Height() - L.TodayH) / L.BlockH, 1, 12 / L.Cols);
    L.Left = std::max(0, (Client.Width() - L.Cols * L.BlockW) / 2);
    L.Top = std::max(0, (Client.Height() - L.TodayH - L.Rows * L.BlockH) / 2);
    return L;
}

TLayout Measure(const TMonthCal& S)
{
    TBitmap Probe;
    Probe.SetSize(1, 1);
    return Measure(S, Probe.Canvas());
}

// A month starting on the first day of the week still shows a week of the month before, so that
// both neighbours always show.
int FirstShownDay(const TMonthCal& S, int Month)
{
    const int First = FirstDayOfMonth(Month);
    const int Lead = (WeekdayFromMonday(First) - S.FirstDay + 7) % 7;
    return First - (Lead == 0 ? 7 : Lead);
}

bool ShowsDay(const TMonthCal& S, int Index, int Day)
{
    const int Month = S.FirstMonth + Index;
    const int First = FirstDayOfMonth(Month);
    const int Last = First + DaysInMonthNumber(Month) - 1;
    if (Day >= First && Day <= Last)
        return true;
    return (Index == 0 && Day < First) || (Index == S.Visible - 1 && Day > Last);
}

std::string TitleMonthText(int Month)
{
    return FormatSettings.LongMonthNames[static_cast<std::size_t>(Month % 12)];
}

std::string TitleYearText(int Month)
{
    return std::to_string(Month / 12);
}

void TitleParts(const TLayout& L, TCanvas* C, int Index, int Month, TRect& MonthPart,
                TRect& YearPart)
{
    const TRect T = L.Title(Index);
    const std::string M = TitleMonthText(Month);
    const std::string Y = TitleYearText(Month);
    const int Space = C->TextWidth(" ");
    const int MW = C->TextWidth(M);
    const int YW = C->TextWidth(Y);
    const int TH = C->TextHeight("0");
    const int X = T.Left + (T.Width() - (MW + Space + YW)) / 2;
    const int Y0 = T.Top + (T.Height() - TH) / 2;
    MonthPart = Bounds(X, Y0, MW, TH);
    YearPart = Bounds(X + MW + Space, Y0, YW, TH);
}

std::string TodayText(const TMonthCal& S)
{
    return "Today: " + DateToStr(S.Today());
}

bool CanScroll(const TMonthCal& S, int By)
{
    const int First = S.FirstMonth + By;
    const int Last = First + S.Visible - 1;
    if (First < 1601 * 12 || Last > 9999 * 12 + 11)
        return false;
    if (By < 0 && (S.Limits & GDTR_MIN) && S.FirstMonth <= MonthOfDay(S.MinDay))
        return false;
    if (By > 0 && (S.Limits & GDTR_MAX) && S.FirstMonth + S.Visible - 1 >= MonthOfDay(S.MaxDay))
        return false;
    return By != 0;
}

// ---- hit test

namespace {

int ShownDayAt(const TMonthCal& S, int Index, int Row, int Col)
{
    return FirstShownDay(S, S.FirstMonth + Index) + Row * 7 + Col;
}

} // namespace

MCHITTESTINFO HitTest(const TMonthCal& S, const TPoint& P)
{
    MCHITTESTINFO Info;
    Info.pt = P;
    TBitmap Probe;
    Probe.SetSize(1, 1);
    TCanvas* C = Probe.Canvas();
    const TLayout L = Measure(S, C);
    if (L.TodayH > 0 && PtInRect(L.TodayLine(), P)) {
        Info.uHit = MCHT_TODAYLINK;
        Info.st = ToSystemTime(S.Today());
        return Info;
    }
    for (int I = 0; I < L.Count(); ++I) {
        if (!PtInRect(L.Block(I), P))
            continue;
        const int Month = S.FirstMonth + I;
        Info.st = ToSystemTime(FirstDayOfMonth(Month));
        if (I == 0 && PtInRect(L.PrevButton(), P)) {
            Info.uHit = MCHT_TITLEBTNPREV;
            return Info;
        }
        if (I == L.Cols - 1 && PtInRect(L.NextButton(), P)) {
            Info.uHit = MCHT_TITLEBTNNEXT;
            return Info;
        }
        if (PtInRect(L.Title(I), P)) {
            TRect MonthPart, YearPart;
            TitleParts(L, C, I, Month, MonthPart, YearPart);
            Info.uHit = PtInRect(MonthPart, P)  ? MCHT_TITLEMONTH
                        : PtInRect(YearPart, P) ? MCHT_TITLEYEAR
                                                : MCHT_TITLEBK;
            return Info;
        }
        if (PtInRect(L.DaysRow(I), P)) {
            Info.uHit = MCHT_CALENDARDAY;
            Info.st.wDayOfWeek =
                static_cast<Word>((S.FirstDay + (P.X - L.DaysRow(I).Left) / L.CellW + 1) % 7);
            return Info;
        }
        const TRect Grid = Rect(L.Cell(I, 0, 0).Left, L.Cell(I, 0, 0).Top, L.Cell(I, 5, 6).Right,
                                L.Cell(I, 5, 6).Bottom);
        if (L.WeekW > 0 && PtInRect(L.WeekColumn(I), P)) {
            const int Row = (P.Y - Grid.Top) / L.CellH;
            Info.uHit = MCHT_CALENDARWEEKNUM;
            Info.st = ToSystemTime(ShownDayAt(S, I, Row, 0));
            return Info;
        }
        Info.uHit = MCHT_CALENDARBK;
        if (PtInRect(Grid, P)) {
            const int Row = (P.Y - Grid.Top) / L.CellH;
            const int Col = (P.X - Grid.Left) / L.CellW;
            const int Day = ShownDayAt(S, I, Row, Col);
            if (ShowsDay(S, I, Day)) {
                const int Own = MonthOfDay(Day);
                Info.uHit = Own < Month   ? MCHT_CALENDARDATEPREV
                            : Own > Month ? MCHT_CALENDARDATENEXT
                                          : MCHT_CALENDARDATE;
                Info.st = ToSystemTime(Day);
            }
        }
        return Info;
    }
    return Info;
}

} // namespace monthcal
