// platform/rtl/properties.h: the published-property registry. A class publishes properties by
// name with a kind and a type name; callers that do not know the class read and write them by
// name, typed or as text. A class inherits the properties of its ancestors.
#pragma once

#include "platform/rtl/classregistry.h"
#include "platform/rtl/events.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/sets.h"
#include "platform/rtl/types.h"

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

TW_DECLARE_EXCEPTION(EPropertyError, Exception);
TW_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkInt64
};

// An event handler as an opaque value: the std::function of the event's own type, or nothing.
struct TMethod {
    std::any Handler;
    bool Assigned() const { return Handler.has_value(); }
    // The handler as event type F; nil when unassigned or of another type.
    template <class F>
    const F* As() const
    {
        return std::any_cast<F>(&Handler);
    }
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
    std::string TypeName;                  // "Integer", "TColor", "Boolean", "TAlign"...
    std::string ElementTypeName;           // tkSet: the enumeration of its members
    const TMetaClass* PropClass = nullptr; // tkClass: the class of the value

    // The accessors of Kind; a property without a setter is read-only. Ordinal kinds are
    // tkInteger, tkChar, tkEnumeration, tkInt64 and tkSet (bit n for the member of ordinal n).
    std::function<Int64(const TObject*)> GetOrd;
    std::function<void(TObject*, Int64)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(const TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TObject*(const TObject*)> GetObject;
    std::function<void(TObject*, TObject*)> SetObject;
    std::function<TMethod(const TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;

    bool IsWritable() const;
};

// Publishes Info for AClass; a property of the same name registered before for that class is
// replaced, one of an ancestor is hidden.
void RegisterPropInfo(const TMetaClass* AClass, TPropInfo Info);

// The identifiers of an enumeration, by ordinal from 0. "Boolean" is known from the start.
void RegisterEnumeration(const std::string& TypeName, std::vector<std::string> Names);
template <class E>
void RegisterEnumeration(std::vector<std::string> Names)
{
    RegisterEnumeration(DemangledClassName(typeid(E)), std::move(Names));
}
// The identifier of Value; its decimal text when it has none.
std::string GetEnumName(const std::string& TypeName, Int64 Value);
// The ordinal of Name (ignoring case); -1 when it is not an identifier of the enumeration.
int GetEnumValue(const std::string& TypeName, const std::string& Name);
// Value is an ordinal of the enumeration (any value when no identifiers are registered).
bool IsEnumOrdinal(const std::string& TypeName, Int64 Value);

// Identifiers of an integer type ("clRed" of TColor, "crHandPoint" of TCursor), used by the
// text accessors.
using TIdentToInt = std::function<bool(const std::string& Ident, int& Value)>;
using TIntToIdent = std::function<bool(int Value, std::string& Ident)>;
void RegisterIntegerConsts(const std::string& TypeName, TIdentToInt IdentToInt,
                           TIntToIdent IntToIdent);
// Empty functions when the type has no identifiers.
TIdentToInt FindIdentToInt(const std::string& TypeName);
TIntToIdent FindIntToIdent(const std::string& TypeName);

// Nil when the class publishes no property of that name (compared ignoring case).
const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName);
const TPropInfo* GetPropInfo(const TMetaClass* AClass, const std::string& PropName);
bool IsPublishedProp(const TObject* Instance, const std::string& PropName);
// Ancestors' properties first, each class's in the order it published them.
std::vector<const TPropInfo*> GetPropList(const TObject* Instance);
std::vector<const TPropInfo*> GetPropList(const TMetaClass* AClass);

// Typed access. An unknown name raises EPropertyError "Unknown property: 'X'"; a property of
// another kind, or a value it cannot take, raises EPropertyConvertError; an ordinal out of the
// property's range raises ERangeError; writing a read-only property raises EPropertyError.
Int64 GetOrdProp(const TObject* Instance, const std::string& PropName);
void SetOrdProp(TObject* Instance, const std::string& PropName, Int64 Value);
std::string GetEnumProp(const TObject* Instance, const std::string& PropName);
void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value);
// Sets as text: "[fsBold,fsItalic]"; the brackets are optional when writing.
std::string GetSetProp(const TObject* Instance, const std::string& PropName);
void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value);
double GetFloatProp(const TObject* Instance, const std::string& PropName);
void SetFloatProp(TObject* Instance, const std::string& PropName, double Value);
std::string GetStrProp(const TObject* Instance, const std::string& PropName);
void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value);
TObject* GetObjectProp(const TObject* Instance, const std::string& PropName);
void SetObjectProp(TObject* Instance, const std::string& PropName, TObject* Value);
TMethod GetMethodProp(const TObject* Instance, const std::string& PropName);
void SetMethodProp(TObject* Instance, const std::string& PropName, const TMethod& Value);

