// Feeds arbitrary lines to the quoted-printable decoder and arbitrary bytes through the encoder
// and back: short lines of printable characters that decode to the same paragraphs.
#include "fuzz/fuzzinput.h"
#include "mail/msmime.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <string>

namespace {

// The paragraphs of Data, each ended by CR LF: what decoding the encoded text gives back.
std::string Paragraphs(const std::string& Data)
{
    std::string Result;
    std::string Paragraph;
    bool Open = false;
    for (std::size_t I = 0; I < Data.size(); ++I) {
        const char C = Data[I];
        if (C == '\r' || C == '\n') {
            if (C == '\r' && I + 1 < Data.size() && Data[I + 1] == '\n')
                ++I;
            Result += Paragraph + "\r\n";
            Paragraph.clear();
            Open = false;
        } else {
            Paragraph += C;
            Open = true;
        }
    }
    if (Open)
        Result += Paragraph + "\r\n";
    return Result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);

    TStringList Lines;
    Lines.SetText(Input);
    TStringStream Decoded;
    TQuotedPrintable(&Decoded, &Lines).Decode();
    QPDecodeWord(Input);

    TStringStream Source(Input);
    TStringList Encoded;
    TQuotedPrintable(&Source, &Encoded).Encode();
    for (int I = 0; I < Encoded.Count(); ++I) {
        const std::string Line = Encoded.Get(I);
        Check(Line.size() <= 76);
        for (const char C : Line)
            Check(C >= 32 && C < 127);
    }
    TStringStream Back;
    TQuotedPrintable(&Back, &Encoded).Decode();
    Check(Back.DataString() == Paragraphs(Input));
    return 0;
}
