#include "platform/stdctrls/trackbar.h"

#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/trackbarwindow.h"

#include <algorithm>

const TMessageMap& TTrackBar::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TTrackBar::WMPaint>(WM_PAINT),
        OnMessage<&TTrackBar::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TTrackBar::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TTrackBar::CNScroll>(CN_HSCROLL),
        OnMessage<&TTrackBar::CNScroll>(CN_VSCROLL),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(Left(), Top(), 150, 45);
    SetTabStop(true);
    SetColor(clBtnFace);
}

TTrackBar::~TTrackBar()
{
    DestroyHandle();
}

DWORD TTrackBar::StyleBits() const
{
    DWORD Style = TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
    Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
    if (FTickMarks == tmTopLeft)
        Style |= TBS_TOP;
    else if (FTickMarks == tmBoth)
        Style |= TBS_BOTH;
    if (FTickStyle == tsNone)
        Style |= TBS_NOTICKS;
    else if (FTickStyle == tsAuto)
        Style |= TBS_AUTOTICKS;
    return Style;
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterTrackBarClass();
    Params.Style |= StyleBits();
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    Perform(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
    Perform(TBM_SETLINESIZE, 0, FLineSize);
    Perform(TBM_SETPAGESIZE, 0, FPageSize);
    Perform(TBM_SETRANGEMIN, 0, FMin);
    Perform(TBM_SETRANGEMAX, 0, FMax);
    Perform(TBM_SETSELSTART, 0, FSelStart);
    Perform(TBM_SETSELEND, 1, FSelEnd);
    Perform(TBM_SETPOS, 1, FPosition);
    UpdateTicks();
}

void TTrackBar::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            TrackBarWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TTrackBar::UpdateStyle()
{
    if (!HandleAllocated())
        return;
    SetControlStyleBits(WindowHandle(), StyleBits());
    UpdateTicks();
    Invalidate();
}

void TTrackBar::UpdateTicks()
{
    if (!HandleAllocated())
        return;
    Perform(TBM_CLEARTICS, 1, 0);
    if (FTickStyle == tsAuto)
        Perform(TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    else if (FTickStyle == tsManual)
        for (const int Tick : FTicks)
            Perform(TBM_SETTIC, 0, Tick);
}

// ---- properties

void TTrackBar::SetMin(int Value)
{
    if (Value > FMax || Value == FMin)
        return;
    FMin = Value;
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated()) {
        Perform(TBM_SETRANGEMIN, 1, Value);
        UpdateTicks();
    }
}

void TTrackBar::SetMax(int Value)
{
    if (Value < FMin || Value == FMax)
        return;
    FMax = Value;
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated()) {
        Perform(TBM_SETRANGEMAX, 1, Value);
        UpdateTicks();
    }
}

int TTrackBar::Position()
{
    if (HandleAllocated())
        FPosition = static_cast<int>(Perform(TBM_GETPOS, 0, 0));
    return FPosition;
}

void TTrackBar::SetPosition(int Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    if (HandleAllocated())
        Perform(TBM_SETPOS, 1, FPosition);
}

void TTrackBar::SetFrequency(int Value)
{
    Value = std::max(1, Value);
    if (Value == FFrequency)
        return;
    FFrequency = Value;
    UpdateTicks();
}

void TTrackBar::SetLineSize(int Value)
{
    FLineSize = Value;
    if (HandleAllocated())
        Perform(TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::SetPageSize(int Value)
{
    FPageSize = Value;
    if (HandleAllocated())
        Perform(TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    UpdateStyle();
}

void TTrackBar::SetTickMarks(TTickMark Value)
{
    if (Value == FTickMarks)
        return;
    FTickMarks = Value;
    UpdateStyle();
}

void TTrackBar::SetTickStyle(TTickStyle Value)
{
    if (Value == FTickStyle)
        return;
    FTickStyle = Value;
    UpdateStyle();
}

void TTrackBar::SetTick(int Value)
{
    if (!std::count(FTicks.begin(), FTicks.end(), Value))
        FTicks.push_back(Value);
    if (HandleAllocated() && FTickStyle == tsManual)
        Perform(TBM_SETTIC, 0, Value);
}

void TTrackBar::SetSelStart(int Value)
{
    FSelStart = Value;
    if (HandleAllocated())
        Perform(TBM_SETSELSTART, 1, Value);
}

void TTrackBar::SetSelEnd(int Value)
{
    FSelEnd = Value;
    if (HandleAllocated())
        Perform(TBM_SETSELEND, 1, Value);
}

void TTrackBar::SetThumbLength(int Value)
{
    FThumbLength = Value;
    if (HandleAllocated())
        Perform(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(std::max(0, Value)), 0);
}

// ---- messages

void TTrackBar::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TTrackBar::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TTrackBar::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TTrackBar::CNScroll(TMessage& Message)
{
    const int Old = FPosition;
    if (Position() != Old)
        Changed();
    Message.Result = 0;
}
