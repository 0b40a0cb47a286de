// The string grid's editor controls: the keys each hands to the grid, the commit step that
// validates a value before a key leaves the cell, and what each does on its own.
#include "controls/grid/advgrideditors.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/sound.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char Backspace = 8;
constexpr char Tab = 9;

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// Past the start of the grid's destruction its controls no longer call it.
bool GridAlive(const TAdvStringGrid* Grid, const TComponent* Control)
{
    return !Grid->ComponentState().Contains(csDestroying) &&
           !Control->ComponentState().Contains(csDestroying);
}

// Every control makes the grid hide and write it back when the focus leaves it for a window
// that is not one of its own parts (the button of an edit, say).
void LeaveOnFocusLoss(TWinControl* Control, TAdvStringGrid* Grid, const TMessage& Message)
{
    if (!GridAlive(Grid, Control))
        return;
    const auto To = static_cast<HWND>(Message.WParam);
    if (To != 0 && Control->HandleAllocated() && IsChild(Control->Handle(), To))
        return;
    Grid->HideEditorControl();
}

// The keys a control hands to the grid must reach it rather than the form; Tab only while the
// grid's cells take it.
void WantGridKeys(TMessage& Message, const TAdvStringGrid* Grid)
{
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    if (Grid->Options().Contains(goTabs))
        Message.Result |= DLGC_WANTTAB;
    else
        Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
}

template <class TEdit>
void CaretToEnd(TEdit* Edit)
{
    Edit->SetSelStart(static_cast<int>(Edit->Text().size()));
    Edit->SetSelLength(0);
}

// The commit step: Value goes to the current cell and is validated; the control takes the cell's
// text back (TakeBack) either way. A refused value keeps the control open, the caret at the end.
template <class TEdit, class TTakeBack>
bool CommitValue(TEdit* Edit, TAdvStringGrid* Grid, const std::string& Value, TTakeBack TakeBack)
{
    Grid->SetCurrentCellText(Value);
    const bool Valid = Grid->ValidateCell(Value);
    TakeBack(Grid->CurrentCellText());
    if (!Valid) {
        CaretToEnd(Edit);
        Edit->Invalidate();
    }
    return Valid;
}

bool IsCommitKey(Word Key)
{
    return Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN;
}

// Past the shown control: hidden and written back, the grid focused.
void BackToGrid(TAdvStringGrid* Grid)
{
    Grid->HideEditorControl();
    if (Grid->CanFocus())
        Grid->SetFocus();
}

// The in-place editor's rule of the signed integer type: a minus only at the start of a text that
// has none.
bool AcceptsSignedChar(char Key, const std::string& Text, int SelStart)
{
    if (Key == Backspace || Key == Tab || IsDigit(Key))
        return true;
    return Key == '-' && SelStart == 0 && Text.find('-') == std::string::npos;
}

enum TCharVerdict { cvTake, cvDrop, cvBeep };

// The in-place editor's rule of the decimal type: one decimal mark, one leading minus; a refused
// minus beeps, other refusals are silent.
TCharVerdict DecimalCharVerdict(char Key, const std::string& Text, int SelStart,
                                const std::string& Selected)
{
    if (Key == Backspace || Key == Tab || IsDigit(Key))
        return cvTake;
    if (Key == '.' || Key == ',') {
        const bool DotFree =
            Text.find('.') == std::string::npos || Selected.find('.') != std::string::npos;
        const bool CommaFree =
            Text.find(',') == std::string::npos || Selected.find(',') != std::string::npos;
        return DotFree && CommaFree ? cvTake : cvDrop;
    }
    if (Key == '-') {
        const bool Free = SelStart == 0 && Text.find('-') == std::string::npos;
        return Free || Selected.find('-') != std::string::npos ? cvTake : cvBeep;
    }
    return cvDrop;
}

} // namespace

// ---- TGridSpin -------------------------------------------------------------------------------

TGridSpin::TGridSpin(TAdvStringGrid* AGrid) : TAsgSpinEdit(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetBorderStyle(bsNone);
    SetMinValue(0);
    SetMaxValue(100);
    SetIncrement(1);
    SetParent(AGrid);
}

void TGridSpin::UpClick(TObject* Sender)
{
    TAsgSpinEdit::UpClick(Sender);
    SpinClicked();
}

void TGridSpin::DownClick(TObject* Sender)
{
    TAsgSpinEdit::DownClick(Sender);
    SpinClicked();
}

