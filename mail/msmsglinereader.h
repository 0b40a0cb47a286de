// mail/msmsglinereader.h: the line reader the message decoder reads its input with.
#pragma once

#include "platform/rtl/stream.h"

#include <string>

// The line reader of the decoder over a copy of the input. Lines end at CR LF, CR or LF; a
// last line needs no end. Lines of any length and zero bytes are read as they are.
class TLineStream : public TMemoryStream {
public:
    // Back to the first line.
    void Reset();
    // The next line without its end; false (and EndOfData) when none is left.
    bool ReadLine(std::string& Line);

    bool EndOfData = false;
    // Whether the line last read ended with a line end (the last line of the data may not).
    bool LineEnded = false;
};
