// controls/grid/asgspinedit.cpp: TAsgSpinEdit, the spin edit for integers, decimals, dates and
// times: its values and limits, stepping, typing and layout.
#include "controls/grid/asgspin.h"

#include "controls/grid/asgedit.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char Backspace = 8;
constexpr char Enter = 13;
constexpr char Escape = 27;

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// The fields of a short date in the order the format writes them: 'd', 'M' and 'y'.
std::string DateFieldOrder(const std::string& Format)
{
    std::string Order;
    for (char C : Format) {
        const char F = C == 'm' ? 'M' : C == 'Y' ? 'y' : C == 'D' ? 'd' : C;
        if ((F == 'd' || F == 'M' || F == 'y') && Order.find(F) == std::string::npos)
            Order += F;
    }
    return Order.size() == 3 ? Order : "dMy";
}

// The 0-based field (0, 1, 2) the caret at Pos lies in, fields split by Separator.
int FieldAt(const std::string& Text, int Pos, char Separator)
{
    int Field = 0;
    for (int I = 0; I < static_cast<int>(Text.size()) && I < Pos; ++I)
        if (Text[static_cast<std::size_t>(I)] == Separator)
            ++Field;
    return std::min(Field, 2);
}

} // namespace

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TAsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
    SetText("0");
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
}

TAsgSpinEdit::~TAsgSpinEdit() = default;

// ---- values ----------------------------------------------------------------------------------

int TAsgSpinEdit::Value() const
{
    int Result = 0;
    return TryStrToInt(Text(), Result) ? Result : FMinValue;
}

void TAsgSpinEdit::SetValue(int Value)
{
    if (FMinValue != FMaxValue)
        Value = std::clamp(Value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    SetText(IntToStr(Value));
    if (!FEditorEnabled)
        SelectAll();
}

double TAsgSpinEdit::FloatValue() const
{
    double Result = 0;
    return TryStrToFloat(Text(), Result) ? Result : FMinFloatValue;
}

void TAsgSpinEdit::SetFloatValue(double Value)
{
    if (FMinFloatValue != FMaxFloatValue)
        Value = std::clamp(Value, std::min(FMinFloatValue, FMaxFloatValue),
                           std::max(FMinFloatValue, FMaxFloatValue));
    SetText(FPrecision > 0 ? FloatToStrF(Value, ffFixed, 15, FPrecision) : FloatToStr(Value));
}

TDateTime TAsgSpinEdit::DateValue() const
{
    const std::string T = Text();
    if (T.empty() || T == "0")
        return Date();
    TDateTime Result = 0;
    return TryStrToDate(T, Result) ? Result : FMinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime Value)
{
    if (FMinDateValue != FMaxDateValue)
        Value = std::clamp(Value, std::min(FMinDateValue, FMaxDateValue),
                           std::max(FMinDateValue, FMaxDateValue));
    FDateValue = Value;
    if (!ComponentState().Contains(csLoading))
        ShowKeepingCaret(DateToStr(Value));
}

TDateTime TAsgSpinEdit::TimeValue() const
{
    TDateTime Result = 0;
    return TryStrToTime(Text(), Result) ? Result : 0;
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value)
{
    FTimeValue = Value;
    if (!ComponentState().Contains(csLoading))
        ShowKeepingCaret(TimeToStr(Value));
}

void TAsgSpinEdit::ShowKeepingCaret(const std::string& Value)
{
    const int Caret = SelStart();
    SetText(Value);
    SetSelStart(std::min(Caret, static_cast<int>(Value.size())));
    SetSelLength(0);
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value)
{
    if (Value == FSpinType)
        return;
    FSpinType = Value;
    switch (Value) {
    case sptNormal:
        SetValue(this->Value());
        break;
    case sptFloat:
        SetFloatValue(FloatValue());
        break;
    case sptDate:
        SetDateValue(DateValue());
        break;
    case sptTime:
        SetTimeValue(TimeValue());
        break;
    }
}

void TAsgSpinEdit::SetPrecision(int Value)
{
    if (Value == FPrecision)
        return;
    FPrecision = std::max(0, Value);
    if (FSpinType == sptFloat)
        SetFloatValue(FloatValue());
}

bool TAsgSpinEdit::OutOfLimits() const
{
    switch (FSpinType) {
    case sptNormal: {
        const int V = Value();
        return FMinValue != FMaxValue && (V < FMinValue || V > FMaxValue);
    }
    case sptFloat: {
        const double V = FloatValue();
        return FMinFloatValue != FMaxFloatValue && (V < FMinFloatValue || V > FMaxFloatValue);
    }
    case sptDate: {
        const TDateTime V = DateValue();
        return FMinDateValue != FMaxDateValue && (V < FMinDateValue || V > FMaxDateValue);
    }
    case sptTime:
        return false;
    }
    return false;
}

void TAsgSpinEdit::DoExit()
{
    TCustomMaskEdit::DoExit();
    if (!OutOfLimits())
        return;
    switch (FSpinType) {
    case sptNormal:
        SetValue(Value());
        break;
    case sptFloat:
        SetFloatValue(FloatValue());
        break;
    case sptDate:
        SetDateValue(DateValue());
        break;
    case sptTime:
        break;
    }
}

// ---- stepping --------------------------------------------------------------------------------

void TAsgSpinEdit::UpClick(TObject*)
{
    Step(1);
}

void TAsgSpinEdit::DownClick(TObject*)
{
    Step(-1);
}

void TAsgSpinEdit::Step(int Sign)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case sptNormal:
        SetValue(Value() + Sign * FIncrement);
        break;
    case sptFloat:
        SetFloatValue(FloatValue() + Sign * FIncrementFloat);
        break;
    case sptDate:
        StepDate(Sign);
        break;
    case sptTime:
        StepTime(Sign);
        break;
    }
}

