// Reads arbitrary bytes as PNG: bad data must end in EInvalidGraphic, and a picture that is read
// must be whole and survive being written and read again.
//
// libpng rejects a chunk whose checksum is wrong, and nearly every mutation breaks one, so the
// input is read twice: as it is (a bad checksum must be rejected cleanly), and with every
// chunk's checksum put right, so that mutations reach the chunk parsers and the decoder.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/pngformat.h"

#include <zlib.h>

#include <cstdint>
#include <string>

namespace {

void Read(const std::uint8_t* Data, std::size_t Size)
{
    try {
        const TDibImage I = ReadPng(Data, Size);
        Check(I.Width > 0 && I.Height > 0);
        Check(I.Bits.size() == static_cast<std::size_t>(I.Stride()) * I.Height);
        const std::string Out = WritePng(I);
        const TDibImage Back =
            ReadPng(reinterpret_cast<const std::uint8_t*>(Out.data()), Out.size());
        Check(Back.Width == I.Width && Back.Height == I.Height);
    } catch (const EInvalidGraphic&) {
    }
}

// The chunks after the signature (length, type, data, CRC of type and data) with their CRCs
// recomputed, up to the first chunk that runs past the end.
std::string WithChecksums(const std::uint8_t* Data, std::size_t Size)
{
    std::string Png(reinterpret_cast<const char*>(Data), Size);
    auto* Bytes = reinterpret_cast<unsigned char*>(Png.data());
    std::size_t At = 8;
    while (At + 12 <= Size) {
        const std::uint32_t Length = std::uint32_t(Bytes[At]) << 24 | Bytes[At + 1] << 16 |
                                     Bytes[At + 2] << 8 | Bytes[At + 3];
        if (Length > Size - At - 12)
            break;
        const auto Crc = static_cast<std::uint32_t>(crc32(0, Bytes + At + 4, Length + 4));
        unsigned char* Out = Bytes + At + 8 + Length;
        Out[0] = static_cast<unsigned char>(Crc >> 24);
        Out[1] = static_cast<unsigned char>(Crc >> 16);
        Out[2] = static_cast<unsigned char>(Crc >> 8);
        Out[3] = static_cast<unsigned char>(Crc);
        At += 12 + Length;
    }
    return Png;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    Read(Data, Size);
    const std::string Fixed = WithChecksums(Data, Size);
    if (Fixed.compare(0, Fixed.size(), reinterpret_cast<const char*>(Data), Size) != 0)
        Read(reinterpret_cast<const std::uint8_t*>(Fixed.data()), Fixed.size());
    return 0;
}
