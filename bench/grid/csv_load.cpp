// The grid's CSV load on a generated 40 MB file of 500,000 lines of 8 fields (some quoted, with
// doubled quotes and delimiters inside), in interleaved rounds after an untimed pass that fills
// the caches, against python3 running csv.reader and building its row list from the same file.
// Ours must not be slower: the ratio is printed last.
// Usage: bench_csv_load [--rounds N]
#include "bench/rounds.h"
#include "controls/grid/advgrid.h"
#include "platform/rtl/process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LineCount = 500000;

void WriteFile(const std::string& Name)
{
    std::uint32_t Seed = 2026;
    const auto Next = [&Seed](std::uint32_t N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 16) % N;
    };
    const char* Words[] = {"spam", "ham",      "mail", "sender", "filter",  "message", "subject",
                           "list", "received", "from", "domain", "example", "offer",   "cheap"};
    std::string Text;
    Text.reserve(std::size_t(82) * LineCount);
    for (int Line = 0; Line < LineCount; ++Line) {
        for (int Field = 0; Field < 8; ++Field) {
            if (Field > 0)
                Text += ',';
            std::string Value;
            const std::uint32_t Words_ = 1 + Next(2);
            for (std::uint32_t W = 0; W < Words_; ++W) {
                if (W > 0)
                    Value += ' ';
                Value += Words[Next(14)];
            }
            Value += std::to_string(Next(100000));
            // The delimiter is found from the first two lines, which hold the same number of
            // single commas only without commas inside quotes.
            const std::uint32_t Kind = Next(6);
            switch (Line < 2 && Kind == 0 ? 1 : Kind) {
            case 0:
                Text += "\"" + Value + ", \"\"quoted\"\"\"";
                break;
            case 1:
                Text += "\"" + Value + "\"";
                break;
            default:
                Text += Value;
            }
        }
        Text += "\r\n";
    }
    std::ofstream(Name, std::ios::binary) << Text;
}

double PythonRound(const std::string& Name)
{
    return TimeOf([&Name] {
        TSpawnOptions Options;
        Options.Argv = {"python3", "-c",
                        "import csv,sys\n"
                        "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
                        "    rows = list(csv.reader(f))\n"
                        "assert len(rows) == 500000\n",
                        Name};
        Options.Group = sgCallerGroup;
        const TSpawnResult Started = SpawnProcess(Options);
        int Status = 0;
        if (Started.Pid <= 0 || ::waitpid(Started.Pid, &Status, 0) < 0 || !WIFEXITED(Status) ||
            WEXITSTATUS(Status) != 0) {
            std::fprintf(stderr, "python3 failed\n");
            std::exit(1);
        }
    });
}

double GridRound(const std::string& Name)
{
    return TimeOf([&Name] {
        TAdvStringGrid Grid(nullptr);
        Grid.LoadFromCSV(Name);
        if (Grid.RowCount() != LineCount || Grid.ColCount() != 8) {
            std::fprintf(stderr, "the grid read %d rows and %d columns\n", Grid.RowCount(),
                         Grid.ColCount());
            std::exit(1);
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    int Rounds = 5;
    for (int I = 1; I + 1 < argc; ++I)
        if (std::strcmp(argv[I], "--rounds") == 0)
            Rounds = std::max(1, std::atoi(argv[I + 1]));
    const std::string Name = "/tmp/bench_csv_load_" + std::to_string(::getpid()) + ".csv";
    WriteFile(Name);
    GridRound(Name);
    PythonRound(Name);
    TTimes Ours;
    TTimes Python;
    for (int R = 0; R < Rounds; ++R) {
        Ours.Values.push_back(GridRound(Name));
        Python.Values.push_back(PythonRound(Name));
    }
    std::remove(Name.c_str());
    Ours.Print("LoadFromCSV, 500,000 lines of 8 fields");
    Python.Print("python3 csv.reader into a list of rows");
    const double Ratio = Ours.Median() / Python.Median();
    std::printf("ratio ours / python: %.2f (%s)\n", Ratio, Ratio <= 1.0 ? "not slower" : "SLOWER");
    return Ratio <= 1.0 ? 0 : 1;
}
