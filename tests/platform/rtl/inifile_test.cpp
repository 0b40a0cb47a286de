#include "platform/rtl/inifile.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestSupport::ReadAll;
using TestSupport::WriteAll;

class IniFileTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { ::setenv("TARNWICK_REGISTRY", (Folder + "settings").c_str(), 1); }
    void TearDown() override { ::unsetenv("TARNWICK_REGISTRY"); }
};

// The rules of the profile functions, by the plainest means: every look-up scans the lines and
// compares names with AnsiSameText. TIniDocument must answer and edit exactly alike.
class TScanningIni {
public:
    explicit TScanningIni(const std::string& Text)
    {
        FBom = Text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        for (std::size_t Start = FBom ? 3 : 0; Start < Text.size();) {
            std::size_t End = std::min(Text.find('\n', Start), Text.size());
            FLines.push_back(Text.substr(Start, End - Start));
            if (!FLines.back().empty() && FLines.back().back() == '\r')
                FLines.back().pop_back();
            Start = End + 1;
        }
    }
    std::string Text() const
    {
        std::string Result = FBom ? "\xEF\xBB\xBF" : "";
        for (const std::string& Line : FLines)
            Result += Line + "\r\n";
        return Result;
    }
    bool Find(const std::string& Section, const std::string& Key, std::string& Value) const
    {
        int Line = FindKey(FindSection(Section), Key);
        if (Line < 0)
            return false;
        Value = Trim(FLines[Line].substr(FLines[Line].find('=') + 1));
        if (Value.size() >= 2 && (Value[0] == '"' || Value[0] == '\'') && Value.back() == Value[0])
            Value = Value.substr(1, Value.size() - 2);
        return true;
    }
    void SetValue(const std::string& Section, const std::string& Key, const std::string& Value)
    {
        int Header = FindSection(Section);
        if (Header < 0) {
            FLines.push_back("[" + Trim(Section) + "]");
            FLines.push_back(Trim(Key) + "=" + Value);
            return;
        }
        int Line = FindKey(Header, Key);
        if (Line >= 0) {
            FLines[Line] = Trim(FLines[Line].substr(0, FLines[Line].find('='))) + "=" + Value;
            return;
        }
        int At = End(Header);
        while (At - 1 > Header && Trim(FLines[At - 1]).empty())
            --At;
        FLines.insert(FLines.begin() + At, Trim(Key) + "=" + Value);
    }
    bool DeleteKey(const std::string& Section, const std::string& Key)
    {
        int Header = FindSection(Section);
        bool Deleted = false;
        for (int Line = FindKey(Header, Key); Line >= 0;
             Line = FindKey(Header, Key), Deleted = true)
            FLines.erase(FLines.begin() + Line);
        return Deleted;
    }
    bool EraseSection(const std::string& Section)
    {
        bool Erased = false;
        for (int Header = FindSection(Section); Header >= 0; Header = FindSection(Section)) {
            FLines.erase(FLines.begin() + Header, FLines.begin() + End(Header));
            Erased = true;
        }
        return Erased;
    }
    bool HasSection(const std::string& Section) const { return FindSection(Section) >= 0; }
    std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> Names;
        for (std::size_t i = 0; i < FLines.size(); ++i)
            if (IsHeader(i))
                AddOnce(Names, HeaderName(i));
        return Names;
    }
    std::vector<std::string> KeyNames(const std::string& Section) const
    {
        std::vector<std::string> Names;
        int Header = FindSection(Section);
        for (int i = Header + 1; Header >= 0 && i < End(Header); ++i)
            if (IsKey(i))
                AddOnce(Names, KeyName(i));
        return Names;
    }

