#include "platform/rtl/collection.h"
#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int LiveItems = 0;

class TNamedItem : public TCollectionItem {
public:
    explicit TNamedItem(TCollection* Collection) : TCollectionItem(Collection) { ++LiveItems; }
    ~TNamedItem() override { --LiveItems; }

    std::string Name;

    void Assign(const TPersistent* Source) override
    {
        if (auto Item = dynamic_cast<const TNamedItem*>(Source)) {
            Name = Item->Name;
            return;
        }
        TCollectionItem::Assign(Source);
    }

    void Rename(const std::string& Value)
    {
        Name = Value;
        Changed(false);
    }

protected:
    std::string GetDisplayName() const override
    {
        return Name.empty() ? TCollectionItem::GetDisplayName() : Name;
    }
};

// Records every Update call: the item's name, or "*" for the whole collection.
class TRecordingCollection : public TCollection {
public:
    TRecordingCollection() : TCollection(CollectionItemClass<TNamedItem>()) {}

    TNamedItem* Add(const std::string& Name)
    {
        auto Item = static_cast<TNamedItem*>(TCollection::Add());
        Item->Name = Name;
        return Item;
    }
    TNamedItem* Item(int Index) const { return static_cast<TNamedItem*>(Items(Index)); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> Result;
        for (int I = 0; I < Count(); ++I)
            Result.push_back(Item(I)->Name);
        return Result;
    }

    std::vector<std::string> Updates;

protected:
    void Update(TCollectionItem* Item) override
    {
        Updates.push_back(Item == nullptr ? "*" : static_cast<TNamedItem*>(Item)->Name);
    }
};

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override { LiveItems = 0; }
    void TearDown() override { EXPECT_EQ(LiveItems, 0); }
};

} // namespace

