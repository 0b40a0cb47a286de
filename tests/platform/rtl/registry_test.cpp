#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string ProductKey = "Software\\Ombrel Corporation\\Tarnwick\\10";

using TestSupport::ReadAll;
using TestSupport::WriteAll;

class RegistryTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { ::setenv("TARNWICK_REGISTRY", Folder.c_str(), 1); }
    void TearDown() override
    {
        SetRegistryCommitHook(nullptr);
        ClearBuiltInValues(HKEY_CLASSES_ROOT);
        ::unsetenv("TARNWICK_REGISTRY");
    }
    std::string UserFile() const { return Folder + "HKEY_CURRENT_USER.registry"; }

    // Runs Body in a child process and returns its exit status (or -signal).
    static int InChild(const std::function<void()>& Body)
    {
        pid_t Child = ::fork();
        if (Child == 0) {
            try {
                Body();
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        int Status = 0;
        ::waitpid(Child, &Status, 0);
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -WTERMSIG(Status);
    }
};

TEST_F(RegistryTest, ProductSettingsRoundTripAndAreWrittenAsTheGoldenFile)
{
    {
        TRegIniFile Ini(ProductKey);
        Ini.WriteBool("General", "SysTray", true);
        Ini.WriteBool("General", "Automatic", false);
        Ini.WriteInteger("General", "Minutes", 10);
        Ini.WriteString("General", "Logfile", "/home/u/log \"100%\".txt");
        Ini.WriteString("General", "AlarmFile", "ding.wav");
        Ini.WriteString("Server", "Server1", "pop.example.org");
        Ini.WriteString("Server", "Passwd1", "x\ty\x7F\xC3\xA9");
        Ini.WriteInteger("Column", "col1", -220);
        Ini.WriteString("", "FormTop", "10");

        TRegistry Grid;
        ASSERT_TRUE(Grid.OpenKey("K\\S", true));
        Grid.WriteInteger("Col0", 20);
        Grid.WriteInteger("Col1", -1);
        Grid.WriteBinaryData("Bin", "\x01\xff", 2);
        Grid.WriteExpandString("", "%HOME%\\x");
    }
    EXPECT_EQ(ReadAll(UserFile()), ReadAll(TARNWICK_FIXTURES "/registry/product.registry"));

    TRegIniFile Ini(ProductKey);
    EXPECT_TRUE(Ini.ReadBool("General", "SysTray", false));
    EXPECT_FALSE(Ini.ReadBool("General", "Automatic", true));
    EXPECT_EQ(Ini.ReadInteger("general", "MINUTES", 0), 10);
    EXPECT_EQ(Ini.ReadString("General", "Alarmfile", ""), "ding.wav");
    EXPECT_EQ(Ini.ReadString("General", "Logfile", ""), "/home/u/log \"100%\".txt");
    EXPECT_EQ(Ini.ReadString("Server", "Passwd1", ""), "x\ty\x7F\xC3\xA9");
    EXPECT_EQ(Ini.ReadInteger("Column", "col1", 0), -220);
    EXPECT_EQ(Ini.ReadString("", "FormTop", ""), "10");
    EXPECT_EQ(Ini.ReadString("General", "Missing", "dflt"), "dflt");
    EXPECT_EQ(Ini.ReadInteger("K\\S", "Col0", -1), -1) << "sections are below the product key";

    TRegistry Grid;
    ASSERT_TRUE(Grid.OpenKey("\\k\\s", false));
    EXPECT_EQ(Grid.ReadInteger("col0"), 20);
    EXPECT_EQ(Grid.ReadInteger("Col1"), -1);
    EXPECT_EQ(Grid.ReadString(""), "%HOME%\\x");
    EXPECT_EQ(Grid.GetDataType(""), rdExpandString);
}

TEST_F(RegistryTest, ReadingAValueOfAnotherTypeFailsAsTheClassicRegistryDoes)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("Types", true));
    Reg.WriteInteger("Number", 5);
    Reg.WriteString("Text", "1");
    Reg.WriteFloat("Float", 2.5);
    Reg.WriteBinaryData("Empty", nullptr, 0);

    struct Case {
        const char* What;
        std::function<void()> Read;
        const char* Message;
    };
    const std::vector<Case> Cases = {
        {"string of a DWORD", [&] { Reg.ReadString("Number"); }, "Invalid data type for 'Number'"},
        {"integer of a string", [&] { Reg.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
        {"Boolean of a string", [&] { Reg.ReadBool("Text"); }, "Invalid data type for 'Text'"},
        {"float of a DWORD", [&] { Reg.ReadFloat("Number"); }, "Invalid data type for 'Number'"},
        {"string of a float", [&] { Reg.ReadString("Float"); }, "Invalid data type for 'Float'"},
        {"missing integer", [&] { Reg.ReadInteger("None"); }, "Failed to get data for 'None'"},
        {"missing float", [&] { Reg.ReadDateTime("None"); }, "Failed to get data for 'None'"},
        {"binary into a small buffer",
         [&] {
             char Buffer[4];
             Reg.ReadBinaryData("Float", Buffer, 4);
         },
         "Invalid data type for 'Float'"},
        {"binary of a string",
         [&] {
             char Buffer[16];
             Reg.ReadBinaryData("Text", Buffer, 16);
         },
         "Invalid data type for 'Text'"},
    };
    for (const Case& C : Cases) {
        try {
            C.Read();
            ADD_FAILURE() << C.What << ": no exception";
        } catch (const ERegistryException& E) {
            EXPECT_EQ(E.Message(), C.Message) << C.What;
        }
    }
    EXPECT_EQ(Reg.ReadString("None"), "");
    EXPECT_EQ(Reg.ReadString("Empty"), "") << "an empty value reads as empty text";
    char Buffer[4];
    EXPECT_EQ(Reg.ReadBinaryData("None", Buffer, 4), 0);
}

TEST_F(RegistryTest, TypedValuesRoundTripWithTheirSizes)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("Typed", true));
    Reg.WriteString("S", "abc");
    Reg.WriteBool("B", true);
    Reg.WriteFloat("F", -1.25);
    Reg.WriteDateTime("D", 36526.75);
    const unsigned char Bytes[] = {0, 1, 2, 0xFE};
    Reg.WriteBinaryData("Bin", Bytes, 4);

    TRegistry Other;
    ASSERT_TRUE(Other.OpenKeyReadOnly("\\TYPED"));
    EXPECT_EQ(Other.ReadString("s"), "abc");
    EXPECT_TRUE(Other.ReadBool("B"));
    EXPECT_EQ(Other.ReadInteger("B"), 1);
    EXPECT_EQ(Other.ReadFloat("F"), -1.25);
    EXPECT_EQ(Other.ReadDateTime("D"), 36526.75);
    unsigned char Read[8] = {};
    EXPECT_EQ(Other.ReadBinaryData("Bin", Read, 8), 4);
    EXPECT_EQ(std::vector<unsigned char>(Read, Read + 4),
              std::vector<unsigned char>(Bytes, Bytes + 4));

    struct Case {
        const char* Name;
        TRegDataType Type;
        int Size;
    };
    for (const Case& C : std::vector<Case>{{"S", rdString, 4},
                                           {"B", rdInteger, 4},
                                           {"F", rdBinary, 8},
                                           {"Bin", rdBinary, 4},
                                           {"None", rdUnknown, -1}}) {
        EXPECT_EQ(Other.GetDataType(C.Name), C.Type) << C.Name;
        EXPECT_EQ(Other.GetDataSize(C.Name), C.Size) << C.Name;
    }
}

