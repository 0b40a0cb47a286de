// The drop-down and pop-up windows of menus: their layout in columns and their classic drawing
// (check marks, radio dots, images, separators, shortcuts, sub-menu arrows, embossed disabled
// text), with owner-drawn items measured and drawn through WM_MEASUREITEM and WM_DRAWITEM.
#include "platform/forms/menudraw.h"
#include "platform/forms/menus.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/textlayout.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int FrameWidth = 3; // raised edge and a pixel of margin
constexpr int SeparatorHeight = 8;
constexpr int ArrowWidth = 20;   // sub-menu arrow column
constexpr int ShortCutGap = 24;  // between the caption and the shortcut
constexpr int BarBreakWidth = 6; // the line between columns of mbBarBreak

int GutterWidth(const TMenu* Menu)
{
    const TCustomImageList* Images = Menu != nullptr ? Menu->Images() : nullptr;
    return std::max(16, Images != nullptr ? Images->Width() + 4 : 0);
}

int TextLeft(const TMenu* Menu)
{
    return 2 + GutterWidth(Menu) + 4;
}

TOwnerDrawState StateOf(const TMenuItem* Item, bool Selected)
{
    TOwnerDrawState State;
    if (Selected)
        State.Include(odSelected);
    if (!Item->Enabled()) {
        State.Include(odDisabled);
        State.Include(odGrayed);
    }
    if (Item->Checked())
        State.Include(odChecked);
    if (Item->Default())
        State.Include(odDefault);
    return State;
}

void MeasureOwnerDrawn(TMenuItem* Item, TCanvas* Canvas, HWND OwnerDraw, int& Width, int& Height)
{
    if (OwnerDraw == 0) {
        Item->MeasureItem(Canvas, Width, Height);
        return;
    }
    TMeasureItemStruct Measure;
    Measure.CtlType = ODT_MENU;
    Measure.itemID = Item->Command();
    Measure.itemWidth = static_cast<UINT>(Width);
    Measure.itemHeight = static_cast<UINT>(Height);
    Measure.itemData = reinterpret_cast<std::uintptr_t>(Item);
    SendMessage(OwnerDraw, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&Measure));
    Width = static_cast<int>(Measure.itemWidth);
    Height = static_cast<int>(Measure.itemHeight);
}

void DrawOwnerDrawn(TMenuItem* Item, TCanvas* Canvas, const TRect& R, TOwnerDrawState State,
                    HWND OwnerDraw)
{
    if (OwnerDraw == 0) {
        Item->AdvancedDrawItem(Canvas, R, State, false);
        return;
    }
    TDrawItemStruct Draw;
    Draw.CtlType = ODT_MENU;
    Draw.itemID = Item->Command();
    Draw.itemAction = ODA_DRAWENTIRE;
    Draw.itemState = OwnerDrawStateBits(State);
    Draw.hDC = Canvas;
    Draw.rcItem = R;
    Draw.itemData = reinterpret_cast<std::uintptr_t>(Item);
    SendMessage(OwnerDraw, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Draw));
}

void DrawCheck(TCanvas* Canvas, const TRect& Box, bool Radio, TColor Color)
{
    const int CX = (Box.Left + Box.Right) / 2;
    const int CY = (Box.Top + Box.Bottom) / 2;
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    if (Radio) {
        Canvas->Ellipse(CX - 3, CY - 3, CX + 3, CY + 3);
        return;
    }
    for (int Row = 0; Row < 3; ++Row) { // a check mark three pixels thick
        Canvas->MoveTo(CX - 3, CY - 1 + Row);
        Canvas->LineTo(CX - 1, CY + 1 + Row);
        Canvas->LineTo(CX + 4, CY - 4 + Row);
    }
}

void DrawArrow(TCanvas* Canvas, const TRect& R, TColor Color)
{
    const int X = R.Right - 12;
    const int CY = (R.Top + R.Bottom) / 2;
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Polygon({TPoint{X, CY - 4}, TPoint{X + 4, CY}, TPoint{X, CY + 4}});
}

void DrawCaption(TCanvas* Canvas, const std::string& Text, TRect R, unsigned Format, bool Enabled,
                 bool Selected, TColor Color)
{
    Canvas->SetBkMode(TRANSPARENT);
    if (!Enabled && !Selected) {
        TRect Light = R;
        OffsetRect(Light, 1, 1);
        Canvas->Font()->SetColor(clBtnHighlight);
        Canvas->DrawText(Text, Light, Format);
        Canvas->Font()->SetColor(clBtnShadow);
    } else {
        Canvas->Font()->SetColor(Enabled ? Color : clBtnShadow);
    }
    Canvas->DrawText(Text, R, Format);
}

} // namespace

