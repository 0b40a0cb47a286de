#include "platform/rtl/exceptions.h"

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

std::string DemangledClassName(const std::type_info& Type)
{
    int Status = 0;
    std::unique_ptr<char, decltype(&std::free)> Name(
        abi::__cxa_demangle(Type.name(), nullptr, nullptr, &Status), &std::free);
    std::string Result = (Status == 0 && Name) ? Name.get() : Type.name();
    auto Template = Result.find('<');
    if (Template != std::string::npos)
        Result.erase(Template);
    auto Scope = Result.rfind("::");
    if (Scope != std::string::npos)
        Result.erase(0, Scope + 2);
    return Result;
}

std::string Exception::ClassName() const
{
    return DemangledClassName(typeid(*this));
}

void Abort()
{
    throw EAbort("Operation aborted");
}

void RaiseLastOSError(const std::string& What, int Code)
{
    throw EOSError(What + ": " + std::strerror(Code), Code);
}