TEST_F(RegistryTest, KeyPathsAreRelativeToTheCurrentKeyUnlessTheyStartWithABackslash)
{
    TRegistry Reg;
    EXPECT_FALSE(Reg.OpenKey("A\\B", false));
    EXPECT_FALSE(std::filesystem::exists(UserFile())) << "opening without creating writes nothing";
    EXPECT_EQ(Reg.CurrentKey(), 0u);

    ASSERT_TRUE(Reg.OpenKey("A\\B", true));
    EXPECT_EQ(Reg.CurrentPath(), "A\\B");
    ASSERT_TRUE(Reg.OpenKey("C", true));
    EXPECT_EQ(Reg.CurrentPath(), "A\\B\\C");
    EXPECT_TRUE(Reg.KeyExists("\\a\\b\\c"));
    EXPECT_FALSE(Reg.KeyExists("a")) << "relative to A\\B\\C";
    ASSERT_TRUE(Reg.OpenKey("\\a", false));
    EXPECT_EQ(Reg.CurrentPath(), "a");
    EXPECT_TRUE(Reg.CreateKey("zeta"));
    EXPECT_TRUE(Reg.CreateKey("Alpha\\Deep"));

    TStringList Names;
    Reg.GetKeyNames(&Names);
    EXPECT_EQ(Names.CommaText(), "Alpha,B,zeta") << "sorted without case, case as first written";
    EXPECT_TRUE(Reg.HasSubKeys());

    Reg.WriteString("z", "1");
    Reg.WriteString("a", "2");
    Reg.WriteString("Z", "3");
    Reg.GetValueNames(&Names);
    EXPECT_EQ(Names.CommaText(), "z,a") << "in the order written; Z replaced z";
    EXPECT_EQ(Reg.ReadString("z"), "3");

    EXPECT_TRUE(Reg.DeleteKey("\\A\\B"));
    EXPECT_FALSE(Reg.KeyExists("\\A\\B\\C")) << "subkeys go with their key";
    EXPECT_FALSE(Reg.DeleteKey("\\A\\B"));
    EXPECT_TRUE(Reg.DeleteValue("A"));
    EXPECT_FALSE(Reg.ValueExists("a"));
    EXPECT_FALSE(Reg.DeleteValue("a"));

    Reg.CloseKey();
    EXPECT_EQ(Reg.CurrentPath(), "");
    EXPECT_FALSE(Reg.ValueExists("z"));
    EXPECT_THROW(Reg.WriteString("z", "4"), ERegistryException);
}

