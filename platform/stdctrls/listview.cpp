#include "platform/stdctrls/listview.h"

#include "platform/gfx/imagelist.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <algorithm>

const TMessageMap& TCustomListView::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomListView::WMPaint>(WM_PAINT),
        OnMessage<&TCustomListView::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCustomListView::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TCustomListView::CNNotify>(CN_NOTIFY),
        OnMessage<&TCustomListView::CNKeyDown>(CN_KEYDOWN),
        OnMessage<&TCustomListView::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomListView::CMColorChanged>(CM_COLORCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this))
{
    // Clicks and double clicks come from the window's NM_CLICK and NM_DBLCLK.
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque});
    SetBounds(Left(), Top(), 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListView::~TCustomListView()
{
    Destroying();
    FFilling = true; // the items go without events
    DestroyHandle();
}

void TCustomListView::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterListViewClass();
    Params.Style |= DWORD(LVS_REPORT) | DWORD(WS_HSCROLL) | DWORD(WS_VSCROLL);
    if (!FMultiSelect)
        Params.Style |= LVS_SINGLESEL;
    if (!FReadOnly)
        Params.Style |= LVS_EDITLABELS;
    if (!FHideSelection)
        Params.Style |= LVS_SHOWSELALWAYS;
    if (!FColumnClick)
        Params.Style |= LVS_NOSORTHEADER;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.Style = CS_DBLCLKS;
}

void TCustomListView::CreateWnd()
{
    TWinControl::CreateWnd();
    FFilling = true;
    ApplyLook();
    ApplyExStyle();
    if (FSmallImages != nullptr)
        Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages));
    if (FStateImages != nullptr)
        Perform(LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(FStateImages));
    for (int I = 0; I < FColumns->Count(); ++I)
        WindowInsertColumn(FColumns->Items(I));
    Perform(LVM_SETITEMCOUNT, static_cast<WPARAM>(FItems->Count()), 0);
    for (int I = 0; I < FItems->Count(); ++I)
        WindowInsertItem(FItems->Item(I));
    for (const int I : FSavedSelection)
        if (I < FItems->Count())
            FItems->Item(I)->SetSelected(true);
    if (FSavedFocus >= 0 && FSavedFocus < FItems->Count())
        FItems->Item(FSavedFocus)->SetFocused(true);
    if (FSavedTop > 0)
        Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(FSavedTop, FItems->Count() - 1)),
                0);
    FSavedSelection.clear();
    FSavedFocus = -1;
    FSavedTop = 0;
    FFilling = false;
}

void TCustomListView::DestroyWnd()
{
    if (WindowHandle() != 0 && !ComponentState().Contains(csDestroying)) {
        FSavedSelection.clear();
        for (int I = static_cast<int>(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); I >= 0;
             I = static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(I), LVNI_SELECTED)))
            FSavedSelection.push_back(I);
        FSavedFocus = static_cast<int>(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
        FSavedTop = static_cast<int>(Perform(LVM_GETTOPINDEX, 0, 0));
        for (int I = 0; I < FColumns->Count(); ++I) // the user may have dragged them
            FColumns->Items(I)->FWidth =
                static_cast<int>(Perform(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(I), 0));
    }
    const bool Was = FFilling;
    FFilling = true;
    TWinControl::DestroyWnd();
    FFilling = Was;
}

void TCustomListView::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            ListViewWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSmallImages)
        SetSmallImages(nullptr);
    if (AComponent == FStateImages)
        SetStateImages(nullptr);
}

void TCustomListView::ApplyLook()
{
    if (WindowHandle() == 0)
        return;
    SetListViewColors(WindowHandle(), Color(), Font()->Color());
    SetListViewFont(WindowHandle(), Font());
}

void TCustomListView::ApplyExStyle()
{
    if (WindowHandle() == 0)
        return;
    const DWORD Bits = (FRowSelect ? DWORD(LVS_EX_FULLROWSELECT) : 0u) |
                       (FGridLines ? DWORD(LVS_EX_GRIDLINES) : 0u);
    Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, Bits);
}

// ---- the window side of items and columns

void TCustomListView::Renumber(int From)
{
    for (int I = std::max(0, From); I < FItems->Count(); ++I)
        FItems->FItems[static_cast<std::size_t>(I)]->FIndex = I;
}

TListItem* TCustomListView::ItemOf(int Index) const
{
    return Index >= 0 && Index < FItems->Count()
               ? FItems->FItems[static_cast<std::size_t>(Index)].get()
               : nullptr;
}

void TCustomListView::WindowInsertItem(TListItem* Item)
{
    if (!HandleAllocated())
        return;
    LVITEM Data;
    Data.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    Data.iItem = Item->FIndex;
    Data.pszText = Item->FCaption;
    Data.iImage = Item->FImageIndex;
    Data.lParam = reinterpret_cast<LPARAM>(Item);
    Data.stateMask = LVIS_STATEIMAGEMASK;
    Data.state = INDEXTOSTATEIMAGEMASK(Item->FStateIndex + 1);
    Perform(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&Data));
    WindowUpdateSubItems(Item);
}

