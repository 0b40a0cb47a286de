// platform/stdctrls/listbox.h: TCustomListBox and TListBox, the class library's list box on the
// "LISTBOX" window class: Items bound to the window, the selection models, the top index,
// owner-drawn items through CN_DRAWITEM and CN_MEASUREITEM, and tab stops.
#pragma once

#include "platform/forms/controls.h"
#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/listboxtypes.h"

#include <memory>
#include <string>
#include <vector>

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex();
    void SetItemIndex(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value);
    bool Selected(int Index);
    void SetSelected(int Index, bool Value);
    int SelCount();
    int TopIndex();
    void SetTopIndex(int Value);
    int ItemHeight();
    void SetItemHeight(int Value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    TCanvas* Canvas() const { return FCanvas.get(); }

    // The item under Pos (client coordinates); -1 when there is none, or, with Existing false, the
    // count when Pos is below the last item.
    int ItemAtPos(const TPoint& Pos, bool Existing);
    // Client coordinates of an item; Index = Count gives the place after the last one.
    TRect ItemRect(int Index);
    void Clear();

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefaultHandler(TMessage& Message) override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CNMeasureItem(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TListBoxStrings;
    void ApplyLook();

    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FIntegralHeight = false;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    int FTabWidth = 0;
    // What the window held when it went (style changes recreate it).
    struct TSaved {
        std::vector<std::string> Strings;
        std::vector<WPARAM> Data;
        std::vector<bool> Selected;
        int ItemIndex = -1;
        int TopIndex = 0;
    };
    std::unique_ptr<TSaved> FSaved;
    int FItemIndex = -1; // set before the window was made
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};
