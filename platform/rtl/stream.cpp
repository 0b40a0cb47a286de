#include "platform/rtl/stream.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The largest single read or write handed to the kernel.
constexpr int64_t MaxChunk = int64_t(1) << 30;

[[noreturn]] void InvalidPosition()
{
    throw EStreamError("Invalid stream position");
}

std::string Reason(int Code)
{
    return std::strerror(Code);
}

} // namespace

// TStream

int64_t TStream::Size()
{
    int64_t Pos = Seek(0, soCurrent);
    int64_t Result = Seek(0, soEnd);
    Seek(Pos, soBeginning);
    return Result;
}

void TStream::SetSize(int64_t)
{
    throw EStreamError("Stream size cannot be changed");
}

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    constexpr int64_t BufferSize = 64 * 1024;
    std::unique_ptr<char[]> Buffer(new char[BufferSize]);
    int64_t Result = Count;
    while (Count > 0) {
        int64_t N = std::min(Count, BufferSize);
        Source->ReadBuffer(Buffer.get(), N);
        WriteBuffer(Buffer.get(), N);
        Count -= N;
    }
    return Result;
}

// TCustomMemoryStream

int64_t TCustomMemoryStream::Read(void* Buffer, int64_t Count)
{
    int64_t Available = Size() - FPosition;
    if (Count <= 0 || Available <= 0)
        return 0;
    int64_t N = std::min(Count, Available);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(N));
    FPosition += N;
    return N;
}

int64_t TCustomMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    int64_t End = 0;
    if (__builtin_add_overflow(FPosition, Count, &End))
        throw EStreamError("Out of memory while expanding memory stream");
    if (End > Size()) {
        int64_t Pos = FPosition;
        SetSize(End);
        FPosition = Pos;
    }
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = End;
    return Count;
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
    int64_t Result = 0;
    if (__builtin_add_overflow(Base, Offset, &Result) || Result < 0)
        InvalidPosition();
    FPosition = Result;
    return Result;
}

void TCustomMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0)
        throw EStreamError("Invalid stream size");
    if (static_cast<uint64_t>(NewSize) > FData.max_size())
        throw EStreamError("Out of memory while expanding memory stream");
    try {
        FData.resize(static_cast<size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
    FPosition = std::min(FPosition, NewSize);
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) const
{
    Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TCustomMemoryStream::SaveToFile(const std::string& FileName) const
{
    AtomicWriteFile(FileName, FData);
}

// TMemoryStream

void TMemoryStream::Clear()
{
    std::string().swap(FData);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    int64_t Count = Stream->Size();
    SetSize(Count);
    Stream->ReadBuffer(FData.data(), Count);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&File);
}

// TStringStream

TStringStream::TStringStream(const std::string& AString)
{
    FData = AString;
}

std::string TStringStream::ReadString(int64_t Count)
{
    int64_t Available = Size() - FPosition;
    if (Count <= 0 || Available <= 0)
        return std::string();
    int64_t N = std::min(Count, Available);
    std::string Result = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
    FPosition += N;
    return Result;
}

void TStringStream::WriteString(const std::string& S)
{
    Write(S.data(), static_cast<int64_t>(S.size()));
}

// THandleStream

int64_t THandleStream::Read(void* Buffer, int64_t Count)
{
    int64_t Done = 0;
    while (Done < Count) {
        ssize_t N = ::read(FHandle, static_cast<char*>(Buffer) + Done,
                           static_cast<size_t>(std::min(Count - Done, MaxChunk)));
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            throw EReadError("Stream read error. " + Reason(errno));
        if (N == 0)
            break;
        Done += N;
    }
    return Done;
}

int64_t THandleStream::Write(const void* Buffer, int64_t Count)
{
    int64_t Done = 0;
    while (Done < Count) {
        ssize_t N = ::write(FHandle, static_cast<const char*>(Buffer) + Done,
                            static_cast<size_t>(std::min(Count - Done, MaxChunk)));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            throw EWriteError("Stream write error. " + Reason(N < 0 ? errno : EIO));
        Done += N;
    }
    return Done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    off_t Result = ::lseek(FHandle, static_cast<off_t>(Offset), Whence);
    if (Result < 0 && errno == EINVAL)
        InvalidPosition();
    if (Result < 0)
        throw EStreamError("Stream seek error. " + Reason(errno));
    return Result;
}

int64_t THandleStream::Size()
{
    struct stat Info;
    if (::fstat(FHandle, &Info) != 0)
        throw EStreamError("Stream size error. " + Reason(errno));
    return Info.st_size;
}

void THandleStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0)
        throw EStreamError("Invalid stream size");
    int64_t Pos = Position();
    if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EWriteError("Stream write error. " + Reason(errno));
    if (Pos > NewSize)
        Seek(NewSize, soBeginning);
}

// TFileStream

TFileStream::TFileStream(const std::string& FileName, unsigned Mode)
    : THandleStream(-1), FFileName(FileName)
{
    bool Create = (Mode & fmCreate) == fmCreate;
    int Flags = O_CLOEXEC;
    if (Create) {
        Flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 3) {
        case fmOpenRead:
            Flags |= O_RDONLY;
            break;
        case fmOpenWrite:
            Flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            Flags |= O_RDWR;
            break;
        default:
            throw EFOpenError("Cannot open file \"" + FileName + "\". " + Reason(EINVAL));
        }
    }
    int Code = 0;
    do {
        FHandle = ::open(FileName.c_str(), Flags, 0666);
    } while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0) {
        Code = errno;
    } else {
        // A folder opens read-only without complaint, then fails on the first read.
        struct stat Info;
        if (::fstat(FHandle, &Info) == 0 && S_ISDIR(Info.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            Code = EISDIR;
        }
    }
    if (Code != 0) {
        if (Create)
            throw EFCreateError("Cannot create file \"" + FileName + "\". " + Reason(Code));
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + Reason(Code));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}
