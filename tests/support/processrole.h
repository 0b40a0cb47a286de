// tests/support/processrole.h: tests that need a second process start their own test binary
// again with "--process-role=<name>"; the binary then runs that role instead of the tests, so
// no test exists only to be skipped in every ordinary run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace TestSupport {

// A role returns the child's exit status; it reports what went wrong on standard error.
using TProcessRole = std::function<int()>;

bool RegisterProcessRole(const std::string& Name, TProcessRole Role);

// Starts this binary in the role Name with the current environment plus Extra ("NAME=value");
// the caller waits for the returned process.
pid_t StartProcessRole(const std::string& Name, const std::vector<std::string>& Extra = {});

// Runs the role named by a "--process-role=" argument; false when there is none.
bool RunProcessRole(int argc, char** argv, int& ExitCode);

} // namespace TestSupport

// Defines and registers a role: TARNWICK_PROCESS_ROLE(InstanceSearchSecondSide) { ...; return 0; }
#define TARNWICK_PROCESS_ROLE(Name)                                                                \
    static int ProcessRole_##Name();                                                               \
    static const bool ProcessRoleRegistered_##Name =                                               \
        ::TestSupport::RegisterProcessRole(#Name, ProcessRole_##Name);                             \
    static int ProcessRole_##Name()
