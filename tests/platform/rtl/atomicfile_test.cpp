#include "platform/rtl/atomicfile.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestSupport::ReadAll;
using TestSupport::WriteAll;

// The folder is removed even when a test left it read-only.
class AtomicFileTest : public TestSupport::TempFolderTest {
protected:
    // The names in the folder, hidden ones included, sorted.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    static mode_t Mode(const std::string& FileName)
    {
        struct stat Info;
        return ::stat(FileName.c_str(), &Info) == 0 ? Info.st_mode & 07777 : 0;
    }
};

const std::string OldContents = "the whole old file\r\nwith two lines\r\n";

} // namespace

TEST_F(AtomicFileTest, WriteFileCreatesOrReplacesWithNothingLeftBeside)
{
    const std::string Name = Folder + "list.txt";
    AtomicWriteFile(Name, "first");
    EXPECT_EQ(ReadAll(Name), "first");
    AtomicWriteFile(Name, std::string("second\0binary", 13));
    EXPECT_EQ(ReadAll(Name), std::string("second\0binary", 13));
    AtomicWriteFile(Name, "");
    EXPECT_EQ(ReadAll(Name), "");
    EXPECT_EQ(Listing(), std::vector<std::string>{"list.txt"});
}

TEST_F(AtomicFileTest, RewriteKeepsPermissionBitsAndSymbolicLinks)
{
    mode_t OldMask = ::umask(022);
    AtomicWriteFile(Folder + "new.txt", "x");
    EXPECT_EQ(Mode(Folder + "new.txt"), 0644u) << "a new file gets the umask's defaults";
    ::umask(OldMask);

    for (mode_t Bits : {0600u, 0640u, 0755u, 0444u}) {
        SCOPED_TRACE(Bits);
        const std::string Name = Folder + "kept.txt";
        WriteAll(Name, OldContents);
        ::chmod(Name.c_str(), Bits);
        AtomicWriteFile(Name, "new");
        EXPECT_EQ(Mode(Name), Bits);
        TAtomicFileStream Stream(Name);
        Stream.WriteBuffer("streamed", 8);
        Stream.Commit();
        EXPECT_EQ(Mode(Name), Bits);
        EXPECT_EQ(ReadAll(Name), "streamed");
        ::chmod(Name.c_str(), 0600);
        ::unlink(Name.c_str());
    }

    WriteAll(Folder + "real.txt", OldContents);
    ::symlink("real.txt", (Folder + "link.txt").c_str());
    AtomicWriteFile(Folder + "link.txt", "through the link");
    struct stat Info;
    ASSERT_EQ(::lstat((Folder + "link.txt").c_str(), &Info), 0);
    EXPECT_TRUE(S_ISLNK(Info.st_mode));
    EXPECT_EQ(ReadAll(Folder + "real.txt"), "through the link");
}

TEST_F(AtomicFileTest, FailuresRaiseAndLeaveTheOldFileAndNoTemporary)
{
    WriteAll(Folder + "old.txt", OldContents);
    ::mkdir((Folder + "folder").c_str(), 0777);
    struct Case {
        std::string Name;
        std::string Reason;
    };
    std::vector<Case> Cases = {
        {"missing/new.txt", "No such file or directory"},
        {"folder", "Is a directory"},
        {"old.txt/inner", "Not a directory"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Expected = "Cannot create file \"" + Folder + C.Name + "\". " + C.Reason;
        try {
            AtomicWriteFile(Folder + C.Name, "new");
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& E) {
            EXPECT_EQ(E.Message(), Expected);
        }
        try {
            TAtomicFileStream Stream(Folder + C.Name);
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& E) {
            EXPECT_EQ(E.Message(), Expected);
        }
    }

    if (::geteuid() != 0) {
        ::chmod(Folder.c_str(), 0500);
        try {
            AtomicWriteFile(Folder + "old.txt", "new");
            ADD_FAILURE() << "no exception";
        } catch (const EAtomicWriteError& E) {
            EXPECT_EQ(E.ErrorCode, EACCES);
        }
        ::chmod(Folder.c_str(), 0700);
    }
    EXPECT_EQ(ReadAll(Folder + "old.txt"), OldContents);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"folder", "old.txt"}));
}

