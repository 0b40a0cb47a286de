#include "desktop/fileiterator.h"

#include "platform/rtl/thread.h"
#include "platform/ui/application.h"
#include "tests/desktop/walktree.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

class TWalkApplication : public TApplication {
public:
    TWalkApplication() : TApplication(nullptr) { Application = this; }
};

// Runs the main thread's synchronised calls until Done holds or ten seconds pass.
template <class F>
bool RunCallsUntil(F Done)
{
    const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Limit)
            return false;
        CheckSynchronize(100);
    }
    return true;
}

class FileIteratorThreadTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        Root = Folder.substr(0, Folder.size() - 1);
        WalkTree::Build(Root);
    }
    std::string Root;
    TWalkApplication App;
};

TEST_F(FileIteratorThreadTest, AWorkerWalksAndItsEventsRunOnIt)
{
    auto Iterator = std::make_unique<TFileIterator>(nullptr);
    Iterator->SetRootFolder(Root);
    std::mutex Lock;
    std::vector<std::string> Added;
    std::vector<std::thread::id> Threads;
    TSimpleEvent Ended;
    Iterator->OnAddFile = [&](TObject*, const std::string& Name, const TFileInfo&) {
        std::lock_guard<std::mutex> L(Lock);
        Added.push_back(Name);
        Threads.push_back(std::this_thread::get_id());
    };
    Iterator->OnTerminate = [&](TObject*) {
        {
            std::lock_guard<std::mutex> L(Lock);
            Threads.push_back(std::this_thread::get_id());
        }
        Ended.SetEvent();
    };
    TThread::Create<TFileIteratorThread>(Iterator.get(), false);
    ASSERT_EQ(Ended.WaitFor(10000), wrSignaled);
    Iterator.reset(); // waits for the thread's walk to have ended
    std::sort(Added.begin(), Added.end());
    EXPECT_EQ(Added, WalkTree::FindListing(Root, true, false));
    ASSERT_FALSE(Threads.empty());
    for (const std::thread::id& Id : Threads) {
        EXPECT_NE(Id, std::this_thread::get_id());
        EXPECT_EQ(Id, Threads.front());
    }
}

TEST_F(FileIteratorThreadTest, ARaisingHandlerReachesTheApplicationsHandler)
{
    std::vector<std::string> Reported;
    App.OnException = [&](TObject*, const Exception& E) { Reported.push_back(E.Message()); };
    TFileIterator Iterator(nullptr);
    Iterator.SetRootFolder(Root);
    std::atomic<int> Terminations{0};
    Iterator.OnAddFile = [](TObject*, const std::string&, const TFileInfo&) {
        throw EInOutError("disk on fire", 5);
    };
    Iterator.OnTerminate = [&](TObject*) { ++Terminations; };
    TThread::Create<TFileIteratorThread>(&Iterator, false);
    ASSERT_TRUE(RunCallsUntil([&] { return !Reported.empty(); }));
    EXPECT_EQ(Reported, std::vector<std::string>{"disk on fire"});
    EXPECT_EQ(Terminations.load(), 1);
    ASSERT_TRUE(RunCallsUntil([&] { return Iterator.IsIdle(); }));
}

TEST_F(FileIteratorThreadTest, DestroyingTheIteratorCancelsAndWaitsWhileTheWorkerSynchronizes)
{
    auto Iterator = std::make_unique<TFileIterator>(nullptr);
    Iterator->SetRootFolder(Root);
    std::atomic<int> Added{0};
    std::atomic<bool> Terminated{false};
    bool SynchronizedCallRan = false;
    TSimpleEvent Started;
    Iterator->OnAddFile = [&](TObject*, const std::string&, const TFileInfo&) {
        if (++Added == 1) {
            Started.SetEvent();
            // The main thread is in the iterator's destructor by now, or soon: it must still
            // run this call.
            TThread::Synchronize(nullptr, [&] { SynchronizedCallRan = true; });
        }
    };
    Iterator->OnTerminate = [&](TObject*) { Terminated = true; };
    TThread::Create<TFileIteratorThread>(Iterator.get(), false);
    ASSERT_EQ(Started.WaitFor(10000), wrSignaled);
    EXPECT_THROW(Iterator->Run(), EFileIteratorError);
    Iterator.reset();
    EXPECT_TRUE(SynchronizedCallRan);
    EXPECT_TRUE(Terminated.load());
    EXPECT_EQ(Added.load(), 1);
}

TEST_F(FileIteratorThreadTest, AThreadStartedAfterItsIteratorWentDoesNothing)
{
    auto Iterator = std::make_unique<TFileIterator>(nullptr);
    std::atomic<int> Events{0};
    Iterator->OnAddFile = [&](TObject*, const std::string&, const TFileInfo&) { ++Events; };
    Iterator->OnActivate = [&](TObject*) { ++Events; };
    auto* Thread = new TFileIteratorThread(Iterator.get(), true);
    bool ThreadEnded = false;
    Thread->OnTerminate = [&](TObject*) { ThreadEnded = true; };
    Iterator.reset();
    Thread->Start(); // frees itself
    ASSERT_TRUE(RunCallsUntil([&] { return ThreadEnded; }));
    EXPECT_EQ(Events.load(), 0);
}

} // namespace
