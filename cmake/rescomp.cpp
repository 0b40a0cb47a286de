// cmake/rescomp.cpp: the build step that embeds resources/ into the program. It turns
// resources/<TYPE>/<NAME>.<ext> and the string tables resources/STRINGS/*.txt into one C++
// source holding the bytes and a table sorted by type and name, for platform/rtl/resources.cpp.
//
// Usage: rescomp <resources folder> <output .cpp> <file>...
// The files are listed on the command line (rather than found here) so that the build reruns
// this step when a file goes away. Any ill-formed input is an error and no output is written.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The order of the type enumeration in platform/rtl/resources.h: the table is sorted by it.
const std::vector<std::string> TypeNames = {"BITMAP", "ICON", "CURSOR", "WAVE", "RCDATA", "STRING"};
constexpr std::size_t StringType = 5;
constexpr unsigned long MaxStringId = 65535;

struct TResource {
    std::size_t Type;
    std::string Name;
    std::string Data;
    std::string Origin; // where it came from, for error messages
};

std::vector<std::string> Errors;

void Error(const std::string& Where, const std::string& What)
{
    Errors.push_back(Where + ": " + What);
}

bool ReadFile(const fs::path& Path, std::string& Data)
{
    std::ifstream In(Path, std::ios::binary);
    if (!In) {
        Error(Path.string(), "cannot read the file");
        return false;
    }
    std::ostringstream Buffer;
    Buffer << In.rdbuf();
    Data = Buffer.str();
    return true;
}

bool ValidUtf8(const std::string& S)
{
    std::size_t I = 0;
    while (I < S.size()) {
        unsigned char C = S[I];
        int Extra;
        unsigned long Code;
        if (C < 0x80) {
            ++I;
            continue;
        } else if ((C & 0xE0) == 0xC0) {
            Extra = 1;
            Code = C & 0x1F;
        } else if ((C & 0xF0) == 0xE0) {
            Extra = 2;
            Code = C & 0x0F;
        } else if ((C & 0xF8) == 0xF0) {
            Extra = 3;
            Code = C & 0x07;
        } else {
            return false;
        }
        if (I + Extra >= S.size())
            return false;
        for (int K = 1; K <= Extra; ++K) {
            unsigned char Next = S[I + K];
            if ((Next & 0xC0) != 0x80)
                return false;
            Code = (Code << 6) | (Next & 0x3F);
        }
        static const unsigned long Least[] = {0, 0x80, 0x800, 0x10000};
        if (Code < Least[Extra] || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            return false;
        I += Extra + 1;
    }
    return true;
}

std::string UpperAscii(std::string S)
{
    for (char& C : S)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    return S;
}

bool ValidName(const std::string& Name)
{
    if (Name.empty())
        return false;
    return std::all_of(Name.begin(), Name.end(), [](char C) {
        return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') ||
               C == '_' || C == '-' || C == '.';
    });
}

std::string TrimBlanks(const std::string& S)
{
    std::size_t First = S.find_first_not_of(" \t");
    if (First == std::string::npos)
        return std::string();
    std::size_t Last = S.find_last_not_of(" \t");
    return S.substr(First, Last - First + 1);
}

// Turns \n, \t and \\ into their characters; false on any other backslash.
bool Unescape(const std::string& Text, std::string& Result, std::string& Problem)
{
    Result.clear();
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '\\') {
            Result += Text[I];
            continue;
        }
        if (I + 1 == Text.size()) {
            Problem = "a backslash ends the line (write \\\\ for a backslash)";
            return false;
        }
        char Next = Text[++I];
        if (Next == 'n')
            Result += '\n';
        else if (Next == 't')
            Result += '\t';
        else if (Next == '\\')
            Result += '\\';
        else {
            Problem = std::string("unknown escape \\") + Next + " (only \\n, \\t and \\\\ exist)";
            return false;
        }
    }
    return true;
}

// Lines "<id>=<text>"; "#" starts a comment line; blank lines are skipped.
void ReadStringTable(const fs::path& Path, std::map<unsigned long, TResource>& Strings)
{
    std::string Data;
    if (!ReadFile(Path, Data))
        return;
    if (Data.compare(0, 3, "\xEF\xBB\xBF") == 0)
        Data.erase(0, 3);
    std::istringstream In(Data);
    std::string Line;
    int LineNo = 0;
    while (std::getline(In, Line)) {
        ++LineNo;
        std::string Where = Path.string() + ":" + std::to_string(LineNo);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        std::string Trimmed = TrimBlanks(Line);
        if (Trimmed.empty() || Trimmed[0] == '#')
            continue;
        std::size_t Equals = Line.find('=');
        if (Equals == std::string::npos) {
            Error(Where, "expected <id>=<text>");
            continue;
        }
        std::string IdText = TrimBlanks(Line.substr(0, Equals));
        if (IdText.empty() || IdText.size() > 5 ||
            !std::all_of(IdText.begin(), IdText.end(),
                         [](char C) { return C >= '0' && C <= '9'; })) {
            Error(Where, "the string id \"" + IdText + "\" is not a decimal number");
            continue;
        }
        unsigned long Id = std::stoul(IdText);
        if (Id > MaxStringId) {
            Error(Where, "the string id " + IdText + " is above " + std::to_string(MaxStringId));
            continue;
        }
        std::string Text, Problem;
        if (!Unescape(Line.substr(Equals + 1), Text, Problem)) {
            Error(Where, Problem);
            continue;
        }
        if (!ValidUtf8(Text)) {
            Error(Where, "the text is not valid UTF-8");
            continue;
        }
        auto Found = Strings.find(Id);
        if (Found != Strings.end()) {
            Error(Where, "duplicate string id " + std::to_string(Id) + " (first defined at " +
                             Found->second.Origin + ")");
            continue;
        }
        Strings[Id] = TResource{StringType, std::to_string(Id), Text, Where};
    }
}

