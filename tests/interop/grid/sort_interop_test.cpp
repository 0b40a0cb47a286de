// The grid's sort against Python's stable sorted() with the equivalent key, on 5,000 generated
// rows: words, numbers with a unit and thousand separators, day-first and month-first dates,
// HTML, empty cells; each style in both directions, with and without SortFull and
// SortIgnoreBlanks, and the two compare events.
#include "controls/grid/advgrid.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/process.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

constexpr int RowTotal = 5000;
constexpr int ColTotal = 8;

// Column 0 the row's number, then words, numbers, numbers with separators, day-first dates,
// month-first dates, HTML and integers.
std::vector<std::vector<std::string>> MakeRows()
{
    std::mt19937 Random(2026);
    const auto Pick = [&Random](int N) { return static_cast<int>(Random() % unsigned(N)); };
    const std::vector<std::string> Words = {"spam",  "Ham",   "mail",  "SENDER", "filter", "apple",
                                            "Zebra", "offer", "cheap", "List",   "domain", "a"};
    const auto Word = [&] {
        std::string W = Words[static_cast<std::size_t>(Pick(int(Words.size())))];
        for (char& C : W)
            if (Pick(4) == 0)
                C = static_cast<char>(C >= 'a' && C <= 'z' ? C - 32 : C);
        return W;
    };
    const auto Thousands = [](long long V) {
        std::string Digits = std::to_string(V < 0 ? -V : V);
        std::string Out;
        for (std::size_t I = 0; I < Digits.size(); ++I) {
            if (I > 0 && (Digits.size() - I) % 3 == 0)
                Out += ',';
            Out += Digits[I];
        }
        return (V < 0 ? "-" : "") + Out;
    };
    const auto Date = [&](bool MonthFirst) {
        const int Day = 1 + Pick(31);
        const int Month = 1 + Pick(12);
        const bool Short = Pick(2) == 0;
        const int Year = Short ? Pick(100) : 1950 + Pick(81);
        char Year_[8];
        std::snprintf(Year_, sizeof Year_, Short ? "%02d" : "%d", Year);
        const char* Seps[] = {"/", "/", ".", "-"};
        const std::string Sep = Seps[Pick(4)];
        const int A = MonthFirst ? Month : Day;
        const int B = MonthFirst ? Day : Month;
        return std::to_string(A) + Sep + (Pick(2) ? "0" : "") + std::to_string(B) + Sep + Year_;
    };
    std::vector<std::vector<std::string>> Rows;
    for (int R = 0; R < RowTotal; ++R) {
        std::vector<std::string> Row(ColTotal);
        Row[0] = std::to_string(R);
        const auto Blank = [&] { return Pick(10) == 0; };
        Row[1] = Blank() ? "" : Word();
        if (!Blank()) {
            Row[2] = std::to_string(Pick(2000) - 1000);
            if (Pick(3) == 0)
                Row[2] += "." + std::to_string(Pick(10));
            Row[2] += " kg";
        }
        if (!Blank())
            Row[3] = Thousands((Pick(2) ? 1LL : -1LL) * Pick(3000000)) +
                     (Pick(2) ? "." + std::to_string(Pick(100)) : "") + " kg";
        Row[4] = Blank() ? "" : Date(false);
        Row[5] = Blank() ? "" : Date(true);
        switch (Pick(5)) {
        case 0:
            Row[6] = "<b>" + Word() + "</b>";
            break;
        case 1:
            Row[6] = Word() + " <i>" + Word() + "</i>";
            break;
        case 2:
            Row[6] = "<font color=\"red\">" + Word() + "</font>" + std::to_string(Pick(10));
            break;
        case 3:
            Row[6] = Word();
            break;
        default:
            break;
        }
        Row[7] = Blank() ? "" : std::to_string(Pick(200) - 100);
        Rows.push_back(Row);
    }
    return Rows;
}

// The columns' own formats; a case overrides its sort column's style.
const int DefaultStyles[ColTotal] = {2, 1, 2, 9, 6, 7, 13, 0};

std::string SuffixOf(int Col)
{
    return Col == 2 || Col == 3 ? " kg" : "";
}

struct TCase {
    std::string Name;
    int Col;
    TSortStyle Style;
    bool Descending;
    bool Full;
    bool Blanks;
};

