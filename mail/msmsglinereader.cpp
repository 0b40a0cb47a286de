// mail/msmsglinereader.cpp: the decoder's line reader.
#include "mail/msmsglinereader.h"

void TLineStream::Reset()
{
    EndOfData = false;
    SetPosition(0);
}

bool TLineStream::ReadLine(std::string& Line)
{
    const std::size_t Size = FData.size();
    std::size_t Start = static_cast<std::size_t>(FPosition);
    if (Start >= Size) {
        EndOfData = true;
        Line.clear();
        return false;
    }
    std::size_t End = FData.find_first_of("\r\n", Start);
    if (End == std::string::npos)
        End = Size;
    Line.assign(FData, Start, End - Start);
    LineEnded = End < Size;
    if (End < Size && FData[End] == '\r') {
        ++End;
        if (End < Size && FData[End] == '\n')
            ++End;
    } else if (End < Size) {
        ++End;
    }
    FPosition = static_cast<int64_t>(End);
    return true;
}
