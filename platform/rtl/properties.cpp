#include "platform/rtl/properties.h"

#include "platform/rtl/component.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct TClassProps {
    std::vector<std::unique_ptr<TPropInfo>> List; // in publishing order
    std::map<std::string, TPropInfo*> ByName;     // by upper-case name
};

struct TIntegerConsts {
    TIdentToInt IdentToInt;
    TIntToIdent IntToIdent;
};

// Entries are never removed, so the TPropInfo pointers handed out stay valid. The lock is
// not held while an accessor runs: accessors run code of their own.
struct TRegistry {
    std::mutex Mutex;
    std::unordered_map<const TMetaClass*, TClassProps> Classes;
    std::map<std::string, std::vector<std::string>> Enumerations;
    std::map<std::string, TIntegerConsts> Consts;

    static TRegistry& Instance()
    {
        static TRegistry Registry;
        return Registry;
    }
};

// What every program publishes: Boolean, and the Name and Tag of every component.
void EnsureBuiltins()
{
    static const bool Done = [] {
        RegisterEnumeration("Boolean", {"False", "True"});
        TPublished<TComponent>()
            .Property("Name", &TComponent::Name, &TComponent::SetName)
            .Property("Tag", &TComponent::Tag, &TComponent::SetTag, "NativeInt");
        return true;
    }();
    (void)Done;
}

const TPropInfo* FindInClass(TRegistry& Registry, const TMetaClass* AClass, const std::string& Key)
{
    auto Class = Registry.Classes.find(AClass);
    if (Class == Registry.Classes.end())
        return nullptr;
    auto Found = Class->second.ByName.find(Key);
    return Found != Class->second.ByName.end() ? Found->second : nullptr;
}

const TPropInfo* Require(const TObject* Instance, const std::string& PropName)
{
    const TPropInfo* Info = GetPropInfo(Instance, PropName);
    if (Info == nullptr)
        throw EPropertyError("Unknown property: '" + PropName + "'");
    return Info;
}

[[noreturn]] void RaiseInvalidType(const TPropInfo* Info)
{
    throw EPropertyConvertError("Invalid property type: " + Info->TypeName);
}

[[noreturn]] void RaiseReadOnly(const TPropInfo* Info)
{
    throw EPropertyError("Property " + Info->Name + " is read-only");
}

[[noreturn]] void RaiseInvalidElement(const std::string& Element)
{
    throw EPropertyConvertError("Invalid property element: " + Element);
}

const TPropInfo* Checked(const TPropInfo* Info)
{
    if (Info == nullptr)
        throw EPropertyError("Unknown property: ''");
    return Info;
}

bool IsOrdinalKind(TTypeKind Kind)
{
    return Kind == tkInteger || Kind == tkInt64 || Kind == tkChar || Kind == tkEnumeration ||
           Kind == tkSet;
}

template <class F>
const F& Writer(const TPropInfo* Info, const F& Setter)
{
    if (!Setter)
        RaiseReadOnly(Info);
    return Setter;
}

// Decimal, or hexadecimal after "$" or "0x"; an optional sign; blanks around are ignored.
bool TryParseInteger(const std::string& Text, Int64& Value)
{
    std::string S = Trim(Text);
    bool Negative = false;
    std::size_t I = 0;
    if (I < S.size() && (S[I] == '-' || S[I] == '+'))
        Negative = S[I++] == '-';
    int Base = 10;
    if (I < S.size() && S[I] == '$') {
        Base = 16;
        ++I;
    } else if (I + 1 < S.size() && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
        Base = 16;
        I += 2;
    }
    if (I >= S.size() || S[I] == '-' || S[I] == '+')
        return false;
    std::uint64_t Magnitude = 0;
    const char* End = S.data() + S.size();
    auto [Stop, Error] = std::from_chars(S.data() + I, End, Magnitude, Base);
    if (Error != std::errc() || Stop != End)
        return false;
    const auto Limit = static_cast<std::uint64_t>(std::numeric_limits<Int64>::max());
    if (Negative) {
        if (Magnitude > Limit + 1)
            return false;
        Value = static_cast<Int64>(0 - Magnitude);
    } else {
        // Hexadecimal spells the full 64 bits, as two's complement.
        if (Magnitude > Limit && Base == 10)
            return false;
        Value = static_cast<Int64>(Magnitude);
    }
    return true;
}

bool TryParseFloat(const std::string& Text, double& Value)
{
    std::string S = Trim(Text);
    if (!S.empty() && S[0] == '+')
        S.erase(0, 1);
    if (S.empty() || S[0] == '+')
        return false;
    const char* End = S.data() + S.size();
    auto [Stop, Error] = std::from_chars(S.data(), End, Value);
    return Error == std::errc() && Stop == End;
}

