// platform/stdctrls/progressbar.cpp: TProgressBar.
#include "platform/stdctrls/progressbar.h"

#include "platform/stdctrls/progressbarwindow.h"

#include <algorithm>

const TMessageMap& TProgressBar::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TProgressBar::WMPaint>(WM_PAINT),
        OnMessage<&TProgressBar::WMEraseBkgnd>(WM_ERASEBKGND),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetBounds(Left(), Top(), 150, 16);
}

TProgressBar::~TProgressBar()
{
    Destroying();
    DestroyHandle();
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterProgressBarClass();
    if (FOrientation == pbVertical)
        Params.Style |= PBS_VERTICAL;
    if (FSmooth)
        Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    Perform(PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    Perform(PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
    Perform(PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::DestroyWnd()
{
    if (WindowHandle() != 0)
        FPosition = static_cast<int>(Perform(PBM_GETPOS, 0, 0));
    TWinControl::DestroyWnd();
}

void TProgressBar::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            ProgressBarWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TProgressBar::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TProgressBar::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TProgressBar::SetParams(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated())
        Perform(PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TProgressBar::SetMin(int Value)
{
    if (Value != FMin)
        SetParams(Value, std::max(Value, FMax));
}

void TProgressBar::SetMax(int Value)
{
    if (Value != FMax)
        SetParams(std::min(FMin, Value), Value);
}

int TProgressBar::Position() const
{
    if (WindowHandle() != 0)
        return static_cast<int>(const_cast<TProgressBar*>(this)->Perform(PBM_GETPOS, 0, 0));
    return FPosition;
}

void TProgressBar::SetPosition(int Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    if (HandleAllocated())
        Perform(PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetStep(int Value)
{
    FStep = Value;
    if (HandleAllocated())
        Perform(PBM_SETSTEP, static_cast<WPARAM>(Value), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TProgressBar::SetSmooth(bool Value)
{
    if (FSmooth == Value)
        return;
    FSmooth = Value;
    RecreateWnd();
}

void TProgressBar::StepIt()
{
    if (HandleAllocated()) {
        Perform(PBM_STEPIT, 0, 0);
        return;
    }
    long long Next = static_cast<long long>(FPosition) + FStep;
    if (Next > FMax)
        Next = FMin + (Next - FMax);
    FPosition = static_cast<int>(std::clamp<long long>(Next, FMin, FMax));
}

void TProgressBar::StepBy(int Delta)
{
    if (HandleAllocated())
        Perform(PBM_DELTAPOS, static_cast<WPARAM>(Delta), 0);
    else
        FPosition = static_cast<int>(
            std::clamp<long long>(static_cast<long long>(FPosition) + Delta, FMin, FMax));
}
