// MenuWindows() of the menu tests against another process's menu window: test processes run
// side by side and each sees the others' top-level windows.
#include "tests/platform/forms/menutest.h"

#include "platform/ui/application.h"
#include "platform/ui/wait.h"
#include "tests/support/processrole.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The other process: a window of the menu class, then a word to the first process's
// application window, then waits until the first process shows the window, its word to end.
TARNWICK_PROCESS_ROLE(ForeignMenuWindowSide)
{
    const char* Caption = std::getenv("TARNWICK_PROBE_CAPTION");
    if (Caption == nullptr)
        return 2;
    TWndClass Class;
    if (!GetClassInfo("#32768", Class)) {
        Class.ClassName = "#32768";
        RegisterClass(Class);
    }
    const HWND Menu =
        CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "#32768", "", WS_POPUP, 10, 10, 80, 60, 0);
    const HWND First = FindWindow("TApplication", Caption);
    if (Menu == 0 || First == 0 || !ShowWindow(First, SW_RESTORE)) {
        std::fprintf(stderr, "no menu window, or the first process was not reached\n");
        return 1;
    }
    const TPumpResult Result = WaitUntil([&] { return IsWindowVisible(Menu); }, 10000);
    DestroyWindow(Menu);
    return Result == prDone ? 0 : 1;
}

TEST(MenuWindows, AnotherProcesssMenuWindowIsNotAmongThisProcesssMenus)
{
    TApplication App(nullptr);
    const std::string Caption = "Tarnwick menu probe " + std::to_string(getpid());
    App.SetTitle(Caption);
    App.Minimize();
    const pid_t Child = TestSupport::StartProcessRole("ForeignMenuWindowSide",
                                                      {"TARNWICK_PROBE_CAPTION=" + Caption});
    EXPECT_EQ(WaitUntil([&] { return !IsIconic(App.Handle()); }, 10000), prDone);
    HWND Foreign = 0;
    EnumWindows([&](HWND Wnd) {
        if (IsForeignWindow(Wnd) && GetClassName(Wnd) == "#32768")
            Foreign = Wnd;
        return Foreign == 0;
    });
    EXPECT_NE(Foreign, 0u);
    EXPECT_TRUE(MenuWindows().empty());
    if (Foreign != 0)
        ShowWindow(Foreign, SW_SHOW);
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
}
