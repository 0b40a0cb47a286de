// The text-file editor on a generated file of 1,000,000 lines, in interleaved rounds after an
// untimed pass that fills the caches: loading it with word wrap at 80 against a plain C++ reader
// splitting it into a vector of strings (limit 3 times), and finding a word on its last line,
// with and without case, against `grep -c -F` and `grep -c -F -i` (limit 2 times each).
// Usage: bench_editor_load_search [--rounds N]
#include "bench/rounds.h"
#include "controls/entry/ovcedit.h"
#include "controls/entry/ovctfedit.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int LineCount = 1000000;
const std::string Target = "quuxplorator";

// Lines of 0 to 160 characters of words, CR LF ended; the target word only on the last one.
void WriteFile(const std::string& Name)
{
    const char* Words[] = {"spam", "ham", "mail",      "sender", "filter", "message",
                           "the",  "of",  "Received:", "from",   "by",     "with",
                           "id",   "for", "subject",   "list"};
    std::uint32_t Seed = 2026;
    const auto Next = [&Seed](std::uint32_t N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 16) % N;
    };
    std::string Text;
    Text.reserve(100u * LineCount);
    for (int Line = 0; Line < LineCount; ++Line) {
        const std::size_t Length = Next(161);
        const std::size_t Start = Text.size();
        while (Text.size() - Start < Length) {
            if (Text.size() > Start)
                Text += ' ';
            Text += Words[Next(16)];
        }
        if (Line == LineCount - 1)
            Text += " " + Target + " end";
        Text += "\r\n";
    }
    std::ofstream(Name, std::ios::binary) << Text;
}

// The floor: the whole file read at once and split into lines.
std::vector<std::string> ReadLines(const std::string& Name)
{
    std::vector<std::string> Lines;
    FILE* F = std::fopen(Name.c_str(), "rb");
    if (F == nullptr)
        return Lines;
    std::string Text(std::filesystem::file_size(Name), '\0');
    Text.resize(std::fread(Text.data(), 1, Text.size(), F));
    std::fclose(F);
    const char* At = Text.data();
    const char* const End = At + Text.size();
    while (At < End) {
        const char* Eol = static_cast<const char*>(std::memchr(At, '\n', End - At));
        if (Eol == nullptr)
            Eol = End;
        const char* Stop = Eol > At && Eol[-1] == '\r' ? Eol - 1 : Eol;
        Lines.emplace_back(At, Stop);
        At = Eol + 1;
    }
    return Lines;
}

int CountOf(const std::string& Command)
{
    FILE* Pipe = popen(Command.c_str(), "r");
    if (Pipe == nullptr)
        return -1;
    int Value = -1;
    if (std::fscanf(Pipe, "%d", &Value) != 1)
        Value = -1;
    pclose(Pipe);
    return Value;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("TARNWICK_BACKEND", "headless", 0);
    int Rounds = 5;
    for (int I = 1; I + 1 < argc; ++I)
        if (std::string(argv[I]) == "--rounds")
            Rounds = std::max(1, std::atoi(argv[I + 1]));
    std::string Template = (std::filesystem::temp_directory_path() / "tarnwick-edbench-XXXXXX");
    if (mkdtemp(Template.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string File = Template + "/lines.txt";
    WriteFile(File);

    TOvcTextFileEditor Editor(nullptr);
    Editor.SetTrimWhiteSpace(false);
    Editor.SetWrapColumn(80);
    Editor.SetWordWrap(true);
    const auto Load = [&] { Editor.LoadFromFile(File); };
    const auto Find = [&](Word Options) {
        Editor.SetCaretPosition(1, 1);
        return Editor.Search(Target, "", Options);
    };
    const std::string Grep = "LC_ALL=C grep -c -F " + Target + " '" + File + "'";
    const std::string GrepNoCase = "LC_ALL=C grep -c -F -i " + Target + " '" + File + "'";

    int Status = 0;
    Load();
    std::vector<std::string> Kept = ReadLines(File);
    if (Editor.ParaCount() != LineCount + 1 || Kept.size() != LineCount) {
        std::fprintf(stderr, "the editor holds %d paragraphs, the reader %zu lines\n",
                     Editor.ParaCount(), Kept.size());
        Status = 1;
    }
    if (Find(soMatchCase) != 0 || Editor.SelStart().Para != LineCount || Find(0) != 0 ||
        CountOf(Grep) != 1 || CountOf(GrepNoCase) != 1) {
        std::fprintf(stderr, "the word on the last line was not found once\n");
        Status = 1;
    }
    TTimes Loading, Reading, Searching, SearchingNoCase, Grepping, GreppingNoCase;
    for (int R = 0; R < Rounds && Status == 0; ++R) {
        Loading.Values.push_back(TimeOf(Load));
        // Like the editor, the reader drops the text it holds and reads the file again.
        Reading.Values.push_back(TimeOf([&] {
            Kept.clear();
            Kept = ReadLines(File);
        }));
        Searching.Values.push_back(TimeOf([&] { Find(soMatchCase); }));
        Grepping.Values.push_back(TimeOf([&] { CountOf(Grep); }));
        SearchingNoCase.Values.push_back(TimeOf([&] { Find(0); }));
        GreppingNoCase.Values.push_back(TimeOf([&] { CountOf(GrepNoCase); }));
    }
    if (Status == 0) {
        std::printf(
            "lines: %d (%d screen lines at 80), %ju bytes, rounds: %d, median (min .. max)\n",
            LineCount, Editor.LineCount(),
            static_cast<std::uintmax_t>(std::filesystem::file_size(File)), Rounds);
        Reading.Print("C++ reader into a vector of strings");
        Loading.Print("TOvcTextFileEditor load, wrap at 80");
        Grepping.Print("grep -c -F");
        Searching.Print("Search with case");
        GreppingNoCase.Print("grep -c -F -i");
        SearchingNoCase.Print("Search without case");
        const auto Ratio = [&Status](const char* Label, const TTimes& Ours, const TTimes& Peer,
                                     double Limit) {
            const double Value = Ours.Median() / Peer.Median();
            std::printf("%-40s %8.2f\n", Label, Value);
            if (Value > Limit) {
                std::fprintf(stderr, "%s is over its limit\n", Label);
                Status = 1;
            }
        };
        Ratio("load / reader (limit 3)", Loading, Reading, 3);
        Ratio("search with case / grep (limit 2)", Searching, Grepping, 2);
        Ratio("search without case / grep -i (limit 2)", SearchingNoCase, GreppingNoCase, 2);
    }
    std::filesystem::remove_all(Template);
    return Status;
}
