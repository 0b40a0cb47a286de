// tests/gui/stdctrls/controlsdemo_tabs.cpp: the demonstration's Tabs page: a tab control with its
// tabs at the top, one with its tabs at the bottom, and the find-file animation playing.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/stdctrls/animate.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/tabcontrol.h"

namespace guitest {

void BuildTabsPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* Top = new TTabControl(Page);
    Top->SetParent(Page);
    Top->SetBounds(8, 8, 300, 150);
    for (const char* Name : {"General", "Mailboxes", "Filters", "Log"})
        Top->Tabs()->Add(Name);
    Top->SetTabIndex(0);
    Demo.TabControl = Top;

    auto* Bottom = new TTabControl(Page);
    Bottom->SetParent(Page);
    Bottom->SetBounds(8, 170, 300, 150);
    Bottom->SetTabPosition(tpBottom);
    for (const char* Name : {"Today", "This week", "This month"})
        Bottom->Tabs()->Add(Name);
    Bottom->SetTabIndex(1);

    auto* Caption = new TLabel(Page);
    Caption->SetParent(Page);
    Caption->SetBounds(330, 8, 200, 16);
    Caption->SetCaption("Searching for files:");

    auto* Search = new TAnimate(Page);
    Search->SetParent(Page);
    Search->SetLeft(330);
    Search->SetTop(30);
    Search->SetCommonAVI(aviFindFile);
    Search->SetActive(true);
    Demo.Animate = Search;
}

} // namespace guitest
