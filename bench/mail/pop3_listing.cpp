// Listing one Dovecot mailbox of 2,000 messages by header lines: UpdateInfo against mailfilter
// in its test mode and against a Python poplib loop. All three send LIST n and TOP n per
// message to the same server, so the differences are client overhead.
#include "mail/mspop3.h"

#include "tests/interop/mail/childprocess.h"
#include "tests/interop/mail/dovecot.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int MessageCount = 2000;

TestSupport::TDovecot* Server = nullptr;
std::string WorkFolder;

// False (and the benchmark marked as failed) when the peer did not end well.
bool Check(benchmark::State& State, const TestSupport::TProgramResult& Result, const char* Peer)
{
    if (Result.ExitCode == 0)
        return true;
    State.SkipWithError((std::string(Peer) + " failed: " + Result.Errors + Result.Output).c_str());
    return false;
}

void TarnwickUpdateInfo(benchmark::State& State)
{
    for (auto _ : State) {
        ZevRemotePOP Pop(nullptr);
        Pop.SetServer(Server->Server());
        Pop.SetUserName(TestSupport::TDovecot::UserName);
        Pop.SetPassword(TestSupport::TDovecot::Password);
        try {
            Pop.UpdateInfo();
        } catch (const std::exception& E) {
            State.SkipWithError(E.what());
            break;
        }
        if (Pop.RemoteInfo()->GetCount() != MessageCount) {
            State.SkipWithError("UpdateInfo listed a different mailbox");
            break;
        }
    }
}

void PeerMailfilter(benchmark::State& State)
{
    const std::string RcFile = WorkFolder + "mailfilterrc";
    {
        std::ofstream Rc(RcFile);
        Rc << "LOGFILE = \"" << WorkFolder << "mailfilter.log\"\n"
           << "SERVER = \"127.0.0.1\"\n"
           << "USER = \"" << TestSupport::TDovecot::UserName << "\"\n"
           << "PASS = \"" << TestSupport::TDovecot::Password << "\"\n"
           << "PROTOCOL = \"pop3\"\n"
           << "PORT = " << Server->Port() << "\n"
           << "DENY = \"^Subject:.*Get rich fast\"\n"
           << "DENY = \"^From:.*bulk@spam\\.example\"\n";
    }
    for (auto _ : State)
        if (!Check(State, TestSupport::RunProgram({"mailfilter", "--test", "-M", RcFile}),
                   "mailfilter"))
            break;
}

void PeerPythonPoplib(benchmark::State& State)
{
    const std::string Script = "import poplib, sys\n"
                               "p = poplib.POP3('127.0.0.1', int(sys.argv[1]))\n"
                               "p.user(sys.argv[2])\n"
                               "p.pass_(sys.argv[3])\n"
                               "for n in range(1, p.stat()[0] + 1):\n"
                               "    p.list(n)\n"
                               "    p.top(n, 1)\n"
                               "p.quit()\n";
    for (auto _ : State)
        if (!Check(State,
                   TestSupport::RunProgram({"python3", "-c", Script, std::to_string(Server->Port()),
                                            TestSupport::TDovecot::UserName,
                                            TestSupport::TDovecot::Password}),
                   "python3"))
            break;
}

// The console output, and each benchmark's real time per iteration for the ratios.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    TRatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& Reports) override
    {
        for (const Run& Report : Reports)
            if (Report.run_type == Run::RT_Iteration && !Report.error_occurred)
                Times[Report.run_name.function_name] = Report.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(Reports);
    }

    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    try {
        TestSupport::TDovecot Dovecot;
        Server = &Dovecot;
        std::vector<std::string> Messages;
        for (int I = 1; I <= MessageCount; ++I)
            Messages.push_back(TestSupport::GeneratedMessage(I));
        Dovecot.WriteMailbox(Messages);
        char Pattern[] = "/tmp/tarnwick-bench-XXXXXX";
        if (::mkdtemp(Pattern) == nullptr)
            throw std::runtime_error("cannot make a work folder");
        WorkFolder = std::string(Pattern) + "/";

        benchmark::RegisterBenchmark("TarnwickUpdateInfo", TarnwickUpdateInfo)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("PeerMailfilter", PeerMailfilter)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("PeerPythonPoplib", PeerPythonPoplib)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        TRatioReporter Reporter;
        benchmark::RunSpecifiedBenchmarks(&Reporter);
        benchmark::Shutdown();

        const auto Ours = Reporter.Times.find("TarnwickUpdateInfo");
        if (Ours != Reporter.Times.end() && Ours->second > 0)
            for (const auto& [Name, Time] : Reporter.Times)
                if (Name != Ours->first)
                    std::printf("%s / TarnwickUpdateInfo = %.2f\n", Name.c_str(),
                                Time / Ours->second);
        std::remove((WorkFolder + "mailfilterrc").c_str());
        std::remove((WorkFolder + "mailfilter.log").c_str());
        ::rmdir(WorkFolder.c_str());
        Server = nullptr;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "pop3_listing: %s\n", E.what());
        return 1;
    }
    return 0;
}
