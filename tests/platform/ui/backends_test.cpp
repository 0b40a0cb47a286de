// Tests of the back-end registries: which back end is chosen, what is said about the choice, that
// every back end built registers itself, and that TARNWICK_BACKEND reaches the choice.
#include "platform/ui/backends.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A display back end that answers to the name it was registered by.
class TNamedDriver : public THeadlessDriver {
public:
    explicit TNamedDriver(std::string Name) : FName(std::move(Name)) {}
    std::string Name() const override { return FName; }

private:
    std::string FName;
};

using TDisplayRegistry = TBackEndRegistry<IDisplayDriver>;

TDisplayRegistry::TBackEnd TestBackEnd(const std::string& Name, int Order, TProbeResult Probe,
                                       bool Starts = true)
{
    TDisplayRegistry::TBackEnd BackEnd;
    BackEnd.Name = Name;
    BackEnd.Order = Order;
    BackEnd.Probe = [Probe] { return Probe; };
    BackEnd.Create = [Name, Starts]() -> std::unique_ptr<IDisplayDriver> {
        if (!Starts)
            return nullptr;
        return std::make_unique<TNamedDriver>(Name);
    };
    return BackEnd;
}

const TProbeResult Runs{};
const TProbeResult Absent{TProbeOutcome::Absent, "nothing to show on"};
const TProbeResult Failed{TProbeOutcome::Failed, "the server does not answer"};

struct TChoiceCase {
    const char* What;
    std::string Wanted;
    TProbeResult Alpha, Beta, Gamma; // registered in the order gamma, alpha, beta; tried a, b, g
    bool AlphaStarts;
    std::string Chosen; // "" for none
    std::string Said;
};

TEST(BackEndRegistry, ChoosesTheNamedBackEndElseTheFirstThatRuns)
{
    const std::string NoDelta =
        "tarnwick: there is no display back end \"delta\" (there are \"alpha\", \"beta\", "
        "\"gamma\")\n";
    const std::vector<TChoiceCase> Cases = {
        {"each name", "alpha", Runs, Runs, Runs, true, "alpha", ""},
        {"each name", "beta", Runs, Runs, Runs, true, "beta", ""},
        {"each name", "gamma", Runs, Runs, Runs, true, "gamma", ""},
        {"a named one that is absent", "beta", Runs, Absent, Runs, true, "alpha",
         "tarnwick: display back end \"beta\" cannot run here: nothing to show on\n"
         "tarnwick: using display back end \"alpha\"\n"},
        {"a named one that fails, after one that fails too", "gamma", Failed, Runs, Failed, true,
         "beta",
         "tarnwick: display back end \"gamma\" cannot run here: the server does not answer\n"
         "tarnwick: display back end \"alpha\" cannot run here: the server does not answer\n"
         "tarnwick: using display back end \"beta\"\n"},
        {"an unknown name", "delta", Runs, Runs, Runs, true, "alpha",
         NoDelta + "tarnwick: using display back end \"alpha\"\n"},
        {"an unknown name, the first absent", "delta", Absent, Runs, Runs, true, "beta",
         NoDelta + "tarnwick: using display back end \"beta\"\n"},
        {"none named", "", Runs, Runs, Runs, true, "alpha", ""},
        {"none named, the first absent", "", Absent, Runs, Runs, true, "beta", ""},
        {"none named, two absent", "", Absent, Absent, Runs, true, "gamma", ""},
        {"none named, the first failing", "", Failed, Runs, Runs, true, "beta",
         "tarnwick: display back end \"alpha\" cannot run here: the server does not answer\n"
         "tarnwick: using display back end \"beta\"\n"},
        {"none named, the first not starting", "", Runs, Runs, Runs, false, "beta",
         "tarnwick: display back end \"alpha\" cannot run here: it did not start\n"
         "tarnwick: using display back end \"beta\"\n"},
        {"none named, none runs", "", Absent, Absent, Absent, true, "", ""},
        {"an unknown name, none runs", "delta", Failed, Absent, Absent, true, "",
         NoDelta +
             "tarnwick: display back end \"alpha\" cannot run here: the server does not answer\n"
             "tarnwick: no display back end can run here\n"},
    };
    for (const TChoiceCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.What) + ", wanted \"" + Case.Wanted + "\"");
        TDisplayRegistry Registry("display");
        // Registered out of order: the order given decides, not the registration.
        Registry.Add(TestBackEnd("gamma", 30, Case.Gamma));
        Registry.Add(TestBackEnd("alpha", 10, Case.Alpha, Case.AlphaStarts));
        Registry.Add(TestBackEnd("beta", 20, Case.Beta));

        std::ostringstream Said;
        std::unique_ptr<IDisplayDriver> Made = Registry.Create(Case.Wanted, Said);
        EXPECT_EQ(Made ? Made->Name() : "", Case.Chosen);
        EXPECT_EQ(Said.str(), Case.Said);
    }
}

