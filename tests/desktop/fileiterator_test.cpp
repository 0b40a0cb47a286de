#include "desktop/fileiterator.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/findfiles.h"
#include "platform/rtl/resources.h"
#include "tests/desktop/walktree.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// An iterator with recording handlers.
class TRecordingWalk {
public:
    TRecordingWalk()
    {
        Iterator.OnAddFile = [this](TObject*, const std::string& Name, const TFileInfo& Info) {
            Added.push_back(Name);
            Infos.push_back(Info);
            if (OnAdd)
                OnAdd(Name);
        };
        Iterator.OnActivate = [this](TObject*) { ++Activations; };
        Iterator.OnTerminate = [this](TObject*) {
            ++Terminations;
            StateAtTerminate = Iterator.RunState();
        };
    }
    std::vector<std::string> Sorted() const
    {
        std::vector<std::string> Result = Added;
        std::sort(Result.begin(), Result.end());
        return Result;
    }

    TFileIterator Iterator{nullptr};
    std::vector<std::string> Added;
    std::vector<TFileInfo> Infos;
    std::function<void(const std::string&)> OnAdd;
    int Activations = 0;
    int Terminations = 0;
    Byte StateAtTerminate = 0;
};

class FileIteratorTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        Root = Folder.substr(0, Folder.size() - 1);
        WalkTree::Build(Root);
    }
    std::string Root; // without the trailing "/"
};

TEST_F(FileIteratorTest, EachOptionSetReportsWhatFindLists)
{
    struct TCase {
        TFileIteratorOptions Options;
        bool Recurse, Bare;
    };
    const std::vector<TCase> Cases = {
        {{fiPath, fiDetails, fiRecurseFolders}, true, false},
        {{fiPath, fiRecurseFolders}, true, false},
        {{fiPath, fiDetails}, false, false},
        {{fiDetails, fiRecurseFolders}, true, true},
        {{}, false, true},
    };
    for (const TCase& Case : Cases) {
        TRecordingWalk Walk;
        Walk.Iterator.SetOptions(Case.Options);
        Walk.Iterator.SetRootFolder(Root);
        Walk.Iterator.Run();
        EXPECT_EQ(Walk.Sorted(), WalkTree::FindListing(Root, Case.Recurse, Case.Bare))
            << "options " << Case.Options.Bits();
        EXPECT_EQ(Walk.Activations, 1);
        EXPECT_EQ(Walk.Terminations, 1);
        EXPECT_EQ(Walk.StateAtTerminate, fiRunning);
        EXPECT_TRUE(Walk.Iterator.IsIdle());
    }
}

TEST_F(FileIteratorTest, DetailsCarrySizeTimeAndAttributes)
{
    TRecordingWalk Walk;
    Walk.Iterator.SetRootFolder(Root);
    Walk.Iterator.Run();
    auto InfoOf = [&](const std::string& Name) {
        auto Found = std::find(Walk.Added.begin(), Walk.Added.end(), Root + Name);
        EXPECT_NE(Found, Walk.Added.end()) << Name;
        return Found == Walk.Added.end() ? TFileInfo{} : Walk.Infos[Found - Walk.Added.begin()];
    };
    const TFileInfo Big = InfoOf("/a/b/big");
    EXPECT_EQ(Big.Size, 5000u);
    EXPECT_EQ(Big.Attr & (faDirectory | faHidden | faSymLink), 0u);
    EXPECT_NE(Big.Attr & faArchive, 0u);
    struct stat St {};
    ASSERT_EQ(stat((Root + "/a/b/big").c_str(), &St), 0);
    struct tm Local {};
    localtime_r(&St.st_mtime, &Local);
    const TDateTime Expected =
        EncodeDate(static_cast<Word>(Local.tm_year + 1900), static_cast<Word>(Local.tm_mon + 1),
                   static_cast<Word>(Local.tm_mday)) +
        EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                   static_cast<Word>(Local.tm_sec / 2 * 2), 0);
    EXPECT_EQ(static_cast<int>(Big.Time), DateTimeToFileDate(Expected));
    EXPECT_NE(InfoOf("/.dotfile").Attr & faHidden, 0u);
    const TFileInfo Link = InfoOf("/totop");
    EXPECT_EQ(Link.Attr & (faSymLink | faDirectory), static_cast<std::uint32_t>(faSymLink));
    EXPECT_EQ(Link.Size, std::string("/top.txt").size());
}

