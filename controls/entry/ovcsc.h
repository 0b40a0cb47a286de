// controls/entry/ovcsc.h: TOvcSpinner, the small arrow-button control that steps the value of
// another control (an entry field of this library or an edit) and repeats the step, faster and
// faster, while its button is held.
#pragma once

#include "controls/entry/ovcbase.h"
#include "controls/entry/ovcscregions.h"

#include <cstdint>
#include <functional>

using TSpinClickEvent =
    std::function<void(TObject* Sender, TOvcSpinState State, double Delta, bool Wrap)>;

class TOvcSpinner : public TOvcCustomControl {
public:
    explicit TOvcSpinner(TComponent* AOwner);
    ~TOvcSpinner() override;

    // Values above 10 are ignored.
    int Acceleration() const { return FAcceleration; }
    void SetAcceleration(int Value);
    bool AutoRepeat() const { return FAutoRepeat; }
    void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
    double Delta() const { return FDelta; }
    void SetDelta(double Value) { FDelta = Value; }
    int DelayTime() const { return FDelayTime; }
    void SetDelayTime(int Value) { FDelayTime = Value; }
    TWinControl* FocusedControl() const { return FFocusedControl; }
    void SetFocusedControl(TWinControl* Value);
    bool ShowArrows() const { return FShowArrows; }
    void SetShowArrows(bool Value);
    TOvcSpinnerStyle Style() const { return FStyle; }
    void SetStyle(TOvcSpinnerStyle Value);
    bool WrapMode() const { return FWrapMode; }
    void SetWrapMode(bool Value) { FWrapMode = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TSpinClickEvent OnClick;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;

    virtual void DoOnClick(TOvcSpinState State);
    // Steps the focused control once for the current state, when pressed and due.
    void DoStep();
    // The button under the cursor now.
    TOvcSpinState GetButtonState();
    TOvcSpinState CurrentState() const { return FCurState; }
    bool Pressed() const { return FPressed; }
    const TSpinRegions& Regions() const { return FRegions; }

    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void OMRecreateWnd(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void RecreateRegions();
    // Makes State current and repaints the button left and the one entered.
    void ChangeState(TOvcSpinState State);
    void InvalidateButton(TOvcSpinState State);
    // Runs while the primary button is held, stepping when due and waiting in between.
    void HoldLoop();
    void MouseReleased();

    int FAcceleration = 5;
    bool FAutoRepeat = true;
    double FDelta = 1.0;
    int FDelayTime = 500;
    TWinControl* FFocusedControl = nullptr;
    bool FShowArrows = true;
    TOvcSpinnerStyle FStyle = stNormalVertical;
    bool FWrapMode = true;

    TOvcSpinState FCurState = TOvcSpinState::ssNormal;
    TOvcSpinState FPrevState = TOvcSpinState::ssNormal;
    bool FPressed = false;
    std::uint32_t FNextRepeat = 0;
    int FRepeatCount = 0;
    TSpinRegions FRegions;
};
