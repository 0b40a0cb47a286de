// platform/ui/shellopen.h: opening web pages, mail links and files with the desktop's handler
// (xdg-open), and starting programs. Nothing goes through a shell: every child gets an argument
// vector, and is reaped without a SIGCHLD handler.
#pragma once

#include "platform/ui/wintypes.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Results of 32 and below: why nothing was opened. Success is above 32.
enum : int {
    SE_ERR_FNF = 2,          // no such file or program
    SE_ERR_PNF = 3,          // no such working folder
    SE_ERR_ACCESSDENIED = 5, // refused: a scheme or file that is not opened from here
    SE_ERR_OOM = 8,          // the system could not start the process
    SE_ERR_NOASSOC = 31,     // no handler for the verb, or no xdg-open on this machine
};

// One process to start: Argv[0] is looked up on PATH unless it holds a "/".
struct TLaunch {
    std::vector<std::string> Argv;
    std::string Directory; // working folder; "" keeps the program's own
};

// Starts processes; replaceable, so tests record instead of spawning.
class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // 0 when started, else an SE_ERR_* code.
    virtual int Launch(const TLaunch& Launch) = 0;
};

IProcessLauncher& ProcessLauncher();
// Installs Launcher (not owned; null restores the built-in one); returns the one it replaces.
IProcessLauncher* SetProcessLauncher(IProcessLauncher* Launcher);

// The real launcher: SpawnProcess (platform/rtl/process.h) in a session of its own; a
// background thread per child waits for it.
class TProcessLauncher : public IProcessLauncher {
public:
    TProcessLauncher();
    int Launch(const TLaunch& Launch) override;

    // Called with each child's process id once it has started.
    std::function<void(int Pid)> OnSpawned;
    // Waits up to TimeoutMs until every child this launcher started has ended and been reaped.
    bool WaitForChildren(int TimeoutMs);

private:
    struct TChildren {
        std::mutex Mutex;
        std::condition_variable Ended;
        std::size_t Running = 0;
    };
    std::shared_ptr<TChildren> FChildren;
};

// For tests: installed while it lives; records each launch and answers Result (0: started).
class TLaunchRecorder : public IProcessLauncher {
public:
    TLaunchRecorder();
    ~TLaunchRecorder() override;
    TLaunchRecorder(const TLaunchRecorder&) = delete;
    TLaunchRecorder& operator=(const TLaunchRecorder&) = delete;

    int Launch(const TLaunch& Launch) override;

    int Result = 0;
    const std::vector<TLaunch>& Launches() const { return FLaunches; }

private:
    IProcessLauncher* FPrevious = nullptr;
    std::vector<TLaunch> FLaunches;
};

// Splits a command line into arguments: blanks separate, double quotes group (a quote inside
// is written \"), and an unclosed quote runs to the end.
std::vector<std::string> SplitCommandLine(const std::string& Line);

// Operation "open" (or empty). File is an http, https or mailto URL, a file: URL or path of an
// existing file, or a program (a path, or a name on PATH) which runs with Parameters split as a
// command line in Directory. URLs and documents go to xdg-open. Anything else is refused:
// other schemes, names starting with "-", files that are not regular, desktop entries, text
// with control characters. Returns above 32 when started, else an SE_ERR_* code. Wnd and
// ShowCmd are not used: the handler places its own window.
int ShellExecute(HWND Wnd, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int ShowCmd);
// ShellExecute with "open" and nothing else.
int ShellOpen(const std::string& Target);