private:
    bool IsHeader(std::size_t i) const
    {
        std::string T = Trim(FLines[i]);
        return !T.empty() && T[0] == '[' && T.find(']') != std::string::npos;
    }
    std::string HeaderName(std::size_t i) const
    {
        std::string T = Trim(FLines[i]);
        return Trim(T.substr(1, T.find(']') - 1));
    }
    bool IsKey(std::size_t i) const
    {
        std::string T = Trim(FLines[i]);
        return !T.empty() && T[0] != ';' && !IsHeader(i) && T.find('=') != std::string::npos;
    }
    std::string KeyName(std::size_t i) const
    {
        std::string T = Trim(FLines[i]);
        return Trim(T.substr(0, T.find('=')));
    }
    int FindSection(const std::string& Section) const
    {
        for (std::size_t i = 0; i < FLines.size(); ++i)
            if (IsHeader(i) && AnsiSameText(HeaderName(i), Trim(Section)))
                return static_cast<int>(i);
        return -1;
    }
    int End(int Header) const
    {
        int i = Header + 1;
        while (i < static_cast<int>(FLines.size()) && !IsHeader(i))
            ++i;
        return i;
    }
    int FindKey(int Header, const std::string& Key) const
    {
        for (int i = Header + 1; Header >= 0 && i < End(Header); ++i)
            if (IsKey(i) && AnsiSameText(KeyName(i), Trim(Key)))
                return i;
        return -1;
    }
    static void AddOnce(std::vector<std::string>& Names, const std::string& Name)
    {
        for (const std::string& Existing : Names)
            if (AnsiSameText(Existing, Name))
                return;
        Names.push_back(Name);
    }

    std::vector<std::string> FLines;
    bool FBom = false;
};

TEST_F(IniFileTest, WritesCreateTheFileWithCrLfLinesAsTheGoldenFile)
{
    TIniFile Ini(Folder + "new.ini");
    Ini.WriteString("General", "Name", "Value");
    Ini.WriteInteger("General", "Count", -3);
    Ini.WriteBool("Options", "Flag", true);
    Ini.WriteBool("Options", "Off", false);
    Ini.WriteString("general", "NAME", "changed");
    Ini.WriteString("Options", "Empty", "");
    EXPECT_EQ(ReadAll(Folder + "new.ini"), ReadAll(TARNWICK_FIXTURES "/inifile/written.ini"));

    TIniFile Again(Folder + "new.ini");
    EXPECT_EQ(Again.ReadString("GENERAL", "name", ""), "changed");
    EXPECT_EQ(Again.ReadInteger("General", "Count", 0), -3);
    EXPECT_TRUE(Again.ReadBool("Options", "Flag", false));
    EXPECT_FALSE(Again.ReadBool("Options", "Off", true));
    EXPECT_TRUE(Again.ValueExists("Options", "Empty"));
    EXPECT_EQ(Again.ReadString("Options", "Empty", "default"), "");
}

TEST_F(IniFileTest, EditingKeepsCommentsOrderAndTheCaseFirstWritten)
{
    std::string Name = Folder + "existing.ini";
    WriteAll(Name, ReadAll(TARNWICK_FIXTURES "/inifile/existing.ini"));
    TIniFile Ini(Name);

    struct Case {
        const char* Section;
        const char* Key;
        const char* Value; // nullptr: absent
    };
    for (const Case& C : std::vector<Case>{
             {"main", "key1", " spaced "},            // blanks trimmed, then one pair of quotes
             {"Other", "x", "single"},                // single quotes too
             {"other", "Y", "plain ; not a comment"}, // ';' after a value is part of it
             {"Main", "KEY2", "second"},
             {"", "orphan", nullptr}, // lines before the first section
             {"Other", "NoEquals", nullptr},
             {"Main", "a comment in Main", nullptr},
             {"Missing", "Key1", nullptr},
         }) {
        std::string Read = Ini.ReadString(C.Section, C.Key, "<none>");
        EXPECT_EQ(Read, C.Value ? C.Value : "<none>") << C.Section << "/" << C.Key;
        EXPECT_EQ(Ini.ValueExists(C.Section, C.Key), C.Value != nullptr) << C.Key;
    }

    Ini.WriteString("MAIN", "Added", "a");
    Ini.WriteString("main", "KEY1", "new");
    Ini.DeleteKey("Other", "x");
    Ini.DeleteKey("Other", "absent");
    Ini.WriteString("Third", "T", "3");
    EXPECT_EQ(ReadAll(Name), ReadAll(TARNWICK_FIXTURES "/inifile/edited.ini"));
}