std::string FloatText(double Value)
{
    char Buffer[64];
    auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    return std::string(Buffer, Result.ptr);
}

std::string SetToString(const TPropInfo* Info, Int64 Bits)
{
    std::string Result = "[";
    for (int Ordinal = 0; Ordinal < 64; ++Ordinal) {
        if ((static_cast<std::uint64_t>(Bits) >> Ordinal & 1) == 0)
            continue;
        if (Result.size() > 1)
            Result += ',';
        Result += GetEnumName(Info->ElementTypeName, Ordinal);
    }
    return Result + "]";
}

Int64 StringToSet(const TPropInfo* Info, const std::string& Text)
{
    std::string S = Trim(Text);
    if (!S.empty() && S.front() == '[')
        S.erase(0, 1);
    if (!S.empty() && S.back() == ']')
        S.pop_back();
    std::uint64_t Bits = 0;
    std::size_t Start = 0;
    while (Start <= S.size()) {
        std::size_t Comma = S.find(',', Start);
        if (Comma == std::string::npos)
            Comma = S.size();
        std::string Element = Trim(S.substr(Start, Comma - Start));
        Start = Comma + 1;
        if (Element.empty())
            continue;
        Int64 Ordinal = GetEnumValue(Info->ElementTypeName, Element);
        if (Ordinal < 0 &&
            (!TryParseInteger(Element, Ordinal) || !IsEnumOrdinal(Info->ElementTypeName, Ordinal)))
            RaiseInvalidElement(Element);
        if (Ordinal < 0 || Ordinal > 63)
            RaiseInvalidElement(Element);
        Bits |= std::uint64_t{1} << Ordinal;
    }
    return static_cast<Int64>(Bits);
}

bool HasEnumNames(const std::string& TypeName)
{
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    return Registry.Enumerations.count(TypeName) != 0;
}

} // namespace

bool TPropInfo::IsWritable() const
{
    return SetOrd || SetFloat || SetStr || SetObject || SetMethod;
}

void RegisterPropInfo(const TMetaClass* AClass, TPropInfo Info)
{
    if (AClass == nullptr)
        return;
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    TClassProps& Props = Registry.Classes[AClass];
    std::string Key = UpperCase(Info.Name);
    auto Found = Props.ByName.find(Key);
    if (Found != Props.ByName.end()) {
        *Found->second = std::move(Info);
        return;
    }
    Props.List.push_back(std::make_unique<TPropInfo>(std::move(Info)));
    Props.ByName.emplace(Key, Props.List.back().get());
}

void RegisterEnumeration(const std::string& TypeName, std::vector<std::string> Names)
{
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    Registry.Enumerations[TypeName] = std::move(Names);
}

std::string GetEnumName(const std::string& TypeName, Int64 Value)
{
    EnsureBuiltins();
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    auto Found = Registry.Enumerations.find(TypeName);
    if (Found != Registry.Enumerations.end() && Value >= 0 &&
        Value < static_cast<Int64>(Found->second.size()))
        return Found->second[static_cast<std::size_t>(Value)];
    return std::to_string(Value);
}

int GetEnumValue(const std::string& TypeName, const std::string& Name)
{
    EnsureBuiltins();
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    auto Found = Registry.Enumerations.find(TypeName);
    if (Found == Registry.Enumerations.end())
        return -1;
    const auto& Names = Found->second;
    for (std::size_t I = 0; I < Names.size(); ++I)
        if (SameText(Names[I], Name))
            return static_cast<int>(I);
    return -1;
}

bool IsEnumOrdinal(const std::string& TypeName, Int64 Value)
{
    EnsureBuiltins();
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    auto Found = Registry.Enumerations.find(TypeName);
    return Found == Registry.Enumerations.end() ||
           (Value >= 0 && Value < static_cast<Int64>(Found->second.size()));
}

void RegisterIntegerConsts(const std::string& TypeName, TIdentToInt IdentToInt,
                           TIntToIdent IntToIdent)
{
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    Registry.Consts[TypeName] = TIntegerConsts{std::move(IdentToInt), std::move(IntToIdent)};
}

TIdentToInt FindIdentToInt(const std::string& TypeName)
{
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    auto Found = Registry.Consts.find(TypeName);
    return Found != Registry.Consts.end() ? Found->second.IdentToInt : TIdentToInt();
}

TIntToIdent FindIntToIdent(const std::string& TypeName)
{
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    auto Found = Registry.Consts.find(TypeName);
    return Found != Registry.Consts.end() ? Found->second.IntToIdent : TIntToIdent();
}

const TPropInfo* GetPropInfo(const TMetaClass* AClass, const std::string& PropName)
{
    EnsureBuiltins();
    auto& Registry = TRegistry::Instance();
    std::string Key = UpperCase(PropName);
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    for (const TMetaClass* Class = AClass; Class != nullptr; Class = Class->ClassParent())
        if (const TPropInfo* Info = FindInClass(Registry, Class, Key))
            return Info;
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName)
{
    return Instance != nullptr ? GetPropInfo(Instance->ClassType(), PropName) : nullptr;
}