void TGridSpin::SpinClicked()
{
    const int ACol = FGrid->Col();
    const int ARow = FGrid->Row();
    switch (SpinType()) {
    case sptNormal:
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, ACol, ARow, Value(), true);
        break;
    case sptFloat:
        if (FGrid->OnFloatSpinClick)
            FGrid->OnFloatSpinClick(FGrid, ACol, ARow, FloatValue(), true);
        break;
    case sptDate:
        if (FGrid->OnDateSpinClick)
            FGrid->OnDateSpinClick(FGrid, ACol, ARow, DateValue(), true);
        break;
    case sptTime:
        if (FGrid->OnTimeSpinClick)
            FGrid->OnTimeSpinClick(FGrid, ACol, ARow, TimeValue(), true);
        break;
    }
}

int TGridSpin::ClickValue() const
{
    if (SpinType() == sptFloat)
        return static_cast<int>(std::trunc(std::clamp(FloatValue(), -2147483648.0, 2147483647.0)));
    return Value();
}

void TGridSpin::KeyDown(Word& Key, TShiftState Shift)
{
    // PageUp, PageDown and End step numbers only: a date or time keeps its text.
    const bool Numeric = SpinType() == sptNormal || SpinType() == sptFloat;
    if (Numeric && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END)) {
        if (SpinType() == sptNormal) {
            const long long Now = Value();
            if (Key == VK_PRIOR && Now + Increment() <= MaxValue())
                SetValue(static_cast<int>(Now + Increment()));
            else if (Key == VK_NEXT && Now - Increment() >= MinValue())
                SetValue(static_cast<int>(Now - Increment()));
            else if (Key == VK_END)
                SetValue(MinValue());
        } else {
            // Sums such as 99.9 + 0.1 land a rounding error beyond the limit.
            const double Now = FloatValue();
            const double Slack = 1e-9 * std::max(1.0, std::fabs(MaxFloatValue() - MinFloatValue()));
            if (Key == VK_PRIOR && Now + IncrementFloat() <= MaxFloatValue() + Slack)
                SetFloatValue(std::min(Now + IncrementFloat(), MaxFloatValue()));
            else if (Key == VK_NEXT && Now - IncrementFloat() >= MinFloatValue() - Slack)
                SetFloatValue(std::max(Now - IncrementFloat(), MinFloatValue()));
            else if (Key == VK_END)
                SetFloatValue(MinFloatValue());
        }
    }
    // Up leaves the value as it is: the commit below writes what is shown.
    if (FGrid->OnSpinClick && (Key == VK_PRIOR || Key == VK_UP || Key == VK_NEXT || Key == VK_END))
        FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), ClickValue(), false);

    switch (Key) {
    case VK_ESCAPE:
        SetText(FGrid->CurrentCellText());
        break;
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN:
        if (!CommitValue(this, FGrid, Text(), [this](const std::string& S) { SetText(S); })) {
            Key = 0;
            return;
        }
        break;
    case VK_TAB:
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
        if (Numeric) {
            Key = 0;
            return;
        }
        TAsgSpinEdit::KeyDown(Key, Shift);
        return;
    default:
        TAsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    FGrid->LeaveEditor(Key, Shift);
    Key = 0;
}

void TGridSpin::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    TAsgSpinEdit::KeyPress(Key);
}

void TGridSpin::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    WantGridKeys(Message, FGrid);
}

void TGridSpin::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridSpin::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridSpin::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridSpin::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TAsgSpinEdit::ClassMessageMap};
    return Map;
}

// ---- TGridCombo ------------------------------------------------------------------------------

TGridCombo::TGridCombo(TAdvStringGrid* AGrid) : TASGComboBox(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetButtonWidth(16);
    SetParent(AGrid);
}

bool TGridCombo::ListOnly()
{
    return Style() == csDropDownList || DroppedDown();
}

void TGridCombo::KeyDown(Word& Key, TShiftState Shift)
{
    FLookupAllowed = Key != VK_BACK && Key != VK_DELETE;
    bool Handed = false;
    switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
        Handed = true;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        Handed = ListOnly();
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_UP:
    case VK_DOWN:
        Handed = !ListOnly();
        break;
    default:
        break;
    }
    if (!Handed) {
        TASGComboBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        const std::string Cell = FGrid->CurrentCellText();
        SetText(Cell);
        const int Index = Items()->IndexOf(Cell);
        if (Index >= 0)
            SetItemIndex(Index);
    } else if (IsCommitKey(Key) &&
               !CommitValue(this, FGrid, Text(), [this](const std::string& S) { SetText(S); })) {
        Key = 0;
        return;
    }
    FGrid->LeaveEditor(Key, Shift);
    Key = 0;
}

void TGridCombo::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    TASGComboBox::KeyPress(Key);
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift)
{
    TASGComboBox::KeyUp(Key, Shift);
    if (Key != VK_LEFT && Key != VK_RIGHT)
        Lookup();
}

