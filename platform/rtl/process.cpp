// platform/rtl/process.cpp: SpawnProcess on posix_spawnp.
#include "platform/rtl/process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace {

// Owns the spawn attributes for the length of one start.
class TSpawnSetup {
public:
    TSpawnSetup()
    {
        posix_spawn_file_actions_init(&Actions);
        posix_spawnattr_init(&Attributes);
    }
    ~TSpawnSetup()
    {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;

    // The first error of the setup calls; 0 when all went well.
    int Prepare(const TSpawnOptions& Options)
    {
        int Error = Options.InputFd >= 0
                        ? posix_spawn_file_actions_adddup2(&Actions, Options.InputFd, STDIN_FILENO)
                        : posix_spawn_file_actions_addopen(&Actions, STDIN_FILENO, "/dev/null",
                                                           O_RDONLY, 0);
        if (Error == 0 && Options.OutputFd >= 0)
            Error = posix_spawn_file_actions_adddup2(&Actions, Options.OutputFd, STDOUT_FILENO);
        const int ErrorFd =
            Options.ErrorFd == TSpawnOptions::ErrorsWithOutput ? Options.OutputFd : Options.ErrorFd;
        if (Error == 0 && ErrorFd >= 0)
            Error = posix_spawn_file_actions_adddup2(&Actions, ErrorFd, STDERR_FILENO);
        if (Error == 0 && !Options.Directory.empty())
            Error = posix_spawn_file_actions_addchdir_np(&Actions, Options.Directory.c_str());
        // Signals as in a new process: what the caller blocks or ignores is its own business.
        sigset_t Signals;
        sigemptyset(&Signals);
        if (Error == 0)
            Error = posix_spawnattr_setsigmask(&Attributes, &Signals);
        sigfillset(&Signals);
        if (Error == 0)
            Error = posix_spawnattr_setsigdefault(&Attributes, &Signals);
        short Flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (Options.Group == sgNewSession) {
            Flags |= POSIX_SPAWN_SETSID;
        } else if (Options.Group == sgNewProcessGroup) {
            Flags |= POSIX_SPAWN_SETPGROUP;
            if (Error == 0)
                Error = posix_spawnattr_setpgroup(&Attributes, 0);
        }
        if (Error == 0)
            Error = posix_spawnattr_setflags(&Attributes, Flags);
        return Error;
    }

    posix_spawn_file_actions_t Actions;
    posix_spawnattr_t Attributes;
};

// The null-terminated array of Strings that exec takes.
std::vector<char*> Pointers(const std::vector<std::string>& Strings)
{
    std::vector<char*> Result;
    for (const std::string& String : Strings)
        Result.push_back(const_cast<char*>(String.c_str()));
    Result.push_back(nullptr);
    return Result;
}

} // namespace

TSpawnResult SpawnProcess(const TSpawnOptions& Options)
{
    TSpawnResult Result;
    if (Options.Argv.empty() || Options.Argv[0].empty()) {
        Result.Error = ENOENT;
        return Result;
    }
    std::vector<char*> Argv = Pointers(Options.Argv);
    std::vector<char*> Environment = Pointers(Options.Environment);

    TSpawnSetup Setup;
    Result.Error = Setup.Prepare(Options);
    if (Result.Error == 0)
        Result.Error =
            posix_spawnp(&Result.Pid, Argv[0], &Setup.Actions, &Setup.Attributes, Argv.data(),
                         Options.Environment.empty() ? environ : Environment.data());
    if (Result.Error != 0)
        Result.Pid = 0;
    return Result;
}
