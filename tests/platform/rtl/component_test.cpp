#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

// Logs its notifications and its freeing; Link is a reference cleared by Notification.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, const std::string& AName, TLog* ALog) : TComponent(AOwner), Log(ALog)
    {
        SetName(AName);
    }
    ~TProbe() override
    {
        if (Log != nullptr)
            Log->push_back("free " + Name());
    }

    TComponent* Link = nullptr;
    bool CallsInherited = true;

    void LinkTo(TComponent* Other)
    {
        Link = Other;
        Other->FreeNotification(this);
    }
    using TComponent::SetDesigning;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (CallsInherited)
            TComponent::Notification(AComponent, Operation);
        if (Log != nullptr && AComponent != this)
            Log->push_back(Name() + (Operation == opInsert ? " +" : " -") + AComponent->Name() +
                           (ComponentState().Contains(csDestroying) ? " destroying" : ""));
        if (Operation == opRemove && AComponent == Link)
            Link = nullptr;
    }
    void Loaded() override
    {
        TComponent::Loaded();
        if (Log != nullptr)
            Log->push_back("loaded " + Name());
    }

private:
    TLog* Log;
};

} // namespace

TEST(Component, OwnerFreesWhatItOwnsLastFirst)
{
    TLog Log;
    auto Form = new TProbe(nullptr, "Form", nullptr);
    new TProbe(Form, "A", &Log);
    auto Panel = new TProbe(Form, "Panel", &Log);
    new TProbe(Panel, "Inner", &Log);
    ASSERT_EQ(Form->ComponentCount(), 2);
    Log.clear();
    delete Form;
    // The panel goes first; what it owns hears of it, and is freed after the panel's own
    // destructor has run.
    EXPECT_EQ(Log, (TLog{"Inner -Panel destroying", "A -Panel destroying", "free Panel",
                         "free Inner", "free A"}));
}

TEST(Component, ComponentFreedFirstLeavesItsOwner)
{
    TLog Log;
    auto Form = new TProbe(nullptr, "Form", &Log);
    auto A = new TProbe(Form, "A", nullptr);
    auto B = new TProbe(Form, "B", nullptr);
    Log.clear();
    delete A;
    EXPECT_EQ(Log, (TLog{"Form -A"}));
    ASSERT_EQ(Form->ComponentCount(), 1);
    EXPECT_EQ(Form->Components(0), B);
    EXPECT_EQ(Form->FindComponent("A"), nullptr);
    EXPECT_EQ(B->ComponentIndex(), 0);
    delete Form; // frees B only once
}

TEST(Component, InsertionAndRemovalReachTheOwnerAndEverySibling)
{
    TLog Log;
    TProbe Form(nullptr, "Form", &Log);
    new TProbe(&Form, "A", &Log);
    auto B = new TProbe(nullptr, "B", &Log);
    Log.clear();
    Form.InsertComponent(B);
    EXPECT_EQ(Log, (TLog{"A +B", "Form +B"}));
    Log.clear();
    Form.RemoveComponent(B);
    EXPECT_EQ(Log, (TLog{"A -B", "Form -B"}));
    EXPECT_EQ(B->Owner(), nullptr);
    delete B;
}

TEST(Component, InsertingAnOwnedComponentMovesIt)
{
    TLog Log;
    TProbe First(nullptr, "First", &Log);
    TProbe Second(nullptr, "Second", &Log);
    auto A = new TProbe(&First, "A", nullptr);
    Log.clear();
    Second.InsertComponent(A);
    EXPECT_EQ(Log, (TLog{"First -A", "Second +A"}));
    EXPECT_EQ(A->Owner(), &Second);
    EXPECT_EQ(First.ComponentCount(), 0);
    EXPECT_EQ(Second.ComponentCount(), 1);
}

TEST(Component, AnOwnerChainCannotLoop)
{
    TComponent Root(nullptr);
    auto Child = new TComponent(&Root);
    EXPECT_THROW(Child->InsertComponent(&Root), EComponentError);
    EXPECT_THROW(Child->InsertComponent(Child), EComponentError);
    EXPECT_EQ(Child->Owner(), &Root);
}

