// platform/rtl/textfile.h: TTextFile, a text file read or written line by line, as the log
// writer and the list files use it. Lines are written with CR LF; reading splits at CR LF, CR or
// LF. I/O failures raise EInOutError with the errno.
#pragma once

#include <memory>
#include <string>

class TAtomicFileStream;

class TTextFile {
public:
    TTextFile();
    // An open reader or appender is closed; a Rewrite that was never closed is dropped, leaving
    // the old file whole.
    ~TTextFile();
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    // Names the file for the next Reset, Rewrite or Append; the file must be closed.
    void AssignFile(const std::string& FileName);
    const std::string& FileName() const { return FFileName; }
    bool IsOpen() const { return FMode != TMode::Closed; }

    // Opens the existing file for reading.
    void Reset();
    // Starts a new content; the file is replaced (atomically) by CloseFile.
    void Rewrite();
    // Opens the existing file for adding lines at its end.
    void Append();

    // The next line without its line end; empty at the end of the file.
    void ReadLn(std::string& S);
    bool Eof();
    void WriteLn(const std::string& S = std::string());
    // Writes what is buffered: commits a Rewrite, flushes an Append. Nothing when closed.
    void CloseFile();

private:
    enum class TMode { Closed, Input, Output, Append };

    void Open(TMode Mode);
    bool Fill(); // reads more input; false at the end of the file
    void Flush();
    void Discard();
    void CheckMode(TMode Mode);
    [[noreturn]] void Fail(const std::string& What, int Code);

    std::string FFileName;
    TMode FMode = TMode::Closed;
    int FHandle = -1; // Input and Append
    std::unique_ptr<TAtomicFileStream> FRewrite;
    std::string FBuffer;
    size_t FBufferPos = 0; // Input: the next unread byte of FBuffer
};
