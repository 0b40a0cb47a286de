#include "platform/rtl/clock.h"

#include <chrono>
#include <ctime>

namespace {

std::function<TDateTime()> NowSource;
std::function<std::uint32_t()> TickSource;

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long DaysFromCivil(long Year, unsigned Month, unsigned Day)
{
    Year -= Month <= 2;
    const long Era = (Year >= 0 ? Year : Year - 399) / 400;
    const unsigned YearOfEra = static_cast<unsigned>(Year - Era * 400);
    const unsigned DayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
    const unsigned DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
    return Era * 146097 + static_cast<long>(DayOfEra) - 719468;
}

TDateTime SystemNow()
{
    const auto Point = std::chrono::system_clock::now();
    const auto Micro =
        std::chrono::duration_cast<std::chrono::microseconds>(Point.time_since_epoch()).count();
    const std::time_t Seconds = static_cast<std::time_t>(Micro / 1000000);
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    // 25569 days lie between 30 December 1899 and 1 January 1970.
    const long Days = DaysFromCivil(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday) + 25569;
    const double Millis = ((Local.tm_hour * 60.0 + Local.tm_min) * 60.0 + Local.tm_sec) * 1000.0 +
                          static_cast<double>((Micro % 1000000) / 1000);
    return static_cast<double>(Days) + Millis / 86400000.0;
}

std::uint32_t SystemTicks()
{
    const auto Since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Since).count());
}

} // namespace

std::uint32_t RandSeed = 0;

TDateTime Now()
{
    return NowSource ? NowSource() : SystemNow();
}

void SetNowSource(std::function<TDateTime()> Source)
{
    NowSource = std::move(Source);
}

std::uint32_t GetTickCount()
{
    return TickSource ? TickSource() : SystemTicks();
}

void SetTickSource(std::function<std::uint32_t()> Source)
{
    TickSource = std::move(Source);
}

void Randomize()
{
    const auto Since = std::chrono::system_clock::now().time_since_epoch();
    RandSeed = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Since).count());
}

static std::uint32_t NextRandom()
{
    RandSeed = RandSeed * 0x08088405u + 1u;
    return RandSeed;
}

int Random(int Range)
{
    if (Range <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(NextRandom()) * Range) >> 32);
}

double Random()
{
    return NextRandom() / 4294967296.0;
}