TEST(Component, FreeNotificationClearsAReferenceAcrossOwners)
{
    TLog Log;
    auto FormA = new TProbe(nullptr, "FormA", nullptr);
    auto FormB = new TProbe(nullptr, "FormB", nullptr);
    auto Socket = new TProbe(FormA, "Socket", &Log);
    auto Dialer = new TProbe(FormB, "Dialer", nullptr);
    Socket->LinkTo(Dialer);
    delete FormB; // frees the dialer
    EXPECT_EQ(Socket->Link, nullptr);
    EXPECT_EQ(Log, (TLog{"Socket -Dialer"}));
    delete FormA;
}

TEST(Component, EitherSideFreedFirstLeavesNoDanglingLink)
{
    // Each way round: the survivor must not be told about, or keep, the freed one.
    for (bool FreeHolderFirst : {true, false}) {
        TLog Log;
        auto Holder = new TProbe(nullptr, "Holder", &Log);
        auto Target = new TProbe(nullptr, "Target", &Log);
        Holder->LinkTo(Target);
        Target->LinkTo(Holder);
        if (FreeHolderFirst) {
            delete Holder;
            EXPECT_EQ(Target->Link, nullptr);
            delete Target;
            EXPECT_EQ(Log, (TLog{"free Holder", "Target -Holder", "free Target"}));
        } else {
            delete Target;
            EXPECT_EQ(Holder->Link, nullptr);
            delete Holder;
            EXPECT_EQ(Log, (TLog{"free Target", "Holder -Target", "free Holder"}));
        }
    }
}

TEST(Component, PartnerThatSkipsTheInheritedNotificationIsStillUnlinked)
{
    TLog Log;
    auto Holder = new TProbe(nullptr, "Holder", &Log);
    Holder->CallsInherited = false;
    auto Target = new TProbe(nullptr, "Target", &Log);
    Holder->LinkTo(Target);
    delete Target;
    delete Holder; // must not tell the freed target
    EXPECT_EQ(Log, (TLog{"free Target", "Holder -Target", "free Holder"}));
}

TEST(Component, RemovedFreeNotificationIsNotDelivered)
{
    TLog Log;
    TProbe Holder(nullptr, "Holder", &Log);
    auto Target = new TProbe(nullptr, "Target", nullptr);
    Target->FreeNotification(&Holder);
    Target->RemoveFreeNotification(&Holder);
    delete Target;
    EXPECT_TRUE(Log.empty());
}

TEST(Component, SiblingWithAFreeNotificationHearsOnce)
{
    // Through the owner and through the link, whether or not the handler calls the inherited one.
    for (bool CallsInherited : {true, false}) {
        TLog Log;
        TProbe Form(nullptr, "Form", nullptr);
        auto Grid = new TProbe(&Form, "Grid", &Log);
        Grid->CallsInherited = CallsInherited;
        auto Source = new TProbe(&Form, "Source", nullptr);
        Grid->LinkTo(Source);
        Log.clear();
        delete Source;
        EXPECT_EQ(Log, (TLog{"Grid -Source"}));
        EXPECT_EQ(Grid->Link, nullptr);
    }
}

TEST(Component, LinkOutlivesAChangeOfOwner)
{
    TLog Log;
    auto Form = new TProbe(nullptr, "Form", nullptr);
    auto Grid = new TProbe(Form, "Grid", &Log);
    // The grid leaves the form and still hears when the menu is freed with it.
    auto Menu = new TProbe(Form, "Menu", nullptr);
    Grid->LinkTo(Menu);
    Form->RemoveComponent(Grid);
    EXPECT_EQ(Grid->Link, Menu);
    Log.clear();
    delete Form;
    EXPECT_EQ(Log, (TLog{"Grid -Menu"}));
    EXPECT_EQ(Grid->Link, nullptr);
    delete Grid;
}

TEST(Component, DestroyComponentsFreesEverythingOwned)
{
    TLog Log;
    TProbe Form(nullptr, "Form", nullptr);
    new TProbe(&Form, "A", &Log);
    new TProbe(&Form, "B", &Log);
    Log.clear();
    Form.DestroyComponents();
    EXPECT_EQ(Form.ComponentCount(), 0);
    EXPECT_EQ(Log, (TLog{"A -B", "free B", "free A"}));
}

