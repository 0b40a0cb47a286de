// Tests of SpawnProcess: real children whose pid, process group, session, folder, standard
// streams, signals and exit code a shell script reports back, and the starts that fail.
#include "platform/rtl/process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct TRun {
    TSpawnResult Result;
    std::string Output;
    int ExitCode = -1;
};

// Starts Options with standard output and error into a pipe, reads them to the end and reaps
// the child.
TRun RunToEnd(TSpawnOptions Options)
{
    TRun Run;
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe2: " << errno;
        return Run;
    }
    Options.OutputFd = Pipe[1];
    Run.Result = SpawnProcess(Options);
    close(Pipe[1]);
    char Buffer[512];
    ssize_t Got;
    while ((Got = read(Pipe[0], Buffer, sizeof Buffer)) > 0 || (Got < 0 && errno == EINTR))
        if (Got > 0)
            Run.Output.append(Buffer, static_cast<std::size_t>(Got));
    close(Pipe[0]);
    if (Run.Result.Pid > 0) {
        int Status = 0;
        while (waitpid(Run.Result.Pid, &Status, 0) < 0 && errno == EINTR) {
        }
        Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    }
    return Run;
}

std::vector<std::string> Script(const std::string& Text)
{
    return {"/bin/sh", "-c", Text};
}

std::string Ids(pid_t Pid, pid_t Group, pid_t Session)
{
    return std::to_string(Pid) + " " + std::to_string(Group) + " " + std::to_string(Session) + "\n";
}

// The shell's pid, process group and session from its own stat line (its name is "sh").
const char* const ReportIds = "set -- $(cat /proc/$$/stat); echo $1 $5 $6";

class SpawnProcessTest : public testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/tw_spawn_XXXXXX";
        ASSERT_NE(mkdtemp(Template), nullptr);
        char* Real = realpath(Template, nullptr);
        ASSERT_NE(Real, nullptr);
        FDir = Real;
        std::free(Real);
    }
    void TearDown() override { rmdir(FDir.c_str()); }
    std::string FDir;
};

} // namespace

TEST_F(SpawnProcessTest, ChildrenRunAsAsked)
{
    struct TCase {
        const char* Name;
        TSpawnOptions Options;
        int ExitCode;
        // The output expected of the child Pid.
        std::function<std::string(pid_t Pid)> Expected;
    };
    const pid_t OwnSession = getsid(0);
    const std::vector<TCase> Cases = {
        {"both streams and the exit code",
         {Script("echo out; echo err >&2; exit 3"), "", -1, sgNewSession},
         3,
         [](pid_t) { return std::string("out\nerr\n"); }},
        {"a session of its own",
         {Script(ReportIds), "", -1, sgNewSession},
         0,
         [](pid_t Pid) { return Ids(Pid, Pid, Pid); }},
        {"a process group of its own in the caller's session",
         {Script(ReportIds), "", -1, sgNewProcessGroup},
         0,
         [OwnSession](pid_t Pid) { return Ids(Pid, Pid, OwnSession); }},
        {"the working folder",
         {Script("pwd -P"), FDir, -1, sgNewSession},
         0,
         [this](pid_t) { return FDir + "\n"; }},
        {"the caller's folder without one",
         {Script("pwd -P"), "", -1, sgNewProcessGroup},
         0,
         [](pid_t) {
             char Cwd[PATH_MAX];
             return std::string(realpath(".", Cwd)) + "\n";
         }},
        {"standard input from /dev/null",
         {Script("readlink /proc/$$/fd/0; cat; echo end"), "", -1, sgNewSession},
         0,
         [](pid_t) { return std::string("/dev/null\nend\n"); }},
        {"arguments as they are, the program found on PATH",
         {{"sh", "-c", "printf '%s|' \"$@\"", "sh", "a b", "$HOME", "*", "\"q\""},
          "",
          -1,
          sgNewSession},
         0,
         [](pid_t) { return std::string("a b|$HOME|*|\"q\"|"); }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TRun Run = RunToEnd(C.Options);
        EXPECT_EQ(Run.Result.Error, 0);
        ASSERT_GT(Run.Result.Pid, 0);
        EXPECT_EQ(Run.ExitCode, C.ExitCode);
        EXPECT_EQ(Run.Output, C.Expected(Run.Result.Pid));
    }
}

TEST_F(SpawnProcessTest, SignalsAreResetWhateverTheCallerBlocksOrIgnores)
{
    sigset_t Blocked, Previous;
    sigemptyset(&Blocked);
    sigaddset(&Blocked, SIGUSR1);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &Blocked, &Previous), 0);
    struct sigaction Ignore = {}, Old = {};
    Ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGUSR2, &Ignore, &Old), 0);
    for (const TSpawnGroup Group : {sgNewSession, sgNewProcessGroup}) {
        const TRun Run = RunToEnd(
            {Script("sed -n 's/^Sig\\(Blk\\|Ign\\):\\t*//p' /proc/$$/status"), "", -1, Group});
        // Blocked, then ignored, as masks; the C library keeps signals above 31 for itself.
        std::istringstream Masks(Run.Output);
        unsigned long long BlockedMask = ~0ULL, IgnoredMask = ~0ULL;
        Masks >> std::hex >> BlockedMask >> IgnoredMask;
        constexpr unsigned long long Standard = (1ULL << 31) - 1;
        EXPECT_EQ(BlockedMask & Standard, 0u) << Run.Output;
        EXPECT_EQ(IgnoredMask & Standard, 0u) << Run.Output;
    }
    sigaction(SIGUSR2, &Old, nullptr);
    pthread_sigmask(SIG_SETMASK, &Previous, nullptr);
}

TEST_F(SpawnProcessTest, FailedStartsReportTheirErrorAndStartNothing)
{
    struct TCase {
        const char* Name;
        std::vector<std::string> Argv;
        std::string Directory;
        int Error;
    };
    const std::vector<TCase> Cases = {
        {"no program by that path", {FDir + "/missing", "x"}, "", ENOENT},
        {"no program by that name on PATH", {"tw-no-such-program-here"}, "", ENOENT},
        {"no such working folder", {"/bin/sh", "-c", "echo ran"}, FDir + "/gone", ENOENT},
        {"a file that is not a program", {"/etc/passwd"}, "", EACCES},
        {"no argument vector", {}, "", ENOENT},
        {"an empty program name", {""}, "", ENOENT},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TRun Run = RunToEnd({C.Argv, C.Directory, -1, sgNewSession});
        EXPECT_EQ(Run.Result.Error, C.Error);
        EXPECT_EQ(Run.Result.Pid, 0);
        EXPECT_EQ(Run.Output, "");
    }
}
