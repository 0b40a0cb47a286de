#include "platform/net/socket.h"

#include "platform/net/errors.h"
#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace {

const std::uint32_t Loopback = htonl(INADDR_LOOPBACK);

// A bound loopback socket of Type on a free port; listening when it is a stream.
int BoundSocket(int Type, std::uint16_t& Port)
{
    const int Fd = ::socket(AF_INET, Type | SOCK_CLOEXEC, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = Loopback;
    EXPECT_EQ(::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A), 0);
    if (Type == SOCK_STREAM) {
        EXPECT_EQ(::listen(Fd, 4), 0);
    }
    socklen_t Length = sizeof A;
    getsockname(Fd, reinterpret_cast<sockaddr*>(&A), &Length);
    Port = ntohs(A.sin_port);
    return Fd;
}

} // namespace

TEST(TcpSocket, ConnectsWithoutBlockingAndMovesBytesBothWays)
{
    std::uint16_t Port = 0;
    const int Listener = BoundSocket(SOCK_STREAM, Port);
    TTcpSocket Socket;
    ASSERT_EQ(Socket.Open(), 0);
    const int Started = Socket.Connect(Loopback, Port);
    ASSERT_TRUE(Started == 0 || Started == WSAEWOULDBLOCK);
    ASSERT_NE(WaitForDescriptor(Socket.Handle(), POLLOUT, 5000) & POLLOUT, 0);
    EXPECT_EQ(Socket.ConnectResult(), 0);
    const int Peer = ::accept(Listener, nullptr, nullptr);
    ASSERT_GE(Peer, 0);

    char Buffer[16];
    int Error = 0;
    EXPECT_EQ(Socket.Recv(Buffer, sizeof Buffer, Error), -1);
    EXPECT_EQ(Error, WSAEWOULDBLOCK); // nothing there yet, and the call did not block

    EXPECT_EQ(Socket.Send("hello", 5, Error), 5);
    EXPECT_EQ(::recv(Peer, Buffer, sizeof Buffer, 0), 5);
    ASSERT_EQ(::send(Peer, "world", 5, 0), 5);
    ASSERT_NE(WaitForDescriptor(Socket.Handle(), POLLIN, 5000) & POLLIN, 0);
    EXPECT_EQ(Socket.Recv(Buffer, sizeof Buffer, Error), 5);
    EXPECT_EQ(std::string(Buffer, 5), "world");

    ::close(Peer);
    ASSERT_NE(WaitForDescriptor(Socket.Handle(), POLLIN, 5000), 0);
    EXPECT_EQ(Socket.Recv(Buffer, sizeof Buffer, Error), 0); // the peer closed
    ::close(Listener);
}

TEST(TcpSocket, ARefusedConnectionReportsItsWinsockNumber)
{
    std::uint16_t Port = 0;
    ::close(BoundSocket(SOCK_STREAM, Port)); // nothing listens there now
    TTcpSocket Socket;
    ASSERT_EQ(Socket.Open(), 0);
    int Result = Socket.Connect(Loopback, Port);
    if (Result == WSAEWOULDBLOCK) {
        WaitForDescriptor(Socket.Handle(), POLLOUT, 5000);
        Result = Socket.ConnectResult();
    }
    EXPECT_EQ(Result, WSAECONNREFUSED);
    EXPECT_EQ(WinsockErrorText(Result), "Connection refused");
}

TEST(TcpSocket, ASendToAResetConnectionIsAnErrorNotASignal)
{
    std::uint16_t Port = 0;
    const int Listener = BoundSocket(SOCK_STREAM, Port);
    TTcpSocket Socket;
    ASSERT_EQ(Socket.Open(), 0);
    Socket.Connect(Loopback, Port);
    WaitForDescriptor(Socket.Handle(), POLLOUT, 5000);
    const int Peer = ::accept(Listener, nullptr, nullptr);
    linger Abort{1, 0};
    setsockopt(Peer, SOL_SOCKET, SO_LINGER, &Abort, sizeof Abort);
    ::close(Peer); // a reset
    WaitForDescriptor(Socket.Handle(), POLLIN, 5000);
    int Error = 0;
    const std::string Data(1000, 'x');
    long Result = 0;
    for (int I = 0; I < 3 && Result >= 0; ++I)
        Result = Socket.Send(Data.data(), Data.size(), Error);
    EXPECT_EQ(Result, -1);
    EXPECT_EQ(Error, WSAECONNRESET);
    ::close(Listener);
}

TEST(UdpSocket, SendsADatagramAndReceivesTheAnswerWithItsSender)
{
    std::uint16_t Port = 0;
    const int Server = BoundSocket(SOCK_DGRAM, Port);
    TUdpSocket Socket;
    ASSERT_EQ(Socket.Open(), 0);
    ASSERT_EQ(Socket.SendTo(Loopback, Port, "query", 5), 0);

    char Buffer[64];
    sockaddr_in From{};
    socklen_t Length = sizeof From;
    ASSERT_EQ(
        ::recvfrom(Server, Buffer, sizeof Buffer, 0, reinterpret_cast<sockaddr*>(&From), &Length),
        5);
    ASSERT_EQ(::sendto(Server, "answer", 6, 0, reinterpret_cast<sockaddr*>(&From), Length), 6);

    ASSERT_NE(WaitForDescriptor(Socket.Handle(), POLLIN, 5000) & POLLIN, 0);
    std::uint32_t Address = 0;
    std::uint16_t SenderPort = 0;
    int Error = 0;
    ASSERT_EQ(Socket.RecvFrom(Buffer, sizeof Buffer, Address, SenderPort, Error), 6);
    EXPECT_EQ(std::string(Buffer, 6), "answer");
    EXPECT_EQ(Address, Loopback);
    EXPECT_EQ(SenderPort, Port);
    ::close(Server);
}

TEST(IPv4Text, OnlyFourDecimalPartsAreAnAddress)
{
    struct TCase {
        const char* Text;
        bool Valid;
    };
    const std::vector<TCase> Cases = {
        {"127.0.0.1", true},  {"255.255.255.255", true}, {"10.1.2", false},
        {"localhost", false}, {"1.2.3.256", false},      {"", false},
    };
    for (const auto& C : Cases) {
        std::uint32_t Address = 0;
        EXPECT_EQ(ParseIPv4(C.Text, Address), C.Valid) << C.Text;
        if (C.Valid) {
            EXPECT_EQ(FormatIPv4(Address), C.Text);
        }
    }
}
