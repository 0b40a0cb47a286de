#include "platform/stdctrls/listitems.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/listview.h"
#include "platform/stdctrls/listviewwindow.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexError(int Index)
{
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

} // namespace

// ---- TListItem

TListItem::TListItem(TListItems* AOwner)
    : FOwner(AOwner), FSubItems(std::make_unique<TStringList>())
{
    FSubItems->OnChange = [this](TObject* Sender) { SubItemsChanged(Sender); };
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const
{
    return FOwner->Owner();
}

void TListItem::SetCaption(const std::string& Value)
{
    FCaption = Value;
    ListView()->WindowUpdateItem(this);
}

void TListItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    ListView()->WindowUpdateItem(this);
}

void TListItem::SetStateIndex(int Value)
{
    FStateIndex = Value;
    ListView()->WindowUpdateItem(this);
}

void TListItem::SubItemsChanged(TObject*)
{
    ListView()->WindowUpdateSubItems(this);
}

bool TListItem::Selected() const
{
    return ListView()->Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Value)
{
    LVITEM State;
    State.stateMask = LVIS_SELECTED;
    State.state = Value ? UINT(LVIS_SELECTED) : 0u;
    ListView()->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex),
                        reinterpret_cast<LPARAM>(&State));
}

bool TListItem::Focused() const
{
    return ListView()->Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool Value)
{
    LVITEM State;
    State.stateMask = LVIS_FOCUSED;
    State.state = Value ? UINT(LVIS_FOCUSED) : 0u;
    ListView()->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex),
                        reinterpret_cast<LPARAM>(&State));
}

bool TListItem::MakeVisible(bool PartialOK)
{
    return ListView()->Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(FIndex), PartialOK) != 0;
}

void TListItem::Delete()
{
    FOwner->Delete(FIndex);
}

bool TListItem::EditCaption()
{
    return ListView()->Perform(LVM_EDITLABEL, static_cast<WPARAM>(FIndex), 0) != 0;
}

TRect TListItem::DisplayRect(int Code) const
{
    TRect R;
    R.Left = Code;
    ListView()->Perform(LVM_GETITEMRECT, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&R));
    return R;
}

// ---- TListItems

TListItems::~TListItems() = default;

void TListItems::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

TListItem* TListItems::Item(int Index) const
{
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

TListItem* TListItems::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        IndexError(Index);
    auto New = std::make_unique<TListItem>(this);
    TListItem* Item = New.get();
    FItems.insert(FItems.begin() + Index, std::move(New));
    FOwner->Renumber(Index);
    FOwner->WindowInsertItem(Item);
    return Item;
}

void TListItems::Delete(int Index)
{
    CheckIndex(Index);
    TListItem* Item = FItems[static_cast<std::size_t>(Index)].get();
    FOwner->Delete(Item);
    if (FOwner->HandleAllocated())
        FOwner->Perform(LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
    FItems.erase(FItems.begin() + Index);
    FOwner->Renumber(Index);
}

void TListItems::Clear()
{
    BeginUpdate();
    for (const auto& Item : FItems)
        FOwner->Delete(Item.get());
    if (FOwner->HandleAllocated())
        FOwner->Perform(LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
    EndUpdate();
}

// While the items are updated the window draws nothing, not even its scroll bars, which each
// added item would otherwise redraw.
void TListItems::BeginUpdate()
{
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessage(FOwner->Handle(), WM_SETREDRAW, 0, 0);
}

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) {
        if (FOwner->HandleAllocated()) {
            SendMessage(FOwner->Handle(), WM_SETREDRAW, 1, 0);
            RedrawWindow(FOwner->Handle(), nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        FOwner->Invalidate();
    }
}

// ---- TListColumn and TListColumns

void TListColumn::SetCaption(const std::string& Value)
{
    FCaption = Value;
    Changed();
}

int TListColumn::Width() const
{
    TCustomListView* List = FOwner->Owner();
    if (List->HandleAllocated())
        return static_cast<int>(List->Perform(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return FWidth;
}

void TListColumn::SetWidth(int Value)
{
    FWidth = std::max(0, Value);
    Changed();
}

void TListColumn::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Changed();
}

int TListColumn::Index() const
{
    const auto& Items = FOwner->FItems;
    for (std::size_t I = 0; I < Items.size(); ++I)
        if (Items[I].get() == this)
            return static_cast<int>(I);
    return -1;
}

void TListColumn::Changed()
{
    FOwner->Owner()->WindowUpdateColumn(this);
}

TListColumn* TListColumns::Add()
{
    FItems.push_back(std::make_unique<TListColumn>(this));
    TListColumn* Column = FItems.back().get();
    FOwner->WindowInsertColumn(Column);
    return Column;
}

void TListColumns::Clear()
{
    if (FOwner->HandleAllocated())
        for (int I = Count() - 1; I >= 0; --I)
            FOwner->Perform(LVM_DELETECOLUMN, static_cast<WPARAM>(I), 0);
    FItems.clear();
}

TListColumn* TListColumns::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}