TEST_F(IniFileTest, NumbersReadAsTheProfileFunctionsReadThem)
{
    std::string Name = Folder + "numbers.ini";
    WriteAll(Name, "[N]\nDec=12\nNeg= -7 \nDollar=$1f\nC=0x10\nBad=12a\nEmpty=\nTwo=2\n"
                   "Zero=0\nQuoted=\"5\"\nFloat=2.5\n");
    TIniFile Ini(Name);
    struct Case {
        const char* Key;
        int Integer;
        bool Bool;
    };
    for (const Case& C : std::vector<Case>{{"Dec", 12, true},
                                           {"Neg", -7, true},
                                           {"Dollar", 31, true},
                                           {"C", 16, true},
                                           {"Bad", 99, true},
                                           {"Empty", 99, true},
                                           {"Two", 2, true},
                                           {"Zero", 0, false},
                                           {"Quoted", 5, true},
                                           {"Missing", 99, true}}) {
        EXPECT_EQ(Ini.ReadInteger("N", C.Key, 99), C.Integer) << C.Key;
        EXPECT_EQ(Ini.ReadBool("N", C.Key, true), C.Bool) << C.Key;
    }
    EXPECT_EQ(Ini.ReadFloat("N", "Float", 0), 2.5);
    EXPECT_EQ(Ini.ReadFloat("N", "Bad", -1), -1);

    Ini.WriteFloat("W", "F", -0.125);
    EXPECT_EQ(Ini.ReadFloat("W", "F", 0), -0.125);
    Ini.WriteDateTime("W", "When", 36526.5);
    EXPECT_EQ(Ini.ReadDateTime("W", "When", 0), 36526.5);
    Ini.WriteDate("W", "Day", 36526);
    EXPECT_EQ(Ini.ReadDate("W", "Day", 0), 36526);
    EXPECT_EQ(Ini.ReadTime("N", "Bad", 0.25), 0.25);
}

