// tests/imaging/gif/gifsamples.h: pictures and pixel patterns shared by the codec's tests.
#pragma once

#include "imaging/gif/gifextensions.h"
#include "imaging/gif/gifimage.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Pixels below Colors with runs, repeats and noise, so that strings of every length occur.
inline std::vector<std::uint8_t> SamplePixels(int Width, int Height, int Colors, std::uint32_t Seed)
{
    std::vector<std::uint8_t> Pixels(static_cast<std::size_t>(Width) * Height);
    std::uint32_t State = Seed * 2654435761u + 1;
    auto Next = [&] {
        State = State * 1103515245u + 12345u;
        return State >> 16;
    };
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const std::uint32_t R = Next();
            std::uint8_t V;
            switch ((Y / 7 + X / 13) % 3) {
            case 0:
                V = static_cast<std::uint8_t>((X / 3 + Y) % Colors); // ramps
                break;
            case 1:
                V = static_cast<std::uint8_t>(R % Colors); // noise
                break;
            default:
                V = static_cast<std::uint8_t>((R % 4 == 0 ? R : Y / 5) % Colors); // runs
                break;
            }
            Pixels[static_cast<std::size_t>(Y) * Width + X] = V;
        }
    return Pixels;
}

inline std::vector<std::uint8_t> SampleColorMap(int Colors, std::uint32_t Seed)
{
    std::vector<std::uint8_t> Map;
    for (int I = 0; I < Colors * 3; ++I)
        Map.push_back(static_cast<std::uint8_t>((I * 37 + Seed * 11) & 0xFF));
    return Map;
}

inline void FillColorMap(TGIFColorMap* Map, const std::vector<std::uint8_t>& Bytes)
{
    Map->ResetTable();
    for (std::size_t I = 0; I + 2 < Bytes.size(); I += 3)
        Map->AppendColor(Bytes[I] | (Bytes[I + 1] << 8) | (Bytes[I + 2] << 16));
}

// A frame of the given pixels appended to Image (the picture grows to hold it).
inline TGIFSubImage* AddSampleFrame(TGIFImage& Image, int Left, int Top, int Width, int Height,
                                    const std::vector<std::uint8_t>& Pixels,
                                    bool Interlaced = false)
{
    auto* Frame = new TGIFSubImage(&Image);
    Image.Images()->Add(Frame);
    Frame->SetFrameBounds(Left, Top, Width, Height);
    Frame->SetInterlaced(Interlaced);
    std::copy(Pixels.begin(), Pixels.end(), Frame->Data());
    return Frame;
}

inline std::string SaveToString(TGIFImage& Image)
{
    TStringStream Stream;
    Image.SaveToStream(&Stream);
    return Stream.DataString();
}

inline void LoadFromString(TGIFImage& Image, const std::string& Bytes)
{
    TStringStream Stream(Bytes);
    Image.LoadFromStream(&Stream);
}

inline std::vector<std::uint8_t> FramePixels(const TGIFSubImage* Frame)
{
    return std::vector<std::uint8_t>(Frame->Data(), Frame->Data() + Frame->DataSize());
}

inline std::vector<std::uint8_t> MapBytes(const TGIFColorMap* Map)
{
    return std::vector<std::uint8_t>(Map->Data(), Map->Data() + 3 * Map->Count());
}

// The same file with every image's data cut into sub-blocks of ChunkSize bytes.
std::string Rechunk(const std::string& Gif, int ChunkSize);
