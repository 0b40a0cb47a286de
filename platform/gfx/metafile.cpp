#include "platform/gfx/metafile.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/rop.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/convert.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

// A picture copies a graphic by creating one of the same class from its metaclass: the factory
// is set up here, when the class is linked, not only once some code names the class.
[[maybe_unused]] static const TMetaClass* const TMetafileClass = TMetaClass::Of<TMetafile>();

namespace {

constexpr char Magic[4] = {'T', 'W', 'M', 'F'};
constexpr std::uint16_t FormatVersion = 1;
constexpr std::uint16_t FlagEnhanced = 1;
constexpr std::uint16_t FlagImage = 2;
constexpr std::uint32_t MaxRecordSize = 16u << 20;
constexpr std::uint32_t MaxRecords = 1u << 20;
constexpr std::uint32_t MaxFaceName = 1024;
constexpr std::int64_t MaxSourcePixels = 1 << 24;
// Coordinates stay within this, so that sums and offsets of them never overflow.
constexpr int MaxCoordinate = 1 << 30;
constexpr std::uint32_t MaxTextBytes = 1 << 16;
constexpr int MaxAdvance = 1 << 14;
constexpr int ScreenPixelsPerInch = 96;

enum TRecordKind : std::uint8_t {
    rkPolyline,
    rkPolyPolygon,
    rkShape,
    rkFillRect,
    rkPatBlt,
    rkStretchBlt,
    rkSetPixel,
    rkTextOut
};

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic("Metafile is not valid");
}

// The source of a recorded StretchBlt: the pixels of the source rectangle where they were,
// white around them.
class TPixelSource : public TCanvasDevice {
public:
    TPixelSource(const TRect& Box, const std::vector<TColor>& Pixels) : FBox(Box), FPixels(Pixels)
    {
    }
    int Width() const override { return std::max(FBox.Right, 1); }
    int Height() const override { return std::max(FBox.Bottom, 1); }
    void Polyline(const TDeviceState&, const std::vector<TPoint>&) override {}
    void PolyPolygon(const TDeviceState&, const std::vector<std::vector<TPoint>>&, bool, bool,
                     bool) override
    {
    }
    void Shape(const TDeviceState&, const TShapeCall&) override {}
    void FillRect(const TDeviceState&, const TRect&) override {}
    void PatBlt(const TDeviceState&, const TRect&, std::uint32_t) override {}
    void StretchBlt(const TDeviceState&, const TRect&, const TCanvasDevice&, const TRect&,
                    std::uint32_t, int) override
    {
    }
    void SetPixel(const TDeviceState&, int, int, TColor) override {}
    void TextOut(const TDeviceState&, const TDeviceText&) override {}
    TColor GetPixel(int X, int Y) const override
    {
        if (X < FBox.Left || X >= FBox.Right || Y < FBox.Top || Y >= FBox.Bottom)
            return CLR_INVALID;
        return FPixels[static_cast<std::size_t>(Y - FBox.Top) * FBox.Width() + (X - FBox.Left)];
    }
    bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const override
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

private:
    TRect FBox;
    const std::vector<TColor>& FPixels;
};

// The clip region of a record from its rectangles, band by band as TRegion::Rects gives them.
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

// Rectangles that RegionFromRects can take: non-empty, bands top down without overlap, spans
// left to right without overlap.
bool WellFormedBands(const std::vector<TRect>& Rects)
{
    for (std::size_t I = 0; I < Rects.size(); ++I) {
        const TRect& R = Rects[I];
        if (R.Right <= R.Left || R.Bottom <= R.Top)
            return false;
        if (I == 0)
            continue;
        const TRect& P = Rects[I - 1];
        if (P.Top == R.Top && P.Bottom == R.Bottom) {
            if (R.Left < P.Right)
                return false;
        } else if (R.Top < P.Bottom) {
            return false;
        }
    }
    return true;
}

// Writing ----------------------------------------------------------------------------------

