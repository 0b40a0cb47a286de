// Replays a fuzz corpus without libFuzzer: every file named on the command line, or every file
// in a folder named there, goes once through LLVMFuzzerTestOneInput. CTest runs this over the
// committed corpora so that a fixed crash stays fixed in every build, sanitizers included.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

static void RunFile(const std::filesystem::path& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::vector<char> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

int main(int argc, char** argv)
{
    int Count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path Arg(argv[i]);
        if (std::filesystem::is_directory(Arg)) {
            for (const auto& Entry : std::filesystem::recursive_directory_iterator(Arg))
                if (Entry.is_regular_file()) {
                    RunFile(Entry.path());
                    ++Count;
                }
        } else {
            RunFile(Arg);
            ++Count;
        }
    }
    std::printf("replayed %d inputs\n", Count);
    return 0;
}
