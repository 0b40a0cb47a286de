#include "platform/rtl/files.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using FilesTest = TestSupport::TempFolderTest;
using TestSupport::ReadAll;
using TestSupport::WriteAll;

// Sets or clears an environment variable for one scope.
class TEnvironment {
public:
    TEnvironment(const char* Name, const char* Value) : FName(Name)
    {
        const char* Old = std::getenv(Name);
        FHadOld = Old != nullptr;
        if (FHadOld)
            FOld = Old;
        if (Value != nullptr)
            ::setenv(Name, Value, 1);
        else
            ::unsetenv(Name);
    }
    ~TEnvironment()
    {
        if (FHadOld)
            ::setenv(FName.c_str(), FOld.c_str(), 1);
        else
            ::unsetenv(FName.c_str());
    }

private:
    std::string FName;
    std::string FOld;
    bool FHadOld = false;
};

} // namespace

TEST(FileNames, SplitIntoPathDirNameAndExtension)
{
    struct Case {
        std::string FileName;
        std::string Path;
        std::string Dir;
        std::string Name;
        std::string Ext;
    };
    std::vector<Case> Cases = {
        {"", "", "", "", ""},
        {"name.txt", "", "", "name.txt", ".txt"},
        {"/home/u/logfile.txt", "/home/u/", "/home/u", "logfile.txt", ".txt"},
        {"lists/", "lists/", "lists", "", ""},
        {"/", "/", "/", "", ""},
        {"/vmlinuz", "/", "/", "vmlinuz", ""},
        {"a/archive.tar.gz", "a/", "a", "archive.tar.gz", ".gz"},
        {"a/.profile", "a/", "a", ".profile", ""},
        {"a/.config.bak", "a/", "a", ".config.bak", ".bak"},
        {"a/..", "a/", "a", "..", ""},
        {"trailing.", "", "", "trailing.", "."},
        {"dir.d/file", "dir.d/", "dir.d", "file", ""},
        {"a//b.c", "a//", "a", "b.c", ".c"},
        {"old\\style\\name.lst", "", "", "old\\style\\name.lst", ".lst"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.FileName);
        EXPECT_EQ(ExtractFilePath(C.FileName), C.Path);
        EXPECT_EQ(ExtractFileDir(C.FileName), C.Dir);
        EXPECT_EQ(ExtractFileName(C.FileName), C.Name);
        EXPECT_EQ(ExtractFileExt(C.FileName), C.Ext);
    }
}

