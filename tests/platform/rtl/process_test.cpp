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
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct TRun {
    TSpawnResult Result;
    std::string Output;
    std::string Errors; // only when they were set apart
    int ExitCode = -1;
};

// Everything Fd gives until its end; closes it.
std::string ReadToEnd(int Fd)
{
    std::string Text;
    char Buffer[512];
    ssize_t Got;
    while ((Got = read(Fd, Buffer, sizeof Buffer)) > 0 || (Got < 0 && errno == EINTR))
        if (Got > 0)
            Text.append(Buffer, static_cast<std::size_t>(Got));
    close(Fd);
    return Text;
}

// A pipe closed on exec: Fd[0] to read, Fd[1] to write. Its user closes both ends.
struct TPipe {
    TPipe()
    {
        if (pipe2(Fd, O_CLOEXEC) != 0)
            ADD_FAILURE() << "pipe2: " << errno;
    }
    int Fd[2] = {-1, -1};
};

// Starts Options with standard output (and standard error, with it or apart) into pipes, feeds
// Input through a pipe when there is one, reads the output to the end and reaps the child.
TRun RunToEnd(TSpawnOptions Options, const std::optional<std::string>& Input = std::nullopt,
              bool ErrorsApart = false)
{
    TRun Run;
    TPipe Out, Err, In;
    Options.OutputFd = Out.Fd[1];
    if (ErrorsApart)
        Options.ErrorFd = Err.Fd[1];
    if (Input)
        Options.InputFd = In.Fd[0];
    Run.Result = SpawnProcess(Options);
    close(Out.Fd[1]);
    close(Err.Fd[1]);
    close(In.Fd[0]);
    if (Input && Run.Result.Pid > 0) {
        EXPECT_EQ(write(In.Fd[1], Input->data(), Input->size()),
                  static_cast<ssize_t>(Input->size()));
    }
    close(In.Fd[1]);
    Run.Output = ReadToEnd(Out.Fd[0]);
    Run.Errors = ReadToEnd(Err.Fd[0]);
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
        // A variable of the caller's environment, so that the child shows which one it got.
        ASSERT_EQ(setenv("TW_SPAWN_CALLER", "caller", 1), 0);
    }
    void TearDown() override
    {
        unsetenv("TW_SPAWN_CALLER");
        rmdir(FDir.c_str());
    }
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
        // Fed to standard input through a pipe; none keeps /dev/null.
        std::optional<std::string> Input = std::nullopt;
        // Standard error into a pipe of its own, expected to hold Errors.
        bool ErrorsApart = false;
        std::string Errors = "";
    };
    const pid_t OwnSession = getsid(0);
    const auto Text = [](std::string Expected) { return [Expected](pid_t) { return Expected; }; };
    const std::vector<TCase> Cases = {
        {"both streams and the exit code",
         {.Argv = Script("echo out; echo err >&2; exit 3")},
         3,
         Text("out\nerr\n")},
        {.Name = "the streams apart",
         .Options = {.Argv = Script("echo out; echo err >&2; exit 3")},
         .ExitCode = 3,
         .Expected = Text("out\n"),
         .ErrorsApart = true,
         .Errors = "err\n"},
        {"errors to the caller's while the output is taken",
         {.Argv = Script("readlink /proc/$$/fd/2"), .ErrorFd = -1},
         0,
         [](pid_t) {
             char Target[PATH_MAX] = {};
             const ssize_t Length = readlink("/proc/self/fd/2", Target, sizeof Target - 1);
             return std::string(Target, Length > 0 ? static_cast<std::size_t>(Length) : 0) + "\n";
         }},
        {"a session of its own",
         {.Argv = Script(ReportIds), .Group = sgNewSession},
         0,
         [](pid_t Pid) { return Ids(Pid, Pid, Pid); }},
        {"a process group of its own in the caller's session",
         {.Argv = Script(ReportIds), .Group = sgNewProcessGroup},
         0,
         [OwnSession](pid_t Pid) { return Ids(Pid, Pid, OwnSession); }},
        {"the caller's process group and session",
         {.Argv = Script(ReportIds), .Group = sgCallerGroup},
         0,
         [OwnSession](pid_t Pid) { return Ids(Pid, getpgrp(), OwnSession); }},
        {"the working folder",
         {.Argv = Script("pwd -P"), .Directory = FDir},
         0,
         [this](pid_t) { return FDir + "\n"; }},
        {"the caller's folder without one",
         {.Argv = Script("pwd -P"), .Group = sgNewProcessGroup},
         0,
         [](pid_t) {
             char Cwd[PATH_MAX];
             return std::string(realpath(".", Cwd)) + "\n";
         }},
        {"standard input from /dev/null",
         {.Argv = Script("readlink /proc/$$/fd/0; cat; echo end")},
         0,
         Text("/dev/null\nend\n")},
        {.Name = "standard input from a pipe",
         .Options = {.Argv = Script("cat; echo end")},
         .ExitCode = 0,
         .Expected = Text("one\ntwo\nend\n"),
         .Input = "one\ntwo\n"},
        {"arguments as they are, the program found on PATH",
         {.Argv = {"sh", "-c", "printf '%s|' \"$@\"", "sh", "a b", "$HOME", "*", "\"q\""}},
         0,
         Text("a b|$HOME|*|\"q\"|")},
        {"the caller's environment without one",
         {.Argv = Script("echo ${TW_SPAWN_CALLER-none} ${TW_SPAWN_GIVEN-none}")},
         0,
         Text("caller none\n")},
        {"the environment given, and nothing else; the program still found on the caller's PATH",
         {.Argv = {"sh", "-c", "echo ${TW_SPAWN_CALLER-none} ${TW_SPAWN_GIVEN-none}"},
          .Environment = {"TW_SPAWN_GIVEN=given"}},
         0,
         Text("none given\n")},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TRun Run = RunToEnd(C.Options, C.Input, C.ErrorsApart);
        EXPECT_EQ(Run.Result.Error, 0);
        ASSERT_GT(Run.Result.Pid, 0);
        EXPECT_EQ(Run.ExitCode, C.ExitCode);
        EXPECT_EQ(Run.Output, C.Expected(Run.Result.Pid));
        EXPECT_EQ(Run.Errors, C.Errors);
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
    for (const TSpawnGroup Group : {sgNewSession, sgNewProcessGroup, sgCallerGroup}) {
        // The program reads its own status: a shell in between may block signals for a moment
        // around its own fork, which a child reading the shell's status could catch.
        const TRun Run =
            RunToEnd({.Argv = {"sed", "-n", "s/^Sig\\(Blk\\|Ign\\):\\t*//p", "/proc/self/status"},
                      .Group = Group});
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
        const TRun Run = RunToEnd({.Argv = C.Argv, .Directory = C.Directory});
        EXPECT_EQ(Run.Result.Error, C.Error);
        EXPECT_EQ(Run.Result.Pid, 0);
        EXPECT_EQ(Run.Output, "");
    }
}
