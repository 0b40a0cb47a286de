// tests/imaging/gif/giflibpeer.h: giflib as the peer of the codec's tests and its benchmark:
// what its decoder reports of a file, files written by its encoder, and the memory buffers both
// run over (the giflib_peer library).
#pragma once

#include <gif_lib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TPeerExtension {
    int Function = 0;
    std::vector<std::string> Blocks; // the data sub-blocks
};

struct TPeerFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlace = false;
    std::vector<std::uint8_t> LocalMap; // RGB triples
    std::vector<std::uint8_t> Pixels;
    std::vector<TPeerExtension> Extensions;
};

struct TPeerFile {
    int Width = 0, Height = 0, Background = 0, ColorResolution = 0;
    std::vector<std::uint8_t> GlobalMap;
    std::vector<TPeerFrame> Frames;
    std::vector<TPeerExtension> TrailingExtensions;
};

// Decodes Bytes with giflib's DGifSlurp; throws std::runtime_error when it fails.
TPeerFile PeerDecode(const std::string& Bytes);
// Encodes with giflib's encoder (image data through EGifPutLine).
std::string PeerEncode(const TPeerFile& File);

// Where giflib's decoder reads Bytes from.
struct TPeerReader {
    const std::string* Bytes = nullptr;
    std::size_t Pos = 0;
};

// DGifOpen over Reader's bytes and EGifOpen appending to Out; null when giflib refuses, with its
// code in Error.
GifFileType* PeerOpenDecoder(TPeerReader& Reader, int& Error);
GifFileType* PeerOpenEncoder(std::string& Out, int& Error);
// Writes the rows of a Width x Height index buffer with EGifPutLine, in the order the file
// stores them: giflib writes lines as given, so an interlaced image goes pass by pass.
void PeerPutPixels(GifFileType* Gif, const std::uint8_t* Pixels, int Width, int Height,
                   bool Interlace);
