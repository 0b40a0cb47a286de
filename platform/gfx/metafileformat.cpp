#include "platform/gfx/metafileformat.h"

#include <algorithm>

namespace metafileformat {

bool RecordKind(const std::string& Name, TRecordKind& Kind)
{
    static const struct {
        const char* Name;
        TRecordKind Kind;
    } Kinds[] = {{"Polyline", rkPolyline},
                 {"PolyPolygon", rkPolyPolygon},
                 {"Rectangle", rkShape},
                 {"RoundRect", rkShape},
                 {"Ellipse", rkShape},
                 {"Arc", rkShape},
                 {"Pie", rkShape},
                 {"Chord", rkShape},
                 {"FillRect", rkFillRect},
                 {"PatBlt", rkPatBlt},
                 {"StretchBlt", rkStretchBlt},
                 {"SetPixel", rkSetPixel},
                 {"TextOut", rkTextOut}};
    for (const auto& K : Kinds)
        if (Name == K.Name) {
            Kind = K.Kind;
            return true;
        }
    return false;
}

TRect RecordRect(const TRecordingDevice::TCall& Call)
{
    return TRect{Call.Points[0].X, Call.Points[0].Y, Call.Points[1].X, Call.Points[1].Y};
}

TRegion RegionFromRects(const std::vector<TRect>& Rects)
{
    TRegion Region;
    std::size_t I = 0;
    while (I < Rects.size()) {
        const int Top = Rects[I].Top;
        const int Bottom = Rects[I].Bottom;
        std::vector<TRegion::TSpan> Spans;
        while (I < Rects.size() && Rects[I].Top == Top && Rects[I].Bottom == Bottom) {
            if (!Spans.empty() && Rects[I].Left <= Spans.back().Right)
                Spans.back().Right = std::max(Spans.back().Right, Rects[I].Right);
            else
                Spans.push_back(TRegion::TSpan{Rects[I].Left, Rects[I].Right});
            ++I;
        }
        Region.AddBand(Top, Bottom, std::move(Spans));
    }
    Region.Finish();
    return Region;
}

int TPixelSource::Width() const
{
    return std::max(FBox.Right, 1);
}

int TPixelSource::Height() const
{
    return std::max(FBox.Bottom, 1);
}

TColor TPixelSource::GetPixel(int X, int Y) const
{
    if (X < FBox.Left || X >= FBox.Right || Y < FBox.Top || Y >= FBox.Bottom)
        return CLR_INVALID;
    return FPixels[static_cast<std::size_t>(Y - FBox.Top) * FBox.Width() + (X - FBox.Left)];
}

bool TPixelSource::ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const
{
    Pixels.clear();
    if (R.Right <= R.Left || R.Bottom <= R.Top)
        return true;
    Pixels.reserve(static_cast<std::size_t>(R.Width()) * R.Height());
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            const TColor C = GetPixel(X, Y);
            Pixels.push_back(C == CLR_INVALID ? clWhite : C);
        }
    return true;
}

} // namespace metafileformat
