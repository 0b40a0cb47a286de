// TMenuItem and TMenu: the item tree, radio groups, command ids and the shortcut look-up.
#include "platform/forms/menus.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The live items by command id. Ids start at 1 and go round within a word, skipping ids in use.
std::unordered_map<UINT, TMenuItem*>& Commands()
{
    static std::unordered_map<UINT, TMenuItem*> Map;
    return Map;
}

UINT NewCommand(TMenuItem* Item)
{
    static UINT Next = 0;
    auto& Map = Commands();
    do
        Next = Next >= 0xFFFF ? 1 : Next + 1;
    while (Map.count(Next) != 0);
    Map[Next] = Item;
    return Next;
}

std::string StripAccel(const std::string& Caption)
{
    std::string Result;
    for (std::size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && I + 1 < Caption.size())
            ++I;
        Result += Caption[I];
    }
    return Result;
}

} // namespace

TMenuItem* FindMenuItemByCommand(UINT Command)
{
    const auto Found = Commands().find(Command);
    return Found != Commands().end() ? Found->second : nullptr;
}

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NewCommand(this)) {}

TMenuItem::~TMenuItem()
{
    Destroying();
    while (!FItems.empty()) {
        TMenuItem* Last = FItems.back();
        FItems.pop_back();
        Last->FParent = nullptr;
        delete Last;
    }
    if (FParent != nullptr)
        FParent->Remove(this);
    Commands().erase(FCommand);
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("Menu index out of bounds");
    return FItems[static_cast<std::size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto Found = std::find(FItems.begin(), FItems.end(), Item);
    return Found != FItems.end() ? static_cast<int>(Found - FItems.begin()) : -1;
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item == nullptr)
        return;
    for (const TMenuItem* Up = this; Up != nullptr; Up = Up->FParent)
        if (Up == Item)
            throw EMenuError("A menu item cannot hold itself");
    if (Item->FParent != nullptr)
        Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* Item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int Index = IndexOf(Item);
    if (Index < 0)
        throw EMenuError("Menu item not found");
    Delete(Index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back(); // its destructor takes it out
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const
{
    const std::string Wanted = StripAccel(ACaption);
    for (TMenuItem* Item : FItems)
        if (SameText(StripAccel(Item->FCaption), Wanted))
            return Item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* Root = this;
    while (Root->FParent != nullptr)
        Root = Root->FParent;
    return Root->FMenu;
}

void TMenuItem::Changed()
{
    if (ComponentState().Contains(csDestroying))
        return;
    if (TMenu* Menu = GetParentMenu())
        Menu->MenuChanged(this);
}

void TMenuItem::SetCaption(const std::string& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::TurnSiblingsOff()
{
    if (FParent == nullptr)
        return;
    for (TMenuItem* Item : FParent->FItems)
        if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
            Item->FChecked = false;
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (Value == FRadioItem)
        return;
    FRadioItem = Value;
    if (Value && FChecked)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetGroupIndex(Byte Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    if (FRadioItem && FChecked)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetDefault(bool Value)
{
    if (Value == FDefault)
        return;
    if (Value && FParent != nullptr)
        for (TMenuItem* Item : FParent->FItems)
            Item->FDefault = false;
    FDefault = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TMenuItem::SetBreak(TMenuBreak Value)
{
    if (Value == FBreak)
        return;
    FBreak = Value;
    Changed();
}

void TMenuItem::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    Changed();
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

bool TMenuItem::IsOwnerDrawn() const
{
    const TMenu* Menu = GetParentMenu();
    return (Menu != nullptr && Menu->OwnerDraw()) || OnDrawItem || OnAdvancedDrawItem;
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool)
{
    if (OnAdvancedDrawItem)
        OnAdvancedDrawItem(this, ACanvas, ARect, State);
    else if (OnDrawItem)
        OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
}

// ---- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    Destroying();
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FItems->FMenu = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value)
{
    if (Value == FImages)
        return;
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages != nullptr)
        FImages->FreeNotification(this);
    MenuChanged(nullptr);
}

void TMenu::SetOwnerDraw(bool Value)
{
    if (Value == FOwnerDraw)
        return;
    FOwnerDraw = Value;
    MenuChanged(nullptr);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        MenuChanged(nullptr);
    }
}

namespace {

TMenuItem* FindShortCut(TMenuItem* Parent, TShortCut Value)
{
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (!Item->Enabled() || !Item->Visible())
            continue;
        if (Item->ShortCut() == Value && Item->Count() == 0)
            return Item;
        if (TMenuItem* Inner = FindShortCut(Item, Value))
            return Inner;
    }
    return nullptr;
}

TMenuItem* FindIn(TMenuItem* Parent, UINT Value, TFindItemKind Kind)
{
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if ((Kind == fkCommand && Item->Command() == Value) ||
            (Kind == fkShortCut && Item->ShortCut() == Value && Value != scNone) ||
            (Kind == fkHandle && reinterpret_cast<std::uintptr_t>(Item) == Value))
            return Item;
        if (TMenuItem* Inner = FindIn(Item, Value, Kind))
            return Inner;
    }
    return nullptr;
}

} // namespace

bool TMenu::IsShortCut(TWMKey& Message)
{
    const TShortCut Value = ShortCutFromMessage(Message);
    if ((Value & 0xFF) == 0 || Value == scNone)
        return false;
    TMenuItem* Item = FindShortCut(FItems, Value);
    if (Item == nullptr)
        return false;
    Item->Click();
    return true;
}

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const
{
    return FindIn(FItems, Value, Kind);
}

bool TMenu::DispatchCommand(Word ACommand)
{
    TMenuItem* Item = FindItem(ACommand, fkCommand);
    if (Item == nullptr)
        return false;
    Item->Click();
    return true;
}