TEST_F(RegistryTest, TheRootKeyItselfHoldsTheUnnamedDefaultValue)
{
    TRegistry Writer;
    ASSERT_TRUE(Writer.OpenKey("", true));
    Writer.WriteString("", "root text");
    TRegistry Reader;
    ASSERT_TRUE(Reader.OpenKey("", false));
    EXPECT_TRUE(Reader.ValueExists(""));
    EXPECT_EQ(Reader.ReadString(""), "root text");
    EXPECT_EQ(ReadAll(UserFile()), "[]\n@ = string \"root text\"\n");
}

TEST_F(RegistryTest, AKeyOpenedForReadingOrDeletedSinceTakesNoValues)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.CreateKey("RO"));
    ASSERT_TRUE(Reg.OpenKeyReadOnly("RO"));
    EXPECT_EQ(Reg.Access(), KEY_READ);
    try {
        Reg.WriteString("X", "1");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message(), "Failed to set data for 'X'");
    }
    EXPECT_FALSE(Reg.DeleteValue("X"));

    TRegistry Writer;
    ASSERT_TRUE(Writer.OpenKey("Gone", true));
    TRegistry Deleter;
    ASSERT_TRUE(Deleter.DeleteKey("Gone"));
    EXPECT_THROW(Writer.WriteInteger("X", 1), ERegistryException);
    EXPECT_FALSE(Writer.KeyExists("\\Gone")) << "the failed write did not bring it back";
}

TEST_F(RegistryTest, RenameValueMovesTheDataUnlessTheNewNameIsTaken)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("R", true));
    Reg.WriteInteger("Old", 7);
    Reg.WriteString("Taken", "t");
    Reg.RenameValue("old", "New");
    EXPECT_FALSE(Reg.ValueExists("Old"));
    EXPECT_EQ(Reg.ReadInteger("New"), 7);
    Reg.RenameValue("New", "taken");
    EXPECT_EQ(Reg.ReadInteger("New"), 7);
    EXPECT_EQ(Reg.ReadString("Taken"), "t");
}

