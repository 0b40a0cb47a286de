#include "platform/rtl/classregistry.h"

#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TCustomGrid : public TComponent {
public:
    using TComponent::TComponent;
    virtual void Paint() = 0;
};

class TStringGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;
    void Paint() override {}
};

class TAdvGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
};

class TFontInfo : public TPersistent {
public:
    int Size = 8;
};

// An interface before the component base: the class line still runs through TComponent.
class ISink {
public:
    virtual ~ISink() = default;
};
class TListBoxSink : public ISink, public TComponent {
public:
    using TComponent::TComponent;
};

namespace other {
class TStringGrid : public TComponent {
public:
    using TComponent::TComponent;
};
} // namespace other

std::vector<std::string> Lineage(const TMetaClass* Class)
{
    std::vector<std::string> Names;
    for (; Class != nullptr; Class = Class->ClassParent())
        Names.push_back(Class->ClassName());
    return Names;
}

} // namespace

TEST(ClassRegistry, ParentsFollowTheClassDeclarations)
{
    using TNames = std::vector<std::string>;
    EXPECT_EQ(
        Lineage(TMetaClass::Of<TAdvGrid>()),
        (TNames{"TAdvGrid", "TStringGrid", "TCustomGrid", "TComponent", "TPersistent", "TObject"}));
    EXPECT_EQ(Lineage(TMetaClass::Of<TListBoxSink>()),
              (TNames{"TListBoxSink", "TComponent", "TPersistent", "TObject"}));
    EXPECT_EQ(TMetaClass::Of<TObject>()->ClassParent(), nullptr);
}

TEST(ClassRegistry, ClassTypeIsTheMetaclassOfTheDynamicClass)
{
    TAdvGrid Grid(nullptr);
    const TObject& AsObject = Grid;
    EXPECT_EQ(AsObject.ClassType(), TMetaClass::Of<TAdvGrid>());
    EXPECT_EQ(AsObject.ClassType()->TypeInfo(), typeid(TAdvGrid));
}

TEST(ClassRegistry, InheritsFromAnsweresForInstancesAndClasses)
{
    TStringGrid Grid(nullptr);
    TFontInfo Font;
    struct TCase {
        const TObject* Instance;
        const TMetaClass* Class;
        bool Expected;
    };
    const std::vector<TCase> Cases = {
        {&Grid, TMetaClass::Of<TStringGrid>(), true}, {&Grid, TMetaClass::Of<TCustomGrid>(), true},
        {&Grid, TMetaClass::Of<TComponent>(), true},  {&Grid, TMetaClass::Of<TObject>(), true},
        {&Grid, TMetaClass::Of<TAdvGrid>(), false},   {&Grid, TMetaClass::Of<TFontInfo>(), false},
        {&Font, TMetaClass::Of<TPersistent>(), true}, {&Font, TMetaClass::Of<TComponent>(), false},
    };
    for (const auto& Case : Cases) {
        EXPECT_EQ(Case.Instance->InheritsFrom(Case.Class), Case.Expected)
            << Case.Instance->ClassName() << " / " << Case.Class->ClassName();
        EXPECT_EQ(Case.Instance->ClassType()->InheritsFrom(Case.Class), Case.Expected);
        EXPECT_EQ(Case.Class->IsInstance(Case.Instance), Case.Expected);
    }
    EXPECT_FALSE(Grid.InheritsFrom(nullptr));
    EXPECT_FALSE(TMetaClass::Of<TComponent>()->IsInstance(nullptr));
}

TEST(ClassRegistry, RegisteredClassesAreFoundByNameIgnoringCase)
{
    RegisterClasses<TStringGrid, TFontInfo>();
    EXPECT_EQ(GetClass("TStringGrid"), TMetaClass::Of<TStringGrid>());
    EXPECT_EQ(GetClass("tstringgrid"), TMetaClass::Of<TStringGrid>());
    EXPECT_EQ(FindClass("TFontInfo"), TMetaClass::Of<TFontInfo>());
    EXPECT_EQ(GetClass("TAdvGrid"), nullptr); // known, but never registered
    RegisterClass<TStringGrid>();             // again: no harm

    UnRegisterClass<TStringGrid>();
    EXPECT_EQ(GetClass("TStringGrid"), nullptr);
    try {
        FindClass("TStringGrid");
        FAIL() << "no exception";
    } catch (const EClassNotFound& E) {
        EXPECT_EQ(E.Message(), "Class TStringGrid not found");
    }
    UnRegisterClass<TFontInfo>();
}

TEST(ClassRegistry, AnotherClassOfTheSameNameIsRefused)
{
    RegisterClass<TStringGrid>();
    EXPECT_THROW(RegisterClass<other::TStringGrid>(), EFilerError);
    EXPECT_EQ(GetClass("TStringGrid"), TMetaClass::Of<TStringGrid>());
    UnRegisterClass<other::TStringGrid>(); // not the registered one: nothing happens
    EXPECT_EQ(GetClass("TStringGrid"), TMetaClass::Of<TStringGrid>());
    UnRegisterClass<TStringGrid>();
}

TEST(ClassRegistry, ARegisteredClassCreatesInstances)
{
    RegisterClasses<TAdvGrid, TFontInfo, TCustomGrid>();
    TComponent Form(nullptr);
    const TMetaClass* GridClass = FindClass("TAdvGrid");
    ASSERT_TRUE(GridClass->CanCreate());
    TComponent* Grid = GridClass->Create(&Form);
    EXPECT_EQ(Grid->ClassType(), GridClass);
    EXPECT_EQ(Grid->Owner(), &Form); // freed by the form

    std::unique_ptr<TPersistent> Font = FindClass("TFontInfo")->CreatePersistent();
    ASSERT_NE(dynamic_cast<TFontInfo*>(Font.get()), nullptr);
    EXPECT_EQ(static_cast<TFontInfo*>(Font.get())->Size, 8);

    const TMetaClass* Abstract = FindClass("TCustomGrid");
    EXPECT_FALSE(Abstract->CanCreate());
    EXPECT_THROW(Abstract->Create(&Form), EInvalidOperation);
    EXPECT_THROW(GridClass->CreatePersistent(), EInvalidOperation);
    UnRegisterClass<TAdvGrid>();
    UnRegisterClass<TFontInfo>();
    UnRegisterClass<TCustomGrid>();
}