TCanvas& MenuMeasureCanvas()
{
    static TRasterDevice Device(1, 1);
    static TCanvas Canvas(&Device);
    return Canvas;
}

void DrawMenuItemLook(TMenuItem* Item, TCanvas* Canvas, const TRect& R, TOwnerDrawState State)
{
    const TMenu* Menu = Item->GetParentMenu();
    const bool Selected = State.Contains(odSelected) && !Item->IsLine();
    const TColor Back = Selected ? clHighlight : clMenu;
    const TColor Fore = Selected ? clHighlightText : clMenuText;
    Canvas->Brush()->SetColor(Back);
    Canvas->FillRect(R);
    if (Item->IsLine()) {
        TRect Line = Rect(R.Left + 1, (R.Top + R.Bottom) / 2 - 1, R.Right - 1, R.Bottom);
        Canvas->DrawEdge(Line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TRect Gutter = Rect(R.Left + 2, R.Top, R.Left + 2 + GutterWidth(Menu), R.Bottom);
    TCustomImageList* Images = Menu != nullptr ? Menu->Images() : nullptr;
    if (Images != nullptr && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count()) {
        const int X = Gutter.Left + (Gutter.Width() - Images->Width()) / 2;
        const int Y = Gutter.Top + (Gutter.Height() - Images->Height()) / 2;
        if (Item->Checked()) {
            TRect Frame = Rect(X - 1, Y - 1, X + Images->Width() + 1, Y + Images->Height() + 1);
            Canvas->DrawEdge(Frame, BDR_SUNKENOUTER, BF_RECT);
        }
        Images->Draw(Canvas, X, Y, Item->ImageIndex(), Item->Enabled());
    } else if (Item->Checked()) {
        DrawCheck(Canvas, Gutter, Item->RadioItem(), Item->Enabled() ? Fore : clBtnShadow);
    }
    const std::unique_ptr<TFont> Saved = std::make_unique<TFont>();
    Saved->Assign(Canvas->Font());
    if (Item->Default())
        Canvas->Font()->SetStyle(Canvas->Font()->Style() + TFontStyles{fsBold});
    TRect Text = Rect(R.Left + TextLeft(Menu), R.Top, R.Right - ArrowWidth, R.Bottom);
    const unsigned Format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOCLIP;
    DrawCaption(Canvas, Item->Caption(), Text, Format, Item->Enabled(), Selected, Fore);
    Canvas->Font()->Assign(Saved.get());
    const std::string Keys = ShortCutToText(Item->ShortCut());
    if (!Keys.empty() && Item->Count() == 0) {
        TRect KeysRect = Text;
        DrawCaption(Canvas, Keys, KeysRect, Format | DT_RIGHT | DT_NOPREFIX, Item->Enabled(),
                    Selected, Fore);
    }
    if (Item->Count() > 0)
        DrawArrow(Canvas, R, Item->Enabled() ? Fore : clBtnShadow);
}

int TMenuPopupLayout::ItemAtPos(TPoint P) const
{
    for (std::size_t I = 0; I < Entries.size(); ++I)
        if (PtInRect(Entries[I].Rect, P))
            return static_cast<int>(I);
    return -1;
}

TMenuPopupLayout LayoutMenuPopup(TMenuItem* Parent, TCanvas* Canvas, HWND OwnerDraw)
{
    TMenuPopupLayout Layout;
    const TMenu* Menu = Parent->GetParentMenu();
    const int TextH = Canvas->TextHeight("Wg");
    const TCustomImageList* Images = Menu != nullptr ? Menu->Images() : nullptr;
    const int ItemH = std::max(TextH + 6, Images != nullptr ? Images->Height() + 4 : 0);
    // The items of each column with their sizes, then the columns side by side.
    struct TCell {
        TMenuItem* Item;
        int Width;
        int Height;
    };
    std::vector<std::vector<TCell>> Columns(1);
    std::vector<bool> BarBefore(1, false);
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (!Item->Visible())
            continue;
        if (Item->Break() != mbNone && !Columns.back().empty()) {
            Columns.emplace_back();
            BarBefore.push_back(Item->Break() == mbBarBreak);
        }
        int W = 0;
        int H = Item->IsLine() ? SeparatorHeight : ItemH;
        if (Item->IsOwnerDrawn()) {
            W = Canvas->TextWidth(Item->Caption()) + TextLeft(Menu);
            MeasureOwnerDrawn(Item, Canvas, OwnerDraw, W, H);
        }
        Columns.back().push_back(TCell{Item, W, H});
    }
    int X = FrameWidth;
    int Bottom = 0;
    for (std::size_t C = 0; C < Columns.size(); ++C) {
        if (BarBefore[C]) {
            Layout.BarBreaks.push_back(X + BarBreakWidth / 2 - 1);
            X += BarBreakWidth;
        }
        int CaptionW = 0;
        int KeysW = 0;
        int OwnerW = 0;
        for (const TCell& Cell : Columns[C]) {
            if (Cell.Item->IsOwnerDrawn()) {
                OwnerW = std::max(OwnerW, Cell.Width);
                continue;
            }
            if (Cell.Item->IsLine())
                continue;
            TRect Measure = Rect(0, 0, 0, 0);
            Canvas->DrawText(Cell.Item->Caption(), Measure, DT_SINGLELINE | DT_CALCRECT);
            int Width = Measure.Width();
            if (Cell.Item->Default())
                Width += Width / 8 + 2; // bold is wider
            CaptionW = std::max(CaptionW, Width);
            if (Cell.Item->Count() == 0)
                KeysW = std::max(KeysW, Canvas->TextWidth(ShortCutToText(Cell.Item->ShortCut())));
        }
        const int Width = std::max(
            {TextLeft(Menu) + CaptionW + (KeysW > 0 ? ShortCutGap + KeysW : 0) + ArrowWidth, OwnerW,
             2 * ArrowWidth});
        int Y = FrameWidth;
        for (const TCell& Cell : Columns[C]) {
            Layout.Entries.push_back({Cell.Item, Rect(X, Y, X + Width, Y + Cell.Height)});
            Y += Cell.Height;
        }
        Bottom = std::max(Bottom, Y);
        X += Width;
    }
    Layout.Size = TSize{X + FrameWidth, Bottom + FrameWidth};
    return Layout;
}

void DrawMenuPopup(const TMenuPopupLayout& Layout, TMenuItem* Parent, TCanvas* Canvas, int Selected,
                   HWND OwnerDraw)
{
    (void)Parent;
    TRect All = Rect(0, 0, Layout.Size.cx, Layout.Size.cy);
    Canvas->Brush()->SetColor(clMenu);
    Canvas->FillRect(All);
    Canvas->DrawEdge(All, EDGE_RAISED, BF_RECT);
    for (int X : Layout.BarBreaks) {
        TRect Line = Rect(X, FrameWidth, X + 2, Layout.Size.cy - FrameWidth);
        Canvas->DrawEdge(Line, EDGE_ETCHED, BF_LEFT);
    }
    for (std::size_t I = 0; I < Layout.Entries.size(); ++I) {
        const TMenuPopupLayout::TEntry& Entry = Layout.Entries[I];
        const TOwnerDrawState State = StateOf(Entry.Item, static_cast<int>(I) == Selected);
        const int Saved = Canvas->SaveDC();
        if (Entry.Item->IsOwnerDrawn())
            DrawOwnerDrawn(Entry.Item, Canvas, Entry.Rect, State, OwnerDraw);
        else
            DrawMenuItemLook(Entry.Item, Canvas, Entry.Rect, State);
        Canvas->RestoreDC(Saved);
    }
}

bool DefMenuOwnerDraw(UINT Msg, LPARAM LParam)
{
    if (Msg == WM_MEASUREITEM) {
        auto* Measure = reinterpret_cast<TMeasureItemStruct*>(LParam);
        if (Measure == nullptr || Measure->CtlType != ODT_MENU)
            return false;
        TMenuItem* Item = FindMenuItemByCommand(Measure->itemID);
        if (Item == nullptr || reinterpret_cast<std::uintptr_t>(Item) != Measure->itemData)
            return false;
        int W = static_cast<int>(Measure->itemWidth);
        int H = static_cast<int>(Measure->itemHeight);
        Item->MeasureItem(&MenuMeasureCanvas(), W, H);
        Measure->itemWidth = static_cast<UINT>(std::max(W, 0));
        Measure->itemHeight = static_cast<UINT>(std::max(H, 0));
        return true;
    }
    if (Msg == WM_DRAWITEM) {
        auto* Draw = reinterpret_cast<TDrawItemStruct*>(LParam);
        if (Draw == nullptr || Draw->CtlType != ODT_MENU || Draw->hDC == nullptr)
            return false;
        TMenuItem* Item = FindMenuItemByCommand(Draw->itemID);
        if (Item == nullptr || reinterpret_cast<std::uintptr_t>(Item) != Draw->itemData)
            return false;
        Item->AdvancedDrawItem(Draw->hDC, Draw->rcItem, OwnerDrawStateOf(Draw->itemState), false);
        return true;
    }
    return false;
}
