#include "mail/msmx.h"

#include "mail/agsocket.h"
#include "mail/mailerrors.h"
#include "platform/net/errors.h"
#include "platform/ui/wait.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace {

// The largest datagram UDP carries, so that no reply is cut on receipt.
constexpr std::size_t MaxDatagram = 65536;

// Unpredictable, so that an off-path sender cannot guess the identifier of a reply.
Word NewQueryId()
{
    std::random_device Source;
    return static_cast<Word>(Source() & 0xFFFF);
}

} // namespace

ZevMXResolver::ZevMXResolver(TComponent* AOwner)
    : TComponent(AOwner), FDNSAddress(DefaultDNSAddress()),
      FLogLines(std::make_unique<TStringList>()), FCounter(std::make_unique<TTimeCounter>()),
      FMXList(std::make_unique<TMXList>())
{
}

ZevMXResolver::~ZevMXResolver()
{
    Destroying();
    CloseSocket();
    SaveLogAtDestruction(*FLogLines, FLogFileName);
}

int ZevMXResolver::TimeOut() const
{
    return FCounter->TimeOut;
}

void ZevMXResolver::SetTimeOut(int Value)
{
    FCounter->TimeOut = Value;
}

void ZevMXResolver::Cancel()
{
    Canceled = true;
}

void ZevMXResolver::Log(const std::string& Line)
{
    FLogLines->Add(Line);
}

void ZevMXResolver::Resolve()
{
    Canceled = false;
    Readable = false;
    FCounter->TimedOut = false;
    FMXList->Clear();
    // Nothing is sent for a name or server that cannot be asked.
    const std::string WireName = msmxcls::EncodeDomainName(FDomain);
    if (!ParseIPv4(FDNSAddress, FServerAddress))
        throw ESocketError("Invalid DNS server address \"" + FDNSAddress + "\"");

    if (OnSendingQuery)
        OnSendingQuery(this);
    Log("Opening connection");
    if (const int Error = FSocket.Open())
        RaiseSocketError(Error);
    FWatchId =
        RegisterDescriptor(FSocket.Handle(), POLLIN, [this](int, short) { Readable = true; });
    try {
        Exchange(WireName);
    } catch (...) {
        CloseSocket();
        if (OnClosingConnection)
            OnClosingConnection(this);
        throw;
    }
    CloseSocket();
    if (OnClosingConnection)
        OnClosingConnection(this);
}

void ZevMXResolver::Exchange(const std::string& WireName)
{
    Log("Constructing query");
    const Word Id = NewQueryId();
    const std::string Query = msmxcls::BuildMXQuery(Id, WireName);
    Log("Sending query");
    if (const int Error = FSocket.SendTo(FServerAddress, FPort, Query.data(), Query.size()))
        RaiseSocketError(Error);
    if (OnWaitingForResponse)
        OnWaitingForResponse(this);

    // Datagrams that answer nothing of ours do not restart the idle count.
    FCounter->Restart();
    std::string Buffer(MaxDatagram, '\0');
    for (;;) {
        const TPumpResult Result =
            WaitUntil([this] { return Readable || Canceled || FCounter->TimedOut; });
        if (Result == prQuit)
            Canceled = true;
        if (Canceled)
            throw ECanceledError(MailText(sidCanceled));
        if (FCounter->TimedOut)
            throw ETimedOutError(MailText(sidTimedOut));
        Readable = false;
        for (;;) {
            std::uint32_t From = 0;
            std::uint16_t FromPort = 0;
            int Error = 0;
            const long Got = FSocket.RecvFrom(Buffer.data(), Buffer.size(), From, FromPort, Error);
            if (Got < 0) {
                if (Error == WSAEWOULDBLOCK)
                    break;
                RaiseSocketError(Error);
            }
            if (From != FServerAddress || FromPort != FPort)
                continue;
            const std::string Reply(Buffer.data(), static_cast<std::size_t>(Got));
            if (msmxcls::ParseMXReply(Reply, Id, WireName, *FMXList, FLogLines.get()))
                return;
        }
    }
}

void ZevMXResolver::RaiseSocketError(int Code)
{
    std::string Text = WinsockErrorText(Code);
    throw ESocketError(Text.empty() ? "Error #" + std::to_string(Code) : Text);
}

void ZevMXResolver::CloseSocket()
{
    FCounter->Stop();
    if (FWatchId != 0)
        UnregisterDescriptor(FWatchId);
    FWatchId = 0;
    FSocket.Close();
}

std::string DefaultDNSAddress()
{
    if (const char* Server = std::getenv("TARNWICK_DNS_SERVER"); Server != nullptr && *Server)
        return Server;
    std::ifstream In("/etc/resolv.conf");
    std::stringstream Text;
    Text << In.rdbuf();
    const std::string Found = msmx::FirstIPv4NameServer(Text.str());
    return Found.empty() ? "127.0.0.1" : Found;
}

namespace msmx {

std::string FirstIPv4NameServer(const std::string& Text)
{
    std::istringstream Lines(Text);
    std::string Line;
    while (std::getline(Lines, Line)) {
        std::istringstream Words(Line);
        std::string Keyword, Address;
        std::uint32_t Parsed = 0;
        if (Words >> Keyword >> Address && Keyword == "nameserver" && ParseIPv4(Address, Parsed))
            return Address;
    }
    return "";
}

} // namespace msmx
