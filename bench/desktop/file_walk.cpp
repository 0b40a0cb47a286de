// The file search's walk against `find -iname` on a generated tree of 100,000 files whose times
// spread over years: all look for one name without regard to case, in interleaved rounds after
// an untimed pass that fills the caches. The walk without details does what `find -iname` does
// (names and kinds from the folders) and fails the run when it takes over 1.5 times as long.
// The walk with details (as the file-search window runs it) looks up every file; it is shown
// against `find -iname`, against `find -iname -printf` (which looks up only the matches) and
// against a find that looks up and formats every entry as well.
// Usage: bench_file_walk [--rounds N]
#include "bench/rounds.h"
#include "desktop/fileiterator.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FolderCount = 100; // each with 10 subfolders of 100 files
constexpr int SubCount = 10;
constexpr int FilesPerSub = 100;
const std::string Target = "foo.exe";

void BuildTree(const std::string& Root)
{
    for (int F = 0; F < FolderCount; ++F)
        for (int S = 0; S < SubCount; ++S) {
            const std::string Sub = Root + "/dir" + std::to_string(F) + "/sub" + std::to_string(S);
            std::filesystem::create_directories(Sub);
            for (int N = 0; N < FilesPerSub; ++N) {
                const std::string Name = (F * SubCount + S) % 97 == 0 && N == 0
                                             ? "FOO.exe"
                                             : "file" + std::to_string(N) + ".dat";
                const std::string Path = Sub + "/" + Name;
                std::ofstream(Path) << N;
                // A spread of times over fifteen years, as on a disk in use.
                const time_t When =
                    1262304000 + (F * 7919 + S * 104729 + static_cast<time_t>(N) * 15485863) %
                                     (15 * 365 * 86400);
                const struct timespec Times[2] = {{When, 0}, {When, 0}};
                utimensat(AT_FDCWD, Path.c_str(), Times, 0);
            }
        }
}

int WalkOnce(const std::string& Root, TFileIteratorOptions Options)
{
    TFileIterator Iterator(nullptr);
    Iterator.SetRootFolder(Root);
    Iterator.SetOptions(Options);
    int Found = 0;
    Iterator.OnAddFileQuery = [](TObject*, const std::string& Name, const TFileInfo&,
                                 bool& CanAdd) {
        const std::size_t Slash = Name.rfind('/');
        CanAdd = SameText(Name.substr(Slash + 1), Target);
    };
    Iterator.OnAddFile = [&Found](TObject*, const std::string&, const TFileInfo&) { ++Found; };
    Iterator.Run();
    return Found;
}

// The number of lines a shell command prints.
int CountLines(const std::string& Command)
{
    FILE* Pipe = popen(Command.c_str(), "r");
    if (Pipe == nullptr)
        return -1;
    int Lines = 0;
    for (int C = 0; (C = std::fgetc(Pipe)) != EOF;)
        Lines += C == '\n';
    pclose(Pipe);
    return Lines;
}

} // namespace

int main(int argc, char** argv)
{
    int Rounds = 7;
    for (int I = 1; I + 1 < argc; ++I)
        if (std::string(argv[I]) == "--rounds")
            Rounds = std::max(1, std::atoi(argv[I + 1]));
    std::string Template = (std::filesystem::temp_directory_path() / "tarnwick-walk-XXXXXX");
    if (mkdtemp(Template.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string Root = Template;
    BuildTree(Root);
    const std::string Find = "find '" + Root + "' -iname '" + Target + "'";
    const std::string FindPrintf = Find + " -printf '%s %T@\\n'";
    // Actions are not reordered after -iname, so this one looks up every entry.
    const std::string FindStatAll = "find '" + Root + "' -fprintf /dev/null '%s %T@\\n' -iname '" +
                                    Target + "' -printf '%s %T@\\n'";
    const TFileIteratorOptions Names{fiPath, fiRecurseFolders};
    const TFileIteratorOptions Details{fiPath, fiDetails, fiRecurseFolders};
    const int Expected = CountLines(Find);
    const std::vector<int> Counts = {WalkOnce(Root, Names), WalkOnce(Root, Details),
                                     CountLines(FindPrintf), CountLines(FindStatAll)};
    int Status = 0;
    for (int Count : Counts)
        if (Count != Expected || Expected <= 0) {
            std::fprintf(stderr, "found %d files where find -iname found %d\n", Count, Expected);
            Status = 1;
        }
    TTimes Walk, Detailed, FindNames, FindMatches, FindAll;
    for (int R = 0; R < Rounds && Status == 0; ++R) {
        Walk.Values.push_back(TimeOf([&] { WalkOnce(Root, Names); }));
        FindNames.Values.push_back(TimeOf([&] { CountLines(Find); }));
        Detailed.Values.push_back(TimeOf([&] { WalkOnce(Root, Details); }));
        FindMatches.Values.push_back(TimeOf([&] { CountLines(FindPrintf); }));
        FindAll.Values.push_back(TimeOf([&] { CountLines(FindStatAll); }));
    }
    if (Status == 0) {
        std::printf("files: %d, rounds: %d, median (min .. max)\n",
                    FolderCount * SubCount * FilesPerSub, Rounds);
        FindNames.Print("find -iname");
        FindMatches.Print("find -iname -printf (looks up the matches)");
        FindAll.Print("find looking up every entry");
        Walk.Print("TFileIterator without details");
        Detailed.Print("TFileIterator with details");
        const auto Ratio = [](const char* Label, const TTimes& Ours, const TTimes& Peer) {
            std::printf("%-44s %7.2f\n", Label, Ours.Median() / Peer.Median());
        };
        Ratio("without details / find -iname (limit 1.5)", Walk, FindNames);
        Ratio("with details / find -iname", Detailed, FindNames);
        Ratio("with details / find -iname -printf", Detailed, FindMatches);
        Ratio("with details / find looking up every entry", Detailed, FindAll);
        if (Walk.Median() > 1.5 * FindNames.Median()) {
            std::fprintf(stderr, "the walk takes over 1.5 times find's time\n");
            Status = 1;
        }
    }
    std::filesystem::remove_all(Root);
    return Status;
}
