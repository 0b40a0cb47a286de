#include "platform/net/socket.h"

#include "platform/net/errors.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

int OpenSocket(int Type, int& Handle)
{
    Handle = ::socket(AF_INET, Type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return Handle < 0 ? WinsockError(errno) : 0;
}

void CloseHandle(int& Handle)
{
    if (Handle >= 0)
        ::close(Handle);
    Handle = -1;
}

sockaddr_in MakeAddress(std::uint32_t Address, std::uint16_t Port)
{
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_port = htons(Port);
    A.sin_addr.s_addr = Address;
    return A;
}

std::size_t Capped(std::size_t Count)
{
    return Count > static_cast<std::size_t>(INT_MAX) ? static_cast<std::size_t>(INT_MAX) : Count;
}

} // namespace

bool ParseIPv4(const std::string& Text, std::uint32_t& Address)
{
    in_addr A{};
    if (inet_pton(AF_INET, Text.c_str(), &A) != 1)
        return false;
    Address = A.s_addr;
    return true;
}

std::string FormatIPv4(std::uint32_t Address)
{
    in_addr A{};
    A.s_addr = Address;
    char Text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &A, Text, sizeof Text);
    return Text;
}

std::string LocalHostName()
{
    char Name[256] = {};
    if (gethostname(Name, sizeof Name - 1) != 0)
        return "";
    return Name;
}

TTcpSocket::~TTcpSocket()
{
    Close();
}

int TTcpSocket::Open()
{
    Close();
    return OpenSocket(SOCK_STREAM, FHandle);
}

int TTcpSocket::Connect(std::uint32_t Address, std::uint16_t Port)
{
    if (FHandle < 0)
        return WSAENOTSOCK;
    const sockaddr_in A = MakeAddress(Address, Port);
    if (::connect(FHandle, reinterpret_cast<const sockaddr*>(&A), sizeof A) == 0)
        return 0;
    return errno == EINPROGRESS ? WSAEWOULDBLOCK : WinsockError(errno);
}

int TTcpSocket::ConnectResult() const
{
    if (FHandle < 0)
        return WSAENOTSOCK;
    int Error = 0;
    socklen_t Length = sizeof Error;
    if (getsockopt(FHandle, SOL_SOCKET, SO_ERROR, &Error, &Length) != 0)
        return WinsockError(errno);
    return Error == 0 ? 0 : WinsockError(Error);
}

long TTcpSocket::Send(const void* Data, std::size_t Count, int& Error)
{
    Error = 0;
    if (FHandle < 0) {
        Error = WSAENOTSOCK;
        return -1;
    }
    // MSG_NOSIGNAL: a reset connection is an error to report, not a signal that ends the program.
    const ssize_t Sent = ::send(FHandle, Data, Capped(Count), MSG_NOSIGNAL);
    if (Sent < 0)
        Error = WinsockError(errno);
    return static_cast<long>(Sent);
}

long TTcpSocket::Recv(void* Buffer, std::size_t Count, int& Error)
{
    Error = 0;
    if (FHandle < 0) {
        Error = WSAENOTSOCK;
        return -1;
    }
    const ssize_t Got = ::recv(FHandle, Buffer, Capped(Count), 0);
    if (Got < 0)
        Error = WinsockError(errno);
    return static_cast<long>(Got);
}

void TTcpSocket::Close()
{
    CloseHandle(FHandle);
}

TUdpSocket::~TUdpSocket()
{
    Close();
}

int TUdpSocket::Open()
{
    Close();
    return OpenSocket(SOCK_DGRAM, FHandle);
}

int TUdpSocket::SendTo(std::uint32_t Address, std::uint16_t Port, const void* Data,
                       std::size_t Count)
{
    if (FHandle < 0)
        return WSAENOTSOCK;
    const sockaddr_in A = MakeAddress(Address, Port);
    const ssize_t Sent = ::sendto(FHandle, Data, Count, MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&A), sizeof A);
    if (Sent < 0)
        return WinsockError(errno);
    return static_cast<std::size_t>(Sent) == Count ? 0 : WSAEMSGSIZE;
}

long TUdpSocket::RecvFrom(void* Buffer, std::size_t Count, std::uint32_t& Address,
                          std::uint16_t& Port, int& Error)
{
    Error = 0;
    if (FHandle < 0) {
        Error = WSAENOTSOCK;
        return -1;
    }
    sockaddr_in From{};
    socklen_t Length = sizeof From;
    const ssize_t Got =
        ::recvfrom(FHandle, Buffer, Capped(Count), 0, reinterpret_cast<sockaddr*>(&From), &Length);
    if (Got < 0) {
        Error = WinsockError(errno);
        return -1;
    }
    Address = From.sin_addr.s_addr;
    Port = ntohs(From.sin_port);
    return static_cast<long>(Got);
}

void TUdpSocket::Close()
{
    CloseHandle(FHandle);
}
