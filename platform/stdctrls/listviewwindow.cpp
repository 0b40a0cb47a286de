#include "platform/stdctrls/listviewwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/imagelist.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/stdctrls/headerwindow.h"
#include "platform/stdctrls/listviewwindowimpl.h"
#include "platform/stdctrls/scrollrequest.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

namespace listview {

namespace {

TWindowStates<TListViewWindow>& Lists()
{
    static TWindowStates<TListViewWindow> States;
    return States;
}

} // namespace

TListViewWindow::TListViewWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd) {}

UINT TListViewWindow::StateOf(int Index) const
{
    return Rows[Index].State | (Index == Focus ? UINT(LVIS_FOCUSED) : 0u);
}

// ---- geometry

TRect TListViewWindow::Client() const
{
    TRect R;
    GetClientRect(Wnd, R);
    return R;
}

int TListViewWindow::PerPage() const
{
    return std::max(0, (Client().Bottom - HeaderH) / RowH);
}

int TListViewWindow::TotalWidth() const
{
    int W = 0;
    for (const TColumn& C : Columns)
        W += C.Width;
    return W;
}

int TListViewWindow::ColumnLeft(int Column) const
{
    int X = 0;
    for (int I = 0; I < Column && I < static_cast<int>(Columns.size()); ++I)
        X += Columns[I].Width;
    return X;
}

TRect TListViewWindow::RowRect(int Index) const
{
    const int Y = HeaderH + (Index - Top) * RowH;
    return Rect(-ScrollX, Y, TotalWidth() - ScrollX, Y + RowH);
}

TRect TListViewWindow::LabelRect(int Index) const
{
    const TRect Row = RowRect(Index);
    int X = Row.Left;
    if (StateImages != nullptr)
        X += StateImages->Width();
    if (SmallImages != nullptr)
        X += SmallImages->Width();
    const int Right = Row.Left + (Columns.empty() ? 0 : Columns[0].Width);
    return Rect(std::min(X, Right), Row.Top, Right, Row.Bottom);
}

TRect TListViewWindow::SelectRect(int Index) const
{
    if (FullRow()) {
        TRect R = RowRect(Index);
        if (StateImages != nullptr)
            R.Left += StateImages->Width();
        return R;
    }
    return LabelRect(Index);
}

int TListViewWindow::RowAt(int Y) const
{
    const int Dy = Y - HeaderH;
    return Top + (Dy >= 0 ? Dy / RowH : (Dy - RowH + 1) / RowH);
}

int TListViewWindow::HitTest(LVHITTESTINFO& Info) const
{
    Info.flags = LVHT_NOWHERE;
    Info.iItem = -1;
    Info.iSubItem = 0;
    const TPoint P = Info.pt;
    if (P.Y < HeaderH) {
        Info.flags = LVHT_ABOVE;
        return -1;
    }
    const int Row = RowAt(P.Y);
    if (Row >= Count()) {
        Info.flags = LVHT_BELOW;
        return -1;
    }
    const int X = P.X + ScrollX;
    int Left = 0;
    for (int C = 0; C < static_cast<int>(Columns.size()); ++C) {
        if (X >= Left && X < Left + Columns[C].Width)
            Info.iSubItem = C;
        Left += Columns[C].Width;
    }
    if (X < 0 || X >= Left)
        return -1;
    Info.iItem = Row;
    if (Info.iSubItem > 0) {
        Info.flags = FullRow() ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
        if (!FullRow())
            Info.iItem = -1;
        return Info.iItem;
    }
    int Edge = 0;
    if (StateImages != nullptr) {
        Edge += StateImages->Width();
        if (X < Edge) {
            Info.flags = LVHT_ONITEMSTATEICON;
            return Row;
        }
    }
    if (SmallImages != nullptr) {
        Edge += SmallImages->Width();
        if (X < Edge) {
            Info.flags = LVHT_ONITEMICON;
            return Row;
        }
    }
    Info.flags = LVHT_ONITEMLABEL;
    return Row;
}

// The header spans the columns (or the client width, when wider), moved with the horizontal
// scroll; the rows start below it.
void TListViewWindow::Layout()
{
    if (Header == 0)
        return;
    const TRect C = Client();
    if (Has(LVS_NOCOLUMNHEADER)) {
        HeaderH = 0;
        ShowWindow(Header, SW_HIDE);
    } else {
        HeaderH = HeaderHeight(Header);
        MoveWindow(Header, -ScrollX, 0, std::max(TotalWidth(), C.Width() + ScrollX) + 2, HeaderH,
                   true);
        ShowWindow(Header, SW_SHOWNA);
    }
}

