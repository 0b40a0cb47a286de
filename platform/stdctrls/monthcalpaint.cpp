// platform/stdctrls/monthcalpaint.cpp: drawing the month calendar: each month's title with the
// scroll buttons, the weekday initials, the days (trailing, greyed beyond the limits, bold by
// the day state, the selection in the title colour, today circled, the focus), the week numbers
// and the today line.
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/datetime.h"
#include "platform/stdctrls/monthcalstate.h"

namespace monthcal {

namespace {

constexpr TColor TodayMarkColor = clRed;

void Text(TCanvas* C, const std::string& S, TRect R, TColor Color, unsigned Align = DT_CENTER)
{
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
    C->DrawText(S, R, Align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void SetBold(TCanvas* C, bool Bold)
{
    TFontStyles Styles = C->Font()->Style();
    if (Bold)
        Styles.Include(fsBold);
    else
        Styles.Exclude(fsBold);
    C->Font()->SetStyle(Styles);
}

void Fill(TCanvas* C, const TRect& R, TColor Color)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

void PaintTitle(const TMonthCal& S, const TLayout& L, TCanvas* C, int Index)
{
    const int Month = S.FirstMonth + Index;
    Fill(C, L.Title(Index), S.Colors[MCSC_TITLEBK]);
    SetBold(C, true);
    TRect MonthPart, YearPart;
    TitleParts(L, C, Index, Month, MonthPart, YearPart);
    Text(C, TitleMonthText(Month), MonthPart, S.Colors[MCSC_TITLETEXT], DT_LEFT);
    Text(C, TitleYearText(Month), YearPart, S.Colors[MCSC_TITLETEXT], DT_LEFT);
    SetBold(C, false);
    const bool Pressed = S.ButtonDown;
    if (Index == 0)
        C->DrawFrameControl(L.PrevButton(), DFC_SCROLL,
                            DFCS_SCROLLLEFT |
                                (Pressed && S.HeldButton == MCHT_TITLEBTNPREV ? DFCS_PUSHED : 0u) |
                                (CanScroll(S, -1) ? 0u : DFCS_INACTIVE));
    if (Index == L.Cols - 1)
        C->DrawFrameControl(L.NextButton(), DFC_SCROLL,
                            DFCS_SCROLLRIGHT |
                                (Pressed && S.HeldButton == MCHT_TITLEBTNNEXT ? DFCS_PUSHED : 0u) |
                                (CanScroll(S, 1) ? 0u : DFCS_INACTIVE));
}

void PaintWeekdays(const TMonthCal& S, const TLayout& L, TCanvas* C, int Index)
{
    const TRect Row = L.DaysRow(Index);
    for (int Col = 0; Col < 7; ++Col) {
        const int Sunday0 = (S.FirstDay + 1 + Col) % 7;
        const std::string& Name = FormatSettings.ShortDayNames[static_cast<std::size_t>(Sunday0)];
        Text(C, Name.substr(0, 1),
             Bounds(Row.Left + Col * L.CellW, Row.Top, L.CellW, Row.Height() - 2),
             S.Colors[MCSC_TITLEBK]);
    }
    C->Pen()->SetColor(clGrayText);
    C->MoveTo(Row.Left - L.WeekW, Row.Bottom - 1);
    C->LineTo(Row.Right, Row.Bottom - 1);
    if (L.WeekW > 0) {
        const TRect W = L.WeekColumn(Index);
        C->MoveTo(W.Right - 1, W.Top);
        C->LineTo(W.Right - 1, W.Bottom);
    }
}

bool IsBold(const TMonthCal& S, int Day)
{
    const auto Found = S.Bold.find(MonthOfDay(Day));
    if (Found == S.Bold.end())
        return false;
    int Y = 0, M = 0, D = 0;
    SplitDay(Day, Y, M, D);
    return (Found->second >> (D - 1)) & 1u;
}

void PaintDays(const TMonthCal& S, const TLayout& L, TCanvas* C, int Index)
{
    const int Month = S.FirstMonth + Index;
    const int First = FirstShownDay(S, Month);
    const int Today = S.Today();
    const bool Circle = !(S.Style() & MCS_NOTODAYCIRCLE);
    for (int Row = 0; Row < 6; ++Row) {
        if (L.WeekW > 0) {
            const TRect W = L.WeekColumn(Index);
            Text(C, std::to_string(WeekNumber(First + Row * 7, S.FirstDay)),
                 Bounds(W.Left, W.Top + Row * L.CellH, W.Width() - 2, L.CellH),
                 S.Colors[MCSC_TITLEBK]);
        }
        for (int Col = 0; Col < 7; ++Col) {
            const int Day = First + Row * 7 + Col;
            if (!ShowsDay(S, Index, Day))
                continue;
            const TRect Cell = L.Cell(Index, Row, Col);
            const bool Own = MonthOfDay(Day) == Month;
            const bool Selected = Own && Day >= S.SelStart && Day <= S.SelEnd;
            TColor Color = Own ? S.Colors[MCSC_TEXT] : S.Colors[MCSC_TRAILINGTEXT];
            if (!S.InLimits(Day))
                Color = clGrayText;
            if (Selected) {
                Fill(C, Cell, S.Colors[MCSC_TITLEBK]);
                Color = S.Colors[MCSC_MONTHBK];
            }
            int Y = 0, M = 0, D = 0;
            SplitDay(Day, Y, M, D);
            SetBold(C, IsBold(S, Day));
            TRect T = Cell;
            T.Right -= 3;
            Text(C, std::to_string(D), T, Color, DT_RIGHT);
            SetBold(C, false);
            if (Circle && Own && Day == Today) {
                C->Pen()->SetColor(TodayMarkColor);
                C->Brush()->SetStyle(bsClear);
                C->Ellipse(Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
            }
            if (S.Focused && Own && Day == S.Cur) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(S.Colors[MCSC_MONTHBK]);
                C->Font()->SetColor(S.Colors[MCSC_TEXT]);
                C->DrawFocusRect(Cell);
            }
        }
    }
}

void PaintToday(const TMonthCal& S, const TLayout& L, TCanvas* C)
{
    if (L.TodayH == 0)
        return;
    const TRect Line = L.TodayLine();
    int X = Line.Left;
    if (!(S.Style() & MCS_NOTODAYCIRCLE)) {
        C->Pen()->SetColor(TodayMarkColor);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(X, Line.Top + 2, X + L.CellW - 4, Line.Bottom - 2);
        X += L.CellW;
    }
    SetBold(C, true);
    Text(C, TodayText(S), Rect(X, Line.Top, Line.Right, Line.Bottom), S.Colors[MCSC_TEXT], DT_LEFT);
    SetBold(C, false);
}

} // namespace

void Paint(const TMonthCal& S, TCanvas* C, const TRect& Client)
{
    const TLayout L = Measure(S, C);
    Fill(C, Client, S.Colors[MCSC_BACKGROUND]);
    for (int I = 0; I < L.Count(); ++I) {
        Fill(C, L.Block(I), S.Colors[MCSC_MONTHBK]);
        PaintTitle(S, L, C, I);
        PaintWeekdays(S, L, C, I);
        PaintDays(S, L, C, I);
    }
    PaintToday(S, L, C);
}

} // namespace monthcal