TEST_F(AtomicFileTest, StreamShowsNothingUntilCommitAndDropsItsWorkWithout)
{
    const std::string Name = Folder + "rules.lst";
    WriteAll(Name, OldContents);
    {
        TAtomicFileStream Stream(Name);
        EXPECT_EQ(Stream.FileName(), Name);
        Stream.WriteBuffer("half of the new", 15);
        EXPECT_EQ(ReadAll(Name), OldContents) << "readers see the old file while it is written";
        EXPECT_EQ(Listing().size(), 2u);
    }
    EXPECT_EQ(ReadAll(Name), OldContents);
    EXPECT_EQ(Listing(), std::vector<std::string>{"rules.lst"});

    try {
        TAtomicFileStream Stream(Name);
        Stream.WriteBuffer("partial", 7);
        throw EConvertError("the writer failed half way");
    } catch (const EConvertError&) {
    }
    EXPECT_EQ(ReadAll(Name), OldContents);
    EXPECT_EQ(Listing(), std::vector<std::string>{"rules.lst"});

    TAtomicFileStream Stream(Name);
    Stream.WriteBuffer("new contents", 12);
    Stream.SetPosition(0);
    Stream.WriteBuffer("N", 1);
    Stream.Commit();
    EXPECT_EQ(ReadAll(Name), "New contents");
    EXPECT_EQ(Listing(), std::vector<std::string>{"rules.lst"});
    EXPECT_THROW(Stream.WriteBuffer("late", 4), EWriteError);
}

TEST_F(AtomicFileTest, CommitThatCannotRenameRemovesItsTemporary)
{
    const std::string Name = Folder + "target";
    TAtomicFileStream Stream(Name);
    Stream.WriteBuffer("data", 4);
    // Something else takes the name meanwhile: a folder that a file cannot replace.
    ::mkdir(Name.c_str(), 0777);
    WriteAll(Name + "/inside", "x");
    try {
        Stream.Commit();
        FAIL() << "no exception";
    } catch (const EFCreateError& E) {
        EXPECT_EQ(E.Message(), "Cannot create file \"" + Name + "\". Is a directory");
    }
    EXPECT_EQ(Listing(), std::vector<std::string>{"target"});
    EXPECT_EQ(ReadAll(Name + "/inside"), "x");
}

// A real process starts a rewrite, writes part of the new contents and dies before Commit:
// by _exit (no destructors run) or by SIGKILL while it waits.
TEST_F(AtomicFileTest, RewriteInterruptedBeforeItsRenameLeavesTheOldFileWhole)
{
    const std::string Name = Folder + "settings.reg";
    const std::string Big(1 << 20, 'n');
    for (bool Kill : {false, true}) {
        SCOPED_TRACE(Kill ? "killed" : "exited");
        WriteAll(Name, OldContents);
        int Ready[2];
        int Hold[2];
        ASSERT_EQ(::pipe(Ready), 0);
        ASSERT_EQ(::pipe(Hold), 0);
        pid_t Child = ::fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            ::close(Ready[0]);
            ::close(Hold[1]);
            auto* Stream = new TAtomicFileStream(Name);
            Stream->WriteBuffer(Big.data(), static_cast<int64_t>(Big.size()) / 2);
            if (::write(Ready[1], "R", 1) != 1)
                ::_exit(3);
            if (!Kill)
                ::_exit(0);
            char C;
            while (::read(Hold[0], &C, 1) < 0) {
            }
            ::_exit(4); // only reached when the parent failed to kill
        }
        ::close(Ready[1]);
        ::close(Hold[0]);
        char C = 0;
        EXPECT_EQ(::read(Ready[0], &C, 1), 1) << "the child wrote part of the new file";
        if (Kill)
            ::kill(Child, SIGKILL);
        int Status = 0;
        ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
        ::close(Ready[0]);
        ::close(Hold[1]);
        if (Kill)
            EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL);
        else
            EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);

        EXPECT_EQ(ReadAll(Name), OldContents);
        // The dead writer's half file is hidden beside it, never in its place.
        auto Names = Listing();
        ASSERT_EQ(Names.size(), 2u);
        EXPECT_EQ(Names[1], "settings.reg");
        EXPECT_EQ(Names[0].rfind(".settings.reg.", 0), 0u) << Names[0];
        EXPECT_EQ(ReadAll(Folder + Names[0]), Big.substr(0, Big.size() / 2));
        std::filesystem::remove(Folder + Names[0]);
    }
}

