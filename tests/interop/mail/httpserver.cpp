// tests/interop/mail/httpserver.cpp: Python's HTTP server and tinyproxy for the interop tests.
#include "tests/interop/mail/httpserver.h"

#include "tests/interop/mail/childprocess.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace TestSupport {

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
    return ReadWholeFile(FFolder + "output") + ReadWholeFile(FFolder + "log");
}

void TLoopbackProgram::Start(const std::vector<std::string>& Argv)
{
    try {
        FPid = StartProcessGroup(Argv, FFolder + "output");
        WaitUntilAccepting(FPid, FPort, FName, [this] { return Log(); });
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
    WriteWholeFile(Path.string(), Contents);
}

TTinyProxy::TTinyProxy() : TLoopbackProgram("tinyproxy")
{
    const std::string Config = Folder() + "tinyproxy.conf";
    WriteWholeFile(Config, "Port " + std::to_string(Port()) +
                               "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth " + UserName + " " +
                               Password + "\nLogFile \"" + Folder() + "log\"\nPidFile \"" +
                               Folder() + "tinyproxy.pid\"\n");
    Start({"/usr/bin/tinyproxy", "-d", "-c", Config});
}

} // namespace TestSupport
