// controls/grid/advgrideditors.h: the controls the string grid lays over a cell for the editor
// types its in-place editor does not serve: spin edit, combo box, date or time picker, check box,
// edit with an ellipsis button, value with unit and push button. Each keeps its grid.
#pragma once

#include "controls/grid/advgrid.h"
#include "controls/grid/asgcombo.h"
#include "controls/grid/asgedit.h"
#include "controls/grid/asgspin.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/datetimepicker.h"

#include <string>

// Integers, decimals, dates or times; Enter, Up and Down commit, PageUp, PageDown and End step
// within the limits.
class TGridSpin : public TAsgSpinEdit {
public:
    explicit TGridSpin(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    // A step of the spin button, followed by the grid's spin event of the spin type.
    void UpClick(TObject* Sender) override;
    void DownClick(TObject* Sender) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void SpinClicked();
    // What OnSpinClick reports for the value shown.
    int ClickValue() const;

    TAdvStringGrid* FGrid;
};

// An editable or list-only combo; completes typed text from its items when the grid's Lookup is
// on.
class TGridCombo : public TASGComboBox {
public:
    explicit TGridCombo(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    // The grid's wheel message steps the item index.
    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    bool ListOnly();
    void Lookup();

    TAdvStringGrid* FGrid;
    bool FLookupAllowed = false;
};

// The date or time picker; keys reach the grid only while the calendar is closed.
class TGridDatePicker : public TDateTimePicker {
public:
    explicit TGridDatePicker(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    bool CalendarOpen() const { return FCalendarOpen; }

protected:
    void DropDown() override;
    void CloseUp() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TAdvStringGrid* FGrid;
    bool FCalendarOpen = false;
};

// Navigation keys hide it and give the grid the focus.
class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TAdvStringGrid* FGrid;
};

// Any text, or an integer or decimal number, with a "..." button that asks the grid.
class TGridEditBtn : public TAsgEditBtn {
public:
    explicit TGridEditBtn(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    // The text becomes what the grid's EllipsClick makes of it, all selected.
    void ClickBtn() override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TAdvStringGrid;
    // etEditButton, etIntegerButton or etDecimalButton: what may be typed.
    TEditorType FEditorType = etEditButton;
    TAdvStringGrid* FGrid;
};

// A number with its unit: the cell's digits and separators are the text, the rest the unit.
class TGridUnitEditBtn : public TAsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    // Splits a cell's text into the two parts.
    void SetValue(const std::string& Value);
    // The number followed by the unit, as the cell keeps it.
    std::string Value() const;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TAdvStringGrid* FGrid;
};

// A push button over the cell whose click asks the grid's EllipsClick for a new caption.
class TGridButton : public TButton {
public:
    explicit TGridButton(TAdvStringGrid* AGrid);
    TAdvStringGrid* Grid() const { return FGrid; }
    void Click() override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    TAdvStringGrid* FGrid;
};
