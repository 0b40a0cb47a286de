// imaging/gif/giflzw.cpp: the LZW decoder and encoder of the image data and the sub-block writer.
#include "imaging/gif/giflzw.h"

#include "imaging/gif/gifimage.h"
#include "imaging/gif/gifitems.h"
#include "imaging/gif/gifrle.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int MaxCodes = 4096;
// Bytes that the decoder may write past the last pixel and read past the last code byte.
constexpr std::size_t Slack = 8;

inline std::uint64_t Load64(const std::uint8_t* P)
{
    std::uint64_t V;
    std::memcpy(&V, P, 8);
    return V;
}

inline void Copy8(std::uint8_t* Dst, const std::uint8_t* Src)
{
    std::uint64_t V;
    std::memcpy(&V, Src, 8);
    std::memcpy(Dst, &V, 8);
}

// Gathers the data sub-blocks up to their terminator into Data, followed by Slack zero bytes.
void ReadSubBlocks(TGIFSubImage* Frame, TStream* Stream, std::vector<std::uint8_t>& Data)
{
    Data.clear();
    std::uint8_t Length;
    while (ReadByte(Stream, Length) && Length != 0) {
        const std::size_t Old = Data.size();
        Data.resize(Old + Length);
        const int64_t Got = Stream->Read(Data.data() + Old, Length);
        if (Got < Length) {
            Frame->ReportWarning(1, "Premature end of data");
            Data.resize(Old + static_cast<std::size_t>(std::max<int64_t>(Got, 0)));
            break;
        }
    }
    Data.resize(Data.size() + Slack, 0);
}

} // namespace

std::vector<int> InterlacedRowOrder(int Height, bool Interlaced)
{
    std::vector<int> Rows;
    Rows.reserve(static_cast<std::size_t>(std::max(Height, 0)));
    if (!Interlaced) {
        for (int Y = 0; Y < Height; ++Y)
            Rows.push_back(Y);
        return Rows;
    }
    static const int Start[4] = {0, 4, 2, 1};
    static const int Step[4] = {8, 8, 4, 2};
    for (int Pass = 0; Pass < 4; ++Pass)
        for (int Y = Start[Pass]; Y < Height; Y += Step[Pass])
            Rows.push_back(Y);
    return Rows;
}

// Every code's string lies earlier in the output (a code's string is the previous string plus
// one byte, and strings follow one another), so a code is expanded by copying its offset and
// length instead of walking a prefix chain.
std::size_t DecodeLZW(const std::uint8_t* Data, std::size_t Size, int CodeSize, std::uint8_t* Out,
                      std::size_t Count, bool& Underrun)
{
    std::uint32_t Offsets[MaxCodes];
    std::uint16_t Lengths[MaxCodes];

    Underrun = false;
    const std::uint64_t TotalBits = static_cast<std::uint64_t>(Size) * 8;
    const std::uint32_t Clear = 1u << CodeSize;
    const std::uint32_t EndCode = Clear + 1;
    std::uint64_t BitPos = 0;
    std::uint32_t Width = static_cast<std::uint32_t>(CodeSize) + 1;
    std::uint32_t Mask = (1u << Width) - 1;
    std::uint32_t Next = Clear + 2;
    std::size_t Pos = 0;
    std::size_t PrevOffset = 0;
    std::uint32_t PrevLength = 0; // 0: no string since the last clear code

    while (Pos < Count) {
        if (BitPos + Width > TotalBits) {
            Underrun = BitPos >= TotalBits;
            break;
        }
        const std::uint32_t Code =
            static_cast<std::uint32_t>(Load64(Data + (BitPos >> 3)) >> (BitPos & 7)) & Mask;
        BitPos += Width;

        if (Code < Clear) {
            if (PrevLength != 0 && Next < MaxCodes) {
                Offsets[Next] = static_cast<std::uint32_t>(PrevOffset);
                Lengths[Next] = static_cast<std::uint16_t>(PrevLength + 1);
                if (++Next > Mask && Width < 12) {
                    ++Width;
                    Mask = (1u << Width) - 1;
                }
            }
            Out[Pos] = static_cast<std::uint8_t>(Code);
            PrevOffset = Pos++;
            PrevLength = 1;
            continue;
        }
        if (Code == Clear) {
            Width = static_cast<std::uint32_t>(CodeSize) + 1;
            Mask = (1u << Width) - 1;
            Next = Clear + 2;
            PrevLength = 0;
            continue;
        }
        if (Code == EndCode)
            break;
        if (PrevLength == 0) {
            // A table code with an empty table: taken as the pixel it names.
            Out[Pos] = static_cast<std::uint8_t>(Code);
            PrevOffset = Pos++;
            PrevLength = 1;
            continue;
        }

        std::size_t Offset;
        std::uint32_t Length;
        if (Code < Next) {
            Offset = Offsets[Code];
            Length = Lengths[Code];
        } else {
            // Not in the table yet: the previous string plus its own first byte.
            Offset = PrevOffset;
            Length = PrevLength + 1;
        }
        if (Next < MaxCodes) {
            Offsets[Next] = static_cast<std::uint32_t>(PrevOffset);
            Lengths[Next] = static_cast<std::uint16_t>(PrevLength + 1);
            if (++Next > Mask && Width < 12) {
                ++Width;
                Mask = (1u << Width) - 1;
            }
        }

        std::uint8_t* Dst = Out + Pos;
        const std::uint8_t* Src = Out + Offset;
        if (Pos + Length > Count) {
            for (std::size_t I = 0; I < Count - Pos; ++I)
                Dst[I] = Src[I];
            Pos = Count;
            break;
        }
        const std::size_t Distance = Pos - Offset;
        if (Length <= 8 && Distance >= Length) {
            Copy8(Dst, Src);
        } else if (Distance >= 8) {
            for (std::uint32_t I = 0; I < Length; I += 8)
                Copy8(Dst + I, Src + I);
        } else {
            for (std::uint32_t I = 0; I < Length; ++I)
                Dst[I] = Src[I];
        }
        PrevOffset = Pos;
        PrevLength = Length;
        Pos += Length;
    }
    return Pos;
}

