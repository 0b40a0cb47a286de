// platform/ui/shellopen.cpp: ShellExecute's checks, the spawning launcher and its recorder.
#include "platform/ui/shellopen.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/process.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Started = 42;

TProcessLauncher& BuiltIn()
{
    static TProcessLauncher Launcher;
    return Launcher;
}

std::atomic<IProcessLauncher*> Installed{nullptr};

std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

bool HasControlCharacters(const std::string& S, bool TabAllowed = false)
{
    for (unsigned char C : S)
        if ((C < 32 && !(TabAllowed && C == '\t')) || C == 127)
            return true;
    return false;
}

// The scheme of a URL ("http"), or "" when Text is not one. One letter before the colon is a
// drive letter, not a scheme.
std::string SchemeOf(const std::string& Text)
{
    std::size_t Colon = Text.find(':');
    if (Colon == std::string::npos || Colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(Text[0])))
        return "";
    for (std::size_t I = 0; I < Colon; ++I) {
        unsigned char C = static_cast<unsigned char>(Text[I]);
        if (!std::isalnum(C) && C != '+' && C != '-' && C != '.')
            return "";
    }
    return Lower(Text.substr(0, Colon));
}

// The local path of a file: URL ("file:///tmp/a%20b"), or "" when it names another host or
// decodes to something odd.
std::string PathOfFileUrl(const std::string& Url)
{
    std::string Rest = Url.substr(5);
    if (Rest.compare(0, 2, "//") == 0) {
        std::size_t Slash = Rest.find('/', 2);
        if (Slash == std::string::npos)
            return "";
        std::string Host = Lower(Rest.substr(2, Slash - 2));
        if (!Host.empty() && Host != "localhost")
            return "";
        Rest = Rest.substr(Slash);
    }
    if (Rest.empty() || Rest[0] != '/')
        return "";
    std::string Path;
    for (std::size_t I = 0; I < Rest.size(); ++I) {
        if (Rest[I] == '%') {
            if (I + 2 >= Rest.size())
                return "";
            int High = HexDigitValue(Rest[I + 1]);
            int Low = HexDigitValue(Rest[I + 2]);
            if (High < 0 || Low < 0)
                return "";
            Path.push_back(static_cast<char>(High * 16 + Low));
            I += 2;
        } else {
            Path.push_back(Rest[I]);
        }
    }
    return HasControlCharacters(Path) ? "" : Path;
}

