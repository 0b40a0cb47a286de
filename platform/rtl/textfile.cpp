#include "platform/rtl/textfile.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 64 * 1024;

// Writes all of Data to Handle; the errno of a failure, 0 on success.
int WriteAll(int Handle, const std::string& Data)
{
    size_t Done = 0;
    while (Done < Data.size()) {
        ssize_t N = ::write(Handle, Data.data() + Done, Data.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return N < 0 ? errno : EIO;
        Done += static_cast<size_t>(N);
    }
    return 0;
}

} // namespace

TTextFile::TTextFile() = default;

TTextFile::~TTextFile()
{
    if (FMode == TMode::Append) {
        WriteAll(FHandle, FBuffer); // a destructor cannot report a failure
        FBuffer.clear();
    }
    Discard();
}

void TTextFile::AssignFile(const std::string& FileName)
{
    if (IsOpen())
        throw EInOutError("File already open", EBUSY);
    FFileName = FileName;
}

void TTextFile::Reset()
{
    Open(TMode::Input);
}

void TTextFile::Rewrite()
{
    Open(TMode::Output);
}

void TTextFile::Append()
{
    Open(TMode::Append);
}

void TTextFile::Open(TMode Mode)
{
    CloseFile();
    if (Mode == TMode::Output) {
        try {
            FRewrite = std::make_unique<TAtomicFileStream>(FFileName);
        } catch (const EAtomicWriteError& E) {
            throw EInOutError(E.Message(), E.ErrorCode);
        }
    } else {
        int Flags = (Mode == TMode::Input ? O_RDONLY : O_WRONLY | O_APPEND) | O_CLOEXEC;
        do {
            FHandle = ::open(FFileName.c_str(), Flags);
        } while (FHandle < 0 && errno == EINTR);
        if (FHandle < 0)
            Fail("Cannot open file", errno);
        struct stat Info;
        if (::fstat(FHandle, &Info) == 0 && S_ISDIR(Info.st_mode)) {
            Discard();
            Fail("Cannot open file", EISDIR);
        }
    }
    FMode = Mode;
}

bool TTextFile::Fill()
{
    FBuffer.resize(BufferSize);
    FBufferPos = 0;
    ssize_t N;
    do {
        N = ::read(FHandle, FBuffer.data(), FBuffer.size());
    } while (N < 0 && errno == EINTR);
    if (N < 0) {
        int Code = errno;
        FBuffer.clear();
        Fail("Cannot read file", Code);
    }
    FBuffer.resize(static_cast<size_t>(N));
    return N > 0;
}

void TTextFile::ReadLn(std::string& S)
{
    CheckMode(TMode::Input);
    S.clear();
    while (FBufferPos < FBuffer.size() || Fill()) {
        size_t End = FBuffer.find_first_of("\r\n", FBufferPos);
        if (End == std::string::npos) {
            S.append(FBuffer, FBufferPos, std::string::npos);
            FBufferPos = FBuffer.size();
            continue;
        }
        S.append(FBuffer, FBufferPos, End - FBufferPos);
        FBufferPos = End + 1;
        // A CR LF may be split between two reads.
        if (FBuffer[End] == '\r' && (FBufferPos < FBuffer.size() || Fill()) &&
            FBuffer[FBufferPos] == '\n')
            ++FBufferPos;
        return;
    }
}

bool TTextFile::Eof()
{
    CheckMode(TMode::Input);
    return FBufferPos >= FBuffer.size() && !Fill();
}

void TTextFile::WriteLn(const std::string& S)
{
    CheckMode(TMode::Output);
    FBuffer += S;
    FBuffer += "\r\n";
    if (FBuffer.size() >= BufferSize)
        Flush();
}

void TTextFile::Flush()
{
    int Handle = FMode == TMode::Output ? FRewrite->Handle() : FHandle;
    int Code = WriteAll(Handle, FBuffer);
    FBuffer.clear();
    if (Code != 0) {
        // Lines are lost: a rewrite must not commit a file with a hole in it.
        Discard();
        Fail("Cannot write file", Code);
    }
}

void TTextFile::CloseFile()
{
    if (FMode == TMode::Closed)
        return;
    try {
        if (FMode == TMode::Output) {
            Flush();
            FRewrite->Commit();
        } else if (FMode == TMode::Append) {
            Flush();
            int Handle = FHandle;
            FHandle = -1;
            if (::close(Handle) != 0 && errno != EINTR)
                Fail("Cannot write file", errno);
        }
    } catch (const EAtomicWriteError& E) {
        Discard();
        throw EInOutError(E.Message(), E.ErrorCode);
    } catch (...) {
        Discard();
        throw;
    }
    Discard();
}

void TTextFile::Discard()
{
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    FRewrite.reset();
    FBuffer.clear();
    FBufferPos = 0;
    FMode = TMode::Closed;
}

void TTextFile::CheckMode(TMode Mode)
{
    if (FMode == TMode::Closed)
        throw EInOutError("File not open", EBADF);
    if (Mode == TMode::Input && FMode != TMode::Input)
        throw EInOutError("File not open for input", EBADF);
    if (Mode != TMode::Input && FMode == TMode::Input)
        throw EInOutError("File not open for output", EBADF);
}

void TTextFile::Fail(const std::string& What, int Code)
{
    throw EInOutError(What + " \"" + FFileName + "\". " + std::strerror(Code), Code);
}
