#include "platform/rtl/findfiles.h"

#include "platform/rtl/datetime.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FindFilesTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        std::ofstream(Folder + "a.txt") << "12345";
        std::ofstream(Folder + "b.dat") << "";
        std::ofstream(Folder + ".hidden") << "h";
        ASSERT_EQ(mkdir((Folder + "sub").c_str(), 0755), 0);
        ASSERT_EQ(symlink("sub", (Folder + "tosub").c_str()), 0);
        ASSERT_EQ(symlink("a.txt", (Folder + "toa").c_str()), 0);
    }
    // Name -> Attr of every entry listed.
    std::vector<std::pair<std::string, int>> List(const std::string& Mask, int Attr)
    {
        std::vector<std::pair<std::string, int>> Result;
        TSearchRec F;
        if (FindFirst(Folder + Mask, Attr, F) == 0) {
            do
                Result.emplace_back(F.Name, F.Attr);
            while (FindNext(F) == 0);
        }
        FindClose(F);
        std::sort(Result.begin(), Result.end());
        return Result;
    }
};

TEST_F(FindFilesTest, AttributesShowKindsHiddenNamesAndLinks)
{
    const std::vector<std::pair<std::string, int>> Expected = {
        {".", faDirectory | faHidden},
        {"..", faDirectory | faHidden},
        {".hidden", faArchive | faHidden},
        {"a.txt", faArchive},
        {"b.dat", faArchive},
        {"sub", faDirectory},
        {"toa", faArchive | faSymLink},
        {"tosub", faDirectory | faSymLink},
    };
    auto Listed = List("*.*", faAnyFile);
    for (auto& Entry : Listed)
        Entry.second &= ~faReadOnly; // depends on who runs the tests
    EXPECT_EQ(Listed, Expected);
}

TEST_F(FindFilesTest, TheAttributeMaskKeepsOutFoldersAndHiddenEntries)
{
    const std::vector<std::string> Plain = {"a.txt", "b.dat", "toa"};
    std::vector<std::string> Names;
    for (const auto& Entry : List("*", 0))
        Names.push_back(Entry.first);
    EXPECT_EQ(Names, Plain);
}

TEST_F(FindFilesTest, MasksMatchByWildcard)
{
    struct TCase {
        std::string Name, Mask;
        bool Matches;
    };
    const std::vector<TCase> Cases = {
        {"a.txt", "*.txt", true},        {"a.txt", "*.TXT", false}, {"a.txt", "?.txt", true},
        {"ab.txt", "?.txt", false},      {"noext", "*.*", true},    {"caf\xC3\xA9", "caf?", true},
        {"caf\xC3\xA9", "caf??", false}, {"x\xFFy", "x?y", true},   {"abcabd", "*abd", true},
        {"abc", "a*c*", true},           {"abc", "", false},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(MatchesFileMask(Case.Name, Case.Mask), Case.Matches)
            << Case.Name << " " << Case.Mask;
}

TEST_F(FindFilesTest, SizeAndTimeOfAnEntry)
{
    TSearchRec F;
    ASSERT_EQ(FindFirst(Folder + "a.txt", faAnyFile, F), 0);
    EXPECT_EQ(F.Size, 5);
    EXPECT_EQ(FindNext(F), ERROR_NO_MORE_FILES);
    FindClose(F);
    struct stat St {};
    ASSERT_EQ(stat((Folder + "a.txt").c_str(), &St), 0);
    struct tm Local {};
    localtime_r(&St.st_mtime, &Local);
    // Local time, to the two seconds DOS keeps.
    const TDateTime Expected =
        EncodeDate(static_cast<Word>(Local.tm_year + 1900), static_cast<Word>(Local.tm_mon + 1),
                   static_cast<Word>(Local.tm_mday)) +
        EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                   static_cast<Word>(Local.tm_sec / 2 * 2), 0);
    EXPECT_NEAR(FileDateToDateTime(F.Time), Expected, 0.1 / 86400);
}

