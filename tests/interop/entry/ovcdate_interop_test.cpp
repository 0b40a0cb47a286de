// The day-number calendar against Python's datetime for every date from 1600 to 3999: the day
// number is the proleptic ordinal less that of 1 January 1600, and Python's weekday (Monday 0)
// is ours (Sunday 0) less one.
#include "controls/entry/ovcdate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr const char* Program =
    "import datetime\n"
    "d = datetime.date(1600, 1, 1)\n"
    "end = datetime.date(3999, 12, 31)\n"
    "one = datetime.timedelta(days=1)\n"
    "out = []\n"
    "while True:\n"
    "    out.append('%d %d %d %d %d' % (d.day, d.month, d.year, d.toordinal(), d.weekday()))\n"
    "    if d == end:\n"
    "        break\n"
    "    d += one\n"
    "print('\\n'.join(out))\n";

struct TPipeCloser {
    void operator()(FILE* F) const { ::pclose(F); }
};

} // namespace

TEST(OvcDateInterop, EveryDateMatchesPythonsOrdinalAndWeekday)
{
    const std::string Command = "python3 -c \"" + std::string(Program) + "\"";
    std::unique_ptr<FILE, TPipeCloser> Pipe(::popen(Command.c_str(), "r"));
    ASSERT_NE(Pipe, nullptr);
    int Day = 0, Month = 0, Year = 0, Ordinal = 0, Weekday = 0;
    int Count = 0;
    int FirstOrdinal = -1;
    int Mismatches = 0;
    while (std::fscanf(Pipe.get(), "%d %d %d %d %d", &Day, &Month, &Year, &Ordinal, &Weekday) ==
           5) {
        if (FirstOrdinal < 0)
            FirstOrdinal = Ordinal;
        const int Expected = Ordinal - FirstOrdinal;
        const int Number = DMYToDayNumber(Day, Month, Year, 1900);
        int D = 0, M = 0, Y = 0;
        DayNumberToDMY(Expected, D, M, Y);
        if (Number != Expected || WeekdayOf(Number) != (Weekday + 1) % 7 || D != Day ||
            M != Month || Y != Year) {
            if (++Mismatches <= 5)
                ADD_FAILURE() << Day << "." << Month << "." << Year << ": ours " << Number
                              << ", Python's " << Expected;
        }
        ++Count;
    }
    EXPECT_EQ(Count, OvcDate::MaxDayNumber + 1);
    EXPECT_EQ(Mismatches, 0);
}
