// platform/stdctrls/combobox.h: TCustomComboBox and TComboBox, the class library's combo box on
// the "COMBOBOX" window class: the five styles, Items bound to the window, the choice and the
// text, the drop-down list with its events, owner-drawn items, and the edit field's selection.
#pragma once

#include "platform/forms/controls.h"
#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/editcharcase.h"
#include "platform/stdctrls/listboxtypes.h"

#include <memory>
#include <string>
#include <vector>

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex();
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    int ItemHeight();
    void SetItemHeight(int Value);
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::string SelText();
    void SetSelText(const std::string& Value);
    void SelectAll();
    void Clear();
    TCanvas* Canvas() const { return FCanvas.get(); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnSelect;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefaultHandler(TMessage& Message) override;
    std::string GetText() const override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CNMeasureItem(TMessage& Message);
    void CMCancelMode(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void ApplyLook();
    int FixedHeight();

    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    TComboBoxStyle FStyle = csDropDown;
    bool FSorted = false;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    int FItemHeight = 16;
    // What the window held when it went (style changes recreate it).
    struct TSaved {
        std::vector<std::string> Strings;
        std::vector<WPARAM> Data;
        int ItemIndex = -1;
        std::string Text;
    };
    std::unique_ptr<TSaved> FSaved;
    int FItemIndex = -1; // set before the window was made
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};
