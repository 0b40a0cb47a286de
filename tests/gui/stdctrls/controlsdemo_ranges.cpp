// tests/gui/stdctrls/controlsdemo_ranges.cpp: the demonstration's Ranges page: a horizontal
// track bar with ticks and a selection, a vertical one with its ticks at the left, and an edit
// with an up-down beside it.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/trackbar.h"
#include "platform/stdctrls/updown.h"

namespace guitest {

void BuildRangesPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* Bar = new TTrackBar(Page);
    Bar->SetParent(Page);
    Bar->SetBounds(20, 20, 300, 45);
    Bar->SetMax(20);
    Bar->SetPageSize(4);
    Bar->SetSelStart(8);
    Bar->SetSelEnd(12);
    Bar->SetPosition(5);
    Demo.TrackBar = Bar;

    auto* Standing = new TTrackBar(Page);
    Standing->SetParent(Page);
    Standing->SetOrientation(trVertical);
    Standing->SetBounds(380, 20, 45, 220);
    Standing->SetTickMarks(tmTopLeft);
    Standing->SetPosition(3);

    auto* Edit = new TEdit(Page);
    Edit->SetParent(Page);
    Edit->SetBounds(20, 100, 90, 21);
    auto* UpDown = new TUpDown(Page);
    UpDown->SetParent(Page);
    UpDown->SetMin(0);
    UpDown->SetMax(100);
    UpDown->SetWrap(true);
    UpDown->SetPosition(42);
    UpDown->SetAssociate(Edit);
    Demo.UpDown = UpDown;
    Demo.UpDownEdit = Edit;
}

} // namespace guitest
