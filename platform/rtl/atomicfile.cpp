#include "platform/rtl/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void CreateError(const std::string& FileName, int Code)
{
    throw EAtomicWriteError("Cannot create file \"" + FileName + "\". " + std::strerror(Code),
                            Code);
}

// The file a rewrite of FileName replaces: the end of a symbolic link, so that the link survives.
std::string ResolveTarget(const std::string& FileName)
{
    struct stat Info;
    if (::lstat(FileName.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode))
        return FileName;
    char* Resolved = ::realpath(FileName.c_str(), nullptr);
    if (Resolved == nullptr)
        return FileName; // a dangling link is replaced by the file
    std::string Result = Resolved;
    std::free(Resolved);
    return Result;
}

std::string RandomSuffix()
{
    static std::atomic<unsigned long long> Counter{0};
    timespec Now;
    ::clock_gettime(CLOCK_REALTIME, &Now);
    unsigned long long X = Counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL;
    X ^= static_cast<unsigned long long>(Now.tv_nsec) ^
         (static_cast<unsigned long long>(Now.tv_sec) << 30) ^
         (static_cast<unsigned long long>(::getpid()) << 40);
    X ^= X >> 31;
    X *= 0xBF58476D1CE4E5B9ULL;
    X ^= X >> 27;
    char Text[17];
    std::snprintf(Text, sizeof Text, "%016llx", X);
    return std::string(Text, 8);
}

// Creates the hidden temporary file next to Target, with Target's permission bits when it exists
// (the umask's defaults otherwise). Returns its descriptor; the name goes to TempName.
int CreateTemporary(const std::string& FileName, const std::string& Target, std::string& TempName)
{
    if (FileName.empty() || Target.back() == '/')
        CreateError(FileName, Target.empty() ? ENOENT : EISDIR);
    auto Slash = Target.rfind('/');
    std::string Folder = Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
    // Kept well under the 255-byte name limit.
    std::string Base = Target.substr(Slash == std::string::npos ? 0 : Slash + 1, 200);

    struct stat Old;
    bool Exists = ::stat(Target.c_str(), &Old) == 0;
    if (Exists && S_ISDIR(Old.st_mode))
        CreateError(FileName, EISDIR);

    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        TempName = Folder + "." + Base + "." + RandomSuffix() + ".tmp";
        int Handle = ::open(TempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Handle < 0 && (errno == EEXIST || errno == EINTR))
            continue;
        if (Handle < 0)
            CreateError(FileName, errno);
        if (Exists && ::fchmod(Handle, Old.st_mode & 07777) != 0) {
            int Code = errno;
            ::close(Handle);
            ::unlink(TempName.c_str());
            CreateError(FileName, Code);
        }
        return Handle;
    }
    CreateError(FileName, EEXIST);
}

// Makes the rename itself durable; file systems that cannot sync a folder are left as they are.
void SyncFolderOf(const std::string& Target)
{
    auto Slash = Target.rfind('/');
    std::string Folder = Slash == std::string::npos ? "." : Target.substr(0, Slash + 1);
    int Handle = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Handle >= 0) {
        ::fsync(Handle);
        ::close(Handle);
    }
}

// Syncs and closes Handle, then renames TempName over Target. Handle is -1 afterwards; on failure
// the temporary file is gone and EFCreateError names FileName.
void Finish(int& Handle, const std::string& TempName, const std::string& Target,
            const std::string& FileName)
{
    int Code = 0;
    if (::fsync(Handle) != 0)
        Code = errno;
    if (::close(Handle) != 0 && Code == 0 && errno != EINTR)
        Code = errno;
    Handle = -1;
    if (Code == 0 && ::rename(TempName.c_str(), Target.c_str()) != 0)
        Code = errno;
    if (Code != 0) {
        ::unlink(TempName.c_str());
        CreateError(FileName, Code);
    }
    SyncFolderOf(Target);
}

} // namespace

void AtomicWriteFile(const std::string& FileName, const std::string& Contents)
{
    std::string Target = ResolveTarget(FileName);
    std::string TempName;
    int Handle = CreateTemporary(FileName, Target, TempName);
    size_t Done = 0;
    while (Done < Contents.size()) {
        ssize_t N = ::write(Handle, Contents.data() + Done, Contents.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            int Code = N < 0 ? errno : EIO;
            ::close(Handle);
            ::unlink(TempName.c_str());
            CreateError(FileName, Code);
        }
        Done += static_cast<size_t>(N);
    }
    Finish(Handle, TempName, Target, FileName);
}

TAtomicFileStream::TAtomicFileStream(const std::string& FileName)
    : THandleStream(-1), FFileName(FileName), FTarget(ResolveTarget(FileName))
{
    FHandle = CreateTemporary(FFileName, FTarget, FTempName);
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (FHandle >= 0) {
        ::close(FHandle);
        ::unlink(FTempName.c_str());
    }
}

void TAtomicFileStream::Commit()
{
    if (FHandle < 0)
        CreateError(FFileName, EBADF);
    Finish(FHandle, FTempName, FTarget, FFileName);
}
