// platform/net/receivebuffer.h: bytes received from a connection and not yet taken, with the
// reply-line and end-of-data parsing of line-based protocols. Sockets fill it in large reads;
// bytes past a line end stay for the next read.
#pragma once

#include <cstddef>
#include <string>

// Finds the line "." that ends multi-line data (CR LF "." CR LF), over any split of the bytes.
// The data starts at the beginning of a line, so ". CR LF" alone is complete data.
class TDataEndScanner {
public:
    // How many bytes of Data belong to the data, the end line included: Count when the end
    // is not among them.
    std::size_t Scan(const char* Data, std::size_t Count);
    bool Found() const { return FState == 5; }
    void Reset() { FState = 2; }

private:
    int FState = 2; // matched bytes of CR LF "." CR LF
};

class TReceiveBuffer {
public:
    enum TLineResult { lrComplete, lrIncomplete, lrTooLong };

    void Append(const char* Data, std::size_t Count);
    const char* Data() const { return FData.data() + FStart; }
    std::size_t Size() const { return FData.size() - FStart; }
    bool Empty() const { return Size() == 0; }
    void Consume(std::size_t Count);
    void Clear();

    // Takes one line up to its LF: Line gets it without the trailing CR and LF characters.
    // lrTooLong when the text before the line end is longer than MaxLength (nothing is taken).
    TLineResult TakeLine(std::string& Line, std::size_t MaxLength);

private:
    std::string FData;
    std::size_t FStart = 0;
};