void DecodeImageData(TGIFSubImage* Frame, TStream* Stream)
{
    const std::size_t Width = static_cast<std::size_t>(Frame->Width());
    const std::size_t Height = static_cast<std::size_t>(Frame->Height());
    const std::size_t Count = Width * Height;
    const std::uint8_t Fill =
        Frame->Transparent() ? static_cast<std::uint8_t>(Frame->TransparentIndex()) : 0;
    std::vector<std::uint8_t>& Pixels = Frame->FData;
    Pixels.assign(Count + Slack, Fill);

    std::uint8_t CodeSize;
    if (!ReadByte(Stream, CodeSize)) {
        Pixels.resize(Count);
        return;
    }
    if (CodeSize < 1 || CodeSize > 11) {
        Pixels.resize(Count);
        throw GIFException("Invalid LZW code size");
    }

    thread_local std::vector<std::uint8_t> Data;
    ReadSubBlocks(Frame, Stream, Data);

    const bool Interlaced = Frame->IsInterlaced() && Height > 1;
    std::vector<std::uint8_t> Linear;
    if (Interlaced)
        Linear.assign(Count + Slack, Fill);
    std::uint8_t* Out = Interlaced ? Linear.data() : Pixels.data();

    bool Underrun = false;
    const std::size_t Produced =
        DecodeLZW(Data.data(), Data.size() - Slack, CodeSize, Out, Count, Underrun);
    if (Produced < Count)
        std::fill(Out + Produced, Out + Count + Slack, Fill);
    if (Underrun)
        Frame->ReportWarning(1, "Decoder bit buffer under-run");
    if (Data.capacity() > (1u << 24))
        std::vector<std::uint8_t>().swap(Data);

    if (Interlaced) {
        const std::vector<int> Rows = InterlacedRowOrder(static_cast<int>(Height), true);
        for (std::size_t I = 0; I < Rows.size(); ++I)
            std::memcpy(Pixels.data() + static_cast<std::size_t>(Rows[I]) * Width,
                        Linear.data() + I * Width, Width);
    }
    Pixels.resize(Count);
}

void EncodeImageData(TGIFSubImage* Frame, TStream* Stream)
{
    TGIFImage* Image = Frame->Image();
    int Bits;
    int Colors;
    if (Frame->ColorMap()->Count() > 0) {
        Bits = Frame->ColorMap()->IndexBits();
        Colors = Frame->ColorMap()->Count();
    } else {
        Bits = Image ? Image->LargestIndexBits() : 8;
        Colors = 1 << Bits;
    }
    std::unique_ptr<TGIFEncoder> Encoder;
    if (Image && Image->Encoding() == geRLE)
        Encoder = std::make_unique<TRLEEncoder>();
    else
        Encoder = std::make_unique<TLZWEncoder>();
    if (Image)
        Encoder->Warning = [Image](TObject* Sender, int Severity, const std::string& Message) {
            Image->ReportWarning(Sender, Severity, Message);
        };
    Encoder->EncodeImage(Stream, Bits, Colors, Frame->Data(), Frame->IsInterlaced(),
                         Frame->Height(), Frame->Width());
}

int64_t TGIFStream::Read(void*, int64_t)
{
    throw Exception("Invalid stream operation");
}

int64_t TGIFStream::Write(const void*, int64_t)
{
    throw Exception("Invalid stream operation");
}

