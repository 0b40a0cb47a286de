// tests/imaging/gif/giflibpeer.h: giflib as the peer of the codec's tests: what its decoder
// reports of a file, and files written by its encoder.
#pragma once

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
