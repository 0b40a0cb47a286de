#include "platform/stdctrls/pagecontrol.h"

#include "platform/forms/form.h"
#include "platform/rtl/list.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"

#include <algorithm>

// ---- TTabSheet

const TMessageMap& TTabSheet::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TTabSheet::CMTextChanged>(CM_TEXTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csOpaque});
    SetAlign(alClient);
    SetVisible(false);
    SetColor(clBtnFace);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == FPageControl)
        return;
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
    SetParent(Value);
    if (Value != nullptr)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (FPageControl == nullptr)
        return -1;
    const auto& Pages = FPageControl->FPages;
    return static_cast<int>(std::find(Pages.begin(), Pages.end(), this) - Pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (FPageControl == nullptr)
        return;
    if (Value < 0 || Value >= FPageControl->PageCount())
        TList::Error("List index out of bounds (%d)", Value);
    FPageControl->MovePage(this, Value);
}

int TTabSheet::TabIndex() const
{
    if (FPageControl == nullptr || !FTabVisible)
        return -1;
    int Index = 0;
    for (TTabSheet* Page : FPageControl->FPages) {
        if (Page == this)
            return Index;
        if (Page->FTabVisible)
            ++Index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (Value == FTabVisible)
        return;
    FTabVisible = Value;
    if (FPageControl == nullptr)
        return;
    // A sheet that loses its tab gives way to the next one that has a tab.
    if (!Value && FPageControl->FActivePage == this) {
        TTabSheet* Next = FPageControl->FindNextPage(this, true, true);
        FPageControl->ChangeActivePage(Next != this ? Next : nullptr);
    }
    FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    if (FPageControl != nullptr)
        FPageControl->UpdateTabs();
}

void TTabSheet::CMTextChanged(TMessage& Message)
{
    Inherited(Message);
    if (FPageControl != nullptr)
        FPageControl->UpdateTabs();
}

// ---- TPageControl

const TMessageMap& TPageControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TPageControl::CMDialogKey>(CM_DIALOGKEY),
        OnMessage<&TPageControl::CMDialogChar>(CM_DIALOGCHAR),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomTabControl::ClassMessageMap};
    return Map;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
    // The sheets are destroyed as children; they must not call back into this control.
    for (TTabSheet* Page : FPages)
        Page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount())
        TList::Error("List index out of bounds (%d)", Index);
    return FPages[static_cast<std::size_t>(Index)];
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage != nullptr ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value == -1 ? nullptr : Pages(Value));
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page != nullptr && Page->FPageControl != this)
        return;
    ChangeActivePage(Page);
    SetTabIndex(Page != nullptr ? Page->TabIndex() : -1);
}

TTabSheet* TPageControl::SheetOfTab(int Index) const
{
    if (Index < 0)
        return nullptr;
    for (TTabSheet* Page : FPages)
        if (Page->FTabVisible && Index-- == 0)
            return Page;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward,
                                      bool CheckTabVisible) const
{
    const int Count = PageCount();
    if (Count == 0)
        return nullptr;
    auto Found = std::find(FPages.begin(), FPages.end(), CurPage);
    int Start = Found != FPages.end() ? static_cast<int>(Found - FPages.begin())
                                      : (GoForward ? Count - 1 : 0);
    int I = Start;
    for (int Step = 0; Step < Count; ++Step) {
        I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
        TTabSheet* Page = FPages[static_cast<std::size_t>(I)];
        if (!CheckTabVisible || Page->FTabVisible)
            return Page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet* Page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (Page == nullptr || Page == FActivePage || !CanChange())
        return;
    SetActivePage(Page);
    TCustomTabControl::Change();
}

void TPageControl::Change()
{
    ChangeActivePage(SheetOfTab(TabIndex()));
    TCustomTabControl::Change();
}

int TPageControl::GetImageIndex(int TabIndex)
{
    TTabSheet* Page = SheetOfTab(TabIndex);
    return Page != nullptr ? Page->FImageIndex : -1;
}

void TPageControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TCustomTabControl::AlignControls(AControl, Rect);
    if (WindowHandle() == 0)
        return;
    const TRect Display = DisplayRect();
    for (TTabSheet* Page : FPages)
        if (!Page->Visible() && Page->BoundsRect() != Display)
            Page->SetBounds(Display.Left, Display.Top, Display.Width(), Display.Height());
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    UpdateTabs();
    if (FActivePage == nullptr && Page->FTabVisible)
        SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    if (FActivePage == Page) {
        TTabSheet* Next = FindNextPage(Page, true, true);
        ChangeActivePage(Next != Page ? Next : nullptr);
    }
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    Page->FPageControl = nullptr;
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    FPages.insert(FPages.begin() + NewIndex, Page);
    UpdateTabs();
}

void TPageControl::UpdateTabs()
{
    TStrings* Strings = Tabs();
    Strings->BeginUpdate();
    Strings->Clear();
    for (TTabSheet* Page : FPages)
        if (Page->FTabVisible)
            Strings->AddObject(Page->Caption(), Page);
    Strings->EndUpdate();
    SetTabIndex(FActivePage != nullptr ? FActivePage->TabIndex() : -1);
}

void TPageControl::ChangeActivePage(TTabSheet* Page)
{
    if (Page == FActivePage)
        return;
    TCustomForm* Form = GetParentForm(this);
    TWinControl* Focus = Form != nullptr ? Form->ActiveControl() : nullptr;
    const bool FocusInPage =
        Focus != nullptr && FActivePage != nullptr && FActivePage->ContainsControl(Focus);
    TTabSheet* Old = FActivePage;
    FActivePage = Page;
    if (Page != nullptr) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    // The focus follows into the new sheet: its first control, else the tabs.
    if (FocusInPage) {
        TWinControl* First =
            Page != nullptr ? Page->FindNextControl(nullptr, true, true, false) : nullptr;
        if (First != nullptr && First->CanFocus())
            First->SetFocus();
        else if (CanFocus())
            SetFocus();
    }
    if (Old != nullptr)
        Old->SetVisible(false);
}

bool TPageControl::OwnsCtrlTab() const
{
    TControl* At = FindControl(GetFocus());
    for (; At != nullptr; At = At->Parent())
        if (auto* Pages = dynamic_cast<const TPageControl*>(At))
            return Pages == this;
    return true;
}

void TPageControl::CMDialogKey(TMessage& Message)
{
    if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && PageCount() > 0 &&
        OwnsCtrlTab()) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
    }
    Inherited(Message);
}

void TPageControl::CMDialogChar(TMessage& Message)
{
    for (TTabSheet* Page : FPages) {
        if (Page->FTabVisible && IsAccel(static_cast<unsigned>(Message.WParam), Page->Caption()) &&
            CanFocus()) {
            Message.Result = 1;
            if (Page != FActivePage && CanChange()) {
                SetActivePage(Page);
                TCustomTabControl::Change();
            }
            return;
        }
    }
    Inherited(Message);
}