int64_t TGIFStream::Seek(int64_t, TSeekOrigin)
{
    throw Exception("Invalid stream operation");
}

TGIFWriter::~TGIFWriter()
{
    // Destruction cannot report a failing target; Flush is called on the normal path.
    try {
        Flush();
    } catch (...) {
    }
}

int64_t TGIFWriter::Write(const void* Buffer, int64_t Count)
{
    const auto* P = static_cast<const std::uint8_t*>(Buffer);
    for (int64_t I = 0; I < Count; ++I)
        WriteByte(P[I]);
    return Count;
}

void TGIFWriter::FlushBlock()
{
    FBuffer[0] = static_cast<std::uint8_t>(FFilled - 1);
    const int Filled = FFilled;
    FFilled = 1;
    FDirty = false;
    FStream->WriteBuffer(FBuffer, Filled);
}

void TGIFWriter::Flush()
{
    if (FDirty && FFilled > 1)
        FlushBlock();
    FDirty = false;
}

void TGIFEncoder::EncodeImage(TStream* Stream, int BitsPerPixel, int NumColors,
                              const std::uint8_t* Data, bool Interlaced, int Height, int Width)
{
    FStream = Stream;
    FBitsPerPixel = std::max(BitsPerPixel, 2);
    FNumColors = NumColors;
    FData = Data;
    FInterlaced = Interlaced;
    FHeight = Height;
    FWidth = Width;

    FInitialWidth = FBitsPerPixel + 1;
    WriteByte(Stream, static_cast<std::uint8_t>(FBitsPerPixel));
    FCodeWidth = FInitialWidth;
    FMaxCode = (1 << FCodeWidth) - 1;
    FClearCode = 1 << FBitsPerPixel;
    FEOFCode = FClearCode + 1;
    FBaseCode = FClearCode + 2;
    FAccumulator = 0;
    FBits = 0;
    FPixel = Data;
    FPixelsLeft = Interlaced ? Width : Width * Height;
    FRow = 0;
    FPass = 0;

    FWriter = std::make_unique<TGIFWriter>(Stream);
    if (Data && Height > 0 && Width > 0)
        EncodePixels();
    PutCode(FEOFCode);
    FWriter->Flush();
    FWriter.reset();
    WriteByte(Stream, 0);
}

void TGIFEncoder::PutCode(int Code)
{
    if (FBits > 0)
        FAccumulator =
            (FAccumulator & ((1u << FBits) - 1)) | (static_cast<std::uint32_t>(Code) << FBits);
    else
        FAccumulator = static_cast<std::uint32_t>(Code);
    FBits += FCodeWidth;
    while (FBits >= 8) {
        FWriter->WriteByte(static_cast<std::uint8_t>(FAccumulator));
        FAccumulator >>= 8;
        FBits -= 8;
    }
    if (Code == FEOFCode)
        while (FBits > 0) {
            FWriter->WriteByte(static_cast<std::uint8_t>(FAccumulator));
            FAccumulator >>= 8;
            FBits -= 8;
        }
}

void TGIFEncoder::EmitClear()
{
    FClearFlag = true;
    PutCode(FClearCode);
}

bool TGIFEncoder::NextPixel()
{
    if (--FPixelsLeft >= 1) {
        ++FPixel;
        return true;
    }
    if (!FInterlaced)
        return false;
    FPixelsLeft = FWidth;
    static const int Step[4] = {8, 8, 4, 2};
    static const int Start[4] = {0, 4, 2, 1};
    FRow += Step[FPass];
    while (FRow >= FHeight && FPass < 3) {
        ++FPass;
        FRow = Start[FPass];
    }
    if (FRow >= FHeight)
        return false;
    FPixel = FData + static_cast<std::size_t>(FRow) * static_cast<std::size_t>(FWidth);
    return true;
}

void THashTable::Clear()
{
    std::memset(FTable, 0xFF, sizeof(FTable));
}

void THashTable::Insert(std::uint32_t Key, int Code)
{
    std::uint32_t Slot;
    if (Find(Key, Slot) < 0 && Slot < HashSize)
        Store(Slot, Key, Code);
}

void TLZWEncoder::PutCode(int Code)
{
    TGIFEncoder::PutCode(Code);
    if (FNextCode > FMaxCode || FClearFlag) {
        if (FClearFlag) {
            FCodeWidth = FInitialWidth;
            FClearFlag = false;
        } else
            ++FCodeWidth;
        FMaxCode = FCodeWidth >= 12 ? MaxCodes : (1 << FCodeWidth) - 1;
    }
}

void TLZWEncoder::EmitClear()
{
    TGIFEncoder::EmitClear();
    FHashTable->Clear();
    FNextCode = FBaseCode;
}

