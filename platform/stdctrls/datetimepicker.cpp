#include "platform/stdctrls/datetimepicker.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/format.h"
#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/stdctrls/monthcalwindow.h"

#include <cmath>

namespace {

TSystemTime ToSystemTime(TDateTime Value)
{
    TSystemTime T;
    DateTimeToSystemTime(Value, T);
    T.wMilliseconds = 0;
    return T;
}

} // namespace

const TMessageMap& TDateTimePicker::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TDateTimePicker::WMPaint>(WM_PAINT),
        OnMessage<&TDateTimePicker::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TDateTimePicker::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TDateTimePicker::CNNotify>(CN_NOTIFY),
        OnMessage<&TDateTimePicker::CMCancelMode>(CM_CANCELMODE),
        OnMessage<&TDateTimePicker::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TDateTimePicker::CMColorChanged>(CM_COLORCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(Now())
{
    // Whole seconds: the window keeps no fraction of a second.
    FDateTime = SystemTimeToDateTime(ToSystemTime(FDateTime));
    SetControlStyle(TControlStyle{csOpaque, csFixedHeight, csDoubleClicks});
    SetBounds(Left(), Top(), 186, 0);
    SetTabStop(true);
    SetColor(clWindow);
}

TDateTimePicker::~TDateTimePicker()
{
    Destroying();
    DestroyHandle();
}

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterDateTimePickClass();
    if (FKind == dtkTime)
        Params.Style |= DTS_TIMEFORMAT;
    else if (FDateFormat == dfLong)
        Params.Style |= DTS_LONGDATEFORMAT;
    if (FKind == dtkDate && FDateMode == dmUpDown)
        Params.Style |= DTS_UPDOWN;
    if (FShowCheckbox)
        Params.Style |= DTS_SHOWNONE;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.Style = CS_DBLCLKS;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyLook();
    if (!FFormat.empty())
        Perform(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(FFormat.c_str()));
    SendRange();
    SendValue();
    SetBounds(Left(), Top(), Width(), Height());
}

void TDateTimePicker::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            DateTimePickWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TDateTimePicker::ApplyLook()
{
    if (WindowHandle() == 0)
        return;
    SetDateTimePickColors(WindowHandle(), Color(), Font()->Color());
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
}

int TDateTimePicker::FixedHeight()
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    return Metrics.tmHeight + 8;
}

void TDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, FixedHeight());
    (void)AHeight;
}

void TDateTimePicker::SendValue()
{
    if (WindowHandle() == 0)
        return;
    const TSystemTime T = ToSystemTime(FDateTime);
    Perform(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&T));
    if (FShowCheckbox && !FChecked)
        Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0);
}

void TDateTimePicker::SendRange()
{
    if (WindowHandle() == 0)
        return;
    TSystemTime Range[2];
    WPARAM Flags = 0;
    if (FMinDate != 0) {
        Range[0] = ToSystemTime(std::trunc(FMinDate));
        Flags |= GDTR_MIN;
    }
    if (FMaxDate != 0) {
        TDateTime LastSecond = std::trunc(FMaxDate);
        ReplaceTime(LastSecond, EncodeTime(23, 59, 59, 0));
        Range[1] = ToSystemTime(LastSecond);
        Flags |= GDTR_MAX;
    }
    Perform(DTM_SETRANGE, Flags, reinterpret_cast<LPARAM>(Range));
}

// ---- properties

void TDateTimePicker::CheckLimits(TDateTime Value) const
{
    if (FMaxDate != 0 && std::trunc(Value) > std::trunc(FMaxDate))
        throw EDateTimeError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    if (FMinDate != 0 && std::trunc(Value) < std::trunc(FMinDate))
        throw EDateTimeError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
}

TDateTime TDateTimePicker::Date() const
{
    return std::trunc(FDateTime);
}

void TDateTimePicker::SetDate(TDateTime Value)
{
    TDateTime New = FDateTime;
    ReplaceDate(New, Value);
    SetDateTime(New);
}

TDateTime TDateTimePicker::Time() const
{
    return std::fabs(FDateTime - std::trunc(FDateTime));
}

void TDateTimePicker::SetTime(TDateTime Value)
{
    TDateTime New = FDateTime;
    ReplaceTime(New, Value);
    SetDateTime(New);
}

void TDateTimePicker::SetDateTime(TDateTime Value)
{
    CheckLimits(Value);
    const TDateTime Whole = SystemTimeToDateTime(ToSystemTime(Value));
    if (Whole == FDateTime)
        return;
    FDateTime = Whole;
    SendValue();
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value)
{
    if (FDateMode == Value)
        return;
    FDateMode = Value;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value)
{
    if (FDateFormat == Value)
        return;
    FDateFormat = Value;
    RecreateWnd();
}

void TDateTimePicker::SetFormat(const std::string& Value)
{
    FFormat = Value;
    if (WindowHandle() != 0)
        Perform(DTM_SETFORMAT, 0, FFormat.empty() ? 0 : reinterpret_cast<LPARAM>(FFormat.c_str()));
}

void TDateTimePicker::SetMinDate(TDateTime Value)
{
    if (Value != 0 && FMaxDate != 0 && std::trunc(Value) > std::trunc(FMaxDate))
        throw EDateTimeError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    FMinDate = Value;
    if (FMinDate != 0 && std::trunc(FDateTime) < std::trunc(FMinDate))
        ReplaceDate(FDateTime, std::trunc(FMinDate)); // the date moves up to the limit
    SendRange();
    SendValue();
}

void TDateTimePicker::SetMaxDate(TDateTime Value)
{
    if (Value != 0 && FMinDate != 0 && std::trunc(Value) < std::trunc(FMinDate))
        throw EDateTimeError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
    FMaxDate = Value;
    if (FMaxDate != 0 && std::trunc(FDateTime) > std::trunc(FMaxDate))
        ReplaceDate(FDateTime, std::trunc(FMaxDate));
    SendRange();
    SendValue();
}

void TDateTimePicker::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (WindowHandle() != 0 && FShowCheckbox)
        SendValue();
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    if (FShowCheckbox == Value)
        return;
    FShowCheckbox = Value;
    RecreateWnd();
}

bool TDateTimePicker::DroppedDown() const
{
    return FDropped;
}

// ---- events

void TDateTimePicker::Change()
{
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TDateTimePicker::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---- messages

void TDateTimePicker::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TDateTimePicker::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TDateTimePicker::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TDateTimePicker::CNNotify(TMessage& Message)
{
    const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (Header == nullptr)
        return;
    switch (Header->code) {
    case DTN_DATETIMECHANGE: {
        const auto* Change = reinterpret_cast<const NMDATETIMECHANGE*>(Message.LParam);
        if (Change->dwFlags == GDT_VALID) {
            FChecked = true;
            FDateTime = SystemTimeToDateTime(Change->st);
        } else {
            FChecked = false;
        }
        this->Change();
        break;
    }
    case DTN_DROPDOWN:
        FDropped = true;
        DropDown();
        break;
    case DTN_CLOSEUP:
        FDropped = false;
        CloseUp();
        break;
    default:
        break;
    }
}

void TDateTimePicker::CMCancelMode(TMessage& Message)
{
    if (reinterpret_cast<TControl*>(Message.LParam) != this && FDropped && WindowHandle() != 0)
        Perform(WM_CANCELMODE, 0, 0);
}

void TDateTimePicker::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
    SetBounds(Left(), Top(), Width(), Height());
}

void TDateTimePicker::CMColorChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}
