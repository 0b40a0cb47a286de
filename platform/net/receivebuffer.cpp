#include "platform/net/receivebuffer.h"

#include <cstring>

namespace {

const char DataEnd[] = "\r\n.\r\n";
// For each matched length, the longest proper prefix of DataEnd that is also a suffix of it.
const int Fallback[] = {0, 0, 0, 0, 1, 2};

} // namespace

std::size_t TDataEndScanner::Scan(const char* Data, std::size_t Count)
{
    for (std::size_t I = 0; I < Count; ++I) {
        if (Found())
            return I;
        if (FState == 0) {
            // Nothing matched: only a CR can start the end line, so skip to the next one.
            const void* Cr = std::memchr(Data + I, '\r', Count - I);
            if (!Cr)
                return Count;
            I = static_cast<std::size_t>(static_cast<const char*>(Cr) - Data);
        }
        const char C = Data[I];
        while (FState > 0 && C != DataEnd[FState])
            FState = Fallback[FState];
        if (C == DataEnd[FState])
            ++FState;
    }
    return Count;
}

void TReceiveBuffer::Append(const char* Data, std::size_t Count)
{
    // Drop what was taken before growing, so the buffer never holds more than one read ahead.
    if (FStart > 0 && FStart >= FData.size() / 2) {
        FData.erase(0, FStart);
        FStart = 0;
    }
    FData.append(Data, Count);
}

void TReceiveBuffer::Consume(std::size_t Count)
{
    FStart += Count < Size() ? Count : Size();
    if (FStart == FData.size())
        Clear();
}

void TReceiveBuffer::Clear()
{
    FData.clear();
    FStart = 0;
}

TReceiveBuffer::TLineResult TReceiveBuffer::TakeLine(std::string& Line, std::size_t MaxLength)
{
    // The limit counts the text of the line; its CR LF may follow.
    const std::size_t Window = MaxLength + 2;
    const std::size_t Limit = Size() < Window ? Size() : Window;
    const void* Lf = std::memchr(Data(), '\n', Limit);
    if (!Lf)
        return Size() > MaxLength + 1 ? lrTooLong : lrIncomplete;
    const std::size_t Length = static_cast<const char*>(Lf) - Data();
    std::size_t End = Length;
    while (End > 0 && (Data()[End - 1] == '\r' || Data()[End - 1] == '\n'))
        --End;
    if (End > MaxLength)
        return lrTooLong;
    Line.assign(Data(), End);
    Consume(Length + 1);
    return lrComplete;
}
