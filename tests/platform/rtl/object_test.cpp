#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

#include <gtest/gtest.h>

namespace {

class TPoint3 : public TPersistent {
public:
    int X = 0;
    void Assign(const TPersistent* Source) override
    {
        if (auto Point = dynamic_cast<const TPoint3*>(Source)) {
            X = Point->X;
            return;
        }
        TPersistent::Assign(Source);
    }
};

class TOther : public TPersistent {};

// Knows how to copy itself into a TPoint3, although TPoint3 does not know it.
class TExporter : public TPersistent {
protected:
    void AssignTo(TPersistent* Dest) const override
    {
        if (auto Point = dynamic_cast<TPoint3*>(Dest)) {
            Point->X = 42;
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

} // namespace

TEST(Object, ClassNameIsTheDeclaredName)
{
    TPoint3 Point;
    const TObject& Base = Point;
    EXPECT_EQ(Base.ClassName(), "TPoint3");
    EXPECT_EQ(EConvertError("x").ClassName(), "EConvertError");
}

TEST(Object, AssignFallsBackToTheSourcesAssignTo)
{
    TPoint3 Target;
    TExporter Exporter;
    Target.Assign(&Exporter);
    EXPECT_EQ(Target.X, 42);
}

TEST(Object, AssignOfAnUnknownClassRaisesCannotAssign)
{
    TPoint3 Target;
    TOther Other;
    try {
        Target.Assign(&Other);
        FAIL() << "no exception";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a TOther to a TPoint3");
    }
    try {
        Target.Assign(nullptr);
        FAIL() << "no exception";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a nil to a TPoint3");
    }
}
