// platform/ui/spreadsheetserver.cpp: the stand-in spreadsheet server. Opening a workbook runs
// Gnumeric's ssconvert (by argument vector) to write each sheet, and the sheet the workbook
// shows, as CSV into a private temporary folder; the calls of an import are answered from those
// files. The folder goes at Close, at Quit and with the server. CSV keeps only a sheet's used
// cells, so a used range is reported from A1 at its own size.
#include "platform/ui/oleauto.h"

#include "platform/rtl/process.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

const char* const SpreadsheetServerProgID = "excel.application";

namespace {

namespace fs = std::filesystem;

using TSheetCells = std::vector<std::vector<std::string>>;

struct TSheet {
    std::string Name;
    TSheetCells Cells;
};

struct TWorkbookData {
    std::vector<TSheet> Sheets;
    int Active = 0;
};

bool ConverterOnPath(std::string& Path)
{
    const char* Env = std::getenv("PATH");
    std::string Dirs = Env != nullptr ? Env : "";
    std::size_t At = 0;
    while (At <= Dirs.size()) {
        std::size_t End = Dirs.find(':', At);
        if (End == std::string::npos)
            End = Dirs.size();
        const std::string Dir = Dirs.substr(At, End - At);
        const std::string Candidate = (Dir.empty() ? "." : Dir) + "/ssconvert";
        if (::access(Candidate.c_str(), X_OK) == 0) {
            Path = Candidate;
            return true;
        }
        At = End + 1;
    }
    return false;
}

// The rows of a CSV text as ssconvert writes it: commas, double quotes doubled inside quoted
// fields, which may span lines.
TSheetCells ParseCsv(const std::string& Text)
{
    TSheetCells Rows;
    std::vector<std::string> Row;
    std::string Field;
    bool Quoted = false;
    bool Pending = false;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (Quoted) {
            if (C == '"' && I + 1 < Text.size() && Text[I + 1] == '"') {
                Field += '"';
                ++I;
            } else if (C == '"') {
                Quoted = false;
            } else {
                Field += C;
            }
            continue;
        }
        if (C == '"') {
            Quoted = true;
            Pending = true;
        } else if (C == ',') {
            Row.push_back(std::move(Field));
            Field.clear();
            Pending = true;
        } else if (C == '\n' || C == '\r') {
            if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n')
                ++I;
            Row.push_back(std::move(Field));
            Field.clear();
            Rows.push_back(std::move(Row));
            Row.clear();
            Pending = false;
        } else {
            Field += C;
            Pending = true;
        }
    }
    if (Pending) {
        Row.push_back(std::move(Field));
        Rows.push_back(std::move(Row));
    }
    return Rows;
}

