// tests/gui/stdctrls/controlsdemo_picker.cpp: the demonstration's Picker page: a short date with
// the drop-down calendar and a time with up-down buttons, at fixed values.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/stdctrls/datetimepicker.h"
#include "platform/stdctrls/label.h"

namespace guitest {

namespace {

void Caption(TWinControl* Page, int Top, const char* Text)
{
    auto* Label = new TLabel(Page);
    Label->SetParent(Page);
    Label->SetBounds(16, Top + 4, 80, 16);
    Label->SetCaption(Text);
}

} // namespace

void BuildPickerPage(TControlsDemo& Demo, TWinControl* Page)
{
    Caption(Page, 16, "&Date:");
    Demo.DatePicker = new TDateTimePicker(Page);
    Demo.DatePicker->SetParent(Page);
    Demo.DatePicker->SetBounds(100, 16, 180, 0);
    Demo.DatePicker->SetDateTime(EncodeDate(2026, 3, 15) + EncodeTime(9, 0, 0, 0));

    Caption(Page, 56, "&Time:");
    Demo.TimePicker = new TDateTimePicker(Page);
    Demo.TimePicker->SetParent(Page);
    Demo.TimePicker->SetKind(dtkTime);
    Demo.TimePicker->SetDateMode(dmUpDown);
    Demo.TimePicker->SetBounds(100, 56, 180, 0);
    Demo.TimePicker->SetDateTime(EncodeDate(2026, 3, 15) + EncodeTime(10, 30, 45, 0));
}

} // namespace guitest
