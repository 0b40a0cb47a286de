#include "platform/rtl/collection.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/moveitem.h"

#include <algorithm>

// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection)
{
    if (Collection != nullptr)
        Collection->LinkItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection != nullptr) {
        TCollection* Old = FCollection;
        Old->UnlinkItem(this);
        Old->Changed();
    }
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (Value == FCollection)
        return;
    if (FCollection != nullptr) {
        TCollection* Old = FCollection;
        Old->UnlinkItem(this);
        Old->Changed();
    }
    if (Value != nullptr) {
        Value->LinkItem(this);
        Value->Changed();
    }
}

int TCollectionItem::Index() const
{
    if (FCollection == nullptr)
        return -1;
    const auto& Items = FCollection->FItems;
    return static_cast<int>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    int CurIndex = Index();
    if (CurIndex < 0 || CurIndex == Value)
        return;
    FCollection->CheckIndex(Value);
    MoveItem(FCollection->FItems, CurIndex, Value);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const std::string& /*Value*/)
{
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

std::string TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

// TCollection

TCollection::TCollection(TCollectionItemFactory ItemFactory) : FItemFactory(std::move(ItemFactory))
{
}

TCollection::~TCollection()
{
    FUpdateCount = 1;
    Clear();
}

void TCollection::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TCollection::LinkItem(TCollectionItem* Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
}

void TCollection::UnlinkItem(TCollectionItem* Item)
{
    auto Found = std::find(FItems.begin(), FItems.end(), Item);
    if (Found != FItems.end())
        FItems.erase(Found);
    Item->FCollection = nullptr;
}

TCollectionItem* TCollection::Items(int Index) const
{
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItems(int Index, const TCollectionItem* Value)
{
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* Item = FItemFactory(this);
    if (Item == nullptr)
        throw EInvalidOperation("The collection's item factory made no item");
    if (Item->Collection() != this)
        Item->SetCollection(this);
    else
        Changed();
    return Item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    // Checked before adding, so that a bad index leaves no stray item behind.
    if (Index < 0 || Index > Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    TCollectionItem* Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index)
{
    CheckIndex(Index);
    delete FItems[static_cast<std::size_t>(Index)];
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* Item : FItems)
        if (Item->ID() == ID)
            return Item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    auto Collection = dynamic_cast<const TCollection*>(Source);
    if (Collection == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* Item : Collection->FItems)
            Add()->Assign(Item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    Changed();
}

void TCollection::Update(TCollectionItem* /*Item*/) {}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}
