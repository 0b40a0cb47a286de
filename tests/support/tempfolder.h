// tests/support/tempfolder.h: a fresh folder for each test, removed after it, and whole-file
// reads and writes for checking what the code under test put on disk.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace TestSupport {

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadAll(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

inline void WriteAll(const std::string& FileName, const std::string& Contents)
{
    std::ofstream(FileName, std::ios::binary) << Contents;
}

// An empty folder of its own under the test temporary folder, removed with all it holds when
// the object goes, even when a test left it read-only.
class TTempFolder {
public:
    TTempFolder()
    {
        std::string Pattern = ::testing::TempDir() + "tarnwickXXXXXX";
        if (::mkdtemp(Pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(),
                                    "cannot make a folder in " + ::testing::TempDir());
        FPath = Pattern + "/";
    }
    ~TTempFolder()
    {
        ::chmod(FPath.c_str(), 0700);
        std::error_code Error;
        std::filesystem::remove_all(FPath, Error);
        if (Error)
            ADD_FAILURE() << "cannot remove " << FPath << ": " << Error.message();
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // Ends with '/', so that a file name can be appended.
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// A fixture whose tests each get a fresh Folder (ending with '/').
class TempFolderTest : public ::testing::Test {
protected:
    TTempFolder Temp;
    const std::string Folder = Temp.Path();
};

} // namespace TestSupport
