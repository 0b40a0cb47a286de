// platform/stdctrls/datetimepickfields.h: the fields of the date-time picker's text: its format
// split into fields and literals, each field's text, and the editing of the value one field at a
// time (stepping with wrap, Home/End, digits, month letters, A/P), which never leaves the value
// invalid or outside the range.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"

#include <string>
#include <vector>

enum TDTFieldKind {
    dfkLiteral,
    dfkDay,
    dfkDayName,
    dfkMonth,
    dfkYear,
    dfkHour12,
    dfkHour24,
    dfkMinute,
    dfkSecond,
    dfkAmPm,
};

struct TDTField {
    TDTFieldKind Kind = dfkLiteral;
    int Letters = 0;  // the run as written: d dd ddd dddd, M .. MMMM, y yy yyyy, t tt
    std::string Text; // a literal's text
};

// The picker's format: d dd ddd dddd M MM MMM MMMM y yy yyyy h hh H HH m mm s ss t tt, text in
// single quotes ('' is a quote), anything else literal.
std::vector<TDTField> ParseDateTimePickFormat(const std::string& Format);
// A locale format (the FormatDateTime letters: m for the month, n or m after h for minutes,
// AMPM / am/pm / a/p markers, / and : for the separators) in the picker's letters.
std::string DateTimePickFormatFromLocale(const std::string& LocaleFormat,
                                         const TFormatSettings& Settings = FormatSettings);
// How a field shows the value.
std::string DateTimePickFieldText(const TDTField& Field, const TSystemTime& Value,
                                  const TFormatSettings& Settings);

// The value and the current field of a picker, edited by keys.
class TDateTimeFields {
public:
    TDateTimeFields();

    void SetFormat(const std::string& Format);
    const std::vector<TDTField>& Fields() const { return FFields; }
    // The index of the current field in Fields(), -1 when the format has none.
    int Current() const { return FCurrent; }
    void SetCurrent(int Index); // commits typing; literals are skipped
    // The text shown for a field: the digits being typed while they are pending.
    std::string Text(int Index, const TFormatSettings& Settings) const;
    bool Typing() const { return !FPending.empty(); }

    const TSystemTime& Value() const { return FValue; }
    // Set from outside: clamped into the range; false when invalid (nothing changes).
    bool SetValue(const TSystemTime& Value);
    // The range; a missing end is open. The value is clamped into it.
    void SetRange(bool HasMin, const TSystemTime& Min, bool HasMax, const TSystemTime& Max);
    bool HasMin() const { return FHasMin; }
    bool HasMax() const { return FHasMax; }
    const TSystemTime& Min() const { return FMin; }
    const TSystemTime& Max() const { return FMax; }

    // The editing operations; each answers whether the value changed.
    bool Step(int Delta);       // Up/Down: the current field wraps within its range
    bool Extreme(bool Highest); // Home/End
    bool Char(unsigned char C, const TFormatSettings& Settings); // digits, letters, separators
    bool Move(int Delta); // Left/Right: to the neighbouring field; commits typing
    bool Commit();        // takes the pending digits

private:
    bool Apply(TSystemTime V); // clamped into the range and the calendar; true when it changed
    int NextEditable(int From, int Delta) const;
    int MaxDigits(const TDTField& F) const;
    int TypingMax(const TDTField& F) const;

    std::vector<TDTField> FFields;
    TSystemTime FValue;
    TSystemTime FMin;
    TSystemTime FMax;
    bool FHasMin = false;
    bool FHasMax = false;
    int FCurrent = -1;
    std::string FPending;
};
