// Tests of ShellExecute's choices through the launch recorder, of command-line splitting, and
// of real spawning: argument vectors, working folder and reaping.
#include "platform/ui/shellopen.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using TArgs = std::vector<std::string>;

class ShellTarget : public testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/tw_shell_XXXXXX";
        ASSERT_NE(mkdtemp(Template), nullptr);
        FDir = Template;
        FDocument = FDir + "/activity log.txt";
        std::ofstream(FDocument) << "log";
        FProgram = FDir + "/mailer";
        std::ofstream(FProgram) << "#!/bin/sh\n";
        chmod(FProgram.c_str(), 0755);
        FDesktop = FDir + "/evil.desktop";
        std::ofstream(FDesktop) << "[Desktop Entry]\n";
    }
    void TearDown() override
    {
        for (const std::string& File : {FDocument, FProgram, FDesktop, FDir + "/out"})
            std::remove(File.c_str());
        rmdir(FDir.c_str());
    }
    std::string FDir, FDocument, FProgram, FDesktop;
};

TEST_F(ShellTarget, OpensWhatAUserExpectsAndRefusesTheRest)
{
    struct TCase {
        std::string Operation, File, Parameters, Directory;
        int Result; // above 32: started
        TArgs Argv; // what was launched; empty for nothing
    };
    const std::string Url = "https://example.org/update?v=1&x=2";
    const std::string Mail =
        "mailto:friend@example.org?subject=Software recommendation&body=Dear%0D%0A";
    const std::vector<TCase> Cases = {
        {"open", Url, "", "", 42, {"xdg-open", Url}},
        {"OPEN", "HTTP://EXAMPLE.ORG/", "", "", 42, {"xdg-open", "HTTP://EXAMPLE.ORG/"}},
        {"", Mail, "", "", 42, {"xdg-open", Mail}},
        {"open", FDocument, "ignored", "", 42, {"xdg-open", FDocument}},
        {"open", "\"" + FDocument + "\"", "", "", 42, {"xdg-open", FDocument}},
        {"open", "activity log.txt", "", FDir, 42, {"xdg-open", FDocument}},
        {"open", "file://" + FDir + "/activity%20log.txt", "", "", 42, {"xdg-open", FDocument}},
        {"open",
         FProgram,
         "-mail \"two words\" x\\\"y",
         "",
         42,
         {FProgram, "-mail", "two words", "x\"y"}},
        {"open", "javascript:alert(1)", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "ftp://example.org/", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "data:text/html,hi", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "file://otherhost/etc/hosts", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "file:///dev/null", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "file://" + FProgram, "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "file:///tmp/%zz", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "--help", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", "https://example.org/\nX", "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", FDesktop, "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", FDir, "", "", SE_ERR_ACCESSDENIED, {}},
        {"open", FDir + "/missing.txt", "", "", SE_ERR_FNF, {}},
        {"open", "no-such-program-anywhere", "", "", SE_ERR_FNF, {}},
        {"open", "", "", "", SE_ERR_FNF, {}},
        {"open", FDocument, "", FDir + "/missing", SE_ERR_PNF, {}},
        {"print", FDocument, "", "", SE_ERR_NOASSOC, {}},
    };
    for (const TCase& Case : Cases) {
        TLaunchRecorder Recorder;
        int Result = ShellExecute(0, Case.Operation, Case.File, Case.Parameters, Case.Directory, 1);
        EXPECT_EQ(Result, Case.Result) << Case.File;
        if (Case.Argv.empty()) {
            EXPECT_TRUE(Recorder.Launches().empty()) << Case.File;
            continue;
        }
        ASSERT_EQ(Recorder.Launches().size(), 1u) << Case.File;
        EXPECT_EQ(Recorder.Launches()[0].Argv, Case.Argv) << Case.File;
    }
}

TEST_F(ShellTarget, ProgramRunsInTheGivenFolderAndByNameFromThePath)
{
    TLaunchRecorder Recorder;
    EXPECT_GT(ShellExecute(0, "open", FProgram, "", FDir, 1), 32);
    EXPECT_GT(ShellOpen("true"), 32);
    ASSERT_EQ(Recorder.Launches().size(), 2u);
    EXPECT_EQ(Recorder.Launches()[0].Directory, FDir);
    const std::string& Found = Recorder.Launches()[1].Argv.at(0);
    EXPECT_EQ(Found.substr(Found.size() - 5), "/true");
    EXPECT_EQ(Found[0], '/');
}

TEST_F(ShellTarget, LaunchFailuresReachTheCaller)
{
    TLaunchRecorder Recorder;
    Recorder.Result = SE_ERR_FNF; // as when xdg-open is not installed
    EXPECT_EQ(ShellOpen("https://example.org/"), SE_ERR_NOASSOC);
    Recorder.Result = SE_ERR_ACCESSDENIED;
    EXPECT_EQ(ShellExecute(0, "open", FProgram, "", "", 1), SE_ERR_ACCESSDENIED);
}

TEST(CommandLine, SplitsLikeACommandLine)
{
    struct TCase {
        std::string Line;
        TArgs Args;
    };
    const std::vector<TCase> Cases = {
        {"", {}},
        {"   ", {}},
        {"-mail", {"-mail"}},
        {"  a\tb  c ", {"a", "b", "c"}},
        {"\"two words\" x", {"two words", "x"}},
        {"pre\"fix suf\"fix", {"prefix suffix"}},
        {"\"\"", {""}},
        {"say \\\"hi\\\"", {"say", "\"hi\""}},
        {"C:\\path\\to", {"C:\\path\\to"}},
        {"\"unclosed quote here", {"unclosed quote here"}},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(SplitCommandLine(Case.Line), Case.Args) << Case.Line;
}

// Real processes: the launcher installed only for the test.
class RealLaunch : public ShellTarget {
protected:
    void SetUp() override
    {
        ShellTarget::SetUp();
        FPrevious = SetProcessLauncher(&FLauncher);
        FLauncher.OnSpawned = [this](int Pid) { FPids.push_back(Pid); };
    }
    void TearDown() override
    {
        SetProcessLauncher(FPrevious);
        ShellTarget::TearDown();
    }
    TProcessLauncher FLauncher;
    IProcessLauncher* FPrevious = nullptr;
    std::vector<int> FPids;
};

TEST_F(RealLaunch, ProgramIsSpawnedAndReaped)
{
    ASSERT_GT(ShellExecute(0, "open", "/bin/true", "ignored arguments", "", 1), 32);
    ASSERT_EQ(FPids.size(), 1u);
    ASSERT_TRUE(FLauncher.WaitForChildren(10000));
    // A zombie still answers signal 0; a reaped process is gone.
    errno = 0;
    EXPECT_EQ(kill(FPids[0], 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST_F(RealLaunch, ChildGetsItsArgumentsUnchangedAndItsFolder)
{
    TLaunch Launch;
    Launch.Argv = {"/bin/sh", "-c", "pwd > out; printf '%s|' \"$@\" >> out", "sh", "a b", "$HOME",
                   ";x",      "*"};
    Launch.Directory = FDir;
    ASSERT_EQ(FLauncher.Launch(Launch), 0);
    ASSERT_TRUE(FLauncher.WaitForChildren(10000));
    std::ifstream In(FDir + "/out");
    std::stringstream Text;
    Text << In.rdbuf();
    EXPECT_EQ(Text.str(), FDir + "\na b|$HOME|;x|*|");
}

TEST_F(RealLaunch, SpawnFailuresAreReported)
{
    TLaunch Missing;
    Missing.Argv = {FDir + "/no-such-program"};
    EXPECT_EQ(FLauncher.Launch(Missing), SE_ERR_FNF);
    TLaunch NoFolder;
    NoFolder.Argv = {"/bin/true"};
    NoFolder.Directory = FDir + "/missing";
    EXPECT_EQ(FLauncher.Launch(NoFolder), SE_ERR_PNF);
    EXPECT_TRUE(FPids.empty());
}

} // namespace
