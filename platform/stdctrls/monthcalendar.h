// platform/stdctrls/monthcalendar.h: TCommonCalendar and TMonthCalendar, the class library's
// month calendar on the "SysMonthCal32" window class: the date or a selected range, limits,
// week numbers, the today line, the first day of the week, colours, and bold days asked of
// OnGetMonthInfo.
#pragma once

#include "platform/forms/wincontrol.h"
#include "platform/rtl/exceptions.h"

#include <functional>
#include <memory>
#include <vector>

class TCommonCalendar;

// A date set outside the limits, or limits that cross.
class ECommonCalendarError : public Exception {
public:
    using Exception::Exception;
};

enum TCalDayOfWeek {
    dowMonday,
    dowTuesday,
    dowWednesday,
    dowThursday,
    dowFriday,
    dowSaturday,
    dowSunday,
    dowLocaleDefault
};

// Month: 1..12; the handler sets bit (day - 1) of MonthBoldInfo for each bold day.
using TOnGetMonthInfoEvent =
    std::function<void(TObject* Sender, unsigned Month, unsigned& MonthBoldInfo)>;

// The calendar's colours; each change goes straight to the window.
class TMonthCalColors : public TPersistent {
public:
    explicit TMonthCalColors(TCommonCalendar* AOwner);

    void Assign(const TPersistent* Source) override;

    TColor BackColor() const { return FColors[0]; }
    void SetBackColor(TColor Value) { SetColor(0, Value); }
    TColor TextColor() const { return FColors[1]; }
    void SetTextColor(TColor Value) { SetColor(1, Value); }
    TColor TitleBackColor() const { return FColors[2]; }
    void SetTitleBackColor(TColor Value) { SetColor(2, Value); }
    TColor TitleTextColor() const { return FColors[3]; }
    void SetTitleTextColor(TColor Value) { SetColor(3, Value); }
    TColor MonthBackColor() const { return FColors[4]; }
    void SetMonthBackColor(TColor Value) { SetColor(4, Value); }
    TColor TrailingTextColor() const { return FColors[5]; }
    void SetTrailingTextColor(TColor Value) { SetColor(5, Value); }

private:
    friend class TCommonCalendar;
    void SetColor(int Index, TColor Value);
    void SetAllColors(); // to a new window
    TCommonCalendar* FOwner;
    TColor FColors[6];
};

class TCommonCalendar : public TWinControl {
public:
    explicit TCommonCalendar(TComponent* AOwner);
    ~TCommonCalendar() override;

    // The date (with the time of day it was given); in multi-select mode the range's start.
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    // The range's end in multi-select mode.
    TDateTime EndDate() const { return FEndDate; }
    void SetEndDate(TDateTime Value);
    // 0: no limit.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    int MaxSelectRange() const { return FMaxSelectRange; }
    void SetMaxSelectRange(int Value);
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool Value);
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool Value);
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool Value);
    TCalDayOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
    void SetFirstDayOfWeek(TCalDayOfWeek Value);
    TMonthCalColors* CalColors() const { return FCalColors.get(); }
    void SetCalColors(const TMonthCalColors* Value) { FCalColors->Assign(Value); }

    // Never smaller than one month and the today line.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TOnGetMonthInfoEvent OnGetMonthInfo;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNNotify(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TMonthCalColors;
    void CheckInLimits(TDateTime Value) const;
    void SendRange();
    void SendSelection();
    void SendFirstDayOfWeek();
    void ReadSelection();
    void AdjustToMinimumSize();
    void Recreate();

    std::unique_ptr<TMonthCalColors> FCalColors;
    TDateTime FDate;
    TDateTime FEndDate;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FMultiSelect = false;
    int FMaxSelectRange = 31;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
    TCalDayOfWeek FFirstDayOfWeek = dowLocaleDefault;
    // The answer to MCN_GETDAYSTATE; the window reads it after the notification returns.
    std::vector<DWORD> FDayStates;
};

class TMonthCalendar : public TCommonCalendar {
public:
    using TCommonCalendar::TCommonCalendar;
};
