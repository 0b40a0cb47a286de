// Reads arbitrary bytes as a BMP file and as a packed DIB (with and without an icon mask): bad
// data must end in EInvalidGraphic, and a picture that is read must be whole and write back.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/bmpformat.h"

#include <cstdint>

namespace {

void CheckImage(const TDibImage& I)
{
    Check(I.Width > 0 && I.Height > 0);
    Check(I.Bits.size() == static_cast<std::size_t>(I.Stride()) * I.Height);
    for (int X = 0; X < I.Width; ++X)
        (void)I.Pixel(X, I.Height - 1);
    const std::string Out = WriteBmp(I);
    const TDibImage Back = ReadBmp(reinterpret_cast<const std::uint8_t*>(Out.data()), Out.size());
    Check(Back.Bits == I.Bits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        CheckImage(ReadBmp(Data, Size));
    } catch (const EInvalidGraphic&) {
    }
    try {
        CheckImage(ReadPackedDib(Data, Size));
    } catch (const EInvalidGraphic&) {
    }
    try {
        TDibImage Mask;
        CheckImage(ReadPackedDib(Data, Size, &Mask));
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