TEST(Component, NamesMustBeIdentifiersOrEmpty)
{
    struct TCase {
        std::string Name;
        bool Valid;
    };
    const std::vector<TCase> Cases = {
        {"Button1", true},  {"_x", true},   {"frmMain", true}, {"", true},     {"1Button", false},
        {"my name", false}, {"a.b", false}, {"é", false},      {"a-b", false},
    };
    for (const auto& Case : Cases) {
        TComponent Component(nullptr);
        if (Case.Valid) {
            EXPECT_NO_THROW(Component.SetName(Case.Name)) << Case.Name;
            EXPECT_EQ(Component.Name(), Case.Name);
        } else {
            try {
                Component.SetName(Case.Name);
                ADD_FAILURE() << "accepted " << Case.Name;
            } catch (const EComponentError& E) {
                EXPECT_EQ(E.Message(), "'" + Case.Name + "' is not a valid component name");
            }
            EXPECT_EQ(Component.Name(), "");
        }
    }
}

TEST(Component, NameIsUniqueAmongTheOwnersComponents)
{
    TComponent Form(nullptr);
    auto First = new TComponent(&Form);
    auto Second = new TComponent(&Form);
    First->SetName("Button1");
    try {
        Second->SetName("BUTTON1");
        FAIL() << "no exception";
    } catch (const EComponentError& E) {
        EXPECT_EQ(E.Message(), "A component named BUTTON1 already exists");
    }
    EXPECT_EQ(Second->Name(), "");
    First->SetName("button1"); // a change of case only
    EXPECT_EQ(First->Name(), "button1");
    new TComponent(&Form); // several unnamed components are fine

    auto Stranger = new TComponent(nullptr);
    Stranger->SetName("Button1");
    EXPECT_THROW(Form.InsertComponent(Stranger), EComponentError);
    EXPECT_EQ(Stranger->Owner(), nullptr);
    delete Stranger;
}

TEST(Component, FindComponentIgnoresCase)
{
    TComponent Form(nullptr);
    auto Edit = new TComponent(&Form);
    Edit->SetName("edtServer");
    new TComponent(&Form);
    EXPECT_EQ(Form.FindComponent("EDTSERVER"), Edit);
    EXPECT_EQ(Form.FindComponent("edtServer"), Edit);
    EXPECT_EQ(Form.FindComponent("edtPort"), nullptr);
    EXPECT_EQ(Form.FindComponent(""), nullptr);
}

TEST(Component, ComponentsAreIndexed)
{
    TComponent Form(nullptr);
    auto A = new TComponent(&Form);
    auto B = new TComponent(&Form);
    auto C = new TComponent(&Form);
    EXPECT_EQ(C->ComponentIndex(), 2);
    C->SetComponentIndex(0);
    EXPECT_EQ(Form.Components(0), C);
    EXPECT_EQ(Form.Components(1), A);
    EXPECT_EQ(Form.Components(2), B);
    EXPECT_EQ(Form.ComponentIndex(), -1);
    try {
        Form.Components(3);
        FAIL() << "no exception";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(Form.Components(-1), EListError);
}

TEST(Component, LoadingEndsWithLoadedOwnerFirst)
{
    TLog Log;
    TProbe Form(nullptr, "Form", &Log);
    auto Tray = new TProbe(&Form, "Tray", &Log);
    new TProbe(&Form, "Menu", &Log);
    Log.clear();
    Form.BeginLoading();
    EXPECT_TRUE(Tray->ComponentState().Contains(csLoading));
    EXPECT_TRUE(Tray->ComponentState().Contains(csReading));
    Form.EndLoading();
    EXPECT_EQ(Log, (TLog{"loaded Form", "loaded Tray", "loaded Menu"}));
    EXPECT_TRUE(Tray->ComponentState().Empty());
    EXPECT_TRUE(Form.ComponentState().Empty());
}

TEST(Component, DesigningPassesToComponentsInserted)
{
    TProbe Form(nullptr, "Form", nullptr);
    Form.SetDesigning(true);
    auto Edit = new TComponent(&Form);
    EXPECT_TRUE(Edit->ComponentState().Contains(csDesigning));
    Form.SetDesigning(false);
    EXPECT_FALSE(Edit->ComponentState().Contains(csDesigning));
}

TEST(Component, TagHoldsAPointer)
{
    TComponent Component(nullptr);
    int Value = 0;
    Component.SetTag(reinterpret_cast<std::intptr_t>(&Value));
    EXPECT_EQ(reinterpret_cast<int*>(Component.Tag()), &Value);
}
