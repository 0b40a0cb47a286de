// Loads arbitrary bytes as a metafile. Bad data must end in EInvalidGraphic; data that loads
// must save to bytes that load again to the same bytes, and must play (scaled, onto a recording
// device) without fault.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/recordingdevice.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Save(TMetafile& M)
{
    TStringStream Out;
    M.SaveToStream(&Out);
    return Out.DataString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    SetDeterministicFontMetrics(true);
    TMetafile M;
    TStringStream In(InputText(Data, Size));
    try {
        M.LoadFromStream(&In);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    const std::string First = Save(M);
    TMetafile Again;
    TStringStream Back(First);
    Again.LoadFromStream(&Back);
    if (Save(Again) != First)
        std::abort();

    TRecordingDevice Target(64, 48);
    TCanvas Canvas(&Target);
    M.Draw(&Canvas, TRect{3, 2, 61, 40});
    M.Draw(&Canvas, TRect{60, 40, 0, 0});
    return 0;
}
