// The grid's side of its editor controls: making them, filling and showing the one of the current
// editor type over the current cell, writing its value back, and the combo's change events.
#include "controls/grid/advgrideditors.h"

#include "platform/rtl/datetime.h"
#include "platform/stdctrls/commctrl.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

#include <algorithm>

namespace {

// The types whose control takes the character that started the edit.
bool TakesStartChar(TEditorType Type)
{
    switch (Type) {
    case etSpinInteger:
    case etComboEdit:
    case etEditButton:
    case etUnitEditButton:
    case etSpinFloat:
    case etSpinTime:
    case etSpinDate:
    case etIntegerButton:
    case etDecimalButton:
        return true;
    default:
        return false;
    }
}

// The date and time picker needs the common controls 4.70 or later; asked once.
bool DatePickerAvailable()
{
    static const bool Available = ComCtlVersionAtLeast(4, 70);
    return Available;
}

} // namespace

void TAdvStringGrid::CreateEditorControls()
{
    if (FSpinEdit != nullptr)
        return;
    FSpinEdit = new TGridSpin(this);
    FComboBox = new TGridCombo(this);
    if (DatePickerAvailable())
        FDatePicker = new TGridDatePicker(this);
    FCheckBox = new TGridCheckBox(this);
    FEditBtn = new TGridEditBtn(this);
    FUnitEditBtn = new TGridUnitEditBtn(this);
    FButton = new TGridButton(this);
}

void TAdvStringGrid::ShowEditorOver(TWinControl* Control, const TRect& R)
{
    Control->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    Control->SetVisible(true);
    Control->SetEnabled(true);
    FEditControlShown = true;
    if (Control->CanFocus())
        Control->SetFocus();
}

TWinControl* TAdvStringGrid::ShowSpinEdit(const std::string& Text)
{
    TGridSpin* Spin = FSpinEdit;
    Spin->RecreateWnd();
    // A cell that holds no number (date) opens at the lower limit (today) rather than failing.
    switch (FEditorType) {
    case etSpinFloat: {
        Spin->SetSpinType(sptFloat);
        double Value = Spin->MinFloatValue();
        try {
            Value = CellAsFloat(RealCol(), Row());
        } catch (const EAdvGridError&) {
        }
        Spin->SetFloatValue(Value);
        break;
    }
    case etSpinTime: {
        Spin->SetSpinType(sptTime);
        // The control's own time stays when the cell holds none.
        TDateTime Value = 0;
        if (TryStrToTime(Text, Value))
            Spin->SetTimeValue(Value);
        break;
    }
    case etSpinDate: {
        Spin->SetSpinType(sptDate);
        TDateTime Value = 0;
        Spin->SetDateValue(TryStrToDate(Text, Value) ? Value : Date());
        break;
    }
    default: {
        Spin->SetSpinType(sptNormal);
        int Value = Spin->MinValue();
        try {
            Value = CellAsInteger(RealCol(), Row());
        } catch (const EAdvGridError&) {
        }
        Spin->SetValue(Value);
        break;
    }
    }
    return Spin;
}

TWinControl* TAdvStringGrid::ShowComboBox(const std::string& Text, bool ListOnly, const TRect& R)
{
    TGridCombo* Combo = FComboBox;
    Combo->SetStyle(ListOnly ? csDropDownList : csDropDown);
    if (ListOnly && Combo->Items()->Count() > 0)
        Combo->SetItemIndex(std::max(0, Combo->Items()->IndexOf(Text)));
    Combo->SetBounds(R.Left, R.Top, R.Width(),
                     Combo->ItemHeight() * (Combo->DropDownCount() + 1) + R.Height());
    Combo->SetEnabled(true);
    Combo->SetVisible(true);
    // A list-only combo shows its chosen item.
    if (!ListOnly)
        Combo->SetText(Text);
    if (Navigation()->AutoComboDropSize) {
        TCanvas* Canvas = Combo->Canvas();
        Canvas->SetFont(Combo->Font());
        int Widest = 0;
        for (int I = 0; I < Combo->Items()->Count(); ++I)
            Widest = std::max(Widest, Canvas->TextWidth(Combo->Items()->Strings(I)));
        Combo->SetDropWidth(std::max(Widest + 6, Combo->Width()));
    }
    FEditControlShown = true;
    if (Combo->CanFocus())
        Combo->SetFocus();
    if (MouseActions()->DirectComboDrop)
        Combo->SetDroppedDown(true);
    return Combo;
}

TWinControl* TAdvStringGrid::ShowDatePicker(const std::string& Text)
{
    TGridDatePicker* Picker = FDatePicker;
    Picker->RecreateWnd();
    if (FEditorType == etTimePicker) {
        Picker->SetKind(dtkTime);
        TDateTime Value = 0;
        Picker->SetTime(TryStrToTime(Text, Value) ? Value : Time());
    } else {
        Picker->SetKind(dtkDate);
        Picker->SetDateMode(FEditorType == etDateUpDown ? dmUpDown : dmComboBox);
        TDateTime Value = 0;
        Picker->SetDate(TryStrToDate(Text, Value) ? Value : Date());
    }
    return Picker;
}

