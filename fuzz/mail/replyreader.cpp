// Server replies as the socket components read them: arbitrary bytes arriving in arbitrary
// pieces, taken as status lines and as multi-line data up to its end line, with the results
// checked against the bytes themselves. The first input byte picks the piece sizes.
#include "fuzz/fuzzinput.h"
#include "platform/net/receivebuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t LineLimit = 64;

class TFeed {
public:
    TFeed(const std::uint8_t* Data, std::size_t Size, std::uint8_t Seed)
        : FData(reinterpret_cast<const char*>(Data)), FSize(Size), FState(Seed | 1u)
    {
    }
    // The next piece into Buffer; false when the input is used up.
    bool More(TReceiveBuffer& Buffer)
    {
        if (FFed == FSize)
            return false;
        FState = FState * 1103515245u + 12345u;
        std::size_t Piece = 1 + (FState >> 16) % 97;
        if (Piece > FSize - FFed)
            Piece = FSize - FFed;
        Buffer.Append(FData + FFed, Piece);
        FFed += Piece;
        return true;
    }

private:
    const char* FData;
    std::size_t FSize;
    std::size_t FFed = 0;
    std::uint32_t FState;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const std::string Input = InputText(Data + 1, Size - 1);
    TFeed Feed(Data + 1, Size - 1, Data[0]);
    TReceiveBuffer Buffer;
    std::size_t Taken = 0; // bytes of Input the reader has taken

    for (;;) {
        // A status line.
        std::string Line;
        TReceiveBuffer::TLineResult Result;
        while ((Result = Buffer.TakeLine(Line, LineLimit)) == TReceiveBuffer::lrIncomplete)
            if (!Feed.More(Buffer))
                return 0;
        if (Result == TReceiveBuffer::lrTooLong) {
            Check(Buffer.Size() > LineLimit);
            return 0; // the connection would be closed here
        }
        const std::size_t Lf = Input.find('\n', Taken);
        Check(Lf != std::string::npos);
        Check(Line.size() <= LineLimit && Line == Input.substr(Taken, Line.size()));
        Check(Line.empty() || (Line.back() != '\r' && Line.back() != '\n'));
        Check(Line.find('\n') == std::string::npos);
        Taken = Lf + 1;

        // Multi-line data up to its end line.
        TDataEndScanner Scanner;
        std::string Body;
        while (!Scanner.Found()) {
            if (Buffer.Empty() && !Feed.More(Buffer))
                return 0;
            const std::size_t N = Scanner.Scan(Buffer.Data(), Buffer.Size());
            Check(N <= Buffer.Size());
            Body.append(Buffer.Data(), N);
            Buffer.Consume(N);
        }
        Check(Body == Input.substr(Taken, Body.size()));
        // The data ends at the first end line, counting the line end before it.
        const std::string Framed = "\r\n" + Body;
        Check(Framed.find("\r\n.\r\n") == Framed.size() - 5);
        Taken += Body.size();
    }
}