// Completes the text typed so far with the first item that starts with it, the completed part
// selected; an empty typed part completes nothing.
void TGridCombo::Lookup()
{
    const bool Allowed = FLookupAllowed;
    FLookupAllowed = false;
    if (!Allowed || !FGrid->Lookup() || Style() == csDropDownList || SelLength() != 0)
        return;
    const std::string Typed = Text().substr(0, static_cast<std::size_t>(SelStart()));
    if (Typed.empty())
        return;
    const bool Exact = FGrid->LookupCaseSensitive();
    const std::string Key = Exact ? Typed : AnsiUpperCase(Typed);
    for (int I = 0; I < Items()->Count(); ++I) {
        const std::string Item = Items()->Strings(I);
        if (Item.size() < Typed.size())
            continue;
        const std::string Start = Item.substr(0, Typed.size());
        if ((Exact ? Start : AnsiUpperCase(Start)) != Key)
            continue;
        const std::string Rest = Item.substr(Typed.size(), 255);
        SetItemIndex(I);
        SetText(Typed + Rest);
        SetSelStart(static_cast<int>(Typed.size()));
        SetSelLength(static_cast<int>(Rest.size()));
        return;
    }
}

void TGridCombo::WndProc(TMessage& Message)
{
    if (FGrid->WheelMsg() != 0 && Message.Msg == FGrid->WheelMsg()) {
        const auto Delta = static_cast<short>(HiWord(Message.WParam));
        const int Index = ItemIndex();
        if (Delta < 0 && Index < Items()->Count() - 1)
            SetItemIndex(Index + 1);
        else if (Delta > 0 && Index > 0)
            SetItemIndex(Index - 1);
        Message.Result = 0;
        return;
    }
    TASGComboBox::WndProc(Message);
}

void TGridCombo::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    WantGridKeys(Message, FGrid);
}

void TGridCombo::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridCombo::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridCombo::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridCombo::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TASGComboBox::ClassMessageMap};
    return Map;
}

// ---- TGridDatePicker -------------------------------------------------------------------------

TGridDatePicker::TGridDatePicker(TAdvStringGrid* AGrid) : TDateTimePicker(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetParent(AGrid);
}

void TGridDatePicker::DropDown()
{
    FCalendarOpen = true;
    TDateTimePicker::DropDown();
}

void TGridDatePicker::CloseUp()
{
    FCalendarOpen = false;
    TDateTimePicker::CloseUp();
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift)
{
    const bool Handed =
        Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END;
    if (!Handed || FCalendarOpen) {
        TDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        // The cell's value again, as the picker opened with it.
        const std::string Cell = FGrid->CurrentCellText();
        TDateTime Value = 0;
        if (Kind() == dtkTime)
            SetTime(TryStrToTime(Cell, Value) ? Value : ::Time());
        else
            SetDate(TryStrToDate(Cell, Value) ? Value : ::Date());
    }
    FGrid->LeaveEditor(Key, Shift);
    Key = 0;
}

void TGridDatePicker::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridDatePicker::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

// A flat frame: two rectangles in the window colour over the border.
void TGridDatePicker::WMNCPaint(TMessage& Message)
{
    Inherited(Message);
    const HWND Wnd = WindowHandle();
    TRect Bounds;
    if (Wnd == 0 || !GetWindowRect(Wnd, Bounds))
        return;
    HDC DC = GetWindowDC(Wnd);
    if (DC == nullptr)
        return;
    TRect R = Rect(0, 0, Bounds.Width(), Bounds.Height());
    DC->Brush()->SetColor(clWindow);
    DC->FrameRect(R);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    DC->FrameRect(R);
    ReleaseDC(Wnd, DC);
}

const TMessageMap& TGridDatePicker::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridDatePicker::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridDatePicker::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TGridDatePicker::WMNCPaint>(WM_NCPAINT),
    });
    static constexpr TMessageMap Map{Handlers, &TDateTimePicker::ClassMessageMap};
    return Map;
}

// ---- TGridCheckBox ---------------------------------------------------------------------------

TGridCheckBox::TGridCheckBox(TAdvStringGrid* AGrid) : TCheckBox(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetParent(AGrid);
}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        break;
    default:
        TCheckBox::KeyDown(Key, Shift);
        return;
    }
    const Word Pressed = Key;
    Key = 0;
    TAdvStringGrid* Grid = FGrid;
    BackToGrid(Grid);
    if (Pressed == VK_RETURN)
        Grid->AdvanceCell(Grid->RealCol(), Grid->Row(), true, true, false);
    else if (Pressed == VK_UP || Pressed == VK_DOWN)
        Grid->Perform(WM_KEYDOWN, Pressed, 0);
}

void TGridCheckBox::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridCheckBox::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridCheckBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridCheckBox::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridCheckBox::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TCheckBox::ClassMessageMap};
    return Map;
}

// ---- TGridEditBtn ----------------------------------------------------------------------------