bool IsPublishedProp(const TObject* Instance, const std::string& PropName)
{
    return GetPropInfo(Instance, PropName) != nullptr;
}

std::vector<const TPropInfo*> GetPropList(const TMetaClass* AClass)
{
    EnsureBuiltins();
    std::vector<const TMetaClass*> Chain;
    for (const TMetaClass* Class = AClass; Class != nullptr; Class = Class->ClassParent())
        Chain.push_back(Class);
    std::vector<const TPropInfo*> Result;
    auto& Registry = TRegistry::Instance();
    std::lock_guard<std::mutex> Lock(Registry.Mutex);
    for (auto Class = Chain.rbegin(); Class != Chain.rend(); ++Class) {
        auto Props = Registry.Classes.find(*Class);
        if (Props == Registry.Classes.end())
            continue;
        for (const auto& Info : Props->second.List) {
            auto Hidden = std::find_if(Result.begin(), Result.end(), [&](const TPropInfo* Old) {
                return SameText(Old->Name, Info->Name);
            });
            if (Hidden != Result.end())
                *Hidden = Info.get();
            else
                Result.push_back(Info.get());
        }
    }
    return Result;
}

std::vector<const TPropInfo*> GetPropList(const TObject* Instance)
{
    return Instance != nullptr ? GetPropList(Instance->ClassType())
                               : std::vector<const TPropInfo*>();
}

Int64 GetOrdProp(const TObject* Instance, const TPropInfo* Info)
{
    if (!IsOrdinalKind(Checked(Info)->Kind))
        RaiseInvalidType(Info);
    return Info->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* Info, Int64 Value)
{
    if (!IsOrdinalKind(Checked(Info)->Kind))
        RaiseInvalidType(Info);
    Writer(Info, Info->SetOrd)(Instance, Value);
}

std::string GetEnumProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkEnumeration)
        RaiseInvalidType(Info);
    return GetEnumName(Info->TypeName, Info->GetOrd(Instance));
}

void SetEnumProp(TObject* Instance, const TPropInfo* Info, const std::string& Value)
{
    if (Checked(Info)->Kind != tkEnumeration)
        RaiseInvalidType(Info);
    Int64 Ordinal = GetEnumValue(Info->TypeName, Trim(Value));
    // Only an enumeration without identifiers takes its ordinals as numbers.
    if (Ordinal < 0 && (HasEnumNames(Info->TypeName) || !TryParseInteger(Value, Ordinal)))
        RaiseInvalidElement(Value);
    Writer(Info, Info->SetOrd)(Instance, Ordinal);
}

std::string GetSetProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkSet)
        RaiseInvalidType(Info);
    return SetToString(Info, Info->GetOrd(Instance));
}

void SetSetProp(TObject* Instance, const TPropInfo* Info, const std::string& Value)
{
    if (Checked(Info)->Kind != tkSet)
        RaiseInvalidType(Info);
    Writer(Info, Info->SetOrd)(Instance, StringToSet(Info, Value));
}

double GetFloatProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkFloat)
        RaiseInvalidType(Info);
    return Info->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* Info, double Value)
{
    if (Checked(Info)->Kind != tkFloat)
        RaiseInvalidType(Info);
    Writer(Info, Info->SetFloat)(Instance, Value);
}

std::string GetStrProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkString)
        RaiseInvalidType(Info);
    return Info->GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo* Info, const std::string& Value)
{
    if (Checked(Info)->Kind != tkString)
        RaiseInvalidType(Info);
    Writer(Info, Info->SetStr)(Instance, Value);
}

TObject* GetObjectProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkClass)
        RaiseInvalidType(Info);
    return Info->GetObject(Instance);
}

void SetObjectProp(TObject* Instance, const TPropInfo* Info, TObject* Value)
{
    if (Checked(Info)->Kind != tkClass)
        RaiseInvalidType(Info);
    Writer(Info, Info->SetObject)(Instance, Value);
}

TMethod GetMethodProp(const TObject* Instance, const TPropInfo* Info)
{
    if (Checked(Info)->Kind != tkMethod)
        RaiseInvalidType(Info);
    return Info->GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const TPropInfo* Info, const TMethod& Value)
{
    if (Checked(Info)->Kind != tkMethod)
        RaiseInvalidType(Info);
    Writer(Info, Info->SetMethod)(Instance, Value);
}

