#include "platform/rtl/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileExists(const std::string& FileName)
{
    struct stat Info;
    return ::stat(FileName.c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
}

bool DirectoryExists(const std::string& Directory)
{
    struct stat Info;
    return ::stat(Directory.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

bool ForceDirectories(const std::string& Dir)
{
    if (Dir.empty())
        return false;
    std::string Path = ExcludeTrailingPathDelimiter(Dir);
    if (DirectoryExists(Path))
        return true;
    // Each prefix that ends before a '/' is a folder to have, then the whole path.
    for (size_t Slash = Path.find('/', 1);; Slash = Path.find('/', Slash + 1)) {
        std::string Prefix = Path.substr(0, Slash);
        if (!Prefix.empty() && Prefix.back() != '/' && ::mkdir(Prefix.c_str(), 0777) != 0 &&
            errno != EEXIST)
            return false;
        if (Slash == std::string::npos)
            break;
    }
    return DirectoryExists(Path);
}

bool CreateDir(const std::string& Dir)
{
    return ::mkdir(Dir.c_str(), 0777) == 0;
}

bool RemoveDir(const std::string& Dir)
{
    return ::rmdir(Dir.c_str()) == 0;
}

bool DeleteFile(const std::string& FileName)
{
    return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName)
{
    if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without no-replace renames: check first; the window between is accepted.
    struct stat Info;
    if (::lstat(NewName.c_str(), &Info) == 0)
        return false;
    return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

int64_t FileSize(const std::string& FileName)
{
    struct stat Info;
    if (::stat(FileName.c_str(), &Info) != 0 || S_ISDIR(Info.st_mode))
        return -1;
    return Info.st_size;
}

std::string GetCurrentDir()
{
    char* Folder = ::getcwd(nullptr, 0);
    if (Folder == nullptr)
        return std::string();
    std::string Result = Folder;
    std::free(Folder);
    return Result;
}

std::string ExtractFilePath(const std::string& FileName)
{
    auto Slash = FileName.rfind(PathDelim);
    return Slash == std::string::npos ? std::string() : FileName.substr(0, Slash + 1);
}

std::string ExtractFileDir(const std::string& FileName)
{
    return ExcludeTrailingPathDelimiter(ExtractFilePath(FileName));
}

std::string ExtractFileName(const std::string& FileName)
{
    auto Slash = FileName.rfind(PathDelim);
    return Slash == std::string::npos ? FileName : FileName.substr(Slash + 1);
}

std::string ExtractFileExt(const std::string& FileName)
{
    std::string Name = ExtractFileName(FileName);
    auto Dot = Name.rfind('.');
    auto NameStart = Name.find_first_not_of('.');
    if (Dot == std::string::npos || NameStart == std::string::npos || Dot < NameStart)
        return std::string();
    return Name.substr(Dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension)
{
    return FileName.substr(0, FileName.size() - ExtractFileExt(FileName).size()) + Extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& S)
{
    if (S.empty() || S.back() == PathDelim)
        return S;
    return S + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& S)
{
    auto Last = S.find_last_not_of(PathDelim);
    if (Last == std::string::npos)
        return S.empty() ? S : std::string(1, PathDelim);
    return S.substr(0, Last + 1);
}

std::string PathJoin(const std::string& Folder, const std::string& Name)
{
    return IncludeTrailingPathDelimiter(Folder) + Name;
}

std::string ToPosixPath(const std::string& StoredPath)
{
    std::string Result = StoredPath;
    for (char& C : Result)
        if (C == '\\')
            C = PathDelim;
    return Result;
}

std::string ProgramFolder()
{
    const char* Home = std::getenv("TARNWICK_HOME");
    if (Home != nullptr && *Home != '\0')
        return IncludeTrailingPathDelimiter(Home);
    std::string Exe(4096, '\0');
    ssize_t N = ::readlink("/proc/self/exe", Exe.data(), Exe.size());
    if (N <= 0 || static_cast<size_t>(N) >= Exe.size())
        return IncludeTrailingPathDelimiter(GetCurrentDir());
    Exe.resize(static_cast<size_t>(N));
    return ExtractFilePath(Exe);
}
