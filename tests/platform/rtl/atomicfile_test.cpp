#include "platform/rtl/atomicfile.h"
#include "platform/rtl/exceptions.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
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