TEST(BackEndRegistry, SelectProbesWithoutMakingAnything)
{
    TDisplayRegistry Registry("display");
    int Made = 0;
    auto Counted = TestBackEnd("alpha", 10, Runs);
    Counted.Create = [&]() -> std::unique_ptr<IDisplayDriver> {
        ++Made;
        return nullptr;
    };
    Registry.Add(Counted);
    Registry.Add(TestBackEnd("beta", 20, Absent));
    std::ostringstream Said;
    const auto Chosen = Registry.Select("beta", Said);
    ASSERT_TRUE(Chosen.has_value());
    EXPECT_EQ(Chosen->Name, "alpha");
    EXPECT_EQ(Made, 0);
    EXPECT_EQ(Said.str(),
              "tarnwick: display back end \"beta\" cannot run here: nothing to show on\n"
              "tarnwick: using display back end \"alpha\"\n");
}

TEST(BackEndRegistry, ARegistrationLastsAsLongAsItsObjectAndReplacesItsName)
{
    TDisplayRegistry Registry("display");
    Registry.Add(TestBackEnd("alpha", 10, Runs));
    {
        const TBackEndRegistration<IDisplayDriver> Early(Registry, TestBackEnd("early", 5, Runs));
        const TBackEndRegistration<IDisplayDriver> Late(Registry, TestBackEnd("late", 50, Runs));
        EXPECT_EQ(Registry.Names(), (std::vector<std::string>{"early", "alpha", "late"}));
    }
    EXPECT_EQ(Registry.Names(), std::vector<std::string>{"alpha"});
    Registry.Add(TestBackEnd("alpha", 60, Failed));
    Registry.Add(TestBackEnd("beta", 20, Runs));
    EXPECT_EQ(Registry.Names(), (std::vector<std::string>{"beta", "alpha"}));
    std::ostringstream Said;
    EXPECT_EQ(Registry.Create("", Said)->Name(), "beta");
    EXPECT_FALSE(Registry.Find("gamma").has_value());
}

std::vector<std::string> Split(const std::string& List)
{
    std::vector<std::string> Parts;
    std::istringstream In(List);
    for (std::string Part; std::getline(In, Part, ',');)
        if (!Part.empty())
            Parts.push_back(Part);
    return Parts;
}

