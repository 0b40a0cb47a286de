// tests/gui/xserver.h: a private X server (Xvfb) for one test, the X11 driver on it, and the
// command-line X tools run against it while the test's message loop keeps turning.
#pragma once

#include "platform/ui/application.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"

#include "platform/rtl/process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace guitest {

struct TRunResult {
    int Status = -1; // the exit code; -1 when it did not end normally
    std::string Output;
};

// This process's environment for a program on Display. The tests themselves run with the
// headless back end chosen; a program started here uses the X server.
inline std::vector<std::string> Environment(const std::string& Display)
{
    std::vector<std::string> Env;
    for (char** E = environ; *E != nullptr; ++E) {
        const std::string Entry = *E;
        if (Entry.rfind("DISPLAY=", 0) != 0 && Entry.rfind("TARNWICK_BACKEND=", 0) != 0)
            Env.push_back(Entry);
    }
    Env.push_back("DISPLAY=" + Display);
    return Env;
}

// A tool started on Display: in the test's process group, so that an interrupted run ends it as
// well, and with its complaints on the test's standard error.
inline TSpawnOptions ToolOptions(const std::string& Display, std::vector<std::string> Args)
{
    TSpawnOptions Options;
    Options.Argv = std::move(Args);
    Options.Environment = Environment(Display);
    Options.ErrorFd = -1;
    Options.Group = sgCallerGroup;
    return Options;
}

// Reads the display's events and dispatches what they became: through the application when
// there is one, so that forms see their keys first (dialog keys, the default button).
inline void Turn()
{
    PollOnce();
    if (Application != nullptr) {
        Application->ProcessMessages();
        return;
    }
    TMsg Msg;
    while (PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(Msg);
        DispatchMessage(Msg);
    }
}

// Runs a tool with DISPLAY set, feeding Input to it and turning the message loop (so that this
// process can answer the tool) until it ends; a tool that takes longer than 20 s is killed.

inline TRunResult RunTool(const std::string& Display, std::vector<std::string> Args,
                          const std::string& Input = {})
{
    TRunResult Result;
    int Out[2], In[2];
    if (pipe2(Out, O_CLOEXEC) != 0 || pipe2(In, O_CLOEXEC) != 0)
        return Result;
    TSpawnOptions Options = ToolOptions(Display, std::move(Args));
    Options.InputFd = In[0];
    Options.OutputFd = Out[1];
    const pid_t Pid = SpawnProcess(Options).Pid;
    close(Out[1]);
    close(In[0]);
    if (Pid == 0) {
        close(Out[0]);
        close(In[1]);
        return Result;
    }
    if (!Input.empty()) [[maybe_unused]]
        auto Written = write(In[1], Input.data(), Input.size());
    close(In[1]);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        Turn();
        pollfd Fd{Out[0], POLLIN, 0};
        if (poll(&Fd, 1, 10) > 0) {
            char Buffer[4096];
            const ssize_t Got = read(Out[0], Buffer, sizeof Buffer);
            if (Got <= 0)
                break;
            Result.Output.append(Buffer, static_cast<std::size_t>(Got));
        }
        if (std::chrono::steady_clock::now() > Deadline) {
            kill(Pid, SIGKILL);
            break;
        }
    }
    close(Out[0]);
    int Status = 0;
    while (waitpid(Pid, &Status, WNOHANG) == 0) {
        Turn();
        usleep(2000);
    }
    Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    return Result;
}

// Starts a tool in the background with DISPLAY set and Input on its standard input; EndTool
// waits for it (turning the loop) and kills it when it takes longer than five seconds.
inline pid_t StartTool(const std::string& Display, std::vector<std::string> Args,
                       const std::string& Input)
{
    int In[2];
    if (pipe2(In, O_CLOEXEC) != 0)
        return 0;
    const int Null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    TSpawnOptions Options = ToolOptions(Display, std::move(Args));
    Options.InputFd = In[0];
    Options.OutputFd = Null;
    const pid_t Pid = Null >= 0 ? SpawnProcess(Options).Pid : 0;
    close(Null);
    close(In[0]);
    if (Pid != 0 && !Input.empty()) [[maybe_unused]]
        auto Written = write(In[1], Input.data(), Input.size());
    close(In[1]);
    return Pid;
}

