// How loading and writing INI files and registry stores grow with their size: each case runs at
// 4 KB, 64 KB, 256 KB and 1 MB, and the "time/byte" column should stay about flat from one size
// to the next (the peer, splitting the same text into lines, is the floor). The INI files hold
// many small sections and the stores many values in one key, the shapes in which a look-up by
// name that scans everything before it turns quadratic.
#include "platform/rtl/inifile.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/registrystore.h"
#include "platform/rtl/stringlist.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Fixed malloc thresholds: with glibc's moving ones, whether a size's buffers are trimmed and
// faulted in again at every iteration depends on the size, which would hide the growth measured.
[[maybe_unused]] const bool FixedMallocThresholds = [] {
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ::mallopt(M_MMAP_THRESHOLD, 1 << 30);
    return true;
}();

// Sections of two keys each, names mixing cases and Windows-1252 bytes as old files do.
std::string IniText(std::size_t Size)
{
    std::string Text;
    for (int i = 0; Text.size() < Size; ++i) {
        Text += "[Server \xC9t\xE9 " + std::to_string(i) + "]\r\n";
        Text += "Host=pop" + std::to_string(i) + ".example.org\r\n";
        Text += "Port=110\r\n";
    }
    return Text;
}

// One key holding many values.
std::string StoreText(std::size_t Size)
{
    std::string Text = "[Software\\Tarnwick\\Filters]\n";
    for (int i = 0; Text.size() < Size; ++i)
        Text += "\"Rule " + std::to_string(i) + "\" = string \"from:*@example.org\"\n";
    return Text;
}

void SetPerByte(benchmark::State& State, std::size_t Size)
{
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Size));
    // Inverted rate: seconds per byte, printed with a prefix: "25.3ns" is 25.3 ns a byte.
    State.counters["time/byte"] = benchmark::Counter(static_cast<double>(Size),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void RemoveBenchFolder();

// A folder of its own for the files, removed at exit.
const std::string& BenchFolder()
{
    static const std::string Folder = [] {
        char Pattern[] = "/tmp/tarnwick_bench_settingsXXXXXX";
        if (::mkdtemp(Pattern) == nullptr)
            std::abort();
        std::string Path = std::string(Pattern) + "/";
        ::setenv("TARNWICK_REGISTRY", Path.c_str(), 1);
        return Path;
    }();
    // Registered after Folder exists, so that it runs before Folder is destroyed.
    static const bool Registered = std::atexit(RemoveBenchFolder) == 0;
    (void)Registered;
    return Folder;
}

void RemoveBenchFolder()
{
    std::error_code Ignored;
    std::filesystem::remove_all(BenchFolder(), Ignored);
}

std::string WriteFile(const std::string& Name, const std::string& Text)
{
    std::string Path = BenchFolder() + Name;
    std::ofstream(Path, std::ios::binary) << Text;
    return Path;
}

void PeerSplitLines(benchmark::State& State)
{
    auto Size = static_cast<std::size_t>(State.range(0));
    std::string Text = IniText(Size);
    for (auto _ : State) {
        std::vector<std::string> Lines;
        std::size_t Start = 0;
        while (Start < Text.size()) {
            std::size_t End = Text.find('\n', Start);
            if (End == std::string::npos)
                End = Text.size();
            Lines.push_back(Text.substr(Start, End - Start));
            Start = End + 1;
        }
        benchmark::DoNotOptimize(Lines.size());
    }
    SetPerByte(State, Text.size());
}

// Parse, list every section and read a key of the last one, write the text back.
void IniDocumentParseAndText(benchmark::State& State)
{
    std::string Text = IniText(static_cast<std::size_t>(State.range(0)));
    for (auto _ : State) {
        TIniDocument Document;
        Document.Parse(Text);
        std::vector<std::string> Names = Document.SectionNames();
        std::string Value;
        benchmark::DoNotOptimize(Document.Find(Names.back(), "port", Value));
        benchmark::DoNotOptimize(Document.Text().size());
    }
    SetPerByte(State, Text.size());
}

// TIniFile reads the file at every call: the section list, then one key of the last section.
void IniFileLoad(benchmark::State& State)
{
    std::string Text = IniText(static_cast<std::size_t>(State.range(0)));
    TIniFile Ini(WriteFile("load" + std::to_string(State.range(0)) + ".ini", Text));
    TStringList Sections;
    for (auto _ : State) {
        Ini.ReadSections(&Sections);
        benchmark::DoNotOptimize(Ini.ReadString(Sections.Get(Sections.Count() - 1), "Host", ""));
    }
    SetPerByte(State, Text.size());
}

// One write: read, change a key of the last section, rewrite the file atomically.
void IniFileWrite(benchmark::State& State)
{
    std::string Text = IniText(static_cast<std::size_t>(State.range(0)));
    TIniFile Ini(WriteFile("write" + std::to_string(State.range(0)) + ".ini", Text));
    TIniDocument Document;
    Document.Parse(Text);
    std::string Last = Document.SectionNames().back();
    int i = 0;
    for (auto _ : State)
        Ini.WriteInteger(Last, "Port", ++i);
    SetPerByte(State, Text.size());
}

// Parse and write back a store whose key holds many values.
void RegistryDataParseAndText(benchmark::State& State)
{
    std::string Text = StoreText(static_cast<std::size_t>(State.range(0)));
    for (auto _ : State) {
        TRegistryData Data;
        Data.Parse(Text);
        benchmark::DoNotOptimize(Data.Text().size());
    }
    SetPerByte(State, Text.size());
}

// One value written through TRegistry: lock, reload, change, rewrite atomically.
void RegistryWrite(benchmark::State& State)
{
    std::string Text = StoreText(static_cast<std::size_t>(State.range(0)));
    WriteFile("HKEY_CURRENT_USER.registry", Text);
    TRegistry Reg;
    if (!Reg.OpenKey("\\Software\\Tarnwick\\Filters", false))
        std::abort();
    int i = 0;
    for (auto _ : State)
        Reg.WriteString("Rule 0", std::to_string(++i));
    SetPerByte(State, Text.size());
}

// Sizes: 4 KB, 64 KB, 256 KB, 1 MB.
void Sizes(benchmark::internal::Benchmark* B)
{
    B->Arg(4 << 10)->Arg(64 << 10)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
    // With --benchmark_repetitions, the fastest run is the figure least disturbed by a busy
    // machine.
    B->ComputeStatistics("min", [](const std::vector<double>& Runs) {
        return *std::min_element(Runs.begin(), Runs.end());
    });
}

BENCHMARK(PeerSplitLines)->Apply(Sizes);
BENCHMARK(IniDocumentParseAndText)->Apply(Sizes);
BENCHMARK(IniFileLoad)->Apply(Sizes);
BENCHMARK(IniFileWrite)->Apply(Sizes);
BENCHMARK(RegistryDataParseAndText)->Apply(Sizes);
BENCHMARK(RegistryWrite)->Apply(Sizes);

} // namespace
