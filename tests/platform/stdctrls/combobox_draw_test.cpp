// The combo box's look in each style, closed and dropped down, against golden pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/ui/queue.h"
#include "tests/support/golden.h"

namespace {

using ComboBoxDrawing = ListTest;

} // namespace

TEST_F(ComboBoxDrawing, LooksLikeItsGoldenPictures)
{
    SetDeterministicFontMetrics(false); // the pictures show real letters
    struct TCase {
        const char* File;
        TComboBoxStyle Style;
        bool Focus;
        bool Enabled;
        bool Drop;
    };
    const std::vector<TCase> Cases = {
        {"combobox_dropdown.png", csDropDown, true, true, false},
        {"combobox_simple.png", csSimple, false, true, false},
        {"combobox_dropdownlist.png", csDropDownList, true, true, false},
        {"combobox_dropdownlist_disabled.png", csDropDownList, false, false, false},
        {"combobox_ownerdrawfixed.png", csOwnerDrawFixed, false, true, false},
        {"combobox_ownerdrawvariable.png", csOwnerDrawVariable, true, true, false},
        {"combobox_dropped.png", csDropDownList, true, true, true},
    };
    for (const TCase& Case : Cases) {
        auto* C = new TComboBox(Form);
        C->SetParent(Form);
        C->SetStyle(Case.Style);
        C->SetBounds(20, 20, 150, 100); // the height counts for the simple style alone
        C->SetItemHeight(18);
        for (const char* S : {"Inbox", "Spam", "Friends", "\xC3\x84rger", "Archive"})
            C->Items()->Add(S);
        C->OnDrawItem = [C](TWinControl*, int Index, TRect R, TOwnerDrawState State) {
            TCanvas* Canvas = C->Canvas();
            Canvas->FillRect(R);
            Canvas->Brush()->SetColor(Index % 2 ? clRed : clGreen);
            Canvas->Ellipse(R.Left + 3, R.Top + 3, R.Left + R.Height() - 3, R.Bottom - 3);
            Canvas->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
            Canvas->TextOut(R.Left + R.Height() + 2, R.Top + 1, C->Items()->Get(Index));
        };
        C->SetItemIndex(2);
        C->SetEnabled(Case.Enabled);
        if (Case.Focus)
            C->SetFocus();
        Pump();
        if (Case.Drop) {
            C->SetDroppedDown(true);
            TRect Item; // the mouse over item 3
            SendMessage(ComboBoxListWindow(C->Handle()), LB_GETITEMRECT, 3,
                        reinterpret_cast<LPARAM>(&Item));
            SendMessage(ComboBoxListWindow(C->Handle()), WM_MOUSEMOVE, 0,
                        MakeLParam(10, Item.Top + 2));
        }
        Pump();
        // The whole windows, frames included: the box, and under it the dropped list.
        const HWND List = ComboBoxListWindow(C->Handle());
        TRect ListRect;
        GetWindowRect(List, ListRect);
        const int Height = C->Height() + (Case.Drop ? ListRect.Height() : 0);
        TRasterDevice Device(C->Width(), Height, clBtnFace);
        CopyWindowPicture(C->Handle(), Device, 0, 0);
        if (Case.Drop)
            CopyWindowPicture(List, Device, 0, C->Height());
        ExpectMatchesGolden(Device, Case.File);
        delete C;
    }
}
