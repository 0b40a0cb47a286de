// tests/gui/stdctrls/controlsdemo.h: the demonstration of the list view, bars, pages, calendar
// and date picker: one builder per group fills a page (any parent of PageWidth x PageHeight),
// so a test can show one group on a plain form or all of them on the demonstration form's
// page control.
#pragma once

#include "platform/forms/form.h"

class TListView;
class TStatusBar;
class TProgressBar;
class TScrollBar;
class TScrollBox;
class TTrackBar;
class TUpDown;
class TEdit;
class TMonthCalendar;
class TDateTimePicker;
class TPageControl;
class TTabControl;
class TAnimate;
class TStringGrid;
class TMaskEdit;

namespace guitest {

constexpr int PageWidth = 560;
constexpr int PageHeight = 360;

// The controls of the demonstration, filled by the builders.
struct TControlsDemo {
    // List: a report-style list view with state images and a status bar with panels.
    TListView* ListView = nullptr;
    TStatusBar* StatusBar = nullptr;
    // Bars: a progress bar, a scroll bar and a scroll box with content beyond its size.
    TProgressBar* ProgressBar = nullptr;
    TScrollBar* ScrollBar = nullptr;
    TScrollBox* ScrollBox = nullptr;
    // Ranges: a track bar, and an up-down associated with an edit.
    TTrackBar* TrackBar = nullptr;
    TUpDown* UpDown = nullptr;
    TEdit* UpDownEdit = nullptr;
    // Calendar: a month calendar.
    TMonthCalendar* Calendar = nullptr;
    // Picker: a date picker with a drop-down calendar and a time picker with up-down.
    TDateTimePicker* DatePicker = nullptr;
    TDateTimePicker* TimePicker = nullptr;
    // Tabs: a tab control and the find-file animation.
    TTabControl* TabControl = nullptr;
    TAnimate* Animate = nullptr;
    // Grid: an editable string grid with a fixed row and column, and a masked edit.
    TStringGrid* Grid = nullptr;
    TMaskEdit* MaskEdit = nullptr;
};

void BuildListPage(TControlsDemo& Demo, TWinControl* Page);
void BuildBarsPage(TControlsDemo& Demo, TWinControl* Page);
void BuildRangesPage(TControlsDemo& Demo, TWinControl* Page);
void BuildCalendarPage(TControlsDemo& Demo, TWinControl* Page);
void BuildPickerPage(TControlsDemo& Demo, TWinControl* Page);
void BuildTabsPage(TControlsDemo& Demo, TWinControl* Page);
void BuildGridPage(TControlsDemo& Demo, TWinControl* Page);

// A plain form with one group's page on it, for the tests of that group.
class TPageForm : public TForm {
public:
    using TBuilder = void (*)(TControlsDemo&, TWinControl*);
    TPageForm(TComponent* AOwner, TBuilder Builder);

    TControlsDemo Demo;
};

} // namespace guitest
