// The file search's walk against `find -iname` on a generated tree of 100,000 files: both look
// for one name without regard to case, in interleaved rounds after an untimed walk that fills
// the caches. Prints the medians and the ratio; fails when the walk takes over 1.5 times find's.
// Usage: bench_file_walk [--rounds N]
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
                std::ofstream(Sub + "/" + Name) << N;
            }
        }
}

double Seconds(const std::chrono::steady_clock::duration& D)
{
    return std::chrono::duration<double>(D).count();
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

int FindOnce(const std::string& Root)
{
    const std::string Command = "find '" + Root + "' -iname '" + Target + "'";
    FILE* Pipe = popen(Command.c_str(), "r");
    if (Pipe == nullptr)
        return -1;
    int Lines = 0;
    for (int C = 0; (C = std::fgetc(Pipe)) != EOF;)
        Lines += C == '\n';
    pclose(Pipe);
    return Lines;
}

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
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
    const int Expected = FindOnce(Root);
    // find reports names only; so does the walk that is measured against it. The walk with
    // the file details (one look-up per file) is shown beside it.
    const TFileIteratorOptions Names{fiPath, fiRecurseFolders};
    const TFileIteratorOptions Details{fiPath, fiDetails, fiRecurseFolders};
    const int Walked = WalkOnce(Root, Names);
    WalkOnce(Root, Details);
    int Status = 0;
    if (Walked != Expected || Expected <= 0) {
        std::fprintf(stderr, "the walk found %d files, find %d\n", Walked, Expected);
        Status = 1;
    }
    std::vector<double> WalkTimes, DetailTimes, FindTimes;
    for (int R = 0; R < Rounds && Status == 0; ++R) {
        auto Start = std::chrono::steady_clock::now();
        WalkOnce(Root, Names);
        WalkTimes.push_back(Seconds(std::chrono::steady_clock::now() - Start));
        Start = std::chrono::steady_clock::now();
        WalkOnce(Root, Details);
        DetailTimes.push_back(Seconds(std::chrono::steady_clock::now() - Start));
        Start = std::chrono::steady_clock::now();
        FindOnce(Root);
        FindTimes.push_back(Seconds(std::chrono::steady_clock::now() - Start));
    }
    if (Status == 0) {
        const double Walk = Median(WalkTimes), Find = Median(FindTimes);
        const double Detailed = Median(DetailTimes);
        std::printf("files: %d, rounds: %d\n", FolderCount * SubCount * FilesPerSub, Rounds);
        std::printf("TFileIterator:               %.1f ms\n", Walk * 1000);
        std::printf("find -iname:                 %.1f ms\n", Find * 1000);
        std::printf("ratio:                       %.2f\n", Walk / Find);
        std::printf("TFileIterator with details:  %.1f ms (ratio %.2f)\n", Detailed * 1000,
                    Detailed / Find);
        if (Walk > 1.5 * Find) {
            std::fprintf(stderr, "the walk takes over 1.5 times find's time\n");
            Status = 1;
        }
    }
    std::filesystem::remove_all(Root);
    return Status;
}
