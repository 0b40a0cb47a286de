// tests/gui/stdctrls/controlsdemoform.cpp: the demonstration form, sized so that each sheet's
// client area is PageWidth x PageHeight.
#include "tests/gui/stdctrls/controlsdemoform.h"

#include "platform/stdctrls/pagecontrol.h"

namespace guitest {

TControlsDemoForm::TControlsDemoForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Standard controls");
    Pages = new TPageControl(this);
    Pages->SetParent(this);
    const struct {
        const char* Caption;
        TTabSheet** Sheet;
        TPageForm::TBuilder Builder;
    } Groups[] = {
        {"&List", &ListSheet, &BuildListPage},
        {"&Bars", &BarsSheet, &BuildBarsPage},
        {"&Ranges", &RangesSheet, &BuildRangesPage},
        {"&Calendar", &CalendarSheet, &BuildCalendarPage},
        {"&Picker", &PickerSheet, &BuildPickerPage},
        {"&Tabs", &TabsSheet, &BuildTabsPage},
    };
    for (const auto& Group : Groups) {
        auto* Sheet = new TTabSheet(this);
        Sheet->SetPageControl(Pages);
        Sheet->SetCaption(Group.Caption);
        *Group.Sheet = Sheet;
    }
    // The form grows by what the page control puts round a sheet.
    Pages->SetBounds(0, 0, PageWidth + 100, PageHeight + 100);
    const TRect Display = Pages->DisplayRect();
    SetClientWidth(PageWidth + Pages->Width() - Display.Width());
    SetClientHeight(PageHeight + Pages->Height() - Display.Height());
    Pages->SetAlign(alClient);
    for (const auto& Group : Groups)
        Group.Builder(Demo, *Group.Sheet);
    Pages->SetActivePage(ListSheet);
}

} // namespace guitest