void TAdvStringGrid::ShowEditorControl(int ACol, int ARow)
{
    FEditPending = true;
    CreateEditorControls();
    const TRect R = CellRect(ACol, ARow);
    const std::string Text = Cells(RealColIndex(ACol), ARow);
    TWinControl* Shown = nullptr;
    switch (FEditorType) {
    case etSpinInteger:
    case etSpinFloat:
    case etSpinTime:
    case etSpinDate:
        Shown = ShowSpinEdit(Text);
        ShowEditorOver(Shown, R);
        break;
    case etComboEdit:
    case etComboList:
        Shown = ShowComboBox(Text, FEditorType == etComboList, R);
        break;
    case etEditButton:
    case etIntegerButton:
    case etDecimalButton:
        FEditBtn->RecreateWnd();
        FEditBtn->FEditorType = FEditorType;
        FEditBtn->SetText(Text);
        FEditBtn->SetMaxLength(GetEditLimit());
        Shown = FEditBtn;
        ShowEditorOver(Shown, R);
        break;
    case etCheckBox:
        FCheckBox->RecreateWnd();
        FCheckBox->SetCaption(Text);
        FCheckBox->SetChecked(false);
        Shown = FCheckBox;
        ShowEditorOver(Shown, R);
        break;
    case etDatePicker:
    case etDateUpDown:
    case etTimePicker:
        if (FDatePicker != nullptr) {
            Shown = ShowDatePicker(Text);
            ShowEditorOver(Shown, R);
        }
        break;
    case etCellButton:
        FButton->RecreateWnd();
        FButton->SetCaption(Text);
        Shown = FButton;
        ShowEditorOver(Shown, Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
        break;
    case etUnitEditButton:
        FUnitEditBtn->RecreateWnd();
        FUnitEditBtn->SetMaxLength(GetEditLimit());
        FUnitEditBtn->SetValue(Text);
        Shown = FUnitEditBtn;
        ShowEditorOver(Shown, R);
        break;
    default:
        // No editor, the external link the grid never holds, and rich text, whose control does
        // not exist yet.
        break;
    }
    if (Shown != nullptr && FEditStartChar != 0 && TakesStartChar(FEditorType))
        PostMessage(Shown->Handle(), WM_CHAR, static_cast<unsigned char>(FEditStartChar), 0);
    FEditStartChar = 0;
}

void TAdvStringGrid::HideEditorControl()
{
    if (!FEditControlShown)
        return;
    // Cleared first: hiding the focused control makes it lose the focus, which comes here again.
    FEditControlShown = false;
    HideEditor();
    const int ACol = RealCol();
    const int ARow = Row();
    TWinControl* Shown = nullptr;
    switch (FEditorType) {
    case etSpinInteger:
    case etSpinFloat:
    case etSpinTime:
    case etSpinDate:
        SetCells(ACol, ARow, FSpinEdit->Text());
        Shown = FSpinEdit;
        break;
    case etComboEdit:
    case etComboList: {
        const std::string Text = FComboBox->Text();
        if (FLookupHistory && !Text.empty() && FComboBox->Items()->IndexOf(Text) < 0)
            FComboBox->Items()->Add(Text);
        SetCells(ACol, ARow, Text);
        Shown = FComboBox;
        break;
    }
    case etEditButton:
    case etIntegerButton:
    case etDecimalButton:
        SetCells(ACol, ARow, FEditBtn->Text());
        Shown = FEditBtn;
        break;
    case etUnitEditButton:
        SetCells(ACol, ARow, FUnitEditBtn->Value());
        Shown = FUnitEditBtn;
        break;
    case etDatePicker:
    case etDateUpDown:
        if (FDatePicker != nullptr) {
            SetCells(ACol, ARow, DateToStr(FDatePicker->Date()));
            Shown = FDatePicker;
        }
        break;
    case etTimePicker:
        if (FDatePicker != nullptr) {
            SetCells(ACol, ARow, TimeToStr(FDatePicker->Time()));
            Shown = FDatePicker;
        }
        break;
    case etCheckBox:
        Shown = FCheckBox;
        break;
    case etCellButton:
        Shown = FButton;
        break;
    default:
        break;
    }
    if (Shown != nullptr) {
        Shown->SetEnabled(false);
        Shown->SetVisible(false);
    }
    FEditStartChar = 0;
}

void TAdvStringGrid::WMCommand(TMessage& Message)
{
    Inherited(Message);
    if (FComboBox == nullptr || !FComboBox->HandleAllocated() ||
        static_cast<HWND>(Message.LParam) != FComboBox->Handle())
        return;
    switch (HiWord(Message.WParam)) {
    case CBN_SELCHANGE: {
        const int Index = FComboBox->ItemIndex();
        const bool Valid = Index >= 0 && Index < FComboBox->Items()->Count();
        const std::string Selection = Valid ? FComboBox->Items()->Strings(Index) : std::string();
        if (OnComboChange)
            OnComboChange(this, Col(), Row(), Index, Selection);
        if (OnComboObjectChange)
            OnComboObjectChange(this, Col(), Row(), Index, Selection,
                                Valid ? FComboBox->Items()->Objects(Index) : nullptr);
        break;
    }
    case CBN_EDITCHANGE:
        if (OnComboChange)
            OnComboChange(this, Col(), Row(), -1, FComboBox->Text());
        break;
    default:
        break;
    }
}