class TWriter {
public:
    void U8(std::uint8_t V) { FData.push_back(static_cast<char>(V)); }
    void U16(std::uint16_t V)
    {
        U8(static_cast<std::uint8_t>(V));
        U8(static_cast<std::uint8_t>(V >> 8));
    }
    void U32(std::uint32_t V)
    {
        for (int I = 0; I < 4; ++I)
            U8(static_cast<std::uint8_t>(V >> (8 * I)));
    }
    void I32(std::int32_t V) { U32(static_cast<std::uint32_t>(V)); }
    void Coordinate(int V) { I32(std::clamp(V, -MaxCoordinate, MaxCoordinate)); }
    void Point(const TPoint& P)
    {
        Coordinate(P.X);
        Coordinate(P.Y);
    }
    void Rect(const TRect& R)
    {
        Coordinate(R.Left);
        Coordinate(R.Top);
        Coordinate(R.Right);
        Coordinate(R.Bottom);
    }
    void Bytes(const std::string& S)
    {
        U32(static_cast<std::uint32_t>(S.size()));
        FData += S;
    }
    void Colors(const std::vector<TColor>& Pixels)
    {
        for (TColor C : Pixels)
            I32(C);
    }
    std::string& Data() { return FData; }

private:
    std::string FData;
};

void WriteState(TWriter& W, const TMetafile::TRecord& Call)
{
    const TDeviceState& S = Call.State;
    W.I32(S.Pen.Color);
    W.I32(S.Pen.Width);
    W.U8(static_cast<std::uint8_t>(S.Pen.Style));
    W.U8(S.Pen.Alternate ? 1 : 0);
    W.I32(S.Brush.Color);
    W.U8(static_cast<std::uint8_t>(S.Brush.Style));
    W.U8(S.Brush.Pattern ? 1 : 0);
    if (S.Brush.Pattern) {
        W.I32(S.Brush.Pattern->Width);
        W.I32(S.Brush.Pattern->Height);
        W.Colors(S.Brush.Pattern->Pixels);
    }
    const TFontRequest& F = S.Font;
    W.Bytes(F.FaceName);
    W.I32(F.Height);
    W.I32(F.Weight);
    W.U8(static_cast<std::uint8_t>((F.Italic ? 1 : 0) | (F.Underline ? 2 : 0) |
                                   (F.StrikeOut ? 4 : 0)));
    W.I32(F.CharSet);
    W.I32(F.PitchAndFamily);
    W.I32(F.Escapement);
    W.I32(F.Orientation);
    W.I32(S.TextColor);
    W.U8(static_cast<std::uint8_t>(S.Rop2));
    W.U8(static_cast<std::uint8_t>(S.BkMode));
    W.I32(S.BkColor);
    W.Point(S.BrushOrigin);
    W.U8(Call.Clipped ? 1 : 0);
    W.U32(static_cast<std::uint32_t>(Call.ClipRects.size()));
    for (const TRect& R : Call.ClipRects)
        W.Rect(R);
}

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

void WriteRecord(TWriter& W, const TMetafile::TRecord& Call, TRecordKind Kind)
{
    W.U8(Kind);
    WriteState(W, Call);
    switch (Kind) {
    case rkPolyline:
        W.U32(static_cast<std::uint32_t>(Call.Points.size()));
        for (const TPoint& P : Call.Points)
            W.Point(P);
        break;
    case rkPolyPolygon:
        W.U8(static_cast<std::uint8_t>((Call.Winding ? 1 : 0) | (Call.Fill ? 2 : 0) |
                                       (Call.Stroke ? 4 : 0)));
        W.U32(static_cast<std::uint32_t>(Call.PolyCounts.size()));
        for (int Count : Call.PolyCounts)
            W.U32(static_cast<std::uint32_t>(Count));
        for (const TPoint& P : Call.Points)
            W.Point(P);
        break;
    case rkShape:
        W.U8(static_cast<std::uint8_t>(Call.Shape.Kind));
        W.Rect(Call.Shape.Box);
        W.Coordinate(Call.Shape.Corner.cx);
        W.Coordinate(Call.Shape.Corner.cy);
        W.Point(Call.Shape.Start);
        W.Point(Call.Shape.End);
        break;
    case rkFillRect:
        W.Rect(TRect{Call.Points[0].X, Call.Points[0].Y, Call.Points[1].X, Call.Points[1].Y});
        break;
    case rkPatBlt:
        W.Rect(TRect{Call.Points[0].X, Call.Points[0].Y, Call.Points[1].X, Call.Points[1].Y});
        W.U32(Call.Rop);
        break;
    case rkStretchBlt:
        W.Rect(TRect{Call.Points[0].X, Call.Points[0].Y, Call.Points[1].X, Call.Points[1].Y});
        W.Rect(Call.Src);
        W.U32(Call.Rop);
        W.I32(Call.StretchMode);
        W.I32(Call.SourceSize.cx);
        W.I32(Call.SourceSize.cy);
        W.Colors(Call.SourcePixels);
        break;
    case rkSetPixel:
        W.Point(Call.Points[0]);
        W.I32(Call.Color);
        break;
    case rkTextOut: {
        const TDeviceText& T = Call.DeviceText;
        W.Point(T.Origin);
        W.Bytes(T.Text);
        W.U32(static_cast<std::uint32_t>(T.Advances.size()));
        for (int A : T.Advances)
            W.I32(A);
        W.I32(T.CharExtra);
        W.U8(static_cast<std::uint8_t>(T.Coding));
        W.U32(T.Options);
        W.Rect(T.Rect);
        break;
    }
    }
}