std::string GetPropValue(const TObject* Instance, const TPropInfo* Info)
{
    switch (Checked(Info)->Kind) {
    case tkInteger:
    case tkInt64: {
        Int64 Value = Info->GetOrd(Instance);
        std::string Ident;
        TIntToIdent IntToIdent = FindIntToIdent(Info->TypeName);
        if (IntToIdent && Value >= std::numeric_limits<int>::min() &&
            Value <= std::numeric_limits<int>::max() && IntToIdent(static_cast<int>(Value), Ident))
            return Ident;
        return std::to_string(Value);
    }
    case tkChar: {
        Int64 Value = Info->GetOrd(Instance);
        return Value == 0 ? std::string() : std::string(1, static_cast<char>(Value));
    }
    case tkEnumeration:
        return GetEnumProp(Instance, Info);
    case tkSet:
        return GetSetProp(Instance, Info);
    case tkFloat:
        return FloatText(Info->GetFloat(Instance));
    case tkString:
        return Info->GetStr(Instance);
    default:
        RaiseInvalidType(Info);
    }
}

void SetPropValue(TObject* Instance, const TPropInfo* Info, const std::string& Value)
{
    switch (Checked(Info)->Kind) {
    case tkInteger:
    case tkInt64: {
        Int64 Number = 0;
        int Ident = 0;
        TIdentToInt IdentToInt = FindIdentToInt(Info->TypeName);
        if (IdentToInt && IdentToInt(Trim(Value), Ident))
            Number = Ident;
        else if (!TryParseInteger(Value, Number))
            PropertyDetail::RaiseInvalidValue(Info->Name);
        return SetOrdProp(Instance, Info, Number);
    }
    case tkChar:
        if (Value.size() > 1)
            PropertyDetail::RaiseInvalidValue(Info->Name);
        return SetOrdProp(Instance, Info, Value.empty() ? 0 : static_cast<unsigned char>(Value[0]));
    case tkEnumeration:
        return SetEnumProp(Instance, Info, Value);
    case tkSet:
        return SetSetProp(Instance, Info, Value);
    case tkFloat: {
        double Number = 0;
        if (!TryParseFloat(Value, Number))
            PropertyDetail::RaiseInvalidValue(Info->Name);
        return SetFloatProp(Instance, Info, Number);
    }
    case tkString:
        return SetStrProp(Instance, Info, Value);
    default:
        RaiseInvalidType(Info);
    }
}

#define TW_BY_NAME_GET(Result, Function)                                                           \
    Result Function(const TObject* Instance, const std::string& PropName)                          \
    {                                                                                              \
        return Function(Instance, Require(Instance, PropName));                                    \
    }
#define TW_BY_NAME_SET(Type, Function)                                                             \
    void Function(TObject* Instance, const std::string& PropName, Type Value)                      \
    {                                                                                              \
        Function(Instance, Require(Instance, PropName), Value);                                    \
    }

TW_BY_NAME_GET(Int64, GetOrdProp)
TW_BY_NAME_SET(Int64, SetOrdProp)
TW_BY_NAME_GET(std::string, GetEnumProp)
TW_BY_NAME_SET(const std::string&, SetEnumProp)
TW_BY_NAME_GET(std::string, GetSetProp)
TW_BY_NAME_SET(const std::string&, SetSetProp)
TW_BY_NAME_GET(double, GetFloatProp)
TW_BY_NAME_SET(double, SetFloatProp)
TW_BY_NAME_GET(std::string, GetStrProp)
TW_BY_NAME_SET(const std::string&, SetStrProp)
TW_BY_NAME_GET(TObject*, GetObjectProp)
TW_BY_NAME_SET(TObject*, SetObjectProp)
TW_BY_NAME_GET(TMethod, GetMethodProp)
TW_BY_NAME_SET(const TMethod&, SetMethodProp)
TW_BY_NAME_GET(std::string, GetPropValue)
TW_BY_NAME_SET(const std::string&, SetPropValue)

namespace PropertyDetail {

std::string IntegerTypeName(std::size_t Size, bool Signed)
{
    switch (Size) {
    case 1:
        return Signed ? "ShortInt" : "Byte";
    case 2:
        return Signed ? "SmallInt" : "Word";
    case 4:
        return Signed ? "Integer" : "Cardinal";
    default:
        return Signed ? "Int64" : "UInt64";
    }
}

std::string FloatTypeName(std::size_t Size)
{
    return Size == sizeof(float) ? "Single" : Size == sizeof(double) ? "Double" : "Extended";
}

void RaiseRangeError(const std::string& PropName, Int64 Value)
{
    throw ERangeError("Value " + std::to_string(Value) + " out of range for property " + PropName);
}

void RaiseInvalidValue(const std::string& PropName)
{
    throw EPropertyConvertError("Invalid value for property " + PropName);
}

void RaiseInvalidCast()
{
    throw EInvalidCast("Invalid class typecast");
}

} // namespace PropertyDetail