TEST_F(RegistryTest, RegIniFileReadsNumbersFromStringsOrDwords)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("App\\Sec", true));
    Reg.WriteString("Dec", "12");
    Reg.WriteString("Hex", "$1F");
    Reg.WriteString("Bad", "12a");
    Reg.WriteString("Empty", "");
    Reg.WriteString("Two", "2");
    Reg.WriteInteger("Dword", 20);
    Reg.WriteFloat("Bin", 1.0);

    TRegIniFile Ini("App");
    struct Case {
        const char* Ident;
        int Integer;
        bool Bool;
    };
    for (const Case& C : std::vector<Case>{{"Dec", 12, true},
                                           {"Hex", 31, true},
                                           {"Bad", -1, true},
                                           {"Empty", -1, true},
                                           {"Two", 2, true},
                                           {"Dword", 20, true},
                                           {"Bin", -1, true},
                                           {"Missing", -1, true}}) {
        EXPECT_EQ(Ini.ReadInteger("Sec", C.Ident, -1), C.Integer) << C.Ident;
        EXPECT_EQ(Ini.ReadBool("Sec", C.Ident, true), C.Bool) << C.Ident;
    }
    EXPECT_FALSE(Ini.ReadBool("Sec", "Missing", false));
    EXPECT_THROW(Ini.ReadString("Sec", "Dword", ""), ERegistryException);
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubkeys)
{
    TRegIniFile Ini("Software\\Test");
    EXPECT_TRUE(Ini.KeyExists("\\Software\\Test")) << "the key is created on opening";
    Ini.WriteString("One", "b", "2");
    Ini.WriteString("One", "a", "1");
    Ini.WriteString("Two", "x", "");
    TStringList List;
    Ini.ReadSections(&List);
    EXPECT_EQ(List.CommaText(), "One,Two");
    Ini.ReadSection("one", &List);
    EXPECT_EQ(List.CommaText(), "b,a");
    List.Add("stale=line");
    Ini.ReadSectionValues("ONE", &List);
    EXPECT_EQ(List.Text(), "b=2\r\na=1\r\n");
    Ini.ReadSectionValues("Two", &List);
    EXPECT_EQ(List.Text(), "x=\r\n");
    EXPECT_TRUE(Ini.SectionExists("two"));
    EXPECT_TRUE(Ini.ValueExists("One", "A"));
    EXPECT_FALSE(Ini.ValueExists("One", "c"));

    Ini.DeleteKey("One", "b");
    EXPECT_FALSE(Ini.ValueExists("One", "b"));
    Ini.EraseSection("One");
    EXPECT_FALSE(Ini.SectionExists("One"));
    EXPECT_TRUE(Ini.SectionExists("Two"));
    Ini.ReadSection("One", &List);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(RegistryTest, BuiltInValuesAreReadUnderTheFileAndNeverWritten)
{
    TRegStoreValue Type;
    Type.Name = "Content Type";
    Type.Data = "text/plain";
    RegisterBuiltInValue(HKEY_CLASSES_ROOT, ".txt", Type);
    Type.Data = "text/html";
    RegisterBuiltInValue(HKEY_CLASSES_ROOT, ".htm", Type);

    TRegistry Reg;
    Reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(Reg.OpenKeyReadOnly("\\.TXT"));
    EXPECT_EQ(Reg.ReadString("content type"), "text/plain");
    EXPECT_FALSE(Reg.OpenKey("\\.gif", false));

    Reg.SetAccess(KEY_ALL_ACCESS); // OpenKeyReadOnly left it at KEY_READ
    ASSERT_TRUE(Reg.OpenKey("\\.htm", true));
    Reg.WriteString("Content Type", "text/x-own");
    Reg.WriteString("Extra", "e");
    ASSERT_TRUE(Reg.OpenKey("\\.png", true));
    EXPECT_EQ(ReadAll(Folder + "HKEY_CLASSES_ROOT.registry"),
              "[.htm]\n\"Content Type\" = string \"text/x-own\"\n\"Extra\" = string \"e\"\n"
              "\n[.png]\n");

    TRegistry Fresh(KEY_READ);
    Fresh.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(Fresh.OpenKey("\\.htm", false));
    EXPECT_EQ(Fresh.ReadString("Content Type"), "text/x-own") << "the file wins";
    ASSERT_TRUE(Fresh.OpenKey("\\", false));
    TStringList Names;
    Fresh.GetKeyNames(&Names);
    EXPECT_EQ(Names.CommaText(), ".htm,.png,.txt");
    ASSERT_TRUE(Fresh.DeleteKey("\\.htm"));
    ASSERT_TRUE(Fresh.OpenKey("\\.htm", false)) << "the built-in key stays";
    EXPECT_EQ(Fresh.ReadString("Content Type"), "text/html");
    EXPECT_FALSE(Fresh.ValueExists("Extra"));
}

TEST_F(RegistryTest, AHandEditedFileWithBadLinesLosesNothingElse)
{
    std::filesystem::create_directories(Folder);
    std::string Original = ReadAll(TARNWICK_FIXTURES "/registry/handedited.registry");
    WriteAll(UserFile(), Original);

    TRegistryData Data;
    Data.Parse(Original);
    EXPECT_EQ(Data.Problems().size(), 6u);

    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("App", false));
    EXPECT_EQ(Reg.ReadString("Good"), "kept");
    EXPECT_EQ(Reg.ReadInteger("Number"), 42);
    EXPECT_EQ(Reg.ReadString("After"), "also kept");
    EXPECT_FALSE(Reg.ValueExists("Broken"));
    Reg.WriteString("New", "n");
    // The bad lines stay in the file for the user to mend.
    EXPECT_EQ(ReadAll(UserFile()),
              ReadAll(TARNWICK_FIXTURES "/registry/handedited.rewritten.registry"));
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeenByAnOpenKey)
{
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("Shared", true));
    Reg.WriteString("V", "mine");
    EXPECT_EQ(Reg.ReadString("V"), "mine");
    ASSERT_EQ(InChild([] {
                  TRegistry Other;
                  Other.OpenKey("Shared", false);
                  Other.WriteString("V", "theirs");
              }),
              0);
    EXPECT_EQ(Reg.ReadString("V"), "theirs");
}

TEST_F(RegistryTest, TwoProcessesWritingOneKeyLoseNoValue)
{
    const int PerProcess = 40;
    auto Writer = [](const std::string& Prefix) {
        return [Prefix] {
            TRegIniFile Ini(ProductKey);
            for (int i = 0; i < PerProcess; ++i)
                Ini.WriteInteger("Server", Prefix + std::to_string(i), i);
        };
    };
    pid_t First = ::fork();
    if (First == 0) {
        Writer("First")();
        ::_exit(0);
    }
    pid_t Second = ::fork();
    if (Second == 0) {
        Writer("Second")();
        ::_exit(0);
    }
    int Status = 0;
    ::waitpid(First, &Status, 0);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    ::waitpid(Second, &Status, 0);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);

    TRegIniFile Ini(ProductKey);
    TStringList Names;
    Ini.ReadSection("Server", &Names);
    EXPECT_EQ(Names.Count(), 2 * PerProcess);
    for (int i = 0; i < PerProcess; ++i) {
        EXPECT_EQ(Ini.ReadInteger("Server", "First" + std::to_string(i), -1), i);
        EXPECT_EQ(Ini.ReadInteger("Server", "Second" + std::to_string(i), -1), i);
    }
}