// Reading ----------------------------------------------------------------------------------

class TReader {
public:
    explicit TReader(const std::string& Data) : FData(Data) {}
    std::size_t Left() const { return FData.size() - FAt; }
    void Need(std::uint64_t Count) const
    {
        if (Count > Left())
            Invalid();
    }
    std::uint8_t U8()
    {
        Need(1);
        return static_cast<std::uint8_t>(FData[FAt++]);
    }
    std::uint16_t U16()
    {
        const std::uint16_t Low = U8();
        return static_cast<std::uint16_t>(Low | U8() << 8);
    }
    std::uint32_t U32()
    {
        Need(4);
        std::uint32_t V = 0;
        for (int I = 0; I < 4; ++I)
            V |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(FData[FAt++])) << (8 * I);
        return V;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // A count of items of at least ItemSize bytes each that must still be there.
    std::uint32_t Count(std::uint32_t ItemSize)
    {
        const std::uint32_t N = U32();
        Need(static_cast<std::uint64_t>(N) * ItemSize);
        return N;
    }
    int Coordinate()
    {
        const int V = I32();
        if (V < -MaxCoordinate || V > MaxCoordinate)
            Invalid();
        return V;
    }
    TPoint Point()
    {
        const int X = Coordinate();
        return TPoint{X, Coordinate()};
    }
    TRect Rect()
    {
        const int L = Coordinate();
        const int T = Coordinate();
        const int R = Coordinate();
        return TRect{L, T, R, Coordinate()};
    }
    std::string Bytes(std::uint32_t Max)
    {
        const std::uint32_t N = Count(1);
        if (N > Max)
            Invalid();
        std::string S = FData.substr(FAt, N);
        FAt += N;
        return S;
    }
    std::vector<TColor> Colors(std::uint64_t N)
    {
        Need(N * 4);
        std::vector<TColor> Pixels(static_cast<std::size_t>(N));
        for (TColor& C : Pixels)
            C = I32();
        return Pixels;
    }
    int Enum(int Low, int High)
    {
        const int V = U8();
        if (V < Low || V > High)
            Invalid();
        return V;
    }

private:
    const std::string& FData;
    std::size_t FAt = 0;
};

