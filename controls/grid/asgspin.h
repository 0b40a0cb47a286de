// controls/grid/asgspin.h: the grid's spin controls: a speed button that repeats while held, the
// up and down button pair, and the spin edit for integers, decimals, dates and times.
#pragma once

#include "platform/rtl/sets.h"
#include "platform/stdctrls/maskedit.h"
#include "platform/stdctrls/speedbutton.h"

#include <memory>
#include <string>

class TTimer;

enum TTimeBtnState { tbFocusRect, tbAllowTimer };
using TTimeBtnStates = TSet<TTimeBtnState>;

// A speed button that clicks again and again while it is held: first after 400 ms, then every
// 100 ms. Arrow codes 0 and 1 paint a left and a right scroll arrow, 2 and 3 the glyph.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
    explicit TAdvTimerSpeedButton(TComponent* AOwner);
    ~TAdvTimerSpeedButton() override;

    TTimeBtnStates TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnStates Value);
    int Arrow() const { return FArrow; }
    void SetArrow(int Value);
    // Whether the repeat timer runs now.
    bool Repeating() const;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    void TimerExpired(TObject* Sender);
    void StopRepeat();
    void RepaintParent();

    TTimer* FRepeatTimer = nullptr; // owned as a component, made on first use
    TTimeBtnStates FTimeBtnState;
    int FArrow = 2;
};

enum TSpinDirection { spVertical, spHorizontal };

// An up and a down button; a press hands the focus to FocusControl, a click fires OnUpClick or
// OnDownClick. Space, Up and Down work it from the keyboard.
class TAsgSpinButton : public TWinControl {
public:
    explicit TAsgSpinButton(TComponent* AOwner);
    ~TAsgSpinButton() override;

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TBitmap* UpGlyph() const;
    // Null loads the built-in arrow.
    void SetUpGlyph(const TBitmap* Value);
    TBitmap* DownGlyph() const;
    void SetDownGlyph(const TBitmap* Value);
    TNumGlyphs UpNumGlyphs() const;
    void SetUpNumGlyphs(TNumGlyphs Value);
    TNumGlyphs DownNumGlyphs() const;
    void SetDownNumGlyphs(TNumGlyphs Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    // The button Space clicks.
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TAdvTimerSpeedButton* CreateButton();
    void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BtnClick(TObject* Sender);
    void SetFocusBtn(TAdvTimerSpeedButton* Btn);
    void AdjustSize(int& W, int& H);
    void ApplyArrows();

    TAdvTimerSpeedButton* FUpButton = nullptr;
    TAdvTimerSpeedButton* FDownButton = nullptr;
    TAdvTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
};

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };

// An edit with a spin button at its right for whole numbers, decimals, dates or times; the
// arrows and the button step the value (a date or time by the field under the caret), and
// leaving the field keeps the value within its limits (equal limits: none).
class TAsgSpinEdit : public TCustomMaskEdit {
public:
    explicit TAsgSpinEdit(TComponent* AOwner);
    ~TAsgSpinEdit() override;

    TAsgSpinButton* Button() const { return FButton; }
    TSpinDirection Direction() const;
    void SetDirection(TSpinDirection Value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    TAsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType Value);
    bool SpinFlat() const;
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }

    // Reading never raises: a text that does not convert reads as the lower limit (0 for a
    // time).
    int Value() const;
    void SetValue(int Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime Value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime Value);

    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }

    // Whether Key may be typed; may turn a thousands separator into the decimal one.
    virtual bool IsValidChar(char& Key);
    // One step up or down in the spin type; a read-only field only beeps.
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void Step(int Sign);
    void StepDate(int Sign);
    void StepTime(int Sign);
    int MinHeight() const;
    void PlaceButton();
    void SetEditRect();
    bool OutOfLimits() const;
    // Shows Text with the caret where it was.
    void ShowKeepingCaret(const std::string& Text);

    TAsgSpinButton* FButton = nullptr;
    TAsgSpinType FSpinType = sptNormal;
    bool FReturnIsTab = false;
    int FPrecision = 0;
    bool FSpinTransparent = false;
    bool FEditorEnabled = true;
    int FIncrement = 1;
    double FIncrementFloat = 0;
    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0;
    double FMaxFloatValue = 100;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
};