bool Contains(const std::vector<std::string>& Names, const std::string& Name)
{
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

// The back ends of the build register by their folder's name, though nothing refers to their
// registration: the linker took them in all the same.
TEST(BackEndRegistry, EveryBackEndBuiltRegistersItself)
{
    const std::vector<std::string> Built = Split(TARNWICK_BUILT_BACKENDS);
    ASSERT_TRUE(Contains(Built, "headless"));
    const std::vector<std::string> Display = DisplayBackEnds().Names();
    const std::vector<std::string> Sound = SoundBackEnds().Names();
    for (const std::string& Folder : Built) {
        SCOPED_TRACE(Folder);
        EXPECT_TRUE(Contains(Display, Folder) || Contains(Sound, Folder));
    }
    EXPECT_EQ(Display.size() + Sound.size(), Built.size());
    // The headless display runs anywhere, so it is tried last.
    EXPECT_EQ(Display.back(), "headless");
}

// Sets an environment variable for the life of the object.
class TEnvironment {
public:
    TEnvironment(const char* Name, const char* Value) : FName(Name)
    {
        if (const char* Before = std::getenv(Name))
            FBefore = Before;
        Set(Value);
    }
    ~TEnvironment() { Set(FBefore ? FBefore->c_str() : nullptr); }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

private:
    void Set(const char* Value)
    {
        if (Value != nullptr)
            setenv(FName.c_str(), Value, 1);
        else
            unsetenv(FName.c_str());
    }

    std::string FName;
    std::optional<std::string> FBefore;
};

// The driver chosen afresh at the next use, and again once the test is over.
class DisplayChoice : public ::testing::Test {
protected:
    void SetUp() override { SetDisplayDriver(nullptr); }
    void TearDown() override { SetDisplayDriver(nullptr); }
};

TEST_F(DisplayChoice, TarnwickBackendNamesTheDriver)
{
    // After the headless one: only its name can choose it.
    const TBackEndRegistration<IDisplayDriver> TestDisplay(DisplayBackEnds(),
                                                           TestBackEnd("test-display", 5000, Runs));
    {
        const TEnvironment Backend("TARNWICK_BACKEND", "test-display");
        EXPECT_EQ(DisplayDriver().Name(), "test-display");
        SetDisplayDriver(nullptr);
    }
    const TEnvironment Backend("TARNWICK_BACKEND", "headless");
    EXPECT_EQ(DisplayDriver().Name(), "headless");
}

TEST_F(DisplayChoice, UnsetTheFirstThatRunsDrives)
{
    const TBackEndRegistration<IDisplayDriver> Absentee(DisplayBackEnds(),
                                                        TestBackEnd("absentee", -2, Absent));
    const TBackEndRegistration<IDisplayDriver> TestDisplay(DisplayBackEnds(),
                                                           TestBackEnd("test-display", -1, Runs));
    const TEnvironment Backend("TARNWICK_BACKEND", nullptr);
    EXPECT_EQ(DisplayDriver().Name(), "test-display");
}

TEST_F(DisplayChoice, WithoutABackEndThatRunsThereIsNoDriver)
{
    // Every back end but a failing one is taken away for the test, and put back after it.
    std::vector<TDisplayRegistry::TBackEnd> Registered;
    for (const std::string& Name : DisplayBackEnds().Names()) {
        Registered.push_back(*DisplayBackEnds().Find(Name));
        DisplayBackEnds().Remove(Name);
    }
    {
        const TBackEndRegistration<IDisplayDriver> Failing(DisplayBackEnds(),
                                                           TestBackEnd("failing", 1, Failed));
        const TEnvironment Backend("TARNWICK_BACKEND", nullptr);
        testing::internal::CaptureStderr();
        EXPECT_THROW(DisplayDriver(), EInvalidOperation);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tarnwick: display back end \"failing\" cannot run here: the server does not "
                  "answer\n"
                  "tarnwick: no display back end can run here\n");
    }
    for (auto& BackEnd : Registered)
        DisplayBackEnds().Add(std::move(BackEnd));
}

TEST(DisplayCapabilities, TheHeadlessDriverShowsNoWindows)
{
    THeadlessDriver Driver;
    EXPECT_FALSE(Driver.CanShowWindows());
    EXPECT_EQ(Driver.Capabilities() & dcSharesClipboard, 0u);
    EXPECT_NE(Driver.Capabilities() & dcPlacesWindows, 0u);
}

} // namespace
