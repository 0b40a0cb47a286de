// tests/gui/stdctrls/controlsdemo_bars.cpp: the demonstration's Bars page: the main window's
// status bar (two panels and an owner-drawn third), a progress bar at 40 % and one with an
// empty range, a horizontal scroll bar, and a scroll box with buttons beyond its size.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/progressbar.h"
#include "platform/stdctrls/scrollbar.h"
#include "platform/stdctrls/scrollbox.h"
#include "platform/stdctrls/statusbar.h"

#include <string>

namespace guitest {

namespace {

template <class T>
T* PlaceOn(TWinControl* Page, int Left, int Top, int Width, int Height)
{
    T* Control = new T(Page);
    Control->SetParent(Page);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

void Caption(TWinControl* Page, int Left, int Top, const std::string& Text)
{
    PlaceOn<TLabel>(Page, Left, Top, 150, 16)->SetCaption(Text);
}

} // namespace

void BuildBarsPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* Status = new TStatusBar(Page);
    Status->SetParent(Page);
    TStatusPanel* Hint = Status->Panels()->Add();
    Hint->SetWidth(300);
    Hint->SetText("Right click for more options, double click to mark");
    TStatusPanel* Info = Status->Panels()->Add();
    Info->SetWidth(150);
    Info->SetText("12 messages");
    Status->Panels()->Add()->SetStyle(psOwnerDraw);
    Status->OnDrawPanel = [](TStatusBar* Bar, TStatusPanel*, const TRect& Rect) {
        TRect R = Rect;
        InflateRect(R, -2, -2);
        Bar->Canvas()->Brush()->SetColor(clGreen);
        Bar->Canvas()->FillRect(R);
    };
    Demo.StatusBar = Status;

    Caption(Page, 16, 12, "Progress (40 %)");
    auto* Progress = PlaceOn<TProgressBar>(Page, 16, 32, 200, 16);
    Progress->SetPosition(40);
    Demo.ProgressBar = Progress;
    Caption(Page, 16, 60, "Empty log file");
    auto* Empty = PlaceOn<TProgressBar>(Page, 16, 80, 200, 16);
    Empty->SetMax(0);

    Caption(Page, 16, 112, "Scroll bar");
    auto* Bar = PlaceOn<TScrollBar>(Page, 16, 132, 200, 16);
    Bar->SetParams(20, 0, 100);
    Bar->SetLargeChange(10);
    Demo.ScrollBar = Bar;

    Caption(Page, 260, 12, "Scroll box");
    auto* Box = PlaceOn<TScrollBox>(Page, 260, 32, 260, 180);
    for (int I = 0; I < 6; ++I) {
        auto* Button = PlaceOn<TButton>(Box, 10 + I * 70, 10 + I * 60, 90, 25);
        Button->SetCaption("Button " + std::to_string(I + 1));
    }
    Demo.ScrollBox = Box;
}

} // namespace guitest
