// platform/stdctrls/listitems.h: the items and columns of the class library's list view:
// TListItem (caption, sub-items, images, data, selection and focus), TListItems, TListColumn and
// TListColumns. Items are kept in a vector in the order of the window's items.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <string>
#include <vector>

class TCustomListView;
class TListItems;

class TListItem {
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem();
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TStrings* SubItems() const { return FSubItems.get(); }
    void SetSubItems(const TStrings* Value) { FSubItems->Assign(Value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    // The state image's index (-1: none).
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    void SetFocused(bool Value);
    int Index() const { return FIndex; }
    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    bool MakeVisible(bool PartialOK);
    void Delete();
    // Starts editing the caption (as F2 does); false when refused.
    bool EditCaption();
    TRect DisplayRect(int Code) const; // the LVIR_ part

private:
    friend class TListItems;
    friend class TCustomListView;
    void SubItemsChanged(TObject* Sender);

    TListItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    int FImageIndex = -1;
    int FStateIndex = -1;
    void* FData = nullptr;
    int FIndex = 0;
};

class TListItems {
public:
    explicit TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}
    ~TListItems();
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    TListItem* Add() { return Insert(Count()); }
    // Index out of range raises EListError.
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Item(int Index) const;
    TListItem* operator[](int Index) const { return Item(Index); }
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return FOwner; }

private:
    friend class TCustomListView;
    friend class TListItem;
    void CheckIndex(int Index) const;

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};

class TListColumns;

class TListColumn {
public:
    explicit TListColumn(TListColumns* AOwner) : FOwner(AOwner) {}

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    // Read from the window, where the user may have dragged it.
    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int Index() const;

private:
    friend class TCustomListView;
    void Changed();

    TListColumns* FOwner;
    std::string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView* AOwner) : FOwner(AOwner) {}

    TListColumn* Add();
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    // Index out of range raises EListError.
    TListColumn* Items(int Index) const;
    TListColumn* operator[](int Index) const { return Items(Index); }
    TCustomListView* Owner() const { return FOwner; }

private:
    friend class TListColumn;
    friend class TCustomListView;
    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FItems;
};