void TListViewWindow::UpdateScrollBars()
{
    if (UpdatingBars)
        return;
    UpdatingBars = true;
    for (int Round = 0; Round < 3; ++Round) {
        const TRect Before = Client();
        Top = std::clamp(Top, 0, std::max(0, Count() - PerPage()));
        TScrollInfo V;
        V.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        V.nMax = std::max(0, Count() - 1);
        V.nPage = static_cast<UINT>(Count() == 0 ? 0 : PerPage());
        V.nPos = Top;
        SetScrollInfo(Wnd, SB_VERT, V, true);
        ScrollX = std::clamp(ScrollX, 0, std::max(0, TotalWidth() - Client().Width()));
        TScrollInfo H;
        H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        H.nMax = std::max(0, TotalWidth() - 1);
        H.nPage = static_cast<UINT>(Client().Width());
        H.nPos = ScrollX;
        SetScrollInfo(Wnd, SB_HORZ, H, true);
        if (Client() == Before)
            break;
        Layout();
        InvalidateRect(Wnd, nullptr, true);
    }
    UpdatingBars = false;
}

void TListViewWindow::SetTop(int Index)
{
    const int NewTop = std::clamp(Index, 0, std::max(0, Count() - PerPage()));
    if (NewTop == Top)
        return;
    const int Delta = (Top - NewTop) * RowH;
    Top = NewTop;
    TRect Body = Client();
    Body.Top = HeaderH;
    if (std::abs(Delta) < Body.Height() && Marquee == false)
        ScrollWindow(Wnd, 0, Delta, &Body, &Body);
    else
        InvalidateRect(Wnd, &Body, true);
    if (Edit != 0)
        EndEdit(true);
    UpdateScrollBars();
}

void TListViewWindow::SetScrollX(int X)
{
    const int NewX = std::clamp(X, 0, std::max(0, TotalWidth() - Client().Width()));
    if (NewX == ScrollX)
        return;
    ScrollX = NewX;
    if (Edit != 0)
        EndEdit(true);
    Layout();
    UpdateScrollBars();
    InvalidateRect(Wnd, nullptr, true);
}

void TListViewWindow::EnsureVisible(int Index, bool Partial)
{
    if (!Valid(Index))
        return;
    const int Page = std::max(1, PerPage());
    if (Index < Top)
        SetTop(Index);
    else if (Index >= Top + Page && !(Partial && Index == Top + Page))
        SetTop(Index - Page + 1);
}

void TListViewWindow::InvalidateRow(int Index)
{
    if (!Valid(Index) || Index < Top || Index > Top + PerPage())
        return;
    TRect R = RowRect(Index);
    R.Left = 0;
    R.Right = Client().Right;
    InvalidateRect(Wnd, &R, true);
}

// ---- items and columns

int TListViewWindow::InsertItem(const LVITEM& Item)
{
    if (Item.iSubItem != 0)
        return -1;
    const int At = std::clamp(Item.iItem, 0, Count());
    TRow Row;
    if (Item.mask & LVIF_TEXT)
        Row.Text = Item.pszText;
    if (Item.mask & LVIF_IMAGE)
        Row.Image = Item.iImage;
    if (Item.mask & LVIF_PARAM)
        Row.Param = Item.lParam;
    if (Item.mask & LVIF_STATE)
        Row.State = Item.state & Item.stateMask & (LVIS_SELECTED | LVIS_CUT | LVIS_STATEIMAGEMASK);
    if (!MultiSel() && (Row.State & LVIS_SELECTED) && SelCount > 0)
        Row.State &= ~UINT(LVIS_SELECTED);
    Rows.insert(Rows.begin() + At, std::move(Row));
    if (Focus >= At)
        ++Focus;
    if (Anchor >= At)
        ++Anchor;
    if (SelHi >= At)
        ++SelHi;
    if (SelLo >= At && SelCount > 0)
        ++SelLo;
    if (Rows[At].State & LVIS_SELECTED) {
        ++SelCount;
        SelLo = SelCount == 1 ? At : std::min(SelLo, At);
        SelHi = SelCount == 1 ? At : std::max(SelHi, At);
    }
    if ((Item.mask & LVIF_STATE) && (Item.stateMask & Item.state & LVIS_FOCUSED))
        Focus = At;
    if (At <= Top + PerPage()) {
        TRect Body = Client();
        Body.Top = std::max(HeaderH, RowRect(At).Top);
        InvalidateRect(Wnd, &Body, true);
    }
    UpdateScrollBars();
    NMLISTVIEW Note;
    Note.iItem = At;
    Note.lParam = Rows[At].Param;
    SendNotify(Wnd, LVN_INSERTITEM, Note.hdr);
    return At;
}