TGridEditBtn::TGridEditBtn(TAdvStringGrid* AGrid) : TAsgEditBtn(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetBorderStyle(bsNone);
    SetButtonCaption("...");
    SetParent(AGrid);
}

void TGridEditBtn::ClickBtn()
{
    SetText(FGrid->EllipsClick(Text()));
    SelectAll();
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    const bool Handed = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                        Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!Handed || Shift.Contains(ssCtrl)) {
        TAsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        SetText(FGrid->CurrentCellText());
    } else if (IsCommitKey(Key) &&
               !CommitValue(this, FGrid, Text(), [this](const std::string& S) { SetText(S); })) {
        Key = 0;
        return;
    }
    FGrid->LeaveEditor(Key, Shift);
    Key = 0;
}

void TGridEditBtn::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    switch (FEditorType) {
    case etIntegerButton:
        if (!AcceptsSignedChar(Key, Text(), SelStart())) {
            MessageBeep(0);
            Key = 0;
            return;
        }
        break;
    case etDecimalButton:
        switch (DecimalCharVerdict(Key, Text(), SelStart(), SelText())) {
        case cvTake:
            break;
        case cvBeep:
            MessageBeep(0);
            Key = 0;
            return;
        case cvDrop:
            Key = 0;
            return;
        }
        break;
    default:
        TAsgEditBtn::KeyPress(Key);
        return;
    }
    // Of the number types' characters only Tab and digits go through the edit's own handling;
    // the rest are typed as they are.
    if (Key == Tab || IsDigit(Key))
        TAsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    WantGridKeys(Message, FGrid);
}

void TGridEditBtn::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridEditBtn::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridEditBtn::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridEditBtn::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TAsgEditBtn::ClassMessageMap};
    return Map;
}

// ---- TGridUnitEditBtn ------------------------------------------------------------------------

TGridUnitEditBtn::TGridUnitEditBtn(TAdvStringGrid* AGrid) : TAsgUnitEditBtn(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetBorderStyle(bsNone);
    SetButtonCaption("...");
    SetParent(AGrid);
}

void TGridUnitEditBtn::SetValue(const std::string& Value)
{
    std::string Number;
    std::string Unit;
    for (char C : Value) {
        if (IsDigit(C) || C == ',' || C == '-' || C == '.')
            Number += C;
        else
            Unit += C;
    }
    SetText(Number);
    SetUnitID(Unit);
}

std::string TGridUnitEditBtn::Value() const
{
    return Text() + UnitID();
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    const bool Handed = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                        Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!Handed) {
        TAsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    // The cell keeps number and unit together, so both are committed and taken back.
    if (Key == VK_ESCAPE) {
        SetValue(FGrid->CurrentCellText());
    } else if (IsCommitKey(Key) &&
               !CommitValue(this, FGrid, Value(), [this](const std::string& S) { SetValue(S); })) {
        Key = 0;
        return;
    }
    FGrid->LeaveEditor(Key, Shift);
    Key = 0;
}

void TGridUnitEditBtn::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    TAsgUnitEditBtn::KeyPress(Key);
}

void TGridUnitEditBtn::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    WantGridKeys(Message, FGrid);
}

void TGridUnitEditBtn::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridUnitEditBtn::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridUnitEditBtn::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridUnitEditBtn::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TAsgUnitEditBtn::ClassMessageMap};
    return Map;
}

// ---- TGridButton -----------------------------------------------------------------------------

TGridButton::TGridButton(TAdvStringGrid* AGrid) : TButton(AGrid), FGrid(AGrid)
{
    SetVisible(false);
    SetEnabled(false);
    SetParent(AGrid);
}

void TGridButton::Click()
{
    SetCaption(FGrid->EllipsClick(Caption()));
}

void TGridButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key != VK_ESCAPE) {
        TButton::KeyDown(Key, Shift);
        return;
    }
    Key = 0;
    TAdvStringGrid* Grid = FGrid;
    BackToGrid(Grid);
    Grid->RestoreCellText();
    Grid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key != VK_LEFT && Key != VK_RIGHT && Key != VK_UP && Key != VK_DOWN) {
        TButton::KeyUp(Key, Shift);
        return;
    }
    const Word Released = Key;
    Key = 0;
    TAdvStringGrid* Grid = FGrid;
    Grid->Perform(WM_KEYDOWN, Released, 0);
    BackToGrid(Grid);
    Grid->Perform(WM_KEYUP, Released, 0);
}

void TGridButton::WMGetDlgCode(TMessage& Message)
{
    Inherited(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridButton::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    LeaveOnFocusLoss(this, FGrid, Message);
}

const TMessageMap& TGridButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGridButton::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TGridButton::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TButton::ClassMessageMap};
    return Map;
}