// Any property of a kind with a text form (all but tkClass and tkMethod) as text: integers in
// decimal or as an identifier of their type, written also as "$" or "0x" hexadecimal; a
// character as itself (#0 as the empty text); enumerations and sets by identifiers; floating
// point in the shortest form that reads back exactly, with a "." separator.
std::string GetPropValue(const TObject* Instance, const std::string& PropName);
void SetPropValue(TObject* Instance, const std::string& PropName, const std::string& Value);

// The same with a property already looked up.
Int64 GetOrdProp(const TObject* Instance, const TPropInfo* Info);
void SetOrdProp(TObject* Instance, const TPropInfo* Info, Int64 Value);
std::string GetEnumProp(const TObject* Instance, const TPropInfo* Info);
void SetEnumProp(TObject* Instance, const TPropInfo* Info, const std::string& Value);
std::string GetSetProp(const TObject* Instance, const TPropInfo* Info);
void SetSetProp(TObject* Instance, const TPropInfo* Info, const std::string& Value);
double GetFloatProp(const TObject* Instance, const TPropInfo* Info);
void SetFloatProp(TObject* Instance, const TPropInfo* Info, double Value);
std::string GetStrProp(const TObject* Instance, const TPropInfo* Info);
void SetStrProp(TObject* Instance, const TPropInfo* Info, const std::string& Value);
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* Info);
void SetObjectProp(TObject* Instance, const TPropInfo* Info, TObject* Value);
TMethod GetMethodProp(const TObject* Instance, const TPropInfo* Info);
void SetMethodProp(TObject* Instance, const TPropInfo* Info, const TMethod& Value);
std::string GetPropValue(const TObject* Instance, const TPropInfo* Info);
void SetPropValue(TObject* Instance, const TPropInfo* Info, const std::string& Value);

namespace PropertyDetail {

template <class V>
struct SetTraits {
    static constexpr bool IsSet = false;
};
template <class E>
struct SetTraits<TSet<E>> {
    static constexpr bool IsSet = true;
    using Element = E;
};

template <class V>
struct IsStdFunction : std::false_type {
};
template <class F>
struct IsStdFunction<std::function<F>> : std::true_type {
};

template <class V>
constexpr bool IsObjectPointer =
    std::is_pointer_v<V>&& std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<V>>>;

template <class V>
constexpr TTypeKind KindOf()
{
    if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V>)
        return tkEnumeration;
    else if constexpr (std::is_same_v<V, char>)
        return tkChar;
    else if constexpr (std::is_integral_v<V>)
        return sizeof(V) > 4 ? tkInt64 : tkInteger;
    else if constexpr (std::is_floating_point_v<V>)
        return tkFloat;
    else if constexpr (std::is_same_v<V, std::string>)
        return tkString;
    else if constexpr (SetTraits<V>::IsSet)
        return tkSet;
    else if constexpr (IsObjectPointer<V>)
        return tkClass;
    else if constexpr (IsStdFunction<V>::value)
        return tkMethod;
    else
        static_assert(sizeof(V) == 0, "this type cannot be a published property");
}

std::string IntegerTypeName(std::size_t Size, bool Signed);
std::string FloatTypeName(std::size_t Size);

