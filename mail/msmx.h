// mail/msmx.h: ZevMXResolver, which asks one DNS server for the MX records of a domain with a
// single UDP query and keeps the answers sorted by preference.
#pragma once

#include "mail/msmxcls.h"
#include "platform/net/socket.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>

class TTimeCounter;

class ZevMXResolver : public TComponent {
public:
    explicit ZevMXResolver(TComponent* AOwner);
    ~ZevMXResolver() override;

    // The server as a dotted IPv4 address; defaults to DefaultDNSAddress().
    const std::string& DNSAddress() const { return FDNSAddress; }
    void SetDNSAddress(const std::string& Value) { FDNSAddress = Value; }
    // The domain to look up; Resolve leaves it as set.
    const std::string& Domain() const { return FDomain; }
    void SetDomain(const std::string& Value) { FDomain = Value; }
    // Idle seconds to wait for the reply, kept by the counter.
    int TimeOut() const;
    void SetTimeOut(int Value);
    Word Port() const { return FPort; }
    void SetPort(Word Value) { FPort = Value; }
    // When set, the log lines are written there at destruction.
    const std::string& LogFileName() const { return FLogFileName; }
    void SetLogFileName(const std::string& Value) { FLogFileName = Value; }
    TStringList* LogLines() const { return FLogLines.get(); }

    // One look-up of Domain: MXList then holds its MX answers by ascending preference (none
    // when the domain has no MX records). Raises EResolverError for a name that cannot be
    // asked, an unusable reply or a response code (RCode dnsNXDomain: the domain does not
    // exist), ETimedOutError when no reply comes within TimeOut idle seconds, ECanceledError
    // after Cancel and ESocketError for socket failures. Replies to other queries are ignored.
    void Resolve();
    // From a handler during Resolve's wait: Resolve raises ECanceledError.
    void Cancel();

    TMXList* MXList() const { return FMXList.get(); }

    TNotifyEvent OnSendingQuery;
    TNotifyEvent OnWaitingForResponse;
    TNotifyEvent OnClosingConnection;

private:
    void Log(const std::string& Line);
    void Exchange(const std::string& WireName);
    [[noreturn]] void RaiseSocketError(int Code);
    void CloseSocket();

    std::string FDNSAddress;
    std::string FDomain;
    Word FPort = 53;
    std::string FLogFileName;
    std::unique_ptr<TStringList> FLogLines;
    std::unique_ptr<TTimeCounter> FCounter;
    std::unique_ptr<TMXList> FMXList;
    TUdpSocket FSocket;
    int FWatchId = 0;
    std::uint32_t FServerAddress = 0; // network order
    bool Readable = false;
    bool Canceled = false;
};

// The server a new resolver asks: $TARNWICK_DNS_SERVER when set, else the first IPv4
// nameserver of /etc/resolv.conf, else 127.0.0.1.
std::string DefaultDNSAddress();

namespace msmx {

// The first "nameserver" line of resolv.conf text Text whose address is IPv4; "" when none.
std::string FirstIPv4NameServer(const std::string& Text);

} // namespace msmx
