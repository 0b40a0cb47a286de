// tests/interop/mail/childprocess.h: running the peers of the interop tests and benchmarks
// (servers, independent clients) from an argument vector, never through a shell, and what
// their fixtures share: files, a free loopback port, and waiting for a server to listen.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

struct TProgramResult {
    int ExitCode = -1; // -1 when the program could not start or died of a signal
    std::string Output;
    std::string Errors;
};

// Runs Argv[0] (looked up in PATH) with stdin from /dev/null and waits for it; its output and
// error text are collected.
TProgramResult RunProgram(const std::vector<std::string>& Argv);

// Starts a long-running program in a process group of its own, with stdin from /dev/null and
// both output streams appended to LogFile. Raises std::runtime_error when it cannot start.
pid_t StartProcessGroup(const std::vector<std::string>& Argv, const std::string& LogFile);

// Ends the whole group started by StartProcessGroup: SIGTERM, a short grace period, then
// SIGKILL; returns once the leader is reaped and no member is left.
void StopProcessGroup(pid_t Leader);

// Waits up to 15 s until the program started as Pid accepts TCP connections on the loopback
// Port. Raises std::runtime_error naming Name, with Details(), when it ends first (Pid is then 0)
// or does not come up.
void WaitUntilAccepting(pid_t& Pid, int Port, const std::string& Name,
                        const std::function<std::string()>& Details);

// A TCP port on 127.0.0.1 that was free when asked.
int FreeLoopbackPort();

// The contents of FileName; "" when it cannot be read.
std::string ReadWholeFile(const std::string& FileName);
// Replaces FileName with Contents; raises std::runtime_error when it cannot.
void WriteWholeFile(const std::string& FileName, const std::string& Contents);

} // namespace TestSupport
