// platform/stdctrls/listview.h: TCustomListView and TListView, the class library's list view in
// report style on the "SysListView32" window class: columns, items with sub-items and images,
// the selection models, caption editing with the OnEditing veto, column clicks and the events
// of changes, selection and deletion.
#pragma once

#include "platform/forms/controls.h"
#include "platform/stdctrls/listitems.h"

#include <functional>
#include <memory>

class TCustomImageList;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
// GetNextItem's direction.
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemState { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
using TItemStates = TSet<TItemState>;

using TLVChangingEvent =
    std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value) { FViewStyle = Value; } // report style is drawn
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool Value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool Value);

    // The first selected item (nil: none); setting selects only that one.
    TListItem* Selected();
    void SetSelected(TListItem* Value);
    int SelCount();
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* Value);
    TListItem* TopItem();
    int VisibleRowCount();
    // The next item from StartItem (nil: from the first) in Direction with all of States.
    TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States);
    TListItem* GetItemAt(int X, int Y);
    void Scroll(int DX, int DY);
    bool IsEditing();

    TLVChangingEvent OnChanging;
    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVDeletedEvent OnDeletion;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefaultHandler(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool CanEdit(TListItem* Item);
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void Edit(TListItem* Item, std::string& S);
    virtual void ColClick(TListColumn* Column);
    virtual void Delete(TListItem* Item);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNNotify(TMessage& Message);
    void CNKeyDown(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void ApplyLook();
    void ApplyExStyle();
    TListItem* ItemOf(int Index) const;
    // Window side of the items and columns, when the window exists.
    void WindowInsertItem(TListItem* Item);
    void WindowUpdateItem(TListItem* Item);
    void WindowUpdateSubItems(TListItem* Item);
    void WindowInsertColumn(TListColumn* Column);
    void WindowUpdateColumn(TListColumn* Column);
    void Renumber(int From);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    bool FMultiSelect = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FColumnClick = true;
    bool FFilling = false; // the window being filled from the items: no events
    // The selection and focus kept while the window is recreated.
    std::vector<int> FSavedSelection;
    int FSavedFocus = -1;
    int FSavedTop = 0;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
