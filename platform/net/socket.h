// platform/net/socket.h: non-blocking IPv4 TCP and UDP sockets. Results are byte counts or
// Winsock error numbers (platform/net/errors.h); the message loop waits on Handle().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Dotted IPv4 text to an address in network order; false when Text is not four decimal parts.
bool ParseIPv4(const std::string& Text, std::uint32_t& Address);
std::string FormatIPv4(std::uint32_t Address);
// The local host name; "" when the system has none.
std::string LocalHostName();

class TTcpSocket {
public:
    TTcpSocket() = default;
    ~TTcpSocket();
    TTcpSocket(const TTcpSocket&) = delete;
    TTcpSocket& operator=(const TTcpSocket&) = delete;

    // Creates the non-blocking socket; 0 or the error.
    int Open();
    // 0 when connected at once, WSAEWOULDBLOCK while the connection is under way (the handle
    // turns writable when it ends: ask ConnectResult), or the error.
    int Connect(std::uint32_t Address, std::uint16_t Port);
    // The outcome of a connection under way: 0 or its error.
    int ConnectResult() const;
    // Bytes sent or received, or -1 with Error set (WSAEWOULDBLOCK: try again when ready).
    // Recv returns 0 when the peer has closed.
    long Send(const void* Data, std::size_t Count, int& Error);
    long Recv(void* Buffer, std::size_t Count, int& Error);
    void Close();

    bool IsOpen() const { return FHandle >= 0; }
    int Handle() const { return FHandle; }

private:
    int FHandle = -1;
};

class TUdpSocket {
public:
    TUdpSocket() = default;
    ~TUdpSocket();
    TUdpSocket(const TUdpSocket&) = delete;
    TUdpSocket& operator=(const TUdpSocket&) = delete;

    int Open();
    // One datagram; 0 or the error.
    int SendTo(std::uint32_t Address, std::uint16_t Port, const void* Data, std::size_t Count);
    // One datagram into Buffer (cut to Count); its size or -1 with Error. Address and Port tell
    // the sender.
    long RecvFrom(void* Buffer, std::size_t Count, std::uint32_t& Address, std::uint16_t& Port,
                  int& Error);
    void Close();

    bool IsOpen() const { return FHandle >= 0; }
    int Handle() const { return FHandle; }

private:
    int FHandle = -1;
};
