// bench/rounds.h: the timings of the benchmarks that run our code and its peer in interleaved
// rounds: one time per round, reported as the median with the range.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

struct TTimes {
    std::vector<double> Values; // seconds

    double Median() const
    {
        std::vector<double> Sorted = Values;
        std::sort(Sorted.begin(), Sorted.end());
        return Sorted[Sorted.size() / 2];
    }
    void Print(const char* Label) const
    {
        const auto Range = std::minmax_element(Values.begin(), Values.end());
        std::printf("%-44s %8.1f ms  (%.1f .. %.1f)\n", Label, Median() * 1000, *Range.first * 1000,
                    *Range.second * 1000);
    }
};

// The seconds Action takes.
template <typename TAction>
double TimeOf(TAction Action)
{
    const auto Start = std::chrono::steady_clock::now();
    Action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}