bool IsDirectory(const std::string& Path)
{
    struct stat Info;
    return stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

// The program Name (no "/") on PATH, or "".
std::string FindOnPath(const std::string& Name)
{
    const char* Path = std::getenv("PATH");
    std::string Folders = Path ? Path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t Start = 0;
    for (;;) {
        std::size_t End = Folders.find(':', Start);
        std::string Folder = Folders.substr(Start, End == std::string::npos ? End : End - Start);
        std::string Candidate = (Folder.empty() ? std::string(".") : Folder) + "/" + Name;
        struct stat Info;
        if (stat(Candidate.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
            access(Candidate.c_str(), X_OK) == 0)
            return Candidate;
        if (End == std::string::npos)
            return "";
        Start = End + 1;
    }
}

bool EndsWith(const std::string& S, const std::string& Tail)
{
    return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

int XdgOpen(const std::string& Target)
{
    TLaunch Launch;
    Launch.Argv = {"xdg-open", Target};
    int Error = ProcessLauncher().Launch(Launch);
    // Without xdg-open nothing on this machine opens documents.
    return Error == SE_ERR_FNF ? SE_ERR_NOASSOC : Error;
}

// A local file: a program runs (when ProgramsAllowed), a document opens with its handler.
int OpenPath(const std::string& File, const std::string& Parameters, const std::string& Directory,
             bool ProgramsAllowed)
{
    std::string Path = File;
    if (Path[0] != '/' && !Directory.empty())
        Path = Directory + "/" + Path;
    struct stat Info;
    if (stat(Path.c_str(), &Info) != 0) {
        if (File.find('/') != std::string::npos)
            return SE_ERR_FNF;
        Path = FindOnPath(File);
        if (Path.empty())
            return SE_ERR_FNF;
        if (stat(Path.c_str(), &Info) != 0)
            return SE_ERR_FNF;
    }
    if (!S_ISREG(Info.st_mode))
        return SE_ERR_ACCESSDENIED;
    // Absolute, so that a program in the working folder is not looked up on PATH instead.
    if (Path[0] != '/') {
        char* Cwd = getcwd(nullptr, 0);
        if (!Cwd)
            return SE_ERR_OOM;
        Path = std::string(Cwd) + "/" + Path;
        std::free(Cwd);
    }
    if (access(Path.c_str(), X_OK) == 0) {
        if (!ProgramsAllowed)
            return SE_ERR_ACCESSDENIED;
        TLaunch Launch;
        Launch.Argv.push_back(Path);
        for (std::string& Argument : SplitCommandLine(Parameters))
            Launch.Argv.push_back(std::move(Argument));
        Launch.Directory = Directory;
        return ProcessLauncher().Launch(Launch);
    }
    // A desktop entry would start whatever program it names.
    if (EndsWith(Lower(Path), ".desktop"))
        return SE_ERR_ACCESSDENIED;
    return XdgOpen(Path);
}

int ErrorOfSpawn(int Error)
{
    switch (Error) {
    case ENOENT:
    case ENOTDIR:
        return SE_ERR_FNF;
    case EACCES:
    case EPERM:
    case ENOEXEC:
        return SE_ERR_ACCESSDENIED;
    default:
        return SE_ERR_OOM;
    }
}

} // namespace

IProcessLauncher& ProcessLauncher()
{
    IProcessLauncher* Launcher = Installed.load();
    return Launcher ? *Launcher : BuiltIn();
}

IProcessLauncher* SetProcessLauncher(IProcessLauncher* Launcher)
{
    return Installed.exchange(Launcher);
}

TProcessLauncher::TProcessLauncher() : FChildren(std::make_shared<TChildren>()) {}

int TProcessLauncher::Launch(const TLaunch& Launch)
{
    if (Launch.Argv.empty() || Launch.Argv[0].empty())
        return SE_ERR_FNF;
    if (!Launch.Directory.empty() && !IsDirectory(Launch.Directory))
        return SE_ERR_PNF;
    TSpawnOptions Options;
    Options.Argv = Launch.Argv;
    Options.Directory = Launch.Directory;
    // Its own session, so that the program outlives a closed terminal.
    Options.Group = sgNewSession;
    const TSpawnResult Spawned = SpawnProcess(Options);
    if (Spawned.Error != 0)
        return ErrorOfSpawn(Spawned.Error);
    const pid_t Pid = Spawned.Pid;

    {
        std::lock_guard<std::mutex> Lock(FChildren->Mutex);
        ++FChildren->Running;
    }
    // The waiting thread owns a share of the count, so it may outlive this launcher.
    std::thread([Children = FChildren, Pid] {
        while (waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        std::lock_guard<std::mutex> Lock(Children->Mutex);
        --Children->Running;
        Children->Ended.notify_all();
    }).detach();
    if (OnSpawned)
        OnSpawned(static_cast<int>(Pid));
    return 0;
}

bool TProcessLauncher::WaitForChildren(int TimeoutMs)
{
    std::unique_lock<std::mutex> Lock(FChildren->Mutex);
    return FChildren->Ended.wait_for(Lock, std::chrono::milliseconds(TimeoutMs),
                                     [&] { return FChildren->Running == 0; });
}

TLaunchRecorder::TLaunchRecorder() : FPrevious(SetProcessLauncher(this)) {}

TLaunchRecorder::~TLaunchRecorder()
{
    SetProcessLauncher(FPrevious);
}

int TLaunchRecorder::Launch(const TLaunch& Launch)
{
    FLaunches.push_back(Launch);
    return Result;
}

std::vector<std::string> SplitCommandLine(const std::string& Line)
{
    std::vector<std::string> Result;
    std::string Current;
    bool InArgument = false;
    bool Quoted = false;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        char C = Line[I];
        if (C == '\\' && I + 1 < Line.size() && Line[I + 1] == '"') {
            Current.push_back('"');
            InArgument = true;
            ++I;
        } else if (C == '"') {
            Quoted = !Quoted;
            InArgument = true;
        } else if ((C == ' ' || C == '\t') && !Quoted) {
            if (InArgument)
                Result.push_back(Current);
            Current.clear();
            InArgument = false;
        } else {
            Current.push_back(C);
            InArgument = true;
        }
    }
    if (InArgument)
        Result.push_back(Current);
    return Result;
}

int ShellExecute(HWND /*Wnd*/, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int /*ShowCmd*/)
{
    if (!Operation.empty() && Lower(Operation) != "open")
        return SE_ERR_NOASSOC;
    std::string Target = File;
    if (Target.size() >= 2 && Target.front() == '"' && Target.back() == '"')
        Target = Target.substr(1, Target.size() - 2);
    if (Target.empty())
        return SE_ERR_FNF;
    // A leading "-" would be read as an option by the handler.
    if (Target[0] == '-' || HasControlCharacters(Target) ||
        HasControlCharacters(Parameters, true) || HasControlCharacters(Directory))
        return SE_ERR_ACCESSDENIED;
    if (!Directory.empty() && !IsDirectory(Directory))
        return SE_ERR_PNF;
    std::string Scheme = SchemeOf(Target);
    int Error = 0;
    if (Scheme == "http" || Scheme == "https" || Scheme == "mailto")
        Error = XdgOpen(Target);
    else if (Scheme == "file") {
        std::string Path = PathOfFileUrl(Target);
        if (Path.empty())
            return SE_ERR_ACCESSDENIED;
        Error = OpenPath(Path, "", "", false);
    } else if (!Scheme.empty())
        return SE_ERR_ACCESSDENIED;
    else
        Error = OpenPath(Target, Parameters, Directory, true);
    return Error == 0 ? Started : Error;
}

int ShellOpen(const std::string& Target)
{
    return ShellExecute(0, "open", Target, "", "", 1);
}