void ReadState(TReader& R, TDeviceState& S, std::vector<TRect>& ClipRects, bool& Clipped)
{
    S.Pen.Color = R.I32();
    S.Pen.Width = R.I32();
    if (S.Pen.Width < 1)
        Invalid();
    S.Pen.Style = static_cast<TPenStyle>(R.Enum(psSolid, psInsideFrame));
    S.Pen.Alternate = R.Enum(0, 1) != 0;
    S.Brush.Color = R.I32();
    S.Brush.Style = static_cast<TBrushStyle>(R.Enum(bsSolid, bsDiagCross));
    if (R.Enum(0, 1)) {
        auto Pattern = std::make_shared<TBrushPattern>();
        Pattern->Width = R.I32();
        Pattern->Height = R.I32();
        if (Pattern->Width < 1 || Pattern->Height < 1)
            Invalid();
        Pattern->Pixels = R.Colors(static_cast<std::uint64_t>(Pattern->Width) *
                                   static_cast<std::uint64_t>(Pattern->Height));
        S.Brush.Pattern = std::move(Pattern);
    }
    TFontRequest& F = S.Font;
    F.FaceName = R.Bytes(MaxFaceName);
    F.Height = R.I32();
    F.Weight = R.I32();
    const int Flags = R.Enum(0, 7);
    F.Italic = Flags & 1;
    F.Underline = Flags & 2;
    F.StrikeOut = Flags & 4;
    F.CharSet = R.I32();
    F.PitchAndFamily = R.I32();
    F.Escapement = R.I32();
    F.Orientation = R.I32();
    // Sizes far beyond any page stand for a hostile file, not a picture.
    if (F.Height < -100000 || F.Height > 100000 || F.Weight < 0 || F.Weight > 1000 ||
        F.CharSet < 0 || F.CharSet > 255 || F.PitchAndFamily < 0 || F.PitchAndFamily > 255)
        Invalid();
    S.TextColor = R.I32();
    S.Rop2 = R.Enum(R2_BLACK, R2_WHITE);
    S.BkMode = R.Enum(TRANSPARENT, OPAQUE);
    S.BkColor = R.I32();
    S.BrushOrigin = R.Point();
    Clipped = R.Enum(0, 1) != 0;
    const std::uint32_t N = R.Count(16);
    ClipRects.clear();
    ClipRects.reserve(N);
    for (std::uint32_t I = 0; I < N; ++I)
        ClipRects.push_back(R.Rect());
    if ((!Clipped && N > 0) || !WellFormedBands(ClipRects))
        Invalid();
}

