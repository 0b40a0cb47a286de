// tests/interop/mail/childprocess.cpp: running the peers of the interop tests and benchmarks.
#include "tests/interop/mail/childprocess.h"

#include "platform/rtl/process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace TestSupport {

namespace {

int ExitCodeOf(int Status)
{
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

void Pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

sockaddr_in Loopback(int Port)
{
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Address.sin_port = htons(static_cast<uint16_t>(Port));
    return Address;
}

bool Accepts(int Port)
{
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        return false;
    sockaddr_in Address = Loopback(Port);
    const bool Result = ::connect(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0;
    ::close(Fd);
    return Result;
}

} // namespace

TProgramResult RunProgram(const std::vector<std::string>& Argv)
{
    TProgramResult Result;
    int Out[2], Err[2];
    if (::pipe2(Out, O_CLOEXEC) != 0)
        return Result;
    if (::pipe2(Err, O_CLOEXEC) != 0) {
        ::close(Out[0]);
        ::close(Out[1]);
        return Result;
    }
    TSpawnOptions Options;
    Options.Argv = Argv;
    Options.OutputFd = Out[1];
    Options.ErrorFd = Err[1];
    // Waited for here, so it stays in the caller's group: an interrupted run ends it as well.
    Options.Group = sgCallerGroup;
    const TSpawnResult Spawned = SpawnProcess(Options);
    ::close(Out[1]);
    ::close(Err[1]);
    if (Spawned.Error != 0) {
        ::close(Out[0]);
        ::close(Err[0]);
        Result.Errors = "cannot start " + Argv[0] + ": " + std::strerror(Spawned.Error);
        return Result;
    }
    const pid_t Pid = Spawned.Pid;

    pollfd Fds[2] = {{Out[0], POLLIN, 0}, {Err[0], POLLIN, 0}};
    std::string* Targets[2] = {&Result.Output, &Result.Errors};
    int Open = 2;
    while (Open > 0) {
        if (::poll(Fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int I = 0; I < 2; ++I) {
            if (Fds[I].fd < 0 || Fds[I].revents == 0)
                continue;
            char Buffer[65536];
            ssize_t Count = ::read(Fds[I].fd, Buffer, sizeof Buffer);
            if (Count > 0) {
                Targets[I]->append(Buffer, static_cast<std::size_t>(Count));
            } else if (Count == 0 || errno != EINTR) {
                ::close(Fds[I].fd);
                Fds[I].fd = -1;
                --Open;
            }
        }
    }
    for (pollfd& Fd : Fds)
        if (Fd.fd >= 0)
            ::close(Fd.fd);
    int Status = 0;
    while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
    }
    Result.ExitCode = ExitCodeOf(Status);
    return Result;
}

pid_t StartProcessGroup(const std::vector<std::string>& Argv, const std::string& LogFile)
{
    const int Log = ::open(LogFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (Log < 0)
        throw std::runtime_error("cannot open " + LogFile + ": " + std::strerror(errno));
    TSpawnOptions Options;
    Options.Argv = Argv;
    Options.OutputFd = Log;
    Options.Group = sgNewProcessGroup;
    const TSpawnResult Spawned = SpawnProcess(Options);
    ::close(Log);
    if (Spawned.Error != 0)
        throw std::runtime_error("cannot start " + Argv[0] + ": " + std::strerror(Spawned.Error));
    return Spawned.Pid;
}

void StopProcessGroup(pid_t Leader)
{
    if (Leader <= 0)
        return;
    ::kill(-Leader, SIGTERM);
    int Status = 0;
    bool Reaped = false;
    for (int Step = 0; Step < 250 && !Reaped; ++Step) {
        Reaped = ::waitpid(Leader, &Status, WNOHANG) == Leader;
        if (!Reaped)
            Pause();
    }
    if (!Reaped) {
        ::kill(-Leader, SIGKILL);
        while (::waitpid(Leader, &Status, 0) < 0 && errno == EINTR) {
        }
    }
    // Members the leader left behind (they are no children of ours, so only wait for them).
    for (int Step = 0; Step < 250 && ::kill(-Leader, 0) == 0; ++Step) {
        if (Step == 50)
            ::kill(-Leader, SIGKILL);
        Pause();
    }
}

void WaitUntilAccepting(pid_t& Pid, int Port, const std::string& Name,
                        const std::function<std::string()>& Details)
{
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!Accepts(Port)) {
        int Status = 0;
        if (::waitpid(Pid, &Status, WNOHANG) == Pid) {
            Pid = 0;
            throw std::runtime_error(Name + " ended at start-up:\n" + Details());
        }
        if (std::chrono::steady_clock::now() > Deadline)
            throw std::runtime_error(Name + " does not accept connections:\n" + Details());
        Pause();
    }
}

int FreeLoopbackPort()
{
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
    sockaddr_in Address = Loopback(0);
    socklen_t Length = sizeof Address;
    int Port = 0;
    if (::bind(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0 &&
        ::getsockname(Fd, reinterpret_cast<sockaddr*>(&Address), &Length) == 0)
        Port = ntohs(Address.sin_port);
    ::close(Fd);
    if (Port == 0)
        throw std::runtime_error("no free loopback port");
    return Port;
}

std::string ReadWholeFile(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

void WriteWholeFile(const std::string& FileName, const std::string& Contents)
{
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    Out << Contents;
    if (!Out.flush())
        throw std::runtime_error("cannot write " + FileName);
}

} // namespace TestSupport
