// platform/ui/oleauto.cpp: the variant of late binding and the registry of automation servers.
#include "platform/ui/oleauto.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

#include <map>
#include <mutex>

TOleVariant::TOleVariant(std::shared_ptr<IAutoObject> Value)
    : FKind(vkDispatch), FDispatch(std::move(Value))
{
}

TOleVariant TOleVariant::Array2D(int Rows, int Cols)
{
    TOleVariant V;
    V.FKind = vkArray;
    V.FRows = std::max(Rows, 0);
    V.FCols = std::max(Cols, 0);
    V.FItems =
        std::make_shared<std::vector<TOleVariant>>(std::size_t(V.FRows) * std::size_t(V.FCols));
    return V;
}

std::string TOleVariant::ToString() const
{
    switch (FKind) {
    case vkEmpty:
        return std::string();
    case vkBoolean:
        return FInt != 0 ? "True" : "False";
    case vkInteger:
        return IntToStr(FInt);
    case vkDouble:
        return FloatToStr(FDouble);
    case vkString:
        return FString;
    default:
        throw EVariantError("Invalid variant type conversion");
    }
}

bool TOleVariant::ToBoolean() const
{
    if (FKind == vkBoolean || FKind == vkInteger)
        return FInt != 0;
    if (FKind == vkString)
        return SameText(FString, "True");
    throw EVariantError("Invalid variant type conversion");
}

long long TOleVariant::ToInteger() const
{
    switch (FKind) {
    case vkBoolean:
    case vkInteger:
        return FInt;
    case vkDouble:
        return Round(FDouble);
    case vkString:
        return StrToInt64(FString);
    default:
        throw EVariantError("Invalid variant type conversion");
    }
}

int TOleVariant::HighBound(int Dim) const
{
    if (FKind != vkArray || Dim < 1 || Dim > 2)
        throw EVariantError("Variant is not an array");
    return Dim == 1 ? FRows : FCols;
}

const TOleVariant& TOleVariant::Item(int Row, int Col) const
{
    if (FKind != vkArray || Row < 1 || Row > FRows || Col < 1 || Col > FCols)
        throw EVariantError("Variant or safe array index out of bounds");
    return (*FItems)[std::size_t(Row - 1) * std::size_t(FCols) + std::size_t(Col - 1)];
}

void TOleVariant::SetItem(int Row, int Col, TOleVariant Value)
{
    const_cast<TOleVariant&>(static_cast<const TOleVariant&>(*this).Item(Row, Col)) =
        std::move(Value);
}

TOleVariant TOleVariant::OlePropertyGet(const std::string& Name,
                                        const std::vector<TOleVariant>& Args) const
{
    if (FKind != vkDispatch || !FDispatch)
        throw EOleError("Variant does not reference an automation object");
    return FDispatch->Invoke(Name, ikPropertyGet, Args, {});
}

TOleVariant TOleVariant::OleFunction(const std::string& Name, const std::vector<TOleVariant>& Args,
                                     const std::vector<TNamedParam>& Named) const
{
    if (FKind != vkDispatch || !FDispatch)
        throw EOleError("Variant does not reference an automation object");
    return FDispatch->Invoke(Name, ikMethod, Args, Named);
}

void TOleVariant::OleProcedure(const std::string& Name, const std::vector<TOleVariant>& Args,
                               const std::vector<TNamedParam>& Named) const
{
    OleFunction(Name, Args, Named);
}

namespace {

struct TServerRegistry {
    std::mutex Lock;
    std::map<std::string, TOleServerFactory> Factories;
    TServerRegistry() { Factories[LowerCase(SpreadsheetServerProgID)] = CreateSpreadsheetServer; }
};

TServerRegistry& Registry()
{
    static TServerRegistry R;
    return R;
}

} // namespace

TOleServerFactory RegisterOleServer(const std::string& ProgID, TOleServerFactory Factory)
{
    TServerRegistry& R = Registry();
    std::lock_guard<std::mutex> Guard(R.Lock);
    const std::string Key = LowerCase(ProgID);
    TOleServerFactory Old;
    auto It = R.Factories.find(Key);
    if (It != R.Factories.end()) {
        Old = std::move(It->second);
        R.Factories.erase(It);
    }
    if (Factory)
        R.Factories[Key] = std::move(Factory);
    return Old;
}

TOleVariant CreateOleObject(const std::string& ProgID)
{
    TOleServerFactory Factory;
    {
        TServerRegistry& R = Registry();
        std::lock_guard<std::mutex> Guard(R.Lock);
        auto It = R.Factories.find(LowerCase(ProgID));
        if (It != R.Factories.end())
            Factory = It->second;
    }
    if (!Factory)
        throw EOleSysError("Invalid class string");
    std::shared_ptr<IAutoObject> Object = Factory();
    if (!Object)
        throw EOleSysError("Server execution failed");
    return TOleVariant(std::move(Object));
}
