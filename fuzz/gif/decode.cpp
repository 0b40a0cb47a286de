// Decoding GIF data from outside: any input either loads or fails with the codec's error, and
// a picture that loads and saves reads back with the same pixels.
#include "fuzz/fuzzinput.h"
#include "imaging/gif/gifimage.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    GIFMaxPixels = std::size_t{1} << 22;
    TGIFImage Image;
    try {
        TStringStream In(InputText(Data, Size));
        Image.LoadFromStream(&In);
    } catch (const Exception&) {
        return 0;
    }
    std::string Saved;
    try {
        TStringStream Out;
        Image.SaveToStream(&Out);
        Saved = Out.DataString();
    } catch (const Exception&) {
        return 0; // pixels outside the colour table, or nothing to save
    }
    // Frames holding only extensions may join the next frame on reading; the images stay.
    auto Images = [](TGIFImage& Picture) {
        std::vector<std::string> List;
        for (int I = 0; I < Picture.Images()->Count(); ++I) {
            const TGIFSubImage* Frame = Picture.Images()->SubImage(I);
            if (!Frame->Empty())
                List.emplace_back(reinterpret_cast<const char*>(Frame->Data()), Frame->DataSize());
        }
        return List;
    };
    TGIFImage Back;
    TStringStream In(Saved);
    Back.LoadFromStream(&In);
    if (Images(Back) != Images(Image))
        std::abort();
    return 0;
}
