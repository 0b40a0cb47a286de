#include "tests/support/processrole.h"

#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>

#include <spawn.h>

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
    std::vector<std::string> Env;
    for (char** E = environ; *E != nullptr; ++E)
        Env.emplace_back(*E);
    Env.insert(Env.end(), Extra.begin(), Extra.end());
    std::vector<char*> EnvPtrs;
    for (std::string& E : Env)
        EnvPtrs.push_back(E.data());
    EnvPtrs.push_back(nullptr);
    std::string Exe = "/proc/self/exe";
    std::string Argument = Switch + Name;
    char* Argv[] = {Exe.data(), Argument.data(), nullptr};
    pid_t Child = 0;
    if (posix_spawn(&Child, Exe.c_str(), nullptr, nullptr, Argv, EnvPtrs.data()) != 0)
        throw std::runtime_error("cannot start the process role " + Name);
    return Child;
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