const char* PythonScript = R"PY(
import datetime, re, sys

rows = [l.split('\t') for l in open(sys.argv[1], encoding='utf-8').read().split('\n') if l]
cases = [l.split('\t') for l in open(sys.argv[2], encoding='utf-8').read().split('\n') if l]
DEFAULT = [2, 1, 2, 9, 6, 7, 13, 0]
EPOCH = datetime.date(1899, 12, 30)

def num(s, suffix, drop):
    if s == '':
        return 0.0
    if suffix:
        s = s.replace(suffix, '', 1)
    if drop:
        s = s.replace(',', '')
    return float(s)

def date(s, month_first):
    sep = '/' if '/' in s else ('.' if '.' in s else '-')
    parts = s.split(sep)
    if len(parts) != 3 or not all(p.isdigit() for p in parts):
        return 0
    a, b, y = (int(p) for p in parts)
    if len(parts[2]) <= 2:
        y += 1900 if y > 25 else 2000
    m, d = (a, b) if month_first else (b, a)
    try:
        return (datetime.date(y, m, d) - EPOCH).days
    except ValueError:
        return 0

def key(col, style, s):
    suffix = ' kg' if col in (2, 3) else ''
    if style == 1:
        return s
    if style == 4:
        return s.upper()
    if style in (2, 9):
        return num(s, suffix, style == 9)
    if style in (6, 7):
        return date(s, style == 7)
    if style == 13:
        return re.sub('<[^>]*>', '', s)
    if style == 0:
        return s if col == 1 else num(s, suffix, False)
    if style == 8:
        return (len(s), s)
    if style == 12:
        return num(rows[int(s)][7], '', False)
    raise ValueError(style)

out = []
for name, col, style, desc, full, blanks in cases:
    col, style, desc, full, blanks = int(col), int(style), desc == '1', full == '1', blanks == '1'
    cols = range(col, 8) if full else [col]
    def k(i):
        parts = []
        for c in cols:
            s = rows[i][c]
            st = style if c == col else DEFAULT[c]
            cell = rows[i][0] if st == 12 else s
            v = key(c, st, cell)
            if blanks:
                v = ((s == '') != desc, v)
            parts.append(v)
        return tuple(parts)
    order = sorted(range(len(rows)), key=k, reverse=desc)
    out.append(name + '\t' + ' '.join(rows[i][0] for i in order))
open(sys.argv[3], 'w').write('\n'.join(out) + '\n')
)PY";

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

class SortInteropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = FormatSettings;
        FormatSettings.ThousandSeparator = ',';
        FormatSettings.DecimalSeparator = '.';
    }
    void TearDown() override { FormatSettings = Saved; }

    // Python's orders for the cases, by name.
    std::map<std::string, std::string>
    PythonOrders(const std::vector<std::vector<std::string>>& Rows, const std::vector<TCase>& Cases)
    {
        std::string Data;
        for (const auto& Row : Rows) {
            for (int C = 0; C < ColTotal; ++C)
                Data += (C > 0 ? "\t" : "") + Row[static_cast<std::size_t>(C)];
            Data += '\n';
        }
        std::string CaseText;
        for (const TCase& Case : Cases)
            CaseText += Case.Name + '\t' + std::to_string(Case.Col) + '\t' +
                        std::to_string(Case.Style) + '\t' + (Case.Descending ? "1" : "0") + '\t' +
                        (Case.Full ? "1" : "0") + '\t' + (Case.Blanks ? "1" : "0") + '\n';
        const std::string Script = Temp.Path() + "/sortkeys.py";
        const std::string DataFile = Temp.Path() + "/rows.tsv";
        const std::string CaseFile = Temp.Path() + "/cases.tsv";
        const std::string OutFile = Temp.Path() + "/orders.tsv";
        TestSupport::WriteAll(Script, PythonScript);
        TestSupport::WriteAll(DataFile, Data);
        TestSupport::WriteAll(CaseFile, CaseText);
        EXPECT_EQ(RunPython({"python3", Script, DataFile, CaseFile, OutFile}), 0);
        std::map<std::string, std::string> Orders;
        std::istringstream In(TestSupport::ReadAll(OutFile));
        std::string Line;
        while (std::getline(In, Line)) {
            const std::size_t Tab = Line.find('\t');
            Orders[Line.substr(0, Tab)] = Line.substr(Tab + 1);
        }
        return Orders;
    }

    std::string OurOrder(const std::vector<std::vector<std::string>>& Rows, const TCase& Case)
    {
        TAdvStringGrid Grid(nullptr);
        Grid.SetColCount(ColTotal);
        Grid.SetRowCount(RowTotal + 1);
        for (int R = 0; R < RowTotal; ++R)
            for (int C = 0; C < ColTotal; ++C)
                Grid.SetCells(C, R + 1,
                              Rows[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)]);
        Grid.OnGetFormat = [&Case](TObject*, int ACol, TSortStyle& Style, std::string&,
                                   std::string& Suffix) {
            Style = ACol == Case.Col ? Case.Style : DefaultStyles[ACol];
            Suffix = SuffixOf(ACol);
        };
        Grid.OnCustomCompare = [](TObject*, const std::string& A, const std::string& B, int& Res) {
            Res = A.size() != B.size() ? (A.size() < B.size() ? -1 : 1) : A.compare(B);
        };
        Grid.OnRawCompare = [&Grid](TObject*, int, int Row1, int Row2, int& Res) {
            const std::string A = Grid.Cells(7, Row1);
            const std::string B = Grid.Cells(7, Row2);
            const int X = A.empty() ? 0 : std::stoi(A);
            const int Y = B.empty() ? 0 : std::stoi(B);
            Res = X < Y ? -1 : (X > Y ? 1 : 0);
        };
        Grid.SetSortColumn(Case.Col);
        Grid.SetSortDirection(Case.Descending ? sdDescending : sdAscending);
        Grid.SetSortFull(Case.Full);
        Grid.SetSortIgnoreBlanks(Case.Blanks);
        Grid.SortByColumn();
        std::string Order;
        for (int R = 1; R <= RowTotal; ++R)
            Order += (R > 1 ? " " : "") + Grid.Cells(0, R);
        return Order;
    }

    TFormatSettings Saved;
    TestSupport::TTempFolder Temp;
};

TEST_F(SortInteropTest, EveryStyleSortsAsPythonsStableSortedWithTheSameKey)
{
    struct TColumnStyle {
        int Col;
        TSortStyle Style;
        bool BlanksOnly;
    };
    const std::vector<TColumnStyle> Styles = {
        {1, 1, false},
        {1, 4, false},
        {2, 2, false},
        {3, 9, false},
        {4, 6, false},
        {5, 7, false},
        {6, 13, false},
        {7, 0, false},
        // Words under the automatic style: an empty cell reads as a number, so only with the
        // blanks set apart is the order a key order.
        {1, 0, true}};
    std::vector<TCase> Cases;
    for (const TColumnStyle& S : Styles)
        for (int Flags = 0; Flags < 8; ++Flags) {
            const bool Blanks = (Flags & 4) != 0;
            if (S.BlanksOnly && !Blanks)
                continue;
            Cases.push_back(TCase{"col" + std::to_string(S.Col) + "-style" +
                                      std::to_string(S.Style) + "-" + std::to_string(Flags),
                                  S.Col, S.Style, (Flags & 1) != 0, (Flags & 2) != 0, Blanks});
        }
    for (int Desc = 0; Desc < 2; ++Desc) {
        Cases.push_back(TCase{"custom-" + std::to_string(Desc), 1, 8, Desc == 1, false, false});
        Cases.push_back(TCase{"raw-" + std::to_string(Desc), 6, 12, Desc == 1, false, false});
    }
    const auto Rows = MakeRows();
    const auto Expected = PythonOrders(Rows, Cases);
    ASSERT_EQ(Expected.size(), Cases.size());
    for (const TCase& Case : Cases) {
        const std::string Ours = OurOrder(Rows, Case);
        const std::string& Theirs = Expected.at(Case.Name);
        if (Ours != Theirs) {
            std::size_t At = 0;
            while (At < Ours.size() && At < Theirs.size() && Ours[At] == Theirs[At])
                ++At;
            ADD_FAILURE() << Case.Name << " differs near: ours '"
                          << Ours.substr(At > 20 ? At - 20 : 0, 60) << "' python '"
                          << Theirs.substr(At > 20 ? At - 20 : 0, 60) << "'";
        }
    }
}

} // namespace
