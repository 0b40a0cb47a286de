#include "controls/entry/ovcsc.h"

#include "controls/entry/ovcef.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcmsgs.h"
#include "controls/entry/ovcscpaint.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/properties.h"
#include "platform/stdctrls/edit.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/wait.h"

#include <algorithm>
#include <climits>

namespace {

void PublishSpinner()
{
    static const bool Done = [] {
        RegisterEnumeration<TOvcSpinnerStyle>(
            {"stNormalVertical", "stNormalHorizontal", "stFourWay", "stStar", "stDiagonalVertical",
             "stDiagonalHorizontal", "stDiagonalFourWay", "stPlainStar"});
        TPublished<TOvcSpinner>()
            .Property("Acceleration", &TOvcSpinner::Acceleration, &TOvcSpinner::SetAcceleration)
            .Property("AutoRepeat", &TOvcSpinner::AutoRepeat, &TOvcSpinner::SetAutoRepeat)
            .Property("Delta", &TOvcSpinner::Delta, &TOvcSpinner::SetDelta)
            .Property("DelayTime", &TOvcSpinner::DelayTime, &TOvcSpinner::SetDelayTime)
            .Property("FocusedControl", &TOvcSpinner::FocusedControl,
                      &TOvcSpinner::SetFocusedControl)
            .Property("ShowArrows", &TOvcSpinner::ShowArrows, &TOvcSpinner::SetShowArrows)
            .Property("Style", &TOvcSpinner::Style, &TOvcSpinner::SetStyle)
            .Property("WrapMode", &TOvcSpinner::WrapMode, &TOvcSpinner::SetWrapMode)
            .Field("OnClick", &TOvcSpinner::OnClick, "TSpinClickEvent");
        return true;
    }();
    (void)Done;
}

// The shortest pause between two repeated steps, so that a held button never spins.
constexpr int MinRepeatPause = 10;
// The repeat count stops growing here; the pause is long at its floor by then.
constexpr int MaxRepeatCount = 1000000;

bool PrimaryButtonHeld()
{
    return (GetAsyncKeyState(PrimaryButtonKey()) & 0x8000) != 0;
}

} // namespace

TOvcSpinner::TOvcSpinner(TComponent* AOwner) : TOvcCustomControl(AOwner)
{
    PublishSpinner();
    SetControlStyle(ControlStyle() + TControlStyle{csClickEvents});
    SetTabStop(false);
    SetBounds(Left(), Top(), 16, 25);
}

TOvcSpinner::~TOvcSpinner() = default;

void TOvcSpinner::SetAcceleration(int Value)
{
    if (Value <= 10)
        FAcceleration = Value;
}

void TOvcSpinner::SetFocusedControl(TWinControl* Value)
{
    if (Value == FFocusedControl)
        return;
    if (FFocusedControl != nullptr)
        FFocusedControl->RemoveFreeNotification(this);
    FFocusedControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TOvcSpinner::SetShowArrows(bool Value)
{
    if (Value == FShowArrows)
        return;
    FShowArrows = Value;
    Invalidate();
}

void TOvcSpinner::SetStyle(TOvcSpinnerStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    RecreateWnd();
    RecreateRegions();
    Invalidate();
}

void TOvcSpinner::CreateWnd()
{
    TOvcCustomControl::CreateWnd();
    RecreateRegions();
}

void TOvcSpinner::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TOvcCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    RecreateRegions();
}

void TOvcSpinner::RecreateRegions()
{
    FRegions = SpinnerRegions(FStyle, Width(), Height());
}

void TOvcSpinner::Notification(TComponent* AComponent, TOperation Operation)
{
    TOvcCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr && AComponent == FFocusedControl)
        FFocusedControl = nullptr;
}

void TOvcSpinner::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    for (int Slot = 0; Slot < static_cast<int>(FRegions.size()); ++Slot) {
        const TOvcSpinState Kind = SlotState(FStyle, Slot);
        PaintSpinButton(C, FRegions[Slot], Kind, FPressed && Kind == FCurState, FShowArrows);
    }
}

void TOvcSpinner::DoOnClick(TOvcSpinState State)
{
    if (OnClick)
        OnClick(this, State, FDelta, FWrapMode);
}

