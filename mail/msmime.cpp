// mail/msmime.cpp: base64, quoted-printable and the ISO-2022-JP encoded word.
#include "mail/msmime.h"

#include "mail/msutils.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"

namespace {

const char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char HexDigits[] = "0123456789ABCDEF";

int Base64Value(unsigned char C)
{
    if (C >= 'A' && C <= 'Z')
        return C - 'A';
    if (C >= 'a' && C <= 'z')
        return C - 'a' + 26;
    if (C >= '0' && C <= '9')
        return C - '0' + 52;
    if (C == '+')
        return 62;
    if (C == '/')
        return 63;
    return -1;
}

// Decodes one quoted-printable line onto Out; true when it ends with a soft break (a final
// "=", possibly followed by blanks a transport added). "=3D" at the end is data.
bool DecodeQPLine(const std::string& Line, std::string& Out)
{
    const std::size_t Length = Line.size();
    std::size_t I = 0;
    while (I < Length) {
        const char C = Line[I];
        if (C != '=') {
            Out += C;
            ++I;
            continue;
        }
        if (Line.find_first_not_of(" \t", I + 1) == std::string::npos)
            return true;
        if (I + 2 < Length) {
            const int High = HexDigitValue(Line[I + 1]);
            const int Low = HexDigitValue(Line[I + 2]);
            if (High >= 0 && Low >= 0) {
                Out += static_cast<char>(High * 16 + Low);
                I += 3;
                continue;
            }
        }
        Out += C;
        ++I;
    }
    return false;
}

bool NeedsEscape(unsigned char C)
{
    return C < 32 || C == '=' || C >= 127;
}

void AppendEscaped(std::string& Out, unsigned char C)
{
    Out += '=';
    Out += HexDigits[C >> 4];
    Out += HexDigits[C & 15];
}

// Splits one paragraph into encoded lines. A line holds at most 65 encoded characters before
// its soft break, or 66 when it ends before a space, so that no line exceeds 76 characters
// whatever the bytes; a space at a cut begins the next line.
void EncodeParagraph(const std::string& Paragraph, TStrings* Lines)
{
    constexpr std::size_t MaxPiece = 65;
    const std::size_t Length = Paragraph.size();
    auto Width = [&](std::size_t I) {
        return NeedsEscape(static_cast<unsigned char>(Paragraph[I])) ? 3u : 1u;
    };
    std::size_t Start = 0;
    for (;;) {
        // The last piece: what remains fits (a final space counts as escaped).
        std::size_t Rest = 0;
        std::size_t I = Start;
        while (I < Length && Rest <= MaxPiece)
            Rest += Width(I++);
        if (I == Length && Length > Start && Paragraph[Length - 1] == ' ')
            Rest += 2;
        if (I == Length && Rest <= MaxPiece) {
            std::string Line;
            for (std::size_t J = Start; J < Length; ++J) {
                const auto C = static_cast<unsigned char>(Paragraph[J]);
                if (NeedsEscape(C) || (C == ' ' && J + 1 == Length))
                    AppendEscaped(Line, C);
                else
                    Line += static_cast<char>(C);
            }
            Lines->Add(Line);
            return;
        }
        // The longest stretch of at most MaxPiece + 1 encoded characters, cut before its last
        // space (not its first character), else at MaxPiece encoded characters.
        std::size_t End = Start;
        std::size_t Used = 0;
        while (End < Length && Used + Width(End) <= MaxPiece + 1)
            Used += Width(End++);
        std::size_t Cut = 0;
        for (std::size_t J = End; J-- > Start + 1;)
            if (Paragraph[J] == ' ') {
                Cut = J;
                break;
            }
        if (Cut == 0) {
            Cut = Start;
            Used = 0;
            while (Cut < Length && Used + Width(Cut) <= MaxPiece)
                Used += Width(Cut++);
        }
        std::string Line;
        for (std::size_t J = Start; J < Cut; ++J) {
            const auto C = static_cast<unsigned char>(Paragraph[J]);
            if (NeedsEscape(C))
                AppendEscaped(Line, C);
            else
                Line += static_cast<char>(C);
        }
        Line += '=';
        Lines->Add(Line);
        Start = Cut;
    }
}

} // namespace

