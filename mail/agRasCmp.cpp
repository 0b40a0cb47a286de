#include "mail/agRasCmp.h"

#include "mail/agsocket.h"
#include "mail/mailerrors.h"
#include "platform/rtl/process.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/wait.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr Cardinal LinkCheckMs = 250;
// poff only signals pppd; it has no reason to take long.
constexpr int HangUpLimitMs = 30000;
constexpr std::size_t OutputKept = 4096;

std::string EnvOr(const char* Name, const char* Default)
{
    const char* Value = std::getenv(Name);
    return Value && *Value ? Value : Default;
}

std::string ReadSmallFile(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    std::string Text;
    char Buffer[512];
    In.read(Buffer, sizeof Buffer);
    Text.assign(Buffer, static_cast<std::size_t>(In.gcount()));
    return Text;
}

std::vector<std::string> FolderNames(const std::string& Folder)
{
    std::vector<std::string> Names;
    DIR* Dir = opendir(Folder.c_str());
    if (!Dir)
        return Names;
    while (const dirent* Entry = readdir(Dir))
        if (Entry->d_name[0] != '.')
            Names.emplace_back(Entry->d_name);
    closedir(Dir);
    return Names;
}

bool IsRegularFile(const std::string& Path)
{
    struct stat Info;
    return stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

// A peer name that can go to pon as one plain argument.
bool UsableEntryName(const std::string& Name)
{
    if (Name.empty() || Name[0] == '-' || Name.back() == '~')
        return false;
    for (unsigned char C : Name)
        if (C <= ' ' || C == 127)
            return false;
    return true;
}

bool CommandExists(const std::string& Command)
{
    if (Command.empty())
        return false;
    if (Command.find('/') != std::string::npos)
        return IsRegularFile(Command) && access(Command.c_str(), X_OK) == 0;
    const char* Path = std::getenv("PATH");
    const std::string Folders = Path ? Path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t Start = 0;
    for (;;) {
        const std::size_t End = Folders.find(':', Start);
        std::string Folder = Folders.substr(Start, End == std::string::npos ? End : End - Start);
        const std::string Candidate = (Folder.empty() ? "." : Folder) + "/" + Command;
        if (IsRegularFile(Candidate) && access(Candidate.c_str(), X_OK) == 0)
            return true;
        if (End == std::string::npos)
            return false;
        Start = End + 1;
    }
}

// The peer a running pppd was called for, from its command line ("pppd call NAME").
std::string EntryOfProcess(const std::string& Pid)
{
    const std::string CommandLine = ReadSmallFile("/proc/" + Pid + "/cmdline");
    std::vector<std::string> Arguments;
    std::size_t Start = 0;
    while (Start < CommandLine.size()) {
        const std::size_t End = CommandLine.find('\0', Start);
        Arguments.push_back(CommandLine.substr(Start, End - Start));
        if (End == std::string::npos)
            break;
        Start = End + 1;
    }
    for (std::size_t I = 0; I + 1 < Arguments.size(); ++I)
        if (Arguments[I] == "call")
            return Arguments[I + 1];
    return "";
}

} // namespace

// A child process run by argument vector, its output collected through a pipe; its end is
// seen through a process descriptor (or, without one, the pipe's end of file) watched by the
// message loop, and it is always reaped.
class TRasChild {
public:
    // Errno of the start in Error when it returns null.
    static std::unique_ptr<TRasChild> Start(const std::vector<std::string>& Argv, int& Error);
    ~TRasChild();
    TRasChild(const TRasChild&) = delete;
    TRasChild& operator=(const TRasChild&) = delete;

    bool Running() const { return FPid > 0; }
    // The exit status, or 128 + the signal that ended it.
    int ExitCode() const { return FExitCode; }
    const std::string& Output() const { return FOutput; }
    // Ends the child and everything in its process group, and reaps it.
    void Kill();

private:
    TRasChild() = default;
    void PipeReady();
    void Reap(int Options);

    pid_t FPid = 0;
    int FPidFd = -1;
    int FPipe = -1;
    int FPidWatch = 0;
    int FPipeWatch = 0;
    int FExitCode = -1;
    std::string FOutput;
};

