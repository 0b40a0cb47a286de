// platform/stdctrls/pagecontrol.h: TPageControl and TTabSheet: a tab control whose tabs are its
// sheets, one sheet shown at a time; sheets without a tab, Ctrl+Tab and Ctrl+Shift+Tab from
// anywhere in the form, the sheets' accelerators, and the focus carried into the new sheet.
#pragma once

#include "platform/stdctrls/tabcontrol.h"

#include <vector>

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    // The place among all the sheets (EListError outside them).
    int PageIndex() const;
    void SetPageIndex(int Value);
    // The place among the tabs shown; -1 when the sheet has no tab.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

protected:
    void CMTextChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    // EListError outside 0 .. PageCount() - 1.
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    // -1 shows no sheet; EListError outside the sheets.
    void SetActivePageIndex(int Value);
    // The sheet after (or before) CurPage, round the end; with CheckTabVisible only sheets with
    // a tab. nullptr when there is none.
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    // As the user would: OnChanging may refuse, OnChange follows.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

protected:
    void Change() override;
    int GetImageIndex(int TabIndex) override;
    // Hidden sheets keep the page's size too, so that their controls can be laid out.
    void AlignControls(TControl* AControl, TRect& Rect) override;

    void CMDialogKey(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int NewIndex);
    // The tabs again from the sheets that have one.
    void UpdateTabs();
    void ChangeActivePage(TTabSheet* Page);
    // Whether Ctrl+Tab is this control's: the focus is inside it, or in no page control at all.
    bool OwnsCtrlTab() const;
    TTabSheet* SheetOfTab(int TabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};
