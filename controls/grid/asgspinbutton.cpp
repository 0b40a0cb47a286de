// controls/grid/asgspinbutton.cpp: the repeating speed button and the spin button pair.
#include "controls/grid/asgspin.h"

#include "platform/gfx/bitmap.h"
#include "platform/ui/input.h"
#include "platform/ui/ttimer.h"

#include <algorithm>

namespace {

constexpr Cardinal InitRepeatPause = 400;
constexpr Cardinal RepeatPause = 100;

} // namespace

// ---- TAdvTimerSpeedButton --------------------------------------------------------------------

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() = default;

void TAdvTimerSpeedButton::SetTimeBtnState(TTimeBtnStates Value)
{
    if (Value == FTimeBtnState)
        return;
    FTimeBtnState = Value;
    Invalidate();
}

void TAdvTimerSpeedButton::SetArrow(int Value)
{
    if (Value == FArrow)
        return;
    FArrow = Value;
    Invalidate();
}

bool TAdvTimerSpeedButton::Repeating() const
{
    return FRepeatTimer != nullptr && FRepeatTimer->Enabled();
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (FTimeBtnState.Contains(tbAllowTimer) && Button == mbLeft && Enabled()) {
        if (FRepeatTimer == nullptr) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(InitRepeatPause);
        FRepeatTimer->SetEnabled(true);
    }
    RepaintParent();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    StopRepeat();
    RepaintParent();
}

void TAdvTimerSpeedButton::StopRepeat()
{
    if (FRepeatTimer != nullptr)
        FRepeatTimer->SetEnabled(false);
}

void TAdvTimerSpeedButton::RepaintParent()
{
    if (Parent() != nullptr)
        Parent()->Repaint();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*)
{
    FRepeatTimer->SetInterval(RepeatPause);
    if (State() != bsDown || !MouseCapture())
        return;
    try {
        Click();
    } catch (...) {
        StopRepeat();
        throw;
    }
}

void TAdvTimerSpeedButton::Paint()
{
    if (FArrow == 0 || FArrow == 1) {
        unsigned Flags = FArrow == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (State() == bsDown)
            Flags |= DFCS_PUSHED;
        if (Flat())
            Flags |= DFCS_FLAT;
        if (!Enabled())
            Flags |= DFCS_INACTIVE;
        Canvas()->DrawFrameControl(ClientRect(), DFC_SCROLL, Flags);
    } else {
        TSpeedButton::Paint();
    }
    if (FTimeBtnState.Contains(tbFocusRect)) {
        TRect R = ClientRect();
        InflateRect(R, -3, -3);
        if (State() == bsDown)
            OffsetRect(R, 1, 1);
        Canvas()->DrawFocusRect(R);
    }
}

// ---- TAsgSpinButton --------------------------------------------------------------------------

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption} +
                    TControlStyle{csFramed, csOpaque});
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    ApplyArrows();
    FFocusedButton = FUpButton;
    SetBounds(0, 0, 15, 25);
}

TAsgSpinButton::~TAsgSpinButton() = default;

TAdvTimerSpeedButton* TAsgSpinButton::CreateButton()
{
    auto* Btn = new TAdvTimerSpeedButton(this);
    Btn->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    Btn->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) { BtnMouseDown(Sender, Button, Shift, X, Y); };
    Btn->SetTimeBtnState(TTimeBtnStates{tbAllowTimer});
    Btn->SetParent(this);
    return Btn;
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TAsgSpinButton::SetFocusControl(TWinControl* Value)
{
    if (Value == FFocusControl)
        return;
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TAsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AdjustSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAsgSpinButton::AdjustSize(int& W, int& H)
{
    if (FUpButton == nullptr || FDownButton == nullptr)
        return;
    if (FDirection == spVertical) {
        W = std::max(W, 15);
        const int Half = H / 2;
        FUpButton->SetBounds(0, 0, W, Half);
        FDownButton->SetBounds(0, Half - 1, W, H - Half + 1);
    } else {
        W = std::max(W, 20);
        const int Half = W / 2;
        FDownButton->SetBounds(0, 0, Half, H);
        FUpButton->SetBounds(Half, 0, W - Half, H);
    }
}

void TAsgSpinButton::ApplyArrows()
{
    FDownButton->SetArrow(FDirection == spHorizontal ? 0 : 3);
    FUpButton->SetArrow(FDirection == spHorizontal ? 1 : 2);
}

void TAsgSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == FDirection)
        return;
    FDirection = Value;
    ApplyArrows();
    if (HandleAllocated())
        RecreateWnd();
    SetWidth(Value == spHorizontal ? 20 : 15);
}

TBitmap* TAsgSpinButton::UpGlyph() const
{
    return FUpButton->Glyph();
}

TBitmap* TAsgSpinButton::DownGlyph() const
{
    return FDownButton->Glyph();
}

void TAsgSpinButton::SetUpGlyph(const TBitmap* Value)
{
    if (Value != nullptr) {
        FUpButton->SetGlyph(Value);
        return;
    }
    TBitmap Builtin;
    Builtin.LoadFromResourceName("AsgSpinUp");
    FUpButton->SetGlyph(&Builtin);
    FUpButton->SetNumGlyphs(1);
}

void TAsgSpinButton::SetDownGlyph(const TBitmap* Value)
{
    if (Value != nullptr) {
        FDownButton->SetGlyph(Value);
        return;
    }
    TBitmap Builtin;
    Builtin.LoadFromResourceName("AsgSpinDown");
    FDownButton->SetGlyph(&Builtin);
    FDownButton->SetNumGlyphs(1);
}

TNumGlyphs TAsgSpinButton::UpNumGlyphs() const
{
    return FUpButton->NumGlyphs();
}

void TAsgSpinButton::SetUpNumGlyphs(TNumGlyphs Value)
{
    FUpButton->SetNumGlyphs(Value);
}

TNumGlyphs TAsgSpinButton::DownNumGlyphs() const
{
    return FDownButton->NumGlyphs();
}

void TAsgSpinButton::SetDownNumGlyphs(TNumGlyphs Value)
{
    FDownButton->SetNumGlyphs(Value);
}

void TAsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft)
        return;
    SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(Sender));
    if (FFocusControl != nullptr && FFocusControl->CanFocus()) {
        if (!FFocusControl->Focused())
            FFocusControl->SetFocus();
    } else if (CanFocus() && !Focused()) {
        SetFocus();
    }
}

void TAsgSpinButton::BtnClick(TObject* Sender)
{
    if (Sender == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TAsgSpinButton::SetFocusBtn(TAdvTimerSpeedButton* Btn)
{
    if (Btn == FFocusedButton)
        return;
    if (Focused()) {
        FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() -
                                        TTimeBtnStates{tbFocusRect});
        Btn->SetTimeBtnState(Btn->TimeBtnState() + TTimeBtnStates{tbFocusRect});
    }
    FFocusedButton = Btn;
}

void TAsgSpinButton::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default:
        break;
    }
    TWinControl::KeyDown(Key, Shift);
}

void TAsgSpinButton::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    Message.Result |= DLGC_WANTARROWS;
}

void TAsgSpinButton::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() + TTimeBtnStates{tbFocusRect});
}

void TAsgSpinButton::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() - TTimeBtnStates{tbFocusRect});
}

const TMessageMap& TAsgSpinButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TAsgSpinButton::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TAsgSpinButton::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TAsgSpinButton::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}
