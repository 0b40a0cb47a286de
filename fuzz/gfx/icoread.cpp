// Feeds arbitrary bytes to the ICO and CUR reader: nothing may crash, and a file it accepts must
// hold images whose buffers fit their size, write out, and read back as the same pictures; the
// first image is drawn, alone and through an icon handle scaled to 16 x 16.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/icoformat.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/rasterdevice.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Bytes = InputText(Data, Size);
    TIconFile File;
    try {
        File = ReadIconFile(Bytes);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    Check(!File.Images.empty());
    for (const TIconImage& Image : File.Images) {
        Check(Image.Width >= 1 && Image.Width <= 256 && Image.Height >= 1 && Image.Height <= 256);
        const std::size_t Count = static_cast<std::size_t>(Image.Width) * Image.Height;
        Check(Image.Pixels.size() == Count && Image.Mask.size() == Count);
    }

    const std::string Written = WriteIconFile(File);
    const TIconFile Again = ReadIconFile(Written);
    Check(Again.Images.size() == File.Images.size() && Again.Cursor == File.Cursor);
    for (std::size_t I = 0; I < File.Images.size(); ++I) {
        const TIconImage& A = File.Images[I];
        const TIconImage& B = Again.Images[I];
        Check(A.Width == B.Width && A.Height == B.Height);
        if (File.Cursor)
            Check(A.HotSpot.X == B.HotSpot.X && A.HotSpot.Y == B.HotSpot.Y);
        for (std::size_t P = 0; P < A.Pixels.size(); ++P) {
            // Where the file gives alpha it survives; without it the mask decides.
            const bool Shown = A.HasAlpha ? (A.Pixels[P] >> 24) != 0 : !A.Mask[P];
            Check(Shown == ((B.Pixels[P] >> 24) != 0));
            if (Shown)
                Check((A.Pixels[P] & 0xFFFFFF) == (B.Pixels[P] & 0xFFFFFF));
        }
    }
    Check(WriteIconFile(Again) == Written);

    TRasterDevice Device(40, 40, clGray);
    TCanvas Canvas(&Device);
    DrawIconImage(&Canvas, Rect(-3, 5, 37, 30), File.Images[0]);
    HICON Icon = CreateIconFromData(Bytes, 16, 16);
    Check(Icon && Icon->Image.Width == 16 && Icon->Image.Height == 16);
    Check(DrawIcon(&Canvas, 20, 20, Icon));
    Check(DestroyIcon(Icon));
    return 0;
}