TEST(FileNames, ChangeFileExtReplacesOnlyTheNamesExtension)
{
    struct Case {
        std::string FileName;
        std::string Ext;
        std::string Result;
    };
    std::vector<Case> Cases = {
        {"notes.txt", ".bak", "notes.bak"},
        {"notes", ".bak", "notes.bak"},
        {"a.tar.gz", ".zip", "a.tar.zip"},
        {"dir.d/file", ".txt", "dir.d/file.txt"},
        {".profile", ".bak", ".profile.bak"},
        {"notes.txt", "", "notes"},
        {"", ".ini", ".ini"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ChangeFileExt(C.FileName, C.Ext), C.Result) << C.FileName;
}

TEST(FileNames, TrailingDelimitersAndPathJoin)
{
    struct Case {
        std::string S;
        std::string Included;
        std::string Excluded;
        std::string Joined; // PathJoin(S, "x.txt")
    };
    std::vector<Case> Cases = {
        {"", "", "", "x.txt"},
        {"/", "/", "/", "/x.txt"},
        {"dir", "dir/", "dir", "dir/x.txt"},
        {"dir/", "dir/", "dir", "dir/x.txt"},
        {"/a/b//", "/a/b//", "/a/b", "/a/b//x.txt"},
        {"c:\\old", "c:\\old/", "c:\\old", "c:\\old/x.txt"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.S);
        EXPECT_EQ(IncludeTrailingPathDelimiter(C.S), C.Included);
        EXPECT_EQ(ExcludeTrailingPathDelimiter(C.S), C.Excluded);
        EXPECT_EQ(PathJoin(C.S, "x.txt"), C.Joined);
    }
    EXPECT_EQ(ToPosixPath("lists\\known.lst"), "lists/known.lst");
    EXPECT_EQ(ToPosixPath("plain.lst"), "plain.lst");
}

TEST_F(FilesTest, ExistenceTellsFilesFromFolders)
{
    WriteAll(Folder + "file.txt", "12345");
    ::mkdir((Folder + "dir").c_str(), 0777);
    ::symlink("file.txt", (Folder + "link").c_str());
    ::symlink("gone", (Folder + "dangling").c_str());
    struct Case {
        std::string Name;
        bool File;
        bool Directory;
        int64_t Size;
    };
    std::vector<Case> Cases = {
        {"file.txt", true, false, 5}, {"dir", false, true, -1},       {"dir/", false, true, -1},
        {"link", true, false, 5},     {"dangling", false, false, -1}, {"missing", false, false, -1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(FileExists(Folder + C.Name), C.File);
        EXPECT_EQ(DirectoryExists(Folder + C.Name), C.Directory);
        EXPECT_EQ(FileSize(Folder + C.Name), C.Size);
    }
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(FilesTest, FoldersAreCreatedAndRemoved)
{
    EXPECT_TRUE(ForceDirectories(Folder + "a/b/c/"));
    EXPECT_TRUE(DirectoryExists(Folder + "a/b/c"));
    EXPECT_TRUE(ForceDirectories(Folder + "a/b")) << "an existing folder is fine";
    EXPECT_FALSE(ForceDirectories(""));
    WriteAll(Folder + "plain", "x");
    EXPECT_FALSE(ForceDirectories(Folder + "plain/sub")) << "a file is in the way";

    EXPECT_FALSE(CreateDir(Folder + "a")) << "exists already";
    EXPECT_TRUE(CreateDir(Folder + "single"));
    EXPECT_FALSE(CreateDir(Folder + "x/y")) << "no parents";
    EXPECT_FALSE(RemoveDir(Folder + "a")) << "not empty";
    EXPECT_TRUE(RemoveDir(Folder + "a/b/c"));
    EXPECT_FALSE(DirectoryExists(Folder + "a/b/c"));
    EXPECT_FALSE(RemoveDir(Folder + "plain"));
}

TEST_F(FilesTest, DeleteAndRenameNeverTouchTheWrongThing)
{
    WriteAll(Folder + "msg_0.eml", "first");
    WriteAll(Folder + "msg_1.eml", "second");
    ::mkdir((Folder + "dir").c_str(), 0777);

    EXPECT_FALSE(RenameFile(Folder + "msg_0.eml", Folder + "msg_1.eml"))
        << "an existing file is never replaced";
    EXPECT_EQ(ReadAll(Folder + "msg_1.eml"), "second");
    EXPECT_TRUE(RenameFile(Folder + "msg_0.eml", Folder + "dir/kept.eml"));
    EXPECT_EQ(ReadAll(Folder + "dir/kept.eml"), "first");
    EXPECT_FALSE(FileExists(Folder + "msg_0.eml"));
    EXPECT_FALSE(RenameFile(Folder + "missing", Folder + "other"));

    EXPECT_TRUE(DeleteFile(Folder + "msg_1.eml"));
    EXPECT_FALSE(FileExists(Folder + "msg_1.eml"));
    EXPECT_FALSE(DeleteFile(Folder + "msg_1.eml"));
    EXPECT_FALSE(DeleteFile(Folder + "dir")) << "folders are not files";
    EXPECT_TRUE(DirectoryExists(Folder + "dir"));
}

TEST_F(FilesTest, ProgramFolderIsTheHomeVariableOrTheExecutablesFolder)
{
    {
        TEnvironment Home("TARNWICK_HOME", "/srv/tarnwick");
        EXPECT_EQ(ProgramFolder(), "/srv/tarnwick/");
    }
    {
        TEnvironment Home("TARNWICK_HOME", "/srv/tarnwick/");
        EXPECT_EQ(ProgramFolder(), "/srv/tarnwick/");
    }
    for (const char* Value : {static_cast<const char*>(nullptr), ""}) {
        TEnvironment Home("TARNWICK_HOME", Value);
        std::string Exe = std::filesystem::read_symlink("/proc/self/exe").string();
        EXPECT_EQ(ProgramFolder(), Exe.substr(0, Exe.rfind('/') + 1));
    }

    char Cwd[4096];
    ASSERT_NE(::getcwd(Cwd, sizeof Cwd), nullptr);
    EXPECT_EQ(GetCurrentDir(), Cwd);
}