TEST_F(RegistryTest, ACrashBeforeTheRenameLeavesTheOldFileWhole)
{
    TRegIniFile Ini(ProductKey);
    Ini.WriteString("General", "Logfile", "old.txt");
    std::string Before = ReadAll(UserFile());

    EXPECT_EQ(InChild([] {
                  SetRegistryCommitHook([] { ::_exit(7); });
                  TRegIniFile Child(ProductKey);
                  Child.WriteString("General", "Logfile", std::string(100000, 'n'));
              }),
              7);
    EXPECT_EQ(ReadAll(UserFile()), Before);
    EXPECT_EQ(Ini.ReadString("General", "Logfile", ""), "old.txt");
    // The lock went with the process.
    Ini.WriteString("General", "Mailer", "m");
    EXPECT_EQ(Ini.ReadString("General", "Mailer", ""), "m");
}

TEST_F(RegistryTest, AKilledWriterLeavesAWholeFile)
{
    int Ready[2];
    ASSERT_EQ(::pipe(Ready), 0);
    pid_t Child = ::fork();
    if (Child == 0) {
        ::close(Ready[0]);
        TRegistry Reg;
        Reg.OpenKey("Busy", true);
        for (int i = 0;; ++i) {
            Reg.WriteString("Big", std::string(20000 + i % 7, static_cast<char>('a' + i % 26)));
            if (i == 3 && ::write(Ready[1], "r", 1) != 1)
                ::_exit(1);
        }
    }
    ::close(Ready[1]);
    char Byte = 0;
    ASSERT_EQ(::read(Ready[0], &Byte, 1), 1);
    ::close(Ready[0]);
    ::usleep(20000);
    ::kill(Child, SIGKILL);
    ::waitpid(Child, nullptr, 0);

    TRegistryData Data;
    Data.Parse(ReadAll(UserFile()));
    EXPECT_TRUE(Data.Problems().empty());
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("Busy", false));
    std::string Big = Reg.ReadString("Big");
    ASSERT_GE(Big.size(), 20000u);
    EXPECT_EQ(Big, std::string(Big.size(), Big[0]));
}

TEST_F(RegistryTest, TheStoreFollowsTheEnvironment)
{
    struct TSavedVariable {
        std::string Name;
        bool Set;
        std::string Value;
        explicit TSavedVariable(const char* AName) : Name(AName)
        {
            const char* Now = std::getenv(AName);
            Set = Now != nullptr;
            Value = Now ? Now : "";
        }
        ~TSavedVariable()
        {
            if (Set)
                ::setenv(Name.c_str(), Value.c_str(), 1);
            else
                ::unsetenv(Name.c_str());
        }
    };
    TSavedVariable Home("HOME");
    TSavedVariable Config("XDG_CONFIG_HOME");
    ::unsetenv("TARNWICK_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryFileName(HKEY_LOCAL_MACHINE), "/cfg/tarnwick/HKEY_LOCAL_MACHINE.registry");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsFolder(), "/home/someone/.config/tarnwick/");
    ::setenv("TARNWICK_REGISTRY", "/own", 1);
    EXPECT_EQ(RegistryFileName(HKEY_CLASSES_ROOT), "/own/HKEY_CLASSES_ROOT.registry");
    EXPECT_THROW(RegistryFileName(0x80000009u), ERegistryException);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenFailsTheWrite)
{
    WriteAll(Folder + "plain", "a file, not a folder");
    ::setenv("TARNWICK_REGISTRY", (Folder + "plain/registry").c_str(), 1);
    const std::string Why = "Cannot create folder " + Folder + "plain/registry: Not a directory";
    TRegistry Reg;
    EXPECT_FALSE(Reg.OpenKey("K", true));
    try {
        Reg.CreateKey("K");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message(), "Failed to create key K: " + Why);
    }
    TRegIniFile Ini("App");
    EXPECT_EQ(Ini.ReadString("S", "X", "default"), "default");
    try {
        Ini.WriteString("S", "X", "1");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message(), "Failed to set data for 'X': " + Why);
    }
}