// Parses one record and draws it on the recorder, which keeps it as recording would.
void ReadRecord(TReader& R, TRecordingDevice& Recorder)
{
    const auto Kind = static_cast<TRecordKind>(R.Enum(rkPolyline, rkTextOut));
    TDeviceState State;
    std::vector<TRect> ClipRects;
    bool Clipped = false;
    ReadState(R, State, ClipRects, Clipped);
    TRegion Clip;
    if (Clipped) {
        Clip = RegionFromRects(ClipRects);
        State.Clip = &Clip;
    }
    switch (Kind) {
    case rkPolyline: {
        const std::uint32_t N = R.Count(8);
        std::vector<TPoint> Points;
        Points.reserve(N);
        for (std::uint32_t I = 0; I < N; ++I)
            Points.push_back(R.Point());
        Recorder.Polyline(State, Points);
        break;
    }
    case rkPolyPolygon: {
        const int Flags = R.Enum(0, 7);
        const std::uint32_t N = R.Count(4);
        std::vector<std::uint32_t> Counts(N);
        std::uint64_t Total = 0;
        for (std::uint32_t& C : Counts) {
            C = R.U32();
            Total += C;
        }
        R.Need(Total * 8);
        std::vector<std::vector<TPoint>> Polygons(N);
        for (std::uint32_t I = 0; I < N; ++I) {
            Polygons[I].reserve(Counts[I]);
            for (std::uint32_t K = 0; K < Counts[I]; ++K)
                Polygons[I].push_back(R.Point());
        }
        Recorder.PolyPolygon(State, Polygons, Flags & 1, Flags & 2, Flags & 4);
        break;
    }
    case rkShape: {
        TShapeCall Shape;
        Shape.Kind = static_cast<TShapeKind>(R.Enum(shRectangle, shChord));
        Shape.Box = R.Rect();
        Shape.Corner.cx = R.Coordinate();
        Shape.Corner.cy = R.Coordinate();
        Shape.Start = R.Point();
        Shape.End = R.Point();
        if (Shape.Box.Right < Shape.Box.Left || Shape.Box.Bottom < Shape.Box.Top)
            Invalid();
        Recorder.Shape(State, Shape);
        break;
    }
    case rkFillRect:
        Recorder.FillRect(State, R.Rect());
        break;
    case rkPatBlt: {
        const TRect Rect = R.Rect();
        Recorder.PatBlt(State, Rect, R.U32());
        break;
    }
    case rkStretchBlt: {
        const TRect Dest = R.Rect();
        const TRect Src = R.Rect();
        const std::uint32_t Rop = R.U32();
        const int StretchMode = R.I32();
        const int W = R.I32();
        const int H = R.I32();
        if (W < 0 || H < 0)
            Invalid();
        const std::vector<TColor> Pixels =
            R.Colors(static_cast<std::uint64_t>(W) * static_cast<std::uint64_t>(H));
        // Pixels stand for the source rectangle exactly, or there are none.
        const TRect Box = TRasterDevice::FirstPixelBox(Src);
        const bool HasPixels = W > 0 || H > 0;
        const std::int64_t BoxWidth = static_cast<std::int64_t>(Box.Right) - Box.Left;
        const std::int64_t BoxHeight = static_cast<std::int64_t>(Box.Bottom) - Box.Top;
        if (HasPixels && (BoxWidth != W || BoxHeight != H || !RopUsesSource(Rop)))
            Invalid();
        // A source without pixels reads as white, which the raster device makes in memory.
        if (RopUsesSource(Rop) && BoxWidth * BoxHeight > MaxSourcePixels)
            Invalid();
        if (HasPixels) {
            TPixelSource Source(Box, Pixels);
            Recorder.StretchBlt(State, Dest, Source, Src, Rop, StretchMode);
        } else {
            TRecordingDevice NoPixels(1, 1);
            Recorder.StretchBlt(State, Dest, NoPixels, Src, Rop, StretchMode);
        }
        break;
    }
    case rkSetPixel: {
        const TPoint P = R.Point();
        Recorder.SetPixel(State, P.X, P.Y, R.I32());
        break;
    }
    case rkTextOut: {
        TDeviceText T;
        T.Origin = R.Point();
        T.Text = R.Bytes(MaxTextBytes);
        const std::uint32_t N = R.Count(4);
        if (N > T.Text.size())
            Invalid();
        T.Advances.resize(N);
        for (int& A : T.Advances)
            A = R.I32();
        T.CharExtra = R.I32();
        for (int A : T.Advances)
            if (A < -MaxAdvance || A > MaxAdvance)
                Invalid();
        if (T.CharExtra < -MaxAdvance || T.CharExtra > MaxAdvance)
            Invalid();
        T.Coding = static_cast<TTextCoding>(R.Enum(tcAuto, tcAnsi));
        T.Options = R.U32();
        if (T.Options & ~static_cast<unsigned>(ETO_OPAQUE | ETO_CLIPPED))
            Invalid();
        T.Rect = R.Rect();
        Recorder.TextOut(State, T);
        break;
    }
    }
    if (R.Left() != 0)
        Invalid();
}

std::string ReadExactly(TStream* Stream, std::uint64_t Count)
{
    std::string Data(static_cast<std::size_t>(Count), '\0');
    if (Count && Stream->Read(Data.data(), static_cast<std::int64_t>(Count)) !=
                     static_cast<std::int64_t>(Count))
        Invalid();
    return Data;
}

// Playing ----------------------------------------------------------------------------------

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

    void Play(const TMetafile::TRecord& Call)
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
            FTarget.FillRect(State, FMap.R(TwoCorners(Call)));
            break;
        case rkPatBlt:
            FTarget.PatBlt(State, FMap.R(TwoCorners(Call)), Call.Rop);
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
    static TRect TwoCorners(const TMetafile::TRecord& Call)
    {
        return TRect{Call.Points[0].X, Call.Points[0].Y, Call.Points[1].X, Call.Points[1].Y};
    }

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

// TMetafile -------------------------------------------------------------------------------

TMetafile::TMetafile() = default;

TMetafile::~TMetafile() = default;

