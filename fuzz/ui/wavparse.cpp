// Feeds arbitrary bytes to the WAV parser: nothing may crash, and an accepted image must give a
// playable format and samples that lie inside the image in whole frames.
#include "platform/ui/sound.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string_view Image(reinterpret_cast<const char*>(Data), Size);
    TWave Wave;
    if (!ParseWave(Image, Wave))
        return 0;
    const TWaveFormat& F = Wave.Format;
    if ((F.Channels != 1 && F.Channels != 2) || (F.BitsPerSample != 8 && F.BitsPerSample != 16) ||
        F.SampleRate <= 0)
        std::abort();
    if (Wave.Samples.data() < Image.data() ||
        Wave.Samples.data() + Wave.Samples.size() > Image.data() + Image.size())
        std::abort();
    if (Wave.Samples.size() % static_cast<std::size_t>(F.FrameBytes()) != 0)
        std::abort();
    return 0;
}