// A link is followed to its end, which is rewritten in its own folder (or created there when the
// link dangles), and stays a link; a link that leads nowhere is refused, naming where it leads.
// MaxMode limits the bits of a new and of an existing file alike.
TEST_F(AtomicFileTest, LinksAreFollowedNeverReplacedAndMaxModeLimitsTheBits)
{
    mode_t OldMask = ::umask(022);
    ::mkdir((Folder + "real").c_str(), 0777);
    struct Case {
        const char* What;
        std::string Link;   // what the link "settings" holds; "" for no link
        std::string Target; // the file written, relative to Folder; "" when the write must fail
        mode_t Existing;    // the target's bits before, 0 when it does not exist
        mode_t MaxMode;
        mode_t Mode; // its bits afterwards
        std::string Reason;
    };
    const std::vector<Case> Cases = {
        {"a new file, private", "", "settings", 0, 0600, 0600, ""},
        {"an existing file loses what is beyond MaxMode", "", "settings", 0664, 0600, 0600, ""},
        {"an existing file within MaxMode keeps its bits", "", "settings", 0400, 0600, 0400, ""},
        {"a link to an existing file", "real/file", "real/file", 0640, 07777, 0640, ""},
        {"an absolute link", Folder + "real/file", "real/file", 0640, 0600, 0600, ""},
        {"a chain of links", "hop", "real/file", 0644, 07777, 0644, ""},
        {"a dangling link into a folder", "real/new", "real/new", 0, 07777, 0644, ""},
        {"a dangling private link", "real/new", "real/new", 0, 0600, 0600, ""},
        {"a dangling link into no folder", "gone/new", "", 0, 07777, 0,
         "Cannot create file \"" + Folder + "settings\" (a link to \"" + Folder +
             "gone/new\"). No such file or directory"},
        {"a loop of links", "loop", "", 0, 07777, 0,
         "Cannot create file \"" + Folder + "settings\". Too many levels of symbolic links"},
    };
    ::symlink("real/file", (Folder + "hop").c_str());
    ::symlink("settings", (Folder + "loop").c_str());
    for (const Case& C : Cases) {
        for (bool Streamed : {false, true}) {
            SCOPED_TRACE(std::string(C.What) + (Streamed ? ", streamed" : ""));
            const std::string Name = Folder + "settings";
            if (!C.Link.empty())
                ::symlink(C.Link.c_str(), Name.c_str());
            if (C.Existing != 0) {
                WriteAll(Folder + C.Target, OldContents);
                ::chmod((Folder + C.Target).c_str(), C.Existing);
            }
            try {
                if (Streamed) {
                    TAtomicFileStream Stream(Name, C.MaxMode);
                    Stream.WriteBuffer("new", 3);
                    Stream.Commit();
                } else {
                    AtomicWriteFile(Name, "new", C.MaxMode);
                }
                EXPECT_TRUE(C.Reason.empty()) << "no exception";
                EXPECT_EQ(ReadAll(Folder + C.Target), "new");
                EXPECT_EQ(Mode(Folder + C.Target), C.Mode);
            } catch (const EAtomicWriteError& E) {
                EXPECT_EQ(E.Message(), C.Reason);
            }
            struct stat Info;
            EXPECT_EQ(::lstat(Name.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode), !C.Link.empty());
            std::filesystem::remove(Name);
            if (!C.Target.empty())
                std::filesystem::remove(Folder + C.Target);
            EXPECT_EQ(Listing(), (std::vector<std::string>{"hop", "loop", "real"}));
            EXPECT_TRUE(std::filesystem::is_empty(Folder + "real"));
        }
    }
    ::umask(OldMask);
}

