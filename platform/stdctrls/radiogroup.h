// platform/stdctrls/radiogroup.h: TCustomRadioGroup and TRadioGroup, a group box that makes a
// radio button for each line of Items, in Columns; ItemIndex is the checked one (-1: none).
#pragma once

#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/groupbox.h"

#include <memory>
#include <vector>

class TRadioButton;

class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    // Checks that item's button (-1 unchecks); OnClick follows a change.
    void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    // The button of item Index (its parent and owner is the group).
    TRadioButton* Buttons(int Index) const;

protected:
    // Whether the checked item may change (a data-aware group asks its field).
    virtual bool CanModify() { return true; }
    void Resize() override;
    void CMFontChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    class TGroupButton;
    friend class TGroupButton;
    void ItemsChanged();
    void ArrangeButtons();
    void ButtonClick(TGroupButton* Button);

    std::unique_ptr<TStringList> FItems;
    std::vector<TGroupButton*> FButtons; // owned as components
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};