void TMetafile::Assign(const TPersistent* Source)
{
    if (!Source) {
        Clear();
        return;
    }
    if (const auto* Other = dynamic_cast<const TMetafile*>(Source)) {
        if (Other == this)
            return;
        FImage = Other->FImage;
        FMMWidth = Other->FMMWidth;
        FMMHeight = Other->FMMHeight;
        FEnhanced = Other->FEnhanced;
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TMetafile::Clear()
{
    FImage.reset();
    FMMWidth = 0;
    FMMHeight = 0;
    Changed(this);
}

const std::vector<TMetafile::TRecord>& TMetafile::Records() const
{
    static const std::vector<TRecord> None;
    return FImage ? FImage->Records : None;
}

TRect TMetafile::Frame() const
{
    return FImage ? FImage->Frame : TRect{};
}

int TMetafile::PixelsPerInch() const
{
    return FImage ? FImage->PixelsPerInch : ScreenPixelsPerInch;
}

int TMetafile::Width() const
{
    return MulDiv(FMMWidth, ScreenPixelsPerInch, 2540);
}

int TMetafile::Height() const
{
    return MulDiv(FMMHeight, ScreenPixelsPerInch, 2540);
}

void TMetafile::SetWidth(int Value)
{
    SetMMWidth(MulDiv(Value, 2540, ScreenPixelsPerInch));
}

void TMetafile::SetHeight(int Value)
{
    SetMMHeight(MulDiv(Value, 2540, ScreenPixelsPerInch));
}

void TMetafile::SetMMWidth(int Value)
{
    if (FMMWidth == Value)
        return;
    FMMWidth = Value;
    Changed(this);
}

void TMetafile::SetMMHeight(int Value)
{
    if (FMMHeight == Value)
        return;
    FMMHeight = Value;
    Changed(this);
}

void TMetafile::SetEnhanced(bool Value)
{
    if (FEnhanced == Value)
        return;
    FEnhanced = Value;
    Changed(this);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!FImage || !ACanvas || !ACanvas->Device())
        return;
    const TRect& Frame = FImage->Frame;
    if (Frame.Right <= Frame.Left || Frame.Bottom <= Frame.Top)
        return;
    const TPoint A = ACanvas->LPtoDP(Rect.TopLeft());
    const TPoint B = ACanvas->LPtoDP(Rect.BottomRight());
    if (A.X == B.X || A.Y == B.Y)
        return;
    TRegion TargetClip;
    const bool HasClip = ACanvas->GetClipRgn(TargetClip) == 1;
    if (ACanvas->OnChanging)
        ACanvas->OnChanging(ACanvas);
    const TPlayMap Map(Frame, TRect{A.X, A.Y, B.X, B.Y});
    TPlayer Player(*ACanvas->Device(), Map, HasClip ? &TargetClip : nullptr);
    for (const TRecord& Call : FImage->Records)
        Player.Play(Call);
    if (ACanvas->OnChange)
        ACanvas->OnChange(ACanvas);
}

void TMetafile::SaveToStream(TStream* Stream)
{
    TWriter Header;
    Header.Data().append(Magic, sizeof Magic);
    Header.U16(FormatVersion);
    Header.U16(
        static_cast<std::uint16_t>((FEnhanced ? FlagEnhanced : 0) | (FImage ? FlagImage : 0)));
    Header.I32(FMMWidth);
    Header.I32(FMMHeight);
    const TRect Frame = this->Frame();
    Header.I32(Frame.Width());
    Header.I32(Frame.Height());
    Header.I32(PixelsPerInch());
    std::vector<std::pair<const TRecord*, TRecordKind>> Kept;
    for (const TRecord& Call : Records()) {
        TRecordKind Kind;
        if (RecordKind(Call.Name, Kind))
            Kept.emplace_back(&Call, Kind);
    }
    Header.U32(static_cast<std::uint32_t>(Kept.size()));
    Stream->WriteBuffer(Header.Data().data(), static_cast<std::int64_t>(Header.Data().size()));
    for (const auto& [Call, Kind] : Kept) {
        TWriter Body;
        WriteRecord(Body, *Call, Kind);
        TWriter Length;
        Length.U32(static_cast<std::uint32_t>(Body.Data().size()));
        Stream->WriteBuffer(Length.Data().data(), 4);
        Stream->WriteBuffer(Body.Data().data(), static_cast<std::int64_t>(Body.Data().size()));
    }
}

void TMetafile::LoadFromStream(TStream* Stream)
{
    const std::string HeaderBytes = ReadExactly(Stream, 4 + 2 + 2 + 4 * 6);
    TReader Header(HeaderBytes);
    for (char C : Magic)
        if (Header.U8() != static_cast<std::uint8_t>(C))
            Invalid();
    const std::uint16_t Version = Header.U16();
    if (Version != FormatVersion)
        throw EInvalidGraphic("Metafile is not valid: version " + IntToStr(Version) +
                              " is not supported");
    const std::uint16_t Flags = Header.U16();
    if (Flags & ~(FlagEnhanced | FlagImage))
        Invalid();
    const int MMWidth = Header.I32();
    const int MMHeight = Header.I32();
    const int FrameWidth = Header.I32();
    const int FrameHeight = Header.I32();
    const int Ppi = Header.I32();
    const std::uint32_t Count = Header.U32();
    if (MMWidth < 0 || MMHeight < 0 || Ppi < 1 || Ppi > 100000 || FrameWidth < 0 ||
        FrameHeight < 0 || Count > MaxRecords)
        Invalid();
    const bool HasImage = Flags & FlagImage;
    if (!HasImage && (Count > 0 || FrameWidth > 0 || FrameHeight > 0))
        Invalid();
    std::shared_ptr<TImage> Image;
    if (HasImage) {
        if (FrameWidth < 1 || FrameHeight < 1)
            Invalid();
        TRecordingDevice Recorder(FrameWidth, FrameHeight, Ppi);
        for (std::uint32_t I = 0; I < Count; ++I) {
            const std::string LengthBytes = ReadExactly(Stream, 4);
            const std::uint32_t Length = TReader(LengthBytes).U32();
            if (Length > MaxRecordSize)
                Invalid();
            const std::string Body = ReadExactly(Stream, Length);
            TReader R(Body);
            ReadRecord(R, Recorder);
        }
        Image = std::make_shared<TImage>();
        Image->Records = Recorder.Calls();
        Image->Frame = TRect{0, 0, FrameWidth, FrameHeight};
        Image->PixelsPerInch = Ppi;
    }
    FImage = std::move(Image);
    FMMWidth = MMWidth;
    FMMHeight = MMHeight;
    FEnhanced = Flags & FlagEnhanced;
    Changed(this);
}

// TMetafileCanvas -------------------------------------------------------------------------

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice)
    : FMetafile(AMetafile), FPixelsPerInch(ScreenPixelsPerInch)
{
    if (!FMetafile)
        throw EInvalidGraphicOperation("No metafile to draw on");
    int DeviceWidth = GetSystemMetrics(SM_CXSCREEN);
    int DeviceHeight = GetSystemMetrics(SM_CYSCREEN);
    if (ReferenceDevice && ReferenceDevice->Device()) {
        const TCanvasDevice* Reference = ReferenceDevice->Device();
        FPixelsPerInch = std::max(1, Reference->PixelsPerInchY());
        DeviceWidth = Reference->Width();
        DeviceHeight = Reference->Height();
    }
    if (FMetafile->MMWidth() <= 0 || FMetafile->MMHeight() <= 0) {
        FMetafile->SetMMWidth(MulDiv(DeviceWidth, 2540, FPixelsPerInch));
        FMetafile->SetMMHeight(MulDiv(DeviceHeight, 2540, FPixelsPerInch));
    }
    const int Width = std::max(1, MulDiv(FMetafile->MMWidth(), FPixelsPerInch, 2540));
    const int Height = std::max(1, MulDiv(FMetafile->MMHeight(), FPixelsPerInch, 2540));
    FRecorder = std::make_unique<TRecordingDevice>(Width, Height, FPixelsPerInch);
    SetDevice(FRecorder.get());
}

TMetafileCanvas::~TMetafileCanvas()
{
    SetDevice(nullptr);
    auto Image = std::make_shared<TMetafile::TImage>();
    Image->Records = FRecorder->Calls();
    Image->Frame = TRect{0, 0, FRecorder->Width(), FRecorder->Height()};
    Image->PixelsPerInch = FPixelsPerInch;
    FMetafile->FImage = std::move(Image);
    FMetafile->Changed(FMetafile);
}