std::unique_ptr<TRasChild> TRasChild::Start(const std::vector<std::string>& Argv, int& Error)
{
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) {
        Error = errno;
        return nullptr;
    }
    TSpawnOptions Options;
    Options.Argv = Argv;
    Options.OutputFd = Pipe[1];
    // A group of its own, so that a kill reaches what it started as well.
    Options.Group = sgNewProcessGroup;
    const TSpawnResult Spawned = SpawnProcess(Options);
    Error = Spawned.Error;
    const pid_t Pid = Spawned.Pid;
    close(Pipe[1]);
    if (Error != 0) {
        close(Pipe[0]);
        return nullptr;
    }

    std::unique_ptr<TRasChild> Child(new TRasChild);
    Child->FPid = Pid;
    Child->FPipe = Pipe[0];
    fcntl(Child->FPipe, F_SETFL, fcntl(Child->FPipe, F_GETFL) | O_NONBLOCK);
    TRasChild* Self = Child.get();
    Child->FPipeWatch =
        RegisterDescriptor(Child->FPipe, POLLIN, [Self](int, short) { Self->PipeReady(); });
    Child->FPidFd = static_cast<int>(syscall(SYS_pidfd_open, Pid, 0));
    if (Child->FPidFd >= 0)
        Child->FPidWatch =
            RegisterDescriptor(Child->FPidFd, POLLIN, [Self](int, short) { Self->Reap(WNOHANG); });
    return Child;
}