TEST_F(FileIteratorTest, TrailingSlashesAndTheDefaultRoot)
{
    TRecordingWalk Plain, Slash, Two;
    EXPECT_EQ(Plain.Iterator.RootFolder(), "/");
    Plain.Iterator.SetRootFolder(Root);
    Slash.Iterator.SetRootFolder(Root + "/");
    Two.Iterator.SetRootFolder(Root + "//");
    for (TRecordingWalk* Walk : {&Plain, &Slash, &Two})
        Walk->Iterator.Run();
    EXPECT_EQ(Plain.Sorted(), Slash.Sorted());
    // "//" loses one slash only: the names keep the other.
    std::vector<std::string> Doubled;
    for (const std::string& Name : Plain.Sorted())
        Doubled.push_back(Root + "/" + Name.substr(Root.size()));
    EXPECT_EQ(Two.Sorted(), Doubled);
}

TEST_F(FileIteratorTest, AVetoingQueryLetsNothingThrough)
{
    TRecordingWalk Walk;
    int Queries = 0;
    Walk.Iterator.OnAddFileQuery = [&](TObject*, const std::string&, const TFileInfo&,
                                       bool& CanAdd) {
        ++Queries;
        CanAdd = false;
    };
    Walk.Iterator.SetRootFolder(Root);
    Walk.Iterator.Run();
    EXPECT_EQ(Queries, static_cast<int>(WalkTree::FindListing(Root, true, false).size()));
    EXPECT_TRUE(Walk.Added.empty());
    EXPECT_EQ(Walk.Activations, 1);
    EXPECT_EQ(Walk.Terminations, 1);
}

TEST_F(FileIteratorTest, WithoutFileHandlersRunDoesNothing)
{
    TRecordingWalk Walk;
    Walk.Iterator.OnAddFile = nullptr;
    Walk.Iterator.SetRootFolder(Root);
    Walk.Iterator.Run();
    EXPECT_EQ(Walk.Activations, 0);
    EXPECT_EQ(Walk.Terminations, 0);
    EXPECT_TRUE(Walk.Iterator.IsIdle());
}

TEST_F(FileIteratorTest, CancelEndsTheWalkAtTheNextEntry)
{
    TRecordingWalk Walk;
    Walk.Iterator.Cancel(); // idle: nothing changes
    EXPECT_EQ(Walk.Iterator.RunState(), fiIdle);
    Walk.OnAdd = [&](const std::string&) {
        Walk.Iterator.Cancel();
        EXPECT_EQ(Walk.Iterator.RunState(), fiCancelling);
    };
    Walk.Iterator.SetRootFolder(Root);
    Walk.Iterator.Run();
    EXPECT_EQ(Walk.Added.size(), 1u);
    EXPECT_EQ(Walk.Terminations, 1);
    EXPECT_EQ(Walk.StateAtTerminate, fiCancelling);
    EXPECT_TRUE(Walk.Iterator.IsIdle());
}