// The system's reason follows the message callers know. The permission case means nothing to
// root, which writes anyway; a file size limit stands in for a full disk, as a write into the
// temporary file is what fails either way.
TEST_F(RegistryTest, AFailedWriteSaysWhy)
{
    struct Case {
        const char* What;
        std::function<void()> Prepare;
        std::string Why;
    };
    std::vector<Case> Cases = {
        {"the store is a folder",
         [&] {
             std::filesystem::remove(UserFile());
             std::filesystem::create_directories(UserFile());
         },
         "Cannot read " + UserFile() + ": Is a directory"},
    };
    if (::geteuid() != 0)
        Cases.push_back({"a read-only folder",
                         [&] {
                             TRegIniFile("App").WriteString("S", "Old", "o");
                             ::chmod(Folder.c_str(), 0500);
                         },
                         "Cannot create file \"" + UserFile() + "\". Permission denied"});
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        TRegIniFile Ini("App");
        C.Prepare();
        try {
            Ini.WriteString("S", "X", "1");
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& E) {
            EXPECT_EQ(E.Message(), "Failed to set data for 'X': " + C.Why);
        }
        ::chmod(Folder.c_str(), 0700);
        std::filesystem::remove_all(UserFile());
    }

    TRegIniFile Ini("App");
    Ini.WriteString("S", "Small", "s");
    const std::string Before = ReadAll(UserFile());
    EXPECT_EQ(InChild([this] {
                  rlimit Limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &Limit);
                  ::signal(SIGXFSZ, SIG_IGN);
                  try {
                      TRegIniFile("App").WriteString("S", "Big", std::string(10000, 'b'));
                      ::_exit(1);
                  } catch (const ERegistryException& E) {
                      ::_exit(E.Message() == "Failed to set data for 'Big': Cannot write " +
                                                 UserFile() + ": File too large"
                                  ? 0
                                  : 2);
                  }
              }),
              0);
    EXPECT_EQ(ReadAll(UserFile()), Before);
}

mode_t ModeOf(const std::string& FileName)
{
    struct stat Info;
    return ::stat(FileName.c_str(), &Info) == 0 ? Info.st_mode & 07777 : 0;
}

bool IsLink(const std::string& FileName)
{
    struct stat Info;
    return ::lstat(FileName.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode);
}

// The hidden temporaries of rewrites in Folder.
std::vector<std::string> Temporaries(const std::string& Folder)
{
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        std::string Name = Entry.path().filename().string();
        if (Name[0] == '.' && Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".tmp") == 0)
            Names.push_back(Name);
    }
    return Names;
}

