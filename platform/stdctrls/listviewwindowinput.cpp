// platform/stdctrls/listviewwindowinput.cpp: the list view's keys and mouse: moving the focus,
// Shift ranges and Ctrl toggles, type-ahead on the captions, clicks, a dragged rectangle, the
// slow second click and F2 that start editing, and the header's clicks and sizing.
#include "platform/gfx/imagelist.h"
#include "platform/rtl/clock.h"
#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listviewwindowimpl.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cctype>

namespace listview {

namespace {

// Letters typed within this time search on from what was typed before.
constexpr std::uint32_t TypeAheadPause = 1000;

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix)
{
    if (Prefix.size() > Text.size())
        return false;
    for (std::size_t I = 0; I < Prefix.size(); ++I)
        if (std::tolower(static_cast<unsigned char>(Text[I])) !=
            std::tolower(static_cast<unsigned char>(Prefix[I])))
            return false;
    return true;
}

} // namespace

void TListViewWindow::KeyDown(WPARAM Key)
{
    NMLVKEYDOWN Note;
    Note.wVKey = static_cast<UINT>(Key);
    SendNotify(Wnd, LVN_KEYDOWN, Note.hdr);
    const bool Shift = GetKeyState(VK_SHIFT) < 0 && MultiSel();
    const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
    const int Page = std::max(1, PerPage());
    const int From = Valid(Focus) ? Focus : -1;
    int To = -2;
    switch (Key) {
    case VK_UP:
        To = From < 0 ? 0 : From - 1;
        break;
    case VK_DOWN:
        To = From < 0 ? 0 : From + 1;
        break;
    case VK_PRIOR:
        // To the top of the page, then a page up.
        To = From > Top ? Top : From - Page + 1;
        break;
    case VK_NEXT: {
        const int Bottom = Top + Page - 1;
        To = From < Bottom ? Bottom : From + Page - 1;
        break;
    }
    case VK_HOME:
        To = 0;
        break;
    case VK_END:
        To = Count() - 1;
        break;
    case VK_LEFT:
        SetScrollX(ScrollX - 10);
        return;
    case VK_RIGHT:
        SetScrollX(ScrollX + 10);
        return;
    case VK_SPACE:
        if (!Valid(From))
            return;
        if (Ctrl && MultiSel())
            ChangeState(From, Selected(From) ? 0u : UINT(LVIS_SELECTED), LVIS_SELECTED);
        else if (!Selected(From))
            ChangeState(From, LVIS_SELECTED, LVIS_SELECTED);
        Anchor = From;
        return;
    case VK_F2:
        if (Has(LVS_EDITLABELS) && Valid(From))
            BeginEdit(From);
        return;
    default:
        return;
    }
    if (Count() == 0)
        return;
    To = std::clamp(To, 0, Count() - 1);
    EnsureVisible(To, false);
    if (Shift) {
        if (!Valid(Anchor))
            Anchor = Valid(From) ? From : To;
        SelectRange(Anchor, To, Ctrl);
        SetFocusItem(To);
    } else if (Ctrl && MultiSel())
        SetFocusItem(To);
    else {
        SelectOnly(To);
        Anchor = To;
    }
}

void TListViewWindow::Char(unsigned char Byte)
{
    if (Byte < 0x20 || Count() == 0)
        return;
    const std::uint32_t Now = GetTickCount();
    if (Now - TypedAt > TypeAheadPause)
        Typed.clear();
    TypedAt = Now;
    // The same letter again steps through the items that start with it.
    const bool Repeat =
        !Typed.empty() && Typed.find_first_not_of(static_cast<char>(Byte)) == std::string::npos;
    Typed += static_cast<char>(Byte);
    const std::string Want = Repeat ? std::string(1, static_cast<char>(Byte)) : Typed;
    const int Start = Valid(Focus) ? (Typed.size() == 1 || Repeat ? Focus + 1 : Focus) : 0;
    for (int Step = 0; Step < Count(); ++Step) {
        const int I = (Start + Step) % Count();
        if (StartsWithNoCase(Rows[I].Text, Want)) {
            EnsureVisible(I, false);
            SelectOnly(I);
            Anchor = I;
            return;
        }
    }
}

LRESULT TListViewWindow::NotifyActivate(UINT Code, int Item, const TPoint& P)
{
    NMITEMACTIVATE Note;
    Note.iItem = Item;
    Note.ptAction = P;
    return SendNotify(Wnd, Code, Note.hdr);
}