bool TListViewWindow::SetItem(const LVITEM& Item)
{
    if (!Valid(Item.iItem) || Item.iSubItem < 0)
        return false;
    TRow& Row = Rows[Item.iItem];
    if (Item.iSubItem > 0) {
        if (Item.mask & LVIF_TEXT) {
            if (static_cast<int>(Row.Sub.size()) < Item.iSubItem)
                Row.Sub.resize(static_cast<std::size_t>(Item.iSubItem));
            Row.Sub[static_cast<std::size_t>(Item.iSubItem - 1)] = Item.pszText;
        }
        InvalidateRow(Item.iItem);
        return true;
    }
    if (Item.mask & LVIF_TEXT)
        Row.Text = Item.pszText;
    if (Item.mask & LVIF_IMAGE)
        Row.Image = Item.iImage;
    if (Item.mask & LVIF_PARAM)
        Row.Param = Item.lParam;
    InvalidateRow(Item.iItem);
    if (Item.mask & LVIF_STATE)
        return ChangeState(Item.iItem, Item.state, Item.stateMask);
    return true;
}

bool TListViewWindow::GetItem(LVITEM& Item) const
{
    if (!Valid(Item.iItem) || Item.iSubItem < 0)
        return false;
    const TRow& Row = Rows[Item.iItem];
    if (Item.mask & LVIF_TEXT) {
        if (Item.iSubItem == 0)
            Item.pszText = Row.Text;
        else if (Item.iSubItem <= static_cast<int>(Row.Sub.size()))
            Item.pszText = Row.Sub[static_cast<std::size_t>(Item.iSubItem - 1)];
        else
            Item.pszText.clear();
    }
    if (Item.mask & LVIF_IMAGE)
        Item.iImage = Row.Image;
    if (Item.mask & LVIF_PARAM)
        Item.lParam = Row.Param;
    if (Item.mask & LVIF_STATE)
        Item.state = StateOf(Item.iItem) & Item.stateMask;
    return true;
}

bool TListViewWindow::DeleteItem(int Index)
{
    if (!Valid(Index))
        return false;
    if (Edit != 0)
        EndEdit(false);
    NMLISTVIEW Note;
    Note.iItem = Index;
    Note.lParam = Rows[Index].Param;
    SendNotify(Wnd, LVN_DELETEITEM, Note.hdr);
    if (!Valid(Index))
        return false;
    if (Selected(Index))
        --SelCount;
    Rows.erase(Rows.begin() + Index);
    if (SelCount == 0) {
        SelLo = 0;
        SelHi = -1;
    } else
        SelHi = std::min(SelHi, Count() - 1);
    if (Focus == Index)
        Focus = -1;
    else if (Focus > Index)
        --Focus;
    if (Anchor >= Index)
        Anchor = Anchor == Index ? -1 : Anchor - 1;
    TRect Body = Client();
    Body.Top = std::max(HeaderH, RowRect(Index).Top);
    InvalidateRect(Wnd, &Body, true);
    UpdateScrollBars();
    return true;
}

void TListViewWindow::DeleteAll()
{
    if (Edit != 0)
        EndEdit(false);
    NMLISTVIEW Note;
    Note.iItem = -1;
    // A non-zero answer to LVN_DELETEALLITEMS spares the LVN_DELETEITEM of each item.
    if (SendNotify(Wnd, LVN_DELETEALLITEMS, Note.hdr) == 0)
        for (int I = 0; I < Count(); ++I) {
            NMLISTVIEW Each;
            Each.iItem = I;
            Each.lParam = Rows[I].Param;
            SendNotify(Wnd, LVN_DELETEITEM, Each.hdr);
        }
    Rows.clear();
    Focus = Anchor = -1;
    SelCount = 0;
    SelLo = 0;
    SelHi = -1;
    Top = 0;
    InvalidateRect(Wnd, nullptr, true);
    UpdateScrollBars();
}