TEST_F(FileIteratorTest, SettingsAndASecondRunAreRefusedDuringAWalk)
{
    TRecordingWalk Walk;
    std::vector<std::string> Messages;
    Walk.OnAdd = [&](const std::string&) {
        const std::vector<std::function<void()>> Attempts = {
            [&] { Walk.Iterator.SetRootFolder("/elsewhere"); },
            [&] { Walk.Iterator.SetOptions({}); },
            [&] { Walk.Iterator.Run(); },
        };
        for (const auto& Attempt : Attempts)
            try {
                Attempt();
            } catch (const EFileIteratorError& E) {
                Messages.push_back(E.Message());
            }
        Walk.Iterator.Cancel();
    };
    Walk.Iterator.SetRootFolder(Root);
    Walk.Iterator.Run();
    const std::vector<std::string> Expected = {LoadStr(54260), LoadStr(54260), LoadStr(54261)};
    EXPECT_EQ(Messages, Expected);
    EXPECT_EQ(LoadStr(54260), "Cannot change options on fly. Try later");
    EXPECT_EQ(LoadStr(54261),
              "Iterator is not available at the moment. Please call later, but do call");
    EXPECT_EQ(Walk.Iterator.RootFolder(), Root);
    EXPECT_EQ(Walk.Iterator.Options(), TFileIteratorOptions({fiPath, fiDetails, fiRecurseFolders}));
}

TEST_F(FileIteratorTest, AMissingRootGivesOnlyTheStartAndTheEnd)
{
    TRecordingWalk Walk;
    Walk.Iterator.SetRootFolder(Root + "/no/such");
    Walk.Iterator.Run();
    EXPECT_TRUE(Walk.Added.empty());
    EXPECT_EQ(Walk.Activations, 1);
    EXPECT_EQ(Walk.Terminations, 1);
}

int OpenDescriptors()
{
    int Count = 0;
    for ([[maybe_unused]] const auto& Entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++Count;
    return Count;
}

TEST_F(FileIteratorTest, ARaisingHandlerEndsTheWalkAndReachesTheCaller)
{
    TRecordingWalk Walk;
    Walk.OnAdd = [&](const std::string& Name) {
        if (Name.find("/a/b/") != std::string::npos)
            throw EConvertError("handler failed");
    };
    Walk.Iterator.SetRootFolder(Root);
    const int Before = OpenDescriptors();
    EXPECT_THROW(Walk.Iterator.Run(), EConvertError);
    EXPECT_EQ(OpenDescriptors(), Before); // every listing was closed
    EXPECT_EQ(Walk.Terminations, 1);
    EXPECT_TRUE(Walk.Iterator.IsIdle());
    Walk.OnAdd = nullptr;
    Walk.Added.clear();
    Walk.Iterator.Run(); // usable again
    EXPECT_EQ(Walk.Sorted(), WalkTree::FindListing(Root, true, false));
}

// Runs Body as an ordinary user when the tests run as root, who may read any folder.
int AsUnprivileged(const std::function<int()>& Body)
{
    if (geteuid() != 0)
        return Body();
    const pid_t Child = fork();
    if (Child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        _exit(Body());
    }
    int Status = 0;
    waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : 4;
}

TEST_F(FileIteratorTest, AnUnreadableFolderIsPassedOver)
{
    ASSERT_EQ(chmod(Root.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((Root + "/locked").c_str(), 0755), 0);
    WalkTree::MakeFile(Root + "/locked/secret");
    ASSERT_EQ(chmod((Root + "/locked").c_str(), 0), 0);
    const int Result = AsUnprivileged([&] {
        TRecordingWalk Walk;
        Walk.Iterator.SetRootFolder(Root);
        Walk.Iterator.Run();
        const std::vector<std::string> Expected = WalkTree::FindListing(Root, true, false);
        const bool Secret =
            std::find(Expected.begin(), Expected.end(), Root + "/locked/secret") != Expected.end();
        if (Walk.Sorted() != Expected || Secret || Expected.empty()) {
            for (const std::string& Name : Walk.Sorted())
                std::fprintf(stderr, "walk: %s\n", Name.c_str());
            for (const std::string& Name : Expected)
                std::fprintf(stderr, "find: %s\n", Name.c_str());
            return 1;
        }
        return 0;
    });
    ASSERT_EQ(chmod((Root + "/locked").c_str(), 0755), 0);
    EXPECT_EQ(Result, 0);
}

} // namespace