TEST_F(FindFilesTest, ErrorsForNoMatchAndNoFolder)
{
    TSearchRec F;
    EXPECT_EQ(FindFirst(Folder + "*.none", faAnyFile, F), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirst(Folder + "missing/*.*", faAnyFile, F), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindNext(F), ERROR_NO_MORE_FILES);
}

// Sets the zone for one test and puts the one before back.
class TZoneSetting {
public:
    explicit TZoneSetting(const std::string& Zone)
    {
        if (const char* Old = std::getenv("TZ")) {
            FHadOld = true;
            FOld = Old;
        }
        Set(Zone.c_str());
    }
    ~TZoneSetting() { Set(FHadOld ? FOld.c_str() : nullptr); }
    TZoneSetting(const TZoneSetting&) = delete;
    TZoneSetting& operator=(const TZoneSetting&) = delete;

    static void Set(const char* Zone)
    {
        if (Zone != nullptr)
            setenv("TZ", Zone, 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool FHadOld = false;
    std::string FOld;
};

// What the listing must report for Seconds: the zone's own broken-down local time, packed.
int ExpectedFileDate(time_t Seconds)
{
    struct tm Local {};
    if (localtime_r(&Seconds, &Local) == nullptr || Local.tm_year + 1900 < 1980 ||
        Local.tm_year + 1900 > 2107)
        return 0;
    return DateTimeToFileDate(
        EncodeDate(static_cast<Word>(Local.tm_year + 1900), static_cast<Word>(Local.tm_mon + 1),
                   static_cast<Word>(Local.tm_mday)) +
        EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                   static_cast<Word>(Local.tm_sec), 0));
}

TEST_F(FindFilesTest, TimesAreLocalAcrossZoneChangesAndAtTheEndsOfTheDosRange)
{
    // Zones with summer time in either half of the year, half-hour and 45-minute offsets, a
    // half-hour summer shift, and the two extremes of offset; asked in turn, so each must
    // replace what the listing learned of the one before.
    const std::vector<std::string> Zones = {"UTC",
                                            "Europe/Berlin",
                                            "Australia/Lord_Howe",
                                            "Asia/Kathmandu",
                                            "America/St_Johns",
                                            "Pacific/Kiritimati",
                                            "Pacific/Pago_Pago",
                                            "Europe/Berlin"};
    // Two days around each: the changes of 2021 in both hemispheres, the ends of 1980 to
    // 2107 in the extreme zones, the day 1970 begins and the 2038 rollover of 32-bit times.
    const std::vector<time_t> Days = {1616803200, 1617408000, 1633132800, 1635552000,
                                      315446400,  4354732800, 0,          2147396000};
    const std::string File = Folder + "a.txt";
    for (const std::string& Zone : Zones) {
        TZoneSetting Setting(Zone);
        for (time_t Day : Days)
            for (time_t Seconds = Day; Seconds < Day + 2 * 86400; Seconds += 17 * 60 + 13) {
                const struct timespec Times[2] = {{Seconds, 0}, {Seconds, 0}};
                ASSERT_EQ(utimensat(AT_FDCWD, File.c_str(), Times, 0), 0);
                TSearchRec F;
                ASSERT_EQ(FindFirst(File, faAnyFile, F), 0);
                ASSERT_EQ(F.Time, ExpectedFileDate(Seconds)) << Zone << " at " << Seconds;
                FindClose(F);
            }
    }
}

TEST(FileDate, PacksAndUnpacksLikeDos)
{
    const TDateTime When = EncodeDate(2003, 7, 14) + EncodeTime(13, 45, 31, 0);
    const int Packed = DateTimeToFileDate(When);
    EXPECT_EQ(Packed, static_cast<int>((23u << 25) | (7u << 21) | (14u << 16) | (13u << 11) |
                                       (45u << 5) | 15u));
    EXPECT_EQ(FileDateToDateTime(Packed), EncodeDate(2003, 7, 14) + EncodeTime(13, 45, 30, 0));
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
}

} // namespace