int TListViewWindow::InsertColumn(int Index, const LVCOLUMN& Column)
{
    const int At = std::clamp(Index, 0, static_cast<int>(Columns.size()));
    TColumn New;
    New.Width = (Column.mask & LVCF_WIDTH) ? std::max(0, Column.cx) : 0;
    New.Fmt = (Column.mask & LVCF_FMT) ? Column.fmt : LVCFMT_LEFT;
    New.SubItem = (Column.mask & LVCF_SUBITEM) ? Column.iSubItem : At;
    Columns.insert(Columns.begin() + At, New);
    HDITEM Item;
    Item.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT;
    Item.cxy = New.Width;
    Item.fmt = New.Fmt & LVCFMT_JUSTIFYMASK;
    if (Column.mask & LVCF_TEXT)
        Item.pszText = Column.pszText;
    SendMessage(Header, HDM_INSERTITEM, static_cast<WPARAM>(At), reinterpret_cast<LPARAM>(&Item));
    Layout();
    UpdateScrollBars();
    InvalidateRect(Wnd, nullptr, true);
    return At;
}

bool TListViewWindow::SetColumn(int Index, const LVCOLUMN& Column)
{
    if (Index < 0 || Index >= static_cast<int>(Columns.size()))
        return false;
    if (Column.mask & LVCF_FMT)
        Columns[Index].Fmt = Column.fmt;
    if (Column.mask & LVCF_SUBITEM)
        Columns[Index].SubItem = Column.iSubItem;
    HDITEM Item;
    if (Column.mask & LVCF_FMT) {
        Item.mask |= HDI_FORMAT;
        Item.fmt = Column.fmt & LVCFMT_JUSTIFYMASK;
    }
    if (Column.mask & LVCF_TEXT) {
        Item.mask |= HDI_TEXT;
        Item.pszText = Column.pszText;
    }
    if (Column.mask & LVCF_WIDTH) {
        Item.mask |= HDI_WIDTH;
        Item.cxy = std::max(0, Column.cx);
    }
    // The width comes back through HDN_ITEMCHANGED.
    if (Item.mask != 0)
        SendMessage(Header, HDM_SETITEM, static_cast<WPARAM>(Index),
                    reinterpret_cast<LPARAM>(&Item));
    InvalidateRect(Wnd, nullptr, true);
    return true;
}

bool TListViewWindow::GetColumn(int Index, LVCOLUMN& Column) const
{
    if (Index < 0 || Index >= static_cast<int>(Columns.size()))
        return false;
    if (Column.mask & LVCF_FMT)
        Column.fmt = Columns[Index].Fmt;
    if (Column.mask & LVCF_WIDTH)
        Column.cx = Columns[Index].Width;
    if (Column.mask & LVCF_SUBITEM)
        Column.iSubItem = Columns[Index].SubItem;
    if (Column.mask & LVCF_TEXT) {
        HDITEM Item;
        Item.mask = HDI_TEXT;
        SendMessage(Header, HDM_GETITEM, static_cast<WPARAM>(Index),
                    reinterpret_cast<LPARAM>(&Item));
        Column.pszText = Item.pszText;
    }
    return true;
}

// A double click on a divider fits the column to its widest text (the only walk over all
// items, and only on the user's asking).
void TListViewWindow::AutoSizeColumn(int Column)
{
    if (Column < 0 || Column >= static_cast<int>(Columns.size()))
        return;
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    const int Sub = Columns[Column].SubItem;
    int Widest = 0;
    for (const TRow& Row : Rows) {
        const std::string* Text = Sub == 0 ? &Row.Text
                                  : Sub <= static_cast<int>(Row.Sub.size())
                                      ? &Row.Sub[static_cast<std::size_t>(Sub - 1)]
                                      : nullptr;
        if (Text != nullptr && !Text->empty())
            Widest = std::max(Widest, Canvas.TextWidth(*Text));
    }
    if (Column == 0)
        Widest +=
            (StateImages ? StateImages->Width() : 0) + (SmallImages ? SmallImages->Width() : 0);
    LVCOLUMN Change;
    Change.mask = LVCF_WIDTH;
    Change.cx = Widest + 12;
    SetColumn(Column, Change);
}

int TListViewWindow::NextItem(int Start, UINT Flags) const
{
    const UINT Want = Flags & (LVNI_FOCUSED | LVNI_SELECTED);
    auto Fits = [&](int I) {
        const UINT S = StateOf(I);
        return ((Want & LVNI_FOCUSED) == 0 || (S & LVIS_FOCUSED)) &&
               ((Want & LVNI_SELECTED) == 0 || (S & LVIS_SELECTED));
    };
    if (Flags & LVNI_ABOVE) {
        for (int I = std::min(Start, Count()) - 1; I >= 0; --I)
            if (Fits(I))
                return I;
        return -1;
    }
    if (Flags & (LVNI_TOLEFT | LVNI_TORIGHT))
        return -1; // report rows have nothing beside them
    int From = Start < 0 ? 0 : Start + 1;
    int To = Count();
    // Only focus and selection can be looked up without a walk over every item.
    if (Want == LVNI_FOCUSED)
        return Focus >= From ? Focus : -1;
    if (Want & LVNI_SELECTED) {
        if (SelCount == 0)
            return -1;
        From = std::max(From, SelLo);
        To = std::min(To, SelHi + 1);
    }
    for (int I = From; I < To; ++I)
        if (Fits(I))
            return I;
    return -1;
}

