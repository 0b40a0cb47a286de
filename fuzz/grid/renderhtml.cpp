// Measures, draws and hit-tests arbitrary grid HTML in a small rectangle of a raster canvas under
// deterministic font metrics, and checks that the canvas state comes back and the measures stay
// sane. Input: 1 byte of flags (word wrap, printer, selected, blink phase), 1 byte of hit x, 1
// of hit y; the rest is the cell text.
#include "controls/grid/advgridhtml.h"
#include "fuzz/fuzzinput.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 3)
        return 0;
    const bool WordWrap = Data[0] & 1;
    const bool ForPrinter = Data[0] & 2;
    const bool Selected = Data[0] & 4;
    const bool Blink = Data[0] & 8;
    const int HitX = Data[1] % 48;
    const int HitY = Data[2] % 32;
    const std::string Text = InputText(Data + 3, Size - 3);

    SetDeterministicFontMetrics(true);
    TRasterDevice Device(48, 32);
    TCanvas Canvas(&Device);
    Canvas.Font()->SetName("Arial");
    Canvas.Brush()->SetColor(clWhite);
    const TRect R{2, 2, 46, 30};
    TImageList Images(8, 8);
    std::string Anchor;
    std::string Plain;
    int Width = 0;
    int Height = 0;
    RenderHtml(&Canvas, Text, R, &Images, HitX, HitY, false, true, ForPrinter, Selected, Blink,
               WordWrap, 2.5, clBlue, Anchor, Plain, Width, Height);
    Check(Width >= 0 && Height >= 0);
    RenderHtml(&Canvas, Text, R, &Images, HitX, HitY, false, false, ForPrinter, Selected, Blink,
               WordWrap, 2.5, clBlue, Anchor, Plain, Width, Height);
    RenderHtml(&Canvas, Text, R, &Images, HitX, HitY, true, false, false, false, true, WordWrap,
               1.0, clBlue, Anchor, Plain, Width, Height);
    Check(Canvas.Font()->Name() == "Arial" && Canvas.Brush()->Color() == clWhite);
    Check(Canvas.Font()->Escapement() == 0 && Canvas.Font()->Style().Empty());
    return 0;
}
