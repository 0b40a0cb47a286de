// platform/stdctrls/monthcalstate.h: what the month calendar's window keeps (selection, view,
// limits, colours, bold days) and its geometry, shared by its message handling, its layout and
// its painting. Dates are whole day numbers (days since 30 December 1899); months are counted as
// Year * 12 + Month - 1.
#pragma once

#include "platform/gfx/color.h"
#include "platform/stdctrls/monthcalwindow.h"

#include <array>
#include <map>

class TCanvas;
class TFont;

namespace monthcal {

// Day numbers and month numbers.
int DayNumber(int Year, int Month, int Day); // the day clamped to the month's length
void SplitDay(int Day, int& Year, int& Month, int& DayOfMonth);
int MonthOfDay(int Day);
int FirstDayOfMonth(int Month);
int DaysInMonthNumber(int Month);
int AddMonths(int Day, int Months); // the day of month clamped
int WeekdayFromMonday(int Day);     // 0 Monday ... 6 Sunday
TSystemTime ToSystemTime(int Day);
bool FromSystemTime(const TSystemTime& Time, int& Day);
// The number of the week starting at Day (its first day of week FirstDay, 0 Monday).
int WeekNumber(int Day, int FirstDay);

struct TMonthCal {
    explicit TMonthCal(HWND AWnd);

    HWND Wnd;
    const TFont* Font = nullptr;
    // The selection: Cur is the focused end; a single selection has SelStart == SelEnd == Cur.
    int Cur = 0;
    int SelStart = 0;
    int SelEnd = 0;
    int Anchor = 0; // the fixed end while Shift or a drag extends a range
    int MaxSel = 7;
    // The first month shown.
    int FirstMonth = 0;
    int Delta = 0;
    // Limits, valid by the GDTR_ flags.
    UINT Limits = 0;
    int MinDay = 0;
    int MaxDay = 0;
    bool TodaySet = false;
    int TodayDay = 0;
    int FirstDay = 6;
    std::array<TColor, 6> Colors{};
    std::map<int, MONTHDAYSTATE> Bold; // by month
    bool DayStateWanted = true;        // asked again before the next paint
    bool Focused = false;
    // Mouse: a held title button (MCHT_TITLEBTNPREV/NEXT, or 0) and whether it shows pressed,
    // a drag over the days.
    UINT HeldButton = 0;
    bool ButtonDown = false;
    bool Dragging = false;
    int Visible = 1; // months shown, from the last layout

    DWORD Style() const;
    int Today() const;
    bool InLimits(int Day) const;
    int ClampToLimits(int Day) const;
    int MonthStep() const { return Delta > 0 ? Delta : Visible; }
};

// Where everything lies for a client size, a font and the styles.
struct TLayout {
    int CellW = 0;
    int CellH = 0;
    int TitleH = 0;
    int DaysH = 0; // the weekday initials' row
    int WeekW = 0; // the week numbers' column (0: none)
    int Margin = 6;
    int BlockW = 0;
    int BlockH = 0;
    int TodayH = 0;
    int Cols = 1;
    int Rows = 1;
    int Left = 0;
    int Top = 0;

    int Count() const { return Cols * Rows; }
    TRect Block(int Index) const;
    TRect Title(int Index) const;
    TRect PrevButton() const;
    TRect NextButton() const;
    TRect DaysRow(int Index) const;
    TRect WeekColumn(int Index) const;
    TRect Cell(int Index, int Row, int Col) const;
    TRect TodayLine() const;
    TRect MinReq() const;
};

TLayout Measure(const TMonthCal& S, TCanvas* C);
TLayout Measure(const TMonthCal& S);
// The first day shown in month block Index (a day of the month before when it leads).
int FirstShownDay(const TMonthCal& S, int Month);
// Which days a block shows: its own month's, and the neighbours' in the first and last block.
bool ShowsDay(const TMonthCal& S, int Index, int Day);
// The title's month and year parts.
void TitleParts(const TLayout& L, TCanvas* C, int Index, int Month, TRect& MonthPart,
                TRect& YearPart);
std::string TitleMonthText(int Month);
std::string TitleYearText(int Month);
std::string TodayText(const TMonthCal& S);
bool CanScroll(const TMonthCal& S, int By);

MCHITTESTINFO HitTest(const TMonthCal& S, const TPoint& Point);

void Paint(const TMonthCal& S, TCanvas* C, const TRect& Client);

} // namespace monthcal
