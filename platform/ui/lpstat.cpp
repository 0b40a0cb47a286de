#include "platform/ui/lpstat.h"

#include "platform/rtl/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

extern char** environ;

namespace {

const char* const OwnPrinterName = "PDF file";
const char* const DefaultPrefix = "system default destination: ";

bool IsQueueName(const std::string& Name)
{
    if (Name.empty() || Name.size() > 255)
        return false;
    return std::none_of(Name.begin(), Name.end(), [](char C) {
        const auto B = static_cast<unsigned char>(C);
        return B <= 0x20 || B == 0x7F;
    });
}

// The caller's environment in the C locale, so that the listings read as parsed here.
std::vector<std::string> CLocaleEnvironment()
{
    std::vector<std::string> Environment;
    for (char** Entry = environ; Entry && *Entry; ++Entry) {
        const std::string Text = *Entry;
        if (Text.rfind("LC_", 0) != 0 && Text.rfind("LANG=", 0) != 0 &&
            Text.rfind("LANGUAGE=", 0) != 0)
            Environment.push_back(Text);
    }
    Environment.push_back("LC_ALL=C");
    return Environment;
}

// Runs lpstat with Args; its standard output when it exits with 0 within the time limit.
bool RunLpstat(const std::vector<std::string>& Args, int TimeoutMs, std::string& Output)
{
    int Pipe[2];
    if (::pipe2(Pipe, O_CLOEXEC) != 0)
        return false;
    TSpawnOptions Options;
    Options.Argv = {"lpstat"};
    Options.Argv.insert(Options.Argv.end(), Args.begin(), Args.end());
    Options.OutputFd = Pipe[1];
    const int Null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    Options.ErrorFd = Null;
    Options.Environment = CLocaleEnvironment();
    Options.Group = sgNewProcessGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    ::close(Pipe[1]);
    if (Null >= 0)
        ::close(Null);
    if (Started.Pid <= 0) {
        ::close(Pipe[0]);
        return false;
    }
    // A short query answered before the printer list is shown; a hung scheduler must not hang
    // the program, so the wait has a limit of its own.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    bool Ended = false;
    Output.clear();
    while (!Ended) {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              Deadline - std::chrono::steady_clock::now())
                              .count();
        if (Left <= 0)
            break;
        pollfd Fd{Pipe[0], POLLIN, 0};
        const int Ready = ::poll(&Fd, 1, static_cast<int>(Left));
        if (Ready < 0 && errno != EINTR)
            break;
        if (Ready <= 0)
            continue;
        char Buffer[4096];
        const ssize_t Got = ::read(Pipe[0], Buffer, sizeof Buffer);
        if (Got > 0)
            Output.append(Buffer, static_cast<std::size_t>(Got));
        else if (Got == 0 || errno != EINTR)
            Ended = true;
    }
    ::close(Pipe[0]);
    if (!Ended)
        ::kill(Started.Pid, SIGKILL);
    int Status = 0;
    while (::waitpid(Started.Pid, &Status, 0) < 0 && errno == EINTR) {
    }
    return Ended && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

} // namespace

std::vector<std::string> ParseLpstatDestinations(const std::string& Output)
{
    std::vector<std::string> Names;
    std::size_t Start = 0;
    while (Start < Output.size()) {
        std::size_t End = Output.find('\n', Start);
        if (End == std::string::npos)
            End = Output.size();
        std::string Line = Output.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        if (IsQueueName(Line) && Line != OwnPrinterName &&
            std::find(Names.begin(), Names.end(), Line) == Names.end())
            Names.push_back(Line);
        Start = End + 1;
    }
    return Names;
}

std::string ParseLpstatDefault(const std::string& Output)
{
    const std::size_t At = Output.find(DefaultPrefix);
    if (At == std::string::npos || (At > 0 && Output[At - 1] != '\n'))
        return {};
    const std::size_t Begin = At + std::char_traits<char>::length(DefaultPrefix);
    std::size_t End = Output.find('\n', Begin);
    if (End == std::string::npos)
        End = Output.size();
    std::string Name = Output.substr(Begin, End - Begin);
    if (!Name.empty() && Name.back() == '\r')
        Name.pop_back();
    return IsQueueName(Name) && Name != OwnPrinterName ? Name : std::string();
}

TPrintQueues ReadPrintQueues(int TimeoutMs)
{
    TPrintQueues Queues;
    std::string Output;
    if (!RunLpstat({"-e"}, TimeoutMs, Output))
        return Queues;
    Queues.Names = ParseLpstatDestinations(Output);
    if (!Queues.Names.empty() && RunLpstat({"-d"}, TimeoutMs, Output)) {
        const std::string Default = ParseLpstatDefault(Output);
        if (std::find(Queues.Names.begin(), Queues.Names.end(), Default) != Queues.Names.end())
            Queues.Default = Default;
    }
    return Queues;
}
