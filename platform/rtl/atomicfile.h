// platform/rtl/atomicfile.h: the atomic rewrite. A file is replaced by writing a temporary file
// in its folder, syncing it and renaming it over the old one, so that a crash at any point
// leaves either the whole old file or the whole new one.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"

#include <string>

// The EFCreateError of the atomic rewrite, with the errno behind it.
class EAtomicWriteError : public EFCreateError {
public:
    EAtomicWriteError(const std::string& Msg, int Code) : EFCreateError(Msg), ErrorCode(Code) {}
    int ErrorCode;
};

// Replaces (or creates) FileName with Contents. An existing file keeps its permission bits; a
// symbolic link keeps pointing at the file it names, which is replaced. Raises EAtomicWriteError
// "Cannot create file "<name>". <reason>" and leaves nothing behind on failure.
void AtomicWriteFile(const std::string& FileName, const std::string& Contents);

// A stream that rewrites FileName as a whole: it starts empty, and Commit() makes what was
// written the file. Destroyed without Commit (an exception, a crash, a kill), the old file
// stays whole; only a killed process can leave its hidden temporary file behind.
class TAtomicFileStream : public THandleStream {
public:
    // Raises EAtomicWriteError when the temporary file cannot be created.
    explicit TAtomicFileStream(const std::string& FileName);
    ~TAtomicFileStream() override;
    TAtomicFileStream(const TAtomicFileStream&) = delete;
    TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;

    const std::string& FileName() const { return FFileName; }
    // Syncs the data and renames it over the file; the stream is closed afterwards. Raises
    // EAtomicWriteError on failure, removing the temporary file and leaving the old file whole.
    void Commit();

private:
    std::string FFileName;
    std::string FTarget; // FileName with a symbolic link resolved
    std::string FTempName;
};
