#include "desktop/cfirstin.h"

#include "platform/forms/form.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"
#include "tests/support/processrole.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class TGuardApplication : public TApplication {
public:
    TGuardApplication() : TApplication(nullptr) { Application = this; }
    ~TGuardApplication() override { Application = nullptr; }
};

// Loads a main form carrying the guard, as the program starts, and turns the loop once; true
// when the guard asked the application to end.
bool StartWithGuard(const TFirstInstanceEvent& Handler = nullptr)
{
    TForm Form(nullptr);
    auto* Guard = new TFirstInstance(&Form);
    Guard->OnFoundInstance = Handler;
    Form.BeginLoading();
    Form.EndLoading();
    Application->ProcessMessages();
    return Application->Terminated();
}

// The later instance: TARNWICK_GUARD_TITLE is its title, TARNWICK_GUARD_EXPECT "ends" or "runs",
// TARNWICK_GUARD_HANDLER "keep" for a handler that lets it run.
TARNWICK_PROCESS_ROLE(LaterInstance)
{
    const char* Title = std::getenv("TARNWICK_GUARD_TITLE");
    const char* Expect = std::getenv("TARNWICK_GUARD_EXPECT");
    const char* Handler = std::getenv("TARNWICK_GUARD_HANDLER");
    if (Title == nullptr || Expect == nullptr)
        return 2;
    TGuardApplication App;
    App.SetTitle(Title);
    HWND Seen = 0;
    TFirstInstanceEvent Keep = [&](TObject*, HWND Handle, bool& ShowFirst) {
        Seen = Handle;
        ShowFirst = false;
    };
    const bool Ended = StartWithGuard(Handler != nullptr ? Keep : nullptr);
    if (Ended != (std::string(Expect) == "ends")) {
        std::fprintf(stderr, "the later instance %s\n", Ended ? "ended" : "went on");
        return 1;
    }
    if (Handler != nullptr &&
        (Seen == 0 || !IsForeignWindow(Seen) ||
         GetWindowText(Seen).substr(0, 60) != std::string(Title).substr(0, 60))) {
        std::fprintf(stderr, "the handler did not get the earlier instance's window\n");
        return 1;
    }
    return 0;
}

int RunLater(const std::string& Title, const std::string& Expect, bool Handler = false)
{
    std::vector<std::string> Environment = {"TARNWICK_GUARD_TITLE=" + Title,
                                            "TARNWICK_GUARD_EXPECT=" + Expect};
    if (Handler)
        Environment.push_back("TARNWICK_GUARD_HANDLER=keep");
    const pid_t Child = TestSupport::StartProcessRole("LaterInstance", Environment);
    // The earlier instance keeps its loop turning, so that it answers the later one; the
    // child's end wakes the loop through a process descriptor.
    const int ProcessFd = static_cast<int>(syscall(SYS_pidfd_open, Child, 0));
    const int Id = ProcessFd >= 0 ? RegisterDescriptor(ProcessFd, POLLIN, [](int, short) {}) : -1;
    int Status = 0;
    bool Ended = false;
    WaitUntil([&] { return Ended = waitpid(Child, &Status, WNOHANG) == Child; }, 10000);
    if (Id >= 0)
        UnregisterDescriptor(Id);
    if (ProcessFd >= 0)
        close(ProcessFd);
    if (!Ended)
        waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

TEST(FirstInstance, ASecondStartGivesWayAndTheFirstIsRestored)
{
    TGuardApplication App;
    const std::string Title = "Tarnwick guard " + std::to_string(getpid());
    App.SetTitle(Title);
    App.Minimize();
    ASSERT_TRUE(IsIconic(App.Handle()));
    EXPECT_EQ(RunLater(Title, "ends"), 0);
    EXPECT_EQ(WaitUntil([&] { return !IsIconic(App.Handle()); }, 5000), prDone);
    EXPECT_FALSE(App.Terminated());
}

TEST(FirstInstance, ASecondStartBringsAVisibleFirstToTheFront)
{
    TGuardApplication App;
    const std::string Title = "Tarnwick guard front " + std::to_string(getpid());
    App.SetTitle(Title);
    ShowWindow(App.Handle(), SW_SHOW);
    SetForegroundWindow(GetDesktopWindow());
    ASSERT_NE(GetForegroundWindow(), App.Handle());
    EXPECT_EQ(RunLater(Title, "ends"), 0);
    EXPECT_EQ(WaitUntil([&] { return GetForegroundWindow() == App.Handle(); }, 5000), prDone);
}

TEST(FirstInstance, OtherTitlesAndAHandlerThatKeepsBothLetTheSecondRun)
{
    TGuardApplication App;
    const std::string Title = "Tarnwick guard case " + std::to_string(getpid());
    App.SetTitle(Title);
    std::string Upper = Title;
    for (char& C : Upper)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    EXPECT_EQ(RunLater(Upper, "runs"), 0);
    EXPECT_EQ(RunLater(Title + " 2", "runs"), 0);
    EXPECT_EQ(RunLater(Title, "runs", true), 0);
}

TEST(FirstInstance, TitlesAreComparedOnTheirFirstSixtyBytes)
{
    TGuardApplication App;
    const std::string Title = std::string(54, 'T') + std::to_string(100000 + getpid() % 100000);
    ASSERT_EQ(Title.size(), 60u);
    App.SetTitle(Title + "-first-copy");
    EXPECT_EQ(RunLater(Title + "-later-copy", "ends"), 0);
}

TEST(FirstInstance, AnEmptyTitleSearchesNothing)
{
    TGuardApplication App;
    App.SetTitle("");
    EXPECT_FALSE(StartWithGuard());
}

} // namespace