void TCustomListView::WindowUpdateItem(TListItem* Item)
{
    if (!HandleAllocated())
        return;
    LVITEM Data;
    Data.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    Data.iItem = Item->FIndex;
    Data.pszText = Item->FCaption;
    Data.iImage = Item->FImageIndex;
    Data.stateMask = LVIS_STATEIMAGEMASK;
    Data.state = INDEXTOSTATEIMAGEMASK(Item->FStateIndex + 1);
    Perform(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&Data));
}

void TCustomListView::WindowUpdateSubItems(TListItem* Item)
{
    if (!HandleAllocated())
        return;
    const int Count = std::max(Item->FSubItems->Count(), FColumns->Count() - 1);
    for (int I = 0; I < Count; ++I) {
        LVITEM Data;
        Data.mask = LVIF_TEXT;
        Data.iItem = Item->FIndex;
        Data.iSubItem = I + 1;
        if (I < Item->FSubItems->Count())
            Data.pszText = Item->FSubItems->Get(I);
        Perform(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&Data));
    }
}

namespace {

int FormatOf(TAlignment Alignment)
{
    return Alignment == taRightJustify ? LVCFMT_RIGHT
           : Alignment == taCenter     ? LVCFMT_CENTER
                                       : LVCFMT_LEFT;
}

} // namespace

void TCustomListView::WindowInsertColumn(TListColumn* Column)
{
    if (!HandleAllocated())
        return;
    LVCOLUMN Data;
    Data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    Data.fmt = FormatOf(Column->FAlignment);
    Data.cx = Column->FWidth;
    Data.pszText = Column->FCaption;
    Data.iSubItem = Column->Index();
    Perform(LVM_INSERTCOLUMN, static_cast<WPARAM>(Column->Index()),
            reinterpret_cast<LPARAM>(&Data));
}

void TCustomListView::WindowUpdateColumn(TListColumn* Column)
{
    if (!HandleAllocated())
        return;
    LVCOLUMN Data;
    Data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    Data.fmt = FormatOf(Column->FAlignment);
    Data.cx = Column->FWidth;
    Data.pszText = Column->FCaption;
    Perform(LVM_SETCOLUMN, static_cast<WPARAM>(Column->Index()), reinterpret_cast<LPARAM>(&Data));
}

// ---- properties

void TCustomListView::SetSmallImages(TCustomImageList* Value)
{
    if (FSmallImages != nullptr)
        FSmallImages->RemoveFreeNotification(this);
    FSmallImages = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    if (HandleAllocated())
        Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Value));
}

void TCustomListView::SetStateImages(TCustomImageList* Value)
{
    if (FStateImages != nullptr)
        FStateImages->RemoveFreeNotification(this);
    FStateImages = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    if (HandleAllocated())
        Perform(LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(Value));
}

void TCustomListView::SetMultiSelect(bool Value)
{
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    RecreateWnd();
}

