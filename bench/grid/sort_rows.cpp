// The grid's SortByColumn on 200,000 rows of 6 columns, once by a text column compared without
// case and once by a numeric column, against python3's list.sort with the equivalent key on the
// same rows in memory (only the sorts are timed on both sides), several rounds each. Ours must
// not be slower: the ratios are printed last.
// Usage: bench_sort_rows [--rounds N]
#include "bench/rounds.h"
#include "controls/grid/advgrid.h"
#include "platform/rtl/process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RowTotal = 200000;
constexpr int ColTotal = 6;
constexpr int TextCol = 1;
constexpr int NumberCol = 2;

using TRows = std::vector<std::vector<std::string>>;

TRows MakeRows()
{
    std::uint32_t Seed = 2026;
    const auto Next = [&Seed](std::uint32_t N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 8) % N;
    };
    const char* Words[] = {"spam", "Ham",    "mail",  "Sender", "filter", "MESSAGE",  "subject",
                           "list", "Domain", "offer", "cheap",  "From",   "received", "example"};
    TRows Rows;
    Rows.reserve(RowTotal);
    for (int R = 0; R < RowTotal; ++R) {
        std::vector<std::string> Row(ColTotal);
        Row[0] = std::to_string(R);
        Row[TextCol] =
            std::string(Words[Next(14)]) + " " + Words[Next(14)] + std::to_string(Next(1000));
        Row[NumberCol] = std::to_string(static_cast<int>(Next(2000000)) - 1000000);
        if (Next(2) == 0)
            Row[NumberCol] += "." + std::to_string(Next(100));
        for (int C = 3; C < ColTotal; ++C)
            Row[C] = Words[Next(14)];
        Rows.push_back(Row);
    }
    return Rows;
}

void WriteRows(const TRows& Rows, const std::string& Name)
{
    std::string Text;
    for (const auto& Row : Rows) {
        for (int C = 0; C < ColTotal; ++C)
            Text += (C > 0 ? "\t" : "") + Row[static_cast<std::size_t>(C)];
        Text += '\n';
    }
    std::ofstream(Name, std::ios::binary) << Text;
}

// Python's sort times per round: the text sort's, then the numeric sort's.
void PythonRounds(const std::string& Data, const std::string& Out, int Rounds, TTimes& Text,
                  TTimes& Number)
{
    TSpawnOptions Options;
    Options.Argv = {"python3",
                    "-c",
                    "import sys, time\n"
                    "rows = [l.split('\\t') for l in open(sys.argv[1]).read().split('\\n') if l]\n"
                    "assert len(rows) == 200000\n"
                    "out = []\n"
                    "for _ in range(int(sys.argv[3]) + 1):\n"
                    "    a = list(rows)\n"
                    "    t = time.perf_counter()\n"
                    "    a.sort(key=lambda r: r[1].upper())\n"
                    "    t1 = time.perf_counter() - t\n"
                    "    b = list(rows)\n"
                    "    t = time.perf_counter()\n"
                    "    b.sort(key=lambda r: float(r[2]))\n"
                    "    t2 = time.perf_counter() - t\n"
                    "    out.append('%r %r' % (t1, t2))\n"
                    "open(sys.argv[2], 'w').write('\\n'.join(out[1:]) + '\\n')\n",
                    Data,
                    Out,
                    std::to_string(Rounds)};
    Options.Group = sgCallerGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    int Status = 0;
    if (Started.Pid <= 0 || ::waitpid(Started.Pid, &Status, 0) < 0 || !WIFEXITED(Status) ||
        WEXITSTATUS(Status) != 0) {
        std::fprintf(stderr, "python3 failed\n");
        std::exit(1);
    }
    std::ifstream In(Out);
    double T1 = 0;
    double T2 = 0;
    while (In >> T1 >> T2) {
        Text.Values.push_back(T1);
        Number.Values.push_back(T2);
    }
}

double GridRound(const TRows& Rows, int Col, TSortStyle Style)
{
    TAdvStringGrid Grid(nullptr);
    Grid.SetColCount(ColTotal);
    Grid.SetRowCount(RowTotal + 1);
    for (int R = 0; R < RowTotal; ++R)
        for (int C = 0; C < ColTotal; ++C)
            Grid.SetCells(C, R + 1, Rows[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)]);
    Grid.OnGetFormat = [Style](TObject*, int, TSortStyle& S, std::string&, std::string&) {
        S = Style;
    };
    Grid.SetSortFull(false);
    Grid.SetSortColumn(Col);
    const double Seconds = TimeOf([&Grid] { Grid.SortByColumn(); });
    // Stable, and a plain key: the first row must be the smallest.
    if (Grid.CompareCells(Col, 1, 2) > 0) {
        std::fprintf(stderr, "the grid did not sort\n");
        std::exit(1);
    }
    return Seconds;
}

} // namespace

int main(int argc, char** argv)
{
    int Rounds = 5;
    for (int I = 1; I + 1 < argc; ++I)
        if (std::strcmp(argv[I], "--rounds") == 0)
            Rounds = std::max(1, std::atoi(argv[I + 1]));
    const TRows Rows = MakeRows();
    const std::string Base = "/tmp/bench_sort_rows_" + std::to_string(::getpid());
    WriteRows(Rows, Base + ".tsv");
    TTimes PyText;
    TTimes PyNumber;
    PythonRounds(Base + ".tsv", Base + ".out", Rounds, PyText, PyNumber);
    std::remove((Base + ".tsv").c_str());
    std::remove((Base + ".out").c_str());
    GridRound(Rows, TextCol, 4);
    TTimes Text;
    TTimes Number;
    for (int R = 0; R < Rounds; ++R) {
        Text.Values.push_back(GridRound(Rows, TextCol, 4));
        Number.Values.push_back(GridRound(Rows, NumberCol, 2));
    }
    Text.Print("SortByColumn, 200,000 rows, text without case");
    PyText.Print("python3 list.sort, key str.upper");
    Number.Print("SortByColumn, 200,000 rows, numeric");
    PyNumber.Print("python3 list.sort, key float");
    const double TextRatio = Text.Median() / PyText.Median();
    const double NumberRatio = Number.Median() / PyNumber.Median();
    std::printf("ratio ours / python, text: %.2f (%s)\n", TextRatio,
                TextRatio <= 1.0 ? "not slower" : "SLOWER");
    std::printf("ratio ours / python, numeric: %.2f (%s)\n", NumberRatio,
                NumberRatio <= 1.0 ? "not slower" : "SLOWER");
    return TextRatio <= 1.0 && NumberRatio <= 1.0 ? 0 : 1;
}
