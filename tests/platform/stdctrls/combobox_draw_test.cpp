// The combo box's look in each style, closed and dropped down, against golden pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/ui/queue.h"

namespace {

using ComboBoxDrawing = ListTest;

// Paints Wnd's client area onto Device with its top-left corner at (0, Y).
void PaintAt(HWND Wnd, TRasterDevice& Device, int Y)
{
    TCanvas Canvas(&Device);
    Canvas.SetViewportOrgEx(0, Y);
    SendMessage(Wnd, WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
}

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
        int Height = C->ClientHeight();
        TRect ListRect;
        if (Case.Drop) {
            GetClientRect(ComboBoxListWindow(C->Handle()), ListRect);
            Height += ListRect.Height();
        }
        TRasterDevice Device(C->ClientWidth(), Height, clBtnFace);
        PaintAt(C->Handle(), Device, 0);
        if (Case.Style == csSimple) {
            TRect R;
            GetWindowRect(ComboBoxListWindow(C->Handle()), R);
            TPoint P{R.Left, R.Top};
            ScreenToClient(C->Handle(), P);
            PaintAt(ComboBoxListWindow(C->Handle()), Device, P.Y);
        }
        if (Case.Drop)
            PaintAt(ComboBoxListWindow(C->Handle()), Device, C->ClientHeight());
        ExpectMatchesGolden(Device, Case.File);
        delete C;
    }
}
