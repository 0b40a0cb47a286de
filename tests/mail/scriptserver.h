// tests/mail/scriptserver.h: scripted loopback servers for the mail components' unit tests: a
// listening socket on a free port, the server's end of a connection with blocking calls bounded
// in time, and a server that runs a script for one connection on a thread of its own.
#pragma once

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace TestSupport {

struct TLoopbackListener {
    int Fd = -1;
    std::uint16_t Port = 0;
};

// A TCP socket listening on a free port of 127.0.0.1; raises std::runtime_error when it cannot.
inline TLoopbackListener ListenOnLoopback(int Backlog)
{
    TLoopbackListener Result;
    Result.Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Length = sizeof Address;
    if (Result.Fd < 0 ||
        ::bind(Result.Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
        ::listen(Result.Fd, Backlog) != 0 ||
        ::getsockname(Result.Fd, reinterpret_cast<sockaddr*>(&Address), &Length) != 0) {
        if (Result.Fd >= 0)
            ::close(Result.Fd);
        throw std::runtime_error("cannot listen on the loopback interface");
    }
    Result.Port = ntohs(Address.sin_port);
    return Result;
}

// The server's end of one connection, with blocking calls bounded in time.
class TPeer {
public:
    explicit TPeer(int Fd) : FFd(Fd) {}

    void Send(const std::string& Data)
    {
        std::size_t Sent = 0;
        while (Sent < Data.size()) {
            const ssize_t N = ::send(FFd, Data.data() + Sent, Data.size() - Sent, MSG_NOSIGNAL);
            if (N <= 0)
                return;
            Sent += static_cast<std::size_t>(N);
        }
    }
    // Each piece in a write of its own, a little apart.
    void SendPieces(const std::vector<std::string>& Pieces)
    {
        for (const auto& P : Pieces) {
            Send(P);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // One line without its CR LF; "" when the client closed or went silent for 10 s.
    std::string ReadLine()
    {
        std::string Line;
        char C = 0;
        while (Readable() && ::recv(FFd, &C, 1, 0) == 1 && C != '\n')
            Line += C;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        return Line;
    }
    // What arrives up to and with End, read byte by byte so that nothing after it is taken;
    // less when the client closed or went silent for 10 s.
    std::string ReadThrough(const std::string& End)
    {
        std::string Data;
        char C = 0;
        while (Data.find(End) == std::string::npos && Readable() && ::recv(FFd, &C, 1, 0) == 1)
            Data += C;
        return Data;
    }
    std::string ReadBytes(std::size_t Count)
    {
        std::string Data;
        char Buffer[4096];
        while (Data.size() < Count && Readable()) {
            const ssize_t N = ::recv(FFd, Buffer, sizeof Buffer, 0);
            if (N <= 0)
                break;
            Data.append(Buffer, static_cast<std::size_t>(N));
        }
        return Data;
    }
    // Waits until the client's end has acknowledged everything sent (at most 10 s): the bytes
    // are then in its receive queue, read or not.
    void WaitUntilDelivered()
    {
        const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int Unacknowledged = 0;
        while (::ioctl(FFd, SIOCOUTQ, &Unacknowledged) == 0 && Unacknowledged > 0 &&
               std::chrono::steady_clock::now() < Limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // True when the client closes within 10 s (what it sends meanwhile is dropped).
    bool WaitForClose()
    {
        char Buffer[256];
        while (Readable()) {
            const ssize_t N = ::recv(FFd, Buffer, sizeof Buffer, 0);
            if (N == 0)
                return true;
            if (N < 0)
                return false;
        }
        return false;
    }

private:
    bool Readable()
    {
        pollfd P{FFd, POLLIN, 0};
        return ::poll(&P, 1, 10000) > 0;
    }

    int FFd;
};

// A loopback server for one connection, whose script runs on a thread of its own; the
// connection is closed when the script ends.
class TScriptServer {
public:
    explicit TScriptServer(std::function<void(TPeer&)> Script)
    {
        const TLoopbackListener Listener = ListenOnLoopback(1);
        FListener = Listener.Fd;
        FPort = Listener.Port;
        FThread = std::thread([this, Script = std::move(Script)] {
            pollfd P{FListener, POLLIN, 0};
            if (::poll(&P, 1, 10000) <= 0)
                return;
            const int Fd = ::accept(FListener, nullptr, nullptr);
            TPeer Peer(Fd);
            Script(Peer);
            ::close(Fd);
        });
    }
    ~TScriptServer()
    {
        Finish();
        ::close(FListener);
    }
    TScriptServer(const TScriptServer&) = delete;
    TScriptServer& operator=(const TScriptServer&) = delete;

    std::uint16_t Port() const { return FPort; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }

    // Waits until the script has ended (or 10 s have passed without a connection): what the
    // script wrote is safe to read afterwards, and only then.
    void Finish()
    {
        if (FThread.joinable())
            FThread.join();
    }

private:
    int FListener = -1;
    std::uint16_t FPort = 0;
    std::thread FThread;
};

} // namespace TestSupport
