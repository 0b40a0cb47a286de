#include "platform/rtl/object.h"

#include "platform/rtl/classregistry.h"
#include "platform/rtl/exceptions.h"

#include <typeinfo>

std::string TObject::ClassName() const
{
    return DemangledClassName(typeid(*this));
}

const TMetaClass* TObject::ClassType() const
{
    return TMetaClass::ForType(typeid(*this));
}

bool TObject::InheritsFrom(const TMetaClass* AClass) const
{
    return AClass != nullptr && AClass->IsInstance(this);
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
