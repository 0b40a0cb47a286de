#include "platform/gfx/metafileplayer.h"

#include "platform/gfx/rasterdevice.h"

#include <algorithm>
#include <cmath>

using namespace metafileformat;

namespace {

using TRecord = TRecordingDevice::TCall;

// Device coordinates of the frame onto those of the target rectangle.
class TPlayMap {
public:
    TPlayMap(const TRect& From, const TRect& To)
        : FFrom(From), FTo(To),
          FSX(static_cast<double>(static_cast<std::int64_t>(To.Right) - To.Left) /
              (static_cast<std::int64_t>(From.Right) - From.Left)),
          FSY(static_cast<double>(static_cast<std::int64_t>(To.Bottom) - To.Top) /
              (static_cast<std::int64_t>(From.Bottom) - From.Top)),
          FIdentity(FSX == 1 && FSY == 1)
    {
    }
    bool Identity() const { return FIdentity; }
    double SX() const { return FSX; }
    double SY() const { return FSY; }
    bool MirrorX() const { return FSX < 0; }
    bool MirrorY() const { return FSY < 0; }

    int X(int V) const { return Map(V, FFrom.Left, FTo.Left, FSX); }
    int Y(int V) const { return Map(V, FFrom.Top, FTo.Top, FSY); }
    TPoint P(const TPoint& V) const { return TPoint{X(V.X), Y(V.Y)}; }
    // The pixel whose centre the centre of pixel V maps to: where a line through V runs.
    TPoint Centre(const TPoint& V) const
    {
        return TPoint{CentreMap(V.X, FFrom.Left, FTo.Left, FSX),
                      CentreMap(V.Y, FFrom.Top, FTo.Top, FSY)};
    }
    // Corners mapped; a mirroring map turns the rectangle back the way it was.
    TRect R(const TRect& V) const
    {
        TRect Out{X(V.Left), Y(V.Top), X(V.Right), Y(V.Bottom)};
        if (MirrorX())
            std::swap(Out.Left, Out.Right);
        if (MirrorY())
            std::swap(Out.Top, Out.Bottom);
        return Out;
    }
    // A length along an axis (pen widths, font heights).
    int Length(int V, double Scale) const
    {
        if (FIdentity)
            return V;
        return Clamp(std::llround(V * std::fabs(Scale)));
    }

private:
    static int Clamp(long long V)
    {
        return static_cast<int>(std::clamp<long long>(V, -(1LL << 30), 1LL << 30));
    }
    int CentreMap(int V, int From, int To, double Scale) const
    {
        const long long D = static_cast<long long>(V) - From;
        if (FIdentity)
            return Clamp(To + D);
        return Clamp(To +
                     static_cast<long long>(std::floor((static_cast<double>(D) + 0.5) * Scale)));
    }
    int Map(int V, int From, int To, double Scale) const
    {
        const long long D = static_cast<long long>(V) - From;
        if (FIdentity)
            return Clamp(To + D);
        return Clamp(To + std::llround(std::floor(D * Scale + 0.5)));
    }

    TRect FFrom;
    TRect FTo;
    double FSX;
    double FSY;
    bool FIdentity;
};

class TPlayer {
public:
    TPlayer(TCanvasDevice& Target, const TPlayMap& Map, const TRegion* TargetClip)
        : FTarget(Target), FMap(Map), FTargetClip(TargetClip)
    {
    }

