#include "platform/rtl/classregistry.h"

#include "platform/rtl/component.h"
#include "platform/rtl/strings.h"

#include <cxxabi.h>
#include <map>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace {

// The class hierarchy comes from the run-time type information of the C++ ABI: a class with
// one public base, or a table of bases for multiple or virtual inheritance.
template <class Visit>
void ForEachPublicBase(const std::type_info& Type, Visit&& Action)
{
    if (auto Single = dynamic_cast<const abi::__si_class_type_info*>(&Type)) {
        Action(*Single->__base_type);
        return;
    }
    if (auto Multiple = dynamic_cast<const abi::__vmi_class_type_info*>(&Type)) {
        const abi::__base_class_type_info* Bases = Multiple->__base_info;
        for (unsigned I = 0; I < Multiple->__base_count; ++I)
            if (Bases[I].__is_public_p())
                Action(*Bases[I].__base_type);
    }
}

bool DerivesFrom(const std::type_info& Type, const std::type_info& Base)
{
    if (Type == Base)
        return true;
    bool Found = false;
    ForEachPublicBase(Type, [&](const std::type_info& Parent) {
        if (!Found && DerivesFrom(Parent, Base))
            Found = true;
    });
    return Found;
}

// The base that continues the TObject line; other bases are interfaces or mix-ins.
const std::type_info* ObjectBase(const std::type_info& Type)
{
    const std::type_info* Result = nullptr;
    ForEachPublicBase(Type, [&](const std::type_info& Parent) {
        if (Result == nullptr && DerivesFrom(Parent, typeid(TObject)))
            Result = &Parent;
    });
    return Result;
}

} // namespace

// Every metaclass ever asked for, and the classes registered by name.
class TMetaClassTable {
public:
    static TMetaClassTable& Instance()
    {
        static TMetaClassTable Table;
        return Table;
    }

    const TMetaClass* Intern(const std::type_info& Type)
    {
        std::lock_guard<std::mutex> Lock(Mutex);
        return InternLocked(Type);
    }

    std::mutex Mutex;
    std::map<std::string, const TMetaClass*> Registered; // by upper-case name

private:
    const TMetaClass* InternLocked(const std::type_info& Type)
    {
        auto Found = Classes.find(std::type_index(Type));
        if (Found != Classes.end())
            return Found->second.get();
        const std::type_info* Base = ObjectBase(Type);
        const TMetaClass* Parent = Base != nullptr ? InternLocked(*Base) : nullptr;
        std::unique_ptr<TMetaClass> Meta(new TMetaClass(Type, Parent));
        const TMetaClass* Result = Meta.get();
        Classes.emplace(std::type_index(Type), std::move(Meta));
        return Result;
    }

    std::unordered_map<std::type_index, std::unique_ptr<TMetaClass>> Classes;
};

TMetaClass::TMetaClass(const std::type_info& Type, const TMetaClass* Parent)
    : FType(&Type), FClassName(DemangledClassName(Type)), FParent(Parent)
{
}

const TMetaClass* TMetaClass::ForType(const std::type_info& Type)
{
    return TMetaClassTable::Instance().Intern(Type);
}

const TMetaClass* TMetaClass::WithFactories(const std::type_info& Type,
                                            TComponentFactory ComponentFactory,
                                            TPersistentFactory PersistentFactory)
{
    const TMetaClass* Meta = ForType(Type);
    Meta->FComponentFactory.store(ComponentFactory);
    Meta->FPersistentFactory.store(PersistentFactory);
    return Meta;
}

bool TMetaClass::InheritsFrom(const TMetaClass* AClass) const
{
    for (const TMetaClass* Class = this; Class != nullptr; Class = Class->FParent)
        if (Class == AClass)
            return true;
    return false;
}

bool TMetaClass::IsInstance(const TObject* Instance) const
{
    return Instance != nullptr && DerivesFrom(typeid(*Instance), *FType);
}

bool TMetaClass::CanCreate() const
{
    return FComponentFactory.load() != nullptr || FPersistentFactory.load() != nullptr;
}

TComponent* TMetaClass::Create(TComponent* AOwner) const
{
    TComponentFactory Factory = FComponentFactory.load();
    if (Factory == nullptr)
        throw EInvalidOperation("Cannot create an instance of " + FClassName);
    return Factory(AOwner);
}

std::unique_ptr<TPersistent> TMetaClass::CreatePersistent() const
{
    TPersistentFactory Factory = FPersistentFactory.load();
    if (Factory == nullptr)
        throw EInvalidOperation("Cannot create an instance of " + FClassName);
    return std::unique_ptr<TPersistent>(Factory());
}

void RegisterClass(const TMetaClass* AClass)
{
    if (AClass == nullptr)
        return;
    auto& Table = TMetaClassTable::Instance();
    std::lock_guard<std::mutex> Lock(Table.Mutex);
    auto [Entry, Added] = Table.Registered.emplace(UpperCase(AClass->ClassName()), AClass);
    if (!Added && Entry->second != AClass)
        throw EFilerError("A class named " + AClass->ClassName() + " already exists");
}

void UnRegisterClass(const TMetaClass* AClass)
{
    if (AClass == nullptr)
        return;
    auto& Table = TMetaClassTable::Instance();
    std::lock_guard<std::mutex> Lock(Table.Mutex);
    auto Entry = Table.Registered.find(UpperCase(AClass->ClassName()));
    if (Entry != Table.Registered.end() && Entry->second == AClass)
        Table.Registered.erase(Entry);
}

const TMetaClass* GetClass(const std::string& ClassName)
{
    auto& Table = TMetaClassTable::Instance();
    std::lock_guard<std::mutex> Lock(Table.Mutex);
    auto Entry = Table.Registered.find(UpperCase(ClassName));
    return Entry != Table.Registered.end() ? Entry->second : nullptr;
}

const TMetaClass* FindClass(const std::string& ClassName)
{
    const TMetaClass* Result = GetClass(ClassName);
    if (Result == nullptr)
        throw EClassNotFound("Class " + ClassName + " not found");
    return Result;
}
