#include "platform/rtl/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// resources/RCDATA/RtlProbe.bin: bytes a text conversion would spoil.
const std::string ProbeBytes("Tarnwick\0\x01\xff\r\n", 13);

} // namespace

TEST(Resources, EmbeddedResourceIsFoundByTypeAndNameInAnyCase)
{
    for (const char* Name : {"RtlProbe", "RTLPROBE", "rtlprobe"}) {
        SCOPED_TRACE(Name);
        std::optional<std::string_view> Data = FindResource(RT_RCDATA, Name);
        ASSERT_TRUE(Data.has_value());
        EXPECT_EQ(std::string(*Data), ProbeBytes);
        EXPECT_EQ(LoadResourceBytes(RT_RCDATA, Name), ProbeBytes);
    }
}

TEST(Resources, AbsentResourceIsNothingOrEResNotFound)
{
    struct TCase {
        TResType Type;
        std::string Name;
    };
    const std::vector<TCase> Cases = {
        {RT_RCDATA, "NoSuchThing"},
        {RT_BITMAP, "RtlProbe"}, // the right name under another type
        {RT_RCDATA, "RtlProb"},
        {RT_RCDATA, "RtlProbeX"},
        {RT_RCDATA, ""},
        {RT_RCDATA, std::string("RtlProbe\0", 9)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FALSE(FindResource(Case.Type, Case.Name).has_value());
        EXPECT_THROW(LoadResourceBytes(Case.Type, Case.Name), EResNotFound);
    }
    try {
        LoadResourceBytes(RT_WAVE, "Chime");
        FAIL() << "no exception";
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource Chime not found");
    }
}

TEST(Resources, LoadStrGivesTheStringTableTextOrEmpty)
{
    struct TCase {
        int Id;
        std::string Text;
    };
    const std::vector<TCase> Cases = {
        {65001, "Error"}, {65010, "OK"}, {65012, "&Yes"}, {1, ""}, {65004, ""}, {-1, ""},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(LoadStr(Case.Id), Case.Text) << Case.Id;
}

TEST(Resources, NamesOfATypeAreListedSortedAndUpperCase)
{
    std::vector<std::string> Names = ResourceNames(RT_RCDATA);
    EXPECT_TRUE(std::is_sorted(Names.begin(), Names.end()));
    EXPECT_NE(std::find(Names.begin(), Names.end(), "RTLPROBE"), Names.end());

    std::vector<std::string> Strings = ResourceNames(RT_STRING);
    EXPECT_NE(std::find(Strings.begin(), Strings.end(), "65000"), Strings.end());
    EXPECT_EQ(std::find(Strings.begin(), Strings.end(), "RTLPROBE"), Strings.end());
}

TEST(Resources, ResourceStreamReadsSeeksAndRefusesWrites)
{
    TResourceStream Stream(RT_RCDATA, "rtlprobe");
    EXPECT_EQ(Stream.Size(), 13);

    char Buffer[8] = {};
    EXPECT_EQ(Stream.Read(Buffer, 8), 8);
    EXPECT_EQ(std::string(Buffer, 8), "Tarnwick");
    EXPECT_EQ(Stream.Read(Buffer, 8), 5); // only what is left
    EXPECT_EQ(std::string(Buffer, 5), ProbeBytes.substr(8));
    EXPECT_EQ(Stream.Read(Buffer, 8), 0);

    EXPECT_EQ(Stream.Seek(-2, soEnd), 11);
    Stream.ReadBuffer(Buffer, 2);
    EXPECT_EQ(std::string(Buffer, 2), "\r\n");
    EXPECT_EQ(Stream.Seek(40, soBeginning), 40);
    EXPECT_EQ(Stream.Read(Buffer, 1), 0);
    EXPECT_THROW(Stream.Seek(-1, soBeginning), EStreamError);

    EXPECT_THROW(Stream.Write("x", 1), EStreamError);
    EXPECT_THROW(Stream.SetSize(0), EStreamError);
    EXPECT_EQ(LoadResourceBytes(RT_RCDATA, "RtlProbe"), ProbeBytes); // unchanged

    EXPECT_THROW(TResourceStream(RT_RCDATA, "NoSuchThing"), EResNotFound);
}

#ifdef TARNWICK_RESCOMP

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Output; // stdout and stderr
    std::string Generated;
};

// Runs the resource generator over a fixture folder of tests/fixtures/rescomp/.
TRun RunGenerator(const std::string& Fixture)
{
    fs::path Root = fs::path(TARNWICK_FIXTURES) / "rescomp" / Fixture;
    fs::path Out = fs::path(testing::TempDir()) / ("rescomp_" + Fixture + ".cpp");
    fs::remove(Out);
    std::vector<std::string> Files;
    for (const fs::directory_entry& Entry : fs::recursive_directory_iterator(Root))
        if (Entry.is_regular_file())
            Files.push_back(Entry.path().string());
    std::sort(Files.begin(), Files.end());

    std::string Command =
        "'" + std::string(TARNWICK_RESCOMP) + "' '" + Root.string() + "' '" + Out.string() + "'";
    for (const std::string& File : Files)
        Command += " '" + File + "'";
    Command += " 2>&1";

    TRun Run;
    FILE* Pipe = popen(Command.c_str(), "r");
    if (Pipe == nullptr)
        return Run;
    char Buffer[512];
    std::size_t N;
    while ((N = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0)
        Run.Output.append(Buffer, N);
    int Status = pclose(Pipe);
    Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    std::ifstream In(Out, std::ios::binary);
    if (In) {
        std::ostringstream Text;
        Text << In.rdbuf();
        Run.Generated = Text.str();
    }
    fs::remove(Out);
    return Run;
}

} // namespace

TEST(ResourceGenerator, IllFormedInputFailsTheBuildWithAClearMessage)
{
    struct TCase {
        std::string Fixture;
        std::string Message;
    };
    const std::vector<TCase> Cases = {
        {"duplicate_id", "b.txt:2: duplicate string id 1 (first defined at "},
        {"missing_equals", "t.txt:2: expected <id>=<text>"},
        {"id_not_number", "t.txt:1: the string id \"12a\" is not a decimal number"},
        {"id_too_big", "t.txt:1: the string id 65536 is above 65535"},
        {"unknown_escape", "t.txt:1: unknown escape \\q"},
        {"trailing_backslash", "t.txt:1: a backslash ends the line"},
        {"invalid_utf8", "t.txt:1: the text is not valid UTF-8"},
        {"unknown_type", "thing.bin: unknown resource type folder \"PICTURES\""},
        {"duplicate_name", ": duplicate resource name DATA"},
        {"too_deep", "x.bin: expected resources/<TYPE>/<NAME>.<ext>"},
        {"strings_not_txt", "t.ini: a string table must be a .txt file"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Fixture);
        TRun Run = RunGenerator(Case.Fixture);
        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_NE(Run.Output.find("rescomp: error: "), std::string::npos) << Run.Output;
        EXPECT_NE(Run.Output.find(Case.Message), std::string::npos) << Run.Output;
        EXPECT_TRUE(Run.Generated.empty()) << "no output is written";
    }
}

TEST(ResourceGenerator, StringTableTextKeepsEscapesUtf8AndEmptyTexts)
{
    TRun Run = RunGenerator("good");
    ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
    const std::vector<std::string> Expected = {
        // " a\tb\\c\nd": blanks around the id go, the text is kept as written after "=".
        "0x20,0x61,0x09,0x62,0x5c,0x63,0x0a,0x64,0}",
        // "café # not a comment"
        "0x63,0x61,0x66,0xc3,0xa9,0x20,0x23,", "{RT_STRING, \"7\", R", "{RT_STRING, \"9\", R",
        "{RT_RCDATA, \"MIXED-CASE\", R",
        "EmbeddedResourceCount = 4;", // the hidden .gitkeep is not a resource
    };
    for (const std::string& Text : Expected)
        EXPECT_NE(Run.Generated.find(Text), std::string::npos) << Text << "\n" << Run.Generated;
    EXPECT_NE(Run.Generated.find("\"8\", R"), std::string::npos);
    EXPECT_NE(Run.Generated.find(", 0},"), std::string::npos) << "string 8 is empty";
}

#endif