std::string Base64Decode(const std::string& Text)
{
    std::string Result;
    Result.reserve(Text.size() / 4 * 3 + 3);
    unsigned Bits = 0;
    int BitCount = 0;
    for (const char C : Text) {
        if (C == ' ' || C == '\t' || C == '\r' || C == '\n')
            continue;
        if (C == '=') {
            // Padding ends the group: the bits still held are only filling.
            Bits = 0;
            BitCount = 0;
            continue;
        }
        const int Value = Base64Value(static_cast<unsigned char>(C));
        if (Value < 0)
            throw EMessageParserError("Invalid Character");
        Bits = (Bits << 6) | static_cast<unsigned>(Value);
        BitCount += 6;
        if (BitCount >= 8) {
            BitCount -= 8;
            Result += static_cast<char>((Bits >> BitCount) & 0xFF);
        }
        Bits &= 0xFF;
    }
    return Result;
}

std::string Base64Encode(const std::string& Data)
{
    std::string Result;
    Result.reserve((Data.size() + 2) / 3 * 4);
    std::size_t I = 0;
    for (; I + 3 <= Data.size(); I += 3) {
        const unsigned Group = static_cast<unsigned char>(Data[I]) << 16 |
                               static_cast<unsigned char>(Data[I + 1]) << 8 |
                               static_cast<unsigned char>(Data[I + 2]);
        Result += Base64Alphabet[Group >> 18];
        Result += Base64Alphabet[(Group >> 12) & 63];
        Result += Base64Alphabet[(Group >> 6) & 63];
        Result += Base64Alphabet[Group & 63];
    }
    const std::size_t Left = Data.size() - I;
    if (Left > 0) {
        unsigned Group = static_cast<unsigned char>(Data[I]) << 16;
        if (Left == 2)
            Group |= static_cast<unsigned char>(Data[I + 1]) << 8;
        Result += Base64Alphabet[Group >> 18];
        Result += Base64Alphabet[(Group >> 12) & 63];
        Result += Left == 2 ? Base64Alphabet[(Group >> 6) & 63] : '=';
        Result += '=';
    }
    return Result;
}

std::string QPDecodeWord(const std::string& Text)
{
    std::string Result;
    DecodeQPLine(Text, Result);
    const std::size_t LineEnd = Result.find_first_of("\r\n");
    if (LineEnd != std::string::npos)
        Result.resize(LineEnd);
    return Result;
}

std::string EncodeISO2022JPWord(const std::string& Text)
{
    if (Text.empty() || Text[0] != '\x1B')
        return Text;
    return "=?ISO-2022-JP?B?" + Base64Encode(Text) + "?=";
}

TQuotedPrintable::TQuotedPrintable(TStream* AStream, TStrings* ALines)
    : Stream(AStream), Lines(ALines)
{
}

void TQuotedPrintable::Encode()
{
    Stream->SetPosition(0);
    std::string Paragraph;
    char Buffer[65536];
    bool PendingCR = false; // a CR was the last byte read: an LF after it belongs to it
    bool Stopped = false;
    Lines->BeginUpdate();
    try {
        auto EndParagraph = [&] {
            EncodeParagraph(Paragraph, Lines);
            Paragraph.clear();
            PumpMessages();
            Stopped = StopRequested;
        };
        for (;;) {
            const int64_t Count = Stream->Read(Buffer, sizeof(Buffer));
            if (Count <= 0)
                break;
            for (int64_t I = 0; I < Count && !Stopped; ++I) {
                const char C = Buffer[I];
                if (PendingCR) {
                    PendingCR = false;
                    if (C == '\n')
                        continue;
                }
                if (C == '\r') {
                    PendingCR = true;
                    EndParagraph();
                } else if (C == '\n')
                    EndParagraph();
                else
                    Paragraph += C;
            }
            if (Stopped)
                break;
        }
        if (!Stopped && !Paragraph.empty())
            EndParagraph();
    } catch (...) {
        Lines->EndUpdate();
        throw;
    }
    Lines->EndUpdate();
}

void TQuotedPrintable::Decode()
{
    std::string Paragraph;
    const int Count = Lines->Count();
    for (int I = 0; I < Count; ++I) {
        const std::string Line = Lines->Get(I);
        if (DecodeQPLine(Line, Paragraph))
            continue;
        if (Line.empty() || Line.back() != '\x1A')
            Paragraph += "\r\n";
        Stream->WriteBuffer(Paragraph.data(), static_cast<int64_t>(Paragraph.size()));
        Paragraph.clear();
        PumpMessages();
        if (StopRequested)
            return;
    }
    // A soft break on the last line: what it carried is still data.
    if (!Paragraph.empty())
        Stream->WriteBuffer(Paragraph.data(), static_cast<int64_t>(Paragraph.size()));
}