template <class V>
std::string DefaultTypeName()
{
    if constexpr (std::is_same_v<V, bool>)
        return "Boolean";
    else if constexpr (std::is_same_v<V, char>)
        return "Char";
    else if constexpr (std::is_enum_v<V>)
        return DemangledClassName(typeid(V));
    else if constexpr (std::is_integral_v<V>)
        return IntegerTypeName(sizeof(V), std::is_signed_v<V>);
    else if constexpr (std::is_floating_point_v<V>)
        return FloatTypeName(sizeof(V));
    else if constexpr (std::is_same_v<V, std::string>)
        return "string";
    else if constexpr (SetTraits<V>::IsSet)
        return "set of " + DemangledClassName(typeid(typename SetTraits<V>::Element));
    else if constexpr (IsObjectPointer<V>)
        return DemangledClassName(typeid(std::remove_pointer_t<V>));
    else if constexpr (std::is_same_v<V, TNotifyEvent>)
        return "TNotifyEvent";
    else
        return "";
}

[[noreturn]] void RaiseRangeError(const std::string& PropName, Int64 Value);
[[noreturn]] void RaiseInvalidValue(const std::string& PropName);
[[noreturn]] void RaiseInvalidCast();

template <class V>
Int64 ToOrdinal(const V& Value)
{
    if constexpr (SetTraits<V>::IsSet)
        return static_cast<Int64>(Value.Bits());
    else
        return static_cast<Int64>(Value);
}

// Integers take what fits their size, signed or not, as two's complement (so "$FF0000FF"
// fits a 32-bit colour); enumerations take their ordinals only.
template <class V>
V FromOrdinal(Int64 Value, const std::string& PropName, const std::string& TypeName)
{
    if constexpr (SetTraits<V>::IsSet) {
        return V::FromBits(static_cast<std::uint64_t>(Value));
    } else if constexpr (std::is_same_v<V, bool>) {
        if (Value != 0 && Value != 1)
            RaiseRangeError(PropName, Value);
        return Value != 0;
    } else if constexpr (std::is_enum_v<V>) {
        using U = std::underlying_type_t<V>;
        if (!IsEnumOrdinal(TypeName, Value) || Value < Int64{std::numeric_limits<U>::min()} ||
            (Value > 0 && static_cast<std::uint64_t>(Value) >
                              static_cast<std::uint64_t>(std::numeric_limits<U>::max())))
            RaiseRangeError(PropName, Value);
        return static_cast<V>(Value);
    } else if constexpr (sizeof(V) < sizeof(Int64)) {
        using S = std::make_signed_t<V>;
        using U = std::make_unsigned_t<V>;
        if (Value < Int64{std::numeric_limits<S>::min()} ||
            Value > Int64{std::numeric_limits<U>::max()})
            RaiseRangeError(PropName, Value);
        return static_cast<V>(static_cast<U>(Value));
    } else {
        return static_cast<V>(Value);
    }
}

} // namespace PropertyDetail

// Publishes properties of T, usually once in the source file of T:
//     TPublished<TMyForm>()
//         .Property("Left", &TMyForm::Left, &TMyForm::SetLeft)
//         .Property("Color", &TMyForm::Color, &TMyForm::SetColor, "TColor")
//         .Field("OnClick", &TMyForm::OnClick);
// A getter is a const member function (or a callable taking const T&), a setter a member
// function (or a callable taking T& and the value); the kind follows from the getter's type:
// bool and enumerations (tkEnumeration), char, integers, floating point, std::string, TSet,
// pointers to TObject classes and std::function events. The type name defaults from the type
// ("Integer", "Boolean", the enumeration's name); integers such as TColor name it.
template <class T>
class TPublished {
public:
    TPublished() : FClass(TMetaClass::Of<T>()) {}

    template <class G, class S>
    requires(!std::is_convertible_v<S, std::string>) TPublished& Property(
        const std::string& Name, G Getter, S Setter, const std::string& TypeName = "")
    {
        Publish(Name, Getter, Setter, TypeName);
        return *this;
    }

    // A read-only property.
    template <class G>
    TPublished& Property(const std::string& Name, G Getter, const std::string& TypeName = "")
    {
        Publish(Name, Getter, nullptr, TypeName);
        return *this;
    }