TRasChild::~TRasChild()
{
    if (FPipeWatch != 0)
        UnregisterDescriptor(FPipeWatch);
    if (FPidWatch != 0)
        UnregisterDescriptor(FPidWatch);
    if (FPipe >= 0)
        close(FPipe);
    if (FPidFd >= 0)
        close(FPidFd);
    // A dialler that stays in the foreground for the whole call keeps it up: it is left
    // running, and a thread of its own reaps it.
    if (FPid > 0)
        std::thread([Pid = FPid] {
            while (waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
}

void TRasChild::PipeReady()
{
    char Buffer[1024];
    for (;;) {
        const ssize_t Got = read(FPipe, Buffer, sizeof Buffer);
        if (Got > 0) {
            FOutput.append(Buffer, static_cast<std::size_t>(Got));
            if (FOutput.size() > OutputKept)
                FOutput.erase(0, FOutput.size() - OutputKept);
            continue;
        }
        if (Got < 0 && (errno == EINTR))
            continue;
        if (Got < 0 && errno == EAGAIN)
            return;
        break;
    }
    // End of file: every writer is gone.
    UnregisterDescriptor(FPipeWatch);
    FPipeWatch = 0;
    if (FPidFd < 0)
        Reap(0);
}

void TRasChild::Reap(int Options)
{
    if (FPid <= 0)
        return;
    int Status = 0;
    pid_t Done;
    while ((Done = waitpid(FPid, &Status, Options)) < 0 && errno == EINTR) {
    }
    if (Done == 0)
        return;
    if (Done == FPid)
        FExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    FPid = 0;
    if (FPidWatch != 0)
        UnregisterDescriptor(FPidWatch);
    FPidWatch = 0;
    // Output still buffered in the pipe is read now.
    if (FPipeWatch != 0)
        PipeReady();
}

void TRasChild::Kill()
{
    if (FPid <= 0)
        return;
    kill(-FPid, SIGKILL);
    kill(FPid, SIGKILL);
    Reap(0);
}

// Texts

std::string RasStatusText(int State)
{
    switch (State) {
    case 0:
        return "Initializing...";
    case 2:
    case 3:
    case 4:
        return "Dialing...";
    case 5:
    case 19:
        return "Verifying user name and password";
    case 14:
        return "User name and password verified";
    case 21:
        return "Logging on to Network";
    case RASCS_Connected:
        return "Successfully connected";
    default:
        return "";
    }
}

std::string RasErrorText(int Code)
{
    // The exit statuses of the ppp daemon, which pon runs.
    static const char* const Daemon[] = {
        nullptr,
        "The dial-up program failed",
        "The dial-up options are not valid",
        "The dial-up program is not allowed to configure the network",
        "The system does not support PPP",
        "The dial-up program was ended by a signal",
        "The serial port could not be locked",
        "The serial port could not be opened",
        "The connect script failed",
        "The pty command failed",
        "The PPP negotiation failed",
        "The peer did not authenticate itself",
        "The link was idle too long",
        "The connect time limit was reached",
        "The call is to be returned by the peer",
        "The peer stopped answering",
        "The modem hung up",
        "The serial line is looped back",
        "The init script failed",
        "The user name or password was not accepted",
    };
    if (Code > 0 && Code < static_cast<int>(std::size(Daemon)))
        return Daemon[Code];
    if (Code == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY)
        return "The phone book entry for this connection does not exist";
    if (Code == ERROR_CANNOT_START_DIALLER)
        return "The dial-up program could not be started";
    return "RAS error no " + std::to_string(Code);
}

// TagRas

TagRas::TagRas(TComponent* AOwner)
    : TComponent(AOwner), PeersFolder(EnvOr("TARNWICK_PPP_PEERS", "/etc/ppp/peers")),
      NetFolder(EnvOr("TARNWICK_PPP_NET", "/sys/class/net")),
      RunFolder(EnvOr("TARNWICK_PPP_RUN", "/run")), PonCommand(EnvOr("TARNWICK_PON", "pon")),
      PoffCommand(EnvOr("TARNWICK_POFF", "poff")), FEntries(std::make_unique<TStringList>()),
      FCounter(std::make_unique<TTimeCounter>()), FLinkTimer(std::make_unique<TTimer>(nullptr))
{
    FCounter->TimeOut = 120;
    FLinkTimer->SetEnabled(false);
    FLinkTimer->SetInterval(LinkCheckMs);
    FLinkTimer->OnTimer = [this](TObject*) { CheckLink(); };
    GetEntries();
}

TagRas::~TagRas()
{
    Destroying();
}

int TagRas::TimeOut() const
{
    return FCounter->TimeOut;
}

void TagRas::SetTimeOut(int Value)
{
    FCounter->TimeOut = Value;
}

TStringList* TagRas::GetEntries()
{
    FEntries->Clear();
    std::vector<std::string> Names = FolderNames(PeersFolder);
    std::sort(Names.begin(), Names.end());
    for (const std::string& Name : Names)
        if (UsableEntryName(Name) && IsRegularFile(PeersFolder + "/" + Name))
            FEntries->Add(Name);
    return FEntries.get();
}

void TagRas::SetService(const std::string& Value)
{
    if (Value.empty()) {
        FService.clear();
        return;
    }
    if (FEntries->Count() == 0) {
        MessageBox("TagRas component was unable to detect\rRAS on your system.", "",
                   MB_OK | MB_ICONERROR);
        return;
    }
    if (FConnected) {
        MessageBox("This property can be set only before\restablishing the connection", "",
                   MB_OK | MB_ICONERROR);
        return;
    }
    GetEntries();
    FService = FEntries->IndexOf(Value) >= 0 ? Value : std::string();
}

std::vector<TRasConnection> TagRas::GetConnections() const
{
    // pppd started with a link name keeps "ppp-<name>.pid": its process id, then its
    // interface. Otherwise "<interface>.pid" leads to the process and its "call NAME".
    std::vector<std::pair<std::string, std::string>> Named; // interface, entry
    for (const std::string& Name : FolderNames(RunFolder)) {
        if (Name.size() <= 8 || Name.compare(0, 4, "ppp-") != 0 ||
            Name.compare(Name.size() - 4, 4, ".pid") != 0)
            continue;
        const std::string Text = ReadSmallFile(RunFolder + "/" + Name);
        const std::size_t LineEnd = Text.find('\n');
        if (LineEnd != std::string::npos)
            Named.emplace_back(Trim(Text.substr(LineEnd + 1)), Name.substr(4, Name.size() - 8));
    }
    std::vector<TRasConnection> Result;
    std::vector<std::string> Interfaces = FolderNames(NetFolder);
    std::sort(Interfaces.begin(), Interfaces.end());
    for (const std::string& Interface : Interfaces) {
        if (Interface.compare(0, 3, "ppp") != 0)
            continue;
        TRasConnection Connection;
        Connection.Interface = Interface;
        const std::string State = Trim(ReadSmallFile(NetFolder + "/" + Interface + "/operstate"));
        // A point-to-point link has no carrier to report: "unknown" while it is up.
        Connection.Up = State == "up" || State == "unknown";
        for (const auto& Pair : Named)
            if (Pair.first == Interface)
                Connection.Entry = Pair.second;
        if (Connection.Entry.empty()) {
            const std::string Pid = Trim(ReadSmallFile(RunFolder + "/" + Interface + ".pid"));
            if (!Pid.empty())
                Connection.Entry = EntryOfProcess(Pid);
        }
        Result.push_back(Connection);
    }
    return Result;
}

bool TagRas::IsConnected()
{
    const std::vector<TRasConnection> Connections = GetConnections();
    for (const TRasConnection& Connection : Connections)
        if (Connection.Up && !FService.empty() && Connection.Entry == FService) {
            FHandle = Connection.Interface;
            return true;
        }
    if (!ForceService)
        for (const TRasConnection& Connection : Connections)
            if (Connection.Up) {
                FHandle = Connection.Interface;
                return true;
            }
    return false;
}

void TagRas::Reset()
{
    FHandle.clear();
    FConnected = false;
    FDialCanceled = false;
    FLastResult = 0;
    FCounter->TimedOut = false;
}

void TagRas::StatusChange(int State)
{
    if (OnStatusChange)
        OnStatusChange(this, RasStatusText(State));
}

void TagRas::CheckLink()
{
    if (!FConnected && IsConnected()) {
        StatusChange(RASCS_Connected);
        FConnected = true;
    }
}

void TagRas::Dial()
{
    // A call of our own that is still up stays ours, so that EndDial still ends it.
    const bool OwnCallUp = FDialledHere && FConnected;
    if (IsConnected() || FService.empty()) {
        FConnected = true;
        FDialledHere = OwnCallUp;
        return;
    }
    if (!CommandExists(PonCommand))
        return;
    Reset();
    if (!IsRegularFile(PeersFolder + "/" + FService)) {
        FDialledHere = false;
        FLastResult = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
        throw ERASError(RasErrorText(FLastResult), FLastResult);
    }
    FDialledHere = true;
    FDialledEntry = FService;
    StatusChange(RASCS_OpenPort);
    int Error = 0;
    FDialler = TRasChild::Start({PonCommand, FService}, Error);
    if (!FDialler)
        FLastResult = ERROR_CANNOT_START_DIALLER;
    else
        StatusChange(RASCS_ConnectDevice);

    FCounter->Restart();
    FLinkTimer->SetEnabled(true);
    CheckLink();
    const TPumpResult Result = WaitUntil([this] {
        // pon ends once pppd runs in the background: only a failure of it ends the wait.
        if (FDialler && !FDialler->Running() && FDialler->ExitCode() != 0 && FLastResult == 0)
            FLastResult = FDialler->ExitCode();
        return FConnected || FLastResult != 0 || FDialCanceled || FCounter->TimedOut;
    });
    FLinkTimer->SetEnabled(false);
    FCounter->Stop();
    if (Result == prQuit)
        FDialCanceled = true;

    if (FLastResult != 0) {
        std::string Text = RasErrorText(FLastResult);
        // For a status without a text of its own, the dialler's last words say more.
        if (Text.rfind("RAS error no ", 0) == 0 && FDialler) {
            const std::string Output = Trim(FDialler->Output());
            if (!Output.empty())
                Text = Output.substr(Output.find_last_of('\n') + 1);
        }
        const int Code = FLastResult;
        if (FDialler)
            FDialler->Kill();
        HangUp();
        throw ERASError(Text, Code);
    }
    if (FDialCanceled || FCounter->TimedOut) {
        const bool TimedOut = !FDialCanceled;
        // An abandoned call must not come up later behind the user's back.
        if (FDialler)
            FDialler->Kill();
        HangUp();
        if (TimedOut)
            throw ETimedOutError(MailText(sidTimedOut));
        throw ECanceledError(MailText(sidCanceled));
    }
    if (FDialler && !FDialler->Running())
        FDialler.reset();
}

void TagRas::HangUp()
{
    if (!CommandExists(PoffCommand))
        return;
    if (FEntries->Count() > 0 && FDialledHere) {
        FDialledHere = false;
        RunAndWait(PoffCommand, FDialledEntry);
        if (FDialler && !FDialler->Running())
            FDialler.reset();
        if (OnDisconnected)
            OnDisconnected(this);
    }
    FConnected = false;
    FHandle.clear();
}

void TagRas::EndDial()
{
    HangUp();
    FDialCanceled = true;
}

int TagRas::RunAndWait(const std::string& Command, const std::string& Entry)
{
    int Error = 0;
    const std::unique_ptr<TRasChild> Child = TRasChild::Start({Command, Entry}, Error);
    if (!Child)
        return ERROR_CANNOT_START_DIALLER;
    if (WaitUntil([&] { return !Child->Running(); }, HangUpLimitMs) != prDone)
        Child->Kill();
    return Child->ExitCode();
}
