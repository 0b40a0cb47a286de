// platform/rtl/stream.h: TStream, the byte stream every loader and saver works on, and its
// memory, string, handle and file kinds.
#pragma once

#include "platform/rtl/object.h"

#include <cstdint>
#include <string>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Open modes of TFileStream: one access mode, optionally or-ed with one share mode.
constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

// Positions run from 0 to Size(); a position past the end is allowed (reads there return 0,
// a write there fills the gap with zero bytes), a position before the start raises
// EStreamError.
class TStream : public TObject {
public:
    // Up to Count bytes into Buffer; returns how many came (0 at the end).
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    // Count bytes from Buffer; returns how many were written.
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    // Moves the position and returns the new one.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
    virtual int64_t Size();
    // Cuts or extends (with zero bytes) the stream; a position beyond the new end moves to it.
    virtual void SetSize(int64_t NewSize);

    // As Read and Write, but all Count bytes or EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source's position; Count 0 (or below) copies the whole of Source
    // from its start. Returns the number copied.
    int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A stream over bytes in memory: the common part of TMemoryStream and TStringStream.
class TCustomMemoryStream : public TStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t NewSize) override;

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void SaveToStream(TStream* Stream) const;
    // Writes the contents through the atomic rewrite.
    void SaveToFile(const std::string& FileName) const;

protected:
    std::string FData;
    int64_t FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    void Clear();
    // Replaces the contents with the whole of Stream (read from its start); position 0.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
};

class TStringStream : public TCustomMemoryStream {
public:
    explicit TStringStream(const std::string& AString = std::string());

    const std::string& DataString() const { return FData; }
    // Up to Count bytes from the position.
    std::string ReadString(int64_t Count);
    void WriteString(const std::string& S);
};

// A stream over an open file descriptor that it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}

    int Handle() const { return FHandle; }
    // A failing system call raises EReadError / EWriteError / EStreamError with its reason.
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override;
    void SetSize(int64_t NewSize) override;

protected:
    int FHandle;
};

// A file opened by name. Share modes are accepted and ignored: POSIX has no mandatory share
// locks, every rewrite of the program goes through the atomic rewrite (a reader keeps the
// whole old file), and the stores shared between processes take their own locks.
class TFileStream : public THandleStream {
public:
    // fmCreate creates or empties the file; the other modes open an existing file. Raises
    // EFCreateError "Cannot create file "<name>". <reason>" or EFOpenError "Cannot open file
    // "<name>". <reason>".
    TFileStream(const std::string& FileName, unsigned Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
};