inline int EndTool(pid_t Pid)
{
    const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int Status = 0;
    while (waitpid(Pid, &Status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > Until) {
            kill(Pid, SIGKILL);
            waitpid(Pid, &Status, 0);
            return -1;
        }
        Turn();
        usleep(2000);
    }
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// Turns the loop for a while (real time): lets the server's events arrive and be handled.
inline void Pump(int Milliseconds)
{
    const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
    while (std::chrono::steady_clock::now() < Until) {
        Turn();
        usleep(2000);
    }
}

// Pumps until Done holds or twenty seconds pass: the tools answer within a second on an idle
// machine, but a loaded one (several test processes on two cores) can take several.
template <class F>
bool PumpUntil(F Done)
{
    const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Until)
            return false;
        Turn();
        usleep(2000);
    }
    return true;
}

// Starts Xvfb on a free display and installs the X11 driver on it; stops both at the end. The
// screen is not the common 1024 x 768, so that a size taken for granted shows; a fixture may ask
// for another size or resolution in its constructor, and a test may start the server again.
class XServerTest : public ::testing::Test {
protected:
    void SetUp() override { StartServer(); }

    void TearDown() override
    {
        EXPECT_EQ(WindowCount(), 0) << "a test left windows behind";
        StopServer();
    }

    // Starts the server with ScreenSize and Dpi and installs its driver; skips the test when
    // there is no Xvfb.
    void StartServer()
    {
        const auto X11 = DisplayBackEnds().Find("x11");
        if (!X11)
            GTEST_SKIP() << "built without the X11 back end";
        // The server writes its display number to its standard output (and closes that);
        // its chatter on standard error is of no use here.
        int Ready[2];
        ASSERT_EQ(pipe2(Ready, O_CLOEXEC), 0);
        const int Null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        ASSERT_GE(Null, 0);
        TSpawnOptions Options;
        Options.Argv = {"Xvfb", "-displayfd",       "1",         "-screen",
                        "0",    ScreenSize + "x24", "-nolisten", "tcp"};
        if (Dpi > 0)
            Options.Argv.insert(Options.Argv.end(), {"-dpi", std::to_string(Dpi)});
        Options.OutputFd = Ready[1];
        Options.ErrorFd = Null;
        // In the test's process group: an interrupted run ends the server as well.
        Options.Group = sgCallerGroup;
        const TSpawnResult Spawned = SpawnProcess(Options);
        FServer = Spawned.Pid;
        close(Null);
        close(Ready[1]);
        if (Spawned.Error != 0) {
            close(Ready[0]);
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup --test)";
        }
        std::string Number;
        pollfd Fd{Ready[0], POLLIN, 0};
        while (poll(&Fd, 1, 10000) > 0) {
            char C = 0;
            if (read(Ready[0], &C, 1) != 1 || C == '\n')
                break;
            Number += C;
        }
        close(Ready[0]);
        ASSERT_FALSE(Number.empty()) << "Xvfb did not start";
        Display = ":" + Number;
        // The back end connects to the display DISPLAY names, as the program's does.
        const char* Before = std::getenv("DISPLAY");
        FDisplayBefore = Before != nullptr ? Before : "";
        setenv("DISPLAY", Display.c_str(), 1);
        auto Driver = X11->Create();
        ASSERT_NE(Driver, nullptr);
        SetDisplayDriver(std::move(Driver));
    }

    // Takes the driver away (no window may be left) and ends the server.
    void StopServer()
    {
        if (!Display.empty())
            SetDisplayDriver(nullptr);
        Display.clear();
        if (FDisplayBefore) {
            if (FDisplayBefore->empty())
                unsetenv("DISPLAY");
            else
                setenv("DISPLAY", FDisplayBefore->c_str(), 1);
            FDisplayBefore.reset();
        }
        if (FServer > 0) {
            kill(FServer, SIGTERM);
            int Status = 0;
            waitpid(FServer, &Status, 0);
            FServer = 0;
        }
    }

    std::string ScreenSize = "1280x1024";
    int Dpi = 0; // 0: Xvfb's own
    std::string Display;

private:
    pid_t FServer = 0;
    // DISPLAY's value before the server started ("" when unset); none while DISPLAY is not ours.
    std::optional<std::string> FDisplayBefore;
};

// A private X server with the application object on it, freed before the server stops.
class XServerAppTest : public XServerTest {
protected:
    void SetUp() override
    {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        App = std::make_unique<TApplication>(nullptr);
        Application = App.get();
    }

    void TearDown() override
    {
        App.reset();
        XServerTest::TearDown();
    }

    std::unique_ptr<TApplication> App;
};

} // namespace guitest
