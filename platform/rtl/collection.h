// platform/rtl/collection.h: TCollection, an ordered set of items of one kind that it owns,
// and TCollectionItem, the base class of those items.
#pragma once

#include "platform/rtl/object.h"

#include <functional>
#include <string>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins Collection (when given), which then owns the item. An item made this way joins
    // silently; TCollection::Add and Insert announce it once it is fully constructed.
    explicit TCollectionItem(TCollection* Collection);
    // Leaves its collection.
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to Value (nullptr: to no collection, and the caller then owns it).
    virtual void SetCollection(TCollection* Value);
    // Unique within the collection, in order of joining; never reused.
    int ID() const { return FID; }
    // The position in the collection, -1 without one.
    int Index() const;
    // Moves the item there; an index out of range raises EListError.
    virtual void SetIndex(int Value);
    std::string DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const std::string& Value);

protected:
    // Tells the collection: this item (AllItems false) or the whole collection changed.
    void Changed(bool AllItems);
    // The class name unless a subclass knows better.
    virtual std::string GetDisplayName() const;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Makes a new item of the collection's kind, constructed with the collection.
using TCollectionItemFactory = std::function<TCollectionItem*(TCollection* Collection)>;

// The factory of items of class TItem.
template <class TItem>
TCollectionItemFactory CollectionItemClass()
{
    return [](TCollection* Collection) -> TCollectionItem* { return new TItem(Collection); };
}

// Index errors raise EListError "List index out of bounds (N)".
class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemFactory ItemFactory);
    // Frees every item.
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItems(int Index, const TCollectionItem* Value);

    TCollectionItem* Add();
    // Index may be Count(), which appends.
    TCollectionItem* Insert(int Index);
    // Frees the item at Index.
    void Delete(int Index);
    void Clear();
    // nullptr when no item has the ID.
    TCollectionItem* FindItemID(int ID) const;
    // Replaces the items by new ones, each assigned from the matching item of Source.
    void Assign(const TPersistent* Source) override;

    // Nested; Update(nullptr) comes once, when the outermost EndUpdate ends.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    // Called after a change outside BeginUpdate/EndUpdate: Item changed, or (nullptr) the
    // collection did.
    virtual void Update(TCollectionItem* Item);
    void Changed();

private:
    friend class TCollectionItem;
    void CheckIndex(int Index) const;
    void LinkItem(TCollectionItem* Item);
    void UnlinkItem(TCollectionItem* Item);

    TCollectionItemFactory FItemFactory;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};
