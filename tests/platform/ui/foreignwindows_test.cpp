#include "tests/platform/ui/uitest.h"

#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/wait.h"
#include "tests/support/processrole.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// The second process: finds the first one's application window and asks it to come forward.
TARNWICK_PROCESS_ROLE(InstanceSearchSecondSide)
{
    const char* Caption = std::getenv("TARNWICK_PROBE_CAPTION");
    if (Caption == nullptr)
        return 2;
    HWND Found = 0;
    EnumWindows([&](HWND Wnd) {
        // Exact comparison, as the single-instance guard makes it.
        if (GetClassName(Wnd) == "TApplication" && GetWindowText(Wnd) == Caption) {
            Found = Wnd;
            return false;
        }
        return true;
    });
    const std::pair<bool, const char*> Checks[] = {
        {Found != 0, "the first process's window was not found"},
        {Found != 0 && IsForeignWindow(Found), "the window found is not another process's"},
        {FindWindow("tapplication", Caption) == Found, "FindWindow found another window"},
        {Found != 0 && ShowWindow(Found, SW_RESTORE), "the restore request failed"},
    };
    for (const auto& [Passed, Failure] : Checks)
        if (!Passed) {
            std::fprintf(stderr, "%s\n", Failure);
            return 1;
        }
    return 0;
}

TEST(InstanceSearch, ASecondProcessFindsTheFirstAndAsksItToComeForward)
{
    TApplication App(nullptr);
    const std::string Caption = "Tarnwick probe " + std::to_string(getpid());
    App.SetTitle(Caption);
    App.Minimize();
    ASSERT_TRUE(IsIconic(App.Handle()));

    const pid_t Child = TestSupport::StartProcessRole("InstanceSearchSecondSide",
                                                      {"TARNWICK_PROBE_CAPTION=" + Caption});
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