namespace {

// Sets a file's times to two minutes ago, so that it counts as left behind.
void Age(const std::string& FileName)
{
    const timespec Then[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    ::utimensat(AT_FDCWD, FileName.c_str(), Then, AT_SYMLINK_NOFOLLOW);
}

// A second process that starts a rewrite of FileName, writes Half and waits; told to go on, it
// writes Rest, commits and exits 0.
class TWriterProcess {
public:
    TWriterProcess(const std::string& FileName, const std::string& Half, const std::string& Rest)
    {
        int Ready[2];
        int Go[2];
        if (::pipe(Ready) != 0 || ::pipe(Go) != 0)
            throw std::runtime_error("pipe");
        FPid = ::fork();
        if (FPid == 0) {
            ::close(Ready[0]);
            ::close(Go[1]);
            int Status = 0;
            try {
                TAtomicFileStream Stream(FileName);
                Stream.WriteBuffer(Half.data(), static_cast<int64_t>(Half.size()));
                char C = 0;
                if (::write(Ready[1], "r", 1) != 1 || ::read(Go[0], &C, 1) != 1)
                    ::_exit(3);
                Stream.WriteBuffer(Rest.data(), static_cast<int64_t>(Rest.size()));
                Stream.Commit();
            } catch (const Exception&) {
                Status = 2;
            }
            ::_exit(Status);
        }
        ::close(Ready[1]);
        ::close(Go[0]);
        FGo = Go[1];
        char C = 0;
        if (::read(Ready[0], &C, 1) != 1)
            throw std::runtime_error("the writer did not start");
        ::close(Ready[0]);
    }
    ~TWriterProcess()
    {
        if (FGo >= 0)
            ::close(FGo);
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
    }
    TWriterProcess(const TWriterProcess&) = delete;
    TWriterProcess& operator=(const TWriterProcess&) = delete;

    // Lets it finish; its exit status.
    int Finish()
    {
        int Status = -1;
        if (::write(FGo, "g", 1) == 1 && ::waitpid(FPid, &Status, 0) == FPid)
            FPid = 0;
        return Status;
    }
    void Kill()
    {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = 0;
    }

private:
    pid_t FPid = 0;
    int FGo = -1;
};

} // namespace

// The next rewrite of a file removes the temporaries of it that killed writers left, and only
// those: not another writer's that is still at work (it holds its temporary's lock), not one
// that changed in the last minute, not names that are not its temporaries.
TEST_F(AtomicFileTest, TheNextRewriteRemovesTheTemporariesKilledWritersLeft)
{
    const std::string Name = Folder + "settings.reg";
    WriteAll(Name, OldContents);

    TWriterProcess Killed(Name, "killed half", "");
    Killed.Kill();
    auto Left = Listing();
    ASSERT_EQ(Left.size(), 2u);
    const std::string KilledTemporary = Left[0];
    Age(Folder + KilledTemporary);

    TWriterProcess Working(Name, "at work, ", "and done");
    std::string WorkingTemporary;
    for (const std::string& Entry : Listing())
        if (Entry != KilledTemporary && Entry != "settings.reg")
            WorkingTemporary = Entry;
    ASSERT_FALSE(WorkingTemporary.empty());
    Age(Folder + WorkingTemporary);

    struct Planted {
        std::string Name;
        bool Aged;
        bool Removed;
    };
    const std::vector<Planted> Plants = {
        {".settings.reg.0123abcd.tmp", true, true},
        {".settings.reg.89abcdef.tmp", false, false}, // changed in the last minute
        {".settings.reg.tmp", true, false},
        {".settings.reg.0123ABCD.tmp", true, false},
        {".settings.reg.0123abc.tmp", true, false},
        {".settings.reg.0123abcde.tmp", true, false},
        {".settings.reg.x.0123abcd.tmp", true, false},
        {".other.reg.0123abcd.tmp", true, false},
        {"settings.reg.0123abcd.tmp", true, false},
    };
    for (const Planted& P : Plants) {
        WriteAll(Folder + P.Name, "left");
        if (P.Aged)
            Age(Folder + P.Name);
    }
    // A link is never one of ours, whatever its name.
    ::symlink("settings.reg", (Folder + ".settings.reg.feedf00d.tmp").c_str());
    Age(Folder + ".settings.reg.feedf00d.tmp");

    AtomicWriteFile(Name, "rewritten");
    EXPECT_EQ(ReadAll(Name), "rewritten");
    std::vector<std::string> Expected = {"settings.reg", WorkingTemporary,
                                         ".settings.reg.feedf00d.tmp"};
    for (const Planted& P : Plants)
        if (!P.Removed)
            Expected.push_back(P.Name);
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Listing(), Expected) << "the killed writer's temporary went";

    int Status = Working.Finish();
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "the working writer commits";
    EXPECT_EQ(ReadAll(Name), "at work, and done");
}

// A whole folder of leftovers (a writer killed over and over) goes with one rewrite.
TEST_F(AtomicFileTest, LeftoversOfManyKilledWritersGoAtOnce)
{
    const std::string Name = Folder + "log.txt";
    for (int i = 0; i < 300; ++i) {
        char Suffix[9];
        std::snprintf(Suffix, sizeof Suffix, "%08x", 0x5EED0000u + static_cast<unsigned>(i));
        WriteAll(Folder + ".log.txt." + Suffix + ".tmp", std::string(1000, 'x'));
        Age(Folder + ".log.txt." + Suffix + ".tmp");
    }
    TAtomicFileStream Stream(Name);
    EXPECT_EQ(Listing().size(), 1u) << "only the stream's own temporary is left";
    Stream.WriteBuffer("x", 1);
    Stream.Commit();
    EXPECT_EQ(Listing(), std::vector<std::string>{"log.txt"});
}