// The store holds enciphered passwords: whatever the umask, whatever was there before, and
// whatever a symbolic link in its place does, the store is the owner's alone afterwards, and a
// link is followed, never replaced.
TEST_F(RegistryTest, TheStoreStaysPrivateAndALinkInItsPlaceIsFollowed)
{
    mode_t OldMask = ::umask(0);
    const std::string Elsewhere = Folder + "elsewhere/";
    std::filesystem::create_directories(Elsewhere);
    struct Case {
        const char* What;
        std::function<void()> Prepare;
        std::string Written; // the file the value lands in; "" when the write must fail
        mode_t Mode;
    };
    const std::vector<Case> Cases = {
        {"a new store", [] {}, UserFile(), 0600},
        {"an existing store readable by all",
         [&] {
             WriteAll(UserFile(), "[Old]\n");
             ::chmod(UserFile().c_str(), 0644);
         },
         UserFile(), 0600},
        {"an existing store its owner only reads",
         [&] {
             WriteAll(UserFile(), "[Old]\n");
             ::chmod(UserFile().c_str(), 0400);
         },
         UserFile(), 0400},
        {"a link to a file elsewhere",
         [&] {
             WriteAll(Elsewhere + "real.registry", "[Old]\n");
             ::chmod((Elsewhere + "real.registry").c_str(), 0664);
             ::symlink("elsewhere/real.registry", UserFile().c_str());
         },
         Elsewhere + "real.registry", 0600},
        {"a chain of links to a file elsewhere",
         [&] {
             WriteAll(Elsewhere + "real.registry", "[Old]\n");
             ::symlink("real.registry", (Elsewhere + "hop").c_str());
             ::symlink((Elsewhere + "hop").c_str(), UserFile().c_str());
         },
         Elsewhere + "real.registry", 0600},
        {"a dangling link into a folder that exists",
         [&] { ::symlink("elsewhere/new.registry", UserFile().c_str()); },
         Elsewhere + "new.registry", 0600},
        {"a dangling link into a folder that does not",
         [&] { ::symlink("gone/new.registry", UserFile().c_str()); }, "", 0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        C.Prepare();
        bool WasLink = IsLink(UserFile());
        TRegIniFile Ini("App");
        if (C.Written.empty()) {
            try {
                Ini.WriteString("Server", "Passwd1", "secret");
                ADD_FAILURE() << "no exception";
            } catch (const ERegistryException& E) {
                EXPECT_EQ(E.Message(), "Failed to set data for 'Passwd1': Cannot create file \"" +
                                           UserFile() + "\" (a link to \"" + Folder +
                                           "gone/new.registry\"). No such file or directory");
            }
        } else {
            Ini.WriteString("Server", "Passwd1", "secret");
            EXPECT_NE(ReadAll(C.Written).find("\"Passwd1\" = string \"secret\""),
                      std::string::npos);
            EXPECT_EQ(ModeOf(C.Written), C.Mode);
        }
        EXPECT_EQ(IsLink(UserFile()), WasLink) << "a link stays a link";
        EXPECT_TRUE(Temporaries(Folder).empty());
        EXPECT_TRUE(Temporaries(Elsewhere).empty());
        std::filesystem::remove(UserFile());
        for (const auto& Entry : std::filesystem::directory_iterator(Elsewhere))
            std::filesystem::remove(Entry.path());
    }
    ::umask(OldMask);
}

// A writer killed between creating its temporary and renaming it leaves the temporary behind;
// the next write of the store removes it once it has lain there a minute (no writer holds it).
TEST_F(RegistryTest, TheNextWriteRemovesWhatAKilledWriterLeft)
{
    TRegIniFile Ini(ProductKey);
    Ini.WriteString("General", "Logfile", "old.txt");
    for (int Kill = 0; Kill < 3; ++Kill) {
        int Ready[2];
        ASSERT_EQ(::pipe(Ready), 0);
        pid_t Child = ::fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            ::close(Ready[0]);
            SetRegistryCommitHook([&] {
                if (::write(Ready[1], "r", 1) != 1)
                    ::_exit(1);
                for (;;)
                    ::pause();
            });
            TRegIniFile(ProductKey).WriteString("General", "Logfile", std::string(50000, 'n'));
            ::_exit(2);
        }
        ::close(Ready[1]);
        char Byte = 0;
        ASSERT_EQ(::read(Ready[0], &Byte, 1), 1);
        ::close(Ready[0]);
        ::kill(Child, SIGKILL);
        ::waitpid(Child, nullptr, 0);
    }
    std::vector<std::string> Left = Temporaries(Folder);
    ASSERT_EQ(Left.size(), 3u);

    Ini.WriteString("General", "Mailer", "m");
    EXPECT_EQ(Temporaries(Folder).size(), 3u) << "just left: maybe a writer still at work";
    const timespec LongAgo[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    for (const std::string& Name : Left)
        ::utimensat(AT_FDCWD, (Folder + Name).c_str(), LongAgo, 0);
    Ini.WriteString("General", "Mailer", "n");
    EXPECT_TRUE(Temporaries(Folder).empty());
    EXPECT_EQ(Ini.ReadString("General", "Logfile", ""), "old.txt");
    EXPECT_EQ(Ini.ReadString("General", "Mailer", ""), "n");
}

// Lines that read as values or keys but would not be written back as they stand stay in the
// file as written, under the key they belong to, and are reported; the first value of a name
// counts. A second rewrite changes nothing more.
TEST_F(RegistryTest, LinesWhoseNamesCollideAreKeptAsWritten)
{
    struct Case {
        const char* What;
        std::string Text;
        std::vector<std::string> Kept; // lines found as written after a rewrite
        std::string Name;              // a value of [App] and what it reads
        std::string Reads;
        std::vector<std::string> Problems;
    };
    const std::vector<Case> Cases = {
        {"names differing in case",
         "[App]\n\"Name\" = string \"first\"\n\"NAME\" = string \"second\"\n",
         {"\"NAME\" = string \"second\""},
         "name",
         "first",
         {"line 3: value \"NAME\" already read as \"Name\""}},
        {"one name in UTF-8 and in Windows-1252",
         "[App]\n\"Caf\xC3\xA9\" = string \"utf8\"\n\"CAF\xC9\" = string \"ansi\"\n",
         {"\"CAF\xC9\" = string \"ansi\""},
         "caf\xE9",
         "utf8",
         {"line 3: value \"CAF\xC9\" already read as \"Caf\xC3\xA9\""}},
        {"a NUL in a value name",
         "[App]\n\"Cut\" = string \"whole\"\n\"Cut%00tail\" = string \"x\"\n",
         {"\"Cut%00tail\" = string \"x\""},
         "Cut",
         "whole",
         {"line 3: NUL in value name \"Cut%00tail\""}},
        {"the default value twice",
         "[App]\n@ = string \"one\"\n\"\" = string \"two\"\n",
         {"\"\" = string \"two\""},
         "",
         "one",
         {"line 3: value @ already read as @"}},
        {"a NUL in a key path",
         "[App%00junk]\n\"A\" = string \"1\"\n",
         {"[App%00junk]"},
         "A",
         "1",
         {"line 1: NUL in key path"}},
        {"text after the key's ']'",
         "[App] ; the mail settings\n\"A\" = string \"1\"\n",
         {"[App] ; the mail settings"},
         "A",
         "1",
         {"line 1: text after ']'"}},
        {"a key spelt two ways",
         "[App]\n\"A\" = string \"1\"\n[APP]\n\"a\" = string \"2\"\n\"B\" = string \"3\"\n",
         {"[APP]", "\"a\" = string \"2\""},
         "B",
         "3",
         {"line 3: key read as [App]", "line 4: value \"a\" already read as \"A\""}},
        {"a key twice",
         "[App]\n\"A\" = string \"1\"\n[Other]\n[App]\n\"A\" = string \"2\"\n",
         {"[App]", "\"A\" = string \"2\""},
         "A",
         "1",
         {"line 4: key [App] repeated", "line 5: value \"A\" already read as \"A\""}},
        {"values before any key",
         "\"R\" = string \"1\"\n\"r\" = string \"2\"\n[App]\n\"A\" = string \"1\"\n",
         {"\"r\" = string \"2\""},
         "A",
         "1",
         {"line 2: value \"r\" already read as \"R\""}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        TRegistryData Data;
        Data.Parse(C.Text);
        EXPECT_EQ(Data.Problems(), C.Problems);
        TRegistryData Again;
        Again.Parse(Data.Text());
        EXPECT_EQ(Again.Text(), Data.Text()) << "what is written reads back the same";

        WriteAll(UserFile(), C.Text);
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\App", false));
        EXPECT_EQ(Reg.ReadString(C.Name), C.Reads);
        Reg.WriteString("Added", "x");
        std::string Rewritten = ReadAll(UserFile());
        for (const std::string& Line : C.Kept)
            EXPECT_NE(Rewritten.find("\n" + Line + "\n"), std::string::npos) << Line << " in\n"
                                                                             << Rewritten;
        EXPECT_EQ(Reg.ReadString(C.Name), C.Reads);
        Reg.WriteString("Added", "y");
        EXPECT_EQ(ReadAll(UserFile()), Rewritten.replace(Rewritten.find("\"x\""), 3, "\"y\""));
    }
}

// Setting, finding and deleting values by names spelt every way that folds alike, at random:
// the index answers as a scan comparing with AnsiSameText, and stays in step with the edits.
TEST(RegistryData, TheValueIndexAnswersAsAScanAndFollowsEdits)
{
    const std::vector<std::string> Spellings = {"Caf\xC3\xA9",
                                                "CAF\xC3\x89",
                                                "caf\xE9",
                                                "i",
                                                "I",
                                                "\xC4\xB1",
                                                "\xC4\xB0",
                                                "",
                                                "Key",
                                                "KEY",
                                                std::string("key\0tail", 8)};
    std::mt19937 Random(20261210);
    TRegStoreKey Key;
    std::vector<TRegStoreValue> Scanned;
    auto ScanFind = [&](const std::string& Name) -> const TRegStoreValue* {
        for (const TRegStoreValue& Value : Scanned)
            if (AnsiSameText(Value.Name, Name.substr(0, Name.find('\0'))))
                return &Value;
        return nullptr;
    };
    for (int Step = 0; Step < 2000; ++Step) {
        const std::string& Name = Spellings[Random() % Spellings.size()];
        if (Random() % 3 == 0) {
            const TRegStoreValue* Was = ScanFind(Name);
            if (Was)
                Scanned.erase(Scanned.begin() + (Was - Scanned.data()));
            EXPECT_EQ(TRegistryData::DeleteValue(Key, Name), Was != nullptr);
        } else {
            TRegStoreValue Value;
            Value.Name = Name;
            Value.Data = std::to_string(Step);
            TRegistryData::SetValue(Key, Value);
            if (TRegStoreValue* Was = const_cast<TRegStoreValue*>(ScanFind(Name)))
                Was->Data = Value.Data;
            else
                Scanned.push_back({Name.substr(0, Name.find('\0')), rdString, Value.Data});
        }
        ASSERT_EQ(Key.Values.size(), Scanned.size());
        for (std::size_t i = 0; i < Scanned.size(); ++i) {
            EXPECT_EQ(Key.Values[i].Name, Scanned[i].Name);
            EXPECT_EQ(Key.Values[i].Data, Scanned[i].Data);
        }
        for (const std::string& Probe : Spellings) {
            const TRegStoreValue* Found = TRegistryData::FindValue(Key, Probe);
            const TRegStoreValue* Want = ScanFind(Probe);
            ASSERT_EQ(Found != nullptr, Want != nullptr) << Probe;
            if (Found) {
                EXPECT_EQ(Found->Data, Want->Data);
            }
        }
    }
}

// A key of many values loads, answers and rewrites in time near its size: with a scan per
// look-up, 40,000 values took minutes.
TEST_F(RegistryTest, AKeyOfManyValuesIsReadAndWrittenInTimeNearItsSize)
{
    const int Count = 40000;
    std::string Text = "[Software\\Tarnwick\\Filters]\n";
    for (int i = 0; i < Count; ++i)
        Text += "\"Rule \xC9t\xE9 " + std::to_string(i) + "\" = string \"from:*@example.org\"\n";
    auto Began = std::chrono::steady_clock::now();
    TRegistryData Data;
    Data.Parse(Text);
    EXPECT_TRUE(Data.Problems().empty());
    EXPECT_EQ(Data.Text(), Text);
    WriteAll(UserFile(), Text);
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\Software\\Tarnwick\\Filters", false));
    EXPECT_EQ(Reg.ReadString("RULE \xC9T\xC9 39999"), "from:*@example.org");
    Reg.WriteString("rule \xE9t\xE9 0", "changed");
    TStringList Names;
    Reg.GetValueNames(&Names);
    EXPECT_EQ(Names.Count(), Count);
    auto Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count();
    EXPECT_LT(Seconds, 20.0) << "a scan per look-up takes minutes here";
}

} // namespace