    // A public data member, such as an event.
    template <class M>
    requires std::is_member_object_pointer_v<M> TPublished& Field(const std::string& Name, M Member,
                                                                  const std::string& TypeName = "")
    {
        using V = std::decay_t<std::invoke_result_t<M, const T&>>;
        Publish(
            Name, Member, [Member](T& Object, const V& Value) { Object.*Member = Value; },
            TypeName);
        return *this;
    }

private:
    static const T& Cast(const TObject* Object)
    {
        auto Result = dynamic_cast<const T*>(Object);
        if (Result == nullptr)
            PropertyDetail::RaiseInvalidCast();
        return *Result;
    }

    template <class G, class S>
    void Publish(const std::string& Name, G Getter, S Setter, const std::string& TypeName)
    {
        using namespace PropertyDetail;
        using V = std::decay_t<std::invoke_result_t<G, const T&>>;
        constexpr TTypeKind Kind = KindOf<V>();
        constexpr bool Writable = !std::is_same_v<S, std::nullptr_t>;

        TPropInfo Info;
        Info.Name = Name;
        Info.Kind = Kind;
        Info.TypeName = TypeName.empty() ? DefaultTypeName<V>() : TypeName;
        auto Read = [Getter](const TObject* Object) -> V {
            return std::invoke(Getter, Cast(Object));
        };
        std::function<void(TObject*, V)> Write;
        if constexpr (Writable)
            Write = [Setter](TObject* Object, V Value) {
                std::invoke(Setter, const_cast<T&>(Cast(Object)), std::move(Value));
            };

        if constexpr (Kind == tkInteger || Kind == tkInt64 || Kind == tkChar ||
                      Kind == tkEnumeration || Kind == tkSet) {
            if constexpr (Kind == tkSet)
                Info.ElementTypeName = DemangledClassName(typeid(typename SetTraits<V>::Element));
            Info.GetOrd = [Read](const TObject* Object) { return ToOrdinal(Read(Object)); };
            if constexpr (Writable)
                Info.SetOrd = [Write, Name, Type = Info.TypeName](TObject* Object, Int64 Value) {
                    Write(Object, FromOrdinal<V>(Value, Name, Type));
                };
        } else if constexpr (Kind == tkFloat) {
            Info.GetFloat = [Read](const TObject* Object) {
                return static_cast<double>(Read(Object));
            };
            if constexpr (Writable)
                Info.SetFloat = [Write](TObject* Object, double Value) {
                    Write(Object, static_cast<V>(Value));
                };
        } else if constexpr (Kind == tkString) {
            Info.GetStr = Read;
            if constexpr (Writable)
                Info.SetStr = [Write](TObject* Object, const std::string& Value) {
                    Write(Object, Value);
                };
        } else if constexpr (Kind == tkClass) {
            using P = std::remove_pointer_t<V>;
            Info.PropClass = TMetaClass::ForType(typeid(P));
            Info.GetObject = [Read](const TObject* Object) -> TObject* {
                return const_cast<TObject*>(static_cast<const TObject*>(Read(Object)));
            };
            if constexpr (Writable)
                Info.SetObject = [Write, Name](TObject* Object, TObject* Value) {
                    V Typed = dynamic_cast<V>(Value);
                    if (Value != nullptr && Typed == nullptr)
                        RaiseInvalidValue(Name);
                    Write(Object, Typed);
                };
        } else if constexpr (Kind == tkMethod) {
            Info.GetMethod = [Read](const TObject* Object) {
                V Handler = Read(Object);
                return Handler ? TMethod{std::any(std::move(Handler))} : TMethod{};
            };
            if constexpr (Writable)
                Info.SetMethod = [Write, Name](TObject* Object, const TMethod& Value) {
                    if (!Value.Assigned())
                        return Write(Object, V{});
                    const V* Handler = Value.As<V>();
                    if (Handler == nullptr)
                        RaiseInvalidValue(Name);
                    Write(Object, *Handler);
                };
        }
        RegisterPropInfo(FClass, std::move(Info));
    }

    const TMetaClass* FClass;
};
