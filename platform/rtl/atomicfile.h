// platform/rtl/atomicfile.h: the atomic rewrite. A file is replaced by writing a temporary file
// in its folder, syncing it and renaming it over the old one, so that a crash at any point
// leaves either the whole old file or the whole new one.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"

#include <string>
#include <sys/types.h>

// The EFCreateError of the atomic rewrite, with the errno behind it.
class EAtomicWriteError : public EFCreateError {
public:
    EAtomicWriteError(const std::string& Msg, int Code) : EFCreateError(Msg), ErrorCode(Code) {}
    int ErrorCode;
};

// Replaces (or creates) FileName with Contents. A new file gets the umask's defaults and an
// existing one keeps its permission bits, both limited to MaxMode (0600 keeps a file private).
// A symbolic link keeps pointing where it did: the file at the end of the link is replaced, in
// its own folder, or created there when the link dangles. Raises EAtomicWriteError
// "Cannot create file "<name>". <reason>" (naming the link's end too when there is a link) and
// leaves nothing behind on failure.
//
// The temporary file is ".<name>.<8 hex digits>.tmp" beside the file, locked (flock) by its
// writer for as long as it lives. A writer killed before its rename leaves it behind; every
// rewrite first removes such leftovers of the same file that no writer holds and that have not
// changed for a minute.
void AtomicWriteFile(const std::string& FileName, const std::string& Contents,
                     mode_t MaxMode = 07777);

// A stream that rewrites FileName as a whole: it starts empty, and Commit() makes what was
// written the file. Destroyed without Commit (an exception, a crash, a kill), the old file
// stays whole; only a killed process can leave its hidden temporary file behind, for the next
// rewrite to remove. Permission bits and links as for AtomicWriteFile.
class TAtomicFileStream : public THandleStream {
public:
    // Raises EAtomicWriteError when the temporary file cannot be created.
    explicit TAtomicFileStream(const std::string& FileName, mode_t MaxMode = 07777);
    ~TAtomicFileStream() override;
    TAtomicFileStream(const TAtomicFileStream&) = delete;
    TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;

    const std::string& FileName() const { return FFileName; }
    // Syncs the data and renames it over the file; the stream is closed afterwards. Raises
    // EAtomicWriteError on failure, removing the temporary file and leaving the old file whole.
    void Commit();

private:
    std::string FFileName;
    std::string FTarget; // FileName with its symbolic links followed
    std::string FTempName;
};
