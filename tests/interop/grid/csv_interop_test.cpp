// The CSV load against Python's csv module: files written by csv.writer load into exactly the
// cells csv.reader reads back from them, with the delimiter found by the grid itself.
#include "controls/grid/advgrid.h"
#include "platform/rtl/process.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestSupport::TempFolderTest;

// Writes Rows with csv.writer to argv[1] and the rows csv.reader reads back, as JSON, to
// argv[2]; each cell's line breaks as CR LF, as the grid keeps them. The first two lines hold
// no empty field and no quoted delimiter: detection counts single delimiters on both.
const char* const WriterScript = R"PY(
import csv, json, sys
path, out, delim, quoting = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
rows = [
    ["name", "note", "count", "empty", "city"],
    ["plain", 'say "hi"', "12", "-", "M\u00fcnchen"],
    ["two\nlines", "a" + delim + "b", "-3", "", "\u65e5\u672c"],
    ["", "trailing ", " lead", "", 'q""q'],
    ["x", "y", "z", "w", "v"],
]
with open(path, "w", newline="", encoding="utf-8") as f:
    csv.writer(f, delimiter=delim, quoting=getattr(csv, quoting)).writerows(rows)
with open(path, newline="", encoding="utf-8") as f:
    back = [[c.replace("\r\n", "\n").replace("\n", "\r\n") for c in r]
            for r in csv.reader(f, delimiter=delim)]
with open(out, "w", encoding="utf-8") as f:
    json.dump(back, f)
)PY";

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

int RunPython(const std::vector<std::string>& Argv)
{
    TSpawnOptions Options;
    Options.Argv = Argv;
    Options.Group = sgCallerGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    if (Started.Pid <= 0)
        return -1;
    int Status = 0;
    ::waitpid(Started.Pid, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// The JSON the script writes: a list of lists of strings, with json.dump's escapes.
std::vector<std::vector<std::string>> ParseRows(const std::string& J)
{
    std::vector<std::vector<std::string>> Rows;
    std::size_t I = 0;
    auto Hex4 = [&](std::size_t At) { return unsigned(std::stoul(J.substr(At, 4), nullptr, 16)); };
    auto Put = [](std::string& S, unsigned C) {
        if (C < 0x80) {
            S += char(C);
        } else if (C < 0x800) {
            S += char(0xC0 | (C >> 6));
            S += char(0x80 | (C & 0x3F));
        } else if (C < 0x10000) {
            S += char(0xE0 | (C >> 12));
            S += char(0x80 | ((C >> 6) & 0x3F));
            S += char(0x80 | (C & 0x3F));
        } else {
            S += char(0xF0 | (C >> 18));
            S += char(0x80 | ((C >> 12) & 0x3F));
            S += char(0x80 | ((C >> 6) & 0x3F));
            S += char(0x80 | (C & 0x3F));
        }
    };
    int Depth = 0;
    for (; I < J.size(); ++I) {
        const char C = J[I];
        if (C == '[') {
            if (++Depth == 2)
                Rows.emplace_back();
        } else if (C == ']') {
            --Depth;
        } else if (C == '"') {
            std::string S;
            for (++I; J[I] != '"'; ++I) {
                if (J[I] != '\\') {
                    S += J[I];
                    continue;
                }
                const char E = J[++I];
                if (E == 'n')
                    S += '\n';
                else if (E == 'r')
                    S += '\r';
                else if (E == 't')
                    S += '\t';
                else if (E == 'u') {
                    unsigned Code = Hex4(I + 1);
                    I += 4;
                    if (Code >= 0xD800 && Code < 0xDC00 && J[I + 1] == '\\') {
                        Code = 0x10000 + ((Code - 0xD800) << 10) + (Hex4(I + 3) - 0xDC00);
                        I += 6;
                    }
                    Put(S, Code);
                } else
                    S += E;
            }
            Rows.back().push_back(S);
        }
    }
    return Rows;
}

struct TDialect {
    std::string Delimiter;
    const char* Quoting;
};

class CsvInteropTest : public TempFolderTest {};

TEST_F(CsvInteropTest, LoadsWhatPythonsReaderReads)
{
    const std::vector<TDialect> Dialects = {{",", "QUOTE_MINIMAL"},  {";", "QUOTE_MINIMAL"},
                                            {"\t", "QUOTE_MINIMAL"}, {"|", "QUOTE_MINIMAL"},
                                            {",", "QUOTE_ALL"},      {";", "QUOTE_ALL"},
                                            {"\t", "QUOTE_ALL"},     {"|", "QUOTE_ALL"}};
    for (const TDialect& D : Dialects) {
        const std::string Csv = Folder + "rows.csv";
        const std::string Json = Folder + "rows.json";
        ASSERT_EQ(0, RunPython({"python3", "-c", WriterScript, Csv, Json, D.Delimiter, D.Quoting}));
        const auto Rows = ParseRows(ReadFile(Json));
        ASSERT_EQ(5u, Rows.size());
        TAdvStringGrid Grid(nullptr);
        Grid.LoadFromCSV(Csv);
        EXPECT_EQ(int(Rows.size()), Grid.RowCount()) << D.Quoting << " [" << D.Delimiter << "]";
        EXPECT_EQ(int(Rows[0].size()), Grid.ColCount()) << "detected [" << D.Delimiter << "]";
        for (std::size_t R = 0; R < Rows.size(); ++R)
            for (std::size_t C = 0; C < Rows[R].size(); ++C)
                EXPECT_EQ(Rows[R][C], Grid.Cells(int(C), int(R)))
                    << D.Quoting << " [" << D.Delimiter << "] " << C << "," << R;
    }
}

TEST_F(CsvInteropTest, OemConvertAgreesWithIconv)
{
    std::string Oem;
    for (int B = 0x80; B <= 0xFF; ++B)
        if (B != 0xFF)
            Oem += char(B);
    std::ofstream(Folder + "oem.csv", std::ios::binary) << Oem << ";x\r\n1;2\r\n";
    const int Out = ::open((Folder + "utf8.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::ofstream(Folder + "oem.txt", std::ios::binary) << Oem;
    TSpawnOptions Options;
    Options.Argv = {"iconv", "-f", "CP437", "-t", "UTF-8", Folder + "oem.txt"};
    Options.OutputFd = Out;
    Options.Group = sgCallerGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    ::close(Out);
    ASSERT_GT(Started.Pid, 0);
    int Status = 0;
    ::waitpid(Started.Pid, &Status, 0);
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    TAdvStringGrid Grid(nullptr);
    Grid.SetOemConvert(true);
    Grid.LoadFromCSV(Folder + "oem.csv");
    EXPECT_EQ(ReadFile(Folder + "utf8.txt"), Grid.Cells(0, 0));
    EXPECT_EQ("x", Grid.Cells(1, 0));
}

} // namespace
