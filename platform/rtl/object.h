// platform/rtl/object.h: TObject, the root of every class of the system, and TPersistent,
// an object whose state can be copied into another with Assign.
#pragma once

#include <string>

class TMetaClass;

class TObject {
public:
    virtual ~TObject() = default;
    // The dynamic class name, spelled as the class is declared ("TStringList").
    std::string ClassName() const;
    // The class of this object (platform/rtl/classregistry.h); never nil.
    const TMetaClass* ClassType() const;
    // True when this object's class is AClass or one of its descendants.
    bool InheritsFrom(const TMetaClass* AClass) const;
};

class TPersistent : public TObject {
public:
    // Copies Source into this object; a class that cannot take Source raises EConvertError
    // "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent* Source);

protected:
    // Called by Assign when this class does not know Source: lets Source copy itself into Dest.
    virtual void AssignTo(TPersistent* Dest) const;

private:
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};
