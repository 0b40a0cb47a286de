#include "platform/rtl/inifile.h"
#include "platform/rtl/stringlist.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

using TestSupport::ReadAll;
using TestSupport::WriteAll;

class IniFileTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { ::setenv("TARNWICK_REGISTRY", (Folder + "settings").c_str(), 1); }
    void TearDown() override { ::unsetenv("TARNWICK_REGISTRY"); }
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
        EXPECT_EQ(E.Message(), "Unable to write to " + Folder + "folder.ini");
    }
    TIniFile Nowhere(Folder + "missing/x.ini");
    EXPECT_THROW(Nowhere.WriteString("S", "k", "v"), EIniFileException);
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

} // namespace
