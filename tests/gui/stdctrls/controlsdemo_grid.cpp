// tests/gui/stdctrls/controlsdemo_grid.cpp: the demonstration's Grid page: an editable string
// grid with a fixed row of headings and a fixed column of row numbers, and a masked edit for a
// telephone number.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/stdctrls/grids.h"
#include "platform/stdctrls/maskedit.h"

#include <string>

namespace guitest {

void BuildGridPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* Grid = new TStringGrid(Page);
    Grid->SetParent(Page);
    Grid->SetBounds(8, 8, 360, 160);
    Grid->SetColCount(5);
    Grid->SetRowCount(8);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goColSizing, goTabs});
    const char* Headings[] = {"", "Sender", "Subject", "Score", "Kept"};
    for (int C = 0; C < 5; ++C)
        Grid->SetCells(C, 0, Headings[C]);
    const char* Senders[] = {"ann", "bob", "cy", "dee", "eve", "fay", "gus"};
    for (int R = 1; R < 8; ++R) {
        Grid->SetCells(0, R, std::to_string(R));
        Grid->SetCells(1, R, Senders[R - 1]);
        Grid->SetCells(2, R, "Note " + std::to_string(R));
        Grid->SetCells(3, R, std::to_string(R * 7 % 10));
        Grid->SetCells(4, R, R % 2 != 0 ? "yes" : "no");
    }
    Demo.Grid = Grid;

    auto* Phone = new TMaskEdit(Page);
    Phone->SetParent(Page);
    Phone->SetBounds(8, 180, 160, 25);
    Phone->SetEditMask("!\\(999\\) 000-0000;1;_");
    Demo.MaskEdit = Phone;
}

} // namespace guitest
