// platform/gfx/pngformat.h: PNG read into and written from TDibImage, and TPngImage, the bitmap
// that saves itself as PNG (the class behind ".png" in the picture registry).
#pragma once

#include "platform/gfx/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>

bool IsPng(const std::uint8_t* Data, std::size_t Size);
// Palette and gray images of up to 8 bits stay indexed (2 bits become 4); images with alpha or a
// transparent colour become 32-bit with alpha; others 24-bit. EInvalidGraphic on bad data.
TDibImage ReadPng(const std::uint8_t* Data, std::size_t Size);
// Indexed images keep their depth and table; 32-bit images are written with alpha unless every
// alpha byte is 0 (pixels drawn on a canvas); others as 8-bit RGB.
std::string WritePng(const TDibImage& Image);

class TPngImage : public TBitmap {
public:
    TPngImage() = default;
    void SaveToStream(TStream* Stream) override;
};
