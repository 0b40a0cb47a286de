#include "platform/net/lookup.h"

#include "platform/net/errors.h"
#include "platform/ui/wait.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <strings.h>
#include <system_error>
#include <thread>

struct TLookup::TState {
    std::atomic<bool> Done{false};
    int Error = 0;
    std::uint32_t Address = 0;
    std::uint16_t Port = 0;
};

namespace {

std::atomic<int> Running{0};
std::mutex HookLock;
std::function<void()> Hook;

void RunHook()
{
    std::function<void()> Copy;
    {
        std::lock_guard<std::mutex> Lock(HookLock);
        Copy = Hook;
    }
    if (Copy)
        Copy();
}

void ResolveHost(const std::string& Name, TLookup::TState& State)
{
    addrinfo Hints{};
    Hints.ai_family = AF_INET;
    Hints.ai_socktype = SOCK_STREAM;
    addrinfo* List = nullptr;
    const int Result = getaddrinfo(Name.c_str(), nullptr, &Hints, &List);
    if (Result != 0) {
        State.Error = Result == EAI_SYSTEM ? WinsockError(errno) : WinsockLookupError(Result);
        return;
    }
    State.Error = WSANO_DATA;
    for (addrinfo* A = List; A; A = A->ai_next) {
        if (A->ai_family == AF_INET) {
            State.Address = reinterpret_cast<const sockaddr_in*>(A->ai_addr)->sin_addr.s_addr;
            State.Error = 0;
            break;
        }
    }
    freeaddrinfo(List);
}

struct TKnownService {
    const char* Name;
    std::uint16_t Port;
};

// The ports of the components' services, for systems whose service list lacks them.
const TKnownService KnownServices[] = {
    {"pop3", 110},
    {"http", 80},
    {"smtp", 25},
    {"whois", 43},
};

void ResolveService(const std::string& Name, const std::string& Protocol, TLookup::TState& State)
{
    servent Entry{};
    servent* Found = nullptr;
    char Buffer[1024];
    if (getservbyname_r(Name.c_str(), Protocol.c_str(), &Entry, Buffer, sizeof Buffer, &Found) ==
            0 &&
        Found) {
        State.Port = ntohs(static_cast<std::uint16_t>(Found->s_port));
        return;
    }
    for (const auto& S : KnownServices) {
        if (strcasecmp(S.Name, Name.c_str()) == 0) {
            State.Port = S.Port;
            return;
        }
    }
    State.Error = WSANO_DATA;
}

// The worker keeps its own reference, so an abandoned request lives until the call returns.
std::shared_ptr<TLookup::TState> Start(std::function<void(TLookup::TState&)> Work)
{
    auto State = std::make_shared<TLookup::TState>();
    ++Running;
    try {
        std::thread([State, Work = std::move(Work)]() mutable {
            RunHook();
            Work(*State);
            Work = nullptr;
            State->Done = true;
            State.reset();
            --Running;
            WakeUp();
        }).detach();
    } catch (const std::system_error&) {
        --Running;
        State->Error = WSAENOBUFS;
        State->Done = true;
    }
    return State;
}

} // namespace

TLookup::TLookup(std::shared_ptr<TState> State) : FState(std::move(State)) {}

TLookup::~TLookup() = default;

std::unique_ptr<TLookup> TLookup::Host(const std::string& Name)
{
    return std::unique_ptr<TLookup>(
        new TLookup(Start([Name](TState& State) { ResolveHost(Name, State); })));
}

std::unique_ptr<TLookup> TLookup::Service(const std::string& Name, const std::string& Protocol)
{
    return std::unique_ptr<TLookup>(new TLookup(
        Start([Name, Protocol](TState& State) { ResolveService(Name, Protocol, State); })));
}

bool TLookup::Done() const
{
    return FState->Done.load();
}

int TLookup::Error() const
{
    return FState->Error;
}

std::uint32_t TLookup::Address() const
{
    return FState->Address;
}

std::uint16_t TLookup::Port() const
{
    return FState->Port;
}

int RunningLookups()
{
    return Running.load();
}

void SetLookupHook(std::function<void()> NewHook)
{
    std::lock_guard<std::mutex> Lock(HookLock);
    Hook = std::move(NewHook);
}