    void Play(const TRecord& Call)
    {
        TRecordKind Kind;
        if (!RecordKind(Call.Name, Kind))
            return;
        TDeviceState State = Call.State;
        TRegion Clip;
        if (Call.Clipped) {
            Clip = MapRegion(Call.ClipRects);
            if (FTargetClip)
                Clip = TRegion::Intersect(Clip, *FTargetClip);
            State.Clip = &Clip;
        } else {
            State.Clip = FTargetClip;
        }
        if (!FMap.Identity()) {
            const double Mean = (std::fabs(FMap.SX()) + std::fabs(FMap.SY())) / 2;
            State.Pen.Width = std::max(1, FMap.Length(State.Pen.Width, Mean));
            State.Font.Height = FontHeight(State.Font.Height);
        }
        State.BrushOrigin = FMap.P(State.BrushOrigin);
        switch (Kind) {
        case rkPolyline: {
            std::vector<TPoint> Points;
            Points.reserve(Call.Points.size());
            for (const TPoint& P : Call.Points)
                Points.push_back(FMap.Centre(P));
            FTarget.Polyline(State, Points);
        } break;
        case rkPolyPolygon: {
            std::vector<std::vector<TPoint>> Polygons;
            std::size_t At = 0;
            for (int Count : Call.PolyCounts) {
                const std::size_t N =
                    std::min<std::size_t>(static_cast<std::size_t>(Count), Call.Points.size() - At);
                Polygons.push_back(MapPoints(Call.Points, At, N));
                At += N;
            }
            FTarget.PolyPolygon(State, Polygons, Call.Winding, Call.Fill, Call.Stroke);
            break;
        }
        case rkShape: {
            TShapeCall Shape = Call.Shape;
            Shape.Box = FMap.R(Shape.Box);
            Shape.Corner = TSize{FMap.Length(Shape.Corner.cx, FMap.SX()),
                                 FMap.Length(Shape.Corner.cy, FMap.SY())};
            Shape.Start = FMap.P(Shape.Start);
            Shape.End = FMap.P(Shape.End);
            // One mirrored axis turns the arcs the other way round.
            if (FMap.MirrorX() != FMap.MirrorY())
                std::swap(Shape.Start, Shape.End);
            FTarget.Shape(State, Shape);
            break;
        }
        case rkFillRect:
            FTarget.FillRect(State, FMap.R(RecordRect(Call)));
            break;
        case rkPatBlt:
            FTarget.PatBlt(State, FMap.R(RecordRect(Call)), Call.Rop);
            break;
        case rkStretchBlt: {
            const TRect Dest{FMap.X(Call.Points[0].X), FMap.Y(Call.Points[0].Y),
                             FMap.X(Call.Points[1].X), FMap.Y(Call.Points[1].Y)};
            if (Call.SourceSize.cx > 0 || Call.SourceSize.cy > 0) {
                const TPixelSource Source(TRasterDevice::FirstPixelBox(Call.Src),
                                          Call.SourcePixels);
                FTarget.StretchBlt(State, Dest, Source, Call.Src, Call.Rop, Call.StretchMode);
            } else {
                const TRecordingDevice NoPixels(1, 1);
                FTarget.StretchBlt(State, Dest, NoPixels, Call.Src, Call.Rop, Call.StretchMode);
            }
            break;
        }
        case rkSetPixel: {
            // The pixel's cell, scaled.
            const TPoint P{std::clamp(Call.Points[0].X, -(1 << 30), 1 << 30),
                           std::clamp(Call.Points[0].Y, -(1 << 30), 1 << 30)};
            const TRect Cell = FMap.R(TRect{P.X, P.Y, P.X + 1, P.Y + 1});
            if (FMap.Identity() || Cell.Width() <= 1 || Cell.Height() <= 1) {
                FTarget.SetPixel(State, FMap.X(P.X), FMap.Y(P.Y), Call.Color);
            } else {
                State.Brush = TBrushData{Call.Color, bsSolid, nullptr};
                FTarget.FillRect(State, Cell);
            }
            break;
        }
        case rkTextOut:
            FTarget.TextOut(State, MapText(Call.DeviceText));
            break;
        }
    }

private:
    std::vector<TPoint> MapPoints(const std::vector<TPoint>& Points, std::size_t At,
                                  std::size_t Count) const
    {
        std::vector<TPoint> Out;
        Out.reserve(Count);
        for (std::size_t I = At; I < At + Count; ++I)
            Out.push_back(FMap.P(Points[I]));
        return Out;
    }

    // The rectangles come band by band; a map that keeps the directions keeps that order.
    TRegion MapRegion(const std::vector<TRect>& Rects) const
    {
        std::vector<TRect> Mapped;
        for (const TRect& R : Rects) {
            const TRect M = FMap.R(R);
            if (M.Right > M.Left && M.Bottom > M.Top)
                Mapped.push_back(M);
        }
        if (!FMap.MirrorX() && !FMap.MirrorY())
            return RegionFromRects(Mapped);
        TRegion Out;
        for (const TRect& M : Mapped)
            Out = TRegion::Union(Out, TRegion(M));
        return Out;
    }

    int FontHeight(int Height) const
    {
        if (Height == 0)
            Height = DefaultFontCellHeight;
        const int Scaled = FMap.Length(Height, FMap.SY());
        return Scaled != 0 ? Scaled : (Height < 0 ? -1 : 1);
    }

    TDeviceText MapText(const TDeviceText& Text) const
    {
        TDeviceText Out = Text;
        Out.Origin = FMap.P(Text.Origin);
        Out.Rect = FMap.R(Text.Rect);
        if (!FMap.Identity()) {
            // Each character where the scaled pen position puts it, so steps do not drift.
            const double Scale = std::fabs(FMap.SX());
            long long Pen = 0;
            int Placed = 0;
            for (std::size_t I = 0; I < Text.Advances.size(); ++I) {
                Pen += Text.Advances[I];
                const int Next = static_cast<int>(std::clamp<long long>(
                    std::llround(static_cast<double>(Pen) * Scale), -(1LL << 30), 1LL << 30));
                Out.Advances[I] = Next - Placed;
                Placed = Next;
            }
            Out.CharExtra = FMap.Length(Text.CharExtra, FMap.SX());
        }
        return Out;
    }

    TCanvasDevice& FTarget;
    const TPlayMap& FMap;
    const TRegion* FTargetClip;
};

} // namespace

void PlayMetafile(const TMetafileImage& Image, TCanvas& Canvas, const TRect& Rect)
{
    if (!Canvas.Device())
        return;
    const TRect& Frame = Image.Frame;
    if (Frame.Right <= Frame.Left || Frame.Bottom <= Frame.Top)
        return;
    const TPoint A = Canvas.LPtoDP(Rect.TopLeft());
    const TPoint B = Canvas.LPtoDP(Rect.BottomRight());
    if (A.X == B.X || A.Y == B.Y)
        return;
    TRegion TargetClip;
    const bool HasClip = Canvas.GetClipRgn(TargetClip) == 1;
    if (Canvas.OnChanging)
        Canvas.OnChanging(&Canvas);
    const TPlayMap Map(Frame, TRect{A.X, A.Y, B.X, B.Y});
    TPlayer Player(*Canvas.Device(), Map, HasClip ? &TargetClip : nullptr);
    for (const TRecord& Call : Image.Records)
        Player.Play(Call);
    if (Canvas.OnChange)
        Canvas.OnChange(&Canvas);
}