TEST_F(IniFileTest, SectionsAreListedErasedAndTested)
{
    std::string Name = Folder + "sections.ini";
    WriteAll(Name, "[A]\r\nk1=v1\r\nK2=\"v2\"\r\n[Empty]\r\n[b]\r\nx=1\r\n[a]\r\nk3=hidden\r\n");
    TIniFile Ini(Name);
    TStringList List;
    Ini.ReadSections(&List);
    EXPECT_EQ(List.CommaText(), "A,Empty,b");
    Ini.ReadSection("a", &List);
    EXPECT_EQ(List.CommaText(), "k1,K2") << "the first section of a name counts";
    List.Add("stale");
    Ini.ReadSectionValues("A", &List);
    EXPECT_EQ(List.Text(), "k1=v1\r\nK2=v2\r\n");
    EXPECT_TRUE(Ini.SectionExists("EMPTY"));
    EXPECT_FALSE(Ini.SectionExists("C"));

    Ini.EraseSection("a");
    EXPECT_EQ(ReadAll(Name), "[Empty]\r\n[b]\r\nx=1\r\n") << "every section of the name goes";
    Ini.EraseSection("nothing");
    Ini.ReadSectionValues("A", &List);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(IniFileTest, NamesAndValuesThatALineCannotHoldAreRefused)
{
    std::string Name = Folder + "refuse.ini";
    WriteAll(Name, "[S]\r\nk=v\r\n");
    TIniFile Ini(Name);
    struct Case {
        const char* Section;
        const char* Key;
        const char* Value;
    };
    for (const Case& C : std::vector<Case>{{"S", "k", "two\r\nlines"},
                                           {"S", "a=b", "v"},
                                           {"S", "[k]", "v"},
                                           {"S", ";k", "v"},
                                           {"S]", "k", "v"},
                                           {"S\n[T", "k", "v"}}) {
        EXPECT_THROW(Ini.WriteString(C.Section, C.Key, C.Value), EIniFileException) << C.Key;
    }
    EXPECT_EQ(ReadAll(Name), "[S]\r\nk=v\r\n");
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotOverwritten)
{
    std::filesystem::create_directories(Folder + "folder.ini");
    TIniFile Ini(Folder + "folder.ini");
    EXPECT_EQ(Ini.ReadString("S", "k", "default"), "default");
    try {
        Ini.WriteString("S", "k", "v");
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& E) {
        EXPECT_EQ(E.Message(), "Unable to write to " + Folder + "folder.ini: Is a directory");
    }
    TIniFile Nowhere(Folder + "missing/x.ini");
    EXPECT_THROW(Nowhere.WriteString("S", "k", "v"), EIniFileException);
}

// Each failed write names the file and the system's reason. The permission case means nothing
// to root, which writes anyway; a file size limit stands in for a full disk, as a write into the
// temporary file is what fails either way.
TEST_F(IniFileTest, AFailedWriteSaysWhy)
{
    WriteAll(Folder + "plain", "a file, not a folder");
    struct Case {
        std::string Name;
        std::string Reason;
    };
    std::vector<Case> Cases = {
        {"folder.ini", "Is a directory"},
        {"missing/x.ini", "No such file or directory"},
        {"plain/x.ini", "Not a directory"},
    };
    std::filesystem::create_directories(Folder + "folder.ini");
    if (::geteuid() != 0) {
        std::filesystem::create_directories(Folder + "locked");
        ::chmod((Folder + "locked").c_str(), 0500);
        Cases.push_back({"locked/x.ini", "Permission denied"});
    }
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        try {
            TIniFile(Folder + C.Name).WriteString("S", "k", "v");
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& E) {
            EXPECT_EQ(E.Message(), "Unable to write to " + Folder + C.Name + ": " + C.Reason);
        }
    }
    ::chmod((Folder + "locked").c_str(), 0700);

    const std::string Big = Folder + "big.ini";
    WriteAll(Big, "[S]\r\nk=small\r\n");
    pid_t Child = ::fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        rlimit Limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &Limit);
        ::signal(SIGXFSZ, SIG_IGN);
        try {
            TIniFile(Big).WriteString("S", "k", std::string(10000, 'v'));
        } catch (const EIniFileException& E) {
            ::_exit(E.Message() == "Unable to write to " + Big + ": File too large" ? 0 : 2);
        }
        ::_exit(1);
    }
    int Status = 0;
    ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
    EXPECT_EQ(ReadAll(Big), "[S]\r\nk=small\r\n");
}

