// platform/rtl/process.h: starting a program. Never through a shell: the child gets an argument
// vector, standard input from /dev/null, an empty signal mask and default signal handling.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// What the child is set apart in, so that it can be told from (and signalled apart from) its
// parent.
enum TSpawnGroup {
    sgNewSession,     // a session of its own: it outlives a closed terminal
    sgNewProcessGroup // a process group of its own: one kill reaches what it starts as well
};

struct TSpawnOptions {
    // Argv[0] is looked up on PATH unless it holds a "/".
    std::vector<std::string> Argv;
    // Working folder; "" keeps the caller's.
    std::string Directory;
    // Standard output and error both go to this descriptor; -1 keeps the caller's.
    int OutputFd = -1;
    TSpawnGroup Group = sgNewSession;
};

struct TSpawnResult {
    pid_t Pid = 0; // the child, when it started; the caller reaps it
    int Error = 0; // errno of a failed start (ENOENT for no program or no working folder)
};

// Starts the program and returns at once. A start that fails (no program, not executable, no
// working folder) leaves no child and says why in Error.
TSpawnResult SpawnProcess(const TSpawnOptions& Options);
