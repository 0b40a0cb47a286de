// platform/rtl/classregistry.h: TMetaClass, the class of a class (its name, its parent and a
// factory), and the registry that finds a class by its name.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

#include <atomic>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>

class TComponent;

TW_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

// One object per class, for the life of the program. The parent chain follows the class
// declarations themselves, so every class derived from TObject has its metaclass without
// being registered; only a factory needs TMetaClass::Of<T>() (RegisterClass calls it).
class TMetaClass {
public:
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    template <class T>
    static const TMetaClass* Of();
    static const TMetaClass* ForType(const std::type_info& Type);

    const std::string& ClassName() const { return FClassName; }
    // Nil for TObject (and for a class that does not derive from it).
    const TMetaClass* ClassParent() const { return FParent; }
    const std::type_info& TypeInfo() const { return *FType; }

    // This class is AClass or derives from it.
    bool InheritsFrom(const TMetaClass* AClass) const;
    // Instance is not nil and its class is this class or derives from it.
    bool IsInstance(const TObject* Instance) const;

    bool CanCreate() const;
    // A new instance of a component class, owned by AOwner when given; raises
    // EInvalidOperation for a class that cannot be created that way.
    TComponent* Create(TComponent* AOwner) const;
    // A new instance of a persistent class that is not a component.
    std::unique_ptr<TPersistent> CreatePersistent() const;

private:
    using TComponentFactory = TComponent* (*)(TComponent*);
    using TPersistentFactory = TPersistent* (*)();

    TMetaClass(const std::type_info& Type, const TMetaClass* Parent);
    static const TMetaClass* WithFactories(const std::type_info& Type,
                                           TComponentFactory ComponentFactory,
                                           TPersistentFactory PersistentFactory);
    friend class TMetaClassTable;

    const std::type_info* FType;
    std::string FClassName;
    const TMetaClass* FParent;
    mutable std::atomic<TComponentFactory> FComponentFactory{nullptr};
    mutable std::atomic<TPersistentFactory> FPersistentFactory{nullptr};
};

template <class T>
const TMetaClass* TMetaClass::Of()
{
    static_assert(std::is_base_of_v<TObject, T>, "a metaclass describes a TObject class");
    TComponentFactory ComponentFactory = nullptr;
    TPersistentFactory PersistentFactory = nullptr;
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*> &&
                  std::is_convertible_v<T*, TComponent*>)
        ComponentFactory = [](TComponent* AOwner) -> TComponent* { return new T(AOwner); };
    else if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T> &&
                       std::is_base_of_v<TPersistent, T>)
        PersistentFactory = []() -> TPersistent* { return new T(); };
    static const TMetaClass* Meta = WithFactories(typeid(T), ComponentFactory, PersistentFactory);
    return Meta;
}

// Makes a class findable by its name (compared case-insensitively). Registering the same
// class again does nothing; another class of the same name raises EFilerError.
void RegisterClass(const TMetaClass* AClass);
void UnRegisterClass(const TMetaClass* AClass);
// Nil when no class of that name is registered.
const TMetaClass* GetClass(const std::string& ClassName);
// As GetClass, raising EClassNotFound "Class X not found" instead of returning nil.
const TMetaClass* FindClass(const std::string& ClassName);

template <class T>
void RegisterClass()
{
    RegisterClass(TMetaClass::Of<T>());
}

template <class... T>
void RegisterClasses()
{
    (RegisterClass(TMetaClass::Of<T>()), ...);
}

template <class T>
void UnRegisterClass()
{
    UnRegisterClass(TMetaClass::Of<T>());
}
