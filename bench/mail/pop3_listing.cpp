// Listing one Dovecot mailbox of 2,000 messages by header lines: UpdateInfo against a plain C
// client doing the same round trips (the floor, which reads blocking, and the poll floor, which
// waits in poll() before each read), mailfilter in its test mode, and Python's poplib, all on
// the same server. The floors and poplib send what UpdateInfo sends (USER, PASS, STAT, UIDL,
// LIST n and TOP n 1 per message, QUIT); mailfilter sends LIST n and TOP n 0 per message and
// no UIDL. The differences are client overhead.
//
// Fairness: one untimed listing per client first (Dovecot indexes the mailbox on first access,
// caches warm up), then rounds in which every client lists once, the first client rotating
// from round to round; each client's median over the rounds is reported. Python's interpreter
// starts once, outside the timing, and times each listing itself. mailfilter is a program of
// its own, timed whole; its start-up alone (mailfilter --version) is timed as well.
//
//   bench_pop3_listing [--rounds N] [--messages N]
//                      [--only tarnwick|floor|"poll floor"|mailfilter|poplib]
#include "bench/mail/pop3_floor.h"
#include "mail/mspop3.h"
#include "platform/rtl/process.h"

#include "tests/interop/mail/childprocess.h"
#include "tests/interop/mail/dovecot.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Seconds(clockid_t Clock)
{
    timespec T{};
    clock_gettime(Clock, &T);
    return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

struct TCpu {
    double User = 0; // seconds
    double System = 0;
};

// Who: RUSAGE_THREAD for a client on this thread, RUSAGE_CHILDREN for programs run and waited
// for.
TCpu CpuSeconds(int Who)
{
    rusage Usage{};
    getrusage(Who, &Usage);
    auto ToSeconds = [](const timeval& T) {
        return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_usec) * 1e-6;
    };
    return TCpu{ToSeconds(Usage.ru_utime), ToSeconds(Usage.ru_stime)};
}

TCpu operator-(const TCpu& A, const TCpu& B)
{
    return TCpu{A.User - B.User, A.System - B.System};
}

double Median(std::vector<double> Values)
{
    if (Values.empty())
        return 0;
    std::sort(Values.begin(), Values.end());
    const std::size_t Middle = Values.size() / 2;
    return Values.size() % 2 ? Values[Middle] : (Values[Middle - 1] + Values[Middle]) / 2;
}

struct TSample {
    double Wall = 0; // seconds
    TCpu Cpu;        // the client's own
};

struct TClient {
    std::string Name;
    std::function<TSample()> Run; // raises std::runtime_error when the listing fails
    std::vector<TSample> Samples;
};