void TCustomListView::SetReadOnly(bool Value)
{
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value)
{
    if (FHideSelection == Value)
        return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomListView::SetColumnClick(bool Value)
{
    if (FColumnClick == Value)
        return;
    FColumnClick = Value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool Value)
{
    FRowSelect = Value;
    ApplyExStyle();
}

void TCustomListView::SetGridLines(bool Value)
{
    FGridLines = Value;
    ApplyExStyle();
}

TListItem* TCustomListView::Selected()
{
    return ItemOf(static_cast<int>(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* Value)
{
    LVITEM Clear;
    Clear.stateMask = LVIS_SELECTED;
    Perform(LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&Clear));
    if (Value != nullptr)
        Value->SetSelected(true);
}

int TCustomListView::SelCount()
{
    return static_cast<int>(Perform(LVM_GETSELECTEDCOUNT, 0, 0));
}

TListItem* TCustomListView::ItemFocused()
{
    return ItemOf(static_cast<int>(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* Value)
{
    if (Value != nullptr)
        Value->SetFocused(true);
    else if (TListItem* Now = ItemFocused())
        Now->SetFocused(false);
}

TListItem* TCustomListView::TopItem()
{
    return ItemOf(static_cast<int>(Perform(LVM_GETTOPINDEX, 0, 0)));
}

int TCustomListView::VisibleRowCount()
{
    return static_cast<int>(Perform(LVM_GETCOUNTPERPAGE, 0, 0));
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction,
                                        TItemStates States)
{
    UINT Flags = 0;
    switch (Direction) {
    case sdAbove:
        Flags = LVNI_ABOVE;
        break;
    case sdBelow:
        Flags = LVNI_BELOW;
        break;
    case sdLeft:
        Flags = LVNI_TOLEFT;
        break;
    case sdRight:
        Flags = LVNI_TORIGHT;
        break;
    case sdAll:
        break;
    }
    if (States.Contains(isSelected))
        Flags |= LVNI_SELECTED;
    if (States.Contains(isFocused))
        Flags |= LVNI_FOCUSED;
    const WPARAM Start =
        StartItem != nullptr ? static_cast<WPARAM>(StartItem->Index()) : WPARAM(-1);
    return ItemOf(static_cast<int>(Perform(LVM_GETNEXTITEM, Start, Flags)));
}

TListItem* TCustomListView::GetItemAt(int X, int Y)
{
    LVHITTESTINFO Info;
    Info.pt = TPoint{X, Y};
    const int Index = static_cast<int>(Perform(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info)));
    return (Info.flags & LVHT_ONITEM) ? ItemOf(Index) : nullptr;
}

void TCustomListView::Scroll(int DX, int DY)
{
    Perform(LVM_SCROLL, static_cast<WPARAM>(DX), DY);
}

bool TCustomListView::IsEditing()
{
    return Perform(LVM_GETEDITCONTROL, 0, 0) != 0;
}

// ---- events

bool TCustomListView::CanEdit(TListItem* Item)
{
    bool Allow = !FReadOnly;
    if (Allow && OnEditing)
        OnEditing(this, Item, Allow);
    return Allow;
}

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change)
{
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Item, Change, Allow);
    return Allow;
}

void TCustomListView::Change(TListItem* Item, TItemChange Change)
{
    if (OnChange)
        OnChange(this, Item, Change);
}

void TCustomListView::Edit(TListItem* Item, std::string& S)
{
    if (OnEdited)
        OnEdited(this, Item, S);
}

void TCustomListView::ColClick(TListColumn* Column)
{
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

void TCustomListView::Delete(TListItem* Item)
{
    if (OnDeletion && !FFilling)
        OnDeletion(this, Item);
}

// ---- messages

void TCustomListView::WMPaint(TMessage& Message)
{
    DefaultHandler(Message); // the window paints only the rows the update area reaches
}

void TCustomListView::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TCustomListView::WMMouse(TMessage& Message)
{
    DefaultHandler(Message); // selection first, then the mouse events see it
    Inherited(Message);
}

void TCustomListView::CNKeyDown(TMessage& Message)
{
    // Enter and Escape belong to the caption being edited, not to the form.
    if (IsEditing()) {
        Message.Result = 0;
        return;
    }
    Inherited(Message);
}

void TCustomListView::CNNotify(TMessage& Message)
{
    auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
    Message.Result = 0;
    if (FFilling || Header == nullptr)
        return;
    switch (Header->code) {
    case LVN_ITEMCHANGING: {
        const auto* Note = reinterpret_cast<NMLISTVIEW*>(Header);
        TListItem* Item = ItemOf(Note->iItem);
        if (Item != nullptr && (Note->uChanged & LVIF_STATE) && !CanChange(Item, ctState))
            Message.Result = 1;
        break;
    }
    case LVN_ITEMCHANGED: {
        const auto* Note = reinterpret_cast<NMLISTVIEW*>(Header);
        TListItem* Item = ItemOf(Note->iItem);
        if (Item == nullptr || !(Note->uChanged & LVIF_STATE))
            break;
        Change(Item, ctState);
        if ((Note->uOldState ^ Note->uNewState) & LVIS_SELECTED)
            if (OnSelectItem)
                OnSelectItem(this, Item, (Note->uNewState & LVIS_SELECTED) != 0);
        break;
    }
    case LVN_COLUMNCLICK: {
        const auto* Note = reinterpret_cast<NMLISTVIEW*>(Header);
        if (FColumnClick && Note->iSubItem >= 0 && Note->iSubItem < FColumns->Count())
            ColClick(FColumns->Items(Note->iSubItem));
        break;
    }
    case LVN_BEGINLABELEDIT: {
        auto* Note = reinterpret_cast<NMLVDISPINFO*>(Header);
        TListItem* Item = ItemOf(Note->item.iItem);
        Message.Result = Item == nullptr || !CanEdit(Item) ? 1 : 0;
        break;
    }
    case LVN_ENDLABELEDIT: {
        auto* Note = reinterpret_cast<NMLVDISPINFO*>(Header);
        TListItem* Item = ItemOf(Note->item.iItem);
        if (Item == nullptr || !(Note->item.mask & LVIF_TEXT))
            break;
        std::string S = Note->item.pszText;
        Edit(Item, S);
        Item->FCaption = S;
        Note->item.pszText = S;
        Message.Result = 1;
        break;
    }
    case NM_CLICK:
        Click();
        break;
    case NM_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomListView::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}

void TCustomListView::CMColorChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}