std::string ReadFileText(const fs::path& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

void RunConverter(const std::string& Program, const std::vector<std::string>& Args)
{
    TSpawnOptions Options;
    Options.Argv.push_back(Program);
    Options.Argv.insert(Options.Argv.end(), Args.begin(), Args.end());
    const int Null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    Options.OutputFd = Null;
    Options.Group = sgCallerGroup;
    const TSpawnResult Started = SpawnProcess(Options);
    if (Null >= 0)
        ::close(Null);
    if (Started.Pid <= 0)
        throw EOleError("The spreadsheet converter could not be started");
    int Status = 0;
    while (::waitpid(Started.Pid, &Status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
        throw EOleError("The spreadsheet converter failed");
}

std::string ColumnLetters(int Col)
{
    std::string Letters;
    for (int N = Col; N > 0; N = (N - 1) / 26)
        Letters.insert(Letters.begin(), char('A' + (N - 1) % 26));
    return Letters;
}

// "B2" or "$B$2" as (column, row), both from 1; false for anything else.
bool ParseCellName(const std::string& Text, int& Col, int& Row)
{
    std::size_t I = 0;
    Col = 0;
    Row = 0;
    if (I < Text.size() && Text[I] == '$')
        ++I;
    const std::size_t LetterStart = I;
    while (I < Text.size() && std::isalpha(static_cast<unsigned char>(Text[I])) && Col < 1000000)
        Col = Col * 26 + (std::toupper(static_cast<unsigned char>(Text[I++])) - 'A' + 1);
    if (I == LetterStart)
        return false;
    if (I < Text.size() && Text[I] == '$')
        ++I;
    const std::size_t DigitStart = I;
    while (I < Text.size() && std::isdigit(static_cast<unsigned char>(Text[I])) && Row < 10000000)
        Row = Row * 10 + (Text[I++] - '0');
    return I == Text.size() && I > DigitStart && Row > 0;
}

[[noreturn]] void UnknownName(const std::string& Name)
{
    throw EOleError("Unknown name \"" + Name + "\"");
}

int IntArg(const std::vector<TOleVariant>& Args, std::size_t I)
{
    if (I >= Args.size())
        throw EOleError("Invalid number of parameters");
    return int(Args[I].ToInteger());
}

class TRangeObject : public IAutoObject {
public:
    TRangeObject(const TSheet* Sheet, int Col1, int Row1, int Col2, int Row2)
        : FSheet(Sheet), FCol1(Col1), FRow1(Row1), FCol2(Col2), FRow2(Row2)
    {
    }
    TOleVariant Invoke(const std::string& Name, TInvokeKind, const std::vector<TOleVariant>&,
                       const std::vector<TNamedParam>&) override
    {
        if (SameText(Name, "Address")) {
            const std::string First = "$" + ColumnLetters(FCol1) + "$" + std::to_string(FRow1);
            if (FCol1 == FCol2 && FRow1 == FRow2)
                return TOleVariant(First);
            return TOleVariant(First + ":$" + ColumnLetters(FCol2) + "$" + std::to_string(FRow2));
        }
        if (SameText(Name, "Value")) {
            TOleVariant A = TOleVariant::Array2D(FRow2 - FRow1 + 1, FCol2 - FCol1 + 1);
            for (int R = FRow1; R <= FRow2; ++R) {
                if (std::size_t(R - 1) >= FSheet->Cells.size())
                    break;
                const std::vector<std::string>& Line = FSheet->Cells[std::size_t(R - 1)];
                for (int C = FCol1; C <= FCol2; ++C)
                    if (std::size_t(C - 1) < Line.size() && !Line[std::size_t(C - 1)].empty())
                        A.SetItem(R - FRow1 + 1, C - FCol1 + 1,
                                  TOleVariant(Line[std::size_t(C - 1)]));
            }
            return A;
        }
        UnknownName(Name);
    }

private:
    const TSheet* FSheet;
    int FCol1, FRow1, FCol2, FRow2;
};

class TSheetObject : public IAutoObject {
public:
    TSheetObject(std::shared_ptr<TWorkbookData> Book, int Index)
        : FBook(std::move(Book)), FIndex(Index)
    {
    }
    TOleVariant Invoke(const std::string& Name, TInvokeKind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedParam>&) override
    {
        const TSheet& Sheet = FBook->Sheets[std::size_t(FIndex)];
        if (SameText(Name, "Name"))
            return TOleVariant(Sheet.Name);
        if (SameText(Name, "UsedRange")) {
            int Col1 = 0, Row1 = 0, Col2 = 0, Row2 = 0;
            for (std::size_t R = 0; R < Sheet.Cells.size(); ++R)
                for (std::size_t C = 0; C < Sheet.Cells[R].size(); ++C)
                    if (!Sheet.Cells[R][C].empty()) {
                        Row1 = Row1 == 0 ? int(R) + 1 : Row1;
                        Row2 = int(R) + 1;
                        Col1 = Col1 == 0 ? int(C) + 1 : std::min(Col1, int(C) + 1);
                        Col2 = std::max(Col2, int(C) + 1);
                    }
            if (Row1 == 0)
                Col1 = Row1 = Col2 = Row2 = 1;
            return TOleVariant(std::make_shared<TRangeObject>(&Sheet, Col1, Row1, Col2, Row2));
        }
        if (SameText(Name, "Range")) {
            if (Args.empty())
                throw EOleError("Invalid number of parameters");
            const std::string Text = Args[0].ToString();
            const std::size_t Colon = Text.find(':');
            int Col1 = 0, Row1 = 0, Col2 = 0, Row2 = 0;
            bool Ok = ParseCellName(Text.substr(0, Colon), Col1, Row1);
            if (Colon == std::string::npos) {
                Col2 = Col1;
                Row2 = Row1;
            } else {
                Ok = Ok && ParseCellName(Text.substr(Colon + 1), Col2, Row2);
            }
            if (!Ok || Col2 < Col1 || Row2 < Row1 ||
                std::int64_t(Col2 - Col1 + 1) * (Row2 - Row1 + 1) > 50000000)
                throw EOleError("Method Range failed: \"" + Text + "\"");
            return TOleVariant(std::make_shared<TRangeObject>(&Sheet, Col1, Row1, Col2, Row2));
        }
        UnknownName(Name);
    }

private:
    std::shared_ptr<TWorkbookData> FBook;
    int FIndex;
};

class TSheetsObject : public IAutoObject {
public:
    explicit TSheetsObject(std::shared_ptr<TWorkbookData> Book) : FBook(std::move(Book)) {}
    TOleVariant Invoke(const std::string& Name, TInvokeKind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedParam>&) override
    {
        if (SameText(Name, "Count"))
            return TOleVariant(int(FBook->Sheets.size()));
        if (SameText(Name, "Item"))
            return Sheet(FBook, IntArg(Args, 0));
        UnknownName(Name);
    }
    static TOleVariant Sheet(const std::shared_ptr<TWorkbookData>& Book, int Index)
    {
        if (Index < 1 || std::size_t(Index) > Book->Sheets.size())
            throw EOleError("Invalid index");
        return TOleVariant(std::make_shared<TSheetObject>(Book, Index - 1));
    }

private:
    std::shared_ptr<TWorkbookData> FBook;
};

class TServer;

class TWorkbookObject : public IAutoObject {
public:
    TWorkbookObject(std::shared_ptr<TServer> Server, std::shared_ptr<TWorkbookData> Book)
        : FServer(std::move(Server)), FBook(std::move(Book))
    {
    }
    TOleVariant Invoke(const std::string& Name, TInvokeKind Kind,
                       const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedParam>& Named) override;

private:
    std::shared_ptr<TServer> FServer;
    std::shared_ptr<TWorkbookData> FBook;
};

class TServer : public IAutoObject, public std::enable_shared_from_this<TServer> {
public:
    explicit TServer(std::string Program) : FProgram(std::move(Program)) {}
    ~TServer() override { RemoveFolder(); }

    TOleVariant Invoke(const std::string& Name, TInvokeKind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedParam>&) override
    {
        if (SameText(Name, "WorkBooks"))
            return TOleVariant(std::shared_ptr<IAutoObject>(shared_from_this(), &FWorkbooks));
        if (SameText(Name, "Quit")) {
            RemoveFolder();
            return TOleVariant();
        }
        (void)Args;
        UnknownName(Name);
    }

    TOleVariant Open(const std::string& FileName)
    {
        if (!fs::is_regular_file(FileName))
            throw EOleError("The workbook \"" + FileName + "\" could not be found");
        RemoveFolder();
        std::string Template = (fs::temp_directory_path() / "tarnwick-sheets-XXXXXX").string();
        if (::mkdtemp(Template.data()) == nullptr)
            throw EOleError("Cannot create a temporary folder");
        FFolder = Template;
        auto Book = std::make_shared<TWorkbookData>();
        RunConverter(FProgram,
                     {"-T", "Gnumeric_stf:stf_csv", "-S", FileName, FFolder + "/%n.%s.csv"});
        RunConverter(FProgram, {"-T", "Gnumeric_stf:stf_csv", FileName, FFolder + "/shown.csv"});
        std::vector<std::pair<int, fs::path>> Files;
        for (const fs::directory_entry& E : fs::directory_iterator(FFolder)) {
            const std::string Leaf = E.path().filename().string();
            const std::size_t Dot = Leaf.find('.');
            if (Leaf == "shown.csv" || Dot == std::string::npos || Dot == 0)
                continue;
            Files.emplace_back(std::atoi(Leaf.substr(0, Dot).c_str()), E.path());
        }
        std::sort(Files.begin(), Files.end());
        const std::string Shown = ReadFileText(FFolder + "/shown.csv");
        bool ShownFound = false;
        for (const auto& F : Files) {
            const std::string Leaf = F.second.filename().string();
            const std::size_t Dot = Leaf.find('.');
            const std::string Text = ReadFileText(F.second);
            // The sheet the workbook shows is the first whose cells are those shown.
            if (Text == Shown && !ShownFound) {
                Book->Active = int(Book->Sheets.size());
                ShownFound = true;
            }
            Book->Sheets.push_back(
                TSheet{Leaf.substr(Dot + 1, Leaf.size() - Dot - 1 - 4), ParseCsv(Text)});
        }
        if (Book->Sheets.empty())
            throw EOleError("The workbook \"" + FileName + "\" holds no sheet");
        return TOleVariant(std::make_shared<TWorkbookObject>(shared_from_this(), Book));
    }

    void RemoveFolder()
    {
        if (FFolder.empty())
            return;
        std::error_code Ignored;
        fs::remove_all(FFolder, Ignored);
        FFolder.clear();
    }

private:
    class TWorkbooks : public IAutoObject {
    public:
        explicit TWorkbooks(TServer* Server) : FServer(Server) {}
        TOleVariant Invoke(const std::string& Name, TInvokeKind,
                           const std::vector<TOleVariant>& Args,
                           const std::vector<TNamedParam>&) override
        {
            if (SameText(Name, "Open")) {
                if (Args.empty())
                    throw EOleError("Invalid number of parameters");
                return FServer->Open(Args[0].ToString());
            }
            UnknownName(Name);
        }

    private:
        TServer* FServer;
    };

    std::string FProgram;
    std::string FFolder;
    TWorkbooks FWorkbooks{this};
};

TOleVariant TWorkbookObject::Invoke(const std::string& Name, TInvokeKind,
                                    const std::vector<TOleVariant>& Args,
                                    const std::vector<TNamedParam>&)
{
    if (SameText(Name, "Sheets")) {
        if (!Args.empty())
            return TSheetsObject::Sheet(FBook, IntArg(Args, 0));
        return TOleVariant(std::make_shared<TSheetsObject>(FBook));
    }
    if (SameText(Name, "ActiveSheet"))
        return TSheetsObject::Sheet(FBook, FBook->Active + 1);
    if (SameText(Name, "Close")) {
        // Nothing is ever written back: SaveChanges is accepted and the copies go.
        FServer->RemoveFolder();
        return TOleVariant();
    }
    UnknownName(Name);
}

} // namespace

std::shared_ptr<IAutoObject> CreateSpreadsheetServer()
{
    std::string Program;
    if (!ConverterOnPath(Program))
        throw EOleSysError("Invalid class string");
    return std::make_shared<TServer>(Program);
}
