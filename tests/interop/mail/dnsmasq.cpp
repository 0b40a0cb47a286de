// tests/interop/mail/dnsmasq.cpp: a private dnsmasq DNS server for the interop tests.
#include "tests/interop/mail/dnsmasq.h"

#include "tests/interop/mail/childprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace TestSupport {

namespace {

const char* const DnsmasqBinary = "/usr/sbin/dnsmasq";

sockaddr_in DnsAddress(const std::string& Address)
{
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_port = htons(53);
    ::inet_pton(AF_INET, Address.c_str(), &A.sin_addr);
    return A;
}

// Nothing holds UDP port 53 on Address (a server of another test process would).
bool PortFree(const std::string& Address)
{
    const int Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        return false;
    const sockaddr_in A = DnsAddress(Address);
    const bool Free = ::bind(Fd, reinterpret_cast<const sockaddr*>(&A), sizeof A) == 0;
    ::close(Fd);
    return Free;
}

// A TXT query for Name with identifier 1.
std::string TxtQuery(const std::string& Name)
{
    std::string Packet("\x00\x01\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 12);
    std::size_t Start = 0;
    while (Start <= Name.size()) {
        const std::size_t Dot = std::min(Name.find('.', Start), Name.size());
        Packet += static_cast<char>(Dot - Start);
        Packet.append(Name, Start, Dot - Start);
        Start = Dot + 1;
    }
    return Packet + std::string("\x00\x00\x10\x00\x01", 5);
}

// True when the server on Address answers the TXT query for Token's name with Token.
bool Answers(const std::string& Address, const std::string& Token)
{
    const int Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        return false;
    const std::string Query = TxtQuery(Token + ".ready");
    const sockaddr_in A = DnsAddress(Address);
    bool Seen = false;
    if (::sendto(Fd, Query.data(), Query.size(), 0, reinterpret_cast<const sockaddr*>(&A),
                 sizeof A) == static_cast<ssize_t>(Query.size())) {
        pollfd P{Fd, POLLIN, 0};
        char Reply[512];
        if (::poll(&P, 1, 200) > 0) {
            const ssize_t Got = ::recv(Fd, Reply, sizeof Reply, 0);
            // The token is in the question too: the answer brings it a second time.
            const std::string Text(Reply, Got > 0 ? static_cast<std::size_t>(Got) : 0);
            const std::size_t First = Text.find(Token);
            Seen = First != std::string::npos && Text.find(Token, First + 1) != std::string::npos;
        }
    }
    ::close(Fd);
    return Seen;
}

std::string CurrentUserName()
{
    const passwd* Entry = ::getpwuid(::geteuid());
    if (Entry == nullptr)
        throw std::runtime_error("the current user has no passwd entry");
    return Entry->pw_name;
}

} // namespace

TDnsmasq::TDnsmasq(const std::vector<std::string>& Records)
{
    std::random_device Random;
    FToken = "t" + std::to_string(Random()) + "x" + std::to_string(::getpid());
    std::string Pattern =
        (std::filesystem::temp_directory_path() / "tarnwick-dnsmasq-XXXXXX").string();
    if (::mkdtemp(Pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for dnsmasq");
    FFolder = Pattern + "/";
    try {
        // Start anywhere in the range, so that processes starting together seldom collide.
        const int First = static_cast<int>(Random() % 253);
        for (int Step = 0; Step < 253 && FPid == 0; ++Step) {
            const std::string Address = "127.0.0." + std::to_string(2 + (First + Step) % 253);
            if (PortFree(Address) && StartOn(Address, Records))
                FAddress = Address;
        }
        if (FPid == 0)
            throw std::runtime_error("no loopback address where dnsmasq could take port 53 "
                                     "(it needs root or CAP_NET_BIND_SERVICE):\n" +
                                     Log());
    } catch (...) {
        Stop();
        throw;
    }
}

TDnsmasq::~TDnsmasq()
{
    Stop();
}

bool TDnsmasq::StartOn(const std::string& Address, const std::vector<std::string>& Records)
{
    std::vector<std::string> Argv = {DnsmasqBinary,
                                     "-k",
                                     "--pid-file=",
                                     "--conf-file=/dev/null",
                                     "--no-resolv",
                                     "--no-hosts",
                                     "--port=53",
                                     "--listen-address=" + Address,
                                     "--bind-interfaces",
                                     "--user=" + CurrentUserName(),
                                     "--log-queries",
                                     "--log-facility=" + FFolder + "log",
                                     "--txt-record=" + FToken + ".ready," + FToken};
    Argv.insert(Argv.end(), Records.begin(), Records.end());
    FPid = StartProcessGroup(Argv, FFolder + "output");
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    for (;;) {
        int Status = 0;
        if (::waitpid(FPid, &Status, WNOHANG) == FPid) {
            FPid = 0;
            return false;
        }
        if (Answers(Address, FToken))
            return true;
        if (std::chrono::steady_clock::now() > Deadline) {
            const std::string Output = Log();
            Stop();
            throw std::runtime_error("dnsmasq on " + Address + " does not answer:\n" + Output);
        }
    }
}

void TDnsmasq::Stop()
{
    StopProcessGroup(FPid);
    FPid = 0;
    std::error_code Error;
    if (!FFolder.empty())
        std::filesystem::remove_all(FFolder, Error);
    FFolder.clear();
}

std::string TDnsmasq::Log() const
{
    return FFolder.empty() ? ""
                           : ReadWholeFile(FFolder + "output") + ReadWholeFile(FFolder + "log");
}

} // namespace TestSupport