// ---- state

LRESULT TListViewWindow::NotifyChange(UINT Code, int Index, UINT Old, UINT New, UINT Changed)
{
    NMLISTVIEW Note;
    Note.iItem = Index;
    Note.uOldState = Old;
    Note.uNewState = New;
    Note.uChanged = Changed;
    Note.lParam = Valid(Index) ? Rows[Index].Param : 0;
    return SendNotify(Wnd, Code, Note.hdr);
}

bool TListViewWindow::ChangeState(int Index, UINT State, UINT Mask)
{
    if (!Valid(Index))
        return false;
    const UINT Old = StateOf(Index);
    UINT New = (Old & ~Mask) | (State & Mask);
    if (New == Old)
        return true;
    if (NotifyChange(LVN_ITEMCHANGING, Index, Old, New, LVIF_STATE) != 0)
        return false;
    if (!Valid(Index))
        return false;
    if ((New & LVIS_SELECTED) && !(Old & LVIS_SELECTED) && !MultiSel())
        DeselectAllBut(Index);
    if (!Valid(Index))
        return false;
    TRow& Row = Rows[Index];
    const bool WasSel = (Row.State & LVIS_SELECTED) != 0;
    Row.State = New & ~UINT(LVIS_FOCUSED);
    const bool IsSel = (Row.State & LVIS_SELECTED) != 0;
    if (IsSel != WasSel) {
        SelCount += IsSel ? 1 : -1;
        if (SelCount == 0) {
            SelLo = 0;
            SelHi = -1;
        } else if (IsSel) {
            SelLo = SelCount == 1 ? Index : std::min(SelLo, Index);
            SelHi = SelCount == 1 ? Index : std::max(SelHi, Index);
        }
    }
    if ((New & LVIS_FOCUSED) && Focus != Index) {
        const int OldFocus = Focus;
        Focus = Index;
        if (Valid(OldFocus)) {
            InvalidateRow(OldFocus);
            NotifyChange(LVN_ITEMCHANGED, OldFocus, StateOf(OldFocus) | LVIS_FOCUSED,
                         StateOf(OldFocus), LVIF_STATE);
        }
    } else if (!(New & LVIS_FOCUSED) && Focus == Index)
        Focus = -1;
    InvalidateRow(Index);
    NotifyChange(LVN_ITEMCHANGED, Index, Old, Valid(Index) ? StateOf(Index) : New, LVIF_STATE);
    return true;
}

void TListViewWindow::SetFocusItem(int Index)
{
    if (Valid(Index))
        ChangeState(Index, LVIS_FOCUSED, LVIS_FOCUSED);
}

// Only the span that can hold selected items is walked.
void TListViewWindow::DeselectAllBut(int Keep)
{
    for (int I = SelLo; I <= SelHi && I < Count() && SelCount > (Valid(Keep) && Selected(Keep));
         ++I)
        if (I != Keep && Selected(I))
            ChangeState(I, 0, LVIS_SELECTED);
}