void TOvcSpinner::DoStep()
{
    if (!FPressed)
        return;
    auto* Field = dynamic_cast<TOvcBaseEntryField*>(FFocusedControl);
    auto* Edit = Field == nullptr ? dynamic_cast<TCustomEdit*>(FFocusedControl) : nullptr;
    if (!OnClick && Field == nullptr && Edit == nullptr)
        return;
    const std::uint32_t Now = GetTickCount();
    // By the difference, so that the tick count's wrap neither stalls nor hurries the repeat.
    if (static_cast<std::int32_t>(Now - FNextRepeat) < 0)
        return;
    const TOvcSpinState State = FCurState;
    if (Field != nullptr) {
        switch (State) {
        case TOvcSpinState::ssUpBtn:
            Field->StepValueUp(FWrapMode, FDelta);
            break;
        case TOvcSpinState::ssDownBtn:
            Field->StepValueDown(FWrapMode, FDelta);
            break;
        case TOvcSpinState::ssLeftBtn:
            if (Field->Focused())
                Field->MoveCaret(-1);
            break;
        case TOvcSpinState::ssRightBtn:
            if (Field->Focused())
                Field->MoveCaret(1);
            break;
        default:
            break;
        }
    } else if (Edit != nullptr &&
               (State == TOvcSpinState::ssUpBtn || State == TOvcSpinState::ssDownBtn)) {
        double Value = 0;
        // Text that is no number stays as it is, without a word.
        if (TryStrToFloat(Edit->Text(), Value))
            Edit->SetText(
                FloatToStr(State == TOvcSpinState::ssUpBtn ? Value + FDelta : Value - FDelta));
    }
    DoOnClick(State);
    const long long Pause = static_cast<long long>(FDelayTime) -
                            static_cast<long long>(FAcceleration) * 10 * FRepeatCount;
    FNextRepeat =
        Now + static_cast<std::uint32_t>(std::clamp<long long>(Pause, MinRepeatPause, INT_MAX / 2));
    if (FRepeatCount < MaxRepeatCount)
        ++FRepeatCount;
}

TOvcSpinState TOvcSpinner::GetButtonState()
{
    const TPoint P = ScreenToClient(GetCursorPos());
    const TRect R = ClientRect();
    return SpinnerHitTest(FStyle, FRegions, R.Width(), R.Height(), P,
                          ControlState().Contains(csClicked));
}

void TOvcSpinner::InvalidateButton(TOvcSpinState State)
{
    if (!HandleAllocated())
        return;
    for (int Slot = 0; Slot < static_cast<int>(FRegions.size()); ++Slot)
        if (!FRegions[Slot].Empty() && SlotState(FStyle, Slot) == State) {
            const TRect R = FRegions[Slot].Bounds();
            InvalidateRect(Handle(), &R, false);
        }
}

void TOvcSpinner::ChangeState(TOvcSpinState State)
{
    FPrevState = FCurState;
    FCurState = State;
    FPressed = State > TOvcSpinState::ssNormal;
    InvalidateButton(FPrevState);
    InvalidateButton(FCurState);
}

void TOvcSpinner::WMLButtonDown(TMessage& Message)
{
    Inherited(Message);
    if (FFocusedControl != nullptr && !FFocusedControl->Focused()) {
        // Taking the focus first lets the control that loses it validate and refuse.
        SetFocus();
        Application->ProcessMessages();
        if (!Focused())
            return;
        if (FFocusedControl != nullptr && FFocusedControl->CanFocus())
            FFocusedControl->SetFocus();
    }
    ChangeState(GetButtonState());
    FRepeatCount = 0;
    FNextRepeat = GetTickCount() - 1;
    try {
        DoStep();
        HoldLoop();
    } catch (...) {
        MouseReleased();
        throw;
    }
    MouseReleased();
}

void TOvcSpinner::HoldLoop()
{
    const bool Repeat = FAutoRepeat && FCurState != TOvcSpinState::ssCenterBtn;
    while (PrimaryButtonHeld() && !Application->Terminated()) {
        if (Repeat)
            DoStep();
        Application->ProcessMessages();
        if (!PrimaryButtonHeld())
            break;
        int Timeout = -1;
        if (Repeat) {
            TOvcSpinState State = GetButtonState();
            if (State == TOvcSpinState::ssCenterBtn)
                State = TOvcSpinState::ssNormal;
            if (State != FCurState)
                ChangeState(State);
            if (FPressed)
                Timeout = std::max<std::int32_t>(
                    0, static_cast<std::int32_t>(FNextRepeat - GetTickCount()));
        }
        // Sleeps until input comes or the next step is due.
        WaitMessage(Timeout);
    }
}

void TOvcSpinner::MouseReleased()
{
    FPressed = false;
    ChangeState(TOvcSpinState::ssNormal);
}

void TOvcSpinner::WMLButtonUp(TMessage& Message)
{
    Inherited(Message);
    MouseReleased();
}

void TOvcSpinner::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_STATIC;
}

void TOvcSpinner::WMEraseBkgnd(TMessage& Message)
{
    // Paint covers every pixel.
    Message.Result = 1;
}

void TOvcSpinner::OMRecreateWnd(TMessage&)
{
    RecreateWnd();
}

const TMessageMap& TOvcSpinner::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcSpinner::WMLButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TOvcSpinner::WMLButtonDown>(WM_LBUTTONDBLCLK),
        OnMessage<&TOvcSpinner::WMLButtonUp>(WM_LBUTTONUP),
        OnMessage<&TOvcSpinner::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TOvcSpinner::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TOvcSpinner::OMRecreateWnd>(OM_RECREATEWND),
    });
    static constexpr TMessageMap Map{Handlers, &TOvcCustomControl::ClassMessageMap};
    return Map;
}
