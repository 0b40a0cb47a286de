// fuzz/fuzzinput.h: what the fuzz targets share: a check that stops the run where a promise
// fails, so that the fuzzer keeps the input, the input as text, and the input read as numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

inline void Check(bool Condition)
{
    if (!Condition)
        std::abort();
}

inline std::string InputText(const std::uint8_t* Data, std::size_t Size)
{
    return std::string(reinterpret_cast<const char*>(Data), Size);
}

// The input taken a byte at a time; past its end every byte is 0.
class TByteReader {
public:
    TByteReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
    bool More() const { return FAt < FSize; }
    int Byte() { return FAt < FSize ? FData[FAt++] : 0; }
    // A number in Lo..Hi.
    int Pick(int Lo, int Hi) { return Lo + Byte() % (Hi - Lo + 1); }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};
