#include "platform/rtl/component.h"

#include "platform/rtl/strings.h"

#include <algorithm>

namespace {

bool IsIdentStart(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsValidIdent(const std::string& Ident)
{
    if (Ident.empty() || !IsIdentStart(Ident[0]))
        return false;
    return std::all_of(Ident.begin() + 1, Ident.end(),
                       [](char C) { return IsIdentStart(C) || (C >= '0' && C <= '9'); });
}

void Erase(std::vector<TComponent*>& List, const TComponent* Item)
{
    auto Found = std::find(List.begin(), List.end(), Item);
    if (Found != List.end())
        List.erase(Found);
}

} // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

// Children go first, then the owner and its other components hear of the removal, then the
// free-notification partners that have not heard of it yet. Links made by a notification
// handler while this runs are served by the same loop, so none is left dangling.
TComponent::~TComponent()
{
    FBeingFreed = true;
    Destroying();
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
    NotifyFreeNotifies();
}

void TComponent::SetName(const std::string& NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, NewName);
    FName = NewName;
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (FOwner == nullptr)
        return -1;
    auto& List = FOwner->FComponents;
    return static_cast<int>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TComponent::SetComponentIndex(int Value)
{
    if (FOwner == nullptr)
        return;
    auto& List = FOwner->FComponents;
    Erase(List, this);
    Value = std::clamp(Value, 0, static_cast<int>(List.size()));
    List.insert(List.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* Component : FComponents)
        if (SameText(Component->FName, AName))
            return Component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent->FOwner == this)
        return;
    // An owner chain that loops would free its members twice.
    for (const TComponent* Owner = this; Owner != nullptr; Owner = Owner->FOwner)
        if (Owner == AComponent)
            throw EComponentError("A component cannot own itself or one of its owners");
    ValidateRename(AComponent, "", AComponent->FName);
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent->FOwner != this)
        return;
    NotifyRemoval(this, AComponent);
    // A handler may have freed AComponent meanwhile; it then left the list by itself.
    auto Found = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (Found != FComponents.end()) {
        FComponents.erase(Found);
        AComponent->FOwner = nullptr;
    }
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* Instance = FComponents.back();
        Instance->FBeingFreed = true;
        RemoveComponent(Instance);
        delete Instance;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* Component : FComponents)
        Component->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& Other = AComponent->FFreeNotifies;
    if (std::find(Other.begin(), Other.end(), this) == Other.end())
        Other.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr)
        return;
    Unlink(AComponent);
    AComponent->Unlink(this);
}

void TComponent::Updating()
{
    FComponentState.Include(csUpdating);
}

void TComponent::Updated()
{
    FComponentState.Exclude(csUpdating);
}

void TComponent::BeginLoading()
{
    FComponentState += {csLoading, csReading};
    for (TComponent* Component : FComponents)
        Component->BeginLoading();
}

void TComponent::EndLoading()
{
    FComponentState.Exclude(csReading);
    if (FComponentState.Contains(csLoading))
        Loaded();
    // Loaded may add or free components: index anew each time.
    for (std::size_t I = 0; I < FComponents.size(); ++I)
        FComponents[I]->EndLoading();
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    // A component that only changes owner keeps its links: they still serve when it is freed.
    if (Operation == opRemove && AComponent != nullptr && AComponent->FBeingFreed)
        RemoveFreeNotification(AComponent);
    // A handler may free components of this list: stay within its current size.
    int I = ComponentCount() - 1;
    while (I >= 0) {
        TComponent* Component = FComponents[static_cast<std::size_t>(I)];
        if (Operation == opRemove)
            NotifyRemoval(Component, AComponent);
        else
            Component->Notification(AComponent, Operation);
        --I;
        if (I >= ComponentCount())
            I = ComponentCount() - 1;
    }
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName)
{
    if (AComponent != nullptr && !SameText(CurName, NewName)) {
        TComponent* Existing = FindComponent(NewName);
        if (Existing != nullptr && Existing != AComponent)
            throw EComponentError("A component named " + NewName + " already exists");
    }
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* Component : FComponents)
            Component->SetDesigning(Value, true);
}

void TComponent::Unlink(TComponent* AComponent)
{
    Erase(FFreeNotifies, AComponent);
}

void TComponent::NotifyFreeNotifies()
{
    while (!FFreeNotifies.empty()) {
        TComponent* Partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Partner->Unlink(this);
        if (std::find(FToldOfRemoval.begin(), FToldOfRemoval.end(), Partner) !=
            FToldOfRemoval.end())
            continue;
        FToldOfRemoval.push_back(Partner);
        Partner->Notification(this, opRemove);
    }
}

void TComponent::NotifyRemoval(TComponent* Target, TComponent* Removed)
{
    if (Removed != nullptr && Removed->FBeingFreed)
        Removed->FToldOfRemoval.push_back(Target);
    Target->Notification(Removed, opRemove);
}