TEST_F(IniFileTest, ABareFileNameLivesInTheSettingsFolder)
{
    TIniFile Ini("bare.ini");
    Ini.WriteString("S", "k", "v");
    EXPECT_EQ(ReadAll(Folder + "settings/bare.ini"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(TIniFile("bare.ini").ReadString("s", "K", ""), "v");
}

TEST_F(IniFileTest, TheDocumentKeepsAByteOrderMarkAndReadsPastIt)
{
    TIniDocument Document;
    Document.Parse("\xEF\xBB\xBF[S]\nk=v");
    std::string Value;
    ASSERT_TRUE(Document.Find("S", "k", Value));
    EXPECT_EQ(Value, "v");
    EXPECT_EQ(Document.Text(), "\xEF\xBB\xBF[S]\r\nk=v\r\n");
}

// Names spelt in every way that folds alike (case, UTF-8 and Windows-1252, the dotless i, which
// folds apart) and random edits: the indexed document answers and writes as the scanning one.
TEST(IniDocument, IndexedLookUpsAnswerAsScanningEveryLineDoes)
{
    const std::vector<std::string> Names = {"Caf\xC3\xA9",
                                            "CAF\xC3\x89",
                                            "caf\xE9",
                                            "CAF\xC9",
                                            "i",
                                            "I",
                                            "\xC4\xB1",
                                            "\xC4\xB0",
                                            "Stra\xC3\x9F"
                                            "e",
                                            "STRASSE",
                                            "",
                                            " pad ",
                                            "Key",
                                            "KEY"};
    const std::string Start =
        "\xEF\xBB\xBForphan=1\r\n[caf\xE9]\r\ni=1\r\nI=2\r\n; note\r\n\r\n[CAF\xC3\x89]\r\n"
        "key=3\r\n[ ]\r\n=empty\r\n[I]\r\n\xC4\xB1=4\r\n[\xC4\xB1]\r\nKEY = ' q '\r\n\r\n";
    std::mt19937 Random(20261210);
    for (int Round = 0; Round < 40; ++Round) {
        TIniDocument Document;
        Document.Parse(Start);
        TScanningIni Expected(Start);
        for (int Step = 0; Step < 60; ++Step) {
            const std::string& Section = Names[Random() % Names.size()];
            const std::string& Key = Names[Random() % Names.size()];
            std::string Value = "v" + std::to_string(Step);
            switch (Random() % 6) {
            case 0:
            case 1:
                Document.SetValue(Section, Key, Value);
                Expected.SetValue(Section, Key, Value);
                break;
            case 2:
                EXPECT_EQ(Document.DeleteKey(Section, Key), Expected.DeleteKey(Section, Key));
                break;
            case 3:
                EXPECT_EQ(Document.EraseSection(Section), Expected.EraseSection(Section));
                break;
            case 4: {
                // A copy keeps answering on its own.
                TIniDocument Copy = Document;
                Document = Copy;
                break;
            }
            default:
                break;
            }
            ASSERT_EQ(Document.Text(), Expected.Text()) << "round " << Round << " step " << Step;
            std::string Got;
            std::string Want;
            EXPECT_EQ(Document.Find(Section, Key, Got), Expected.Find(Section, Key, Want));
            EXPECT_EQ(Got, Want);
            EXPECT_EQ(Document.HasSection(Section), Expected.HasSection(Section));
            EXPECT_EQ(Document.SectionNames(), Expected.SectionNames());
            EXPECT_EQ(Document.KeyNames(Section), Expected.KeyNames(Section));
        }
    }
}

// Each look-up folds one name and finds it by hash, so a file of many sections loads, lists and
// rewrites in time near its size: with a scan per look-up this took minutes.
TEST(IniDocument, AFileOfManySectionsIsReadAndWrittenInTimeNearItsSize)
{
    std::string Text;
    const int Sections = 20000;
    for (int i = 0; i < Sections; ++i)
        Text += "[Server \xC9t\xE9 " + std::to_string(i) + "]\r\nHost=h" + std::to_string(i) +
                "\r\nPort=110\r\n";
    auto Began = std::chrono::steady_clock::now();
    TIniDocument Document;
    Document.Parse(Text);
    std::vector<std::string> Names = Document.SectionNames();
    ASSERT_EQ(Names.size(), static_cast<std::size_t>(Sections));
    for (const std::string& Name : Names) {
        std::string Value;
        ASSERT_TRUE(Document.Find(AnsiUpperCase(Name), "PORT", Value));
        Document.SetValue(Name, "Added", "1");
    }
    EXPECT_EQ(Document.Text().size(), Text.size() + Sections * std::string("Added=1\r\n").size());
    auto Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count();
    EXPECT_LT(Seconds, 20.0) << "a scan per look-up takes minutes here";
}

} // namespace
