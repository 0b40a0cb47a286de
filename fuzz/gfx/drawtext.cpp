// Lays arbitrary text out with arbitrary rectangles, flags and tab lengths under deterministic
// font metrics, and checks what DrawText's layout promises: lines in order inside the text's
// height, underlines inside their line, and a calculated rectangle that starts where asked.
//
// Input: 4 bytes of flags, 2 bytes of width and 2 of height (signed, little-endian), 1 byte of
// tab length, 1 byte of font height (signed); the rest is the text.
#include "fuzz/fuzzinput.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/textlayout.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 10)
        return 0;
    const unsigned Format = Data[0] | (Data[1] << 8) | (Data[2] << 16) | (unsigned(Data[3]) << 24);
    const int Width = static_cast<int16_t>(Data[4] | (Data[5] << 8));
    const int Height = static_cast<int16_t>(Data[6] | (Data[7] << 8));
    const int TabLength = Data[8] & 0x3F;
    const int FontHeight = static_cast<int8_t>(Data[9]);
    const std::string Text = InputText(Data + 10, Size - 10);

    SetDeterministicFontMetrics(true);
    TFontRequest Request;
    Request.FaceName = (Data[8] & 0x40) ? "Symbol" : "Arial";
    Request.Height = FontHeight;
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request);

    const TRect Area = Rect(-7, 3, -7 + Width, 3 + Height);
    TDrawTextLayout Layout = LayoutDrawText(*Font, Text, Area, Format, TabLength);

    const int LineHeight = Font->LineHeight();
    Check(Layout.Height >= 0 || (Format & DT_SINGLELINE));
    Check(Layout.CalcRect.Left == Area.Left && Layout.CalcRect.Top == Area.Top);
    Check(Layout.Lines.size() <= Text.size() + 1);
    for (size_t I = 0; I < Layout.Lines.size(); ++I) {
        const TDrawTextLine& Line = Layout.Lines[I];
        Check(Line.Width >= 0);
        if (I > 0)
            Check(Line.Y == Layout.Lines[I - 1].Y + LineHeight || (Format & DT_EXTERNALLEADING));
        int PreviousX = Line.X;
        for (const TTextRun& Run : Line.Runs) {
            Check(Run.X >= PreviousX);
            PreviousX = Run.X;
        }
        if (Line.Underlined)
            Check(Line.UnderlineLeft >= Line.X && Line.UnderlineLeft <= Line.UnderlineRight &&
                  Line.UnderlineRight <= Line.X + Line.Width);
    }

    // Each run is as wide as the layout took it to be.
    for (const TDrawTextLine& Line : Layout.Lines)
        if (!Line.Runs.empty() && !(Format & DT_EXPANDTABS))
            Check(Font->TextExtent(Line.Runs[0].Text, 0, Layout.Coding).cx == Line.Width);

    // The caret positions of any text rise with the byte index.
    std::vector<int> Carets = Font->CaretPositions(Text, Data[8] & 7);
    Check(Carets.size() == Text.size() + 1);
    for (size_t I = 1; I < Carets.size(); ++I)
        Check(Carets[I] >= Carets[I - 1]);
    Check(Carets.back() == Font->TextExtent(Text, Data[8] & 7).cx);
    return 0;
}