void WriteSource(std::ostream& Out, const std::vector<TResource>& Resources)
{
    Out << "// Generated by cmake/rescomp.cpp from resources/: do not edit.\n"
           "#include \"platform/rtl/resources.h\"\n\n"
           "namespace {\n";
    for (std::size_t I = 0; I < Resources.size(); ++I) {
        const std::string& Data = Resources[I].Data;
        // A trailing zero, outside the size, keeps empty arrays legal and texts terminated.
        Out << "alignas(8) const unsigned char R" << I << "[] = {";
        for (std::size_t K = 0; K < Data.size(); ++K) {
            if (K % 16 == 0)
                Out << "\n    ";
            char Hex[8];
            std::snprintf(Hex, sizeof Hex, "0x%02x,", static_cast<unsigned char>(Data[K]));
            Out << Hex;
        }
        Out << "0};\n";
    }
    Out << "} // namespace\n\n"
           "extern const TEmbeddedResource EmbeddedResources[] = {\n";
    for (std::size_t I = 0; I < Resources.size(); ++I)
        Out << "    {RT_" << TypeNames[Resources[I].Type] << ", \"" << Resources[I].Name << "\", R"
            << I << ", " << Resources[I].Data.size() << "},\n";
    if (Resources.empty())
        Out << "    {RT_RCDATA, \"\", nullptr, 0},\n";
    Out << "};\n"
           "extern const std::size_t EmbeddedResourceCount = "
        << Resources.size() << ";\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rescomp <resources folder> <output .cpp> <file>...\n";
        return 2;
    }
    fs::path Root = fs::path(argv[1]).lexically_normal();
    fs::path Output = argv[2];

    std::vector<TResource> Resources;
    std::map<unsigned long, TResource> Strings;
    for (int I = 3; I < argc; ++I) {
        fs::path Path = fs::path(argv[I]).lexically_normal();
        fs::path Relative = Path.lexically_relative(Root);
        std::vector<std::string> Parts(Relative.begin(), Relative.end());
        if (Relative.empty() || Parts.front() == "..") {
            Error(Path.string(), "the file is not inside " + Root.string());
            continue;
        }
        // Hidden files (.gitkeep, editor files) are not resources.
        if (std::any_of(Parts.begin(), Parts.end(),
                        [](const std::string& Part) { return Part.front() == '.'; }))
            continue;
        if (Parts.size() != 2) {
            Error(Path.string(), "expected resources/<TYPE>/<NAME>.<ext>");
            continue;
        }
        const std::string& Folder = Parts[0];
        if (Folder == "STRINGS") {
            if (Path.extension() != ".txt")
                Error(Path.string(), "a string table must be a .txt file");
            else
                ReadStringTable(Path, Strings);
            continue;
        }
        auto Type = std::find(TypeNames.begin(), TypeNames.end(), Folder);
        if (Type == TypeNames.end() || Folder == "STRING") {
            Error(Path.string(), "unknown resource type folder \"" + Folder +
                                     "\" (BITMAP, ICON, CURSOR, WAVE, RCDATA or STRINGS)");
            continue;
        }
        std::string Name = Path.stem().string();
        if (!ValidName(Name)) {
            Error(Path.string(), "a resource name may hold only letters, digits, _, - and .");
            continue;
        }
        TResource Resource{static_cast<std::size_t>(Type - TypeNames.begin()), UpperAscii(Name),
                           std::string(), Path.string()};
        if (ReadFile(Path, Resource.Data))
            Resources.push_back(std::move(Resource));
    }
    for (auto& Entry : Strings)
        Resources.push_back(std::move(Entry.second));

    std::sort(Resources.begin(), Resources.end(), [](const TResource& A, const TResource& B) {
        return A.Type != B.Type ? A.Type < B.Type : A.Name < B.Name;
    });
    for (std::size_t I = 1; I < Resources.size(); ++I)
        if (Resources[I].Type == Resources[I - 1].Type &&
            Resources[I].Name == Resources[I - 1].Name)
            Error(Resources[I].Origin, "duplicate resource name " + Resources[I].Name + " (also " +
                                           Resources[I - 1].Origin + ")");

    if (!Errors.empty()) {
        for (const std::string& Message : Errors)
            std::cerr << "rescomp: error: " << Message << "\n";
        return 1;
    }

    fs::path Temporary = Output;
    Temporary += ".tmp";
    {
        std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
        WriteSource(Out, Resources);
        Out.close();
        if (!Out) {
            std::cerr << "rescomp: error: " << Temporary.string() << ": cannot write the file\n";
            return 1;
        }
    }
    std::error_code Code;
    fs::rename(Temporary, Output, Code);
    if (Code) {
        std::cerr << "rescomp: error: " << Output.string() << ": " << Code.message() << "\n";
        return 1;
    }
    return 0;
}