void TListViewWindow::ButtonDown(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
    if (Edit != 0)
        EndEdit(true);
    const bool WasFocused = HasFocus;
    if (GetFocus() != Wnd)
        SetFocus(Wnd);
    KillTimer(Wnd, EditTimer);
    LVHITTESTINFO Hit;
    Hit.pt = P;
    const int Item = HitTest(Hit);
    const bool Shift = (WParam & MK_SHIFT) != 0 && MultiSel();
    const bool Ctrl = (WParam & MK_CONTROL) != 0 && MultiSel();
    if (Msg == WM_RBUTTONDOWN) {
        if (Valid(Item)) {
            if (!Selected(Item))
                SelectOnly(Item);
            else
                SetFocusItem(Item);
        }
        NotifyActivate(NM_RCLICK, Item, P);
        return;
    }
    if (Msg == WM_LBUTTONDBLCLK) {
        EditArmed = false;
        if (Valid(Item) && !Shift && !Ctrl)
            SelectOnly(Item);
        NotifyActivate(NM_DBLCLK, Item, P);
        return;
    }
    EditArmed = false;
    PressItem = Item;
    if (Valid(Item)) {
        const bool Again = WasFocused && Item == Focus && Selected(Item) && SelCount == 1;
        if (Ctrl) {
            ChangeState(Item, Selected(Item) ? 0u : UINT(LVIS_SELECTED), LVIS_SELECTED);
            SetFocusItem(Item);
            Anchor = Item;
        } else if (Shift) {
            if (!Valid(Anchor))
                Anchor = Valid(Focus) ? Focus : Item;
            SelectRange(Anchor, Item, false);
            SetFocusItem(Item);
        } else {
            SelectOnly(Item);
            Anchor = Item;
            EditArmed = Again && Has(LVS_EDITLABELS) && (Hit.flags & LVHT_ONITEMLABEL);
        }
        Pressing = true;
        SetCapture(Wnd);
        return;
    }
    // Empty space: the rectangle dragged from here selects the rows it touches.
    if (!Ctrl && !Shift)
        DeselectAllBut(-1);
    MarqueeBase.clear();
    if (Ctrl)
        for (int I = SelLo; I <= SelHi && I < Count(); ++I)
            if (Selected(I))
                MarqueeBase.push_back(I);
    Marquee = true;
    Pressing = true;
    DragFrom = DragTo = TPoint{P.X + ScrollX, P.Y - HeaderH + Top * RowH};
    MarqueeLo = 0;
    MarqueeHi = -1;
    SetCapture(Wnd);
}

void TListViewWindow::UpdateMarquee(const TPoint& P)
{
    const TRect C = Client();
    if (P.Y >= C.Bottom)
        SetTop(Top + 1);
    else if (P.Y < HeaderH)
        SetTop(Top - 1);
    DragTo = TPoint{P.X + ScrollX, P.Y - HeaderH + Top * RowH};
    // Rows touched, as long as the band crosses the selectable part of a row.
    const int X0 = std::min(DragFrom.X, DragTo.X), X1 = std::max(DragFrom.X, DragTo.X);
    int Lo = 0, Hi = -1;
    if (!Columns.empty() && Count() > 0) {
        int SelLeft = 0;
        if (StateImages != nullptr)
            SelLeft += StateImages->Width();
        const int SelRight = FullRow() ? TotalWidth() : Columns[0].Width;
        if (X1 >= SelLeft && X0 < SelRight) {
            const int Y0 = std::min(DragFrom.Y, DragTo.Y), Y1 = std::max(DragFrom.Y, DragTo.Y);
            Lo = std::max(0, Y0 / RowH);
            Hi = std::min(Count() - 1, Y1 / RowH);
        }
    }
    auto InBase = [&](int I) {
        return std::binary_search(MarqueeBase.begin(), MarqueeBase.end(), I);
    };
    // Rows that left the band go back to what they were; rows in it are selected.
    for (int I = MarqueeLo; I <= MarqueeHi; ++I)
        if ((I < Lo || I > Hi) && Valid(I))
            ChangeState(I, InBase(I) ? UINT(LVIS_SELECTED) : 0u, LVIS_SELECTED);
    for (int I = Lo; I <= Hi; ++I)
        ChangeState(I, LVIS_SELECTED, LVIS_SELECTED);
    MarqueeLo = Lo;
    MarqueeHi = Hi;
    InvalidateRect(Wnd, nullptr, true);
}

void TListViewWindow::MouseMove(LPARAM LParam)
{
    if (!Pressing)
        return;
    const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
    if (Marquee)
        UpdateMarquee(P);
}

void TListViewWindow::ButtonUp(LPARAM LParam)
{
    if (!Pressing)
        return;
    const TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
    const bool WasMarquee = Marquee;
    Pressing = false;
    Marquee = false;
    if (GetCapture() == Wnd)
        ReleaseCapture();
    if (WasMarquee) {
        if (MarqueeHi >= MarqueeLo)
            SetFocusItem(MarqueeHi >= 0 && DragTo.Y >= DragFrom.Y ? MarqueeHi : MarqueeLo);
        InvalidateRect(Wnd, nullptr, true);
    }
    if (EditArmed)
        SetTimer(Wnd, EditTimer, GetDoubleClickTime());
    NotifyActivate(NM_CLICK, WasMarquee ? -1 : PressItem, P);
}

void TListViewWindow::HeaderNotify(const NMHDR& Note)
{
    const auto& H = reinterpret_cast<const NMHEADER&>(Note);
    switch (Note.code) {
    case HDN_ITEMCHANGED:
        if (H.iItem >= 0 && H.iItem < static_cast<int>(Columns.size()) && H.pitem != nullptr &&
            (H.pitem->mask & HDI_WIDTH)) {
            Columns[H.iItem].Width = H.pitem->cxy;
            if (Edit != 0)
                EndEdit(true);
            Layout();
            UpdateScrollBars();
            InvalidateRect(Wnd, nullptr, true);
        }
        break;
    case HDN_ITEMCLICK: {
        NMLISTVIEW Click;
        Click.iItem = -1;
        Click.iSubItem = H.iItem;
        SendNotify(Wnd, LVN_COLUMNCLICK, Click.hdr);
        break;
    }
    case HDN_DIVIDERDBLCLICK:
        AutoSizeColumn(H.iItem);
        break;
    default:
        break;
    }
}

} // namespace listview
