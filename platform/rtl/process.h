// platform/rtl/process.h: starting a program. Never through a shell: the child gets an argument
// vector, standard input from /dev/null unless given one, an empty signal mask and default
// signal handling.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// What the child is set apart in, so that it can be told from (and signalled apart from) its
// parent.
enum TSpawnGroup {
    sgNewSession,      // a session of its own: it outlives a closed terminal
    sgNewProcessGroup, // a process group of its own: one kill reaches what it starts as well
    sgCallerGroup      // the caller's process group: a Ctrl-C at the terminal ends both
};

// Every member has an initializer, so that a designated initializer may leave any out.
struct TSpawnOptions {
    // Argv[0] is looked up on the caller's PATH unless it holds a "/".
    std::vector<std::string> Argv = {};
    // Working folder; "" keeps the caller's.
    std::string Directory = {};
    // Standard input; -1 is /dev/null.
    int InputFd = -1;
    // Standard output; -1 keeps the caller's.
    int OutputFd = -1;
    // Standard error: with standard output (wherever that goes), a descriptor of its own, or -1
    // for the caller's.
    static constexpr int ErrorsWithOutput = -2;
    int ErrorFd = ErrorsWithOutput;
    // The child's whole environment as "NAME=value" entries; empty passes the caller's on.
    std::vector<std::string> Environment = {};
    TSpawnGroup Group = sgNewSession;
};

struct TSpawnResult {
    pid_t Pid = 0; // the child, when it started; the caller reaps it
    int Error = 0; // errno of a failed start (ENOENT for no program or no working folder)
};

// Starts the program and returns at once. A start that fails (no program, not executable, no
// working folder) leaves no child and says why in Error. The descriptors are the caller's to
// close; the child gets its own copies.
TSpawnResult SpawnProcess(const TSpawnOptions& Options);
