#include "platform/rtl/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A leftover temporary is only removed once it has not changed for this long, so that a writer
// on a file system where flock does not exclude (or an older version that took no lock) is
// left alone while it works.
constexpr time_t StaleSeconds = 60;

[[noreturn]] void CreateError(const std::string& FileName, const std::string& Target, int Code)
{
    std::string Name = "\"" + FileName + "\"";
    if (Target != FileName)
        Name += " (a link to \"" + Target + "\")";
    throw EAtomicWriteError("Cannot create file " + Name + ". " + std::strerror(Code), Code);
}

std::string FolderOf(const std::string& Path)
{
    auto Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

// The file a rewrite of FileName replaces: the end of its chain of symbolic links, so that the
// links survive. A dangling link leads to the name it holds, where the rewrite creates the file
// (or fails, with the link's end in the message, when that folder does not exist).
std::string ResolveTarget(const std::string& FileName)
{
    std::string Path = FileName;
    std::vector<char> Buffer(4096);
    for (int Hops = 0;; ++Hops) {
        struct stat Info;
        if (::lstat(Path.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode))
            return Path;
        if (Hops == 40)
            CreateError(FileName, FileName, ELOOP); // a loop: no end to name
        ssize_t Length;
        while ((Length = ::readlink(Path.c_str(), Buffer.data(), Buffer.size())) >= 0 &&
               static_cast<std::size_t>(Length) == Buffer.size())
            Buffer.resize(Buffer.size() * 2);
        if (Length <= 0)
            CreateError(FileName, Path, Length < 0 ? errno : ENOENT);
        std::string Link(Buffer.data(), static_cast<std::size_t>(Length));
        Path = Link[0] == '/' ? Link : FolderOf(Path) + Link;
    }
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

// Whether Name is ".<Base>.<8 lower-case hex digits>.tmp", a temporary of a rewrite of Base.
bool IsTemporaryOf(const char* Name, const std::string& Base)
{
    std::size_t Length = std::strlen(Name);
    if (Length != Base.size() + 14 || Name[0] != '.' ||
        std::memcmp(Name + 1, Base.data(), Base.size()) != 0 || Name[Base.size() + 1] != '.' ||
        std::strcmp(Name + Length - 4, ".tmp") != 0)
        return false;
    for (std::size_t i = Base.size() + 2; i < Length - 4; ++i)
        if (!((Name[i] >= '0' && Name[i] <= '9') || (Name[i] >= 'a' && Name[i] <= 'f')))
            return false;
    return true;
}

// Removes the temporaries of Base in Folder that writers killed before their rename left
// behind. A living writer holds the flock of its temporary, so one that can be locked here has
// none; the lock is held while the name is checked and removed, which a new writer notices
// (see LockTemporary). Failures leave the file where it is: this is housekeeping.
void RemoveStaleTemporaries(const std::string& Folder, const std::string& Base)
{
    DIR* Dir = ::opendir(Folder.empty() ? "." : Folder.c_str());
    if (Dir == nullptr)
        return;
    int DirFd = ::dirfd(Dir);
    time_t Now = ::time(nullptr);
    while (const dirent* Entry = ::readdir(Dir)) {
        if (!IsTemporaryOf(Entry->d_name, Base))
            continue;
        struct stat Named;
        if (::fstatat(DirFd, Entry->d_name, &Named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(Named.st_mode) || Now - Named.st_mtim.tv_sec < StaleSeconds)
            continue;
        int Fd = ::openat(DirFd, Entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (Fd < 0 && errno == EACCES)
            Fd = ::openat(DirFd, Entry->d_name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (Fd < 0)
            continue;
        struct stat Held;
        if (::flock(Fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(Fd, &Held) == 0 && Held.st_nlink > 0 &&
            ::fstatat(DirFd, Entry->d_name, &Named, AT_SYMLINK_NOFOLLOW) == 0 &&
            Named.st_dev == Held.st_dev && Named.st_ino == Held.st_ino)
            ::unlinkat(DirFd, Entry->d_name, 0);
        ::close(Fd);
    }
    ::closedir(Dir);
}

// Takes the lock that tells cleaners the temporary is alive. False when a cleaner got to it
// first (it holds the lock, or already removed the name): the writer then takes another name.
bool LockTemporary(int Handle)
{
    if (::flock(Handle, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK; // a file system without flock: the age rule protects it
    struct stat Info;
    return ::fstat(Handle, &Info) == 0 && Info.st_nlink > 0;
}

// Creates the hidden temporary file next to Target, with Target's permission bits when it exists
// (the umask's defaults otherwise), limited to MaxMode. Returns its descriptor, locked; the name
// goes to TempName.
int CreateTemporary(const std::string& FileName, const std::string& Target, mode_t MaxMode,
                    std::string& TempName)
{
    if (FileName.empty() || Target.back() == '/')
        CreateError(FileName, Target, Target.empty() ? ENOENT : EISDIR);
    std::string Folder = FolderOf(Target);
    // Kept well under the 255-byte name limit.
    std::string Base = Target.substr(Folder.size(), 200);

    struct stat Old;
    bool Exists = ::stat(Target.c_str(), &Old) == 0;
    if (Exists && S_ISDIR(Old.st_mode))
        CreateError(FileName, Target, EISDIR);
    RemoveStaleTemporaries(Folder, Base);

    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        TempName = Folder + "." + Base + "." + RandomSuffix() + ".tmp";
        // Created with no more than MaxMode allows, so that a private file's new contents are
        // never readable by others, not even for a moment.
        int Handle =
            ::open(TempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666 & MaxMode);
        if (Handle < 0 && (errno == EEXIST || errno == EINTR))
            continue;
        if (Handle < 0)
            CreateError(FileName, Target, errno);
        if (!LockTemporary(Handle)) {
            ::unlink(TempName.c_str());
            ::close(Handle);
            continue;
        }
        if (Exists && ::fchmod(Handle, Old.st_mode & 07777 & MaxMode) != 0) {
            int Code = errno;
            ::unlink(TempName.c_str());
            ::close(Handle);
            CreateError(FileName, Target, Code);
        }
        return Handle;
    }
    CreateError(FileName, Target, EEXIST);
}

// Makes the rename itself durable; file systems that cannot sync a folder are left as they are.
void SyncFolderOf(const std::string& Target)
{
    std::string Folder = FolderOf(Target);
    int Handle = ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    // A second descriptor keeps the temporary locked until it has its final name: closing the
    // first (which reports late write errors on some file systems) would release the lock.
    int Keep = ::fcntl(Handle, F_DUPFD_CLOEXEC, 0);
    if (::close(Handle) != 0 && Code == 0 && errno != EINTR)
        Code = errno;
    Handle = -1;
    if (Code == 0 && ::rename(TempName.c_str(), Target.c_str()) != 0)
        Code = errno;
    if (Code != 0)
        ::unlink(TempName.c_str());
    if (Keep >= 0)
        ::close(Keep);
    if (Code != 0)
        CreateError(FileName, Target, Code);
    SyncFolderOf(Target);
}

} // namespace

void AtomicWriteFile(const std::string& FileName, const std::string& Contents, mode_t MaxMode)
{
    std::string Target = ResolveTarget(FileName);
    std::string TempName;
    int Handle = CreateTemporary(FileName, Target, MaxMode, TempName);
    size_t Done = 0;
    while (Done < Contents.size()) {
        ssize_t N = ::write(Handle, Contents.data() + Done, Contents.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            int Code = N < 0 ? errno : EIO;
            ::unlink(TempName.c_str());
            ::close(Handle);
            CreateError(FileName, Target, Code);
        }
        Done += static_cast<size_t>(N);
    }
    Finish(Handle, TempName, Target, FileName);
}

TAtomicFileStream::TAtomicFileStream(const std::string& FileName, mode_t MaxMode)
    : THandleStream(-1), FFileName(FileName), FTarget(ResolveTarget(FileName))
{
    FHandle = CreateTemporary(FFileName, FTarget, MaxMode, FTempName);
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (FHandle >= 0) {
        // Removed while still locked, so that no cleaner works on it meanwhile.
        ::unlink(FTempName.c_str());
        ::close(FHandle);
    }
}

void TAtomicFileStream::Commit()
{
    if (FHandle < 0)
        CreateError(FFileName, FTarget, EBADF);
    Finish(FHandle, FTempName, FTarget, FFileName);
}
