#include "platform/rtl/findfiles.h"

#include "platform/rtl/datetime.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

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