// Python's poplib, one interpreter for the whole run: each "go" line on its stdin makes one
// listing, answered by "count wall cpu" as the interpreter measured them.
class TPoplibPeer {
public:
    TPoplibPeer(int Port, int Messages) : FMessages(Messages)
    {
        static const char Script[] =
            "import poplib, resource, sys, time\n"
            "port, user, password = int(sys.argv[1]), sys.argv[2], sys.argv[3]\n"
            "for _ in sys.stdin:\n"
            "    wall, cpu = time.perf_counter(), resource.getrusage(resource.RUSAGE_SELF)\n"
            "    p = poplib.POP3('127.0.0.1', port)\n"
            "    p.user(user)\n"
            "    p.pass_(password)\n"
            "    count = p.stat()[0]\n"
            "    if count:\n"
            "        p.uidl()\n"
            "    for n in range(1, count + 1):\n"
            "        p.list(n)\n"
            "        p.top(n, 1)\n"
            "    p.quit()\n"
            "    now = resource.getrusage(resource.RUSAGE_SELF)\n"
            "    print(count, time.perf_counter() - wall, now.ru_utime - cpu.ru_utime,\n"
            "          now.ru_stime - cpu.ru_stime, flush=True)\n";
        int ToPeer[2];
        int FromPeer[2];
        if (pipe2(ToPeer, O_CLOEXEC) != 0 || pipe2(FromPeer, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make the pipes to python3");
        TSpawnOptions Options;
        Options.Argv = {"python3",
                        "-c",
                        Script,
                        std::to_string(Port),
                        TestSupport::TDovecot::UserName,
                        TestSupport::TDovecot::Password};
        Options.InputFd = ToPeer[0];
        Options.OutputFd = FromPeer[1];
        // Its tracebacks go to the bench's own standard error, and a Ctrl-C ends it as well.
        Options.ErrorFd = -1;
        Options.Group = sgCallerGroup;
        const TSpawnResult Spawned = SpawnProcess(Options);
        FPid = Spawned.Pid;
        ::close(ToPeer[0]);
        ::close(FromPeer[1]);
        FTo = fdopen(ToPeer[1], "w");
        FFrom = fdopen(FromPeer[0], "r");
        if (Spawned.Error != 0 || !FTo || !FFrom) {
            Stop();
            throw std::runtime_error("cannot start python3");
        }
    }
    ~TPoplibPeer() { Stop(); }
    TPoplibPeer(const TPoplibPeer&) = delete;
    TPoplibPeer& operator=(const TPoplibPeer&) = delete;

    TSample Run()
    {
        std::fputs("go\n", FTo);
        std::fflush(FTo);
        char Answer[256];
        int Count = 0;
        TSample Sample;
        if (!std::fgets(Answer, sizeof Answer, FFrom) ||
            std::sscanf(Answer, "%d %lf %lf %lf", &Count, &Sample.Wall, &Sample.Cpu.User,
                        &Sample.Cpu.System) != 4)
            throw std::runtime_error("python3 gave no answer (see its errors above)");
        if (Count != FMessages)
            throw std::runtime_error("poplib listed a different mailbox");
        return Sample;
    }

private:
    void Stop()
    {
        if (FTo)
            std::fclose(FTo); // end of input ends the script
        if (FFrom)
            std::fclose(FFrom);
        FTo = FFrom = nullptr;
        if (FPid > 0)
            while (waitpid(FPid, nullptr, 0) < 0 && errno == EINTR) {
            }
        FPid = 0;
    }

    int FMessages;
    pid_t FPid = 0;
    FILE* FTo = nullptr;
    FILE* FFrom = nullptr;
};

TSample TimeInProcess(const std::function<int()>& Listing, int Messages, const char* Name)
{
    const double Wall = Seconds(CLOCK_MONOTONIC);
    const TCpu Cpu = CpuSeconds(RUSAGE_THREAD);
    const int Count = Listing();
    TSample Sample{Seconds(CLOCK_MONOTONIC) - Wall, CpuSeconds(RUSAGE_THREAD) - Cpu};
    if (Count != Messages)
        throw std::runtime_error(std::string(Name) + " listed a different mailbox");
    return Sample;
}

// A child program's run: wall time, and its CPU time from the children's usage.
TSample TimeProgram(const std::vector<std::string>& Argv)
{
    const double Wall = Seconds(CLOCK_MONOTONIC);
    const TCpu Cpu = CpuSeconds(RUSAGE_CHILDREN);
    const TestSupport::TProgramResult Result = TestSupport::RunProgram(Argv);
    TSample Sample{Seconds(CLOCK_MONOTONIC) - Wall, CpuSeconds(RUSAGE_CHILDREN) - Cpu};
    if (Result.ExitCode != 0)
        throw std::runtime_error(Argv[0] + " failed: " + Result.Errors + Result.Output);
    return Sample;
}

struct TOptions {
    int Rounds = 9;
    int Messages = 2000;
    std::string Only;
};

TOptions ParseOptions(int argc, char** argv)
{
    TOptions Options;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        const bool HasValue = I + 1 < argc;
        if (Arg == "--rounds" && HasValue)
            Options.Rounds = std::max(1, std::atoi(argv[++I]));
        else if (Arg == "--messages" && HasValue)
            Options.Messages = std::max(1, std::atoi(argv[++I]));
        else if (Arg == "--only" && HasValue)
            Options.Only = argv[++I];
        else
            throw std::runtime_error("usage: bench_pop3_listing [--rounds N] [--messages N] "
                                     "[--only tarnwick|floor|\"poll floor\"|mailfilter|poplib]");
    }
    return Options;
}

const TClient* Find(const std::vector<TClient>& Clients, const std::string& Name)
{
    for (const TClient& Client : Clients)
        if (Client.Name == Name && !Client.Samples.empty())
            return &Client;
    return nullptr;
}

// The median of one measure of the samples.
double MedianOf(const std::vector<TSample>& Samples, double (*Measure)(const TSample&))
{
    std::vector<double> Values;
    for (const TSample& Sample : Samples)
        Values.push_back(Measure(Sample));
    return Median(Values);
}

double WallOf(const TSample& Sample)
{
    return Sample.Wall;
}

double UserOf(const TSample& Sample)
{
    return Sample.Cpu.User;
}

double SystemOf(const TSample& Sample)
{
    return Sample.Cpu.System;
}

double CpuOf(const TSample& Sample)
{
    return Sample.Cpu.User + Sample.Cpu.System;
}

// The ratio of the two clients' medians, and the median of their ratios round by round, which
// a machine whose load drifts during the run disturbs less.
void PrintRatio(const std::vector<TClient>& Clients, const char* Top, const char* Bottom,
                double (*Measure)(const TSample&) = WallOf, const char* Label = "")
{
    const TClient* A = Find(Clients, Top);
    const TClient* B = Find(Clients, Bottom);
    if (!A || !B || MedianOf(B->Samples, Measure) <= 0)
        return;
    std::vector<double> PerRound;
    for (std::size_t I = 0; I < A->Samples.size() && I < B->Samples.size(); ++I)
        if (Measure(B->Samples[I]) > 0)
            PerRound.push_back(Measure(A->Samples[I]) / Measure(B->Samples[I]));
    std::printf("%-26s %7.3f %9.3f\n", (Label + std::string(Top) + " / " + Bottom).c_str(),
                MedianOf(A->Samples, Measure) / MedianOf(B->Samples, Measure), Median(PerRound));
}

int Run(const TOptions& Options)
{
    TestSupport::TDovecot Dovecot;
    std::vector<std::string> Messages;
    for (int I = 1; I <= Options.Messages; ++I)
        Messages.push_back(TestSupport::GeneratedMessage(I));
    Dovecot.WriteMailbox(Messages);

    char Pattern[] = "/tmp/tarnwick-bench-XXXXXX";
    if (::mkdtemp(Pattern) == nullptr)
        throw std::runtime_error("cannot make a work folder");
    const std::string WorkFolder = std::string(Pattern) + "/";
    const std::string RcFile = WorkFolder + "mailfilterrc";
    {
        std::ofstream Rc(RcFile);
        Rc << "LOGFILE = \"" << WorkFolder << "mailfilter.log\"\n"
           << "SERVER = \"127.0.0.1\"\n"
           << "USER = \"" << TestSupport::TDovecot::UserName << "\"\n"
           << "PASS = \"" << TestSupport::TDovecot::Password << "\"\n"
           << "PROTOCOL = \"pop3\"\n"
           << "PORT = " << Dovecot.Port() << "\n"
           << "DENY = \"^Subject:.*Get rich fast\"\n"
           << "DENY = \"^From:.*bulk@spam\\.example\"\n";
    }
    struct TCleanUp {
        std::string Folder;
        ~TCleanUp()
        {
            std::remove((Folder + "mailfilterrc").c_str());
            std::remove((Folder + "mailfilter.log").c_str());
            ::rmdir(Folder.c_str());
        }
    } CleanUp{WorkFolder};

    const int Count = Options.Messages;
    const bool AllClients = Options.Only.empty();
    std::unique_ptr<TPoplibPeer> Poplib;
    if (AllClients || Options.Only == "poplib")
        Poplib = std::make_unique<TPoplibPeer>(Dovecot.Port(), Count);

    std::vector<TClient> Clients;
    Clients.push_back({"tarnwick",
                       [&] {
                           return TimeInProcess(
                               [&] {
                                   ZevRemotePOP Pop(nullptr);
                                   Pop.SetServer(Dovecot.Server());
                                   Pop.SetUserName(TestSupport::TDovecot::UserName);
                                   Pop.SetPassword(TestSupport::TDovecot::Password);
                                   Pop.UpdateInfo();
                                   return Pop.RemoteInfo()->GetCount();
                               },
                               Count, "UpdateInfo");
                       },
                       {}});
    // The floor reads blocking; "poll floor" waits in poll() before each read, as a program
    // with a message loop has to: what such waits cost beyond the floor.
    auto FloorClient = [&](const char* Name, int PollFirst) {
        return TClient{Name,
                       [&, Name, PollFirst] {
                           return TimeInProcess(
                               [&] {
                                   char Error[256] = "";
                                   const int Listed = Pop3FloorListing(
                                       Dovecot.Port(), TestSupport::TDovecot::UserName,
                                       TestSupport::TDovecot::Password, PollFirst, Error,
                                       sizeof Error);
                                   if (Listed < 0)
                                       throw std::runtime_error(std::string(Name) + ": " + Error);
                                   return Listed;
                               },
                               Count, Name);
                       },
                       {}};
    };
    Clients.push_back(FloorClient("floor", 0));
    Clients.push_back(FloorClient("poll floor", 1));
    Clients.push_back({"mailfilter",
                       [&] {
                           return TimeProgram({"mailfilter", "--test", "-M", RcFile});
                       },
                       {}});
    Clients.push_back({"poplib", [&] { return Poplib->Run(); }, {}});
    if (!AllClients) {
        Clients.erase(std::remove_if(Clients.begin(), Clients.end(),
                                     [&](const TClient& C) { return C.Name != Options.Only; }),
                      Clients.end());
        if (Clients.empty())
            throw std::runtime_error("no client named " + Options.Only);
    }

    for (TClient& Client : Clients)
        Client.Run();
    std::vector<TSample> StartUp;
    for (int Round = 0; Round < Options.Rounds; ++Round) {
        for (std::size_t I = 0; I < Clients.size(); ++I) {
            TClient& Client = Clients[(I + static_cast<std::size_t>(Round)) % Clients.size()];
            Client.Samples.push_back(Client.Run());
        }
        if (AllClients || Options.Only == "mailfilter")
            StartUp.push_back(TimeProgram({"mailfilter", "--version"}));
    }

    std::printf("%d messages, %d rounds; medians, and the range of the wall times\n", Count,
                Options.Rounds);
    std::printf("%-22s %9s %19s %9s %9s %9s %9s\n", "", "wall", "", "wall", "user", "system",
                "CPU");
    std::printf("%-22s %9s %19s %9s %9s %9s %9s\n", "client", "ms", "(min-max)", "us/msg", "us/msg",
                "us/msg", "ms");
    auto Row = [&](const std::string& Name, const std::vector<TSample>& Samples) {
        std::vector<double> Walls;
        for (const TSample& Sample : Samples)
            Walls.push_back(Sample.Wall);
        const auto Range = std::minmax_element(Walls.begin(), Walls.end());
        char Text[48];
        std::snprintf(Text, sizeof Text, "(%.1f-%.1f)", *Range.first * 1e3, *Range.second * 1e3);
        std::printf("%-22s %9.1f %19s %9.2f %9.2f %9.2f %9.1f\n", Name.c_str(), Median(Walls) * 1e3,
                    Text, Median(Walls) * 1e6 / Count, MedianOf(Samples, UserOf) * 1e6 / Count,
                    MedianOf(Samples, SystemOf) * 1e6 / Count, MedianOf(Samples, CpuOf) * 1e3);
    };
    for (const TClient& Client : Clients)
        Row(Client.Name, Client.Samples);
    if (!StartUp.empty())
        Row("mailfilter --version", StartUp);
    std::printf("(per message figures of mailfilter --version are its start-up spread over the "
                "messages)\n\n%-26s %7s %9s\n",
                "ratios (wall time)", "medians", "rounds");

    PrintRatio(Clients, "tarnwick", "floor");
    PrintRatio(Clients, "tarnwick", "poll floor");
    PrintRatio(Clients, "poll floor", "floor");
    PrintRatio(Clients, "mailfilter", "tarnwick");
    PrintRatio(Clients, "poplib", "tarnwick");
    PrintRatio(Clients, "tarnwick", "floor", CpuOf, "CPU ");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A peer that goes away early must fail its listing, not end the benchmark.
    signal(SIGPIPE, SIG_IGN);
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& E) {
        std::fprintf(stderr, "pop3_listing: %s\n", E.what());
        return 1;
    }
}
