// platform/net/lookup.h: host and service look-ups on a worker thread, so that a slow name
// server never freezes the interface. The worker wakes the message loop when it ends.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TLookup {
public:
    // An IPv4 address of host Name.
    static std::unique_ptr<TLookup> Host(const std::string& Name);
    // The port of service Name for Protocol ("tcp", "udp"); "pop3", "http", "smtp" and "whois"
    // are known even where the system's service list lacks them.
    static std::unique_ptr<TLookup> Service(const std::string& Name, const std::string& Protocol);

    // A look-up still running cannot be stopped: it is abandoned, and its worker releases it
    // when the system call returns.
    ~TLookup();
    TLookup(const TLookup&) = delete;
    TLookup& operator=(const TLookup&) = delete;

    bool Done() const;
    // Valid once Done: 0 or the Winsock error (WSAHOST_NOT_FOUND, WSANO_DATA, ...).
    int Error() const;
    std::uint32_t Address() const; // network order
    std::uint16_t Port() const;    // host order

    struct TState;

private:
    explicit TLookup(std::shared_ptr<TState> State);
    std::shared_ptr<TState> FState;
};

// Look-ups whose worker has not ended yet.
int RunningLookups();
// Tests: runs on the worker before each look-up (to hold one back); empty to remove.
void SetLookupHook(std::function<void()> Hook);
