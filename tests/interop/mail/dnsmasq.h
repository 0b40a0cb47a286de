// tests/interop/mail/dnsmasq.h: a private dnsmasq DNS server on port 53 of a loopback address
// of its own (127.0.0.2 to 127.0.0.254), so that test processes running side by side each have
// one. It answers only from the records it is given and forwards nothing.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

class TDnsmasq {
public:
    // Records: dnsmasq options such as "--mx-host=...", "--cname=...", "--local=/test/".
    // Starts the server in the foreground and waits until it answers; raises
    // std::runtime_error with the reason and the server's log when it does not come up.
    explicit TDnsmasq(const std::vector<std::string>& Records);
    // Stops the server and removes its folder.
    ~TDnsmasq();
    TDnsmasq(const TDnsmasq&) = delete;
    TDnsmasq& operator=(const TDnsmasq&) = delete;

    // The dotted loopback address it listens on.
    const std::string& Address() const { return FAddress; }
    std::uint16_t Port() const { return 53; }
    // The server's log so far, for failure messages.
    std::string Log() const;

private:
    // Starts on Address; false when the server ended at start-up (the address was taken).
    bool StartOn(const std::string& Address, const std::vector<std::string>& Records);
    void Stop();

    std::string FFolder; // ends with '/'
    std::string FAddress;
    std::string FToken; // answered by this server alone, to tell it from a neighbour's
    pid_t FPid = 0;
};

} // namespace TestSupport
