// Loading a rule list or log into a TStringList against the standard library's line reader.
#include "platform/rtl/stringlist.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string& SampleFile()
{
    static const std::string Name = [] {
        std::string Path = "/tmp/tarnwick_bench_lines.txt";
        std::ofstream Out(Path, std::ios::binary);
        for (int i = 0; i < 100000; ++i)
            Out << "Sun 12/06/2026 10:" << (i % 60) << " MAIL CHECK mailbox " << i
                << " messages 17 marked 3\r\n";
        return Path;
    }();
    return Name;
}

void TStringListLoadFromFile(benchmark::State& State)
{
    for (auto _ : State) {
        TStringList List;
        List.LoadFromFile(SampleFile());
        benchmark::DoNotOptimize(List.Count());
    }
}
BENCHMARK(TStringListLoadFromFile)->Unit(benchmark::kMillisecond);

void PeerIfstreamGetline(benchmark::State& State)
{
    for (auto _ : State) {
        std::ifstream In(SampleFile(), std::ios::binary);
        std::vector<std::string> Lines;
        std::string Line;
        while (std::getline(In, Line)) {
            if (!Line.empty() && Line.back() == '\r')
                Line.pop_back();
            Lines.push_back(Line);
        }
        benchmark::DoNotOptimize(Lines.size());
    }
}
BENCHMARK(PeerIfstreamGetline)->Unit(benchmark::kMillisecond);

} // namespace
