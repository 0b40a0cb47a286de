#include "tests/support/processrole.h"

#include "platform/rtl/process.h"

#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>

extern char** environ;

namespace TestSupport {

namespace {

const std::string Switch = "--process-role=";

std::map<std::string, TProcessRole>& Roles()
{
    static std::map<std::string, TProcessRole> Registered;
    return Registered;
}

} // namespace

bool RegisterProcessRole(const std::string& Name, TProcessRole Role)
{
    return Roles().emplace(Name, std::move(Role)).second;
}

pid_t StartProcessRole(const std::string& Name, const std::vector<std::string>& Extra)
{
    TSpawnOptions Options;
    Options.Argv = {"/proc/self/exe", Switch + Name};
    for (char** E = environ; *E != nullptr; ++E)
        Options.Environment.emplace_back(*E);
    Options.Environment.insert(Options.Environment.end(), Extra.begin(), Extra.end());
    // Waited for by the test, so it stays in the test's group: an interrupted run ends it too.
    Options.Group = sgCallerGroup;
    const TSpawnResult Spawned = SpawnProcess(Options);
    if (Spawned.Error != 0)
        throw std::runtime_error("cannot start the process role " + Name);
    return Spawned.Pid;
}

bool RunProcessRole(int argc, char** argv, int& ExitCode)
{
    if (argc < 2 || std::string(argv[1]).rfind(Switch, 0) != 0)
        return false;
    const std::string Name = std::string(argv[1]).substr(Switch.size());
    const auto Found = Roles().find(Name);
    if (Found == Roles().end()) {
        std::fprintf(stderr, "no process role named %s\n", Name.c_str());
        ExitCode = 2;
        return true;
    }
    try {
        ExitCode = Found->second();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "process role %s: %s\n", Name.c_str(), E.what());
        ExitCode = 1;
    }
    return true;
}

} // namespace TestSupport
