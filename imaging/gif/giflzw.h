// imaging/gif/giflzw.h: the image data of a frame: the LZW decoder, the encoder framework with
// the LZW encoder and its hash table, and the data sub-block writer.
#pragma once

#include "imaging/gif/gifexception.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <memory>
#include <vector>

class TGIFSubImage;

// Fills the frame's pixel buffer from the image data at the stream position (code size byte,
// sub-blocks, terminator). The stream is left behind the terminator, whatever the codes held.
void DecodeImageData(TGIFSubImage* Frame, TStream* Stream);
// Writes the frame's pixels as image data with the picture's encoder.
void EncodeImageData(TGIFSubImage* Frame, TStream* Stream);

// The rows of an image in the order the file holds them: interlaced images in four passes.
std::vector<int> InterlacedRowOrder(int Height, bool Interlaced);

// The decoder proper: Data holds Size bytes of de-chunked codes followed by 8 readable bytes;
// Out has room for Count + 8 bytes. Returns the number of pixels produced; Underrun tells that
// the codes ran out before an end code.
std::size_t DecodeLZW(const std::uint8_t* Data, std::size_t Size, int CodeSize, std::uint8_t* Out,
                      std::size_t Count, bool& Underrun);

// A stream that only passes data on to another; reading, seeking and plain writing are refused.
class TGIFStream : public TStream {
public:
    explicit TGIFStream(TStream* Stream) : FStream(Stream) {}
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

protected:
    TStream* FStream;
};

// Cuts what is written into data sub-blocks of 255 bytes (the last one shorter).
class TGIFWriter : public TGIFStream {
public:
    using TGIFStream::TGIFStream;
    ~TGIFWriter() override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    void WriteByte(std::uint8_t Value)
    {
        FBuffer[FFilled++] = Value;
        if (FFilled == 256)
            FlushBlock();
        else
            FDirty = true;
    }
    // Writes the pending sub-block, if any.
    void Flush();

private:
    void FlushBlock();

    std::uint8_t FBuffer[256];
    int FFilled = 1;
    bool FDirty = false;
};

// The common part of the two encoders: code size byte, bit packing, pixel order, end code and
// terminator.
class TGIFEncoder : public TObject {
public:
    TGIFWarning Warning;

    void EncodeImage(TStream* Stream, int BitsPerPixel, int NumColors, const std::uint8_t* Data,
                     bool Interlaced, int Height, int Width);

protected:
    virtual void PutCode(int Code);
    virtual void EmitClear();
    virtual void EncodePixels() = 0;
    // Moves to the next pixel in file order; false at the end of the image.
    bool NextPixel();
    int CurrentPixel() const { return *FPixel; }

    int FNumColors = 0;
    int FBitsPerPixel = 0;
    TStream* FStream = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    bool FInterlaced = false;
    const std::uint8_t* FData = nullptr;
    std::uint32_t FAccumulator = 0;
    int FBits = 0;
    bool FClearFlag = false;
    int FCodeWidth = 0;
    int FInitialWidth = 0;
    int FMaxCode = 0;
    int FClearCode = 0;
    int FEOFCode = 0;
    int FBaseCode = 0;
    const std::uint8_t* FPixel = nullptr;
    int FPixelsLeft = 0;
    int FRow = 0;
    int FPass = 0;
    std::unique_ptr<TGIFWriter> FWriter;
};

// Open addressing over 16384 slots (at most 3838 strings live, so probes stay short); a slot
// holds key * 4096 + code, all ones when free. Probing walks every slot, so an insert always
// ends.
class THashTable : public TObject {
public:
    static constexpr int HashSize = 16384;
    THashTable() { Clear(); }
    void Clear();
    void Insert(std::uint32_t Key, int Code);
    // The code stored for Key, or -1.
    int Lookup(std::uint32_t Key) const
    {
        std::uint32_t Slot;
        return Find(Key, Slot);
    }
    // As Lookup; when Key is absent, Slot is the free slot where it belongs (HashSize when the
    // table is full).
    int Find(std::uint32_t Key, std::uint32_t& Slot) const
    {
        std::uint32_t H = Home(Key);
        const std::uint32_t First = FTable[H];
        if ((First >> 12) == Key)
            return static_cast<int>(First & 0xFFF);
        if ((First >> 12) == Free) {
            Slot = H;
            return -1;
        }
        H = (H + 1) & (HashSize - 1);
        for (int Probe = 1; Probe < HashSize; ++Probe) {
            const std::uint32_t Value = FTable[H];
            if ((Value >> 12) == Key)
                return static_cast<int>(Value & 0xFFF);
            if ((Value >> 12) == Free) {
                Slot = H;
                return -1;
            }
            H = (H + 1) & (HashSize - 1);
        }
        Slot = HashSize;
        return -1;
    }
    void Store(std::uint32_t Slot, std::uint32_t Key, int Code)
    {
        FTable[Slot] = (Key << 12) | (static_cast<std::uint32_t>(Code) & 0xFFF);
    }

private:
    static constexpr std::uint32_t Free = 0xFFFFF;
    static std::uint32_t Home(std::uint32_t Key) { return (Key * 0x9E3779B1u) >> 18; }
    std::uint32_t FTable[HashSize];
};

class TLZWEncoder : public TGIFEncoder {
protected:
    void PutCode(int Code) override;
    void EmitClear() override;
    void EncodePixels() override;

private:
    template <class TTable>
    void EncodeWith(TTable& Table);

    int FNextCode = 0;
    std::unique_ptr<THashTable> FHashTable;
};
