// platform/rtl/byteorder.h: little-endian integers in byte buffers, as the file formats (BMP,
// ICO, WAV) store them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The 16- and 32-bit values at Bytes[At]; the caller has checked that the bytes are there.
inline std::uint16_t ReadLE16(std::string_view Bytes, std::size_t At)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(Bytes[At]) |
                                      static_cast<unsigned char>(Bytes[At + 1]) << 8);
}
inline std::uint32_t ReadLE32(std::string_view Bytes, std::size_t At)
{
    return ReadLE16(Bytes, At) | static_cast<std::uint32_t>(ReadLE16(Bytes, At + 2)) << 16;
}
inline std::uint16_t ReadLE16(const std::uint8_t* P)
{
    return static_cast<std::uint16_t>(P[0] | P[1] << 8);
}
inline std::uint32_t ReadLE32(const std::uint8_t* P)
{
    return ReadLE16(P) | static_cast<std::uint32_t>(ReadLE16(P + 2)) << 16;
}

// Stores Value at P, low byte first.
inline void WriteLE16(std::uint8_t* P, std::uint16_t Value)
{
    P[0] = static_cast<std::uint8_t>(Value & 0xFF);
    P[1] = static_cast<std::uint8_t>(Value >> 8);
}

// Appends the low 16 or the 32 bits of Value, low byte first.
inline void AppendLE16(std::string& Out, std::uint32_t Value)
{
    Out += static_cast<char>(Value & 0xFF);
    Out += static_cast<char>(Value >> 8 & 0xFF);
}
inline void AppendLE32(std::string& Out, std::uint32_t Value)
{
    AppendLE16(Out, Value & 0xFFFF);
    AppendLE16(Out, Value >> 16);
}