TEST_F(CollectionTest, ItemsKnowTheirCollectionIndexAndID)
{
    TRecordingCollection Collection;
    TNamedItem* A = Collection.Add("a");
    TNamedItem* B = Collection.Add("b");
    auto C = static_cast<TNamedItem*>(Collection.Insert(0));
    C->Name = "c";
    EXPECT_EQ(Collection.Names(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(A->Collection(), &Collection);
    EXPECT_EQ(C->Index(), 0);
    EXPECT_EQ(B->Index(), 2);
    EXPECT_EQ(A->ID(), 0);
    EXPECT_EQ(B->ID(), 1);
    EXPECT_EQ(C->ID(), 2);
    EXPECT_EQ(Collection.FindItemID(1), B);
    EXPECT_EQ(Collection.FindItemID(7), nullptr);

    // IDs are never reused.
    Collection.Delete(2);
    EXPECT_EQ(Collection.Add("d")->ID(), 3);
    EXPECT_EQ(Collection.FindItemID(1), nullptr);
}

TEST_F(CollectionTest, TheCollectionFreesItsItems)
{
    {
        TRecordingCollection Collection;
        Collection.Add("a");
        Collection.Add("b");
        Collection.Add("c");
        EXPECT_EQ(LiveItems, 3);
        Collection.Delete(1);
        EXPECT_EQ(LiveItems, 2);
        EXPECT_EQ(Collection.Names(), (std::vector<std::string>{"a", "c"}));
        Collection.Clear();
        EXPECT_EQ(LiveItems, 0);
        Collection.Add("d");
        Collection.Add("e");
    }
    EXPECT_EQ(LiveItems, 0);
}

TEST_F(CollectionTest, FreeingAnItemTakesItOutOfItsCollection)
{
    TRecordingCollection Collection;
    Collection.Add("a");
    TNamedItem* B = Collection.Add("b");
    Collection.Add("c");
    delete B;
    EXPECT_EQ(Collection.Names(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(CollectionTest, SetCollectionHandsTheItemOver)
{
    TRecordingCollection From;
    TRecordingCollection To;
    TNamedItem* A = From.Add("a");
    A->SetCollection(&To);
    EXPECT_EQ(From.Count(), 0);
    EXPECT_EQ(To.Names(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(A->Collection(), &To);

    A->SetCollection(nullptr); // now ours to free
    EXPECT_EQ(To.Count(), 0);
    EXPECT_EQ(A->Index(), -1);
    delete A;
}

TEST_F(CollectionTest, SettingIndexMovesTheItem)
{
    struct Case {
        int From, To;
        std::vector<std::string> Expected;
    };
    std::vector<Case> Cases = {
        {0, 3, {"b", "c", "d", "a"}}, {3, 0, {"d", "a", "b", "c"}}, {1, 2, {"a", "c", "b", "d"}},
        {2, 1, {"a", "c", "b", "d"}}, {1, 1, {"a", "b", "c", "d"}},
    };
    for (const Case& C : Cases) {
        TRecordingCollection Collection;
        for (const char* Name : {"a", "b", "c", "d"})
            Collection.Add(Name);
        TNamedItem* Moved = Collection.Item(C.From);
        Collection.Updates.clear();
        Moved->SetIndex(C.To);
        EXPECT_EQ(Collection.Names(), C.Expected) << C.From << " -> " << C.To;
        EXPECT_EQ(Moved->Index(), C.To);
        EXPECT_EQ(Collection.Updates.size(), C.From == C.To ? 0u : 1u);
    }
}

TEST_F(CollectionTest, BadIndexRaisesAndChangesNothing)
{
    TRecordingCollection Collection;
    Collection.Add("a");
    Collection.Add("b");
    auto Expect = [&](auto Action, const std::string& Message) {
        try {
            Action();
            ADD_FAILURE() << "no exception for " << Message;
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), Message);
        }
        EXPECT_EQ(Collection.Names(), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(LiveItems, 2);
    };
    Expect([&] { Collection.Items(2); }, "List index out of bounds (2)");
    Expect([&] { Collection.Delete(-1); }, "List index out of bounds (-1)");
    Expect([&] { Collection.Insert(3); }, "List index out of bounds (3)");
    Expect([&] { Collection.Item(0)->SetIndex(2); }, "List index out of bounds (2)");
}

TEST_F(CollectionTest, UpdateTellsOfEachChangeOrOnceAfterEndUpdate)
{
    TRecordingCollection Collection;
    TNamedItem* A = Collection.Add("a");
    Collection.Add("b");
    A->Rename("a2");
    Collection.Delete(1);
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"*", "*", "a2", "*"}));

    Collection.Updates.clear();
    Collection.BeginUpdate();
    Collection.BeginUpdate();
    Collection.Add("c");
    A->Rename("a3");
    A->SetIndex(1);
    Collection.EndUpdate();
    EXPECT_TRUE(Collection.Updates.empty());
    Collection.EndUpdate();
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"*"}));

    Collection.Updates.clear();
    Collection.Clear();
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"*"}));
}

TEST_F(CollectionTest, AssignCopiesItemByItem)
{
    TRecordingCollection Source;
    Source.Add("x");
    Source.Add("y");
    TRecordingCollection Target;
    Target.Add("old");
    Target.Updates.clear();
    Target.Assign(&Source);
    EXPECT_EQ(Target.Names(), (std::vector<std::string>{"x", "y"}));
    EXPECT_NE(Target.Item(0), Source.Item(0));
    EXPECT_EQ(Target.Updates, (std::vector<std::string>{"*"}));

    Target.Assign(&Target); // itself: unchanged, not emptied
    EXPECT_EQ(Target.Names(), (std::vector<std::string>{"x", "y"}));

    TNamedItem Loose(nullptr);
    EXPECT_THROW(Target.Assign(&Loose), EConvertError);
}

TEST_F(CollectionTest, DisplayNameDefaultsToTheClassName)
{
    TRecordingCollection Collection;
    TNamedItem* A = Collection.Add("");
    EXPECT_EQ(A->DisplayName(), "TNamedItem");
    A->Name = "first";
    EXPECT_EQ(A->DisplayName(), "first");
}

TEST_F(CollectionTest, AFactoryThatRaisesLeavesNoItem)
{
    struct TFailingItem : TCollectionItem {
        explicit TFailingItem(TCollection* Collection) : TCollectionItem(Collection)
        {
            throw EInvalidOperation("cannot make it");
        }
    };
    TCollection Collection(CollectionItemClass<TFailingItem>());
    EXPECT_THROW(Collection.Add(), EInvalidOperation);
    EXPECT_EQ(Collection.Count(), 0);
}