namespace {

// For alphabets of at most 16 symbols the string table is a plain array indexed by prefix and
// pixel: no hashing, and small enough to clear at every clear code.
class TDirectTable {
public:
    explicit TDirectTable(int Bits) : FBits(Bits), FCodes(std::size_t{MaxCodes} << Bits, 0) {}
    void Clear() { std::fill(FCodes.begin(), FCodes.end(), 0); }
    int Find(std::uint32_t Prefix, std::uint32_t Pixel, std::uint32_t& Slot) const
    {
        Slot = (Prefix << FBits) | Pixel;
        const int Code = FCodes[Slot];
        return Code != 0 ? Code : -1;
    }
    void Store(std::uint32_t Slot, std::uint32_t, int Code)
    {
        FCodes[Slot] = static_cast<std::uint16_t>(Code);
    }

private:
    int FBits;
    std::vector<std::uint16_t> FCodes;
};

class THashedTable {
public:
    explicit THashedTable(THashTable& ATable) : FTable(ATable) {}
    void Clear() { FTable.Clear(); }
    int Find(std::uint32_t Prefix, std::uint32_t Pixel, std::uint32_t& Slot) const
    {
        return FTable.Find((Prefix << 8) | Pixel, Slot);
    }
    void Store(std::uint32_t Slot, std::uint32_t Key, int Code)
    {
        if (Slot < static_cast<std::uint32_t>(THashTable::HashSize))
            FTable.Store(Slot, Key, Code);
    }

private:
    THashTable& FTable;
};

} // namespace

void TLZWEncoder::EncodePixels()
{
    FHashTable = std::make_unique<THashTable>();
    FNextCode = FBaseCode;
    EmitClear();
    if (FBitsPerPixel <= 4) {
        TDirectTable Table(FBitsPerPixel);
        EncodeWith(Table);
    } else {
        THashedTable Table(*FHashTable);
        EncodeWith(Table);
    }
}

// The loop keeps the bit accumulator, the code width and the table state in locals and writes
// them back at the end, so that the per-pixel path makes no virtual call.
template <class TTable>
void TLZWEncoder::EncodeWith(TTable& Table)
{
    TGIFWriter& Writer = *FWriter;
    std::uint64_t Acc = FBits > 0 ? (FAccumulator & ((1u << FBits) - 1)) : 0;
    int Bits = FBits;
    int Width = FCodeWidth;
    int MaxCode = FMaxCode;
    int Next = FNextCode;
    const auto NumColors = static_cast<std::uint32_t>(FNumColors);

    auto Emit = [&](std::uint32_t Code) {
        Acc |= static_cast<std::uint64_t>(Code) << Bits;
        Bits += Width;
        while (Bits >= 8) {
            Writer.WriteByte(static_cast<std::uint8_t>(Acc));
            Acc >>= 8;
            Bits -= 8;
        }
    };

    const std::vector<int> Rows = InterlacedRowOrder(FHeight, FInterlaced);
    const auto RowWidth = static_cast<std::size_t>(FWidth);
    std::uint32_t Prefix = 0;
    bool First = true;
    for (const int Row : Rows) {
        const std::uint8_t* P = FData + static_cast<std::size_t>(Row) * RowWidth;
        if (NumColors < 256 && *std::max_element(P, P + RowWidth) >= NumColors)
            throw GIFException("Color not in color table");
        std::size_t X = 0;
        if (First) {
            Prefix = P[0];
            X = 1;
            First = false;
        }
        for (; X < RowWidth; ++X) {
            const std::uint32_t Pixel = P[X];
            std::uint32_t Slot;
            const int Code = Table.Find(Prefix, Pixel, Slot);
            if (Code >= 0) {
                Prefix = static_cast<std::uint32_t>(Code);
                continue;
            }
            Emit(Prefix);
            if (Next > MaxCode) {
                ++Width;
                MaxCode = Width >= 12 ? MaxCodes : (1 << Width) - 1;
            }
            const std::uint32_t Key = (Prefix << 8) | Pixel;
            Prefix = Pixel;
            if (Next > MaxCodes - 2) {
                // The clear code goes out in the width in force, then the table starts again.
                Emit(static_cast<std::uint32_t>(FClearCode));
                Width = FInitialWidth;
                MaxCode = (1 << Width) - 1;
                Table.Clear();
                Next = FBaseCode;
            } else
                Table.Store(Slot, Key, Next++);
        }
    }
    Emit(Prefix);
    if (Next > MaxCode) {
        ++Width;
        MaxCode = Width >= 12 ? MaxCodes : (1 << Width) - 1;
    }

    FAccumulator = static_cast<std::uint32_t>(Acc);
    FBits = Bits;
    FCodeWidth = Width;
    FMaxCode = MaxCode;
    FNextCode = Next;
    FClearFlag = false;
}
