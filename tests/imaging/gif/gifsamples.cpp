// tests/imaging/gif/gifsamples.cpp: re-cutting the data sub-blocks of a GIF file.
#include "tests/imaging/gif/gifsamples.h"

#include <stdexcept>

std::string Rechunk(const std::string& Gif, int ChunkSize)
{
    auto At = [&](std::size_t I) {
        if (I >= Gif.size())
            throw std::runtime_error("truncated sample");
        return static_cast<std::uint8_t>(Gif[I]);
    };
    std::string Out = Gif.substr(0, 13);
    std::size_t Pos = 13;
    if (At(10) & 0x80) {
        const std::size_t Table = 3u << ((At(10) & 7) + 1);
        Out += Gif.substr(Pos, Table);
        Pos += Table;
    }
    auto CopyBlocks = [&] {
        while (At(Pos) != 0) {
            const std::size_t N = At(Pos);
            Out += Gif.substr(Pos, N + 1);
            Pos += N + 1;
        }
        Out += '\0';
        ++Pos;
    };
    for (;;) {
        const std::uint8_t Kind = At(Pos);
        if (Kind == ';') {
            Out += ';';
            return Out;
        }
        if (Kind == '!') {
            Out += Gif.substr(Pos, 2);
            Pos += 2;
            CopyBlocks();
            continue;
        }
        Out += Gif.substr(Pos, 10);
        const std::uint8_t Packed = At(Pos + 9);
        Pos += 10;
        if (Packed & 0x80) {
            const std::size_t Table = 3u << ((Packed & 7) + 1);
            Out += Gif.substr(Pos, Table);
            Pos += Table;
        }
        Out += Gif[Pos++]; // code size
        std::string Data;
        while (At(Pos) != 0) {
            const std::size_t N = At(Pos);
            Data += Gif.substr(Pos + 1, N);
            Pos += N + 1;
        }
        ++Pos;
        for (std::size_t I = 0; I < Data.size(); I += static_cast<std::size_t>(ChunkSize)) {
            const std::string Part = Data.substr(I, static_cast<std::size_t>(ChunkSize));
            Out += static_cast<char>(Part.size());
            Out += Part;
        }
        Out += '\0';
    }
}