// The field under the caret steps, in the order the short date format gives the fields.
void TAsgSpinEdit::StepDate(int Sign)
{
    const TDateTime Current = DateValue();
    const char Field = DateFieldOrder(FormatSettings.ShortDateFormat)[static_cast<std::size_t>(
        FieldAt(Text(), SelStart(), FormatSettings.DateSeparator))];
    switch (Field) {
    case 'd':
        SetDateValue(Current + Sign);
        break;
    case 'M':
        SetDateValue(IncMonth(Current, Sign));
        break;
    default: {
        Word Year = 0, Month = 0, Day = 0;
        DecodeDate(Current, Year, Month, Day);
        // 29 February in a year without it raises the encoding error; the value stays.
        SetDateValue(EncodeDate(static_cast<Word>(Year + Sign), Month, Day) +
                     (Current - std::floor(Current)));
        break;
    }
    }
}

// Hours, minutes or seconds by the caret; the time wraps round midnight.
void TAsgSpinEdit::StepTime(int Sign)
{
    static const double Steps[3] = {1.0 / 24, 1.0 / (24 * 60), 1.0 / (24 * 60 * 60)};
    const double Delta = Steps[FieldAt(Text(), SelStart(), FormatSettings.TimeSeparator)];
    double T = TimeValue() + Sign * Delta;
    // Whole milliseconds, so that rounding never shows 23:59:59 for midnight.
    T = std::round(T * 86400000.0) / 86400000.0;
    T -= std::floor(T);
    SetTimeValue(T);
}

// ---- typing ----------------------------------------------------------------------------------

bool TAsgSpinEdit::IsValidChar(char& Key)
{
    const TFormatSettings& F = FormatSettings;
    const auto Ch = static_cast<unsigned char>(Key);
    bool Result = Key == '+' || Key == '-' || IsDigit(Key) || Key == F.DecimalSeparator ||
                  Key == F.ThousandSeparator || (Ch < 32 && Key != Enter);
    if (FSpinType == sptTime && Key == F.TimeSeparator)
        Result = true;
    if (FSpinType == sptDate && Key == F.DateSeparator)
        Result = true;

    const std::string T = Text();
    const int Start = SelStart();
    const int Length = SelLength();
    // The text the key would join: what is left of it outside the selection.
    const std::string Kept = T.substr(0, static_cast<std::size_t>(Start)) +
                             T.substr(std::min(T.size(), static_cast<std::size_t>(Start + Length)));

    if (Result && FSpinType == sptFloat && Key != Backspace && Key != Enter && Key != Escape) {
        if (Key == F.ThousandSeparator)
            Key = F.DecimalSeparator;
        const std::size_t Dot = Kept.find(F.DecimalSeparator);
        if (Key == F.DecimalSeparator && Dot != std::string::npos)
            Result = false;
        if (Result && FPrecision >= 1 && IsDigit(Key) && Length == 0 && Dot != std::string::npos &&
            static_cast<std::size_t>(Start) > Dot &&
            static_cast<int>(Kept.size() - Dot - 1) >= FPrecision)
            Result = false;
    }

    // As many time separators as the long time format has (hours, minutes, seconds).
    if (Result && FSpinType == sptTime && Key == F.TimeSeparator) {
        const auto Allowed = std::max<std::ptrdiff_t>(
            1, std::count(F.LongTimeFormat.begin(), F.LongTimeFormat.end(), ':'));
        if (std::count(Kept.begin(), Kept.end(), F.TimeSeparator) >= Allowed)
            Result = false;
    }

    if (!FEditorEnabled && (Ch >= 32 || Key == Backspace || Key == '.'))
        Result = false;
    return Result;
}

void TAsgSpinEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_UP) {
        UpClick(this);
        Key = 0;
    } else if (Key == VK_DOWN) {
        DownClick(this);
        Key = 0;
    } else if (Key == VK_RETURN && FReturnIsTab) {
        Key = 0;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    } else if (Key == VK_DELETE && !FEditorEnabled) {
        Key = 0;
    }
    if (Key != 0)
        TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::KeyPress(char& Key)
{
    // Enter that became Tab is no character of the field.
    if (Key == Enter && FReturnIsTab) {
        Key = 0;
        return;
    }
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::WMCut(TMessage& Message)
{
    if (FEditorEnabled && !ReadOnly())
        Inherited(Message);
}

void TAsgSpinEdit::WMPaste(TMessage& Message)
{
    if (FEditorEnabled && !ReadOnly())
        Inherited(Message);
}

// ---- layout ----------------------------------------------------------------------------------

TSpinDirection TAsgSpinEdit::Direction() const
{
    return FButton->Direction();
}

void TAsgSpinEdit::SetDirection(TSpinDirection Value)
{
    FButton->SetDirection(Value);
    PlaceButton();
    SetEditRect();
}

bool TAsgSpinEdit::SpinFlat() const
{
    return FButton->UpButton()->Flat();
}

void TAsgSpinEdit::SetSpinFlat(bool Value)
{
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
}

void TAsgSpinEdit::SetSpinTransparent(bool Value)
{
    if (Value == FSpinTransparent)
        return;
    FSpinTransparent = Value;
    FButton->Invalidate();
}

void TAsgSpinEdit::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= static_cast<DWORD>(ES_MULTILINE) | static_cast<DWORD>(WS_CLIPCHILDREN);
}

void TAsgSpinEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TAsgSpinEdit::SetEditRect()
{
    if (!HandleAllocated())
        return;
    TRect Loc = Rect(0, 0, ClientWidth() - FButton->Width() - 2, ClientHeight() + 1);
    if (BorderStyle() == bsNone)
        Loc.Right -= 1;
    SendToEdit(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Loc));
}

int TAsgSpinEdit::MinHeight() const
{
    int Result = EditLineHeight(Font()) + 2;
    if (BorderStyle() == bsSingle)
        Result += GetSystemMetrics(SM_CYBORDER) * 4;
    return Result;
}

void TAsgSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FButton != nullptr)
        AHeight = std::max(AHeight, MinHeight());
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FButton != nullptr) {
        PlaceButton();
        SetEditRect();
    }
}

void TAsgSpinEdit::PlaceButton()
{
    const int W = FButton->Width();
    if (Ctl3D()) {
        const int Less = BorderStyle() == bsSingle ? 5 : 1;
        FButton->SetBounds(Width() - W - Less, 0, W, Height() - Less);
    } else {
        FButton->SetBounds(Width() - W, 1, W, Height() - 3);
    }
}

void TAsgSpinEdit::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    SetBounds(Left(), Top(), Width(), Height());
}

const TMessageMap& TAsgSpinEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TAsgSpinEdit::WMCut>(WM_CUT),
        OnMessage<&TAsgSpinEdit::WMPaste>(WM_PASTE),
        OnMessage<&TAsgSpinEdit::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomMaskEdit::ClassMessageMap};
    return Map;
}
