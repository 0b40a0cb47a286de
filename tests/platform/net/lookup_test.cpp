#include "platform/net/lookup.h"

#include "platform/net/errors.h"
#include "platform/net/socket.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Waits for the look-up while pumping, as the components do.
bool Finish(TLookup& Lookup, int TimeoutMs = 60000)
{
    return WaitUntil([&] { return Lookup.Done(); }, TimeoutMs) == prDone;
}

} // namespace

TEST(Lookup, LocalhostResolvesToTheLoopbackAddress)
{
    const auto Lookup = TLookup::Host("localhost");
    ASSERT_TRUE(Finish(*Lookup));
    EXPECT_EQ(Lookup->Error(), 0);
    EXPECT_EQ(FormatIPv4(Lookup->Address()).substr(0, 4), "127.");
}

TEST(Lookup, ANameThatDoesNotExistFailsWithAHostError)
{
    const auto Lookup = TLookup::Host("no-such-host.invalid");
    ASSERT_TRUE(Finish(*Lookup));
    EXPECT_GE(Lookup->Error(), WSAHOST_NOT_FOUND);
    EXPECT_LE(Lookup->Error(), WSANO_DATA);
    EXPECT_NE(WinsockErrorText(Lookup->Error()), "");
}

TEST(Lookup, TheComponentsServicesAreKnownAndOthersFail)
{
    struct TCase {
        const char* Name;
        std::uint16_t Port;
    };
    const std::vector<TCase> Cases = {
        {"pop3", 110}, {"http", 80}, {"smtp", 25}, {"whois", 43}, {"POP3", 110},
    };
    for (const auto& C : Cases) {
        const auto Lookup = TLookup::Service(C.Name, "tcp");
        ASSERT_TRUE(Finish(*Lookup));
        EXPECT_EQ(Lookup->Error(), 0) << C.Name;
        EXPECT_EQ(Lookup->Port(), C.Port) << C.Name;
    }
    const auto Unknown = TLookup::Service("no-such-service", "tcp");
    ASSERT_TRUE(Finish(*Unknown));
    EXPECT_EQ(Unknown->Error(), WSANO_DATA);
}

TEST(Lookup, AnAbandonedLookUpIsReleasedWhenItsWorkerEnds)
{
    std::mutex Lock;
    std::condition_variable Changed;
    bool Entered = false;
    bool Release = false;
    SetLookupHook([&] {
        std::unique_lock<std::mutex> Guard(Lock);
        Entered = true;
        Changed.notify_all();
        Changed.wait(Guard, [&] { return Release; });
    });
    auto Lookup = TLookup::Host("localhost");
    {
        std::unique_lock<std::mutex> Guard(Lock);
        Changed.wait(Guard, [&] { return Entered; });
    }
    // The wait never freezes: it ends on its own terms while the worker is held.
    EXPECT_EQ(WaitUntil([&] { return Lookup->Done(); }, 50), prTimedOut);
    Lookup.reset(); // abandoned while running
    EXPECT_EQ(RunningLookups(), 1);
    {
        std::lock_guard<std::mutex> Guard(Lock);
        Release = true;
    }
    Changed.notify_all();
    EXPECT_EQ(WaitUntil([] { return RunningLookups() == 0; }, 60000), prDone);
    SetLookupHook(nullptr);
}

TEST(Lookup, ManyLookUpsAtOnceEachEndAndWakeTheWait)
{
    constexpr int Count = 16;
    std::vector<std::unique_ptr<TLookup>> Lookups;
    for (int I = 0; I < Count; ++I)
        Lookups.push_back(I % 2 == 0 ? TLookup::Host("localhost")
                                     : TLookup::Service("pop3", "tcp"));
    // Some are abandoned while their workers run.
    for (int I = 0; I < Count; I += 3)
        Lookups[I].reset();
    const TPumpResult Result = WaitUntil(
        [&] {
            for (const auto& Lookup : Lookups)
                if (Lookup && !Lookup->Done())
                    return false;
            return true;
        },
        10000);
    EXPECT_EQ(Result, prDone);
    for (int I = 0; I < Count; ++I) {
        if (!Lookups[I])
            continue;
        EXPECT_EQ(Lookups[I]->Error(), 0) << I;
        if (I % 2 == 0)
            EXPECT_EQ(FormatIPv4(Lookups[I]->Address()).substr(0, 4), "127.") << I;
        else
            EXPECT_EQ(Lookups[I]->Port(), 110) << I;
    }
    EXPECT_EQ(WaitUntil([] { return RunningLookups() == 0; }, 10000), prDone);
}
