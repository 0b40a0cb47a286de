// platform/ui/instancedir.cpp: the cross-process window directory on a runtime folder of entry
// files and Unix stream sockets.
#include "platform/ui/instancedir.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <dirent.h>
#include <fstream>
#include <sstream>

namespace {

// Connections kept open at once; past this the oldest is dropped.
constexpr std::size_t MaxPeers = 16;
// A connection that has sent no complete command in this time is dropped.
constexpr std::int64_t PeerTimeoutMs = 2000;
// Read per connection per call, so that a flooding peer cannot hold up the loop.
constexpr std::size_t MaxReadPerCall = 4096;
// Entry files larger than this are not ours: they are skipped.
constexpr std::streamoff MaxEntrySize = 1 << 20;

const char* const WindowsSuffix = ".windows";
const char* const SocketSuffix = ".sock";

struct TVerb {
    const char* Name;
    TRemoteCommand Command;
};
const TVerb Verbs[] = {
    {"restore", TRemoteCommand::rcRestore},
    {"raise", TRemoteCommand::rcBringToTop},
    {"show", TRemoteCommand::rcShow},
    {"foreground", TRemoteCommand::rcSetForeground},
};

std::int64_t MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string ErrorText(int Code)
{
    return std::strerror(Code);
}

void CloseDescriptor(int& Fd)
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

// Digits only, as written here: no sign, no leading zero, no overflow.
bool ParseUnsigned(const std::string& Text, std::uint64_t& Value)
{
    if (Text.empty() || Text.size() > 20 || (Text[0] == '0' && Text.size() > 1))
        return false;
    Value = 0;
    for (char C : Text) {
        if (C < '0' || C > '9')
            return false;
        std::uint64_t Digit = static_cast<std::uint64_t>(C - '0');
        if (Value > (UINT64_MAX - Digit) / 10)
            return false;
        Value = Value * 10 + Digit;
    }
    return true;
}

// The pid of "<pid><Suffix>", or 0.
int PidOfName(const std::string& Name, const std::string& Suffix)
{
    if (Name.size() <= Suffix.size() ||
        Name.compare(Name.size() - Suffix.size(), Suffix.size(), Suffix) != 0)
        return 0;
    std::uint64_t Value = 0;
    if (!ParseUnsigned(Name.substr(0, Name.size() - Suffix.size()), Value) || Value == 0 ||
        Value > static_cast<std::uint64_t>(INT32_MAX))
        return 0;
    return static_cast<int>(Value);
}

// The pid of a temporary file ".<pid>.<anything>.tmp" (a socket not yet in place, an entry
// being rewritten), or 0.
int PidOfTemporary(const std::string& Name)
{
    if (Name.size() < 6 || Name[0] != '.' || Name.compare(Name.size() - 4, 4, ".tmp") != 0)
        return 0;
    std::string::size_type End = Name.find('.', 1);
    return PidOfName(Name.substr(1, End), ".");
}

// Tabs and line ends separate the fields and entries; a backslash escapes them.
std::string Escape(const std::string& S)
{
    std::string Result;
    Result.reserve(S.size());
    for (char C : S) {
        switch (C) {
        case '\\':
            Result += "\\\\";
            break;
        case '\t':
            Result += "\\t";
            break;
        case '\n':
            Result += "\\n";
            break;
        case '\r':
            Result += "\\r";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

bool Unescape(const std::string& S, std::string& Result)
{
    Result.clear();
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (S[I] != '\\') {
            Result += S[I];
            continue;
        }
        if (++I == S.size())
            return false;
        switch (S[I]) {
        case '\\':
            Result += '\\';
            break;
        case 't':
            Result += '\t';
            break;
        case 'n':
            Result += '\n';
            break;
        case 'r':
            Result += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

bool MakeAddress(const std::string& Path, sockaddr_un& Address)
{
    std::memset(&Address, 0, sizeof(Address));
    Address.sun_family = AF_UNIX;
    if (Path.size() >= sizeof(Address.sun_path))
        return false;
    std::memcpy(Address.sun_path, Path.c_str(), Path.size() + 1);
    return true;
}

enum class TLiveness { lvGone, lvAlive };

// A process is gone when its pid no longer exists or its socket refuses connections (the pid
// was reused by another program). Anything uncertain counts as alive, so that nothing of a
// live process is removed.
TLiveness ProbeProcess(int Pid, const std::string& SocketPath)
{
    if (::kill(Pid, 0) != 0 && errno == ESRCH)
        return TLiveness::lvGone;
    sockaddr_un Address;
    if (!MakeAddress(SocketPath, Address))
        return TLiveness::lvAlive;
    int Fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        return TLiveness::lvAlive;
    int Result;
    do
        Result = ::connect(Fd, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address));
    while (Result != 0 && errno == EINTR);
    int Code = Result == 0 ? 0 : errno;
    ::close(Fd);
    return Code == ECONNREFUSED || Code == ENOENT ? TLiveness::lvGone : TLiveness::lvAlive;
}

bool ReadEntryFile(const std::string& Path, int Pid, std::vector<TRemoteWindow>& Windows)
{
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        return false;
    In.seekg(0, std::ios::end);
    if (In.tellg() > MaxEntrySize)
        return false;
    In.seekg(0, std::ios::beg);
    std::string Line;
    while (std::getline(In, Line)) {
        std::string::size_type First = Line.find('\t');
        std::string::size_type Second =
            First == std::string::npos ? std::string::npos : Line.find('\t', First + 1);
        if (Second == std::string::npos || Line.find('\t', Second + 1) != std::string::npos)
            continue;
        TRemoteWindow Window;
        Window.Pid = Pid;
        if (!ParseUnsigned(Line.substr(0, First), Window.Handle) ||
            !Unescape(Line.substr(First + 1, Second - First - 1), Window.ClassName) ||
            !Unescape(Line.substr(Second + 1), Window.Caption))
            continue;
        Windows.push_back(std::move(Window));
    }
    return true;
}

void EnsureSafeFolder(const std::string& Folder)
{
    if (Folder.empty())
        throw EInstanceDirectoryError("The runtime folder is not set");
    bool Created = ::mkdir(Folder.c_str(), 0700) == 0;
    if (!Created && errno != EEXIST)
        throw EInstanceDirectoryError("Cannot create the runtime folder \"" + Folder +
                                      "\": " + ErrorText(errno));
    // Opened without following a link: a link planted in a shared folder such as /tmp must not
    // lead us into another user's folder.
    int Fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (Fd < 0) {
        int Code = errno;
        if (Code == ELOOP || Code == ENOTDIR)
            throw EInstanceDirectoryError("The runtime folder \"" + Folder +
                                          "\" is not a folder (a link or a file is in its place)");
        throw EInstanceDirectoryError("Cannot open the runtime folder \"" + Folder +
                                      "\": " + ErrorText(Code));
    }
    if (Created)
        ::fchmod(Fd, 0700); // the umask may have taken bits that we need
    struct stat Info;
    int Result = ::fstat(Fd, &Info);
    int Code = errno;
    ::close(Fd);
    if (Result != 0)
        throw EInstanceDirectoryError("Cannot open the runtime folder \"" + Folder +
                                      "\": " + ErrorText(Code));
    if (Info.st_uid != ::geteuid())
        throw EInstanceDirectoryError("The runtime folder \"" + Folder +
                                      "\" belongs to another user; it must be the user's own");
    if ((Info.st_mode & 077) != 0) {
        char Mode[8];
        std::snprintf(Mode, sizeof(Mode), "%04o", static_cast<unsigned>(Info.st_mode & 07777));
        throw EInstanceDirectoryError("The runtime folder \"" + Folder +
                                      "\" is open to other users (mode " + Mode +
                                      "); it must be 0700");
    }
}

} // namespace

std::optional<TCommandMessage> ParseInstanceCommand(const std::string& Line)
{
    if (Line.size() > MaxCommandLength)
        return std::nullopt;
    std::string::size_type Space = Line.find(' ');
    if (Space == std::string::npos)
        return std::nullopt;
    std::string Verb = Line.substr(0, Space);
    TCommandMessage Message;
    if (!ParseUnsigned(Line.substr(Space + 1), Message.Handle))
        return std::nullopt;
    for (const TVerb& Known : Verbs)
        if (Verb == Known.Name) {
            Message.Command = Known.Command;
            return Message;
        }
    return std::nullopt;
}

std::string FormatInstanceCommand(const TCommandMessage& Message)
{
    for (const TVerb& Known : Verbs)
        if (Known.Command == Message.Command)
            return std::string(Known.Name) + " " + std::to_string(Message.Handle) + "\n";
    return std::string();
}

TInstanceDirectory::TInstanceDirectory(const std::string& Folder)
    : FFolder(Folder), FPid(::getpid())
{
    EnsureSafeFolder(FFolder);
    FSocketPath = FFolder + "/" + std::to_string(FPid) + SocketSuffix;
    FEntryPath = FFolder + "/" + std::to_string(FPid) + WindowsSuffix;
    // The socket is bound under a hidden name and renamed into place once it listens: another
    // process that finds "<pid>.sock" refusing connections takes it for a leftover.
    std::string TempPath = FFolder + "/." + std::to_string(FPid) + SocketSuffix + ".tmp";
    sockaddr_un Address;
    if (!MakeAddress(TempPath, Address) || FSocketPath.size() >= sizeof(Address.sun_path))
        throw EInstanceDirectoryError("The runtime folder path \"" + FFolder +
                                      "\" is too long for a socket");
    try {
        FListener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (FListener < 0)
            throw EInstanceDirectoryError("Cannot create a socket: " + ErrorText(errno));
        // Whatever carries our pid was left by a process that is gone.
        ::unlink(TempPath.c_str());
        ::unlink(FEntryPath.c_str());
        if (::bind(FListener, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address)) != 0 ||
            ::listen(FListener, static_cast<int>(MaxPeers)) != 0 ||
            ::rename(TempPath.c_str(), FSocketPath.c_str()) != 0) {
            int Code = errno;
            ::unlink(TempPath.c_str());
            throw EInstanceDirectoryError("Cannot listen on \"" + FSocketPath +
                                          "\": " + ErrorText(Code));
        }
        FPoller = ::epoll_create1(EPOLL_CLOEXEC);
        if (FPoller < 0)
            throw EInstanceDirectoryError("Cannot create a poller: " + ErrorText(errno));
        epoll_event Event{};
        Event.events = EPOLLIN;
        Event.data.fd = FListener;
        if (::epoll_ctl(FPoller, EPOLL_CTL_ADD, FListener, &Event) != 0)
            throw EInstanceDirectoryError("Cannot poll \"" + FSocketPath +
                                          "\": " + ErrorText(errno));
    } catch (...) {
        if (FListener >= 0)
            ::unlink(FSocketPath.c_str());
        CloseDescriptor(FListener);
        CloseDescriptor(FPoller);
        throw;
    }
}

TInstanceDirectory::~TInstanceDirectory()
{
    for (TPeer& Peer : FPeers)
        ::close(Peer.Fd);
    // A forked child shares the object but not the files: they belong to the parent.
    if (::getpid() == FPid) {
        ::unlink(FEntryPath.c_str());
        ::unlink(FSocketPath.c_str());
    }
    CloseDescriptor(FPoller);
    CloseDescriptor(FListener);
}

std::string TInstanceDirectory::RuntimeFolder()
{
    const char* Own = std::getenv("TARNWICK_RUNTIME_DIR");
    if (Own && *Own)
        return Own;
    const char* User = std::getenv("XDG_RUNTIME_DIR");
    if (User && *User)
        return std::string(User) + "/tarnwick";
    return "/tmp/tarnwick-" + std::to_string(::geteuid());
}

void TInstanceDirectory::Publish(std::uint64_t Handle, const std::string& ClassName,
                                 const std::string& Caption)
{
    auto It = std::find_if(FWindows.begin(), FWindows.end(),
                           [Handle](const TPublished& W) { return W.Handle == Handle; });
    if (It == FWindows.end()) {
        FWindows.push_back(TPublished{Handle, ClassName, Caption});
    } else {
        if (It->ClassName == ClassName && It->Caption == Caption)
            return;
        It->ClassName = ClassName;
        It->Caption = Caption;
    }
    WriteEntry();
}

void TInstanceDirectory::Withdraw(std::uint64_t Handle)
{
    auto It = std::find_if(FWindows.begin(), FWindows.end(),
                           [Handle](const TPublished& W) { return W.Handle == Handle; });
    if (It == FWindows.end())
        return;
    FWindows.erase(It);
    WriteEntry();
}

bool TInstanceDirectory::IsPublished(std::uint64_t Handle) const
{
    return std::any_of(FWindows.begin(), FWindows.end(),
                       [Handle](const TPublished& W) { return W.Handle == Handle; });
}

void TInstanceDirectory::WriteEntry() const
{
    if (FWindows.empty()) {
        ::unlink(FEntryPath.c_str());
        return;
    }
    std::string Text;
    for (const TPublished& W : FWindows)
        Text +=
            std::to_string(W.Handle) + "\t" + Escape(W.ClassName) + "\t" + Escape(W.Caption) + "\n";
    AtomicWriteFile(FEntryPath, Text);
}

std::vector<TRemoteWindow> TInstanceDirectory::Enumerate() const
{
    std::vector<std::string> Names;
    if (DIR* Dir = ::opendir(FFolder.c_str())) {
        while (dirent* Entry = ::readdir(Dir))
            Names.emplace_back(Entry->d_name);
        ::closedir(Dir);
    }
    std::sort(Names.begin(), Names.end());
    std::vector<int> Pids;
    for (const std::string& Name : Names) {
        int Pid = PidOfName(Name, WindowsSuffix);
        if (Pid == 0)
            Pid = PidOfName(Name, SocketSuffix);
        if (Pid != 0 && Pid != FPid)
            Pids.push_back(Pid);
    }
    std::sort(Pids.begin(), Pids.end());
    Pids.erase(std::unique(Pids.begin(), Pids.end()), Pids.end());

    std::vector<TRemoteWindow> Windows;
    for (int Pid : Pids) {
        std::string Base = FFolder + "/" + std::to_string(Pid);
        if (ProbeProcess(Pid, Base + SocketSuffix) == TLiveness::lvGone) {
            ::unlink((Base + WindowsSuffix).c_str());
            ::unlink((Base + SocketSuffix).c_str());
            continue;
        }
        ReadEntryFile(Base + WindowsSuffix, Pid, Windows);
    }
    // Temporaries that a killed process left behind.
    for (const std::string& Name : Names) {
        int Pid = PidOfTemporary(Name);
        if (Pid != 0 && Pid != FPid && ::kill(Pid, 0) != 0 && errno == ESRCH)
            ::unlink((FFolder + "/" + Name).c_str());
    }
    return Windows;
}

std::optional<TRemoteWindow>
TInstanceDirectory::Find(const std::optional<std::string>& ClassName,
                         const std::optional<std::string>& Caption) const
{
    for (TRemoteWindow& Window : Enumerate())
        if ((!ClassName || AnsiSameText(*ClassName, Window.ClassName)) &&
            (!Caption || AnsiSameText(*Caption, Window.Caption)))
            return std::move(Window);
    return std::nullopt;
}

bool TInstanceDirectory::SendCommand(const TRemoteWindow& Window, TRemoteCommand Command) const
{
    std::string Message = FormatInstanceCommand(TCommandMessage{Window.Handle, Command});
    sockaddr_un Address;
    if (Window.Pid <= 0 || Message.empty() ||
        !MakeAddress(FFolder + "/" + std::to_string(Window.Pid) + SocketSuffix, Address))
        return false;
    int Fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (Fd < 0)
        return false;
    const std::int64_t Deadline = MonotonicMs() + SendTimeoutMs;
    bool Sent = false;
    // A full backlog (a peer that does not accept) answers EAGAIN: try again a few times
    // until the deadline instead of waiting on it.
    for (;;) {
        if (::connect(Fd, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address)) == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || MonotonicMs() >= Deadline) {
            ::close(Fd);
            return false;
        }
        ::poll(nullptr, 0, 10);
    }
    std::size_t Done = 0;
    while (Done < Message.size()) {
        ssize_t N = ::send(Fd, Message.data() + Done, Message.size() - Done, MSG_NOSIGNAL);
        if (N > 0) {
            Done += static_cast<std::size_t>(N);
            continue;
        }
        if (N < 0 && errno == EINTR)
            continue;
        std::int64_t Left = Deadline - MonotonicMs();
        if (N == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || Left <= 0)
            break;
        pollfd Wait{Fd, POLLOUT, 0};
        ::poll(&Wait, 1, static_cast<int>(Left));
    }
    Sent = Done == Message.size();
    ::close(Fd);
    return Sent;
}

void TInstanceDirectory::Accept()
{
    for (std::size_t Count = 0; Count < MaxPeers; ++Count) {
        int Fd = ::accept4(FListener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (Fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN, or a shortage of descriptors that the next turn may not have
        }
        // The folder is the user's own; a peer of another user got in some other way.
        ucred Credentials{};
        socklen_t Size = sizeof(Credentials);
        if (::getsockopt(Fd, SOL_SOCKET, SO_PEERCRED, &Credentials, &Size) != 0 ||
            Credentials.uid != ::geteuid()) {
            ::close(Fd);
            continue;
        }
        epoll_event Event{};
        Event.events = EPOLLIN;
        Event.data.fd = Fd;
        if (::epoll_ctl(FPoller, EPOLL_CTL_ADD, Fd, &Event) != 0) {
            ::close(Fd);
            continue;
        }
        if (FPeers.size() >= MaxPeers)
            DropPeer(0);
        FPeers.push_back(TPeer{Fd, std::string(), MonotonicMs()});
    }
}

void TInstanceDirectory::DropPeer(std::size_t Index)
{
    ::epoll_ctl(FPoller, EPOLL_CTL_DEL, FPeers[Index].Fd, nullptr);
    ::close(FPeers[Index].Fd);
    FPeers.erase(FPeers.begin() + static_cast<std::ptrdiff_t>(Index));
}

bool TInstanceDirectory::ReadPeer(TPeer& Peer, std::vector<TCommandMessage>& Commands)
{
    std::size_t Total = 0;
    char Buffer[512];
    while (Total < MaxReadPerCall) {
        ssize_t N = ::recv(Peer.Fd, Buffer, sizeof(Buffer), 0);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        if (N == 0)
            return false; // an unterminated last line is not a command
        Total += static_cast<std::size_t>(N);
        Peer.Buffer.append(Buffer, static_cast<std::size_t>(N));
        std::string::size_type End;
        while ((End = Peer.Buffer.find('\n')) != std::string::npos) {
            if (End > MaxCommandLength)
                return false; // not our protocol: nothing more from it is trusted
            std::optional<TCommandMessage> Message =
                ParseInstanceCommand(Peer.Buffer.substr(0, End));
            Peer.Buffer.erase(0, End + 1);
            if (Message)
                Commands.push_back(*Message);
            Peer.LastActive = MonotonicMs();
        }
        if (Peer.Buffer.size() > MaxCommandLength)
            return false; // no line end where one must be: not our protocol
    }
    return true;
}

void TInstanceDirectory::HandleReadable()
{
    Accept();
    std::vector<TCommandMessage> Commands;
    const std::int64_t Now = MonotonicMs();
    for (std::size_t I = 0; I < FPeers.size();) {
        if (!ReadPeer(FPeers[I], Commands) || Now - FPeers[I].LastActive > PeerTimeoutMs)
            DropPeer(I);
        else
            ++I;
    }
    // Carried out after the reading, so that the handler may publish, withdraw or even poll
    // again without disturbing the connections being read.
    for (const TCommandMessage& Message : Commands)
        if (IsPublished(Message.Handle) && OnCommand)
            OnCommand(Message.Handle, Message.Command);
}
