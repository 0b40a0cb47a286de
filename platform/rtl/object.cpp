#include "platform/rtl/object.h"

#include "platform/rtl/exceptions.h"

#include <typeinfo>

std::string TObject::ClassName() const
{
    return DemangledClassName(typeid(*this));
}

void TPersistent::Assign(const TPersistent* Source)
{
    if (Source != nullptr)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const
{
    std::string SourceName = Source != nullptr ? Source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}