void TListViewWindow::SelectOnly(int Index)
{
    DeselectAllBut(Index);
    ChangeState(Index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TListViewWindow::SelectRange(int From, int To, bool Keep)
{
    const int Lo = std::min(From, To), Hi = std::max(From, To);
    if (!Keep)
        for (int I = SelLo; I <= SelHi && I < Count() && SelCount > 0; ++I)
            if ((I < Lo || I > Hi) && Selected(I))
                ChangeState(I, 0, LVIS_SELECTED);
    for (int I = Lo; I <= Hi && I < Count(); ++I)
        ChangeState(I, LVIS_SELECTED, LVIS_SELECTED);
}

void TListViewWindow::FontChanged()
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    int H = Metrics.tmHeight + 1;
    if (SmallImages != nullptr)
        H = std::max(H, SmallImages->Height() + 1);
    if (StateImages != nullptr)
        H = std::max(H, StateImages->Height() + 1);
    RowH = std::max(1, H);
    if (Header != 0)
        SendMessage(Header, WM_SETFONT, reinterpret_cast<WPARAM>(Font.get()), 0);
    Layout();
    UpdateScrollBars();
    InvalidateRect(Wnd, nullptr, true);
}

// ---- editing

namespace {

// The edit child hands Enter, Escape and the loss of the focus to its list view; the end comes
// through a posted message, as the edit cannot be destroyed inside its own procedure.
void SubclassEdit(HWND Edit, HWND List)
{
    TWndProc Old = GetWindowProc(Edit);
    SetWindowProc(Edit, [Old, List](HWND E, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        switch (Msg) {
        case WM_GETDLGCODE:
            return CallWindowProc(Old, E, Msg, WParam, LParam) | DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (WParam == VK_RETURN || WParam == VK_ESCAPE) {
                PostMessage(List, LVM_ENDEDITNOW, static_cast<WPARAM>(E),
                            WParam == VK_RETURN ? 1 : 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (WParam == '\r' || WParam == 27)
                return 0;
            break;
        case WM_KILLFOCUS:
            PostMessage(List, LVM_ENDEDITNOW, static_cast<WPARAM>(E), 1);
            break;
        default:
            break;
        }
        return CallWindowProc(Old, E, Msg, WParam, LParam);
    });
}

} // namespace

HWND TListViewWindow::BeginEdit(int Index)
{
    if (Edit != 0)
        EndEdit(true);
    if (!Valid(Index) || Columns.empty())
        return 0;
    NMLVDISPINFO Info;
    Info.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    Info.item.iItem = Index;
    Info.item.pszText = Rows[Index].Text;
    Info.item.lParam = Rows[Index].Param;
    Info.item.state = StateOf(Index);
    if (SendNotify(Wnd, LVN_BEGINLABELEDIT, Info.hdr) != 0 || !Valid(Index))
        return 0;
    EnsureVisible(Index, false);
    RegisterEditClass();
    const TRect R = LabelRect(Index);
    Edit = CreateWindowEx(0, EditClassName, Rows[Index].Text, WS_CHILD | WS_BORDER | ES_AUTOHSCROLL,
                          R.Left, R.Top - 1, std::max(R.Width(), 40), RowH + 2, Wnd);
    if (Edit == 0)
        return 0;
    EditItem = Index;
    SendMessage(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font.get()), 0);
    SubclassEdit(Edit, Wnd);
    ShowWindow(Edit, SW_SHOW);
    SendMessage(Edit, EM_SETSEL, 0, -1);
    SetFocus(Edit);
    return Edit;
}

void TListViewWindow::EndEdit(bool Commit)
{
    const HWND E = Edit;
    if (E == 0)
        return;
    const int Index = EditItem;
    const std::string Text = GetWindowText(E);
    Edit = 0;
    EditItem = -1;
    if (GetFocus() == E)
        SetFocus(Wnd);
    DestroyWindow(E);
    if (!Valid(Index))
        return;
    NMLVDISPINFO Info;
    Info.item.mask = Commit ? UINT(LVIF_TEXT | LVIF_PARAM) : UINT(LVIF_PARAM);
    Info.item.iItem = Index;
    Info.item.lParam = Rows[Index].Param;
    if (Commit)
        Info.item.pszText = Text;
    if (SendNotify(Wnd, LVN_ENDLABELEDIT, Info.hdr) != 0 && Commit && Valid(Index)) {
        Rows[Index].Text = Info.item.pszText;
    }
    InvalidateRow(Index);
}

void TListViewWindow::EditWndKey(HWND EditWnd, UINT, WPARAM Commit)
{
    if (EditWnd == Edit)
        EndEdit(Commit != 0);
}

// ---- the procedure

LRESULT TListViewWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Index = static_cast<int>(static_cast<LPARAM>(WParam));
    switch (Msg) {
    case WM_CREATE: {
        RegisterHeaderClass();
        DWORD HeaderStyle = DWORD(WS_CHILD) | DWORD(HDS_HORZ) | DWORD(HDS_FULLDRAG);
        if (!Has(LVS_NOSORTHEADER))
            HeaderStyle |= HDS_BUTTONS;
        Header = CreateWindowEx(0, HeaderClassName, "", HeaderStyle, 0, 0, 0, 0, Wnd);
        FontChanged();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC, const TRect& Area) { Paint(DC, Area); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Layout();
        UpdateScrollBars();
        InvalidateRect(Wnd, nullptr, true);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        HasFocus = Msg == WM_SETFOCUS;
        if (HasFocus && !Valid(Focus) && Count() > 0)
            SetFocusItem(std::min(Top, Count() - 1));
        if (SelCount > 0 || Valid(Focus))
            InvalidateRect(Wnd, nullptr, true);
        {
            NMHDR Note;
            SendNotify(Wnd, HasFocus ? NM_SETFOCUS : NM_KILLFOCUS, Note);
        }
        return 0;
    case WM_ENABLE:
        InvalidateRect(Wnd, nullptr, true);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_CHAR:
        Char(static_cast<unsigned char>(WParam & 0xFF));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        ButtonDown(Msg, WParam, LParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(LParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(LParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (Marquee || Pressing) {
            Marquee = Pressing = false;
            InvalidateRect(Wnd, nullptr, true);
        }
        return 0;
    case WM_TIMER:
        if (WParam == EditTimer) {
            KillTimer(Wnd, EditTimer);
            if (EditArmed && Valid(Focus)) {
                EditArmed = false;
                BeginEdit(Focus);
            }
            return 0;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_MOUSEWHEEL:
        SetTop(Top - static_cast<short>(HiWord(WParam)) / WHEEL_DELTA * 3);
        return 0;
    case WM_VSCROLL:
        if (const auto To =
                ScrollRequestPos(LoWord(WParam), Top, {1, std::max(1, PerPage()), Count()},
                                 ScrollTrackPos(Wnd, SB_VERT)))
            SetTop(*To);
        return 0;
    case WM_HSCROLL:
        if (const auto To = ScrollRequestPos(LoWord(WParam), ScrollX,
                                             {10, std::max(1, Client().Width()), TotalWidth()},
                                             ScrollTrackPos(Wnd, SB_HORZ)))
            SetScrollX(*To);
        return 0;
    case WM_NOTIFY: {
        const auto* Note = reinterpret_cast<const NMHDR*>(LParam);
        if (Note != nullptr && Note->hwndFrom == Header && Header != 0)
            HeaderNotify(*Note);
        return 0;
    }
    case WM_COMMAND:
        return 0;

    case LVM_SETBKCOLOR:
        Back = static_cast<TColor>(LParam);
        InvalidateRect(Wnd, nullptr, true);
        return 1;
    case LVM_SETTEXTCOLOR:
        Fore = static_cast<TColor>(LParam);
        InvalidateRect(Wnd, nullptr, true);
        return 1;
    case LVM_SETIMAGELIST: {
        auto* List = reinterpret_cast<TCustomImageList*>(LParam);
        TCustomImageList* Old = nullptr;
        if (WParam == LVSIL_STATE) {
            Old = StateImages;
            StateImages = List;
        } else if (WParam == LVSIL_SMALL) {
            Old = SmallImages;
            SmallImages = List;
        } else
            return 0;
        FontChanged();
        return reinterpret_cast<LRESULT>(Old);
    }
    case LVM_GETITEMCOUNT:
        return Count();
    case LVM_GETITEM: {
        auto* Item = reinterpret_cast<LVITEM*>(LParam);
        return Item != nullptr && GetItem(*Item) ? 1 : 0;
    }
    case LVM_SETITEM: {
        const auto* Item = reinterpret_cast<const LVITEM*>(LParam);
        return Item != nullptr && SetItem(*Item) ? 1 : 0;
    }
    case LVM_INSERTITEM: {
        const auto* Item = reinterpret_cast<const LVITEM*>(LParam);
        return Item != nullptr ? InsertItem(*Item) : -1;
    }
    case LVM_DELETEITEM:
        return DeleteItem(Index) ? 1 : 0;
    case LVM_DELETEALLITEMS:
        DeleteAll();
        return 1;
    case LVM_GETNEXTITEM:
        return NextItem(Index, static_cast<UINT>(LParam));
    case LVM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (R == nullptr || !Valid(Index))
            return 0;
        const int Part = R->Left;
        *R = Part == LVIR_LABEL          ? LabelRect(Index)
             : Part == LVIR_SELECTBOUNDS ? SelectRect(Index)
                                         : RowRect(Index);
        if (Part == LVIR_ICON) {
            const TRect Label = LabelRect(Index);
            R->Right = Label.Left;
        }
        return 1;
    }
    case LVM_HITTEST: {
        auto* Info = reinterpret_cast<LVHITTESTINFO*>(LParam);
        return Info != nullptr ? HitTest(*Info) : -1;
    }
    case LVM_ENSUREVISIBLE:
        EnsureVisible(Index, LParam != 0);
        return Valid(Index) ? 1 : 0;
    case LVM_SCROLL:
        SetScrollX(ScrollX + static_cast<int>(static_cast<LPARAM>(WParam)));
        // Down by rows: a part of a row counts as a whole one.
        if (LParam != 0)
            SetTop(Top +
                   static_cast<int>((LParam > 0 ? LParam + RowH - 1 : LParam - RowH + 1) / RowH));
        return 1;
    case LVM_REDRAWITEMS:
        for (int I = std::max(Index, Top); I <= static_cast<int>(LParam) && I <= Top + PerPage();
             ++I)
            InvalidateRow(I);
        return 1;
    case LVM_EDITLABEL:
        if (Index < 0) {
            EndEdit(false);
            return 0;
        }
        return static_cast<LRESULT>(BeginEdit(Index));
    case LVM_GETEDITCONTROL:
        return static_cast<LRESULT>(Edit);
    case LVM_ENDEDITNOW:
        EditWndKey(static_cast<HWND>(WParam), Msg, static_cast<WPARAM>(LParam));
        return 0;
    case LVM_GETCOLUMN: {
        auto* Column = reinterpret_cast<LVCOLUMN*>(LParam);
        return Column != nullptr && GetColumn(Index, *Column) ? 1 : 0;
    }
    case LVM_SETCOLUMN: {
        const auto* Column = reinterpret_cast<const LVCOLUMN*>(LParam);
        return Column != nullptr && SetColumn(Index, *Column) ? 1 : 0;
    }
    case LVM_INSERTCOLUMN: {
        const auto* Column = reinterpret_cast<const LVCOLUMN*>(LParam);
        return Column != nullptr ? InsertColumn(Index, *Column) : -1;
    }
    case LVM_DELETECOLUMN:
        if (Index < 0 || Index >= static_cast<int>(Columns.size()))
            return 0;
        Columns.erase(Columns.begin() + Index);
        SendMessage(Header, HDM_DELETEITEM, WParam, 0);
        Layout();
        UpdateScrollBars();
        InvalidateRect(Wnd, nullptr, true);
        return 1;
    case LVM_GETCOLUMNWIDTH:
        return Index >= 0 && Index < static_cast<int>(Columns.size()) ? Columns[Index].Width : 0;
    case LVM_SETCOLUMNWIDTH: {
        LVCOLUMN Change;
        Change.mask = LVCF_WIDTH;
        Change.cx = static_cast<int>(LParam);
        return SetColumn(Index, Change) ? 1 : 0;
    }
    case LVM_GETHEADER:
        return static_cast<LRESULT>(Header);
    case LVM_GETTOPINDEX:
        return Top;
    case LVM_GETCOUNTPERPAGE:
        return PerPage();
    case LVM_SETITEMSTATE: {
        const auto* Item = reinterpret_cast<const LVITEM*>(LParam);
        if (Item == nullptr)
            return 0;
        if (Index >= 0)
            return ChangeState(Index, Item->state, Item->stateMask) ? 1 : 0;
        // Every item: selecting all walks them, clearing walks only the selected span.
        if ((Item->stateMask & LVIS_SELECTED) && !(Item->state & LVIS_SELECTED) &&
            Item->stateMask == LVIS_SELECTED) {
            DeselectAllBut(-1);
            return 1;
        }
        for (int I = 0; I < Count(); ++I)
            ChangeState(I, Item->state, Item->stateMask & ~UINT(LVIS_FOCUSED));
        return 1;
    }
    case LVM_GETITEMSTATE:
        return Valid(Index) ? static_cast<LRESULT>(StateOf(Index) & static_cast<UINT>(LParam)) : 0;
    case LVM_SETITEMCOUNT:
        if (Index > 0)
            Rows.reserve(static_cast<std::size_t>(Index));
        return 1;
    case LVM_GETSELECTEDCOUNT:
        return SelCount;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD Old = ExStyle;
        const DWORD Mask = WParam != 0 ? static_cast<DWORD>(WParam) : 0xFFFFFFFFu;
        ExStyle = (ExStyle & ~Mask) | (static_cast<DWORD>(LParam) & Mask);
        InvalidateRect(Wnd, nullptr, true);
        return Old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return ExStyle;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace listview

void RegisterListViewClass()
{
    RegisterControlClass(ListViewClassName, CS_DBLCLKS, ListViewWndProc);
}

LRESULT ListViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return listview::Lists().Handle(Wnd, Msg, WParam, LParam);
}

void SetListViewColors(HWND List, TColor Back, TColor Text)
{
    listview::TListViewWindow& L = listview::Lists().Of(List);
    L.Back = Back;
    L.Fore = Text;
    InvalidateRect(List, nullptr, true);
}

void SetListViewFont(HWND List, const TFont* Font)
{
    listview::TListViewWindow& L = listview::Lists().Of(List);
    L.Font->Assign(Font);
    L.FontChanged();
}
