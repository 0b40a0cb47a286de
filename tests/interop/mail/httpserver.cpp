// tests/interop/mail/httpserver.cpp: Python's HTTP server and tinyproxy for the interop tests.
#include "tests/interop/mail/httpserver.h"

#include "tests/interop/mail/childprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace TestSupport {

namespace {

std::string ReadFile(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

void WriteText(const std::string& FileName, const std::string& Contents)
{
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    Out << Contents;
    if (!Out.flush())
        throw std::runtime_error("cannot write " + FileName);
}

sockaddr_in Loopback(int Port)
{
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Address.sin_port = htons(static_cast<uint16_t>(Port));
    return Address;
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

TLoopbackProgram::TLoopbackProgram(const std::string& Name) : FName(Name)
{
    std::string Pattern =
        (std::filesystem::temp_directory_path() / ("tarnwick-" + Name + "-XXXXXX")).string();
    if (::mkdtemp(Pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for " + Name);
    FFolder = Pattern + "/";
    FPort = FreeLoopbackPort();
}

TLoopbackProgram::~TLoopbackProgram()
{
    Stop();
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
}

std::string TLoopbackProgram::Address() const
{
    return "127.0.0.1:" + std::to_string(FPort);
}

std::string TLoopbackProgram::Log() const
{
    return ReadFile(FFolder + "output") + ReadFile(FFolder + "log");
}

void TLoopbackProgram::Start(const std::vector<std::string>& Argv)
{
    try {
        FPid = StartProcessGroup(Argv, FFolder + "output");
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!Accepts(FPort)) {
            int Status = 0;
            if (::waitpid(FPid, &Status, WNOHANG) == FPid) {
                FPid = 0;
                throw std::runtime_error(FName + " ended at start-up:\n" + Log());
            }
            if (std::chrono::steady_clock::now() > Deadline)
                throw std::runtime_error(FName + " does not accept connections:\n" + Log());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    } catch (...) {
        Stop();
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
        throw;
    }
}

void TLoopbackProgram::Stop()
{
    if (FPid != 0)
        StopProcessGroup(FPid);
    FPid = 0;
}

THttpFileServer::THttpFileServer() : TLoopbackProgram("httpserver")
{
    std::filesystem::create_directories(Files());
    Start({"python3", "-m", "http.server", "--bind", "127.0.0.1", std::to_string(Port()),
           "--directory", Files()});
}

void THttpFileServer::WriteFile(const std::string& Name, const std::string& Contents) const
{
    const std::filesystem::path Path = Files() + Name;
    std::filesystem::create_directories(Path.parent_path());
    WriteText(Path.string(), Contents);
}

TTinyProxy::TTinyProxy() : TLoopbackProgram("tinyproxy")
{
    const std::string Config = Folder() + "tinyproxy.conf";
    WriteText(Config, "Port " + std::to_string(Port()) +
                          "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth " + UserName + " " +
                          Password + "\nLogFile \"" + Folder() + "log\"\nPidFile \"" + Folder() +
                          "tinyproxy.pid\"\n");
    Start({"/usr/bin/tinyproxy", "-d", "-c", Config});
}

} // namespace TestSupport
