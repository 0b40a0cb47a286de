// platform/stdctrls/monthcalendar.cpp: the class library's month calendar: its properties pushed to
// the window, the selection read back from MCN_SELCHANGE, bold days from OnGetMonthInfo.
#include "platform/stdctrls/monthcalendar.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/datetime.h"
#include "platform/stdctrls/commctrl.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <cmath>

namespace {

int WholeDays(TDateTime Value)
{
    return static_cast<int>(std::floor(Value));
}

TSystemTime SystemTimeOf(TDateTime Value)
{
    TSystemTime Time;
    DateTimeToSystemTime(std::floor(Value), Time);
    return Time;
}

// A day from the window, with the time of day of Keep.
TDateTime WithTimeOf(const TSystemTime& Day, TDateTime Keep)
{
    TSystemTime DateOnly = Day;
    DateOnly.wHour = DateOnly.wMinute = DateOnly.wSecond = DateOnly.wMilliseconds = 0;
    return SystemTimeToDateTime(DateOnly) + (Keep - std::floor(Keep));
}

} // namespace

// ---- TMonthCalColors

TMonthCalColors::TMonthCalColors(TCommonCalendar* AOwner)
    : FOwner(AOwner), FColors{clWindow, clWindowText, clActiveCaption,
                              clWhite,  clWindow,     clGrayText}
{
}

