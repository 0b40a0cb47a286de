// platform/rtl/component.h: TComponent, the base of every component: an owner that frees what
// it owns, names unique among an owner's components, and notification when a component is
// inserted, removed or freed.
#pragma once

#include "platform/rtl/events.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/sets.h"

#include <cstdint>
#include <string>
#include <vector>

TW_DECLARE_EXCEPTION(EComponentError, Exception);

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups
};
using TComponentState = TSet<TComponentStateItem>;

// Components live on the heap: an owner deletes what it owns. A derived destructor whose work
// others may observe can call Destroying() first, so that they see csDestroying.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Empty or a valid identifier, unique (ignoring case) among the owner's components;
    // raises EComponentError otherwise.
    virtual void SetName(const std::string& NewName);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }
    TComponentState ComponentState() const { return FComponentState; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError for an index out of range.
    TComponent* Components(int Index) const;
    // Position in the owner's list; -1 without an owner.
    int ComponentIndex() const;
    void SetComponentIndex(int Value);
    // The owned component of that name (ignoring case); nil for an empty or unknown name.
    TComponent* FindComponent(const std::string& AName) const;

    // Takes AComponent over from its current owner, if any.
    void InsertComponent(TComponent* AComponent);
    // AComponent stays alive without an owner.
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // AComponent will receive Notification(this, opRemove) when this component is freed, and
    // this component when AComponent is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    virtual void Updating();
    virtual void Updated();

    // For forms built in code: BeginLoading marks this component and what it owns as being
    // loaded (csLoading, csReading); EndLoading clears csReading and calls Loaded on each of
    // them, this component first.
    void BeginLoading();
    void EndLoading();

protected:
    // Called once the component's properties are set; clears csLoading.
    virtual void Loaded();
    // Called on an owner, and passed on to everything it owns, when a component is inserted
    // or removed; called on free-notification partners when a component is freed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName);
    void SetDesigning(bool Value, bool SetChildren = true);

private:
    void Unlink(TComponent* AComponent);
    void NotifyFreeNotifies();
    static void NotifyRemoval(TComponent* Target, TComponent* Removed);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    // While this component is being freed: who has been told, so nobody is told twice.
    std::vector<const TComponent*> FToldOfRemoval;
    bool FBeingFreed = false;
};
