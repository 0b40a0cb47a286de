#include "tests/platform/ui/uitest.h"

#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

TEST(InstanceSearch, ASecondProcessFindsTheFirstAndAsksItToComeForward)
{
    if (std::getenv("TARNWICK_UI_CHILD") != nullptr)
        GTEST_SKIP() << "the first process's side";
    TApplication App(nullptr);
    const std::string Caption = "Tarnwick probe " + std::to_string(getpid());
    App.SetTitle(Caption);
    App.Minimize();
    ASSERT_TRUE(IsIconic(App.Handle()));

    std::vector<std::string> Env;
    for (char** E = environ; *E != nullptr; ++E)
        Env.emplace_back(*E);
    Env.emplace_back("TARNWICK_UI_CHILD=1");
    Env.emplace_back("TARNWICK_PROBE_CAPTION=" + Caption);
    std::vector<char*> EnvPtrs;
    for (auto& E : Env)
        EnvPtrs.push_back(E.data());
    EnvPtrs.push_back(nullptr);
    std::string Exe = "/proc/self/exe";
    std::string Filter = "--gtest_filter=InstanceSearch.SecondProcessSide";
    char* Argv[] = {Exe.data(), Filter.data(), nullptr};
    pid_t Child = 0;
    ASSERT_EQ(posix_spawn(&Child, Exe.c_str(), nullptr, nullptr, Argv, EnvPtrs.data()), 0);

    const auto Start = std::chrono::steady_clock::now();
    const TPumpResult Result = WaitUntil(
        [&] { return !IsIconic(App.Handle()) && GetForegroundWindow() == App.Handle(); }, 10000);
    // The request is carried out as it arrives, not when the wait's time-out ends.
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    EXPECT_EQ(Result, prDone);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
}

// Runs only in the process the test above starts.
TEST(InstanceSearch, SecondProcessSide)
{
    const char* Caption = std::getenv("TARNWICK_PROBE_CAPTION");
    if (std::getenv("TARNWICK_UI_CHILD") == nullptr || Caption == nullptr)
        GTEST_SKIP() << "the second process's side";
    HWND Found = 0;
    EnumWindows([&](HWND Wnd) {
        // Exact comparison, as the single-instance guard makes it.
        if (GetClassName(Wnd) == "TApplication" && GetWindowText(Wnd) == Caption) {
            Found = Wnd;
            return false;
        }
        return true;
    });
    ASSERT_NE(Found, 0u);
    EXPECT_TRUE(IsForeignWindow(Found));
    EXPECT_EQ(FindWindow("tapplication", Caption), Found);
    EXPECT_TRUE(ShowWindow(Found, SW_RESTORE));
}
