// platform/ui/oleauto.h: late binding to automation servers by program identifier: a variant
// that holds a value, a 2-D array or a server object, property reads and method calls by name
// (with named arguments), and the registry of the servers this platform can create.
#pragma once

#include "platform/rtl/exceptions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

TW_DECLARE_EXCEPTION(EOleError, Exception);
TW_DECLARE_EXCEPTION(EOleSysError, EOleError);

class IAutoObject;
struct TNamedParam;

// A value of an automation call: empty, Boolean, integer, double, string, a server object or
// a two-dimensional array whose indexes start at 1.
class TOleVariant {
public:
    enum TKind { vkEmpty, vkBoolean, vkInteger, vkDouble, vkString, vkDispatch, vkArray };

    TOleVariant() = default;
    TOleVariant(bool Value) : FKind(vkBoolean), FInt(Value ? 1 : 0) {}
    TOleVariant(int Value) : FKind(vkInteger), FInt(Value) {}
    TOleVariant(long long Value) : FKind(vkInteger), FInt(Value) {}
    TOleVariant(double Value) : FKind(vkDouble), FDouble(Value) {}
    TOleVariant(const char* Value) : FKind(vkString), FString(Value) {}
    TOleVariant(std::string Value) : FKind(vkString), FString(std::move(Value)) {}
    TOleVariant(std::shared_ptr<IAutoObject> Value);
    // An array of Rows x Cols empty values.
    static TOleVariant Array2D(int Rows, int Cols);

    TKind Kind() const { return FKind; }
    bool IsEmpty() const { return FKind == vkEmpty; }
    // The run-time library's conversion to text: "" for empty, "True"/"False", decimal numbers;
    // EVariantError for objects and arrays.
    std::string ToString() const;
    bool ToBoolean() const;
    long long ToInteger() const;

    // Array access, 1-based.
    int HighBound(int Dim) const; // 1: rows, 2: columns
    const TOleVariant& Item(int Row, int Col) const;
    void SetItem(int Row, int Col, TOleVariant Value);

    // Late-bound calls on a server object; EOleError when the variant holds none or the server
    // knows no such name.
    TOleVariant OlePropertyGet(const std::string& Name,
                               const std::vector<TOleVariant>& Args = {}) const;
    TOleVariant OleFunction(const std::string& Name, const std::vector<TOleVariant>& Args,
                            const std::vector<TNamedParam>& Named) const;
    TOleVariant OleFunction(const std::string& Name,
                            const std::vector<TOleVariant>& Args = {}) const;
    void OleProcedure(const std::string& Name, const std::vector<TOleVariant>& Args,
                      const std::vector<TNamedParam>& Named) const;
    void OleProcedure(const std::string& Name, const std::vector<TOleVariant>& Args = {}) const;
    const std::shared_ptr<IAutoObject>& Dispatch() const { return FDispatch; }

private:
    TKind FKind = vkEmpty;
    long long FInt = 0;
    double FDouble = 0;
    std::string FString;
    std::shared_ptr<IAutoObject> FDispatch;
    int FRows = 0;
    int FCols = 0;
    std::shared_ptr<std::vector<TOleVariant>> FItems;
};

struct TNamedParam {
    std::string Name;
    TOleVariant Value;
};

inline TOleVariant TOleVariant::OleFunction(const std::string& Name,
                                            const std::vector<TOleVariant>& Args) const
{
    return OleFunction(Name, Args, std::vector<TNamedParam>());
}

inline void TOleVariant::OleProcedure(const std::string& Name,
                                      const std::vector<TOleVariant>& Args) const
{
    OleProcedure(Name, Args, std::vector<TNamedParam>());
}

enum TInvokeKind { ikPropertyGet, ikMethod };

// An object of an automation server: names are matched without regard to case.
class IAutoObject {
public:
    virtual ~IAutoObject() = default;
    virtual TOleVariant Invoke(const std::string& Name, TInvokeKind Kind,
                               const std::vector<TOleVariant>& Args,
                               const std::vector<TNamedParam>& Named) = 0;
};

// Makes a server's application object; raises when the server cannot run here.
using TOleServerFactory = std::function<std::shared_ptr<IAutoObject>()>;

// Registers (or with an empty factory removes) the server of ProgID, matched without regard to
// case; returns the factory it replaces, so that a test can put it back.
TOleServerFactory RegisterOleServer(const std::string& ProgID, TOleServerFactory Factory);

// The application object of the server registered under ProgID. Raises EOleSysError
// "Invalid class string" for an unknown identifier, and passes on the factory's failure.
TOleVariant CreateOleObject(const std::string& ProgID);

// The stand-in spreadsheet server's program identifier and factory (spreadsheetserver.cpp):
// present when the converter it runs is on the PATH.
extern const char* const SpreadsheetServerProgID;
std::shared_ptr<IAutoObject> CreateSpreadsheetServer();
