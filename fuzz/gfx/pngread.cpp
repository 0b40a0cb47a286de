// Reads arbitrary bytes as PNG: bad data must end in EInvalidGraphic, and a picture that is read
// must be whole and survive being written and read again.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/pngformat.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
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
    return 0;
}
