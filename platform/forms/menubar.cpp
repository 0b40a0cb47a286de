// The form's menu bar: its items' rectangles (wrapping onto rows), its drawing in the classic
// look, and what the form's non-client area calls to reserve, paint, hit-test and open it.
#include "platform/forms/form.h"
#include "platform/forms/menudraw.h"
#include "platform/gfx/textlayout.h"

#include <algorithm>

namespace {

constexpr int ItemPadding = 6; // each side of a caption

} // namespace

void TMainMenu::MenuChanged(TMenuItem*)
{
    if (FForm != nullptr && FForm->HandleAllocated())
        FForm->Perform(CM_MENUCHANGED, 0, 0);
}

void TMainMenu::SetHotIndex(int Index, bool DroppedDown)
{
    if (Index == FHotIndex && DroppedDown == FDropped)
        return;
    FHotIndex = Index;
    FDropped = Index >= 0 && DroppedDown;
    MenuChanged(nullptr);
}

int TMenuBarLayout::ItemAtPos(TPoint P) const
{
    for (std::size_t I = 0; I < ItemRects.size(); ++I)
        if (!IsRectEmpty(ItemRects[I]) && PtInRect(ItemRects[I], P))
            return static_cast<int>(I);
    return -1;
}

TMenuBarLayout LayoutMenuBar(const TMainMenu* Menu, TCanvas* Canvas, int Width)
{
    TMenuBarLayout Layout;
    if (Menu == nullptr)
        return Layout;
    const TMenuItem* Items = Menu->Items();
    const int RowHeight = Canvas->TextHeight("Wg") + 6;
    int X = 0;
    int Y = 0;
    bool Any = false;
    for (int I = 0; I < Items->Count(); ++I) {
        const TMenuItem* Item = Items->Items(I);
        if (!Item->Visible()) {
            Layout.ItemRects.push_back(TRect{});
            continue;
        }
        TRect Measure = Rect(0, 0, 0, 0);
        Canvas->DrawText(Item->Caption(), Measure, DT_SINGLELINE | DT_CALCRECT);
        const int W = Measure.Width() + 2 * ItemPadding;
        if (X > 0 && (X + W > Width || Item->Break() != mbNone)) {
            X = 0;
            Y += RowHeight;
        }
        Layout.ItemRects.push_back(Rect(X, Y, X + W, Y + RowHeight));
        X += W;
        Any = true;
    }
    Layout.Height = Any ? Y + RowHeight + 1 : 0; // and a line under the rows
    return Layout;
}

TMenuBarLayout LayoutMenuBar(const TMainMenu* Menu, int Width)
{
    return LayoutMenuBar(Menu, &MenuMeasureCanvas(), Width);
}

void DrawMenuBar(const TMainMenu* Menu, TCanvas* Canvas, const TRect& R)
{
    const TMenuBarLayout Layout = LayoutMenuBar(Menu, Canvas, R.Width());
    const int Saved = Canvas->SaveDC();
    Canvas->Brush()->SetColor(clMenu);
    Canvas->FillRect(R);
    if (Layout.Height > 0) {
        Canvas->Pen()->SetColor(clBtnHighlight); // the line between the bar and the client area
        Canvas->MoveTo(R.Left, R.Top + Layout.Height - 1);
        Canvas->LineTo(R.Right, R.Top + Layout.Height - 1);
    }
    Canvas->SetBkMode(TRANSPARENT);
    for (std::size_t I = 0; I < Layout.ItemRects.size(); ++I) {
        TRect Item = Layout.ItemRects[I];
        if (IsRectEmpty(Item))
            continue;
        OffsetRect(Item, R.Left, R.Top);
        const TMenuItem* MenuItem = Menu->Items()->Items(static_cast<int>(I));
        const bool Hot = static_cast<int>(I) == Menu->HotIndex();
        const bool Pressed = Hot && Menu->DroppedDown();
        if (Hot) {
            TRect Edge = Item;
            Canvas->DrawEdge(Edge, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        TRect Text = Item;
        if (Pressed)
            OffsetRect(Text, 1, 1);
        const unsigned Format = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOCLIP;
        if (!MenuItem->Enabled()) {
            TRect Light = Text;
            OffsetRect(Light, 1, 1);
            Canvas->Font()->SetColor(clBtnHighlight);
            Canvas->DrawText(MenuItem->Caption(), Light, Format);
            Canvas->Font()->SetColor(clBtnShadow);
        } else {
            Canvas->Font()->SetColor(clMenuText);
        }
        Canvas->DrawText(MenuItem->Caption(), Text, Format);
    }
    Canvas->RestoreDC(Saved);
}

int MenuBarHeight(const TCustomForm* Form, int Width)
{
    return Form != nullptr ? LayoutMenuBar(Form->Menu(), Width).Height : 0;
}

void PaintMenuBar(const TCustomForm* Form, TCanvas* Canvas, const TRect& R)
{
    if (Form != nullptr && Form->Menu() != nullptr)
        DrawMenuBar(Form->Menu(), Canvas, R);
}

TRect MenuBarScreenRect(const TCustomForm* Form)
{
    const int Width = Form->ClientWidth();
    const int Height = MenuBarHeight(Form, Width);
    const TPoint Origin = Form->ClientOrigin();
    return Rect(Origin.X, Origin.Y - Height, Origin.X + Width, Origin.Y);
}

void TrackMenuBar(TCustomForm* Form, int Item, bool DropDown)
{
    TMainMenu* Menu = Form != nullptr ? Form->Menu() : nullptr;
    if (Menu == nullptr || TMenuLoop::Current() != nullptr || !Form->HandleAllocated())
        return;
    TMenuItem* Chosen = nullptr;
    {
        TMenuLoop Loop(Form->Handle(), Form->Handle());
        Chosen = Loop.RunBar(Menu, Form, Item, DropDown);
    }
    if (Chosen != nullptr)
        Chosen->Click();
}