void TMonthCalColors::Assign(const TPersistent* Source)
{
    const auto* From = dynamic_cast<const TMonthCalColors*>(Source);
    if (From == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    for (int I = 0; I < 6; ++I)
        SetColor(I, From->FColors[I]);
}

void TMonthCalColors::SetColor(int Index, TColor Value)
{
    FColors[Index] = Value;
    if (FOwner != nullptr && FOwner->HandleAllocated())
        FOwner->Perform(MCM_SETCOLOR, static_cast<WPARAM>(Index), Value);
}

void TMonthCalColors::SetAllColors()
{
    for (int I = 0; I < 6; ++I)
        SetColor(I, FColors[I]);
}

// ---- TCommonCalendar

const TMessageMap& TCommonCalendar::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCommonCalendar::WMPaint>(WM_PAINT),
        OnMessage<&TCommonCalendar::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCommonCalendar::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TCommonCalendar::CNNotify>(CN_NOTIFY),
        OnMessage<&TCommonCalendar::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCommonCalendar::TCommonCalendar(TComponent* AOwner)
    : TWinControl(AOwner), FCalColors(std::make_unique<TMonthCalColors>(this)), FDate(Now()),
      FEndDate(FDate)
{
    // OnClick comes from the window's selection notifications, not from every mouse click.
    SetControlStyle(TControlStyle{csOpaque, csDoubleClicks});
    SetBounds(Left(), Top(), 191, 154);
    SetTabStop(true);
    SetColor(clWindow);
}

TCommonCalendar::~TCommonCalendar()
{
    Destroying();
    DestroyHandle();
}

void TCommonCalendar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    INITCOMMONCONTROLSEX Init;
    Init.dwICC = ICC_DATE_CLASSES;
    InitCommonControlsEx(&Init);
    Params.Style |= MCS_DAYSTATE; // OnGetMonthInfo may come later
    if (FMultiSelect)
        Params.Style |= MCS_MULTISELECT;
    if (FWeekNumbers)
        Params.Style |= MCS_WEEKNUMBERS;
    if (!FShowTodayCircle)
        Params.Style |= MCS_NOTODAYCIRCLE;
    if (!FShowToday && ComCtlVersionAtLeast(4, 71))
        Params.Style |= MCS_NOTODAY;
    Params.WindowClass.Style = (Params.WindowClass.Style & ~(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TCommonCalendar::CreateWnd()
{
    TWinControl::CreateWnd();
    MonthCalWndProc(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
    SendFirstDayOfWeek();
    SendRange();
    if (FMultiSelect)
        Perform(MCM_SETMAXSELCOUNT, static_cast<WPARAM>(FMaxSelectRange), 0);
    SendSelection();
    FCalColors->SetAllColors();
    AdjustToMinimumSize();
}

void TCommonCalendar::DefaultHandler(TMessage& Message)
{
    if (!HandleAllocated()) {
        TWinControl::DefaultHandler(Message);
        return;
    }
    Message.Result = MonthCalWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
}

void TCommonCalendar::WMPaint(TMessage& Message)
{
    DefaultHandler(Message); // the window draws itself, double-buffered
}

void TCommonCalendar::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TCommonCalendar::WMMouse(TMessage& Message)
{
    DefaultHandler(Message); // the selection first, then the mouse events see it
    Inherited(Message);
}

void TCommonCalendar::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    if (HandleAllocated()) {
        MonthCalWndProc(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 1);
        AdjustToMinimumSize();
    }
}

void TCommonCalendar::CNNotify(TMessage& Message)
{
    auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (Header->code) {
    case MCN_SELCHANGE:
    case MCN_SELECT: {
        const TDateTime OldDate = FDate;
        const TDateTime OldEnd = FEndDate;
        const auto* Change = reinterpret_cast<const NMSELCHANGE*>(Header);
        FDate = WithTimeOf(Change->stSelStart, FDate);
        FEndDate = WithTimeOf(Change->stSelEnd, FEndDate);
        if (WholeDays(OldDate) != WholeDays(FDate) || WholeDays(OldEnd) != WholeDays(FEndDate))
            Click();
        break;
    }
    case MCN_GETDAYSTATE: {
        auto* Request = reinterpret_cast<NMDAYSTATE*>(Header);
        FDayStates.assign(static_cast<std::size_t>(std::max(0, Request->cDayState)), 0);
        unsigned Month = Request->stStart.wMonth;
        for (DWORD& State : FDayStates) {
            unsigned Bold = 0;
            if (OnGetMonthInfo)
                OnGetMonthInfo(this, Month, Bold);
            State = Bold;
            Month = Month % 12 + 1;
        }
        Request->prgDayState = FDayStates.data();
        break;
    }
    default:
        Inherited(Message);
        break;
    }
}

void TCommonCalendar::CheckInLimits(TDateTime Value) const
{
    if (FMaxDate != 0 && WholeDays(Value) > WholeDays(FMaxDate))
        throw ECommonCalendarError("Date exceeds maximum of " + DateToStr(FMaxDate));
    if (FMinDate != 0 && WholeDays(Value) < WholeDays(FMinDate))
        throw ECommonCalendarError("Date is less than minimum of " + DateToStr(FMinDate));
}

void TCommonCalendar::SetDate(TDateTime Value)
{
    CheckInLimits(Value);
    FDate = Value;
    if (!FMultiSelect || WholeDays(FEndDate) < WholeDays(FDate) ||
        WholeDays(FEndDate) - WholeDays(FDate) >= FMaxSelectRange)
        FEndDate = FDate;
    SendSelection();
}

void TCommonCalendar::SetEndDate(TDateTime Value)
{
    CheckInLimits(Value);
    if (!FMultiSelect)
        return;
    if (WholeDays(Value) < WholeDays(FDate) ||
        WholeDays(Value) - WholeDays(FDate) >= FMaxSelectRange)
        throw ECommonCalendarError("The selected range is longer than " +
                                   std::to_string(FMaxSelectRange) + " days");
    FEndDate = Value;
    SendSelection();
}

void TCommonCalendar::SetMinDate(TDateTime Value)
{
    if (Value != 0 && FMaxDate != 0 && WholeDays(Value) > WholeDays(FMaxDate))
        throw ECommonCalendarError("Date exceeds maximum of " + DateToStr(FMaxDate));
    FMinDate = Value;
    if (FMinDate != 0 && WholeDays(FDate) < WholeDays(FMinDate))
        FDate = FEndDate = FMinDate;
    SendRange();
    SendSelection();
}

void TCommonCalendar::SetMaxDate(TDateTime Value)
{
    if (Value != 0 && FMinDate != 0 && WholeDays(Value) < WholeDays(FMinDate))
        throw ECommonCalendarError("Date is less than minimum of " + DateToStr(FMinDate));
    FMaxDate = Value;
    if (FMaxDate != 0 && WholeDays(FEndDate) > WholeDays(FMaxDate))
        FEndDate = FMaxDate;
    if (FMaxDate != 0 && WholeDays(FDate) > WholeDays(FMaxDate))
        FDate = FEndDate = FMaxDate;
    SendRange();
    SendSelection();
}

void TCommonCalendar::SetMultiSelect(bool Value)
{
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    FEndDate = FDate;
    Recreate();
}

void TCommonCalendar::SetMaxSelectRange(int Value)
{
    if (Value < 1 || FMaxSelectRange == Value)
        return;
    FMaxSelectRange = Value;
    if (WholeDays(FEndDate) - WholeDays(FDate) >= FMaxSelectRange)
        FEndDate = FDate + (FMaxSelectRange - 1);
    if (FMultiSelect && HandleAllocated()) {
        Perform(MCM_SETMAXSELCOUNT, static_cast<WPARAM>(FMaxSelectRange), 0);
        SendSelection();
    }
}

void TCommonCalendar::SetWeekNumbers(bool Value)
{
    if (FWeekNumbers != Value) {
        FWeekNumbers = Value;
        Recreate();
    }
}

void TCommonCalendar::SetShowToday(bool Value)
{
    if (FShowToday != Value) {
        FShowToday = Value;
        Recreate();
    }
}

void TCommonCalendar::SetShowTodayCircle(bool Value)
{
    if (FShowTodayCircle != Value) {
        FShowTodayCircle = Value;
        Recreate();
    }
}

void TCommonCalendar::SetFirstDayOfWeek(TCalDayOfWeek Value)
{
    FFirstDayOfWeek = Value;
    SendFirstDayOfWeek();
}

void TCommonCalendar::Recreate()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TCommonCalendar::SendFirstDayOfWeek()
{
    if (!HandleAllocated())
        return;
    const int Day = FFirstDayOfWeek == dowLocaleDefault ? LocaleFirstDayOfWeek()
                                                        : static_cast<int>(FFirstDayOfWeek);
    Perform(MCM_SETFIRSTDAYOFWEEK, 0, Day);
}

void TCommonCalendar::SendRange()
{
    if (!HandleAllocated())
        return;
    TSystemTime Range[2];
    UINT Flags = 0;
    if (FMinDate != 0) {
        Range[0] = SystemTimeOf(FMinDate);
        Flags |= GDTR_MIN;
    }
    if (FMaxDate != 0) {
        Range[1] = SystemTimeOf(FMaxDate);
        Flags |= GDTR_MAX;
    }
    Perform(MCM_SETRANGE, Flags, reinterpret_cast<LPARAM>(Range));
}

void TCommonCalendar::SendSelection()
{
    if (!HandleAllocated())
        return;
    if (FMultiSelect) {
        TSystemTime Range[2] = {SystemTimeOf(FDate), SystemTimeOf(FEndDate)};
        Perform(MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(Range));
    } else {
        const TSystemTime Day = SystemTimeOf(FDate);
        Perform(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Day));
    }
}

void TCommonCalendar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TRect Min;
    if (HandleAllocated() && Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&Min)) != 0) {
        // The border, if any, around the client area.
        AWidth = std::max(AWidth, Min.Width() + Width() - ClientWidth());
        AHeight = std::max(AHeight, Min.Height() + Height() - ClientHeight());
    }
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCommonCalendar::AdjustToMinimumSize()
{
    SetBounds(Left(), Top(), Width(), Height());
}
